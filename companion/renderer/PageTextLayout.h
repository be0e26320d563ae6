#pragma once

// Where a page's text lies on the page, for selections, their rectangles and the painter.
// The text is set in the faces it is drawn with (TextFaces.h): the body size inside the
// style's margins, headings in their level's size and face, each paragraph ("\n") followed
// by the style's paragraph spacing; lines are wrapped by words, and a word wider than the
// line is broken between characters. Reflowable pages are cut by the same rules
// (ReflowPagination.h), so a page laid out here holds exactly the lines its page shows.
//
// The unit of everything here is the character as a reader sees it: a grapheme cluster
// (utf8proc's breaks), so a surrogate pair or a letter with its combining marks is never
// split. Offsets are UTF-16 units into the page text, as the highlight records keep them.

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace companion {

struct TextRange {
    int64_t start = 0;
    int64_t end = 0;

    int64_t length() const { return end - start; }
    bool isEmpty() const { return end <= start; }
    bool operator==(const TextRange&) const = default;
};

class GlyphAdvances;

struct PageTextStyle {
    double fontSize = 18;
    // The body's line height; a heading's grows with its size in the same ratio.
    double lineHeight = 22;
    ui::EdgeInsets insets { 60, 40, 40, 40 };
    // Byte ranges of the text set as headings, in order.
    std::vector<lectoro::EPUBHeading> headings;

    double paragraphSpacing() const;
    double lineHeightOf(const GlyphAdvances&) const;
    // The face and size of the text at a heading level (0 for the body).
    const GlyphAdvances& faceOf(int level) const;
    // The style of the text's bytes [start, end) taken on their own: headings clipped
    // and moved to the range's start.
    PageTextStyle forRange(size_t start, size_t end) const;
};

class PageTextLayout {
public:
    PageTextLayout(std::string text, const ui::Size& pageSize, PageTextStyle = {});

    const std::string& text() const { return m_text; }
    const ui::Size& pageSize() const { return m_pageSize; }
    size_t characterCount() const { return m_clusters.size(); }
    size_t wordCount() const { return m_words.size(); }
    int64_t utf16Length() const { return m_clusters.empty() ? 0 : m_clusters.back().unitEnd; }

    // Words `first` to `last` (counted from 1, both included); absent when out of range.
    std::optional<TextRange> rangeOfWords(size_t first, size_t last) const;
    // The range widened to whole characters: a start inside a character moves to its
    // beginning, an end inside one to its end; both are clamped to the text.
    TextRange snappedToCharacters(TextRange) const;
    // From the word under (or nearest) one point to the word under the other, in either
    // order, as a touch selects; absent for a page without text.
    std::optional<TextRange> rangeBetweenPoints(const ui::Point&, const ui::Point&) const;
    // The text of a range (snapped first).
    std::string substring(TextRange) const;
    // The smallest rectangle around the range's characters, kept inside the page; the
    // zero rectangle for an empty range.
    ui::Rect rectForRange(TextRange) const;
    // One rectangle per line the range crosses (as a highlight is drawn).
    std::vector<ui::Rect> lineRectsForRange(TextRange) const;

    // What the painter draws: each word (or piece of a broken word) in its face, its box's
    // top-left where the layout put it.
    struct Run {
        size_t byteStart = 0;
        size_t byteEnd = 0;
        ui::Rect rect;
        const GlyphAdvances* face = nullptr;
    };
    std::vector<Run> runs() const;
    const PageTextStyle& style() const { return m_style; }

private:
    struct Cluster {
        size_t byteStart = 0;
        size_t byteEnd = 0;
        int64_t unitStart = 0;
        int64_t unitEnd = 0;
        bool isSpace = false;
        bool isNewline = false;
        uint8_t level = 0;
        ui::Rect rect;
    };
    struct Word {
        size_t first = 0;
        size_t last = 0;
    };

    void splitIntoClusters();
    void layOut();
    size_t clusterNearest(const ui::Point&) const;
    size_t clusterAtUnit(int64_t unit) const;

    std::string m_text;
    ui::Size m_pageSize;
    PageTextStyle m_style;
    std::vector<Cluster> m_clusters;
    std::vector<Word> m_words;
};

} // namespace companion
