// The class's markup report from the review bar: the book's contents fetched from the
// report service, the learners offered, the mail request, and its failures.

#include "teacherreview/ReaderTeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "platform/ui/AlertController.h"

namespace lectoro {
namespace {

using companion::ServiceAnswer;
using reviewtest::learner;
using reviewtest::makeClass;
using reviewtest::ReaderTeacherReviewTest;

using reviewtest::takeAlert;

using TeacherReportTest = ReaderTeacherReviewTest;

TEST_F(TeacherReportTest, ContentsFetchOfflineAndFailures)
{
    ASSERT_TRUE(reviewAda());
    auto item = context().penToolActionBarView->itemWithTag(PlayerItemGenerateReport);
    ASSERT_TRUE(item);

    m_network->online = false;
    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemGenerateReport));
    EXPECT_EQ(takeAlert(),
        std::make_pair(chrometest::localized("FAILED_ALERT_TITLE"), chrometest::localized("INTERNET_UNAVAILABLE_MESSAGE")));
    EXPECT_EQ(requestsOf(companion::op::bookTocFetch), 0u);
    EXPECT_TRUE(item->isUserInteractionEnabled());

    m_network->online = true;
    struct Case {
        const char* name;
        ServiceAnswer answer;
        const char* message;
    };
    base::Value::Dictionary noKey { { "responseMsg", "The specified key does not exist." } };
    const Case cases[] = {
        { "no key", ServiceAnswer::failure(base::Error { "Service", 404, base::Value(noKey) }), "GENERATE_REPORT_NO_KEY" },
        { "other failure", ServiceAnswer::failure(base::Error::make("Service", 500, "boom")), "SOMETHING_WENT_WRONG" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        review().didTapOnGenerateReportButton();
        EXPECT_FALSE(item->isUserInteractionEnabled()) << "one request at a time";
        auto request = service().lastRequest(companion::op::bookTocFetch);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->baseURL.rfind(ReaderTeacherReview::defaultMicroServicesBaseURL, 0), 0u);
        service().answerAll(c.answer);
        settle();
        EXPECT_TRUE(item->isUserInteractionEnabled());
        EXPECT_EQ(takeAlert(), std::make_pair(chrometest::localized("ERROR_ALERT_TITLE"), chrometest::localized(c.message)));
    }

    review().didTapOnGenerateReportButton();
    service().answerAll(ServiceAnswer::success(base::Value::Dictionary { { "toc", base::Value::List { "ch-1" } } }));
    settle();
    ASSERT_TRUE(review().generateReportContents());
    EXPECT_EQ((*review().generateReportContents())["toc"].count(), 1u);
}

TEST_F(TeacherReportTest, An401RenewsOnceAndRepeatsTheSameRequest)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->renewedToken = "token-2";
    ASSERT_TRUE(reviewAda());
    const base::Value chapters = base::Value::List { "c1" };
    const base::Value learners = base::Value::List { "9000000002" };
    review().requestMarkupReport(chapters, "tess@example.org", learners);
    service().answerAll(ServiceAnswer::unauthorized());
    settle();
    EXPECT_EQ(m_delegate->refreshTokens.size(), 1u);
    ASSERT_EQ(requestsOf(companion::op::markupReport), 2u);
    auto repeat = service().lastRequest(companion::op::markupReport);
    EXPECT_EQ(repeat->userToken, "token-2");
    EXPECT_EQ(*repeat->body["emailID"].asString(), "tess@example.org");
    EXPECT_EQ(repeat->body["chapters"], chapters);
    EXPECT_EQ(*repeat->body["classId"].asString(), "class-Biology");

    // Refused again: no second renewal, the session ends.
    service().answerAll(ServiceAnswer::unauthorized());
    settle();
    EXPECT_EQ(m_delegate->refreshTokens.size(), 1u);
    EXPECT_EQ(requestsOf(companion::op::markupReport), 2u);
    EXPECT_NE(std::find(m_delegate->events.begin(), m_delegate->events.end(), "sessionExpired"), m_delegate->events.end());
}

TEST_F(TeacherReportTest, LearnersOfTheClassOnceWithWhoHandedInWork)
{
    ASSERT_TRUE(reviewAda());
    // The same learner in two classes of the title under review is offered once.
    auto second = makeClass("Biology", { learner(int64_t { 9000000003 }, "Ben", "Ostrowe"), learner(int64_t { 9000000004 }, "Cy", "Po") });
    second->classId = "class-Biology-2";
    framework().store()->saveBookClassInfo("42", 7,
        { makeClass("Biology", { learner(int64_t { 9000000002 }, "Ada", "Fennick"), learner(int64_t { 9000000003 }, "Ben", "Ostrowe") }),
            second, makeClass("Chemistry", { learner(int64_t { 9000000005 }, "Di", "Qi") }) });
    auto learners = review().generateReportLearners();
    std::vector<std::string> names;
    for (const auto& record : learners)
        names.push_back(*record["user"]["firstName"].asString());
    EXPECT_EQ(names, (std::vector<std::string> { "Ada", "Ben", "Cy" }));
    EXPECT_EQ(review().getStatusDictionaryForStudents(learners),
        base::Value(base::Value::Dictionary { { "9000000002", "1" } }));
    EXPECT_EQ(review().getClassIDFromCurrentClass("Physics"), "");
}

} // namespace
} // namespace lectoro
