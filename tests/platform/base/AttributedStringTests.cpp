#include "platform/base/AttributedString.h"

#include <cmath>

#include <gtest/gtest.h>

using base::AttributedRun;
using base::AttributedString;
using base::FontAttr;
using base::Range;
using base::TextAttributes;

namespace {

TextAttributes withFont(const char* name, double size)
{
    TextAttributes a;
    a.font = FontAttr { name, size, 400 };
    return a;
}

TextAttributes withLink(const char* link)
{
    TextAttributes a;
    a.link = link;
    return a;
}

TEST(AttributedStringTest, AddingSplitsAndMergesRuns)
{
    AttributedString text("Hello world", withFont("OpenSans", 12));
    text.addLink(Range { 6, 5 }, "https://x");
    text.addFont(Range { 0, 3 }, FontAttr { "OpenSans-Bold", 12, 700 });

    TextAttributes bold;
    bold.font = FontAttr { "OpenSans-Bold", 12, 700 };
    TextAttributes linked = withFont("OpenSans", 12);
    linked.link = "https://x";
    const std::vector<AttributedRun> expected = {
        { Range { 0, 3 }, bold },
        { Range { 3, 3 }, withFont("OpenSans", 12) },
        { Range { 6, 5 }, linked },
    };
    EXPECT_EQ(text.runs(), expected);

    Range effective;
    EXPECT_EQ(text.attributesAt(7, &effective).link, "https://x");
    EXPECT_EQ(effective, (Range { 6, 5 }));
    EXPECT_TRUE(text.attributesAt(11, &effective).empty());
    EXPECT_EQ(effective, (Range { 11, 0 }));

    // Undoing the change merges the runs again.
    text.addFont(Range { 0, 3 }, FontAttr { "OpenSans", 12, 400 });
    text.removeAttribute(Range { 0, 100 }, base::TextAttributeKey::Link);
    ASSERT_EQ(text.runs().size(), 1u);
    EXPECT_EQ(text.runs()[0].range, (Range { 0, 11 }));
}

TEST(AttributedStringTest, RangesAreClampedAndNeverSplitASurrogatePair)
{
    struct Case {
        Range requested;
        Range applied;
    };
    // a😀b: units a, hi, lo, b.
    const Case cases[] = {
        { Range { 0, 2 }, Range { 0, 1 } }, // end inside the pair moves before it
        { Range { 2, 2 }, Range { 1, 3 } }, // start inside the pair moves before it
        { Range { 1, 2 }, Range { 1, 2 } },
        { Range { 3, 100 }, Range { 3, 1 } },
        { Range { 9, 1 }, Range { 4, 0 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.requested.location) + "," + std::to_string(c.requested.length));
        AttributedString text("a\xF0\x9F\x98\x80" "b");
        EXPECT_EQ(text.length(), 4u);
        text.addLink(c.requested, "l");
        Range linked { 4, 0 };
        for (const auto& run : text.runs()) {
            if (run.attributes.link)
                linked = run.range;
        }
        EXPECT_EQ(linked, c.applied);
    }
}

TEST(AttributedStringTest, SetAttributesReplacesEverything)
{
    AttributedString text("abcd", withFont("F", 10));
    text.setAttributes(Range { 1, 2 }, withLink("x"));
    EXPECT_FALSE(text.attributesAt(1).font);
    EXPECT_EQ(text.attributesAt(1).link, "x");
    EXPECT_TRUE(text.attributesAt(3).font);
}

TEST(AttributedStringTest, AppendSubstringAndReplace)
{
    AttributedString text("ab", withFont("F", 10));
    text.append("cd", withFont("F", 10));
    text.append("\xE2\x82\xAC" "e", withLink("l"));
    EXPECT_EQ(text.string(), "abcd\xE2\x82\xAC" "e");
    EXPECT_EQ(text.length(), 6u);
    ASSERT_EQ(text.runs().size(), 2u);
    EXPECT_EQ(text.runs()[0].range, (Range { 0, 4 }));

    const AttributedString middle = text.substring(Range { 3, 2 });
    EXPECT_EQ(middle.string(), "d\xE2\x82\xAC");
    ASSERT_EQ(middle.runs().size(), 2u);
    EXPECT_EQ(middle.runs()[0], (AttributedRun { Range { 0, 1 }, withFont("F", 10) }));
    EXPECT_EQ(middle.runs()[1], (AttributedRun { Range { 1, 1 }, withLink("l") }));

    // The replacement takes the attributes of the first replaced character...
    AttributedString replaced = text;
    replaced.replaceCharacters(Range { 4, 2 }, "XYZ");
    EXPECT_EQ(replaced.string(), "abcdXYZ");
    EXPECT_EQ(replaced.attributesAt(6).link, "l");
    // ...or of the character before an insertion, and nothing at the very start.
    replaced.replaceCharacters(Range { 2, 0 }, "-");
    EXPECT_EQ(replaced.string(), "ab-cdXYZ");
    EXPECT_EQ(replaced.attributesAt(2), withFont("F", 10));
    replaced.replaceCharacters(Range { 0, 0 }, ">");
    EXPECT_TRUE(replaced.attributesAt(0).empty());
    EXPECT_EQ(replaced.length(), 9u);
}

TEST(AttributedStringTest, InvalidUtf8IsReplacedSoLengthsStayAdditive)
{
    AttributedString text("\xC3");
    text.append("\xA9");
    EXPECT_EQ(text.length(), 2u);
    EXPECT_EQ(text.string(), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(text.runs().back().range.end(), 2u);
}

TEST(AttributedStringTest, EachAttributeIsAddedAndRemovedOnItsOwn)
{
    base::ParagraphStyleAttr paragraph;
    paragraph.lineSpacing = 4;
    paragraph.alignment = base::TextAlignment::Center;
    paragraph.lineBreakMode = base::LineBreakMode::ByTruncatingTail;
    TextAttributes all = withFont("F", 10);
    all.foregroundColor = base::ColorAttr { 1, 0, 0, 1 };
    all.backgroundColor = base::ColorAttr { 0, 0, 1, 0.5 };
    all.underlineStyle = base::UnderlineStyle::Single;
    all.paragraphStyle = paragraph;
    all.link = "https://x";
    all.baselineOffset = -1.5;

    struct Case {
        const char* name;
        base::TextAttributeKey key;
        void (*clear)(TextAttributes&);
    };
    const Case cases[] = {
        { "font", base::TextAttributeKey::Font, [](TextAttributes& a) { a.font.reset(); } },
        { "foreground", base::TextAttributeKey::ForegroundColor,
            [](TextAttributes& a) { a.foregroundColor.reset(); } },
        { "background", base::TextAttributeKey::BackgroundColor,
            [](TextAttributes& a) { a.backgroundColor.reset(); } },
        { "underline", base::TextAttributeKey::UnderlineStyle,
            [](TextAttributes& a) { a.underlineStyle.reset(); } },
        { "paragraph", base::TextAttributeKey::ParagraphStyle,
            [](TextAttributes& a) { a.paragraphStyle.reset(); } },
        { "link", base::TextAttributeKey::Link, [](TextAttributes& a) { a.link.reset(); } },
        { "baseline offset", base::TextAttributeKey::BaselineOffset,
            [](TextAttributes& a) { a.baselineOffset.reset(); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AttributedString text("abcdefgh", all);
        text.removeAttribute(Range { 2, 3 }, c.key);
        TextAttributes without = all;
        c.clear(without);
        const std::vector<AttributedRun> expected = {
            { Range { 0, 2 }, all },
            { Range { 2, 3 }, without },
            { Range { 5, 3 }, all },
        };
        EXPECT_EQ(text.runs(), expected);

        // Adding it back joins the runs again.
        text.addAttributes(Range { 2, 3 }, all);
        ASSERT_EQ(text.runs().size(), 1u);
        EXPECT_EQ(text.runs()[0].attributes, all);
    }

    AttributedString styled("abcd");
    styled.addUnderline(Range { 0, 2 }, base::UnderlineStyle::Double);
    styled.addParagraphStyle(Range { 1, 3 }, paragraph);
    EXPECT_EQ(styled.attributesAt(0).underlineStyle, base::UnderlineStyle::Double);
    EXPECT_FALSE(styled.attributesAt(0).paragraphStyle);
    EXPECT_EQ(styled.attributesAt(1).paragraphStyle, paragraph);
    EXPECT_EQ(styled.attributesAt(1).underlineStyle, base::UnderlineStyle::Double);
    EXPECT_FALSE(styled.attributesAt(3).underlineStyle);
    EXPECT_EQ(styled.runs().size(), 3u);

    // An offset that is no number is not an attribute.
    AttributedString glyph("x");
    glyph.addBaselineOffset(Range { 0, 1 }, std::nan(""));
    EXPECT_TRUE(glyph.attributesAt(0).empty());
    glyph.addBaselineOffset(Range { 0, 1 }, 2.2);
    EXPECT_EQ(glyph.attributesAt(0).baselineOffset, 2.2);
}

} // namespace
