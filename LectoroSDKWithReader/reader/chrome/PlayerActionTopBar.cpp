#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionAccessibility.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

struct TopBarAccessibility {
    int tag;
    const char* identifier;
    const char* labelKey;
};

// The read-aloud item shares the thumbnail identifier: UI tests already look it up so.
constexpr TopBarAccessibility topBarAccessibility[] = {
    { PlayerItemThumbnail, PLAYER_THUMBNAIL, "ThumbnailButton" },
    { PlayerItemReadAloud, PLAYER_THUMBNAIL, "ReadAloudButton" },
    { PlayerItemProfile, PLAYER_PROFILE, "UserProfileButton" },
    { PlayerItemBackToBookshelf, PLAYER_BOOKSHELF, "BackToBookShelfButton" },
    { PlayerItemDragBox, PLAYER_DRAG_BOX, "DragSelectionButton" },
    { PlayerItemGenerateReport, PLAYER_GENERATE_REPORT, "GenerateReportButton" },
    { PlayerItemNextStudent, PLAYER_NEXT_STUDENT, "NextStudentButton" },
    { PlayerItemPreviousStudent, PLAYER_PREVIOUS_STUDENT, "PreviousStudentButton" },
};

} // namespace

std::shared_ptr<PlayerActionTopBar> PlayerActionTopBar::create(const ui::Rect& frame)
{
    return std::shared_ptr<PlayerActionTopBar>(new PlayerActionTopBar(frame));
}

PlayerActionTopBar::PlayerActionTopBar(const ui::Rect& frame)
    : PlayerActionBar(frame)
{
}

void PlayerActionTopBar::addPlayerTopBarForIPhoneWithTheme(const LXMVThemeVO& theme, int isEpub)
{
    const int slots = isEpub == 1 ? 3 : isEpub == 2 ? 5 : 6;
    const bool pad = chrome::isPad();
    const double width = chrome::screenWidth();
    const double glyphSize = chrome::topBarGlyphSize();
    const double slot = pad ? 98.0 : width / slots;

    addActionBarItem(
        getPlayerItemWithIcon(ICON_BOOKSHELF, PlayerItemBackToBookshelf, theme, glyphSize, slots), slot,
        PlayerActionBarItemAlignmentLeading, true);
    addActionBarItem(initialiseChapterNameItemwithThemeVO(theme), width - 2 * slot - (pad ? 0.0 : 40.0),
        PlayerActionBarItemAlignmentLeading, false);
    if (!m_hideProfileSettingsButton) {
        addActionBarItem(getTopBarPlayerButtonForProfilewithThemeVO(theme), pad ? 98.0 : width / slots + 8.0,
            PlayerActionBarItemAlignmentTrailing, true);
    }

    if (auto* pageBook = dynamic_cast<PXBookVO*>(m_bookVO.get())) {
        if (pageBook->isReadAloudEnabled) {
            addActionBarItem(
                getPlayerItemWithIcon(ICON_AUDIO, PlayerItemReadAloud, theme, pad ? 23.0 : 18.0, slots),
                pad ? 80.0 : 23.0, PlayerActionBarItemAlignmentTrailing, true);
        }
    } else if (auto* epub = dynamic_cast<EPUBBookVO*>(m_bookVO.get())) {
        if (epub->isAudioSyncSupported) {
            addActionBarItem(getPlayerItemWithIcon(ICON_AUDIO, PlayerItemReadAloud, theme, 18.0, slots),
                pad ? 80.0 : 23.0, PlayerActionBarItemAlignmentTrailing, true);
        }
        if (m_userSettingsModel && m_userSettingsModel->isPrintEnabled() && epub->meta.layout == 0) {
            addActionBarItem(getPlayerItemWithIcon(ICON_PRINT, PlayerItemPrint, theme, glyphSize, slots),
                pad ? 80.0 : 30.0, PlayerActionBarItemAlignmentTrailing, true);
        }
    }

    setAccessibilityElements(subviews());
}

void PlayerActionTopBar::addPlayerTopBarForScormPackage(const LXMVThemeVO& theme)
{
    addActionBarItem(
        getPlayerItemWithIcon(ICON_BOOKSHELF, PlayerItemBackToBookshelf, theme, chrome::topBarGlyphSize()),
        70.0, PlayerActionBarItemAlignmentLeading, true);
    addActionBarItem(initialiseChapterNameItemwithThemeVO(theme), chrome::screenWidth() - 60.0,
        PlayerActionBarItemAlignmentLeading, false);
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::initialiseChapterNameItemwithThemeVO(
    const LXMVThemeVO& theme)
{
    if (m_chapterNameItem)
        return m_chapterNameItem;

    const bool pad = chrome::isPad();
    m_chapterNameItem = PlayerActionBarItem::create();
    auto label = chrome::makeConstrainedLabel({});
    label->setFont(chrome::customFont(chrome::isNarrowPhone() ? 16.0 : pad ? 21.0 : 20.0));
    chrome::applyTextColor(*label, theme.top_toolbar_icons_color());
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setNumberOfLines(1);
    m_chapterNameItem->addSubview(label);
    ui::Constraint::activate({
        label->leadingAnchor().constraintEqualTo(m_chapterNameItem->leadingAnchor(), pad ? -6.0 : 2.0),
        label->trailingAnchor().constraintEqualTo(m_chapterNameItem->trailingAnchor()),
        label->centerYAnchor().constraintEqualTo(m_chapterNameItem->centerYAnchor(), 1.0),
    });
    label->setAccessibilityIdentifier(PLAYER_CHAPTER_NAME_LABEL);
    return m_chapterNameItem;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::makeGlyphItem(const std::string& icon, int actionTag,
    const LXMVThemeVO& theme, double itemSize, std::shared_ptr<ui::Label>* labelOut)
{
    auto item = PlayerActionBarItem::create();
    item->setTag(actionTag);
    item->setBackgroundColor(ui::Color::clear());

    auto label = chrome::makeConstrainedLabel(icon);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(chrome::iconFont(itemSize));
    chrome::applyTextColor(
        *label, tag() == TopBar ? theme.top_toolbar_icons_color() : theme.pen_tool_toolbar_icons_color());
    item->addSubview(label);
    *labelOut = label;
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getPlayerItemWithIcon(
    const std::string& icon, int actionTag, const LXMVThemeVO& theme, double itemSize, int)
{
    std::shared_ptr<ui::Label> label;
    auto item = makeGlyphItem(icon, actionTag, theme, itemSize, &label);
    // The text-annotation glyph sits high in its em box.
    const double topOffset = icon == ICON_TEXTANNOTATION ? 5.0 : 0.0;
    ui::Constraint::activate({
        label->topAnchor().constraintEqualTo(item->topAnchor(), topOffset),
        label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    setAccessibilityForPlayerActionTopBarItem(*item);
    setAccessibilityForPenToolItem(*item);
    return item;
}

void PlayerActionTopBar::changeIcon(const std::string& icon, int forItemType)
{
    for (const auto& item : getTappableItems()) {
        if (item->tag() != forItemType)
            continue;
        if (auto label = item->firstLabel())
            label->setText(icon);
        return;
    }
}

void PlayerActionTopBar::setAccessibilityForPlayerActionTopBarItem(PlayerActionBarItem& item)
{
    for (const auto& entry : topBarAccessibility) {
        if (entry.tag != item.tag())
            continue;
        AccessibilityHelper::setAccessibilityForElementID(item, entry.labelKey, readerAccessibilityTable, "");
        item.setAccessibilityIdentifier(entry.identifier);
        break;
    }
    item.setAccessibilityTraits(ui::AccessibilityTraits::Button);
}

} // namespace lectoro
