// The video book's controls: the reader's answers to the video view's taps (each passed on
// to the second listener afterwards, except a tap on the picture), the picture's frame by
// device and full screen, which bars a video shows, and subtitles on or off.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/media/player/MediaBookVideoLayout.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr float videoSkipSeconds = 15.0f;
constexpr const char* videoSleepButtonID = "MediaBSleepButton";

} // namespace

// MARK: - The video view's taps

void MVLectoroMediaBookReader::didTapOnVideoView(bool hidden)
{
    // Only the media buttons follow the controls; the picture's own tap is not passed on.
    if (m_nextButton)
        m_nextButton->setHidden(hidden);
    if (m_previousButton)
        m_previousButton->setHidden(hidden);
}

void MVLectoroMediaBookReader::didTapOnVideoFullScreen(bool fullScreen)
{
    m_isVideoFullScreen = fullScreen;
    if (m_type == MediaBookType::video)
        refreshBookmarkMarksLater();
    updateVideoPlayerLayout();
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoFullScreen(fullScreen);
}

void MVLectoroMediaBookReader::didTapOnVideoMute(bool muted)
{
    if (m_player)
        m_player->mute(muted);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoMute(muted);
}

void MVLectoroMediaBookReader::didTapOnVideoBack()
{
    closePlayer();
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnBack(getMetaData(), *this);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoBack();
}

void MVLectoroMediaBookReader::didTapOnVideoBookmark()
{
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoBookmark();
}

void MVLectoroMediaBookReader::didTapOnVideoNarrationSpeed(ui::Button& sender)
{
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoNarrationSpeed(sender);
}

void MVLectoroMediaBookReader::didTapOnVideoRewind()
{
    if (m_player)
        m_player->playBackwardWithTime(videoSkipSeconds);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoRewind();
}

void MVLectoroMediaBookReader::didTapOnVideoForward()
{
    if (m_player)
        m_player->playForwardWithTime(videoSkipSeconds);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoForward();
}

void MVLectoroMediaBookReader::didTapOnVideoPlayPause(const std::shared_ptr<MVMediaBookModel>& model)
{
    bool playing = m_model && m_model->mediaCurrentState == CurrentState::Playing;
    if (m_player)
        playing ? m_player->pause() : m_player->play();
    if (auto delegate = m_delegate.lock())
        delegate->didMediaPlaybackStateChange(playing ? "Paused" : "Playing");
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoPlayPause(model);
}

void MVLectoroMediaBookReader::didTapOnVideoNextChapter()
{
    if (m_model && m_player) {
        const auto& all = m_model->mediaBookAllChaptersArray;
        auto index = m_model->indexOfChapter(m_model->currentChapter);
        if (index && *index + 1 < all.size())
            navigateToStartPosition(all[*index + 1], 0);
    }
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoNextChapter();
}

void MVLectoroMediaBookReader::didTapOnVideoPreviousChapter()
{
    if (m_model && m_player) {
        const auto& all = m_model->mediaBookAllChaptersArray;
        auto index = m_model->indexOfChapter(m_model->currentChapter);
        if (index && *index > 0)
            navigateToStartPosition(all[*index - 1], 0);
    }
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoPreviousChapter();
}

void MVLectoroMediaBookReader::didVideoSeekBarValueChanged()
{
    if (m_player && m_model)
        m_player->playToSeekTime(m_model->currentTime);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didVideoSeekBarValueChanged();
}

void MVLectoroMediaBookReader::didTapOnSubtitleView(bool on)
{
    updateSubtitleState(on);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnSubtitleView(on);
}

void MVLectoroMediaBookReader::didTapOnVideoMoreOptions(ui::View& source)
{
    showMoreOptionsPopOver(makeMoreOptionsPopOverModel(source));
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoMoreOptions(source);
}

// MARK: - Subtitles

void MVLectoroMediaBookReader::updateSubtitleState(bool isOn)
{
    // The switch turns on a subtitle track: the one last picked while it is still offered,
    // else the first one offered. Audio tracks are no subtitles.
    std::optional<std::string> subtitle;
    if (isOn && m_model && m_model->mediaSupportedSubtitles && !m_model->mediaSupportedSubtitles->empty()) {
        const auto& offered = *m_model->mediaSupportedSubtitles;
        bool lastStillOffered = m_lastPickedSubtitle
            && std::find(offered.begin(), offered.end(), *m_lastPickedSubtitle) != offered.end();
        subtitle = lastStillOffered ? *m_lastPickedSubtitle : offered.front();
    }
    if (m_player)
        m_player->changeMediaSubtitle(subtitle);
    if (m_videoPlayer) {
        m_videoPlayer->setSubtitleViewColor(subtitle ? ui::Color::red() : ui::Color::clear());
        m_videoPlayer->setSubtitleViewState(isOn);
    }
}

// MARK: - Layout

void MVLectoroMediaBookReader::updateVideoPlayerLayout()
{
    auto& environment = ui::Environment::current();
    auto metrics = screenMetrics();
    if (mediaBookVideoTurnsDeviceToPortrait(metrics, m_isVideoFullScreenForIphone)) {
        environment.rotateTo(ui::Orientation::Portrait);
        metrics = screenMetrics();
    }
    updateSleepButtonAndTopBar();
    if (m_videoPlayer) {
        auto placed = mediaBookVideoPlayerFrame(metrics);
        if (placed.frame)
            m_videoPlayer->view()->setFrame(*placed.frame);
        if (m_toc)
            m_toc->view()->setHidden(placed.panelHidden);
    }
    updateNextPreviousButtonMetrics();
}

void MVLectoroMediaBookReader::updateSleepButtonAndTopBar()
{
    auto visibility = mediaBookBarVisibility(screenMetrics());
    if (m_topBar) {
        if (auto sleep = m_topBar->viewWithAccessibilityIdentifier(videoSleepButtonID))
            sleep->setHidden(visibility.sleepButtonHidden);
        if (visibility.topBarHidden)
            m_topBar->setHidden(*visibility.topBarHidden);
    }
}

void MVLectoroMediaBookReader::didLayOutScreen(const MediaBookScreenFrames& frames)
{
    colourSidePanelBorders(frames);
    if (!ui::Environment::current().isPad()) {
        // A phone in landscape shows the picture alone unless full screen was chosen.
        m_isVideoFullScreenForIphone = frames.videoFullScreenForPhone;
        if (m_type == MediaBookType::video)
            updateVideoPlayerLayout();
    }
    updateSleepButtonAndTopBar();
    updateNextPreviousButtonMetrics();
}

void MVLectoroMediaBookReader::refreshBookmarkMarksLater()
{
    // The marks are drawn again once the new size is in place; the reader is held until then.
    auto reader = self();
    base::RunLoop::main().postDelayed(0.2, [reader] {
        auto marks = reader->chapterBookmarks();
        if (!marks)
            return;
        for (const auto& bookmark : *marks) {
            if (reader->m_type == MediaBookType::video && reader->m_videoPlayer) {
                reader->m_videoPlayer->deleteBookmark(bookmark);
                reader->m_videoPlayer->addBookmark(bookmark);
            } else if (reader->m_audioPlayer) {
                reader->m_audioPlayer->deleteBookmark(bookmark);
                reader->m_audioPlayer->addBookmark(bookmark);
            }
        }
    });
}

void MVLectoroMediaBookReader::updateVideoReadyState(const std::shared_ptr<MVMediaBookModel>& model)
{
    if (!model || !m_videoPlayer)
        return;
    if (model->mediaCurrentState == CurrentState::Playing) {
        m_videoPlayer->isVideoReadyToPlay(true);
        hideNextPreviousControls(false);
    } else if (model->mediaCurrentState == CurrentState::Loading) {
        m_videoPlayer->isVideoReadyToPlay(false);
        hideNextPreviousControls(true);
    }
}

} // namespace lectoro
