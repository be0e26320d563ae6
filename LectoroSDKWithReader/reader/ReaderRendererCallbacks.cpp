// What the reader does when its renderer reports: the book loaded, pages and positions
// coming and going, availability, scrolling, zooming, pinching and tapping.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettings.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "platform/base/Json.h"
#include "platform/base/Strings.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

constexpr double deferredJumpDelay = 0.3;
constexpr double pageOverlayDelay = 0.5;
constexpr double helpRefreshDelay = 0.3;
constexpr double readAloudPauseDelay = 0.1;
constexpr double readAloudStartDelay = 0.8;
constexpr double tapLayoutDuration = 0.5;
constexpr const char* fontSizeKey = "kFontSizeKey";
constexpr int64_t smallestFontStep = 1;
constexpr int64_t largestFontStep = 5;

bool isFixedLayoutEPUB(const std::shared_ptr<LectoroBookVO>& book)
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    return epub && epub->isFixedLayout();
}

bool isReflowableEPUB(const std::shared_ptr<LectoroBookVO>& book)
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    return epub && epub->isReflowable();
}

// chapters[index] of an EPUB book, null outside the list (a display number is the
// renderer's text and may name no chapter).
std::shared_ptr<EPUBChapterVO> chapterAtPosition(const EPUBBookVO& book, int64_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= book.chapters.size())
        return nullptr;
    return book.chapters[static_cast<size_t>(index)];
}

} // namespace

void ReaderViewController::setPageOverlays(std::unique_ptr<ReaderPageOverlays> overlays)
{
    m_pageOverlays = overlays ? std::move(overlays) : ReaderPageOverlays::makeFeaturePainter(*this);
}

// MARK: - Where to open

std::optional<std::string> ReaderViewController::initialDisplayNumber(RendererViewController& renderer)
{
    // A search hit the reader holds opens its page.
    if (const auto& hit = m_search->searchResult())
        m_context.lastPageFolio = hit->displayNumber;
    if (!m_context.lastPageFolio)
        return std::nullopt;
    std::optional<std::string> taken;
    const std::string& folio = *m_context.lastPageFolio;
    if (folio.find("chapterid") != std::string::npos) {
        auto parsed = base::parseJson(folio);
        if (parsed.ok()) {
            const auto& chapter = parsed.value()["chapterid"];
            if (!chapter.isNull())
                taken = chapter.description();
        }
    } else {
        taken = folio;
    }
    // A page book's folio is a printed label; once the book is known it becomes the page
    // number the renderer navigates by. Before that (the renderer asks before it loads)
    // the label is handed on, and the renderer looks labels up first.
    auto book = std::dynamic_pointer_cast<PXBookVO>(
        m_context.currentBook ? m_context.currentBook : renderer.currentBook());
    if (taken && book) {
        // A label no page carries opens the first page, as a jump to it would.
        auto page = ReaderNavigation::getPageByDisplayNum(book->pageList, *taken);
        for (auto it = book->pageList.begin(); !page && it != book->pageList.end(); ++it)
            page = *it;
        taken = base::format("%ld", static_cast<long>(page ? page->pageID : 0));
    }
    return taken;
}

// MARK: - Book loaded

void ReaderViewController::didBookLoadedSuccessfullyWithBook(
    RendererViewController&, std::shared_ptr<LectoroBookVO> book)
{
    auto protect = shared_from_this();
    m_context.analyticsHandler = std::make_shared<MVLectoroAnalyticsHandler>();
    m_context.audioSyncSelectedColor = "#E8BD7F";
    m_context.audioSyncSpeedRateOption = 2;
    m_context.currentBook = book;
    if (auto delegate = m_delegate.lock())
        delegate->didBookLoadedSuccessfullyWithBook(book);
    if (m_cleared)
        return;

    // A search asked for by the launcher wins over a page to jump to.
    if (!m_context.elasticSearchText.empty()) {
        bool paged
            = book && (book->kind() == LectoroBookKind::PageBook || book->kind() == LectoroBookKind::EPUB);
        m_search->addSearchForText(m_context.elasticSearchText, paged);
        if (paged && !m_search->hasSearchResult()) {
            m_search->enablePreviousButtonForElasticSearch(false);
            m_search->enableNextButtonForElasticSearch(false);
        } else if (paged) {
            m_search->jumpToHeldResultAfterElasticStart();
        }
    } else if (!m_context.jumpToPageId.empty()) {
        auto weak = weakSelf();
        std::string target = m_context.jumpToPageId;
        base::RunLoop::main().postDelayed(deferredJumpDelay, lifetimeToken(), [weak, target] {
            if (auto self = weak.lock(); self && self->m_context.renderer)
                self->m_context.renderer->navigateToPageNumber(
                    std::to_string(self->m_navigation->getPageIDForDisplayNumber(target)));
        });
    }

    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book)) {
        int64_t mode = pageBook->bookOrientationType == 0 ? RendererBookOrientationDevice
            : pageBook->bookOrientationType == 1          ? RendererBookOrientationPortrait
                                                          : RendererBookOrientationFree;
        if (m_context.renderer)
            m_context.renderer->setBookOrientationMode(mode);
    } else if (book) {
        auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
        if (m_context.settings && epub)
            m_context.settings->setIsAudioSyncEnabled(epub->isAudioSyncSupported);
        if (m_context.renderer)
            m_context.renderer->setBookOrientationMode(RendererBookOrientationFree);
        if (epub && epub->isReflowable()) {
            const auto* printable = epub->printEnabledPageArray.asList();
            if (m_context.isReflowPrintEnable || (printable && !printable->empty())
                || !m_myData->printEnabledPageArray().empty()) {
                if (m_context.settings)
                    m_context.settings->setIsPrintEnabled(true);
                if (m_context.isTwoPageSeperationDisabled && m_context.renderer)
                    m_context.renderer->disableTwoPageSeperation(true);
            }
        }
        if (epub)
            epub->setIsThumbnailForReflowableEnabled(m_context.isThumbnailForReflowableEnabled);
    }

    if (m_context.dbManager)
        m_context.dbManager->setBook(book);
    m_bars->addPlayerActionBarForTopAndBottom();
    m_bars->updatePlayerActionBarForSelectedBook();
    m_annotations->changeAudioButtonStatus();

    std::string bookIDText = std::to_string(m_context.bookID);
    int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    if (m_context.dbManager) {
        auto classes = m_context.dbManager->bookClassInfoArrayForBookID(bookIDText, userID);
        if (!classes.empty())
            m_context.bookClassInfo = classes.front();
    }

    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book))
        setEPUBReaderSettings(epub);

    m_context.bookOpenTimeStamp = base::Clock::now();
    m_readingSession->trackBookOpenEvent();

    if (m_context.dataSyncManager && m_context.user) {
        auto weak = std::weak_ptr<LectoroDataSyncingManagerDelegate>(
            std::static_pointer_cast<ReaderViewController>(shared_from_this()));
        const auto& token = m_context.user->userToken;
        m_context.dataSyncManager->fetchUGCOperationForBookID(
            m_context.bookID, userID, weak, token, m_context.bookVersion);
        m_context.dataSyncManager->fetchAndSaveSormDataForUserID(
            userID, m_context.bookID, m_context.classID, weak, token);
        if (m_context.renderer && m_context.renderer->isFurthestPageEnabled())
            m_context.dataSyncManager->fetchFurthestPageDataForBookID(m_context.bookID, userID, weak, token);
    }

    if (m_context.elasticSearchText.empty())
        m_chrome->showHelpScreen();
}

void ReaderViewController::setEPUBReaderSettings(const std::shared_ptr<EPUBBookVO>& book)
{
    if (!book || !book->isReflowable())
        return;
    m_reflowable->setUpForBook(
        book, book->userReaderFontSettings && book->userReaderFontSettings->scrollEnabled);
}

// MARK: - Pages

void ReaderViewController::willLoadPageWithPageNumber(
    RendererViewController&, int64_t, const std::optional<std::string>& displayNumber)
{
    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook)) {
        auto chapter = chapterAtPosition(*epub, base::integerValue(displayNumber.value_or(std::string())));
        m_myData->configurePrintIconForChapter(chapter.get());
        auto bottom = m_context.playerBottomActionBarView;
        if (auto audioButton = bottom ? m_annotations->getAudioButtonForPlayer(*bottom) : nullptr) {
            bool supported = chapter && chapter->isAudioSyncSupported;
            auto pages
                = m_context.renderer ? m_context.renderer->getActivePages() : std::vector<RendererPage> {};
            if (!supported && ui::isLandscape(ui::Environment::current().deviceOrientation())
                && pages.size() >= 2) {
                auto last = m_navigation->getEpubChapterForIndex(pages.back().fileIndex);
                supported = last && last->isAudioSyncSupported;
            }
            audioButton->setEnabled(supported);
            audioButton->setAlpha(supported ? 1.0 : 0.5);
            if (!supported)
                m_readAloud->closeAudioSync();
        }
    }

    if (displayNumber) {
        m_context.pagesLoadStartTimeDictionary.erase(*displayNumber);
        if (!isReflowableEPUB(m_context.currentBook))
            m_readingSession->trackAnalyticsEvent();
        m_context.pagesLoadStartTimeDictionary[*displayNumber] = base::RunLoop::main().now();
    } else {
        LectoroDebugLog::logWithType(1, "ReaderViewController", "NO DISPLAY NUMBER DETECTED");
    }
    switch (m_context.activeMode) {
    case ReaderActiveModeHighlightPopup:
        if (m_context.renderer)
            m_context.renderer->removeHighlightView();
        m_context.activeMode = ReaderActiveModeNone;
        break;
    case ReaderActiveModeBookmark:
        m_annotations->removeBookmarkVC();
        m_context.activeMode = ReaderActiveModeNone;
        break;
    default:
        m_interactive->removePopOverForActiveMode();
        break;
    }
}

void ReaderViewController::didLoadPageWithPageNumber(
    RendererViewController&, int64_t pageNumber, const std::optional<std::string>& displayNumber)
{
    auto protect = shared_from_this();
    std::string display = displayNumber.value_or(std::string());
    LectoroDebugLog::logWithType(1, "ReaderViewController",
        "didLoadPageWithPageNumber--" + std::to_string(pageNumber) + " and With DisplayNumber--" + display,
        "");

    m_interactive->stopInlineVideo();
    if (m_context.readAloudMode != ReadAloudModeReadToMe
        && m_context.readAloudMode != ReadAloudModeAutoPlay) {
        m_readAloud->removeSpeedSelectionView();
        m_readAloud->resetAudioPlayerPosition();
        m_readAloud->closeAudioSync();
    }
    if (m_readAloud->hasAudioSyncController() && m_readAloud->isAudioSyncPlaying())
        m_readAloud->pauseAudioSyncIfAny();

    auto book = m_context.currentBook;
    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book)) {
        if (auto chapter = pageBook->getChapterForPageID(std::to_string(pageNumber))) {
            m_context.currentChapterName = chapter->title;
            m_context.currentChapter = chapter->chapterID;
        }
    } else if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book)) {
        int64_t fileIndex = base::integerValue(display);
        // Chapters sit at their file index; the walk is for a book that breaks the rule.
        auto chapter = epub->chapterAtIndex(fileIndex);
        for (size_t i = 0; (!chapter || chapter->fileIndex != fileIndex) && i < epub->chapters.size(); ++i) {
            if (epub->chapters[i] && epub->chapters[i]->fileIndex == fileIndex)
                chapter = epub->chapters[i];
        }
        if (chapter && chapter->fileIndex == fileIndex)
            updateChapterTitleForChapter(*chapter);
    }
    m_bars->updateChapterNameForTopBar();

    if (m_context.activeMode == ReaderActiveModeTeacherReview) {
        // Review draws the learner's layers and nothing of the reader's own.
        if (m_teacherReview->hasPenToolController()) {
            std::string page = std::to_string(pageNumber);
            if (m_teacherReview->isAnnotationEnabled())
                m_teacherReview->drawTeacherReviewPenDrawingsOnPageNumber(page);
            m_teacherReview->drawTeacherReviewFIBOnPageNumber(page);
            m_teacherReview->drawTeacherReviewDropDownOnPageNumber(page);
            m_teacherReview->actionForTeacherReviewPageChanged();
            m_teacherReview->updateTeacherReviewUI();
        }
        return;
    }

    if (m_context.activeMode == ReaderActiveModeNone && !m_chrome->isHelpScreenShown()
        && (std::dynamic_pointer_cast<PXBookVO>(book) || isFixedLayoutEPUB(book)))
        m_bars->moveTopAndBottomOffScreenWithIsAnimate(true);

    std::string page = std::to_string(pageNumber);
    m_annotations->updateIphoneBottomBarPageSliderForPageNumber(page);
    m_pageOverlays->drawHighlightsOnPageNumber(page, display);
    if (m_context.settings && m_context.settings->isBookmarkEnabled()) {
        // The bookmark and print button sit above the highlights, so they come once the
        // page has settled.
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(pageOverlayDelay, lifetimeToken(), [weak, page, display] {
            if (auto self = weak.lock()) {
                self->m_pageOverlays->addBookmarkOnPageNumber(page, display);
                self->m_pageOverlays->addPrintPageViewOnPageNumber(page, display);
            }
        });
    } else {
        m_pageOverlays->addPrintPageViewOnPageNumber(page, display);
    }
    m_pageOverlays->drawPenDrawingsOnPageNumber(page, display);
    m_pageOverlays->drawMarkupsOnPageNumber(page, display);
    m_pageOverlays->drawTextAnnotationsOnPageNumber(page, display);
    m_pageOverlays->drawProtractorOnPageNumber(page, display);

    {
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(pageOverlayDelay, lifetimeToken(), [weak] {
            if (auto self = weak.lock())
                self->m_navigation->updateActivePagesInfoLabel();
        });
    }
    if (m_context.activeMode == ReaderActiveModePenTool && m_context.renderer)
        m_context.renderer->setPenDrawingModeEnabled(true);

    if (isFixedLayoutEPUB(book))
        m_navigation->setpagesIntoHistoryArray(page);

    m_search->markSearchHitsOnLoadedPage(pageNumber);

    if (isReflowableEPUB(book) && m_context.lastPageFolio) {
        // The first page of a reflowable book consumes the position it was opened at.
        m_context.validLastPageFolio = m_context.lastPageFolio;
        auto parsed = base::parseJson(*m_context.lastPageFolio);
        if (parsed.ok()) {
            if (auto position = parsed.value()["positionIdentifier"].asString();
                position && m_context.renderer)
                m_context.renderer->jumpToCFIString(*position);
        }
        m_context.lastPageFolio.reset();
    }

    if (m_chrome->isHelpScreenShown()) {
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(helpRefreshDelay, lifetimeToken(), [weak] {
            if (auto self = weak.lock(); self && self->m_chrome->isHelpScreenShown())
                self->m_chrome->refreshHelpDescriptors(true);
        });
    }

    if (!m_context.isappInBackground
        && (m_context.readAloudMode == ReadAloudModeReadToMe
            || m_context.readAloudMode == ReadAloudModeAutoPlay)) {
        m_readAloud->pauseAudioSyncIfAny();
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(readAloudPauseDelay, lifetimeToken(), [weak, page] {
            if (auto self = weak.lock())
                self->continueReadAloudForPage(page);
        });
    }
}

bool ReaderViewController::isReadAloudContinuationDue(const std::string& loadedPage,
    const std::string& currentReadAloudPageId, const std::string& lastReadAloudPageId,
    const std::string& firstActivePage, const std::string& lastActivePage)
{
    const auto& p = loadedPage;
    const auto& c = currentReadAloudPageId;
    if (c == p || lastReadAloudPageId == p)
        return false;
    if (c.empty())
        return true;
    if (c != firstActivePage && c != lastActivePage && p == firstActivePage)
        return true;
    return firstActivePage == lastActivePage && c == firstActivePage && p != firstActivePage;
}

void ReaderViewController::continueReadAloudForPage(const std::string& page)
{
    auto active = m_annotations->getActivePageIDs();
    std::string first = active.empty() ? std::string() : active.front();
    std::string last = active.empty() ? std::string() : active.back();
    if (!isReadAloudContinuationDue(
            page, m_context.currentReadAloudPageId, m_context.lastReadAloudPageId, first, last))
        return;
    auto weak = weakSelf();
    base::RunLoop::main().postDelayed(readAloudStartDelay, lifetimeToken(), [weak] {
        if (auto self = weak.lock())
            self->actionForReadAloud();
    });
}

void ReaderViewController::actionForReadAloud()
{
    m_readAloud->actionForReadAloud();
}

void ReaderViewController::willUnloadPageWithPageNumber(
    RendererViewController&, int64_t, const std::optional<std::string>& displayNumber)
{
    std::string display = displayNumber.value_or(std::string());
    auto& starts = m_context.pagesLoadStartTimeDictionary;
    if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
        epub && epub->isReflowable()) {
        auto start = starts.find(display);
        if (start != starts.end() && m_context.analyticsHandler) {
            double seconds = base::RunLoop::main().now() - start->second;
            std::optional<std::string> chapterName;
            if (auto chapter = chapterAtPosition(*epub, base::integerValue(display)))
                chapterName = chapter->idref;
            m_context.analyticsHandler->trackEvent(
                MVLectoroAnalyticsHandler::MVAnalyticsEventType::PageTracking,
                MVLectoroAnalyticsMetaData::pageTracking(std::nullopt, display,
                    std::to_string(static_cast<int64_t>(seconds)), display, chapterName, base::makeUuid()));
        }
    } else {
        if (m_context.renderer)
            m_context.renderer->set3dVideoModeEnabled(false);
        m_readingSession->trackAnalyticsEvent();
    }
    starts.erase(display);
    // Stored as the page leaves, so a process ended now keeps the page's time; only the
    // events new since the last save are written, and the timer's save syncs them.
    m_readingSession->storePageTimeAsItLeaves();
}

void ReaderViewController::willLoadCFI(RendererViewController&, const std::vector<std::string>& cfis, int64_t,
    const std::optional<std::string>& displayNumber)
{
    m_readingSession->trackCFIAnalyticsEventWith(displayNumber.value_or(std::string()));
    double now = base::RunLoop::main().now();
    for (const auto& cfi : cfis)
        m_context.CFIsLoadStartTimeDictionary[cfi] = now;
}

void ReaderViewController::willUnloadCFI(RendererViewController&, const std::vector<std::string>& cfis,
    int64_t, const std::optional<std::string>& displayNumber)
{
    m_readingSession->trackCFIAnalyticsEventWith(displayNumber.value_or(std::string()));
    for (const auto& cfi : cfis)
        m_context.CFIsLoadStartTimeDictionary.erase(cfi);
    // Stored with the chapter's page, which leaves next.
    m_readingSession->storePositionsBeforeTheirPage();
}

void ReaderViewController::didRendererChangedAvailabilityForActionState(
    RendererViewController&, int64_t state, int64_t pageNumber, const std::optional<std::string>&)
{
    if (state == 1) {
        m_navigation->setpagesIntoHistoryArray(std::to_string(pageNumber));
        m_annotations->updateClearAllFIBsButtonStatus();
    }
    if (m_context.readAloudMode != ReadAloudModeOff)
        m_readAloud->enableNextPrevButtonForReadAloud();
}

// MARK: - Reflowable positions

void ReaderViewController::bookLoadingCompletedWithContentSize(int64_t size)
{
    m_reflowable->bookLoadingCompletedWithContentSize(size);
}

void ReaderViewController::bookCFIsLoadingCompleted(int64_t count)
{
    m_reflowable->bookCFIsLoadingCompleted(count);
}

void ReaderViewController::didBookChaptersProcessSuccessfully(
    int64_t chaptersMeasured, int64_t chapterContentSize, bool isCoverPage)
{
    m_reflowable->didBookChaptersProcessSuccessfully(chaptersMeasured, chapterContentSize, isCoverPage);
}

void ReaderViewController::didChangeContentPosition(
    RendererViewController&, double position, int64_t chapter, double contentSize, bool isCoverPage)
{
    m_reflowable->didChangeContentPosition(position, chapter, contentSize, isCoverPage);
}

void ReaderViewController::didChangeBookCFI(
    RendererViewController&, const std::string& cfi, const std::string&, int64_t)
{
    m_readingSession->didChangePageIdentifier(cfi);
    m_reflowable->didChangeBookCFI(cfi);
}

void ReaderViewController::didChangeReflowableBookPage(RendererViewController&, const std::string& pageText,
    int64_t chapter, int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage)
{
    m_reflowable->didChangeReflowableBookPage(
        pageText, chapter, totalPagesInChapter, totalPagesInBook, isCoverPage);
}

void ReaderViewController::didUpdateFurthestPage(RendererViewController&, const std::string& furthestPageJSON)
{
    m_reflowable->didUpdateFurthestPage(furthestPageJSON);
}

// MARK: - Gestures

void ReaderViewController::didPageBeginScroll(RendererViewController&)
{
    if (m_context.activeMode == ReaderActiveModeBookmark) {
        m_annotations->removeBookmarkVC();
        m_context.activeMode = ReaderActiveModeNone;
    }
}

void ReaderViewController::didZoomInPage(RendererViewController&, int64_t)
{
    if (m_context.activeMode == ReaderActiveModeInstructionPopup)
        m_interactive->removeInstructionMarkupPopOver();
}

void ReaderViewController::didZoomOutPage(RendererViewController&, int64_t)
{
    if (m_context.activeMode == ReaderActiveModeInstructionPopup)
        m_interactive->removeInstructionMarkupPopOver();
}

void ReaderViewController::didPinchOnPage(RendererViewController&, bool pinchIn)
{
    int64_t current = base::UserDefaults::standard().integerForKey(fontSizeKey);
    int64_t step = pinchIn ? current - 1 : current + 1;
    if (step < smallestFontStep || step > largestFontStep)
        return;
    didChangeFontSizeForReflow(step);
}

void ReaderViewController::didChangeFontSizeForReflow(int64_t step)
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (epub && epub->userReaderFontSettings)
        epub->userReaderFontSettings->fontSize = static_cast<int16_t>(step);
    static const std::vector<std::string> stepNames { "Default", "Small", "Medium", "Large", "XLarge",
        "XXLarge" };
    if (m_context.analyticsHandler) {
        base::Value::Dictionary info;
        info.set(std::string(LectoroReaderEventConstant::fontSizeEventParameterFontSizeValue()),
            ReflowableLayoutSettings::convertFontSettingsEnumToString(step, stepNames));
        m_context.analyticsHandler->notifyEvent(
            std::string(LectoroReaderEventConstant::fontSizeEventName()), base::Value(std::move(info)));
    }
    // The step is remembered so the next pinch moves on from it.
    auto& defaults = base::UserDefaults::standard();
    defaults.setInteger(fontSizeKey, step);
    defaults.synchronize();
    if (m_context.renderer)
        m_context.renderer->didFontSizeChanged(step);
    m_reflowable->addSliderBarForReflowableBook();
    if (epub)
        m_reflowable->saveReaderFontSetting(epub->userReaderFontSettings);
}

void ReaderViewController::didSingleTapOnPage(RendererViewController&, int64_t)
{
    singleTapOnPage();
}

void ReaderViewController::toggleTopAndBottomBars()
{
    if (isPlayerActionBarHidden())
        moveTopAndBottomOnScreenWithIsAnimate(true);
    else
        moveTopAndBottomOffScreenWithIsAnimate(true);
}

void ReaderViewController::singleTapOnPage()
{
    auto endRendererEditing = [this] {
        if (m_context.renderer)
            if (auto rendererView = m_context.renderer->viewIfLoaded())
                rendererView->endEditing(true);
    };
    switch (m_context.activeMode) {
    case ReaderActiveModeNone:
    case ReaderActiveModeVideo:
    case ReaderActiveModeReflowableSettings:
        toggleTopAndBottomBars();
        break;
    case ReaderActiveModeHighlightPopup:
        m_annotations->removeHighlightPopup();
        break;
    case ReaderActiveModeBookmark:
        m_annotations->removeBookmarkVC();
        break;
    case ReaderActiveModeTeacherReview:
        endRendererEditing();
        break;
    case ReaderActiveModeContents:
        removeTOC();
        break;
    case ReaderActiveModeAudioPlayer:
        manageTopBottomBar();
        break;
    case ReaderActiveModeFillInBlank:
        endRendererEditing();
        m_context.activeMode = ReaderActiveModeNone;
        break;
    case ReaderActiveModeReadAloud:
        m_readAloud->removeSpeedSelectionView();
        if (!m_readAloud->hasAudioSyncController())
            toggleTopAndBottomBars();
        break;
    default:
        m_interactive->removePopOverForActiveMode();
        break;
    }

    std::weak_ptr<ui::View> weakView = viewIfLoaded();
    ui::View::animate(tapLayoutDuration, [weakView] {
        if (auto view = weakView.lock())
            view->layoutIfNeeded();
    });
    auto weak = weakSelf();
    base::RunLoop::main().postDelayed(tapLayoutDuration, lifetimeToken(), [weak] {
        if (auto self = weak.lock())
            ui::Environment::current().postAccessibilityScreenChanged(self->m_context.playerTopActionBarView);
    });
}

void ReaderViewController::manageTopBottomBar()
{
    // Only an audio resource playing in the background lets the bars toggle.
    const auto& audio = m_interactive->players().audioPlayer();
    if (audio && audio->isAudioResourcePlaybackground)
        toggleTopAndBottomBars();
}

void ReaderViewController::didCompleteSearchDecryptionForBookPath(RendererViewController&, const std::string&)
{
    m_search->didCompleteSearchDecryptionForBookPath();
}

} // namespace lectoro
