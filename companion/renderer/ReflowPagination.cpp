#include "companion/renderer/ReflowPagination.h"

#include "companion/renderer/TextFaces.h"

#include <algorithm>
#include <array>
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

PageTextStyle ReflowLayout::textStyle(std::vector<lectoro::EPUBHeading> headings) const
{
    PageTextStyle style;
    style.fontSize = fontSize;
    style.lineHeight = lineHeight;
    style.insets = insets;
    style.headings = std::move(headings);
    return style;
}

ChapterPages paginateText(std::string_view text, const ReflowLayout& layout, const std::vector<lectoro::EPUBHeading>& headings)
{
    const PageTextStyle style = layout.textStyle();
    const double width = layout.lineWidth();
    const double pageHeight = std::max(layout.lineHeight, layout.pageSize.height - layout.insets.top - layout.insets.bottom);
    const double paragraphSpacing = style.paragraphSpacing();
    const GlyphAdvances& body = style.faceOf(0);
    // The faces of the levels met, looked up once each.
    std::array<const GlyphAdvances*, 7> faces {};
    faces[0] = &body;
    auto heading = headings.begin();
    // The face of the word starting at `offset`.
    auto faceAt = [&](size_t offset) -> const GlyphAdvances& {
        while (heading != headings.end() && heading->end <= offset)
            ++heading;
        if (heading == headings.end() || heading->start > offset)
            return body;
        int level = std::clamp(heading->level, 1, 6);
        if (!faces[level])
            faces[level] = &style.faceOf(level);
        return *faces[level];
    };
    auto advanceAt = [](const GlyphAdvances& face, std::string_view from, size_t& length) {
        auto lead = static_cast<unsigned char>(from[0]);
        if (lead < 0x80) {
            length = 1;
            return face.advance(lead);
        }
        length = std::min(sequenceLength(lead), from.size());
        return face.widthOf(from.substr(0, length));
    };

    std::vector<size_t> starts { 0 };
    // The top of the line being filled, from the top margin; its height once it holds a word.
    double y = 0;
    double lineHeight = layout.lineHeight;
    double x = 0;
    bool lineHasContent = false;
    bool pageHasContent = false;
    auto endLine = [&](double spacing) {
        y += lineHeight + spacing;
        x = 0;
        lineHasContent = false;
        lineHeight = layout.lineHeight;
    };
    // The first word of a line: the line takes its face's height, and goes to the next
    // page when it does not fit under the lines before it.
    auto beginLine = [&](size_t offset, const GlyphAdvances& face) {
        lineHeight = style.lineHeightOf(face);
        if (pageHasContent && y + lineHeight > pageHeight + 0.001) {
            if (offset > starts.back())
                starts.push_back(offset);
            y = 0;
        }
        pageHasContent = true;
        lineHasContent = true;
    };

    size_t at = 0;
    while (at < text.size()) {
        char c = text[at];
        if (c == '\n') {
            ++at;
            while (at < text.size() && isBreakByte(text[at]) && text[at] != '\n')
                ++at;
            endLine(paragraphSpacing);
            continue;
        }
        if (isBreakByte(c)) {
            ++at;
            continue;
        }
        // A word: measure it, then place it on this line or the next.
        size_t wordStart = at;
        const GlyphAdvances& face = faceAt(wordStart);
        const double spaceWidth = face.advance(U' ');
        double wordWidth = 0;
        size_t end = at;
        while (end < text.size() && !isBreakByte(text[end])) {
            size_t length = 1;
            wordWidth += advanceAt(face, text.substr(end), length);
            end += length;
        }
        double gap = lineHasContent ? spaceWidth : 0;
        if (lineHasContent && x + gap + wordWidth > width) {
            endLine(0);
            gap = 0;
        }
        if (!lineHasContent)
            beginLine(wordStart, face);
        if (wordWidth <= width - x - gap) {
            x += gap + wordWidth;
            at = end;
            continue;
        }
        // Wider than a line on its own: broken between characters.
        x += gap;
        bool pieceStarted = x > 0;
        while (at < end) {
            size_t length = 1;
            double advance = advanceAt(face, text.substr(at, end - at), length);
            if (pieceStarted && x + advance > width) {
                endLine(0);
                beginLine(at, face);
            }
            x += advance;
            pieceStarted = true;
            at += length;
        }
    }
    return ChapterPages(std::move(starts), text.size());
}

ChapterPages paginateText(std::string_view text, const ReflowLayout& layout)
{
    return paginateText(text, layout, {});
}

} // namespace companion
