#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/MVLanguageBundle.h"
#include "LectoroSDKWithReader/foundation/MVReaderServiceConstants.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/media/player/MediaBookPosition.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/Bundle.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"

#include <cstdio>

namespace lectoro {

namespace {

constexpr double mediaAnalyticsInterval = 10.0;
constexpr double mediaStartPositionDelay = 0.3;
constexpr double mediaPathLoadedDelay = 0.5;

std::string mediaLocalized(const std::string& key)
{
    auto text = MVLanguageBundle::localizedStringForKey(key, "", "Localizable");
    return text.empty() ? key : text;
}

} // namespace

std::shared_ptr<MVLectoroMediaBookController> MVLectoroMediaBookController::create()
{
    return std::shared_ptr<MVLectoroMediaBookController>(new MVLectoroMediaBookController());
}

std::shared_ptr<MVLectoroMediaBookController> MVLectoroMediaBookController::self()
{
    return std::static_pointer_cast<MVLectoroMediaBookController>(shared_from_this());
}

MVLectoroMediaBookController::~MVLectoroMediaBookController()
{
    if (m_analyticsTimer)
        m_analyticsTimer->invalidate();
    if (m_reader)
        m_reader->closePlayer();
}

void MVLectoroMediaBookController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    if (!m_analytics)
        m_analytics = std::make_shared<MVLectoroAnalyticsHandler>();
}

std::optional<std::string> MVLectoroMediaBookController::getAudioThemeFilePath() const
{
    if (m_audioThemeFilePath && !m_audioThemeFilePath->empty())
        return m_audioThemeFilePath;
    return base::Bundle::main().pathForResource("audio-video-theme", "json");
}

std::string MVLectoroMediaBookController::bookIDText() const { return std::to_string(m_launch.bookID); }

int64_t MVLectoroMediaBookController::userNumber() const
{
    if (!m_launch.user)
        return 0;
    return base::Value(m_launch.user->userID).asInteger().value_or(0);
}

// MARK: - Launches

void MVLectoroMediaBookController::launchMediaReader(const std::string& bookPath, int32_t bookID,
    const std::string& isbn, const std::string& thumbnailURL, const std::string& baseURL,
    const std::string& clientID, std::shared_ptr<LectoroUser> user,
    std::shared_ptr<MVReaderSettingModel> settings, bool isAudioBook,
    std::optional<base::Value> additionalInfo, const std::string& bookVersion)
{
    Launch launch;
    launch.kind = LaunchKind::Folder;
    launch.bookPath = bookPath;
    launch.bookID = bookID;
    launch.isbn = isbn;
    launch.thumbnailURL = thumbnailURL;
    launch.baseURL = baseURL;
    launch.clientID = clientID;
    launch.user = std::move(user);
    launch.settings = std::move(settings);
    launch.isAudioBook = isAudioBook;
    launch.additionalInfo = std::move(additionalInfo);
    launch.bookVersion = bookVersion;
    storeLaunch(launch);
    if (m_reader)
        m_reader->updateWithBookPath(bookPath, bookInfo(m_launch));
    else
        m_reader = MVLectoroMediaBookReader::createWithBookPath(bookPath, bookInfo(m_launch));
    showLaunchedReader(true);
}

void MVLectoroMediaBookController::launchOfflineHLSMedia(const std::string& downloadedPath, int32_t bookID,
    const std::string& thumbnailURL, const std::string& baseURL, const std::string& clientID,
    std::shared_ptr<LectoroUser> user, bool isAudioBook, const std::string& isbn,
    std::shared_ptr<MVReaderSettingModel> settings, std::optional<base::Value> additionalInfo,
    const std::string& bookVersion)
{
    Launch launch;
    launch.kind = LaunchKind::OfflineHLS;
    launch.bookPath = downloadedPath;
    launch.bookID = bookID;
    launch.thumbnailURL = thumbnailURL;
    launch.baseURL = baseURL;
    launch.clientID = clientID;
    launch.user = std::move(user);
    launch.isAudioBook = isAudioBook;
    launch.isbn = isbn;
    launch.settings = std::move(settings);
    launch.additionalInfo = std::move(additionalInfo);
    launch.bookVersion = bookVersion;
    storeLaunch(launch);
    if (m_reader)
        m_reader->updateWithMetaDataPath(downloadedPath, bookInfo(m_launch));
    else
        m_reader = MVLectoroMediaBookReader::createWithMetaDataPath(downloadedPath, bookInfo(m_launch));
    showLaunchedReader(true);
}

void MVLectoroMediaBookController::launchOnlineHLSMedia(int32_t bookID, const std::string& thumbnailURL,
    const std::string& baseURL, std::optional<std::string> microServicesURL, const std::string& clientID,
    std::shared_ptr<LectoroUser> user, const std::string& isbn, int64_t timeStamp, bool isBookAudio,
    bool enableCDNCookies, std::shared_ptr<MVReaderSettingModel> settings,
    std::optional<base::Value> additionalInfo, const std::string& bookVersion)
{
    Launch launch;
    launch.kind = LaunchKind::OnlineHLS;
    launch.bookID = bookID;
    launch.thumbnailURL = thumbnailURL;
    launch.baseURL = baseURL;
    launch.microServicesURL = std::move(microServicesURL);
    launch.clientID = clientID;
    launch.user = std::move(user);
    launch.isbn = isbn;
    launch.timeStamp = timeStamp;
    launch.isAudioBook = isBookAudio;
    launch.enableCDNCookies = enableCDNCookies;
    launch.settings = std::move(settings);
    launch.additionalInfo = std::move(additionalInfo);
    launch.bookVersion = bookVersion;
    storeLaunch(launch);
    if (m_reader)
        m_reader->updateWithStream(streamInfo(m_launch), bookInfo(m_launch));
    else
        m_reader = MVLectoroMediaBookReader::createWithStream(streamInfo(m_launch), bookInfo(m_launch));
    // Open tracking waits for the stream's address (handleActionWhenMediaPathLoaded).
    showLaunchedReader(false);
}

void MVLectoroMediaBookController::showLaunchedReader(bool trackOpenNow)
{
    handleMediaReaderUI();
    m_spanStart.reset();
    if (trackOpenNow)
        handleBookOpenTrackingAction();
}

void MVLectoroMediaBookController::storeLaunch(const Launch& launch)
{
    m_launch = launch;
    m_tokenRefreshed = false;
    m_dbManager = companionFramework()->makeDatabaseManager();
    if (!m_analytics)
        m_analytics = std::make_shared<MVLectoroAnalyticsHandler>();
}

MVLectoroMediaBookReader::BookInfo MVLectoroMediaBookController::bookInfo(const Launch& launch) const
{
    MVLectoroMediaBookReader::BookInfo info;
    info.thumbnailURL = launch.thumbnailURL;
    info.type = launch.isAudioBook ? MediaBookType::audio : MediaBookType::video;
    info.bookId = std::to_string(launch.bookID);
    info.isbn = launch.isbn;
    if (launch.additionalInfo && launch.additionalInfo->isDictionary())
        info.additionalInfo = *launch.additionalInfo;
    return info;
}

MVLectoroMediaBookReader::StreamInfo MVLectoroMediaBookController::streamInfo(const Launch& launch) const
{
    MVLectoroMediaBookReader::StreamInfo stream;
    stream.user = launch.user;
    stream.baseURL = launch.baseURL;
    stream.microServicesURL = launch.microServicesURL;
    stream.clientID = launch.clientID;
    stream.bookId = launch.bookID;
    stream.timeStamp = launch.timeStamp.value_or(0);
    stream.enableCDNCookies = launch.enableCDNCookies;
    return stream;
}

void MVLectoroMediaBookController::handleMediaReaderUI()
{
    bool bookmarksOn = !m_launch.settings || m_launch.settings->isAudioBookBookmarkEnabled();
    m_reader->enableBookmark(bookmarksOn);
    auto theme = std::make_shared<MVLectoroMediaBookThemeVO>();
    auto path = getAudioThemeFilePath();
    if (!path || path->empty())
        path = base::Bundle::library().pathForResource("audio-video-theme", "json");
    if (path && !path->empty())
        (void)theme->updateThemeFromJsonPath(*path);
    m_reader->setTheme(theme);
    if (bookmarksOn)
        fetchBookmarks();
    m_reader->setDelegate(std::static_pointer_cast<MVLectoroMediaBookReaderDelegate>(self()));
    if (m_reader->parentViewController().get() != this) {
        addChildViewController(m_reader);
        view()->addSubview(m_reader->view());
        m_reader->didMoveToParentViewController(this);
    }
    m_reader->view()->setFrame(view()->bounds());
    setStartTimeForMediaBook();
    m_reader->enableNextPreviousFeature(m_enableNextPreviousFeature);
    if (m_enableNextPreviousFeature) {
        m_reader->setNextPreviousBookIds(m_mediaBookIDs);
        m_reader->disableNextMediaButton(m_nextDisabled);
        m_reader->disablePreviousMediaButton(m_previousDisabled);
    }
    m_reader->setMediaPlayerDelegate(std::static_pointer_cast<MVMediaBookPlayerDelegate>(self()));
}

void MVLectoroMediaBookController::fetchBookmarks()
{
    m_dataSyncManager = companionFramework()->makeDataSyncingManager(m_launch.baseURL, m_launch.clientID);
    if (m_dataSyncManager && m_launch.user)
        m_dataSyncManager->fetchUGCForBookID(m_launch.bookID, userNumber(),
            std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self()), m_launch.user->userToken,
            m_launch.bookVersion);
    if (!m_dbManager)
        return;
    auto stored = m_dbManager->bookMarkBookID(bookIDText(), userNumber());
    if (!stored.empty())
        m_reader->setBookmarks(getSortedBookmarks(std::move(stored)));
}

std::vector<std::shared_ptr<SDKBookmarkVO>> MVLectoroMediaBookController::getSortedBookmarks(
    std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarks)
{
    return sortedMediaBookmarks(std::move(bookmarks));
}

void MVLectoroMediaBookController::setStartTimeForMediaBook()
{
    std::weak_ptr<MVLectoroMediaBookController> weak = self();
    base::RunLoop::main().postDelayed(mediaStartPositionDelay, [weak] {
        auto controller = weak.lock();
        if (!controller)
            return;
        if (controller->m_reader && controller->m_lastPageFolio && !controller->m_lastPageFolio->empty()) {
            if (auto position = base::parseJson(*controller->m_lastPageFolio); position.ok())
                controller->m_reader->setStartTime(position.value());
        }
        controller->m_isMediaLoaded = true;
    });
}

void MVLectoroMediaBookController::handleActionWhenMediaPathLoaded()
{
    std::weak_ptr<MVLectoroMediaBookController> weak = self();
    base::RunLoop::main().postDelayed(mediaPathLoadedDelay, [weak] {
        if (auto controller = weak.lock())
            controller->setStartTimeForMediaBook();
    });
    if ((!m_launch.settings || m_launch.settings->isAudioBookBookmarkEnabled()) && m_reader)
        fetchBookmarks();
    handleBookOpenTrackingAction();
}

// MARK: - Reader answers

void MVLectoroMediaBookController::didHLSMediaServiceCallSuccessfullyWithMediaPath(const std::string&, int64_t)
{
    handleActionWhenMediaPathLoaded();
}

void MVLectoroMediaBookController::didHLSMediaServiceFailWithError(const base::Error& error, int64_t bookId, int64_t timeStamp)
{
    if (isSessionExpired(error, true)) {
        std::weak_ptr<MVLectoroMediaBookController> weak = self();
        handleSessionExpiry([weak, bookId, timeStamp] {
            auto controller = weak.lock();
            if (!controller || !controller->m_reader)
                return;
            auto stream = controller->streamInfo(controller->m_launch);
            stream.bookId = bookId;
            stream.timeStamp = timeStamp;
            controller->m_reader->loadHLSMediaBookPath(stream, true);
        });
    }
    if (auto host = hostDelegate())
        host->didHLSMediaLoadingFailWithError(*this, error, std::to_string(bookId), timeStamp);
}

std::shared_ptr<ui::ImageView> MVLectoroMediaBookController::imageViewForThumbnail(const std::string& address)
{
    auto host = hostDelegate();
    return host ? host->imageViewForThumbnail(*this, address) : nullptr;
}

void MVLectoroMediaBookController::didBookmarkCompleteWithBookmarkVO(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    if (!bookmark || !m_dbManager)
        return;
    if (bookmark->isDeleted())
        (void)m_dbManager->deleteBookmark(bookmark, bookIDText(), userNumber());
    else
        (void)m_dbManager->saveBookmark(bookmark, bookIDText(), userNumber());
    if (m_reader)
        m_reader->setBookmarks(getSortedBookmarks(m_dbManager->bookMarkBookID(bookIDText(), userNumber())));
}

void MVLectoroMediaBookController::didFetchedUGCSuccessfully()
{
    if (!m_dbManager || !m_reader)
        return;
    m_reader->setBookmarks(getSortedBookmarks(m_dbManager->bookMarkBookID(bookIDText(), userNumber())));
}

void MVLectoroMediaBookController::didFailedToFetchUGCWithError(const base::Error& error)
{
    if (!isSessionExpired(error, false))
        return;
    std::weak_ptr<MVLectoroMediaBookController> weak = self();
    handleSessionExpiry([weak] {
        auto controller = weak.lock();
        if (!controller || !controller->m_dataSyncManager || !controller->m_launch.user)
            return;
        controller->m_dataSyncManager->fetchUGCForBookID(controller->m_launch.bookID, controller->userNumber(),
            std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(controller),
            controller->m_launch.user->userToken, controller->m_launch.bookVersion);
    });
}

void MVLectoroMediaBookController::didMediaPlaybackStateChange(const std::string& state)
{
    if (state == "Playing") {
        if (!m_spanStart && m_isMediaLoaded) {
            m_spanStart = base::Date::now();
            startAnalyticsScheduledTimer();
        }
        return;
    }
    if (m_spanStart) {
        stopAnalyticsScheduledTimer();
        closeListeningSpan();
    }
}

void MVLectoroMediaBookController::didTapOnBack(const base::Value& metaData, MVLectoroMediaBookReader&)
{
    handleBackButtonAction(metaData);
    stopMedia();
    if (auto host = hostDelegate())
        host->didTapOnBackWithBookID(*this, bookIDText(), m_lastPageFolio.value_or(""));
}

void MVLectoroMediaBookController::didTapOnNextMediaButton(MVLectoroMediaBookReader& reader)
{
    handleBackButtonAction(reader.getMetaData());
    if (auto host = hostDelegate())
        host->didTapOnNextMediaWithBookID(*this, bookIDText(), m_lastPageFolio.value_or(""));
}

void MVLectoroMediaBookController::didTapOnPreviousMediaButton(MVLectoroMediaBookReader& reader)
{
    handleBackButtonAction(reader.getMetaData());
    if (auto host = hostDelegate())
        host->didTapOnPreviousMediaWithBookID(*this, bookIDText(), m_lastPageFolio.value_or(""));
}

void MVLectoroMediaBookController::playerDidFinishPlaying()
{
    if (m_reader)
        didTapOnNextMediaButton(*m_reader);
}

void MVLectoroMediaBookController::playerFailedToPlayWithError(const base::Error& error)
{
    if (m_reader)
        AlertView::sharedManager().presentAlertWithTitle(mediaLocalized("ERROR_ALERT_TITLE"), error.localizedDescription(),
            std::vector<std::string> { "OK" }, m_reader, [](int64_t, const std::string&) { });
}

// MARK: - Leaving the book

void MVLectoroMediaBookController::updateLastPageFolio(const base::Value& metaData)
{
    // A moment without a position (between two chapters, a book still loading) must not
    // wipe the place the listener had reached.
    bool empty = !metaData.isDictionary() || metaData.asDictionary()->empty();
    if (empty && m_lastPageFolio && !m_lastPageFolio->empty() && *m_lastPageFolio != "{}")
        return;
    m_lastPageFolio = base::toJson(metaData.isDictionary() ? metaData : base::Value(base::Value::Dictionary {}));
}

void MVLectoroMediaBookController::handleBackButtonAction(const base::Value& metaData)
{
    if (metaData.isNull())
        return;
    updateLastPageFolio(metaData);
    stopAnalyticsScheduledTimer();
    trackBookPageEvent();
    // The span is reported now; left open, a later tick or back would count it again.
    m_spanStart.reset();
    trackBookCloseEvent();
    saveAnalyticsSession();
}

void MVLectoroMediaBookController::stopMedia()
{
    stopAnalyticsScheduledTimer();
    m_spanStart.reset();
    if (!m_reader)
        return;
    m_reader->closePlayer();
    m_reader->view()->removeFromSuperview();
    m_reader->removeFromParentViewController();
    m_reader = nullptr;
}

// MARK: - Analytics

void MVLectoroMediaBookController::handleBookOpenTrackingAction()
{
    if (m_dataSyncManager && m_launch.user)
        m_dataSyncManager->fetchUGCOperationForBookID(m_launch.bookID, userNumber(),
            std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self()), m_launch.user->userToken,
            m_launch.bookVersion);
    m_bookOpenTimeStamp = base::Date::now();
    m_bookClassInfo = nullptr;
    if (m_dbManager) {
        auto classes = m_dbManager->bookClassInfoArrayForBookID(bookIDText(), userNumber());
        if (!classes.empty())
            m_bookClassInfo = classes.front();
    }
    trackBookOpenEvent();
}

void MVLectoroMediaBookController::trackBookOpenEvent()
{
    if (!m_analytics)
        return;
    // Without a class the service expects an empty class id, not a placeholder text.
    std::string classId = m_bookClassInfo ? m_bookClassInfo->classId : "";
    auto openTime = NSStringExpanded::stringFromUTCDate(m_bookOpenTimeStamp.value_or(base::Date::now()));
    m_analytics->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::BookOpen,
        MVLectoroAnalyticsMetaData::bookOpen(bookIDText(), openTime, classId, std::nullopt, bookIDText()));
}

void MVLectoroMediaBookController::trackBookCloseEvent()
{
    if (!m_analytics)
        return;
    m_analytics->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::BookClose,
        MVLectoroAnalyticsMetaData::bookClose(
            NSStringExpanded::stringFromUTCDate(base::Date::now()), m_lastPageFolio.value_or(""), bookIDText()));
}

void MVLectoroMediaBookController::trackBookPageEvent()
{
    if (!m_analytics || !m_spanStart)
        return;
    double seconds = base::Date::now() - *m_spanStart;
    if (!(seconds > 1.0))
        return;
    char text[64];
    std::snprintf(text, sizeof text, "%f", seconds);
    m_analytics->trackEvent(MVLectoroAnalyticsHandler::MVAnalyticsEventType::PageTracking,
        MVLectoroAnalyticsMetaData::pageTracking(std::nullopt, "1", std::string(text), "1", "Media Book", base::makeUuid()));
}

void MVLectoroMediaBookController::closeListeningSpan()
{
    trackBookPageEvent();
    m_spanStart.reset();
}

void MVLectoroMediaBookController::saveAnalyticsSession()
{
    if (!m_analytics || !m_dbManager)
        return;
    auto json = m_analytics->getTrackingJSON();
    if (json.empty())
        return;
    (void)m_dbManager->createReaderAnalyticsSessionForUserID(
        m_launch.user ? m_launch.user->userID : "", std::to_string(m_launch.bookID), json);
}

void MVLectoroMediaBookController::startAnalyticsScheduledTimer()
{
    stopAnalyticsScheduledTimer();
    std::weak_ptr<MVLectoroMediaBookController> weak = self();
    m_analyticsTimer = base::Timer::scheduled(mediaAnalyticsInterval, true, [weak](base::Timer&) {
        if (auto controller = weak.lock())
            controller->analyticsScheduledTimerTriggered();
    });
}

void MVLectoroMediaBookController::stopAnalyticsScheduledTimer()
{
    if (m_analyticsTimer)
        m_analyticsTimer->invalidate();
    m_analyticsTimer = nullptr;
}

void MVLectoroMediaBookController::analyticsScheduledTimerTriggered()
{
    if (auto host = hostDelegate()) {
        updateLastPageFolio(m_reader ? m_reader->getMetaData() : base::Value(base::Value::Dictionary {}));
        host->didFetchLastAccessedForBookID(*this, bookIDText(), m_lastPageFolio.value_or("{}"));
    }
    trackBookCloseEvent();
    trackBookPageEvent();
    m_spanStart = base::Date::now();
    saveAnalyticsSession();
    trackBookOpenEvent();
}

// MARK: - Session expiry

bool MVLectoroMediaBookController::isSessionExpired(const base::Error& error, bool streamed) const
{
    if (streamed && error.code == 401)
        return true;
    const auto& token = error.userInfo["invalidFields"]["usertoken"];
    auto text = token.isString() ? *token.stringPointer() : (token.isInteger() ? std::to_string(*token.asInteger()) : "");
    return text == MVReaderServiceConstants::responseStatusCode103();
}

void MVLectoroMediaBookController::handleSessionExpiry(std::function<void()> repeat)
{
    if (m_launch.settings && m_launch.settings->isAutoLoginEnabled()) {
        // One refresh, one repeat: a service that keeps answering "expired" must not make
        // the two of us loop.
        if (m_tokenRefreshed)
            return;
        auto host = hostDelegate();
        if (!host || !m_launch.user)
            return;
        m_tokenRefreshed = true;
        std::weak_ptr<MVLectoroMediaBookController> weak = self();
        host->refreshUserToken(*this, m_launch.user, m_launch.user->userToken,
            [weak, repeat](std::shared_ptr<LectoroUser> refreshed) {
                auto controller = weak.lock();
                if (!controller || !refreshed)
                    return;
                controller->m_launch.user = std::move(refreshed);
                repeat();
            });
        return;
    }
    showSessionExpiredAlert();
}

void MVLectoroMediaBookController::showSessionExpiredAlert()
{
    if (!m_reader)
        return;
    std::weak_ptr<MVLectoroMediaBookController> weak = self();
    AlertView::sharedManager().presentAlertWithTitle(mediaLocalized("YOUR_SESSION_HAS_EXPIRED"),
        mediaLocalized("PLEASE_SIGN_IN_AGAIN"), std::vector<std::string> { "OK" }, m_reader,
        [weak](int64_t, const std::string&) {
            auto controller = weak.lock();
            if (!controller)
                return;
            controller->stopMedia();
            if (auto host = controller->hostDelegate())
                host->didUserSessionExpired(*controller);
        });
}

} // namespace lectoro
