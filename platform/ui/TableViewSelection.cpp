// A table view's selection, taps on its rows and scrolling to a row.

#include "platform/ui/TableView.h"

#include <algorithm>

namespace ui {

namespace {

// The table delegate may redirect a tap to another row. Where the tap toggles a row off or
// selects one, the row it redirects to has to be in range; not so for a row that a single
// selection gives up.
class TableViewTapAnswers final
    : public DelegateTapAnswers<TableView, TableViewDelegate,
          &TableViewDelegate::shouldHighlightRowAtIndexPath, &TableViewDelegate::didSelectRowAtIndexPath,
          &TableViewDelegate::didDeselectRowAtIndexPath> {
public:
    using DelegateTapAnswers::DelegateTapAnswers;

    std::optional<IndexPath> willSelect(const IndexPath& indexPath) override
    {
        return inRange(m_delegate.willSelectRowAtIndexPath(m_view, indexPath));
    }
    std::optional<IndexPath> willDeselect(const IndexPath& indexPath) override
    {
        return inRange(willGiveUp(indexPath));
    }
    std::optional<IndexPath> willGiveUp(const IndexPath& indexPath) override
    {
        return m_delegate.willDeselectRowAtIndexPath(m_view, indexPath);
    }

private:
    std::optional<IndexPath> inRange(const std::optional<IndexPath>& indexPath) const
    {
        if (!indexPath || !m_view.isValid(*indexPath))
            return std::nullopt;
        return indexPath;
    }
};

} // namespace

void TableView::selectRowAtIndexPath(
    const std::optional<IndexPath>& indexPath, bool animated, TableViewScrollPosition position)
{
    if (m_selection.select(indexPath) && position != TableViewScrollPosition::None)
        scrollToRowAtIndexPath(*indexPath, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool)
{
    m_selection.deselect(indexPath);
}

std::optional<IndexPath> TableView::indexPathForSelectedRow() const
{
    return m_selection.first();
}

std::vector<IndexPath> TableView::indexPathsForSelectedRows() const
{
    return m_selection.indexPaths();
}

bool TableView::simulateTapOnRow(const IndexPath& indexPath)
{
    return m_selection.tap<TableViewTapAnswers>(indexPath, *this, delegate());
}

void TableView::scrollToRowAtIndexPath(
    const IndexPath& indexPath, TableViewScrollPosition position, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!isValid(indexPath))
        return;
    if (!m_loaded)
        reloadData();
    // Twice: rows measured on the way can move the target.
    for (int pass = 0; pass < 2; ++pass) {
        Rect rect = rectForRowAtIndexPath(indexPath);
        EdgeInsets insets = adjustedContentInset();
        double height = bounds().height();
        double current = contentOffset().y;
        double target = current;
        TableViewScrollPosition effective = position;
        if (effective == TableViewScrollPosition::None) {
            if (rect.minY() < current + insets.top)
                effective = TableViewScrollPosition::Top;
            else if (rect.maxY() > current + height - insets.bottom)
                effective = TableViewScrollPosition::Bottom;
        }
        switch (effective) {
        case TableViewScrollPosition::Top:
            target = rect.minY() - insets.top;
            break;
        case TableViewScrollPosition::Middle:
            target = rect.midY() - insets.top - (height - insets.top - insets.bottom) / 2;
            break;
        case TableViewScrollPosition::Bottom:
            target = rect.maxY() - height + insets.bottom;
            break;
        case TableViewScrollPosition::None:
            break;
        }
        double low = minimumContentOffset().y;
        double high = std::max(low, maximumContentOffset().y);
        target = std::clamp(target, low, high);
        if (target == current)
            break;
        setContentOffset({ contentOffset().x, target }, animated);
    }
}

} // namespace ui
