// The markup report over the companion framework itself: Ada has handed in work, the
// teacher reviews her in the sample page book, taps the report item, picks a chapter
// (titled by the book) and Ada, keeps her own address on the mail screen, and the
// in-process service takes the request.

#include "teacherreview/TeacherReviewEndToEndSupport.h"

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportMailViewController.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"

namespace lectoro {
namespace {

using namespace reviewe2e;

// The in-process service is the device's network: online for the length of a test.
class ReportE2EOnline final : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return ReachabilityFlags::Reachable; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
};

class ReportE2ENetwork {
public:
    ReportE2ENetwork()
        : m_previous(LectoroNetworkManager::getInstance().internetReachability())
    {
        LectoroNetworkManager::getInstance().setInternetReachability(
            Reachability::reachabilityWithSource(std::make_shared<ReportE2EOnline>()));
    }
    ~ReportE2ENetwork() { LectoroNetworkManager::getInstance().setInternetReachability(m_previous); }
    ReportE2ENetwork(const ReportE2ENetwork&) = delete;
    ReportE2ENetwork& operator=(const ReportE2ENetwork&) = delete;

private:
    std::shared_ptr<Reachability> m_previous;
};

TEST_F(TeacherReviewEndToEndTest, TeacherPicksChaptersAndLearnersAndTheReportIsRequested)
{
    ReportE2ENetwork online;
    adaSubmitsWork();
    // The report service knows the book's chapters by id; their titles are the book's.
    inProcessService().setBookTOC(bookID, base::Value::List { 2, 3 });
    auto reader = launchAsTeacher();
    ASSERT_TRUE(reader && reader->currentBook());

    ASSERT_TRUE(reviewFirstLearner(*reader));
    ASSERT_EQ(reader->activeMode(), ReaderActiveModeTeacherReview);

    // The report item of the review bar.
    ASSERT_TRUE(reader->context().penToolActionBarView);
    ASSERT_TRUE(reader->context().penToolActionBarView->tapItemWithTag(PlayerItemGenerateReport));
    settle();
    uitest::completePresentations();
    auto& review = reader->teacherReview();
    auto screen = review.generateReportVC();
    ASSERT_TRUE(screen);
    EXPECT_EQ(reader->presentedViewController(), screen);
    ASSERT_EQ(screen->chapters().size(), 2u);
    screen->view()->layoutIfNeeded();
    auto firstRow = screen->tableView()->cellForRowAtIndexPath({ 0, 0 });
    ASSERT_TRUE(firstRow) << "the rows are on screen";
    EXPECT_EQ(firstRow->textLabel()->text(), "Clouds and Rain");
    ASSERT_TRUE(uitest::tapRow(*screen->tableView(), { 0, 1 }));

    ASSERT_TRUE(screen->segmentedControl()->simulateSelectSegment(GenerateReportViewController::StudentSegment));
    ASSERT_EQ(screen->learners().size(), 2u);
    EXPECT_TRUE(screen->hasSubmittedWork(std::to_string(adaID)));
    EXPECT_FALSE(screen->hasSubmittedWork(std::to_string(benID)));
    ASSERT_TRUE(uitest::tapRow(*screen->tableView(), { 0, 0 }));
    ASSERT_TRUE(screen->nextButton()->simulateTap());
    uitest::completePresentations();

    auto mail = review.mailVC();
    ASSERT_TRUE(mail);
    EXPECT_EQ(reader->presentedViewController(), mail);
    EXPECT_EQ(mail->emailField()->text(), "tess@school.example");
    ASSERT_TRUE(mail->doneButton()->simulateTap());
    settle();
    uitest::completePresentations();

    auto requests = inProcessService().reportRequests();
    ASSERT_EQ(requests.count(), 1u);
    const auto& sent = requests.at(0);
    EXPECT_EQ(sent["chapters"], base::Value(base::Value::List { 3 }));
    EXPECT_EQ(sent["userIds"], base::Value(base::Value::List { adaID }));
    EXPECT_EQ(sent["emailID"].description(), "tess@school.example");
    EXPECT_EQ(sent["classId"].description(), "class-1");
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), teacherReviewLocalizedString("GENERATE_REPORT_MAIL_SUCCESS_MESSAGE"));
    uitest::tapActionAtIndex(0);
    uitest::completePresentations();
}

} // namespace
} // namespace lectoro
