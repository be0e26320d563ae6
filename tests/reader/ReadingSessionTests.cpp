#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "companion/books/BookLoader.h"
#include "platform/base/Json.h"

#include "AnalyticsTestSupport.h"
#include "ReaderTestSupport.h"

namespace lectoro {
namespace {

class FolioRecorder : public ReaderViewControllerDelegate {
public:
    void didLastVisitedFolioNumberForBookID(int64_t, const std::string& folio) override
    {
        folios.push_back(folio);
    }
    std::vector<std::string> folios;
};

using testing::StubReadingTime;

class ReadingSessionTests : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_analytics = std::make_shared<testing::RecordingAnalyticsManager>();
        AnalyticsManager::setInstance(m_analytics);
        m_reader = ReaderViewController::create("/books/42", 42, makeUser("7"), "978", "https://api",
            "client", std::make_shared<MVReaderSettingModel>(), "1.0");
        m_reader->setDelegate(m_folios);
        m_reader->view();
        m_renderer = framework().lastRenderer();
    }

    void TearDown() override
    {
        m_reader.reset();
        AnalyticsManager::setInstance(nullptr);
        ReaderTest::TearDown();
    }

    std::shared_ptr<LectoroBookVO> sample(const char* name)
    {
        auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/" + name);
        EXPECT_TRUE(loaded.ok());
        return loaded.value();
    }

    static RendererPage bookPage(int64_t id, std::string display)
    {
        RendererPage page;
        page.pageID = id;
        page.displayNum = std::move(display);
        return page;
    }

    static RendererPage chapterPage(int64_t index, std::string idref)
    {
        RendererPage page;
        page.fileIndex = index;
        page.displayNum = std::to_string(index);
        page.idref = std::move(idref);
        return page;
    }

    std::vector<testing::RecordingAnalyticsManager::Tracked> pageEvents() const
    {
        return m_analytics->named("PageTracking");
    }

    ReadingSession& session() { return m_reader->readingSession(); }

    std::shared_ptr<testing::RecordingAnalyticsManager> m_analytics;
    std::shared_ptr<FolioRecorder> m_folios = std::make_shared<FolioRecorder>();
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::testing::FakeRenderer> m_renderer;
};

TEST_F(ReadingSessionTests, BookOpenEventAtLoad)
{
    m_renderer->loadBook(sample("sample-pagebook"), {});
    auto opens = m_analytics->named("BookOpen");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].info["bookID"].asString(), "42");
    EXPECT_EQ(opens[0].info["suspendData"].asString(), "0");
    EXPECT_EQ(opens[0].info["bookOpenTimeStamp"].asString(), "2023-11-14 22:13:20");
    EXPECT_EQ(opens[0].uniqueID, "42");
}

TEST_F(ReadingSessionTests, TickWithNoActivePageSendsAndStoresNothing)
{
    m_renderer->loadBook(sample("sample-pagebook"), {});
    m_analytics->tracked.clear();
    base::RunLoop::main().advanceBy(10);
    EXPECT_TRUE(m_analytics->tracked.empty());
    EXPECT_TRUE(m_folios->folios.empty());
    auto stored = companionFramework()->makeDatabaseManager()->getReaderAnalyticsForUser(7, "42");
    EXPECT_EQ(stored.asDictionary()->size(), 0u);
}

TEST_F(ReadingSessionTests, TickSendsCloseOpenThenPagesAndStoresTheSession)
{
    m_renderer->loadBook(sample("sample-pagebook"), { bookPage(103, "1") });
    m_analytics->tracked.clear();
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(m_analytics->names(), (std::vector<std::string> { "BookClose", "BookOpen", "PageTracking" }));
    EXPECT_EQ(m_analytics->tracked[0].info["LastPageFolio"].asString(), "1");
    EXPECT_EQ(m_folios->folios, std::vector<std::string> { "1" });
    auto page = pageEvents().at(0).info;
    EXPECT_EQ(page["pageID"].asString(), "1");
    EXPECT_EQ(page["TimeSpend"].asString(), "10.000000");
    EXPECT_EQ(page["chapterID"].asString(), "2");
    EXPECT_EQ(page["chapterName"].asString(), "Clouds and Rain");
    auto stored = companionFramework()->makeDatabaseManager()->getReaderAnalyticsForUser(7, "42");
    EXPECT_EQ(stored.asDictionary()->size(), 1u);

    base::RunLoop::main().advanceBy(30);
    EXPECT_EQ(m_analytics->named("BookClose").size(), 4u);
    EXPECT_EQ(pageEvents().size(), 4u);
}

TEST_F(ReadingSessionTests, SpreadSharesItsTime)
{
    session().stopAnalyticsScheduledTimer();
    m_renderer->loadBook(sample("sample-pagebook"), { bookPage(103, "1"), bookPage(104, "2") });
    base::RunLoop::main().advanceBy(20);
    session().createAndSaveReaderAnalyticsSessionWithCalledUsingTimer(true);
    auto pages = pageEvents();
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& page : pages)
        EXPECT_EQ(page.info["TimeSpend"].asString(), "10.000000");
}

TEST_F(ReadingSessionTests, PageTurnsTrackOnlyPagesSeenLongerThanASecond)
{
    session().stopAnalyticsScheduledTimer();
    m_renderer->loadBook(sample("sample-pagebook"), { bookPage(103, "1") });
    base::RunLoop::main().advanceBy(1.0);
    m_renderer->showPages({ bookPage(104, "2") });
    EXPECT_TRUE(pageEvents().empty());
    base::RunLoop::main().advanceBy(2.5);
    m_renderer->showPages({ bookPage(105, "3") });
    auto pages = pageEvents();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].info["pageID"].asString(), "2");
    EXPECT_EQ(pages[0].info["TimeSpend"].asString(), "2");
    EXPECT_EQ(pages[0].info["chapterID"].asString(), "104");
}

TEST_F(ReadingSessionTests, BackgroundTimeIsNotCounted)
{
    m_renderer->loadBook(sample("sample-pagebook"), { bookPage(103, "1") });
    base::RunLoop::main().advanceBy(4);
    base::NotificationCenter::defaultCenter().post(ui::ApplicationDidEnterBackgroundNotification);
    ASSERT_EQ(pageEvents().size(), 1u);
    EXPECT_EQ(pageEvents()[0].info["TimeSpend"].asString(), "4.000000");
    base::RunLoop::main().advanceBy(100);
    EXPECT_EQ(pageEvents().size(), 1u);
    base::NotificationCenter::defaultCenter().post(ui::ApplicationWillEnterForegroundNotification);
    base::RunLoop::main().advanceBy(10);
    ASSERT_EQ(pageEvents().size(), 2u);
    EXPECT_EQ(pageEvents()[1].info["TimeSpend"].asString(), "10.000000");
}

TEST_F(ReadingSessionTests, ReflowablePosition)
{
    m_renderer->loadBook(sample("sample-reflowable-epub"), { chapterPage(1, "ch2") });
    m_renderer->setCurrentCFI("/6/4[ch2]!/4/2");
    m_renderer->setCurrentBookDataCFI("epubcfi(/6/4)");
    m_renderer->setLastVisitedRangeInfo("");
    // Without a range, the position to reopen at is still kept.
    auto json = session().reflowablePositionJSON();
    EXPECT_EQ(json.find("\\/"), std::string::npos);
    auto parsed = base::parseJson(json);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value()["chapterid"].asString(), "1");
    EXPECT_TRUE(parsed.value()["page"].isNull());
    EXPECT_EQ(parsed.value()["positionIdentifier"].asString(), "/6/4[ch2]!/4/2");
    EXPECT_EQ(parsed.value()["pageCFI"].asString(), "epubcfi(/6/4)");
}

TEST_F(ReadingSessionTests, TickWithoutACurrentPositionReportsTheLastCompleteOne)
{
    m_renderer->loadBook(sample("sample-reflowable-epub"), { chapterPage(1, "ch2") });
    m_renderer->setCurrentCFI("/6/4!/2");
    m_renderer->setLastVisitedRangeInfo("{0,10}");
    base::RunLoop::main().advanceBy(10);
    m_renderer->setCurrentCFI("");
    base::RunLoop::main().advanceBy(10);
    ASSERT_EQ(m_folios->folios.size(), 2u);
    EXPECT_EQ(m_folios->folios[1], m_folios->folios[0]);
    EXPECT_NE(m_folios->folios[0].find("/6/4!/2"), std::string::npos);
}

TEST_F(ReadingSessionTests, AverageTimePerPage)
{
    m_renderer->loadBook(sample("sample-pagebook"), {});
    m_reader->context().readingTimeManager = std::make_shared<StubReadingTime>();
    m_reader->setAvgTimePerPage(7);
    auto store = companionFramework()->makeDatabaseManager();

    // Stored pages without positions: nothing to average, the old value stays.
    store->createReaderAnalyticsSessionForUserID(
        "7", "42", R"({"PageTracking":[{"EventInfo":{"pageID":"1","TimeSpend":"9"}}]})");
    session().saveReaderAnalytics();
    EXPECT_EQ(m_reader->avgTimePerPage(), 7);
    EXPECT_FALSE(session().getAvgTimePerPageFromAnalyticsEvents().has_value());

    store->createReaderAnalyticsSessionForUserID("7", "42",
        R"({"PageTracking":[{"EventInfo":{"cfID":"a","TimeSpend":"10"}},{"EventInfo":{"cfID":"a","TimeSpend":"20"}},{"EventInfo":{"cfID":"b","TimeSpend":30}}]})");
    EXPECT_EQ(session().getAvgTimePerPageFromAnalyticsEvents(), 30);
    session().saveReaderAnalytics();
    EXPECT_EQ(m_reader->avgTimePerPage(), 18);

    // A stored session that is not JSON is skipped.
    store->createReaderAnalyticsSessionForUserID("7", "42", "{broken");
    EXPECT_FALSE(session().getAvgTimePerPageFromAnalyticsEvents().has_value());
}

TEST_F(ReadingSessionTests, TimeLeft)
{
    struct Case {
        int64_t seconds;
        int64_t minutes;
    };
    for (auto c :
        { Case { 45, 1 }, Case { 61, 1 }, Case { 150, 2 }, Case { 0, 0 }, Case { 60, 1 }, Case { 3600, 60 } })
        EXPECT_EQ(ReadingSession::minutesLeftForSeconds(c.seconds), c.minutes) << c.seconds;

    m_renderer->loadBook(sample("sample-reflowable-epub"), { chapterPage(0, "ch1") });
    auto stub = std::make_shared<StubReadingTime>();
    stub->secondsLeft = 150;
    m_reader->context().readingTimeManager = stub;
    m_reader->didChangeBookCFI(*m_renderer, "/6/2!/4", "/6/2!/4", 0);
    EXPECT_EQ(
        m_reader->context().timeLeftText, "2 " + LocalizationHelper::localizedStringWithKey("MIN_LEFT"));
    EXPECT_EQ(stub->defaultAverageTimePerPage(), 5.0);

    // A language change keeps the number and shows it in the new digits, and back again.
    auto language = NumberLocalizationHandler::language();
    NumberLocalizationHandler::setLanguage("ar");
    m_reader->updateReaderForLanguageChange();
    EXPECT_EQ(m_reader->context().timeLeftText.rfind("\xD9\xA2 ", 0), 0u) << m_reader->context().timeLeftText;
    NumberLocalizationHandler::setLanguage("en");
    m_reader->updateReaderForLanguageChange();
    EXPECT_EQ(m_reader->context().timeLeftText.rfind("2 ", 0), 0u);
    NumberLocalizationHandler::setLanguage(language);
}

TEST_F(ReadingSessionTests, ChapterIndexesOutOfRangeMeanNoChapter)
{
    session().stopAnalyticsScheduledTimer();
    m_renderer->loadBook(sample("sample-fixed-epub"), {});
    auto& context = m_reader->context();
    context.pagesLoadStartTimeDictionary["99"] = 0;
    context.pagesLoadStartTimeDictionary["-1"] = 0;
    context.CFIsLoadStartTimeDictionary["/6/2"] = 0;
    base::RunLoop::main().advanceBy(5);
    session().trackAnalyticsEvent();
    session().trackCFIAnalyticsEventWith("99");
    auto pages = pageEvents();
    ASSERT_EQ(pages.size(), 3u);
    for (const auto& page : pages)
        EXPECT_TRUE(page.info["chapterName"].isNull());

    m_renderer->clearCalls();
    m_reader->navigation().navigateToPageNumber(R"({"chapterid":"99","positionIdentifier":"/6/2"})");
    base::RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(m_renderer->countOf("navigateToPageNumber"), 0u);
    EXPECT_EQ(m_renderer->countOf("jumpToCFIString"), 1u);
}

} // namespace
} // namespace lectoro
