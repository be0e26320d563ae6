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

// MARK: - The video view's taps

void MVLectoroMediaBookReader::didTapOnVideoView(bool hidden)
{
    // Only the media buttons follow the controls; the picture's own tap is not passed on.
    hideNextPreviousControls(hidden);
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
    // The host usually lets go of the screen while it hears of the back.
    auto keepAlive = self();
    handleBackAction();
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoBack();
}

void MVLectoroMediaBookReader::didTapOnVideoBookmark()
{
    showBookmarkController();
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoBookmark();
}

void MVLectoroMediaBookReader::didTapOnVideoNarrationSpeed(ui::Button& sender)
{
    showNarrationSpeedController(sender.weak_from_this().lock());
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoNarrationSpeed(sender);
}

// A video decides the bookmark button from where the picture was before it moves; the seek
// bar has written its new time into the model already.

void MVLectoroMediaBookReader::didTapOnVideoRewind()
{
    updateBookmarkButtonState();
    if (m_player)
        m_player->playBackwardWithTime(forwardBackwardTimeConstant);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoRewind();
}

void MVLectoroMediaBookReader::didTapOnVideoForward()
{
    updateBookmarkButtonState();
    if (m_player)
        m_player->playForwardWithTime(forwardBackwardTimeConstant);
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoForward();
}

void MVLectoroMediaBookReader::didTapOnVideoPlayPause(const std::shared_ptr<MVMediaBookModel>& reported)
{
    // The view may hand over its own member.
    auto model = reported;
    togglePlayPause();
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoPlayPause(model);
}

void MVLectoroMediaBookReader::didTapOnVideoNextChapter()
{
    updateBookmarkButtonState();
    playNextChapter();
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoNextChapter();
}

void MVLectoroMediaBookReader::didTapOnVideoPreviousChapter()
{
    updateBookmarkButtonState();
    playPreviousChapter();
    if (auto listener = m_videoPlayerDelegate.lock())
        listener->didTapOnVideoPreviousChapter();
}

void MVLectoroMediaBookReader::didVideoSeekBarValueChanged()
{
    if (m_player && m_model)
        m_player->playToSeekTime(m_model->currentTime);
    updateBookmarkButtonState();
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
    if (m_sleepButton)
        m_sleepButton->setHidden(visibility.sleepButtonHidden);
    if (m_topBar && visibility.topBarHidden)
        m_topBar->setHidden(*visibility.topBarHidden);
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
