#pragma once

// The real local store: one SQLite database ("lectoro-store.sqlite") in the storage root,
// in WAL mode with synchronous=FULL so every save is on disk when it returns. Every
// statement binds its values as parameters. A mutex serialises the calls, so the reader
// (main thread) and the sync client (a worker) may share one instance; they may also each
// open their own on the same root.
//
// Beside the product's operations it offers the sync client's: what is still to upload,
// marking uploads done, and storing what the service sent.

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

#include "platform/base/Error.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace companion {

class SqliteDatabase;

inline constexpr const char* storeFileName = "lectoro-store.sqlite";

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

class SqliteDatabaseManager final : public lectoro::YSDBManager {
public:
    // Creates the storage root when missing. Fails with a clear error when the folder or
    // the database cannot be opened, or the database is of a newer schema.
    static base::Result<std::shared_ptr<SqliteDatabaseManager>> open(const std::string& storageRoot);
    // A private database that lives as long as the object (tests, a host without storage).
    static base::Result<std::shared_ptr<SqliteDatabaseManager>> openInMemory();
    ~SqliteDatabaseManager() override;

    const std::string& databasePath() const { return m_path; }
    // The last failure of a call (the product's calls report none); empty domain when the
    // last call succeeded.
    base::Error lastError() const;

    // --- lectoro::YSDBManager ---
    void setBook(std::shared_ptr<lectoro::LectoroBookVO>) override;

    void saveHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>&, const std::string& bookID, int64_t userID) override;
    void deleteHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>&, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlightForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlightBookID(const std::string& bookID, int64_t userID) override;
    void updateAnsweredUGC(const std::string& ugcID, bool accepted, const std::string& userId) override;

    void saveBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&, const std::string& bookID, int64_t userID) override;
    void deleteBookmark(const std::shared_ptr<lectoro::SDKBookmarkVO>&, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKBookmarkVO>> bookmarkForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKBookmarkVO>> bookMarkBookID(const std::string& bookID, int64_t userID) override;

    void savePentoolDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&, const std::string& bookID, int64_t userID) override;
    void deletePentoolDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&, const std::string& bookID, int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> pentoolDrawingForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;

    void saveTextAnnotation(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&, const std::string& bookID,
        int64_t userID) override;
    void deleteTextAnnotation(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&, const std::string& bookID,
        int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>> textAnnotationVOForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;

    void saveFIB(const std::shared_ptr<lectoro::SDKFIBVO>&, const std::string& bookID, int64_t userID) override;
    void updateFIB(const std::shared_ptr<lectoro::SDKFIBVO>&, const std::string& bookID, int64_t userID) override;
    void deleteFIB(const std::shared_ptr<lectoro::SDKFIBVO>&, const std::string& bookID, int64_t userID) override;
    std::shared_ptr<lectoro::SDKFIBVO> getFIBObjectWithLinkId(int64_t linkID, int64_t userId) override;
    std::shared_ptr<lectoro::SDKFIBVO> getEquationFIBObjectForText(const std::string& text, const lectoro::PXLinkVO&,
        int64_t userId) override;
    bool isFIBsAvailableOnPageID(const std::string& pageID, const std::string& displayNumber, const std::string& bookID,
        int64_t userID, bool submitted) override;
    void clearAllFIBsOnPageNumber(const std::string& pageID, const std::string& displayNumber, const std::string& bookID,
        int64_t userID, bool submitted) override;
    std::shared_ptr<lectoro::SDKFIBVO> getSDKFIBVOFromUGCDictionary(const base::Value&) override;
    std::shared_ptr<lectoro::SDKPentoolVO> getSDKPenToolVOFromUGCDictionary(const base::Value&) override;

    bool isSubmitAnotationAllowedForBookID(const std::string& bookID, int64_t userID) override;
    bool isSubmitAnotationAllowedForFibForBookID(const std::string& bookID, int64_t userID) override;
    void submitAnotationForBookID(const std::string& bookID, int64_t userID) override;
    void submitAnotationForFibForBookID(const std::string& bookID, int64_t userID) override;

    void saveProtractor(const std::shared_ptr<lectoro::SDKProtractorVO>&, const std::string& bookID, int64_t userID) override;
    void deleteProtractorDrawing(const std::shared_ptr<lectoro::SDKProtractorVO>&, const std::string& bookID,
        int64_t userID) override;
    std::vector<std::shared_ptr<lectoro::SDKProtractorVO>> protractorForPageID(const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID) override;

    void saveSCORMdataToDB(const std::string& bookID, int64_t userID, const std::string& scormID,
        const std::string& scormString, const std::string& classId, int64_t pageID, const std::string& activityName,
        bool isSynced) override;
    std::optional<std::string> fetchScormDataWithBookID(const std::string& bookID, int64_t userID,
        const std::string& scormID) override;

    void createReaderAnalyticsSessionForUserID(const std::string& userID, const std::string& bookID,
        const std::string& analyticsData) override;
    base::Value getReaderAnalyticsForUser(int64_t userID, const std::string& bookID) override;

    void saveBookMetadata(const base::Value& metadata, const std::string& bookID, int64_t userID) override;
    base::Value getBookMetadataForbookID(const std::string& bookID, int64_t userID) override;

    void saveReaderFontSetting(const std::shared_ptr<lectoro::ReaderFontSettingsVO>&, const std::string& bookID,
        int64_t userID) override;
    std::shared_ptr<lectoro::ReaderFontSettingsVO> getReaderFontSettingForBookID(const std::string& bookID,
        int64_t userID) override;

    std::vector<std::shared_ptr<lectoro::SDKBookClassInfoVO>> bookClassInfoArrayForBookID(const std::string& bookID,
        int64_t user) override;
    void saveSharedReceivedInfo(const base::Value& payload, const std::string& bookID, int64_t userID) override;

    base::Value getUnsynedUGCDictionaryForUserID(int64_t userID) override;
    base::Value getUnsyncedCollabDataDictionaryForUserID(int64_t userID) override;

    // --- The sync client's side ---
    // Records of the book still to upload (deleted ones included), in saving order.
    std::vector<UnsyncedUGC> unsyncedUGCForBookID(const std::string& bookID, int64_t userID);
    // An upload went through: each record gets its server id and counts as synced, and
    // uploaded deletions are forgotten; a record saved again since it was read for the
    // upload (a newer revision) keeps its new server id but stays unsynced.
    void markUGCUploaded(const std::string& bookID, int64_t userID, const std::vector<UploadedUGC>&);
    // What the service holds, merged in as synced: a record matched by server id (or local
    // id) is replaced unless it has changes not yet uploaded, which win; a deleted one
    // (status 3) is removed unless changed locally.
    void storeFetchedUGC(const std::string& bookID, int64_t userID,
        const std::vector<std::shared_ptr<lectoro::SDKUGCVO>>&);
    // Replaces the user's classes for the book.
    void saveBookClassInfo(const std::string& bookID, int64_t userID,
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
    static base::Result<std::shared_ptr<SqliteDatabaseManager>> openAt(const std::string& databasePath);

    void saveRecord(lectoro::SDKUGCVO&, const std::string& bookID, int64_t userID);
    void deleteRecord(const lectoro::SDKUGCVO&, const std::string& bookID, int64_t userID);
    std::vector<std::shared_ptr<lectoro::SDKUGCVO>> recordsOnPage(int family, const std::string& pageID,
        const std::string& displayNumber, const std::string& bookID, int64_t userID);
    std::vector<std::shared_ptr<lectoro::SDKUGCVO>> recordsOfBook(int family, const std::string& bookID, int64_t userID);
    std::shared_ptr<lectoro::SDKFIBVO> answerForLink(const std::string* bookID, int64_t linkID, int64_t userID);
    bool hasUnsubmitted(const std::string& bookID, int64_t userID, bool includePenDrawings);
    void markSubmitted(const std::string& bookID, int64_t userID, bool includePenDrawings);
    void recordFailure();
    void recordSuccess();
    void recordOutcome(bool succeeded);
    // A write transaction: beginWriting() is false (the error noted) when none could be
    // opened; finishWriting() commits work that went well and otherwise, or when the
    // commit fails, notes the error and rolls back.
    bool beginWriting();
    void finishWriting(bool ok);
    // The analytics sessions the query (of id and data, bound to user and book) selects, by id.
    base::Value analyticsSessions(const char* sql, int64_t userID, const std::string& bookID);

    mutable std::mutex m_mutex;
    std::unique_ptr<SqliteDatabase> m_database;
    std::string m_path;
    std::string m_currentBookID;
    base::Error m_lastError;
};

} // namespace companion
