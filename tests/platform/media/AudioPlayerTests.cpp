#include "MediaTestSupport.h"

#include "platform/media/AudioPlayer.h"
#include "platform/media/MediaError.h"

#include <gtest/gtest.h>

namespace {

using media::AudioPlayer;

class CountingDelegate : public media::AudioPlayerDelegate {
public:
    void audioPlayerDidFinishPlaying(AudioPlayer&, bool successfully) override { finishes.push_back(base::RunLoop::main().now() * (successfully ? 1 : -1)); }
    std::vector<double> finishes;
};

class AudioPlayerTest : public testing::Test {
protected:
    void SetUp() override { base::RunLoop::main().reset(); }
    void TearDown() override { base::RunLoop::main().reset(); }
    mediatest::TemporaryFolder folder;
};

TEST_F(AudioPlayerTest, aShortSoundPlaysToItsEndLoopsAndGoesBackToTheStart)
{
    auto made = AudioPlayer::create(folder.write("click.wav", mediatest::wavBytes(0.5)));
    ASSERT_TRUE(made.ok()) << made.error().localizedDescription();
    auto player = made.value();
    auto delegate = std::make_shared<CountingDelegate>();
    player->setDelegate(delegate);
    EXPECT_DOUBLE_EQ(player->duration(), 0.5);

    ASSERT_TRUE(player->play());
    base::RunLoop::main().advanceBy(0.25);
    EXPECT_DOUBLE_EQ(player->currentTime(), 0.25);
    base::RunLoop::main().advanceBy(1.0);
    EXPECT_EQ(delegate->finishes, std::vector<double> { 0.5 });
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->currentTime(), 0);

    player->setNumberOfLoops(2);
    player->play();
    base::RunLoop::main().advanceBy(2.0);
    EXPECT_EQ(delegate->finishes, (std::vector<double> { 0.5, 2.75 })) << "played three times over";

    player->setEnableRate(true);
    player->setRate(2.0f);
    player->setNumberOfLoops(0);
    player->play();
    base::RunLoop::main().advanceBy(0.2);
    player->pause();
    base::RunLoop::main().advanceBy(5);
    EXPECT_NEAR(player->currentTime(), 0.4, 1e-9);
    EXPECT_EQ(delegate->finishes.size(), 2u);
}

TEST_F(AudioPlayerTest, aMissingOrSoundlessFileIsAnErrorAtCreation)
{
    auto missing = AudioPlayer::create(folder.path() + "/gone.wav");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, media::urlErrorFileDoesNotExist);

    auto soundless = AudioPlayer::create(folder.write("chapters.txt", ";FFMETADATA1\ntitle=x\n"));
    ASSERT_FALSE(soundless.ok());
    EXPECT_EQ(soundless.error().code, media::errorFileFormatNotRecognized);
}

} // namespace
