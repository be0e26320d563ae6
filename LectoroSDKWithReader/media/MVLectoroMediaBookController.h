#pragma once

// Hosts the audio, video and streamed-book player screen as its only child and owns the
// book's session: local bookmarks, the analytics session (a 10 s timer while playing), the
// last listening position (the last page folio as JSON text), token expiry, and the
// hand-over to the host on back, next, previous and the end of the book.

#include "LectoroSDKWithReader/media/MVLectoroMediaBookControllerDelegate.h"
#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "platform/base/Date.h"
#include "platform/base/Timer.h"
#include "platform/base/Value.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LectoroDataSyncingManager;
class LectoroUser;
class MVLectoroAnalyticsHandler;
class MVReaderSettingModel;
class SDKBookClassInfoVO;
class SDKBookmarkVO;
class YSDBManager;

class MVLectoroMediaBookController : public ui::ViewController,
                                     public MVLectoroMediaBookReaderDelegate,
                                     public MVMediaBookPlayerDelegate,
                                     public LectoroDataSyncingManagerDelegate {
public:
    enum class LaunchKind { None, Folder, OfflineHLS, OnlineHLS };

    // What the last launch handed over.
    struct Launch {
        LaunchKind kind = LaunchKind::None;
        std::string bookPath;
        int32_t bookID = 0;
        std::string isbn;
        std::string thumbnailURL;
        std::string baseURL;
        std::optional<std::string> microServicesURL;
        std::string clientID;
        std::shared_ptr<LectoroUser> user;
        std::shared_ptr<MVReaderSettingModel> settings;
        bool isAudioBook = false;
        bool enableCDNCookies = false;
        std::optional<int64_t> timeStamp;
        std::optional<base::Value> additionalInfo;
        std::string bookVersion;
    };

    static std::shared_ptr<MVLectoroMediaBookController> create();

    std::weak_ptr<MVLectoroMediaBookControllerDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<MVLectoroMediaBookControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    const std::optional<std::string>& lastPageFolio() const { return m_lastPageFolio; }
    void setLastPageFolio(std::optional<std::string> folio) { m_lastPageFolio = std::move(folio); }

    // With no path the controller falls back to the main bundle's "audio-video-theme.json".
    void setAudioThemeFilePath(std::optional<std::string> path) { m_audioThemeFilePath = std::move(path); }
    const std::optional<std::string>& audioThemeFilePath() const { return m_audioThemeFilePath; }

    void launchMediaReader(const std::string& bookPath, int32_t bookID, const std::string& isbn,
        const std::string& thumbnailURL, const std::string& baseURL, const std::string& clientID,
        std::shared_ptr<LectoroUser>, std::shared_ptr<MVReaderSettingModel>, bool isAudioBook,
        std::optional<base::Value> additionalInfo, const std::string& bookVersion);
    void launchOfflineHLSMedia(const std::string& downloadedPath, int32_t bookID,
        const std::string& thumbnailURL, const std::string& baseURL, const std::string& clientID,
        std::shared_ptr<LectoroUser>, bool isAudioBook, const std::string& isbn,
        std::shared_ptr<MVReaderSettingModel>, std::optional<base::Value> additionalInfo,
        const std::string& bookVersion);
    void launchOnlineHLSMedia(int32_t bookID, const std::string& thumbnailURL, const std::string& baseURL,
        std::optional<std::string> microServicesURL, const std::string& clientID,
        std::shared_ptr<LectoroUser>, const std::string& isbn, int64_t timeStamp, bool isBookAudio,
        bool enableCDNCookies, std::shared_ptr<MVReaderSettingModel>,
        std::optional<base::Value> additionalInfo, const std::string& bookVersion);

    const Launch& lastLaunch() const { return m_launch; }

    // Configuration before a launch.
    void enabledNextPreviousFeature(bool enabled) { m_enableNextPreviousFeature = enabled; }
    void setNextPreviousMediaArray(std::vector<int64_t> ids) { m_mediaBookIDs = std::move(ids); }
    void enableNextMediaButton(bool enabled) { m_nextDisabled = !enabled; }
    void enablePreviousMediaButton(bool enabled) { m_previousDisabled = !enabled; }
    // The host's theme path, else the bundle's "audio-video-theme.json" (none without one).
    std::optional<std::string> getAudioThemeFilePath() const;

    const std::shared_ptr<MVLectoroMediaBookReader>& mediaReader() const { return m_reader; }
    bool isMediaLoaded() const { return m_isMediaLoaded; }
    bool isAnalyticsTimerRunning() const { return m_analyticsTimer != nullptr; }
    bool hasOpenListeningSpan() const { return m_spanStart.has_value(); }
    const std::shared_ptr<MVLectoroAnalyticsHandler>& analyticsHandler() const { return m_analytics; }
    static std::vector<std::shared_ptr<SDKBookmarkVO>> getSortedBookmarks(std::vector<std::shared_ptr<SDKBookmarkVO>>);

    ~MVLectoroMediaBookController() override;
    void viewDidLoad() override;

    // MVLectoroMediaBookReaderDelegate
    void didTapOnBack(const base::Value& metaData, MVLectoroMediaBookReader&) override;
    std::shared_ptr<ui::ImageView> imageViewForThumbnail(const std::string& address) override;
    void didBookmarkCompleteWithBookmarkVO(const std::shared_ptr<SDKBookmarkVO>&) override;
    void didHLSMediaServiceFailWithError(const base::Error&, int64_t bookId, int64_t timeStamp) override;
    void didHLSMediaServiceCallSuccessfullyWithMediaPath(const std::string& path, int64_t bookId) override;
    void didMediaPlaybackStateChange(const std::string& state) override;
    void didTapOnNextMediaButton(MVLectoroMediaBookReader&) override;
    void didTapOnPreviousMediaButton(MVLectoroMediaBookReader&) override;

    // MVMediaBookPlayerDelegate (as the reader's second listener)
    void playerDidFinishPlaying() override;
    void playerFailedToPlayWithError(const base::Error&) override;

    // LectoroDataSyncingManagerDelegate
    void didFetchedUGCSuccessfully() override;
    void didFailedToFetchUGCWithError(const base::Error&) override;

    // One analytics tick (the timer runs it every 10 s while playing).
    void analyticsScheduledTimerTriggered();

protected:
    MVLectoroMediaBookController() = default;

private:
    std::shared_ptr<MVLectoroMediaBookController> self();
    std::shared_ptr<MVLectoroMediaBookControllerDelegate> hostDelegate() const { return m_delegate.lock(); }
    void storeLaunch(const Launch&);
    // After any launch: the reader shown, a fresh listening span, and (unless the book's
    // address is still to come) the open tracked.
    void showLaunchedReader(bool trackOpenNow);
    MVLectoroMediaBookReader::BookInfo bookInfo(const Launch&) const;
    MVLectoroMediaBookReader::StreamInfo streamInfo(const Launch&) const;
    void handleMediaReaderUI();
    void fetchBookmarks();
    void setStartTimeForMediaBook();
    void handleActionWhenMediaPathLoaded();
    void handleBookOpenTrackingAction();
    void trackBookOpenEvent();
    void trackBookCloseEvent();
    void trackBookPageEvent();
    void saveAnalyticsSession();
    void startAnalyticsScheduledTimer();
    void stopAnalyticsScheduledTimer();
    void closeListeningSpan();
    // The reader's position as JSON text; an empty position keeps the last one known.
    void updateLastPageFolio(const base::Value& metaData);
    void handleBackButtonAction(const base::Value& metaData);
    void stopMedia();
    bool isSessionExpired(const base::Error&, bool streamed) const;
    void handleSessionExpiry(std::function<void()> repeat);
    void showSessionExpiredAlert();
    std::string bookIDText() const;
    int64_t userNumber() const;

    std::weak_ptr<MVLectoroMediaBookControllerDelegate> m_delegate;
    std::optional<std::string> m_lastPageFolio;
    std::optional<std::string> m_audioThemeFilePath;
    Launch m_launch;

    std::shared_ptr<MVLectoroMediaBookReader> m_reader;
    std::shared_ptr<LectoroDataSyncingManager> m_dataSyncManager;
    std::shared_ptr<YSDBManager> m_dbManager;
    std::shared_ptr<MVLectoroAnalyticsHandler> m_analytics;
    std::shared_ptr<SDKBookClassInfoVO> m_bookClassInfo;
    std::shared_ptr<base::Timer> m_analyticsTimer;
    std::optional<base::Date> m_bookOpenTimeStamp;
    // The start of the listening span now open.
    std::optional<base::Date> m_spanStart;
    bool m_isMediaLoaded = false;
    bool m_enableNextPreviousFeature = false;
    bool m_nextDisabled = false;
    bool m_previousDisabled = false;
    std::vector<int64_t> m_mediaBookIDs;
    // A refreshed token is tried once: an answer that is still "expired" ends there.
    bool m_tokenRefreshed = false;
};

} // namespace lectoro
