#include "platform/ui/Animation.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        AnimationLog::shared().clear();
    }
    void TearDown() override { base::RunLoop::main().reset(); }
};

TEST_F(AnimationTest, ChangesApplyAtOnceAndCompletionWaitsForTheDuration)
{
    auto view = View::create({ 0, 0, 100, 50 });
    std::vector<bool> finished;
    View::animate(
        0.5, [&] { view->setAlpha(0); }, [&](bool done) { finished.push_back(done); });
    EXPECT_DOUBLE_EQ(view->alpha(), 0);
    EXPECT_TRUE(finished.empty());
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(finished.empty());
    base::RunLoop::main().advanceBy(0.49);
    EXPECT_TRUE(finished.empty());
    EXPECT_EQ(AnimationLog::shared().pendingCompletions(), 1);
    base::RunLoop::main().advanceBy(0.01);
    EXPECT_EQ(finished, std::vector<bool> { true });
    EXPECT_EQ(AnimationLog::shared().pendingCompletions(), 0);
}

TEST_F(AnimationTest, DelayAddsToTheWaitAndTheLogKeepsWhatWasAsked)
{
    bool done = false;
    View::animate(
        0.4, 0.2, AnimationOptions::CurveEaseOut | AnimationOptions::BeginFromCurrentState, [] {},
        [&](bool) { done = true; });
    const AnimationRecord* record = AnimationLog::shared().last();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, AnimationRecord::Kind::View);
    EXPECT_DOUBLE_EQ(record->duration, 0.4);
    EXPECT_DOUBLE_EQ(record->delay, 0.2);
    EXPECT_TRUE(hasFlags(record->options, AnimationOptions::BeginFromCurrentState));
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_FALSE(done);
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_TRUE(done);
}

TEST_F(AnimationTest, ZeroAndNonsenseDurationsCompleteAtTheNextTurn)
{
    int done = 0;
    View::animate(
        0, [] {}, [&](bool) { ++done; });
    View::animate(
        -3, [] {}, [&](bool) { ++done; });
    View::animate(
        NAN, [] {}, [&](bool) { ++done; });
    EXPECT_EQ(done, 0);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(done, 3);
    EXPECT_DOUBLE_EQ(AnimationLog::shared().records()[1].duration, 0);
}

TEST_F(AnimationTest, WithoutAnimationCompletionsStillRunButAtOnce)
{
    bool done = false;
    EXPECT_TRUE(View::areAnimationsEnabled());
    View::performWithoutAnimation([&] {
        EXPECT_FALSE(View::areAnimationsEnabled());
        View::animate(
            2, [] {}, [&](bool) { done = true; });
    });
    EXPECT_TRUE(View::areAnimationsEnabled());
    EXPECT_FALSE(AnimationLog::shared().last()->animated);
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(done);
}

TEST_F(AnimationTest, TransitionsAndSpringsAreRecorded)
{
    auto view = View::create();
    bool done = false;
    View::transition(
        view, 0.3, AnimationOptions::TransitionCrossDissolve, [&] { view->setHidden(true); },
        [&](bool) { done = true; });
    EXPECT_TRUE(view->isHidden());
    const AnimationRecord* record = AnimationLog::shared().last();
    EXPECT_EQ(record->kind, AnimationRecord::Kind::Transition);
    EXPECT_EQ(record->view.lock(), view);
    EXPECT_EQ(record->options, AnimationOptions::TransitionCrossDissolve);
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_TRUE(done);

    animateWithSpring(0.6, 0, 0.8, 0.2, AnimationOptions::None, [] {});
    EXPECT_EQ(AnimationLog::shared().last()->kind, AnimationRecord::Kind::Spring);
    EXPECT_DOUBLE_EQ(AnimationLog::shared().last()->dampingRatio, 0.8);
}

TEST_F(AnimationTest, ACompletionOutlivesItsView)
{
    bool done = false;
    {
        auto view = View::create();
        std::weak_ptr<View> weak = view;
        View::animate(
            0.1, [&] { view->setAlpha(0.5); },
            [&, weak](bool finished) { done = finished && weak.expired(); });
    }
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_TRUE(done);
}

TEST_F(AnimationTest, LayerAnimationsAreKeptByKeyAndLogged)
{
    auto layer = Layer::create();
    layer->addAnimation({ "fade", "", "", 0.25, 0, 0, "easeInEaseOut" }, "transition");
    layer->addAnimation({ "push", "fromRight", "", 0.4, 0, 0, "" }, "transition");
    layer->addAnimation({ "", "", "opacity", 1, 0, 1, "" }, "opacity");
    EXPECT_EQ(layer->animationKeys(), (std::vector<std::string> { "transition", "opacity" }));
    EXPECT_EQ(layer->animationForKey("transition")->type, "push");
    EXPECT_EQ(AnimationLog::shared().count(), 3u);
    EXPECT_EQ(AnimationLog::shared().last()->layerKey, "opacity");
    layer->removeAnimationForKey("transition");
    EXPECT_FALSE(layer->animationForKey("transition"));
    layer->removeAllAnimations();
    EXPECT_TRUE(layer->animationKeys().empty());
}

} // namespace
} // namespace ui
