#pragma once

// A row of a table or an item of a collection: a section and a position inside it.
//
// Ordered by section, then row, so sets and maps of index paths walk the screen from top
// to bottom.

#include <compare>
#include <iosfwd>
#include <string>

namespace ui {

struct IndexPath {
    int section = 0;
    int row = 0;

    constexpr IndexPath() = default;
    constexpr IndexPath(int section, int row)
        : section(section)
        , row(row)
    {
    }

    static constexpr IndexPath forRow(int row, int section) { return { section, row }; }
    static constexpr IndexPath forItem(int item, int section) { return { section, item }; }

    // Collections speak of items; the same number as row.
    constexpr int item() const { return row; }

    std::string toString() const;

    friend constexpr auto operator<=>(const IndexPath&, const IndexPath&) = default;
    friend constexpr bool operator==(const IndexPath&, const IndexPath&) = default;
};

std::ostream& operator<<(std::ostream&, const IndexPath&);

} // namespace ui
