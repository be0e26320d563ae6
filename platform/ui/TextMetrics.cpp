#include "platform/ui/TextMetrics.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

FontWeight fontWeightFromNumber(int weight)
{
    int step = std::clamp((weight + 50) / 100, 1, 9);
    return static_cast<FontWeight>(step - 1);
}

int fontWeightNumber(FontWeight weight)
{
    return (static_cast<int>(weight) + 1) * 100;
}

Font fontFromAttr(const base::FontAttr& attr, const Font& fallback)
{
    double size = std::isfinite(attr.size) && attr.size > 0 ? attr.size : fallback.pointSize();
    if (attr.name.empty())
        return Font::systemFont(size, fontWeightFromNumber(attr.weight));
    bool italic = false;
    FontWeight nameWeight = fontWeightFromFaceName(attr.name, &italic);
    // A face name that says its weight wins over a default (regular) number.
    FontWeight weight = attr.weight == 400 ? nameWeight : fontWeightFromNumber(attr.weight);
    return Font(attr.name, size, weight, italic);
}

base::FontAttr fontAttr(const Font& font)
{
    base::FontAttr attr;
    attr.name = font.name() == Font::systemFontName ? std::string() : font.name();
    attr.size = font.pointSize();
    attr.weight = fontWeightNumber(font.weight());
    return attr;
}

Color colorFromAttr(const base::ColorAttr& attr)
{
    return Color::fromRGBA(attr.red, attr.green, attr.blue, attr.alpha);
}

base::ColorAttr colorAttr(const Color& color)
{
    return { color.redComponent(), color.greenComponent(), color.blueComponent(), color.alpha() };
}

namespace {

struct Unit {
    char16_t code = 0;
    double advance = 0;
    double lineHeight = 0;
    double baselineOffset = 0;
};

struct LineRange {
    size_t start = 0;
    size_t end = 0;
    double width = 0;
    double height = 0;
    double unshiftedBottom = 0;
};

double unitFactor(char16_t unit)
{
    switch (unit) {
    case u' ':
    case u'\t':
    case u'.':
    case u',':
    case u':':
    case u';':
    case u'!':
    case u'|':
    case u'i':
    case u'l':
    case u'\'':
        return 0.3;
    default:
        break;
    }
    if ((unit >= u'A' && unit <= u'Z') || (unit >= u'0' && unit <= u'9'))
        return 0.6;
    return 0.5;
}

bool isLineBreak(char16_t unit)
{
    return unit == u'\n' || unit == u'\r' || unit == 0x2028 || unit == 0x2029;
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool wraps(double width)
{
    return std::isfinite(width) && width > 0;
}

class LineBuilder {
public:
    LineBuilder(const std::vector<Unit>& units, double width, bool charWrap, double defaultHeight)
        : m_units(units)
        , m_width(width)
        , m_charWrap(charWrap)
        , m_defaultHeight(defaultHeight)
    {
    }

    std::vector<LineRange> run()
    {
        size_t i = 0;
        size_t n = m_units.size();
        size_t paragraphStart = 0;
        while (true) {
            if (i == n || isLineBreak(m_units[i].code)) {
                layoutParagraph(paragraphStart, i);
                if (i == n)
                    break;
                // "\r\n" is one break.
                if (m_units[i].code == u'\r' && i + 1 < n && m_units[i + 1].code == u'\n')
                    ++i;
                ++i;
                paragraphStart = i;
                continue;
            }
            ++i;
        }
        return std::move(m_lines);
    }

private:
    double widthOf(size_t start, size_t end) const
    {
        double w = 0;
        for (size_t i = start; i < end; ++i)
            w += m_units[i].advance;
        return w;
    }

    void emit(size_t start, size_t end, double width)
    {
        // Every unit's box stands on one bottom; a raised box reaches above the tallest
        // box, a lowered one below the common bottom.
        double above = 0;
        double below = 0;
        for (size_t i = start; i < end; ++i) {
            above = std::max(above, m_units[i].lineHeight + std::max(0.0, m_units[i].baselineOffset));
            below = std::max(below, -m_units[i].baselineOffset);
        }
        if (above <= 0)
            above = m_defaultHeight;
        m_lines.push_back({ start, end, width, above + below, above });
    }

    size_t clusterEnd(size_t i, size_t end) const
    {
        if (isHighSurrogate(m_units[i].code) && i + 1 < end)
            return i + 2;
        return i + 1;
    }

    // Places [from, to) on the current line breaking anywhere between clusters.
    void placeByCharacters(size_t from, size_t to)
    {
        size_t i = from;
        while (i < to) {
            size_t next = clusterEnd(i, to);
            double w = widthOf(i, next);
            if (m_lineEnd > m_lineStart && m_lineWidth + w > m_width + 1e-9) {
                emit(m_lineStart, m_lineEnd, m_lineWidth);
                m_lineStart = m_lineEnd = i;
                m_lineWidth = 0;
            }
            m_lineEnd = next;
            m_lineWidth += w;
            i = next;
        }
    }

    void layoutParagraph(size_t start, size_t end)
    {
        m_lineStart = m_lineEnd = start;
        m_lineWidth = 0;
        if (!wraps(m_width)) {
            emit(start, end, widthOf(start, end));
            return;
        }
        if (m_charWrap) {
            placeByCharacters(start, end);
            emit(m_lineStart, m_lineEnd, m_lineWidth);
            return;
        }
        size_t cursor = start;
        while (cursor < end) {
            size_t wordStart = cursor;
            while (wordStart < end && m_units[wordStart].code == u' ')
                ++wordStart;
            size_t wordEnd = wordStart;
            while (wordEnd < end && m_units[wordEnd].code != u' ')
                ++wordEnd;
            double spaces = widthOf(cursor, wordStart);
            double word = widthOf(wordStart, wordEnd);
            if (wordStart == wordEnd) {
                // Trailing spaces count only while they fit; they never open a line.
                if (m_lineWidth + spaces <= m_width + 1e-9) {
                    m_lineEnd = end;
                    m_lineWidth += spaces;
                }
                break;
            }
            if (m_lineWidth + spaces + word <= m_width + 1e-9) {
                m_lineEnd = wordEnd;
                m_lineWidth += spaces + word;
            } else if (m_lineEnd > m_lineStart) {
                // The spaces at the break vanish; the word starts the next line.
                emit(m_lineStart, m_lineEnd, m_lineWidth);
                m_lineStart = m_lineEnd = wordStart;
                m_lineWidth = 0;
                if (word <= m_width + 1e-9) {
                    m_lineEnd = wordEnd;
                    m_lineWidth = word;
                } else {
                    placeByCharacters(wordStart, wordEnd);
                }
            } else {
                // Leading spaces and a word too wide for an empty line: break by characters.
                placeByCharacters(cursor, wordEnd);
            }
            cursor = wordEnd;
        }
        emit(m_lineStart, m_lineEnd, m_lineWidth);
    }

    const std::vector<Unit>& m_units;
    double m_width;
    bool m_charWrap;
    double m_defaultHeight;
    std::vector<LineRange> m_lines;
    size_t m_lineStart = 0;
    size_t m_lineEnd = 0;
    double m_lineWidth = 0;
};

std::vector<Unit> unitsOf(const std::u16string& text, const Font& font)
{
    std::vector<Unit> units;
    units.reserve(text.size());
    double lineHeight = TextMetrics::lineHeight(font);
    for (char16_t code : text)
        units.push_back({ code, TextMetrics::advanceOfUnit(code, font), lineHeight });
    return units;
}

std::vector<Unit> unitsOf(const base::AttributedString& text, const Font& fallback)
{
    std::u16string utf16 = base::utf8ToUtf16(text.string());
    std::vector<Unit> units;
    units.reserve(utf16.size());
    auto runs = text.runs();
    size_t runIndex = 0;
    for (size_t i = 0; i < utf16.size(); ++i) {
        while (runIndex < runs.size() && runs[runIndex].range.end() <= i)
            ++runIndex;
        Font font = fallback;
        double offset = 0;
        if (runIndex < runs.size() && runs[runIndex].range.contains(i)) {
            const auto& attributes = runs[runIndex].attributes;
            if (attributes.font)
                font = fontFromAttr(*attributes.font, fallback);
            offset = attributes.baselineOffset.value_or(0);
        }
        units.push_back(
            { utf16[i], TextMetrics::advanceOfUnit(utf16[i], font), TextMetrics::lineHeight(font), offset });
    }
    return units;
}

std::vector<LineRange> layout(const std::vector<Unit>& units, double width, LineBreakMode mode, double defaultHeight)
{
    return LineBuilder(units, width, mode == LineBreakMode::ByCharWrapping, defaultHeight).run();
}

Size sizeOfLines(const std::vector<LineRange>& lines, int maxLines)
{
    Size size;
    size_t count = maxLines > 0 ? std::min(lines.size(), static_cast<size_t>(maxLines)) : lines.size();
    for (size_t i = 0; i < count; ++i) {
        size.width = std::max(size.width, lines[i].width);
        size.height += lines[i].height;
    }
    return size;
}

} // namespace

namespace TextMetrics {

double advanceOfUnit(char16_t unit, const Font& font)
{
    if (isLineBreak(unit))
        return 0;
    double advance = unitFactor(unit) * font.pointSize();
    return font.isBold() ? advance * 1.05 : advance;
}

double widthOfLine(const std::string& utf8, const Font& font)
{
    double width = 0;
    for (char16_t unit : base::utf8ToUtf16(utf8))
        width += advanceOfUnit(unit, font);
    return width;
}

double lineHeight(const Font& font)
{
    return font.lineHeight();
}

Size sizeOfText(const std::string& utf8, const Font& font)
{
    auto units = unitsOf(base::utf8ToUtf16(utf8), font);
    return sizeOfLines(layout(units, 0, LineBreakMode::ByWordWrapping, lineHeight(font)), 0);
}

std::vector<std::string> wrapLines(const std::string& utf8, const Font& font, double width, LineBreakMode mode)
{
    std::u16string text = base::utf8ToUtf16(utf8);
    auto lines = layout(unitsOf(text, font), width, mode, lineHeight(font));
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const auto& line : lines)
        out.push_back(base::utf16ToUtf8(std::u16string_view(text).substr(line.start, line.end - line.start)));
    return out;
}

int lineCount(const std::string& utf8, const Font& font, double width, LineBreakMode mode)
{
    auto lines = layout(unitsOf(base::utf8ToUtf16(utf8), font), width, mode, lineHeight(font));
    return static_cast<int>(lines.size());
}

double boundingHeight(const std::string& utf8, const Font& font, double width, LineBreakMode mode)
{
    return boundingSize(utf8, font, width, mode, 0).height;
}

Size boundingSize(const std::string& utf8, const Font& font, double width, LineBreakMode mode, int maxLines)
{
    auto units = unitsOf(base::utf8ToUtf16(utf8), font);
    return sizeOfLines(layout(units, width, mode, lineHeight(font)), maxLines);
}

Size sizeOfText(const base::AttributedString& text, const Font& fallback)
{
    return boundingSize(text, fallback, 0, LineBreakMode::ByWordWrapping, 0);
}

double boundingHeight(const base::AttributedString& text, const Font& fallback, double width, LineBreakMode mode)
{
    return boundingSize(text, fallback, width, mode, 0).height;
}

Size boundingSize(const base::AttributedString& text, const Font& fallback, double width, LineBreakMode mode,
    int maxLines)
{
    auto units = unitsOf(text, fallback);
    return sizeOfLines(layout(units, width, mode, lineHeight(fallback)), maxLines);
}

std::vector<TextLine> layoutLines(
    const base::AttributedString& text, const Font& fallback, double width, LineBreakMode mode)
{
    std::vector<TextLine> out;
    for (const auto& line : layout(unitsOf(text, fallback), width, mode, lineHeight(fallback)))
        out.push_back({ { line.start, line.end - line.start }, line.width, line.height, line.unshiftedBottom });
    return out;
}

} // namespace TextMetrics

} // namespace ui
