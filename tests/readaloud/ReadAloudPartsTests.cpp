// The pieces of read-aloud on their own: the option tables, the synchroniser's timing,
// the speed list and the mode chooser.

#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "LectoroSDKWithReader/media/readaloud/ReadAloudOptions.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

TEST(ReadAloudOptions, ModesAndSpeedsAcceptOnlyTheirRawValues)
{
    EXPECT_FALSE(readAloudModeFromRawValue(0));
    EXPECT_EQ(readAloudModeFromRawValue(2), ReadAloudModeReadToMe);
    EXPECT_FALSE(readAloudModeFromRawValue(4));
    EXPECT_FALSE(audioSyncSpeedRateOptionFromRawValue(0));
    EXPECT_EQ(audioSyncSpeedRateOptionFromRawValue(4), AudioSyncSpeedRateOption::doubleSpeed);
    EXPECT_FALSE(audioSyncSpeedRateOptionFromRawValue(5));
    const float rates[] = { 0.5f, 1.0f, 1.5f, 2.0f };
    for (int option = 1; option <= 4; ++option)
        EXPECT_FLOAT_EQ(audioSyncSpeedRate(option), rates[option - 1]) << option;
    EXPECT_EQ(audioSyncSpeedOptionTitle(2), "1");
    EXPECT_EQ(audioSyncSpeedOptionTitle(3), "1.5");
}

TEST(ReadAloudOptions, ColoursPairByIndexIgnoringLetterCase)
{
    EXPECT_EQ(audioSyncSwatchIndex("#c061ff"), 2u);
    EXPECT_EQ(audioSyncHighlightIndex("#DFAFFF"), 2u);
    EXPECT_FALSE(audioSyncSwatchIndex("#DFAFFF"));
    EXPECT_FALSE(audioSyncSwatchIndex(""));
    EXPECT_EQ(audioSyncSwatchForHighlight("#7fcde3"), "#009CC7");
    EXPECT_EQ(audioSyncSwatchForHighlight("nonsense"), "#D17D00");
}

class ReadAloudSyncRecorder : public AudioSyncControllerDelegate {
public:
    std::vector<std::string> events;
    void didJumpToTextWithFrame(const ui::Rect& frame, const std::string& page) override
    {
        events.push_back("word " + page + " " + std::to_string(int(frame.origin.x)) + "@"
            + std::to_string(base::RunLoop::main().now()).substr(0, 4));
    }
    void didJumpToSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>& frames, const std::string&) override
    {
        events.push_back("sentence " + std::to_string(frames ? frames->size() : 0));
    }
    void didJumpToTextWithWordId(const std::string& wordId, const std::string& page) override
    {
        events.push_back("id " + wordId + " " + page);
    }
    void audioSyncdidCompleteForPageIdentifier(const std::string& page) override
    {
        events.push_back("done " + page + "@" + std::to_string(base::RunLoop::main().now()).substr(0, 4));
    }
};

std::shared_ptr<PXLinkVO> readAloudLink(const std::string& page, base::Value::List words)
{
    auto link = std::make_shared<PXLinkVO>();
    link->pageID = page;
    link->boxTansformedRect = ui::Rect { { 100, 50 }, { 90, 10 } };
    link->audioSync = base::Value(std::move(words));
    return link;
}

base::Value readAloudEntry(const char* text, double start, double end)
{
    return base::Value::Dictionary { { "text", text }, { "start", start }, { "end", end } };
}

class ReadAloudSync : public ::testing::Test {
protected:
    void SetUp() override { m_start = base::RunLoop::main().now(); }
    double at(double seconds) { return m_start + seconds; }
    void advanceTo(double seconds) { base::RunLoop::main().advanceBy(at(seconds) - base::RunLoop::main().now()); }

    std::shared_ptr<ReadAloudSyncRecorder> m_recorder = std::make_shared<ReadAloudSyncRecorder>();
    double m_start = 0;
};

TEST_F(ReadAloudSync, ReportsSentencesWordsAndTheEndOnTheClockAtTheRate)
{
    auto sync = AudioSyncController::create(
        { readAloudLink("12", { readAloudEntry("Hi.", 0, 0.5), readAloudEntry("Go", 1.0, 1.4),
              readAloudEntry("now", 1.4, 2.0), base::Value::Dictionary { { "text", "bad" } } }) },
        m_recorder, nullptr, false);
    ASSERT_EQ(sync->words().size(), 3u) << "an entry without a start is skipped";
    // The box is shared by length + 1: "Hi." 4, "Go" 3, "now" 4 of 11 units.
    EXPECT_DOUBLE_EQ(sync->words()[1].frame.origin.x, 100 + 90.0 * 4 / 11);
    sync->changeAudioPlayingSpeed(2.0f);
    sync->start();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_recorder->events, (std::vector<std::string> { "sentence 1", "word 12 100@" + std::to_string(at(0)).substr(0, 4) }));
    advanceTo(0.6); // 1.2 s of narration at twice the speed
    ASSERT_EQ(m_recorder->events.size(), 4u);
    EXPECT_EQ(m_recorder->events[2], "sentence 2");
    sync->pause();
    base::RunLoop::main().advanceBy(5);
    EXPECT_EQ(m_recorder->events.size(), 4u) << "paused narration reports nothing";
    EXPECT_FALSE(sync->isPlaying());
    sync->resume();
    base::RunLoop::main().advanceBy(1);
    ASSERT_EQ(m_recorder->events.size(), 6u);
    EXPECT_EQ(m_recorder->events[5].substr(0, 7), "done 12");
    EXPECT_FALSE(sync->isPlaying());
}

TEST_F(ReadAloudSync, WordTapsMoveNarrationAndStopCancelsIt)
{
    base::Value::List chapter;
    chapter.push_back(base::Value::Dictionary { { "wordId", "w1" }, { "start", 0.0 }, { "end", 1.0 } });
    chapter.push_back(base::Value::Dictionary { { "wordId", "w2" }, { "start", 5.0 }, { "end", 6.0 } });
    auto sync = AudioSyncController::create(base::Value(chapter), m_recorder, nullptr, "ch.xhtml", false);
    sync->start();
    base::RunLoop::main().runUntilIdle();
    sync->playAudioFromWordId("w2");
    sync->playAudioFromWordId("missing");
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_recorder->events, (std::vector<std::string> { "id w1 ch.xhtml", "id w2 ch.xhtml" }));
    sync->stop();
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(m_recorder->events.size(), 2u);
    sync->changeAudioPlayingSpeed(0.0f);
    EXPECT_FLOAT_EQ(sync->rate(), 1.0f) << "a rate of zero keeps the rate";
}

TEST_F(ReadAloudSync, ReleasingTheControllerFromItsEndReportIsSafe)
{
    class Releaser : public AudioSyncControllerDelegate {
    public:
        std::shared_ptr<AudioSyncController> held;
        int ends = 0;
        void audioSyncdidCompleteForPageIdentifier(const std::string&) override
        {
            ++ends;
            held.reset();
        }
    };
    auto releaser = std::make_shared<Releaser>();
    releaser->held = AudioSyncController::create({ readAloudLink("3", { readAloudEntry("a", 0, 0.1) }) }, releaser,
        nullptr, false);
    releaser->held->start();
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(releaser->ends, 1);
    EXPECT_FALSE(releaser->held);
}

class ReadAloudSpeedRecorder : public MVSpeedSelectionOptionsDelegate {
public:
    std::vector<int64_t> options;
    void speedOptionSelectedWithOption(int64_t option) override { options.push_back(option); }
};

TEST(ReadAloudSpeedList, SizesPerDeviceAndATapRemovesTheListBeforeReporting)
{
    uitest::UIScope scope;
    struct Case {
        ui::UserInterfaceIdiom idiom;
        double width, height, circle, margin;
    };
    const Case cases[] = { { ui::UserInterfaceIdiom::Pad, 50, 224, 40, 15 }, { ui::UserInterfaceIdiom::Phone, 45, 172, 35, 7 } };
    for (const auto& c : cases) {
        scope.environment().setIdiom(c.idiom);
        auto list = MVSpeedSelectionOptionsView::create();
        EXPECT_EQ(list->preferredSize(), (ui::Size { c.width, c.height }));
        ASSERT_EQ(list->optionsArray().size(), 4u);
        EXPECT_DOUBLE_EQ(list->optionsArray()[0]->frame().origin.y, c.margin);
        EXPECT_DOUBLE_EQ(list->optionsArray()[1]->frame().origin.y, 2 * c.margin + c.circle);
        EXPECT_DOUBLE_EQ(list->optionsArray()[3]->frame().size.width, c.circle);
    }
    auto parent = ui::View::create();
    auto list = MVSpeedSelectionOptionsView::create();
    auto recorder = std::make_shared<ReadAloudSpeedRecorder>();
    bool removedFirst = false;
    class Checker : public MVSpeedSelectionOptionsDelegate {
    public:
        MVSpeedSelectionOptionsView* list = nullptr;
        bool* removedFirst = nullptr;
        std::shared_ptr<ReadAloudSpeedRecorder> next;
        void speedOptionSelectedWithOption(int64_t option) override
        {
            *removedFirst = !list->superview();
            next->speedOptionSelectedWithOption(option);
        }
    };
    auto checker = std::make_shared<Checker>();
    checker->list = list.get();
    checker->removedFirst = &removedFirst;
    checker->next = recorder;
    list->setDelegate(checker);
    parent->addSubview(list);
    list->optionsArray()[2]->sendActions(ui::ControlEvent::TouchUpInside);
    EXPECT_TRUE(removedFirst);
    EXPECT_EQ(recorder->options, (std::vector<int64_t> { 3 }));
    // With no delegate a tap only removes the list.
    parent->addSubview(list);
    list->setDelegate(nullptr);
    list->optionsArray()[0]->sendActions(ui::ControlEvent::TouchUpInside);
    EXPECT_FALSE(list->superview());
}

class ReadAloudChooserRecorder : public MVReadToMeViewControllerDelegates {
public:
    std::vector<std::string> calls;
    void didCloseReadToMeView() override { calls.push_back("close"); }
    void didTapOnReadToMeForReadAloud() override { calls.push_back("readToMe"); }
    void didTapOnAutoPlayForReadAloud() override { calls.push_back("autoPlay"); }
    void didTapOnLetMeReadForReadAloud() override { calls.push_back("letMeRead"); }
};

TEST(ReadAloudChooser, TheModeInForceIsDisabledAndDescriptionsActLikeTheirCircles)
{
    uitest::UIScope scope;
    struct Case {
        int64_t mode;
        bool letMeRead, autoPlay, readToMe;
    };
    const Case cases[] = { { 0, true, true, true }, { 1, false, true, true }, { 2, true, true, false },
        { 3, true, false, true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        auto chooser = MVReadToMeViewController::create(c.mode);
        chooser->view();
        EXPECT_EQ(chooser->letMeReadButton()->isEnabled(), c.letMeRead);
        EXPECT_EQ(chooser->letMeReadDetailsView()->isEnabled(), c.letMeRead);
        EXPECT_EQ(chooser->autoPlayButton()->isEnabled(), c.autoPlay);
        EXPECT_EQ(chooser->readToMeButton()->isEnabled(), c.readToMe);
        EXPECT_DOUBLE_EQ(chooser->readToMeButton()->alpha(), c.readToMe ? 1.0 : 0.5);
    }
    auto chooser = MVReadToMeViewController::create(1);
    auto recorder = std::make_shared<ReadAloudChooserRecorder>();
    chooser->setDelegate(recorder);
    chooser->view();
    chooser->autoPlayDetailsView()->sendActions(ui::ControlEvent::TouchUpInside);
    chooser->readToMeButton()->sendActions(ui::ControlEvent::TouchUpInside);
    EXPECT_EQ(recorder->calls, (std::vector<std::string> { "autoPlay", "readToMe" }));
    EXPECT_FALSE(chooser->gestureRecognizerShouldReceiveTouch(chooser->letMeReadTitleLabel().get()));
    EXPECT_FALSE(chooser->gestureRecognizerShouldReceiveTouch(chooser->readToMeTopView().get()));
    EXPECT_TRUE(chooser->gestureRecognizerShouldReceiveTouch(chooser->view().get()));
    EXPECT_TRUE(chooser->gestureRecognizerShouldReceiveTouch(nullptr));
    EXPECT_EQ(chooser->letMeReadDetailsView()->accessibilityIdentifier(), "ReadAloudMode");
    EXPECT_EQ(chooser->letMeReadDetailsView()->accessibilityLabel(),
        chooser->letMeReadTitleLabel()->text() + chooser->letMeReadMessage()->text());
}

TEST(ReadAloudChooser, ClosingTellsTheDelegateFirstThenDismisses)
{
    uitest::UIScope scope;
    auto host = ui::ViewController::create();
    scope.window()->addSubview(host->view());
    auto chooser = MVReadToMeViewController::create(2);
    auto recorder = std::make_shared<ReadAloudChooserRecorder>();
    chooser->setDelegate(recorder);
    host->presentViewController(chooser, false);
    uitest::completePresentations();
    chooser->handleSingleTapWithGesture();
    uitest::completePresentations();
    EXPECT_EQ(recorder->calls, (std::vector<std::string> { "close" }));
    EXPECT_FALSE(host->presentedViewController());
}

} // namespace
} // namespace lectoro
