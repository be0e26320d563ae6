#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

using namespace UIColorExpanded;

TEST(UIColorExpandedTest, HexStrings)
{
    struct Case {
        const char* text;
        std::optional<uint32_t> expected;
    };
    const Case cases[] = {
        { "#ff0000", 0xFF0000 }, { "ff0000", 0xFF0000 }, { "#FF0000", 0xFF0000 },
        { "#fff", std::nullopt }, // short texts keep their "#", which stops the scan
        { "fff", 0x000FFF }, { "80ff0000", 0xFF0000 }, // the alpha digits in front are cut away
        { "", std::nullopt }, { "zz", std::nullopt }, { "#", std::nullopt }, { "# ", std::nullopt },
        { "  0x1A", 0x00001A }, { "0xZ", 0 }, { "#12345G", 0x12345 }, // the scan stops at the first non-digit
        { "color: #0a0b0c", 0x0A0B0C }, { "#00ff00ff", 0xFF00FF },
        { "12345\xC3\xA9", 0x012345 }, // six characters, seven bytes: kept whole
    };
    for (auto& c : cases) {
        auto color = colorWithHexString(c.text);
        ASSERT_EQ(color.has_value(), c.expected.has_value()) << c.text;
        if (color) {
            EXPECT_EQ(rgbHex(*color), *c.expected) << c.text;
            EXPECT_EQ(color->alpha(), 1.0);
        }
    }
}

TEST(UIColorExpandedTest, HexOutput)
{
    EXPECT_EQ(hexStringFromColor(*colorWithHexString("#0a0b0c")), "0A0B0C");
    EXPECT_EQ(hexStringFromColor(ui::Color::fromRGBA(1.0000001, 0, 0.5)), "FF0080");
    EXPECT_EQ(rgbHex(colorWithRGBHex(0xFF123456)), 0x123456u);
}

TEST(UIColorExpandedTest, NamedColours)
{
    EXPECT_EQ(rgbHex(*colorWithName("teal")), 0x008080u);
    EXPECT_EQ(colorWithName("grey"), colorWithName("gray"));
    EXPECT_EQ(rgbHex(*colorWithName("yellowgreen")), 0x9ACD32u);
    EXPECT_EQ(rgbHex(*colorWithName("aliceblue")), 0xF0F8FFu);
    size_t before = namedColorCacheSize();
    EXPECT_FALSE(colorWithName("Teal").has_value());
    EXPECT_FALSE(colorWithName("Teal").has_value());
    EXPECT_EQ(namedColorCacheSize(), before + 1);
    EXPECT_FALSE(searchForColorByName("transparent").has_value());
    EXPECT_FALSE(searchForColorByName("").has_value());
}

TEST(UIColorExpandedTest, BracedColourStrings)
{
    auto grey = colorWithString("{0.5, 1}");
    ASSERT_TRUE(grey);
    EXPECT_EQ(*grey, ui::Color::fromWhite(0.5, 1));
    auto rgba = colorWithString(" {0.1, 0.2, 0.3, 0.4}");
    ASSERT_TRUE(rgba);
    EXPECT_EQ(*rgba, ui::Color::fromRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    for (auto* bad : { "{0.1, 0.2, 0.3}", "{1, 2, 3, 4, 5}", "{0.5, 1} x", "0.5, 1}", "{0.5 1}", "{}", "{0.5,}" })
        EXPECT_FALSE(colorWithString(bad).has_value()) << bad;
    EXPECT_EQ(*stringFromColor(ui::Color::fromRGBA(1, 0.5, 0, 1)), "{1.000, 0.500, 0.000, 1.000}");
    EXPECT_EQ(colorWithString(*stringFromColor(*rgba)), rgba);
}

TEST(UIColorExpandedTest, Arithmetic)
{
    auto base = ui::Color::fromRGBA(0.5, 0.25, 1.0, 0.5);
    EXPECT_EQ(*colorByMultiplyingBy(base, 2.0), ui::Color::fromRGBA(1.0, 0.5, 1.0, 0.5));
    EXPECT_EQ(*colorByAdding(base, 0.6), ui::Color::fromRGBA(1.0, 0.85, 1.0, 0.5));
    EXPECT_EQ(*colorByLighteningTo(base, 0.4), ui::Color::fromRGBA(0.5, 0.4, 1.0, 0.5));
    EXPECT_EQ(*colorByDarkeningTo(base, 0.4), ui::Color::fromRGBA(0.4, 0.25, 0.4, 0.5));

    // Combining with another colour reads that colour's components.
    auto other = ui::Color::fromRGBA(0.0, 1.0, 0.5, 1.0);
    EXPECT_EQ(*colorByMultiplyingByColor(base, other), ui::Color::fromRGBA(0.0, 0.25, 0.5, 0.5));
    EXPECT_EQ(*colorByAddingColor(base, other), ui::Color::fromRGBA(0.5, 1.0, 1.0, 0.5));
    EXPECT_EQ(*colorByLighteningToColor(base, other), ui::Color::fromRGBA(0.5, 1.0, 1.0, 0.5));
    EXPECT_EQ(*colorByDarkeningToColor(base, other), ui::Color::fromRGBA(0.0, 0.25, 0.5, 0.5));

    auto grey = colorByLuminanceMapping(ui::Color::fromRGBA(1, 1, 1, 0.3));
    EXPECT_NEAR(grey->redComponent(), 1.0, 1e-6);
    EXPECT_EQ(grey->alpha(), 0.3);
    EXPECT_EQ(colorFromArray({ 0.1, 0.2 }), ui::Color::black());
    EXPECT_EQ(colorFromArray({ 0, 0, 1, 1 }), ui::Color::fromRGBA(0, 0, 1, 1));
    EXPECT_EQ(colorSpaceModelName(7), "Not a valid color space");
    EXPECT_EQ(colorSpaceString(base), "kCGColorSpaceModelRGB");
}

} // namespace
} // namespace lectoro
