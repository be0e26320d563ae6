#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationColors.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRules.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationViewSupport.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <string>

namespace lectoro {

std::shared_ptr<TextAnnotationPalleteActionView> TextAnnotationPalleteActionView::create(
    const ui::Rect& frame)
{
    return std::shared_ptr<TextAnnotationPalleteActionView>(new TextAnnotationPalleteActionView(frame));
}

TextAnnotationPalleteActionView::TextAnnotationPalleteActionView(const ui::Rect& frame)
    : PlayerActionBar(frame)
    , m_height(static_cast<int>(textboxes::barHeight(textboxes::TextBoxDevice::current())))
{
}

void TextAnnotationPalleteActionView::addTextAnnotationTextColorViewWithMvThemeVO(const LXMVThemeVO& theme,
    const std::shared_ptr<LectoroBookVO>&, const std::shared_ptr<ui::View>& parentView,
    const std::shared_ptr<ui::View>& onView)
{
    const auto geometry = textboxes::paletteGeometry(textboxes::TextBoxDevice::current());
    m_inset = geometry.inset;
    setTag(TextColorBar);
    setBackgroundColor(theme.textAnnotation_color_popup_background());
    for (int number = 1; number <= colorCount; ++number)
        addActionBarItem(makeSwatch(number, theme, geometry.swatchWidth), geometry.swatchWidth,
            PlayerActionBarItemAlignmentCentre, true);

    if (parentView) {
        parentView->addSubview(shared_from_this());
        setTranslatesAutoresizingMaskIntoConstraints(false);
        std::vector<ui::ConstraintPtr> constraints {
            leftAnchor().constraintEqualTo(parentView->leftAnchor(), m_inset),
            rightAnchor().constraintEqualTo(parentView->rightAnchor(), -m_inset),
            heightAnchor().constraintEqualToConstant(m_height),
        };
        if (onView)
            constraints.push_back(onView->topAnchor().constraintEqualTo(bottomAnchor()));
        ui::Constraint::activate(constraints);
    }
    m_viewBelow = onView;
    textboxes::applyPopupShadow(*this, theme.textAnnotation_color_popup_selected_border_color());
    placeByConstraints();
}

std::shared_ptr<PlayerActionBarItem> TextAnnotationPalleteActionView::makeSwatch(
    int number, const LXMVThemeVO& theme, double swatchWidth) const
{
    const auto pair = textboxes::textAnnotationColorPair(theme, number);
    const auto device = textboxes::TextBoxDevice::current();
    auto item = PlayerActionBarItem::create();
    item->setTag(number);
    item->setBackgroundColor(ui::Color::clear());

    auto tool = HighLightToolView::create();
    const auto& icon = *tool->iconLabel();
    tool->iconLabel()->setClipsToBounds(true);
    tool->iconLabel()->setBackgroundColor(textboxes::backgroundOrClear(pair.background));
    tool->iconLabel()->setText("A");
    tool->iconLabel()->setFont(icon.font().withSize(15));
    tool->iconLabel()->setTextColor(textboxes::textOrBlack(pair.text));
    tool->contentView()->setBackgroundColor(ui::Color::clear());
    for (auto* ringed : { tool->borderView().get(), static_cast<ui::View*>(tool->iconLabel().get()) }) {
        ringed->layer()->setBorderWidth(1.0);
        ringed->layer()->setBorderColor(ui::Color::clear());
    }
    const double fraction = device.pad ? 0.6 : (device.landscape ? 0.4 : 0.35);
    tool->resetViewForColorPalletWithColorHeight((swatchWidth - 3.0) * (1.0 - fraction));

    item->addSubview(tool);
    textboxes::pinToEdges(*tool, *item);
    // The pop-up's height places its items (58 on an iPad); the item's 64 is what it asks
    // for, never a claim against the bar that holds it.
    const double itemHeight = device.pad ? 64.0 : 50.0;
    item->setFrame(ui::Rect { { 0, 0 }, { 0, itemHeight } });
    auto height = item->heightAnchor().constraintEqualToConstant(itemHeight);
    height->setPriority(ui::LayoutPriority::required - 1);
    ui::Constraint::activate({ height });

    if (pair.background && *pair.background == m_selectedColor) {
        item->setSelected(true);
        tool->borderView()->layer()->setBorderColor(
            textboxes::backgroundOrClear(theme.textAnnotation_color_popup_selected_border_color()));
    }
    const std::string numberText = std::to_string(number);
    textboxes::setButtonAccessibility(
        *item, "textAnnotationPalleteColor" + numberText, "TextAnnotationPalleteColor", numberText);
    return item;
}

std::shared_ptr<HighLightToolView> TextAnnotationPalleteActionView::swatchToolView(
    const PlayerActionBarItem& item)
{
    for (const auto& subview : item.subviews()) {
        if (auto tool = std::dynamic_pointer_cast<HighLightToolView>(subview))
            return tool;
    }
    return nullptr;
}

void TextAnnotationPalleteActionView::placeByConstraints()
{
    textboxes::placeOnViewBelow(*this, m_viewBelow.lock(), m_inset, std::nullopt, m_height);
}


} // namespace lectoro
