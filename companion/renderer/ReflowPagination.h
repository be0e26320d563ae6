#pragma once

// Reflowable text laid out into pages, by the rules of PageTextLayout.h: the body in the
// reader's size and headings in their level's, measured in the faces they are drawn with
// (TextFaces.h); lines take words while they fit the page's width between its margins (a
// word wider than a line breaks between characters), "\n" ends a paragraph and adds its
// spacing, and a page takes the lines whose bottoms lie inside its height between its
// margins. A page is named by the byte offset of its first character, always the start of
// a word or of a broken word's piece, never white space. One pass over the text, so the
// cost is linear in its length.
//
// The reader's choices map to the layout as follows (out-of-range values take the nearest):
//   font size step   0 default 18 pt, 1 small 14, 2 medium 16, 3 large 22, 4 x-large 26,
//                    5 xx-large 30
//   line spacing     0 default 1.2 × the size, 1 narrow 1.0, 2 normal 1.4, 3 wide 1.7
//   margin           0 default 40 pt left and right, 1 narrow 20, 2 normal 60, 3 wide 90
//   vertical margin  added to 40 pt at the top and the bottom

#include "companion/renderer/PageTextLayout.h"
#include "platform/ui/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace companion {

struct ReflowLayout {
    double fontSize = 18;
    double lineHeight = 22;
    ui::Size pageSize;
    ui::EdgeInsets insets;

    double lineWidth() const;
    size_t linesPerPage() const;
    // How a page of this layout sets its text.
    PageTextStyle textStyle(std::vector<lectoro::EPUBHeading> headings = {}) const;
    bool operator==(const ReflowLayout&) const;
};

ReflowLayout reflowLayoutFor(int64_t fontSizeStep, int64_t lineSpacing, int64_t margin, double verticalMargin,
    const ui::Size& pageSize);

class ChapterPages {
public:
    ChapterPages() = default;
    explicit ChapterPages(std::vector<size_t> starts, size_t textLength);

    // At least one page, even for an empty chapter.
    size_t count() const { return m_starts.size(); }
    // The byte range [first, second) of the text that page `index` shows; absent past the end.
    std::pair<size_t, size_t> range(size_t index) const;
    // The page showing the byte at `offset` (the last page for an offset past the text).
    size_t pageHolding(size_t offset) const;
    const std::vector<size_t>& starts() const { return m_starts; }

private:
    std::vector<size_t> m_starts { 0 };
    size_t m_textLength = 0;
};

ChapterPages paginateText(std::string_view text, const ReflowLayout&, const std::vector<lectoro::EPUBHeading>& headings);
ChapterPages paginateText(std::string_view text, const ReflowLayout&);

} // namespace companion
