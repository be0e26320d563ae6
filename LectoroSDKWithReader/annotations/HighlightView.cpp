#include "LectoroSDKWithReader/annotations/HighlightView.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/StackView.h"

#include <algorithm>

namespace lectoro {

namespace {

// Colour buttons beyond the fifth get no colour label (the table counts 1 to 5).
constexpr size_t labelledColours = 5;

ui::Color systemBlue()
{
    return ui::Color::fromRGB255(0, 122, 255);
}

std::string localizedLabel(const std::string& key)
{
    return LocalizationHelper::localizedString(key, "Localizable", LocalizationHelper::currentBundle());
}

int positionOf(const ui::Button& button)
{
    return button.tag() - HighlightView::firstButtonTag;
}

} // namespace

std::shared_ptr<HighlightView> HighlightView::create(
    const ui::Rect& frame, const std::string& /*selectedColor*/, const ui::Color& selectedBorderColor)
{
    auto view = std::shared_ptr<HighlightView>(new HighlightView(frame, selectedBorderColor));
    view->build();
    return view;
}

HighlightView::HighlightView(const ui::Rect& frame, const ui::Color& selectedBorderColor)
    : HighlightActionView(frame)
    , m_selectedViewBorderColor(selectedBorderColor)
{
}

void HighlightView::build()
{
    // The content view fills the pop-up: placed at the pop-up's own origin it would stand
    // out past the pop-up's right edge, where the last item could not be touched.
    m_contentView = ui::View::create(ui::Rect { { 0, 0 }, frame().size });
    m_contentView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    addSubview(m_contentView);
    // Each item keeps the width it was made with; the rows spread them evenly over the
    // pop-up, which is sized for every colour the reader may offer.
    m_colorsRow = ui::StackView::create();
    m_colorsRow->setDistribution(ui::StackDistribution::EqualSpacing);
    m_colorsRow->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_contentView->addSubview(m_colorsRow);
    m_toolsRow = ui::StackView::create();
    m_toolsRow->setDistribution(ui::StackDistribution::EqualSpacing);
    m_toolsRow->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_contentView->addSubview(m_toolsRow);
    m_horizontalColorsStackConstraint = m_colorsRow->heightAnchor().constraintEqualToConstant(0);
    // Below the colours row when it shows; its items' own height wins while the colours
    // row still has the height of the swatches just added (until the first opening).
    auto belowColours = m_toolsRow->topAnchor().constraintEqualTo(m_colorsRow->bottomAnchor());
    belowColours->setPriority(ui::LayoutPriority::required - 1);
    ui::Constraint::activate({
        m_horizontalColorsStackConstraint,
        m_colorsRow->topAnchor().constraintEqualTo(m_contentView->topAnchor()),
        m_colorsRow->leadingAnchor().constraintEqualTo(m_contentView->leadingAnchor()),
        m_colorsRow->trailingAnchor().constraintEqualTo(m_contentView->trailingAnchor()),
        belowColours,
        m_toolsRow->leadingAnchor().constraintEqualTo(m_contentView->leadingAnchor()),
        m_toolsRow->trailingAnchor().constraintEqualTo(m_contentView->trailingAnchor()),
        m_toolsRow->bottomAnchor().constraintEqualTo(m_contentView->bottomAnchor()),
    });

    auto& layer = m_contentView->layer();
    layer->setMasksToBounds(false);
    layer->setShadowOffset({ 0, 4 });
    layer->setShadowRadius(4);
    layer->setShadowOpacity(0.5);
    layer->setShadowColor(ui::Color::black());

    m_highlighColorsArray.clear();
    layoutIfNeeded();
    m_horizontalColorsStackConstraint->setConstant(0);
    setBackgroundColor(ui::Color::white());
}

std::shared_ptr<ui::Button> HighlightView::makeItemButton(HighLightToolView& item, bool colourButton)
{
    auto button = ui::Button::create(ui::Rect { { 0, 0 }, item.frame().size });
    // The whole item takes the finger, whatever size its row gives it.
    button->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    std::weak_ptr<HighlightView> weak = std::static_pointer_cast<HighlightView>(shared_from_this());
    button->addTarget(ui::ControlEvent::TouchUpInside, [weak, colourButton](ui::Control& sender) {
        auto self = weak.lock();
        auto* tapped = dynamic_cast<ui::Button*>(&sender);
        if (!self || !tapped)
            return;
        if (colourButton)
            self->hightLightColorActionWithButton(*tapped);
        else
            self->hightLightButtonActionWithButton(*tapped);
    });
    return button;
}

void HighlightView::addColorViewWithHightlighColorView(
    const std::shared_ptr<HighLightToolView>& item, const std::string& color)
{
    if (!item)
        return;
    auto button = makeItemButton(*item, true);
    ui::Constraint::activate({ item->widthAnchor().constraintEqualToConstant(item->frame().size.width),
        item->heightAnchor().constraintEqualToConstant(item->frame().size.height) });
    item->setUserInteractionEnabled(true);
    item->addSubview(button);
    button->setBackgroundColor(ui::Color::clear());

    m_colorsHeight = item->frame().size.height;
    m_horizontalColorsStackConstraint->setConstant(m_colorsHeight);
    m_highlighColorsArray.push_back(color);

    auto& row = m_addHighLightButton ? m_colorsRow : m_toolsRow;
    row->addArrangedSubview(item);
    button->setTag(firstButtonTag + static_cast<int>(row->arrangedSubviews().size()) - 1);
    button->setAccessibilityIdentifier("highlight_" + color);
}

void HighlightView::addHighLightToolbuttonWithHighLightTool(const std::shared_ptr<HighLightToolView>& item)
{
    if (!item)
        return;
    auto button = makeItemButton(*item, false);
    item->widthAnchor().constraintEqualToConstant(item->frame().size.width)->setActive(true);
    item->setUserInteractionEnabled(true);
    item->addSubview(button);
    button->setBackgroundColor(ui::Color::clear());
    if (item->iconLabel()) {
        // The delete tool starts dimmed: there is nothing to delete on fresh text.
        if (isDeleteTool(*item)) {
            setDeleteEnabled(*item, false);
        } else {
            item->iconLabel()->setAlpha(1.0);
            item->setUserInteractionEnabled(true);
        }
    }
    m_toolsRow->addArrangedSubview(item);
    button->setTag(firstButtonTag + static_cast<int>(m_toolsRow->arrangedSubviews().size()) - 1);
    button->setAccessibilityIdentifier("highlight_" + item->accessibilityIdentifier());
    applyToolAccessibility(*button, *item);
}

void HighlightView::applyToolAccessibility(ui::Button& button, const HighLightToolView& item)
{
    // By the tool the item is, not by where it sits: with a tool switched off the
    // positions shift, and a position rule would announce the wrong tool.
    const char* elementID = nullptr;
    switch (static_cast<HighlightItemType>(item.tag())) {
    case HighlightItemType::Note:
        elementID = "ReaderHighlightPopUpTextButton";
        break;
    case HighlightItemType::Search:
        elementID = "ReaderHighlightPopUpSearchButton";
        break;
    case HighlightItemType::Delete:
        elementID = "ReaderHighlightPopUpDeleteButton";
        break;
    default:
        break;
    }
    if (elementID)
        addReaderAccessibilityOn(button, elementID, "");
}

void HighlightView::addShowHideHightLightsViewWithHighLightTool(const std::shared_ptr<HighLightToolView>& item)
{
    if (!item)
        return;
    auto button = makeItemButton(*item, false);
    ui::Constraint::activate({ item->widthAnchor().constraintEqualToConstant(item->frame().size.width),
        item->heightAnchor().constraintEqualToConstant(item->frame().size.height) });
    m_addHighLightButton = true;
    item->setUserInteractionEnabled(true);
    item->addSubview(button);
    button->setBackgroundColor(ui::Color::clear());
    m_toolsRow->addArrangedSubview(item);
    button->setTag(showHideButtonTag);
}

void HighlightView::applyColorLabel(ui::Button& button, bool selected)
{
    // Only swatch buttons are labelled as colours, counted 1 to 5 by their position.
    int position = positionOf(button);
    if (position < 0 || static_cast<size_t>(position) >= std::min(labelledColours, m_highlighColorsArray.size()))
        return;
    std::string label = localizedLabel("ACCESSIBILITY_COLOR");
    if (selected)
        label = localizedLabel("ACCESSIBILITY_SELECTED") + " " + label;
    addReaderAccessibilityOn(button, "ReaderHighlightPopUpColor", label + " " + std::to_string(position + 1));
}

std::vector<std::shared_ptr<HighLightToolView>> HighlightView::mainRowItems() const
{
    std::vector<std::shared_ptr<HighLightToolView>> items;
    for (const auto& view : m_toolsRow->arrangedSubviews()) {
        if (auto item = std::dynamic_pointer_cast<HighLightToolView>(view))
            items.push_back(item);
    }
    return items;
}

std::shared_ptr<ui::Button> HighlightView::buttonOf(const HighLightToolView& item)
{
    const auto& subviews = item.subviews();
    return subviews.size() > 1 ? std::dynamic_pointer_cast<ui::Button>(subviews[1]) : nullptr;
}

bool HighlightView::isDeleteTool(const HighLightToolView& item)
{
    return item.iconLabel() && item.iconLabel()->text() == ICON_DELETE_OUTLINE;
}

void HighlightView::setDeleteEnabled(HighLightToolView& item, bool enabled)
{
    item.iconLabel()->setAlpha(enabled ? 1.0 : 0.6);
    item.setUserInteractionEnabled(enabled);
}

void HighlightView::resetHighlightView()
{
    HighlightActionView::resetHighlightView();
    m_showHighLightColors = false;
    m_selectedColorStr.reset();
    if (auto record = highlightVO(); record && !record->backgroundColor.empty())
        m_selectedColorStr = record->backgroundColor;

    std::optional<size_t> markedPosition;
    if (m_selectedColorStr) {
        auto found = std::find(m_highlighColorsArray.begin(), m_highlighColorsArray.end(), *m_selectedColorStr);
        if (found != m_highlighColorsArray.end())
            markedPosition = static_cast<size_t>(found - m_highlighColorsArray.begin());
    }
    auto items = mainRowItems();
    for (size_t position = 0; position < items.size(); ++position) {
        auto& item = *items[position];
        if (item.borderView())
            item.borderView()->layer()->setBorderColor(ui::Color::clear());
        auto button = buttonOf(item);
        if (button)
            applyColorLabel(*button, false);
        if (m_selectedColorStr) {
            if (markedPosition == position) {
                if (item.borderView())
                    item.borderView()->layer()->setBorderColor(systemBlue());
                if (button)
                    applyColorLabel(*button, true);
            }
            if (item.iconLabel()) {
                item.iconLabel()->setAlpha(1.0);
                if (isDeleteTool(item))
                    setDeleteEnabled(item, true);
            }
        } else if (isDeleteTool(item)) {
            setDeleteEnabled(item, false);
        }
    }
    m_horizontalColorsStackConstraint->setConstant(0);
    setNeedsLayout();
}

std::shared_ptr<HighLightToolView> HighlightView::itemForButton(const ui::Button& button, bool colourButton) const
{
    const auto& row = colourButton && m_addHighLightButton ? m_colorsRow : m_toolsRow;
    int position = positionOf(button);
    const auto& arranged = row->arrangedSubviews();
    if (position < 0 || static_cast<size_t>(position) >= arranged.size())
        return nullptr;
    return std::dynamic_pointer_cast<HighLightToolView>(arranged[static_cast<size_t>(position)]);
}

void HighlightView::hightLightColorActionWithButton(ui::Button& tapped)
{
    auto protect = shared_from_this();
    for (const auto& item : mainRowItems()) {
        auto button = buttonOf(*item);
        if (item->borderView() && !(item->borderView()->layer()->borderColor() == ui::Color::clear()) && button)
            applyColorLabel(*button, false);
        applyColorLabel(tapped, true);
        if (item->borderView())
            item->borderView()->layer()->setBorderColor(ui::Color::clear());
        if (isDeleteTool(*item))
            setDeleteEnabled(*item, true);
    }
    int position = positionOf(tapped);
    if (position < 0 || static_cast<size_t>(position) >= m_highlighColorsArray.size())
        return;
    m_selectedColorStr = m_highlighColorsArray[static_cast<size_t>(position)];
    std::string chosen = *m_selectedColorStr;
    auto item = itemForButton(tapped, true);
    if (m_highlightTextAction && item) {
        if (item->borderView())
            item->borderView()->layer()->setBorderColor(m_selectedViewBorderColor);
        auto action = m_highlightTextAction;
        action(item, chosen);
    }
    if (auto analytics = AnalyticsManager::getInstance()) {
        base::Value::Dictionary info;
        info.set(LectoroReaderEventConstant::highlightEventParameterNoteColor(), base::Value(chosen));
        analytics->notifyEvent(std::string(LectoroReaderEventConstant::highlightEventName()), base::Value(std::move(info)));
    }
}

void HighlightView::hightLightButtonActionWithButton(ui::Button& tapped)
{
    auto protect = shared_from_this();
    // A tool tapped on fresh text, before any colour was chosen, reports the first
    // offered colour (none when nothing is offered).
    if (!m_selectedColorStr && !m_highlighColorsArray.empty())
        m_selectedColorStr = m_highlighColorsArray.front();
    if (tapped.tag() == showHideButtonTag) {
        m_showHighLightColors = !m_showHighLightColors;
        showOrHideColors();
        return;
    }
    auto item = itemForButton(tapped, false);
    if (item && m_highLightToolActions) {
        auto action = m_highLightToolActions;
        action(item, m_selectedColorStr.value_or(std::string()));
    }
}

void HighlightView::showOrHideColors()
{
    ui::Size size = frame().size;
    if (m_showHighLightColors) {
        m_colorsRow->setHidden(false);
        m_horizontalColorsStackConstraint->setConstant(m_colorsHeight);
        m_contentView->setFrame(ui::Rect { { 0, 0 }, size });
    } else {
        m_colorsRow->setHidden(true);
        m_horizontalColorsStackConstraint->setConstant(0);
        m_contentView->setFrame(ui::Rect { { 0, 0 }, { size.width, size.height - m_colorsHeight } });
    }
    setNeedsLayout();
}

void HighlightView::changeHighLightToolButtonIconWithIconText(const std::string& iconText, uint64_t highlightItemType)
{
    for (const auto& view : m_toolsRow->arrangedSubviews()) {
        auto item = std::dynamic_pointer_cast<HighLightToolView>(view);
        if (item && item->tag() >= 0 && static_cast<uint64_t>(item->tag()) == highlightItemType && item->iconLabel())
            item->iconLabel()->setText(iconText);
    }
}

} // namespace lectoro
