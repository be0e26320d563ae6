#include "companion/renderer/PageTextLayout.h"

#include "companion/renderer/TextFaces.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace companion {

namespace {

bool isSpaceCodePoint(utf8proc_int32_t codePoint)
{
    if (codePoint == '\t' || codePoint == '\n' || codePoint == '\r' || codePoint == ' ')
        return true;
    auto category = utf8proc_category(codePoint);
    return category == UTF8PROC_CATEGORY_ZS || category == UTF8PROC_CATEGORY_ZL
        || category == UTF8PROC_CATEGORY_ZP;
}

} // namespace

double PageTextStyle::paragraphSpacing() const
{
    return std::round(fontSize * 0.5);
}

double PageTextStyle::lineHeightOf(const GlyphAdvances& face) const
{
    if (face.pointSize() == fontSize || fontSize <= 0)
        return lineHeight;
    return std::ceil(lineHeight * face.pointSize() / fontSize);
}

const GlyphAdvances& PageTextStyle::faceOf(int level) const
{
    if (level <= 0)
        return glyphAdvances(TextFace::Body, fontSize);
    return glyphAdvances(TextFace::Heading, headingSize(level, fontSize));
}

PageTextStyle PageTextStyle::forRange(size_t start, size_t end) const
{
    PageTextStyle style = *this;
    style.headings.clear();
    for (const auto& heading : headings) {
        size_t from = std::max(heading.start, start);
        size_t to = std::min(heading.end, end);
        if (from < to)
            style.headings.push_back({ from - start, to - start, heading.level });
    }
    return style;
}

PageTextLayout::PageTextLayout(std::string text, const ui::Size& pageSize, PageTextStyle style)
    : m_text(std::move(text))
    , m_pageSize(pageSize)
    , m_style(std::move(style))
{
    splitIntoClusters();
    layOut();
}

void PageTextLayout::splitIntoClusters()
{
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(m_text.data());
    size_t offset = 0;
    int64_t unit = 0;
    utf8proc_int32_t previous = -1;
    utf8proc_int32_t state = 0;
    while (offset < m_text.size()) {
        utf8proc_int32_t codePoint = 0;
        auto length = utf8proc_iterate(
            bytes + offset, static_cast<utf8proc_ssize_t>(m_text.size() - offset), &codePoint);
        if (length <= 0) {
            // A byte that is not UTF-8 stands for itself, as one character.
            codePoint = 0xFFFD;
            length = 1;
            previous = -1;
        }
        int64_t units = codePoint >= 0x10000 ? 2 : 1;
        bool breaks = previous < 0 || utf8proc_grapheme_break_stateful(previous, codePoint, &state);
        if (breaks || m_clusters.empty()) {
            Cluster cluster;
            cluster.byteStart = offset;
            cluster.unitStart = unit;
            cluster.isSpace = isSpaceCodePoint(codePoint);
            cluster.isNewline = codePoint == '\n' || codePoint == '\r';
            m_clusters.push_back(cluster);
        }
        Cluster& current = m_clusters.back();
        offset += static_cast<size_t>(length);
        unit += units;
        current.byteEnd = offset;
        current.unitEnd = unit;
        previous = codePoint;
    }
    auto heading = m_style.headings.begin();
    for (auto& cluster : m_clusters) {
        while (heading != m_style.headings.end() && heading->end <= cluster.byteStart)
            ++heading;
        if (heading != m_style.headings.end() && heading->start <= cluster.byteStart && !cluster.isNewline)
            cluster.level = static_cast<uint8_t>(std::clamp(heading->level, 1, 6));
    }
    bool inWord = false;
    for (size_t index = 0; index < m_clusters.size(); ++index) {
        if (m_clusters[index].isSpace) {
            inWord = false;
            continue;
        }
        if (!inWord)
            m_words.push_back({ index, index });
        m_words.back().last = index;
        inWord = true;
    }
}

void PageTextLayout::layOut()
{
    const double left = m_style.insets.left;
    const double width = std::max(1.0, m_pageSize.width - m_style.insets.left - m_style.insets.right);
    // The faces looked up once per level, not once per character.
    std::array<const GlyphAdvances*, 7> faces {};
    auto faceOf = [&](const Cluster& cluster) -> const GlyphAdvances& {
        auto& face = faces[cluster.level];
        if (!face)
            face = &m_style.faceOf(cluster.level);
        return *face;
    };
    auto widthOf = [&](const Cluster& cluster) {
        return faceOf(cluster).widthOf(std::string_view(m_text).substr(cluster.byteStart, cluster.byteEnd - cluster.byteStart));
    };

    double x = 0;
    double y = m_style.insets.top;
    // A line is as high as the face of its first word; until then, the body's.
    double lineHeight = m_style.lineHeight;
    bool lineHasWord = false;
    auto newLine = [&](double spacing) {
        x = 0;
        y += lineHeight + spacing;
        lineHeight = m_style.lineHeight;
        lineHasWord = false;
    };
    auto startWord = [&](const Cluster& cluster) {
        if (!lineHasWord)
            lineHeight = m_style.lineHeightOf(faceOf(cluster));
        lineHasWord = true;
    };
    size_t index = 0;
    while (index < m_clusters.size()) {
        Cluster& cluster = m_clusters[index];
        if (cluster.isNewline) {
            cluster.rect = ui::Rect { { left + x, y }, { 0, lineHeight } };
            newLine(m_style.paragraphSpacing());
            ++index;
            continue;
        }
        if (cluster.isSpace) {
            double advance = x > 0 ? widthOf(cluster) : 0;
            cluster.rect = ui::Rect { { left + x, y }, { advance, lineHeight } };
            x += advance;
            ++index;
            continue;
        }
        // A word: it moves to a new line when it does not fit, and breaks between
        // characters only when it is wider than a line on its own.
        size_t end = index;
        double wordWidth = 0;
        while (end < m_clusters.size() && !m_clusters[end].isSpace) {
            wordWidth += widthOf(m_clusters[end]);
            ++end;
        }
        if (x > 0 && x + wordWidth > width)
            newLine(0);
        for (; index < end; ++index) {
            double advance = widthOf(m_clusters[index]);
            if (x > 0 && x + advance > width)
                newLine(0);
            startWord(m_clusters[index]);
            m_clusters[index].rect = ui::Rect { { left + x, y }, { advance, lineHeight } };
            x += advance;
        }
    }
}

std::optional<TextRange> PageTextLayout::rangeOfWords(size_t first, size_t last) const
{
    if (first == 0 || last < first || last > m_words.size())
        return std::nullopt;
    return TextRange { m_clusters[m_words[first - 1].first].unitStart,
        m_clusters[m_words[last - 1].last].unitEnd };
}

size_t PageTextLayout::clusterAtUnit(int64_t unit) const
{
    auto found = std::upper_bound(m_clusters.begin(), m_clusters.end(), unit,
        [](int64_t value, const Cluster& cluster) { return value < cluster.unitEnd; });
    if (found == m_clusters.end())
        return m_clusters.size() - 1;
    return static_cast<size_t>(found - m_clusters.begin());
}

TextRange PageTextLayout::snappedToCharacters(TextRange range) const
{
    int64_t length = utf16Length();
    int64_t start = std::clamp<int64_t>(std::min(range.start, range.end), 0, length);
    int64_t end = std::clamp<int64_t>(std::max(range.start, range.end), 0, length);
    if (m_clusters.empty())
        return {};
    if (start < length)
        start = m_clusters[clusterAtUnit(start)].unitStart;
    if (end > 0 && end < length) {
        const Cluster& holding = m_clusters[clusterAtUnit(end)];
        if (holding.unitStart != end)
            end = holding.unitEnd;
    }
    return { start, std::max(start, end) };
}

size_t PageTextLayout::clusterNearest(const ui::Point& point) const
{
    size_t best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t index = 0; index < m_clusters.size(); ++index) {
        const ui::Rect& rect = m_clusters[index].rect;
        // Lines first: a point is on the line whose band holds it; then across.
        double dy = point.y < rect.origin.y              ? rect.origin.y - point.y
            : point.y > rect.origin.y + rect.size.height ? point.y - rect.origin.y - rect.size.height
                                                         : 0;
        double dx = point.x < rect.origin.x             ? rect.origin.x - point.x
            : point.x > rect.origin.x + rect.size.width ? point.x - rect.origin.x - rect.size.width
                                                        : 0;
        double distance = dy * 10000 + dx;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    }
    return best;
}

std::optional<TextRange> PageTextLayout::rangeBetweenPoints(const ui::Point& a, const ui::Point& b) const
{
    if (m_words.empty())
        return std::nullopt;
    size_t first = clusterNearest(a);
    size_t last = clusterNearest(b);
    if (last < first)
        std::swap(first, last);
    while (first < last && m_clusters[first].isSpace)
        ++first;
    while (last > first && m_clusters[last].isSpace)
        --last;
    if (m_clusters[first].isSpace)
        return std::nullopt;
    // A touch takes the whole word it lands on.
    while (first > 0 && !m_clusters[first - 1].isSpace)
        --first;
    while (last + 1 < m_clusters.size() && !m_clusters[last + 1].isSpace)
        ++last;
    return TextRange { m_clusters[first].unitStart, m_clusters[last].unitEnd };
}

std::string PageTextLayout::substring(TextRange range) const
{
    TextRange snapped = snappedToCharacters(range);
    if (snapped.isEmpty())
        return {};
    const Cluster& first = m_clusters[clusterAtUnit(snapped.start)];
    const Cluster& last = m_clusters[clusterAtUnit(snapped.end - 1)];
    return m_text.substr(first.byteStart, last.byteEnd - first.byteStart);
}

ui::Rect PageTextLayout::rectForRange(TextRange range) const
{
    TextRange snapped = snappedToCharacters(range);
    if (snapped.isEmpty())
        return {};
    std::optional<ui::Rect> united;
    for (size_t index = clusterAtUnit(snapped.start); index < m_clusters.size(); ++index) {
        const Cluster& cluster = m_clusters[index];
        if (cluster.unitStart >= snapped.end)
            break;
        if (cluster.isSpace && cluster.rect.size.width == 0)
            continue;
        united = united ? united->unionWith(cluster.rect) : cluster.rect;
    }
    if (!united)
        return {};
    ui::Rect page { { 0, 0 }, m_pageSize };
    return united->intersection(page);
}

std::vector<ui::Rect> PageTextLayout::lineRectsForRange(TextRange range) const
{
    std::vector<ui::Rect> lines;
    TextRange snapped = snappedToCharacters(range);
    if (snapped.isEmpty())
        return lines;
    ui::Rect page { { 0, 0 }, m_pageSize };
    for (size_t index = clusterAtUnit(snapped.start); index < m_clusters.size(); ++index) {
        const Cluster& cluster = m_clusters[index];
        if (cluster.unitStart >= snapped.end)
            break;
        if (cluster.isNewline || (cluster.isSpace && cluster.rect.size.width == 0))
            continue;
        if (!lines.empty() && lines.back().origin.y == cluster.rect.origin.y)
            lines.back() = lines.back().unionWith(cluster.rect);
        else
            lines.push_back(cluster.rect);
    }
    // A space that ends a line is no part of the line's mark.
    for (auto& line : lines)
        line = line.intersection(page);
    std::erase_if(lines, [](const ui::Rect& line) { return line.isEmpty(); });
    return lines;
}

std::vector<PageTextLayout::Run> PageTextLayout::runs() const
{
    std::vector<Run> runs;
    std::array<const GlyphAdvances*, 7> faces {};
    bool open = false;
    for (const Cluster& cluster : m_clusters) {
        if (cluster.isSpace || cluster.isNewline) {
            open = false;
            continue;
        }
        const GlyphAdvances*& face = faces[cluster.level];
        if (!face)
            face = &m_style.faceOf(cluster.level);
        if (open && runs.back().face == face && runs.back().rect.origin.y == cluster.rect.origin.y
            && runs.back().byteEnd == cluster.byteStart) {
            runs.back().byteEnd = cluster.byteEnd;
            runs.back().rect = runs.back().rect.unionWith(cluster.rect);
            continue;
        }
        runs.push_back({ cluster.byteStart, cluster.byteEnd, cluster.rect, face });
        open = true;
    }
    return runs;
}

} // namespace companion
