#pragma once

// The sync client over a Transport, reading and writing the device's store through a
// SyncStore. See LectoroDataSyncingManager for the contract: one answer per operation,
// delegates held weakly, the client alive until its requests have reported.
//
// A book's fetched or uploaded content is applied to the store on the client's own serial
// queue, off the main run loop (a first fetch brings thousands of records), and reported on
// the main run loop once it is stored. Reports keep the order in which the answers came:
// while any answer waits for its store work, the answers after it wait behind it, whatever
// their kind, and report on the main run loop too. An answer with nothing waiting before it
// and nothing big to store is handled where it arrives, as the transport delivered it.

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "companion/service/Transport.h"
#include "companion/sync/SyncStore.h"
#include "platform/base/Dispatch.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace companion {

class DataSyncingManager final : public lectoro::LectoroDataSyncingManager,
                                 public std::enable_shared_from_this<DataSyncingManager> {
public:
    // A null store means there is no local content: uploads send nothing and downloads
    // are not kept. The transport is held weakly (its owner keeps it); once it is gone,
    // requests answer with the offline error.
    static std::shared_ptr<DataSyncingManager> create(std::string baseURL, std::string clientID,
        std::shared_ptr<Transport>, std::shared_ptr<SyncStore>);

    const std::string& baseURLString() const override { return m_baseURL; }
    const std::string& clientID() const override { return m_clientID; }
    std::optional<std::string> microServicesBaseURLString() const override;
    void setMicroServicesBaseURLString(std::optional<std::string>) override;
    void setDelegate(lectoro::SyncDelegate) override;

    void fetchUGCOperationForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate, const std::string& userToken,
        const std::string& bookVersion) override;
    void fetchUGCForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate, const std::string& userToken,
        const std::string& bookVersion) override;
    void synchUGCForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate, const std::string& userToken,
        const std::string& bookVersion) override;
    void saveUGCOperationForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate, const std::string& userToken,
        const lectoro::LectoroServiceMetaData&) override;
    void saveUGCForUserID(int64_t userID, lectoro::SyncDelegate, const std::string& userToken) override;
    void saveTrackingDataForBookID(int64_t bookID, const std::string& userToken, int64_t userId) override;
    void saveTrackingDataForBookID(int64_t bookID, const std::string& userToken, int64_t userId,
        int64_t minimumTimeSpend) override;
    void saveFurthestPageDataForUserID(int64_t userID, lectoro::SyncDelegate, const std::string& userToken) override;
    void fetchFurthestPageDataForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate,
        const std::string& userToken) override;
    void fetchAndSaveSormDataForUserID(int64_t userID, int64_t bookID, const std::string& classId, lectoro::SyncDelegate,
        const std::string& userToken) override;
    void saveSormDataForUserID(int64_t userID, int64_t bookID, const std::string& classId, lectoro::SyncDelegate,
        const std::string& userToken) override;
    void saveHighlightData(const base::Value& shareAndRecieveDict, int64_t bookID, const std::string& userToken) override;
    void acceptOrRejectCollab(const std::string& ugcID, bool isAccepted, const std::string& userToken) override;
    void saveTeacherAnnotationsForAnnotation(const base::Value& annotation, const std::string& learnerID, int64_t bookID,
        lectoro::SyncDelegate, const std::string& userToken) override;
    void submitAnotationForBookID(int64_t bookID, int64_t userID, lectoro::SyncDelegate,
        const std::string& userToken) override;

private:
    DataSyncingManager(std::string baseURL, std::string clientID, std::shared_ptr<Transport>, std::shared_ptr<SyncStore>);

    using Delegate = lectoro::LectoroDataSyncingManagerDelegate;
    // What the delegate hears of an answer (null when it is gone).
    using Tell = std::function<void(Delegate*)>;
    // An answer's handling: its work on the store, answering what the delegate is then told.
    using Handler = std::function<Tell(DataSyncingManager&, ServiceResult&)>;
    enum class Application { WhereAnswered, OffMainLoop };

    // Sends and, when the answer comes, runs the handler, then tells the delegate. The
    // client stays alive until then.
    void send(const char* operation, base::Value::Dictionary body, const std::string& userToken,
        lectoro::SyncDelegate, Handler, Application = Application::WhereAnswered);
    // An answer (or a failure before any request), handled in order as the class comment says.
    void handleAnswer(lectoro::SyncDelegate, Handler, ServiceResult, Application);
    // The delegate named by an operation; remembered for the operations that name none.
    lectoro::SyncDelegate remember(lectoro::SyncDelegate);
    lectoro::SyncDelegate implicitDelegate() const;
    // The books this client has sent requests about: the furthest-page save covers them.
    void noteBook(int64_t bookID);
    std::vector<int64_t> knownBooks() const;
    // What a sender hears once the store has taken the answer: the result, and the delegate
    // when it is still there.
    using Reporter = std::function<void(DataSyncingManager&, ServiceResult&, Delegate*)>;
    // A handler with no store work of its own.
    static Handler telling(Reporter);
    void uploadUGC(int64_t userID, std::optional<int64_t> bookID, lectoro::SyncDelegate, const std::string& userToken,
        std::string metaData, Reporter);
    std::optional<base::Error> applyFetchedUGC(int64_t userID, int64_t bookID, const base::Value& response);
    // Fetches a book's UGC, stores what comes back, then reports to the delegate if it is still there.
    using Report = std::function<void(Delegate&, ServiceResult&)>;
    void fetchUGC(int64_t bookID, int64_t userID, const std::string& userToken, const std::string& bookVersion,
        lectoro::SyncDelegate, Report);
    void saveTracking(int64_t bookID, const std::string& userToken, int64_t userId, std::optional<int64_t> minimum);

    const std::string m_baseURL;
    const std::string m_clientID;
    // Weak: the transport belongs to the framework (or the test); holding it here would
    // make a cycle with the requests it keeps. Without it requests fail as offline.
    const std::weak_ptr<Transport> m_transport;
    const std::shared_ptr<SyncStore> m_store;

    mutable std::mutex m_mutex;
    std::optional<std::string> m_microServicesBaseURL;
    lectoro::SyncDelegate m_delegate;
    lectoro::SyncDelegate m_lastDelegate;
    std::vector<int64_t> m_knownBooks;
    // Answers taken in hand and not yet told to their delegates, in arrival order.
    size_t m_answersWaiting = 0;
    base::SerialQueue m_applyQueue { "lectoro.sync.apply" };
};

} // namespace companion
