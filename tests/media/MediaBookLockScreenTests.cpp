// The lock screen across books: the next media opened into the same player shows itself
// there once loaded, and closing the launch controller empties it once.

#include "media/MediaPlayerTestSupport.h"

#include "platform/base/URL.h"

#include <fstream>
#include <iterator>

using namespace mediatest;
using namespace lectoro;

namespace {

constexpr const char* lockScreenSecondTitle = "The Second Keeper";

// A second audio book (id 9102), told apart from the sample by its title.
std::string writeLockScreenSecondBook(const TemporaryFolder& folder)
{
    auto path = writeLongAudioBook(folder, 60);
    std::ifstream in(path + "/toc.json");
    std::string toc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto [from, to] : { std::pair<std::string, std::string>("The Keeper of the Light", lockScreenSecondTitle),
             std::pair<std::string, std::string>("9101", "9102") }) {
        if (auto at = toc.find(from); at != std::string::npos)
            toc.replace(at, from.size(), to);
    }
    folder.write("long-audiobook/toc.json", toc);
    return path;
}

std::string lockScreenCoverURL()
{
    auto cover = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook/assets/thumbnails/page-104.png";
    return base::URL::fileURL(cover).absoluteString();
}

std::string lockScreenTitle()
{
    const auto& info = media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo();
    const base::Value* title = info ? info->find(media::mediaItemPropertyTitle) : nullptr;
    return title ? title->asString().value_or("") : std::string();
}

} // namespace

TEST_F(MediaPlayerTest, NextMediaInTheSameScreenShowsTheNewBookOnTheLockScreen)
{
    TemporaryFolder folder;
    auto secondBook = writeLockScreenSecondBook(folder);
    auto& centre = media::NowPlayingInfoCenter::defaultCenter();

    // The first opening publishes once, when the book is read, before anything plays.
    m_controller->launchMediaReader(mediaSample("sample-audiobook"), 9101, "978-0", lockScreenCoverURL(),
        "https://lectoro.invalid", "client", m_user, m_settings, true, std::nullopt, "1");
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(centre.publishCount(), 1u);
    m_reader = m_controller->mediaReader();
    advance(1.6);
    ASSERT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(lockScreenTitle(), "The Keeper of the Light");
    ASSERT_TRUE(centre.nowPlayingInfo()->artwork);

    // The next media, without a cover: its title as soon as it is read, nothing of the first
    // book left.
    m_reader->nextMediaButtonTapped();
    m_controller->launchMediaReader(secondBook, 9102, "978-1", "", "https://lectoro.invalid", "client", m_user, m_settings,
        true, std::nullopt, "1");
    ASSERT_EQ(m_controller->mediaReader(), m_reader);
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(lockScreenTitle(), lockScreenSecondTitle);
    EXPECT_FALSE(centre.nowPlayingInfo()->artwork);
    EXPECT_FALSE(centre.nowPlayingInfo()->find(media::mediaItemPropertyAlbumTitle));
    for (auto* command : mediaPlayerRemoteCommands())
        EXPECT_EQ(command->targetCount(), 1u);

    advance(1.6);
    ASSERT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(lockScreenTitle(), lockScreenSecondTitle);
    EXPECT_FALSE(centre.nowPlayingInfo()->artwork);
    ASSERT_TRUE(centre.nowPlayingInfo()->find(media::mediaItemPropertyAlbumTitle));
    EXPECT_EQ(centre.nowPlayingInfo()->find(media::mediaItemPropertyAlbumTitle)->asString(), "The Lighthouse");
}

TEST_F(MediaPlayerTest, ACoverReadForTheBookBeforeStaysOffTheLockScreen)
{
    TemporaryFolder folder;
    auto secondBook = writeLockScreenSecondBook(folder);
    openLongAudioBook();
    // A book with a cover, replaced by one without before its cover is read.
    m_controller->launchMediaReader(mediaSample("sample-audiobook"), 9101, "978-0", lockScreenCoverURL(),
        "https://lectoro.invalid", "client", m_user, m_settings, true, std::nullopt, "1");
    m_controller->launchMediaReader(secondBook, 9102, "978-1", "", "https://lectoro.invalid", "client", m_user, m_settings,
        true, std::nullopt, "1");
    base::waitForBackgroundWork();
    advance(1.6);
    EXPECT_EQ(lockScreenTitle(), lockScreenSecondTitle);
    EXPECT_FALSE(m_reader->nowPlayingInfo().artwork);
    EXPECT_FALSE(media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo()->artwork);
}

TEST_F(MediaPlayerTest, ClosingTheLaunchControllerEmptiesTheLockScreenOnce)
{
    openSampleAudioBook();
    std::weak_ptr<MVLectoroMediaBookReader> weak = m_reader;
    m_reader.reset();
    // The host takes the screen out of its window and lets go of it.
    ui::setKeyWindowRootViewController(nullptr);
    auto& centre = media::NowPlayingInfoCenter::defaultCenter();
    auto published = centre.publishCount();
    m_controller.reset();
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(centre.publishCount(), published + 1);
    ASSERT_TRUE(centre.nowPlayingInfo());
    EXPECT_TRUE(centre.nowPlayingInfo()->empty());
    for (auto* command : mediaPlayerRemoteCommands())
        EXPECT_EQ(command->targetCount(), 0u);
}
