// A visit's reading session is stored in parts and rewritten only where it changed: every
// save must still read back byte for byte, whichever connection wrote last, and sessions
// stored whole before parts existed must keep reading and updating.

#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/StoreSchema.h"
#include "companion/store/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

using companion::SqliteDatabaseManager;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t sessionUser = 501;
const std::string sessionBook = "9001";

std::shared_ptr<SqliteDatabaseManager> openSessionStore(const TemporaryFolder& folder)
{
    auto store = SqliteDatabaseManager::open(folder.string());
    EXPECT_TRUE(store.ok()) << (store.ok() ? "" : store.error().localizedDescription());
    return store.ok() ? store.value() : nullptr;
}

std::string pageEventText(int index, const std::string& seconds = "12")
{
    return R"({"EventInfo":{"ReaderSeatingID":"visit-a","page":")" + std::to_string(index) + R"(","TimeSpend":")"
        + seconds + R"("},"EventName":"PageTracking"})";
}

// A visit's text shaped as the analytics manager hands it over: the open event first, then
// `pages` page events.
std::string visitText(int pages, const std::string& openSeconds = "1")
{
    std::string text = R"({"BookOpen":[{"EventInfo":{"ReaderSeatingID":"visit-a","Time":")" + openSeconds
        + R"("}}],"PageTracking":[)";
    for (int index = 0; index < pages; ++index)
        text += (index ? "," : "") + pageEventText(index);
    return text + "]}";
}

std::vector<std::string> storedTexts(SqliteDatabaseManager& store)
{
    std::vector<std::string> texts;
    auto stored = store.getReaderAnalyticsForUser(sessionUser, sessionBook);
    if (const auto* sessions = stored.asDictionary()) {
        for (const auto& [id, text] : *sessions)
            texts.push_back(text.asString().value_or("<not text>"));
    }
    return texts;
}

} // namespace

TEST(ReadingSessionParts, EverySaveReadsBackWhole)
{
    struct Step {
        const char* what;
        std::string text;
        bool byOtherConnection;
    };
    // Long runs without separators, with two- and four-byte characters, so cuts fall at
    // the size rule inside multi-byte text.
    std::string unseparated(40000, 'x');
    for (size_t at = 8180; at < unseparated.size(); at += 8192)
        unseparated.replace(at, 12, "\xC3\xA9\xF0\x9F\x93\x96\xC3\xA9\xF0\x9F\x93\x96");
    std::string middleChanged = visitText(3000);
    middleChanged.replace(middleChanged.find(pageEventText(1500)), pageEventText(1500).size(), pageEventText(1500, "98765"));
    const Step steps[] = {
        { "a first save", visitText(10), false },
        { "a long visit", visitText(3000), false },
        { "the open event grows at the start", visitText(3000, "123456"), false },
        { "events appended at the end", visitText(3050, "123456"), false },
        { "an event changed in the middle", middleChanged, false },
        { "another connection saves the visit", visitText(3100, "7"), true },
        { "this connection saves after it", visitText(3101, "7"), false },
        { "the visit shrinks to one part", visitText(2), false },
        { "text without separators", unseparated, false },
        { "and back to events", visitText(2500), false },
    };
    TemporaryFolder folder;
    auto store = openSessionStore(folder);
    auto other = openSessionStore(folder);
    ASSERT_TRUE(store && other);
    for (const auto& step : steps) {
        auto& writer = step.byOtherConnection ? *other : *store;
        ASSERT_TRUE(writer.createReaderAnalyticsSessionForUserID("501", sessionBook, step.text).ok()) << step.what;
        for (auto* reader : { store.get(), other.get() }) {
            auto texts = storedTexts(*reader);
            ASSERT_EQ(texts.size(), 1u) << step.what;
            EXPECT_TRUE(texts[0] == step.text) << step.what << ": " << texts[0].size() << " bytes read back, "
                                               << step.text.size() << " saved";
        }
    }
    // What is waiting to be sent is the same text.
    auto pending = store->unsyncedAnalyticsSessions(sessionUser, sessionBook);
    ASSERT_EQ(pending.count(), 1u);
    EXPECT_EQ(pending.asDictionary()->begin()->second, base::Value(visitText(2500)));
}

TEST(ReadingSessionParts, SessionsStoredWholeStillReadAndUpdate)
{
    TemporaryFolder folder;
    {
        auto store = openSessionStore(folder);
        ASSERT_TRUE(store);
    }
    // A row as stores of the earlier layout kept it: the whole text in the row.
    std::string earlier = visitText(40);
    {
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open((folder.path() / companion::storeFileName).c_str(), &handle), SQLITE_OK);
        sqlite3_stmt* insert = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(handle,
                      "INSERT INTO analytics_session (user_id, book_id, data, is_synced) VALUES (501, ?1, ?2, 0)", -1,
                      &insert, nullptr),
            SQLITE_OK);
        sqlite3_bind_text(insert, 1, sessionBook.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, earlier.c_str(), static_cast<int>(earlier.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
        sqlite3_close(handle);
    }
    auto store = openSessionStore(folder);
    ASSERT_TRUE(store);
    EXPECT_EQ(storedTexts(*store), std::vector<std::string> { earlier });

    // The same visit saved again replaces that row; another visit gets one of its own.
    std::string grown = visitText(4000);
    ASSERT_TRUE(store->createReaderAnalyticsSessionForUserID("501", sessionBook, grown).ok());
    EXPECT_EQ(storedTexts(*store), std::vector<std::string> { grown });
    std::string nextVisit = R"({"BookOpen":[{"EventInfo":{"ReaderSeatingID":"visit-b"}}]})";
    ASSERT_TRUE(store->createReaderAnalyticsSessionForUserID("501", sessionBook, nextVisit).ok());
    EXPECT_EQ(storedTexts(*store), (std::vector<std::string> { grown, nextVisit }));
}
