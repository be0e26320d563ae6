#include "companion/sync/DataSyncingManager.h"

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/service/InProcessService.h"
#include "companion/service/ServiceErrors.h"
#include "companion/store/SqliteDatabase.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/TemporaryFolder.h"
#include "companion/sync/ServiceInterface.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "companion/sync/RecordingSyncDelegate.h"
#include "companion/testing/FakeService.h"
#include "platform/base/Dispatch.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/testing/Settle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sqlite3.h>

namespace {

using companion::ServiceAnswer;
using companion::testing::FakeService;
using companiontest::RecordingSyncDelegate;
using Lines = std::vector<std::string>;

constexpr int64_t bookID = 12;
constexpr int64_t userID = 7;
const std::string token = "token-abc";

class SyncTest : public ::testing::Test {
protected:
    void SetUp() override { base::RunLoop::main().reset(); }
    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
    }

    std::shared_ptr<companion::DataSyncingManager> makeClient(std::shared_ptr<companion::Transport> transport,
        std::shared_ptr<companion::SyncStore> store = nullptr)
    {
        return companion::DataSyncingManager::create("https://api.example", "client-1", std::move(transport),
            std::move(store));
    }

    std::shared_ptr<RecordingSyncDelegate> delegate = std::make_shared<RecordingSyncDelegate>();
};

// One operation of the sync client, the line its success writes and the name of its
// failure answer.
struct Operation {
    const char* name;
    std::function<void(companion::DataSyncingManager&, lectoro::SyncDelegate)> send;
    std::string success;
    std::string failure;
};

std::vector<Operation> operations()
{
    return {
        { "fetchUGCOperation",
            [](auto& client, auto delegate) { client.fetchUGCOperationForBookID(bookID, userID, delegate, token, "v1"); },
            "didUGCFetchCompletedSuccessfullyWithUserID:7:12", "didUGCFetchFailedWithError" },
        { "fetchUGC", [](auto& client, auto delegate) { client.fetchUGCForBookID(bookID, userID, delegate, token, "v1"); },
            "didFetchedUGCSuccessfully", "didFailedToFetchUGCWithError" },
        { "synchUGC", [](auto& client, auto delegate) { client.synchUGCForBookID(bookID, userID, delegate, token, "v1"); },
            "didUGCSynchCompletedSuccessfully", "didUGCSynchFailedWithError" },
        { "saveUGCOperation",
            [](auto& client, auto delegate) {
                lectoro::LectoroServiceMetaData metaData;
                metaData.setInitialisedValue("B");
                client.saveUGCOperationForBookID(bookID, userID, delegate, token, metaData);
            },
            "didUGCSaveCompletedSuccessfullyWithUserID:7:12", "didUGCSaveFailedWithError" },
        { "saveUGCForUser", [](auto& client, auto delegate) { client.saveUGCForUserID(userID, delegate, token); },
            "didSavedUGCSuccessfully", "didFailedToSaveUGCWithError" },
        { "saveTracking",
            [](auto& client, auto delegate) {
                client.setDelegate(delegate);
                client.saveTrackingDataForBookID(bookID, token, userID);
            },
            "didSaveTrackingDataSuccessfully", "didSaveTrackingDataFailedWithError" },
        { "saveFurthestPage",
            [](auto& client, auto delegate) { client.saveFurthestPageDataForUserID(userID, delegate, token); },
            "didSaveFurthestPageDataSuccessfully:0", "didFailedToSaveFurthestPageDataWithError" },
        { "fetchFurthestPage",
            [](auto& client, auto delegate) { client.fetchFurthestPageDataForBookID(bookID, userID, delegate, token); },
            "didFetchFurthestPageDataSuccessfullyForBookID", "didFailedToFetchFurthestPageDataWithError" },
        { "fetchScorm",
            [](auto& client, auto delegate) { client.fetchAndSaveSormDataForUserID(userID, bookID, "c1", delegate, token); },
            "didFetchScormDataSuccessfully", "didFailedToFetchScormWithError" },
        { "saveScorm",
            [](auto& client, auto delegate) { client.saveSormDataForUserID(userID, bookID, "c1", delegate, token); },
            "didSavedScormDataSuccessfully", "didFailedToSaveScormWithError" },
        { "saveHighlightData",
            [](auto& client, auto delegate) {
                client.setDelegate(delegate);
                client.saveHighlightData(base::Value::Dictionary { { "share", "all" } }, bookID, token);
            },
            "didSaveHighlightDataSuccessfully", "didSaveHighlightDataFailedWithError" },
        { "acceptOrReject",
            [](auto& client, auto delegate) {
                client.setDelegate(delegate);
                client.acceptOrRejectCollab("ugc-9", true, token);
            },
            "didAcceptOrRejectDataSuccessfully", "didAcceptOrRejectDataFailedWithError" },
        { "saveTeacherAnnotations",
            [](auto& client, auto delegate) {
                client.saveTeacherAnnotationsForAnnotation(base::Value::List {}, "learner-3", bookID, delegate, token);
            },
            "didSavedStudentAnotationSuccessfully", "didFailedToSaveStudentAnotationWithError" },
        { "submitAnnotations",
            [](auto& client, auto delegate) { client.submitAnotationForBookID(bookID, userID, delegate, token); },
            "didSubmitedAnotationSuccessfully", "didFailedToSubmitAnotationWithError" },
    };
}

TEST_F(SyncTest, EveryOperationAnswersExactlyOnceWithEachScriptedAnswer)
{
    struct Answer {
        const char* name;
        ServiceAnswer answer;
        int64_t failureCode; // 0: success
    };
    const Answer answers[] = {
        { "success", ServiceAnswer::success(), 0 },
        { "expired token", ServiceAnswer::expiredToken(), companion::expiredSessionCode },
        { "401", ServiceAnswer::unauthorized(), companion::unauthorizedCode },
        { "offline", ServiceAnswer::offline(), companion::notConnectedToInternetCode },
    };
    for (const auto& operation : operations()) {
        for (const auto& answer : answers) {
            SCOPED_TRACE(std::string(operation.name) + " / " + answer.name);
            auto service = FakeService::create();
            service->setAutoAnswer(answer.answer);
            auto client = makeClient(service);
            delegate = std::make_shared<RecordingSyncDelegate>();
            operation.send(*client, delegate);
            EXPECT_TRUE(delegate->lines().empty()) << "answers come on the run loop, not inside the call";
            uitest::runUntilSettled();
            auto lines = delegate->lines();
            ASSERT_EQ(lines.size(), 1u);
            if (!answer.failureCode) {
                EXPECT_EQ(lines[0], operation.success);
            } else {
                EXPECT_EQ(lines[0].rfind(operation.failure + ":" + std::to_string(answer.failureCode), 0), 0u) << lines[0];
            }
        }
    }
}

TEST_F(SyncTest, ExpiredTokenFailureCarriesTheShapeTheReaderTests)
{
    auto service = FakeService::create();
    service->setAutoAnswer(ServiceAnswer::expiredToken());
    auto client = makeClient(service);
    client->fetchUGCOperationForBookID(bookID, userID, delegate, "stale-token", "v1");
    uitest::runUntilSettled();
    ASSERT_EQ(delegate->errors().size(), 1u);
    const base::Error error = delegate->errors()[0];
    EXPECT_EQ(error.userInfo["invalidFields"]["usertoken"].description(), "103");
    EXPECT_EQ(*error.userInfo["expiredToken"].asString(), "stale-token");
    EXPECT_TRUE(companion::isExpiredTokenError(error));
    EXPECT_FALSE(companion::isExpiredTokenError(companion::unauthorizedError()));
    EXPECT_FALSE(companion::isExpiredTokenError(companion::offlineError()));
}

TEST_F(SyncTest, SlowAnswerArrivesWhenTheRunLoopReachesIt)
{
    auto service = FakeService::create();
    service->enqueue(ServiceAnswer::success().after(2.0));
    auto client = makeClient(service);
    client->submitAnotationForBookID(bookID, userID, delegate, token);
    uitest::runUntilSettled();
    base::RunLoop::main().advanceBy(1.9);
    EXPECT_TRUE(delegate->lines().empty());
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_EQ(delegate->lines(), (Lines { "didSubmitedAnotationSuccessfully" }));
}

TEST_F(SyncTest, WorkerThreadAnswerIsDeliveredOnThatThread)
{
    auto service = FakeService::create();
    service->enqueue(ServiceAnswer::offline().onWorkerThread());
    auto client = makeClient(service);
    client->fetchFurthestPageDataForBookID(bookID, userID, delegate, token);
    base::waitForBackgroundWork();
    EXPECT_EQ(delegate->lines(), (Lines { "didFailedToFetchFurthestPageDataWithError:-1009" }));
    EXPECT_EQ(delegate->answersOffMainThread, 1);
}

TEST_F(SyncTest, ClientDroppedAfterSendingStillAnswers)
{
    auto service = FakeService::create();
    auto client = makeClient(service);
    std::weak_ptr<companion::DataSyncingManager> weakClient = client;
    client->saveUGCForUserID(userID, delegate, token);
    client.reset();
    EXPECT_FALSE(weakClient.expired()) << "the pending request keeps its client";
    ASSERT_TRUE(service->answerNext(ServiceAnswer::success().immediately()));
    // The upload's answer is applied to the store on the client's queue, then reported.
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(), (Lines { "didSavedUGCSuccessfully" }));
    EXPECT_TRUE(weakClient.expired());
}

TEST_F(SyncTest, DelegateGoneBeforeTheAnswerHearsNothing)
{
    auto service = FakeService::create();
    auto client = makeClient(service);
    client->fetchUGCForBookID(bookID, userID, delegate, token, "v1");
    std::weak_ptr<RecordingSyncDelegate> weakDelegate = delegate;
    delegate.reset();
    EXPECT_TRUE(service->answerNext(ServiceAnswer::success().immediately()));
    EXPECT_TRUE(weakDelegate.expired());
}

TEST_F(SyncTest, TransportGoneAnswersAsOffline)
{
    auto service = FakeService::create();
    auto client = makeClient(service);
    service.reset();
    client->submitAnotationForBookID(bookID, userID, delegate, token);
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(), (Lines { "didFailedToSubmitAnotationWithError:-1009" }));
}

TEST_F(SyncTest, OperationsWithoutADelegateAnswerTheLastOneNamed)
{
    auto service = FakeService::create();
    service->setAutoAnswer(ServiceAnswer::failure(companion::serviceError(500, "boom")).immediately());
    auto client = makeClient(service);
    client->fetchUGCForBookID(bookID, userID, delegate, token, "v1");
    client->saveTrackingDataForBookID(bookID, token, userID);
    client->acceptOrRejectCollab("ugc-9", false, token);
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(),
        (Lines { "didFailedToFetchUGCWithError:500", "didSaveTrackingDataFailedWithError:500",
            "didAcceptOrRejectDataFailedWithError:500:ugc-9:no" }));
}

TEST_F(SyncTest, RequestsCarryIdsTokenAndAddress)
{
    auto service = FakeService::create();
    auto client = makeClient(service);
    client->setMicroServicesBaseURLString("https://micro.example");
    client->fetchUGCOperationForBookID(bookID, userID, delegate, token, "v3");
    client->fetchFurthestPageDataForBookID(bookID, userID, delegate, token);
    auto requests = service->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].operation, companion::op::ugcFetch);
    EXPECT_EQ(requests[0].userToken, token);
    EXPECT_EQ(requests[0].baseURL, "https://api.example");
    EXPECT_EQ(requests[0].clientID, "client-1");
    EXPECT_EQ(requests[0].body["bookID"].integerValue(), bookID);
    EXPECT_EQ(requests[0].body["userID"].integerValue(), userID);
    EXPECT_EQ(*requests[0].body["bookVersion"].asString(), "v3");
    EXPECT_EQ(requests[1].baseURL, "https://micro.example");
}

// The sync client against the in-process service and the real store.
class InProcessSyncTest : public SyncTest {
protected:
    void SetUp() override
    {
        SyncTest::SetUp();
        service = companion::InProcessService::create();
        storeA = open();
        storeB = open();
    }

    static std::shared_ptr<companion::SqliteDatabaseManager> open()
    {
        auto opened = companion::SqliteDatabaseManager::openInMemory();
        EXPECT_TRUE(opened.ok());
        return opened.ok() ? opened.value() : nullptr;
    }

    std::shared_ptr<companion::DataSyncingManager> clientFor(const std::shared_ptr<companion::SqliteDatabaseManager>& store)
    {
        return makeClient(service, std::make_shared<companion::StoreSyncAdapter>(store));
    }

    std::shared_ptr<companion::InProcessService> service;
    std::shared_ptr<companion::SqliteDatabaseManager> storeA;
    std::shared_ptr<companion::SqliteDatabaseManager> storeB;
};

TEST_F(InProcessSyncTest, UGCRoundTripsThroughTheService)
{
    auto highlight = std::make_shared<lectoro::SDKHighlightVO>();
    highlight->pageIdentifier = "103";
    highlight->displayNum = "1";
    highlight->text = "tiny drops";
    highlight->backgroundColor = "#FFFF00";
    storeA->saveHighlight(highlight, std::to_string(bookID), userID);
    ASSERT_EQ(storeA->highlightBookID(std::to_string(bookID), userID).size(), 1u);

    lectoro::LectoroServiceMetaData metaData;
    metaData.setInitialisedValue("B");
    clientFor(storeA)->saveUGCOperationForBookID(bookID, userID, delegate, token, metaData);
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(), (Lines { "didUGCSaveCompletedSuccessfullyWithUserID:7:12" }));

    auto held = service->ugcFor(userID, bookID);
    ASSERT_EQ(held.count(), 1u);
    std::string serverID = *held.at(0)["ugcID"].asString();
    EXPECT_NE(serverID, "-1");
    EXPECT_EQ(*service->requests().back().body["metaData"].asString(), "B");

    auto saved = storeA->highlightBookID(std::to_string(bookID), userID);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(saved[0]->isSynced);
    EXPECT_EQ(saved[0]->ugcID, serverID);

    // Another device fetches it.
    clientFor(storeB)->fetchUGCOperationForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    auto fetched = storeB->highlightBookID(std::to_string(bookID), userID);
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched[0]->text, "tiny drops");
    EXPECT_EQ(fetched[0]->ugcID, serverID);
    EXPECT_EQ(fetched[0]->pageIdentifier, "103");

    // A second save sends nothing new: the record is synced.
    clientFor(storeA)->saveUGCOperationForBookID(bookID, userID, delegate, token, metaData);
    uitest::runUntilSettled();
    EXPECT_EQ(service->requests().back().body["books"].count(), 0u);
    EXPECT_EQ(service->ugcFor(userID, bookID).count(), 1u);
}

TEST_F(InProcessSyncTest, AStoreThatCannotBeUsedReportsTheSaveAsFailed)
{
    auto unusable = companion::SqliteDatabaseManager::openUnusable(
        base::Error::make(companion::storeErrorDomain, 1, "The store at /nowhere cannot be opened"));
    ASSERT_TRUE(unusable);
    lectoro::LectoroServiceMetaData metaData;
    clientFor(unusable)->saveUGCOperationForBookID(bookID, userID, delegate, token, metaData);
    clientFor(unusable)->synchUGCForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(), (Lines { "didUGCSaveFailedWithError:1:7:12", "didUGCSynchFailedWithError:1" }));
    EXPECT_TRUE(service->requests().empty());
}

TEST_F(InProcessSyncTest, DeletionReachesTheServiceAndTheOtherDevice)
{
    auto highlight = std::make_shared<lectoro::SDKHighlightVO>();
    highlight->pageIdentifier = "104";
    highlight->text = "rain falls";
    storeA->saveHighlight(highlight, std::to_string(bookID), userID);
    clientFor(storeA)->synchUGCForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    clientFor(storeB)->fetchUGCOperationForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    ASSERT_EQ(storeB->highlightBookID(std::to_string(bookID), userID).size(), 1u);

    auto stored = storeA->highlightBookID(std::to_string(bookID), userID);
    ASSERT_EQ(stored.size(), 1u);
    storeA->deleteHighlight(stored[0], std::to_string(bookID), userID);
    clientFor(storeA)->synchUGCForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    EXPECT_EQ(service->ugcFor(userID, bookID).count(), 0u);
    EXPECT_EQ(delegate->lines().back(), "didUGCSynchCompletedSuccessfully");
}

TEST_F(InProcessSyncTest, ExpiredTokenIsRefusedUntilRefreshed)
{
    service->expireToken("old-token");
    auto client = clientFor(storeA);
    client->fetchUGCOperationForBookID(bookID, userID, delegate, "old-token", "v1");
    client->fetchFurthestPageDataForBookID(bookID, userID, delegate, "old-token");
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(),
        (Lines { "didUGCFetchFailedWithError:103:7:12", "didFailedToFetchFurthestPageDataWithError:401" }));

    std::optional<std::string> fresh;
    companion::ServiceInterface::create("https://api.example", "client-1", service)
        ->refreshUserTokenWithToken("old-token", [&](const base::Value& response) { fresh = *response["userToken"].asString(); }, {});
    uitest::runUntilSettled();
    ASSERT_TRUE(fresh);
    EXPECT_NE(*fresh, "old-token");
    client->fetchUGCOperationForBookID(bookID, userID, delegate, *fresh, "v1");
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines().back(), "didUGCFetchCompletedSuccessfullyWithUserID:7:12");
}

TEST_F(InProcessSyncTest, ReadingSessionsUploadOnceAndTellTheLastPage)
{
    std::string session = base::toJson(base::Value::Dictionary {
        { "BookClose", base::Value::List { base::Value::Dictionary { { "EventInfo", base::Value::Dictionary { { "LastPageFolio", "5" } } } } } },
        { "PageTracking", base::Value::List { base::Value::Dictionary { { "EventInfo", base::Value::Dictionary { { "TimeSpend", "12" } } } } } },
    });
    storeA->createReaderAnalyticsSessionForUserID(std::to_string(userID), std::to_string(bookID), session);
    auto client = clientFor(storeA);
    client->setDelegate(delegate);
    client->saveTrackingDataForBookID(bookID, token, userID);
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(), (Lines { "didSaveTrackingDataSuccessfully" }));
    EXPECT_EQ(service->trackingSessionsFor(userID, bookID).count(), 1u);
    EXPECT_EQ(service->lastPageFor(userID, bookID), "5");

    client->saveTrackingDataForBookID(bookID, token, userID);
    uitest::runUntilSettled();
    EXPECT_EQ(service->trackingSessionsFor(userID, bookID).count(), 1u) << "a session is sent once";

    // The service tells the last page to whoever holds the user's token.
    std::optional<std::string> lastPage;
    auto request = companion::ServiceInterface::create("https://api.example", "client-1", service)
                       ->fetchLastPageAccessed(token, std::to_string(bookID),
                           [&](const base::Value& response) { lastPage = response["LastPageFolio"].asString(); }, {});
    uitest::runUntilSettled();
    EXPECT_FALSE(lastPage) << "nothing is sent before start()";
    request->start();
    uitest::runUntilSettled();
    EXPECT_EQ(lastPage, "5");
}

TEST_F(InProcessSyncTest, ShortSessionsAreLeftOutOfTheMinimumTimeSave)
{
    auto sessionOf = [](const char* seconds) {
        return base::toJson(base::Value::Dictionary {
            { "PageTracking", base::Value::List { base::Value::Dictionary { { "EventInfo", base::Value::Dictionary { { "TimeSpend", seconds } } } } } } });
    };
    storeA->createReaderAnalyticsSessionForUserID(std::to_string(userID), std::to_string(bookID), sessionOf("3"));
    auto client = clientFor(storeA);
    client->saveTrackingDataForBookID(bookID, token, userID, 5000);
    uitest::runUntilSettled();
    EXPECT_EQ(service->trackingSessionsFor(userID, bookID).count(), 0u);
}

TEST_F(InProcessSyncTest, ScriptedAnswersReplaceOnlyTheRequestsTheyName)
{
    service->scriptNext(companion::op::furthestPageFetch, ServiceAnswer::unauthorized());
    auto client = clientFor(storeA);
    client->fetchUGCForBookID(bookID, userID, delegate, token, "v1");
    client->fetchFurthestPageDataForBookID(bookID, userID, delegate, token);
    client->fetchFurthestPageDataForBookID(bookID, userID, delegate, token);
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines(),
        (Lines { "didFetchedUGCSuccessfully", "didFailedToFetchFurthestPageDataWithError:401",
            "didFetchFurthestPageDataSuccessfullyForBookID" }));

    service->setOffline(true);
    client->submitAnotationForBookID(bookID, userID, delegate, token);
    uitest::runUntilSettled();
    EXPECT_EQ(delegate->lines().back(), "didFailedToSubmitAnotationWithError:-1009");

    service->setOffline(false);
    service->setDefaultDelivery(companion::Delivery::WorkerThread);
    client->submitAnotationForBookID(bookID, userID, delegate, token);
    base::waitForBackgroundWork();
    EXPECT_EQ(delegate->lines().back(), "didSubmitedAnotationSuccessfully");
    EXPECT_EQ(delegate->answersOffMainThread, 1);
    EXPECT_EQ(service->submissions().count(), 1u);
}

TEST_F(InProcessSyncTest, MalformedRequestsAreRefusedNotCrashed)
{
    struct Case {
        const char* operation;
        base::Value body;
    };
    const Case cases[] = {
        { companion::op::ugcSave, base::Value("not an object") },
        { companion::op::ugcSave, base::Value::Dictionary { { "userID", "x" } } },
        { companion::op::ugcFetch, base::Value::Dictionary { { "bookID", base::Value::List {} } } },
        { companion::op::trackingSave, base::Value::Dictionary { { "userID", 1 }, { "bookID", 2 }, { "sessions", 3 } } },
        { "no.such.operation", base::Value::Dictionary {} },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.operation);
        std::optional<base::Error> failure;
        service->send({ testCase.operation, testCase.body, token, {}, {} }, [&](companion::ServiceResult result) {
            ASSERT_FALSE(result.ok());
            failure = result.error();
        });
        uitest::runUntilSettled();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->domain, companion::serviceErrorDomain);
    }
}

} // namespace

namespace {

// The real store behind the sync client, noting the thread each answer is stored on.
class ThreadNotingSyncStore final : public companion::SyncStore {
public:
    explicit ThreadNotingSyncStore(std::shared_ptr<companion::SqliteDatabaseManager> store)
        : m_inner(std::make_shared<companion::StoreSyncAdapter>(std::move(store)))
    {
    }
    std::atomic<int> appliedOnMainThread { 0 };
    std::atomic<int> applied { 0 };

    UGCUpload prepareUGCUpload(int64_t userID, std::optional<int64_t> bookID) override
    {
        return m_inner->prepareUGCUpload(userID, bookID);
    }
    void completeUGCUpload(int64_t userID, const UGCUpload& upload, const base::Value& saved) override
    {
        note();
        m_inner->completeUGCUpload(userID, upload, saved);
    }
    base::Result<void> storeFetchedUGC(int64_t userID, int64_t bookID, const base::Value::List& list) override
    {
        note();
        return m_inner->storeFetchedUGC(userID, bookID, list);
    }
    void storeClassInfo(int64_t userID, int64_t bookID, const base::Value& list) override
    {
        m_inner->storeClassInfo(userID, bookID, list);
    }
    base::Value unsyncedCollabData(int64_t userID, int64_t bookID) override
    {
        return m_inner->unsyncedCollabData(userID, bookID);
    }
    void markCollabSynced(int64_t userID, int64_t bookID) override { m_inner->markCollabSynced(userID, bookID); }
    Sessions unsyncedReadingSessions(int64_t userID, int64_t bookID) override
    {
        return m_inner->unsyncedReadingSessions(userID, bookID);
    }
    void markReadingSessionsSynced(int64_t userID, int64_t bookID, const std::vector<std::string>& ids) override
    {
        m_inner->markReadingSessionsSynced(userID, bookID, ids);
    }
    base::Value furthestPages(int64_t userID, const std::vector<int64_t>& bookIDs) override
    {
        return m_inner->furthestPages(userID, bookIDs);
    }
    base::Value unsyncedScormData(int64_t userID, int64_t bookID) override
    {
        return m_inner->unsyncedScormData(userID, bookID);
    }
    void markScormSynced(int64_t userID, int64_t bookID, const std::string& scormID) override
    {
        m_inner->markScormSynced(userID, bookID, scormID);
    }
    void storeScormData(int64_t userID, int64_t bookID, const base::Value& entries) override
    {
        m_inner->storeScormData(userID, bookID, entries);
    }

private:
    void note()
    {
        ++applied;
        appliedOnMainThread += base::isMainThread() ? 1 : 0;
    }
    std::shared_ptr<companion::StoreSyncAdapter> m_inner;
};

base::Value fetchedSyncNote(int index)
{
    return base::Value::Dictionary { { "type", 1 }, { "ugcID", "s-" + std::to_string(index) },
        { "localID", "elsewhere-" + std::to_string(index) }, { "folioID", std::to_string(index % 300) },
        { "status", 1 }, { "noteText", "note " + std::to_string(index) } };
}

// Every row of the store's records, as text, in id order.
std::vector<std::string> storedSyncRows(const std::string& databasePath)
{
    std::vector<std::string> rows;
    sqlite3* handle = nullptr;
    sqlite3_open_v2(databasePath.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(
        handle, "SELECT id, book_id, user_id, local_id, ugc_id, is_synced, revision, hex(fields) FROM ugc ORDER BY id",
        [](void* into, int count, char** values, char**) {
            std::string row;
            for (int column = 0; column < count; ++column)
                row += std::string(values[column] ? values[column] : "NULL") + "|";
            static_cast<std::vector<std::string>*>(into)->push_back(std::move(row));
            return 0;
        },
        &rows, nullptr);
    sqlite3_close(handle);
    return rows;
}

TEST_F(SyncTest, UGCAnswersAreStoredOffTheMainLoopAndReportedOnItInTheOrderTheyCame)
{
    auto store = companion::SqliteDatabaseManager::openInMemory().value();
    auto noting = std::make_shared<ThreadNotingSyncStore>(store);
    auto service = FakeService::create();
    auto client = makeClient(service, noting);
    base::Value::List notes { fetchedSyncNote(1), fetchedSyncNote(2) };

    // Answered at once: the fetch waits for its store work, and the answer after it (which
    // stores nothing) waits behind it.
    service->enqueue(ServiceAnswer::success(base::Value::Dictionary { { "ugcList", notes } }).immediately());
    service->enqueue(ServiceAnswer::success(base::Value::Dictionary { { "furthestPageData", "p" } }).immediately());
    client->fetchUGCOperationForBookID(bookID, userID, delegate, token, "v1");
    client->fetchFurthestPageDataForBookID(bookID, userID, delegate, token);
    // Answered on a worker thread: still stored off the main loop and reported on it.
    service->enqueue(ServiceAnswer::success(base::Value::Dictionary { { "ugcList", notes } }).onWorkerThread());
    client->fetchUGCForBookID(bookID, userID, delegate, token, "v1");
    EXPECT_TRUE(delegate->lines().empty());
    uitest::runUntilSettled();

    EXPECT_EQ(delegate->lines(),
        (Lines { "didUGCFetchCompletedSuccessfullyWithUserID:7:12", "didFetchFurthestPageDataSuccessfullyForBookID",
            "didFetchedUGCSuccessfully" }));
    EXPECT_EQ(delegate->answersOffMainThread, 0);
    EXPECT_EQ(noting->applied, 2);
    EXPECT_EQ(noting->appliedOnMainThread, 0);
    EXPECT_EQ(store->highlightBookID(std::to_string(bookID), userID).size(), 2u);
}

TEST_F(SyncTest, TwentyThousandFetchedNotesAreStoredOnceEachAndASecondFetchChangesNothing)
{
    companion::testing::TemporaryFolder folder;
    auto store = companion::SqliteDatabaseManager::open(folder.string()).value();
    auto service = FakeService::create();
    auto client = makeClient(service, std::make_shared<companion::StoreSyncAdapter>(store));
    base::Value::List notes;
    for (int index = 0; index < 20000; ++index)
        notes.push_back(fetchedSyncNote(index));
    // The service listing a note twice does not make two of it.
    notes.push_back(fetchedSyncNote(17));
    auto answer = ServiceAnswer::success(base::Value::Dictionary { { "ugcList", notes } });

    service->enqueue(answer);
    client->fetchUGCOperationForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    auto first = storedSyncRows(store->databasePath());
    EXPECT_EQ(first.size(), 20000u);
    EXPECT_EQ(store->highlightBookID(std::to_string(bookID), userID).size(), 20000u);

    service->enqueue(answer);
    client->fetchUGCOperationForBookID(bookID, userID, delegate, token, "v1");
    uitest::runUntilSettled();
    EXPECT_EQ(storedSyncRows(store->databasePath()), first);
    EXPECT_EQ(delegate->lines(), (Lines(2, "didUGCFetchCompletedSuccessfullyWithUserID:7:12")));
}

} // namespace
