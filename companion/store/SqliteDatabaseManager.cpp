#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/RecordRowReader.h"
#include "companion/store/RecordText.h"
#include "companion/store/SqliteDatabase.h"
#include "companion/store/StoreCleanClose.h"
#include "companion/store/StoreSchema.h"
#include "companion/store/StoredRecord.h"
#include "companion/store/UGCFamily.h"

#include "platform/base/Json.h"
#include "platform/base/Strings.h"

#include <filesystem>
#include <system_error>

namespace companion {

using namespace lectoro;

namespace {

// The records a book's list is first read into room for (see readRecords).
constexpr size_t listRoom = 16384;

int familyNumber(const SDKUGCVO& record)
{
    return static_cast<int>(familyOf(record.ugcType()));
}

int64_t linkIDOf(const SDKUGCVO& record)
{
    auto* answer = dynamic_cast<const SDKFIBVO*>(&record);
    return answer ? answer->linkID : 0;
}

} // namespace

// --- Opening ---

SqliteDatabaseManager::SqliteDatabaseManager(std::unique_ptr<SqliteDatabase> database, std::string path)
    : m_database(std::move(database))
    , m_path(std::move(path))
{
}

SqliteDatabaseManager::~SqliteDatabaseManager()
{
    bool marks = m_marksCleanClose && !m_unusable;
    // Closing folds the log back into the file; only then is the file as it is left.
    m_database.reset();
    if (marks)
        markClosedCleanly(m_path);
}

base::Error SqliteDatabaseManager::lastError() const
{
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

base::Error SqliteDatabaseManager::recordFailure()
{
    m_marksCleanClose = false;
    m_lastError = m_unusable ? *m_unusable : m_database->lastError("The store could not complete the call");
    return m_lastError;
}

base::Result<void> SqliteDatabaseManager::failWrite()
{
    auto error = recordFailure();
    if (m_problemHandler)
        m_problemHandler(error);
    return error;
}

base::Result<void> SqliteDatabaseManager::writeOutcome(bool succeeded)
{
    if (!succeeded)
        return failWrite();
    recordSuccess();
    return {};
}

void SqliteDatabaseManager::recordSuccess()
{
    m_lastError = {};
}

void SqliteDatabaseManager::recordOutcome(bool succeeded)
{
    if (succeeded)
        recordSuccess();
    else
        recordFailure();
}

bool SqliteDatabaseManager::beginWriting()
{
    return m_database->execute("BEGIN IMMEDIATE");
}

base::Result<void> SqliteDatabaseManager::finishWriting(bool ok)
{
    if (ok && m_database->execute("COMMIT")) {
        recordSuccess();
        return {};
    }
    // The error is read before the rollback replaces it.
    auto failed = failWrite();
    m_database->execute("ROLLBACK");
    return failed;
}

void SqliteDatabaseManager::setBook(std::shared_ptr<LectoroBookVO> book)
{
    std::lock_guard lock(m_mutex);
    m_currentBookID = book ? book->bookID : std::string();
}

// --- Records: the shared machinery ---

base::Result<void> SqliteDatabaseManager::saveRecord(SDKUGCVO& record, const std::string& bookID, int64_t userID)
{
    if (record.isDeleted()) {
        return deleteRecord(record, bookID, userID);
    }
    if (auto invalid = invalidTextOf(record)) {
        m_lastError = invalidTextError(*invalid);
        if (m_problemHandler)
            m_problemHandler(m_lastError);
        return m_lastError;
    }
    if (record.localID.empty())
        record.localID = base::makeUuid();
    if (record.ugcID.empty())
        record.ugcID = UGCNotUploadedID;
    std::string now = currentUGCDateString();
    if (record.createdDate.empty())
        record.createdDate = now;
    record.modifiedDate = now;
    record.isSynced = false;
    if (!forgetColorMigrationUnlessOffered(bookID, userID, { &record }))
        return failWrite();

    static const std::string& sql = *new std::string(std::string(
        "INSERT INTO ugc (id, family, book_id, user_id, local_id, ugc_id, page_identifier, display_num, link_id, "
        "status, is_synced, is_submitted, ") + recordFieldColumns + ") VALUES (" + nextRecordID
        + ", ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, 0, ?10, " + recordFieldParameters(11) + ") "
        "ON CONFLICT (family, book_id, user_id, local_id) DO UPDATE SET "
        "ugc_id = CASE WHEN excluded.ugc_id IN ('', '-1') THEN ugc.ugc_id ELSE excluded.ugc_id END, "
        "page_identifier = excluded.page_identifier, display_num = excluded.display_num, link_id = excluded.link_id, "
        "status = excluded.status, is_synced = 0, is_submitted = excluded.is_submitted, "
        "revision = ugc.revision + 1, " + recordFieldAssignments);
    auto* statement = m_database->statement(sql.c_str());
    if (!statement)
        return failWrite();
    statement->bind(1, familyNumber(record))
        .bind(2, bookID)
        .bind(3, userID)
        .bind(4, record.localID)
        .bind(5, record.ugcID)
        .bind(6, record.pageIdentifier)
        .bind(7, record.displayNum)
        .bind(8, linkIDOf(record))
        .bind(9, static_cast<int64_t>(record.status))
        .bind(10, record.isSubmitted);
    bindRecordFields(*statement, 11, record);
    bool saved = statement->run();
    if (saved)
        refreshKeptRecord(familyNumber(record), bookID, userID, record.localID);
    return writeOutcome(saved);
}

base::Result<void> SqliteDatabaseManager::finishWritingRecords(bool ok, const std::string& bookID, int64_t userID,
    const std::vector<std::pair<int, std::string>>& records)
{
    auto finished = finishWriting(ok);
    if (!finished.ok() || records.size() > mostRecordsRefreshed) {
        m_bookLists.clear();
        return finished;
    }
    for (const auto& [family, localID] : records)
        refreshKeptRecord(family, bookID, userID, localID);
    return finished;
}

void SqliteDatabaseManager::refreshKeptRecord(int family, const std::string& bookID, int64_t userID,
    const std::string& localID)
{
    if (!m_bookLists.isKept(family, bookID, userID))
        return;
    // Read back rather than copied from the caller: the kept list must hold what a read of
    // the table would give (the server id the row kept, the fields as stored).
    static const std::string& sql = *new std::string(std::string("SELECT ") + recordSelectColumns
        + " FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND local_id = ?4");
    auto* statement = m_database->statement(sql.c_str());
    if (!statement) {
        m_bookLists.clear();
        return;
    }
    statement->bind(1, family).bind(2, bookID).bind(3, userID).bind(4, localID);
    std::shared_ptr<SDKUGCVO> record;
    if (statement->step())
        record = recordFromRow(*statement);
    bool ok = statement->ok();
    statement->reset();
    if (!ok)
        m_bookLists.clear();
    else if (record && !record->isDeleted())
        m_bookLists.put(family, bookID, userID, std::move(record));
    else
        m_bookLists.remove(family, bookID, userID, localID);
}

base::Result<void> SqliteDatabaseManager::deleteRecord(const SDKUGCVO& record, const std::string& bookID, int64_t userID)
{
    // Find the stored row by local id, or by server id for a record known only by that.
    auto* find = m_database->statement(
        "SELECT id, ugc_id, local_id FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND "
        "((?4 <> '' AND local_id = ?4) OR (?4 = '' AND ?5 NOT IN ('', '-1') AND ugc_id = ?5)) LIMIT 1");
    if (!find)
        return failWrite();
    find->bind(1, familyNumber(record)).bind(2, bookID).bind(3, userID).bind(4, record.localID).bind(5, record.ugcID);
    if (!find->step()) {
        return writeOutcome(find->ok());
    }
    int64_t rowID = find->columnInteger(0);
    std::string storedServerID = find->columnText(1);
    std::string storedLocalID = find->columnText(2);
    find->reset();

    bool uploaded = isUploadedID(storedServerID) || isUploadedID(record.ugcID);
    SqliteStatement* change = nullptr;
    if (uploaded) {
        // The server has it: keep a deleted, unsynced record so the next upload removes it there.
        change = m_database->statement(
            "UPDATE ugc SET status = 3, is_synced = 0, revision = revision + 1, "
            "ugc_id = CASE WHEN ugc_id IN ('', '-1') THEN ?2 ELSE ugc_id END WHERE id = ?1");
        if (change)
            change->bind(1, rowID).bind(2, record.ugcID);
    } else {
        change = m_database->statement("DELETE FROM ugc WHERE id = ?1");
        if (change)
            change->bind(1, rowID);
    }
    bool changed = change && change->run();
    if (changed)
        m_bookLists.remove(familyNumber(record), bookID, userID, storedLocalID);
    return writeOutcome(changed);
}

template<class Record, class Pointer>
std::vector<Pointer> SqliteDatabaseManager::readRecords(SqliteStatement* statement, RecordRowReading rowAt,
    RecordArena* arena)
{
    std::vector<Pointer> records;
    if (!statement) {
        recordFailure();
        return records;
    }
    // A book's list is read into room for a long one: room never written costs no memory,
    // while growing step by step wrote about twice the list's size in fresh pages (each one
    // a page fault in a new process). A short list does not keep the room.
    if (arena)
        records.reserve(listRoom);
    // A long list's records go on in huge pages once the helper's first batch shows it long:
    // in ordinary pages its records would cost a new process a page fault each 4 KB.
    std::function<void()> longList;
    if (arena)
        longList = [arena] { arena->expectLongList(); };
    bool ok = readRecordRows(
        *statement, rowAt,
        [&](const RecordRow& row) {
            // A row of the kind asked for reads as that kind; a stray payload of another kind
            // is left out.
            auto record = recordFromRow(row, arena);
            if (auto* typed = dynamic_cast<Record*>(record.get()))
                records.emplace_back(std::move(record), typed);
        },
        longList);
    recordOutcome(ok);
    if (arena && records.capacity() > 2 * records.size() + 64)
        records.shrink_to_fit();
    return records;
}

template<class Record>
std::vector<std::shared_ptr<Record>> SqliteDatabaseManager::recordsOnPage(int family, const std::string& pageID,
    const std::string& displayNumber, const std::string& bookID, int64_t userID)
{
    // Statement texts are never destroyed: a read still running on a background queue while
    // the process exits must not find its text freed.
    static const std::string& sql = *new std::string(std::string("SELECT ") + recordSelectColumns
        // Without the index by page, SQLite would walk the book's records in saving order.
        + " FROM ugc INDEXED BY ugc_page WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND status <> 3 AND "
          "page_identifier IN (?4, '') AND (page_identifier = ?4 OR display_num = ?5) ORDER BY id");
    auto* statement = m_database->statement(sql.c_str());
    if (statement)
        statement->bind(1, family).bind(2, bookID).bind(3, userID).bind(4, pageID).bind(5, displayNumber);
    return readRecords<Record>(statement);
}

template<class Record, class Pointer>
std::vector<Pointer> SqliteDatabaseManager::readRecordsOfBook(int family, const std::string& bookID, int64_t userID,
    bool& read)
{
    // The table is ordered by (book, user, kind, id): the rows come in one pass, in order.
    // Lists are of highlights or bookmarks, whose rows read whole from their packed columns.
    static const std::string& sql = *new std::string(std::string("SELECT ") + packedRecordColumns
        + " FROM ugc WHERE book_id = ?2 AND user_id = ?3 AND family = ?1 AND status <> 3 ORDER BY id");
    auto* statement = m_database->statement(sql.c_str());
    if (statement)
        statement->bind(1, family).bind(2, bookID).bind(3, userID);
    // A whole book's list is made in an arena of its own.
    auto arena = RecordArena::make();
    auto records = readRecords<Record, Pointer>(statement, packedRecordRowAt, arena.get());
    read = statement && statement->ok();
    // A list the colour migration could not read whole must not count as migrated.
    if (!read && family == static_cast<int>(UGCFamily::Highlight))
        deleteColorMigrationMark(bookID, userID);
    return records;
}

template<class Record>
std::vector<std::shared_ptr<Record>> SqliteDatabaseManager::recordsOfBook(int family, const std::string& bookID,
    int64_t userID)
{
    // The version is read before the list: a commit in between makes the kept list look
    // older than it is (read again next time), never newer.
    auto version = dataVersion();
    if (version) {
        if (const auto* kept = m_bookLists.find(family, bookID, userID, *version)) {
            recordSuccess();
            RecordArena::Holder arena = RecordArena::make(arenaBytesFor<Record>(kept->size()));
            return copyRecords<Record>(*kept, *arena);
        }
    }
    bool read = false;
    auto records = readRecordsOfBook<Record>(family, bookID, userID, read);
    if (version && read && m_bookLists.isWorthKeeping(family, bookID, userID, *version)) {
        RecordListCache::Records kept;
        kept.reserve(records.size());
        RecordArena::Holder arena = RecordArena::make(arenaBytesFor<Record>(records.size()));
        for (const auto& record : records)
            kept.push_back(arena->makeCopy<Record>(*record));
        m_bookLists.keep(family, bookID, userID, *version, std::move(kept));
    }
    return records;
}

template<class Record>
std::shared_ptr<const std::vector<std::shared_ptr<const Record>>> SqliteDatabaseManager::sharedRecordsOfBook(
    int family, const std::string& bookID, int64_t userID)
{
    auto version = dataVersion();
    if (version) {
        if (auto kept = m_bookLists.shared<Record>(family, bookID, userID, *version)) {
            recordSuccess();
            return kept;
        }
    }
    bool read = false;
    auto records = readRecordsOfBook<Record, std::shared_ptr<const Record>>(family, bookID, userID, read);
    // The records just made have no other holder: the kept list takes them as they are.
    if (version && read)
        return m_bookLists.keepShared<Record>(family, bookID, userID, *version, std::move(records));
    return std::make_shared<const std::vector<std::shared_ptr<const Record>>>(std::move(records));
}

// --- Highlights ---

base::Result<void> SqliteDatabaseManager::saveHighlight(const std::shared_ptr<SDKHighlightVO>& record, const std::string& bookID,
    int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return saveRecord(*record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::deleteHighlight(const std::shared_ptr<SDKHighlightVO>& record, const std::string& bookID,
    int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return deleteRecord(*record, bookID, userID);
}

std::vector<std::shared_ptr<SDKHighlightVO>> SqliteDatabaseManager::highlightForPageID(const std::string& pageID,
    const std::string& displayNumber, const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOnPage<SDKHighlightVO>(
        static_cast<int>(UGCFamily::Highlight), pageID, displayNumber, bookID, userID);
}

std::vector<std::shared_ptr<SDKHighlightVO>> SqliteDatabaseManager::highlightBookID(const std::string& bookID,
    int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOfBook<SDKHighlightVO>(static_cast<int>(UGCFamily::Highlight), bookID, userID);
}

lectoro::YSDBManager::SharedHighlightList SqliteDatabaseManager::sharedHighlightsOfBook(const std::string& bookID,
    int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return sharedRecordsOfBook<SDKHighlightVO>(static_cast<int>(UGCFamily::Highlight), bookID, userID);
}

base::Result<void> SqliteDatabaseManager::updateAnsweredUGC(const std::string& ugcID, bool accepted,
    const std::string& userId)
{
    if (!isUploadedID(ugcID))
        return {};
    std::lock_guard lock(m_mutex);
    m_bookLists.clear();
    int64_t userID = base::longLongValue(userId);
    // A declined note is someone else's: it leaves this user's store and nothing is
    // uploaded for it here (the answer itself went to the server already). An accepted
    // one is marked answered.
    static const std::string answeredSql = "UPDATE ugc SET flags = flags | " + std::to_string(highlightAnsweredFlag)
        + " WHERE family = 1 AND layout = " + std::to_string(recordFieldsLayout) + " AND user_id = ?1 AND ugc_id = ?2";
    auto* statement = accepted
        ? m_database->statement(answeredSql.c_str())
        : m_database->statement("DELETE FROM ugc WHERE family = 1 AND user_id = ?1 AND ugc_id = ?2");
    return writeOutcome(statement && statement->bind(1, userID).bind(2, ugcID).run());
}

// --- Bookmarks, pen drawings, text boxes, protractors ---

base::Result<void> SqliteDatabaseManager::saveBookmark(const std::shared_ptr<SDKBookmarkVO>& record, const std::string& bookID,
    int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return saveRecord(*record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::deleteBookmark(const std::shared_ptr<SDKBookmarkVO>& record, const std::string& bookID,
    int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return deleteRecord(*record, bookID, userID);
}

std::vector<std::shared_ptr<SDKBookmarkVO>> SqliteDatabaseManager::bookmarkForPageID(const std::string& pageID,
    const std::string& displayNumber, const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOnPage<SDKBookmarkVO>(
        static_cast<int>(UGCFamily::Bookmark), pageID, displayNumber, bookID, userID);
}

std::vector<std::shared_ptr<SDKBookmarkVO>> SqliteDatabaseManager::bookMarkBookID(const std::string& bookID,
    int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOfBook<SDKBookmarkVO>(static_cast<int>(UGCFamily::Bookmark), bookID, userID);
}

base::Result<void> SqliteDatabaseManager::savePentoolDrawing(const std::shared_ptr<SDKPentoolVO>& record, const std::string& bookID,
    int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return saveRecord(*record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::deletePentoolDrawing(const std::shared_ptr<SDKPentoolVO>& record,
    const std::string& bookID, int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return deleteRecord(*record, bookID, userID);
}

std::vector<std::shared_ptr<SDKPentoolVO>> SqliteDatabaseManager::pentoolDrawingForPageID(const std::string& pageID,
    const std::string& displayNumber, const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOnPage<SDKPentoolVO>(
        static_cast<int>(UGCFamily::PenDrawing), pageID, displayNumber, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::saveTextAnnotation(const std::shared_ptr<SDKTextAnnotationVO>& record,
    const std::string& bookID, int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return saveRecord(*record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::deleteTextAnnotation(const std::shared_ptr<SDKTextAnnotationVO>& record,
    const std::string& bookID, int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return deleteRecord(*record, bookID, userID);
}

std::vector<std::shared_ptr<SDKTextAnnotationVO>> SqliteDatabaseManager::textAnnotationVOForPageID(
    const std::string& pageID, const std::string& displayNumber, const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOnPage<SDKTextAnnotationVO>(
        static_cast<int>(UGCFamily::TextAnnotation), pageID, displayNumber, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::saveProtractor(const std::shared_ptr<SDKProtractorVO>& record, const std::string& bookID,
    int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return saveRecord(*record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::deleteProtractorDrawing(const std::shared_ptr<SDKProtractorVO>& record,
    const std::string& bookID, int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    return deleteRecord(*record, bookID, userID);
}

std::vector<std::shared_ptr<SDKProtractorVO>> SqliteDatabaseManager::protractorForPageID(const std::string& pageID,
    const std::string& displayNumber, const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return recordsOnPage<SDKProtractorVO>(
        static_cast<int>(UGCFamily::Protractor), pageID, displayNumber, bookID, userID);
}

} // namespace companion
