#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionAccessibility.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

struct BottomBarAccessibility {
    int tag;
    const char* labelIdentifier; // null: the label gets none
    const char* elementID;
};

constexpr BottomBarAccessibility bottomBarAccessibility[] = {
    { PlayerItemTOC, PLAYER_TOC, "TOCButton" },
    { PlayerItemMyData, PLAYER_MY_DATA, "MyDataButton" },
    { PlayerItemPenTool, PLAYER_PEN_TOOL, "PenToolButton" },
    { PlayerItemStickyNote, PLAYER_STICKY_NOTE, "StickyNoteButton" },
    { PlayerItemThumbnail, PLAYER_THUMBNAIL, "ThumbnailButton" },
    { PlayerItemSearch, PLAYER_SEARCH, "SearchButton" },
    { PlayerItemMore, PLAYER_VERTICAL_BAR, "MoreOptionButton" },
    { PlayerItemTeacherReview, PLAYER_TEACHER_REVIEW, "TeacherReviewButton" },
    { PlayerItemSubmitAnnotation, PLAYER_SUBMIT_ANNOTATION, "StudentSubmitButton" },
    { PlayerItemReadAloud, nullptr, "SoundButton" },
    { PlayerItemFontSetting, nullptr, "FontSettingButton" },
    { PlayerItemAddText, PLAYER_ADD_TEXT, "AddTextButton" },
    { PlayerItemProtractor, PLAYER_PROTRACTOR, "ProtractorButton" },
    { PlayerItemSpeedDecrease, nullptr, "AudioSyncSpeedDecreaseButton" },
    { PlayerItemSpeedIncrease, nullptr, "AudioSyncSpeedIncreaseButton" },
    { PlayerItemMarkupClose, nullptr, "MarkupCloseButton" },
    { PlayerItemClearAllFIBs, nullptr, "ClearButton" },
};

constexpr const char* speedRateElementID = "AudioSyncSpeedRateLabel";

} // namespace

struct PlayerActionBottomBar::Switches {
    bool myData = false;
    bool search = false;
    bool penTool = false;
    bool stickyNotes = false;
    bool protractor = false;
    bool review = false;
    bool textAnnotation = false;
    bool clearAllFIBs = false;
    bool audioSync = false;
};

std::shared_ptr<PlayerActionBottomBar> PlayerActionBottomBar::create(const ui::Rect& frame)
{
    return std::shared_ptr<PlayerActionBottomBar>(new PlayerActionBottomBar(frame));
}

PlayerActionBottomBar::PlayerActionBottomBar(const ui::Rect& frame)
    : PlayerActionBar(frame)
{
}

PlayerActionBottomBar::Switches PlayerActionBottomBar::switches() const
{
    Switches s;
    if (!m_userSettingsModel)
        return s;
    const auto& model = *m_userSettingsModel;
    s.myData = model.isMydataEnabled();
    s.search = model.isSearchEnabled();
    s.penTool = model.isPenToolEnabled();
    s.stickyNotes = model.isStickyNotesEnabled();
    s.protractor = model.isProtractorEnabled();
    s.review = model.isReviewEnabled();
    s.textAnnotation = model.isTextAnnotationEnabled();
    s.clearAllFIBs = model.isClearAllFIBsEnabled();
    s.audioSync = model.isAudioSyncEnabled();
    return s;
}

int PlayerActionBottomBar::classWorkItemTag(bool isTeacherAnnotationEnable) const
{
    if (!m_hasClassAssociation)
        return PlayerItemSubmitAnnotation;
    const Switches s = switches();
    if (isTeacherAnnotationEnable)
        return s.review ? PlayerItemTeacherReview : 0;
    return s.penTool ? PlayerItemSubmitAnnotation : 0;
}

int PlayerActionBottomBar::getTotalNumberOfItems(bool isTeacherAnnotationEnable) const
{
    const Switches s = switches();
    // Contents and thumbnails are always there.
    int count = 2;
    count += s.myData + s.search + s.penTool + s.stickyNotes + s.protractor;
    count += classWorkItemTag(isTeacherAnnotationEnable) != 0;
    count += s.textAnnotation + s.clearAllFIBs;
    count += m_isFurthestPageEnabled;
    return count;
}

int PlayerActionBottomBar::getTotalNumberOfItemsForFixedEpub() const
{
    const Switches s = switches();
    return 1 + s.myData + s.search + s.penTool + s.stickyNotes + m_isFurthestPageEnabled + s.textAnnotation;
}

void PlayerActionBottomBar::append(const std::shared_ptr<PlayerActionBarItem>& item, double width)
{
    addActionBarItem(item, width, PlayerActionBarItemAlignmentCentre, true);
}

void PlayerActionBottomBar::addPlayerBottomBarForPortraitMode(
    const LXMVThemeVO& theme, int isEpub, bool isTeacherAnnotationEnable)
{
    const Switches s = switches();
    const bool pad = chrome::isPad();
    const double width = pad ? 98.0 : chrome::screenWidth() / 6;
    auto add = [&](const char* icon, int tag) { append(getPlayerItemWithIcon(icon, tag, theme), width); };
    const int classWork = classWorkItemTag(isTeacherAnnotationEnable);
    auto addClassWork = [&] {
        if (classWork)
            add(classWork == PlayerItemTeacherReview ? TEACHER_ANNOTATION_ICON : submitIcon, classWork);
    };

    add(ICON_TOC, PlayerItemTOC);
    if (s.myData)
        add(ICON_MYDATA, PlayerItemMyData);
    if (s.search)
        add(ICON_SEARCH, PlayerItemSearch);

    switch (isEpub) {
    case 2: {
        if (s.audioSync) {
            const bool vemClient = base::UserDefaults::standard().boolForKey(vemClientDefaultsKey);
            auto readAloud
                = getPlayerItemWithIcon(vemClient ? ICON_AUDIO : ICON_AUDIO_SYNC, PlayerItemReadAloud, theme);
            // Read-aloud becomes usable only once the reader has the page's audio.
            readAloud->setEnabled(false);
            readAloud->setAlpha(0.5);
            append(readAloud, width);
        }
        add(ICON_FONTSETTING, PlayerItemFontSetting);
        if (m_isFurthestPageEnabled)
            add(STUDENT_TEACHER_ICON, PlayerItemFurthestPage);
        break;
    }
    case 1: {
        if (s.penTool)
            add(ICON_PENTOOL, PlayerItemPenTool);
        if (s.stickyNotes)
            add(ICON_TAPPABLE_STICKY_NOTE, PlayerItemStickyNote);
        if (!pad && getTotalNumberOfItemsForFixedEpub() >= 6) {
            add(phoneMoreIcon, PlayerItemMore);
            break;
        }
        add(ICON_THUMBNAIL, PlayerItemThumbnail);
        if (m_isFurthestPageEnabled)
            add(STUDENT_TEACHER_ICON, PlayerItemFurthestPage);
        if (s.textAnnotation)
            add(ICON_TEXTANNOTATION, PlayerItemAddText);
        break;
    }
    case 0: {
        if (s.penTool)
            add(ICON_PENTOOL, PlayerItemPenTool);
        if (s.stickyNotes)
            add(ICON_TAPPABLE_STICKY_NOTE, PlayerItemStickyNote);
        const int count = getTotalNumberOfItems(isTeacherAnnotationEnable);
        if (pad) {
            add(ICON_THUMBNAIL, PlayerItemThumbnail);
            if (count >= 8) {
                add(tabletMoreIcon, PlayerItemMore);
                break;
            }
            if (m_isFurthestPageEnabled)
                add(STUDENT_TEACHER_ICON, PlayerItemFurthestPage);
            addClassWork();
            if (s.protractor)
                add(ICON_PROTRACTOR, PlayerItemProtractor);
        } else {
            if (count >= 6) {
                add(phoneMoreIcon, PlayerItemMore);
                break;
            }
            if (s.protractor)
                add(ICON_PROTRACTOR, PlayerItemProtractor);
            addClassWork();
            add(ICON_THUMBNAIL, PlayerItemThumbnail);
            if (m_isFurthestPageEnabled)
                add(STUDENT_TEACHER_ICON, PlayerItemFurthestPage);
        }
        if (s.textAnnotation)
            add(ICON_TEXTANNOTATION, PlayerItemAddText);
        if (s.clearAllFIBs)
            add(ICON_CLEAR, PlayerItemClearAllFIBs);
        break;
    }
    default:
        break;
    }
}

void PlayerActionBottomBar::addPlayerBottomBarForLandscapeMode(
    const LXMVThemeVO& theme, int isEpub, bool isTeacherAnnotationEnable)
{
    const Switches s = switches();
    const bool pad = chrome::isPad();
    const double screenWidth = chrome::screenWidth();
    const int count = getTotalNumberOfItems(isTeacherAnnotationEnable);
    const double ordinary = pad ? 98.0 : screenWidth / count;
    const double sixth = pad ? 98.0 : screenWidth / 6;
    auto add = [&](const char* icon, int tag, double width) {
        append(getPlayerItemWithIcon(icon, tag, theme), width);
    };

    add(ICON_TOC, PlayerItemTOC, ordinary);
    if (s.myData)
        add(ICON_MYDATA, PlayerItemMyData, ordinary);
    if (s.search)
        add(ICON_SEARCH, PlayerItemSearch, ordinary);
    if (isEpub != 0 && isEpub != 1)
        return;

    if (s.penTool)
        add(ICON_PENTOOL, PlayerItemPenTool, ordinary);
    if (s.stickyNotes)
        add(ICON_TAPPABLE_STICKY_NOTE, PlayerItemStickyNote, ordinary);
    add(ICON_THUMBNAIL, PlayerItemThumbnail, ordinary);
    if (m_isFurthestPageEnabled)
        add(STUDENT_TEACHER_ICON, PlayerItemFurthestPage, sixth);
    if (isEpub == 1) {
        if (s.textAnnotation)
            add(ICON_TEXTANNOTATION, PlayerItemAddText, sixth);
        return;
    }

    if (int classWork = classWorkItemTag(isTeacherAnnotationEnable))
        add(classWork == PlayerItemTeacherReview ? TEACHER_ANNOTATION_ICON : submitIcon, classWork, ordinary);
    if (s.protractor)
        add(ICON_PROTRACTOR, PlayerItemProtractor, ordinary);
    if (s.textAnnotation)
        add(ICON_TEXTANNOTATION, PlayerItemAddText, ordinary);
    if (s.clearAllFIBs)
        add(ICON_CLEAR, PlayerItemClearAllFIBs, ordinary);
}

void PlayerActionBottomBar::addThumbnailIconToReflow(const LXMVThemeVO& theme)
{
    append(getPlayerItemWithIcon(ICON_THUMBNAIL, PlayerItemThumbnail, theme),
        chrome::isPad() ? 98.0 : chrome::screenWidth() / 6);
}

std::shared_ptr<PlayerActionBarItem> PlayerActionBottomBar::getPlayerItemWithIcon(
    const std::string& icon, int actionTag, const LXMVThemeVO& theme, int)
{
    auto item = PlayerActionBarItem::create();
    item->setTag(actionTag);
    auto label = chrome::makeConstrainedLabel(icon);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(chrome::iconFont(chrome::bottomBarGlyphSize()));
    chrome::applyTextColor(*label, theme.side_bottom_icons_color());
    item->addSubview(label);
    ui::Constraint::activate({
        label->topAnchor().constraintEqualTo(item->topAnchor()),
        label->centerXAnchor().constraintEqualTo(item->centerXAnchor()),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    setAccessibilityForPlayerActionBottomBarItem(*item);
    return item;
}

void PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(PlayerActionBarItem& item)
{
    item.setAccessibilityTraits(ui::AccessibilityTraits::Button);
    const BottomBarAccessibility* entry = nullptr;
    for (const auto& candidate : bottomBarAccessibility) {
        if (candidate.tag == item.tag())
            entry = &candidate;
    }
    // Copied: labelling the item must not disturb the walk over its subviews.
    const auto subviews = item.subviews();
    for (const auto& subview : subviews) {
        auto label = std::dynamic_pointer_cast<ui::Label>(subview);
        if (!label)
            continue;
        if (item.tag() == PlayerItemSpeedRate) {
            AccessibilityHelper::setAccessibilityForElementID(
                item, speedRateElementID, readerAccessibilityTable, label->text());
            continue;
        }
        if (!entry)
            continue;
        AccessibilityHelper::setAccessibilityForElementID(
            item, entry->elementID, readerAccessibilityTable, "");
        if (entry->labelIdentifier)
            label->setAccessibilityIdentifier(entry->labelIdentifier);
    }
}

} // namespace lectoro
