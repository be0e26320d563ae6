#include "LauncherTestSupport.h"

#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/testing/Settle.h"

namespace lectoro {
namespace {

using companion::ServiceAnswer;

class LauncherAnswersTests : public testing::LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        m_user = makeUser("7", "old-token");
        m_launcher->launchBook(package(), m_user, configuration());
        // The launch's own last-page request.
        service().answerAll(ServiceAnswer::success());
        uitest::runUntilSettled();
    }

    void answerAll(const ServiceAnswer& answer)
    {
        service().answerAll(answer);
        uitest::runUntilSettled();
    }

    static ServiceAnswer newToken(const char* token)
    {
        base::Value::Dictionary body;
        body.set("userToken", token);
        return ServiceAnswer::success(base::Value(std::move(body)));
    }

    std::shared_ptr<LectoroUser> m_user;
};

TEST_F(LauncherAnswersTests, ExpiredUGCSaveWithAutoLoginRefreshesAndRepeatsOnce)
{
    m_launcher->enableAutologin(true);
    m_launcher->syncUGCDataWithBookId("42", m_user);
    answerAll(ServiceAnswer::expiredToken());
    ASSERT_EQ(requestsNamed(companion::op::tokenRefresh), 1u);
    EXPECT_EQ(
        service().lastRequest(companion::op::tokenRefresh)->body["expiredToken"].asString(), "old-token");

    answerAll(newToken("new-token"));
    EXPECT_EQ(m_user->userToken, "new-token");
    EXPECT_EQ(m_launcher->reader()->user()->userToken, "new-token");
    EXPECT_EQ(requestsNamed(companion::op::ugcSave), 2u);
    EXPECT_EQ(service().lastRequest(companion::op::ugcSave)->userToken, "new-token");
    EXPECT_TRUE(m_host->events.empty());

    answerAll(ServiceAnswer::success());
    EXPECT_EQ(m_host->events, std::vector<std::string> { "ugcSaved" });
}

TEST_F(LauncherAnswersTests, ExpiredUGCSaveWithoutAutoLoginTellsTheHost)
{
    m_launcher->syncUGCDataWithBookId("42", m_user);
    answerAll(ServiceAnswer::expiredToken());
    EXPECT_EQ(requestsNamed(companion::op::tokenRefresh), 0u);
    ASSERT_EQ(m_host->events.size(), 2u);
    EXPECT_EQ(m_host->events[0].rfind("ugcFailed:", 0), 0u);
    EXPECT_EQ(m_host->events[1], "sessionExpired:old-token");
}

TEST_F(LauncherAnswersTests, RefreshAnswerWithoutATokenEndsSilently)
{
    m_launcher->enableAutologin(true);
    m_launcher->saveLectoroAnalyticsDataWithBookId("42", m_user);
    answerAll(ServiceAnswer::expiredToken());
    answerAll(ServiceAnswer::success());
    EXPECT_EQ(requestsNamed(companion::op::trackingSave), 1u);
    EXPECT_TRUE(m_host->events.empty());
    EXPECT_EQ(m_user->userToken, "old-token");
}

TEST_F(LauncherAnswersTests, FailedRefreshReportsTheRefreshError)
{
    m_launcher->enableAutologin(true);
    m_launcher->saveLectoroAnalyticsDataWithBookId("42", m_user);
    answerAll(ServiceAnswer::expiredToken());
    answerAll(ServiceAnswer::offline());
    ASSERT_EQ(m_host->events.size(), 2u);
    EXPECT_EQ(m_host->events[0], "analyticsFailed:-1009:7:42");
    EXPECT_EQ(m_host->events[1], "sessionExpired:old-token");
}

TEST_F(LauncherAnswersTests, OtherFailuresOnlyReport)
{
    m_launcher->enableAutologin(true);
    m_launcher->syncUGCDataWithBookId("42", m_user);
    answerAll(ServiceAnswer::offline());
    EXPECT_EQ(m_host->events, std::vector<std::string> { "ugcFailed:-1009" });
    EXPECT_EQ(requestsNamed(companion::op::tokenRefresh), 0u);
}

TEST_F(LauncherAnswersTests, FurthestPageUnauthorizedShowsTheAlertWhichClosesTheBook)
{
    uitest::showInWindow(m_launcher);
    m_launcher->syncLectoroDataWithBookId(42);
    while (auto request = service().pendingRequest(0)) {
        service().answerNext(request->operation == companion::op::furthestPageSave
                ? ServiceAnswer::unauthorized()
                : ServiceAnswer::success());
        uitest::runUntilSettled();
    }
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), LocalizationHelper::localizedStringWithKey("YOUR_SESSION_HAS_EXPIRED"));
    size_t requestsBefore = service().requestCount();
    ASSERT_TRUE(uitest::tapAction(LocalizationHelper::localizedStringWithKey("OK")));
    uitest::completePresentations();
    // The open book closed as forced: stored, removed, no sync.
    EXPECT_FALSE(m_launcher->reader());
    ASSERT_EQ(m_host->closes.size(), 1u);
    EXPECT_EQ(service().requestCount(), requestsBefore);
}

TEST_F(LauncherAnswersTests, ReaderAsksForAToken)
{
    bool completed = false;
    m_launcher->refreshUserTokenForUser(
        makeUser("other", "ignored"), "ignored", [&](std::shared_ptr<LectoroUser> user) {
            completed = true;
            EXPECT_EQ(user, m_user);
        });
    EXPECT_EQ(
        service().lastRequest(companion::op::tokenRefresh)->body["expiredToken"].asString(), "old-token");
    answerAll(newToken("fresh"));
    EXPECT_TRUE(completed);
    EXPECT_EQ(m_user->userToken, "fresh");
}

TEST_F(LauncherAnswersTests, MediaBackStoresTheLastPageAndSyncsOnlyWithBookmarks)
{
    for (bool bookmarks : { false, true }) {
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsAudioBookBookmarkEnabled(bookmarks);
        auto audio = std::make_shared<LectoroAudioBookPackage>("/books/9", "9", "978", "");
        m_launcher->launchAudioBook(audio, m_user, configuration(), settings);
        auto media = m_launcher->audioBookController();
        size_t before = service().requestCount();
        m_launcher->didTapOnBackWithBookID(*media, "9", "p4");
        EXPECT_EQ(storedMetadata("9", 7)["LastPageFolio"].asString(), "p4");
        EXPECT_FALSE(m_launcher->audioBookController());
        EXPECT_EQ(service().requestCount() - before, bookmarks ? 3u : 0u);
        ASSERT_FALSE(m_host->closes.empty());
        EXPECT_EQ(m_host->closes.back().bookID, "9");
        answerAll(ServiceAnswer::success());
    }
}

TEST_F(LauncherAnswersTests, FurthestPageReportsAreStoredWithoutAHost)
{
    m_launcher->setDelegate({});
    m_launcher->didUpdateFurthestPageData("{\"page\":2}", 42, 7);
    EXPECT_EQ(storedMetadata("42", 7)["FurthestPageData"].asString(), "{\"page\":2}");
}

} // namespace
} // namespace lectoro
