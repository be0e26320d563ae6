#include "MediaTestSupport.h"

#include "platform/base/NotificationCenter.h"
#include "platform/media/AudioSession.h"
#include "platform/media/MediaError.h"
#include "platform/media/Player.h"

#include <gtest/gtest.h>

namespace {

using media::Player;
using media::PlayerItem;
using mediatest::settle;

class PlayerEventRecorder : public media::PlayerDelegate {
public:
    void playerItemStatusDidChange(Player&, PlayerItem& item) override { statuses.push_back(item.status()); }
    void playerTimeControlStatusDidChange(Player& player) override { controls.push_back(player.timeControlStatus()); }
    void playerItemDidPlayToEndTime(Player&, PlayerItem&) override { ++ends; }
    void playerItemFailedToPlayToEndTime(Player&, PlayerItem&, const base::Error& error) override { failures.push_back(error); }

    std::vector<PlayerItem::Status> statuses;
    std::vector<Player::TimeControlStatus> controls;
    int ends = 0;
    std::vector<base::Error> failures;
};

class PlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        media::AudioSession::sharedInstance().reset();
        delegate = std::make_shared<PlayerEventRecorder>();
    }
    void TearDown() override { base::RunLoop::main().reset(); }

    // A player on a ready item of the given length, with the delegate installed.
    std::shared_ptr<Player> readyPlayer(double seconds)
    {
        auto player = Player::create(PlayerItem::create(folder.write("item.wav", mediatest::wavBytes(seconds))));
        player->setDelegate(delegate);
        settle();
        return player;
    }

    mediatest::TemporaryFolder folder;
    std::shared_ptr<PlayerEventRecorder> delegate;
};

TEST_F(PlayerTest, playsOnTheRunLoopClockAtItsRate)
{
    auto player = readyPlayer(3.0);
    ASSERT_EQ(player->currentItem()->status(), PlayerItem::Status::ReadyToPlay);
    EXPECT_DOUBLE_EQ(player->currentItem()->duration(), 3.0);
    std::vector<double> ticks;
    player->addPeriodicTimeObserver(0.5, [&](double time) { ticks.push_back(time); });

    player->setRate(2.0);
    EXPECT_EQ(player->timeControlStatus(), Player::TimeControlStatus::Playing);
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_DOUBLE_EQ(player->currentTime(), 2.0);
    EXPECT_EQ(ticks, (std::vector<double> { 0, 0.5, 1.0, 1.5, 2.0 })) << "one at the start, then every 0.5 s of play";

    player->pause();
    base::RunLoop::main().advanceBy(5.0);
    EXPECT_DOUBLE_EQ(player->currentTime(), 2.0) << "paused time stands still";
    EXPECT_EQ(delegate->ends, 0);
}

TEST_F(PlayerTest, reachingOrSeekingPastTheEndEndsTheItemOnce)
{
    auto player = readyPlayer(3.0);
    int notifications = 0;
    auto token = base::NotificationCenter::defaultCenter().addObserver(media::playerItemDidPlayToEndTimeNotification,
        player->currentItem().get(), [&](const base::Notification&) { ++notifications; });

    player->play();
    base::RunLoop::main().advanceBy(1.0);
    std::vector<bool> seeks;
    player->seekToTime(10.0, [&](bool finished) { seeks.push_back(finished); });
    base::RunLoop::main().advanceBy(5.0);
    EXPECT_EQ(delegate->ends, 1);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(seeks, std::vector<bool> { true });
    EXPECT_DOUBLE_EQ(player->currentTime(), 3.0);
    EXPECT_EQ(player->rate(), 0) << "the end pauses";

    // Paused at the end, a seek past it again reports nothing until play resumes.
    player->seekToTime(99.0);
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(delegate->ends, 1);
    player->play();
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(delegate->ends, 2);

    // Played through from the start: one end at the item's length.
    player->seekToTime(0);
    player->play();
    base::RunLoop::main().advanceBy(2.9);
    EXPECT_EQ(delegate->ends, 2);
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_EQ(delegate->ends, 3);
}

TEST_F(PlayerTest, aLaterSeekOvertakesAnEarlierOne)
{
    auto player = readyPlayer(10.0);
    std::vector<std::pair<int, bool>> answers;
    player->seekToTime(2.0, [&](bool finished) { answers.emplace_back(1, finished); });
    player->seekToTime(-4.0, [&](bool finished) { answers.emplace_back(2, finished); });
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(answers, (std::vector<std::pair<int, bool>> { { 1, false }, { 2, true } }));
    EXPECT_DOUBLE_EQ(player->currentTime(), 0.0) << "clamped to the start";
}

TEST_F(PlayerTest, waitsForItsItemAndFailsClearlyOnAMissingOrCorruptFile)
{
    auto good = PlayerItem::create(folder.write("good.wav", mediatest::wavBytes(1.0)));
    auto player = Player::create(good);
    player->setDelegate(delegate);
    player->play();
    EXPECT_EQ(player->timeControlStatus(), Player::TimeControlStatus::WaitingToPlayAtSpecifiedRate);
    settle();
    EXPECT_EQ(player->timeControlStatus(), Player::TimeControlStatus::Playing);

    for (const std::string& path : { folder.path() + "/absent.m4a", folder.write("corrupt.mp4", std::string(64, '\x07')) }) {
        SCOPED_TRACE(path);
        delegate->statuses.clear();
        player->replaceCurrentItem(PlayerItem::create(path));
        player->play();
        settle();
        const auto& item = *player->currentItem();
        EXPECT_EQ(item.status(), PlayerItem::Status::Failed);
        ASSERT_TRUE(item.error());
        EXPECT_NE(item.error()->localizedDescription().find(path), std::string::npos) << item.error()->localizedDescription();
        EXPECT_EQ(delegate->statuses, std::vector<PlayerItem::Status> { PlayerItem::Status::Failed });
        EXPECT_EQ(player->timeControlStatus(), Player::TimeControlStatus::Paused);
        base::RunLoop::main().advanceBy(2.0);
        EXPECT_EQ(player->currentTime(), 0);
        EXPECT_EQ(delegate->ends, 0);
    }
}

TEST_F(PlayerTest, aStreamThatBreaksOffReportsTheFailureAndPauses)
{
    auto player = readyPlayer(5.0);
    std::string described;
    auto token = base::NotificationCenter::defaultCenter().addObserver(media::playerItemFailedToPlayToEndTimeNotification,
        nullptr, [&](const base::Notification& note) {
            described = note.userInfo[media::playerItemFailedToPlayToEndTimeErrorKey]["description"].asString().value_or("");
        });
    player->play();
    base::RunLoop::main().advanceBy(1.0);
    player->currentItem()->failPlaybackForTesting(media::mediaError(media::errorContentIsUnavailable, "The stream stopped."));
    ASSERT_EQ(delegate->failures.size(), 1u);
    EXPECT_EQ(delegate->failures[0].code, media::errorContentIsUnavailable);
    EXPECT_EQ(described, "The stream stopped.");
    EXPECT_EQ(player->rate(), 0);
}

TEST_F(PlayerTest, muteVolumeAndTheAudioSessionsInterruptions)
{
    auto player = readyPlayer(60.0);
    player->setMuted(true);
    player->setVolume(3.0);
    EXPECT_TRUE(player->isMuted());
    EXPECT_EQ(player->volume(), 1.0);

    auto& session = media::AudioSession::sharedInstance();
    player->play();
    session.postInterruption(media::AudioSessionInterruptionType::Began);
    EXPECT_EQ(player->rate(), 0) << "an interruption pauses playback";
    session.postInterruption(media::AudioSessionInterruptionType::Ended, true);
    EXPECT_EQ(player->rate(), 0) << "resuming is the application's choice";

    player->play();
    session.postRouteChange(media::AudioSessionRouteChangeReason::NewDeviceAvailable, { media::audioSessionPortHeadphones });
    EXPECT_EQ(player->rate(), 1);
    session.postRouteChange(media::AudioSessionRouteChangeReason::OldDeviceUnavailable, { media::audioSessionPortBuiltInSpeaker });
    EXPECT_EQ(player->rate(), 0) << "pulling the headphones pauses";
}

TEST_F(PlayerTest, aStreamItemOffersItsLanguagesSubtitlesAndQualities)
{
    folder.write("v/lo.m3u8", "#EXTM3U\n#EXTINF:4,\na.wav\n#EXTINF:4,\nb.wav\n");
    folder.write("v/hi.m3u8", "#EXTM3U\n#EXTINF:4,\na.wav\n#EXTINF:4,\nb.wav\n");
    std::string master = folder.write("master.m3u8",
        "#EXTM3U\n"
        "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"a\",NAME=\"English\",LANGUAGE=\"en\",URI=\"en.m3u8\"\n"
        "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"a\",NAME=\"Deutsch\",LANGUAGE=\"de\",DEFAULT=YES,URI=\"de.m3u8\"\n"
        "#EXT-X-MEDIA:TYPE=SUBTITLES,GROUP-ID=\"s\",NAME=\"English\",LANGUAGE=\"en\",URI=\"s.m3u8\"\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=500000,RESOLUTION=640x360,AUDIO=\"a\"\nv/lo.m3u8\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=3000000,RESOLUTION=1920x1080,AUDIO=\"a\"\nv/hi.m3u8\n");
    auto item = PlayerItem::create(master);
    auto player = Player::create(item);
    settle();
    ASSERT_EQ(item->status(), PlayerItem::Status::ReadyToPlay) << item->error()->localizedDescription();
    EXPECT_DOUBLE_EQ(item->duration(), 8.0);
    EXPECT_TRUE(item->asset()->hasVideo());
    EXPECT_EQ(item->selectedAudibleOption()->languageCode, "de") << "the stream's default";
    EXPECT_FALSE(item->selectedLegibleOption()) << "subtitles stay off unless asked";

    EXPECT_TRUE(item->selectAudibleOption("EN"));
    EXPECT_EQ(item->selectedAudibleOption()->displayName, "English");
    EXPECT_FALSE(item->selectAudibleOption("fr"));
    EXPECT_EQ(item->selectedAudibleOption()->languageCode, "en");
    EXPECT_TRUE(item->selectLegibleOption("en"));
    EXPECT_TRUE(item->selectLegibleOption(std::nullopt));
    EXPECT_FALSE(item->selectedLegibleOption());

    EXPECT_EQ(item->currentVariant()->height, 1080);
    item->setPreferredPeakBitRate(1000000);
    EXPECT_EQ(item->currentVariant()->height, 360);
    item->setPreferredPeakBitRate(1000);
    EXPECT_EQ(item->currentVariant()->height, 360) << "nothing fits: the leanest";
}

} // namespace
