// Where the video controls meet the shared player actions, and where switching or letting
// go of a media meets the sleep timer, the panels, the lock screen and the remote commands.

#include "media/MediaBookVideoTestSupport.h"
#include "media/MediaPlayerTestSupport.h"

using namespace mediatest;
using namespace lectoro;

namespace {

// Hears the video view's taps after the reader, and notes what the reader had done by then.
struct MediaJoinVideoListener : MVVideoBookPlayerViewControllerDelegate {
    std::weak_ptr<MVLectoroMediaBookReader> reader;
    std::vector<std::string> heard;

    std::string chapter() const
    {
        auto shown = reader.lock();
        auto model = shown ? shown->mediaBookModel() : nullptr;
        return model && model->currentChapter ? model->currentChapter->chapterTitle.value_or("") : "(none)";
    }
    void didTapOnVideoBookmark() override
    {
        auto shown = reader.lock();
        heard.push_back(shown && shown->bookmarkController() ? "bookmark, panel open" : "bookmark, no panel");
    }
    void didTapOnVideoNarrationSpeed(ui::Button&) override
    {
        auto shown = reader.lock();
        heard.push_back(shown && shown->narrationSpeedController() ? "speed, panel open" : "speed, no panel");
    }
    void didTapOnVideoPlayPause(const std::shared_ptr<MVMediaBookModel>&) override
    {
        auto shown = reader.lock();
        bool playing = shown && shown->mediaBookModel()->mediaCurrentState == CurrentState::Playing;
        heard.push_back(playing ? "play/pause, playing" : "play/pause, paused");
    }
    void didTapOnVideoNextChapter() override { heard.push_back("next, in " + chapter()); }
    void didTapOnVideoPreviousChapter() override { heard.push_back("previous, in " + chapter()); }
    void didVideoSeekBarValueChanged() override { heard.push_back("seek"); }
    void didTapOnVideoBack() override
    {
        auto shown = reader.lock();
        heard.push_back(shown && shown->nowPlayingInfo().empty() ? "back, copy empty" : "back");
    }
};

} // namespace

TEST_F(MediaVideoTest, VideoTapsGoThroughThePlayersSharedActionsBeforeTheListenerHearsThem)
{
    auto reader = openVideoBook(false, { 390, 844 });
    auto listener = std::make_shared<MediaJoinVideoListener>();
    listener->reader = reader;
    reader->setVideoPlayerDelegate(listener);
    auto model = reader->mediaBookModel();
    auto player = reader->mediaBookPlayer();
    auto video = reader->videoPlayerView();

    // Play/pause is the audio view's toggle.
    tapVideoControl(*reader, "MediaPlayPauseButton");
    EXPECT_EQ(model->mediaCurrentState, CurrentState::Paused);
    tapVideoControl(*reader, "MediaPlayPauseButton");
    EXPECT_EQ(model->mediaCurrentState, CurrentState::Playing);
    player->pause();

    // The bookmark panel opens only past the start.
    player->playToSeekTime(0);
    tapVideoControl(*reader, "MediaBookmarkButton");
    EXPECT_FALSE(reader->bookmarkController());
    player->playToSeekTime(1);
    tapVideoControl(*reader, "MediaBookmarkButton");
    auto bookmarkPanel = reader->bookmarkController();
    ASSERT_TRUE(bookmarkPanel);
    EXPECT_EQ(bookmarkPanel->parentViewController(), reader);
    bookmarkPanel->tapCancel();
    EXPECT_FALSE(reader->bookmarkController());

    // The speed panel opens at the tapped button and sets the player's rate.
    tapVideoControl(*reader, "MediaNarrationSpeedButton");
    auto speedPanel = reader->narrationSpeedController();
    ASSERT_TRUE(speedPanel);
    EXPECT_EQ(speedPanel->sourceView(), video->button("MediaNarrationSpeedButton"));
    speedPanel->chooseSpeed(1.5f);
    EXPECT_FALSE(reader->narrationSpeedController());
    EXPECT_EQ(model->mediaNarrationSpeedRate, 1.5f);

    // Seeking applies the bookmark button rule.
    reader->setBookmarkDisabledTimeFrame(0);
    reader->setBookmarks({ videoBookmark(1, model->currentChapter->filePart()) });
    auto seekBar = video->seekBar();
    player->playToSeekTime(0);
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(seekBar->value(), 0) << "the seek bar follows the picture";
    ASSERT_TRUE(uitest::setSliderValue(*seekBar, 1));
    EXPECT_TRUE(video->isBookmarkDisabled());
    ASSERT_TRUE(uitest::setSliderValue(*seekBar, 2));
    EXPECT_FALSE(video->isBookmarkDisabled());

    // Chapter moves keep the video's chapter controls in step, also at either end.
    tapVideoControl(*reader, "MediaNextChapterButton");
    EXPECT_EQ(model->currentChapter->chapterTitle, "Counting");
    EXPECT_TRUE(video->isNextChapterDisabled());
    EXPECT_FALSE(uitest::tap(*video->button("MediaNextChapterButton")));
    tapVideoControl(*reader, "MediaPreviousChapterButton");
    EXPECT_EQ(model->currentChapter->chapterTitle, "Colours");
    EXPECT_FALSE(video->isNextChapterDisabled());
    EXPECT_TRUE(video->isPreviousChapterDisabled());
    EXPECT_FALSE(uitest::tap(*video->button("MediaPreviousChapterButton")));

    EXPECT_EQ(listener->heard,
        (std::vector<std::string> { "play/pause, paused", "play/pause, playing", "bookmark, no panel",
            "bookmark, panel open", "speed, panel open", "seek", "seek", "next, in Counting",
            "previous, in Colours" }));
}

TEST_F(MediaVideoTest, VideoBackEmptiesTheLockScreenAndTheReadersCopyThenReachesTheListener)
{
    auto reader = openVideoBook(false, { 390, 844 });
    auto listener = std::make_shared<MediaJoinVideoListener>();
    listener->reader = reader;
    reader->setVideoPlayerDelegate(listener);
    auto& centre = media::NowPlayingInfoCenter::defaultCenter();
    media::NowPlayingInfo shown;
    shown.set("title", base::Value("Test Pattern"));
    centre.setNowPlayingInfo(shown);
    auto back = reader->videoPlayerView()->button("MediaVideoBackButton");
    ASSERT_TRUE(back);
    std::weak_ptr<MVLectoroMediaBookReader> weak = reader;
    reader.reset();

    // The host lets go of the screen while it hears of the back; the listener still hears it.
    ASSERT_TRUE(uitest::tap(*back));
    EXPECT_EQ(m_host->backs.size(), 1u);
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(listener->heard, std::vector<std::string> { "back, copy empty" });
    ASSERT_TRUE(centre.nowPlayingInfo());
    EXPECT_TRUE(centre.nowPlayingInfo()->empty());
    centre.reset();
}

TEST_F(MediaPlayerTest, NextMediaStopsTheSleepTimerClosesEveryPanelAndKeepsOneSetOfRemoteHandlers)
{
    openLongAudioBook();
    m_reader->setSpeedDelegate(m_listener);
    ASSERT_TRUE(uitest::tap(*m_reader->sleepButton()));
    m_reader->sleepTimerVC()->chooseCustomTime(60);
    ASSERT_TRUE(m_reader->isSleepTimerRunning());

    // Every panel open at once (the sleep choices last: they lie over the player's controls).
    tapAudioControl("MediaNarrationSpeedButton");
    auto speedPanel = m_reader->narrationSpeedController();
    m_reader->mediaBookPlayer()->playToSeekTime(2);
    tapAudioControl("MediaBookmarkButton");
    auto bookmarkPanel = m_reader->bookmarkController();
    ASSERT_TRUE(uitest::tap(*m_reader->sleepButton()));
    auto sleepPanel = m_reader->sleepTimerVC();
    ASSERT_TRUE(sleepPanel && speedPanel && bookmarkPanel);
    model().mediaNarrationSpeedRate = 1.5f;

    m_reader->nextMediaButtonTapped();
    EXPECT_EQ(m_host->nexts.size(), 1u);
    EXPECT_FALSE(m_reader->isSleepTimerRunning());
    EXPECT_FALSE(m_reader->isSleepCountDownRunning());
    EXPECT_FALSE(m_reader->selectedSleepAction());
    EXPECT_FALSE(m_reader->audioPlayerVC()->sleepTimeLabel());
    EXPECT_EQ(m_reader->sleepButton()->backgroundColor(), ui::Color::clear());
    EXPECT_FALSE(m_reader->sleepTimerVC());
    EXPECT_FALSE(m_reader->narrationSpeedController());
    EXPECT_FALSE(m_reader->bookmarkController());
    for (const std::shared_ptr<ui::ViewController>& panel :
        std::initializer_list<std::shared_ptr<ui::ViewController>> { sleepPanel, speedPanel, bookmarkPanel }) {
        EXPECT_FALSE(panel->parentViewController());
        EXPECT_FALSE(panel->view()->superview());
    }
    // Normal speed through the speed panel's own handling, which its listener hears.
    EXPECT_EQ(model().mediaNarrationSpeedRate, 1.0f);
    EXPECT_EQ(m_listener->count("didNarrationSpeedValueChanges"), 1u);

    // The host opens the next media in the same screen: one set of handlers answers for it,
    // and the old timer pauses nothing.
    m_controller->launchMediaReader(longAudioBookPath(), 9101, "978-0", "", "https://lectoro.invalid",
        "client", m_user, m_settings, true, std::nullopt, "1");
    advance(1.6);
    ASSERT_EQ(m_controller->mediaReader(), m_reader);
    for (auto* command : mediaPlayerRemoteCommands())
        EXPECT_EQ(command->targetCount(), 1u);
    ASSERT_EQ(model().mediaCurrentState, CurrentState::Playing);
    advance(61.0);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
}

TEST_F(MediaPlayerTest, ReleasingAShownReaderEmptiesTheLockScreenOnceAndTakesItsHandlersOnce)
{
    MVLectoroMediaBookReader::BookInfo info;
    info.type = MediaBookType::audio;
    info.bookId = "9101";
    auto reader = MVLectoroMediaBookReader::createWithBookPath(mediaSample("sample-audiobook"), info);
    reader->view()->setFrame(ui::Rect(0, 0, 390, 844));
    reader->beginAppearanceTransition(true, false);
    reader->endAppearanceTransition();
    advance(1.6);
    ASSERT_TRUE(reader->mediaBookPlayer());
    for (auto* command : mediaPlayerRemoteCommands())
        ASSERT_EQ(command->targetCount(), 1u);
    ASSERT_FALSE(reader->nowPlayingInfo().empty());

    auto& centre = media::NowPlayingInfoCenter::defaultCenter();
    auto published = centre.publishCount();
    reader.reset();
    EXPECT_EQ(centre.publishCount(), published + 1);
    ASSERT_TRUE(centre.nowPlayingInfo());
    EXPECT_TRUE(centre.nowPlayingInfo()->empty());
    for (auto* command : mediaPlayerRemoteCommands())
        EXPECT_EQ(command->targetCount(), 0u);
}
