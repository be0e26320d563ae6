// A table view's selection, taps on its rows and scrolling to a row.

#include "platform/ui/TableView.h"

#include "platform/ui/IndexPathSelection.h"

#include <algorithm>

namespace ui {

void TableView::setAllowsSelection(bool allows)
{
    m_allowsSelection = allows;
    if (!allows)
        selectRowAtIndexPath(std::nullopt);
}

void TableView::setAllowsMultipleSelection(bool allows)
{
    m_allowsMultipleSelection = allows;
    if (allows)
        m_allowsSelection = true;
}

void TableView::applySelection(const IndexPath& indexPath, bool selected)
{
    setIndexPathSelected(m_selected, indexPath, selected, cellForRowAtIndexPath(indexPath));
}

void TableView::selectRowAtIndexPath(
    const std::optional<IndexPath>& indexPath, bool animated, TableViewScrollPosition position)
{
    BASE_ASSERT_MAIN_THREAD();
    auto deselect = [this](const IndexPath& path) { applySelection(path, false); };
    if (!indexPath) {
        deselectAllExcept(m_selected, std::nullopt, deselect);
        return;
    }
    if (!m_allowsSelection || !isValid(*indexPath))
        return;
    if (!m_allowsMultipleSelection)
        deselectAllExcept(m_selected, indexPath, deselect);
    applySelection(*indexPath, true);
    if (position != TableViewScrollPosition::None)
        scrollToRowAtIndexPath(*indexPath, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    applySelection(indexPath, false);
}

std::optional<IndexPath> TableView::indexPathForSelectedRow() const
{
    if (m_selected.empty())
        return std::nullopt;
    return *m_selected.begin();
}

std::vector<IndexPath> TableView::indexPathsForSelectedRows() const
{
    return { m_selected.begin(), m_selected.end() };
}

bool TableView::simulateTapOnRow(const IndexPath& indexPath)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_allowsSelection || !isValid(indexPath) || isHidden() || !isUserInteractionEnabled())
        return false;
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightRowAtIndexPath(*this, indexPath))
        return false;
    if (m_allowsMultipleSelection && m_selected.count(indexPath)) {
        auto target
            = delegate ? delegate->willDeselectRowAtIndexPath(*this, indexPath) : std::optional(indexPath);
        if (!target || !isValid(*target))
            return false;
        applySelection(*target, false);
        if (delegate)
            delegate->didDeselectRowAtIndexPath(*this, *target);
        return true;
    }
    auto target = delegate ? delegate->willSelectRowAtIndexPath(*this, indexPath) : std::optional(indexPath);
    if (!target || !isValid(*target))
        return false;
    if (!m_allowsMultipleSelection) {
        deselectAllExcept(m_selected, target, [&](const IndexPath& path) {
            auto deselect
                = delegate ? delegate->willDeselectRowAtIndexPath(*this, path) : std::optional(path);
            if (!deselect)
                return;
            applySelection(*deselect, false);
            if (delegate)
                delegate->didDeselectRowAtIndexPath(*this, *deselect);
        });
    }
    applySelection(*target, true);
    if (delegate)
        delegate->didSelectRowAtIndexPath(*this, *target);
    return true;
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

// Takes the old view of a slot (header, footer, background) out of the table, if it is
// still ours, and puts the new one in the slot.

} // namespace ui
