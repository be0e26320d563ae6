// The audio and video sample books opened from the launcher, their player bars used with a
// finger, and closed with back: the player's state follows each control and the host hears
// the close.

#include "journeys/MediaBookJourneySupport.h"

namespace lectoro::journeys {
namespace {

TEST_F(MediaBookJourney, TheAudioBooksPlayerBarBookmarksPlaysSkipsChangesChapterAndSpeedAndCloses)
{
    auto reader = openAudioBook();
    ASSERT_TRUE(reader);
    auto bar = reader->audioPlayerVC();
    ASSERT_TRUE(bar && bar->view()->window());
    auto& model = *reader->mediaBookModel();
    for (const char* identifier : { "MediaPreviousChapterButton", "MediaRewindButton", "MediaPlayPauseButton",
             "MediaForwardButton", "MediaNextChapterButton", "MediaBookmarkButton", "MediaNarrationSpeedButton" }) {
        auto button = bar->button(identifier);
        ASSERT_TRUE(button) << identifier;
        EXPECT_TRUE(uitest::isTouchable(*button)) << identifier;
    }
    // The book's top bar lies over the player's top edge, never over the cover.
    auto cover = bar->getThumbnailContainerView();
    auto topBar = reader->playerTopBar();
    ASSERT_TRUE(cover && topBar);
    auto coverOnScreen = uitest::visibleRectInWindow(*cover);
    EXPECT_EQ(coverOnScreen.size, cover->bounds().size) << "the whole cover shows";
    EXPECT_TRUE(coverOnScreen.intersection(uitest::visibleRectInWindow(*topBar)).isEmpty())
        << "the top bar covers the cover";
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(chapterOf(*reader), "The Lighthouse");
    picture("audio-book");

    // A moment in, the bookmark panel keeps the place.
    base::RunLoop::main().advanceBy(1);
    ASSERT_GT(model.currentTime, 0);
    ASSERT_TRUE(tapNow(*bar, "MediaBookmarkButton"));
    uitest::completePresentations();
    auto confirm = onScreen("MediaBookmarkConfirmButton");
    ASSERT_EQ(confirm.size(), 1u) << "the bookmark panel shows";
    picture("audio-bookmark");
    ASSERT_TRUE(uitest::tap(*confirm.front()));
    uitest::completePresentations();
    EXPECT_TRUE(onScreen("MediaBookmarkConfirmButton").empty());
    auto bookmarks = reader->chapterBookmarks();
    ASSERT_TRUE(bookmarks);
    EXPECT_EQ(bookmarks->size(), 1u) << "the bookmark is kept";

    // Pause, play and the chapters.
    ASSERT_TRUE(tapNow(*bar, "MediaPlayPauseButton"));
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Paused);
    ASSERT_TRUE(tapNow(*bar, "MediaPlayPauseButton"));
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Playing);
    ASSERT_TRUE(tapNow(*bar, "MediaNextChapterButton"));
    EXPECT_EQ(chapterOf(*reader), "The Storm");
    ASSERT_TRUE(tapNow(*bar, "MediaPreviousChapterButton"));
    EXPECT_EQ(chapterOf(*reader), "The Lighthouse");

    // The 15-second skips on a chapter of a few seconds, its sound loaded: forward stops at
    // the chapter's end and rewind at its start; from the end the chapter plays out and the
    // next one starts from its beginning.
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(model.mediaCurrentState, CurrentState::Playing);
    const auto chapterLength = model.currentChapter->avAssetTotalTime;
    ASSERT_LT(chapterLength, 15) << "the sample chapter is shorter than a skip";
    ASSERT_TRUE(tapNow(*bar, "MediaForwardButton"));
    EXPECT_EQ(chapterOf(*reader), "The Lighthouse");
    EXPECT_EQ(model.currentTime, chapterLength);
    ASSERT_TRUE(tapNow(*bar, "MediaRewindButton"));
    EXPECT_EQ(chapterOf(*reader), "The Lighthouse");
    EXPECT_EQ(model.currentTime, 0);
    ASSERT_TRUE(tapNow(*bar, "MediaForwardButton"));
    settle();
    EXPECT_EQ(chapterOf(*reader), "The Storm");
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(model.currentTime, 0);

    // The speed options: one picked plays at that speed and the options go.
    ASSERT_TRUE(tapNow(*bar, "MediaNarrationSpeedButton"));
    uitest::completePresentations();
    std::shared_ptr<ui::View> faster;
    for (const auto& option : onScreen("MediaNarrationSpeedOption")) {
        auto button = std::dynamic_pointer_cast<ui::Button>(option);
        if (button && button->currentTitle() == "1.5x")
            faster = option;
    }
    ASSERT_TRUE(faster) << "the speed options show";
    picture("audio-speeds");
    ASSERT_TRUE(uitest::tap(*faster));
    uitest::completePresentations();
    EXPECT_FLOAT_EQ(model.mediaNarrationSpeedRate, 1.5f);
    EXPECT_TRUE(onScreen("MediaNarrationSpeedOption").empty());

    // Back closes the book and tells the host.
    auto back = onScreen("BackToBookShelfButton");
    ASSERT_EQ(back.size(), 1u);
    ASSERT_TRUE(tapAndSettle(*back.front()));
    ASSERT_FALSE(m_host->closes.empty());
    EXPECT_EQ(m_host->closes.back().bookID, "9101");
    EXPECT_FALSE(m_launcher->audioBookController()) << "the player is gone";
}

TEST_F(MediaBookJourney, TheVideoBooksPlayerBarPausesChangesChapterAndCloses)
{
    auto reader = openDownloadedVideoBook();
    ASSERT_TRUE(reader);
    auto bar = reader->videoPlayerView();
    ASSERT_TRUE(bar && bar->view()->window());
    auto& model = *reader->mediaBookModel();
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(chapterOf(*reader), "Colours");
    picture("video-book");

    ASSERT_TRUE(tapNow(*bar, "MediaPlayPauseButton"));
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Paused);
    ASSERT_TRUE(tapNow(*bar, "MediaPlayPauseButton"));
    EXPECT_EQ(model.mediaCurrentState, CurrentState::Playing);
    ASSERT_TRUE(tapNow(*bar, "MediaNextChapterButton"));
    EXPECT_EQ(chapterOf(*reader), "Counting");

    // A video's own back button closes it (the book's top bar stays away over a video).
    auto back = bar->button("MediaVideoBackButton");
    ASSERT_TRUE(back);
    ASSERT_TRUE(tapAndSettle(*back));
    ASSERT_FALSE(m_host->closes.empty());
    EXPECT_EQ(m_host->closes.back().bookID, "9102");
    EXPECT_FALSE(m_launcher->audioBookController()) << "the player is gone";
}

TEST_F(MediaBookJourney, TheVideoBarMutesAndShowsSubtitles)
{
    auto reader = openDownloadedVideoBook();
    ASSERT_TRUE(reader);
    auto bar = reader->videoPlayerView();
    ASSERT_TRUE(bar && bar->view()->window());
    for (const char* identifier : { "MediaVideoMuteButton", "MediaVideoSubtitleButton", "MediaVideoFullScreenButton" }) {
        auto button = bar->button(identifier);
        ASSERT_TRUE(button) << identifier;
        EXPECT_TRUE(uitest::isTouchable(*button)) << identifier;
    }
    ASSERT_TRUE(tapNow(*bar, "MediaVideoMuteButton"));
    EXPECT_TRUE(reader->mediaBookPlayer()->isMuted());
    ASSERT_TRUE(tapNow(*bar, "MediaVideoSubtitleButton"));
    EXPECT_TRUE(bar->subtitleViewState());
    picture("video-subtitles");

    // Full screen gives the picture the whole reader, and the controls come along.
    const auto inPlace = bar->view()->frame();
    ASSERT_TRUE(tapNow(*bar, "MediaVideoFullScreenButton"));
    EXPECT_EQ(bar->view()->frame(), reader->view()->bounds());
    EXPECT_TRUE(uitest::isTouchable(*bar->button("MediaVideoMuteButton")));
    ASSERT_TRUE(tapNow(*bar, "MediaVideoFullScreenButton"));
    EXPECT_EQ(bar->view()->frame(), inPlace);
}

TEST_F(MediaBookJourney, AChapterSharingItsVideoHandsOverAtTheNextChaptersStartNotAtTheNextWholeSecond)
{
    // The second chapter of the stream starts half-way through its third second.
    auto reader = openDownloadedVideoBook([](const std::filesystem::path& folder) {
        auto& files = base::FileManager::defaultManager();
        for (const char* name : { "toc.json", "time-index.json" }) {
            auto text = files.readFile((folder / name).string());
            ASSERT_TRUE(text) << name;
            std::string moved = base::replaceAll(
                base::replaceAll(*text, "\"start\": 3 ", "\"start\": 2.5 "), "\"startTime\": 3,", "\"startTime\": 2.5,");
            ASSERT_NE(moved, *text) << name;
            ASSERT_TRUE(files.writeFileAtomically((folder / name).string(), moved));
        }
    });
    ASSERT_TRUE(reader);
    auto player = std::dynamic_pointer_cast<companion::MediaBookPlayer>(reader->mediaBookPlayer());
    ASSERT_TRUE(player);
    ASSERT_EQ(reader->mediaBookModel()->mediaCurrentState, CurrentState::Playing);
    ASSERT_EQ(chapterOf(*reader), "Colours");
    const double toHandOver = 2.5 - player->avPlayer()->currentTime();
    ASSERT_GT(toHandOver, 0.1);

    base::RunLoop::main().advanceBy(toHandOver - 0.05);
    EXPECT_EQ(chapterOf(*reader), "Colours");
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(chapterOf(*reader), "Counting") << "the next chapter is on at its start";
    EXPECT_EQ(reader->mediaBookModel()->mediaCurrentState, CurrentState::Playing);
    // It plays on from its start: what was heard of it is not heard again.
    EXPECT_NEAR(player->avPlayer()->currentTime(), 2.55, 0.051);
    picture("handed-over");
}

// --- The players' controls by device and orientation ---

struct PlayerLayoutCase {
    const char* name;
    bool video;
    bool pad;
};

class MediaBookPlayerLayout : public MediaBookJourney, public ::testing::WithParamInterface<PlayerLayoutCase> {
protected:
    void SetUp() override
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(GetParam().pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment.setScreenSize(GetParam().pad ? ui::Size { 768, 1024 } : ui::Size { 375, 667 });
        environment.setInterfaceOrientation(ui::Orientation::Portrait);
        environment.setDeviceOrientation(ui::Orientation::Portrait);
        Journey::SetUp();
        m_previousHandler = ui::layout::setConflictHandler([this](const std::string& report) { m_conflicts.push_back(report); });
    }

    void TearDown() override
    {
        ui::layout::setConflictHandler(m_previousHandler);
        MediaBookJourney::TearDown();
    }

    static ui::Rect inWindow(const ui::View& view)
    {
        return view.convertRectTo(view.bounds(), ui::Environment::current().keyWindow().get());
    }

    // Every control shows whole inside the window, none overlaps another, and hit testing
    // gives each one the touch at its centre.
    void expectControlsApartAndTouchable(MVMediaBookPlayerViewBase& bar, const std::vector<const char*>& identifiers)
    {
        uitest::settleLayout();
        const ui::Rect window = ui::Environment::current().keyWindow()->bounds();
        std::vector<std::pair<std::string, ui::Rect>> placed;
        for (const char* identifier : identifiers) {
            auto button = bar.button(identifier);
            ASSERT_TRUE(button) << identifier;
            const ui::Rect frame = inWindow(*button);
            EXPECT_FALSE(frame.isEmpty()) << identifier;
            EXPECT_TRUE(window.contains(frame)) << identifier << " runs off the screen";
            EXPECT_EQ(uitest::visibleRectInWindow(*button), frame) << identifier << " is cut";
            EXPECT_GE(button->titleLabel()->intrinsicContentSize().width, 1.0) << identifier;
            EXPECT_LE(button->titleLabel()->intrinsicContentSize().width, frame.width()) << identifier << "'s title overflows";
            EXPECT_TRUE(uitest::isTouchable(*button)) << identifier;
            for (const auto& [other, otherFrame] : placed)
                EXPECT_TRUE(frame.intersection(otherFrame).isEmpty()) << identifier << " overlaps " << other;
            placed.emplace_back(identifier, frame);
        }
    }

    // The sheet lies against one side of its control, 8 points off, and along that side
    // it shares some of the control's extent: it opens where the finger was.
    static ::testing::AssertionResult liesBy(const ui::View& sheet, const ui::View& control)
    {
        const ui::Rect s = inWindow(sheet), c = inWindow(control);
        const ui::Rect window = ui::Environment::current().keyWindow()->bounds();
        if (!window.contains(s))
            return ::testing::AssertionFailure() << "the sheet runs off the screen";
        auto near = [](double a, double b) { return std::abs(a - b) <= 8.5; };
        auto overlap = [](double lo1, double hi1, double lo2, double hi2) { return std::min(hi1, hi2) > std::max(lo1, lo2); };
        const bool vertical = (near(s.maxY(), c.minY()) || near(s.minY(), c.maxY())) && overlap(s.minX(), s.maxX(), c.minX(), c.maxX());
        const bool horizontal = (near(s.maxX(), c.minX()) || near(s.minX(), c.maxX())) && overlap(s.minY(), s.maxY(), c.minY(), c.maxY());
        if (vertical || horizontal)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the sheet at (" << s.minX() << ", " << s.minY() << ", " << s.width() << ", "
                                             << s.height() << ") is not by its control at (" << c.minX() << ", " << c.minY()
                                             << ", " << c.width() << ", " << c.height() << ")";
    }

    // The bookmark and speed sheets open by their buttons and close with Cancel.
    void expectSheetsByTheirControls(MVMediaBookPlayerViewBase& bar, const std::string& step)
    {
        const std::pair<const char*, const char*> sheets[] = {
            { "MediaBookmarkButton", "MediaBookmarkCancelButton" },
            { "MediaNarrationSpeedButton", "MediaNarrationSpeedCancel" },
        };
        for (const auto& [control, cancel] : sheets) {
            ASSERT_TRUE(tapNow(bar, control));
            uitest::completePresentations();
            uitest::settleLayout();
            auto cancels = onScreen(cancel);
            ASSERT_EQ(cancels.size(), 1u) << control << " opens its sheet";
            auto sheet = cancels.front()->superview();
            EXPECT_TRUE(liesBy(*sheet, *bar.button(control))) << control;
            EXPECT_TRUE(uitest::isTouchable(*cancels.front())) << cancel;
            picture(step + "-" + control);
            ASSERT_TRUE(uitest::tap(*cancels.front()));
            uitest::completePresentations();
            EXPECT_TRUE(onScreen(cancel).empty()) << cancel << " closes the sheet";
        }
    }

    std::vector<std::string> m_conflicts;
    ui::layout::ConflictHandler m_previousHandler;
};

TEST_P(MediaBookPlayerLayout, TheControlsLieApartOnScreenAndTakeATapUprightAndTurned)
{
    auto reader = GetParam().video ? openDownloadedVideoBook() : openAudioBook();
    ASSERT_TRUE(reader);
    std::shared_ptr<MVMediaBookPlayerViewBase> bar = GetParam().video
        ? std::static_pointer_cast<MVMediaBookPlayerViewBase>(reader->videoPlayerView())
        : std::static_pointer_cast<MVMediaBookPlayerViewBase>(reader->audioPlayerVC());
    ASSERT_TRUE(bar && bar->view()->window());
    std::vector<const char*> controls { "MediaPreviousChapterButton", "MediaRewindButton", "MediaPlayPauseButton",
        "MediaForwardButton", "MediaNextChapterButton", "MediaBookmarkButton", "MediaNarrationSpeedButton" };
    if (GetParam().video) {
        for (const char* top : { "MediaVideoBackButton", "MediaVideoMuteButton", "MediaVideoSubtitleButton",
                 "MediaVideoFullScreenButton", "MediaVideoMoreOptionsButton" })
            controls.push_back(top);
    }
    auto& model = *reader->mediaBookModel();
    // A moment in, so a bookmark can be added.
    base::RunLoop::main().advanceBy(1);
    ASSERT_EQ(model.mediaCurrentState, CurrentState::Playing);

    for (auto orientation : { ui::Orientation::Portrait, ui::Orientation::LandscapeLeft }) {
        const std::string step = orientation == ui::Orientation::Portrait ? "upright" : "turned";
        SCOPED_TRACE(step);
        if (orientation != ui::Orientation::Portrait)
            turn(orientation);
        picture(step);
        expectControlsApartAndTouchable(*bar, controls);
        // A bookmark needs a moment of the chapter behind it (the sample's are short).
        if (model.currentTime <= 0)
            base::RunLoop::main().advanceBy(1);
        ASSERT_GT(model.currentTime, 0) << "state " << static_cast<int>(model.mediaCurrentState);
        expectSheetsByTheirControls(*bar, step);
        // Play / pause answers a finger where it now lies.
        const auto before = model.mediaCurrentState;
        ASSERT_TRUE(tapNow(*bar, "MediaPlayPauseButton"));
        EXPECT_NE(model.mediaCurrentState, before);
        ASSERT_TRUE(tapNow(*bar, "MediaPlayPauseButton"));
        EXPECT_EQ(model.mediaCurrentState, before);
    }
    for (const auto& report : m_conflicts)
        ADD_FAILURE() << report;
}

INSTANTIATE_TEST_SUITE_P(MediaBookJourney, MediaBookPlayerLayout,
    ::testing::Values(PlayerLayoutCase { "AudioOnATablet", false, true }, PlayerLayoutCase { "AudioOnAPhone", false, false },
        PlayerLayoutCase { "VideoOnATablet", true, true }, PlayerLayoutCase { "VideoOnAPhone", true, false }),
    [](const ::testing::TestParamInfo<PlayerLayoutCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lectoro::journeys
