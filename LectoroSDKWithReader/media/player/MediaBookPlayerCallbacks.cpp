// The player's callbacks: time ticks, the end of a chapter, failures and state changes. The
// screen handles each first (views, chapter controls, the lock screen, the sleep timer),
// then passes it on to the player's second listener (the launch controller).

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "platform/base/RunLoop.h"

namespace lectoro {

namespace {

// The side panel's play button follows a state change once the views have settled.
constexpr double mediaCallbacksPanelStateDelay = 0.2;

} // namespace

void MVLectoroMediaBookReader::playerPlayingWithCurrentTime(int64_t currentTime, int64_t totalTime)
{
    if (isLastChapterCurrent() && currentTime == totalTime) {
        enableSleepButton(false);
        stopSleepTimer();
    }
    if (m_model) {
        m_model->currentTime = currentTime;
        if (m_model->currentChapter)
            m_model->currentChapter->avAssetTotalTime = totalTime;
    }
    if (m_type == MediaBookType::audio && m_audioPlayer) {
        m_audioPlayer->updatePlayerView(MediaPlayerViewUpdate::TimeTick, m_model, m_isHLSPlaying);
    } else if (m_type == MediaBookType::video && m_videoPlayer) {
        m_videoPlayer->updatePlayerView(MediaPlayerViewUpdate::TimeTick, m_model);
        if (m_model && m_model->mediaCurrentState == CurrentState::Loading)
            updateVideoReadyState(m_model);
    }
    publishNowPlayingInfo();
    updateChapterControls(true);
    updateBookmarkButtonState();
    if (auto listener = m_mediaPlayerDelegate.lock())
        listener->playerPlayingWithCurrentTime(currentTime, totalTime);
}

void MVLectoroMediaBookReader::playerDidFinishPlaying()
{
    if (!m_model)
        return;
    // Decided from the chapter that ended: moving on first would make the book's last
    // chapter look finished as soon as it started.
    if (!isLastChapterCurrent()) {
        playNextChapter();
        return;
    }
    const auto& all = m_model->mediaBookAllChaptersArray;
    m_model->currentChapter = all.empty() ? nullptr : all.front();
    m_model->currentTime = 0;
    enableSleepButton(true);
    updateChapterControls(false);
    if (auto listener = m_mediaPlayerDelegate.lock())
        listener->playerDidFinishPlaying();
}

void MVLectoroMediaBookReader::playerFailedToPlayWithError(const base::Error& error)
{
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    base::RunLoop::main().post([weak, error] {
        auto reader = weak.lock();
        if (!reader)
            return;
        reader->reportPlaybackState("Paused");
        if (auto listener = reader->m_mediaPlayerDelegate.lock())
            listener->playerFailedToPlayWithError(error);
    });
}

void MVLectoroMediaBookReader::playerDidChangeStateWithMediaBookModel(const std::shared_ptr<MVMediaBookModel>& model)
{
    if (!model) {
        if (auto listener = m_mediaPlayerDelegate.lock())
            listener->playerDidChangeStateWithMediaBookModel(model);
        return;
    }
    auto state = model->mediaCurrentState;
    if (m_model && m_model != model && (state == CurrentState::Playing || state == CurrentState::ReadyToPlay)) {
        m_model->mediaSupportedAudios = model->mediaSupportedAudios;
        m_model->mediaSupportedSubtitles = model->mediaSupportedSubtitles;
    }
    if (m_type == MediaBookType::audio && m_audioPlayer) {
        m_audioPlayer->updatePlayerView(MediaPlayerViewUpdate::StateChange, model, m_isHLSPlaying);
    } else if (m_type == MediaBookType::video && m_videoPlayer) {
        m_videoPlayer->updatePlayerView(MediaPlayerViewUpdate::StateChange, model);
        updateVideoReadyState(model);
    }
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    base::RunLoop::main().postDelayed(mediaCallbacksPanelStateDelay, [weak, model] {
        if (auto reader = weak.lock(); reader && reader->m_toc)
            reader->m_toc->setPlayPauseState(model);
    });
    reportPlaybackState(state == CurrentState::Playing ? "Playing" : "Paused");
    if (state == CurrentState::Loading)
        refreshBookmarksOnScreen();
    if (auto listener = m_mediaPlayerDelegate.lock())
        listener->playerDidChangeStateWithMediaBookModel(model);
}

} // namespace lectoro
