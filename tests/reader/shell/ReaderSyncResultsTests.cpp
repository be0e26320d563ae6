#include "ShellTestSupport.h"

#include "LectoroSDKWithReader/reader/ServiceFailure.h"
#include "companion/service/ServiceErrors.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/testing/Settle.h"

namespace lectoro::shelltest {
namespace {

using companion::ServiceAnswer;

base::Error failureWithStatus(base::Value status)
{
    base::Value::Dictionary fields;
    fields.set("usertoken", std::move(status));
    base::Value::Dictionary info;
    info.set("invalidFields", base::Value(std::move(fields)));
    info.set("expiredToken", "stale");
    base::Error error = base::Error::make("service", 400, "failed");
    error.userInfo = base::Value(std::move(info));
    return error;
}

class ReaderShellSyncResults : public ShellTest {
protected:
    // A loaded page book whose first requests (UGC and SCORM fetches) are pending.
    void openBook()
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(sample("sample-pagebook"), {});
    }
};

TEST_F(ReaderShellSyncResults, TheExpiredStatusIsTextOrNumber)
{
    struct Case {
        base::Value status;
        bool expired;
    };
    const Case cases[] = {
        { base::Value("103"), true },
        { base::Value(103), true },
        { base::Value(103.0), true },
        { base::Value("1030"), false },
        { base::Value(), false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(isExpiredSessionError(failureWithStatus(c.status)), c.expired) << c.status.description();
    EXPECT_FALSE(isExpiredSessionError(base::Error::make("service", 400, "no fields")));
}

TEST_F(ReaderShellSyncResults, ANumericExpiredStatusRenewsTheTokenAndRepeatsOnce)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->renewedToken = "token-2";
    openBook();
    answerPending("", ServiceAnswer::success());
    size_t fetches = requestsNamed(companion::op::ugcFetch);

    m_reader->didUGCFetchFailedWithError(failureWithStatus(103), 7, 42);
    EXPECT_EQ(m_delegate->refreshTokens, std::vector<std::string> { "stale" });
    EXPECT_EQ(m_reader->user()->userToken, "token-2");
    ASSERT_EQ(requestsNamed(companion::op::ugcFetch), fetches + 1);
    auto repeat = service().lastRequest(companion::op::ugcFetch);
    EXPECT_EQ(repeat->userToken, "token-2");
    EXPECT_EQ(repeat->body["bookID"].integerValue(), 42);
}

TEST_F(ReaderShellSyncResults, AServiceThatKeepsRefusingGetsOneRenewalAndOneRepeat)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->renewedToken = "token-2";
    openBook();
    answerPending(companion::op::ugcFetch, ServiceAnswer::expiredToken());
    uitest::runUntilSettled();
    EXPECT_EQ(m_delegate->refreshTokens.size(), 1u);
    EXPECT_EQ(requestsNamed(companion::op::ugcFetch), 2u) << "the first fetch and one repeat";
    EXPECT_EQ(m_delegate->events.back(), "sessionExpired") << "the repeat's refusal is an expired session";

    // A later, new failure of the same kind is renewed again.
    m_reader->didUGCFetchFailedWithError(failureWithStatus("103"), 7, 42);
    EXPECT_EQ(m_delegate->refreshTokens.size(), 2u);
}

TEST_F(ReaderShellSyncResults, WithoutAutoLoginTheDelegateHearsTheSessionExpired)
{
    openBook();
    answerPending(companion::op::scormFetch, ServiceAnswer::expiredToken());
    EXPECT_TRUE(m_delegate->refreshTokens.empty());
    EXPECT_EQ(m_delegate->events, (std::vector<std::string> { "bookLoaded", "sessionExpired" }));
}

TEST_F(ReaderShellSyncResults, ADelegateThatCannotRenewGetsNothingExceptForTheFurthestPage)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->answersRefresh = false;
    openBook();
    m_reader->didUGCSynchFailedWithError(failureWithStatus("103"), 7, 42);
    EXPECT_TRUE(m_delegate->refreshTokens.empty());
    EXPECT_EQ(m_delegate->events, std::vector<std::string> { "bookLoaded" });

    m_reader->didFailedToFetchFurthestPageDataWithError(
        base::Error::make("service", 401, "unauthorized"), 42);
    EXPECT_EQ(m_delegate->events.back(), "sessionExpired");
}

TEST_F(ReaderShellSyncResults, AnExpiredCollaborationSaveRenewsButSendsNothingAgain)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->renewedToken = "token-2";
    openBook();
    answerPending("", ServiceAnswer::success());
    size_t before = service().requestCount();
    m_reader->didSaveCollabDataFailedWithError(failureWithStatus("103"));
    EXPECT_EQ(m_reader->user()->userToken, "token-2");
    EXPECT_EQ(service().requestCount(), before);
}

TEST_F(ReaderShellSyncResults, TheFurthestPageFetchRenewsOnA401WithTheCurrentToken)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->renewedToken = "token-2";
    openBook();
    answerPending("", ServiceAnswer::success());
    m_reader->didFailedToFetchFurthestPageDataWithError(
        base::Error::make("service", 401, "unauthorized"), 42);
    EXPECT_EQ(m_delegate->refreshTokens, std::vector<std::string> { "token-1" });
    auto repeat = service().lastRequest(companion::op::furthestPageFetch);
    ASSERT_TRUE(repeat);
    EXPECT_EQ(repeat->userToken, "token-2");

    // Another code is nothing to act on.
    m_reader->didFailedToFetchFurthestPageDataWithError(base::Error::make("service", 500, "down"), 42);
    EXPECT_EQ(m_delegate->refreshTokens.size(), 1u);
}

TEST_F(ReaderShellSyncResults, AnswersOnAWorkerThreadAreAppliedOnTheMainQueue)
{
    openBook();
    m_renderer->enableFurthestPage(true);
    m_reader->startActivityIndicator();
    // Without automatic log-in, an expired UGC fetch stops the activity box (a view) and
    // tells the delegate: both belong on the main thread, where the UI layer asserts.
    answerPending(companion::op::ugcFetch, ServiceAnswer::expiredToken().onWorkerThread());
    for (int i = 0; i < 200 && m_delegate->sessionExpiredOnMainThread.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        uitest::runUntilSettled();
    }
    ASSERT_EQ(m_delegate->sessionExpiredOnMainThread, std::vector<bool> { true });
    EXPECT_FALSE(m_reader->activityBox());
}

TEST_F(ReaderShellSyncResults, AnswersToAClearedReaderAreDropped)
{
    openBook();
    m_reader->uninitializeReader();
    answerPending(companion::op::ugcFetch, ServiceAnswer::expiredToken());
    EXPECT_EQ(m_delegate->events, std::vector<std::string> { "bookLoaded" });
}

TEST_F(ReaderShellSyncResults, NoSessionNoticeWhileAnAlertIsUp)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    auto alert = ui::AlertController::create("Other", "message", ui::AlertControllerStyle::Alert);
    alert->addAction(ui::AlertAction::create("OK", ui::AlertActionStyle::Default, {}));
    root->presentViewController(alert, false);
    uitest::completePresentations();
    openBook();
    m_reader->showSessionExpiredAlert();
    EXPECT_EQ(m_delegate->events, std::vector<std::string> { "bookLoaded" });
    root->dismissViewControllerAnimated(false);
    uitest::completePresentations();
    m_reader->showSessionExpiredAlert();
    EXPECT_EQ(m_delegate->events.back(), "sessionExpired");
}

} // namespace
} // namespace lectoro::shelltest
