#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"

#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRules.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationViewSupport.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

struct TextBoxAlignmentChoice {
    const char* glyph;
    const char* identifier;
    const char* spokenKey;
};

// By tag - 1, which is also the alignment the choice stands for.
constexpr TextBoxAlignmentChoice textBoxAlignmentChoices[] = {
    { ICON_LEFT_ALIGN, "textAnnotationAlignmentLeft", "ACCESSIBILITY_FONT_SETTING_LEFT_ALIGN" },
    { ICON_CENTER_ALIGN, "textAnnotationAlignmentCenter", "ACCESSIBILITY_FONT_SETTING_CENTER_ALIGN" },
    { ICON_RIGHT_ALIGN, "textAnnotationAlignmentRight", "ACCESSIBILITY_FONT_SETTING_RIGHT_ALIGN" },
};

constexpr double textBoxChoiceInset = 5;

} // namespace

std::shared_ptr<TextAnnotationAlignmentActionView> TextAnnotationAlignmentActionView::create(
    const ui::Rect& frame)
{
    return std::shared_ptr<TextAnnotationAlignmentActionView>(new TextAnnotationAlignmentActionView(frame));
}

TextAnnotationAlignmentActionView::TextAnnotationAlignmentActionView(const ui::Rect& frame)
    : PlayerActionBar(frame)
{
}

void TextAnnotationAlignmentActionView::addTextAnnotationAlignmentViewWithMvThemeVO(const LXMVThemeVO& theme,
    const std::shared_ptr<LectoroBookVO>&, const std::shared_ptr<ui::View>& parentView,
    const std::shared_ptr<ui::View>& onView)
{
    setTag(TextAlignmentBar);
    setBackgroundColor(theme.textAnnotation_align_popup_background());
    for (int tag = 1; tag <= 3; ++tag)
        addActionBarItem(makeChoice(tag, theme), textboxes::alignmentChoiceWidth,
            PlayerActionBarItemAlignmentCentre, true);

    m_left = textboxes::alignmentPopupLeft(textboxes::TextBoxDevice::current(), m_numberOfItems);
    if (parentView) {
        parentView->addSubview(shared_from_this());
        setTranslatesAutoresizingMaskIntoConstraints(false);
        std::vector<ui::ConstraintPtr> constraints {
            leftAnchor().constraintEqualTo(parentView->leftAnchor(), m_left),
            heightAnchor().constraintEqualToConstant(textboxes::alignmentPopupHeight),
            widthAnchor().constraintEqualToConstant(textboxes::alignmentPopupWidth),
        };
        if (onView)
            constraints.push_back(onView->topAnchor().constraintEqualTo(bottomAnchor()));
        ui::Constraint::activate(constraints);
    }
    m_viewBelow = onView;
    textboxes::applyPopupShadow(*this, theme.textAnnotation_align_popup_selected_border_color());
    placeByConstraints();
}

std::shared_ptr<PlayerActionBarItem> TextAnnotationAlignmentActionView::makeChoice(
    int tag, const LXMVThemeVO& theme) const
{
    const auto& choice = textBoxAlignmentChoices[tag - 1];
    auto item = PlayerActionBarItem::create();
    item->setTag(tag);
    auto label = ui::Label::create();
    label->setText(choice.glyph);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(chrome::iconFont(textboxes::glyphSize(textboxes::TextBoxDevice::current())));
    label->setTextColor(textboxes::textOrBlack(theme.textAnnotation_align_popup_icon_color()));
    label->layer()->setBorderWidth(1.0);
    label->layer()->setCornerRadius(24.0);
    label->layer()->setBorderColor(ui::Color::clear());
    item->addSubview(label);
    textboxes::pinToEdges(*label, *item, textBoxChoiceInset);

    if (m_selectedAlignment == tag - 1) {
        item->setSelected(true);
        label->layer()->setBorderColor(
            textboxes::backgroundOrClear(theme.textAnnotation_align_popup_selected_border_color()));
    }
    textboxes::setButtonAccessibility(
        *item, choice.identifier, "TextAnnotationAlignmentAction", TOCConstants::localized(choice.spokenKey));
    return item;
}

void TextAnnotationAlignmentActionView::placeByConstraints()
{
    textboxes::placeOnViewBelow(
        *this, m_viewBelow.lock(), m_left, textboxes::alignmentPopupWidth, textboxes::alignmentPopupHeight);
}

} // namespace lectoro
