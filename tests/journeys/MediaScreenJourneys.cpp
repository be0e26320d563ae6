// The media screens a person reaches beyond the player bars, on a phone and a tablet, upright
// and turned: the sleep timer and its countdown, the video's settings and a subtitle picked
// from them, a streamed book played while its download is under way and then opened offline,
// and read-aloud's reading modes, narration bar and speed list.

#include "journeys/MediaBookJourneySupport.h"

#include "LayoutConflictLog.h"
#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManager.h"
#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace lectoro::journeys {
namespace {

struct ScreenCase {
    const char* name;
    bool pad;
    bool turned;
};

class MediaScreens : public MediaBookJourney, public ::testing::WithParamInterface<ScreenCase> {
protected:
    void SetUp() override
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(GetParam().pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        environment.setScreenSize(GetParam().pad ? ui::Size { 768, 1024 } : ui::Size { 375, 667 });
        environment.setInterfaceOrientation(ui::Orientation::Portrait);
        environment.setDeviceOrientation(ui::Orientation::Portrait);
        Journey::SetUp();
        m_conflicts.emplace();
    }

    void TearDown() override
    {
        m_conflicts.reset();
        MediaBookJourney::TearDown();
    }

    ui::UserInterfaceIdiom idiom() const { return GetParam().pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone; }

    // The device as the case holds it, turned once the screen is up.
    void holdTheDevice()
    {
        if (GetParam().turned)
            turn(ui::Orientation::LandscapeLeft);
    }

    // The one view on screen with the identifier whose title is `title` (any title when empty).
    static std::shared_ptr<ui::Button> buttonOnScreen(const std::string& identifier, const std::string& title = {})
    {
        for (const auto& view : onScreen(identifier)) {
            auto button = std::dynamic_pointer_cast<ui::Button>(view);
            if (button && (title.empty() || button->currentTitle() == title))
                return button;
        }
        return nullptr;
    }

    void expectNoConflicts() { EXPECT_TRUE(m_conflicts->empty()) << m_conflicts->text(); }

    std::optional<testing::LayoutConflictLog> m_conflicts;
};

TEST_P(MediaScreens, TheSleepTimerIsSetFromTheTopBarAndCountsDownOnThePlayer)
{
    auto reader = openAudioBook();
    ASSERT_TRUE(reader);
    holdTheDevice();
    auto player = reader->audioPlayerVC();
    ASSERT_TRUE(player);
    // The book's cover shows where the player keeps it.
    auto cover = std::dynamic_pointer_cast<ui::ImageView>(player->getThumbnailContainerView()->subviews().front());
    ASSERT_TRUE(cover && cover->image());
    EXPECT_TRUE(cover->image()->filePath().ends_with("page-104.png"));

    ASSERT_TRUE(reader->sleepButton());
    ASSERT_TRUE(tapAndSettle(*reader->sleepButton()));
    ASSERT_EQ(onScreen("MediaSleepOption").size(), 6u) << "the sleep choices show";
    picture("sleep-timer");
    auto fiveMinutes = buttonOnScreen("MediaSleepOption", "5 minutes");
    ASSERT_TRUE(fiveMinutes);
    ASSERT_TRUE(uitest::tap(*fiveMinutes));
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(onScreen("MediaSleepOption").empty()) << "a choice closes the sleep choices";

    // The time left shows on the player, in hours, minutes and seconds, and runs down.
    base::RunLoop::main().advanceBy(1);
    auto left = player->sleepTimeLabel();
    ASSERT_TRUE(left && left->window()) << "the time left shows";
    EXPECT_EQ(left->text(), "00:04:59");
    EXPECT_LE(left->intrinsicContentSize().width, left->bounds().size.width) << "the time left fits its label";
    picture("sleep-counting");
    expectNoConflicts();
}

TEST_P(MediaScreens, TheVideosSettingsOfferASubtitleThatTurnsOnWithANotice)
{
    auto reader = openDownloadedVideoBook();
    ASSERT_TRUE(reader);
    holdTheDevice();
    auto video = reader->videoPlayerView();
    ASSERT_TRUE(video);
    ASSERT_TRUE(tapNow(*video, "MediaVideoMoreOptionsButton"));
    settle();
    const std::string subtitlesTitle = LocalizationHelper::localizedString("SUBTITLES_CC");
    std::shared_ptr<ui::Button> subtitles;
    for (const auto& view : onScreen("MediaPopOverItem")) {
        auto row = std::dynamic_pointer_cast<ui::Button>(view);
        if (row && row->currentTitle().find(subtitlesTitle) != std::string::npos)
            subtitles = row;
    }
    ASSERT_TRUE(subtitles) << "the settings offer the subtitles";
    picture("video-settings");
    ASSERT_TRUE(tapAndSettle(*subtitles));
    auto values = onScreen("MediaPopOverItem");
    ASSERT_FALSE(values.empty()) << "the subtitles on offer show";
    picture("video-subtitle-list");
    auto first = std::dynamic_pointer_cast<ui::Button>(values.front());
    ASSERT_TRUE(first);
    const std::string picked = first->currentTitle();
    ASSERT_TRUE(uitest::tap(*first));
    base::RunLoop::main().runUntilIdle();

    // The player shows that subtitle, the subtitles control is marked and a notice says so.
    EXPECT_EQ(reader->mediaBookPlayer()->currentSelectedSubtitle(), picked);
    EXPECT_TRUE(video->subtitleViewState());
    auto notice = onScreen("MediaSubtitleNotice");
    ASSERT_EQ(notice.size(), 1u) << "the subtitle notice shows";
    EXPECT_NE(std::dynamic_pointer_cast<ui::Label>(notice.front())->text().find(picked), std::string::npos);
    picture("video-subtitle-shown");
    base::RunLoop::main().advanceBy(4);
    EXPECT_TRUE(onScreen("MediaSubtitleNotice").empty()) << "the notice goes by itself";
    expectNoConflicts();
}

TEST_P(MediaScreens, AStreamedBookPlaysWhileItDownloadsAndOpensOfflineOnceDownloaded)
{
    struct Downloads : MVLectoroHLSDownloaderManagerDelegate {
        void didDownloadHLSStateUpdate(const std::string& state, double progress, const std::string&) override
        {
            lastState = state;
            lastProgress = progress;
        }
        void didDownloadHLSRequestFailWithError(const base::Error&, const std::string& state, const std::string&) override
        {
            lastState = state;
        }
        std::string lastState;
        double lastProgress = 0;
    };
    inProcessService().setMediaBook(9102, std::string(LECTORO_SAMPLES_DIR) + "/books/sample-videobook");
    auto downloads = std::make_shared<Downloads>();
    auto manager = MVLectoroHLSDownloaderManager::create(
        serviceConfiguration()->baseURL, serviceConfiguration()->microServicesBaseURL, serviceConfiguration()->clientID, false);
    manager->setDelegate(downloads);
    // The book streams from the service's address while its download starts.
    auto package = std::make_shared<LectoroBookPackage>("", "9102", "978-0");
    m_launcher->launchHLSMediaBook(package, false, false, makeUser(m_userID), serviceConfiguration());
    settle();
    auto controller = m_launcher->audioBookController();
    auto streamed = controller ? controller->mediaReader() : nullptr;
    ASSERT_TRUE(streamed && streamed->videoPlayerView());
    // The address, then the stream's playlists, arrive a moment later.
    for (int step = 0; step < 50 && streamed->mediaBookModel()->mediaCurrentState != CurrentState::Playing; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.1);
    }
    ASSERT_TRUE(streamed->mediaBookModel()->chapters) << "the stream loads";
    ASSERT_EQ(streamed->mediaBookModel()->mediaCurrentState, CurrentState::Playing) << "and plays";
    holdTheDevice();
    manager->downloadHLSBookWithUserToken("token", "9102", false, "");
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(downloads->lastState == "Started" || downloads->lastState == "Downloading") << downloads->lastState;
    EXPECT_FALSE(MVLectoroHLSDownloaderManager::shared().isHLSBookDownloaded("9102"));
    EXPECT_EQ(streamed->mediaBookModel()->mediaCurrentState, CurrentState::Playing) << "the stream plays on";
    picture("streamed-while-downloading");
    auto back = streamed->videoPlayerView()->button("MediaVideoBackButton");
    ASSERT_TRUE(back && tapAndSettle(*back));

    for (int step = 0; step < 600 && downloads->lastState != "Finished"; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.1);
    }
    ASSERT_EQ(downloads->lastState, "Finished");
    EXPECT_DOUBLE_EQ(downloads->lastProgress, 1.0);

    // Offline, the downloaded copy opens from its folder and plays.
    inProcessService().setOffline(true);
    m_launcher->launchHLSMediaBook(package, true, false, makeUser(m_userID), serviceConfiguration());
    settle();
    controller = m_launcher->audioBookController();
    auto offline = controller ? controller->mediaReader() : nullptr;
    ASSERT_TRUE(offline && offline->videoPlayerView());
    EXPECT_EQ(offline->mediaBookModel()->mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(chapterOf(*offline), "Colours");
    picture("offline-downloaded");
    expectNoConflicts();
}

// Read-aloud in the page book: the reading modes, then read to me with its bar and speeds.
TEST_P(MediaScreens, TheReadingModesTheNarrationBarAndItsSpeedsReadWell)
{
    auto reader = open(SampleBook::PageBook, idiom());
    ASSERT_TRUE(reader);
    rendererOf(*reader)->navigateToPageNumber("104");
    settle();
    if (GetParam().turned) {
        auto& environment = ui::Environment::current();
        environment.rotateTo(ui::Orientation::LandscapeLeft);
        uitest::transitionToSize(m_launcher, environment.screenSize());
        settle();
    }
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud));
    auto chooser = presentedScreen<MVReadToMeViewController>(*reader);
    ASSERT_TRUE(chooser) << "the reading modes are offered";
    for (const auto& button : { chooser->letMeReadButton(), chooser->autoPlayButton(), chooser->readToMeButton(),
             chooser->closeReadToMeViewButton() })
        EXPECT_TRUE(uitest::isTouchable(*button));
    picture("reading-modes");
    ASSERT_TRUE(tapAndSettle(*chooser->readToMeButton()));
    ASSERT_EQ(reader->activeMode(), ReaderActiveModeReadAloud);

    auto bar = reader->readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar && bar->window());
    for (const auto& item : bar->items())
        EXPECT_TRUE(uitest::isTouchable(*item)) << "narration bar item " << item->tag();
    picture("narration-bar");

    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemSpeedRate)));
    base::RunLoop::main().runUntilIdle();
    auto speeds = reader->readAloud().viewForSpeedSelection();
    ASSERT_TRUE(speeds && speeds->window()) << "the speed options show";
    picture("narration-speeds");
    auto sync = reader->readAloud().audioSyncController();
    ASSERT_TRUE(sync && speeds->optionsArray().size() == 4u);
    // Each option is announced as the speed it sets.
    EXPECT_EQ(speeds->optionsArray().front()->accessibilityLabel(), "Reading speed 0.5 x");
    EXPECT_EQ(speeds->optionsArray().back()->accessibilityLabel(), "Reading speed 2 x");
    ASSERT_TRUE(uitest::tap(*speeds->optionsArray().back()));
    base::RunLoop::main().runUntilIdle();
    EXPECT_FLOAT_EQ(sync->rate(), 2.0f) << "the last option plays twice as fast";
    EXPECT_FALSE(speeds->window());

    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemMarkupClose)));
    settle();
    EXPECT_FALSE(reader->readAloud().isAudioSyncPlaying());
    expectReading(*reader);
    expectNoConflicts();
}

INSTANTIATE_TEST_SUITE_P(MediaScreenJourney, MediaScreens,
    ::testing::Values(ScreenCase { "TabletUpright", true, false }, ScreenCase { "TabletTurned", true, true },
        ScreenCase { "PhoneUpright", false, false }, ScreenCase { "PhoneTurned", false, true }),
    [](const ::testing::TestParamInfo<ScreenCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lectoro::journeys
