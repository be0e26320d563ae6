#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionAccessibility.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/reader/chrome/PenColorSwatchItem.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

// Marking a swatch selected while building sets the item's own flag; the row learns of a
// selection only from taps, so both are consulted.
std::shared_ptr<PlayerActionBarItem> selectedSwatch(const PlayerActionBar& row)
{
    if (auto selected = row.getSelectedItem())
        return selected;
    for (const auto& item : row.items()) {
        if (item->isSelected())
            return item;
    }
    return nullptr;
}

void setRingColor(PlayerActionBarItem& item, const ui::Color& color)
{
    for (const auto& subview : item.subviews()) {
        if (auto swatch = std::dynamic_pointer_cast<HighLightToolView>(subview))
            swatch->borderView()->layer()->setBorderColor(color);
    }
}

} // namespace

std::shared_ptr<LectoroPenToolColorPalleteViewController> LectoroPenToolColorPalleteViewController::create()
{
    auto palette = std::shared_ptr<LectoroPenToolColorPalleteViewController>(
        new LectoroPenToolColorPalleteViewController);
    std::shared_ptr<PlayerActionDelegate> asDelegate = palette;
    for (auto* row : { &palette->m_penItemsBar, &palette->m_secondLinePenItemBar }) {
        *row = PlayerActionBar::create();
        (*row)->setTag(0);
        (*row)->setDelegate(asDelegate);
    }
    return palette;
}

std::vector<std::shared_ptr<PlayerActionBar>> LectoroPenToolColorPalleteViewController::rows() const
{
    std::vector<std::shared_ptr<PlayerActionBar>> rows;
    for (const auto& row : { m_penItemsBar, m_secondLinePenItemBar }) {
        if (row)
            rows.push_back(row);
    }
    return rows;
}

void LectoroPenToolColorPalleteViewController::setColorPickerBackgroundColor(
    const std::optional<ui::Color>& color)
{
    for (const auto& row : rows())
        row->setBackgroundColor(color);
    if (auto palette = view())
        palette->setBackgroundColor(color);
}

void LectoroPenToolColorPalleteViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    auto palette = view();
    const bool pad = chrome::isPad();
    const auto& first = m_penItemsBar;
    const auto& second = m_secondLinePenItemBar;

    palette->addSubview(first);
    first->setTranslatesAutoresizingMaskIntoConstraints(false);
    first->setClipsToBounds(true);
    ui::Constraint::activate({
        first->heightAnchor().constraintEqualToConstant(pad ? 64.0 : 50.0),
        first->topAnchor().constraintEqualTo(palette->topAnchor(), pad ? 0.0 : 6.0),
        first->leadingAnchor().constraintEqualTo(palette->leadingAnchor(), pad ? 0.0 : 4.0),
        first->trailingAnchor().constraintEqualTo(palette->trailingAnchor(), pad ? -0.0 : -4.0),
    });

    palette->addSubview(second);
    second->setTranslatesAutoresizingMaskIntoConstraints(false);
    second->setClipsToBounds(true);
    const bool twoRows = !pad && m_penColors.size() > phoneRowLength;
    ui::Constraint::activate({
        second->leadingAnchor().constraintEqualTo(first->leadingAnchor()),
        second->trailingAnchor().constraintEqualTo(first->trailingAnchor()),
        second->topAnchor().constraintEqualTo(first->bottomAnchor()),
        second->heightAnchor().constraintEqualToConstant(twoRows ? 50.0 : 0.0),
    });

    const double itemWidth = pad ? 62.0 : 58.4;
    for (size_t index = 0; index < m_penColors.size(); ++index) {
        auto& row = pad || index < phoneRowLength ? first : second;
        row->addActionBarItem(getPenToolColorPalleteItemForColor(m_penColors[index]), itemWidth,
            PlayerActionBarItemAlignmentLeading, true);
    }

    // The owner sets the border colours right after the view is built; ring and shade
    // once they are there.
    std::weak_ptr<ui::ViewController> weakSelf = shared_from_this();
    base::RunLoop::main().postDelayed(0.1, weakSelf, [this] {
        for (const auto& row : rows()) {
            if (auto selected = selectedSwatch(*row))
                updateSelectItemUI(selected.get());
        }
        addShadow();
    });
    updateAccessibilityForPentoolColors();
}

void LectoroPenToolColorPalleteViewController::viewDidLayoutSubviews()
{
    ui::ViewController::viewDidLayoutSubviews();
    auto palette = viewIfLoaded();
    if (!palette)
        return;
    const bool pad = chrome::isPad();
    const double inset = pad ? 0.0 : 4.0;
    const double top = pad ? 0.0 : 6.0;
    const double rowHeight = pad ? 64.0 : 50.0;
    const double width = std::max(0.0, palette->bounds().size.width - 2 * inset);
    const bool twoRows = !pad && m_penColors.size() > phoneRowLength;
    if (m_penItemsBar)
        m_penItemsBar->setFrame(ui::Rect(inset, top, width, rowHeight));
    if (m_secondLinePenItemBar)
        m_secondLinePenItemBar->setFrame(ui::Rect(inset, top + rowHeight, width, twoRows ? 50.0 : 0.0));
}

void LectoroPenToolColorPalleteViewController::viewWillDisappear(bool animated)
{
    ui::ViewController::viewWillDisappear(animated);
    if (m_penItemsBar) {
        m_penItemsBar->removeFromSuperview();
        m_penItemsBar.reset();
    }
    if (auto owner = delegate())
        owner->willDismissPenToolColorPalleteView();
}

void LectoroPenToolColorPalleteViewController::didSelectedPlayerActionBar(
    PlayerActionBar&, PlayerActionBarItem& item)
{
    // The delegate may let the palette go while it is told.
    auto protect = shared_from_this();
    for (const auto& row : rows())
        row->resetPlayerActionBarSelection();
    if (auto owner = delegate())
        owner->didSelectPenColor(item.metaData()[penColorMetaDataKey].asString().value_or(std::string()));
    item.setSelected(true);
    updateSelectItemUI(&item);
    updateAccessibilityForPentoolColors();
}

void LectoroPenToolColorPalleteViewController::willResetPlayerActionBar(PlayerActionBar& row)
{
    for (const auto& item : row.getTappableItems())
        setRingColor(*item, ui::Color::clear());
}

std::shared_ptr<PlayerActionBarItem>
LectoroPenToolColorPalleteViewController::getPenToolColorPalleteItemForColor(const std::string& color)
{
    const bool pad = chrome::isPad();
    // Exact text comparison: "#ff0000" is not "#FF0000", and a selection no swatch has
    // marks none.
    return makePenColorSwatchItem(color, { penColorMetaDataKey, 1.0, pad ? 26.0 : 27.0, pad ? 64.0 : 50.0 },
        color == m_selectedPenColor, m_selectionBorderColor.value_or(ui::Color::clear()));
}

void LectoroPenToolColorPalleteViewController::updateSelectItemUI(PlayerActionBarItem* item)
{
    if (!item)
        return;
    setRingColor(*item, m_selectionBorderColor.value_or(ui::Color::clear()));
}

void LectoroPenToolColorPalleteViewController::addShadow()
{
    auto palette = viewIfLoaded();
    if (!palette)
        return;
    auto& layer = *palette->layer();
    layer.setMasksToBounds(false);
    layer.setShadowColor(m_selectionBorderColor.value_or(ui::Color::clear()));
    layer.setShadowOffset(ui::Size(0, -2));
    layer.setShadowOpacity(0.4);
    layer.setBorderWidth(0.6);
    layer.setBorderColor(m_containerBorderColor.value_or(ui::Color::clear()));
    palette->setClipsToBounds(false);
    layer.setCornerRadius(8.0);
    if (m_penItemsBar) {
        // A phone's ring may reach past the row's edge; a tablet row keeps to its corners.
        m_penItemsBar->setClipsToBounds(chrome::isPad());
        m_penItemsBar->layer()->setCornerRadius(8.0);
    }
}

void LectoroPenToolColorPalleteViewController::updateAccessibilityForPentoolColors()
{
    const std::string selectedWord = LocalizationHelper::localizedStringWithKey(accessibilitySelectedKey);
    const std::string colorWord = LocalizationHelper::localizedStringWithKey(accessibilityColorKey);
    int64_t number = 1;
    for (const auto& row : rows()) {
        for (const auto& item : row->items()) {
            std::string argument = base::format(
                "%@ %@ %ld", item->isSelected() ? selectedWord : std::string(), colorWord, number++);
            AccessibilityHelper::setAccessibilityForElementID(
                *item, penToolColorButtonElementID, readerAccessibilityTable, argument);
            item->setAccessibilityTraits(ui::AccessibilityTraits::Button);
        }
    }
}

} // namespace lectoro
