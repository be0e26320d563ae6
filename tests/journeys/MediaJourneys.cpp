// Reading aloud from the top bar, its bar and its colour palette, in a page book and in the
// narrated chapter of the reflowable sample; the audio and video sample books' player bars.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/LayoutEngine.h"

#include "companion/store/TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <regex>

namespace lectoro::journeys {
namespace {

class MediaJourney : public Journey {
protected:
    // A tap whose effect is looked at before the clock moves on (narration is short).
    static ::testing::AssertionResult tapNow(ui::View& view)
    {
        auto tapped = uitest::tap(view);
        base::RunLoop::main().runUntilIdle();
        return tapped;
    }

    // Turns the reflowable book forward with a finger until the chapter is on screen.
    void turnToChapter(ReaderViewController& reader, int64_t fileIndex)
    {
        auto renderer = rendererOf(reader);
        for (int turn = 0; turn < 20 && renderer->getActivePages().front().fileIndex != fileIndex; ++turn) {
            ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Left));
            settle();
        }
        ASSERT_EQ(renderer->getActivePages().front().fileIndex, fileIndex);
    }

    // The reflowable sample's narrated chapter.
    static constexpr int64_t narratedChapter = 3;
};

TEST_F(MediaJourney, ReadToMeNarratesThePageAndItsBarPausesRecoloursAndCloses)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    // Page 104 is narrated from the book's audio.
    auto renderer = rendererOf(*reader);
    renderer->navigateToPageNumber("104");
    settle();
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud));
    auto chooser = presentedScreen<MVReadToMeViewController>(*reader);
    ASSERT_TRUE(chooser) << "the reading modes are offered";
    for (const auto& button : { chooser->letMeReadButton(), chooser->autoPlayButton(), chooser->readToMeButton(),
             chooser->closeReadToMeViewButton() })
        EXPECT_TRUE(uitest::isTouchable(*button));
    picture("read-aloud-modes");
    ASSERT_TRUE(tapAndSettle(*chooser->readToMeButton()));
    EXPECT_FALSE(reader->presentedViewController());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeReadAloud);
    auto sync = reader->readAloud().audioSyncController();
    ASSERT_TRUE(sync);
    EXPECT_TRUE(sync->isPlaying());
    EXPECT_EQ(sync->audioPlayingForPageIdentifier(), "104");
    EXPECT_TRUE(renderer->overlayForPage(104).wordFrame) << "the word read is marked on the page";

    // The narration bar: every item under a finger.
    auto bar = reader->readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar && bar->window());
    for (const auto& item : bar->items())
        EXPECT_TRUE(uitest::isTouchable(*item)) << "narration bar item " << item->tag();
    picture("read-to-me");

    // Pause and play again.
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemPlayPause)));
    EXPECT_FALSE(sync->isPlaying());
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemPlayPause)));
    EXPECT_TRUE(sync->isPlaying());

    // The speed column: a faster option plays faster.
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemSpeedRate)));
    auto speeds = reader->readAloud().viewForSpeedSelection();
    ASSERT_TRUE(speeds && speeds->window()) << "the speed options show";
    picture("read-aloud-speeds");
    ASSERT_FALSE(speeds->optionsArray().empty());
    const float before = sync->rate();
    ASSERT_TRUE(tapNow(*speeds->optionsArray().front()));
    EXPECT_NE(sync->rate(), before);
    EXPECT_FALSE(speeds->window()) << "picking a speed closes the column";

    // A swatch of the bar recolours the narration's marks on the page.
    std::shared_ptr<PlayerActionBarItem> last;
    for (const auto& item : bar->items()) {
        if (item->tag() == PlayerItemAudioSyncColorSwatch)
            last = item;
    }
    ASSERT_TRUE(last);
    ASSERT_TRUE(tapNow(*last));
    const auto colour = reader->context().audioSyncSelectedColor;
    EXPECT_FALSE(colour.empty());
    EXPECT_EQ(renderer->settings().audioSyncFrameColor, colour);

    // Closing stops the narration and gives the page back.
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemMarkupClose)));
    settle();
    EXPECT_FALSE(reader->readAloud().isAudioSyncPlaying());
    EXPECT_FALSE(bar->window());
    expectReading(*reader);
}

class NarrationBarAfterATurn : public MediaJourney, public ::testing::WithParamInterface<ui::UserInterfaceIdiom> { };

TEST_P(NarrationBarAfterATurn, LiesAlongTheBottomOfTheTurnedReaderAndItsPlayItemTakesATap)
{
    std::vector<std::string> conflicts;
    auto previous = ui::layout::setConflictHandler([&](const std::string& report) { conflicts.push_back(report); });
    auto reader = open(SampleBook::PageBook, GetParam());
    ASSERT_TRUE(reader);
    rendererOf(*reader)->navigateToPageNumber("104");
    settle();
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud));
    auto chooser = presentedScreen<MVReadToMeViewController>(*reader);
    ASSERT_TRUE(chooser);
    ASSERT_TRUE(tapAndSettle(*chooser->readToMeButton()));
    ASSERT_TRUE(reader->readAloud().isAudioSyncPlaying());

    auto& environment = ui::Environment::current();
    for (auto orientation : { ui::Orientation::LandscapeLeft, ui::Orientation::Portrait }) {
        SCOPED_TRACE(ui::isLandscape(orientation) ? "turned" : "turned back");
        environment.rotateTo(orientation);
        uitest::transitionToSize(m_launcher, environment.screenSize());
        // The turn completes and the page under the narration loads again, while it plays.
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.5);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        ASSERT_EQ(reader->activeMode(), ReaderActiveModeReadAloud) << "still narrating";
        picture(ui::isLandscape(orientation) ? "narrating-turned" : "narrating-turned-back");
        auto bar = reader->readAloud().playerBottomActionBarViewForAudioSync();
        ASSERT_TRUE(bar && bar->window());
        auto window = ui::Environment::current().keyWindow();
        const ui::Rect page = reader->view()->convertRectTo(reader->view()->bounds(), window.get());
        const ui::Rect placed = bar->convertRectTo(bar->bounds(), window.get());
        EXPECT_EQ(page.size, environment.screenSize()) << "the reader takes the turned screen";
        EXPECT_DOUBLE_EQ(placed.minX(), page.minX());
        EXPECT_DOUBLE_EQ(placed.maxX(), page.maxX());
        EXPECT_NEAR(placed.maxY(), page.maxY() - 0.4, 1e-9) << "the bar's bottom follows the reader's";
        EXPECT_DOUBLE_EQ(placed.height(), GetParam() == ui::UserInterfaceIdiom::Pad ? 58 : 50);
        EXPECT_EQ(uitest::visibleRectInWindow(*bar), placed) << "the whole bar shows";
        // Its play item answers a finger: each tap plays or pauses the narration.
        auto play = bar->itemWithTag(PlayerItemPlayPause);
        ASSERT_TRUE(play);
        const bool playing = reader->readAloud().isAudioSyncPlaying();
        ASSERT_TRUE(tapNow(*play));
        EXPECT_NE(reader->readAloud().isAudioSyncPlaying(), playing);
        ASSERT_TRUE(tapNow(*play));
        EXPECT_EQ(reader->readAloud().isAudioSyncPlaying(), playing);
    }
    ui::layout::setConflictHandler(previous);
    // The narrating reader lays out without a conflict, the bar and its items included (the
    // heights its items ask for give way to the frames the bar sets).
    for (const auto& report : conflicts)
        ADD_FAILURE() << report;
}

INSTANTIATE_TEST_SUITE_P(MediaJourney, NarrationBarAfterATurn,
    ::testing::Values(ui::UserInterfaceIdiom::Pad, ui::UserInterfaceIdiom::Phone),
    [](const ::testing::TestParamInfo<ui::UserInterfaceIdiom>& info) {
        return std::string(info.param == ui::UserInterfaceIdiom::Pad ? "Tablet" : "Phone");
    });

TEST_F(MediaJourney, TheReflowableSamplesNarratedChapterIsReadAloudFromItsRecording)
{
    auto reader = open(SampleBook::ReflowableEpub);
    ASSERT_TRUE(reader);
    turnToChapter(*reader, narratedChapter);
    auto renderer = rendererOf(*reader);
    auto item = barItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud);
    ASSERT_TRUE(item) << "a narrated book offers read-aloud";
    EXPECT_TRUE(item->isEnabled()) << "the chapter on screen is narrated";
    EXPECT_TRUE(uitest::isTouchable(*item));
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud));
    auto chooser = presentedScreen<MVReadToMeViewController>(*reader);
    ASSERT_TRUE(chooser);
    ASSERT_TRUE(tapNow(*chooser->readToMeButton()));

    // The chapter's recording plays through the media player, its clock moving, and each
    // word is marked on the page as its clip is reached, from the first word on screen.
    std::vector<std::string> marked;
    std::shared_ptr<media::Player> player;
    for (int step = 0; step < 60; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.05);
        if (auto sync = reader->readAloud().audioSyncController(); sync && !player)
            player = sync->audioPlayer();
        const auto& word = renderer->overlayForPage(narratedChapter).wordId;
        if (!word.empty() && (marked.empty() || marked.back() != word))
            marked.push_back(word);
    }
    picture("narrating");
    auto sync = reader->readAloud().audioSyncController();
    ASSERT_TRUE(sync);
    EXPECT_EQ(sync->narrationKind(), NarrationPlayback::Kind::Audio) << "heard from the book's recording";
    ASSERT_TRUE(player && player->currentItem());
    EXPECT_EQ(std::filesystem::path(player->currentItem()->url()).filename(), "night-watch.m4a");
    EXPECT_GT(player->currentTime(), 2.0) << "the recording's clock moves with the run loop's";
    ASSERT_GE(marked.size(), 5u);
    for (size_t index = 0; index < marked.size(); ++index)
        EXPECT_EQ(marked[index], "w" + std::to_string(index + 1)) << "words marked in the order they are spoken";
    // The word marked is the one whose clip the recording is in.
    const auto& clips = reader->readAloud().audioSyncController()->words();
    std::string current;
    for (const auto& clip : clips) {
        if (clip.start <= player->currentTime())
            current = clip.wordId;
    }
    EXPECT_EQ(renderer->overlayForPage(narratedChapter).wordId, current);
    EXPECT_EQ(renderer->overlayForPage(narratedChapter).wordIdColor, reader->context().audioSyncSelectedColor);

    // The narration bar pauses the recording; closing it ends narration.
    auto bar = reader->readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar && bar->window());
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemPlayPause)));
    const double pausedAt = player->currentTime();
    base::RunLoop::main().advanceBy(1);
    EXPECT_DOUBLE_EQ(player->currentTime(), pausedAt);
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemMarkupClose)));
    settle();
    EXPECT_FALSE(reader->readAloud().isAudioSyncPlaying());
    EXPECT_TRUE(renderer->overlayForPage(narratedChapter).wordId.empty());
    expectReading(*reader);
}

TEST_F(MediaJourney, AChapterWhoseOverlayIsBrokenOffersNoReadAloud)
{
    namespace fs = std::filesystem;
    const fs::path sample = fs::path(LECTORO_SAMPLES_DIR) / "books" / folderOf(SampleBook::ReflowableEpub);
    struct Case {
        const char* name;
        std::function<void(const fs::path& book, const fs::path& outside)> breakIt;
    };
    const Case cases[] = {
        { "a clip whose clock value is not one",
            [](const fs::path& book, const fs::path&) {
                const fs::path smil = book / "OEBPS/overlays/chapter-4.smil";
                std::ifstream in(smil);
                std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                text = std::regex_replace(text, std::regex("clipEnd=\"0\\.252s\""), "clipEnd=\"soon\"");
                std::ofstream(smil, std::ios::trunc) << text;
            } },
        { "its recording a link that leads out of the book",
            [](const fs::path& book, const fs::path& outside) {
                const fs::path audio = book / "OEBPS/audio/night-watch.m4a";
                fs::rename(audio, outside / "night-watch.m4a");
                fs::create_symlink(outside / "night-watch.m4a", audio);
            } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        companion::testing::TemporaryFolder folder;
        const fs::path book = folder.path() / "book";
        fs::create_directories(folder.path() / "outside");
        fs::copy(sample, book, fs::copy_options::recursive);
        testCase.breakIt(book, folder.path() / "outside");

        // Each opening through a launcher of its own, as a host does for every book.
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
        auto reader = openFolder(book.string());
        ASSERT_TRUE(reader);
        EXPECT_FALSE(reader->readAloud().readToMeViewController()) << "no reading modes offered on opening";
        turnToChapter(*reader, narratedChapter);
        picture("broken-overlay");
        EXPECT_FALSE(rendererOf(*reader)->getActivePages().empty()) << "the chapter itself still reads";
        EXPECT_FALSE(barItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud))
            << "no read-aloud item over a chapter with nothing to play";
        expectReading(*reader);
        ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemBackToBookshelf));
        settle();
    }
}

} // namespace
} // namespace lectoro::journeys
