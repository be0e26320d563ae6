#include "LectoroSDKWithReader/reader/ReaderActionDispatcher.h"

#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationColors.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderToolbarActions.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PenColorSwatchItem.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

// "#RRGGBB", or "" when the theme has no such colour.
std::string hexText(const ThemeValueColor& color)
{
    return color ? "#" + UIColorExpanded::hexStringFromColor(*color) : std::string();
}

void updateSelectedItem(const std::shared_ptr<PlayerActionBar>& bar, const LXMVThemeVO& theme)
{
    if (auto topBar = std::dynamic_pointer_cast<PlayerActionTopBar>(bar))
        topBar->updatePlayerSelectedItem(theme);
}

std::shared_ptr<PXPageVO> nextAudioLinkPage(const PXBookVO& book, int64_t pageID)
{
    const auto& pages = book.pageList;
    auto current = std::find_if(pages.begin(), pages.end(), [&](const auto& page) { return page->pageID == pageID; });
    if (current == pages.end())
        return nullptr;
    for (++current; current != pages.end(); ++current) {
        if (!(*current)->getAudioSyncTypeLinks().empty())
            return *current;
    }
    return nullptr;
}

} // namespace

ReaderActionDispatcher::ReaderActionDispatcher(ReaderContext& context, ReaderToolbarActions& actions)
    : m_context(context)
    , m_actions(actions)
{
}

const LXMVThemeVO& ReaderActionDispatcher::theme() const
{
    static const LXMVThemeVO noTheme;
    return m_context.theme ? *m_context.theme : noTheme;
}

void ReaderActionDispatcher::notifyEvent(const char* eventName)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(std::string(eventName));
}

void ReaderActionDispatcher::didTapOnPlayerActionBar(PlayerActionBar& bar, PlayerActionBarItem& item)
{
    m_actions.removeVerticalBarViewForTeacherReview();
    m_actions.removeSpeedSelectionView();
    auto group = playerActionBarGroupForTag(bar.tag());
    if (!group)
        return;
    switch (*group) {
    case MainBarGroup:
    case MainBarGroupAlternate:
    case TopBar:
    case BottomBar:
        dispatchMainBar(item);
        break;
    case PenToolBar:
        dispatchPenToolBar(item);
        break;
    case TextAnnotationBar:
        dispatchTextAnnotationBar(item);
        break;
    case TextAlignmentBar:
        dispatchTextAlignmentBar(item);
        break;
    case TextColorBar:
        dispatchTextColorBar(item);
        break;
    case ReadAloudBar:
        dispatchReadAloudBar(item);
        break;
    case AudioSyncBar:
        dispatchAudioSyncBar(item);
        break;
    case TeacherBar:
        dispatchTeacherBar(item);
        break;
    }
}

// MARK: - Main bars

void ReaderActionDispatcher::dispatchMainBar(PlayerActionBarItem& item)
{
    const auto& book = m_context.currentBook;
    auto selectedBottomItem = [&] {
        auto& bottom = m_context.playerBottomActionBarView;
        return bottom ? bottom->getSelectedItem() : nullptr;
    };
    switch (item.tag()) {
    case PlayerItemTOC:
        m_actions.didTapOnTOCButton(selectedBottomItem());
        break;
    case PlayerItemMyData:
        m_actions.showMyData(selectedBottomItem());
        break;
    case PlayerItemPenTool:
        m_actions.actionForPentool();
        break;
    case PlayerItemStickyNote:
        m_actions.showStickyNote();
        break;
    case PlayerItemThumbnail:
        if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book)) {
            if (epub->isFixedLayout()) {
                if (epub->isLectoroEpubThumbnailSupported)
                    m_actions.actionForThumbnail();
                else
                    m_actions.actionForFixedEpubThumbnail();
            } else if (epub->isReflowable()) {
                m_actions.actionForReflowThumbnail();
            }
        } else {
            m_actions.removeVerticalBarViewForTeacherReview();
            m_actions.actionForThumbnail();
        }
        break;
    case PlayerItemSearch:
        m_actions.addSearchForText(m_actions.searchTextStr(), false);
        break;
    case PlayerItemMore:
        m_actions.addPlayerVerticalBarForTeacherView();
        break;
    case PlayerItemTeacherReview:
        notifyEvent(LectoroReaderEventConstant::teacherReviewEventName());
        m_actions.removeVerticalBarViewForTeacherReview();
        m_actions.actionForTeacherReview();
        break;
    case PlayerItemSubmitAnnotation:
        m_actions.actionForSubmitAnotation();
        break;
    case PlayerItemReadAloud:
        if (std::dynamic_pointer_cast<PXBookVO>(book) || std::dynamic_pointer_cast<EPUBBookVO>(book)) {
            notifyEvent(LectoroReaderEventConstant::readAloudEventName());
            m_actions.showReadAloudController();
        } else {
            m_actions.didTapOnAudioSyncIcon();
        }
        break;
    case PlayerItemProfile:
        // Optional for the host: a delegate that does not take it does nothing.
        if (m_context.controller) {
            if (auto delegate = m_context.controller->delegate())
                delegate->didTapOnProfilePic(item);
        }
        break;
    case PlayerItemFontSetting:
        m_actions.showReflowableLayoutSettingControllerView(item);
        break;
    case PlayerItemAddText:
        m_actions.actionForTextAnnotation();
        break;
    case PlayerItemProtractor:
        m_actions.didTapOnProtractor();
        break;
    case PlayerItemBackToBookshelf:
        m_actions.didTapOnBackButton();
        break;
    case PlayerItemClearAllFIBs:
        m_actions.didTapOnClearAllFIBs();
        break;
    case PlayerItemPrint:
        m_actions.didTapOnPrintPageWithWatermark();
        break;
    case PlayerItemFurthestPage:
        m_actions.actionForFurtherPage();
        break;
    default:
        break;
    }
    // The back item shows as selected while the reader closes.
    if (item.tag() == PlayerItemBackToBookshelf) {
        auto subviews = item.subviews();
        for (const auto& subview : subviews) {
            if (std::dynamic_pointer_cast<ui::Label>(subview))
                makeSelectionBorderForPlayerActionBarItem(*subview);
        }
    }
}

// MARK: - Pen-tool bar

void ReaderActionDispatcher::dispatchPenToolBar(PlayerActionBarItem& item)
{
    m_actions.updatePentoolButtonStatus();
    updateSelectedItem(m_context.penToolActionBarView, theme());
    switch (item.tag()) {
    case PlayerItemPenColor:
        if (chrome::isPad()) {
            // The tablet bar shows its swatches itself: the draw item only deselects.
            item.setSelected(false);
            updateSelectedItem(m_context.penToolActionBarView, theme());
        } else {
            m_actions.actionForPentoolDrawingMode();
        }
        break;
    case PlayerItemPenThickness:
        m_actions.setPenMode(0);
        m_actions.actionForPenToolThicknessSelected();
        break;
    case PlayerItemPenEraser:
        m_actions.actionForPentoolErase();
        break;
    case PlayerItemPenDeleteSelection:
        m_actions.setPenMode(0);
        m_actions.actionForPentoolDeleteSelection();
        break;
    case PlayerItemPenUndo:
        m_actions.actionForPentoolUndoDrawing();
        break;
    case PlayerItemPenClose:
        m_actions.actionForPentool();
        break;
    case PlayerItemPenColorSwatch:
        if (auto color = swatchColor(item))
            m_actions.didSelectPenColor(*color);
        break;
    default:
        break;
    }
}

// MARK: - Text-annotation bars

void ReaderActionDispatcher::dispatchTextAnnotationBar(PlayerActionBarItem& item)
{
    const auto& renderer = m_context.renderer;
    switch (item.tag()) {
    case PlayerItemTextCancel:
        if (renderer)
            renderer->removeTextAnnotationModeWithoutSave();
        m_actions.removeTextAnnotationView();
        break;
    case PlayerItemTextAlignment:
        m_actions.addTextAnnotationAlignmentView();
        m_actions.removeTextAnnotationColorView();
        break;
    case PlayerItemTextColor:
        m_actions.addTextAnnotationTextColorView();
        m_actions.removeTextAnnotationAlignmentView();
        break;
    case PlayerItemTextDone:
        if (renderer)
            renderer->exitTextAnnotationMode();
        m_actions.actionForTextAnnotation();
        m_actions.removeTextAnnotationColorView();
        m_actions.removeTextAnnotationAlignmentView();
        break;
    case PlayerItemTextExit:
        if (renderer)
            renderer->exitTextAnnotationMode();
        m_actions.removeTextAnnotationView();
        break;
    case PlayerItemTextDelete:
        m_actions.actionForDeleteTextAnnotation();
        break;
    case PlayerItemTextKeyboard:
        m_actions.actionForTextAnnotationKeyBoard();
        break;
    default:
        break;
    }
}

void ReaderActionDispatcher::dispatchTextAlignmentBar(PlayerActionBarItem& item)
{
    const int tag = item.tag();
    if (tag < 1 || tag > 3)
        return;
    if (m_context.renderer)
        m_context.renderer->updateTextAnnotationAlignment(tag - 1);
    m_actions.removeTextAnnotationAlignmentView();
}

void ReaderActionDispatcher::dispatchTextColorBar(PlayerActionBarItem& item)
{
    const int tag = item.tag();
    if (tag < 1 || tag > textboxes::textAnnotationColorPairCount)
        return;
    const auto choice = textboxes::textAnnotationColorPair(theme(), tag);
    const std::string background = hexText(choice.background);
    const std::string text = hexText(choice.text);
    // A theme without the pair gives the box no colour rather than an empty one.
    if (m_context.renderer && (choice.background || choice.text))
        m_context.renderer->updateTextAnnotationWithBackground(background, text);
    // Every colour is marked on the pop-up while it is still open, then the pop-up closes.
    m_actions.setTextAnnotationSelectedColor(background);
    m_actions.removeTextAnnotationColorView();
}

// MARK: - Read-aloud and audio-sync bars

void ReaderActionDispatcher::stepReadAloudPage(bool forward)
{
    const auto activePages = m_actions.getActivePageIDs();
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
    if (book && !activePages.empty()) {
        std::shared_ptr<PXPageVO> page = forward
            ? nextAudioLinkPage(*book, base::integerValue(activePages.back()))
            : book->getPrevAudioLinkPagefromCurrentPageNumber(base::integerValue(activePages.front()));
        if (page) {
            const std::string target = std::to_string(page->pageID);
            const bool visible = std::find(activePages.begin(), activePages.end(), target) != activePages.end();
            if (!visible && m_context.renderer)
                m_context.renderer->navigateToPageNumber(target);
        }
    }
    m_actions.enableNextPrevButtonForReadAloud();
}

void ReaderActionDispatcher::dispatchReadAloudBar(PlayerActionBarItem& item)
{
    switch (item.tag()) {
    case PlayerItemPlayPause:
        m_actions.playPauseAudioSyncIfAny();
        break;
    case PlayerItemReadAloudPreviousPage:
        stepReadAloudPage(false);
        break;
    case PlayerItemReadAloudNextPage:
        stepReadAloudPage(true);
        break;
    case PlayerItemMarkupClose:
        m_context.readAloudMode = ReadAloudModeOff;
        m_actions.stopAudioSyncIfAny();
        m_actions.removeReadAloudTopBar();
        m_context.activeMode = ReaderActiveModeNone;
        break;
    default:
        break;
    }
}

void ReaderActionDispatcher::dispatchAudioSyncBar(PlayerActionBarItem& item)
{
    switch (item.tag()) {
    case PlayerItemPlayPause:
        m_actions.playPauseAudioSyncIfAny();
        break;
    case PlayerItemMarkupClose:
        m_actions.closeAudioSync();
        m_context.activeMode = ReaderActiveModeNone;
        m_context.readAloudMode = ReadAloudModeOff;
        m_actions.moveTopAndBottomOnScreen(true);
        break;
    case PlayerItemSpeedRate:
        m_actions.addSpeedSelectionView();
        break;
    case PlayerItemAudioSyncColorSwatch:
        if (auto color = swatchColor(item))
            m_actions.didSelectAudioSyncColor(*color);
        break;
    case PlayerItemAudioSyncColorPalette:
        m_actions.selectAudioSyncColorPalleteSelectionButton(true);
        m_actions.actionForAudioSyncColorPalletePicker();
        break;
    default:
        break;
    }
}

// MARK: - Teacher bars

void ReaderActionDispatcher::dispatchTeacherBar(PlayerActionBarItem& item)
{
    const auto& renderer = m_context.renderer;
    if (renderer && renderer->isViewLoaded())
        renderer->view()->endEditing(true);
    m_actions.updatePentoolButtonStatus();
    updateSelectedItem(m_context.penToolActionBarView, theme());
    updateSelectedItem(m_context.penToolActionBottomBarView, theme());
    if (item.tag() != PlayerItemDragBox && m_context.isDragBoxModeEnabled) {
        m_context.isDragBoxModeEnabled = false;
        if (renderer)
            renderer->setTeacherReviewDragBoxModeEnabled(false);
    }

    switch (item.tag()) {
    case PlayerItemTeacherPenColor:
        m_actions.actionForTeacherReviewPenColorPalletePicker();
        break;
    case PlayerItemTeacherEraser:
        m_actions.didSelectEraserForTeacherReview();
        break;
    case PlayerItemTeacherDelete:
        if (LectoroNetworkManager::getInstance().isInternetAvailable()) {
            m_actions.removeVerticalBarViewForTeacherReview();
            m_actions.didSelectDeleteForTeacherReview();
        } else {
            if (m_context.controller) {
                auto presenter = std::static_pointer_cast<ui::ViewController>(m_context.controller->shared_from_this());
                AlertView::sharedManager().presentAlertWithTitle({},
                    LocalizationHelper::localizedStringWithKey("INTERNET_UNAVAILABLE_MESSAGE"),
                    std::vector<std::string> { LocalizationHelper::localizedStringWithKey("OK") }, presenter, {});
            }
            if (auto& top = m_context.penToolActionBarView)
                top->resetPlayerActionBarSelection();
        }
        break;
    case PlayerItemStudentName:
        m_actions.saveTeacherReviewedDataWhenUseTapOnStudentname();
        break;
    case PlayerItemTeacherUndo:
        m_actions.actionForPentoolUndoDrawing();
        break;
    case PlayerItemTeacherThumbnail:
        m_actions.actionForThumbnail();
        break;
    case PlayerItemTeacherMore:
        m_actions.addPlayerVerticalBarForTeacherView();
        break;
    case PlayerItemNextPage:
    case PlayerItemPreviousPage:
        m_actions.didClickOnPageButton(item.tag());
        break;
    case PlayerItemDone:
        m_actions.removeVerticalBarViewForTeacherReview();
        m_actions.didSelectDoneForTeacherReview();
        break;
    case PlayerItemBackToStudentList:
        m_actions.backToStudentList();
        break;
    case PlayerItemPenColorSwatch:
        if (auto color = swatchColor(item)) {
            auto& colorBar = chrome::isPad() ? m_context.penToolActionBarView : m_context.penToolActionBottomBarView;
            if (auto topBar = std::dynamic_pointer_cast<PlayerActionTopBar>(colorBar))
                topBar->updateSelectedPenColor(*color, theme());
            m_actions.didSelectPenColorForTeacherReview(*color);
        }
        break;
    case PlayerItemDragBox:
        m_actions.didSelectDragBoxForTeacherReview();
        break;
    case PlayerItemGenerateReport:
        m_actions.didTapOnGenerateReportButton();
        break;
    case PlayerItemNextStudent:
        m_actions.jumpToNextStudent();
        break;
    case PlayerItemPreviousStudent:
        m_actions.jumpToPreviousStudent();
        break;
    default:
        break;
    }
}

// MARK: - Selection

void ReaderActionDispatcher::willResetPlayerActionBar(PlayerActionBar& bar)
{
    if (bar.tag() != PenToolBar && bar.tag() != TeacherBar)
        return;
    const auto& background = theme().pen_tool_toolbar_background();
    const auto& iconColor = theme().pen_tool_toolbar_icons_color();
    for (const auto& item : bar.getTappableItems()) {
        if (!item->subviews().empty())
            item->setBackgroundColor(background);
        for (const auto& subview : item->subviews()) {
            if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
                chrome::applyTextColor(*label, iconColor);
        }
    }
}

void ReaderActionDispatcher::resetAllPlayerActionBar()
{
    for (const auto* bar : { &m_context.playerTopActionBarView, &m_context.playerBottomActionBarView,
             &m_context.penToolActionBarView, &m_context.penToolActionBottomBarView }) {
        if (*bar)
            (*bar)->resetPlayerActionBarSelection();
    }
}

void ReaderActionDispatcher::makeSelectionBorderForPlayerActionBarItem(ui::View& view)
{
    auto* label = dynamic_cast<ui::Label*>(&view);
    if (!label)
        return;
    chrome::applyTextColor(*label, theme().side_bottom_selected_icon_color());
    label->setBackgroundColor(theme().side_bottom_selected_icon_bg());
    label->setClipsToBounds(true);
    label->layer()->setCornerRadius(label->frame().height() / 2);
}

} // namespace lectoro
