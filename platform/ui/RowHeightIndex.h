#pragma once

// Running sums of row heights (a Fenwick tree), so a table finds the rows under its
// bounds and the position of any row in logarithmic time, and a row's height can change
// without recomputing every position after it.

#include <vector>

namespace ui {

class RowHeightIndex {
public:
    void assign(const std::vector<double>& heights);
    // Adds `delta` to the height of row `row`.
    void add(int row, double delta);
    // Sum of the heights of the first `count` rows.
    double prefix(int count) const;
    double total() const { return prefix(m_size); }
    int size() const { return m_size; }
    // The number of leading rows that end at or above `y` (heights are not negative): the
    // row containing `y`, or size() when `y` is past the end. Rows ending within 1e-9 of
    // `y` count as ending above it.
    int rowsEndingAtOrAbove(double y) const;

private:
    std::vector<double> m_tree;
    int m_size = 0;
};

} // namespace ui
