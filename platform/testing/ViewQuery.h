#pragma once

// Finding views in a tree. Every search is depth-first, pre-order (a view before its
// subviews, subviews in order) and includes the root.

#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace uitest {

template <typename T>
void collectDescendants(const std::shared_ptr<ui::View>& view, std::vector<std::shared_ptr<T>>& found)
{
    if (!view)
        return;
    if (auto typed = std::dynamic_pointer_cast<T>(view))
        found.push_back(std::move(typed));
    for (auto& subview : view->subviews())
        collectDescendants(subview, found);
}

template <typename T> std::vector<std::shared_ptr<T>> findDescendants(const std::shared_ptr<ui::View>& root)
{
    std::vector<std::shared_ptr<T>> found;
    collectDescendants(root, found);
    return found;
}

template <typename T> std::shared_ptr<T> findFirst(const std::shared_ptr<ui::View>& root)
{
    auto found = findDescendants<T>(root);
    return found.empty() ? nullptr : found.front();
}

std::shared_ptr<ui::View> findByTag(const std::shared_ptr<ui::View>& root, int tag);
std::shared_ptr<ui::View> findByAccessibilityIdentifier(
    const std::shared_ptr<ui::View>& root, const std::string&);
// A label whose text equals the given text.
std::shared_ptr<ui::Label> findLabelWithText(const std::shared_ptr<ui::View>& root, const std::string&);
// A button whose current title equals the given text.
std::shared_ptr<ui::Button> findButtonWithTitle(const std::shared_ptr<ui::View>& root, const std::string&);

} // namespace uitest
