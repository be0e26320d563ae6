// The audio and video sample books opened from the launcher, their player bars used with a
// finger, and closed with back: the player's state follows each control and the host hears
// the close.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "companion/media/MediaBookPlayer.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"

#include <functional>

namespace lectoro::journeys {
namespace {

class MediaBookJourney : public Journey {
protected:
    void SetUp() override
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(ui::UserInterfaceIdiom::Pad);
        environment.setScreenSize({ 768, 1024 });
        Journey::SetUp();
    }

    std::shared_ptr<MVLectoroMediaBookReader> openAudioBook()
    {
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-audiobook", "9101", "978-0");
        m_launcher->launchAudioBook(package, makeUser(m_userID), serviceConfiguration());
        settle();
        auto controller = m_launcher->audioBookController();
        return controller ? controller->mediaReader() : nullptr;
    }

    // A video book the host downloaded earlier: its files in the book's download folder.
    // `edit` changes the downloaded copy before it opens.
    std::shared_ptr<MVLectoroMediaBookReader> openDownloadedVideoBook(
        const std::function<void(const std::filesystem::path&)>& edit = {})
    {
        const std::filesystem::path folder
            = SystemInformation::getInstance().getBasePathForBookWithBookId(base::Value(int64_t { 9102 }));
        std::filesystem::create_directories(folder);
        std::filesystem::copy(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-videobook", folder,
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        if (edit)
            edit(folder);
        auto package = std::make_shared<LectoroBookPackage>(folder.string(), "9102", "978-0");
        m_launcher->launchHLSMediaBook(package, true, false, makeUser(m_userID), serviceConfiguration());
        settle();
        auto controller = m_launcher->audioBookController();
        return controller ? controller->mediaReader() : nullptr;
    }

    // A tap whose effect is looked at before the clock moves on (the samples are short).
    static ::testing::AssertionResult tapNow(MVMediaBookPlayerViewBase& bar, const std::string& identifier)
    {
        auto button = bar.button(identifier);
        if (!button)
            return ::testing::AssertionFailure() << "no " << identifier << " on the player";
        auto tapped = uitest::tap(*button);
        base::RunLoop::main().runUntilIdle();
        return tapped;
    }

    // The views on screen with the accessibility identifier, in window order.
    static std::vector<std::shared_ptr<ui::View>> onScreen(const std::string& identifier)
    {
        std::vector<std::shared_ptr<ui::View>> found;
        std::function<void(const std::shared_ptr<ui::View>&)> visit = [&](const std::shared_ptr<ui::View>& view) {
            if (view->accessibilityIdentifier() == identifier && view->isInWindow()
                && !uitest::visibleRectInWindow(*view).isEmpty())
                found.push_back(view);
            for (const auto& subview : view->subviews())
                visit(subview);
        };
        if (auto window = ui::Environment::current().keyWindow())
            visit(window);
        return found;
    }

    std::string chapterOf(MVLectoroMediaBookReader& reader)
    {
        auto chapter = reader.mediaBookModel()->currentChapter;
        return chapter ? chapter->chapterTitle.value_or("") : std::string();
    }
};

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

} // namespace
} // namespace lectoro::journeys
