// The sleep timer through the sample audio book: the panel from the top bar, the countdown
// label, the pause when it runs out, the panel's memory, the end of the book.

#include "media/MediaPlayerTestSupport.h"

#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "platform/ui/TransitionCoordinator.h"

#include <limits>

using namespace mediatest;
using namespace lectoro;

namespace {

std::string sleepLabelText(MVLectoroMediaBookReader& reader)
{
    auto label = reader.audioPlayerVC()->sleepTimeLabel();
    return label ? label->text() : std::string("(none)");
}

} // namespace

class MediaSleepTimerTest : public MediaPlayerTest {
protected:
    std::shared_ptr<MVLectoroSleepTimerController> openSleepPanel()
    {
        EXPECT_TRUE(uitest::tap(*m_reader->sleepButton()));
        return m_reader->sleepTimerVC();
    }
    // Long chapters, so playing on for a minute stays in the first one.
    void lengthenChapters()
    {
        for (auto& chapter : chapters())
            chapter->avAssetTotalTime = 1000;
    }
};

TEST_F(MediaSleepTimerTest, ACustomTimeCountsDownAndPausesTheBook)
{
    openLongAudioBook();
    m_reader->setSleepTimerDelegate(m_listener);
    auto panel = openSleepPanel();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->parentViewController(), m_reader);
    panel->chooseCustomTime(60);

    EXPECT_FALSE(m_reader->sleepTimerVC());
    EXPECT_FALSE(panel->parentViewController());
    EXPECT_TRUE(m_reader->isSleepTimerRunning());
    EXPECT_EQ(m_reader->selectedSleepAction(), SleepAction::Custom);
    EXPECT_EQ(m_reader->selectedSleepTime(), 60.0);
    EXPECT_EQ(m_listener->calls, std::vector<std::string> { "sleepTimerSet" });
    EXPECT_EQ(m_reader->sleepButton()->backgroundColor(), m_reader->themeVO()->media_playerView_selected_icon_background());
    EXPECT_EQ(sleepLabelText(*m_reader), "00:01:00");

    // Keep the book playing for the whole minute: its ticks must not end it first.
    m_reader->mediaBookPlayer()->pause();
    m_reader->mediaBookPlayer()->play();
    advance(1.0);
    EXPECT_EQ(sleepLabelText(*m_reader), "00:00:59");
    advance(58.0);
    EXPECT_EQ(sleepLabelText(*m_reader), "00:00:01");
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
    advance(1.0);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Paused);
    EXPECT_FALSE(m_reader->isSleepTimerRunning());
    EXPECT_FALSE(m_reader->isSleepCountDownRunning());
    EXPECT_EQ(sleepLabelText(*m_reader), "(none)");
    EXPECT_FALSE(m_reader->selectedSleepAction());
    EXPECT_FALSE(m_reader->selectedSleepTime());
    EXPECT_EQ(m_reader->sleepButton()->backgroundColor(), ui::Color::clear());
}

TEST_F(MediaSleepTimerTest, SettingATimeWhilePausedPlaysOnAndTheFiringWhilePausedOnlyClears)
{
    openSampleAudioBook();
    m_reader->mediaBookPlayer()->pause();
    lengthenChapters();
    openSleepPanel()->choose(SleepAction::FiveMinutes);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
    EXPECT_FALSE(m_reader->selectedSleepTime());

    m_reader->mediaBookPlayer()->pause();
    auto panel = openSleepPanel();
    // The panel opens showing the running choice.
    EXPECT_EQ(panel->selectedSleepAction(), SleepAction::FiveMinutes);
    advance(300.0);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Paused);
    EXPECT_FALSE(m_reader->isSleepTimerRunning());
    // The open panel is reset to no timer.
    EXPECT_EQ(panel->selectedSleepAction(), SleepAction::Off);
    EXPECT_EQ(panel->customSelectedTime(), 0.0);
}

TEST_F(MediaSleepTimerTest, APanelReopensWithTheRunningCustomTimeAndOffStopsIt)
{
    openLongAudioBook();
    m_reader->setSleepTimerDelegate(m_listener);
    openSleepPanel()->chooseCustomTime(600);
    auto panel = openSleepPanel();
    EXPECT_EQ(panel->selectedSleepAction(), SleepAction::Custom);
    EXPECT_EQ(panel->customSelectedTime(), 600.0);

    // A new time replaces the running one.
    panel->chooseCustomTime(120);
    advance(119.0);
    EXPECT_EQ(sleepLabelText(*m_reader), "00:00:01");

    openSleepPanel()->choose(SleepAction::Off);
    EXPECT_FALSE(m_reader->isSleepTimerRunning());
    EXPECT_FALSE(m_reader->sleepTimerVC());
    EXPECT_EQ(sleepLabelText(*m_reader), "(none)");
    EXPECT_EQ(m_listener->calls, (std::vector<std::string> { "sleepTimerSet", "sleepTimerSet", "sleepTimerOff" }));
    advance(5.0);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);

    // Closing the panel changes nothing else.
    openSleepPanel()->tapClose();
    EXPECT_FALSE(m_reader->sleepTimerVC());
}

TEST_F(MediaSleepTimerTest, ATimeThatIsNoPositiveNumberSetsNoTimer)
{
    openSampleAudioBook();
    m_reader->setSleepTimerDelegate(m_listener);
    openSleepPanel()->chooseCustomTime(600);
    for (double bad : { 0.0, -5.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() }) {
        openSleepPanel();
        m_reader->didSetAudioSleepTimerWithSelectedSleepTime(bad, SleepAction::Custom);
        EXPECT_FALSE(m_reader->isSleepTimerRunning()) << bad;
        EXPECT_FALSE(m_reader->sleepTimerVC()) << bad;
        EXPECT_FALSE(m_reader->selectedSleepTime()) << bad;
    }
    EXPECT_EQ(m_listener->calls, std::vector<std::string> { "sleepTimerSet" });
    advance(2.0);
    EXPECT_EQ(model().mediaCurrentState, CurrentState::Playing);
}

TEST_F(MediaSleepTimerTest, TheEndOfTheLastChapterStopsTheTimerAndDisablesTheButton)
{
    openSampleAudioBook();
    openSleepPanel()->chooseCustomTime(600);
    m_reader->didTapOnNextChapter();
    m_reader->didTapOnNextChapter();
    ASSERT_EQ(currentChapterTitle(), "The Morning After");
    auto total = model().currentChapter->avAssetTotalTime;
    m_reader->playerPlayingWithCurrentTime(total, total);
    EXPECT_FALSE(m_reader->sleepButton()->isEnabled());
    EXPECT_FALSE(m_reader->isSleepTimerRunning());

    // Seeking back from the very end brings the button back.
    model().currentTime = 1;
    m_reader->didSeekBarValueChanged();
    EXPECT_TRUE(m_reader->sleepButton()->isEnabled());
    model().currentTime = total;
    m_reader->didSeekBarValueChanged();
    EXPECT_FALSE(m_reader->sleepButton()->isEnabled());
}

TEST_F(MediaSleepTimerTest, ARunningTimerNeitherKeepsTheScreenNorOutlivesIt)
{
    openSampleAudioBook();
    openSleepPanel()->chooseCustomTime(30);
    std::weak_ptr<MVLectoroMediaBookReader> weak = m_reader;
    m_reader->didTapOnBack();
    // The sleep timer keeps running while the screen lives (closing the player leaves it).
    EXPECT_TRUE(m_reader->isSleepTimerRunning());
    m_reader.reset();
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(weak.expired());
    advance(60.0);
}

TEST_F(MediaSleepTimerTest, RotationClosesTheOpenPanels)
{
    openSampleAudioBook();
    openSleepPanel();
    m_reader->didTapOnNarrationSpeed(*m_reader->audioPlayerVC()->button("MediaNarrationSpeedButton"));
    ASSERT_TRUE(m_reader->sleepTimerVC());
    ASSERT_TRUE(m_reader->narrationSpeedController());
    auto coordinator = ui::TransitionCoordinator::create(ui::Size(844, 390), false);
    m_reader->viewWillTransitionToSize(ui::Size(844, 390), *coordinator);
    EXPECT_FALSE(m_reader->sleepTimerVC());
    EXPECT_FALSE(m_reader->narrationSpeedController());
}
