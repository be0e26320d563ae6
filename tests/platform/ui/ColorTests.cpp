#include "platform/ui/Color.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ui {
namespace {

TEST(ColorTest, ComponentsAreClampedAndNaNBecomesZero)
{
    Color c = Color::fromRGBA(1.5, -0.2, NAN, 0.5);
    EXPECT_DOUBLE_EQ(c.redComponent(), 1);
    EXPECT_DOUBLE_EQ(c.greenComponent(), 0);
    EXPECT_DOUBLE_EQ(c.blueComponent(), 0);
    EXPECT_DOUBLE_EQ(c.alpha(), 0.5);
}

TEST(ColorTest, NamedColoursAndDebugText)
{
    struct Case {
        Color color;
        const char* text;
    };
    const Case cases[] = {
        { Color::clear(), "#00000000" },
        { Color::black(), "#000000FF" },
        { Color::white(), "#FFFFFFFF" },
        { Color::systemBlue(), "#007AFFFF" },
        { Color::fromRGB255(49, 49, 49, 0.9), "#313131E6" },
        { Color::fromWhite(1, 0.7), "#FFFFFFB3" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.color.toDebugString(), c.text);
}

TEST(ColorTest, WithAlphaKeepsTheHueAndEqualityIsTolerant)
{
    Color base = Color::fromRGBA(0.19, 0.19, 0.19);
    Color faded = base.withAlpha(0.9);
    EXPECT_EQ(faded, Color::fromRGBA(0.19, 0.19, 0.19, 0.9));
    EXPECT_NE(faded, base);
    EXPECT_EQ(Color::fromRGBA(0.1 + 0.2, 0, 0), Color::fromRGBA(0.3, 0, 0));
    EXPECT_TRUE(Color::clear().isClear());
    EXPECT_FALSE(Color::black().isClear());
}

} // namespace
} // namespace ui
