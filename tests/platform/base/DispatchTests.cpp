#include "platform/base/Dispatch.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace base;

class DispatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        RunLoop::main().reset();
        setSynchronousForTesting(false);
    }
    void TearDown() override
    {
        waitForBackgroundWork();
        setSynchronousForTesting(false);
        RunLoop::main().reset();
    }
};

TEST_F(DispatchTest, GlobalQueueRunsEveryTaskOffTheMainThread)
{
    std::atomic<int> ran { 0 };
    std::atomic<int> onMain { 0 };
    for (int i = 0; i < 1000; ++i) {
        globalQueue().async([&] {
            ++ran;
            if (isMainThread())
                ++onMain;
        });
    }
    waitForBackgroundWork();
    EXPECT_EQ(ran, 1000);
    EXPECT_EQ(onMain, 0);
}

TEST_F(DispatchTest, ResultsHopBackToTheMainRunLoop)
{
    std::vector<int> results;
    bool deliveredOnMain = true;
    for (int i = 0; i < 10; ++i) {
        globalQueue().async([&, i] {
            int computed = i * i;
            RunLoop::main().post([&, computed] {
                deliveredOnMain = deliveredOnMain && isMainThread();
                results.push_back(computed);
            });
        });
    }
    waitForBackgroundWork();
    EXPECT_TRUE(results.empty()) << "nothing lands before the main loop runs";
    RunLoop::main().runUntilIdle();
    std::sort(results.begin(), results.end());
    EXPECT_EQ(results, (std::vector<int> { 0, 1, 4, 9, 16, 25, 36, 49, 64, 81 }));
    EXPECT_TRUE(deliveredOnMain);
}

TEST_F(DispatchTest, WaitForBackgroundWorkIncludesWorkSubmittedByWork)
{
    std::atomic<int> depth { 0 };
    SerialQueue serial("nested");
    std::function<void(int)> spawn = [&](int level) {
        ++depth;
        if (level < 5)
            globalQueue().async([&, level] { serial.async([&, level] { spawn(level + 1); }); });
    };
    globalQueue().async([&] { spawn(1); });
    waitForBackgroundWork();
    EXPECT_EQ(depth, 5);
}

TEST_F(DispatchTest, SerialQueueRunsOneAtATimeInOrder)
{
    SerialQueue queue("serial");
    std::vector<int> order; // no lock: the queue itself must serialise the tasks
    std::atomic<int> running { 0 };
    std::atomic<int> overlaps { 0 };
    for (int i = 0; i < 2000; ++i) {
        queue.async([&, i] {
            if (running.fetch_add(1) != 0)
                ++overlaps;
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    waitForBackgroundWork();
    EXPECT_EQ(overlaps, 0);
    ASSERT_EQ(order.size(), 2000u);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(order[i], i);
    EXPECT_EQ(queue.label(), "serial");
}

TEST_F(DispatchTest, SerialQueueTasksOutliveTheQueueObject)
{
    std::atomic<int> ran { 0 };
    {
        SerialQueue queue("short-lived");
        for (int i = 0; i < 100; ++i)
            queue.async([&] { ++ran; });
    }
    waitForBackgroundWork();
    EXPECT_EQ(ran, 100);
}

TEST_F(DispatchTest, AThrowingTaskDoesNotStopTheQueue)
{
    SerialQueue queue("throws");
    std::atomic<int> ran { 0 };
    queue.async([] { throw std::runtime_error("boom"); });
    queue.async([&] { ++ran; });
    globalQueue().async([] { throw 42; });
    globalQueue().async([&] { ++ran; });
    waitForBackgroundWork();
    EXPECT_EQ(ran, 2);
}

TEST_F(DispatchTest, GroupNotifiesOnTheMainLoopOnceAllWorkLeft)
{
    DispatchGroup group;
    ConcurrentQueue queue("lectoro.concurrent.queue");
    std::atomic<int> done { 0 };
    for (int i = 0; i < 50; ++i)
        group.async(queue, [&] { ++done; });
    int notified = 0;
    int doneWhenNotified = -1;
    group.notify([&] {
        ++notified;
        doneWhenNotified = done;
        EXPECT_TRUE(isMainThread());
    });
    group.wait();
    waitForBackgroundWork();
    EXPECT_EQ(notified, 0) << "delivered through the main loop, not on the worker";
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(doneWhenNotified, 50);
    EXPECT_EQ(group.count(), 0u);
}

TEST_F(DispatchTest, GroupEnterLeaveByHand)
{
    DispatchGroup group;
    std::vector<std::string> log;
    group.enter();
    group.enter();
    group.notify([&] { log.push_back("notified"); });
    group.leave();
    RunLoop::main().runUntilIdle();
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(group.wait(0.01));
    group.leave();
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(log, std::vector<std::string> { "notified" });
    EXPECT_TRUE(group.wait(0));

    group.notify([&] { log.push_back("already empty"); });
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(log.back(), "already empty");
}

TEST_F(DispatchTest, UnmatchedLeaveIsIgnored)
{
    DispatchGroup group;
    group.leave();
    EXPECT_EQ(group.count(), 0u);
    int notified = 0;
    group.enter();
    group.notify([&] { ++notified; });
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(notified, 0) << "the stray leave must not have been banked against this enter";
    group.leave();
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(notified, 1);
}

TEST_F(DispatchTest, GroupMayBeDestroyedWhileItsWorkRuns)
{
    std::atomic<bool> release { false };
    std::atomic<int> ran { 0 };
    {
        DispatchGroup group;
        group.async(globalQueue(), [&] {
            while (!release)
                std::this_thread::yield();
            ++ran;
        });
        group.notify([&] { ++ran; });
    }
    release = true;
    waitForBackgroundWork();
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(ran, 2);
}

TEST_F(DispatchTest, SynchronousModeRunsBackgroundWorkInline)
{
    setSynchronousForTesting(true);
    std::vector<std::string> log;
    SerialQueue serial("inline");
    DispatchGroup group;
    globalQueue().async([&] { log.push_back("global"); });
    serial.async([&] { log.push_back("serial"); });
    group.async(globalQueue(), [&] { log.push_back("group"); });
    group.notify([&] { log.push_back("notify"); });
    mainQueue().async([&] { log.push_back("main"); });
    EXPECT_EQ(log, (std::vector<std::string> { "global", "serial", "group" }));
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(log, (std::vector<std::string> { "global", "serial", "group", "notify", "main" }));
}

TEST(Thread, MainThreadIsTheOneDrivingTheLoop)
{
    RunLoop::main();
    EXPECT_TRUE(isMainThread());
    bool onOther = true;
    std::thread([&] { onOther = isMainThread(); }).join();
    EXPECT_FALSE(onOther);
}

TEST(Thread, MarkMainThreadMovesIt)
{
    bool otherWasMain = false;
    std::thread([&] {
        markMainThread();
        otherWasMain = isMainThread();
    }).join();
    bool testThreadWasMain = isMainThread();
    markMainThread();
    EXPECT_TRUE(otherWasMain);
    EXPECT_FALSE(testThreadWasMain);
    EXPECT_TRUE(isMainThread());
}

#ifndef NDEBUG
TEST(ThreadDeathTest, AssertAbortsOffTheMainThread)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto offMain = [] { std::thread([] { BASE_ASSERT_MAIN_THREAD(); }).join(); };
    EXPECT_DEATH(offMain(), "must be called on the main thread");
    BASE_ASSERT_MAIN_THREAD(); // and passes on it
}
#endif

} // namespace
