// The player screen: built once its view has appeared, laid out by device, orientation
// and layout direction, and laid out again after each rotation.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Font.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TransitionCoordinator.h"

namespace lectoro {

namespace {

constexpr double mediaSchedulerInterval = 10.0;

} // namespace

void MVLectoroMediaBookReader::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    if (auto window = ui::Environment::current().keyWindow())
        view()->setFrame(window->bounds());
    disableNextMediaButton(true);
    disablePreviousMediaButton(true);
    view()->setBackgroundColor(m_theme->media_sidepanel_background());
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    m_metaDataTimer = base::Timer::scheduled(mediaSchedulerInterval, true, [weak](base::Timer&) {
        if (auto reader = weak.lock())
            reader->didCallScheduler();
    });
}

void MVLectoroMediaBookReader::viewDidAppear(bool animated)
{
    ui::ViewController::viewDidAppear(animated);
    // A screen that appears again (after a presented sheet closes) keeps what it built.
    if (m_screenBuilt || !m_model)
        return;
    m_screenBuilt = true;
    m_contentViewSize = mediaBookContentViewSize(view()->frame().size);
    setUpMediaBookPlayer();
    setUpPlayerView();
    setUpChapterListPanel();
    setUpPlayerTopBar();
    auto frames = mediaBookBuildFrames(screenMetrics());
    applyFrames(frames);
    didLayOutScreen(frames);
    // A video on a phone held sideways is laid out as after a rotation.
    const bool phoneLandscapeVideo = m_type == MediaBookType::video && frames.phoneLandscape;
    if (phoneLandscapeVideo)
        refreshBookmarkMarksLater();
    updateSleepButtonAndTopBar();
    if (phoneLandscapeVideo && m_videoPlayer)
        m_videoPlayer->updateViewOnOrientationChange();
    updateNextPreviousButtonMetrics();
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    base::RunLoop::main().postDelayed(0.01, [weak] {
        if (auto reader = weak.lock(); reader && reader->m_nextPreviousEnabled)
            reader->addNextPreviousMediaButtons();
    });
}

MediaBookScreenMetrics MVLectoroMediaBookReader::screenMetrics() const
{
    const auto& environment = ui::Environment::current();
    MediaBookScreenMetrics metrics;
    metrics.pad = environment.isPad();
    metrics.rightToLeft = environment.isRightToLeft();
    metrics.video = m_type == MediaBookType::video;
    metrics.deviceOrientation = static_cast<int>(environment.deviceOrientation());
    metrics.frame = viewIfLoaded() ? viewIfLoaded()->frame().size : ui::Size();
    metrics.insets = environment.safeAreaInsets();
    metrics.contentViewSize = m_contentViewSize;
    metrics.topBarHeight = m_topBarHeight;
    metrics.videoFullScreen = m_isVideoFullScreen;
    return metrics;
}

std::shared_ptr<ui::View> MVLectoroMediaBookReader::playerComponentView() const
{
    if (m_type == MediaBookType::video)
        return m_videoPlayer ? m_videoPlayer->view() : nullptr;
    return m_audioPlayer ? m_audioPlayer->view() : nullptr;
}

void MVLectoroMediaBookReader::setUpMediaBookPlayer()
{
    m_player = companionFramework()->makeMediaBookPlayer(m_model);
    if (!m_player)
        return;
    m_player->setDelegate(std::static_pointer_cast<MVMediaBookPlayerDelegate>(self()));
    if (auto playerView = m_player->view())
        view()->addSubview(playerView);
    // A start position applied before the screen appeared is where playing begins.
    if (m_model->currentChapter)
        m_player->navigateToChapter(m_model->currentChapter, m_model->currentTime);
    if (m_type == MediaBookType::audio) {
        setupRemoteCommandCenter();
        setupNowPlayingInfo();
    }
}

void MVLectoroMediaBookReader::setUpPlayerView()
{
    if (m_type == MediaBookType::video) {
        m_videoPlayer = MVVideoBookPlayerViewController::create(m_model, m_player ? m_player->getPlayerLayerView() : nullptr);
        m_videoPlayer->setDelegate(std::static_pointer_cast<MVVideoBookPlayerViewControllerDelegate>(self()));
        m_videoPlayer->setTheme(m_theme);
        m_videoPlayer->hideBookmark(m_hideBookmark);
        addChildViewController(m_videoPlayer);
        view()->addSubview(m_videoPlayer->view());
        return;
    }
    m_audioPlayer = MVAudioBookPlayerViewController::create(m_model);
    m_audioPlayer->setDelegate(std::static_pointer_cast<MVAudioBookPlayerViewControllerDelegate>(self()));
    m_audioPlayer->setTheme(m_theme);
    m_audioPlayer->hideBookmark(m_hideBookmark);
    auto index = m_model->indexOfChapter(m_model->currentChapter);
    if (!m_model->currentChapter || (index && *index == 0)) {
        m_audioPlayer->disablePreviousChapter(true);
        media::RemoteCommandCenter::shared().previousTrackCommand().setEnabled(false);
    }
    addChildViewController(m_audioPlayer);
    if (ui::Environment::current().isPad()) {
        view()->addSubview(m_audioPlayer->view());
        return;
    }
    auto scroll = ui::ScrollView::create();
    scroll->setBackgroundColor(ui::Color::white());
    scroll->setFrame(view()->bounds());
    scroll->setContentSize(m_contentViewSize);
    m_scrollView = scroll;
    m_containerView = ui::View::create(ui::Rect(ui::Point(), m_contentViewSize));
    m_containerView->setBackgroundColor(m_theme->media_sidepanel_background());
    view()->addSubview(m_scrollView);
    m_scrollView->addSubview(m_containerView);
    m_containerView->addSubview(m_audioPlayer->view());
}

void MVLectoroMediaBookReader::setUpChapterListPanel()
{
    m_toc = MVMediaBookTOCController::create(m_model);
    m_toc->setTheme(m_theme);
    m_toc->setDelegate(std::static_pointer_cast<MVMediaBookTOCControllerDelegate>(self()));
    m_toc->hideBookmark(m_hideBookmark);
    m_toc->hideTranscript(true);
    addChildViewController(m_toc);
    if (m_type == MediaBookType::audio && m_containerView)
        m_containerView->addSubview(m_toc->view());
    else
        view()->addSubview(m_toc->view());
    updateContentsList();
    addSidePanelBorders();
}

void MVLectoroMediaBookReader::setUpPlayerTopBar()
{
    m_topBar = ui::View::create();
    m_topBar->setBackgroundColor(m_theme->media_toppanel_background());
    m_topBar->layer()->setZPosition(1.0);
    view()->addSubview(m_topBar);
    buildTopBarItems();
}

void MVLectoroMediaBookReader::applyFrames(const MediaBookScreenFrames& frames)
{
    auto bounds = view()->bounds();
    if (m_scrollView && frames.scrollView) {
        m_scrollView->setFrame(*frames.scrollView);
        std::static_pointer_cast<ui::ScrollView>(m_scrollView)->setContentSize(m_contentViewSize);
        if (m_containerView)
            m_containerView->setFrame(ui::Rect(m_containerView->frame().origin, m_contentViewSize));
    }
    if (auto component = playerComponentView(); component && frames.player)
        component->setFrame(*frames.player);
    if (m_toc && frames.panel) {
        m_toc->view()->setFrame(*frames.panel);
        m_toc->view()->setHidden(frames.panelHidden);
    }
    if (m_videoPlayer && frames.videoFullScreenForPhone)
        m_videoPlayer->setViewFullScreenForIphone();
    if (m_topBar) {
        auto insets = ui::Environment::current().safeAreaInsets();
        m_topBar->setFrame(ui::Rect(insets.left, frames.topBarTop, bounds.size.width - insets.left - insets.right, m_topBarHeight));
        layoutTopBarItems();
    }
}

void MVLectoroMediaBookReader::viewWillTransitionToSize(const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    ui::ViewController::viewWillTransitionToSize(size, coordinator);
    removeNarrationSpeedController();
    removeSleepTimerController();
    // Panels sized for the old screen close; the borders stay clear while it turns.
    removePopOverController();
    for (const auto& border : { m_topBorderView, m_leftBorderView })
        if (border)
            border->setBackgroundColor(ui::Color::clear());
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    coordinator.animateAlongside({}, [weak](const ui::TransitionCoordinatorContext&) {
        if (auto reader = weak.lock())
            reader->layoutForCurrentOrientation();
    });
}

void MVLectoroMediaBookReader::layoutForCurrentOrientation()
{
    if (!m_screenBuilt)
        return;
    auto metrics = screenMetrics();
    auto frames = mediaBookRotationFrames(metrics, ui::Environment::current().screenSize());
    m_contentViewSize = ui::isLandscape(ui::Environment::current().deviceOrientation())
        ? ui::Size(metrics.frame.width, 2 * metrics.frame.height)
        : metrics.frame;
    applyFrames(frames);
    didLayOutScreen(frames);
    refreshBookmarkMarksLater();
    updateSleepButtonAndTopBar();
    // The picture takes its new size first: the media buttons are centred on it.
    if (m_videoPlayer)
        m_videoPlayer->updateViewOnOrientationChange();
    updateNextPreviousButtonMetrics();
    // Whoever hears of the new orientation finds the screen laid out for it.
    base::NotificationCenter::defaultCenter().post(MVAudioBookViewOrientationChanged);
}

} // namespace lectoro
