#pragma once

// The sync client: uploads and downloads a user's content for a book through the
// service. Every operation returns at once and reports exactly once through the
// delegate it names (see LectoroDataSyncingManagerDelegate for which callbacks answer
// which operation). Delegates are held weakly: one that is gone when the answer arrives
// hears nothing. A client keeps itself alive until its requests have reported, so a
// caller may drop it right after sending.
//
// Operations whose selectors name no delegate (tracking, highlight sharing, accept or
// reject) report to the client's own delegate (setDelegate), else to the delegate of the
// last operation that named one.
//
// Created through CompanionFramework::makeDataSyncingManager(baseURL, clientID).

#include "LectoroSDKWithReader/readersdk/LectoroServiceMetaData.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class LectoroDataSyncingManagerDelegate;

using SyncDelegate = std::weak_ptr<LectoroDataSyncingManagerDelegate>;

class LectoroDataSyncingManager {
public:
    virtual ~LectoroDataSyncingManager() = default;

    virtual const std::string& baseURLString() const = 0;
    virtual const std::string& clientID() const = 0;
    virtual std::optional<std::string> microServicesBaseURLString() const = 0;
    virtual void setMicroServicesBaseURLString(std::optional<std::string>) = 0;

    virtual void setDelegate(SyncDelegate) = 0;

    // UGC (highlights, notes, bookmarks, drawings, text boxes, answers) of one book.
    virtual void fetchUGCOperationForBookID(int64_t bookID, int64_t userID, SyncDelegate, const std::string& userToken,
        const std::string& bookVersion) = 0;
    virtual void fetchUGCForBookID(int64_t bookID, int64_t userID, SyncDelegate, const std::string& userToken,
        const std::string& bookVersion) = 0;
    // Uploads what is unsynced, then downloads the book's UGC.
    virtual void synchUGCForBookID(int64_t bookID, int64_t userID, SyncDelegate, const std::string& userToken,
        const std::string& bookVersion) = 0;
    virtual void saveUGCOperationForBookID(int64_t bookID, int64_t userID, SyncDelegate, const std::string& userToken,
        const LectoroServiceMetaData&) = 0;
    // Every unsynced record of the user, whatever the book.
    virtual void saveUGCForUserID(int64_t userID, SyncDelegate, const std::string& userToken) = 0;

    // Reading sessions stored for the book.
    virtual void saveTrackingDataForBookID(int64_t bookID, const std::string& userToken, int64_t userId) = 0;
    // Sessions shorter than minimumTimeSpend milliseconds are left out.
    virtual void saveTrackingDataForBookID(int64_t bookID, const std::string& userToken, int64_t userId,
        int64_t minimumTimeSpend) = 0;

    // Furthest page, as the store holds it, of every book this client has sent a request
    // about (the close of a book sends the book's UGC requests first).
    virtual void saveFurthestPageDataForUserID(int64_t userID, SyncDelegate, const std::string& userToken) = 0;
    virtual void fetchFurthestPageDataForBookID(int64_t bookID, int64_t userID, SyncDelegate,
        const std::string& userToken) = 0;

    // SCORM data.
    virtual void fetchAndSaveSormDataForUserID(int64_t userID, int64_t bookID, const std::string& classId, SyncDelegate,
        const std::string& userToken) = 0;
    virtual void saveSormDataForUserID(int64_t userID, int64_t bookID, const std::string& classId, SyncDelegate,
        const std::string& userToken) = 0;

    // Sharing.
    virtual void saveHighlightData(const base::Value& shareAndRecieveDict, int64_t bookID,
        const std::string& userToken) = 0;
    virtual void acceptOrRejectCollab(const std::string& ugcID, bool isAccepted, const std::string& userToken) = 0;

    // Teacher review and the learner's submission.
    virtual void saveTeacherAnnotationsForAnnotation(const base::Value& annotation, const std::string& learnerID,
        int64_t bookID, SyncDelegate, const std::string& userToken) = 0;
    virtual void submitAnotationForBookID(int64_t bookID, int64_t userID, SyncDelegate, const std::string& userToken) = 0;
};

} // namespace lectoro
