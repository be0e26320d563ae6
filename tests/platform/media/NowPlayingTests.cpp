#include "MediaTestSupport.h"

#include "platform/media/NowPlaying.h"
#include "platform/media/Player.h"

#include <gtest/gtest.h>

namespace {

using media::RemoteCommandCenter;
using media::RemoteCommandHandlerStatus;

class NowPlayingTest : public testing::Test {
protected:
    using Status = media::RemoteCommandHandlerStatus;

    void SetUp() override
    {
        base::RunLoop::main().reset();
        RemoteCommandCenter::shared().reset();
        media::NowPlayingInfoCenter::defaultCenter().reset();
    }
    void TearDown() override
    {
        RemoteCommandCenter::shared().reset();
        media::NowPlayingInfoCenter::defaultCenter().reset();
        base::RunLoop::main().reset();
    }
};

TEST_F(NowPlayingTest, remoteCommandsDriveAPlayerAsTheLockScreenWould)
{
    mediatest::TemporaryFolder folder;
    auto player = media::Player::create(media::PlayerItem::create(folder.write("book.wav", mediatest::wavBytes(60.0))));
    mediatest::settle();

    auto& commands = RemoteCommandCenter::shared();
    commands.playCommand().addTarget([&](const auto&) { player->play(); return Status::Success; });
    commands.pauseCommand().addTarget([&](const auto&) { player->pause(); return Status::Success; });
    commands.togglePlayPauseCommand().addTarget([&](const auto&) {
        player->rate() > 0 ? player->pause() : player->play();
        return Status::Success;
    });
    auto skip = [&](double sign) {
        return [&player, sign](const media::RemoteCommandEvent& event) {
            auto* skipEvent = dynamic_cast<const media::SkipIntervalCommandEvent*>(&event);
            if (!skipEvent)
                return Status::CommandFailed;
            player->seekToTime(player->currentTime() + sign * skipEvent->interval());
            return Status::Success;
        };
    };
    commands.skipForwardCommand().addTarget(skip(+1));
    commands.skipBackwardCommand().addTarget(skip(-1));
    commands.changePlaybackPositionCommand().addTarget([&](const media::RemoteCommandEvent& event) {
        auto* change = dynamic_cast<const media::ChangePlaybackPositionCommandEvent*>(&event);
        if (!change)
            return Status::Success; // not a position change: nothing to do
        player->seekToTime(change->positionTime());
        return Status::Success;
    });

    EXPECT_EQ(commands.playCommand().fire(), Status::Success);
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(commands.togglePlayPauseCommand().fire(), Status::Success);
    EXPECT_EQ(player->rate(), 0);
    EXPECT_EQ(commands.skipForwardCommand().fireSkip(), Status::Success);
    EXPECT_DOUBLE_EQ(player->currentTime(), 25);
    commands.skipBackwardCommand().setPreferredIntervals({ 30 });
    commands.skipBackwardCommand().fireSkip();
    EXPECT_DOUBLE_EQ(player->currentTime(), 0) << "clamped to the start";
    EXPECT_EQ(commands.changePlaybackPositionCommand().fireChange(42.7), Status::Success);
    EXPECT_DOUBLE_EQ(player->currentTime(), 42.7);
    EXPECT_EQ(commands.changePlaybackPositionCommand().fire(), Status::Success) << "a plain event changes nothing";
    EXPECT_DOUBLE_EQ(player->currentTime(), 42.7);
    EXPECT_EQ(commands.skipForwardCommand().fire(), Status::CommandFailed) << "a skip without its interval";

    commands.pauseCommand().setEnabled(false);
    player->play();
    EXPECT_EQ(commands.pauseCommand().fire(), Status::CommandFailed);
    EXPECT_EQ(player->rate(), 1) << "a disabled command reaches no handler";
    EXPECT_EQ(commands.nextTrackCommand().fire(), Status::NoActionableNowPlayingItem);
}

TEST_F(NowPlayingTest, handlersRunInOrderAndTheLastStatusAnswers)
{
    auto& command = RemoteCommandCenter::shared().playCommand();
    std::vector<int> calls;
    auto first = command.addTarget([&](const auto&) { calls.push_back(1); return Status::CommandFailed; });
    command.addTarget([&](const auto&) {
        calls.push_back(2);
        command.removeTarget(first);
        return Status::Success;
    });
    EXPECT_EQ(command.fire(), Status::Success);
    EXPECT_EQ(command.fire(), Status::Success);
    EXPECT_EQ(calls, (std::vector<int> { 1, 2, 2 }));
    EXPECT_EQ(command.targetCount(), 1u);
}

TEST_F(NowPlayingTest, publishedInformationIsReadBackWithItsArtwork)
{
    auto& center = media::NowPlayingInfoCenter::defaultCenter();
    EXPECT_FALSE(center.nowPlayingInfo());

    media::NowPlayingInfo info;
    info.set(media::mediaItemPropertyTitle, "A Book");
    info.set(media::mediaItemPropertyPlaybackDuration, 3600);
    info.set(media::nowPlayingInfoPropertyPlaybackRate, 1.5f);
    auto cover = ui::Image::make("cover", { 300, 400 });
    info.artwork = std::make_shared<media::MediaItemArtwork>(cover->size(), [cover](const ui::Size&) { return cover; });
    center.setNowPlayingInfo(info);

    ASSERT_TRUE(center.nowPlayingInfo());
    EXPECT_EQ(center.nowPlayingInfo()->find(media::mediaItemPropertyTitle)->asString(), "A Book");
    EXPECT_EQ(center.nowPlayingInfo()->find(media::nowPlayingInfoPropertyPlaybackRate)->asDouble(), 1.5);
    EXPECT_EQ(center.nowPlayingInfo()->artwork->imageWithSize({ 10, 10 }), cover) << "the same image whatever the size";

    info.remove(media::mediaItemPropertyArtwork);
    info.remove(media::mediaItemPropertyTitle);
    center.setNowPlayingInfo(info);
    EXPECT_FALSE(center.nowPlayingInfo()->artwork);
    EXPECT_FALSE(center.nowPlayingInfo()->find(media::mediaItemPropertyTitle));
    center.setNowPlayingInfo(media::NowPlayingInfo {});
    EXPECT_TRUE(center.nowPlayingInfo()->empty());
    EXPECT_EQ(center.publishCount(), 3u);
}

} // namespace
