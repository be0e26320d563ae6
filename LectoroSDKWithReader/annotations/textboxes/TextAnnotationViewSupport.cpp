#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationViewSupport.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

namespace lectoro::textboxes {

ui::Color backgroundOrClear(const ThemeValueColor& color)
{
    return color.value_or(ui::Color::clear());
}

ui::Color textOrBlack(const ThemeValueColor& color)
{
    return color.value_or(ui::Color::black());
}

void forEachLabel(const ui::View& view, const std::function<void(ui::Label&)>& body)
{
    for (const auto& subview : view.subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
            body(*label);
    }
}

void setButtonAccessibility(
    ui::View& view, const std::string& identifier, const std::string& labelKey, const std::string& argument)
{
    view.setAccessibilityTraits(ui::AccessibilityTraits::Button);
    view.setAccessibilityIdentifier(identifier);
    view.setAccessibilityLabel(
        AccessibilityHelper::accessibilityLabelForElementID(labelKey, readerAccessibilityTable, argument));
}

void applyPopupShadow(ui::View& view, const ThemeValueColor& borderColor)
{
    auto& layer = *view.layer();
    layer.setBorderColor(backgroundOrClear(borderColor));
    layer.setBorderWidth(0);
    layer.setMasksToBounds(false);
    layer.setShadowOffset(ui::Size(-0.4, 0));
    layer.setShadowRadius(2.0);
    layer.setShadowOpacity(0.6);
}

void placeOnViewBelow(ui::View& popup, const std::shared_ptr<ui::View>& below, double left,
    std::optional<double> width, double height)
{
    auto parent = popup.superview();
    if (!parent)
        return;
    if (below) {
        // Its constraints rest it on the view below: the parent's layout places it.
        parent->setNeedsLayout();
        parent->layoutIfNeeded();
        return;
    }
    const ui::Rect area = parent->bounds();
    const double bottom = below ? below->frame().minY() : area.maxY();
    popup.setFrame(ui::Rect {
        { area.minX() + left, bottom - height }, { width.value_or(area.size.width - 2 * left), height } });
    popup.layoutIfNeeded();
}

void pinToEdges(ui::View& subview, ui::View& parent, double inset)
{
    subview.setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({
        subview.topAnchor().constraintEqualTo(parent.topAnchor(), inset),
        subview.bottomAnchor().constraintEqualTo(parent.bottomAnchor(), -inset),
        subview.leftAnchor().constraintEqualTo(parent.leftAnchor(), inset),
        subview.rightAnchor().constraintEqualTo(parent.rightAnchor(), -inset),
    });
}

} // namespace lectoro::textboxes
