// What the player screen does with each tap of its player view, side panel, bookmark panel
// and narration-speed panel: it drives the player, keeps the views, the chapter controls and
// the bookmark button in step, and passes every tap on to the panel's second listener.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/media/player/MediaBookPosition.h"
#include "LectoroSDKWithReader/media/player/MediaBookPlayerRules.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/RunLoop.h"
#include "platform/media/NowPlaying.h"

namespace lectoro {

namespace {

// The side panel refreshes its bookmark list after the store has answered the add or delete.
constexpr double mediaActionsBookmarkListDelay = 0.5;
// A deleted bookmark's mark leaves the player view once the new list is in.
constexpr double mediaActionsDeletedMarkDelay = 0.8;

} // namespace

void MVLectoroMediaBookReader::reportPlaybackState(const std::string& state)
{
    if (auto delegate = m_delegate.lock())
        delegate->didMediaPlaybackStateChange(state);
}

// MARK: - Chapters

void MVLectoroMediaBookReader::setRemoteTrackCommandsEnabled(std::optional<bool> previous, std::optional<bool> next)
{
    if (m_type != MediaBookType::audio)
        return;
    auto& center = media::RemoteCommandCenter::shared();
    if (previous)
        center.previousTrackCommand().setEnabled(*previous);
    if (next)
        center.nextTrackCommand().setEnabled(*next);
}

void MVLectoroMediaBookReader::playNextChapter()
{
    if (!m_model || !m_model->currentChapter)
        return;
    auto index = m_model->indexOfChapter(m_model->currentChapter);
    if (!index)
        return;
    const auto& all = m_model->mediaBookAllChaptersArray;
    if (*index + 1 < all.size()) {
        navigateToStartPosition(all[*index + 1], 0);
        if (m_type == MediaBookType::video && m_videoPlayer)
            m_videoPlayer->disablePreviousChapter(false);
        else if (m_audioPlayer)
            m_audioPlayer->disablePreviousChapter(false);
        setRemoteTrackCommandsEnabled(true, std::nullopt);
        return;
    }
    if (m_type == MediaBookType::video && m_videoPlayer)
        m_videoPlayer->disableNextChapter(true);
    else if (m_audioPlayer)
        m_audioPlayer->disableNextChapter(true);
    setRemoteTrackCommandsEnabled(std::nullopt, false);
}

void MVLectoroMediaBookReader::playPreviousChapter()
{
    if (!m_model || !m_model->currentChapter)
        return;
    auto index = m_model->indexOfChapter(m_model->currentChapter);
    if (!index)
        return;
    const auto& all = m_model->mediaBookAllChaptersArray;
    if (*index >= 1) {
        navigateToStartPosition(all[*index - 1], 0);
        if (m_type == MediaBookType::video && m_videoPlayer)
            m_videoPlayer->disableNextChapter(false);
        else if (m_audioPlayer)
            m_audioPlayer->disableNextChapter(false);
        setRemoteTrackCommandsEnabled(std::nullopt, true);
        return;
    }
    if (m_type == MediaBookType::video && m_videoPlayer)
        m_videoPlayer->disablePreviousChapter(true);
    else if (m_audioPlayer)
        m_audioPlayer->disablePreviousChapter(true);
    setRemoteTrackCommandsEnabled(false, std::nullopt);
}

void MVLectoroMediaBookReader::updateChapterControls(bool hasChapter)
{
    MVMediaBookPlayerViewBase* view = m_type == MediaBookType::video
        ? static_cast<MVMediaBookPlayerViewBase*>(m_videoPlayer.get())
        : static_cast<MVMediaBookPlayerViewBase*>(m_audioPlayer.get());
    auto chapter = m_model ? m_model->currentChapter : nullptr;
    auto index = m_model && chapter ? m_model->indexOfChapter(chapter) : std::nullopt;
    if (!hasChapter || !index) {
        if (view) {
            view->disablePreviousChapter(true);
            view->disableNextChapter(false);
            view->setCurrentChapter(nullptr);
        }
        setRemoteTrackCommandsEnabled(false, true);
        if (m_toc)
            m_toc->updateTOCForCurrentChapter(nullptr);
        return;
    }
    // The album title goes out with the next time tick.
    if (chapter->chapterTitle)
        m_nowPlayingInfo.set(media::mediaItemPropertyAlbumTitle, *chapter->chapterTitle);
    else
        m_nowPlayingInfo.remove(media::mediaItemPropertyAlbumTitle);
    if (m_toc)
        m_toc->updateTOCForCurrentChapter(chapter);
    bool first = *index < 1;
    bool last = *index + 1 == m_model->mediaBookAllChaptersArray.size();
    if (view) {
        view->disablePreviousChapter(first);
        view->disableNextChapter(last);
    }
    setRemoteTrackCommandsEnabled(!first, !last);
    if (view)
        view->setCurrentChapter(chapter);
}

bool MVLectoroMediaBookReader::isLastChapterCurrent() const
{
    if (!m_model || !m_model->currentChapter)
        return false;
    auto index = m_model->indexOfChapter(m_model->currentChapter);
    return index && *index + 1 == m_model->mediaBookAllChaptersArray.size();
}

// MARK: - Bookmark button and panel

void MVLectoroMediaBookReader::updateBookmarkButtonState()
{
    MVMediaBookPlayerViewBase* view = m_type == MediaBookType::video
        ? static_cast<MVMediaBookPlayerViewBase*>(m_videoPlayer.get())
        : static_cast<MVMediaBookPlayerViewBase*>(m_audioPlayer.get());
    if (!view)
        return;
    view->disableBookmark(false);
    if (!m_model)
        return;
    if (auto marks = chapterBookmarks(); marks && isNearMediaBookmark(*marks, m_model->currentTime, m_bookmarkDisabledTimeFrame))
        view->disableBookmark(true);
}

void MVLectoroMediaBookReader::showBookmarkPanel(std::shared_ptr<SDKBookmarkVO> bookmarkToDelete)
{
    removeBookmarkController();
    m_bookmarkController = MVMediaBookBookmarkController::create(m_model, std::move(bookmarkToDelete));
    m_bookmarkController->setDelegate(std::static_pointer_cast<MVMediaBookBookmarkControllerDelegate>(self()));
    m_bookmarkController->setTheme(m_theme);
    // A new bookmark opens from the player's bookmark button and sits by it; a delete from
    // the side panel has no control of its own to sit by.
    if (!m_bookmarkController->bookmarkToDelete()) {
        std::shared_ptr<MVMediaBookPlayerViewBase> player = m_type == MediaBookType::video
            ? std::static_pointer_cast<MVMediaBookPlayerViewBase>(m_videoPlayer)
            : std::static_pointer_cast<MVMediaBookPlayerViewBase>(m_audioPlayer);
        if (player)
            m_bookmarkController->setSourceViewForBookmarkController(player->button("MediaBookmarkButton"));
    }
    view()->addSubview(m_bookmarkController->view());
    addChildViewController(m_bookmarkController);
}

void MVLectoroMediaBookReader::showBookmarkController()
{
    if (!m_model || m_model->currentTime <= 0)
        return;
    showBookmarkPanel(nullptr);
}

void MVLectoroMediaBookReader::removeBookmarkController()
{
    if (!m_bookmarkController)
        return;
    detachPanel(*m_bookmarkController);
    m_bookmarkController = nullptr;
}

void MVLectoroMediaBookReader::detachPanel(ui::ViewController& panel)
{
    if (panel.presentedViewController())
        panel.dismissViewControllerAnimated(false, [] { });
    if (auto shown = panel.viewIfLoaded())
        shown->removeFromSuperview();
    panel.removeFromParentViewController();
}

void MVLectoroMediaBookReader::refreshBookmarkSegment()
{
    if (!m_toc || m_toc->selectedMode() != MediaBookTOCFilter::Bookmarks)
        return;
    if (m_bookmarks.empty()) {
        m_toc->setData(std::nullopt);
        return;
    }
    std::vector<MediaBookTOCEntry> entries(m_bookmarks.begin(), m_bookmarks.end());
    m_toc->setData(std::move(entries));
}

void MVLectoroMediaBookReader::bookmarkActionCompleted(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    if (auto delegate = m_delegate.lock())
        delegate->didBookmarkCompleteWithBookmarkVO(bookmark);
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    if (bookmark && bookmark->isDeleted()) {
        base::RunLoop::main().postDelayed(mediaActionsDeletedMarkDelay, [weak, bookmark] {
            auto reader = weak.lock();
            if (!reader)
                return;
            reader->updateBookmarkButtonState();
            if (reader->m_type == MediaBookType::video && reader->m_videoPlayer)
                reader->m_videoPlayer->deleteBookmark(bookmark);
            else if (reader->m_type == MediaBookType::audio && reader->m_audioPlayer)
                reader->m_audioPlayer->deleteBookmark(bookmark);
        });
    }
    base::RunLoop::main().postDelayed(mediaActionsBookmarkListDelay, [weak] {
        if (auto reader = weak.lock())
            reader->refreshBookmarkSegment();
    });
}

// MARK: - Narration speed

void MVLectoroMediaBookReader::showNarrationSpeedController(const std::shared_ptr<ui::View>& sourceView)
{
    removeNarrationSpeedController();
    m_narrationSpeedController = MVMediaBookNarrationSpeedController::create(m_model);
    m_narrationSpeedController->setTheme(m_theme);
    m_narrationSpeedController->setDelegate(std::static_pointer_cast<MVMediaBookNarrationSpeedControllerDelegate>(self()));
    m_narrationSpeedController->setSourceViewForNarrationSpeedController(sourceView);
    view()->addSubview(m_narrationSpeedController->view());
    addChildViewController(m_narrationSpeedController);
}

void MVLectoroMediaBookReader::removeNarrationSpeedController()
{
    if (!m_narrationSpeedController)
        return;
    detachPanel(*m_narrationSpeedController);
    m_narrationSpeedController = nullptr;
}

void MVLectoroMediaBookReader::enableSleepButton(bool enabled)
{
    if (m_sleepButton)
        m_sleepButton->setEnabled(enabled);
}

// MARK: - MVAudioBookPlayerViewControllerDelegate

void MVLectoroMediaBookReader::didTapOnBookmark()
{
    showBookmarkController();
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnBookmark();
}

void MVLectoroMediaBookReader::togglePlayPause()
{
    if (m_model && m_model->mediaCurrentState == CurrentState::Playing) {
        if (m_player)
            m_player->pause();
        reportPlaybackState("Paused");
    } else {
        if (m_player)
            m_player->play();
        reportPlaybackState("Playing");
    }
}

void MVLectoroMediaBookReader::didTapOnPlayPause(const std::shared_ptr<MVMediaBookModel>& reported)
{
    // The view may hand over its own member.
    auto model = reported;
    togglePlayPause();
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnPlayPause(model);
}

void MVLectoroMediaBookReader::didTapOnNarrationSpeed(ui::Button& button)
{
    showNarrationSpeedController(button.weak_from_this().lock());
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnNarrationSpeed(button);
}

void MVLectoroMediaBookReader::didTapOnForward()
{
    if (m_player)
        m_player->playForwardWithTime(forwardBackwardTimeConstant);
    updateBookmarkButtonState();
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnForward();
}

void MVLectoroMediaBookReader::didTapOnRewind()
{
    if (m_player)
        m_player->playBackwardWithTime(forwardBackwardTimeConstant);
    updateBookmarkButtonState();
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnRewind();
}

void MVLectoroMediaBookReader::didTapOnNextChapter()
{
    playNextChapter();
    updateBookmarkButtonState();
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnNextChapter();
}

void MVLectoroMediaBookReader::didTapOnPreviousChapter()
{
    playPreviousChapter();
    updateBookmarkButtonState();
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didTapOnPreviousChapter();
}

void MVLectoroMediaBookReader::didSeekBarValueChanged()
{
    if (m_player && m_model)
        m_player->playToSeekTime(m_model->currentTime);
    updateBookmarkButtonState();
    // At the very end of the book there is nothing left for a sleep timer to stop.
    if (m_sleepButton && m_model && isLastChapterCurrent()) {
        if (m_model->currentTime == m_model->currentChapter->avAssetTotalTime)
            enableSleepButton(false);
        else if (!m_sleepButton->isEnabled())
            enableSleepButton(true);
    }
    if (auto listener = m_audioPlayerDelegate.lock())
        listener->didSeekBarValueChanged();
}

std::shared_ptr<ui::ImageView> MVLectoroMediaBookReader::imageViewForThumbnail(const std::string& address)
{
    auto delegate = m_delegate.lock();
    return delegate ? delegate->imageViewForThumbnail(address) : nullptr;
}

// MARK: - MVMediaBookTOCControllerDelegate

void MVLectoroMediaBookReader::didTapOnChapterSegment()
{
    updateContentsList();
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnChapterSegment();
}

void MVLectoroMediaBookReader::didTapOnTranscriptSegment()
{
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnTranscriptSegment();
}

void MVLectoroMediaBookReader::didTapOnBookmarkSegment()
{
    refreshBookmarkSegment();
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnBookmarkSegment();
}

void MVLectoroMediaBookReader::didTapOnChapter(const std::shared_ptr<MVMediaBookChapterVO>& chapter)
{
    navigateToStartPosition(chapter, 0);
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnChapter(chapter);
}

void MVLectoroMediaBookReader::didTapOnTranscript(const std::shared_ptr<MVMediaBookChapterVO>& chapter)
{
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnTranscript(chapter);
}

void MVLectoroMediaBookReader::didTapOnBookmark(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    if (bookmark && m_model) {
        if (auto start = findMediaBookStartPosition(*m_model, bookmark->metaData))
            navigateToStartPosition(start->first, start->second);
    }
    if (m_toc)
        m_toc->reloadBookmarkSection();
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnBookmark(bookmark);
}

void MVLectoroMediaBookReader::didTapOnChapterPlayPause(const std::shared_ptr<MVMediaBookModel>& model)
{
    // The panel's button brings the player into line with the model's state at the tap
    // (the reverse of the player view's toggle).
    if (m_model && m_model->mediaCurrentState == CurrentState::Playing) {
        if (m_player)
            m_player->play();
        reportPlaybackState("Playing");
    } else if (m_model && m_model->mediaCurrentState == CurrentState::Paused) {
        if (m_player)
            m_player->pause();
        reportPlaybackState("Paused");
    }
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnChapterPlayPause(model);
}

void MVLectoroMediaBookReader::didTapOnBookmarkDelete(const std::shared_ptr<SDKBookmarkVO>& bookmark)
{
    showBookmarkPanel(bookmark);
    if (auto listener = m_tocDelegate.lock())
        listener->didTapOnBookmarkDelete(bookmark);
}

// MARK: - MVMediaBookNarrationSpeedControllerDelegate

void MVLectoroMediaBookReader::didNarrationSpeedValueChanges(const std::shared_ptr<MVMediaBookModel>& reported)
{
    // The panel may hand over its own member; it goes with the panel below.
    auto model = reported;
    auto panel = m_narrationSpeedController;
    removeNarrationSpeedController();
    if (m_player)
        m_player->setReadingSpeed(model);
    if (m_type == MediaBookType::video && m_videoPlayer)
        m_videoPlayer->updatePlayerView(MediaPlayerViewUpdate::SpeedChange, model);
    else if (m_type == MediaBookType::audio && m_audioPlayer)
        m_audioPlayer->updatePlayerView(MediaPlayerViewUpdate::SpeedChange, model, m_isHLSPlaying);
    if (auto listener = m_speedDelegate.lock())
        listener->didNarrationSpeedValueChanges(model);
}

void MVLectoroMediaBookReader::didTapOnCancel()
{
    auto panel = m_narrationSpeedController;
    removeNarrationSpeedController();
    if (auto listener = m_speedDelegate.lock())
        listener->didTapOnCancel();
}

// MARK: - MVMediaBookBookmarkControllerDelegate

void MVLectoroMediaBookReader::didTapOnAddBookmark(const std::shared_ptr<SDKBookmarkVO>& reported)
{
    // The panel may hand over its own member; it goes with the panel below.
    auto bookmark = reported;
    auto panel = m_bookmarkController;
    bookmarkActionCompleted(bookmark);
    if (m_audioPlayer)
        m_audioPlayer->addBookmark(bookmark);
    removeBookmarkController();
    if (auto listener = m_bookmarkDelegate.lock())
        listener->didTapOnAddBookmark(bookmark);
}

void MVLectoroMediaBookReader::didTapOnDeleteBookmark(const std::shared_ptr<SDKBookmarkVO>& reported)
{
    auto bookmark = reported;
    auto panel = m_bookmarkController;
    bookmarkActionCompleted(bookmark);
    removeBookmarkController();
    if (auto listener = m_bookmarkDelegate.lock())
        listener->didTapOnDeleteBookmark(bookmark);
}

void MVLectoroMediaBookReader::didTapOnCancelBookmark(const std::shared_ptr<SDKBookmarkVO>& reported)
{
    auto bookmark = reported;
    auto panel = m_bookmarkController;
    removeBookmarkController();
    if (!bookmark)
        return;
    if (auto listener = m_bookmarkDelegate.lock())
        listener->didTapOnCancelBookmark(bookmark);
}

} // namespace lectoro
