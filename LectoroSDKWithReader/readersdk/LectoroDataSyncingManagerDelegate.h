#pragma once

// What the sync client reports. Every operation of LectoroDataSyncingManager answers
// exactly once, with one success or one failure callback, on the thread that delivered the
// service's answer (not necessarily the main thread: receivers hop to main themselves).
// Every callback is optional; the defaults do nothing, except where a short form exists:
// the long form then forwards to it, so a receiver may implement either.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lectoro {

class LectoroDataSyncingManagerDelegate {
public:
    virtual ~LectoroDataSyncingManagerDelegate() = default;

    // fetchUGCOperationForBookID
    virtual void didUGCFetchCompletedSuccessfullyWithUserID(int64_t /*userID*/, int64_t /*bookID*/) { }
    virtual void didUGCFetchFailedWithError(const base::Error&, int64_t /*userID*/, int64_t /*bookID*/) { }

    // fetchUGCForBookID (the media book's fetch)
    virtual void didFetchedUGCSuccessfully() { }
    virtual void didFailedToFetchUGCWithError(const base::Error&) { }

    // synchUGCForBookID
    virtual void didUGCSynchCompletedSuccessfully() { }
    virtual void didUGCSynchFailedWithError(const base::Error&, int64_t /*userID*/, int64_t /*bookID*/) { }

    // saveUGCOperationForBookID
    virtual void didUGCSaveCompletedSuccessfullyWithUserID(int64_t /*userID*/, int64_t /*bookID*/) { }
    virtual void didUGCSaveFailedWithError(const base::Error&, int64_t /*userID*/, int64_t /*bookID*/) { }

    // saveUGCForUserID
    virtual void didSavedUGCSuccessfully() { }
    virtual void didFailedToSaveUGCWithError(const base::Error&) { }

    // saveTrackingDataForBookID
    virtual void didSaveTrackingDataSuccessfully() { }
    virtual void didSaveTrackingDataFailedWithError(const base::Error&) { }
    virtual void didSaveTrackingDataFailedWithError(const base::Error& error, int64_t /*bookID*/, int64_t /*userId*/)
    {
        didSaveTrackingDataFailedWithError(error);
    }

    // saveFurthestPageDataForUserID
    virtual void didSaveFurthestPageDataSuccessfully(int64_t /*bookID*/) { }
    virtual void didFailedToSaveFurthestPageDataWithError(const base::Error&, int64_t /*bookID*/) { }

    // fetchFurthestPageDataForBookID
    // The data is absent when the service holds none for the book.
    virtual void didFetchFurthestPageDataSuccessfullyForBookID(int64_t /*bookID*/,
        const std::optional<std::string>& /*furthestPageData*/)
    {
    }
    virtual void didFailedToFetchFurthestPageDataWithError(const base::Error&, int64_t /*bookID*/) { }

    // fetchAndSaveSormDataForUserID
    virtual void didFetchScormDataSuccessfully() { }
    virtual void didFailedToFetchScormWithError(const base::Error&) { }

    // saveSormDataForUserID
    virtual void didSavedScormDataSuccessfully() { }
    virtual void didFailedToSaveScormWithError(const base::Error&, int64_t /*bookID*/, const std::string& /*scormID*/,
        const std::string& /*classID*/)
    {
    }

    // saveHighlightData
    virtual void didSaveHighlightDataSuccessfully() { }
    virtual void didSaveHighlightDataFailedWithError(const base::Error&, const base::Value& /*shareAndRecieveDict*/,
        int64_t /*bookID*/)
    {
    }

    // acceptOrRejectCollab
    virtual void didAcceptOrRejectDataSuccessfully() { }
    virtual void didAcceptOrRejectDataSuccessfullywithUGCId(const std::string& /*ugcID*/, bool /*isAccepted*/)
    {
        didAcceptOrRejectDataSuccessfully();
    }
    virtual void didAcceptOrRejectDataFailedWithError(const base::Error&, const std::string& /*ugcID*/, bool /*isAccepted*/) { }

    // synchUGCForBookID also uploads the book's collaboration data (sharing settings) when
    // there is some; these report that upload, in addition to the synch answer.
    virtual void didSaveCollabDataSuccessfully() { }
    virtual void didSaveCollabDataFailedWithError(const base::Error&) { }

    // saveTeacherAnnotationsForAnnotation
    virtual void didSavedStudentAnotationSuccessfully() { }
    virtual void didFailedToSaveStudentAnotationWithError(const base::Error&) { }

    // submitAnotationForBookID
    virtual void didSubmitedAnotationSuccessfully() { }
    virtual void didFailedToSubmitAnotationWithError(const base::Error&) { }
};

} // namespace lectoro
