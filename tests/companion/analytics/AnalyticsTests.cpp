#include "companion/analytics/BookReadingTimeManager.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/store/SqliteDatabaseManager.h"

#include "platform/base/Dispatch.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"

#include "companion/SampleBooks.h"

#include <gtest/gtest.h>

namespace {

using companiontest::samplePath;

TEST(QueuedAnalyticsManager, TrackingJSONGroupsEventsByName)
{
    companion::QueuedAnalyticsManager manager;
    EXPECT_EQ(manager.getTrackingJSON(), "");
    manager.trackEvent("BookOpen", base::Value::Dictionary { { "bookID", "12" } }, "12");
    manager.trackEvent("PageTracking", base::Value::Dictionary { { "cfID", "c1" }, { "TimeSpend", "4" } }, "u1");
    manager.trackEvent("PageTracking", base::Value::Dictionary { { "cfID", "c2" }, { "TimeSpend", "6" } }, "u2");
    // The same event again (name and unique id) replaces the queued one.
    manager.trackEvent("BookOpen", base::Value::Dictionary { { "bookID", "12" }, { "suspendData", "0" } }, "12");

    auto parsed = base::parseJson(manager.getTrackingJSON());
    ASSERT_TRUE(parsed.ok());
    const base::Value& json = parsed.value();
    EXPECT_EQ(json.asDictionary()->keys(), (std::vector<std::string> { "BookOpen", "PageTracking" }));
    ASSERT_EQ(json["BookOpen"].count(), 1u);
    EXPECT_EQ(*json["BookOpen"].at(0)["EventInfo"]["suspendData"].asString(), "0");
    ASSERT_EQ(json["PageTracking"].count(), 2u);
    EXPECT_EQ(*json["PageTracking"].at(1)["EventInfo"]["cfID"].asString(), "c2");
    EXPECT_EQ(*json["PageTracking"].at(0)["UniqueID"].asString(), "u1");

    EXPECT_EQ(manager.getTrackingJSON(), "") << "nothing new: the stored session is still complete";
    EXPECT_EQ(manager.trackedEventCount(), 4u);
}

namespace {

base::Value pageEventInfo(const std::string& visit, const std::string& page)
{
    return base::Value::Dictionary { { "pageID", page }, { "ReaderSeatingID", visit } };
}

std::vector<std::string> pageIDsIn(const std::string& json)
{
    std::vector<std::string> pages;
    auto parsed = base::parseJson(json);
    if (!parsed.ok())
        return pages;
    if (const auto* list = parsed.value()["PageTracking"].asList()) {
        for (const auto& entry : *list)
            pages.push_back(entry["EventInfo"]["pageID"].description());
    }
    return pages;
}

} // namespace

TEST(QueuedAnalyticsManager, EveryHandOverHoldsTheWholeVisit)
{
    companion::QueuedAnalyticsManager manager;
    manager.trackEvent("PageTracking", pageEventInfo("visit-1", "1"), "u1");
    EXPECT_EQ(pageIDsIn(manager.getTrackingJSON()), (std::vector<std::string> { "1" }));
    manager.trackEvent("PageTracking", pageEventInfo("visit-1", "2"), "u2");
    EXPECT_EQ(manager.queuedEvents().size(), 1u);
    EXPECT_EQ(pageIDsIn(manager.getTrackingJSON()), (std::vector<std::string> { "1", "2" }));
    // A changed event counts as new and is handed over in place.
    manager.trackEvent("PageTracking", pageEventInfo("visit-1", "1b"), "u1");
    EXPECT_EQ(pageIDsIn(manager.getTrackingJSON()), (std::vector<std::string> { "1b", "2" }));

    // Another visit starts from nothing.
    manager.trackEvent("PageTracking", pageEventInfo("visit-2", "9"), "u9");
    EXPECT_EQ(pageIDsIn(manager.getTrackingJSON()), (std::vector<std::string> { "9" }));
    EXPECT_EQ(manager.visitEvents().size(), 1u);
}

TEST(QueuedAnalyticsManager, TheStoredSessionKeepsEarlierEventsOfTheVisit)
{
    // The reader saves the hand-over every few seconds; the store replaces its unsynced
    // session with each save. No event of the visit may be lost on the way.
    auto opened = companion::SqliteDatabaseManager::openInMemory();
    ASSERT_TRUE(opened.ok());
    auto store = opened.value();
    companion::QueuedAnalyticsManager manager;
    for (const char* page : { "1", "2", "3" }) {
        manager.trackEvent("PageTracking", pageEventInfo("visit-1", page), std::string("u") + page);
        store->createReaderAnalyticsSessionForUserID("7", "42", manager.getTrackingJSON());
    }
    auto sessions = store->getReaderAnalyticsForUser(7, "42");
    ASSERT_EQ(sessions.count(), 1u);
    const auto& stored = sessions.asDictionary()->begin()->second;
    EXPECT_EQ(pageIDsIn(*stored.asString()), (std::vector<std::string> { "1", "2", "3" }));
}

TEST(QueuedAnalyticsManager, RepeatedEventsOfALongVisitStayOneEntryEach)
{
    // A long visit re-sends the same few events (book open and close under the book's id,
    // a page under its own id) many times over: each stays one entry, updated in place.
    companion::QueuedAnalyticsManager manager;
    constexpr int rounds = 20000;
    for (int round = 0; round < rounds; ++round) {
        manager.trackEvent("BookClose", base::Value::Dictionary { { "AccessTime", round }, { "ReaderSeatingID", "v" } }, "42");
        manager.trackEvent("BookOpen", base::Value::Dictionary { { "bookID", "42" }, { "ReaderSeatingID", "v" } }, "42");
        manager.trackEvent("PageTracking", pageEventInfo("v", std::to_string(round % 7)), "page-" + std::to_string(round % 7));
    }
    EXPECT_EQ(manager.visitEvents().size(), 9u);
    EXPECT_EQ(manager.trackedEventCount(), 3u * rounds);
    EXPECT_EQ(manager.droppedEventCount(), 0u);
    auto parsed = base::parseJson(manager.getTrackingJSON());
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value()["BookClose"].at(0)["EventInfo"]["AccessTime"].integerValue(), rounds - 1);
    EXPECT_EQ(pageIDsIn(base::toJson(parsed.value())), (std::vector<std::string> { "0", "1", "2", "3", "4", "5", "6" }));

    // Events without a unique id are never merged.
    manager.trackEvent("LinkOpen", pageEventInfo("v", "x"), "");
    manager.trackEvent("LinkOpen", pageEventInfo("v", "x"), "");
    EXPECT_EQ(manager.visitEvents().size(), 11u);
}

TEST(QueuedAnalyticsManager, AFullVisitDropsItsOldestEvents)
{
    companion::QueuedAnalyticsManager manager(3);
    for (const char* page : { "1", "2", "3" })
        manager.trackEvent("PageTracking", pageEventInfo("v", page), std::string("u") + page);
    EXPECT_EQ(pageIDsIn(manager.getTrackingJSON()), (std::vector<std::string> { "1", "2", "3" }));
    manager.trackEvent("BookOpen", base::Value::Dictionary { { "ReaderSeatingID", "v" } }, "42");
    manager.trackEvent("PageTracking", pageEventInfo("v", "4"), "u4");
    EXPECT_EQ(manager.droppedEventCount(), 2u);
    auto events = manager.visitEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events.front().uniqueID, "u3");
    auto parsed = base::parseJson(manager.getTrackingJSON());
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().asDictionary()->keys(), (std::vector<std::string> { "PageTracking", "BookOpen" }));
    EXPECT_EQ(pageIDsIn(base::toJson(parsed.value())), (std::vector<std::string> { "3", "4" }));

    // A dropped event sent again is a new entry, not an update of a lost one.
    manager.trackEvent("PageTracking", pageEventInfo("v", "1 again"), "u1");
    EXPECT_EQ(manager.visitEvents().back().uniqueID, "u1");
    EXPECT_EQ(manager.visitEvents().size(), 3u);

    // The live log is bounded the same way.
    for (int i = 0; i < 5; ++i)
        manager.notifyEvent("search_performed_live", base::Value::Dictionary { { "search_text", i } });
    auto live = manager.liveEvents();
    ASSERT_EQ(live.size(), 3u);
    EXPECT_EQ(live.front().info["search_text"].integerValue(), 2);
}

TEST(QueuedAnalyticsManager, LiveEventsAreKeptWithOrWithoutAName)
{
    companion::QueuedAnalyticsManager manager;
    manager.notifyEvent("font_data_live", base::Value::Dictionary { { "font_value", "Serif" } });
    manager.notifyEvent(std::nullopt, base::Value());
    auto live = manager.liveEvents();
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[0].name, "font_data_live");
    EXPECT_FALSE(live[1].name);
    EXPECT_EQ(manager.getTrackingJSON(), "") << "live events are not tracked events";
}

TEST(BookReadingTimeManager, TimeLeftCountsThePositionsAfterTheOneShown)
{
    companion::BookReadingTimeManager manager(samplePath("sample-reflowable-epub"));
    EXPECT_FALSE(manager.isCFIDataAvailable()) << "the book is measured in the background first";
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(manager.isCFIDataAvailable());
    size_t positions = manager.positionCount();
    ASSERT_GE(positions, 3u);
    // The first chapter's file index names its first position.
    EXPECT_EQ(manager.getTimeLeftForpage("0", 5.0), static_cast<int64_t>(positions - 1) * 5);
    EXPECT_EQ(manager.getTimeLeftForpage("no such position", 5.0), 0);
    manager.setDefaultAverageTimePerPage(2.0);
    manager.setDefaultAverageTimePerPage(-1);
    EXPECT_DOUBLE_EQ(manager.defaultAverageTimePerPage(), 2.0);
    EXPECT_EQ(manager.getTimeLeftForpage("0", 0), static_cast<int64_t>(positions - 1) * 2) << "no average: the default";

    companion::BookReadingTimeManager missing(samplePath("no-such-book"));
    EXPECT_FALSE(missing.isCFIDataAvailable());
    EXPECT_EQ(missing.getTimeLeftForpage("0", 5.0), 0);
}

} // namespace
