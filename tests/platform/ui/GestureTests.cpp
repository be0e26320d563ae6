#include "platform/ui/Gesture.h"

#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

const char* stateName(GestureState state)
{
    switch (state) {
    case GestureState::Possible:
        return "possible";
    case GestureState::Began:
        return "began";
    case GestureState::Changed:
        return "changed";
    case GestureState::Ended:
        return "ended";
    case GestureState::Cancelled:
        return "cancelled";
    case GestureState::Failed:
        return "failed";
    }
    return "?";
}

struct RecordingGestureDelegate : GestureRecognizerDelegate {
    bool shouldBegin(GestureRecognizer&) override { return begin; }
    bool shouldReceiveTouch(GestureRecognizer&, View* touched) override
    {
        lastTouched = touched;
        return receive;
    }
    bool begin = true;
    bool receive = true;
    View* lastTouched = nullptr;
};

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view = View::create({ 0, 0, 100, 100 });
        m_child = View::create({ 50, 50, 50, 50 });
        m_view->addSubview(m_child);
    }

    template <typename Recognizer> std::shared_ptr<Recognizer> attach(std::shared_ptr<Recognizer> recognizer)
    {
        recognizer->addTarget([this](GestureRecognizer& r) { m_log.push_back(stateName(r.state())); });
        m_view->addGestureRecognizer(recognizer);
        return recognizer;
    }

    std::shared_ptr<View> m_view;
    std::shared_ptr<View> m_child;
    std::vector<std::string> m_log;
};

TEST_F(GestureTest, DiscreteGesturesAreRecognisedOnce)
{
    auto tap = attach(TapGestureRecognizer::create());
    EXPECT_TRUE(tap->simulate(GestureState::Ended, { 10, 10 }));
    EXPECT_EQ(tap->state(), GestureState::Ended);
    EXPECT_TRUE(tap->simulate(GestureState::Ended, { 10, 10 })); // a new tap
    EXPECT_EQ(m_log, (std::vector<std::string> { "ended", "ended" }));
    EXPECT_EQ(tap->locationInView(m_child.get()), Point(-40, -40));

    tap->setNumberOfTouchesRequired(2);
    EXPECT_FALSE(tap->simulate(GestureState::Ended, { 10, 10 }, 1));
    EXPECT_EQ(tap->state(), GestureState::Failed);
    EXPECT_FALSE(tap->simulate(GestureState::Ended, { 500, 10 }, 2)); // outside the view
    EXPECT_EQ(m_log.size(), 2u);
}

TEST_F(GestureTest, ContinuousGesturesReportEveryStep)
{
    auto pan = attach(PanGestureRecognizer::create());
    EXPECT_FALSE(pan->simulatePan(GestureState::Changed, { 10, 10 }, { 1, 0 })); // not began
    EXPECT_TRUE(pan->simulatePan(GestureState::Began, { 10, 10 }, { 0, 0 }));
    EXPECT_TRUE(pan->simulatePan(GestureState::Changed, { 30, 10 }, { 20, 0 }, { 100, 0 }));
    EXPECT_EQ(pan->translationInView(nullptr), Point(20, 0));
    EXPECT_EQ(pan->velocityInView(nullptr), Point(100, 0));
    EXPECT_TRUE(pan->simulatePan(GestureState::Ended, { 40, 10 }, { 30, 0 }));
    EXPECT_EQ(m_log, (std::vector<std::string> { "began", "changed", "ended" }));

    // Disabling a gesture in progress cancels it.
    m_log.clear();
    auto pinch = attach(PinchGestureRecognizer::create());
    pinch->simulatePinch(GestureState::Began, { 10, 10 }, 1);
    pinch->simulatePinch(GestureState::Changed, { 10, 10 }, 1.5);
    EXPECT_DOUBLE_EQ(pinch->scale(), 1.5);
    pinch->setEnabled(false);
    EXPECT_EQ(m_log, (std::vector<std::string> { "began", "changed", "cancelled" }));
    EXPECT_FALSE(pinch->simulatePinch(GestureState::Began, { 10, 10 }, 1));
}

TEST_F(GestureTest, TheDelegateCanRefuse)
{
    auto tap = attach(TapGestureRecognizer::create());
    auto delegate = std::make_shared<RecordingGestureDelegate>();
    tap->setDelegate(delegate);
    tap->simulate(GestureState::Ended, { 60, 60 });
    // The delegate is told which view was touched (the deepest one under the point).
    EXPECT_EQ(delegate->lastTouched, m_child.get());

    delegate->receive = false;
    EXPECT_FALSE(tap->simulate(GestureState::Ended, { 10, 10 }));
    EXPECT_EQ(tap->state(), GestureState::Possible);
    delegate->receive = true;
    delegate->begin = false;
    EXPECT_FALSE(tap->simulate(GestureState::Ended, { 10, 10 }));
    EXPECT_EQ(tap->state(), GestureState::Failed);
    EXPECT_EQ(m_log, std::vector<std::string> { "ended" });
}

TEST_F(GestureTest, RequireToFailHoldsBackWhileTheOtherRecognised)
{
    auto doubleTap = attach(TapGestureRecognizer::create());
    doubleTap->setNumberOfTapsRequired(2);
    auto singleTap = attach(TapGestureRecognizer::create());
    singleTap->requireToFail(doubleTap);
    doubleTap->simulate(GestureState::Ended, { 10, 10 });
    EXPECT_FALSE(singleTap->simulate(GestureState::Ended, { 10, 10 }));
    doubleTap->simulate(GestureState::Failed, { 10, 10 });
    EXPECT_TRUE(singleTap->simulate(GestureState::Ended, { 10, 10 }));
    EXPECT_EQ(singleTap->failureRequirements().size(), 1u);
}

TEST_F(GestureTest, SwipesOnlyInTheirDirections)
{
    auto swipe = attach(SwipeGestureRecognizer::create());
    EXPECT_EQ(swipe->direction(), static_cast<uint32_t>(SwipeDirection::Right));
    EXPECT_FALSE(swipe->simulateSwipe(SwipeDirection::Left, { 10, 10 }));
    swipe->setDirection(
        static_cast<uint32_t>(SwipeDirection::Left) | static_cast<uint32_t>(SwipeDirection::Up));
    EXPECT_TRUE(swipe->simulateSwipe(SwipeDirection::Left, { 10, 10 }));
    EXPECT_TRUE(swipe->simulateSwipe(SwipeDirection::Up, { 10, 10 }));
    EXPECT_EQ(m_log.size(), 2u);
}

TEST_F(GestureTest, ARecogniserBelongsToOneViewAndNeedsOne)
{
    auto tap = TapGestureRecognizer::create([](GestureRecognizer&) {});
    EXPECT_FALSE(tap->simulate(GestureState::Ended, { 1, 1 }));
    m_view->addGestureRecognizer(tap);
    m_child->addGestureRecognizer(tap);
    EXPECT_TRUE(m_view->gestureRecognizers().empty());
    EXPECT_EQ(tap->view(), m_child);
    m_child->removeGestureRecognizer(tap.get());
    EXPECT_EQ(tap->view(), nullptr);

    auto longPress = LongPressGestureRecognizer::create();
    EXPECT_DOUBLE_EQ(longPress->minimumPressDuration(), 0.5);
    EXPECT_TRUE(longPress->isContinuous());
}

} // namespace
} // namespace ui
