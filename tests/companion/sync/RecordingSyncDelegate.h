#pragma once

// A sync delegate that writes each answer as one line ("name" or "name:code" for a
// failure) and notes the thread it came on.

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "platform/base/Thread.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace companiontest {

class RecordingSyncDelegate : public lectoro::LectoroDataSyncingManagerDelegate {
public:
    std::vector<std::string> lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    std::vector<base::Error> errors() const
    {
        std::lock_guard lock(m_mutex);
        return m_errors;
    }
    std::atomic<int> answersOffMainThread { 0 };
    std::optional<std::string> furthestPageData;

    void didUGCFetchCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID) override
    {
        add("didUGCFetchCompletedSuccessfullyWithUserID:" + std::to_string(userID) + ":" + std::to_string(bookID));
    }
    void didUGCFetchFailedWithError(const base::Error& error, int64_t userID, int64_t bookID) override
    {
        fail("didUGCFetchFailedWithError", error, ":" + std::to_string(userID) + ":" + std::to_string(bookID));
    }
    void didFetchedUGCSuccessfully() override { add("didFetchedUGCSuccessfully"); }
    void didFailedToFetchUGCWithError(const base::Error& error) override { fail("didFailedToFetchUGCWithError", error); }
    void didUGCSynchCompletedSuccessfully() override { add("didUGCSynchCompletedSuccessfully"); }
    void didUGCSynchFailedWithError(const base::Error& error, int64_t, int64_t) override
    {
        fail("didUGCSynchFailedWithError", error);
    }
    void didUGCSaveCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID) override
    {
        add("didUGCSaveCompletedSuccessfullyWithUserID:" + std::to_string(userID) + ":" + std::to_string(bookID));
    }
    void didUGCSaveFailedWithError(const base::Error& error, int64_t userID, int64_t bookID) override
    {
        fail("didUGCSaveFailedWithError", error, ":" + std::to_string(userID) + ":" + std::to_string(bookID));
    }
    void didSavedUGCSuccessfully() override { add("didSavedUGCSuccessfully"); }
    void didFailedToSaveUGCWithError(const base::Error& error) override { fail("didFailedToSaveUGCWithError", error); }
    void didSaveTrackingDataSuccessfully() override { add("didSaveTrackingDataSuccessfully"); }
    // Only the short form: the long one must reach it.
    void didSaveTrackingDataFailedWithError(const base::Error& error) override
    {
        fail("didSaveTrackingDataFailedWithError", error);
    }
    void didSaveFurthestPageDataSuccessfully(int64_t bookID) override
    {
        add("didSaveFurthestPageDataSuccessfully:" + std::to_string(bookID));
    }
    void didFailedToSaveFurthestPageDataWithError(const base::Error& error, int64_t) override
    {
        fail("didFailedToSaveFurthestPageDataWithError", error);
    }
    void didFetchFurthestPageDataSuccessfullyForBookID(int64_t, const std::optional<std::string>& data) override
    {
        furthestPageData = data;
        add("didFetchFurthestPageDataSuccessfullyForBookID");
    }
    void didFailedToFetchFurthestPageDataWithError(const base::Error& error, int64_t) override
    {
        fail("didFailedToFetchFurthestPageDataWithError", error);
    }
    void didFetchScormDataSuccessfully() override { add("didFetchScormDataSuccessfully"); }
    void didFailedToFetchScormWithError(const base::Error& error) override { fail("didFailedToFetchScormWithError", error); }
    void didSavedScormDataSuccessfully() override { add("didSavedScormDataSuccessfully"); }
    void didFailedToSaveScormWithError(const base::Error& error, int64_t, const std::string&, const std::string&) override
    {
        fail("didFailedToSaveScormWithError", error);
    }
    void didSaveHighlightDataSuccessfully() override { add("didSaveHighlightDataSuccessfully"); }
    void didSaveHighlightDataFailedWithError(const base::Error& error, const base::Value& share, int64_t bookID) override
    {
        fail("didSaveHighlightDataFailedWithError", error, ":" + share.description() + ":" + std::to_string(bookID));
    }
    // Only the short form of the success: the long one must reach it.
    void didAcceptOrRejectDataSuccessfully() override { add("didAcceptOrRejectDataSuccessfully"); }
    void didAcceptOrRejectDataFailedWithError(const base::Error& error, const std::string& ugcID, bool accepted) override
    {
        fail("didAcceptOrRejectDataFailedWithError", error, ":" + ugcID + (accepted ? ":yes" : ":no"));
    }
    void didSaveCollabDataSuccessfully() override { add("didSaveCollabDataSuccessfully"); }
    void didSaveCollabDataFailedWithError(const base::Error& error) override { fail("didSaveCollabDataFailedWithError", error); }
    void didSavedStudentAnotationSuccessfully() override { add("didSavedStudentAnotationSuccessfully"); }
    void didFailedToSaveStudentAnotationWithError(const base::Error& error) override
    {
        fail("didFailedToSaveStudentAnotationWithError", error);
    }
    void didSubmitedAnotationSuccessfully() override { add("didSubmitedAnotationSuccessfully"); }
    void didFailedToSubmitAnotationWithError(const base::Error& error) override
    {
        fail("didFailedToSubmitAnotationWithError", error);
    }

private:
    void add(std::string line)
    {
        if (!base::isMainThread())
            ++answersOffMainThread;
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    void fail(const std::string& name, const base::Error& error, const std::string& suffix = {})
    {
        {
            std::lock_guard lock(m_mutex);
            m_errors.push_back(error);
        }
        add(name + ":" + std::to_string(error.code) + suffix);
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::vector<base::Error> m_errors;
};

} // namespace companiontest
