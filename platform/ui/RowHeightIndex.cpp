#include "platform/ui/RowHeightIndex.h"

namespace ui {

void RowHeightIndex::assign(const std::vector<double>& heights)
{
    m_size = static_cast<int>(heights.size());
    m_tree.assign(m_size + 1, 0);
    // Linear build: each node passes its sum on to its parent.
    for (int index = 1; index <= m_size; ++index) {
        m_tree[index] += heights[index - 1];
        int parent = index + (index & -index);
        if (parent <= m_size)
            m_tree[parent] += m_tree[index];
    }
}

void RowHeightIndex::add(int row, double delta)
{
    for (int index = row + 1; index <= m_size; index += index & -index)
        m_tree[index] += delta;
}

double RowHeightIndex::prefix(int count) const
{
    double sum = 0;
    for (int index = count < m_size ? count : m_size; index > 0; index -= index & -index)
        sum += m_tree[index];
    return sum;
}

int RowHeightIndex::rowsEndingAtOrAbove(double y) const
{
    constexpr double tolerance = 1e-9;
    int step = 1;
    while (step * 2 <= m_size)
        step *= 2;
    int position = 0;
    double remaining = y;
    for (; step > 0; step /= 2) {
        int next = position + step;
        if (next <= m_size && m_tree[next] <= remaining + tolerance) {
            position = next;
            remaining -= m_tree[next];
        }
    }
    return position;
}

} // namespace ui
