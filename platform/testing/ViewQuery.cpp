#include "platform/testing/ViewQuery.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <functional>

namespace uitest {

namespace {

std::shared_ptr<ui::View> findFirstMatching(
    const std::shared_ptr<ui::View>& view, const std::function<bool(const ui::View&)>& matches)
{
    if (!view)
        return nullptr;
    if (matches(*view))
        return view;
    for (auto& subview : view->subviews()) {
        if (auto found = findFirstMatching(subview, matches))
            return found;
    }
    return nullptr;
}

} // namespace

std::shared_ptr<ui::View> findByTag(const std::shared_ptr<ui::View>& root, int tag)
{
    return findFirstMatching(root, [tag](const ui::View& view) { return view.tag() == tag; });
}

std::shared_ptr<ui::View> findByAccessibilityIdentifier(
    const std::shared_ptr<ui::View>& root, const std::string& identifier)
{
    return findFirstMatching(
        root, [&identifier](const ui::View& view) { return view.accessibilityIdentifier() == identifier; });
}

std::shared_ptr<ui::Label> findLabelWithText(const std::shared_ptr<ui::View>& root, const std::string& text)
{
    return std::static_pointer_cast<ui::Label>(findFirstMatching(root, [&text](const ui::View& view) {
        auto* label = dynamic_cast<const ui::Label*>(&view);
        return label && label->text() == text;
    }));
}

std::shared_ptr<ui::Button> findButtonWithTitle(
    const std::shared_ptr<ui::View>& root, const std::string& title)
{
    return std::static_pointer_cast<ui::Button>(findFirstMatching(root, [&title](const ui::View& view) {
        auto* button = dynamic_cast<const ui::Button*>(&view);
        return button && button->currentTitle() == title;
    }));
}

} // namespace uitest
