#include "companion/analytics/BookReadingTimeManager.h"
#include "companion/analytics/QueuedAnalyticsManager.h"

#include "platform/base/Json.h"

#include <gtest/gtest.h>

namespace {

std::string samplePath(const std::string& name)
{
    return std::string(LECTORO_SAMPLES_DIR) + "/books/" + name;
}

TEST(QueuedAnalyticsManager, TrackingJSONGroupsEventsByNameAndHandsThemOverOnce)
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

    EXPECT_EQ(manager.getTrackingJSON(), "") << "each event is handed over once";
    EXPECT_EQ(manager.trackedEventCount(), 4u);
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
