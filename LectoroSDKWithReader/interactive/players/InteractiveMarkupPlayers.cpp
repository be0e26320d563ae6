#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIViewControllerExpanded.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/LinkAddresses.h"
#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "LectoroSDKWithReader/interactive/MarkupTexts.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroMarkupPlayers.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/URL.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

namespace lectoro {

using Events = LectoroReaderEventConstant;

namespace {

std::string text(const char* key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

bool playersOnline()
{
    return LectoroNetworkManager::getInstance().isInternetAvailable();
}

bool fileExists(const std::string& path)
{
    return base::FileManager::defaultManager().fileExists(path);
}

void pinToEdges(ui::View& view, ui::View& to)
{
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({ view.topAnchor().constraintEqualTo(to.topAnchor()),
        view.bottomAnchor().constraintEqualTo(to.bottomAnchor()),
        view.leftAnchor().constraintEqualTo(to.leftAnchor()),
        view.rightAnchor().constraintEqualTo(to.rightAnchor()) });
    view.setFrame(to.bounds());
}

} // namespace

// The players' delegate seats, owned by the feature: a player outliving it reaches nothing.
class InteractiveMarkupPlayers::Delegates final : public AudioPlayerDelegate,
                                                  public LectoroImageControllerDelegate,
                                                  public LectoroVideoPlayerDelegate,
                                                  public Lectoro3dPlayerViewControllerDelegate,
                                                  public LectoroYTPlayerDelegate,
                                                  public LectoroDocumentPlayerDelegate {
public:
    explicit Delegates(InteractiveMarkupPlayers& owner)
        : m_owner(owner)
    {
    }
    void audioPlayerFinishPlaying() override { m_owner.audioPlayerFinishPlaying(); }
    void remoteAudioDidLoad() override { m_owner.remoteAudioDidLoad(); }
    void remoteAudioLoadingDidFailed(const base::Error& error) override
    {
        m_owner.remoteAudioLoadingDidFailed(error);
    }
    void didTapOnCloseForImageContoller() override { m_owner.didTapOnCloseForImageContoller(); }
    void didFailedLoadingImage() override { m_owner.didFailedLoadingImage(); }
    void didFailedLoadingImage(const base::Error& error) override { m_owner.didFailedLoadingImage(error); }
    void didLoadRemoteImage(int64_t index) override { m_owner.didLoadRemoteImage(index); }
    void videoPlayerDidStopPlaying() override { m_owner.videoPlayerDidStopPlaying(); }
    void videoPlayerDidEnterFullScreenWithLinkVO(std::shared_ptr<PXLinkVO> link) override
    {
        m_owner.videoPlayerDidEnterFullScreenWithLinkVO(link);
    }
    void videoPlayerDidExitFullScreenWithLinkVO(std::shared_ptr<PXLinkVO> link) override
    {
        m_owner.videoPlayerDidExitFullScreenWithLinkVO(link);
    }
    void lectoro3dPlayerFullscreenButtonTappedWithIsFullScreen(
        bool fullScreen, std::shared_ptr<PXLinkVO> link) override
    {
        m_owner.lectoro3dPlayerFullscreenButtonTappedWithIsFullScreen(fullScreen, link);
    }
    void lectoro3dPlayerDidClosed() override { m_owner.lectoro3dPlayerDidClosed(); }
    void didCloseYoutubePlayer() override { m_owner.didCloseYoutubePlayer(); }
    void documentPLayerDidClosed() override { m_owner.documentPLayerDidClosed(); }

private:
    InteractiveMarkupPlayers& m_owner;
};

InteractiveMarkupPlayers::InteractiveMarkupPlayers(ReaderContext& context, InteractiveReader& reader)
    : m_context(context)
    , m_reader(reader)
    , m_delegates(std::make_shared<Delegates>(*this))
{
}

InteractiveMarkupPlayers::~InteractiveMarkupPlayers()
{
    if (m_audioPlayer)
        m_audioPlayer->setDelegate({});
}

void InteractiveMarkupPlayers::notifyMarkupEvent(const std::string& value)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(Events::markupEventName(),
            base::Value::Dictionary { { Events::markupEventParameterKey(), value } });
}

std::shared_ptr<ui::View> InteractiveMarkupPlayers::readerView() const
{
    auto presenter = m_reader.presentingController();
    return presenter ? presenter->view() : nullptr;
}

void InteractiveMarkupPlayers::setRendererTouches(bool enabled)
{
    if (m_context.renderer)
        m_context.renderer->view()->setUserInteractionEnabled(enabled);
}

void InteractiveMarkupPlayers::placeOverReader(const std::shared_ptr<ui::ViewController>& player)
{
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    player->view()->setFrame(presenter->view()->bounds());
    presenter->addChildViewController(player);
    presenter->view()->addSubview(player->view());
}

void InteractiveMarkupPlayers::placeInline(const std::shared_ptr<ui::View>& view, const PXLinkVO& link)
{
    if (m_context.renderer && view)
        m_context.renderer->addInLineVideo(view, link.boxTansformedRect, base::integerValue(link.pageID));
}

void InteractiveMarkupPlayers::takeOffScreen(const std::shared_ptr<ui::ViewController>& player)
{
    if (player->isViewLoaded())
        player->view()->removeFromSuperview();
    player->removeFromParentViewController();
}

// --- Audio ---

void InteractiveMarkupPlayers::AudioPlayerWithURL(
    const std::string& url, bool playerUIEnable, bool isEncrypted, bool playInBackground)
{
    std::weak_ptr<Delegates> weak = m_delegates;
    base::RunLoop::main().post([this, weak, url, playerUIEnable, isEncrypted, playInBackground] {
        if (!weak.lock())
            return;
        auto book = m_context.currentBook;
        auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
        std::string root = epub ? epub->rootPath : book ? book->path : m_context.bookPath;
        // A web address plays as it is; any other path is a file of the book, checked (and
        // missing files refused) before a player is made, so none is left for later calls.
        if (!base::isWebAddress(url)) {
            auto file = base::pathInsideFolder(root, url);
            if (!file || !fileExists(*file)) {
                showAlertControllerWithMsg(text("RESOURCE_NOT_FOUND"), text("ERROR_ALERT_TITLE"));
                return;
            }
        }
        // The kind of the last link must not make this file wait for a remote load.
        LectoroAudioPlayer::setIsExternalResource(isExternalResource);
        auto player = LectoroAudioPlayer::create(url, root, epub || !book ? "" : book->ISBN, playerUIEnable, isEncrypted);
        if (!player) {
            showAlertControllerWithMsg(text("RESOURCE_NOT_FOUND"), text("ERROR_ALERT_TITLE"));
            return;
        }
        if (isExternalResource)
            addPreLoaderViewWithMessage(text("LOADING_DATA"));
        if (m_audioPlayer) {
            m_audioPlayer->setDelegate({});
            m_audioPlayer->stop();
            if (m_playerView)
                m_playerView->removeFromSuperview();
        }
        m_audioPlayer = player;
        m_context.activeMode = ReaderActiveModeAudioPlayer;
        m_context.backgroundActiveMode = ReaderActiveModeAudioPlayer;
        player->isAudioResourcePlaybackground = playInBackground;
        player->setDelegate(m_delegates);
        if (!player->isExternal())
            startAudio();
    });
}

void InteractiveMarkupPlayers::startAudio()
{
    if (!m_audioPlayer)
        return;
    setRendererTouches(m_audioPlayer->isAudioResourcePlaybackground);
    m_audioPlayer->start();
    m_playerView = m_audioPlayer->getPlayerView();
    m_playerView->setFrame(getFrameForAudioPlayerView(*m_playerView));
    if (auto view = readerView())
        view->addSubview(m_playerView);
}

ui::Rect InteractiveMarkupPlayers::getFrameForAudioPlayerView(const ui::View& playerView) const
{
    auto view = readerView();
    ui::Size reader = view ? view->frame().size : ui::Size {};
    ui::Size own = playerView.frame().size;
    return ui::Rect { { reader.width * 0.5 - own.width * 0.5, reader.height * 0.5 - own.height * 0.5 }, own };
}

void InteractiveMarkupPlayers::audioPlayerFinishPlaying()
{
    if (m_context.activeMode == ReaderActiveModeAudioPlayer)
        m_context.activeMode = ReaderActiveModeNone;
    m_context.backgroundActiveMode = ReaderActiveModeNone;
    if (m_audioPlayer)
        m_audioPlayer->setDelegate({});
    if (m_playerView)
        m_playerView->removeFromSuperview();
    m_playerView = nullptr;
    m_audioPlayer = nullptr;
    setRendererTouches(true);
}

void InteractiveMarkupPlayers::resetAudioPlayer()
{
    if (m_context.activeMode != ReaderActiveModeAudioPlayer || !m_audioPlayer)
        return;
    m_audioPlayer->stop();
    audioPlayerFinishPlaying();
}

void InteractiveMarkupPlayers::remoteAudioDidLoad()
{
    std::weak_ptr<Delegates> weak = m_delegates;
    base::RunLoop::main().postDelayed(0.5, [this, weak] {
        if (!weak.lock())
            return;
        if (m_audioPlayer)
            startAudio();
        removePreLoaderView();
    });
}

void InteractiveMarkupPlayers::remoteAudioLoadingDidFailed(const base::Error& error)
{
    std::weak_ptr<Delegates> weak = m_delegates;
    base::RunLoop::main().postDelayed(0.5, [this, weak, error] {
        if (weak.lock())
            remoteFailure(error, false);
    });
}

void InteractiveMarkupPlayers::remoteFailure(const base::Error& error, bool forImages)
{
    if (!forImages) {
        removePreLoaderView();
        setRendererTouches(true);
        if (!m_audioPlayer)
            return;
    } else if (!m_imageController) {
        return;
    }
    if (error.code == -1009) {
        if (!playersOnline())
            showAlertForExternalResourceLoadingFailedWithTitle(
                "FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE");
        return;
    }
    if (!forImages || error.code == -1001)
        showAlertForExternalResourceLoadingFailedWithTitle("ERROR_ALERT_TITLE", "LOADING_FAILED");
}

// --- Images ---

std::vector<std::string> InteractiveMarkupPlayers::getImagePropertiesForImageMarkup(
    const std::vector<std::string>& properties)
{
    return imageCaptions(properties);
}

void InteractiveMarkupPlayers::ImageControllerWithImagePath(
    const std::string& paths, const std::string& properties, int32_t linkType, bool isEncrypted)
{
    m_imageController = nullptr;
    std::string root = m_context.currentBook ? m_context.currentBook->path : m_context.bookPath;
    std::vector<std::string> addresses;
    for (const auto& path : base::split(paths, ";")) {
        if (path.empty())
            continue;
        if (base::isWebAddress(path)) {
            addresses.push_back(path);
            continue;
        }
        // One image that leaves the book (a "file:" address, "..", a link out) and the
        // viewer does not open at all.
        auto file = base::pathInsideFolder(root, path);
        if (!file) {
            showAlertControllerWithMsg(text("RESOURCE_NOT_FOUND"), text("ERROR_ALERT_TITLE"));
            return;
        }
        addresses.push_back(fileAddressForPath(*file));
    }
    if (addresses.empty()) {
        showAlertControllerWithMsg(text("RESOURCE_NOT_FOUND"), text("ERROR_ALERT_TITLE"));
        return;
    }
    LectoroImageController::setIsExternalResource(isExternalResource);
    auto viewer = LectoroImageController::create(addresses,
        getImagePropertiesForImageMarkup(base::split(properties, ";")),
        m_context.currentBook ? m_context.currentBook->ISBN : "", isEncrypted, linkType == 22, m_delegates);
    if (!viewer)
        return;
    m_imageController = viewer;
    placeOverReader(viewer);
}

void InteractiveMarkupPlayers::ImageControllerWithImagePath(const std::string& path, bool isEncrypted)
{
    m_imageController = nullptr;
    auto viewer = LectoroImageController::create({ path }, {}, "", isEncrypted, false, m_delegates);
    if (!viewer)
        return;
    m_imageController = viewer;
    placeOverReader(viewer);
}

void InteractiveMarkupPlayers::didTapOnCloseForImageContoller()
{
    auto viewer = std::move(m_imageController);
    m_imageController = nullptr;
    if (viewer)
        takeOffScreen(viewer);
}

void InteractiveMarkupPlayers::didFailedLoadingImage()
{
    showAlertControllerWithMsg(text("RESOURCE_NOT_FOUND"), text("ERROR_ALERT_TITLE"));
}

void InteractiveMarkupPlayers::didFailedLoadingImage(const base::Error& error)
{
    std::weak_ptr<Delegates> weak = m_delegates;
    base::RunLoop::main().postDelayed(0.3, [this, weak, error] {
        if (weak.lock())
            remoteFailure(error, true);
    });
}

void InteractiveMarkupPlayers::didLoadRemoteImage(int64_t index)
{
    if (m_imageController)
        m_imageController->setDownloadedImageAtPosition(index);
}

// --- Video and 3D ---

void InteractiveMarkupPlayers::videoPlayer(const std::string& path, const std::shared_ptr<PXLinkVO>& link)
{
    if (!fileExists(path) && !isExternalResource) {
        m_context.activeMode = ReaderActiveModeNone;
        showAlertControllerWithMsg(text("RESOURCE_NOT_FOUND"), text("ERROR_ALERT_TITLE"));
        return;
    }
    bool isInline = link && link->isInLine;
    if (link && link->checkIs3dView) {
        auto player = Lectoro3dPlayerViewController::create();
        player->setDelegate(m_delegates);
        player->initDataWithVideoPath(path, m_context.currentBook, link);
        m_3dPlayer = player;
        if (auto view = readerView())
            player->view()->setFrame(view->bounds());
        if (isInline) {
            notifyMarkupEvent(Events::markupEventInlineVideoParameterValue());
            m_context.activeMode = ReaderActiveModeVideo;
            placeInline(player->getInlineVideoPlayer(), *link);
            if (m_context.renderer)
                m_context.renderer->set3dVideoModeEnabled(true);
        } else {
            notifyMarkupEvent(Events::markupEventNormalVideoParameterValue());
            placeOverReader(player);
        }
        player->play();
        return;
    }
    LectoroVideoPlayer::setIsExternalResource(isExternalResource);
    auto player = LectoroVideoPlayer::create(path, m_context.currentBook, link);
    player->setDelegate(m_delegates);
    m_videoPlayer = player;
    if (isInline) {
        notifyMarkupEvent(Events::markupEventInlineVideoParameterValue());
        if (auto view = readerView())
            player->view()->setFrame(view->bounds());
        m_context.activeMode = ReaderActiveModeVideo;
        placeInline(player->getInlineVideoPlayer(), *link);
    } else {
        notifyMarkupEvent(Events::markupEventNormalVideoParameterValue());
        placeOverReader(player);
    }
    player->playVideo();
}

void InteractiveMarkupPlayers::VideoPlayerWithVideoPath(
    const std::string& path, int64_t type, const std::string& key)
{
    notifyMarkupEvent(Events::markupEventNormalVideoParameterValue());
    auto player = LectoroVideoPlayer::create(path, type, key);
    player->setDelegate(m_delegates);
    m_videoPlayer = player;
    placeOverReader(player);
    player->playVideo();
}

void InteractiveMarkupPlayers::videoPlayerWithVideoPath(const std::string& path, const base::Value& resource)
{
    auto player = LectoroVideoPlayer::create(path, m_context.currentBook, resource);
    player->setDelegate(m_delegates);
    m_videoPlayer = player;
    placeOverReader(player);
    player->playVideo();
}

void InteractiveMarkupPlayers::videoPlayerDidStopPlaying()
{
    m_context.activeMode = ReaderActiveModeNone;
}

void InteractiveMarkupPlayers::videoPlayerDidEnterFullScreenWithLinkVO(const std::shared_ptr<PXLinkVO>& link)
{
    if (!link || !link->isInLine || !m_videoPlayer)
        return;
    m_videoPlayer->getInlineVideoPlayer()->removeFromSuperview();
    takeOffScreen(m_videoPlayer);
    placeOverReader(m_videoPlayer);
}

void InteractiveMarkupPlayers::videoPlayerDidExitFullScreenWithLinkVO(const std::shared_ptr<PXLinkVO>& link)
{
    if (link && link->isInLine && m_videoPlayer) {
        takeOffScreen(m_videoPlayer);
        if (auto view = readerView())
            m_videoPlayer->view()->setFrame(view->bounds());
        placeInline(m_videoPlayer->getInlineVideoPlayer(), *link);
    }
    bool videoMode
        = m_context.activeMode == ReaderActiveModeVideo || m_context.activeMode == ReaderActiveModeLinkAction;
    if (videoMode && !MarkupDevice::current().isPad && m_context.renderer)
        m_context.renderer->reloadPages();
}

void InteractiveMarkupPlayers::lectoro3dPlayerFullscreenButtonTappedWithIsFullScreen(
    bool fullScreen, const std::shared_ptr<PXLinkVO>& link)
{
    if (!link || !link->isInLine || !m_3dPlayer)
        return;
    takeOffScreen(m_3dPlayer);
    m_3dPlayer->getInlineVideoPlayer()->removeFromSuperview();
    if (fullScreen)
        placeOverReader(m_3dPlayer);
    else
        placeInline(m_3dPlayer->getInlineVideoPlayer(), *link);
}

void InteractiveMarkupPlayers::lectoro3dPlayerDidClosed()
{
    if (m_context.renderer)
        m_context.renderer->set3dVideoModeEnabled(false);
    m_context.activeMode = ReaderActiveModeNone;
}

// --- Documents ---

void InteractiveMarkupPlayers::documentPlayer(const base::URL& url)
{
    notifyMarkupEvent(Events::markupEventDocumentParameterValue());
    LectoroDocumentPlayer::setIsExternalResource(isExternalResource);
    auto viewer = LectoroDocumentPlayer::create(url);
    viewer->setDelegate(m_delegates);
    if (m_context.theme) {
        if (auto color = m_context.theme->top_toolbar_icons_color())
            viewer->setThemeColorToView(*color);
    }
    // The reader keeps no reference: the viewer lives as the reader's child until closed.
    placeOverReader(viewer);
}

void InteractiveMarkupPlayers::documentPLayerDidClosed()
{
    m_context.activeMode = ReaderActiveModeNone;
}

// --- YouTube ---

void InteractiveMarkupPlayers::loadYoutubeMarkup(const std::shared_ptr<PXLinkVO>& link)
{
    notifyMarkupEvent(Events::markupEventYoutubeVideoParameterValue());
    if (m_youtubePlayer) {
        m_youtubePlayer->close();
        takeOffScreen(m_youtubePlayer);
        m_youtubePlayer = nullptr;
    }
    auto player = LectoroYTPlayer::create(link);
    player->setDelegate(m_delegates);
    m_youtubePlayer = player;
    if (link && link->isInLine) {
        m_context.activeMode = ReaderActiveModeVideo;
        if (m_context.renderer)
            m_context.renderer->addInLineVideo(
                player->getYoutubeInlinePlayer(), link->boxTansformedRect, base::integerValue(link->pageID));
        return;
    }
    m_context.activeMode = ReaderActiveModeLinkAction;
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    presenter->addChildViewController(player);
    presenter->view()->addSubview(player->view());
    pinToEdges(*player->view(), *presenter->view());
    auto icon = link ? link->iconView.lock() : nullptr;
    UIViewControllerExpanded::animateViewController(
        *player, icon ? icon->frame() : ui::Rect {}, presenter->view()->bounds(), 0.4);
}

void InteractiveMarkupPlayers::didCloseYoutubePlayer()
{
    auto player = std::move(m_youtubePlayer);
    m_youtubePlayer = nullptr;
    m_context.activeMode = ReaderActiveModeNone;
    if (!player)
        return;
    auto view = readerView();
    if (player->isViewLoaded())
        UIViewControllerExpanded::dismissViewController(
            *player, player->view()->frame(), view ? view->frame() : ui::Rect {}, 0.4);
    takeOffScreen(player);
}

// --- Kaltura ---

void InteractiveMarkupPlayers::loadKalturaVideoPlayer(const std::shared_ptr<PXLinkVO>& link)
{
    if (!link)
        return;
    notifyMarkupEvent(Events::markupEventKalturaVideoParameterValue());
    requestKalturaSession(link, false);
}

void InteractiveMarkupPlayers::requestKalturaSession(const std::shared_ptr<PXLinkVO>& link, bool renewed)
{
    m_kalturaService = companionFramework()->makeServiceInterface(m_context.baseURL, m_context.clientID);
    if (!m_kalturaService) {
        removePreLoaderView();
        return;
    }
    std::weak_ptr<Delegates> weak = m_delegates;
    // The service may answer on any thread: every answer is applied on the main queue,
    // and only while the reader's players are still there.
    m_kalturaService->getKalturaSessionURL(
        m_context.user ? m_context.user->userToken : std::string {}, link->url, 1,
        [this, weak, link](const base::Value& response) {
            base::RunLoop::main().post([this, weak, link, address = response["responseMsg"].description()] {
                if (weak.lock())
                    requestDidFinishLoadingForKalturaPlayer(link, address);
            });
        },
        [this, weak, link, renewed](const base::Error& error) {
            base::RunLoop::main().post([this, weak, link, renewed, error] {
                if (weak.lock())
                    kalturaSessionFailed(link, error, renewed);
            });
        });
}

void InteractiveMarkupPlayers::kalturaSessionFailed(
    const std::shared_ptr<PXLinkVO>& link, const base::Error& error, bool renewed)
{
    if (!isExpiredSessionError(error)) {
        requestErrorOccureForKalturaPlayer(error);
        return;
    }
    bool autoLogin = m_context.settings && m_context.settings->isAutoLoginEnabled();
    // One renewal and one repeat: a second expiry is the end of the session.
    if (!autoLogin || renewed) {
        removePreLoaderView();
        m_reader.showSessionExpiredAlert();
        return;
    }
    std::string expired = error.userInfo["expiredToken"].description();
    std::weak_ptr<Delegates> weak = m_delegates;
    bool asked = m_reader.refreshUserToken(expired, [this, weak, link](std::shared_ptr<LectoroUser> user) {
        if (!weak.lock())
            return;
        if (user)
            m_context.user = user;
        requestKalturaSession(link, true);
    });
    if (!asked)
        removePreLoaderView();
}

void InteractiveMarkupPlayers::requestDidFinishLoadingForKalturaPlayer(
    const std::shared_ptr<PXLinkVO>& link, const std::string& videoURL)
{
    removePreLoaderView();
    auto player = LectoroVideoPlayer::create(videoURL, m_context.currentBook, link);
    player->setDelegate(m_delegates);
    m_videoPlayer = player;
    if (link && link->isInLine) {
        m_context.activeMode = ReaderActiveModeVideo;
        player->playVideo();
        placeInline(player->getInlineVideoPlayer(), *link);
        return;
    }
    placeOverReader(player);
    player->playVideo();
}

void InteractiveMarkupPlayers::requestErrorOccureForKalturaPlayer(const base::Error& error)
{
    removePreLoaderView();
    if (error.userInfo["invalidFields"]["usertoken"].intValue() == 103)
        return;
    showAlertControllerWithMsg(text("KALTURA_INITIALIZATION_ERROR_MESSAGE_KEY"), text("ERROR_ALERT_TITLE"));
}

// --- Stopping ---

void InteractiveMarkupPlayers::stopInlineVideo()
{
    if (m_context.activeMode != ReaderActiveModeVideo)
        return;
    removeInlineLocalPlayer();
    removeInlineYoutubePlayer();
}

void InteractiveMarkupPlayers::removeInlineLocalPlayer()
{
    auto player = std::move(m_videoPlayer);
    m_videoPlayer = nullptr;
    if (player)
        player->getInlineVideoPlayer()->removeFromSuperview();
}

void InteractiveMarkupPlayers::removeInlineYoutubePlayer()
{
    if (!m_youtubePlayer || !m_youtubePlayer->isInline())
        return;
    m_youtubePlayer->close();
    m_youtubePlayer = nullptr;
}

// --- Overlay and alerts ---

void InteractiveMarkupPlayers::addPreLoaderViewWithMessage(const std::string& message)
{
    auto root = readerView();
    if (!root)
        return;
    if (m_activityIndicatorView)
        m_activityIndicatorView->removeFromSuperview();
    auto overlay = ui::View::create();
    m_activityIndicatorView = overlay;
    overlay->setBackgroundColor(ui::Color::black().withAlpha(0.65));
    overlay->setTintColor(ui::Color::fromRGBA(0.0, 0.48, 1.0, 1.0));
    root->addSubview(overlay);
    pinToEdges(*overlay, *root);

    ui::Size size = root->bounds().size;
    auto box = ui::View::create(ui::Rect { { size.width / 2 - 140, size.height / 2 - 50 }, { 280, 100 } });
    box->setTranslatesAutoresizingMaskIntoConstraints(false);
    overlay->addSubview(box);
    ui::Constraint::activate({ box->widthAnchor().constraintEqualToConstant(280),
        box->heightAnchor().constraintEqualToConstant(100),
        box->centerXAnchor().constraintEqualTo(overlay->centerXAnchor()),
        box->centerYAnchor().constraintEqualTo(overlay->centerYAnchor()) });

    auto indicator = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::WhiteLarge);
    indicator->startAnimating();
    indicator->setTranslatesAutoresizingMaskIntoConstraints(false);
    box->addSubview(indicator);
    ui::Rect indicatorFrame = indicator->frame();
    indicatorFrame.origin = { 140 - indicatorFrame.size.width / 2, 15 };
    indicator->setFrame(indicatorFrame);
    ui::Constraint::activate({ indicator->centerXAnchor().constraintEqualTo(box->centerXAnchor()),
        indicator->topAnchor().constraintEqualTo(box->topAnchor(), 15) });

    if (message.empty())
        return;
    auto label = ui::Label::create();
    label->setText(message);
    label->setTextColor(ui::Color::white());
    label->setFont(ui::Font::systemFont(20));
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    box->addSubview(label);
    label->setFrame(
        ui::Rect { { 0, indicatorFrame.origin.y + indicatorFrame.size.height + 5 }, { 280, 30 } });
    ui::Constraint::activate({ label->topAnchor().constraintEqualTo(indicator->bottomAnchor(), 5),
        label->centerXAnchor().constraintEqualTo(box->centerXAnchor()),
        label->heightAnchor().constraintEqualToConstant(30) });
}

void InteractiveMarkupPlayers::removePreLoaderView()
{
    if (m_activityIndicatorView)
        m_activityIndicatorView->removeFromSuperview();
    m_activityIndicatorView = nullptr;
}

void InteractiveMarkupPlayers::showAlertControllerWithMsg(
    const std::string& message, const std::string& title)
{
    m_reader.showAlertWithTitle(title, message);
}

void InteractiveMarkupPlayers::showAlertForExternalResourceLoadingFailedWithTitle(
    const std::string& titleKey, const std::string& messageKey)
{
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    auto alert = ui::AlertController::create(LocalizationHelper::localizedStringWithKey(titleKey),
        LocalizationHelper::localizedStringWithKey(messageKey), ui::AlertControllerStyle::Alert);
    std::weak_ptr<Delegates> weak = m_delegates;
    alert->addAction(
        ui::AlertAction::create(text("RETRY"), ui::AlertActionStyle::Default, [this, weak](ui::AlertAction&) {
            if (!weak.lock())
                return;
            if (!playersOnline()) {
                showAlertForExternalResourceLoadingFailedWithTitle(
                    "FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE");
                return;
            }
            if (m_imageController)
                m_imageController->retryImageLoading();
            if (m_audioPlayer) {
                addPreLoaderViewWithMessage(text("LOADING_DATA"));
                m_audioPlayer->retryAudioLoading();
            }
        }));
    alert->addAction(ui::AlertAction::create(text("OK_BUTTON")));
    presenter->presentViewController(alert, false);
}

} // namespace lectoro
