#include "../LauncherTestSupport.h"

#include "companion/books/BookLoader.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/Transport.h"
#include "platform/base/Json.h"
#include "platform/testing/Settle.h"

namespace lectoro {
namespace {

using companion::ServiceAnswer;

class ReaderShellLauncher : public testing::LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        m_user = makeUser("7", "old-token");
    }

    void launch()
    {
        m_launcher->launchBook(package(), m_user, configuration());
        answerAll(ServiceAnswer::success());
    }

    void answerAll(const ServiceAnswer& answer)
    {
        while (service().pendingCount()) {
            service().answerAll(answer);
            uitest::runUntilSettled();
        }
    }

    std::vector<std::string> operationsSince(size_t start) const
    {
        auto all = m_host->service->operations();
        return std::vector<std::string>(all.begin() + static_cast<long>(start), all.end());
    }

    std::shared_ptr<LectoroUser> m_user;
};

TEST_F(ReaderShellLauncher, ACloseStoresThePageThenSendsTheFiveSyncRequestsThenTellsTheHost)
{
    launch();
    size_t before = service().requestCount();
    m_launcher->reader()->setLastPageFolio(std::string("5"));
    m_launcher->reader()->didTapOnBackButton();

    // The UGC synchronisation uploads first (its fetch follows its answer), then the save
    // (with the "B" metadata), the fetch, the tracking and the furthest page.
    EXPECT_EQ(operationsSince(before),
        (std::vector<std::string> { companion::op::ugcSave, companion::op::ugcSave, companion::op::ugcFetch,
            companion::op::trackingSave, companion::op::furthestPageSave }));
    auto requests = service().requests();
    EXPECT_TRUE(requests[before].body["metaData"].isNull());
    EXPECT_EQ(requests[before + 1].body["metaData"].asString(), "B");
    ASSERT_EQ(m_host->closes.size(), 1u);
    EXPECT_EQ(m_host->closes[0].serviceRequestsBefore, before + 5);
    EXPECT_EQ(m_host->closes[0].lastPageFolio, "5");
    EXPECT_EQ(storedMetadata("42", 7)["LastPageFolio"].asString(), "5");
}

TEST_F(ReaderShellLauncher, AClosedPageNeverErasesWhatTheStoreKeeps)
{
    storeMetadata("FurthestPageData", "{\"page\":\"9\"}", "42", 7);
    storeMetadata("LastPageFolio", "3", "42", 7);
    launch();
    // No last page: the stored one stays.
    m_launcher->reader()->setLastPageFolio(std::nullopt);
    m_launcher->reader()->closeReaderForSessionExpiry();
    EXPECT_EQ(storedMetadata("42", 7)["LastPageFolio"].asString(), "3");
    EXPECT_EQ(storedMetadata("42", 7)["FurthestPageData"].asString(), "{\"page\":\"9\"}");

    // A last page replaces only itself.
    launch();
    m_launcher->reader()->setLastPageFolio(std::string("8"));
    m_launcher->reader()->closeReaderForSessionExpiry();
    EXPECT_EQ(storedMetadata("42", 7)["LastPageFolio"].asString(), "8");
    EXPECT_EQ(storedMetadata("42", 7)["FurthestPageData"].asString(), "{\"page\":\"9\"}");
}

TEST_F(ReaderShellLauncher, FurthestPageTextKeepsItsNonAsciiContent)
{
    const std::string data = "{\n  \"chapterName\" : \"Étude für Café — 第一章\",\n  \"bookId\" : \"42\"\n}";
    m_launcher->didUpdateFurthestPageData(data, 42, 7);
    EXPECT_EQ(storedMetadata("42", 7)["FurthestPageData"].asString(), data);
    ASSERT_EQ(m_host->furthestPages.size(), 1u);
    EXPECT_EQ(m_host->furthestPages[0], data);

    launch();
    EXPECT_EQ(framework().lastRenderer()->furthestPageData(), data);
}

TEST_F(ReaderShellLauncher, AReflowableBooksFurthestPageReachesTheHostAsUTF8)
{
    launch();
    auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-reflowable-epub");
    ASSERT_TRUE(loaded.ok());
    auto renderer = framework().lastRenderer();
    renderer->loadBook(loaded.value(), {});
    renderer->fire([](RendererViewControllerDelegate& delegate, RendererViewController& source) {
        delegate.didUpdateFurthestPage(source, "{\"chapterName\":\"Café — 第一章\",\"page\":3}");
    });
    ASSERT_EQ(m_host->furthestPages.size(), 1u);
    auto parsed = base::parseJson(m_host->furthestPages[0]);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value()["chapterName"].asString(), "Café — 第一章");
    EXPECT_EQ(parsed.value()["bookId"].asString(), "42");
    EXPECT_EQ(storedMetadata("42", 7)["FurthestPageData"].asString(), m_host->furthestPages[0]);
}

TEST_F(ReaderShellLauncher, TheReadersExpiredSessionReachesTheHost)
{
    launch();
    m_launcher->reader()->showSessionExpiredAlert();
    EXPECT_EQ(m_host->events, std::vector<std::string> { "sessionExpired:old-token" });
}

TEST_F(ReaderShellLauncher, ASaveRefusedForeverGetsOneRefreshAndOneRepeat)
{
    launch();
    m_launcher->enableAutologin(true);
    size_t refreshesBefore = requestsNamed(companion::op::tokenRefresh);
    m_launcher->syncUGCDataWithBookId("42", m_user);
    for (int round = 0; round < 6 && service().pendingCount(); ++round) {
        auto request = service().pendingRequest(0);
        base::Value::Dictionary body;
        body.set("userToken", "fresh");
        service().answerNext(request->operation == companion::op::tokenRefresh
                ? ServiceAnswer::success(base::Value(std::move(body)))
                : ServiceAnswer::expiredToken());
        uitest::runUntilSettled();
    }
    EXPECT_EQ(requestsNamed(companion::op::tokenRefresh) - refreshesBefore, 1u);
    EXPECT_EQ(requestsNamed(companion::op::ugcSave), 2u);
    ASSERT_EQ(m_host->events.size(), 2u);
    EXPECT_EQ(m_host->events[0].rfind("ugcFailed:", 0), 0u);
    EXPECT_EQ(m_host->events[1], "sessionExpired:fresh");
}

TEST_F(ReaderShellLauncher, TheReadersRenewalIsTheLaunchersRefreshAndRepeatsOnce)
{
    launch();
    m_launcher->enableAutologin(true);
    auto reader = m_launcher->reader();
    size_t fetches = requestsNamed(companion::op::ugcFetch);
    // The reader's UGC fetch is refused; the launcher renews the shared user.
    reader->didUGCFetchFailedWithError(companion::expiredTokenError("old-token"), 7, 42);
    ASSERT_EQ(requestsNamed(companion::op::tokenRefresh), 1u);
    base::Value::Dictionary body;
    body.set("userToken", "new-token");
    service().answerNext(ServiceAnswer::success(base::Value(std::move(body))));
    uitest::runUntilSettled();
    EXPECT_EQ(m_user->userToken, "new-token");
    EXPECT_EQ(requestsNamed(companion::op::ugcFetch), fetches + 1);
    EXPECT_EQ(service().lastRequest(companion::op::ugcFetch)->userToken, "new-token");
}

} // namespace
} // namespace lectoro
