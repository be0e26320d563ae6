// The lock screen: what plays (title, chapter, time, length, rate, cover) and the remote
// commands (play, pause, next and previous chapter, a new position). Also the ways out of
// the player: the back button and closePlayer.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/base/URL.h"
#include "platform/ui/Image.h"

#include <cmath>
#include <limits>
#include <utility>

namespace lectoro {

namespace {

using media::RemoteCommandHandlerStatus;

// The cover for the lock screen, read from a file address; none for anything else (this
// system reads no web addresses for a cover).
ui::ImagePtr nowPlayingArtworkImage(const std::string& thumbnailURL)
{
    if (thumbnailURL.empty())
        return nullptr;
    auto url = base::URL::parse(thumbnailURL);
    if (!url || !url->isFileURL())
        return nullptr;
    auto image = ui::Image::fromFile(url->path());
    if (!image || !(image->size().width > 0) || !(image->size().height > 0))
        return nullptr;
    return image;
}

// A remote position becomes whole seconds toward zero; one that is not a number, negative
// or beyond what a position can hold is refused.
std::optional<int64_t> remotePositionSeconds(double positionTime)
{
    if (!std::isfinite(positionTime) || positionTime < 0 || positionTime >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int64_t>(std::trunc(positionTime));
}

} // namespace

// MARK: - Now playing

void MVLectoroMediaBookReader::setupNowPlayingInfo()
{
    std::string thumbnail = m_model ? m_model->thumbnailURL : std::string();
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    base::globalQueue().async([thumbnail, weak] {
        auto image = nowPlayingArtworkImage(thumbnail);
        if (!image)
            return;
        // Only the main thread writes the reader's information; the next publication
        // carries the cover.
        base::RunLoop::main().post([weak, image, thumbnail] {
            auto reader = weak.lock();
            // A cover read for the book before this one stays off the lock screen.
            if (!reader || !reader->m_model || reader->m_model->thumbnailURL != thumbnail)
                return;
            reader->m_nowPlayingInfo.artwork
                = std::make_shared<media::MediaItemArtwork>(image->size(), [image](const ui::Size&) { return image; });
        });
    });
    if (m_model)
        m_nowPlayingInfo.set(media::mediaItemPropertyTitle, m_model->mediaBookTitle);
    else
        m_nowPlayingInfo.remove(media::mediaItemPropertyTitle);
    publishNowPlayingInfo();
}

void MVLectoroMediaBookReader::publishNewBookNowPlayingInfoIfPending()
{
    if (!std::exchange(m_nowPlayingPendingForNewBook, false) || m_type != MediaBookType::audio || !m_player)
        return;
    // Nothing of the previous book stays: its cover, its chapter.
    m_nowPlayingInfo = {};
    setupNowPlayingInfo();
}

void MVLectoroMediaBookReader::publishNowPlayingInfo()
{
    auto chapter = m_model ? m_model->currentChapter : nullptr;
    if (m_model) {
        m_nowPlayingInfo.set(media::nowPlayingInfoPropertyElapsedPlaybackTime, m_model->currentTime);
        m_nowPlayingInfo.set(media::nowPlayingInfoPropertyPlaybackRate, static_cast<double>(m_model->mediaNarrationSpeedRate));
    } else {
        m_nowPlayingInfo.remove(media::nowPlayingInfoPropertyElapsedPlaybackTime);
        m_nowPlayingInfo.remove(media::nowPlayingInfoPropertyPlaybackRate);
    }
    if (chapter)
        m_nowPlayingInfo.set(media::mediaItemPropertyPlaybackDuration, chapter->avAssetTotalTime);
    else
        m_nowPlayingInfo.remove(media::mediaItemPropertyPlaybackDuration);
    media::NowPlayingInfoCenter::defaultCenter().setNowPlayingInfo(m_nowPlayingInfo);
}

// MARK: - Remote commands

void MVLectoroMediaBookReader::setupRemoteCommandCenter()
{
    auto& center = media::RemoteCommandCenter::shared();
    removeRemoteCommandHandlers();
    center.nextTrackCommand().setEnabled(true);
    center.previousTrackCommand().setEnabled(true);
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    // The reader in a state a command may act on, or null.
    auto readerIn = [weak](std::initializer_list<CurrentState> states) -> std::shared_ptr<MVLectoroMediaBookReader> {
        auto reader = weak.lock();
        if (!reader || !reader->m_model)
            return nullptr;
        for (auto state : states) {
            if (reader->m_model->mediaCurrentState == state)
                return reader;
        }
        return nullptr;
    };
    auto add = [this](media::RemoteCommand& command, media::RemoteCommand::Handler handler) {
        m_remoteCommandTargets.emplace_back(&command, command.addTarget(std::move(handler)));
    };
    add(center.playCommand(), [readerIn](const media::RemoteCommandEvent&) {
        auto reader = readerIn({ CurrentState::Paused });
        if (!reader)
            return RemoteCommandHandlerStatus::CommandFailed;
        if (reader->m_player)
            reader->m_player->play();
        reader->reportPlaybackState("Playing");
        return RemoteCommandHandlerStatus::Success;
    });
    add(center.pauseCommand(), [readerIn](const media::RemoteCommandEvent&) {
        auto reader = readerIn({ CurrentState::Playing });
        if (!reader)
            return RemoteCommandHandlerStatus::CommandFailed;
        if (reader->m_player)
            reader->m_player->pause();
        reader->reportPlaybackState("Paused");
        return RemoteCommandHandlerStatus::Success;
    });
    add(center.nextTrackCommand(), [readerIn](const media::RemoteCommandEvent&) {
        auto reader = readerIn({ CurrentState::Playing, CurrentState::Paused });
        if (!reader)
            return RemoteCommandHandlerStatus::CommandFailed;
        reader->playNextChapter();
        return RemoteCommandHandlerStatus::Success;
    });
    add(center.previousTrackCommand(), [readerIn](const media::RemoteCommandEvent&) {
        auto reader = readerIn({ CurrentState::Playing, CurrentState::Paused });
        if (!reader)
            return RemoteCommandHandlerStatus::CommandFailed;
        reader->playPreviousChapter();
        return RemoteCommandHandlerStatus::Success;
    });
    add(center.changePlaybackPositionCommand(), [readerIn](const media::RemoteCommandEvent& event) {
        auto reader = readerIn({ CurrentState::Playing, CurrentState::Paused });
        if (!reader)
            return RemoteCommandHandlerStatus::CommandFailed;
        const auto* change = dynamic_cast<const media::ChangePlaybackPositionCommandEvent*>(&event);
        if (!change || !reader->m_player)
            return RemoteCommandHandlerStatus::Success;
        auto seconds = remotePositionSeconds(change->positionTime());
        if (!seconds)
            return RemoteCommandHandlerStatus::CommandFailed;
        reader->m_player->playToSeekTime(*seconds);
        return RemoteCommandHandlerStatus::Success;
    });
}

void MVLectoroMediaBookReader::removeRemoteCommandHandlers()
{
    // The command centre outlives every book: handlers left behind would answer for a
    // player that is gone, or act on the next book twice.
    for (auto& [command, target] : m_remoteCommandTargets)
        command->removeTarget(target);
    m_remoteCommandTargets.clear();
}

// MARK: - Leaving

void MVLectoroMediaBookReader::didTapOnBackButton(ui::Button&)
{
    handleBackAction();
}

void MVLectoroMediaBookReader::handleBackAction()
{
    // The delegate usually lets go of the screen while it hears of the back.
    auto keepAlive = self();
    closePlayer();
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnBack(getMetaData(), *this);
    if (m_type == MediaBookType::audio)
        clearNowPlayingInfo();
}

void MVLectoroMediaBookReader::clearNowPlayingInfo()
{
    m_nowPlayingInfo = {};
    // The centre is the main thread's; the last reference may go on another one.
    auto forget = [] { media::NowPlayingInfoCenter::defaultCenter().setNowPlayingInfo(media::NowPlayingInfo {}); };
    if (base::isMainThread())
        forget();
    else
        base::RunLoop::main().post(forget);
}

void MVLectoroMediaBookReader::releasePlayerStack()
{
    m_player = nullptr;
    m_videoPlayer = nullptr;
    m_audioPlayer = nullptr;
    m_toc = nullptr;
    m_narrationSpeedController = nullptr;
    m_sleepTimerVC = nullptr;
    if (m_topBar)
        m_topBar->removeFromSuperview();
    m_topBar = nullptr;
    removeRemoteCommandHandlers();
    // The launch controller closes the player and then lets go of the reader, whose own
    // teardown closes it again; by then another reader may hold the lock screen.
    if (!std::exchange(m_lockScreenReleased, true))
        clearNowPlayingInfo();
}

} // namespace lectoro
