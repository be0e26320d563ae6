#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroMarkupPlayers.h"

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/media/MediaError.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"

namespace lectoro {

namespace {

bool s_imageExternal = false;
bool s_videoExternal = false;
bool s_documentExternal = false;

LectoroImageController::RemoteImageLoader& remoteImageLoader()
{
    static LectoroImageController::RemoteImageLoader loader;
    return loader;
}

bool isWebAddress(const std::string& text)
{
    return text.find("://") != std::string::npos && !text.starts_with("file:");
}

std::string localPath(const std::string& text)
{
    if (text.starts_with("file:")) {
        if (auto url = base::URL::parse(text))
            return url->path();
    }
    return text;
}

// A closed player leaves the reader and, when it played inline, the page.
void leaveScreen(ui::ViewController& player, const std::shared_ptr<ui::View>& inlineView)
{
    if (player.isViewLoaded())
        player.view()->removeFromSuperview();
    player.removeFromParentViewController();
    if (inlineView)
        inlineView->removeFromSuperview();
}

} // namespace

// --- Image viewer ---

void LectoroImageController::setRemoteImageLoader(RemoteImageLoader loader)
{
    remoteImageLoader() = std::move(loader);
}
void LectoroImageController::setIsExternalResource(bool external)
{
    s_imageExternal = external;
}

std::shared_ptr<LectoroImageController> LectoroImageController::create(std::vector<std::string> urls,
    std::vector<std::string> captions, std::string isbn, bool isEncrypted, bool isZoomable,
    std::weak_ptr<LectoroImageControllerDelegate> delegate)
{
    if (urls.empty())
        return nullptr;
    return std::shared_ptr<LectoroImageController>(new LectoroImageController(
        std::move(urls), std::move(captions), std::move(isbn), isEncrypted, isZoomable, std::move(delegate)));
}

LectoroImageController::LectoroImageController(std::vector<std::string> urls,
    std::vector<std::string> captions, std::string isbn, bool encrypted, bool zoomable,
    std::weak_ptr<LectoroImageControllerDelegate> delegate)
    : m_urls(std::move(urls))
    , m_captions(std::move(captions))
    , m_isbn(std::move(isbn))
    , m_encrypted(encrypted)
    , m_zoomable(zoomable)
    , m_external(s_imageExternal)
    , m_loaded(m_urls.size(), false)
    , m_delegate(std::move(delegate))
{
}

void LectoroImageController::viewDidLoad()
{
    ViewController::viewDidLoad();
    auto root = view();
    root->setBackgroundColor(ui::Color::black());
    std::weak_ptr<LectoroImageController> weak
        = std::static_pointer_cast<LectoroImageController>(shared_from_this());
    // The picture fills the screen between the close button's row and its caption.
    m_imageView = ui::ImageView::create();
    m_imageView->setContentMode(ui::ContentMode::ScaleAspectFit);
    m_closeButton = ui::Button::create();
    m_closeButton->setTitle("Close");
    m_closeButton->setTitleColor(ui::Color::white());
    m_closeButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto viewer = weak.lock())
            viewer->close();
    });
    m_captionLabel = ui::Label::create();
    m_captionLabel->setTextColor(ui::Color::white());
    m_captionLabel->setTextAlignment(ui::TextAlignment::Center);
    m_captionLabel->setNumberOfLines(2);
    m_captionLabel->setText(m_captions.empty() ? std::string() : m_captions.front());
    for (const auto& part : std::vector<std::shared_ptr<ui::View>> { m_imageView, m_closeButton, m_captionLabel }) {
        part->setTranslatesAutoresizingMaskIntoConstraints(false);
        root->addSubview(part);
    }
    auto guide = root->safeAreaLayoutGuide();
    ui::Constraint::activate({
        m_closeButton->topAnchor().constraintEqualTo(guide->topAnchor(), 8),
        m_closeButton->leadingAnchor().constraintEqualTo(guide->leadingAnchor(), 12),
        m_closeButton->heightAnchor().constraintEqualToConstant(44),
        m_closeButton->widthAnchor().constraintGreaterThanOrEqualToConstant(64),
        m_imageView->topAnchor().constraintEqualTo(m_closeButton->bottomAnchor(), 8),
        m_imageView->leadingAnchor().constraintEqualTo(guide->leadingAnchor()),
        m_imageView->trailingAnchor().constraintEqualTo(guide->trailingAnchor()),
        m_imageView->bottomAnchor().constraintEqualTo(m_captionLabel->topAnchor(), -8),
        m_captionLabel->leadingAnchor().constraintEqualTo(guide->leadingAnchor(), 12),
        m_captionLabel->trailingAnchor().constraintEqualTo(guide->trailingAnchor(), -12),
        m_captionLabel->bottomAnchor().constraintEqualTo(guide->bottomAnchor(), -12),
        m_captionLabel->heightAnchor().constraintEqualToConstant(44),
    });
    base::RunLoop::main().post([weak] {
        if (auto viewer = weak.lock())
            viewer->loadImages();
    });
}

void LectoroImageController::loadImages()
{
    auto delegate = m_delegate.lock();
    for (size_t index = 0; index < m_urls.size(); ++index) {
        if (m_loaded[index])
            continue;
        const std::string& address = m_urls[index];
        if (isWebAddress(address)) {
            auto outcome = remoteImageLoader()
                ? remoteImageLoader()(address)
                : base::Result<void>(base::Error { media::urlErrorDomain, -1009, {} });
            if (!outcome) {
                if (delegate)
                    delegate->didFailedLoadingImage(outcome.error());
                return;
            }
            if (delegate)
                delegate->didLoadRemoteImage(static_cast<int64_t>(index));
            continue;
        }
        if (!base::FileManager::defaultManager().fileExists(localPath(address))) {
            if (delegate)
                delegate->didFailedLoadingImage();
            return;
        }
        m_loaded[index] = true;
        // A file that is no image the platform reads is shown as nothing, never trusted.
        if (index == 0 && m_imageView)
            m_imageView->setImage(ui::Image::fromFile(localPath(address)));
    }
}

void LectoroImageController::setDownloadedImageAtPosition(int64_t index)
{
    if (index >= 0 && static_cast<size_t>(index) < m_loaded.size())
        m_loaded[static_cast<size_t>(index)] = true;
}

void LectoroImageController::retryImageLoading()
{
    loadImages();
}

void LectoroImageController::close()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnCloseForImageContoller();
}

// --- Video ---

void LectoroVideoPlayer::setIsExternalResource(bool external)
{
    s_videoExternal = external;
}

LectoroVideoPlayer::LectoroVideoPlayer(std::string path)
    : m_path(std::move(path))
    , m_external(s_videoExternal)
    , m_player(media::Player::create())
{
}

LectoroVideoPlayer::~LectoroVideoPlayer()
{
    m_player->pause();
}

std::shared_ptr<LectoroVideoPlayer> LectoroVideoPlayer::create(
    std::string path, std::shared_ptr<LectoroBookVO> book, std::shared_ptr<PXLinkVO> link)
{
    auto player = std::shared_ptr<LectoroVideoPlayer>(new LectoroVideoPlayer(std::move(path)));
    player->m_book = std::move(book);
    player->m_link = std::move(link);
    return player;
}

std::shared_ptr<LectoroVideoPlayer> LectoroVideoPlayer::create(
    std::string path, int64_t type, std::string key)
{
    auto player = std::shared_ptr<LectoroVideoPlayer>(new LectoroVideoPlayer(std::move(path)));
    player->m_type = type;
    player->m_key = std::move(key);
    return player;
}

std::shared_ptr<LectoroVideoPlayer> LectoroVideoPlayer::create(
    std::string path, std::shared_ptr<LectoroBookVO> book, base::Value resource)
{
    auto player = std::shared_ptr<LectoroVideoPlayer>(new LectoroVideoPlayer(std::move(path)));
    player->m_book = std::move(book);
    player->m_resource = std::move(resource);
    return player;
}

void LectoroVideoPlayer::playVideo()
{
    if (!m_player->currentItem()) {
        // A book's own video is opened only inside its folder.
        media::AssetLoadOptions options;
        if (m_book && !base::isWebAddress(m_path))
            options.root = m_book->path;
        m_player->replaceCurrentItem(media::PlayerItem::create(localPath(m_path), options));
    }
    m_player->play();
}

bool LectoroVideoPlayer::isPlaying() const
{
    return m_player->timeControlStatus() != media::Player::TimeControlStatus::Paused;
}

std::shared_ptr<ui::View> LectoroVideoPlayer::getInlineVideoPlayer()
{
    if (!m_inlineView) {
        m_inlineView = ui::View::create();
        m_inlineView->setBackgroundColor(ui::Color::black());
    }
    return m_inlineView;
}

void LectoroVideoPlayer::tapFullScreen()
{
    m_fullScreen = !m_fullScreen;
    auto protect = shared_from_this();
    if (auto delegate = this->delegate()) {
        if (m_fullScreen)
            delegate->videoPlayerDidEnterFullScreenWithLinkVO(m_link);
        else
            delegate->videoPlayerDidExitFullScreenWithLinkVO(m_link);
    }
}

void LectoroVideoPlayer::tapDone()
{
    m_player->pause();
    auto protect = shared_from_this();
    leaveScreen(*this, m_inlineView);
    if (auto delegate = this->delegate())
        delegate->videoPlayerDidStopPlaying();
}

// --- 3D ---

std::shared_ptr<Lectoro3dPlayerViewController> Lectoro3dPlayerViewController::create()
{
    return std::shared_ptr<Lectoro3dPlayerViewController>(new Lectoro3dPlayerViewController());
}

void Lectoro3dPlayerViewController::initDataWithVideoPath(
    std::string path, std::shared_ptr<LectoroBookVO> book, std::shared_ptr<PXLinkVO> link)
{
    m_path = std::move(path);
    m_book = std::move(book);
    m_link = std::move(link);
}

std::shared_ptr<ui::View> Lectoro3dPlayerViewController::getInlineVideoPlayer()
{
    if (!m_inlineView)
        m_inlineView = ui::View::create();
    return m_inlineView;
}

void Lectoro3dPlayerViewController::tapFullScreen()
{
    m_fullScreen = !m_fullScreen;
    auto protect = shared_from_this();
    if (auto delegate = this->delegate())
        delegate->lectoro3dPlayerFullscreenButtonTappedWithIsFullScreen(m_fullScreen, m_link);
}

void Lectoro3dPlayerViewController::tapClose()
{
    m_playing = false;
    auto protect = shared_from_this();
    leaveScreen(*this, m_inlineView);
    if (auto delegate = this->delegate())
        delegate->lectoro3dPlayerDidClosed();
}

// --- YouTube ---

std::shared_ptr<LectoroYTPlayer> LectoroYTPlayer::create(std::shared_ptr<PXLinkVO> link)
{
    return std::shared_ptr<LectoroYTPlayer>(new LectoroYTPlayer(std::move(link)));
}

bool LectoroYTPlayer::isInline() const
{
    return m_link && m_link->isInLine;
}

std::shared_ptr<ui::View> LectoroYTPlayer::getYoutubeInlinePlayer()
{
    if (!m_inlineView)
        m_inlineView = ui::View::create();
    return m_inlineView;
}

void LectoroYTPlayer::close()
{
    m_closed = true;
    if (m_inlineView)
        m_inlineView->removeFromSuperview();
}

void LectoroYTPlayer::tapClose()
{
    auto protect = shared_from_this();
    if (auto delegate = this->delegate())
        delegate->didCloseYoutubePlayer();
}

// --- Documents ---

void LectoroDocumentPlayer::setIsExternalResource(bool external)
{
    s_documentExternal = external;
}

std::shared_ptr<LectoroDocumentPlayer> LectoroDocumentPlayer::create(base::URL url)
{
    return std::shared_ptr<LectoroDocumentPlayer>(new LectoroDocumentPlayer(std::move(url)));
}

void LectoroDocumentPlayer::tapClose()
{
    auto protect = shared_from_this();
    if (isViewLoaded())
        view()->removeFromSuperview();
    removeFromParentViewController();
    if (auto delegate = this->delegate())
        delegate->documentPLayerDidClosed();
}

} // namespace lectoro
