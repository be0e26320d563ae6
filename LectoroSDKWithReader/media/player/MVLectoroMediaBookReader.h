#pragma once

// The media-book player screen: loads an audio or video book (a book folder, a downloaded
// stream's folder, or the address the streaming service gives), reports its position,
// and builds the player, the player view, the side panel and the top bar once it appears.
// Everything runs on the main thread; parses and service answers hop back to it.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReaderDelegate.h"
#include "LectoroSDKWithReader/media/player/MediaBookScreenLayout.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroHLSServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanels.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/Timer.h"
#include "platform/media/NowPlaying.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace ui {
class Button;
class ScrollView;
}

namespace lectoro {

class LectoroUser;
class MVAudioBookPlayerViewController;
class MVLectoroMediaBookThemeVO;
class MVMediaBookTOCController;
class MVVideoBookPlayerViewController;
class SDKBookmarkVO;

enum class MediaBookType : int { audio = 0, video = 1 };
std::optional<MediaBookType> mediaBookTypeFromRawValue(int);

inline constexpr const char* MVAudioBookViewOrientationChanged = "MVAudioBookViewOrientationChanged";

class MVLectoroMediaBookReader : public ui::ViewController,
                                 public MVMediaBookPlayerDelegate,
                                 public MVAudioBookPlayerViewControllerDelegate,
                                 public MVMediaBookTOCControllerDelegate,
                                 public MVMediaBookNarrationSpeedControllerDelegate,
                                 public MVMediaBookBookmarkControllerDelegate,
                                 public MVLectoroSleepTimerControllerDelegate,
                                 public MVVideoBookPlayerViewControllerDelegate,
                                 public MVLectoroMediaPopOverControllerDelegate {
public:
    struct BookInfo {
        std::string thumbnailURL;
        MediaBookType type = MediaBookType::video;
        std::string bookId;
        std::string isbn;
        base::Value additionalInfo = base::Value::Dictionary {};
    };
    struct StreamInfo {
        std::shared_ptr<LectoroUser> user;
        std::string baseURL;
        std::optional<std::string> microServicesURL;
        std::string clientID;
        int64_t bookId = 0;
        int64_t timeStamp = 0;
        bool enableCDNCookies = false;
    };

    // A book folder, a downloaded stream's folder, and a streamed book.
    static std::shared_ptr<MVLectoroMediaBookReader> createWithBookPath(const std::string& path, BookInfo);
    static std::shared_ptr<MVLectoroMediaBookReader> createWithMetaDataPath(const std::string& path, BookInfo);
    static std::shared_ptr<MVLectoroMediaBookReader> createWithStream(StreamInfo, BookInfo);
    void updateWithBookPath(const std::string& path, BookInfo);
    void updateWithMetaDataPath(const std::string& path, BookInfo);
    void updateWithStream(StreamInfo, BookInfo);

    ~MVLectoroMediaBookReader() override;
    std::string_view className() const override { return "MVLectoroMediaBookReader"; }

    void setDelegate(std::weak_ptr<MVLectoroMediaBookReaderDelegate> delegate) { m_delegate = std::move(delegate); }
    void setMediaPlayerDelegate(std::weak_ptr<MVMediaBookPlayerDelegate> delegate) { m_mediaPlayerDelegate = std::move(delegate); }
    void setTheme(std::shared_ptr<MVLectoroMediaBookThemeVO>);
    const std::shared_ptr<MVLectoroMediaBookThemeVO>& themeVO() const { return m_theme; }
    void enableBookmark(bool enabled) { m_hideBookmark = !enabled; }
    bool hideBookmark() const { return m_hideBookmark; }
    void setBookmarks(std::vector<std::shared_ptr<SDKBookmarkVO>>);
    const std::vector<std::shared_ptr<SDKBookmarkVO>>& bookmarks() const { return m_bookmarks; }
    void enableNextPreviousFeature(bool enabled) { m_nextPreviousEnabled = enabled; }
    void setNextPreviousBookIds(std::vector<int64_t>);
    void disableNextMediaButton(bool disabled);
    void disablePreviousMediaButton(bool disabled);

    // The position dictionary, and going back to one.
    base::Value getMetaData() const;
    void setStartTime(const base::Value& position);
    void navigateToStartPosition(const std::shared_ptr<MVMediaBookChapterVO>&, int64_t seconds);
    std::optional<std::vector<std::shared_ptr<SDKBookmarkVO>>> chapterBookmarks() const;

    void loadHLSMediaBookPath(const StreamInfo&, bool shouldLaunchMedia);
    // Stops the player, the scheduler and any service request still to answer.
    void closePlayer();
    void stopScheduler();
    void didCallScheduler();

    // Back, as the top bar's back button does it.
    void didTapOnBack();
    void nextMediaButtonTapped();
    void previousMediaButtonTapped();

    const std::shared_ptr<MVMediaBookModel>& mediaBookModel() const { return m_model; }
    const std::shared_ptr<MVMediaBookPlayer>& mediaBookPlayer() const { return m_player; }
    MediaBookType currentMediaBookType() const { return m_type; }
    const std::shared_ptr<MVAudioBookPlayerViewController>& audioPlayerVC() const { return m_audioPlayer; }
    const std::shared_ptr<MVVideoBookPlayerViewController>& videoPlayerView() const { return m_videoPlayer; }
    const std::shared_ptr<MVMediaBookTOCController>& tocController() const { return m_toc; }
    const std::shared_ptr<ui::View>& playerTopBar() const { return m_topBar; }
    const std::shared_ptr<ui::View>& scrollView() const { return m_scrollView; }
    const std::shared_ptr<ui::Button>& nextMediaButton() const { return m_nextButton; }
    const std::shared_ptr<ui::Button>& previousMediaButton() const { return m_previousButton; }
    double playerTopBarHeight() const { return m_topBarHeight; }
    const std::map<std::string, std::string>& mediaBookIDsHLSData() const { return m_hlsPaths; }
    const std::map<std::string, base::Value>& mediaBooksCookies() const { return m_hlsCookies; }
    bool mediaDataLoaded() const { return m_mediaDataLoaded; }
    bool isSchedulerRunning() const { return m_metaDataTimer != nullptr; }

    // ui::ViewController
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;
    void layoutForCurrentOrientation();

    // MVMediaBookPlayerDelegate
    void playerPlayingWithCurrentTime(int64_t currentTime, int64_t totalTime) override;
    void playerDidFinishPlaying() override;
    void playerFailedToPlayWithError(const base::Error&) override;
    void playerDidChangeStateWithMediaBookModel(const std::shared_ptr<MVMediaBookModel>&) override;

    // --- Player actions, chapters, bookmarks, callbacks, now playing, remote commands, the
    // sleep timer and the top bar's buttons (MediaBookPlayerActions.cpp,
    // MediaBookPlayerCallbacks.cpp, MediaBookNowPlaying.cpp, MediaBookSleepTimer.cpp,
    // MediaBookTopBar.cpp). Every callback of a panel or the player is handled here first,
    // then passed on to the matching second listener (held weakly) when one is set.
    static constexpr float forwardBackwardTimeConstant = 15.0f;
    void setAudioPlayerDelegate(std::weak_ptr<MVAudioBookPlayerViewControllerDelegate> d) { m_audioPlayerDelegate = std::move(d); }
    void setTocDelegate(std::weak_ptr<MVMediaBookTOCControllerDelegate> d) { m_tocDelegate = std::move(d); }
    void setSpeedDelegate(std::weak_ptr<MVMediaBookNarrationSpeedControllerDelegate> d) { m_speedDelegate = std::move(d); }
    void setBookmarkDelegate(std::weak_ptr<MVMediaBookBookmarkControllerDelegate> d) { m_bookmarkDelegate = std::move(d); }
    void setSleepTimerDelegate(std::weak_ptr<MVLectoroSleepTimerControllerDelegate> d) { m_sleepTimerDelegate = std::move(d); }
    // Seconds either side of a bookmark in which no other bookmark can be added (negative counts as 0).
    void setBookmarkDisabledTimeFrame(int64_t seconds) { m_bookmarkDisabledTimeFrame = seconds; }
    int64_t bookmarkDisabledTimeFrame() const { return m_bookmarkDisabledTimeFrame; }

    void playNextChapter();
    void playPreviousChapter();
    void updateChapterControls(bool hasChapter);
    void updateBookmarkButtonState();
    void bookmarkActionCompleted(const std::shared_ptr<SDKBookmarkVO>&);
    void showBookmarkController();
    void showNarrationSpeedController(const std::shared_ptr<ui::View>& sourceView);
    void removeNarrationSpeedController();
    void updateVideoReadyState(const std::shared_ptr<MVMediaBookModel>&);
    void enableSleepButton(bool enabled);
    const std::shared_ptr<MVMediaBookBookmarkController>& bookmarkController() const { return m_bookmarkController; }
    const std::shared_ptr<MVMediaBookNarrationSpeedController>& narrationSpeedController() const { return m_narrationSpeedController; }

    // Lock screen and remote commands (audio books). Handlers are removed again by closePlayer.
    void setupRemoteCommandCenter();
    void setupNowPlayingInfo();
    void publishNowPlayingInfo();
    void removeRemoteCommandHandlers();
    const media::NowPlayingInfo& nowPlayingInfo() const { return m_nowPlayingInfo; }
    // The top bar's back button: closes the player, hands the position to the delegate.
    void didTapOnBackButton(ui::Button&);
    void handleBackAction();
    const std::shared_ptr<ui::Button>& backButton() const { return m_backButton; }
    const std::shared_ptr<ui::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ui::Button>& sleepButton() const { return m_sleepButton; }

    // The sleep timer: a one-shot timer that pauses, and a 1 s countdown shown in the audio view.
    void didTapOnSleepButton(ui::Button&);
    void removeSleepTimerController();
    void startSleepTimer(double seconds);
    void stopSleepTimer();
    void startSleepCountDown(double seconds);
    void updateSleepCountDownTimer();
    void updateSleepTimeLabel();
    void stopSleepCountDown();
    void pauseAudio();
    void updateSleepButtonAppearance(bool isOff);
    const std::shared_ptr<MVLectoroSleepTimerController>& sleepTimerVC() const { return m_sleepTimerVC; }
    bool isSleepTimerRunning() const { return m_audioSleepTimer != nullptr; }
    bool isSleepCountDownRunning() const { return m_sleepCountDownTimer && m_sleepCountDownTimer->isValid(); }
    double sleepTimerCountDownTime() const { return m_sleepTimerCountDownTime; }
    std::optional<SleepAction> selectedSleepAction() const { return m_selectedSleepAction; }
    std::optional<double> selectedSleepTime() const { return m_selectedSleepTime; }

    // MVAudioBookPlayerViewControllerDelegate
    void didTapOnBookmark() override;
    void didTapOnPlayPause(const std::shared_ptr<MVMediaBookModel>&) override;
    void didTapOnNarrationSpeed(ui::Button&) override;
    void didTapOnForward() override;
    void didTapOnRewind() override;
    void didTapOnNextChapter() override;
    void didTapOnPreviousChapter() override;
    void didSeekBarValueChanged() override;
    std::shared_ptr<ui::ImageView> imageViewForThumbnail(const std::string& address) override;
    // MVMediaBookTOCControllerDelegate
    void didTapOnChapterSegment() override;
    void didTapOnTranscriptSegment() override;
    void didTapOnBookmarkSegment() override;
    void didTapOnChapter(const std::shared_ptr<MVMediaBookChapterVO>&) override;
    void didTapOnTranscript(const std::shared_ptr<MVMediaBookChapterVO>&) override;
    void didTapOnBookmark(const std::shared_ptr<SDKBookmarkVO>&) override;
    void didTapOnChapterPlayPause(const std::shared_ptr<MVMediaBookModel>&) override;
    void didTapOnBookmarkDelete(const std::shared_ptr<SDKBookmarkVO>&) override;
    // MVMediaBookNarrationSpeedControllerDelegate
    void didNarrationSpeedValueChanges(const std::shared_ptr<MVMediaBookModel>&) override;
    void didTapOnCancel() override;
    // MVMediaBookBookmarkControllerDelegate
    void didTapOnAddBookmark(const std::shared_ptr<SDKBookmarkVO>&) override;
    void didTapOnDeleteBookmark(const std::shared_ptr<SDKBookmarkVO>&) override;
    void didTapOnCancelBookmark(const std::shared_ptr<SDKBookmarkVO>&) override;
    // MVLectoroSleepTimerControllerDelegate
    void didSetAudioSleepTimerWithSelectedSleepTime(double seconds, SleepAction) override;
    void didSetAudioSleepTimerOff() override;
    void didRemoveSleepTimerView() override;

private:
    // Player actions and the sleep timer: helpers and state.
    void reportPlaybackState(const std::string& state);
    void showBookmarkPanel(std::shared_ptr<SDKBookmarkVO> bookmarkToDelete);
    void removeBookmarkController();
    void refreshBookmarkSegment();
    void setRemoteTrackCommandsEnabled(std::optional<bool> previous, std::optional<bool> next);
    bool isLastChapterCurrent() const;
    void buildTopBarItems();
    void layoutTopBarItems();
    void releasePlayerStack();
    // The one play/pause toggle of the audio and the video view: pause while playing,
    // else play on; the host hears the new state.
    void togglePlayPause();
    // Empties the lock screen and the reader's copy of what it showed.
    void clearNowPlayingInfo();
    // A book opened into the running player: once it has loaded, the lock screen shows it
    // (title and cover afresh; the remote-command handlers stay the ones already set).
    void publishNewBookNowPlayingInfoIfPending();
    // Takes a panel off the screen: what it presented, its view, its place as a child.
    void detachPanel(ui::ViewController& panel);

    std::weak_ptr<MVAudioBookPlayerViewControllerDelegate> m_audioPlayerDelegate;
    std::weak_ptr<MVMediaBookTOCControllerDelegate> m_tocDelegate;
    std::weak_ptr<MVMediaBookNarrationSpeedControllerDelegate> m_speedDelegate;
    std::weak_ptr<MVMediaBookBookmarkControllerDelegate> m_bookmarkDelegate;
    std::weak_ptr<MVLectoroSleepTimerControllerDelegate> m_sleepTimerDelegate;
    int64_t m_bookmarkDisabledTimeFrame = 1;
    std::shared_ptr<MVMediaBookBookmarkController> m_bookmarkController;
    std::shared_ptr<MVMediaBookNarrationSpeedController> m_narrationSpeedController;
    std::shared_ptr<MVLectoroSleepTimerController> m_sleepTimerVC;
    std::shared_ptr<ui::Button> m_backButton;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::Button> m_sleepButton;
    media::NowPlayingInfo m_nowPlayingInfo;
    bool m_nowPlayingPendingForNewBook = false;
    // closePlayer empties the lock screen only the first time.
    bool m_lockScreenReleased = false;
    std::vector<std::pair<media::RemoteCommand*, media::RemoteCommand::TargetId>> m_remoteCommandTargets;
    std::shared_ptr<base::Timer> m_audioSleepTimer;
    std::shared_ptr<base::Timer> m_sleepCountDownTimer;
    double m_sleepTimerCountDownTime = 0;
    std::optional<double> m_selectedSleepTime;
    std::optional<SleepAction> m_selectedSleepAction;

    MVLectoroMediaBookReader();
    std::shared_ptr<MVLectoroMediaBookReader> self();
    void setMediaBookModel(const std::string& path, const BookInfo&);
    void setStreamedMediaBookModel(const StreamInfo&, const BookInfo&);
    void handModelToPlayerStack();
    using Completion = std::function<void(std::optional<base::Error>)>;
    void loadMediaBook(const std::string& path, const std::optional<std::string>& bookId, Completion);
    void parseMediaBook(std::optional<std::string> tocPath, std::optional<std::string> timeIndexPath, Completion);
    void parseInBackground();
    void didParse(const std::shared_ptr<MVMediaBookModel>& parsed, Completion);
    void startPlaybackAfterLoad();
    void prefetchNeighbours();
    void refreshBookmarksOnScreen();
    void updateContentsList();
    MediaBookScreenMetrics screenMetrics() const;
    void applyFrames(const MediaBookScreenFrames&);
    void setUpMediaBookPlayer();
    void setUpPlayerView();
    void setUpChapterListPanel();
    void setUpPlayerTopBar();
    void addNextPreviousMediaButtons();
    std::shared_ptr<ui::View> playerComponentView() const;

    std::weak_ptr<MVLectoroMediaBookReaderDelegate> m_delegate;
    std::weak_ptr<MVMediaBookPlayerDelegate> m_mediaPlayerDelegate;
    std::shared_ptr<MVLectoroMediaBookThemeVO> m_theme;
    std::vector<std::shared_ptr<SDKBookmarkVO>> m_bookmarks;
    bool m_hideBookmark = false;
    bool m_nextPreviousEnabled = true;
    bool m_nextDisabled = true;
    bool m_previousDisabled = true;
    MediaBookType m_type = MediaBookType::video;
    std::shared_ptr<MVMediaBookModel> m_model;
    std::shared_ptr<MVMediaBookPlayer> m_player;
    std::shared_ptr<base::Timer> m_metaDataTimer;

    // Streaming.
    std::optional<StreamInfo> m_stream;
    std::vector<std::shared_ptr<MVLectoroHLSServiceInterface>> m_hlsRequests;
    std::map<std::string, std::string> m_hlsPaths;
    std::map<std::string, base::Value> m_hlsCookies;
    std::vector<int64_t> m_mediaBookIDs;
    bool m_mediaDataLoaded = false;
    bool m_isHLSPlaying = false;

    // The screen.
    bool m_screenBuilt = false;
    double m_topBarHeight = 50.0;
    ui::Size m_contentViewSize;
    std::shared_ptr<MVAudioBookPlayerViewController> m_audioPlayer;
    std::shared_ptr<MVVideoBookPlayerViewController> m_videoPlayer;
    std::shared_ptr<MVMediaBookTOCController> m_toc;
    std::shared_ptr<ui::View> m_topBar;
    std::shared_ptr<ui::View> m_scrollView;
    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::Button> m_nextButton;
    std::shared_ptr<ui::Button> m_previousButton;
    // --- Video controls, the settings pop-over, next / previous media and teardown ---
public:
    // Second listeners of the video view's taps and of the pop-over (held weakly); each
    // hears a tap after the reader has handled it.
    void setVideoPlayerDelegate(std::weak_ptr<MVVideoBookPlayerViewControllerDelegate> delegate)
    {
        m_videoPlayerDelegate = std::move(delegate);
    }
    void setPopOverDelegate(std::weak_ptr<MVLectoroMediaPopOverControllerDelegate> delegate)
    {
        m_popOverDelegate = std::move(delegate);
    }
    bool isVideoFullScreen() const { return m_isVideoFullScreen; }
    bool isVideoFullScreenForIphone() const { return m_isVideoFullScreenForIphone; }
    const std::shared_ptr<MVLectoroMediaPopOverController>& popOverViewController() const
    {
        return m_popOverViewController;
    }
    // The settings entry whose value list was opened last ("" before any).
    const std::string& currentPopOverItem() const { return m_currentPopOverItem; }
    const std::shared_ptr<ui::View>& leftBorderView() const { return m_leftBorderView; }
    const std::shared_ptr<ui::View>& topBorderView() const { return m_topBorderView; }
    const ui::ConstraintPtr& previousButtonLeadingConstraint() const
    {
        return m_previousButtonLeadingConstraint;
    }
    const ui::ConstraintPtr& nextButtonTrailingConstraint() const { return m_nextButtonTrailingConstraint; }

    // The settings the more-options button offers, as localised titles and their icon
    // glyphs in the same order: language, quality, subtitles, each only with values.
    struct SettingsEntries {
        std::vector<std::string> titles;
        std::vector<std::string> icons;
    };
    SettingsEntries settingsEntries() const;

    // MVVideoBookPlayerViewControllerDelegate
    void didTapOnVideoView(bool hidden) override;
    void didTapOnVideoFullScreen(bool fullScreen) override;
    void didTapOnVideoMute(bool muted) override;
    void didTapOnVideoBack() override;
    void didTapOnVideoBookmark() override;
    void didTapOnVideoNarrationSpeed(ui::Button&) override;
    void didTapOnVideoRewind() override;
    void didTapOnVideoForward() override;
    void didTapOnVideoPlayPause(const std::shared_ptr<MVMediaBookModel>&) override;
    void didTapOnVideoNextChapter() override;
    void didTapOnVideoPreviousChapter() override;
    void didVideoSeekBarValueChanged() override;
    void didTapOnSubtitleView(bool on) override;
    void didTapOnVideoMoreOptions(ui::View& source) override;

    // MVLectoroMediaPopOverControllerDelegate
    void didTapOnItem(const std::string& item) override;
    void didTapOnCancelItem() override;
    void didChangeSwitchState(bool on) override;

    void hideNextPreviousControls(bool hide);
    void updateVideoPlayerLayout();
    void updateSleepButtonAndTopBar();
    // On: the remembered or first offered subtitle; off (or nothing offered): none.
    void updateSubtitleState(bool isOn);
    void removePopOverController();
    void updateNextPreviousButtonMetrics();

private:
    MVLectoroMediaPopOverModel makeMoreOptionsPopOverModel(ui::View& source) const;
    void showMoreOptionsPopOver(MVLectoroMediaPopOverModel);
    MVLectoroMediaPopOverModel valuePopOverModel(const std::string& title,
        const std::vector<std::string>& values, const std::optional<std::string>& selected) const;
    MVLectoroMediaPopOverModel subtitlePopOverModel(const std::string& title) const;
    void applyPopOverValue(const std::string& value);
    void showSubtitleNotice(const std::string& subtitle);
    void resetForMediaChange();
    void applyNavigationButtonLook(ui::Button&, bool disabled);
    // Ties the media buttons to the picture or the cover; false when there is none.
    bool placeNextPreviousMediaButtons();
    void addSidePanelBorders();
    void colourSidePanelBorders(const MediaBookScreenFrames&);
    // After the screen's frames are set at build time or after a rotation: the side panel's
    // borders and, on a phone, the video's own layout. The top bar and the media buttons
    // follow in the caller.
    void didLayOutScreen(const MediaBookScreenFrames&);
    void refreshBookmarkMarksLater();
    void tearDownForRelease();

    std::weak_ptr<MVVideoBookPlayerViewControllerDelegate> m_videoPlayerDelegate;
    std::weak_ptr<MVLectoroMediaPopOverControllerDelegate> m_popOverDelegate;
    bool m_isVideoFullScreen = false;
    bool m_isVideoFullScreenForIphone = false;
    std::shared_ptr<MVLectoroMediaPopOverController> m_popOverViewController;
    std::string m_currentPopOverItem;
    // The subtitle last picked from the list, which the switch turns on again.
    std::optional<std::string> m_lastPickedSubtitle;
    std::shared_ptr<ui::View> m_leftBorderView;
    std::shared_ptr<ui::View> m_topBorderView;
    ui::ConstraintPtr m_previousButtonLeadingConstraint;
    ui::ConstraintPtr m_nextButtonTrailingConstraint;
    std::vector<ui::ConstraintPtr> m_nextPreviousConstraints;
};

} // namespace lectoro
