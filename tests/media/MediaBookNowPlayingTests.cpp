// The lock screen of an audio book: what is published, the remote commands and their
// answers, the handlers' removal at teardown, and the top bar's back button.

#include "media/MediaPlayerTestSupport.h"

#include "platform/base/URL.h"

#include <limits>

using namespace mediatest;
using namespace lectoro;
using media::RemoteCommandHandlerStatus;

namespace {

const base::Value* nowPlayingValue(const std::string& key)
{
    const auto& info = media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo();
    return info ? info->find(key) : nullptr;
}

} // namespace

TEST_F(MediaPlayerTest, TicksPublishTitleChapterTimeLengthAndRate)
{
    openSampleAudioBook();
    auto published = media::NowPlayingInfoCenter::defaultCenter().publishCount();
    advance(1.0);
    EXPECT_GT(media::NowPlayingInfoCenter::defaultCenter().publishCount(), published);
    ASSERT_TRUE(nowPlayingValue(media::mediaItemPropertyTitle));
    EXPECT_EQ(nowPlayingValue(media::mediaItemPropertyTitle)->asString(), "The Keeper of the Light");
    EXPECT_EQ(nowPlayingValue(media::mediaItemPropertyAlbumTitle)->asString(), "The Lighthouse");
    EXPECT_EQ(nowPlayingValue(media::nowPlayingInfoPropertyElapsedPlaybackTime)->asInteger(), model().currentTime);
    EXPECT_EQ(nowPlayingValue(media::mediaItemPropertyPlaybackDuration)->asInteger(), model().currentChapter->avAssetTotalTime);
    EXPECT_EQ(nowPlayingValue(media::nowPlayingInfoPropertyPlaybackRate)->asDouble(), 1.0);
    // No cover address: no artwork.
    EXPECT_FALSE(media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo()->artwork);
}

TEST_F(MediaPlayerTest, TheCoverIsReadInTheBackgroundAndWrittenOnTheMainThread)
{
    auto cover = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook/assets/thumbnails/page-104.png";
    m_controller->launchMediaReader(mediaSample("sample-audiobook"), 9101, "978-0", base::URL::fileURL(cover).absoluteString(),
        "https://lectoro.invalid", "client", m_user, m_settings, true, std::nullopt, "1");
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    auto reader = m_controller->mediaReader();
    // The book is read in the background first; the lock screen is set up (and the cover
    // asked for) once it is.
    base::waitForBackgroundWork();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return reader->mediaBookModel()->chapters.has_value(); }, 0));
    base::waitForBackgroundWork();
    // Read, but not written until the main queue runs.
    EXPECT_FALSE(reader->nowPlayingInfo().artwork);
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(reader->nowPlayingInfo().artwork);
    auto image = reader->nowPlayingInfo().artwork->imageWithSize(ui::Size(10, 10));
    ASSERT_TRUE(image);
    EXPECT_EQ(reader->nowPlayingInfo().artwork->bounds(), image->size());
    // The next publication carries it.
    advance(1.6);
    EXPECT_TRUE(media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo()->artwork);
}

TEST_F(MediaPlayerTest, RemoteCommandsActOnlyInTheStatesThatFit)
{
    openSampleAudioBook();
    m_reader->setDelegate(m_listener);
    auto& remote = media::RemoteCommandCenter::shared();
    EXPECT_EQ(remote.playCommand().fire(), RemoteCommandHandlerStatus::CommandFailed);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(remote.pauseCommand().fire(), RemoteCommandHandlerStatus::Success);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Paused);
    EXPECT_EQ(m_listener->calls.back(), "Paused");
    EXPECT_EQ(remote.pauseCommand().fire(), RemoteCommandHandlerStatus::CommandFailed);
    EXPECT_EQ(remote.playCommand().fire(), RemoteCommandHandlerStatus::Success);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_EQ(m_listener->calls.back(), "Playing");

    // A new position is cut to whole seconds.
    model().currentChapter->avAssetTotalTime = 100;
    EXPECT_EQ(remote.changePlaybackPositionCommand().fireChange(12.9), RemoteCommandHandlerStatus::Success);
    EXPECT_EQ(model().currentTime, 12);
    for (double bad : { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1.0, 1e300 }) {
        EXPECT_EQ(remote.changePlaybackPositionCommand().fireChange(bad), RemoteCommandHandlerStatus::CommandFailed) << bad;
        EXPECT_EQ(model().currentTime, 12);
    }
    // A plain event on the position command asks for nothing.
    EXPECT_EQ(remote.changePlaybackPositionCommand().fire(), RemoteCommandHandlerStatus::Success);

    EXPECT_EQ(remote.nextTrackCommand().fire(), RemoteCommandHandlerStatus::Success);
    EXPECT_EQ(currentChapterTitle(), "The Storm");
    // The new chapter's file loads before it plays.
    EXPECT_EQ(remote.previousTrackCommand().fire(), RemoteCommandHandlerStatus::CommandFailed);
    advance(0.5);
    EXPECT_EQ(remote.previousTrackCommand().fire(), RemoteCommandHandlerStatus::Success);
    EXPECT_EQ(currentChapterTitle(), "The Lighthouse");

    // Loading (neither playing nor paused): moves and seeks are refused.
    model().mediaCurrentState = CurrentState::Loading;
    EXPECT_EQ(remote.changePlaybackPositionCommand().fireChange(3), RemoteCommandHandlerStatus::CommandFailed);
    EXPECT_EQ(remote.nextTrackCommand().fire(), RemoteCommandHandlerStatus::CommandFailed);
    EXPECT_EQ(currentChapterTitle(), "The Lighthouse");
}

TEST_F(MediaPlayerTest, BackEmptiesTheLockScreenRemovesTheHandlersAndHandsOverThePosition)
{
    openSampleAudioBook();
    auto& remote = media::RemoteCommandCenter::shared();
    for (auto* command : { &remote.playCommand(), &remote.pauseCommand(), &remote.nextTrackCommand(),
             &remote.previousTrackCommand(), static_cast<media::RemoteCommand*>(&remote.changePlaybackPositionCommand()) })
        EXPECT_EQ(command->targetCount(), 1u);
    ASSERT_TRUE(m_reader->backButton());
    ASSERT_TRUE(uitest::tap(*m_reader->backButton()));

    ASSERT_EQ(m_host->backs.size(), 1u);
    EXPECT_NE(m_host->backs[0].second.find("The Lighthouse"), std::string::npos);
    EXPECT_FALSE(m_controller->mediaReader());
    const auto& info = media::NowPlayingInfoCenter::defaultCenter().nowPlayingInfo();
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->empty());
    EXPECT_TRUE(m_reader->nowPlayingInfo().empty());
    // The lock screen no longer reaches the closed book.
    for (auto* command : { &remote.playCommand(), &remote.pauseCommand(), &remote.nextTrackCommand(),
             &remote.previousTrackCommand(), static_cast<media::RemoteCommand*>(&remote.changePlaybackPositionCommand()) })
        EXPECT_EQ(command->targetCount(), 0u);
    EXPECT_FALSE(m_reader->mediaBookPlayer());
    EXPECT_FALSE(m_reader->playerTopBar());
    EXPECT_FALSE(m_reader->isSchedulerRunning());
}

TEST_F(MediaPlayerTest, AReaderLetGoWithoutClosingTakesItsHandlersWithIt)
{
    openSampleAudioBook();
    std::weak_ptr<MVLectoroMediaBookReader> weak = m_reader;
    m_reader.reset();
    // The host takes the screen out of its window and lets go of it.
    ui::setKeyWindowRootViewController(nullptr);
    m_controller.reset();
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(media::RemoteCommandCenter::shared().playCommand().targetCount(), 0u);
    EXPECT_EQ(media::RemoteCommandCenter::shared().playCommand().fire(), RemoteCommandHandlerStatus::NoActionableNowPlayingItem);
}

TEST_F(MediaPlayerTest, TopBarHoldsBackTitleAndSleepButtons)
{
    openSampleAudioBook();
    auto bar = m_reader->playerTopBar();
    ASSERT_TRUE(bar);
    ASSERT_TRUE(m_reader->backButton());
    ASSERT_TRUE(m_reader->sleepButton());
    EXPECT_EQ(m_reader->backButton()->superview(), bar);
    EXPECT_EQ(m_reader->sleepButton()->superview(), bar);
    EXPECT_EQ(m_reader->titleLabel()->text(), "The Keeper of the Light");
    EXPECT_EQ(m_reader->backButton()->accessibilityIdentifier(), "BackToBookShelfButton");
    EXPECT_EQ(m_reader->sleepButton()->accessibilityIdentifier(), "MediaBSleepButton");
    EXPECT_FALSE(m_reader->sleepButton()->isHidden());
    // A phone: 50 high, the sleep button 5 from the trailing edge, centred.
    double width = bar->bounds().size.width;
    EXPECT_EQ(m_reader->backButton()->frame(), ui::Rect(0, 0, 60, 50));
    EXPECT_EQ(m_reader->titleLabel()->frame(), ui::Rect(62, 0, width - 62, 50));
    EXPECT_EQ(m_reader->sleepButton()->frame(), ui::Rect(width - 41, 7, 36, 36));
    EXPECT_EQ(m_reader->sleepButton()->layer()->cornerRadius(), 18);
    bool trailingFound = false;
    const ui::LayoutItem* sleep = m_reader->sleepButton().get();
    for (const auto& constraint : bar->constraints()) {
        if (constraint->firstItem().get() == sleep && constraint->firstAttribute() == ui::LayoutAttribute::Trailing) {
            trailingFound = true;
            EXPECT_EQ(constraint->constant(), -5);
        }
    }
    EXPECT_TRUE(trailingFound);
}
