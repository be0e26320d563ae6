// A teacher's review through the launcher, on a phone and a tablet held upright and turned:
// Ada has handed in work from her own device; the teacher opens the sample page book,
// taps the review item, picks the class, opens Ada from the learner panel, marks her page
// with the review pen, asks for a report of her work by mail and leaves review with Done.

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"
#include "teacherreview/TeacherReviewEndToEndSupport.h"

#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportMailViewController.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TextField.h"

namespace lectoro::journeys {
namespace {

using reviewe2e::adaID;
using reviewe2e::teacherID;

class TeacherReviewJourney : public Journey, public ::testing::WithParamInterface<HeldDevice> {
protected:
    void SetUp() override
    {
        Journey::SetUp();
        inProcessService().setClassInfo(reviewe2e::bookID,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "teachers", base::Value::List { testing::classMember(teacherID, "Tess", "Teach") } },
                { "learners",
                    base::Value::List { testing::classMember(adaID, "Ada", "Fennick"),
                        testing::classMember(reviewe2e::benID, "Ben", "Ostrowe") } },
            } });
        // The report service knows two of the book's chapters.
        inProcessService().setBookTOC(reviewe2e::bookID, base::Value::List { 2, 3 });
        m_userID = std::to_string(teacherID);
        m_role = "TEACHER";
        m_email = "tess@school.example";
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_withClassAssociation = true;
        // The in-process service is the device's network.
        LectoroNetworkManager::getInstance().setInternetReachability(Reachability::reachabilityWithSource(
            std::make_shared<testing::JourneyNetwork>(std::make_shared<bool>(true))));
    }
    void TearDown() override
    {
        Journey::TearDown();
        LectoroNetworkManager::getInstance().setInternetReachability(nullptr);
    }

    // The sample page book opened by the teacher on the device held as the test says.
    std::shared_ptr<ReaderViewController> openHeld()
    {
        auto reader = open(SampleBook::PageBook, GetParam().idiom);
        if (!reader)
            return nullptr;
        if (GetParam().orientation != ui::Orientation::Portrait) {
            turnDevice(m_launcher, GetParam().orientation);
            settle();
            base::RunLoop::main().advanceBy(1);
            settle();
            picture("turned");
        }
        return reader;
    }

    // Lets the learners' work come in (the panel fetches one learner at a time).
    void settleFetches()
    {
        for (int i = 0; i < 4; ++i)
            settle();
    }

    static bool showsPage(ReaderViewController& reader, int64_t page)
    {
        for (const auto& shown : rendererOf(reader)->getActivePages()) {
            if (shown.pageID == page)
                return true;
        }
        return false;
    }

    // The learner's records and the teacher's marks over every page under review.
    static size_t recordsUnderReview(const TeacherReviewViewController& panel)
    {
        size_t count = 0;
        if (panel.studentPageUGCDictionary) {
            for (const auto& [page, records] : *panel.studentPageUGCDictionary)
                count += records.size();
        }
        return count;
    }

    // An item of the review's bottom bar.
    std::shared_ptr<PlayerActionBarItem> reviewBarItem(ReaderViewController& reader, int tag)
    {
        auto bar = reader.context().penToolActionBarView;
        return bar ? bar->itemWithTag(tag) : nullptr;
    }
};

TEST_P(TeacherReviewJourney, ClassLearnerMarksReportAndDone)
{
    reviewe2e::submitWork(*m_companion, adaID, true);
    auto reader = openHeld();
    ASSERT_TRUE(reader);

    // The review item of the reader's bar opens the class picker.
    auto review = mainBarItem(*reader, PlayerItemTeacherReview);
    ASSERT_TRUE(review) << "the bars offer the review item";
    ASSERT_TRUE(tapAndSettle(*review));
    auto picker = presentedScreen<TeacherReviewClassListViewController>(*reader);
    ASSERT_TRUE(picker);
    picture("class-list");

    // The class: the learner panel lists Ada (with work) and Ben (yet to submit).
    ASSERT_TRUE(uitest::tapRow(*picker->classListTableView(), { 0, 0 }));
    settleFetches();
    auto panel = presentedScreen<TeacherReviewViewController>(*reader);
    ASSERT_TRUE(panel);
    auto ben = std::dynamic_pointer_cast<TeacherReviewStudentListTableViewCell>(
        panel->studentListTableView()->cellForRowAtIndexPath({ 0, 1 }));
    ASSERT_TRUE(ben);
    EXPECT_EQ(ben->submitStatusLabel()->text(), "Yet to submit");
    picture("learner-panel");

    // Ada: her page with work under the review bars.
    ASSERT_TRUE(uitest::tapRow(*panel->studentListTableView(), { 0, 0 }));
    settleFetches();
    ASSERT_EQ(reader->activeMode(), ReaderActiveModeTeacherReview);
    EXPECT_FALSE(reader->presentedViewController());
    testing::closeHelpIfShown(*reader);
    settle();
    EXPECT_TRUE(showsPage(*reader, 106)) << "the page with her work";
    auto& teacherReview = reader->teacherReview();
    // The page label has no room beside the learner on a phone held upright.
    if (auto pageLabel = teacherReview.getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber)) {
        EXPECT_NE(pageLabel->text().find('4'), std::string::npos) << pageLabel->text();
    } else {
        EXPECT_EQ(GetParam().name, std::string("PhoneUpright"));
    }
    picture("reviewing");

    // The teacher's mark: the review pen draws a stroke onto her page.
    if (!teacherReview.penToolController())
        teacherReview.actionForTeacherReviewPageChanged();
    auto pen = teacherReview.penToolController();
    ASSERT_TRUE(pen);
    teacherReview.didSelectPenTypeForTeacherReview();
    const size_t before = recordsUnderReview(*panel);
    // Across the right of the screen: her page, also when a turned device shows two.
    const double width = ui::Environment::current().screenSize().width;
    pen->drawStroke({ { width * 0.6, 200 }, { width * 0.8, 260 } });
    settle();
    EXPECT_EQ(recordsUnderReview(*panel), before + 1) << "the mark joined her work";
    picture("marked");

    // The report: a chapter and Ada, then the mail sheet with the teacher's address.
    auto report = reviewBarItem(*reader, PlayerItemGenerateReport);
    ASSERT_TRUE(report);
    ASSERT_TRUE(tapAndSettle(*report));
    auto choice = teacherReview.generateReportVC();
    ASSERT_TRUE(choice && choice->viewIfLoaded() && choice->viewIfLoaded()->window());
    ASSERT_EQ(choice->chapters().size(), 2u);
    picture("report-chapters");
    ASSERT_TRUE(uitest::tapRow(*choice->tableView(), { 0, 1 }));
    ASSERT_TRUE(choice->segmentedControl()->simulateSelectSegment(GenerateReportViewController::StudentSegment));
    settle();
    ASSERT_TRUE(uitest::tapRow(*choice->tableView(), { 0, 0 }));
    picture("report-learners");
    ASSERT_TRUE(tapAndSettle(*choice->nextButton()));
    auto mail = teacherReview.mailVC();
    ASSERT_TRUE(mail && mail->viewIfLoaded() && mail->viewIfLoaded()->window());
    EXPECT_EQ(mail->emailField()->text(), "tess@school.example");
    picture("report-mail");
    ASSERT_TRUE(tapAndSettle(*mail->doneButton()));
    auto requests = inProcessService().reportRequests();
    ASSERT_EQ(requests.count(), 1u);
    EXPECT_EQ(requests.at(0)["userIds"], base::Value(base::Value::List { adaID }));
    EXPECT_EQ(requests.at(0)["emailID"].description(), "tess@school.example");
    picture("report-sent");
    ASSERT_TRUE(uitest::tapActionAtIndex(0));
    settle();

    // Done saves the review: the service holds the teacher's mark.
    auto done = teacherReview.getActionBarItemItemWithTag(PlayerItemDone);
    ASSERT_TRUE(done);
    ASSERT_TRUE(tapAndSettle(*done));
    picture("saved");
    ASSERT_TRUE(uitest::tapActionAtIndex(0));
    settle();
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    picture("review-left");
}

INSTANTIATE_TEST_SUITE_P(Devices, TeacherReviewJourney, everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
