#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using base::RunLoop;

struct OrderCase {
    const char* name;
    std::vector<std::pair<std::string, double>> posts; // label, delay (negative: post())
    double advance;
    std::vector<std::string> expected;
};

void PrintTo(const OrderCase& c, std::ostream* out)
{
    *out << c.name << ": post";
    for (const auto& [label, delay] : c.posts)
        *out << ' ' << label << '@' << delay;
    *out << ", advance by " << c.advance << ", expect";
    for (const auto& label : c.expected)
        *out << ' ' << label;
}

class RunLoopOrder : public testing::TestWithParam<OrderCase> { };

TEST_P(RunLoopOrder, RunsByDueTimeThenPostingOrder)
{
    RunLoop loop;
    std::vector<std::string> ran;
    for (const auto& [label, delay] : GetParam().posts) {
        auto task = [&ran, label = label] { ran.push_back(label); };
        if (delay < 0)
            loop.post(task);
        else
            loop.postDelayed(delay, task);
    }
    loop.advanceBy(GetParam().advance);
    EXPECT_EQ(ran, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RunLoopOrder,
    testing::Values(OrderCase { "immediateInPostingOrder", { { "a", -1 }, { "b", -1 }, { "c", 0 } }, 0,
                        { "a", "b", "c" } },
        OrderCase {
            "byDueTime", { { "late", 0.5 }, { "now", -1 }, { "soon", 0.2 } }, 1, { "now", "soon", "late" } },
        OrderCase { "sameDueTimeKeepsPostingOrder",
            { { "a", 0.5 }, { "b", 0 }, { "c", 0.5 }, { "d", 0.2 }, { "e", 0.5 } }, 1,
            { "b", "d", "a", "c", "e" } },
        OrderCase { "notYetDue", { { "a", 0.2 }, { "b", 2 } }, 1, { "a" } },
        OrderCase { "dueExactlyAtTheEnd", { { "a", 1 } }, 1, { "a" } },
        OrderCase { "negativeDelayIsNow", { { "later", 0.1 }, { "neg", -0.5 } }, 0, { "neg" } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunLoop, RunUntilIdleRunsDueWorkIncludingFollowUpsWithoutMovingTheClock)
{
    RunLoop loop;
    std::vector<std::string> ran;
    loop.post([&] {
        ran.push_back("first");
        loop.post([&] {
            ran.push_back("follow-up");
            loop.post([&] { ran.push_back("follow-up 2"); });
        });
        loop.postDelayed(0.1, [&] { ran.push_back("delayed"); });
    });
    EXPECT_EQ(loop.runUntilIdle(), 3u);
    EXPECT_EQ(ran, (std::vector<std::string> { "first", "follow-up", "follow-up 2" }));
    EXPECT_EQ(loop.now(), 0);
    EXPECT_EQ(loop.pendingCount(), 1u);
}

TEST(RunLoop, AdvanceByStopsAtEachDueTime)
{
    RunLoop loop;
    std::vector<std::pair<std::string, double>> ran;
    auto record = [&](std::string label) { ran.emplace_back(std::move(label), loop.now()); };
    loop.postDelayed(1, [&] {
        record("1");
        // Relative to the moment it runs, not to the start of advanceBy.
        loop.postDelayed(2, [&] { record("1+2"); });
        loop.post([&] { record("1+0"); });
    });
    loop.postDelayed(2.5, [&] { record("2.5"); });
    loop.advanceBy(5);
    std::vector<std::pair<std::string, double>> expected { { "1", 1 }, { "1+0", 1 }, { "2.5", 2.5 },
        { "1+2", 3 } };
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(loop.now(), 5);
}

TEST(RunLoop, DecimalDelaysAddingUpDoNotLoseATask)
{
    RunLoop loop;
    int ran = 0;
    std::function<void()> chain = [&] {
        if (++ran < 3)
            loop.postDelayed(0.1, chain);
    };
    loop.postDelayed(0.1, chain);
    loop.advanceBy(0.3); // 0.1 + 0.1 + 0.1 is a hair above 0.3
    EXPECT_EQ(ran, 3);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(RunLoop, Cancel)
{
    RunLoop loop;
    int ran = 0;
    RunLoop::TaskId keep = loop.postDelayed(1, [&] { ran += 1; });
    RunLoop::TaskId drop = loop.postDelayed(1, [&] { ran += 10; });
    EXPECT_NE(keep, 0u);
    EXPECT_TRUE(loop.cancel(drop));
    EXPECT_FALSE(loop.cancel(drop)) << "a second cancel has nothing left to cancel";
    EXPECT_FALSE(loop.cancel(0));
    EXPECT_FALSE(loop.cancel(987654));
    loop.advanceBy(1);
    EXPECT_EQ(ran, 1);
    EXPECT_FALSE(loop.cancel(keep)) << "already ran";
}

TEST(RunLoop, ATaskCanCancelALaterOneDueAtTheSameTime)
{
    RunLoop loop;
    std::vector<int> ran;
    RunLoop::TaskId second = 0;
    loop.postDelayed(1, [&] {
        ran.push_back(1);
        EXPECT_TRUE(loop.cancel(second));
    });
    second = loop.postDelayed(1, [&] { ran.push_back(2); });
    loop.advanceBy(1);
    EXPECT_EQ(ran, std::vector<int> { 1 });
}

TEST(RunLoop, TasksOfAGoneOwnerAreDroppedUnrun)
{
    RunLoop loop;
    std::vector<std::string> ran;
    auto alive = std::make_shared<int>(1);
    auto dying = std::make_shared<int>(2);
    loop.post(alive, [&] { ran.push_back("alive now"); });
    loop.post(dying, [&] { ran.push_back("dying now"); });
    loop.postDelayed(1, alive, [&] { ran.push_back("alive later"); });
    loop.postDelayed(1, dying, [&] { ran.push_back("dying later"); });
    loop.post(std::weak_ptr<int>(), [&] { ran.push_back("never had an owner"); });
    dying.reset();
    loop.advanceBy(1);
    EXPECT_EQ(ran, (std::vector<std::string> { "alive now", "alive later" }));
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(RunLoop, OwnerStaysAliveWhileItsTaskRuns)
{
    RunLoop loop;
    struct Owner {
        std::vector<int> log;
    };
    auto owner = std::make_shared<Owner>();
    std::weak_ptr<Owner> weak = owner;
    std::shared_ptr<Owner>* holder = &owner;
    loop.post(owner, [&] {
        holder->reset(); // the last outside reference goes while the task still runs
        ASSERT_FALSE(weak.expired());
        weak.lock()->log.push_back(1);
    });
    loop.runUntilIdle();
    EXPECT_TRUE(weak.expired());
}

TEST(RunLoop, SelfRepostingTaskIsBoundedAndReported)
{
    RunLoop loop;
    loop.setTaskLimit(50);
    size_t ran = 0;
    std::function<void()> forever = [&] {
        ++ran;
        loop.post(forever);
    };
    loop.post(forever);
    EXPECT_EQ(loop.runUntilIdle(), 50u);
    EXPECT_TRUE(loop.lastRunHitLimit());
    EXPECT_EQ(ran, 50u);
    EXPECT_EQ(loop.pendingCount(), 1u);

    loop.reset();
    loop.post([] {});
    loop.runUntilIdle();
    EXPECT_FALSE(loop.lastRunHitLimit());
}

TEST(RunLoop, AdvanceByLeavesTheClockWhereTheLimitStoppedIt)
{
    RunLoop loop;
    loop.setTaskLimit(10);
    std::function<void()> every = [&] { loop.postDelayed(0.01, every); };
    loop.postDelayed(0.01, every);
    EXPECT_EQ(loop.advanceBy(100), 10u);
    EXPECT_TRUE(loop.lastRunHitLimit());
    EXPECT_NEAR(loop.now(), 0.1, 1e-9);
}

TEST(RunLoop, ResetDropsTasksAndRewindsTheClock)
{
    RunLoop loop;
    bool ran = false;
    RunLoop::TaskId before = loop.postDelayed(3, [&] { ran = true; });
    loop.advanceBy(1);
    loop.reset();
    EXPECT_EQ(loop.now(), 0);
    EXPECT_EQ(loop.pendingCount(), 0u);
    RunLoop::TaskId after = loop.post([] {});
    EXPECT_NE(before, after) << "ids are not reused, so a stale id cannot cancel new work";
    EXPECT_FALSE(loop.cancel(before));
    loop.advanceBy(10);
    EXPECT_FALSE(ran);
}

TEST(RunLoop, DroppedTasksMayPostFromTheirDestructors)
{
    // Captures are destroyed outside the loop's lock: a capture whose destructor posts
    // (or cancels) must not deadlock.
    RunLoop loop;
    struct PostsOnDestruction {
        RunLoop* loop = nullptr;
        ~PostsOnDestruction()
        {
            if (loop)
                loop->post([] {});
        }
    };
    auto capture = std::make_shared<PostsOnDestruction>();
    capture->loop = &loop;
    RunLoop::TaskId id = loop.post([capture] {});
    capture.reset();
    EXPECT_TRUE(loop.cancel(id));
    EXPECT_EQ(loop.pendingCount(), 1u);
}

TEST(RunLoop, PostsFromManyThreadsAllRunOnceInEachThreadsOrder)
{
    RunLoop loop;
    constexpr int threads = 8;
    constexpr int perThread = 500;
    std::vector<std::vector<int>> seen(threads);
    std::vector<std::thread> posters;
    for (int t = 0; t < threads; ++t) {
        posters.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i)
                loop.post([&seen, t, i] { seen[t].push_back(i); });
        });
    }
    for (auto& poster : posters)
        poster.join();
    loop.runUntilIdle();
    for (int t = 0; t < threads; ++t) {
        ASSERT_EQ(seen[t].size(), size_t(perThread));
        for (int i = 0; i < perThread; ++i)
            ASSERT_EQ(seen[t][i], i);
    }
}

TEST(RunLoop, VirtualRunUntilStopsWhenDoneOrAtTheTimeout)
{
    RunLoop loop;
    int ticks = 0;
    std::function<void()> tick = [&] {
        ++ticks;
        loop.postDelayed(1, tick);
    };
    loop.postDelayed(1, tick);
    EXPECT_TRUE(loop.runUntil([&] { return ticks == 3; }, 10));
    EXPECT_EQ(loop.now(), 3);

    EXPECT_FALSE(loop.runUntil([&] { return ticks == 100; }, 2.5));
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(loop.now(), 5.5);
    EXPECT_TRUE(loop.runUntil([] { return true; }, 10)) << "done before any task";
    EXPECT_EQ(loop.now(), 5.5);
}

TEST(RunLoop, RealTimeWakesForAPostFromAnotherThread)
{
    RunLoop loop;
    loop.setRealTime(true);
    std::atomic<bool> answered { false };
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.post([&] { answered = true; });
    });
    EXPECT_TRUE(loop.runUntil([&] { return answered.load(); }, 30));
    worker.join();
}

TEST(RunLoop, RealTimeRunsDelayedWorkAndStops)
{
    RunLoop loop;
    loop.setRealTime(true);
    std::vector<std::string> ran;
    // Before the posts: a delay counts from its post, and a busy machine can take a while
    // between them.
    double started = loop.now();
    loop.postDelayed(0.02, [&] { ran.push_back("second"); });
    loop.post([&] { ran.push_back("first"); });
    loop.postDelayed(0.03, [&] {
        ran.push_back("stop");
        loop.stop();
    });
    loop.postDelayed(600, [&] { ran.push_back("never"); });
    loop.runFor(600); // returns at stop()
    EXPECT_EQ(ran, (std::vector<std::string> { "first", "second", "stop" }));
    EXPECT_GE(loop.now() - started, 0.03);
}

TEST(RunLoop, SwitchingClocksKeepsTimeMovingForward)
{
    RunLoop loop;
    loop.advanceBy(100);
    loop.setRealTime(true);
    EXPECT_GE(loop.now(), 100);
    loop.setRealTime(false);
    double frozen = loop.now();
    EXPECT_GE(frozen, 100);
    EXPECT_EQ(loop.now(), frozen);
}

TEST(RunLoop, MainIsOneLoop)
{
    EXPECT_EQ(&RunLoop::main(), &RunLoop::main());
}

} // namespace
