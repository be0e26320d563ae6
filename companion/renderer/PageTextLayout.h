#pragma once

// Where a page's text lies on the page, for selections and their rectangles. The text is
// laid out with the platform's deterministic text metric (TextMetrics.h) in the system
// font of textFontSize points, inside margins of textInsets, wrapped by words; a word
// wider than the line is broken between characters.
//
// The unit of everything here is the character as a reader sees it: a grapheme cluster
// (utf8proc's breaks), so a surrogate pair or a letter with its combining marks is never
// split. Offsets are UTF-16 units into the page text, as the highlight records keep them.

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

class PageTextLayout {
public:
    static constexpr double textFontSize = 18;
    static constexpr ui::EdgeInsets textInsets { 60, 40, 40, 40 };

    PageTextLayout(std::string text, const ui::Size& pageSize);

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

private:
    struct Cluster {
        size_t byteStart = 0;
        size_t byteEnd = 0;
        int64_t unitStart = 0;
        int64_t unitEnd = 0;
        bool isSpace = false;
        bool isNewline = false;
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
    std::vector<Cluster> m_clusters;
    std::vector<Word> m_words;
};

} // namespace companion
