// The store against failing storage: power cuts at every write of a run of saves and
// deletes, a damaged file, a file that is no database, a read-only folder, a record whose
// packed texts were damaged, and a database written before record fields had columns of
// their own.

#include "companion/store/SqliteDatabaseManager.h"

#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/store/SqliteDatabase.h"
#include "companion/store/StoredRecord.h"
#include "companion/store/IntegrityCheck.h"
#include "companion/store/TemporaryFolder.h"
#include "companion/testing/StorageFaults.h"

#include "platform/base/Json.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sqlite3.h>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::testing::PowerCutVfs;
using companion::testing::integrityOf;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t faultUser = 11;
const std::string faultBook = "4242";

std::filesystem::path databaseIn(const TemporaryFolder& folder)
{
    return folder.path() / companion::storeFileName;
}

std::shared_ptr<SDKHighlightVO> highlight(const std::string& localID, int page)
{
    auto record = std::make_shared<SDKHighlightVO>();
    record->localID = localID;
    record->pageIdentifier = std::to_string(page);
    record->text = "passage " + localID;
    record->noteText = std::string(300, 'n');
    return record;
}

std::set<std::string> storedHighlights(SqliteDatabaseManager& store)
{
    std::set<std::string> ids;
    for (const auto& record : store.highlightBookID(faultBook, faultUser))
        ids.insert(record->localID);
    return ids;
}

bool isCode(const base::Error& error, YSDBManagerErrorCode code)
{
    return error.domain == companion::storeErrorDomain && error.code == static_cast<int64_t>(code);
}

// Fills a store with enough records that its middle pages hold live data, and closes it.
void fillStore(const TemporaryFolder& folder, int records)
{
    auto store = SqliteDatabaseManager::open(folder.string()).value();
    for (int index = 0; index < records; ++index)
        ASSERT_TRUE(store->saveHighlight(highlight("h" + std::to_string(index), index), faultBook, faultUser).ok());
}

void overwriteMiddle(const std::filesystem::path& file, size_t bytes)
{
    auto size = std::filesystem::file_size(file);
    ASSERT_GT(size, bytes * 2);
    std::string noise(bytes, '\0');
    std::mt19937 random(20240611);
    for (auto& byte : noise)
        byte = static_cast<char>(random());
    std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
    stream.seekp(static_cast<std::streamoff>(size / 2 - bytes / 2));
    stream.write(noise.data(), static_cast<std::streamsize>(noise.size()));
}

} // namespace

TEST(StoreFaults, PowerCutAtEachOfTheFirst200WritesLosesNoAcknowledgedChange)
{
    PowerCutVfs vfs;
    int cutsThatHappened = 0;
    for (int cut = 1; cut <= 200; ++cut) {
        SCOPED_TRACE("power cut at write " + std::to_string(cut));
        TemporaryFolder folder;
        std::set<std::string> saved;
        std::set<std::string> deleted;
        std::string lastPage;
        {
            vfs.reset();
            auto opened = SqliteDatabaseManager::open(folder.string(), { .vfs = vfs.name() });
            ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
            auto& store = *opened.value();
            vfs.reset();
            vfs.cutAtWrite(cut);
            // Saves, deletes of earlier saves and metadata, until the power goes; the
            // store is then closed, which checkpoints the log into the database.
            for (int step = 0; step < 40 && !vfs.isPowerCut(); ++step) {
                std::string id = "h" + std::to_string(step);
                if (step % 4 == 3) {
                    std::string victim = "h" + std::to_string(step - 2);
                    if (store.deleteHighlight(highlight(victim, 0), faultBook, faultUser).ok()) {
                        saved.erase(victim);
                        deleted.insert(victim);
                    }
                } else if (step % 5 == 4) {
                    if (store.saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", id } }, faultBook, faultUser).ok())
                        lastPage = id;
                } else if (store.saveHighlight(highlight(id, step), faultBook, faultUser).ok()) {
                    saved.insert(id);
                }
            }
        }
        cutsThatHappened += vfs.isPowerCut() ? 1 : 0;
        vfs.reset();

        EXPECT_EQ(integrityOf(databaseIn(folder)), "ok");
        auto reopened = SqliteDatabaseManager::open(folder.string());
        ASSERT_TRUE(reopened.ok()) << reopened.error().localizedDescription();
        EXPECT_FALSE(reopened.value()->openingProblem()) << reopened.value()->openingProblem()->localizedDescription();
        auto stored = storedHighlights(*reopened.value());
        for (const auto& id : saved)
            EXPECT_TRUE(stored.count(id)) << "acknowledged save lost: " << id;
        for (const auto& id : deleted)
            EXPECT_FALSE(stored.count(id)) << "acknowledged delete undone: " << id;
        if (!lastPage.empty()) {
            EXPECT_EQ(reopened.value()->getBookMetadataForbookID(faultBook, faultUser)["LastPageFolio"].description(), lastPage);
        }
    }
    // The run is long enough that most cut points fall inside it (the rest after the close).
    EXPECT_GT(cutsThatHappened, 150);
}

TEST(StoreFaults, AnUnsyncedSessionSaveReachesTheDiskWithTheNextSyncedWrite)
{
    PowerCutVfs vfs;
    // Whether a synced write follows the unsynced save before the power goes.
    for (bool syncedAfter : { false, true }) {
        SCOPED_TRACE(syncedAfter ? "synced write after" : "power cut at once");
        TemporaryFolder folder;
        // The visit hands over its changes; the mirror, fed the same events, gives the text.
        companion::QueuedAnalyticsManager visit;
        companion::QueuedAnalyticsManager mirror;
        auto track = [&](int page) {
            base::Value info = base::Value::Dictionary { { "pageID", std::to_string(page) } };
            visit.trackEvent("PageTracking", info, "p" + std::to_string(page));
            mirror.trackEvent("PageTracking", info, "p" + std::to_string(page));
        };
        std::string synced;
        {
            vfs.reset();
            auto opened = SqliteDatabaseManager::open(folder.string(), { .vfs = vfs.name() });
            ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
            auto& store = *opened.value();
            track(1);
            auto first = store.storeReaderAnalyticsChanges("11", faultBook, *visit.takeTrackingChanges(true));
            ASSERT_TRUE(first.ok() && first.value());
            synced = mirror.getTrackingJSON();
            track(2);
            auto second = store.storeReaderAnalyticsChangesWithoutSync("11", faultBook, *visit.takeTrackingChanges(false));
            ASSERT_TRUE(second.ok() && second.value());
            ASSERT_EQ(store.getReaderAnalyticsForUser(faultUser, faultBook).asDictionary()->size(), 1u);
            if (syncedAfter) {
                ASSERT_TRUE(store.saveHighlight(highlight("h1", 1), faultBook, faultUser).ok());
            }
            vfs.cutNow();
        }
        vfs.reset();

        EXPECT_EQ(integrityOf(databaseIn(folder)), "ok");
        auto reopened = SqliteDatabaseManager::open(folder.string());
        ASSERT_TRUE(reopened.ok()) << reopened.error().localizedDescription();
        auto sessions = reopened.value()->getReaderAnalyticsForUser(faultUser, faultBook);
        ASSERT_TRUE(sessions.asDictionary() && sessions.asDictionary()->size() == 1u);
        const std::string stored = sessions.asDictionary()->begin()->second.asString().value_or("");
        // The unsynced page is on the disk only once a synced write has carried it there;
        // the synced session is there either way.
        EXPECT_EQ(stored, syncedAfter ? mirror.getTrackingJSON() : synced);
    }
}

TEST(StoreFaults, ADamagedPageIsFoundOnOpeningAndTheFileKeptBesideAFreshStore)
{
    TemporaryFolder folder;
    fillStore(folder, 400);
    auto database = databaseIn(folder);
    overwriteMiddle(database, 8192);
    auto damagedSize = std::filesystem::file_size(database);

    auto opened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
    auto& store = *opened.value();
    auto problem = store.openingProblem();
    ASSERT_TRUE(problem);
    EXPECT_TRUE(isCode(*problem, YSDBManagerErrorCode::ReplacedDamaged));
    std::string kept = problem->userInfo["keptPath"].asString().value_or("");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(std::filesystem::path(kept).parent_path(), folder.path());
    EXPECT_EQ(std::filesystem::file_size(kept), damagedSize) << "the damaged file is kept as it was";
    EXPECT_NE(integrityOf(kept), "ok");

    // The fresh store is empty, sound and takes saves.
    EXPECT_TRUE(storedHighlights(store).empty());
    EXPECT_TRUE(store.saveHighlight(highlight("after", 1), faultBook, faultUser).ok());
    EXPECT_EQ(integrityOf(database), "ok");

    // The problem handler hears of it once, whenever it is set.
    std::vector<base::Error> heard;
    store.setProblemHandler([&](const base::Error& error) { heard.push_back(error); });
    store.setProblemHandler([&](const base::Error& error) { heard.push_back(error); });
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(isCode(heard[0], YSDBManagerErrorCode::ReplacedDamaged));
}

namespace {

// What a crash leaves: the store's files as they are on disk while its connection is still
// open, copied into another folder.
void copyAsACrashLeavesIt(const TemporaryFolder& from, const TemporaryFolder& to)
{
    for (const char* suffix : { "", "-wal" }) {
        auto file = databaseIn(from).string() + suffix;
        if (std::filesystem::exists(file))
            std::filesystem::copy_file(file, databaseIn(to).string() + suffix);
    }
}

} // namespace

// The full check reads every page: it runs when the file may have come to harm since it was
// last sound (its connection never closed, something wrote to it while closed, it is new),
// and not when it was closed cleanly and left alone.
TEST(StoreFaults, OpeningChecksTheFileUnlessItWasClosedCleanlyAndLeftAlone)
{
    TemporaryFolder folder;
    {
        auto store = SqliteDatabaseManager::open(folder.string()).value();
        EXPECT_TRUE(store->checkedOnOpening()) << "a new store";
        ASSERT_TRUE(store->saveHighlight(highlight("h1", 1), faultBook, faultUser).ok());
    }
    {
        auto store = SqliteDatabaseManager::open(folder.string()).value();
        EXPECT_FALSE(store->checkedOnOpening()) << "closed cleanly";
        EXPECT_EQ(storedHighlights(*store), std::set<std::string>({ "h1" }));
        ASSERT_TRUE(store->saveHighlight(highlight("h2", 2), faultBook, faultUser).ok());

        // Its connection is open: what is on disk now is what a crash would leave.
        TemporaryFolder crashed;
        copyAsACrashLeavesIt(folder, crashed);
        auto afterCrash = SqliteDatabaseManager::open(crashed.string()).value();
        EXPECT_TRUE(afterCrash->checkedOnOpening()) << "never closed";
        EXPECT_FALSE(afterCrash->openingProblem());
        EXPECT_EQ(storedHighlights(*afterCrash), std::set<std::string>({ "h1", "h2" }));
    }
    {
        // Written while closed: the same bytes again, yet the file is no longer as left.
        auto file = databaseIn(folder);
        std::string header(16, '\0');
        std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
        stream.read(header.data(), 16);
        stream.seekp(0);
        stream.write(header.data(), 16);
    }
    auto store = SqliteDatabaseManager::open(folder.string()).value();
    EXPECT_TRUE(store->checkedOnOpening()) << "changed while closed";
    EXPECT_EQ(storedHighlights(*store), std::set<std::string>({ "h1", "h2" }));
}

// A crash in the middle of a session leaves no mark of a clean close: a page damaged by then
// is found before the first write, and the file is kept aside as for any damaged store.
TEST(StoreFaults, AStoreLeftByACrashIsCheckedBeforeItsFirstWrite)
{
    TemporaryFolder folder;
    fillStore(folder, 400);
    TemporaryFolder crashed;
    {
        auto store = SqliteDatabaseManager::open(folder.string()).value();
        ASSERT_TRUE(store->saveHighlight(highlight("late", 1), faultBook, faultUser).ok());
        copyAsACrashLeavesIt(folder, crashed);
    }
    overwriteMiddle(databaseIn(crashed), 8192);

    auto opened = SqliteDatabaseManager::open(crashed.string());
    ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
    auto& store = *opened.value();
    auto problem = store.openingProblem();
    ASSERT_TRUE(problem);
    EXPECT_TRUE(isCode(*problem, YSDBManagerErrorCode::ReplacedDamaged));
    std::string kept = problem->userInfo["keptPath"].asString().value_or("");
    EXPECT_NE(integrityOf(kept), "ok");
    EXPECT_TRUE(storedHighlights(store).empty());
    EXPECT_TRUE(store.saveHighlight(highlight("after", 1), faultBook, faultUser).ok());
    EXPECT_EQ(integrityOf(databaseIn(crashed)), "ok");
}

TEST(StoreFaults, AFileThatIsNoDatabaseIsKeptAsItWasAndAFreshStoreStarts)
{
    TemporaryFolder folder;
    std::ofstream(databaseIn(folder)) << std::string(4096, 'z');

    auto opened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
    auto problem = opened.value()->openingProblem();
    ASSERT_TRUE(problem);
    std::string kept = problem->userInfo["keptPath"].asString().value_or("");
    std::ifstream keptFile(kept);
    std::string content((std::istreambuf_iterator<char>(keptFile)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, std::string(4096, 'z'));
    EXPECT_NE(problem->localizedDescription().find("damaged"), std::string::npos);

    // A second damaged file gets a name of its own: nothing kept is ever overwritten.
    opened.value().reset();
    std::ofstream(databaseIn(folder), std::ios::trunc) << std::string(4096, 'y');
    auto again = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(again.ok());
    std::string keptAgain = again.value()->openingProblem()->userInfo["keptPath"].asString().value_or("");
    EXPECT_NE(keptAgain, kept);
    EXPECT_TRUE(std::filesystem::exists(kept));
}

// Tests run as root, where permissions do not stop writes: the read-only VFS stands in
// for a read-only folder the way a read-only mount behaves.
TEST(StoreFaults, AReadOnlyFolderIsReportedAsReadOnly)
{
    struct Case {
        const char* name;
        bool storeExists;
    };
    for (auto c : { Case { "fresh folder", false }, Case { "folder with a store", true } }) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        if (c.storeExists)
            fillStore(folder, 3);
        auto opened = SqliteDatabaseManager::open(folder.string(), { .vfs = companion::testing::readOnlyVfsName() });
        ASSERT_FALSE(opened.ok());
        EXPECT_TRUE(isCode(opened.error(), YSDBManagerErrorCode::ReadOnly)) << opened.error().localizedDescription();
        EXPECT_NE(opened.error().localizedDescription().find("read-only"), std::string::npos);
        if (c.storeExists) {
            EXPECT_EQ(integrityOf(databaseIn(folder)), "ok");
        }
    }
}

TEST(StoreFaults, AnUnusableStoreFailsEveryWriteWithItsCauseAndSaysSoOnce)
{
    auto cause = base::Error::make(companion::storeErrorDomain, static_cast<int64_t>(YSDBManagerErrorCode::ReadOnly),
        "The store cannot be opened: the storage is read-only");
    auto store = SqliteDatabaseManager::openUnusable(cause);
    ASSERT_TRUE(store);
    std::vector<base::Error> heard;
    store->setProblemHandler([&](const base::Error& error) { heard.push_back(error); });
    ASSERT_EQ(heard.size(), 1u);

    auto saved = store->saveHighlight(highlight("h", 1), faultBook, faultUser);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().localizedDescription(), cause.localizedDescription());
    EXPECT_FALSE(store->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", "3" } }, faultBook, faultUser).ok());
    EXPECT_FALSE(store->createReaderAnalyticsSessionForUserID("11", faultBook, "{}").ok());
    EXPECT_TRUE(store->highlightBookID(faultBook, faultUser).empty());
    EXPECT_TRUE(store->getBookMetadataForbookID(faultBook, faultUser).asDictionary()->empty());
    EXPECT_EQ(heard.size(), 4u) << "each failed write is reported";
}

// A store of the first schema kept highlights and bookmarks whole in JSON; opening it moves
// their fields into columns and they read back unchanged.
TEST(StoreFaults, AFirstSchemaStoreOpensWithItsRecordsIntact)
{
    TemporaryFolder folder;
    auto note = std::make_shared<SDKHighlightVO>();
    note->localID = "note-1";
    note->ugcID = "501";
    note->pageIdentifier = "7";
    note->text = "old passage";
    note->noteText = "old note";
    note->isStickyNote = true;
    note->isReceived = true;
    note->isAnswered = false;
    note->noteRect = ui::Rect(1, 2, 30, 40);
    note->noteComments = base::Value::List { base::Value::Dictionary { { "Text", "hi" } } };
    note->metaData = base::Value::Dictionary { { "source", "import" } };
    note->createdDate = "2023-01-02 03:04:05.006";
    note->modifiedDate = "2023-01-02 03:04:05.007";
    auto mark = std::make_shared<SDKBookmarkVO>();
    mark->localID = "mark-1";
    mark->pageIdentifier = "8";
    mark->title = "old bookmark";
    mark->positionIdentifier = "cfi";
    {
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open(databaseIn(folder).c_str(), &handle), SQLITE_OK);
        const char* firstSchema = R"SQL(
            CREATE TABLE ugc (id INTEGER PRIMARY KEY AUTOINCREMENT, family INTEGER NOT NULL, book_id TEXT NOT NULL,
                user_id INTEGER NOT NULL, local_id TEXT NOT NULL, ugc_id TEXT NOT NULL, page_identifier TEXT NOT NULL,
                display_num TEXT NOT NULL, link_id INTEGER NOT NULL DEFAULT 0, status INTEGER NOT NULL,
                is_synced INTEGER NOT NULL, is_submitted INTEGER NOT NULL, revision INTEGER NOT NULL DEFAULT 1,
                payload TEXT NOT NULL, UNIQUE (family, book_id, user_id, local_id));
            CREATE INDEX ugc_page ON ugc (book_id, user_id, family, page_identifier);
            CREATE INDEX ugc_server_id ON ugc (user_id, ugc_id);
            CREATE INDEX ugc_unsynced ON ugc (user_id, is_synced);
            CREATE TABLE analytics_session (id INTEGER PRIMARY KEY AUTOINCREMENT, user_id INTEGER NOT NULL,
                book_id TEXT NOT NULL, data TEXT NOT NULL, is_synced INTEGER NOT NULL);
            PRAGMA user_version = 1;)SQL";
        ASSERT_EQ(sqlite3_exec(handle, firstSchema, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(handle,
            "INSERT INTO ugc (family, book_id, user_id, local_id, ugc_id, page_identifier, display_num, status, "
            "is_synced, is_submitted, payload) VALUES (?, ?, ?, ?, ?, ?, '', 1, 1, 0, ?)",
            -1, &insert, nullptr);
        for (const std::shared_ptr<SDKUGCVO>& record : { std::shared_ptr<SDKUGCVO>(note), std::shared_ptr<SDKUGCVO>(mark) }) {
            std::string payload = base::toJson(record->toUGCDictionary());
            sqlite3_bind_int(insert, 1, static_cast<int>(record->ugcType()));
            sqlite3_bind_text(insert, 2, faultBook.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 3, faultUser);
            sqlite3_bind_text(insert, 4, record->localID.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 5, record->ugcID.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 6, record->pageIdentifier.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 7, payload.c_str(), -1, SQLITE_TRANSIENT);
            ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_close(handle);
    }
    note->isSynced = true;
    mark->isSynced = true;

    auto opened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(opened.ok()) << opened.error().localizedDescription();
    auto highlights = opened.value()->highlightForPageID("7", "", faultBook, faultUser);
    ASSERT_EQ(highlights.size(), 1u);
    EXPECT_EQ(base::toJson(highlights[0]->toUGCDictionary()), base::toJson(note->toUGCDictionary()));
    auto bookmarks = opened.value()->bookMarkBookID(faultBook, faultUser);
    ASSERT_EQ(bookmarks.size(), 1u);
    EXPECT_EQ(base::toJson(bookmarks[0]->toUGCDictionary()), base::toJson(mark->toUGCDictionary()));
    // Accepting the received note reaches the moved record.
    ASSERT_TRUE(opened.value()->updateAnsweredUGC("501", true, std::to_string(faultUser)).ok());
    EXPECT_TRUE(opened.value()->highlightBookID(faultBook, faultUser)[0]->isAnswered);
}

// A row whose packed texts were cut short or garbled (by another program, a bad copy of the
// file) reads as nothing; the rows around it read whole, and bytes after the last field (a
// later version's) are passed over.
TEST(StoreFaults, ARecordWithDamagedPackedTextsIsLeftOutAndTheOthersRead)
{
    companion::RecordFieldTexts texts;
    texts.body = "kept passage";
    texts.startIndex = -3;
    texts.endIndex = 7;
    std::string textsAlone = companion::packRecordFields(texts);
    std::string whole = companion::packRecordFields(texts, { "3", "iii", "" });
    struct Case {
        const char* damage;
        std::string fields;
        bool reads;
    };
    const Case cases[] = {
        { "nothing at all", "", false },
        { "cut before the numbers", textsAlone.substr(0, textsAlone.size() - 2), false },
        { "cut inside the page keys", whole.substr(0, whole.size() - 1), false },
        { "a length past the end", std::string("\x05" "ab", 3), false },
        { "a length that never ends", std::string(12, '\xff'), false },
        { "a length of 2^63", std::string("\xff\xff\xff\xff\xff\xff\xff\xff\x7f", 9), false },
        { "structured fields that are not JSON", companion::packRecordFields(texts, { "3", "iii", "{\"metaData\":" }),
            false },
        { "bytes after the last field", whole + "\x03xyz", true },
    };
    for (const auto& [damage, fields, reads] : cases) {
        SCOPED_TRACE(damage);
        TemporaryFolder folder;
        {
            auto store = SqliteDatabaseManager::open(folder.string()).value();
            for (const char* localID : { "before", "damaged", "after" })
                ASSERT_TRUE(store->saveHighlight(highlight(localID, 3), faultBook, faultUser).ok());
        }
        {
            sqlite3* handle = nullptr;
            ASSERT_EQ(sqlite3_open(databaseIn(folder).c_str(), &handle), SQLITE_OK);
            sqlite3_stmt* update = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(handle, "UPDATE ugc SET fields = ? WHERE local_id = 'damaged'", -1, &update,
                          nullptr),
                SQLITE_OK);
            sqlite3_bind_blob(update, 1, fields.data(), static_cast<int>(fields.size()), SQLITE_TRANSIENT);
            EXPECT_EQ(sqlite3_step(update), SQLITE_DONE);
            sqlite3_finalize(update);
            sqlite3_close(handle);
        }
        auto store = SqliteDatabaseManager::open(folder.string()).value();
        std::vector<std::string> expected = reads ? std::vector<std::string> { "before", "damaged", "after" }
                                                  : std::vector<std::string> { "before", "after" };
        for (const auto& records : { store->highlightBookID(faultBook, faultUser), store->highlightForPageID("3", "", faultBook, faultUser) }) {
            std::vector<std::string> ids;
            for (const auto& record : records)
                ids.push_back(record->localID);
            EXPECT_EQ(ids, expected);
            if (reads && records.size() == 3) {
                EXPECT_EQ(records[1]->text, "kept passage");
                EXPECT_EQ(records[1]->displayNum, "iii");
                EXPECT_EQ(records[1]->startIndex, -3);
                EXPECT_EQ(records[1]->endIndex, 7);
            }
        }
    }
}
