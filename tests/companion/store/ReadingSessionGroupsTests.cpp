// A visit's reading session saved by name: each save hands the store only the events new
// since the last one, and the store adds them in place. What reads back must be byte for
// byte the whole tracking JSON of the same events, whatever happened between saves (a
// new event name, an event replaced, the oldest dropped, an upload, another connection).

#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using companion::QueuedAnalyticsManager;
using companion::SqliteDatabaseManager;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t groupsUser = 502;
const std::string groupsBook = "9002";

base::Value groupsEvent(const std::string& visit, int page)
{
    base::Value::Dictionary info;
    info.set("ReaderSeatingID", visit);
    info.set("pageID", std::to_string(page));
    info.set("TimeSpend", std::string(40, 'x'));
    return base::Value(std::move(info));
}

// The same events go to two managers: one hands over whole text (what was stored and
// uploaded before), the other only what changed.
struct GroupsVisit {
    explicit GroupsVisit(size_t capacity)
        : whole(capacity)
        , changed(capacity)
    {
    }
    void track(const std::string& name, const std::string& visit, int page, const std::string& uniqueID)
    {
        whole.trackEvent(name, groupsEvent(visit, page), uniqueID);
        changed.trackEvent(name, groupsEvent(visit, page), uniqueID);
    }
    // Saves as the reader does; answers whether only the new events were stored.
    bool save(SqliteDatabaseManager& store)
    {
        if (auto text = whole.getTrackingJSON(); !text.empty())
            expected = text;
        auto changes = changed.takeTrackingChanges(false);
        if (!changes || changes->groups.empty())
            return true;
        auto stored = store.storeReaderAnalyticsChanges(std::to_string(groupsUser), groupsBook, *changes);
        EXPECT_TRUE(stored.ok());
        if (stored.ok() && stored.value())
            return !changes->whole;
        auto all = changed.takeTrackingChanges(true);
        auto again = store.storeReaderAnalyticsChanges(std::to_string(groupsUser), groupsBook, *all);
        EXPECT_TRUE(again.ok() && again.value());
        return false;
    }
    QueuedAnalyticsManager whole;
    QueuedAnalyticsManager changed;
    std::string expected;
};

std::string newestSession(SqliteDatabaseManager& store)
{
    auto stored = store.getReaderAnalyticsForUser(groupsUser, groupsBook);
    const auto* sessions = stored.asDictionary();
    if (!sessions || sessions->empty())
        return "<none>";
    std::string newest;
    int64_t newestID = -1;
    for (const auto& [id, text] : *sessions) {
        if (std::stoll(id) > newestID) {
            newestID = std::stoll(id);
            newest = text.asString().value_or("<not text>");
        }
    }
    return newest;
}

} // namespace

TEST(ReadingSessionGroups, EverySaveReadsBackAsTheWholeTrackingJSON)
{
    TemporaryFolder folder;
    auto opened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(opened.ok());
    auto store = opened.value();
    GroupsVisit visit(400);
    int unique = 0;
    auto pages = [&](const std::string& visitID, int count) {
        for (int index = 0; index < count; ++index, ++unique)
            visit.track("PageTracking", visitID, unique, "p" + std::to_string(unique));
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool addedInPlace;
    };
    const std::vector<Step> steps {
        { "the first save of a visit", [&] { pages("visit-a", 3); visit.track("BookOpen", "visit-a", 0, "o1"); }, false },
        { "new events of known names", [&] { pages("visit-a", 2); visit.track("BookOpen", "visit-a", 1, "o2"); }, true },
        { "a name new to the visit", [&] { visit.track("BookClose", "visit-a", 2, "c1"); pages("visit-a", 1); }, true },
        { "enough events to need new parts", [&] { pages("visit-a", 120); }, true },
        { "nothing new", [] {}, true },
        { "an event handed over is replaced", [&] { visit.track("PageTracking", "visit-a", 999, "p1"); }, true },
        { "the first name's event is replaced", [&] { visit.track("PageTracking", "visit-a", 998, "p0"); visit.track("BookOpen", "visit-a", 5, "o1"); pages("visit-a", 1); }, true },
        { "a replaced event not yet handed over", [&] { pages("visit-a", 1); visit.track("PageTracking", "visit-a", 7, "p" + std::to_string(unique - 1)); }, true },
        { "the session was uploaded", [&] {
             auto sent = store->unsyncedAnalyticsSessions(groupsUser, groupsBook);
             std::vector<std::string> ids;
             for (const auto& [id, text] : *sent.asDictionary())
                 ids.push_back(id);
             store->markAnalyticsSessionsSynced(groupsUser, groupsBook, ids);
             pages("visit-a", 1);
         }, false },
        { "another connection wrote", [&] {
             auto other = SqliteDatabaseManager::open(folder.string());
             ASSERT_TRUE(other.ok());
             other.value()->createReaderAnalyticsSessionForUserID("1", "other-book", R"({"a":[1]})");
             pages("visit-a", 1);
         }, false },
        { "the whole text was stored by the other path", [&] {
             store->createReaderAnalyticsSessionForUserID(std::to_string(groupsUser), groupsBook,
                 visit.expected);
             pages("visit-a", 1);
         }, false },
        { "the visit is full and drops its oldest", [&] { pages("visit-a", 300); }, false },
        { "a new visit", [&] { pages("visit-b", 2); }, false },
        { "the new visit goes on", [&] { pages("visit-b", 2); visit.track("BookClose", "visit-b", 3, "c2"); }, true },
    };
    for (const auto& step : steps) {
        step.act();
        bool inPlace = visit.save(*store);
        EXPECT_EQ(inPlace, step.addedInPlace) << step.what;
        EXPECT_EQ(newestSession(*store), visit.expected) << step.what;
    }
    // Read from a fresh connection too: nothing lives only in the writer's memory.
    auto reopened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(reopened.ok());
    EXPECT_EQ(newestSession(*reopened.value()), visit.expected);
}

TEST(ReadingSessionGroups, ASaveHandsOverOnlyTheNewEvents)
{
    QueuedAnalyticsManager manager;
    manager.trackEvent("PageTracking", groupsEvent("visit-a", 1), "p1");
    auto first = manager.takeTrackingChanges(false);
    ASSERT_TRUE(first && first->whole == false && first->groups.size() == 1);
    manager.trackEvent("BookOpen", groupsEvent("visit-a", 2), "o1");
    manager.trackEvent("PageTracking", groupsEvent("visit-a", 3), "p3");
    auto next = manager.takeTrackingChanges(false);
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->whole);
    ASSERT_EQ(next->groups.size(), 2u);
    EXPECT_EQ(next->groups[0].name, "PageTracking");
    EXPECT_EQ(next->groups[0].entries.find(R"("pageID":"1")"), std::string::npos);
    EXPECT_NE(next->groups[0].entries.find(R"("pageID":"3")"), std::string::npos);
    EXPECT_EQ(next->groups[1].index, 1u);
    EXPECT_TRUE(manager.takeTrackingChanges(false)->groups.empty());
    EXPECT_EQ(manager.takeTrackingChanges(true)->wholeText(), [] {
        QueuedAnalyticsManager again;
        again.trackEvent("PageTracking", groupsEvent("visit-a", 1), "p1");
        again.trackEvent("BookOpen", groupsEvent("visit-a", 2), "o1");
        again.trackEvent("PageTracking", groupsEvent("visit-a", 3), "p3");
        return again.getTrackingJSON();
    }());
}
