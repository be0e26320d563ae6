#include "platform/base/Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using base::RunLoop;
using base::Timer;

class TimerTest : public testing::Test {
protected:
    void SetUp() override { RunLoop::main().reset(); }
    void TearDown() override { RunLoop::main().reset(); }
};

struct TickCase {
    const char* name;
    double interval;
    bool repeats;
    std::vector<double> advances;
    int expectedTicks;
};

void PrintTo(const TickCase& c, std::ostream* out)
{
    *out << c.name << ": every " << c.interval << " s" << (c.repeats ? " repeating" : " once") << ", advance by";
    for (double step : c.advances)
        *out << ' ' << step;
    *out << " -> " << c.expectedTicks << " ticks";
}

class TimerTicks : public TimerTest, public testing::WithParamInterface<TickCase> { };

TEST_P(TimerTicks, TicksOncePerInterval)
{
    int ticks = 0;
    auto timer = Timer::scheduled(GetParam().interval, GetParam().repeats, [&](Timer&) { ++ticks; });
    for (double step : GetParam().advances)
        RunLoop::main().advanceBy(step);
    EXPECT_EQ(ticks, GetParam().expectedTicks);
    EXPECT_EQ(timer->fireCount(), uint64_t(GetParam().expectedTicks));
}

INSTANTIATE_TEST_SUITE_P(Cases, TimerTicks,
    testing::Values(TickCase { "repeatingOneLongAdvance", 10, true, { 30 }, 3 },
        TickCase { "repeatingSmallSteps", 10, true, std::vector<double>(12, 2.5), 3 },
        TickCase { "repeatingJustShort", 10, true, { 9.999 }, 0 },
        TickCase { "repeatingExactlyOne", 10, true, { 10 }, 1 },
        TickCase { "repeatingStepsLandingOnTicks", 10, true, { 10, 10, 10, 10 }, 4 },
        TickCase { "decimalInterval", 0.1, true, { 0.3 }, 3 },
        TickCase { "decimalIntervalSteps", 0.1, true, std::vector<double>(10, 0.1), 10 },
        TickCase { "decimalIntervalManyTicks", 0.1, true, { 100 }, 1000 },
        TickCase { "oneShotOnlyOnce", 10, false, { 30 }, 1 },
        TickCase { "oneShotNotYet", 10, false, { 5 }, 0 },
        TickCase { "runUntilIdleDoesNotTick", 10, true, {}, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TimerTest, TicksAtMultiplesOfTheIntervalFromItsStart)
{
    RunLoop::main().advanceBy(3);
    std::vector<double> at;
    auto timer = Timer::scheduled(10, true, [&](Timer&) { at.push_back(RunLoop::main().now()); });
    EXPECT_EQ(timer->nextFireTime(), 13);
    RunLoop::main().advanceBy(35);
    EXPECT_EQ(at, (std::vector<double> { 13, 23, 33 }));
    EXPECT_EQ(timer->nextFireTime(), 43);
}

TEST_F(TimerTest, InvalidateStopsIt)
{
    int ticks = 0;
    auto fromOutside = Timer::scheduled(1, true, [&](Timer&) { ++ticks; });
    auto fromInside = Timer::scheduled(1, true, [&](Timer& self) {
        ticks += 100;
        self.invalidate();
    });
    RunLoop::main().advanceBy(1.5);
    fromOutside->invalidate();
    RunLoop::main().advanceBy(5);
    EXPECT_EQ(ticks, 101);
    EXPECT_FALSE(fromOutside->isValid());
    EXPECT_FALSE(fromInside->isValid());
    EXPECT_EQ(RunLoop::main().pendingCount(), 0u);
}

TEST_F(TimerTest, DroppingTheLastReferenceInvalidates)
{
    int ticks = 0;
    auto timer = Timer::scheduled(1, true, [&](Timer&) { ++ticks; });
    RunLoop::main().advanceBy(1);
    timer.reset();
    EXPECT_EQ(RunLoop::main().pendingCount(), 0u);
    RunLoop::main().advanceBy(10);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, CallbackMayDropTheLastReference)
{
    int ticks = 0;
    std::shared_ptr<Timer> timer;
    timer = Timer::scheduled(1, true, [&](Timer& self) {
        ++ticks;
        timer.reset();
        EXPECT_TRUE(self.isValid()) << "alive until the callback returns";
    });
    RunLoop::main().advanceBy(5);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, FireRunsNowWithoutMovingTheSchedule)
{
    std::vector<std::string> log;
    auto repeating = Timer::scheduled(
        10, true, [&](Timer&) { log.push_back("r@" + std::to_string(int(RunLoop::main().now()))); });
    auto oneShot = Timer::scheduled(
        10, false, [&](Timer&) { log.push_back("o@" + std::to_string(int(RunLoop::main().now()))); });
    RunLoop::main().advanceBy(4);
    repeating->fire();
    oneShot->fire();
    EXPECT_FALSE(oneShot->isValid()) << "firing a one-shot timer uses it up";
    oneShot->fire();
    RunLoop::main().advanceBy(16);
    EXPECT_EQ(log, (std::vector<std::string> { "r@4", "o@4", "r@10", "r@20" }));
}

TEST_F(TimerTest, InvalidateLetsGoOfTheCallbacksCaptures)
{
    // A callback capturing its owner must not keep it alive once the timer is done.
    auto captured = std::make_shared<int>(0);
    std::weak_ptr<int> watch = captured;
    auto repeating = Timer::scheduled(1, true, [captured](Timer&) { ++*captured; });
    auto oneShot = Timer::scheduled(1, false, [captured](Timer&) { ++*captured; });
    captured.reset();
    RunLoop::main().advanceBy(1);
    EXPECT_FALSE(watch.expired());
    repeating->invalidate();
    EXPECT_TRUE(watch.expired()) << "the one-shot let go when it fired, the repeating one when invalidated";
}

TEST_F(TimerTest, NonPositiveIntervalsAreRaisedSoTheLoopStaysBounded)
{
    for (double interval : { 0.0, -5.0, std::nan("") }) {
        RunLoop::main().reset();
        RunLoop::main().setTaskLimit(1000);
        int ticks = 0;
        auto timer = Timer::scheduled(interval, true, [&](Timer&) { ++ticks; });
        EXPECT_EQ(timer->interval(), Timer::minimumInterval);
        RunLoop::main().advanceBy(3600);
        EXPECT_TRUE(RunLoop::main().lastRunHitLimit());
        EXPECT_EQ(ticks, 1000);
    }
}

TEST_F(TimerTest, RealTimeLoopSkipsMissedTicksInsteadOfBursting)
{
    RunLoop::main().setRealTime(true);
    int ticks = 0;
    auto timer = Timer::scheduled(0.01, true, [&](Timer&) { ++ticks; });
    std::this_thread::sleep_for(std::chrono::milliseconds(60)); // about six intervals late
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(ticks, 1);
    EXPECT_GT(timer->nextFireTime(), RunLoop::main().now() - 0.001);
}

} // namespace
