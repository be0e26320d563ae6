// The narration bar, its colour items and the colour pop-over of read-aloud.

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/pen/PaletteContainer.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/ReaderReadAloudDelegates.h"
#include "LectoroSDKWithReader/media/readaloud/ReadAloudOptions.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PenColorSwatchItem.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr const char* readAloudPenColorKey = "penColor";
constexpr const char* readAloudListMarker = "\u00BB";

struct ReadAloudBarSizes {
    double barHeight, playGlyph, playWidth, speedWidth, colorWidth, closeGlyph, closeWidth, itemHeight, speedFont,
        swatchDiameter, popoverBottom, popoverSwatchWidth;
};

ReadAloudBarSizes readAloudBarSizes()
{
    if (chrome::isPad())
        return { 58, 23, 65, 65, 50, 26, 100, 64, 18, 26.0, -65, 62 };
    return { 50, 18, 45, 45, 40, 18, 60, 18, 14, 40.4, -55, 58.4 };
}

// The small "»" in an item's bottom-right corner: the item opens something.
void addReadAloudListMarker(PlayerActionBarItem& item, const LXMVThemeVO* theme)
{
    auto marker = ui::Label::create();
    marker->setText(readAloudListMarker);
    marker->setFont(chrome::iconFont(10));
    chrome::applyTextColor(*marker, theme ? theme->top_toolbar_icons_color() : std::nullopt);
    marker->setTranslatesAutoresizingMaskIntoConstraints(false);
    item.addSubview(marker);
    ui::Constraint::activate({
        marker->widthAnchor().constraintEqualToConstant(10),
        marker->heightAnchor().constraintEqualToConstant(10),
        marker->bottomAnchor().constraintEqualTo(item.bottomAnchor(), -5),
        marker->trailingAnchor().constraintEqualTo(item.trailingAnchor(), -5),
    });
}

// The height an item asks for; the bar that holds it sets its frame and has the last word.
ui::ConstraintPtr preferredItemHeight(PlayerActionBarItem& item, double height)
{
    auto constraint = item.heightAnchor().constraintEqualToConstant(height);
    constraint->setPriority(ui::LayoutPriority::required - 1);
    return constraint;
}

} // namespace

std::shared_ptr<PlayerActionBarItem> ReaderReadAloud::glyphItem(const std::string& glyph, int tag, double size) const
{
    auto item = PlayerActionBarItem::create();
    item->setTag(tag);
    item->setBackgroundColor(ui::Color::clear());
    auto label = chrome::makeConstrainedLabel(glyph);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(chrome::iconFont(size));
    chrome::applyTextColor(*label, m_context.theme ? m_context.theme->top_toolbar_icons_color() : std::nullopt);
    item->addSubview(label);
    ui::Constraint::activate({
        label->topAnchor().constraintEqualTo(item->topAnchor()),
        label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
    return item;
}

std::shared_ptr<PlayerActionBarItem> ReaderReadAloud::speedItem() const
{
    const auto sizes = readAloudBarSizes();
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemSpeedRate);
    auto label = ui::Label::create();
    label->setTag(3);
    label->setText(audioSyncSpeedRateText(m_context.audioSyncSpeedRateOption));
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(chrome::customFont(sizes.speedFont));
    label->setTextColor(ui::Color::black());
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    item->addSubview(label);
    ui::Constraint::activate({
        preferredItemHeight(*item, sizes.itemHeight),
        label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        label->centerYAnchor().constraintEqualTo(item->centerYAnchor()),
        label->heightAnchor().constraintEqualToConstant(20),
        label->widthAnchor().constraintEqualToConstant(60),
    });
    PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
    addReadAloudListMarker(*item, m_context.theme.get());
    return item;
}

std::shared_ptr<PlayerActionBarItem> ReaderReadAloud::colorItem(
    const std::string& swatch, int tag, const std::string& selected) const
{
    const auto sizes = readAloudBarSizes();
    const ui::Color ring = m_context.theme ? m_context.theme->pen_tool_selected_icon_background().value_or(ui::Color::clear())
                                           : ui::Color::clear();
    if (tag == PlayerItemAudioSyncColorSwatch) {
        auto item = makePenColorSwatchItem(swatch,
            { readAloudPenColorKey, 1.2, sizes.swatchDiameter, sizes.itemHeight }, swatch == selected, ring);
        item->setTag(tag);
        return item;
    }
    auto item = PlayerActionBarItem::create();
    base::Value::Dictionary metaData;
    metaData.set(readAloudPenColorKey, base::Value(swatch));
    item->setMetaData(base::Value(std::move(metaData)));
    item->setTag(tag);
    item->setBackgroundColor(ui::Color::clear());
    auto dot = HighLightToolView::create();
    dot->iconLabel()->setClipsToBounds(true);
    dot->iconLabel()->setBackgroundColor(chrome::colorFromHex(swatch));
    dot->contentView()->setBackgroundColor(ui::Color::clear());
    dot->borderView()->layer()->setBorderWidth(1.2);
    dot->borderView()->layer()->setBorderColor(ui::Color::clear());
    dot->resetViewForColorPalletWithColorHeight(20.0);
    dot->iconLabel()->setAccessibilityIdentifier("penTool_" + swatch);
    dot->setTranslatesAutoresizingMaskIntoConstraints(false);
    item->addSubview(dot);
    ui::Constraint::activate({
        preferredItemHeight(*item, sizes.itemHeight),
        dot->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        dot->centerYAnchor().constraintEqualTo(item->centerYAnchor()),
        dot->widthAnchor().constraintEqualToConstant(20),
        dot->heightAnchor().constraintEqualToConstant(20),
    });
    addReadAloudListMarker(*item, m_context.theme.get());
    return item;
}

void ReaderReadAloud::addPlayerBottomBarForAudioSync()
{
    auto view = readerView();
    if (!view)
        return;
    removeAudioSyncBottomBar();
    const auto sizes = readAloudBarSizes();
    const bool pad = chrome::isPad();
    auto bar = PlayerActionTopBar::create();
    if (m_context.controller)
        bar->setDelegate(m_context.controller->playerActionDelegate());
    if (m_context.theme)
        bar->setBackgroundColor(m_context.theme->pen_tool_toolbar_background());
    bar->setTag(AudioSyncBar);

    bar->addActionBarItem(glyphItem(ICON_MEDIA_PLAY, PlayerItemPlayPause, sizes.playGlyph), sizes.playWidth, 0, true);
    bar->addActionBarItem(speedItem(), sizes.speedWidth, 0, true);
    const std::string selected = audioSyncSwatchForHighlight(m_context.audioSyncSelectedColor);
    if (pad) {
        for (size_t i = 0; i < audioSyncColorPairs.size(); ++i) {
            auto item = colorItem(audioSyncColorPairs[i].swatch, PlayerItemAudioSyncColorSwatch, selected);
            item->setAccessibilityTraits(ui::AccessibilityTraits::Button);
            AccessibilityHelper::setAccessibilityForElementID(*item, "PenToolColorButton", "ReaderLectoroAccessibility",
                LocalizationHelper::localizedString("ACCESSIBILITY_COLOR") + " " + std::to_string(i + 1));
            bar->addActionBarItem(item, sizes.colorWidth, 0, true);
        }
    } else {
        bar->addActionBarItem(colorItem(selected, PlayerItemAudioSyncColorPalette, selected), sizes.colorWidth, 0, true);
    }
    bar->addActionBarItem(glyphItem(ICON_CLOSE, PlayerItemMarkupClose, sizes.closeGlyph), sizes.closeWidth, 1, true);

    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(bar);
    m_readAloudBarTopMarginConstraint = bar->bottomAnchor().constraintEqualTo(view->bottomAnchor(), -0.4);
    ui::Constraint::activate({
        bar->leadingAnchor().constraintEqualTo(view->leadingAnchor()),
        bar->trailingAnchor().constraintEqualTo(view->trailingAnchor()),
        m_readAloudBarTopMarginConstraint,
        bar->heightAnchor().constraintEqualToConstant(sizes.barHeight),
    });
    // Its items are touched as soon as it shows.
    view->layoutIfNeeded();
    bar->layer()->setBorderColor(ui::Color::black());
    bar->layer()->setBorderWidth(0.4);
    bar->layer()->setMasksToBounds(false);
    bar->layer()->setShadowOffset({ 0, -1 });
    bar->layer()->setShadowRadius(4.0);
    bar->layer()->setShadowOpacity(0.6);
    view->bringSubviewToFront(bar.get());
    m_bar = bar;
    if (m_context.controller)
        m_context.controller->penRoad().setPlayerBottomActionBarViewForAudioSync(bar);
}

void ReaderReadAloud::removeAudioSyncBottomBar()
{
    if (auto bar = std::exchange(m_bar, nullptr)) {
        bar->removeFromSuperview();
        m_readAloudBarTopMarginConstraint.reset();
        if (m_context.controller)
            m_context.controller->penRoad().setPlayerBottomActionBarViewForAudioSync(nullptr);
    }
}

void ReaderReadAloud::changePlayButtonState()
{
    if (!m_bar)
        return;
    for (const auto& item : m_bar->getTappableItems()) {
        if (item->tag() != PlayerItemPlayPause)
            continue;
        for (const auto& subview : item->subviews()) {
            if (auto label = std::dynamic_pointer_cast<ui::Label>(subview)) {
                const bool playing = isAudioSyncPlaying();
                label->setText(playing ? ICON_MEDIA_PAUSE : ICON_MEDIA_PLAY);
                AccessibilityHelper::setAccessibilityForElementID(*label,
                    playing ? "MediaBPauseButton" : "MediaBPlayButton", "ReaderLectoroAccessibility", "");
                break;
            }
        }
        return;
    }
}

std::shared_ptr<ui::Label> ReaderReadAloud::getAudioSyncSpeedRateLabel() const
{
    if (!m_bar)
        return nullptr;
    for (const auto& item : m_bar->getTappableItems()) {
        if (item->tag() != PlayerItemSpeedRate)
            continue;
        for (const auto& subview : item->subviews()) {
            if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
                return label;
        }
        return nullptr;
    }
    return nullptr;
}

void ReaderReadAloud::didSelectAudioSyncColor(const std::string& swatchColor)
{
    // Only a colour of the bar is a highlight colour; anything else is ignored.
    auto index = audioSyncSwatchIndex(swatchColor);
    if (!index)
        return;
    const std::string swatch = audioSyncColorPairs[*index].swatch;
    if (chrome::isPad()) {
        if (m_bar && m_context.theme)
            m_bar->updateSelectedAudioSyncColor(swatch, *m_context.theme);
    } else {
        if (m_context.controller)
            m_context.controller->penRoad().updateAudioSyncColorPalleteSelectionColor(swatch);
        if (m_bar) {
            if (auto item = m_bar->itemWithTag(PlayerItemAudioSyncColorPalette)) {
                base::Value::Dictionary metaData;
                metaData.set(readAloudPenColorKey, base::Value(swatch));
                item->setMetaData(base::Value(std::move(metaData)));
            }
        }
        closeColorPalleteAndClearSelection();
    }
    m_context.audioSyncSelectedColor = audioSyncColorPairs[*index].highlight;
    if (m_context.renderer)
        m_context.renderer->updateBackgroundForAudioSyncFramesWithColor(m_context.audioSyncSelectedColor);
}

void ReaderReadAloud::actionForAudioSyncColorPalletePicker()
{
    std::vector<std::string> colors;
    for (const auto& pair : audioSyncColorPairs)
        colors.emplace_back(pair.swatch);
    showPalette(colors, audioSyncSwatchForHighlight(m_context.audioSyncSelectedColor), false);
}

void ReaderReadAloud::actionForTeacherReviewPenColorPalletePicker()
{
    std::vector<std::string> colors;
    if (m_context.theme) {
        for (const auto& color : { m_context.theme->teacherSettings_pen1_color(), m_context.theme->teacherSettings_pen2_color() })
            colors.push_back(color ? UIColorExpanded::hexStringFromColor(*color) : std::string());
    }
    std::string selected;
    if (m_context.controller) {
        if (const auto& pen = m_context.controller->penRoad().penToolController())
            selected = pen->getPenColor();
    }
    showPalette(colors, selected, true);
}

void ReaderReadAloud::showPalette(const std::vector<std::string>& colors, const std::string& selected, bool teacherReview)
{
    auto view = readerView();
    if (!view)
        return;
    closeColorPallete();
    const auto sizes = readAloudBarSizes();
    const bool pad = chrome::isPad();
    const auto* theme = m_context.theme.get();
    auto palette = LectoroPenToolColorPalleteViewController::create();
    palette->setDelegate(m_delegates);
    palette->setPenColors(colors);
    palette->setSelectedPenColor(selected);
    palette->setColorPickerBackgroundColor(theme ? theme->pen_tool_pen_popup_background() : std::nullopt);
    palette->setSelectionBorderColor(theme ? theme->pen_tool_pen_popup_border() : std::nullopt);
    palette->setContainerBorderColor(theme ? theme->pen_tool_pen_popup_border() : std::nullopt);

    // Sized for the swatches it shows (a phone's rows hold five), whatever the theme's own
    // pen colours number.
    const size_t shown = colors.size();
    const size_t perRow = LectoroPenToolColorPalleteViewController::phoneRowLength;
    PalettePlacement placement;
    placement.bottomOffset = sizes.popoverBottom;
    placement.height = pad ? 64 : (shown <= perRow ? 62 : 112);
    if (teacherReview) {
        placement.width = 2 * sizes.popoverSwatchWidth;
        placement.leading = view->bounds().size.width / 5;
    } else if (pad) {
        placement.width = 5 * 62;
    } else {
        placement.width = double(std::min(shown, perRow)) * sizes.popoverSwatchWidth + 8;
    }
    // The pen's container: a touch outside the pop-over closes it and clears the pen bar.
    std::weak_ptr<int> alive = m_alive;
    auto container = showPaletteInContainer(view, palette->view(), placement, [this, alive] {
        if (!alive.expired())
            closeColorPalleteAndClearSelection();
    });
    // The swatches take their places at once, so they can be touched.
    palette->view()->layoutIfNeeded();
    m_palette = palette;
    m_paletteContainer = container;
}

void ReaderReadAloud::closeColorPalleteAndClearSelection()
{
    closeColorPallete();
    if (m_context.controller)
        m_context.controller->penRoad().singleTapOnPentoolPalleteContainer();
}

void ReaderReadAloud::closeColorPallete()
{
    if (auto palette = std::exchange(m_palette, nullptr)) {
        if (auto paletteView = palette->viewIfLoaded())
            paletteView->removeFromSuperview();
    }
    if (auto container = std::exchange(m_paletteContainer, nullptr))
        container->removeFromSuperview();
}

} // namespace lectoro
