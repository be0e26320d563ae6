#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"

#include "platform/base/FileManager.h"
#include "platform/base/URL.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"

namespace lectoro {

namespace {
bool s_nextIsExternal = false;
}

// The media player's reports, held weakly by the player and owned by the audio player.
class LectoroAudioPlayer::Observer final : public media::PlayerDelegate {
public:
    explicit Observer(LectoroAudioPlayer& owner)
        : m_owner(owner)
    {
    }
    void playerItemStatusDidChange(media::Player&, media::PlayerItem& item) override
    {
        if (!m_owner.m_external)
            return;
        auto delegate = m_owner.delegate();
        if (!delegate)
            return;
        if (item.status() == media::PlayerItem::Status::ReadyToPlay)
            delegate->remoteAudioDidLoad();
        else if (item.status() == media::PlayerItem::Status::Failed)
            delegate->remoteAudioLoadingDidFailed(item.error().value_or(base::Error {}));
    }
    void playerItemDidPlayToEndTime(media::Player&, media::PlayerItem&) override
    {
        if (auto delegate = m_owner.delegate())
            delegate->audioPlayerFinishPlaying();
    }

private:
    LectoroAudioPlayer& m_owner;
};

void LectoroAudioPlayer::setIsExternalResource(bool external)
{
    s_nextIsExternal = external;
}
bool LectoroAudioPlayer::isExternalResource()
{
    return s_nextIsExternal;
}

std::shared_ptr<LectoroAudioPlayer> LectoroAudioPlayer::create(const std::string& url,
    const std::string& bookPath, const std::string& isbn, bool playerUIEnable, bool isEncrypted)
{
    bool remote = base::isWebAddress(url);
    std::string path = url;
    std::string root;
    if (!remote) {
        auto inside = base::pathInsideFolder(bookPath, url);
        if (!inside)
            return nullptr;
        path = std::move(*inside);
        root = bookPath;
    }
    auto player = std::shared_ptr<LectoroAudioPlayer>(new LectoroAudioPlayer(
        std::move(path), std::move(root), isbn, playerUIEnable, isEncrypted, remote || s_nextIsExternal));
    player->loadItem();
    return player;
}

LectoroAudioPlayer::LectoroAudioPlayer(
    std::string path, std::string root, std::string isbn, bool playerUI, bool encrypted, bool external)
    : m_path(std::move(path))
    , m_root(std::move(root))
    , m_isbn(std::move(isbn))
    , m_playerUI(playerUI)
    , m_encrypted(encrypted)
    , m_external(external)
    , m_player(media::Player::create())
    , m_observer(std::make_shared<Observer>(*this))
{
    m_player->setDelegate(m_observer);
}

LectoroAudioPlayer::~LectoroAudioPlayer()
{
    m_player->setDelegate({});
    m_player->pause();
}

void LectoroAudioPlayer::loadItem()
{
    media::AssetLoadOptions options;
    options.root = m_root;
    m_player->replaceCurrentItem(media::PlayerItem::create(m_path, options));
}

void LectoroAudioPlayer::start()
{
    m_player->play();
    if (m_playButton)
        m_playButton->setSelected(true);
    if (auto delegate = this->delegate())
        delegate->audioPlayerDidStart();
}

void LectoroAudioPlayer::stop()
{
    m_player->pause();
    if (m_playButton)
        m_playButton->setSelected(false);
    if (auto delegate = this->delegate())
        delegate->audioPlayerDidStopped();
}

bool LectoroAudioPlayer::isPlaying() const
{
    return m_player->timeControlStatus() != media::Player::TimeControlStatus::Paused;
}

void LectoroAudioPlayer::retryAudioLoading()
{
    loadItem();
}

std::shared_ptr<ui::View> LectoroAudioPlayer::getPlayerView()
{
    if (m_view)
        return m_view;
    m_view = ui::View::create(ui::Rect { 0, 0, 300, 100 });
    m_view->setBackgroundColor(ui::Color::fromWhite(0.15, 0.9));
    m_view->setHidden(!m_playerUI);
    m_playButton = ui::Button::create(ui::Rect { 125, 25, 50, 50 });
    m_playButton->setTitle(std::string("Play"));
    m_playButton->setTitle(std::string("Pause"), ui::ControlState::Selected);
    std::weak_ptr<LectoroAudioPlayer> weak = weak_from_this();
    m_playButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto player = weak.lock())
            player->isPlaying() ? player->stop() : player->start();
    });
    m_view->addSubview(m_playButton);
    return m_view;
}

} // namespace lectoro
