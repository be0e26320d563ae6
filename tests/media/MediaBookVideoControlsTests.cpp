#include "media/MediaBookVideoTestSupport.h"

#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/Json.h"
#include "platform/media/NowPlaying.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TransitionCoordinator.h"

#include <algorithm>

using namespace mediatest;
using namespace lectoro;

TEST_F(MediaVideoTest, SubtitleSwitchTurnsOnASubtitleTrackNeverAnAudioTrack)
{
    auto reader = openVideoBook(false, { 390, 844 });
    auto model = reader->mediaBookModel();
    auto player = reader->mediaBookPlayer();
    auto video = reader->videoPlayerView();
    // A stream naming its narration too: the switch must still choose among the subtitles.
    model->mediaSupportedAudios = std::vector<std::string> { "English narration" };
    // Paused, so the short sample is still on its first chapter after the notices below.
    tapVideoControl(*reader, "MediaPlayPauseButton");

    tapVideoControl(*reader, "MediaVideoSubtitleButton");
    EXPECT_EQ(player->currentSelectedSubtitle(), "English");
    EXPECT_TRUE(video->subtitleViewState());
    EXPECT_EQ(video->button("MediaVideoSubtitleButton")->backgroundColor(), ui::Color::red());

    tapVideoControl(*reader, "MediaVideoSubtitleButton");
    EXPECT_FALSE(player->currentSelectedSubtitle());
    EXPECT_FALSE(video->subtitleViewState());
    EXPECT_EQ(video->button("MediaVideoSubtitleButton")->backgroundColor(), ui::Color::clear());
    EXPECT_EQ(m_listener->heard, (std::vector<std::string> { "subtitles on", "subtitles off" }));

    // The pop-over's switch turns the subtitle picked last on again.
    const auto entries = reader->settingsEntries().titles;
    const auto subtitles = std::find(entries.begin(), entries.end(), "Subtitles (CC)");
    ASSERT_NE(subtitles, entries.end());
    const auto openSubtitles = [&] {
        tapVideoControl(*reader, "MediaVideoMoreOptionsButton");
        ASSERT_TRUE(reader->popOverViewController());
        tapPopOverRow(*reader->popOverViewController(), static_cast<size_t>(subtitles - entries.begin()));
        ASSERT_TRUE(reader->popOverViewController());
    };
    openSubtitles();
    tapPopOverRow(*reader->popOverViewController(), 1);
    EXPECT_EQ(player->currentSelectedSubtitle(), "Deutsch");
    // The notice holds touches back until it has gone.
    advance(4.0);
    openSubtitles();
    auto list = reader->popOverViewController();
    EXPECT_EQ(list->model().selectedItem, "Deutsch");
    EXPECT_TRUE(list->model().switchState);
    list->flipSwitch();
    EXPECT_FALSE(player->currentSelectedSubtitle());
    list->flipSwitch();
    EXPECT_EQ(player->currentSelectedSubtitle(), "Deutsch");
    EXPECT_EQ(m_listener->heard.back(), "switch on");
    // Closed as a user closes it, so the video's controls are in reach again.
    tapPopOverRow(*list, std::nullopt);
    EXPECT_FALSE(reader->popOverViewController());

    // Nothing offered: the player gets no subtitle, the view still shows the switch on.
    tapVideoControl(*reader, "MediaVideoSubtitleButton");
    model->mediaSupportedSubtitles.reset();
    tapVideoControl(*reader, "MediaVideoSubtitleButton");
    EXPECT_FALSE(player->currentSelectedSubtitle());
    EXPECT_TRUE(video->subtitleViewState());
    EXPECT_EQ(video->button("MediaVideoSubtitleButton")->backgroundColor(), ui::Color::clear());
}

TEST_F(MediaVideoTest, PictureTapMovesOnlyTheMediaButtonsAndMuteReachesThePlayer)
{
    auto reader = openVideoBook(false, { 390, 844 });
    ASSERT_TRUE(reader->nextMediaButton());
    // Playing: the buttons came with the video controls.
    EXPECT_FALSE(reader->nextMediaButton()->isHidden());
    auto picture = reader->videoPlayerView()->videoPlayerView();
    ASSERT_TRUE(picture);
    // Away from the controls, in the picture's middle.
    const ui::Point middle(picture->bounds().midX(), picture->bounds().height() * 0.5);
    ASSERT_TRUE(uitest::tap(*picture, middle));
    EXPECT_TRUE(reader->nextMediaButton()->isHidden());
    EXPECT_TRUE(reader->previousMediaButton()->isHidden());
    ASSERT_TRUE(uitest::tap(*picture, middle));
    EXPECT_FALSE(reader->previousMediaButton()->isHidden());
    EXPECT_TRUE(m_listener->heard.empty());

    tapVideoControl(*reader, "MediaVideoMuteButton");
    EXPECT_TRUE(reader->mediaBookPlayer()->isMuted());
    tapVideoControl(*reader, "MediaVideoMuteButton");
    EXPECT_FALSE(reader->mediaBookPlayer()->isMuted());
    EXPECT_EQ(m_listener->heard, (std::vector<std::string> { "mute on", "mute off" }));

    // The picture's own buttons sit inside it, 3 points in from each edge on a phone held upright.
    auto component = reader->videoPlayerView()->view();
    EXPECT_EQ(reader->previousButtonLeadingConstraint()->secondItem().get(),
        static_cast<ui::LayoutItem*>(component.get()));
    EXPECT_EQ(reader->previousButtonLeadingConstraint()->constant(), 3);
    EXPECT_EQ(reader->nextButtonTrailingConstraint()->constant(), -3);
    EXPECT_EQ(reader->nextMediaButton()->font().pointSize(), 20);
}

TEST_F(MediaVideoTest, TransportTapsReachThePlayerAndBackHandsOverThePosition)
{
    auto reader = openVideoBook(false, { 390, 844 });
    auto model = reader->mediaBookModel();
    ASSERT_EQ(model->mediaCurrentState, CurrentState::Playing);
    tapVideoControl(*reader, "MediaPlayPauseButton");
    EXPECT_EQ(model->mediaCurrentState, CurrentState::Paused);
    tapVideoControl(*reader, "MediaPlayPauseButton");
    EXPECT_EQ(model->mediaCurrentState, CurrentState::Playing);

    tapVideoControl(*reader, "MediaNextChapterButton");
    EXPECT_EQ(model->currentChapter->chapterTitle, "Counting");
    EXPECT_EQ(reader->videoPlayerView()->currentChapter(), model->currentChapter);
    // The last chapter has no next one: the button takes no touch.
    EXPECT_FALSE(uitest::tap(*reader->videoPlayerView()->button("MediaNextChapterButton")));
    EXPECT_EQ(model->currentChapter->chapterTitle, "Counting");
    tapVideoControl(*reader, "MediaPreviousChapterButton");
    EXPECT_EQ(model->currentChapter->chapterTitle, "Colours");

    auto seekBar = reader->videoPlayerView()->seekBar();
    ASSERT_TRUE(uitest::setSliderValue(*seekBar, 2));
    EXPECT_EQ(model->currentTime, 2);
    tapVideoControl(*reader, "MediaRewindButton");
    EXPECT_EQ(model->currentTime, 0);

    tapVideoControl(*reader, "MediaVideoBackButton");
    EXPECT_EQ(model->mediaCurrentState, CurrentState::Stopped);
    ASSERT_EQ(m_host->backs.size(), 1u);
    auto folio = base::parseJson(m_host->backs[0].second);
    ASSERT_TRUE(folio.ok());
    EXPECT_EQ(folio.value()["chapterName"].asString(), "Colours");
}

TEST_F(MediaVideoTest, FullScreenOnATabletFillsTheScreenAndHidesThePanelAndTopBar)
{
    auto reader = openVideoBook(true, { 1024, 768 });
    auto frame = reader->videoPlayerView()->view()->frame();
    EXPECT_EQ(frame, ui::Rect(0, 70, 0.6 * 1024, 384));
    EXPECT_FALSE(reader->playerTopBar()->isHidden());

    tapVideoControl(*reader, "MediaVideoFullScreenButton");
    EXPECT_TRUE(reader->isVideoFullScreen());
    EXPECT_EQ(reader->videoPlayerView()->view()->frame(), ui::Rect(0, 0, 1024, 768));
    EXPECT_TRUE(reader->tocController()->view()->isHidden());
    EXPECT_TRUE(reader->playerTopBar()->isHidden());

    tapVideoControl(*reader, "MediaVideoFullScreenButton");
    EXPECT_EQ(reader->videoPlayerView()->view()->frame(), frame);
    EXPECT_FALSE(reader->tocController()->view()->isHidden());
    EXPECT_FALSE(reader->playerTopBar()->isHidden());
    EXPECT_EQ(m_listener->heard, (std::vector<std::string> { "full screen on", "full screen off" }));
}

TEST_F(MediaVideoTest, LeavingFullScreenOnAPhoneHeldSidewaysTurnsItUpright)
{
    auto& environment = ui::Environment::current();
    auto reader = openVideoBook(false, { 390, 844 });
    EXPECT_TRUE(reader->playerTopBar()->isHidden());
    tapVideoControl(*reader, "MediaVideoFullScreenButton");
    EXPECT_EQ(reader->videoPlayerView()->view()->frame(), ui::Rect(0, 0, 390, 844));

    environment.rotateTo(ui::Orientation::LandscapeLeft);
    uitest::transitionToSize(m_controller, environment.screenSize(), false);
    advance(0.5);
    EXPECT_EQ(reader->videoPlayerView()->view()->frame(), ui::Rect(0, 0, 844, 390));
    EXPECT_FALSE(reader->isVideoFullScreenForIphone());
    EXPECT_TRUE(environment.isDeviceLandscape());

    tapVideoControl(*reader, "MediaVideoFullScreenButton");
    EXPECT_EQ(environment.deviceOrientation(), ui::Orientation::Portrait);
}

TEST_F(MediaVideoTest, TabletRightToLeftBordersSitAtThePanelsTrailingEdgeAndClearWhileTurning)
{
    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    auto reader = openVideoBook(true, { 1024, 768 });
    auto theme = reader->themeVO();
    auto panel = reader->tocController()->view();
    EXPECT_EQ(panel->frame(), ui::Rect(0, 70, 0.4 * 1024, 698));
    ASSERT_TRUE(reader->leftBorderView());
    EXPECT_EQ(reader->leftBorderView()->frame(), ui::Rect(0.4 * 1024 - 1, 0, 1, 698));
    EXPECT_EQ(reader->topBorderView()->frame().size.width, 0.4 * 1024);
    EXPECT_EQ(
        reader->leftBorderView()->backgroundColor(), theme->media_sidepanel_selected_chapter_divider_color());
    EXPECT_EQ(reader->topBorderView()->backgroundColor(), theme->media_toppanel_bottom_line());

    reader->didTapOnVideoMoreOptions(*reader->view());
    ASSERT_TRUE(reader->popOverViewController());
    auto coordinator = ui::TransitionCoordinator::create({ 768, 1024 }, false);
    reader->viewWillTransitionToSize({ 768, 1024 }, *coordinator);
    EXPECT_FALSE(reader->popOverViewController());
    EXPECT_EQ(reader->leftBorderView()->backgroundColor(), ui::Color::clear());
    EXPECT_EQ(reader->topBorderView()->backgroundColor(), ui::Color::clear());
}

TEST_F(MediaVideoTest, NextOnAVideoReportsThePositionThenResetsThePlayerForTheComingMedia)
{
    auto reader = openVideoBook(true, { 1024, 768 });
    auto model = reader->mediaBookModel();
    auto player = reader->mediaBookPlayer();
    auto video = reader->videoPlayerView();
    auto chapterFile = model->currentChapter->filePart();
    reader->setBookmarks({ videoBookmark(1, chapterFile) });
    ASSERT_EQ(video->bookmarkMarks().size(), 1u);
    model->mediaNarrationSpeedRate = 1.5f;
    player->setReadingSpeed(model);
    tapVideoControl(*reader, "MediaVideoSubtitleButton");
    reader->didTapOnVideoMoreOptions(*reader->view());

    ASSERT_TRUE(uitest::tap(*reader->nextMediaButton()));
    ASSERT_EQ(m_host->nexts.size(), 1u);
    auto folio = base::parseJson(m_host->nexts[0].second);
    ASSERT_TRUE(folio.ok());
    EXPECT_EQ(folio.value()["chapterName"].asString(), "Colours");

    EXPECT_EQ(model->mediaNarrationSpeedRate, 1.0f);
    EXPECT_TRUE(reader->bookmarks().empty());
    EXPECT_TRUE(video->bookmarkMarks().empty());
    EXPECT_TRUE(reader->tocController()->data().empty());
    EXPECT_FALSE(reader->popOverViewController());
    EXPECT_FALSE(player->currentSelectedSubtitle());
    EXPECT_FALSE(video->subtitleViewState());
    EXPECT_FALSE(video->videoReadyToPlay());
    EXPECT_TRUE(video->button("MediaVideoMuteButton")->isEnabled());
    EXPECT_TRUE(reader->nextMediaButton()->isHidden());
    EXPECT_TRUE(reader->previousMediaButton()->isHidden());
}

TEST_F(MediaVideoTest, NavigationButtonsLookDisabledOrTakeTheMediaTypesColour)
{
    auto reader = openVideoBook(false, { 390, 844 });
    auto theme = reader->themeVO();
    auto next = reader->nextMediaButton();
    ASSERT_TRUE(next);
    // Enabled by the launcher; disabled, it keeps its place and only stops answering touches.
    EXPECT_TRUE(next->isUserInteractionEnabled());
    EXPECT_EQ(next->titleColorForState(ui::ControlState::Normal), theme->video_player_icon_color());
    EXPECT_EQ(next->titleColorForState(ui::ControlState::Selected), theme->video_player_icon_color());
    reader->disableNextMediaButton(true);
    EXPECT_EQ(next->titleColorForState(ui::ControlState::Normal),
        theme->media_playerView_disabled_navigation_arrow_color());
    EXPECT_FALSE(next->isUserInteractionEnabled());
    EXPECT_FALSE(next->isHidden());
}

TEST_F(MediaTest, AudioMediaButtonsSitBesideTheCoverAndStayAfterNext)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    m_controller->enabledNextPreviousFeature(true);
    launchSample("sample-audiobook", true);
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    auto reader = m_controller->mediaReader();
    advance(1.6);
    auto previous = reader->previousMediaButton();
    auto next = reader->nextMediaButton();
    ASSERT_TRUE(previous && next);
    auto component = reader->audioPlayerVC()->view();
    std::shared_ptr<ui::View> cover;
    for (const auto& subview : reader->audioPlayerVC()->getThumbnailContainerView()->subviews())
        if (!cover && std::dynamic_pointer_cast<ui::ImageView>(subview))
            cover = subview;
    ASSERT_TRUE(cover);
    EXPECT_EQ(previous->superview(), component);
    EXPECT_EQ(reader->previousButtonLeadingConstraint()->secondItem().get(),
        static_cast<ui::LayoutItem*>(cover.get()));
    EXPECT_EQ(reader->previousButtonLeadingConstraint()->constant(), -50);
    EXPECT_EQ(reader->nextButtonTrailingConstraint()->constant(), 50);
    auto coverFrame = cover->convertRectTo(cover->bounds(), component.get());
    EXPECT_EQ(previous->frame(), ui::Rect(coverFrame.minX() - 50 - 60, coverFrame.midY() - 30, 60, 60));
    EXPECT_EQ(next->frame().minX(), coverFrame.maxX() + 50);
    EXPECT_EQ(previous->font().pointSize(), 18);
    EXPECT_EQ(next->titleColorForState(ui::ControlState::Normal),
        reader->themeVO()->media_playerView_slider_filled_color());
    reader->disablePreviousMediaButton(true);
    EXPECT_EQ(previous->titleColorForState(ui::ControlState::Normal),
        reader->themeVO()->media_playerView_disabled_navigation_arrow_color());

    // The same constraints take a tablet's offset when the metrics are applied again.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    reader->updateNextPreviousButtonMetrics();
    EXPECT_EQ(reader->previousButtonLeadingConstraint()->constant(), -100);
    EXPECT_EQ(previous->font().pointSize(), 25);
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);

    reader->nextMediaButtonTapped();
    EXPECT_EQ(m_host->nexts.size(), 1u);
    EXPECT_FALSE(next->isHidden());
    EXPECT_FALSE(previous->isHidden());
}

TEST_F(MediaTest, ReleasingAReaderStopsItsPlayerAndClearsTheLockScreen)
{
    auto& centre = media::NowPlayingInfoCenter::defaultCenter();
    media::NowPlayingInfo shown;
    shown.set("title", base::Value("Test Pattern"));
    centre.setNowPlayingInfo(shown);
    // Never shown, so no player was made.
    MVLectoroMediaBookReader::BookInfo info;
    info.type = MediaBookType::video;
    info.bookId = "9102";
    auto unseen = MVLectoroMediaBookReader::createWithBookPath(mediaSample("sample-videobook"), info);
    EXPECT_FALSE(unseen->mediaBookPlayer());
    unseen.reset();
    ASSERT_TRUE(centre.nowPlayingInfo());
    EXPECT_TRUE(centre.nowPlayingInfo()->empty());

    launchSample("sample-audiobook", true);
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    advance(1.6);
    auto player = m_controller->mediaReader()->mediaBookPlayer();
    auto model = player->mediaBookModel();
    ASSERT_EQ(model->mediaCurrentState, CurrentState::Playing);
    centre.setNowPlayingInfo(shown);
    m_controller.reset();
    EXPECT_EQ(model->mediaCurrentState, CurrentState::Stopped);
    EXPECT_TRUE(centre.nowPlayingInfo()->empty());
    centre.reset();
}

// Every control of the video view is within a finger's reach wherever the screen puts the
// view: upright or sideways, on a phone or a tablet, in full screen or not.
struct VideoControlsLayout {
    const char* name;
    bool pad;
    ui::Size screen;
    bool fullScreen;
};

class MediaVideoControlsReach : public MediaVideoTest, public ::testing::WithParamInterface<VideoControlsLayout> { };

TEST_P(MediaVideoControlsReach, EveryControlTakesAFingersTap)
{
    const auto& layout = GetParam();
    auto reader = openVideoBook(layout.pad, layout.screen);
    auto video = reader->videoPlayerView();
    if (layout.fullScreen) {
        tapVideoControl(*reader, "MediaVideoFullScreenButton");
        ASSERT_TRUE(reader->isVideoFullScreen());
    }
    for (const char* identifier : { "MediaVideoBackButton", "MediaVideoMuteButton", "MediaVideoSubtitleButton",
             "MediaVideoFullScreenButton", "MediaVideoMoreOptionsButton", "MediaPlayPauseButton", "MediaRewindButton",
             "MediaForwardButton", "MediaBookmarkButton", "MediaNarrationSpeedButton" }) {
        auto button = video->button(identifier);
        ASSERT_TRUE(button) << identifier;
        EXPECT_TRUE(uitest::isTouchable(*button)) << identifier;
    }
    // The media buttons sit beside the picture clear of the controls.
    for (const auto& button : { reader->nextMediaButton(), reader->previousMediaButton() }) {
        ASSERT_TRUE(button);
        EXPECT_TRUE(uitest::isTouchable(*button));
    }

    // Back closes the book from any of them.
    tapVideoControl(*reader, "MediaVideoBackButton");
    EXPECT_EQ(m_host->backs.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(MediaBook, MediaVideoControlsReach,
    ::testing::Values(VideoControlsLayout { "PhoneUpright", false, { 390, 844 }, false },
        VideoControlsLayout { "PhoneSideways", false, { 844, 390 }, false },
        VideoControlsLayout { "PhoneUprightFullScreen", false, { 390, 844 }, true },
        VideoControlsLayout { "TabletUpright", true, { 768, 1024 }, false },
        VideoControlsLayout { "TabletSideways", true, { 1024, 768 }, false },
        VideoControlsLayout { "TabletSidewaysFullScreen", true, { 1024, 768 }, true }),
    [](const ::testing::TestParamInfo<VideoControlsLayout>& info) { return std::string(info.param.name); });
