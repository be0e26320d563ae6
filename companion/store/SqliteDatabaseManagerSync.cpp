// What the sync client reads and marks: content still to upload, uploads done, and what
// the service sent.

#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/StoredRecord.h"
#include "companion/store/UGCFamily.h"

#include "platform/base/Json.h"
#include "platform/base/Strings.h"

namespace companion {

using namespace lectoro;

base::Value SqliteDatabaseManager::getUnsynedUGCDictionaryForUserID(int64_t userID)
{
    std::lock_guard lock(m_mutex);
    base::Value::List books;
    static const std::string& sql = *new std::string(std::string("SELECT book_id, ") + recordSelectColumns
        + " FROM ugc WHERE user_id = ?1 AND is_synced = 0 ORDER BY book_id, id");
    auto* statement = m_database->statement(sql.c_str());
    if (!statement) {
        recordFailure();
        return base::Value::Dictionary { { "ugcBookList", std::move(books) } };
    }
    statement->bind(1, userID);
    std::string currentBook;
    base::Value::List currentList;
    auto flush = [&] {
        if (!currentList.empty())
            books.emplace_back(base::Value::Dictionary { { "bookID", currentBook }, { "ugcList", std::move(currentList) } });
        currentList = {};
    };
    while (statement->step()) {
        std::string bookID = statement->columnText(0);
        if (bookID != currentBook) {
            flush();
            currentBook = bookID;
        }
        if (auto record = recordFromRow(*statement, 1))
            currentList.push_back(record->toUGCDictionary());
    }
    flush();
    recordOutcome(statement->ok());
    return base::Value::Dictionary { { "ugcBookList", std::move(books) } };
}

std::vector<UnsyncedUGC> SqliteDatabaseManager::unsyncedUGCForBookID(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    std::vector<UnsyncedUGC> result;
    static const std::string& sql = *new std::string(std::string("SELECT ") + recordSelectColumns
        + ", revision FROM ugc WHERE book_id = ?1 AND user_id = ?2 AND is_synced = 0 ORDER BY id");
    auto* statement = m_database->statement(sql.c_str());
    if (!statement) {
        recordFailure();
        return result;
    }
    statement->bind(1, bookID).bind(2, userID);
    while (statement->step()) {
        if (auto record = recordFromRow(*statement))
            result.push_back({ std::move(record), statement->columnInteger(recordColumnCount) });
    }
    recordOutcome(statement->ok());
    return result;
}

base::Result<void> SqliteDatabaseManager::markUGCUploaded(const std::string& bookID, int64_t userID,
    const std::vector<UploadedUGC>& uploads)
{
    std::lock_guard lock(m_mutex);
    if (!beginWriting())
        return failWrite();
    bool ok = true;
    std::vector<std::pair<int, std::string>> touched;
    for (const auto& upload : uploads) {
        if (!upload.record)
            continue;
        int family = static_cast<int>(familyOf(upload.record->ugcType()));
        SqliteStatement* statement = nullptr;
        if (upload.record->isDeleted()) {
            // The server has forgotten it; forget the deletion too, unless the record was
            // saved again meanwhile.
            statement = m_database->statement(
                "DELETE FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND local_id = ?4 AND revision = ?5");
            if (statement)
                statement->bind(1, family).bind(2, bookID).bind(3, userID).bind(4, upload.record->localID).bind(5, upload.revision);
        } else {
            std::string serverID = isUploadedID(upload.serverID) ? upload.serverID : upload.record->ugcID.str();
            statement = m_database->statement(
                "UPDATE ugc SET ugc_id = CASE WHEN ?5 IN ('', '-1') THEN ugc_id ELSE ?5 END, "
                "is_synced = CASE WHEN revision = ?6 THEN 1 ELSE 0 END "
                "WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND local_id = ?4");
            if (statement)
                statement->bind(1, family).bind(2, bookID).bind(3, userID).bind(4, upload.record->localID).bind(5, serverID).bind(6, upload.revision);
        }
        if (!statement || !statement->run()) {
            ok = false;
            break;
        }
        touched.emplace_back(family, upload.record->localID);
    }
    return finishWritingRecords(ok, bookID, userID, touched);
}

namespace {

// A stored row a fetched record matched.
struct MatchedRow {
    int64_t rowID = 0;
    std::string localID;
    bool synced = false;
};

// The row of the book holding the fetched record: the one the service knows by the same id,
// else the one with the same local id. Each is one lookup through its own index (the
// server id's, the unique local id's); an OR of the two in one query would read every
// record of the book instead.
std::optional<MatchedRow> findFetchedRow(SqliteDatabase& database, int family, const std::string& bookID,
    int64_t userID, const SDKUGCVO& fetched, bool& failed)
{
    auto lookUp = [&](const char* sql, const std::string& id) -> std::optional<MatchedRow> {
        auto* find = database.statement(sql);
        if (!find) {
            failed = true;
            return std::nullopt;
        }
        find->bind(1, family).bind(2, bookID).bind(3, userID).bind(4, id);
        std::optional<MatchedRow> row;
        if (find->step())
            row = MatchedRow { find->columnInteger(0), find->columnText(1), find->columnInteger(2) != 0 };
        failed = !find->ok();
        find->reset();
        return row;
    };
    if (isUploadedID(fetched.ugcID)) {
        auto byServerID = lookUp("SELECT id, local_id, is_synced FROM ugc WHERE user_id = ?3 AND ugc_id = ?4 AND "
                                 "book_id = ?2 AND family = ?1 ORDER BY id LIMIT 1",
            fetched.ugcID);
        if (byServerID || failed)
            return byServerID;
    }
    if (fetched.localID.empty())
        return std::nullopt;
    return lookUp("SELECT id, local_id, is_synced FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND "
                  "local_id = ?4",
        fetched.localID);
}

} // namespace

base::Result<void> SqliteDatabaseManager::storeFetchedUGC(const std::string& bookID, int64_t userID,
    std::vector<std::shared_ptr<SDKUGCVO>> records)
{
    return storeFetchedUGC(bookID, userID, [&records] { return std::exchange(records, {}); });
}

base::Result<void> SqliteDatabaseManager::storeFetchedUGC(const std::string& bookID, int64_t userID,
    const FetchedBatches& nextBatch)
{
    std::lock_guard lock(m_mutex);
    if (!beginWriting())
        return failWrite();
    bool ok = true;
    std::vector<std::pair<int, std::string>> touched;
    for (auto batch = nextBatch(); ok && !batch.empty(); batch = nextBatch()) {
        // In the same transaction as the batch: a colour the migration did not offer makes
        // it run again.
        std::vector<const SDKUGCVO*> written;
        for (const auto& fetched : batch)
            written.push_back(fetched.get());
        ok = forgetColorMigrationUnlessOffered(bookID, userID, written) && storeFetchedBatch(bookID, userID, batch, touched);
    }
    return finishWritingRecords(ok, bookID, userID, touched);
}

bool SqliteDatabaseManager::storeFetchedBatch(const std::string& bookID, int64_t userID,
    const std::vector<std::shared_ptr<SDKUGCVO>>& records, std::vector<std::pair<int, std::string>>& touched)
{
    // Which records were written matters only up to the point where the kept lists are let
    // go instead.
    auto noteTouched = [&touched](int family, const std::string& localID) {
        if (touched.size() <= mostRecordsRefreshed)
            touched.emplace_back(family, localID);
    };
    for (const auto& fetched : records) {
        if (!fetched)
            continue;
        int family = static_cast<int>(familyOf(fetched->ugcType()));
        bool failed = false;
        auto row = findFetchedRow(*m_database, family, bookID, userID, *fetched, failed);
        if (failed)
            return false;
        // Changes made here and not yet uploaded are newer than the server's copy.
        if (row && !row->synced)
            continue;
        if (fetched->isDeleted()) {
            if (row) {
                auto* remove = m_database->statement("DELETE FROM ugc WHERE id = ?1");
                if (!remove || !remove->bind(1, row->rowID).run())
                    return false;
                noteTouched(family, row->localID);
            }
            continue;
        }
        SDKUGCVO* record = fetched.get();
        if (row)
            record->localID = row->localID;
        else if (record->localID.empty())
            record->localID = base::makeUuid();
        record->isSynced = true;
        auto* answer = dynamic_cast<SDKFIBVO*>(record);
        static const std::string& sql = *new std::string(std::string(
            "INSERT INTO ugc (id, family, book_id, user_id, local_id, ugc_id, page_identifier, display_num, link_id, "
            "status, is_synced, is_submitted, ") + recordFieldColumns + ") VALUES (" + nextRecordID
            + ", ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, 1, ?10, " + recordFieldParameters(11) + ") "
            "ON CONFLICT (family, book_id, user_id, local_id) DO UPDATE SET ugc_id = excluded.ugc_id, "
            "page_identifier = excluded.page_identifier, display_num = excluded.display_num, link_id = excluded.link_id, "
            "status = excluded.status, is_synced = 1, is_submitted = excluded.is_submitted, " + recordFieldAssignments);
        auto* upsert = m_database->statement(sql.c_str());
        if (!upsert)
            return false;
        upsert->bind(1, family)
            .bind(2, bookID)
            .bind(3, userID)
            .bind(4, record->localID)
            .bind(5, record->ugcID)
            .bind(6, record->pageIdentifier)
            .bind(7, record->displayNum)
            .bind(8, answer ? answer->linkID : int64_t(0))
            .bind(9, static_cast<int64_t>(record->status))
            .bind(10, record->isSubmitted);
        bindRecordFields(*upsert, 11, *record);
        if (!upsert->run())
            return false;
        noteTouched(family, record->localID);
    }
    return true;
}

base::Result<void> SqliteDatabaseManager::saveBookClassInfo(const std::string& bookID, int64_t userID,
    const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classes)
{
    std::lock_guard lock(m_mutex);
    if (!beginWriting())
        return failWrite();
    bool ok = false;
    if (auto* clear = m_database->statement("DELETE FROM class_info WHERE book_id = ?1 AND user_id = ?2"))
        ok = clear->bind(1, bookID).bind(2, userID).run();
    int64_t position = 0;
    for (const auto& info : classes) {
        if (!ok)
            break;
        if (!info)
            continue;
        auto* insert = m_database->statement(
            "INSERT INTO class_info (book_id, user_id, position, payload) VALUES (?1, ?2, ?3, ?4)");
        ok = insert && insert->bind(1, bookID).bind(2, userID).bind(3, position++).bind(4, base::toJson(info->toDictionary())).run();
    }
    return finishWriting(ok);
}

void SqliteDatabaseManager::markSharedReceivedInfoSynced(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement("UPDATE shared_received SET is_synced = 1 WHERE book_id = ?1 AND user_id = ?2");
    recordOutcome(statement && statement->bind(1, bookID).bind(2, userID).run());
}

base::Value SqliteDatabaseManager::unsyncedScormData(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    base::Value::List result;
    auto* statement = m_database->statement(
        "SELECT scorm_id, data, class_id, page_id, activity_name FROM scorm WHERE book_id = ?1 AND user_id = ?2 AND "
        "is_synced = 0 ORDER BY rowid");
    if (!statement) {
        recordFailure();
        return result;
    }
    statement->bind(1, bookID).bind(2, userID);
    while (statement->step()) {
        result.emplace_back(base::Value::Dictionary {
            { "ScormID", statement->columnText(0) },
            { "data", statement->columnText(1) },
            { "classId", statement->columnText(2) },
            { "PageID", statement->columnInteger(3) },
            { "ActivityName", statement->columnText(4) },
        });
    }
    recordOutcome(statement->ok());
    return result;
}

void SqliteDatabaseManager::markScormSynced(const std::string& bookID, int64_t userID, const std::string& scormID)
{
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "UPDATE scorm SET is_synced = 1 WHERE book_id = ?1 AND user_id = ?2 AND scorm_id = ?3");
    recordOutcome(statement && statement->bind(1, bookID).bind(2, userID).bind(3, scormID).run());
}

base::Value SqliteDatabaseManager::unsyncedAnalyticsSessions(int64_t userID, const std::string& bookID)
{
    std::lock_guard lock(m_mutex);
    return analyticsSessions(true, userID, bookID);
}

void SqliteDatabaseManager::markAnalyticsSessionsSynced(int64_t userID, const std::string& bookID,
    const std::vector<std::string>& sessionIDs)
{
    std::lock_guard lock(m_mutex);
    for (const auto& sessionID : sessionIDs) {
        auto* statement = m_database->statement(
            "UPDATE analytics_session SET is_synced = 1 WHERE id = ?1 AND user_id = ?2 AND book_id = ?3");
        if (!statement || !statement->bind(1, base::longLongValue(sessionID)).bind(2, userID).bind(3, bookID).run()) {
            recordFailure();
            return;
        }
    }
    recordSuccess();
}

} // namespace companion
