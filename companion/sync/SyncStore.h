#pragma once

// What the sync client reads from and writes to the device's store. The framework backs it
// with the SQLite store (StoreSyncAdapter); tests may give an in-memory one. Calls may come
// from any thread (answers can arrive on worker threads), so implementations lock.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace companion {

class SyncStore {
public:
    virtual ~SyncStore() = default;

    // An upload in preparation: what goes to the service and what the store needs back
    // to finish it.
    struct UGCUpload {
        // [{"bookID": n, "ugcList": [UGC dictionaries]}]; books with nothing to send are
        // left out.
        base::Value books = base::Value::List {};
        std::shared_ptr<void> state;
        // Why the store could not be read for the upload; nothing is sent then.
        std::optional<base::Error> failure;
    };
    // Unsynced UGC of one book or, with no book, of every book of the user.
    virtual UGCUpload prepareUGCUpload(int64_t userID, std::optional<int64_t> bookID) = 0;
    // The service took the upload; `saved` is its answer: [{"bookID", "localID", "ugcID"}].
    virtual void completeUGCUpload(int64_t userID, const UGCUpload&, const base::Value& saved) = 0;
    // The book's UGC as the service holds it (UGC dictionaries); local changes not yet
    // uploaded win. Fails, storing nothing, when the store cannot take it.
    virtual base::Result<void> storeFetchedUGC(int64_t userID, int64_t bookID, const base::Value::List& ugcList) = 0;
    virtual void storeClassInfo(int64_t userID, int64_t bookID, const base::Value& classInfoList) = 0;

    // Unsynced collaboration data (sharing settings) of the book, a dictionary; empty or
    // null when there is none.
    virtual base::Value unsyncedCollabData(int64_t userID, int64_t bookID) = 0;
    virtual void markCollabSynced(int64_t userID, int64_t bookID) = 0;

    struct Sessions {
        // Session JSON texts.
        base::Value::List sessions;
        std::vector<std::string> ids;
    };
    virtual Sessions unsyncedReadingSessions(int64_t userID, int64_t bookID) = 0;
    virtual void markReadingSessionsSynced(int64_t userID, int64_t bookID, const std::vector<std::string>& ids) = 0;

    // [{"bookID": n, "furthestPageData": text}] for those of the books that have one.
    virtual base::Value furthestPages(int64_t userID, const std::vector<int64_t>& bookIDs) = 0;

    // SCORM data not yet uploaded: a list of {"ScormID", "data", "classId", "PageID",
    // "ActivityName"}.
    virtual base::Value unsyncedScormData(int64_t userID, int64_t bookID) = 0;
    virtual void markScormSynced(int64_t userID, int64_t bookID, const std::string& scormID) = 0;
    // Entries of the same shape, as the service sent them.
    virtual void storeScormData(int64_t userID, int64_t bookID, const base::Value& entries) = 0;
};

} // namespace companion
