// How the clients take the service's answers: broken ones, expired sessions with one
// repeat, and user ids that must be numbers.

#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "companion/service/InProcessService.h"
#include "companion/service/ServiceErrors.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/RecordingSyncDelegate.h"
#include "companion/sync/ServiceInterface.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "companion/testing/FakeService.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Settle.h"

#include <gtest/gtest.h>

namespace {

using companion::ServiceAnswer;
using companion::testing::FakeService;
using companiontest::RecordingSyncDelegate;

constexpr int64_t answerBookID = 31;
constexpr int64_t answerUserID = 5;

class ServiceAnswerTest : public ::testing::Test {
protected:
    void SetUp() override { base::RunLoop::main().reset(); }
    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
    }

    std::shared_ptr<RecordingSyncDelegate> delegate = std::make_shared<RecordingSyncDelegate>();
};

TEST_F(ServiceAnswerTest, AnAnswerThatIsNotJSONTellsTheHostWhereItBroke)
{
    auto service = FakeService::create();
    service->setAutoAnswer(ServiceAnswer::rawText("{\"ugcList\": [1,]}"));
    auto client = companion::DataSyncingManager::create("https://api.example", "c", service, nullptr);
    client->fetchUGCOperationForBookID(answerBookID, answerUserID, delegate, "t", "v1");
    uitest::runUntilSettled();
    ASSERT_EQ(delegate->errors().size(), 1u);
    std::string told = delegate->errors()[0].localizedDescription();
    EXPECT_NE(told.find("unexpected ']'"), std::string::npos) << told;
    EXPECT_NE(told.find("at byte 15, depth 2"), std::string::npos) << told;
}

TEST_F(ServiceAnswerTest, BrokenAnswersAreFailuresWithTheServiceShape)
{
    const char* texts[] = { "{\"ugcList\": [", "not json at all", "[1, 2, 3]", "\"just text\"", "" };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        auto service = FakeService::create();
        service->setAutoAnswer(ServiceAnswer::rawText(text));
        auto store = companion::SqliteDatabaseManager::openInMemory().value();
        auto client = companion::DataSyncingManager::create("https://api.example", "c", service,
            std::make_shared<companion::StoreSyncAdapter>(store));
        delegate = std::make_shared<RecordingSyncDelegate>();
        client->fetchUGCOperationForBookID(answerBookID, answerUserID, delegate, "t", "v1");
        client->fetchFurthestPageDataForBookID(answerBookID, answerUserID, delegate, "t");

        std::optional<base::Error> failure;
        companion::ServiceInterface::create("https://api.example", "c", service)
            ->getKalturaSessionURL("t", "entry", 1, [](const base::Value&) { ADD_FAILURE() << "not a success"; },
                [&](const base::Error& error) { failure = error; });
        uitest::runUntilSettled();

        EXPECT_EQ(delegate->lines(),
            (std::vector<std::string> { "didUGCFetchFailedWithError:502:5:31",
                "didFailedToFetchFurthestPageDataWithError:502" }));
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->domain, companion::serviceErrorDomain);
        EXPECT_EQ(failure->code, companion::malformedAnswerCode);
        EXPECT_TRUE(failure->userInfo["message"].isString());
        EXPECT_FALSE(lectoro::isExpiredSessionError(*failure));
    }
    // Good JSON text is read as any other answer.
    auto service = FakeService::create();
    service->setAutoAnswer(ServiceAnswer::rawText("{\"responseMsg\": \"https://media.example/x\"}"));
    std::optional<std::string> address;
    companion::ServiceInterface::create("https://api.example", "c", service)
        ->getKalturaSessionURL("t", "entry", 1, [&](const base::Value& answer) { address = answer["responseMsg"].asString(); },
            {});
    uitest::runUntilSettled();
    EXPECT_EQ(address, "https://media.example/x");
}

// A call through the repeat rule against the in-process service, counting what was sent.
struct RetryRun {
    std::optional<base::Value> success;
    std::optional<base::Error> failure;
    size_t kalturaRequests = 0;
    size_t refreshRequests = 0;
    std::vector<std::string> tokens;
};

RetryRun runKalturaWithRepeat(const std::shared_ptr<companion::InProcessService>& service, const std::string& token)
{
    auto client = companion::ServiceInterface::create("https://api.example", "c", service);
    RetryRun run;
    lectoro::callRepeatingOnceAfterTokenRefresh(
        [client](const std::string& userToken, auto success, auto failure) {
            client->getKalturaSessionURL(userToken, "entry-7", 1, std::move(success), std::move(failure));
        },
        token, lectoro::tokenRefreshThrough(client), [&](const base::Value& answer) { run.success = answer; },
        [&](const base::Error& error) { run.failure = error; });
    uitest::runUntilSettled();
    for (const auto& request : service->requests()) {
        if (request.operation == companion::op::kalturaSession) {
            ++run.kalturaRequests;
            run.tokens.push_back(request.userToken);
        }
        if (request.operation == companion::op::tokenRefresh)
            ++run.refreshRequests;
    }
    return run;
}

TEST_F(ServiceAnswerTest, AnExpiredSessionIsRepeatedOnceWithAFreshToken)
{
    auto service = companion::InProcessService::create();
    service->expireToken("stale");
    auto run = runKalturaWithRepeat(service, "stale");
    ASSERT_TRUE(run.success);
    EXPECT_FALSE(run.failure);
    EXPECT_EQ(run.kalturaRequests, 2u);
    EXPECT_EQ(run.refreshRequests, 1u);
    ASSERT_EQ(run.tokens.size(), 2u);
    EXPECT_NE(run.tokens[1], "stale");
    EXPECT_EQ(run.success->operator[]("responseMsg").asString()->find("entry-7") != std::string::npos, true);
}

TEST_F(ServiceAnswerTest, ASecondExpiryOrAFailedRefreshEndsWithTheFailure)
{
    {
        SCOPED_TRACE("expired again after the refresh");
        auto service = companion::InProcessService::create();
        service->scriptNext(companion::op::kalturaSession, ServiceAnswer::expiredToken());
        service->scriptNext(companion::op::kalturaSession, ServiceAnswer::expiredToken().onWorkerThread());
        auto run = runKalturaWithRepeat(service, "t1");
        base::waitForBackgroundWork();
        ASSERT_TRUE(run.failure);
        EXPECT_TRUE(lectoro::isExpiredSessionError(*run.failure));
        EXPECT_EQ(run.kalturaRequests, 2u) << "repeated once, not again";
        EXPECT_EQ(run.refreshRequests, 1u);
    }
    {
        SCOPED_TRACE("the refresh fails");
        auto service = companion::InProcessService::create();
        service->scriptNext(companion::op::kalturaSession, ServiceAnswer::expiredToken());
        service->scriptNext(companion::op::tokenRefresh, ServiceAnswer::offline());
        auto run = runKalturaWithRepeat(service, "t1");
        ASSERT_TRUE(run.failure);
        EXPECT_TRUE(lectoro::isExpiredSessionError(*run.failure)) << "the first failure is the one reported";
        EXPECT_EQ(run.kalturaRequests, 1u);
    }
    {
        SCOPED_TRACE("other failures are not repeated");
        auto service = companion::InProcessService::create();
        service->scriptNext(companion::op::kalturaSession, ServiceAnswer::unauthorized().after(1.0));
        auto run = runKalturaWithRepeat(service, "t1");
        base::RunLoop::main().advanceBy(1.5);
        EXPECT_EQ(run.refreshRequests, 0u);
        EXPECT_EQ(run.kalturaRequests, 1u);
    }
}

TEST(UserIdReading, IdsAre64BitNumbersOrDecimalText)
{
    struct Case {
        base::Value value;
        std::optional<int64_t> expected;
    };
    const Case cases[] = {
        { base::Value(int64_t(9000000001)), 9000000001 },
        { base::Value("9000000001"), 9000000001 },
        { base::Value("-4"), -4 },
        { base::Value(42.0), 42 },
        { base::Value(42.5), std::nullopt },
        { base::Value("12abc"), std::nullopt },
        { base::Value("abc"), std::nullopt },
        { base::Value(""), std::nullopt },
        { base::Value(" 12"), std::nullopt },
        { base::Value("+12"), std::nullopt },
        { base::Value("99999999999999999999"), std::nullopt },
        { base::Value(true), std::nullopt },
        { base::Value(), std::nullopt },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.value.description());
        EXPECT_EQ(lectoro::coding::readId(testCase.value), testCase.expected);
    }

    auto withMember = [](base::Value id) {
        return base::Value::Dictionary { { "classId", "c" }, { "userId", "9000000001" },
            { "learners", base::Value::List { base::Value::Dictionary { { "user", base::Value::Dictionary { { "id", id } } } } } } };
    };
    auto good = lectoro::SDKBookClassInfoVO::fromDictionary(withMember(base::Value("9000000002")));
    ASSERT_TRUE(good);
    EXPECT_EQ(good->userId, 9000000001);
    EXPECT_EQ(good->getUserListArray({ good }, 0, 0)["students"].at(0)["userId"].asInteger(), 9000000002);
    EXPECT_FALSE(lectoro::SDKBookClassInfoVO::fromDictionary(withMember(base::Value("x7"))));
    EXPECT_FALSE(lectoro::SDKBookClassInfoVO::fromDictionary(
        base::Value::Dictionary { { "userId", 1 }, { "shareList", base::Value::List { "two" } } }));
}

TEST_F(ServiceAnswerTest, AFetchWhoseUserIdsAreNotNumbersFailsAndStoresNothing)
{
    auto store = companion::SqliteDatabaseManager::openInMemory().value();
    auto service = FakeService::create();
    auto client = companion::DataSyncingManager::create("https://api.example", "c", service,
        std::make_shared<companion::StoreSyncAdapter>(store));
    auto goodClass = base::Value::Dictionary { { "classId", "c1" }, { "classTitle", "Old" }, { "userId", answerUserID } };
    service->enqueue(ServiceAnswer::success(
        base::Value::Dictionary { { "ugcList", base::Value::List {} }, { "classInfo", base::Value::List { goodClass } } }));
    client->fetchUGCOperationForBookID(answerBookID, answerUserID, delegate, "t", "v1");
    uitest::runUntilSettled();
    ASSERT_EQ(store->bookClassInfoArrayForBookID(std::to_string(answerBookID), answerUserID).size(), 1u);

    const base::Value answers[] = {
        base::Value::Dictionary { { "userID", "five" } },
        base::Value::Dictionary { { "classInfo",
            base::Value::List { base::Value::Dictionary { { "classTitle", "New" }, { "userId", "12abc" } } } } },
        base::Value::Dictionary { { "ugcList",
            base::Value::List { base::Value::Dictionary { { "type", 1 }, { "localID", "n1" }, { "ugcID", "77" },
                { "sharedUsers", base::Value::List { "someone" } } } } } },
    };
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.description());
        service->enqueue(ServiceAnswer::success(answer));
        client->fetchUGCOperationForBookID(answerBookID, answerUserID, delegate, "t", "v1");
        uitest::runUntilSettled();
        EXPECT_EQ(delegate->lines().back(), "didUGCFetchFailedWithError:502:5:31");
    }
    auto classes = store->bookClassInfoArrayForBookID(std::to_string(answerBookID), answerUserID);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0]->classTitle, "Old") << "a refused answer replaces nothing";
    EXPECT_TRUE(store->highlightBookID(std::to_string(answerBookID), answerUserID).empty());
}

} // namespace
