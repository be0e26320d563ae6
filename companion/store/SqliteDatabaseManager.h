#pragma once

// The real local store: one SQLite database ("lectoro-store.sqlite") in the storage root,
// in WAL mode with synchronous=FULL so every save is on disk when it returns. Every
// statement binds its values as parameters. A mutex serialises the calls, so the reader
// (main thread) and the sync client (a worker) may share one instance; they may also each
// open their own on the same root.
//
// Opening checks the file (PRAGMA quick_check) unless its last connection closed cleanly and
// the file has not changed since (StoreCleanClose.h). A damaged file, or one that is no
// database, is never written into: it is moved aside with its -wal and -shm files (renamed
// "lectoro-store.damaged-<UTC time>.sqlite…", never deleted) and a fresh store starts; the
// problem handler hears of it once. Every error names SQLite's own cause (read-only, full,
// locked, damaged), and a write that fails answers that error and reaches the problem
// handler.
//
// Beside the product's operations it offers the sync client's: what is still to upload,
// marking uploads done, and storing what the service sent.

#include "companion/store/RecordListCache.h"
#include "companion/store/StoredRecord.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

#include "platform/base/Error.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace companion {

class SqliteDatabase;
class SqliteStatement;

inline constexpr const char* storeFileName = "lectoro-store.sqlite";
// The book metadata key under which the store remembers the colour migration; never answered
// as the book's metadata.
inline constexpr const char* colorMigrationMetadataKey = "companion.highlightColorsMigrated";

// A record waiting for upload and the local revision it was read at.
struct UnsyncedUGC {
    std::shared_ptr<lectoro::SDKUGCVO> record;
    int64_t revision = 0;
};

// An upload that went through: the record as uploaded, its revision then, and the id the
// server gave it (empty for a deletion or when the server kept the record's own id).
struct UploadedUGC {
    std::shared_ptr<lectoro::SDKUGCVO> record;
    int64_t revision = 0;
    std::string serverID;
};

struct StoreOptions {
    // The SQLite VFS the store's files are opened through; empty for the system's. Tests
    // give ones that lose power or refuse writes on cue.
    std::string vfs;
    // False only to fill a store quickly (benchmarks): saves then skip the sync to disk
    // and may be lost in a crash.
    bool durable = true;
};

class SqliteDatabaseManager final : public lectoro::YSDBManager {
public:
    // Creates the storage root when missing. Fails with a clear error (its code a
    // lectoro::YSDBManagerErrorCode) when the folder or the database cannot be used, or
    // the database is of a newer schema; replaces a damaged database (see above).
    static base::Result<std::shared_ptr<SqliteDatabaseManager>> open(const std::string& storageRoot,
        const StoreOptions& = {});
    // A private database that lives as long as the object (tests, a host without storage).
    static base::Result<std::shared_ptr<SqliteDatabaseManager>> openInMemory();
    // A stand-in for a store that could not be opened: it holds nothing, every write fails
    // with `cause`, and the problem handler hears `cause` once.
    static std::shared_ptr<SqliteDatabaseManager> openUnusable(base::Error cause);
    ~SqliteDatabaseManager() override;

    const std::string& databasePath() const { return m_path; }
    // The last failure of a call; empty domain when the last call succeeded.
    base::Error lastError() const;
    // What opening found: a damaged store that was replaced, or why the store is unusable.
    std::optional<base::Error> openingProblem() const;
    // Why nothing can be read or written (a stand-in from openUnusable()); absent for a
    // working store.
    std::optional<base::Error> unusableCause() const;
    // Whether opening read the whole file through SQLite's check: it does unless the store
    // was closed cleanly and its file is as it was left.
    bool checkedOnOpening() const { return m_checkedOnOpening; }

    // --- lectoro::YSDBManager ---
    void setProblemHandler(std::function<void(const base::Error&)>) override;
    void setBook(std::shared_ptr<lectoro::LectoroBookVO>) override;

    base::Result<void> saveHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>&, const std::string& bookID, int64_t userID) override;
    base::Result<void> deleteHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>&, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlightForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlightBookID(const std::string& bookID, int64_t userID) override;
    SharedHighlightList sharedHighlightsOfBook(const std::string& bookID, int64_t userID) override;
    base::Result<void> updateAnsweredUGC(const std::string& ugcID, bool accepted, const std::string& userId) override;

    base::Result<void> saveBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&, const std::string& bookID, int64_t userID) override;
    base::Result<void> deleteBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKBookmarkVO>> bookmarkForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKBookmarkVO>> bookMarkBookID(const std::string& bookID, int64_t userID) override;

    base::Result<void> savePentoolDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&, const std::string& bookID, int64_t userID) override;
    base::Result<void> deletePentoolDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> pentoolDrawingForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;

    base::Result<void> saveTextAnnotation(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&, const std::string& bookID,
        int64_t userID) override;
    base::Result<void> deleteTextAnnotation(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&, const std::string& bookID,
        int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>> textAnnotationVOForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;

    base::Result<void> saveFIB(const std::shared_ptr<lectoro::SDKFIBVO>&, const std::string& bookID, int64_t userID) override;
    base::Result<void> updateFIB(const std::shared_ptr<lectoro::SDKFIBVO>&, const std::string& bookID, int64_t userID) override;
    base::Result<void> deleteFIB(const std::shared_ptr<lectoro::SDKFIBVO>&, const std::string& bookID, int64_t userID) override;
    std::shared_ptr<lectoro::SDKFIBVO> getFIBObjectWithLinkId(int64_t linkID, int64_t userId) override;
    std::shared_ptr<lectoro::SDKFIBVO> getEquationFIBObjectForText(const std::string& text, const lectoro::PXLinkVO&,
        int64_t userId) override;
    bool isFIBsAvailableOnPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID,
        int64_t userID, bool submitted) override;
    base::Result<void> clearAllFIBsOnPageNumber(const std::string& pageID, const std::string& displayNumber, const std::string& bookID,
        int64_t userID, bool submitted) override;
    std::shared_ptr<lectoro::SDKFIBVO> getSDKFIBVOFromUGCDictionary(const base::Value&) override;
    std::shared_ptr<lectoro::SDKPentoolVO> getSDKPenToolVOFromUGCDictionary(const base::Value&) override;

    bool isSubmitAnotationAllowedForBookID(const std::string& bookID, int64_t userID) override;
    bool isSubmitAnotationAllowedForFibForBookID(const std::string& bookID, int64_t userID) override;
    base::Result<void> submitAnotationForBookID(const std::string& bookID, int64_t userID) override;
    base::Result<void> submitAnotationForFibForBookID(const std::string& bookID, int64_t userID) override;

    base::Result<void> saveProtractor(const std::shared_ptr<lectoro::SDKProtractorVO>&, const std::string& bookID, int64_t userID) override;
    base::Result<void> deleteProtractorDrawing(const std::shared_ptr<lectoro::SDKProtractorVO>&, const std::string& bookID,
        int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKProtractorVO>> protractorForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;

    base::Result<void> saveSCORMdataToDB(const std::string& bookID, int64_t userID, const std::string& scormID,
        const std::string& scormString, const std::string& classId, int64_t pageID, const std::string& activityName,
        bool isSynced) override;
    std::optional<std::string> fetchScormDataWithBookID(const std::string& bookID, int64_t userID,
        const std::string& scormID) override;

    base::Result<void> createReaderAnalyticsSessionForUserID(const std::string& userID, const std::string& bookID,
        const std::string& analyticsData) override;
    base::Value getReaderAnalyticsForUser(int64_t userID, const std::string& bookID) override;
    base::Result<bool> storeReaderAnalyticsChanges(const std::string& userID, const std::string& bookID,
        const lectoro::TrackingChanges&) override;
    // Committed without syncing the log (SQLite's synchronous NORMAL for this transaction):
    // it survives the process ending; the next synced commit carries it to the disk.
    base::Result<bool> storeReaderAnalyticsChangesWithoutSync(const std::string& userID, const std::string& bookID,
        const lectoro::TrackingChanges&) override;

    bool highlightColorsWereMigrated(const std::string& bookID, int64_t userID,
        const std::vector<std::string>& offeredColors) override;
    void rememberHighlightColorMigration(const std::string& bookID, int64_t userID,
        const std::vector<std::string>& offeredColors) override;
    void forgetHighlightColorMigration(const std::string& bookID, int64_t userID) override;

    base::Result<void> saveBookMetadata(const base::Value& metadata, const std::string& bookID, int64_t userID) override;
    base::Value getBookMetadataForbookID(const std::string& bookID, int64_t userID) override;

    base::Result<void> saveReaderFontSetting(const std::shared_ptr<lectoro::ReaderFontSettingsVO>&, const std::string& bookID,
        int64_t userID) override;
    std::shared_ptr<lectoro::ReaderFontSettingsVO> getReaderFontSettingForBookID(const std::string& bookID,
        int64_t userID) override;

    std::vector<std::shared_ptr<lectoro::SDKBookClassInfoVO>> bookClassInfoArrayForBookID(const std::string& bookID,
        int64_t user) override;
    base::Result<void> saveSharedReceivedInfo(const base::Value& payload, const std::string& bookID, int64_t userID) override;

    base::Value getUnsynedUGCDictionaryForUserID(int64_t userID) override;
    base::Value getUnsyncedCollabDataDictionaryForUserID(int64_t userID) override;

    // --- The sync client's side ---
    // Records of the book still to upload (deleted ones included), in saving order.
    std::vector<UnsyncedUGC> unsyncedUGCForBookID(const std::string& bookID, int64_t userID);
    // An upload went through: each record gets its server id and counts as synced, and
    // uploaded deletions are forgotten; a record saved again since it was read for the
    // upload (a newer revision) keeps its new server id but stays unsynced.
    base::Result<void> markUGCUploaded(const std::string& bookID, int64_t userID, const std::vector<UploadedUGC>&);
    // What the service holds, merged in as synced in one transaction: a record matched by
    // server id (or local id) is replaced unless it has changes not yet uploaded, which win;
    // a deleted one (status 3) is removed unless changed locally. The records become the
    // store's: each takes the local id it is stored under and the synced flag.
    base::Result<void> storeFetchedUGC(const std::string& bookID, int64_t userID,
        std::vector<std::shared_ptr<lectoro::SDKUGCVO>>);
    // The same, with the records handed over a batch at a time until an empty batch (so a
    // first fetch of a book never holds thousands of records at once). `nextBatch` is
    // called with the store locked: it must not call the store.
    using FetchedBatches = std::function<std::vector<std::shared_ptr<lectoro::SDKUGCVO>>()>;
    base::Result<void> storeFetchedUGC(const std::string& bookID, int64_t userID, const FetchedBatches& nextBatch);
    // Replaces the user's classes for the book.
    base::Result<void> saveBookClassInfo(const std::string& bookID, int64_t userID,
        const std::vector<std::shared_ptr<lectoro::SDKBookClassInfoVO>>&);
    void markSharedReceivedInfoSynced(const std::string& bookID, int64_t userID);
    // {"ScormID", "data", "classId", "PageID", "ActivityName"} not yet uploaded.
    base::Value unsyncedScormData(const std::string& bookID, int64_t userID);
    void markScormSynced(const std::string& bookID, int64_t userID, const std::string& scormID);
    // Session id text to JSON of the sessions not yet uploaded; marking them synced makes
    // the next createReaderAnalyticsSessionForUserID start a new session.
    base::Value unsyncedAnalyticsSessions(int64_t userID, const std::string& bookID);
    void markAnalyticsSessionsSynced(int64_t userID, const std::string& bookID, const std::vector<std::string>& sessionIDs);

private:
    SqliteDatabaseManager(std::unique_ptr<SqliteDatabase>, std::string path);
    static base::Result<std::shared_ptr<SqliteDatabaseManager>> openAt(const std::string& databasePath,
        const StoreOptions&, bool checkFile);

    base::Result<void> saveRecord(lectoro::SDKUGCVO&, const std::string& bookID, int64_t userID);
    base::Result<void> deleteRecord(const lectoro::SDKUGCVO&, const std::string& bookID, int64_t userID);
    // The records of one kind on a page, or in a whole book, in saving order.
    template<class Record>
    std::vector<std::shared_ptr<Record>> recordsOnPage(int family, const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID);
    template<class Record>
    std::vector<std::shared_ptr<Record>> recordsOfBook(int family, const std::string& bookID, int64_t userID);
    // The kept list itself, shared (kept from its first read: no record is copied).
    template<class Record>
    std::shared_ptr<const std::vector<std::shared_ptr<const Record>>> sharedRecordsOfBook(int family,
        const std::string& bookID, int64_t userID);
    // A book's list as the file holds it now; `read` tells whether it was read whole.
    template<class Record, class Pointer = std::shared_ptr<Record>>
    std::vector<Pointer> readRecordsOfBook(int family, const std::string& bookID, int64_t userID, bool& read);
    // Every record the statement's rows (of `recordSelectColumns`, or of
    // `packedRecordColumns` read by `packedRecordRowAt`) still describe; noted as the call's
    // outcome. Highlights and bookmarks are made in `arena` when one is given.
    template<class Record, class Pointer = std::shared_ptr<Record>>
    std::vector<Pointer> readRecords(SqliteStatement*, RecordRowReading = recordRowAt, RecordArena* arena = nullptr);
    // After this connection saved a record: a kept list of its kind and book takes the
    // record as now stored.
    void refreshKeptRecord(int family, const std::string& bookID, int64_t userID, const std::string& localID);
    // finishWriting() for a transaction that wrote these records (kind, local id): once
    // committed, the kept lists take them as stored; a failed one leaves no list kept. Past
    // mostRecordsRefreshed records (a first sync brings a whole book), reading the lists
    // again costs less than finding each record in them: the lists are let go.
    static constexpr size_t mostRecordsRefreshed = 64;
    base::Result<void> finishWritingRecords(bool ok, const std::string& bookID, int64_t userID,
        const std::vector<std::pair<int, std::string>>& records);
    // The colours the book's highlights were last migrated to, when remembered.
    std::optional<std::vector<std::string>> migratedHighlightColors(const std::string& bookID, int64_t userID);
    // Before highlights are written: the colour migration is forgotten when one of them has
    // a colour it did not offer. False when the store failed.
    bool forgetColorMigrationUnlessOffered(const std::string& bookID, int64_t userID,
        const std::vector<const lectoro::SDKUGCVO*>& written);
    bool deleteColorMigrationMark(const std::string& bookID, int64_t userID);
    // Merges one batch of fetched records in (see storeFetchedUGC); false when the store failed.
    bool storeFetchedBatch(const std::string& bookID, int64_t userID,
        const std::vector<std::shared_ptr<lectoro::SDKUGCVO>>&, std::vector<std::pair<int, std::string>>& touched);
    std::shared_ptr<lectoro::SDKFIBVO> answerForLink(const std::string* bookID, int64_t linkID, int64_t userID);
    bool hasUnsubmitted(const std::string& bookID, int64_t userID, bool includePenDrawings);
    base::Result<void> markSubmitted(const std::string& bookID, int64_t userID, bool includePenDrawings);
    // Notes the database's last error (or why the store is unusable) and answers it.
    base::Error recordFailure();
    void recordSuccess();
    void recordOutcome(bool succeeded);
    // A write that failed: noted, told to the problem handler, and answered.
    base::Result<void> failWrite();
    base::Result<void> writeOutcome(bool succeeded);
    // A write transaction: beginWriting() is false when none could be opened (answer
    // failWrite() then); finishWriting() commits work that went well and otherwise, or
    // when the commit fails, rolls back and answers the failure.
    bool beginWriting();
    base::Result<void> finishWriting(bool ok);
    // The analytics sessions of a user's book (only those not sent yet, or all), by id.
    base::Value analyticsSessions(bool unsyncedOnly, int64_t userID, const std::string& bookID);
    // Stores a session's text as parts, writing only the parts that differ from those stored.
    bool writeSessionParts(int64_t sessionID, std::string_view text);
    bool writeChangedParts(int64_t sessionID, std::string_view text, const std::vector<size_t>& starts,
        const std::vector<bool>& unchanged);
    std::optional<int64_t> dataVersion();
    // The unsynced session row of the user, book and visit, made (or emptied of a text kept
    // whole in the row) when there is none; false when the store failed.
    bool sessionRowFor(int64_t userID, const std::string& bookID, const std::string& visit, int64_t& sessionID);
    base::Result<bool> storeSessionChanges(const std::string& userID, const std::string& bookID,
        const lectoro::TrackingChanges&);
    bool writeSessionGroups(int64_t sessionID, const lectoro::TrackingChanges&);
    bool appendSessionGroups(const lectoro::TrackingChanges&);

    mutable std::mutex m_mutex;
    std::unique_ptr<SqliteDatabase> m_database;
    // The reading session this connection stored last, with its text, so that the next save
    // of the same visit finds its changed parts in memory instead of reading them back. Kept
    // only while no other connection has written (SQLite's data_version is unchanged).
    struct StoredSession {
        int64_t sessionID = 0;
        std::string text;
        int64_t dataVersion = 0;
    };
    std::optional<StoredSession> m_storedSession;
    // The session stored last by name (storeReaderAnalyticsChanges): each name's array is a
    // run of parts, so new events are added to its last part, or a new one, in place.
    struct StoredSessionGroups {
        int64_t sessionID = 0;
        int64_t userID = 0;
        std::string bookID;
        int64_t dataVersion = 0;
        // Name index to the sequence number and size of its array's last part.
        std::map<size_t, std::pair<int64_t, size_t>> lastParts;
    };
    std::optional<StoredSessionGroups> m_storedGroups;
    // The open book's lists of highlights and bookmarks (see RecordListCache.h).
    RecordListCache m_bookLists;
    std::string m_path;
    // Whether commits sync the log to the disk (StoreOptions::durable).
    bool m_syncsCommits = true;
    std::string m_currentBookID;
    base::Error m_lastError;
    // Why every write fails, for a stand-in of a store that could not be opened.
    std::optional<base::Error> m_unusable;
    std::optional<base::Error> m_openingProblem;
    // Not yet told to a problem handler.
    bool m_openingProblemPending = false;
    bool m_checkedOnOpening = false;
    // A store on a file marks a clean close, unless a call failed meanwhile (the file may
    // then be damaged: the next opening checks it).
    bool m_marksCleanClose = false;
    // Called with m_mutex held: it must not call back into the store.
    std::function<void(const base::Error&)> m_problemHandler;
};

} // namespace companion
