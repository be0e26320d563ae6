#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"

#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRules.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationViewSupport.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

struct TextBoxBarItem {
    const char* glyph;
    int tag;
    const char* identifier;
    const char* labelKey;
};

constexpr TextBoxBarItem textBoxCloseItem { VIDEO_PLAYER_CLOSE_ICON, PlayerItemTextCancel,
    "textAnnotationCloseBtn", "MarkupCloseButton" };
constexpr TextBoxBarItem textBoxAlignmentItem { ICON_LEFT_ALIGN, PlayerItemTextAlignment,
    "textAnnotationAlignment", "TextAnnotationAlignment" };
constexpr TextBoxBarItem textBoxColorItem { ICON_TEXT_COLOR, PlayerItemTextColor, "textAnnotationTextColor",
    "TextAnnotationTextColor" };
constexpr TextBoxBarItem textBoxAddItem { ICON_TEXTANNOTATION_ADD, PlayerItemTextDone,
    "textAnnotationAddText", "TextAnnotationAddText" };
constexpr TextBoxBarItem textBoxDeleteItem { ICON_DELETE_OUTLINE, PlayerItemTextDelete,
    "textAnnotationDeleteBtn", "TextAnnotationDelete" };
constexpr TextBoxBarItem textBoxSaveItem { ICON_CHECK, PlayerItemTextExit, "textAnnotationSaveBtn",
    "TextAnnotationSave" };
constexpr TextBoxBarItem textBoxKeyboardItem { ICON_KEYBOARD_DOWN, PlayerItemTextKeyboard,
    "textAnnotationKeyboard", "TextAnnotationKeyboard" };

// Spacers of a tablet bar share the close item's tag; they are not controls.
constexpr int textBoxSpacerTag = PlayerItemTextCancel;

} // namespace

std::shared_ptr<TextAnnotationActionView> TextAnnotationActionView::create(const ui::Rect& frame)
{
    return std::shared_ptr<TextAnnotationActionView>(new TextAnnotationActionView(frame));
}

TextAnnotationActionView::TextAnnotationActionView(const ui::Rect& frame)
    : PlayerActionBar(frame)
    , m_height(static_cast<int>(textboxes::barHeight(textboxes::TextBoxDevice::current())))
    , m_bottomConstraint(ui::Constraint::create(nullptr, ui::LayoutAttribute::NotAnAttribute,
          ui::LayoutRelation::Equal, nullptr, ui::LayoutAttribute::NotAnAttribute))
{
}

void TextAnnotationActionView::setTextAnnotationBottomMarginConstraint(ui::ConstraintPtr constraint)
{
    m_bottomConstraint = std::move(constraint);
}

void TextAnnotationActionView::addPlayerBottomBarForTextAnnotationWithParentView(
    const std::shared_ptr<ui::View>& parentView, const LXMVThemeVO& theme,
    const std::shared_ptr<LectoroBookVO>&, const std::shared_ptr<RendererViewController>& renderer)
{
    m_renderer = renderer;
    setTag(TextAnnotationBar);
    setBackgroundColor(theme.textAnnotation_background());
    addItems(theme);
    if (!parentView)
        return;

    parentView->addSubview(shared_from_this());
    setTranslatesAutoresizingMaskIntoConstraints(false);
    m_bottomConstraint = bottomAnchor().constraintEqualTo(parentView->bottomAnchor(), 0);
    m_heightConstraint = heightAnchor().constraintEqualToConstant(m_height);
    ui::Constraint::activate({
        leftAnchor().constraintEqualTo(parentView->leftAnchor()),
        rightAnchor().constraintEqualTo(parentView->rightAnchor()),
        m_bottomConstraint,
        m_heightConstraint,
    });
    placeByConstraints();

    if (theme.textAnnotation_lineColor()) {
        auto border = addTopBorderWithColor(*this, *theme.textAnnotation_lineColor());
        border->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    }
    auto& barLayer = *layer();
    barLayer.setMasksToBounds(false);
    barLayer.setShadowOffset(ui::Size(-0.4, 0));
    barLayer.setShadowRadius(2.0);
    barLayer.setShadowOpacity(0.6);
}

void TextAnnotationActionView::placeByConstraints()
{
    // The bar's constraints pin it to the parent's bottom: laying the parent out places it.
    auto parent = superview();
    if (!parent)
        return;
    parent->setNeedsLayout();
    parent->layoutIfNeeded();
}

std::shared_ptr<PlayerActionBarItem> TextAnnotationActionView::makeItem(
    const char* glyph, int tag, const LXMVThemeVO& theme) const
{
    auto item = PlayerActionBarItem::createWithLabel(tag, glyph);
    if (auto label = item->firstLabel()) {
        label->setFont(chrome::iconFont(textboxes::glyphSize(textboxes::TextBoxDevice::current())));
        label->setTextColor(textboxes::textOrBlack(theme.textAnnotation_iconsColor()));
        ui::Constraint::activate({
            label->topAnchor().constraintEqualTo(item->topAnchor()),
            label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
            label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
        });
    }
    return item;
}

void TextAnnotationActionView::addItems(const LXMVThemeVO& theme)
{
    const auto device = textboxes::TextBoxDevice::current();
    m_numberOfItems = textboxes::actionBarItemCount(device, m_isTextAnnotationAvailable);
    const int itemWidth = textboxes::actionBarItemWidth(device, m_numberOfItems);
    const double width = device.pad ? itemWidth / 2.0 : itemWidth;

    std::vector<TextBoxBarItem> items { textBoxCloseItem, textBoxAlignmentItem, textBoxColorItem,
        textBoxAddItem };
    if (m_isTextAnnotationAvailable)
        items.push_back(textBoxDeleteItem);
    items.push_back(textBoxSaveItem);
    if (!device.pad)
        items.push_back(textBoxKeyboardItem);

    auto addSpacer = [&] {
        if (device.pad)
            addActionBarItem(
                makeItem("", textBoxSpacerTag, theme), width, PlayerActionBarItemAlignmentCentre, false);
    };
    addSpacer();
    for (const auto& entry : items) {
        auto item = makeItem(entry.glyph, entry.tag, theme);
        textboxes::setButtonAccessibility(*item, entry.identifier, entry.labelKey);
        addActionBarItem(item, width, PlayerActionBarItemAlignmentCentre, true);
        addSpacer();
    }
}

std::shared_ptr<PlayerActionBarItem> TextAnnotationActionView::getTextAnnotationViewItemWithTag(int tag) const
{
    for (const auto& item : getTappableItems()) {
        if (item->tag() == tag)
            return item;
    }
    return nullptr;
}

void TextAnnotationActionView::updateSelectedLabelItemWithIsSelected(
    bool isSelected, const LXMVThemeVO& theme, int tag)
{
    auto item = getTextAnnotationViewItemWithTag(tag);
    if (!item)
        return;
    textboxes::forEachLabel(*item, [&](ui::Label& label) {
        label.setTextColor(textboxes::textOrBlack(
            isSelected ? theme.textAnnotation_selected_icon_color() : theme.textAnnotation_iconsColor()));
        label.setBackgroundColor(
            isSelected ? theme.textAnnotation_selected_icon_bg() : theme.textAnnotation_background());
    });
}

void TextAnnotationActionView::updateTextAnnotationSaveItemWithIsTextAvailable(
    bool isTextAvailable, const LXMVThemeVO& theme)
{
    auto item = getTextAnnotationViewItemWithTag(PlayerItemTextExit);
    if (!item)
        return;
    item->setEnabled(isTextAvailable);
    textboxes::forEachLabel(*item, [&](ui::Label& label) {
        if (isTextAvailable)
            label.setTextColor(textboxes::textOrBlack(theme.textAnnotation_iconsColor()));
        else
            label.setTextColor(
                textboxes::textOrBlack(theme.textAnnotation_disabled_iconColor()).withAlpha(0.5));
    });
}

} // namespace lectoro
