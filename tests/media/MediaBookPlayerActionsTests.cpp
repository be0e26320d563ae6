// Player actions through the sample audio book: chapter moves, the end of the book, the
// bookmark button's window, bookmarks added and deleted through the panels, narration speed,
// and what reaches the second listeners.

#include "media/MediaPlayerTestSupport.h"

#include "LectoroSDKWithReader/media/player/MediaBookPlayerRules.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "companion/media/MediaBookPlayer.h"

#include <limits>

using namespace mediatest;
using namespace lectoro;

TEST_F(MediaPlayerTest, BookmarkButtonIsDisabledWithinTheWindowAroundABookmark)
{
    openSampleAudioBook();
    // One bookmark at 40 s; one whose time is not a whole number is skipped; one of another
    // chapter's file never counts.
    auto other = chapterOneBookmark(base::Value(int64_t(10)), "other");
    other->metaData.asDictionary()->set("FileName", "chapter-2.m4a");
    m_reader->setBookmarks({ chapterOneBookmark(base::Value(int64_t(40))), chapterOneBookmark(base::Value("20"), "text"), other });
    m_reader->mediaBookPlayer()->pause();

    struct Case {
        int64_t window;
        int64_t at;
        bool disabled;
    };
    const Case cases[] = {
        { 1, 38, false }, { 1, 39, true }, { 1, 40, true }, { 1, 41, true }, { 1, 42, false },
        { 0, 39, false }, { 0, 40, true }, { -3, 41, false }, { 1, 20, false }, { 1, 10, false },
    };
    for (const auto& [window, at, disabled] : cases) {
        SCOPED_TRACE(::testing::Message() << "window " << window << ", at " << at);
        m_reader->setBookmarkDisabledTimeFrame(window);
        model().currentTime = at;
        m_reader->updateBookmarkButtonState();
        EXPECT_EQ(m_reader->audioPlayerVC()->isBookmarkDisabled(), disabled);
        EXPECT_EQ(m_reader->audioPlayerVC()->button("MediaBookmarkButton")->isEnabled(), !disabled);
    }
}

TEST_F(MediaPlayerTest, TheEndOfAChapterPlaysTheNextAndOnlyTheBooksEndGoesToTheHost)
{
    openSampleAudioBook();
    m_reader->setMediaPlayerDelegate(m_listener);
    ASSERT_EQ(chapters().size(), 3u);
    std::vector<std::string> heard;
    for (int second = 0; second < 30 && m_listener->count("playerDidFinishPlaying") == 0; ++second) {
        advance(1.0);
        if (heard.empty() || heard.back() != currentChapterTitle())
            heard.push_back(currentChapterTitle());
    }
    // The last chapter was played before the book ended.
    EXPECT_EQ(heard, (std::vector<std::string> { "The Lighthouse", "The Storm", "The Morning After", "The Lighthouse" }));
    EXPECT_EQ(m_listener->count("playerDidFinishPlaying"), 1u);
    // Back at the start, not playing, previous off and next on.
    EXPECT_EQ(model().currentChapter, chapters().front());
    EXPECT_NE(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_TRUE(m_reader->audioPlayerVC()->isPreviousChapterDisabled());
    EXPECT_FALSE(m_reader->audioPlayerVC()->isNextChapterDisabled());
    advance(5.0);
    EXPECT_EQ(m_listener->count("playerDidFinishPlaying"), 1u);
    EXPECT_EQ(currentChapterTitle(), "The Lighthouse");
}

TEST_F(MediaPlayerTest, TheBooksEndReachesTheHostAsNextMedia)
{
    openSampleAudioBook();
    for (int second = 0; second < 30 && m_host->nexts.empty(); ++second)
        advance(1.0);
    ASSERT_EQ(m_host->nexts.size(), 1u);
    EXPECT_EQ(m_host->nexts[0].first, "9101");
}

TEST_F(MediaPlayerTest, ChapterButtonsMoveAndStopAtTheEnds)
{
    openSampleAudioBook();
    auto& remote = media::RemoteCommandCenter::shared();
    EXPECT_FALSE(remote.previousTrackCommand().isEnabled());

    // At either end the button is disabled: a finger's tap does not land.
    EXPECT_FALSE(uitest::tap(*m_reader->audioPlayerVC()->button("MediaPreviousChapterButton")));
    EXPECT_EQ(currentChapterTitle(), "The Lighthouse");
    EXPECT_TRUE(m_reader->audioPlayerVC()->isPreviousChapterDisabled());

    struct Step {
        const char* button;
        bool lands;
        const char* chapter;
        bool previousDisabled;
        bool nextDisabled;
    };
    const Step steps[] = {
        { "MediaNextChapterButton", true, "The Storm", false, false },
        { "MediaNextChapterButton", true, "The Morning After", false, true },
        { "MediaNextChapterButton", false, "The Morning After", false, true },
        { "MediaPreviousChapterButton", true, "The Storm", false, false },
        { "MediaPreviousChapterButton", true, "The Lighthouse", true, false },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.chapter);
        EXPECT_EQ(static_cast<bool>(uitest::tap(*m_reader->audioPlayerVC()->button(step.button))), step.lands);
        EXPECT_EQ(currentChapterTitle(), step.chapter);
        EXPECT_EQ(m_reader->audioPlayerVC()->isPreviousChapterDisabled(), step.previousDisabled);
        EXPECT_EQ(m_reader->audioPlayerVC()->isNextChapterDisabled(), step.nextDisabled);
        EXPECT_EQ(remote.previousTrackCommand().isEnabled(), !step.previousDisabled);
        EXPECT_EQ(remote.nextTrackCommand().isEnabled(), !step.nextDisabled);
        EXPECT_EQ(m_reader->tocController()->highlightedChapter(), model().currentChapter);
        EXPECT_EQ(m_reader->audioPlayerVC()->currentChapter(), model().currentChapter);
    }
    EXPECT_EQ(m_reader->nowPlayingInfo().find(media::mediaItemPropertyAlbumTitle)->asString(), "The Lighthouse");
}

TEST_F(MediaPlayerTest, ForwardAndRewindStepFifteenSecondsAndTellTheListener)
{
    openSampleAudioBook();
    m_reader->setAudioPlayerDelegate(m_listener);
    m_reader->mediaBookPlayer()->pause();
    // A long chapter, so the step is not cut at its end.
    model().currentChapter->avAssetTotalTime = 100;
    m_reader->mediaBookPlayer()->playToSeekTime(20);
    tapAudioControl("MediaForwardButton");
    EXPECT_EQ(model().currentTime, 35);
    tapAudioControl("MediaRewindButton");
    tapAudioControl("MediaRewindButton");
    EXPECT_EQ(model().currentTime, 5);
    EXPECT_EQ(m_listener->calls, (std::vector<std::string> { "didTapOnForward", "didTapOnRewind", "didTapOnRewind" }));
}

TEST_F(MediaPlayerTest, PlayPauseTogglesAndTheSidePanelButtonFollowsTheModel)
{
    openSampleAudioBook();
    m_reader->setDelegate(m_listener);
    tapAudioControl("MediaPlayPauseButton");
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Paused);
    EXPECT_EQ(m_listener->calls.back(), "Paused");
    tapAudioControl("MediaPlayPauseButton");
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(m_listener->calls.back(), "Playing");

    // The side panel's button brings the player into line with the model: playing stays playing.
    m_listener->calls.clear();
    m_reader->tocController()->tapPlayPause();
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(m_listener->count("Playing"), 2u); // the player's own report, then the panel's
    advance(0.2);
    EXPECT_TRUE(m_reader->tocController()->showsPlaying());
}

TEST_F(MediaPlayerTest, BookmarksAreAddedAndDeletedThroughThePanels)
{
    openSampleAudioBook();
    m_reader->setBookmarkDelegate(m_listener);
    m_reader->setAudioPlayerDelegate(m_listener);
    m_reader->mediaBookPlayer()->pause();

    // At time 0 no panel opens, but the listener still hears the tap.
    m_reader->mediaBookPlayer()->playToSeekTime(0);
    tapAudioControl("MediaBookmarkButton");
    EXPECT_FALSE(m_reader->bookmarkController());
    EXPECT_EQ(m_listener->count("didTapOnBookmark"), 1u);

    m_reader->mediaBookPlayer()->playToSeekTime(3);
    tapAudioControl("MediaBookmarkButton");
    auto panel = m_reader->bookmarkController();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->parentViewController(), m_reader);
    m_reader->tocController()->selectSegment(MediaBookTOCFilter::Bookmarks);
    panel->tapConfirm();
    EXPECT_FALSE(m_reader->bookmarkController());
    EXPECT_FALSE(panel->parentViewController());
    EXPECT_EQ(m_listener->count("didTapOnAddBookmark"), 1u);
    // The launch controller stored it and handed the list back.
    ASSERT_EQ(m_reader->bookmarks().size(), 1u);
    EXPECT_EQ(m_reader->bookmarks()[0]->metaData["CurrentTime"].asInteger(), 3);
    EXPECT_EQ(m_reader->audioPlayerVC()->bookmarkMarks().size(), 1u);
    m_reader->updateBookmarkButtonState();
    EXPECT_TRUE(m_reader->audioPlayerVC()->isBookmarkDisabled());
    advance(0.5);
    EXPECT_EQ(m_reader->tocController()->data().size(), 1u);

    // Delete from the side panel: the panel asks, the mark goes 0.8 s later.
    m_reader->tocController()->tapDeleteOnRow(0);
    ASSERT_TRUE(m_reader->bookmarkController());
    m_reader->bookmarkController()->tapConfirm();
    EXPECT_TRUE(m_reader->bookmarks().empty());
    advance(0.5);
    EXPECT_TRUE(m_reader->tocController()->data().empty());
    EXPECT_EQ(m_reader->audioPlayerVC()->bookmarkMarks().size(), 1u);
    advance(0.3);
    EXPECT_TRUE(m_reader->audioPlayerVC()->bookmarkMarks().empty());
    EXPECT_FALSE(m_reader->audioPlayerVC()->isBookmarkDisabled());

    // A cancel reaches the listener only when a bookmark was being deleted.
    tapAudioControl("MediaBookmarkButton");
    m_reader->bookmarkController()->tapCancel();
    EXPECT_FALSE(m_reader->bookmarkController());
    EXPECT_EQ(m_listener->count("didTapOnCancelBookmark"), 0u);
    m_reader->didTapOnBookmarkDelete(chapterOneBookmark(base::Value(int64_t(2))));
    m_reader->bookmarkController()->tapCancel();
    EXPECT_EQ(m_listener->count("didTapOnCancelBookmark"), 1u);
}

TEST_F(MediaPlayerTest, ABookmarkTapInTheSidePanelPlaysFromItsTime)
{
    openSampleAudioBook();
    auto bookmark = chapterOneBookmark(base::Value(int64_t(2)));
    bookmark->metaData.asDictionary()->set("FileName", "chapter-2.m4a");
    bookmark->metaData.asDictionary()->set("ChapterName", "The Storm");
    m_reader->setTocDelegate(m_listener);
    m_reader->didTapOnBookmark(bookmark);
    EXPECT_EQ(currentChapterTitle(), "The Storm");
    EXPECT_EQ(model().currentTime, 2);
    // One naming no chapter of the book moves nothing.
    auto unknown = chapterOneBookmark(base::Value(int64_t(1)));
    unknown->metaData.asDictionary()->set("FileName", "missing.m4a");
    m_reader->didTapOnBookmark(unknown);
    EXPECT_EQ(currentChapterTitle(), "The Storm");
    EXPECT_EQ(m_listener->count("didTapOnBookmark:"), 2u);
}

TEST_F(MediaPlayerTest, NarrationSpeedPanelSetsThePlayersRate)
{
    openSampleAudioBook();
    m_reader->setSpeedDelegate(m_listener);
    tapAudioControl("MediaNarrationSpeedButton");
    auto panel = m_reader->narrationSpeedController();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->sourceView(), m_reader->audioPlayerVC()->button("MediaNarrationSpeedButton"));
    panel->chooseSpeed(1.5f);
    EXPECT_FALSE(m_reader->narrationSpeedController());
    EXPECT_FALSE(panel->parentViewController());
    auto player = std::dynamic_pointer_cast<companion::MediaBookPlayer>(m_reader->mediaBookPlayer());
    ASSERT_TRUE(player);
    EXPECT_DOUBLE_EQ(player->avPlayer()->rate(), 1.5);
    EXPECT_EQ(m_reader->audioPlayerVC()->button("MediaNarrationSpeedButton")->currentTitle(), "1.5x");
    EXPECT_EQ(m_listener->calls, std::vector<std::string> { "didNarrationSpeedValueChanges" });

    tapAudioControl("MediaNarrationSpeedButton");
    m_reader->narrationSpeedController()->tapCancel();
    EXPECT_FALSE(m_reader->narrationSpeedController());
}

TEST_F(MediaPlayerTest, SecondListenersHearOnlyWhatIsPassedOn)
{
    openSampleAudioBook();
    // Without listeners the screen still does its own work.
    tapAudioControl("MediaNextChapterButton");
    EXPECT_EQ(currentChapterTitle(), "The Storm");

    m_reader->setTocDelegate(m_listener);
    m_reader->setAudioPlayerDelegate(m_listener);
    auto before = m_reader->tocController()->data().size();
    m_reader->didTapOnTranscriptSegment();
    EXPECT_EQ(m_listener->calls, std::vector<std::string> { "didTapOnTranscriptSegment" });
    EXPECT_EQ(m_reader->tocController()->data().size(), before);
    // The host answers thumbnails; the listener is never asked.
    EXPECT_FALSE(m_reader->imageViewForThumbnail("cover.png"));
    EXPECT_EQ(m_listener->count("imageViewForThumbnail"), 0u);

    // A listener that is gone is skipped.
    m_listener.reset();
    tapAudioControl("MediaPreviousChapterButton");
    EXPECT_EQ(currentChapterTitle(), "The Lighthouse");
}

TEST_F(MediaPlayerTest, AFailureReportsPausedBeforeItReachesTheListener)
{
    openSampleAudioBook();
    m_reader->setDelegate(m_listener);
    m_reader->setMediaPlayerDelegate(m_listener);
    m_reader->playerFailedToPlayWithError(base::Error::make("AVFoundationErrorDomain", -11800));
    EXPECT_TRUE(m_listener->calls.empty());
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_listener->calls, (std::vector<std::string> { "Paused", "playerFailedToPlayWithError" }));
}

TEST(MediaBookPlayerRules, FormattedSleepTime)
{
    struct Case {
        double seconds;
        const char* text;
    };
    const Case cases[] = {
        { 3725, "01:02:05" }, { 90000, "25:00:00" }, { 59.9, "00:00:59" }, { 60, "00:01:00" }, { 0, "00:00:00" },
        { -5, "00:00:00" }, { std::numeric_limits<double>::quiet_NaN(), "00:00:00" },
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(formattedSleepTime(seconds), text) << seconds;
    auto language = NumberLocalizationHandler::language();
    NumberLocalizationHandler::setLanguage("ar");
    EXPECT_EQ(formattedSleepTime(3725), "\xd9\xa0\xd9\xa1:\xd9\xa0\xd9\xa2:\xd9\xa0\xd9\xa5");
    NumberLocalizationHandler::setLanguage(language);
}

TEST_F(MediaPlayerTest, SidePanelChapterTapsPlayTheChapterAndTellTheListener)
{
    openSampleAudioBook();
    m_reader->setTocDelegate(m_listener);
    auto rows = m_reader->tocController()->rows();
    ASSERT_EQ(rows.size(), 3u);
    m_reader->tocController()->tapRow(2);
    EXPECT_EQ(currentChapterTitle(), "The Morning After");
    EXPECT_EQ(model().currentTime, 0);
    EXPECT_TRUE(m_reader->audioPlayerVC()->isNextChapterDisabled());
    EXPECT_EQ(m_listener->calls, std::vector<std::string> { "didTapOnChapter" });
}

TEST_F(MediaPlayerTest, AVideoIsReadyOnlyWhilePlayingAndItsMediaButtonsFollow)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    m_controller->view()->setFrame(ui::Rect(0, 0, 1024, 768));
    m_controller->enabledNextPreviousFeature(true);
    launchSample("sample-videobook", false, 9102);
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    advance(2.0);
    auto reader = m_controller->mediaReader();
    ASSERT_TRUE(reader->videoPlayerView());
    ASSERT_TRUE(reader->nextMediaButton());
    ASSERT_EQ(reader->mediaBookModel()->mediaCurrentState, CurrentState::Playing);
    EXPECT_TRUE(reader->videoPlayerView()->videoReadyToPlay());
    EXPECT_FALSE(reader->nextMediaButton()->isHidden());
    EXPECT_FALSE(reader->previousMediaButton()->isHidden());

    struct Case {
        CurrentState state;
        bool ready;
        bool hidden;
    };
    // Other states leave both as they were.
    const Case cases[] = { { CurrentState::Loading, false, true }, { CurrentState::Paused, false, true },
        { CurrentState::Playing, true, false }, { CurrentState::ReadyToPlay, true, false } };
    auto model = std::make_shared<MVMediaBookModel>();
    for (const auto& [state, ready, hidden] : cases) {
        model->mediaCurrentState = state;
        reader->updateVideoReadyState(model);
        EXPECT_EQ(reader->videoPlayerView()->videoReadyToPlay(), ready) << static_cast<int>(state);
        EXPECT_EQ(reader->nextMediaButton()->isHidden(), hidden) << static_cast<int>(state);
        EXPECT_EQ(reader->previousMediaButton()->isHidden(), hidden) << static_cast<int>(state);
    }
    // A video book publishes no lock-screen commands.
    EXPECT_EQ(media::RemoteCommandCenter::shared().playCommand().targetCount(), 0u);
}
