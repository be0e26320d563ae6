// The pieces of read-aloud on their own: the option tables, the speed list and the mode
// chooser. The synchroniser's tests are in ReadAloudNarrationTests.cpp.

#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "LectoroSDKWithReader/media/readaloud/ReadAloudOptions.h"
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
