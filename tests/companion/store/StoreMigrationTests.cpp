// A store written by an earlier schema (records in a table ordered by row id, a record's
// texts in columns of their own) opens with every stored record kept, reads as before, and
// keeps counting new records after the old ones.

#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/StoreSchema.h"
#include "companion/store/TemporaryFolder.h"
#include "companion/store/UGCFamily.h"

#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"

#include "platform/base/Json.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <string>
#include <vector>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t migrationUser = 77;
const std::string migrationBook = "3003";

// The third schema as a store of that version holds it.
constexpr const char* thirdSchema = R"SQL(
CREATE TABLE ugc (id INTEGER PRIMARY KEY AUTOINCREMENT, family INTEGER NOT NULL, book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL, local_id TEXT NOT NULL, ugc_id TEXT NOT NULL, page_identifier TEXT NOT NULL,
    display_num TEXT NOT NULL, link_id INTEGER NOT NULL DEFAULT 0, status INTEGER NOT NULL,
    is_synced INTEGER NOT NULL, is_submitted INTEGER NOT NULL, revision INTEGER NOT NULL DEFAULT 1,
    payload TEXT NOT NULL, layout INTEGER NOT NULL DEFAULT 0, book_version TEXT NOT NULL DEFAULT '',
    href TEXT NOT NULL DEFAULT '', chapter_name TEXT NOT NULL DEFAULT '', created_date TEXT NOT NULL DEFAULT '',
    modified_date TEXT NOT NULL DEFAULT '', body TEXT NOT NULL DEFAULT '', note_text TEXT NOT NULL DEFAULT '',
    background_color TEXT NOT NULL DEFAULT '', text_color TEXT NOT NULL DEFAULT '',
    creator_name TEXT NOT NULL DEFAULT '', position_identifier TEXT NOT NULL DEFAULT '',
    start_index INTEGER NOT NULL DEFAULT 0, end_index INTEGER NOT NULL DEFAULT 0, flags INTEGER NOT NULL DEFAULT 0,
    UNIQUE (family, book_id, user_id, local_id));
CREATE INDEX ugc_page ON ugc (book_id, user_id, family, page_identifier);
CREATE INDEX ugc_server_id ON ugc (user_id, ugc_id);
CREATE INDEX ugc_unsynced ON ugc (user_id, is_synced);
CREATE INDEX ugc_book ON ugc (family, book_id, user_id);
CREATE TABLE book_metadata (book_id TEXT NOT NULL, user_id INTEGER NOT NULL, key TEXT NOT NULL,
    value TEXT NOT NULL, PRIMARY KEY (book_id, user_id, key));
CREATE TABLE reader_font_settings (book_id TEXT NOT NULL, user_id INTEGER NOT NULL, payload TEXT NOT NULL,
    PRIMARY KEY (book_id, user_id));
CREATE TABLE class_info (book_id TEXT NOT NULL, user_id INTEGER NOT NULL, position INTEGER NOT NULL,
    payload TEXT NOT NULL, PRIMARY KEY (book_id, user_id, position));
CREATE TABLE shared_received (book_id TEXT NOT NULL, user_id INTEGER NOT NULL, payload TEXT NOT NULL,
    is_synced INTEGER NOT NULL, PRIMARY KEY (book_id, user_id));
CREATE TABLE scorm (book_id TEXT NOT NULL, user_id INTEGER NOT NULL, scorm_id TEXT NOT NULL, data TEXT NOT NULL,
    class_id TEXT NOT NULL, page_id INTEGER NOT NULL, activity_name TEXT NOT NULL, is_synced INTEGER NOT NULL,
    PRIMARY KEY (book_id, user_id, scorm_id));
CREATE TABLE analytics_session (id INTEGER PRIMARY KEY AUTOINCREMENT, user_id INTEGER NOT NULL,
    book_id TEXT NOT NULL, data TEXT NOT NULL, is_synced INTEGER NOT NULL, visit TEXT NOT NULL DEFAULT '');
CREATE INDEX analytics_session_book ON analytics_session (user_id, book_id);
CREATE TABLE analytics_session_part (id INTEGER PRIMARY KEY,
    session_id INTEGER NOT NULL REFERENCES analytics_session (id) ON DELETE CASCADE, seq INTEGER NOT NULL,
    data TEXT NOT NULL, UNIQUE (session_id, seq));
PRAGMA user_version = 3;
)SQL";

// Records of every shape the third schema held: highlights and bookmarks in columns (a pen
// drawing whole in its payload follows), a deletion waiting for upload, unsynced revisions, other
// books and users in between, and ids with gaps (as deletions leave them).
constexpr const char* thirdSchemaRecords = R"SQL(
INSERT INTO ugc (id, family, book_id, user_id, local_id, ugc_id, page_identifier, display_num, link_id, status,
    is_synced, is_submitted, revision, payload, layout, book_version, href, chapter_name, created_date,
    modified_date, body, note_text, background_color, text_color, creator_name, position_identifier, start_index,
    end_index, flags) VALUES
 (3, 1, '3003', 77, 'h-old', '701', '5', 'v', 0, 1, 1, 0, 4, '{"metaData":{"source":"import"}}', 1, '2', 'c1.xhtml',
  'One', '2024-01-01 00:00:00.000', '2024-01-02 00:00:00.000', 'first passage', 'a note', '#FFFF00', '#000000',
  'Ann', 'cfi-1', 4, 9, 3),
 (4, 2, '3003', 77, 'b-1', '-1', '6', 'vi', 0, 1, 0, 0, 2, '', 1, '', '', '', '2024-01-03 00:00:00.000',
  '2024-01-03 00:00:00.000', 'a bookmark', '', '', '', '', 'cfi-2', 0, 0, 0),
 (6, 1, '9999', 77, 'h-other-book', '-1', '5', '', 0, 1, 0, 0, 1, '', 1, '', '', '', '', '', 'elsewhere', '', '',
  '', '', '', 0, 0, 0),
 (9, 1, '3003', 77, 'h-deleted', '702', '5', '', 0, 3, 0, 0, 5, '', 1, '', '', '', '', '', 'gone', '', '', '', '',
  '', 0, 0, 0),
 (12, 1, '3003', 78, 'h-other-user', '-1', '5', '', 0, 1, 0, 0, 1, '', 1, '', '', '', '', '', 'theirs', '', '',
  '', '', '', 0, 0, 0),
 (15, 1, '3003', 77, 'h-new', '-1', '7', '', 0, 1, 0, 0, 2, '', 1, '', '', '', '2024-02-01 00:00:00.000',
  '2024-02-01 00:00:00.000', 'second passage', '', '#00FF00', '', '', '', 0, 5, 0);
INSERT INTO analytics_session (id, user_id, book_id, data, is_synced, visit)
    VALUES (1, 77, '3003', '', 0, '"ReaderSeatingID":"v-1"');
INSERT INTO analytics_session_part (session_id, seq, data) VALUES (1, 0, '{"a":'), (1, 1, '1}');
)SQL";

// The columns every schema since the third keeps as they are. (A highlight's or bookmark's
// structured fields leave "payload" for "fields" in version 7: they are read back below.)
constexpr const char* keptRecordColumns
    = "SELECT quote(id), family, book_id, user_id, local_id, ugc_id, page_identifier, display_num, link_id, status, "
      "is_synced, is_submitted, revision, CASE WHEN family IN (1, 2) THEN '' ELSE payload END, flags FROM ugc "
      "ORDER BY id";

// Each row of the query as one line of its columns' text.
std::vector<std::string> rowsOf(sqlite3* handle, const char* sql)
{
    std::vector<std::string> rows;
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(handle);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            row += (column ? "|" : "") + std::string(text ? text : "<null>");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

struct RawStore {
    explicit RawStore(const TemporaryFolder& folder)
    {
        auto path = (folder.path() / companion::storeFileName).string();
        EXPECT_EQ(sqlite3_open(path.c_str(), &handle), SQLITE_OK);
    }
    ~RawStore() { sqlite3_close(handle); }
    sqlite3* handle = nullptr;
};

std::vector<std::string> localIDs(const auto& records)
{
    std::vector<std::string> ids;
    for (const auto& record : records)
        ids.push_back(record->localID);
    return ids;
}

} // namespace

TEST(StoreMigration, AThirdSchemaStoreKeepsEveryRecordAndEachOfItsFields)
{
    TemporaryFolder folder;
    std::vector<std::string> before;
    {
        RawStore raw(folder);
        ASSERT_EQ(sqlite3_exec(raw.handle, thirdSchema, nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw.handle, thirdSchemaRecords, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(raw.handle);
        auto drawing = std::make_shared<SDKPentoolVO>();
        drawing->localID = "p-1";
        drawing->pageIdentifier = "5";
        drawing->penColor = "#82F675";
        std::string payload = base::toJson(drawing->toUGCDictionary());
        sqlite3_stmt* insert = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(raw.handle,
                      "INSERT INTO ugc (id, family, book_id, user_id, local_id, ugc_id, page_identifier, display_num, "
                      "status, is_synced, is_submitted, payload) VALUES (10, ?, '3003', 77, 'p-1', '-1', '5', '', 1, 0, "
                      "1, ?)",
                      -1, &insert, nullptr),
            SQLITE_OK);
        sqlite3_bind_int(insert, 1, static_cast<int>(companion::familyOf(UGCType::PenDrawing)));
        sqlite3_bind_text(insert, 2, payload.c_str(), -1, SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
        before = rowsOf(raw.handle, keptRecordColumns);
    }
    ASSERT_EQ(before.size(), 7u);

    auto opened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
    auto store = opened.value();
    {
        RawStore raw(folder);
        EXPECT_EQ(rowsOf(raw.handle, keptRecordColumns), before);
        EXPECT_EQ(rowsOf(raw.handle, "PRAGMA user_version"),
            std::vector<std::string> { std::to_string(companion::storeSchemaVersion) });
        EXPECT_EQ(rowsOf(raw.handle, "PRAGMA integrity_check"), std::vector<std::string> { "ok" });
    }

    // The records read as they did: the book's own, live ones, in saving order, each text
    // where it was.
    auto highlights = store->highlightBookID(migrationBook, migrationUser);
    EXPECT_EQ(localIDs(highlights), (std::vector<std::string> { "h-old", "h-new" }));
    ASSERT_EQ(highlights.size(), 2u);
    auto fieldsOf = [](const SDKHighlightVO& h) {
        return std::vector<std::string> { h.ugcID, h.pageIdentifier, h.displayNum, h.bookVersion, h.href, h.chapterName,
            h.createdDate, h.modifiedDate, h.text, h.noteText, h.backgroundColor, h.textColor, h.creatorName,
            h.positionIdentifier, std::to_string(h.startIndex), std::to_string(h.endIndex) };
    };
    EXPECT_EQ(fieldsOf(*highlights[0]),
        (std::vector<std::string> { "701", "5", "v", "2", "c1.xhtml", "One", "2024-01-01 00:00:00.000",
            "2024-01-02 00:00:00.000", "first passage", "a note", "#FFFF00", "#000000", "Ann", "cfi-1", "4", "9" }));
    EXPECT_EQ(fieldsOf(*highlights[1]),
        (std::vector<std::string> { "-1", "7", "", "", "", "", "2024-02-01 00:00:00.000", "2024-02-01 00:00:00.000",
            "second passage", "", "#00FF00", "", "", "", "0", "5" }));
    EXPECT_TRUE(highlights[0]->isImportant && highlights[0]->isStickyNote);
    EXPECT_FALSE(highlights[1]->isImportant || highlights[1]->isStickyNote);
    EXPECT_EQ(highlights[0]->metaData, base::Value(base::Value::Dictionary { { "source", "import" } }));
    EXPECT_EQ(localIDs(store->highlightForPageID("5", "", migrationBook, migrationUser)),
        std::vector<std::string> { "h-old" });
    auto bookmarks = store->bookMarkBookID(migrationBook, migrationUser);
    EXPECT_EQ(localIDs(bookmarks), std::vector<std::string> { "b-1" });
    ASSERT_FALSE(bookmarks.empty());
    EXPECT_EQ((std::vector<std::string> { bookmarks[0]->title, bookmarks[0]->positionIdentifier, bookmarks[0]->createdDate,
                  bookmarks[0]->pageIdentifier, bookmarks[0]->displayNum }),
        (std::vector<std::string> { "a bookmark", "cfi-2", "2024-01-03 00:00:00.000", "6", "vi" }));
    auto otherBook = store->highlightBookID("9999", migrationUser);
    EXPECT_EQ(localIDs(otherBook), std::vector<std::string> { "h-other-book" });
    ASSERT_FALSE(otherBook.empty());
    EXPECT_EQ(otherBook[0]->text, "elsewhere");
    auto drawings = store->pentoolDrawingForPageID("5", "", migrationBook, migrationUser);
    EXPECT_EQ(localIDs(drawings), std::vector<std::string> { "p-1" });
    ASSERT_FALSE(drawings.empty());
    EXPECT_EQ(drawings[0]->penColor, "#82F675");

    // What waits for upload keeps its revisions, the deletion included.
    std::vector<std::pair<std::string, int64_t>> unsynced;
    for (const auto& pending : store->unsyncedUGCForBookID(migrationBook, migrationUser))
        unsynced.emplace_back(pending.record->localID, pending.revision);
    EXPECT_EQ(unsynced, (std::vector<std::pair<std::string, int64_t>> {
                            { "b-1", 2 }, { "h-deleted", 5 }, { "p-1", 1 }, { "h-new", 2 } }));

    // The reading session's parts still belong to their session.
    auto sessions = store->getReaderAnalyticsForUser(migrationUser, migrationBook);
    EXPECT_EQ(sessions, base::Value(base::Value::Dictionary { { "1", "{\"a\":1}" } }));

    // New records come after every old one, and a resave keeps a record's place.
    auto added = std::make_shared<SDKHighlightVO>();
    added->localID = "h-added";
    added->pageIdentifier = "8";
    ASSERT_TRUE(store->saveHighlight(added, migrationBook, migrationUser).ok());
    highlights[0]->noteText = "changed";
    ASSERT_TRUE(store->saveHighlight(highlights[0], migrationBook, migrationUser).ok());
    highlights = store->highlightBookID(migrationBook, migrationUser);
    EXPECT_EQ(localIDs(highlights), (std::vector<std::string> { "h-old", "h-new", "h-added" }));
    ASSERT_FALSE(highlights.empty());
    EXPECT_EQ(highlights[0]->noteText, "changed");
    {
        RawStore raw(folder);
        EXPECT_EQ(rowsOf(raw.handle, "SELECT id FROM ugc WHERE local_id = 'h-added'"),
            std::vector<std::string> { "16" });
    }
}

TEST(StoreMigration, AnEmptyThirdSchemaStoreStartsCountingAtOne)
{
    TemporaryFolder folder;
    {
        RawStore raw(folder);
        ASSERT_EQ(sqlite3_exec(raw.handle, thirdSchema, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    auto store = SqliteDatabaseManager::open(folder.string()).value();
    for (const char* localID : { "first", "second" }) {
        auto bookmark = std::make_shared<SDKBookmarkVO>();
        bookmark->localID = localID;
        ASSERT_TRUE(store->saveBookmark(bookmark, migrationBook, migrationUser).ok());
    }
    RawStore raw(folder);
    EXPECT_EQ(rowsOf(raw.handle, "SELECT id || local_id FROM ugc ORDER BY id"),
        (std::vector<std::string> { "1first", "2second" }));
}
