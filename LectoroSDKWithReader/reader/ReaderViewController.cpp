#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewPanelBridge.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/pen/ClearAnswersRoad.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXFixedEpubThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/FontManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/PhonePageSlider.h"
#include "LectoroSDKWithReader/reader/ReaderActionDispatcher.h"
#include "LectoroSDKWithReader/reader/ReaderAnnotationsHost.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderContentsHost.h"
#include "LectoroSDKWithReader/reader/ReaderInteractiveHost.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/ReaderTeacherReviewHost.h"
#include "LectoroSDKWithReader/reader/ReaderToolbarActions.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionBottomBar.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "platform/base/Bundle.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"
#include "platform/base/Plist.h"
#include "platform/base/Strings.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

constexpr double rendererEmbeddingDelay = 0.5;
constexpr const char* sharedUGCColor = "#8fd5e1";
constexpr double reflowableVerticalMargin = 30;

} // namespace

std::shared_ptr<ReaderViewController> ReaderViewController::create(const std::string& bookPath,
    int64_t bookID, std::shared_ptr<LectoroUser> user, const std::string& baseURL,
    const std::string& clientID, std::shared_ptr<MVReaderSettingModel> settings,
    const std::string& bookVersion)
{
    std::shared_ptr<ReaderViewController> reader(new ReaderViewController());
    reader->initialize(bookPath, bookID, std::move(user), std::nullopt, std::nullopt, baseURL, clientID,
        std::move(settings), bookVersion);
    return reader;
}

std::shared_ptr<ReaderViewController> ReaderViewController::create(const std::string& bookPath,
    int64_t bookID, std::shared_ptr<LectoroUser> user, const std::string& isbn, const std::string& baseURL,
    const std::string& clientID, std::shared_ptr<MVReaderSettingModel> settings,
    const std::string& bookVersion)
{
    std::shared_ptr<ReaderViewController> reader(new ReaderViewController());
    reader->initialize(bookPath, bookID, std::move(user), isbn, std::nullopt, baseURL, clientID,
        std::move(settings), bookVersion);
    return reader;
}

std::shared_ptr<ReaderViewController> ReaderViewController::create(const std::string& bookPath,
    int64_t bookID, std::shared_ptr<LectoroUser> user, const std::string& isbn, const std::string& baseURL,
    const std::string& clientID, std::shared_ptr<MVReaderSettingModel> settings,
    const base::Value& additionalInfo, const std::string& bookVersion)
{
    std::shared_ptr<ReaderViewController> reader(new ReaderViewController());
    reader->initialize(bookPath, bookID, std::move(user), isbn, additionalInfo, baseURL, clientID,
        std::move(settings), bookVersion);
    return reader;
}

ReaderViewController::ReaderViewController()
{
    m_context.controller = this;
    m_annotationsHost = std::make_unique<ReaderAnnotationsHost>(*this);
    m_highlightRoad = std::make_unique<HighlightRoad>(m_context, *m_annotationsHost);
    m_pageAnnotations = std::make_unique<PageAnnotationsDrawer>(m_context, *m_annotationsHost);
    m_annotations = std::make_unique<ReaderAnnotations>(m_context, *m_highlightRoad, *m_pageAnnotations);
    m_noteRoad = std::make_unique<NoteRoad>(m_context, *m_annotationsHost);
    m_penRoad = std::make_unique<PenRoad>(m_context, *m_annotationsHost, *m_pageAnnotations);
    m_bookmarkRoad = std::make_unique<BookmarkRoad>(m_context, *m_annotationsHost, *m_highlightRoad);
    m_clearAnswersRoad = std::make_unique<ClearAnswersRoad>(m_context, *m_annotationsHost, *m_penRoad);
    m_annotations->setPenAndBookmarkRoads(m_penRoad.get(), m_bookmarkRoad.get(), m_clearAnswersRoad.get());
    m_textAnnotationRoad
        = std::make_unique<TextAnnotationRoad>(m_context, *m_annotationsHost, *m_pageAnnotations);
    m_annotations->setTextAnnotationRoad(m_textAnnotationRoad.get());
    m_interactiveHost = std::make_unique<ReaderInteractiveHost>(*this);
    m_interactive = std::make_unique<ReaderInteractiveContent>(m_context, *m_interactiveHost);
    m_contentsHost = std::make_unique<ReaderContentsHost>(*this);
    m_contents = std::make_unique<ReaderContents>(m_context, *m_contentsHost);
    m_search = std::make_unique<ReaderSearch>(m_context);
    // Voice search silences the audio a link or page is playing while the microphone listens.
    m_searchAudio = SearchAudioPlayer::following([this] { return m_interactive->players().audioPlayer(); });
    m_search->setAudioPlayer(m_searchAudio);
    m_myData = std::make_unique<ReaderMyData>(m_context);
    // My Data's comment and share requests go to the notes feature, which owns the editor
    // and the share-settings dialog; both live as long as the reader.
    m_myData->setNoteOpener([this](std::shared_ptr<SDKHighlightVO> note) { m_noteRoad->didTapOnNotesComment(note); });
    m_myData->setShareSettingsOpeners([this] { m_noteRoad->didTapOnShareSettings(); },
        [this](std::shared_ptr<SDKHighlightVO> note) { m_noteRoad->didTapOnNoteShareSettings(note); });
    m_teacherReviewHost = std::make_unique<ReaderTeacherReviewHost>(*this);
    m_teacherReview = std::make_unique<ReaderTeacherReview>(m_context, *m_teacherReviewHost);
    // Answers edited in review reach the learner panel; held weakly, and the review goes
    // before interactive content does.
    m_interactive->answers().setAnswerReview(m_teacherReview->panelBridge());
    m_readAloud = std::make_unique<ReaderReadAloud>(m_context);
    m_readingAids = std::make_unique<ReaderReadingAids>(m_context);
    m_chrome = std::make_unique<ReaderChrome>(m_context);
    m_readingSession = std::make_unique<ReadingSession>(m_context);
    m_navigation = std::make_unique<ReaderNavigation>(m_context);
    m_phonePageSlider = std::make_unique<PhonePageSlider>(m_context);
    m_bars = std::make_unique<ReaderBars>(m_context);
    m_verticalBar = std::make_unique<ReaderVerticalBar>(m_context);
    m_toolbarRouter = std::make_unique<ReaderToolbarRouter>(*this);
    m_actionDispatcher = std::make_unique<ReaderActionDispatcher>(m_context, *m_toolbarRouter);
    m_pageOverlays = ReaderPageOverlays::makeFeaturePainter(*this);
    m_reflowable = std::make_unique<ReaderReflowable>(m_context);
}

ReaderViewController::~ReaderViewController()
{
    // Observers and timers must not reach a reader that is gone, whether or not the
    // launcher cleared it first.
    stopObserving();
    if (m_embedTask)
        base::RunLoop::main().cancel(m_embedTask);
    m_readingSession->stopAnalyticsScheduledTimer();
}

std::weak_ptr<PlayerActionDelegate> ReaderViewController::playerActionDelegate()
{
    return std::static_pointer_cast<ReaderViewController>(shared_from_this());
}

void ReaderViewController::moveTopAndBottomOffScreenWithIsAnimate(bool animate, std::function<void()> completion)
{
    m_bars->moveTopAndBottomOffScreenWithIsAnimate(animate, std::move(completion));
}

void ReaderViewController::moveTopAndBottomOnScreenWithIsAnimate(
    bool animate, std::function<void(bool finished)> completion)
{
    m_bars->moveTopAndBottomOnScreenWithIsAnimate(animate, std::move(completion));
}

void ReaderViewController::resetAllPlayerActionBar()
{
    m_actionDispatcher->resetAllPlayerActionBar();
}

void ReaderViewController::didTapOnPlayerActionBar(PlayerActionBar& bar, PlayerActionBarItem& item)
{
    m_actionDispatcher->didTapOnPlayerActionBar(bar, item);
}

void ReaderViewController::willResetPlayerActionBar(PlayerActionBar& bar)
{
    m_actionDispatcher->willResetPlayerActionBar(bar);
}

std::weak_ptr<ReaderViewController> ReaderViewController::weakSelf()
{
    return std::static_pointer_cast<ReaderViewController>(shared_from_this());
}

void ReaderViewController::initialize(const std::string& bookPath, int64_t bookID,
    std::shared_ptr<LectoroUser> user, std::optional<std::string> isbn,
    std::optional<base::Value> additionalInfo, const std::string& baseURL, const std::string& clientID,
    std::shared_ptr<MVReaderSettingModel> settings, const std::string& bookVersion)
{
    initializeLocalizationBundle();
    registerIconFont();
    setLogsEnabled(false);
    setVerboseEnabled(false);

    auto framework = companionFramework();
    m_context.dbManager = framework->makeDatabaseManager();

    m_context.settings = std::move(settings);
    std::weak_ptr<RendererViewControllerDelegate> rendererDelegate
        = std::static_pointer_cast<ReaderViewController>(shared_from_this());
    m_context.renderer = framework->makeRendererViewController(
        bookPath, rendererDelegate, isbn, additionalInfo ? *additionalInfo : base::Value());

    m_context.user = std::move(user);
    m_context.bookID = bookID;
    m_context.bookPath = bookPath;
    m_context.baseURL = baseURL;
    m_context.bookVersion = bookVersion;
    m_context.clientID = clientID;
    m_context.isbn = std::move(isbn);
    m_context.additionalInfo = std::move(additionalInfo);

    if (auto& renderer = m_context.renderer) {
        renderer->setColorForSharedUGC(sharedUGCColor);
        renderer->setIsHihghlightEnabled(m_context.settings && m_context.settings->isHighLightEnabled());
        renderer->setVerticalMarginForReflowableEpubBook(reflowableVerticalMargin);
    }

    m_context.dataSyncManager = framework->makeDataSyncingManager(baseURL, clientID);
}

void ReaderViewController::initializeLocalizationBundle()
{
    if (!LocalizationHelper::readerLanguageBundle())
        LocalizationHelper::setReaderLanguageBundle(libraryBundleRef());
}

void ReaderViewController::registerIconFont()
{
    FontManager::vtx_registerFontWithFilenameString(
        MVLectoroFontManager::getFontName(), MVFontManagerHelper::getInstance().getFontBundle());
}

void ReaderViewController::setLogsEnabled(bool enabled)
{
    LectoroDebugLog::enableLogsWithIsenabled(enabled);
}

void ReaderViewController::setVerboseEnabled(bool enabled)
{
    LectoroDebugLog::enableVerboseWithIsenabled(enabled);
}

void ReaderViewController::setMicroServicesBaseURLString(std::optional<std::string> url)
{
    m_context.microServicesBaseURLString = url;
    if (m_context.dataSyncManager)
        m_context.dataSyncManager->setMicroServicesBaseURLString(std::move(url));
}

void ReaderViewController::enableFurthestPage(bool enabled)
{
    if (m_context.renderer)
        m_context.renderer->enableFurthestPage(enabled);
}

void ReaderViewController::setFurthestPageData(const std::string& data)
{
    if (m_context.renderer)
        m_context.renderer->setFurthestPageData(data);
}

int64_t ReaderViewController::getOrientationMode() const
{
    return m_context.renderer ? m_context.renderer->getBookOrientationMode() : 0;
}

ui::InterfaceOrientationMask ReaderViewController::supportedInterfaceOrientations() const
{
    switch (getOrientationMode()) {
    case 1:
    case 2:
        return ui::InterfaceOrientationMask::Landscape;
    case 3:
        return ui::InterfaceOrientationMask::Portrait;
    default:
        return ui::InterfaceOrientationMask::All;
    }
}

std::optional<base::Value> ReaderViewController::getClientConfigDictionary() const
{
    auto path = base::Bundle::library().pathForResource("ClientConfig", "plist");
    if (!path)
        return std::nullopt;
    auto text = base::FileManager::defaultManager().readFile(*path);
    if (!text)
        return std::nullopt;
    auto parsed = base::parsePlist(*text);
    if (!parsed.ok() || !parsed.value().asDictionary())
        return std::nullopt;
    return parsed.value();
}

// MARK: - Life cycle

void ReaderViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    initialSetup();
    m_context.readAloudMode = ReadAloudModeOff;
    m_readingSession->initiateReaderAnalyticsSession();
    m_context.enableSliderPopUp = true;
    m_context.readAloudPopupShown = false;
    auto weak = weakSelf();
    m_observers.push_back(base::NotificationCenter::defaultCenter().addObserver(
        ui::ApplicationWillResignActiveNotification, nullptr, [weak](const base::Notification&) {
            if (auto self = weak.lock())
                self->m_search->cancelVoiceRecognition();
        }));
    m_context.isappInBackground = false;
}

void ReaderViewController::initialSetup()
{
    AccessibilityManager::sharedObject().setAccessibilityBundle();
    initializeTheme();
    if (m_context.renderer)
        m_context.renderer->setBookThumbnailImage(m_context.bookThumbnailImage);

    auto weak = weakSelf();
    m_embedTask = base::RunLoop::main().postDelayed(rendererEmbeddingDelay, lifetimeToken(), [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        self->m_embedTask = 0;
        if (self->m_context.renderer)
            self->addViewControllerAsSubView(self->m_context.renderer);
    });

    m_navigation->initializePageHistory();
    startObserving();
    m_readingSession->startAnalyticsScheduledTimer();
}

void ReaderViewController::initializeTheme()
{
    auto path = base::Bundle::main().pathForResource("ReaderTheme", "json");
    if (!path)
        path = base::Bundle::library().pathForResource("ReaderTheme", "json");
    m_context.theme = std::make_shared<LXMVThemeVO>();
    m_context.theme->updateThemeFromFileAtPath(path);
}

void ReaderViewController::startObserving()
{
    auto& center = base::NotificationCenter::defaultCenter();
    auto weak = weakSelf();
    m_observers.push_back(
        center.addObserver(ui::KeyboardWillShowNotification, nullptr, [weak](const base::Notification& note) {
            if (auto self = weak.lock())
                self->keyboardWillShow(note);
        }));
    m_observers.push_back(
        center.addObserver(ui::KeyboardWillHideNotification, nullptr, [weak](const base::Notification& note) {
            if (auto self = weak.lock())
                self->keyboardWillHide(note);
        }));
    m_observers.push_back(
        center.addObserver(ui::DeviceOrientationDidChangeNotification, nullptr, [weak](const base::Notification&) {
            if (auto self = weak.lock())
                self->orientationChanged();
        }));
    m_observers.push_back(center.addObserver(
        ui::ApplicationDidEnterBackgroundNotification, nullptr, [weak](const base::Notification&) {
            if (auto self = weak.lock())
                self->m_readingSession->appMovedToBackground();
        }));
    m_observers.push_back(center.addObserver(
        ui::ApplicationWillEnterForegroundNotification, nullptr, [weak](const base::Notification&) {
            if (auto self = weak.lock())
                self->m_readingSession->appMovedToForeground();
        }));
}

void ReaderViewController::stopObserving()
{
    m_observers.clear();
}

void ReaderViewController::addViewControllerAsSubView(const std::shared_ptr<RendererViewController>& renderer)
{
    auto container = view();
    auto rendererView = renderer->view();
    if (!container || !rendererView)
        return;
    container->insertSubview(rendererView, 0);
    rendererView->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto ownGuide = container->safeAreaLayoutGuide();
    auto rendererGuide = rendererView->safeAreaLayoutGuide();
    ui::Constraint::activate({
        rendererGuide->leadingAnchor().constraintEqualTo(ownGuide->leadingAnchor(), 0),
        rendererGuide->trailingAnchor().constraintEqualTo(ownGuide->trailingAnchor(), 0),
        rendererGuide->topAnchor().constraintEqualTo(ownGuide->topAnchor(), 0),
        rendererGuide->bottomAnchor().constraintEqualTo(ownGuide->bottomAnchor(), 0),
    });
    rendererView->layoutIfNeeded();
    addChildViewController(renderer);
    renderer->didMoveToParentViewController(this);
    container->layoutIfNeeded();
}

void ReaderViewController::removeRendererViewController()
{
    if (m_embedTask) {
        base::RunLoop::main().cancel(m_embedTask);
        m_embedTask = 0;
    }
    auto renderer = std::move(m_context.renderer);
    if (!renderer)
        return;
    renderer->setDelegate({});
    renderer->clearObjects();
    if (auto rendererView = renderer->viewIfLoaded())
        rendererView->removeFromSuperview();
    if (renderer->parentViewController().get() == this) {
        renderer->willMoveToParentViewController(nullptr);
        renderer->removeFromParentViewController();
    }
}

void ReaderViewController::viewDidAppear(bool animated)
{
    m_context.isappInBackground = false;
    ui::ViewController::viewDidAppear(animated);
    m_annotations->initializeHighlight();
}

void ReaderViewController::viewWillDisappear(bool animated)
{
    // A thumbnail panel on its way over the reader leaves the reader as it is: its audio
    // and read-aloud go on under the panel.
    auto beingPresented = [](const auto& panel) { return panel && panel->isBeingPresented(); };
    if (beingPresented(m_contents->thumbnailViewController())
        || beingPresented(m_contents->fixedEpubThumbnailVC()))
        return;
    m_interactive->resetAudioPlayer();
    m_readAloud->didCloseReadToMeView();
    ui::ViewController::viewWillDisappear(animated);
}

void ReaderViewController::updateReaderForLanguageChange()
{
    m_annotations->addAccessibilityOnBookmark();
    // The time left keeps its number and takes the new language's words and digits (the
    // number is kept apart, as the shown digits may be another script's).
    if (m_context.timeLeftMinutes && !m_context.timeLeftText.empty()) {
        m_context.timeLeftText
            = NumberLocalizationHandler::localizeNumberWithNumber(base::Value(*m_context.timeLeftMinutes))
            + " " + LocalizationHelper::localizedStringWithKey("MIN_LEFT");
    }
    m_reflowable->relabelForLanguageChange(m_context.timeLeftText);
    addAccessibilityOnActionBarItem();
    m_interactive->setAccessibilityOnFIBs();
}

void ReaderViewController::addAccessibilityOnActionBarItem()
{
    if (!isViewLoaded())
        return;
    for (const auto& subview : view()->subviews()) {
        if (auto top = std::dynamic_pointer_cast<PlayerActionTopBar>(subview)) {
            for (const auto& item : top->items())
                top->setAccessibilityForPlayerActionTopBarItem(*item);
        } else if (auto bottom = std::dynamic_pointer_cast<PlayerActionBottomBar>(subview)) {
            for (const auto& item : bottom->items())
                PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem(*item);
        }
    }
}

void ReaderViewController::setPrintEnabledPageArray(const std::optional<std::string>& pages)
{
    m_myData->setPrintEnabledPageArray(pages);
}

} // namespace lectoro
