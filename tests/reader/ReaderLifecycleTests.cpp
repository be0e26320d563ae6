#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/BookLoader.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"
#include "platform/base/Dispatch.h"
#include "platform/base/NotificationCenter.h"
#include "platform/ui/Environment.h"

#include "ReaderTestSupport.h"

namespace lectoro {
namespace {

class ReaderLifecycleTests : public testing::ReaderTest {
protected:
    std::shared_ptr<ReaderViewController> makeLoadedReader()
    {
        auto reader = ReaderViewController::create("/books/42", 42, makeUser("7"), "978", "https://api",
            "client", std::make_shared<MVReaderSettingModel>(), "1.0");
        reader->view();
        return reader;
    }

    static size_t readerObservers()
    {
        auto& center = base::NotificationCenter::defaultCenter();
        size_t count = 0;
        for (const char* name : { ui::ApplicationWillResignActiveNotification,
                 ui::KeyboardWillShowNotification, ui::KeyboardWillHideNotification,
                 ui::DeviceOrientationDidChangeNotification, ui::ApplicationDidEnterBackgroundNotification,
                 ui::ApplicationWillEnterForegroundNotification })
            count += center.observerCount(name);
        return count;
    }
};

TEST_F(ReaderLifecycleTests, ObserversAndTimerLiveOnlyAsLongAsTheReader)
{
    size_t baseline = readerObservers();
    {
        auto reader = makeLoadedReader();
        EXPECT_EQ(readerObservers(), baseline + 6);
        EXPECT_TRUE(reader->readingSession().isTimerRunning());
        reader->uninitializeReader();
        EXPECT_EQ(readerObservers(), baseline);
        EXPECT_FALSE(reader->readingSession().isTimerRunning());
        EXPECT_FALSE(reader->rendererView());
    }
    {
        // Released without being cleared first: the destructor tears down the same.
        auto reader = makeLoadedReader();
        EXPECT_EQ(readerObservers(), baseline + 6);
    }
    EXPECT_EQ(readerObservers(), baseline);
    // Nothing of a released reader is left to run.
    base::RunLoop::main().advanceBy(60);
    base::NotificationCenter::defaultCenter().post(ui::ApplicationDidEnterBackgroundNotification);
}

TEST_F(ReaderLifecycleTests, BackgroundStopsTheSessionTimerAndForegroundRestartsIt)
{
    auto reader = makeLoadedReader();
    reader->context().pagesLoadStartTimeDictionary["3"] = 0;
    base::RunLoop::main().advanceBy(5);
    base::NotificationCenter::defaultCenter().post(ui::ApplicationDidEnterBackgroundNotification);
    EXPECT_TRUE(reader->context().isappInBackground);
    EXPECT_FALSE(reader->readingSession().isTimerRunning());

    base::RunLoop::main().advanceBy(100);
    base::NotificationCenter::defaultCenter().post(ui::ApplicationWillEnterForegroundNotification);
    EXPECT_FALSE(reader->context().isappInBackground);
    EXPECT_TRUE(reader->readingSession().isTimerRunning());
    // Background time is not counted: the page starts again now.
    EXPECT_EQ(reader->context().pagesLoadStartTimeDictionary["3"], base::RunLoop::main().now());
}

TEST_F(ReaderLifecycleTests, InitialDisplayNumber)
{
    struct Case {
        std::optional<std::string> folio;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        { std::nullopt, std::nullopt },
        { std::string("iv"), std::string("iv") },
        { std::string("{\"chapterid\":\"3\",\"page\":\"2\"}"), std::string("3") },
        { std::string("{\"chapterid\":4}"), std::string("4") },
        { std::string("{\"page\":\"2\"} chapterid"), std::nullopt },
        { std::string("{\"chapterid\": broken"), std::nullopt },
    };
    auto reader = makeLoadedReader();
    for (const auto& c : cases) {
        reader->setLastPageFolio(c.folio);
        EXPECT_EQ(reader->initialDisplayNumber(*reader->rendererView()), c.expected)
            << c.folio.value_or("nil");
    }
}

TEST_F(ReaderLifecycleTests, BookLoadedAsksTheServiceForTheUsersContent)
{
    auto reader = makeLoadedReader();
    base::RunLoop::main().advanceBy(0.5);
    auto renderer = framework().lastRenderer();
    renderer->enableFurthestPage(true);
    auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook");
    ASSERT_TRUE(loaded.ok());
    renderer->loadBook(loaded.value(), {});
    EXPECT_EQ(reader->currentBook(), loaded.value());
    EXPECT_TRUE(reader->context().bookOpenTimeStamp.has_value());

    auto operations = service().operations();
    auto indexOf = [&](const char* name) {
        return std::find(operations.begin(), operations.end(), name) - operations.begin();
    };
    ASSERT_LT(indexOf(companion::op::ugcFetch), static_cast<long>(operations.size()));
    EXPECT_LT(indexOf(companion::op::ugcFetch), indexOf(companion::op::scormFetch));
    EXPECT_LT(indexOf(companion::op::scormFetch), indexOf(companion::op::furthestPageFetch));
    ASSERT_LT(indexOf(companion::op::furthestPageFetch), static_cast<long>(operations.size()));
}

TEST_F(ReaderLifecycleTests, FurthestPageAnswerFromAWorkerIsAppliedOnTheMainThread)
{
    auto reader = makeLoadedReader();
    auto renderer = framework().lastRenderer();
    renderer->enableFurthestPage(true);
    auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook");
    ASSERT_TRUE(loaded.ok());
    renderer->loadBook(loaded.value(), {});
    service().answerAll(companion::ServiceAnswer::success());
    base::RunLoop::main().runUntilIdle();

    reader->rendererView()->setFurthestPageData("old");
    std::thread worker(
        [reader] { reader->didFetchFurthestPageDataSuccessfullyForBookID(42, std::string("{\"page\":9}")); });
    worker.join();
    EXPECT_EQ(renderer->furthestPageData(), "old");
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(renderer->furthestPageData(), "{\"page\":9}");

    // An answer that arrives after the reader was cleared changes nothing.
    reader->uninitializeReader();
    reader->didFetchFurthestPageDataSuccessfullyForBookID(42, std::string("{\"page\":10}"));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(renderer->furthestPageData(), "{\"page\":9}");
}

TEST_F(ReaderLifecycleTests, ReflowablePositionIsConsumedByTheFirstPage)
{
    auto reader = makeLoadedReader();
    auto renderer = framework().lastRenderer();
    auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-reflowable-epub");
    ASSERT_TRUE(loaded.ok());
    reader->setLastPageFolio(
        std::string("{\"chapterid\":\"1\",\"page\":\"2\",\"positionIdentifier\":\"/4/2\"}"));
    RendererPage page;
    page.fileIndex = 1;
    page.displayNum = "1";
    auto opened = renderer->loadBook(loaded.value(), { page });
    EXPECT_EQ(opened, "1");
    auto jump = renderer->lastCall("jumpToCFIString");
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->arguments.at(0).asString(), "/4/2");
    EXPECT_FALSE(reader->lastPageFolio().has_value());
    EXPECT_TRUE(reader->context().validLastPageFolio.has_value());
}

TEST_F(ReaderLifecycleTests, PageBookOrientationFollowsTheBook)
{
    struct Case {
        int type;
        int64_t mode;
    };
    for (auto c : { Case { 0, 1 }, Case { 1, 3 }, Case { 2, 0 } }) {
        auto reader = makeLoadedReader();
        auto renderer = framework().lastRenderer();
        auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook");
        ASSERT_TRUE(loaded.ok());
        std::dynamic_pointer_cast<PXBookVO>(loaded.value())->bookOrientationType = c.type;
        renderer->loadBook(loaded.value(), {});
        EXPECT_EQ(renderer->getBookOrientationMode(), c.mode) << c.type;
    }
}

} // namespace
} // namespace lectoro
