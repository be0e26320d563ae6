#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/FontManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/PhonePageSlider.h"
#include "LectoroSDKWithReader/reader/ReaderActionDispatcher.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderToolbarActions.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
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
    m_annotations = std::make_unique<ReaderAnnotations>(m_context);
    m_interactive = std::make_unique<ReaderInteractiveContent>(m_context);
    m_contents = std::make_unique<ReaderContents>(m_context);
    m_search = std::make_unique<ReaderSearch>(m_context);
    m_myData = std::make_unique<ReaderMyData>(m_context);
    m_teacherReview = std::make_unique<ReaderTeacherReview>(m_context);
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
    auto keyboardFrame = [](const base::Notification& note) {
        const auto& frame = note.userInfo[ui::KeyboardFrameEndUserInfoKey];
        return ui::Rect { { frame["x"].doubleValue(), frame["y"].doubleValue() },
            { frame["width"].doubleValue(), frame["height"].doubleValue() } };
    };
    m_observers.push_back(center.addObserver(
        ui::KeyboardWillShowNotification, nullptr, [weak, keyboardFrame](const base::Notification& note) {
            if (auto self = weak.lock())
                self->m_annotations->updatePlayerBottomBarPositionWithKeyboardSize(keyboardFrame(note));
        }));
    m_observers.push_back(
        center.addObserver(ui::KeyboardWillHideNotification, nullptr, [weak](const base::Notification&) {
            if (auto self = weak.lock())
                self->m_annotations->updatePlayerBottomBarPositionWithKeyboardSize(ui::Rect {});
        }));
    m_observers.push_back(center.addObserver(
        ui::DeviceOrientationDidChangeNotification, nullptr, [weak](const base::Notification& note) {
            if (auto self = weak.lock())
                self->m_context.deviceOrientation = note.userInfo["orientation"].integerValue();
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
    // (A thumbnail panel presented over the reader will skip this; none exists yet.)
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
    m_interactive->setAccessibilityOnFIBs();
}

// MARK: - Closing

void ReaderViewController::didTapOnBackButton()
{
    if (m_interactive->hasAudioPlayer())
        m_interactive->resetAudioPlayer();
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(
            std::string(LectoroReaderEventConstant::homeButtonEventName()));
    m_readingSession->saveReaderAnalytics();
    getUnSyncedUgc();
    if (auto delegate = m_delegate.lock())
        delegate->didClosedReader(
            *this, m_context.bookID, m_context.lastPageFolio, m_context.avgTimePerPage, false);
}

void ReaderViewController::signOutAction()
{
    m_readingSession->saveReaderAnalytics();
    if (auto delegate = m_delegate.lock())
        delegate->didClosedReader(
            *this, m_context.bookID, m_context.lastPageFolio, m_context.avgTimePerPage, false);
}

void ReaderViewController::closeReaderForSessionExpiry()
{
    m_readingSession->saveReaderAnalytics();
    auto delegate = m_delegate.lock();
    if (delegate && m_context.user)
        delegate->didSignOutForUser(m_context.user);
    if (delegate)
        delegate->didClosedReader(
            *this, m_context.bookID, m_context.lastPageFolio, m_context.avgTimePerPage, true);
}

void ReaderViewController::getUnSyncedUgc()
{
    if (!m_context.dbManager || !m_context.user)
        return;
    int64_t userID = m_context.user->numericUserID();
    auto ugc = m_context.dbManager->getUnsynedUGCDictionaryForUserID(userID);
    auto collab = m_context.dbManager->getUnsyncedCollabDataDictionaryForUserID(userID);
    const auto* books = ugc["ugcBookList"].asList();
    const auto* collabEntries = collab.asDictionary();
    bool inProgress = (books && !books->empty()) || (collabEntries && collabEntries->size() > 0);
    if (auto delegate = m_delegate.lock())
        delegate->checkUgcSyncInProgress(inProgress);
}

void ReaderViewController::uninitializeReader()
{
    clearObjects();
}

void ReaderViewController::clearObjects()
{
    m_readingSession->stopAnalyticsScheduledTimer();
    removeRendererViewController();
    m_readAloud->stopAudioSyncIfAny();
    m_chrome->removePlayerBottomBar();
    m_readAloud->removeSpeedSelectionView();
    stopObserving();
    // Delayed work of this reader (page-load follow-ups, jumps) must not run any more.
    m_lifetime = std::make_shared<int>(0);
    m_context.dbManager.reset();
    m_context.currentBook.reset();
    m_context.playerTopActionBarView.reset();
    m_context.playerBottomActionBarView.reset();
    m_context.readingTimeManager.reset();
    m_context.analyticsHandler.reset();
    m_context.currentReadAloudPageId.clear();
    m_cleared = true;
}

// MARK: - Renderer callbacks

std::optional<std::string> ReaderViewController::initialDisplayNumber(RendererViewController&)
{
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
    m_initialFolio = taken;
    return taken;
}

void ReaderViewController::openPageBookAtInitialFolio()
{
    // A page book's last page is its folio, but the book is not loaded yet when the
    // renderer asks where to open, so the folio cannot be turned into a page number there.
    // Once the renderer shows its first pages, a folio it did not open at is reached by
    // the page that carries it.
    auto folio = std::exchange(m_initialFolio, std::nullopt);
    if (!folio || !m_context.renderer || !std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook))
        return;
    auto active = m_context.renderer->getActivePages();
    if (!active.empty() && active.front().displayNum == *folio)
        return;
    auto book = std::static_pointer_cast<PXBookVO>(m_context.currentBook);
    if (!ReaderNavigation::getPageByDisplayNum(book->pageList, *folio))
        return;
    m_context.renderer->navigateToPageNumber(std::to_string(m_navigation->getPageIDForDisplayNumber(*folio)));
}

void ReaderViewController::didBookLoadedSuccessfullyWithBook(
    RendererViewController&, std::shared_ptr<LectoroBookVO> book)
{
    m_context.analyticsHandler = std::make_shared<MVLectoroAnalyticsHandler>();
    m_context.audioSyncSelectedColor = "#E8BD7F";
    m_context.audioSyncSpeedRateOption = 2;
    m_context.currentBook = book;
    if (auto delegate = m_delegate.lock())
        delegate->didBookLoadedSuccessfullyWithBook(book);

    if (!m_context.elasticSearchText.empty()) {
        bool paged
            = book && (book->kind() == LectoroBookKind::PageBook || book->kind() == LectoroBookKind::EPUB);
        m_search->addSearchForText(m_context.elasticSearchText, paged);
        if (paged && !m_search->hasSearchResult()) {
            m_search->enablePreviousButtonForElasticSearch(false);
            m_search->enableNextButtonForElasticSearch(false);
        }
    } else if (!m_context.jumpToPageId.empty()) {
        auto weak = weakSelf();
        std::string target = m_context.jumpToPageId;
        base::RunLoop::main().postDelayed(0.3, lifetimeToken(), [weak, target] {
            if (auto self = weak.lock(); self && self->m_context.renderer)
                self->m_context.renderer->navigateToPageNumber(
                    std::to_string(self->m_navigation->getPageIDForDisplayNumber(target)));
        });
    }

    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book)) {
        int64_t mode = pageBook->bookOrientationType == 0 ? 1 : pageBook->bookOrientationType == 1 ? 3 : 0;
        if (m_context.renderer)
            m_context.renderer->setBookOrientationMode(mode);
    } else if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book)) {
        if (m_context.settings)
            m_context.settings->setIsAudioSyncEnabled(epub->isAudioSyncSupported);
        if (m_context.renderer)
            m_context.renderer->setBookOrientationMode(0);
        if (epub->isReflowable()
            && (m_context.isReflowPrintEnable || !epub->printEnabledPageArray.asList()->empty())) {
            if (m_context.settings)
                m_context.settings->setIsPrintEnabled(true);
            if (m_context.isTwoPageSeperationDisabled && m_context.renderer)
                m_context.renderer->disableTwoPageSeperation(true);
        }
        epub->setIsThumbnailForReflowableEnabled(m_context.isThumbnailForReflowableEnabled);
    }

    if (m_context.dbManager)
        m_context.dbManager->setBook(book);
    m_chrome->addPlayerActionBarForTopAndBottom();
    m_chrome->updatePlayerActionBarForSelectedBook();
    m_annotations->changeAudioButtonStatus();

    std::string bookIDText = std::to_string(m_context.bookID);
    int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    if (m_context.dbManager) {
        auto classes = m_context.dbManager->bookClassInfoArrayForBookID(bookIDText, userID);
        if (!classes.empty())
            m_context.bookClassInfo = classes.front();
    }

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

    if (m_initialFolio && std::dynamic_pointer_cast<PXBookVO>(book)) {
        auto weak = weakSelf();
        base::RunLoop::main().post(lifetimeToken(), [weak] {
            if (auto self = weak.lock())
                self->openPageBookAtInitialFolio();
        });
    }
}

void ReaderViewController::willLoadPageWithPageNumber(
    RendererViewController&, int64_t, const std::optional<std::string>& displayNumber)
{
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
    case ReaderActiveModeMultiLink:
        m_interactive->removeMultiLinkPopOver();
        break;
    case ReaderActiveModeGlossary:
        m_interactive->removeGlossaryController();
        break;
    case ReaderActiveModeInstructionPopup:
        m_interactive->removeInstructionMarkupPopOver();
        break;
    default:
        break;
    }
}

void ReaderViewController::didLoadPageWithPageNumber(
    RendererViewController&, int64_t pageNumber, const std::optional<std::string>& displayNumber)
{
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
    if (m_readAloud->isAudioSyncPlaying())
        m_readAloud->pauseAudioSyncIfAny();

    auto book = m_context.currentBook;
    if (auto pageBook = std::dynamic_pointer_cast<PXBookVO>(book)) {
        if (auto chapter = pageBook->getChapterForPageID(std::to_string(pageNumber))) {
            m_context.currentChapterName = chapter->title;
            m_context.currentChapter = chapter->chapterID;
        }
    }
    m_chrome->updateChapterNameForTopBar();

    if (m_context.activeMode == ReaderActiveModeTeacherReview) {
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
        m_chrome->moveTopAndBottomOffScreen(true);

    std::string page = std::to_string(pageNumber);
    m_annotations->updateIphoneBottomBarPageSliderForPageNumber(page);
    m_annotations->drawHighlightsOnPageNumber(page, display);
    if (m_context.settings && m_context.settings->isBookmarkEnabled()) {
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(0.5, lifetimeToken(), [weak, page, display] {
            if (auto self = weak.lock()) {
                self->m_annotations->addBookmarkOnPageNumber(page, display);
                self->m_myData->addPrintPageViewOnPageNumber(page, display);
            }
        });
    } else {
        m_myData->addPrintPageViewOnPageNumber(page, display);
    }
    m_annotations->drawPenDrawingsOnPageNumber(page, display);
    m_interactive->drawMarkupsOnPageNumber(page, display);
    m_annotations->drawTextAnnotationsOnPageNumber(page, display);
    m_interactive->drawProtractorOnPageNumber(page, display);

    {
        auto weak = weakSelf();
        base::RunLoop::main().postDelayed(0.5, lifetimeToken(), [weak] {
            if (auto self = weak.lock())
                self->m_navigation->updateActivePagesInfoLabel();
        });
    }
    if (m_context.activeMode == ReaderActiveModePenTool && m_context.renderer)
        m_context.renderer->setPenDrawingModeEnabled(true);

    if (isFixedLayoutEPUB(book))
        m_navigation->setpagesIntoHistoryArray(page);

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
}

void ReaderViewController::willUnloadPageWithPageNumber(
    RendererViewController&, int64_t, const std::optional<std::string>& displayNumber)
{
    std::string display = displayNumber.value_or(std::string());
    auto& starts = m_context.pagesLoadStartTimeDictionary;
    if (isReflowableEPUB(m_context.currentBook)) {
        auto start = starts.find(display);
        if (start != starts.end() && m_context.analyticsHandler) {
            double seconds = base::RunLoop::main().now() - start->second;
            std::optional<std::string> chapterName;
            if (auto chapter = m_navigation->getEpubChapterForIndex(base::integerValue(display)))
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
    m_readingSession->storeTrackingJSON();
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
    m_readingSession->storeTrackingJSON();
}

void ReaderViewController::didChangeBookCFI(
    RendererViewController&, const std::string& cfi, const std::string&, int64_t)
{
    m_readingSession->didChangePageIdentifier(cfi);
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

// MARK: - Sync answers

void ReaderViewController::didFetchFurthestPageDataSuccessfullyForBookID(
    int64_t, const std::optional<std::string>& data)
{
    if (!data)
        return;
    std::string furthestPageData = *data;
    // This may run on the sync client's thread: only the reader's identity is read here,
    // its state is looked at on the main thread.
    auto weak = weakSelf();
    base::RunLoop::main().post([weak, furthestPageData] {
        if (auto self = weak.lock(); self && !self->m_cleared)
            self->setFurthestPageData(furthestPageData);
    });
}

} // namespace lectoro
