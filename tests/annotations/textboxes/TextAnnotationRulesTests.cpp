// The text-box chrome's numbers, by device: the bar's items and widths, its bottom
// constant above the keyboard, the colour pop-up's geometry, the alignment pop-up's left
// edge and the page's shift for the keyboard.

#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRules.h"

#include <gtest/gtest.h>

namespace lectoro::textboxes {
namespace {

TextBoxDevice phone(double width, double height, bool landscape = false)
{
    return { false, landscape, { width, height } };
}

TextBoxDevice pad(double width, double height, bool landscape = false)
{
    return { true, landscape, { width, height } };
}

TEST(TextAnnotationRules, TheBarRestsOnTheKeyboardLessTheHomeIndicator)
{
    struct Case {
        TextBoxDevice device;
        double expected;
    };
    const Case cases[] = {
        { phone(375, 812), -266 },
        { phone(812, 375, true), -278 },
        { phone(375, 667), -300 },
        { pad(768, 1024), -300 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(barBottomConstantForKeyboard(300, c.device), c.expected)
            << c.device.screen.width << "x" << c.device.screen.height;
}

TEST(TextAnnotationRules, TheBarsItemsAndTheirWidthsFollowTheDevice)
{
    struct Case {
        TextBoxDevice device;
        bool stored;
        int items;
        int width;
    };
    const Case cases[] = {
        { phone(375, 667), false, 6, 62 },
        { phone(375, 667), true, 7, 53 },
        { phone(812, 375, true), false, 6, 75 },
        { phone(1000, 375, true), true, 7, 75 },
        { pad(768, 1024), false, 5, 98 },
        { pad(1024, 768, true), true, 6, 98 },
    };
    for (const auto& c : cases) {
        const int items = actionBarItemCount(c.device, c.stored);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(actionBarItemWidth(c.device, items), c.width)
            << c.device.screen.width << (c.stored ? " stored" : "");
    }
    // A bar without items has no width to share.
    EXPECT_EQ(actionBarItemWidth(phone(375, 667), 0), 0);
    EXPECT_EQ(barHeight(phone(375, 667)), 50);
    EXPECT_EQ(barHeight(pad(768, 1024)), 58);
}

TEST(TextAnnotationRules, TheColourPopupFollowsTheScreenWidth)
{
    struct Case {
        TextBoxDevice device;
        int row;
        double margin, swatchWidth, inset, swatchSize, itemHeight;
    };
    const Case cases[] = {
        { phone(375, 667), 370, 20, 35, 10, 20.8, 50 },
        { pad(768, 1024), 760, 152, 60.8, 76, 23.12, 64 },
        { phone(812, 375, true), 810, 324, 48.6, 162, 27.36, 50 },
        // A fractional width is truncated before it is shared.
        { phone(375.9, 667), 370, 20, 35, 10, 20.8, 50 },
    };
    for (const auto& c : cases) {
        const auto geometry = paletteGeometry(c.device);
        SCOPED_TRACE(c.device.screen.width);
        EXPECT_EQ(geometry.rowWidth, c.row);
        EXPECT_DOUBLE_EQ(geometry.margin, c.margin);
        EXPECT_DOUBLE_EQ(geometry.swatchWidth, c.swatchWidth);
        EXPECT_DOUBLE_EQ(geometry.inset, c.inset);
        EXPECT_NEAR(geometry.swatchSize, c.swatchSize, 1e-9);
        EXPECT_EQ(geometry.itemHeight, c.itemHeight);
    }
}

TEST(TextAnnotationRules, TheAlignmentPopupStandsOverTheAlignmentItem)
{
    struct Case {
        TextBoxDevice device;
        int items;
        int left;
    };
    const Case cases[] = {
        { phone(375, 667), 6, 2 },
        // The sum goes below the edge: the pop-up keeps to the screen.
        { phone(375, 667), 7, 0 },
        { pad(768, 1024), 5, 197 },
        { pad(768, 1024), 6, 148 },
        { phone(812, 375, true), 6, 204 },
        { phone(375, 667), 0, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(alignmentPopupLeft(c.device, c.items), c.left) << c.device.screen.width << " n=" << c.items;
}

TEST(TextAnnotationRules, ThePageMovesOnlyWhenTheKeyboardComesWithinTheMarginOfTheBox)
{
    const ui::Rect keyboardArea { { 0, 367 }, { 375, 300 } };
    // Bottom 300 + margin 50 stays above 367: no move.
    EXPECT_FALSE(pageShiftForTextBox({ { 40, 240 }, { 200, 60 } }, keyboardArea, phone(375, 667)));
    // Bottom 320 + 50 reaches the keyboard: up by 260 - 367 + 60 + 50 = 3.
    auto shift = pageShiftForTextBox({ { 40, 260 }, { 200, 60 } }, keyboardArea, phone(375, 667));
    ASSERT_TRUE(shift);
    EXPECT_FLOAT_EQ(*shift, 3);
    // A tablet keeps 58 points: the box that a phone leaves alone moves.
    shift = pageShiftForTextBox({ { 40, 250 }, { 200, 60 } }, keyboardArea, pad(375, 667));
    ASSERT_TRUE(shift);
    EXPECT_FLOAT_EQ(*shift, 1);
    // A box wholly under the keyboard always moves up above it.
    shift = pageShiftForTextBox({ { 40, 400 }, { 200, 60 } }, keyboardArea, phone(375, 667));
    ASSERT_TRUE(shift);
    EXPECT_FLOAT_EQ(*shift, 143);
}

} // namespace
} // namespace lectoro::textboxes
