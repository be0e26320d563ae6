#pragma once

// The player components of a media book: MVAudioBookPlayerViewController (cover, title,
// chapter, seek bar, play/pause, 15 s skips, chapter moves, bookmark and speed buttons, the
// sleep-time label) and MVVideoBookPlayerViewController (the picture with the same controls
// plus full screen, mute, back, subtitles and more options). They show what the reader tells
// them and report every tap to their delegate (held weakly); the seek bar writes the new
// time into the model before it reports.

#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanel.h"

#include "platform/ui/Gesture.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"
#include "platform/ui/StackView.h"

#include <map>
#include <optional>
#include <vector>

namespace lectoro {

class SDKBookmarkVO;

// What updatePlayerView tells a player view.
enum class MediaPlayerViewUpdate : int { StateChange = 0, SpeedChange = 1, TimeTick = 2 };

class MVMediaBookPlayerViewBase : public MVMediaBookPanel {
public:
    void loadView() override;
    void viewDidLayoutSubviews() override;

    void hideBookmark(bool hidden);
    void disableBookmark(bool disabled);
    bool isBookmarkDisabled() const { return m_bookmarkDisabled; }
    void disablePreviousChapter(bool disabled);
    void disableNextChapter(bool disabled);
    bool isPreviousChapterDisabled() const { return m_previousDisabled; }
    bool isNextChapterDisabled() const { return m_nextDisabled; }
    void setCurrentChapter(std::shared_ptr<MVMediaBookChapterVO>);
    const std::shared_ptr<MVMediaBookChapterVO>& currentChapter() const { return m_chapter; }

    // Bookmark marks on the seek bar, one per bookmark (the same record once).
    void addBookmark(const std::shared_ptr<SDKBookmarkVO>&);
    void deleteBookmark(const std::shared_ptr<SDKBookmarkVO>&);
    void deleteAllBookmarks(const std::vector<std::shared_ptr<SDKBookmarkVO>>&);
    std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarkMarks() const;

    // The controls, for the screen to place and for tests to tap.
    std::shared_ptr<ui::Button> button(const std::string& identifier);
    std::shared_ptr<ui::Slider> seekBar();
    std::shared_ptr<ui::Label> elapsedLabel();
    std::shared_ptr<ui::Label> chapterLabel();
    // The seven transport controls' row.
    const std::shared_ptr<ui::StackView>& transport() const { return m_transport; }

protected:
    using MVMediaBookPanel::MVMediaBookPanel;
    // Shows the model's time, length and state.
    void showModel(const std::shared_ptr<MVMediaBookModel>&);
    void addControl(const std::shared_ptr<ui::Button>&);
    // Drawn in the player's icon colour, dimmed while disabled.
    void styleControl(ui::Button&) const;
    const std::shared_ptr<ui::Label>& title() const { return m_title; }
    // Title, chapter, seek bar, times and the transport row, one under the other across the
    // view; the subclass ties the column to the top or the bottom of the view.
    void activateTextAndTimeRows(ui::View& root);

    virtual void buildExtraControls(ui::View& root) = 0;
    virtual void didTapPlayPause() = 0;
    virtual void didTapForward() = 0;
    virtual void didTapRewind() = 0;
    virtual void didTapNextChapter() = 0;
    virtual void didTapPreviousChapter() = 0;
    virtual void didTapBookmarkButton() = 0;
    virtual void didTapNarrationSpeed(ui::Button&) = 0;
    virtual void didChangeSeekBar() = 0;

private:
    void placeMark(const std::shared_ptr<SDKBookmarkVO>&);

    std::map<std::string, std::shared_ptr<ui::Button>> m_buttons;
    std::shared_ptr<ui::Slider> m_seekBar;
    std::shared_ptr<ui::Label> m_title;
    std::shared_ptr<ui::Label> m_chapterLabel;
    std::shared_ptr<ui::Label> m_elapsed;
    std::shared_ptr<ui::Label> m_remaining;
    std::shared_ptr<ui::StackView> m_transport;
    std::vector<std::pair<std::shared_ptr<SDKBookmarkVO>, std::shared_ptr<ui::View>>> m_marks;
    std::shared_ptr<MVMediaBookChapterVO> m_chapter;
    bool m_bookmarkHidden = false;
    bool m_bookmarkDisabled = false;
    bool m_previousDisabled = false;
    bool m_nextDisabled = false;
};

class MVAudioBookPlayerViewControllerDelegate {
public:
    virtual ~MVAudioBookPlayerViewControllerDelegate() = default;
    virtual void didTapOnBookmark() { }
    virtual void didTapOnPlayPause(const std::shared_ptr<MVMediaBookModel>&) { }
    virtual void didTapOnNarrationSpeed(ui::Button&) { }
    virtual void didTapOnForward() { }
    virtual void didTapOnRewind() { }
    virtual void didTapOnNextChapter() { }
    virtual void didTapOnPreviousChapter() { }
    virtual void didSeekBarValueChanged() { }
    virtual std::shared_ptr<ui::ImageView> imageViewForThumbnail(const std::string& /*address*/) { return nullptr; }
};

class MVAudioBookPlayerViewController final : public MVMediaBookPlayerViewBase {
public:
    static std::shared_ptr<MVAudioBookPlayerViewController> create(std::shared_ptr<MVMediaBookModel>);
    std::string_view className() const override { return "MVAudioBookPlayerViewController"; }

    std::shared_ptr<MVAudioBookPlayerViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVAudioBookPlayerViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    // Holds the cover image view (the delegate's image view for the thumbnail, else a plain one).
    std::shared_ptr<ui::View> getThumbnailContainerView();
    void updateAudioThumbnail();
    void updatePlayerView(MediaPlayerViewUpdate, const std::shared_ptr<MVMediaBookModel>&, bool showLoader);
    bool isLoaderShown() const { return m_loaderShown; }

    void addSleepTimeView();
    void removeSleepTimeView();
    void setSleepTimeLabelText(const std::string&);
    // Null while no sleep time is shown.
    std::shared_ptr<ui::Label> sleepTimeLabel() const { return m_sleepLabel; }

private:
    using MVMediaBookPlayerViewBase::MVMediaBookPlayerViewBase;
    void buildExtraControls(ui::View& root) override;
    void didTapPlayPause() override;
    void didTapForward() override;
    void didTapRewind() override;
    void didTapNextChapter() override;
    void didTapPreviousChapter() override;
    void didTapBookmarkButton() override;
    void didTapNarrationSpeed(ui::Button&) override;
    void didChangeSeekBar() override;

    std::weak_ptr<MVAudioBookPlayerViewControllerDelegate> m_delegate;
    std::shared_ptr<ui::View> m_thumbnailContainer;
    std::shared_ptr<ui::Label> m_sleepLabel;
    // Kept clear for the reader's top bar.
    double m_topInset = 0;
    bool m_loaderShown = false;
};

class MVVideoBookPlayerViewControllerDelegate {
public:
    virtual ~MVVideoBookPlayerViewControllerDelegate() = default;
    virtual void didTapOnVideoView(bool /*hidden*/) { }
    virtual void didTapOnVideoFullScreen(bool /*fullScreen*/) { }
    virtual void didTapOnVideoMute(bool /*muted*/) { }
    virtual void didTapOnVideoBack() { }
    virtual void didTapOnVideoBookmark() { }
    virtual void didTapOnVideoNarrationSpeed(ui::Button&) { }
    virtual void didTapOnVideoRewind() { }
    virtual void didTapOnVideoForward() { }
    virtual void didTapOnVideoPlayPause(const std::shared_ptr<MVMediaBookModel>&) { }
    virtual void didTapOnVideoNextChapter() { }
    virtual void didTapOnVideoPreviousChapter() { }
    virtual void didVideoSeekBarValueChanged() { }
    virtual void didTapOnSubtitleView(bool /*on*/) { }
    virtual void didTapOnVideoMoreOptions(ui::View&) { }
};

class MVVideoBookPlayerViewController final : public MVMediaBookPlayerViewBase {
public:
    // `videoPlayerView` is the player's picture (MVMediaBookPlayer::getPlayerLayerView()).
    static std::shared_ptr<MVVideoBookPlayerViewController> create(std::shared_ptr<MVMediaBookModel>,
        std::shared_ptr<ui::View> videoPlayerView);
    ~MVVideoBookPlayerViewController() override;
    std::string_view className() const override { return "MVVideoBookPlayerViewController"; }

    std::shared_ptr<MVVideoBookPlayerViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVVideoBookPlayerViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    const std::shared_ptr<ui::View>& videoPlayerView() const { return m_videoView; }
    void updatePlayerView(MediaPlayerViewUpdate, const std::shared_ptr<MVMediaBookModel>&);
    void setViewFullScreenForIphone();
    bool isFullScreenForIphone() const { return m_fullScreenForIphone; }
    void updateViewOnOrientationChange();
    void isVideoReadyToPlay(bool ready);
    bool videoReadyToPlay() const { return m_ready; }
    void setSubtitleViewState(bool on);
    bool subtitleViewState() const { return m_subtitlesOn; }
    void setSubtitleViewColor(const ui::Color&);
    void enableDisbleMuteButton(bool enabled);
    // A tap on the picture shows or hides the controls and reports it.
    void tapOnVideo();

private:
    MVVideoBookPlayerViewController(std::shared_ptr<MVMediaBookModel> model, std::shared_ptr<ui::View> videoView)
        : MVMediaBookPlayerViewBase(std::move(model)), m_videoView(std::move(videoView))
    {
    }
    void buildExtraControls(ui::View& root) override;
    void didTapPlayPause() override;
    void didTapForward() override;
    void didTapRewind() override;
    void didTapNextChapter() override;
    void didTapPreviousChapter() override;
    void didTapBookmarkButton() override;
    void didTapNarrationSpeed(ui::Button&) override;
    void didChangeSeekBar() override;

    std::weak_ptr<MVVideoBookPlayerViewControllerDelegate> m_delegate;
    std::shared_ptr<ui::View> m_videoView;
    std::shared_ptr<ui::StackView> m_topTrailingRow;
    // On the player's picture, which outlives this view: taken off again when this view goes.
    std::shared_ptr<ui::GestureRecognizer> m_pictureTap;
    bool m_fullScreen = false;
    bool m_fullScreenForIphone = false;
    bool m_muted = false;
    bool m_ready = false;
    bool m_subtitlesOn = false;
    bool m_controlsHidden = false;
};

} // namespace lectoro
