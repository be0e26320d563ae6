#include "platform/ui/TextMetrics.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

const Font ten = Font::systemFont(10);

TEST(TextMetricsTest, DocumentedAdvancesAndLineHeight)
{
    struct Case {
        const char* text;
        Font font;
        double width;
    };
    const Case cases[] = {
        { "Hello", ten, 22 }, // 6 + 5 + 3 + 3 + 5
        { "A B", ten, 15 }, // 6 + 3 + 6
        { "09", ten, 12 }, // digits are wide
        { ".,:;!|il'", ten, 27 }, // every narrow character is 3
        { "\xC3\xA9", ten, 5 }, // é: one UTF-16 unit, "other"
        { "\xF0\x9F\x98\x80", ten, 10 }, // an emoji is two units
        { "Hello", Font::systemFont(10, FontWeight::Bold), 23.1 },
        { "Hello", Font::systemFont(10, FontWeight::Semibold), 23.1 },
        { "Hello", Font::systemFont(10, FontWeight::Medium), 22 },
        { "", ten, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(TextMetrics::sizeOfText(c.text, c.font).width, c.width, 1e-9);
    }
    EXPECT_DOUBLE_EQ(TextMetrics::lineHeight(ten), 12);
    EXPECT_DOUBLE_EQ(TextMetrics::lineHeight(Font::systemFont(12)), 15); // ceil(14.4)
    EXPECT_DOUBLE_EQ(TextMetrics::lineHeight(Font::systemFont(20)), 24);
    // Empty text is still one line high.
    EXPECT_DOUBLE_EQ(TextMetrics::sizeOfText("", ten).height, 12);
}

TEST(TextMetricsTest, LineBreaksEndLinesWithoutWidth)
{
    Size size = TextMetrics::sizeOfText("ab\nABC\r\nx", ten);
    EXPECT_DOUBLE_EQ(size.width, 18);
    EXPECT_DOUBLE_EQ(size.height, 36);
}

TEST(TextMetricsTest, WrapsAtSpacesAndBreaksLongWords)
{
    struct Case {
        const char* name;
        const char* text;
        double width;
        LineBreakMode mode;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // "aaa bbb" is 15 + 3 + 15 = 33 wide; " ccc" would make 51.
        { "greedy words", "aaa bbb ccc", 35, LineBreakMode::ByWordWrapping, { "aaa bbb", "ccc" } },
        { "exact fit", "aaa bbb", 33, LineBreakMode::ByWordWrapping, { "aaa bbb" } },
        { "space at the break vanishes", "aaa   bbb", 20, LineBreakMode::ByWordWrapping, { "aaa", "bbb" } },
        { "long word breaks by characters", "abcdefgh", 20, LineBreakMode::ByWordWrapping,
            { "abcd", "efgh" } },
        { "long word after a short one", "ab abcdefgh", 20, LineBreakMode::ByWordWrapping,
            { "ab", "abcd", "efgh" } },
        { "character wrapping", "ab cd", 15, LineBreakMode::ByCharWrapping, { "ab ", "cd" } },
        { "truncating modes still wrap by words", "aaa bbb", 20, LineBreakMode::ByTruncatingTail,
            { "aaa", "bbb" } },
        { "a unit wider than the line still goes", "W", 1, LineBreakMode::ByWordWrapping, { "W" } },
        { "no width means no wrapping", "aaa bbb ccc", 0, LineBreakMode::ByWordWrapping, { "aaa bbb ccc" } },
        { "paragraphs wrap separately", "aa bb\ncc", 10, LineBreakMode::ByWordWrapping,
            { "aa", "bb", "cc" } },
        // An emoji (two units, 10 wide) is never split between lines.
        { "surrogate pairs stay whole", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 15, LineBreakMode::ByCharWrapping,
            { "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextMetrics::wrapLines(c.text, ten, c.width, c.mode), c.lines);
        EXPECT_EQ(TextMetrics::lineCount(c.text, ten, c.width, c.mode), static_cast<int>(c.lines.size()));
        EXPECT_DOUBLE_EQ(TextMetrics::boundingHeight(c.text, ten, c.width, c.mode), 12.0 * c.lines.size());
    }
}

TEST(TextMetricsTest, BoundingSizeCutsToMaxLines)
{
    Size all = TextMetrics::boundingSize("aaa bbb ccc", ten, 20);
    EXPECT_EQ(all, Size(15, 36));
    Size two = TextMetrics::boundingSize("aaa bbbb c", ten, 20, LineBreakMode::ByWordWrapping, 2);
    EXPECT_EQ(two, Size(20, 24));
}

TEST(TextMetricsTest, AttributedRunsUseTheirOwnFonts)
{
    base::AttributedString text("Ab");
    // "A" at 20 points bold: 0.6 × 20 × 1.05 = 12.6; "b" falls back to 10 points: 5.
    text.addFont({ 0, 1 }, base::FontAttr { "", 20, 700 });
    Size size = TextMetrics::sizeOfText(text, ten);
    EXPECT_NEAR(size.width, 17.6, 1e-9);
    // The line is as high as its tallest font.
    EXPECT_DOUBLE_EQ(size.height, 24);

    base::AttributedString plain("aaa bbb");
    EXPECT_DOUBLE_EQ(TextMetrics::boundingHeight(plain, ten, 20), 24);
}

TEST(TextMetricsTest, BaselineOffsetsGrowTheLineBoxTheWayTheyMove)
{
    // Boxes of 12 (10 pt) and 24 (20 pt) stand on one bottom.
    struct Case {
        double glyphOffset; // of the 20-point "A"
        double textOffset; // of the 10-point "b"
        double height;
        double unshiftedBottom;
    };
    const Case cases[] = {
        { 0, 0, 24, 24 },
        { 2.2, 0, 26.2, 26.2 }, // the raised tall box reaches above
        { -1.5, 0, 25.5, 24 }, // the lowered one hangs below the bottom
        { 0, 5, 24, 24 }, // a short box raised by less than the difference stays inside
        { 0, 15, 27, 27 },
        { 3, -2, 29, 27 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.glyphOffset) + " / " + std::to_string(c.textOffset));
        base::AttributedString text("Ab");
        text.addFont({ 0, 1 }, base::FontAttr { "", 20, 400 });
        text.addBaselineOffset({ 0, 1 }, c.glyphOffset);
        text.addBaselineOffset({ 1, 1 }, c.textOffset);
        EXPECT_NEAR(TextMetrics::sizeOfText(text, ten).height, c.height, 1e-9);
        auto lines = TextMetrics::layoutLines(text, ten, 0);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NEAR(lines[0].unshiftedBottom, c.unshiftedBottom, 1e-9);
        EXPECT_EQ(lines[0].range, (base::Range { 0, 2 }));
        // Offsets move glyphs up or down, never sideways.
        EXPECT_NEAR(lines[0].width, 17, 1e-9);
    }

    // Only the line holding the offset grows; a broken line leaves out its break.
    base::AttributedString two("ab\ncd");
    two.addBaselineOffset({ 3, 1 }, -1.5);
    auto lines = TextMetrics::layoutLines(two, ten, 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].range, (base::Range { 0, 2 }));
    EXPECT_DOUBLE_EQ(lines[0].height, 12);
    EXPECT_EQ(lines[1].range, (base::Range { 3, 2 }));
    EXPECT_DOUBLE_EQ(lines[1].height, 13.5);
    EXPECT_DOUBLE_EQ(TextMetrics::boundingHeight(two, ten, 0), 25.5);
}

TEST(TextMetricsTest, FontAttributeConversions)
{
    EXPECT_EQ(fontFromAttr({ "", 14, 700 }), Font::systemFont(14, FontWeight::Bold));
    // A face whose name says its weight keeps it when the number is the default.
    EXPECT_EQ(fontFromAttr({ "OpenSans-Semibold", 12, 400 }).weight(), FontWeight::Semibold);
    EXPECT_DOUBLE_EQ(fontFromAttr({ "X", 0, 400 }, ten).pointSize(), 10);
    for (int weight = 100; weight <= 900; weight += 100)
        EXPECT_EQ(fontWeightNumber(fontWeightFromNumber(weight)), weight);
    EXPECT_EQ(fontFromAttr(fontAttr(Font::systemFont(13, FontWeight::Light))),
        Font::systemFont(13, FontWeight::Light));
}

} // namespace
} // namespace ui
