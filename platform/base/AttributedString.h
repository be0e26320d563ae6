#pragma once

// Text with attributes over UTF-16 ranges, as the platform's attributed strings hold them.
// The attributes are plain data so this layer does not depend on the UI layer; the UI
// turns them into fonts and colours.
//
// Ranges are clamped to the text, and an end that would split a surrogate pair moves
// before the pair, so attributes never cover half a character.

#include "platform/base/Strings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

struct FontAttr {
    std::string name;
    double size = 0;
    int weight = 400; // 100 thin ... 400 regular ... 700 bold ... 900 black
    friend bool operator==(const FontAttr&, const FontAttr&) = default;
};

struct ColorAttr {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    friend bool operator==(const ColorAttr&, const ColorAttr&) = default;
};

enum class UnderlineStyle { None = 0, Single = 1, Thick = 2, Double = 9 };
enum class TextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };
enum class LineBreakMode {
    ByWordWrapping = 0,
    ByCharWrapping,
    ByClipping,
    ByTruncatingHead,
    ByTruncatingTail,
    ByTruncatingMiddle,
};

struct ParagraphStyleAttr {
    double lineSpacing = 0;
    double paragraphSpacing = 0;
    double lineHeightMultiple = 0;
    TextAlignment alignment = TextAlignment::Natural;
    LineBreakMode lineBreakMode = LineBreakMode::ByWordWrapping;
    friend bool operator==(const ParagraphStyleAttr&, const ParagraphStyleAttr&) = default;
};

// Each attribute is absent unless set.
struct TextAttributes {
    std::optional<FontAttr> font;
    std::optional<ColorAttr> foregroundColor;
    std::optional<ColorAttr> backgroundColor;
    std::optional<UnderlineStyle> underlineStyle;
    std::optional<ParagraphStyleAttr> paragraphStyle;
    std::optional<std::string> link;
    // Points the glyphs sit above the line's baseline (below it when negative); the
    // line's box grows to hold them (TextMetrics.h).
    std::optional<double> baselineOffset;

    bool empty() const;
    // The attributes set in `other` replace those here; the others stay.
    void merge(const TextAttributes& other);
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

enum class TextAttributeKey { Font, ForegroundColor, BackgroundColor, UnderlineStyle, ParagraphStyle, Link, BaselineOffset };

struct AttributedRun {
    Range range;
    TextAttributes attributes;
    friend bool operator==(const AttributedRun&, const AttributedRun&) = default;
};

class AttributedString {
public:
    AttributedString() = default;
    explicit AttributedString(std::string text, TextAttributes attributes = {});

    const std::string& string() const { return m_text; }
    // In UTF-16 units.
    size_t length() const { return m_length; }

    // Adds to what is there (merge); setAttributes replaces everything in the range.
    void addAttributes(Range, const TextAttributes&);
    void setAttributes(Range, const TextAttributes&);
    void removeAttribute(Range, TextAttributeKey);
    void addFont(Range range, FontAttr font);
    void addForegroundColor(Range range, ColorAttr color);
    void addUnderline(Range range, UnderlineStyle style);
    void addParagraphStyle(Range range, ParagraphStyleAttr style);
    void addLink(Range range, std::string link);
    // Not finite: nothing is added.
    void addBaselineOffset(Range range, double points);

    // The attributes of the unit at index (empty past the end); effectiveRange, when given,
    // receives the longest run around it with the same attributes.
    TextAttributes attributesAt(size_t index, Range* effectiveRange = nullptr) const;
    // Adjacent runs with equal attributes are merged; together they cover the text.
    std::vector<AttributedRun> runs() const;

    void append(const AttributedString&);
    void append(std::string_view text, const TextAttributes& attributes = {});
    // The replacement takes the attributes of the first replaced unit, or of the unit
    // before an empty range (none at the start of the text).
    void replaceCharacters(Range, std::string_view text);
    AttributedString substring(Range) const;

    friend bool operator==(const AttributedString&, const AttributedString&);

private:
    Range clampRange(Range) const;
    void splitAt(size_t index);
    void coalesce();

    std::string m_text;
    size_t m_length = 0;
    // Cover [0, m_length) in order without gaps; empty when the text is empty.
    std::vector<AttributedRun> m_runs;
};

} // namespace base
