#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionAccessibility.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/reader/chrome/PenColorSwatchItem.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Label.h"

#include <cmath>
#include <typeinfo>

namespace lectoro {

namespace {

struct PenToolAccessibility {
    int tag;
    const char* identifier;
    const char* labelKey;
    bool speaksSelection;
};

constexpr PenToolAccessibility penToolAccessibility[] = {
    { PlayerItemPenColor, PENTOOL_COLOR_PALLET, "PenToolSelectColorButton", true },
    { PlayerItemPenThickness, PENTOOL_THICKNESS, "PenToolSelectThicknessButton", true },
    { PlayerItemPenEraser, PENTOOL_ERASER, "PenToolEraserButton", true },
    { PlayerItemPenDeleteSelection, PENTOOL_DELETE, "PenToolDeleteButton", false },
    { PlayerItemPenUndo, PENTOOL_UNDO, "PenToolUndoButton", true },
    { PlayerItemPenClose, PENTOOL_CLOSE, "PenToolCloseButton", false },
};

// Six decimals, "." whatever the process locale.
std::string formatThickness(double thickness)
{
    return base::format("%f", thickness);
}

} // namespace

void PlayerActionTopBar::updatedPlayerForPenTool(
    const LXMVThemeVO& theme, const std::vector<std::string>& penToolColors)
{
    setBackgroundColor(theme.pen_tool_toolbar_background());
    const bool pad = chrome::isPad();
    const double glyphSize = chrome::penToolGlyphSize();
    const double width = pad ? 66.0 : chrome::screenWidth() / 6;
    auto append = [&](const std::shared_ptr<PlayerActionBarItem>& item) {
        addActionBarItem(item, width, PlayerActionBarItemAlignmentCentre, true);
    };

    append(getPlayerItemWithIcon(ICON_CLOSE, PlayerItemPenClose, theme, glyphSize));
    append(pentoolPallerItemWithIcon(ICON_COLORPALLET, PlayerItemPenColor, theme, glyphSize));
    // A phone picks colours in the palette pop-over instead.
    if (pad) {
        const std::string remembered = getLastUpdatedPenColor();
        for (const auto& color : penToolColors)
            append(getPenToolColorPalleteItemForColor(color, theme, remembered));
    }
    append(getPlayerItemWithIcon(ICON_PENTThIKNESS, PlayerItemPenThickness, theme, glyphSize));
    append(getPlayerItemWithIcon(ICON_ERASER, PlayerItemPenEraser, theme, glyphSize));
    append(getPlayerItemWithIcon(ICON_UNDO, PlayerItemPenUndo, theme, glyphSize));
    append(getPlayerItemWithIcon(ICON_CLEAR, PlayerItemPenDeleteSelection, theme, glyphSize));

    if (pad)
        updateAccessibilityForPentoolColors();
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::pentoolPallerItemWithIcon(
    const std::string& icon, int actionTag, const LXMVThemeVO& theme, double itemSize)
{
    auto item = PlayerActionBarItem::create();
    item->setTag(actionTag);
    item->setBackgroundColor(ui::Color::clear());

    auto label = chrome::makeConstrainedLabel(icon);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(chrome::iconFont(itemSize));
    chrome::applyTextColor(*label, theme.pen_tool_toolbar_icons_color());
    item->addSubview(label);
    ui::Constraint::activate({
        label->topAnchor().constraintEqualTo(item->topAnchor()),
        label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });

    auto colorView = ui::View::create();
    colorView->setTranslatesAutoresizingMaskIntoConstraints(false);
    colorView->setBackgroundColor(chrome::colorFromHex(getLastUpdatedPenColor()));
    item->addSubview(colorView);
    auto thickness = colorView->heightAnchor().constraintEqualToConstant(getLastUpdatedPenThickness());
    ui::Constraint::activate({
        colorView->leadingAnchor().constraintEqualTo(label->leadingAnchor()),
        colorView->trailingAnchor().constraintEqualTo(label->trailingAnchor()),
        thickness,
        colorView->bottomAnchor().constraintEqualTo(item->bottomAnchor(), chrome::isPad() ? -6.0 : -4.0),
    });
    m_selectedColorView = colorView;
    m_viewThicknessConstraint = thickness;

    item->setAccessibilityTraits(ui::AccessibilityTraits::Button);
    setAccessibilityForPenToolItem(*item);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPenToolColorPalleteItemForColor(
    const std::string& color, const LXMVThemeVO& theme, const std::string& selectedPenColor)
{
    const bool pad = chrome::isPad();
    auto item = makePenColorSwatchItem(color, { penColorMetaDataKey, 1.2, pad ? 26.0 : 18.0, pad ? 64.0 : 18.0 },
        color == selectedPenColor, theme.pen_tool_selected_icon_background().value_or(ui::Color::clear()));
    item->setTag(PlayerItemPenColorSwatch);
    return item;
}

void PlayerActionTopBar::updateSelectedColor(
    int swatchTag, const std::string& color, const LXMVThemeVO& theme)
{
    const std::optional<ui::Color> mark = theme.pen_tool_selected_icon_background();
    for (const auto& item : getTappableItems()) {
        if (item->tag() != swatchTag)
            continue;
        const bool chosen = swatchColor(*item) == color;
        for (const auto& subview : item->subviews()) {
            auto swatch = std::dynamic_pointer_cast<HighLightToolView>(subview);
            if (!swatch)
                continue;
            auto& ring = *swatch->borderView()->layer();
            const bool marked = mark && ring.borderColor() == *mark;
            // Picking the marked colour again takes its mark away.
            ring.setBorderColor(chosen && !marked ? mark.value_or(ui::Color::clear()) : ui::Color::clear());
        }
    }
}

void PlayerActionTopBar::updateSelectedPenColor(const std::string& color, const LXMVThemeVO& theme)
{
    updateSelectedColor(PlayerItemPenColorSwatch, color, theme);
    updateAccessibilityForPentoolColors();
}

void PlayerActionTopBar::updateSelectedAudioSyncColor(const std::string& color, const LXMVThemeVO& theme)
{
    updateSelectedColor(PlayerItemAudioSyncColorSwatch, color, theme);
}

void PlayerActionTopBar::updateColorSelectedView(
    const std::optional<ui::Color>& color, double withColorThickness)
{
    if (!m_viewThicknessConstraint)
        return;
    m_viewThicknessConstraint->setConstant(withColorThickness);
    if (color && m_selectedColorView)
        m_selectedColorView->setBackgroundColor(*color);
    layoutIfNeeded();
}

void PlayerActionTopBar::updatePlayerSelectedItem(const LXMVThemeVO& theme)
{
    for (const auto& item : getTappableItems()) {
        item->setBackgroundColor(ui::Color::clear());
        for (const auto& subview : item->subviews()) {
            if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
                chrome::applyTextColor(*label, theme.pen_tool_toolbar_icons_color());
        }
    }

    auto selected = getSelectedItem();
    if (!selected)
        return;
    setAccessibilityForPenToolItem(*selected);

    const int tag = selected->tag();
    const bool highlightsTool = tag == PlayerItemPenColor || tag == PlayerItemPenThickness
        || tag == PlayerItemPenEraser || tag == PlayerItemPenDeleteSelection;
    if (!highlightsTool)
        return;
    for (const auto& subview : selected->subviews()) {
        // Only a plain glyph label shows the highlight; richer views keep their own look.
        const ui::View& view = *subview;
        if (typeid(view) != typeid(ui::Label))
            continue;
        selected->setBackgroundColor(theme.pen_tool_selected_icon_background());
        chrome::applyTextColor(static_cast<ui::Label&>(*subview), theme.pen_tool_selected_icon_color());
        return;
    }
}

std::string PlayerActionTopBar::getLastUpdatedPenColor()
{
    auto& defaults = base::UserDefaults::standard();
    if (auto color = defaults.stringForKey(penColorDefaultsKey))
        return *color;
    defaults.setString(penColorDefaultsKey, defaultPenColor);
    defaults.synchronize();
    return defaultPenColor;
}

double PlayerActionTopBar::getLastUpdatedPenThickness()
{
    auto& defaults = base::UserDefaults::standard();
    auto text = defaults.stringForKey(penThicknessDefaultsKey);
    if (!text) {
        defaults.setString(penThicknessDefaultsKey, formatThickness(defaultPenThickness));
        defaults.synchronize();
        return defaultPenThickness;
    }
    const double thickness = base::Value(*text).floatValue();
    // A value that is no number of points ("inf", "nan") would size the colour bar
    // without bound; draw the default instead.
    return std::isfinite(thickness) ? thickness : defaultPenThickness;
}

void PlayerActionTopBar::setAccessibilityForPenToolItem(PlayerActionBarItem& item)
{
    const PenToolAccessibility* entry = nullptr;
    for (const auto& candidate : penToolAccessibility) {
        if (candidate.tag == item.tag())
            entry = &candidate;
    }
    if (!entry)
        return;

    std::string argument;
    if (entry->speaksSelection) {
        auto selected = getSelectedItem();
        if (selected && selected->tag() == item.tag())
            argument = LocalizationHelper::localizedStringWithKey(accessibilitySelectedKey);
    }
    for (const auto& subview : item.subviews()) {
        auto label = std::dynamic_pointer_cast<ui::Label>(subview);
        if (!label)
            continue;
        label->setAccessibilityIdentifier(entry->identifier);
        AccessibilityHelper::setAccessibilityForElementID(
            item, entry->labelKey, readerAccessibilityTable, argument);
    }
}

void PlayerActionTopBar::updateAccessibilityForPentoolColors()
{
    const std::string remembered = getLastUpdatedPenColor();
    const std::string selectedWord = LocalizationHelper::localizedStringWithKey(accessibilitySelectedKey);
    const std::string colorWord = LocalizationHelper::localizedStringWithKey(accessibilityColorKey);
    int64_t number = 1;
    for (const auto& item : getTappableItems()) {
        if (item->tag() != PlayerItemPenColorSwatch)
            continue;
        const bool isRemembered = swatchColor(*item) == remembered;
        std::string argument
            = base::format("%@ %@ %ld", isRemembered ? selectedWord : std::string(), colorWord, number++);
        AccessibilityHelper::setAccessibilityForElementID(
            *item, penToolColorButtonElementID, readerAccessibilityTable, argument);
        item->setAccessibilityTraits(ui::AccessibilityTraits::Button);
    }
}

} // namespace lectoro
