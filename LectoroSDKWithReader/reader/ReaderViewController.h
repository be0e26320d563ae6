#pragma once

// The reading screen of one open book. The controller is a facade: the state lives in a
// ReaderContext and each concern in a feature object of its own subsystem; the facade
// keeps the operations the launcher and the host call, runs the set-up order, and answers
// the renderer and the sync client, routing their callbacks to the features.
//
// Creation goes through create(): the renderer and the sync client hold the reader
// weakly as their delegate, so it must already be shared when they are made.

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionDelegate.h"
#include "LectoroSDKWithReader/readersdk/RendererViewControllerDelegate.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace lectoro {

class EPUBBookVO;
class EPUBChapterVO;
class ReaderActionDispatcher;
class AnnotationsHost;
class BookmarkRoad;
class ClearAnswersRoad;
class PenRoad;
class HighlightRoad;
class NoteRoad;
class PageAnnotationsDrawer;
class ReaderAnnotations;
class TextAnnotationRoad;
class ReaderPageOverlays;
class ReaderReflowable;
class SDKBookmarkVO;
class ReaderBars;
class ReaderChrome;
class ContentsHost;
class ReaderContents;
class ReaderInteractiveContent;
class InteractiveReader;
class ReaderMyData;
class PhonePageSlider;
class ReaderNavigation;
class ReaderReadAloud;
class ReaderReadingAids;
class ReaderSearch;
class SearchAudioPlayer;
class ReaderTeacherReview;
class TeacherReviewReader;
class ReadingSession;
class ReaderToolbarRouter;
class ReaderVerticalBar;

class ReaderViewController : public ui::ViewController,
                             public RendererViewControllerDelegate,
                             public LectoroDataSyncingManagerDelegate,
                             public PlayerActionDelegate {
public:
    // The three creation variants: without ISBN (encryption "V1"), with ISBN, and with
    // ISBN and additional information for the renderer.
    static std::shared_ptr<ReaderViewController> create(const std::string& bookPath, int64_t bookID,
        std::shared_ptr<LectoroUser>, const std::string& baseURL, const std::string& clientID,
        std::shared_ptr<MVReaderSettingModel>, const std::string& bookVersion);
    static std::shared_ptr<ReaderViewController> create(const std::string& bookPath, int64_t bookID,
        std::shared_ptr<LectoroUser>, const std::string& isbn, const std::string& baseURL,
        const std::string& clientID, std::shared_ptr<MVReaderSettingModel>, const std::string& bookVersion);
    static std::shared_ptr<ReaderViewController> create(const std::string& bookPath, int64_t bookID,
        std::shared_ptr<LectoroUser>, const std::string& isbn, const std::string& baseURL,
        const std::string& clientID, std::shared_ptr<MVReaderSettingModel>, const base::Value& additionalInfo,
        const std::string& bookVersion);

    ~ReaderViewController() override;

    std::string_view className() const override { return "ReaderViewController"; }

    ReaderContext& context() { return m_context; }
    const ReaderContext& context() const { return m_context; }

    // Features, one per concern.
    ReaderAnnotations& annotations() { return *m_annotations; }
    HighlightRoad& highlightRoad() { return *m_highlightRoad; }
    PageAnnotationsDrawer& pageAnnotations() { return *m_pageAnnotations; }
    NoteRoad& noteRoad() { return *m_noteRoad; }
    PenRoad& penRoad() { return *m_penRoad; }
    BookmarkRoad& bookmarkRoad() { return *m_bookmarkRoad; }
    ClearAnswersRoad& clearAnswersRoad() { return *m_clearAnswersRoad; }
    TextAnnotationRoad& textAnnotationRoad() { return *m_textAnnotationRoad; }
    ReaderInteractiveContent& interactiveContent() { return *m_interactive; }
    ReaderContents& contents() { return *m_contents; }
    ReaderSearch& search() { return *m_search; }
    ReaderMyData& myData() { return *m_myData; }
    ReaderTeacherReview& teacherReview() { return *m_teacherReview; }
    ReaderReadAloud& readAloud() { return *m_readAloud; }
    ReaderReadingAids& readingAids() { return *m_readingAids; }
    ReaderChrome& chrome() { return *m_chrome; }
    ReadingSession& readingSession() { return *m_readingSession; }
    ReaderNavigation& navigation() { return *m_navigation; }
    PhonePageSlider& phonePageSlider() { return *m_phonePageSlider; }
    ReaderBars& bars() { return *m_bars; }
    // The reader as the delegate of its bars (taps reach it as didTapOnPlayerActionBar).
    std::weak_ptr<PlayerActionDelegate> playerActionDelegate();
    ReaderVerticalBar& verticalBar() { return *m_verticalBar; }
    ReaderToolbarRouter& toolbarRouter() { return *m_toolbarRouter; }
    ReaderActionDispatcher& actionDispatcher() { return *m_actionDispatcher; }
    ReaderReflowable& reflowable() { return *m_reflowable; }
    // What a page load draws goes through this painter (null puts the reader's own back).
    void setPageOverlays(std::unique_ptr<ReaderPageOverlays>);
    ReaderPageOverlays& pageOverlays() { return *m_pageOverlays; }

    // The reader's bars slide on and off screen only through these two.
    void moveTopAndBottomOffScreenWithIsAnimate(bool animate, std::function<void()> completion = {});
    void moveTopAndBottomOnScreenWithIsAnimate(bool animate, std::function<void(bool finished)> completion = {});
    bool isPlayerActionBarHidden() const { return m_context.isPlayerActionBarHidden; }
    void resetAllPlayerActionBar();

    // PlayerActionDelegate.
    void didTapOnPlayerActionBar(PlayerActionBar&, PlayerActionBarItem&) override;
    void willResetPlayerActionBar(PlayerActionBar&) override;

    // Public properties.
    std::shared_ptr<ReaderViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<ReaderViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<RendererViewController> rendererView() const { return m_context.renderer; }
    std::shared_ptr<MVReaderSettingModel> userSettingsModel() const { return m_context.settings; }
    std::shared_ptr<LectoroUser> user() const { return m_context.user; }
    std::shared_ptr<LectoroBookVO> currentBook() const { return m_context.currentBook; }
    int64_t bookID() const { return m_context.bookID; }
    const std::optional<std::string>& microServicesBaseURLString() const
    {
        return m_context.microServicesBaseURLString;
    }
    // Also handed to the sync client.
    void setMicroServicesBaseURLString(std::optional<std::string>);
    const std::string& immersiveReaderBaseURLString() const { return m_context.immersiveReaderBaseURLString; }
    void setImmersiveReaderBaseURLString(std::string url)
    {
        m_context.immersiveReaderBaseURLString = std::move(url);
    }
    const std::string& classID() const { return m_context.classID; }
    void setClassID(std::string classID) { m_context.classID = std::move(classID); }
    const std::optional<std::string>& lastPageFolio() const { return m_context.lastPageFolio; }
    void setLastPageFolio(std::optional<std::string> folio) { m_context.lastPageFolio = std::move(folio); }
    int64_t avgTimePerPage() const { return m_context.avgTimePerPage; }
    void setAvgTimePerPage(int64_t seconds) { m_context.avgTimePerPage = seconds; }
    const std::string& elasticSearchText() const { return m_context.elasticSearchText; }
    void setElasticSearchText(std::string text) { m_context.elasticSearchText = std::move(text); }
    const std::string& jumpToPageId() const { return m_context.jumpToPageId; }
    void setJumpToPageId(std::string id) { m_context.jumpToPageId = std::move(id); }

    bool hasClassAssociation() const { return m_context.hasClassAssociation; }
    void setHasClassAssociation(bool value) { m_context.hasClassAssociation = value; }
    bool isAudioSearchNoteEnabled() const { return m_context.isAudioSearchNoteEnabled; }
    void setIsAudioSearchNoteEnabled(bool value) { m_context.isAudioSearchNoteEnabled = value; }
    bool isReflowPrintEnable() const { return m_context.isReflowPrintEnable; }
    void setIsReflowPrintEnable(bool value) { m_context.isReflowPrintEnable = value; }
    // The host's printable chapter hrefs or page display numbers, comma-separated; an
    // absent string keeps the list.
    void setPrintEnabledPageArray(const std::optional<std::string>& pages);
    bool isUsingDefaultMathIcon() const { return m_context.isUsingDefaultMathIcon; }
    void setIsUsingDefaultMathIcon(bool value) { m_context.isUsingDefaultMathIcon = value; }
    bool isImmeresiveReaderEnabled() const { return m_context.isImmeresiveReaderEnabled; }
    void setIsImmeresiveReaderEnabled(bool value) { m_context.isImmeresiveReaderEnabled = value; }
    bool isThumbnailForReflowableEnabled() const { return m_context.isThumbnailForReflowableEnabled; }
    void setIsThumbnailForReflowableEnabled(bool value) { m_context.isThumbnailForReflowableEnabled = value; }
    bool isGoogleTranslateEnabled() const { return m_context.isGoogleTranslateEnabled; }
    void setIsGoogleTranslateEnabled(bool value) { m_context.isGoogleTranslateEnabled = value; }
    bool isFIBLevelKeyboardEnabled() const { return m_context.isFIBLevelKeyboardEnabled; }
    void setIsFIBLevelKeyboardEnabled(bool value) { m_context.isFIBLevelKeyboardEnabled = value; }
    void setAppDisplayName(std::string text) { m_context.appDisplayName = std::move(text); }
    void setBookTitle(std::string text) { m_context.bookTitle = std::move(text); }
    void setAuthorName(std::string text) { m_context.authorName = std::move(text); }
    void setBookThumbnailImage(std::string text) { m_context.bookThumbnailImage = std::move(text); }
    void setGoogleAPIKey(std::string text) { m_context.googleAPIKey = std::move(text); }

    // Public switches.
    void hideProfileSettings(bool value) { m_context.hideProfileSettingsButton = value; }
    bool isProfileSettingsHidden() const { return m_context.hideProfileSettingsButton; }
    void disableShareSettings(bool value) { m_context.isShareSettingsDisabled = value; }
    void disableNoteNotification(bool value) { m_context.isNoteNotificationDisabled = value; }
    void disableTwoPageSeperationLine(bool value) { m_context.isTwoPageSeperationDisabled = value; }
    // Forwarded unchanged to the renderer.
    void enableFurthestPage(bool);
    void setFurthestPageData(const std::string&);
    void setLogsEnabled(bool);
    void setVerboseEnabled(bool);
    int64_t readAloudMode() const { return m_context.readAloudMode; }
    void setReadAloudMode(int64_t mode) { m_context.readAloudMode = mode; }
    uint64_t activeMode() const { return m_context.activeMode; }
    void setActiveMode(uint64_t mode) { m_context.activeMode = mode; }
    uint64_t backgroundActiveMode() const { return m_context.backgroundActiveMode; }

    // Releases the book, the companion objects, the observers and the timers.
    void uninitializeReader();
    void updateReaderForLanguageChange();
    // Gives every item of the top and bottom bars its label in the current language.
    void addAccessibilityOnActionBarItem();

    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override { return true; }
    int64_t getOrientationMode() const;
    // "ClientConfig.plist" of the library's bundle; absent when missing or broken.
    std::optional<base::Value> getClientConfigDictionary() const;

    // Closing. The reader never dismisses itself: it tells its delegate.
    void didTapOnBackButton();
    void signOutAction();
    void closeReaderForSessionExpiry();
    void getUnSyncedUgc();
    void clearObjects();
    bool isCleared() const { return m_cleared; }
    // Delayed work of the reader is bound to this token: it is dropped once the reader is
    // cleared or gone.
    std::weak_ptr<const void> lifetimeToken() const { return m_lifetime; }

    // Life cycle.
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // RendererViewControllerDelegate (ReaderRendererCallbacks.cpp).
    using RendererViewControllerDelegate::didPageBeginScroll;
    std::optional<std::string> initialDisplayNumber(RendererViewController&) override;
    void didBookLoadedSuccessfullyWithBook(RendererViewController&, std::shared_ptr<LectoroBookVO>) override;
    // The reader carries on without a book; the failure is kept for the host to read.
    void didBookLoadingFailedWithError(RendererViewController&, const base::Error& error) override
    {
        m_bookLoadingError = error;
    }
    const std::optional<base::Error>& bookLoadingError() const { return m_bookLoadingError; }
    void willLoadPageWithPageNumber(RendererViewController&, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
    void didLoadPageWithPageNumber(RendererViewController&, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
    void willUnloadPageWithPageNumber(RendererViewController&, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
    void willLoadCFI(RendererViewController&, const std::vector<std::string>& cfis, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
    void willUnloadCFI(RendererViewController&, const std::vector<std::string>& cfis, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
    void didChangeBookCFI(RendererViewController&, const std::string& cfi,
        const std::string& positionIdentifier, int64_t pageNumber) override;
    void didRendererChangedAvailabilityForActionState(RendererViewController&, int64_t state,
        int64_t pageNumber, const std::optional<std::string>& displayNumber) override;
    std::optional<double> zoomScalePercentageForBook(std::shared_ptr<LectoroBookVO>) override
    {
        return 400.0;
    }
    void bookLoadingCompletedWithContentSize(int64_t size) override;
    void bookCFIsLoadingCompleted(int64_t count) override;
    void didBookChaptersProcessSuccessfully(int64_t chaptersMeasured, int64_t chapterContentSize, bool isCoverPage) override;
    void didChangeContentPosition(RendererViewController&, double position, int64_t chapter, double contentSize,
        bool isCoverPage) override;
    void didChangeReflowableBookPage(RendererViewController&, const std::string& pageText, int64_t chapter,
        int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage) override;
    void didUpdateFurthestPage(RendererViewController&, const std::string& furthestPageJSON) override;
    // The book's text can be searched now: a search waiting for it runs again.
    void didCompleteSearchDecryptionForBookPath(RendererViewController&, const std::string& bookPath) override;
    void didPageBeginScroll(RendererViewController&) override;
    void didZoomInPage(RendererViewController&, int64_t pageNumber) override;
    void didZoomOutPage(RendererViewController&, int64_t pageNumber) override;
    void didPinchOnPage(RendererViewController&, bool pinchIn) override;
    void didSingleTapOnPage(RendererViewController&, int64_t pageNumber) override;
    // Selections, highlights and notes go to the highlight road, note icons to the page
    // drawer.
    void didHighlightTextWithHighlightSelectionRect(RendererViewController&, const ui::Rect&, int64_t pageNo) override;
    void didHighlighCompleteWithHighlight(std::shared_ptr<SDKHighlightVO>) override;
    void didTapOnNoteHighligh(std::shared_ptr<SDKHighlightVO>) override;
    bool didStickyNoteAllowedTwoPagePanning() override;
    std::shared_ptr<ui::View> noteIconViewForHighlight(std::shared_ptr<SDKHighlightVO>) override;
    bool textAnnotationShouldBeginEditing() override;
    void didTextAnnotationBeginEditing(std::shared_ptr<ui::TextView>) override;
    void didTextAnnotationValueChanged(std::shared_ptr<ui::TextView>) override;
    void didTextAnnotationCompleteWithTextAnnotation(std::shared_ptr<SDKTextAnnotationVO> textAnnotation,
        std::shared_ptr<SDKTextAnnotationVO> newSDKTextAnnotationVO) override;
    // Answers and protractors go to interactive content (ReaderMarkupCallbacks.cpp).
    void didTapOnInstantFeedBack(std::shared_ptr<ui::View>) override;
    void didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>&) override;
    void didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>&) override;
    void didTapOnProtractor() override;
    void didCloseProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO>) override;
    void deleteProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO>) override;
    void didSelectProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO>) override;

    // What the renderer callbacks do.
    void setEPUBReaderSettings(const std::shared_ptr<EPUBBookVO>&);
    // A reflowable font step, 1 to 5: applied, reported, remembered for the next pinch
    // and stored with the book's settings.
    void didChangeFontSizeForReflow(int64_t step);
    void singleTapOnPage();
    void manageTopBottomBar();
    void toggleTopAndBottomBars();
    // Whether a loaded page carries reading aloud on: P the loaded page, C and R the page
    // read aloud now and last, F and L the first and last page on screen.
    static bool isReadAloudContinuationDue(const std::string& loadedPage, const std::string& currentReadAloudPageId,
        const std::string& lastReadAloudPageId, const std::string& firstActivePage, const std::string& lastActivePage);
    void actionForReadAloud();

    // Panels and chapter title (ReaderPanels.cpp).
    base::Value getTOCContentData() const;
    base::Value getTOCResourceData() const;
    // The stored bookmarks that name a printed page.
    std::vector<std::shared_ptr<SDKBookmarkVO>> getBookmarkData() const;
    void didTapOnTOCButton();
    void didTapOnMyDataButton();
    void removeTOC();
    void didSelectActionToCloseTOC();
    void removeMyData();
    void didSelectActionToCloseMyData();
    void removeThumbnail();
    void didSelectActionToCloseThumbnail();
    void didSelectThumbnailPageNo(const std::string& page);
    void didOpenEpubElementModal();
    void didCloseEpubElementModal();
    // Closes this reader and asks the host to open the other book, when it is downloaded.
    void didSelectActionToJumpToBookWithBookID(const std::string& bookID);
    void updateChapterTitleForChapter(const EPUBChapterVO&, const base::Value& tocData);
    // The same title from the book's contents, without building the contents data; each
    // chapter's title is worked out once per book (a page turn asks for it every time).
    void updateChapterTitleForChapter(const EPUBChapterVO&);
    std::string getChapterNameForChapter(const EPUBChapterVO&) const;
    static void addShadow(ui::View&);
    static std::string getFontName();

    // Rotation, size transitions, keyboard and the activity box (ReaderRotation.cpp,
    // ReaderActivityIndicator.cpp).
    void orientationChanged();
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;
    // Whether the orientation moved between portrait and landscape (any from unknown).
    static bool isOrientationChange(int64_t from, int64_t to);
    void keyboardWillShow(const base::Notification&);
    void keyboardWillHide(const base::Notification&);
    // The search view's bottom offset over a keyboard of that height.
    static double searchViewBottomOffsetForKeyboard(double keyboardHeight, const ui::Size& screen);
    void removeProfilePopOver();
    static ui::Size activityBoxSize();
    void addActivityIndicator();
    void startActivityIndicator();
    void stopActivityIndicator();
    const std::shared_ptr<ui::View>& activityBox() const { return m_activityBox; }

    // Alerts and the answers of the reader's sync client (ReaderSyncResults.cpp). Answers
    // may come on any thread; each is applied on the main queue.
    void showAlertWithTitle(const std::string& title, const std::string& message);
    void showAlertForError(const base::Error&, const std::string& title);
    // Tells the delegate, unless an alert is already up; shows nothing itself.
    void showSessionExpiredAlert();
    static std::string getStringValue(const base::Value&);
    void didSaveHighlightDataSuccessfully() override;
    void didSaveHighlightDataFailedWithError(
        const base::Error&, const base::Value& shareAndRecieveDict, int64_t bookID) override;
    void didAcceptOrRejectDataSuccessfullywithUGCId(const std::string& ugcID, bool isAccepted) override;
    void didAcceptOrRejectDataFailedWithError(const base::Error&, const std::string& ugcID, bool isAccepted) override;
    void didSaveCollabDataFailedWithError(const base::Error&) override;
    void didSavedScormDataSuccessfully() override;
    void didFailedToSaveScormWithError(
        const base::Error&, int64_t bookID, const std::string& scormID, const std::string& classID) override;
    void didFetchScormDataSuccessfully() override;
    void didFailedToFetchScormWithError(const base::Error&) override;
    void didFetchedUGCSuccessfully() override;
    void didFailedToFetchUGCWithError(const base::Error&) override;
    void didUGCFetchCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID) override;
    void didUGCFetchFailedWithError(const base::Error&, int64_t userID, int64_t bookID) override;
    void didUGCSynchCompletedSuccessfully() override;
    void didUGCSynchFailedWithError(const base::Error&, int64_t userID, int64_t bookID) override;
    void didFetchFurthestPageDataSuccessfullyForBookID(
        int64_t bookID, const std::optional<std::string>& furthestPageData) override;
    void didFailedToFetchFurthestPageDataWithError(const base::Error&, int64_t bookID) override;
    // The teacher's review save (ReaderTeacherReviewHost.cpp).
    void didSavedStudentAnotationSuccessfully() override;
    void didFailedToSaveStudentAnotationWithError(const base::Error&) override;
    void didSubmitedAnotationSuccessfully() override;
    void didFailedToSubmitAnotationWithError(const base::Error&) override;

protected:
    ReaderViewController();

private:
    void initialize(const std::string& bookPath, int64_t bookID, std::shared_ptr<LectoroUser>,
        std::optional<std::string> isbn, std::optional<base::Value> additionalInfo,
        const std::string& baseURL, const std::string& clientID, std::shared_ptr<MVReaderSettingModel>,
        const std::string& bookVersion);
    void initializeLocalizationBundle();
    void registerIconFont();
    void initialSetup();
    void initializeTheme();
    void addViewControllerAsSubView(const std::shared_ptr<RendererViewController>&);
    void removeRendererViewController();
    void startObserving();
    void stopObserving();
    std::weak_ptr<ReaderViewController> weakSelf();
    void continueReadAloudForPage(const std::string& page);
    void sizeTransitionDidComplete(bool audioSyncWasPlaying);
    void refreshMyData();

    // A failure answer under the expired-session rule.
    struct SessionFailure {
        std::string operation;
        bool expired = false;
        std::string expiredToken;
        // Sends the request again with the renewed token; none: nothing is sent again.
        std::function<void(ReaderViewController&)> repeat;
        std::function<void(ReaderViewController&)> otherErrors;
        // Expired and not renewed; none: showSessionExpiredAlert.
        std::function<void(ReaderViewController&)> expiredWithoutRenewal;
        // Expired with automatic log-in but no delegate to renew through: alert instead
        // of doing nothing.
        bool alertWithoutRenewalDelegate = false;
    };
    void applyExpiredSessionRule(const SessionFailure&);
    // Runs the work on the main queue (at once when already there) while the reader is
    // alive and not cleared.
    void answerOnMainQueue(std::function<void(ReaderViewController&)>);
    std::weak_ptr<LectoroDataSyncingManagerDelegate> syncDelegate();
    std::string currentUserToken() const;
    int64_t currentNumericUserID() const;

    ReaderContext m_context;
    std::weak_ptr<ReaderViewControllerDelegate> m_delegate;

    std::unique_ptr<AnnotationsHost> m_annotationsHost;
    std::unique_ptr<HighlightRoad> m_highlightRoad;
    std::unique_ptr<PageAnnotationsDrawer> m_pageAnnotations;
    std::unique_ptr<ReaderAnnotations> m_annotations;
    std::unique_ptr<NoteRoad> m_noteRoad;
    std::unique_ptr<PenRoad> m_penRoad;
    std::unique_ptr<BookmarkRoad> m_bookmarkRoad;
    std::unique_ptr<ClearAnswersRoad> m_clearAnswersRoad;
    std::unique_ptr<TextAnnotationRoad> m_textAnnotationRoad;
    std::unique_ptr<InteractiveReader> m_interactiveHost;
    std::unique_ptr<ReaderInteractiveContent> m_interactive;
    // Before the contents feature, which keeps a reference to it.
    std::unique_ptr<ContentsHost> m_contentsHost;
    std::unique_ptr<ReaderContents> m_contents;
    std::unique_ptr<ReaderSearch> m_search;
    std::shared_ptr<SearchAudioPlayer> m_searchAudio;
    std::unique_ptr<ReaderMyData> m_myData;
    std::unique_ptr<TeacherReviewReader> m_teacherReviewHost;
    std::unique_ptr<ReaderTeacherReview> m_teacherReview;
    std::unique_ptr<ReaderReadAloud> m_readAloud;
    std::unique_ptr<ReaderReadingAids> m_readingAids;
    std::unique_ptr<ReaderChrome> m_chrome;
    std::unique_ptr<ReadingSession> m_readingSession;
    std::unique_ptr<ReaderNavigation> m_navigation;
    std::unique_ptr<PhonePageSlider> m_phonePageSlider;
    std::unique_ptr<ReaderBars> m_bars;
    std::unique_ptr<ReaderVerticalBar> m_verticalBar;
    std::unique_ptr<ReaderToolbarRouter> m_toolbarRouter;
    std::unique_ptr<ReaderActionDispatcher> m_actionDispatcher;
    std::unique_ptr<ReaderPageOverlays> m_pageOverlays;
    // Last: it hands its slider and sheet back to the bars and router as it goes.
    std::unique_ptr<ReaderReflowable> m_reflowable;

    std::vector<base::ObserverToken> m_observers;
    base::RunLoop::TaskId m_embedTask = 0;
    // Chapter titles by chapter href, for the book they were worked out for.
    std::weak_ptr<const LectoroBookVO> m_chapterTitlesBook;
    std::unordered_map<std::string, std::string> m_chapterTitles;
    // Delayed work is bound to this token, so it is dropped once the reader is cleared
    // or gone.
    std::shared_ptr<int> m_lifetime = std::make_shared<int>(0);
    bool m_cleared = false;
    std::optional<base::Error> m_bookLoadingError;
    std::shared_ptr<ui::View> m_activityBox;
    // Requests sent again after a token renewal and not answered yet, by operation.
    std::set<std::string> m_repeatedRequests;
};

} // namespace lectoro
