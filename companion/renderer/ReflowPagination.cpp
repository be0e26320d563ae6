#include "companion/renderer/ReflowPagination.h"

#include "platform/ui/Font.h"
#include "platform/ui/TextMetrics.h"

#include <algorithm>
#include <cmath>

namespace companion {

namespace {

template <size_t N> double pick(const double (&table)[N], int64_t index)
{
    return table[std::clamp<int64_t>(index, 0, static_cast<int64_t>(N) - 1)];
}

bool isBreakByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Length of the UTF-8 sequence starting with `lead` (1 for a byte that starts none).
size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

double ReflowLayout::lineWidth() const
{
    return std::max(1.0, pageSize.width - insets.left - insets.right);
}

size_t ReflowLayout::linesPerPage() const
{
    double height = pageSize.height - insets.top - insets.bottom;
    if (!(lineHeight > 0) || !(height >= lineHeight))
        return 1;
    return static_cast<size_t>(std::floor(height / lineHeight));
}

bool ReflowLayout::operator==(const ReflowLayout& other) const
{
    return fontSize == other.fontSize && lineHeight == other.lineHeight && pageSize == other.pageSize
        && insets == other.insets;
}

ReflowLayout reflowLayoutFor(int64_t fontSizeStep, int64_t lineSpacing, int64_t margin, double verticalMargin,
    const ui::Size& pageSize)
{
    static constexpr double sizes[] = { 18, 14, 16, 22, 26, 30 };
    static constexpr double spacings[] = { 1.2, 1.0, 1.4, 1.7 };
    static constexpr double margins[] = { 40, 20, 60, 90 };
    ReflowLayout layout;
    layout.fontSize = pick(sizes, fontSizeStep);
    layout.lineHeight = std::ceil(layout.fontSize * pick(spacings, lineSpacing));
    double side = pick(margins, margin);
    double vertical = 40 + (std::isfinite(verticalMargin) ? std::max(0.0, verticalMargin) : 0.0);
    layout.insets = ui::EdgeInsets { vertical, side, vertical, side };
    layout.pageSize = pageSize;
    return layout;
}

ChapterPages::ChapterPages(std::vector<size_t> starts, size_t textLength)
    : m_starts(std::move(starts))
    , m_textLength(textLength)
{
    if (m_starts.empty() || m_starts.front() != 0)
        m_starts.insert(m_starts.begin(), 0);
}

std::pair<size_t, size_t> ChapterPages::range(size_t index) const
{
    if (index >= m_starts.size())
        return { m_textLength, m_textLength };
    size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_textLength;
    return { m_starts[index], end };
}

size_t ChapterPages::pageHolding(size_t offset) const
{
    auto after = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    return static_cast<size_t>(after - m_starts.begin()) - 1;
}

ChapterPages paginateText(std::string_view text, const ReflowLayout& layout)
{
    const ui::Font font = ui::Font::systemFont(layout.fontSize);
    const double width = layout.lineWidth();
    const size_t linesPerPage = layout.linesPerPage();
    const double spaceWidth = ui::TextMetrics::advanceOfUnit(u' ', font);
    // ASCII advances looked up once; every other character is as wide as any non-ASCII unit.
    double ascii[128];
    for (char16_t unit = 0; unit < 128; ++unit)
        ascii[unit] = ui::TextMetrics::advanceOfUnit(unit, font);
    const double other = ui::TextMetrics::advanceOfUnit(u'\u00E9', font);

    std::vector<size_t> starts { 0 };
    size_t line = 0;
    double x = 0;
    bool lineHasContent = false;
    // A line begins at `offset`: the page turns when the page is full.
    auto newLine = [&](size_t offset) {
        ++line;
        x = 0;
        lineHasContent = false;
        if (line == linesPerPage) {
            line = 0;
            if (offset < text.size() && offset > starts.back())
                starts.push_back(offset);
        }
    };

    size_t at = 0;
    while (at < text.size()) {
        char c = text[at];
        if (c == '\n') {
            ++at;
            while (at < text.size() && isBreakByte(text[at]) && text[at] != '\n')
                ++at;
            newLine(at);
            continue;
        }
        if (isBreakByte(c)) {
            ++at;
            continue;
        }
        // A word: measure it, then place it on this line or the next.
        size_t wordStart = at;
        double wordWidth = 0;
        size_t end = at;
        while (end < text.size() && !isBreakByte(text[end])) {
            unsigned char lead = static_cast<unsigned char>(text[end]);
            size_t length = std::min(sequenceLength(lead), text.size() - end);
            wordWidth += lead < 0x80 ? ascii[lead] : (length == 4 ? 2 * other : other);
            end += length;
        }
        double gap = lineHasContent ? spaceWidth : 0;
        if (lineHasContent && x + gap + wordWidth > width) {
            newLine(wordStart);
            gap = 0;
        }
        if (wordWidth <= width - x - gap) {
            x += gap + wordWidth;
            lineHasContent = true;
            at = end;
            continue;
        }
        // Wider than a line on its own: broken between characters.
        x += gap;
        while (at < end) {
            unsigned char lead = static_cast<unsigned char>(text[at]);
            size_t length = std::min(sequenceLength(lead), end - at);
            double advance = lead < 0x80 ? ascii[lead] : (length == 4 ? 2 * other : other);
            if (lineHasContent && x + advance > width)
                newLine(at);
            x += advance;
            lineHasContent = true;
            at += length;
        }
    }
    return ChapterPages(std::move(starts), text.size());
}

} // namespace companion
