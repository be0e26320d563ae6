#include "companion/Framework.h"

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "companion/books/BookLoader.h"
#include "companion/service/InProcessService.h"
#include "companion/testing/FakeFramework.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include "companion/SampleBooks.h"
#include "platform/testing/Settle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace {

using companiontest::samplePath;

class FrameworkTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lectoro::setCompanionFramework(nullptr);
        base::RunLoop::main().reset();
    }
};

TEST_F(FrameworkTest, WithoutAFrameworkTheMakersAnswerNothing)
{
    lectoro::setCompanionFramework(nullptr);
    EXPECT_FALSE(lectoro::isCompanionFrameworkInstalled());
    auto framework = lectoro::companionFramework();
    ASSERT_TRUE(framework);
    EXPECT_FALSE(framework->makeDatabaseManager());
    EXPECT_FALSE(framework->makeRendererViewController("/books/x", {}));
    EXPECT_FALSE(framework->makeDataSyncingManager("https://api.example", "c"));
    EXPECT_FALSE(framework->makeTextSearchController(nullptr, "rain"));
    EXPECT_FALSE(lectoro::AnalyticsManager::getInstance());
}

TEST_F(FrameworkTest, InstalledFrameworkMakesWorkingObjects)
{
    auto framework = companion::makeFramework();
    lectoro::setCompanionFramework(framework);
    ASSERT_TRUE(lectoro::isCompanionFrameworkInstalled());
    ASSERT_TRUE(framework->inProcessService());

    auto store = lectoro::companionFramework()->makeDatabaseManager();
    ASSERT_TRUE(store);
    EXPECT_EQ(store, lectoro::companionFramework()->makeDatabaseManager()) << "one store, shared";

    auto analytics = lectoro::AnalyticsManager::getInstance();
    ASSERT_TRUE(analytics);
    EXPECT_EQ(analytics, lectoro::AnalyticsManager::getInstance());
    lectoro::setCompanionFramework(companion::makeFramework());
    EXPECT_NE(analytics, lectoro::AnalyticsManager::getInstance()) << "a new framework, a new manager";

    auto book = companion::loadBook(samplePath("sample-pagebook"));
    ASSERT_TRUE(book.ok());
    auto search = framework->makeTextSearchController(book.value(), "rain");
    ASSERT_TRUE(search);
    EXPECT_FALSE(search->getSearchResultForText("rain", 0, 10).empty());
    auto readingTime = framework->makeReadingTimeManager(samplePath("sample-reflowable-epub"));
    readingTime->isCFIDataAvailable();
    uitest::runUntilSettled();
    EXPECT_TRUE(readingTime->isCFIDataAvailable());

    // The service interface and the sync client reach the in-process service.
    std::optional<std::string> fresh;
    framework->makeServiceInterface("https://api.example", "c")
        ->refreshUserTokenWithToken("t0", [&](const base::Value& response) { fresh = response["userToken"].asString(); }, {});
    uitest::runUntilSettled();
    EXPECT_TRUE(fresh);
    EXPECT_EQ(framework->inProcessService()->requestCount(), 1u);
}

TEST_F(FrameworkTest, StoreThatCannotOpenIsAnErrorNotACrash)
{
    auto file = std::filesystem::temp_directory_path() / ("lectoro-not-a-folder-" + std::to_string(::getpid()));
    std::ofstream(file) << "x";
    auto framework = companion::makeFramework({ (file / "store").string(), nullptr });
    // A stand-in answers: it holds nothing and refuses every write with the reason.
    auto store = framework->makeDatabaseManager();
    ASSERT_TRUE(store);
    ASSERT_TRUE(framework->storeError());
    auto saved = store->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", "1" } }, "1", 7);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().localizedDescription(), framework->storeError()->localizedDescription());
    // The sync client still works: it sends no upload of a store it cannot read (the save
    // is answered as failed), and fetches still go out.
    auto client = framework->makeDataSyncingManager("https://api.example", "c");
    ASSERT_TRUE(client);
    client->saveUGCForUserID(7, {}, "t");
    uitest::runUntilSettled();
    EXPECT_EQ(framework->inProcessService()->requestCount(), 0u);
    client->fetchUGCOperationForBookID(1, 7, {}, "t", "v1");
    uitest::runUntilSettled();
    EXPECT_EQ(framework->inProcessService()->requestCount(), 1u);
    std::filesystem::remove(file);
}

TEST_F(FrameworkTest, FakeFrameworkHandsOutFakeRenderersOverARecordingService)
{
    auto fake = companion::testing::FakeFramework::create();
    lectoro::setCompanionFramework(fake);
    auto renderer = lectoro::companionFramework()->makeRendererViewController("/books/b", {}, std::string("isbn-1"));
    ASSERT_EQ(renderer, fake->lastRenderer());
    EXPECT_EQ(renderer->isbn(), "isbn-1");
    renderer->setBookOrientationMode(3);
    EXPECT_EQ(renderer->getBookOrientationMode(), 3);
    EXPECT_EQ(fake->lastRenderer()->callNames(), (std::vector<std::string> { "setBookOrientationMode" }));

    auto client = lectoro::companionFramework()->makeDataSyncingManager("https://api.example", "c");
    client->fetchFurthestPageDataForBookID(1, 2, {}, "t");
    EXPECT_EQ(fake->service()->operations(), (std::vector<std::string> { "furthestPage.fetch" }));
    EXPECT_EQ(fake->service()->pendingCount(), 1u) << "answered only when the test says";
    EXPECT_TRUE(fake->store());
}

TEST(LectoroDebugLog, WritesOnlyWhenEnabledAndVerboseOnlyWhenAskedFor)
{
    std::vector<std::string> lines;
    lectoro::LectoroDebugLog::setSinkForTesting([&](const std::string& line) { lines.push_back(line); });
    lectoro::LectoroDebugLog::enableLogsWithIsenabled(false);
    lectoro::LectoroDebugLog::logWithType(1, "Reader", "hidden");
    lectoro::LectoroDebugLog::enableLogsWithIsenabled(true);
    lectoro::LectoroDebugLog::logWithType(1, "Reader", "shown", "detail");
    lectoro::LectoroDebugLog::enableVerboseWithIsenabled(true);
    lectoro::LectoroDebugLog::logWithType(2, "Reader", "shown", "detail");
    lectoro::LectoroDebugLog::enableLogsWithIsenabled(false);
    lectoro::LectoroDebugLog::enableVerboseWithIsenabled(false);
    lectoro::LectoroDebugLog::setSinkForTesting({});
    EXPECT_EQ(lines, (std::vector<std::string> { "[Lectoro:1] Reader: shown", "[Lectoro:2] Reader: shown | detail" }));
}

} // namespace
