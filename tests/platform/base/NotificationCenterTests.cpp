#include "platform/base/NotificationCenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using base::Notification;
using base::NotificationCenter;
using base::ObserverToken;
using base::Value;

const int senderA = 0;
const int senderB = 1;

struct MatchCase {
    const char* name;
    std::string observedName;
    const void* observedObject;
    std::string postedName;
    const void* postedObject;
    bool delivered;
};

std::string senderText(const void* sender)
{
    if (!sender)
        return "any";
    return sender == &senderA ? "A" : "B";
}

void PrintTo(const MatchCase& c, std::ostream* out)
{
    *out << c.name << ": observe \"" << c.observedName << "\" from " << senderText(c.observedObject) << ", post \""
         << c.postedName << "\" from " << senderText(c.postedObject) << (c.delivered ? ", delivered" : ", not delivered");
}

class NotificationMatching : public testing::TestWithParam<MatchCase> { };

TEST_P(NotificationMatching, DeliversToMatchingObservers)
{
    NotificationCenter center;
    bool called = false;
    auto token = center.addObserver(
        GetParam().observedName, GetParam().observedObject, [&](const Notification&) { called = true; });
    center.post(GetParam().postedName, GetParam().postedObject);
    EXPECT_EQ(called, GetParam().delivered);
}

INSTANTIATE_TEST_SUITE_P(Cases, NotificationMatching,
    testing::Values(MatchCase { "sameNameAnySender", "Changed", nullptr, "Changed", &senderA, true },
        MatchCase { "sameNameNoSender", "Changed", nullptr, "Changed", nullptr, true },
        MatchCase { "otherName", "Changed", nullptr, "Other", nullptr, false },
        MatchCase { "nameIsCaseSensitive", "Changed", nullptr, "changed", nullptr, false },
        MatchCase { "sameSender", "Changed", &senderA, "Changed", &senderA, true },
        MatchCase { "otherSender", "Changed", &senderA, "Changed", &senderB, false },
        MatchCase { "senderWantedButNoneGiven", "Changed", &senderA, "Changed", nullptr, false },
        MatchCase { "emptyNameObservesAll", "", nullptr, "Anything", &senderB, true },
        MatchCase { "emptyNameStillFiltersSender", "", &senderA, "Anything", &senderB, false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NotificationCenter, DeliversInRegistrationOrderWithThePayload)
{
    NotificationCenter center;
    std::vector<std::string> log;
    std::optional<Notification> received;
    auto first = center.addObserver("Page", nullptr, [&](const Notification& n) {
        log.push_back("first");
        received = n;
    });
    auto second = center.addObserver("Page", nullptr, [&](const Notification&) { log.push_back("second"); });
    auto third = center.addObserver("Page", nullptr, [&](const Notification&) { log.push_back("third"); });
    Value::Dictionary info;
    info.set("page", 12);
    center.post("Page", &senderA, Value(info));
    EXPECT_EQ(log, (std::vector<std::string> { "first", "second", "third" }));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->name, "Page");
    EXPECT_EQ(received->object, &senderA);
    EXPECT_EQ(received->userInfo["page"].integerValue(), 12);
}

TEST(NotificationCenter, TokenEndsObservation)
{
    NotificationCenter center;
    int calls = 0;
    auto callback = [&](const Notification&) { ++calls; };
    {
        auto scoped = center.addObserver("N", nullptr, callback);
        center.post("N");
    }
    auto reset = center.addObserver("N", nullptr, callback);
    center.post("N");
    reset.reset();
    EXPECT_FALSE(reset.isActive());
    center.post("N");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(center.observerCount("N"), 0u);
}

TEST(NotificationCenter, MovedTokenKeepsObserving)
{
    NotificationCenter center;
    int calls = 0;
    ObserverToken kept;
    {
        auto original = center.addObserver("N", nullptr, [&](const Notification&) { ++calls; });
        kept = std::move(original);
        EXPECT_FALSE(original.isActive());
    }
    EXPECT_TRUE(kept.isActive());
    center.post("N");
    EXPECT_EQ(calls, 1);

    auto other = center.addObserver("N", nullptr, [&](const Notification&) { calls += 10; });
    kept = std::move(other); // the observation kept held before ends here
    center.post("N");
    EXPECT_EQ(calls, 11);
    EXPECT_EQ(center.observerCount("N"), 1u);
}

TEST(NotificationCenter, ObserverRemovedDuringAPostIsNotCalledAfterwards)
{
    NotificationCenter center;
    std::vector<std::string> log;
    ObserverToken second;
    auto first = center.addObserver("N", nullptr, [&](const Notification&) {
        log.push_back("first");
        second.reset();
    });
    second = center.addObserver("N", nullptr, [&](const Notification&) { log.push_back("second"); });
    center.post("N");
    EXPECT_EQ(log, std::vector<std::string> { "first" });
}

TEST(NotificationCenter, ObserverMayRemoveItselfWhileRunning)
{
    NotificationCenter center;
    int calls = 0;
    std::string capturedText = "still here";
    ObserverToken self;
    self = center.addObserver("N", nullptr, [&, capturedText](const Notification&) {
        ++calls;
        self.reset();
        EXPECT_EQ(capturedText, "still here") << "the callback's captures live until it returns";
    });
    center.post("N");
    center.post("N");
    EXPECT_EQ(calls, 1);
}

TEST(NotificationCenter, ObserverAddedDuringAPostWaitsForTheNext)
{
    NotificationCenter center;
    int lateCalls = 0;
    std::vector<ObserverToken> added;
    auto adder = center.addObserver("N", nullptr, [&](const Notification&) {
        added.push_back(center.addObserver("N", nullptr, [&](const Notification&) { ++lateCalls; }));
    });
    center.post("N");
    EXPECT_EQ(lateCalls, 0);
    center.post("N");
    EXPECT_EQ(lateCalls, 1);
}

TEST(NotificationCenter, ReentrantPostsAreDeliveredInline)
{
    NotificationCenter center;
    std::vector<std::string> log;
    auto outer = center.addObserver("Outer", nullptr, [&](const Notification&) {
        log.push_back("outer begins");
        center.post("Inner");
        log.push_back("outer ends");
    });
    auto inner = center.addObserver("Inner", nullptr, [&](const Notification&) { log.push_back("inner"); });
    center.post("Outer");
    EXPECT_EQ(log, (std::vector<std::string> { "outer begins", "inner", "outer ends" }));
}

TEST(NotificationCenter, TokenMayOutliveItsCenter)
{
    ObserverToken token;
    {
        NotificationCenter center;
        token = center.addObserver("N", nullptr, [](const Notification&) {});
    }
    EXPECT_FALSE(token.isActive());
    token.reset();
}

TEST(NotificationCenter, ConcurrentPostsAndObserversStayConsistent)
{
    NotificationCenter center;
    std::atomic<int> calls { 0 };
    auto steady = center.addObserver("N", nullptr, [&](const Notification&) { ++calls; });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                auto churn = center.addObserver("N", nullptr, [](const Notification&) {});
                center.post("N");
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(calls, 2000);
    EXPECT_EQ(center.observerCount("N"), 1u);
}

TEST(NotificationCenter, DefaultCenterIsShared)
{
    EXPECT_EQ(&NotificationCenter::defaultCenter(), &NotificationCenter::defaultCenter());
}

} // namespace
