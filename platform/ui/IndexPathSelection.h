#pragma once

#include "platform/ui/IndexPath.h"

#include <memory>
#include <optional>
#include <set>

namespace ui {

// Selection bookkeeping shared by the list views: the set of selected paths and the visible
// cell (null when off screen) that mirrors it.
template<typename Cell>
void setIndexPathSelected(std::set<IndexPath>& selection, const IndexPath& indexPath, bool selected,
    const std::shared_ptr<Cell>& cell)
{
    if (selected)
        selection.insert(indexPath);
    else
        selection.erase(indexPath);
    if (cell)
        cell->setSelected(selected);
}

// Deselecting changes the set, so this walks a copy.
template<typename Deselect>
void deselectAllExcept(
    const std::set<IndexPath>& selection, const std::optional<IndexPath>& kept, Deselect deselect)
{
    auto snapshot = selection;
    for (auto& path : snapshot) {
        if (!kept || path != *kept)
            deselect(path);
    }
}

} // namespace ui
