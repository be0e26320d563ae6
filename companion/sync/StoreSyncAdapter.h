#pragma once

// The sync client's view of the SQLite store.

#include "companion/sync/SyncStore.h"

#include <memory>

namespace companion {

class SqliteDatabaseManager;

class StoreSyncAdapter final : public SyncStore {
public:
    explicit StoreSyncAdapter(std::shared_ptr<SqliteDatabaseManager>);

    UGCUpload prepareUGCUpload(int64_t userID, std::optional<int64_t> bookID) override;
    void completeUGCUpload(int64_t userID, const UGCUpload&, const base::Value& saved) override;
    base::Result<void> storeFetchedUGC(int64_t userID, int64_t bookID, const base::Value::List& ugcList) override;
    void storeClassInfo(int64_t userID, int64_t bookID, const base::Value& classInfoList) override;
    base::Value unsyncedCollabData(int64_t userID, int64_t bookID) override;
    void markCollabSynced(int64_t userID, int64_t bookID) override;
    Sessions unsyncedReadingSessions(int64_t userID, int64_t bookID) override;
    void markReadingSessionsSynced(int64_t userID, int64_t bookID, const std::vector<std::string>& ids) override;
    base::Value furthestPages(int64_t userID, const std::vector<int64_t>& bookIDs) override;
    base::Value unsyncedScormData(int64_t userID, int64_t bookID) override;
    void markScormSynced(int64_t userID, int64_t bookID, const std::string& scormID) override;
    void storeScormData(int64_t userID, int64_t bookID, const base::Value& entries) override;

private:
    std::shared_ptr<SqliteDatabaseManager> m_store;
};

} // namespace companion
