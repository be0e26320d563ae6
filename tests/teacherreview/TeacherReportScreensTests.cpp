// The markup report's screens: the chapters read from the report service's contents,
// the choice of chapters and learners, the mail screen, and the reader's road through
// them from the review bar's report item to the request.

#include "teacherreview/ReaderTeacherReviewTestSupport.h"

#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportMailViewController.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportParser.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportViewController.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TextField.h"

namespace lectoro {
namespace {

using companion::ServiceAnswer;
using reviewtest::learner;
using reviewtest::PanelTest;
using reviewtest::ReaderTeacherReviewTest;
using reviewtest::takeAlert;

std::vector<std::string> reportTitles(const base::Value& rows)
{
    std::vector<std::string> titles;
    for (const auto& row : *rows.asList())
        titles.push_back(row[GenerateReportParser::chapterIDKey].description() + ":" + row["title"].description());
    return titles;
}

TEST(GenerateReportParserTest, ChaptersFromTheAnswerTitledByTheBook)
{
    auto book = std::make_shared<PXBookVO>();
    auto cells = std::make_shared<PXChapterVO>();
    cells->chapterID = 2;
    cells->title = "Cells";
    book->chapters = { cells };
    auto epub = std::make_shared<EPUBBookVO>();
    auto intro = std::make_shared<EPUBChapterVO>();
    intro->idref = "intro";
    intro->title = "Introduction";
    epub->chapters = { intro };

    struct Case {
        const char* name;
        base::Value response;
        const LectoroBookVO* book;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        { "titled entries keep their titles",
            base::Value::Dictionary { { "toc",
                base::Value::List { base::Value::Dictionary { { "chapterId", 1 }, { "title", "Atoms" } },
                    base::Value::Dictionary { { "id", "ch-3" }, { "chapterTitle", "Energy" } } } } },
            book.get(), { "1:Atoms", "ch-3:Energy" } },
        { "untitled entries take the book's title, else their id",
            base::Value::Dictionary { { "toc", base::Value::List { 2, base::Value::Dictionary { { "chapterID", 9 } } } } },
            book.get(), { "2:Cells", "9:9" } },
        { "an EPUB chapter by its idref", base::Value::List { " intro " }, epub.get(), { "intro:Introduction" } },
        { "no id, an empty id, a repeated id: left out",
            base::Value::Dictionary { { "toc",
                base::Value::List { base::Value::Dictionary { { "title", "Orphan" } }, "  ", 4, "4", true } } },
            nullptr, { "4:4" } },
        { "no contents", base::Value::Dictionary { { "message", "ok" } }, book.get(), {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reportTitles(GenerateReportParser().parseGenerateReportTOC(c.response, c.book)), c.rows);
    }
}

class ReportScreenListener final : public GenerateReportViewControllerDelegate,
                                   public GenerateReportMailViewControllerDelegate {
public:
    void didTapOnCancelForGenerateReport() override { calls.push_back("cancel"); }
    void didTapOnBackForGenerateReport() override { calls.push_back("back"); }
    void didTapOnNextToSendMailWithReportData(const base::Value& data) override { next.push_back(data); }
    void didSelectChapterSegmentForGenerateReport() override { calls.push_back("chapters"); }
    void didSelectStudentSegmentForGenerateReport() override { calls.push_back("students"); }
    void didTapOnDoneForGenerateReportMail(const std::string& emailID) override { calls.push_back("mail " + emailID); }
    void didTapOnCancelForGenerateReportMail() override { calls.push_back("mail cancel"); }

    std::vector<std::string> calls;
    std::vector<base::Value> next;
};

using ReportScreenTest = PanelTest;

TEST_F(ReportScreenTest, NextNeedsAChapterAndALearnerAndReportsTheirIds)
{
    auto listener = std::make_shared<ReportScreenListener>();
    auto screen = GenerateReportViewController::create(ui::Color::red());
    screen->setDelegate(listener);
    uitest::showInWindow(screen);
    screen->setData(base::Value::List { base::Value::Dictionary { { "chapterID", 1 }, { "title", "Atoms" } },
        base::Value::Dictionary { { "chapterID", "ch-2" }, { "title", "Cells" } } });
    screen->view()->layoutIfNeeded();
    EXPECT_EQ(screen->tableView()->numberOfRowsInSection(0), 2);
    EXPECT_FALSE(screen->nextButton()->isEnabled());

    ASSERT_TRUE(uitest::tapRow(*screen->tableView(), { 0, 1 }));
    EXPECT_EQ(screen->tableView()->cellForRowAtIndexPath({ 0, 1 })->accessoryType(), ui::TableViewCellAccessoryType::Checkmark);
    EXPECT_FALSE(screen->nextButton()->isEnabled()) << "no learner yet";

    ASSERT_TRUE(screen->segmentedControl()->simulateSelectSegment(GenerateReportViewController::StudentSegment));
    EXPECT_EQ(listener->calls, std::vector<std::string> { "students" });
    EXPECT_FALSE(screen->emptyLabel()->isHidden()) << "the learners have not come yet";
    screen->setData(base::Value::List { learner(int64_t { 9000000002 }, "Ada", "Fennick"), learner("x", "No", "Id"),
        learner(std::string("9000000003"), "Ben", "Ostrowe") });
    screen->setStatusData(base::Value::Dictionary { { "9000000002", "1" } });
    EXPECT_TRUE(screen->hasSubmittedWork("9000000002"));
    EXPECT_FALSE(screen->hasSubmittedWork("9000000003"));
    screen->toggleRow(1);
    EXPECT_TRUE(screen->selectedStudentIDs().empty()) << "a learner without a readable id cannot be named";
    screen->toggleAll();
    EXPECT_EQ(screen->selectedStudentIDs(), (std::set<std::string> { "9000000002", "9000000003" }));
    screen->toggleRow(0);
    EXPECT_TRUE(screen->nextButton()->isEnabled());

    // Back on the chapters, the tick is still there; Next reports the ids as listed.
    screen->selectSegment(GenerateReportViewController::ChapterSegment);
    EXPECT_EQ(screen->chapters().size(), 2u);
    ASSERT_TRUE(screen->nextButton()->simulateTap());
    ASSERT_EQ(listener->next.size(), 1u);
    EXPECT_EQ(listener->next[0],
        base::Value(base::Value::Dictionary { { "chapterID", base::Value::List { "ch-2" } },
            { "studentID", base::Value::List { "9000000003" } } }));

    // New learners that no longer list a ticked one drop its tick.
    screen->selectSegment(GenerateReportViewController::StudentSegment);
    screen->setData(base::Value::List { learner(int64_t { 9000000002 }, "Ada", "Fennick") });
    EXPECT_TRUE(screen->selectedStudentIDs().empty());
    EXPECT_FALSE(screen->nextButton()->isEnabled());
    screen->nextTapped();
    EXPECT_EQ(listener->next.size(), 1u);

    listener->calls.clear();
    screen->cancelTapped();
    screen->backTapped();
    EXPECT_EQ(listener->calls, (std::vector<std::string> { "cancel", "back" }));
}

TEST_F(ReportScreenTest, MailScreenOffersDoneForOnePlausibleAddress)
{
    struct Case {
        const char* typed;
        bool accepted;
    };
    const Case cases[] = {
        { "tess@school.example", true },
        { "  tess@school.example ", true },
        { "", false },
        { "tess", false },
        { "tess@school", false },
        { "@school.example", false },
        { "a@b@school.example", false },
        { "tess teach@school.example", false },
        { "tess@school.", false },
    };
    auto listener = std::make_shared<ReportScreenListener>();
    auto mail = GenerateReportMailViewController::create("tess@school.example");
    mail->setDelegate(listener);
    mail->loadViewIfNeeded();
    EXPECT_EQ(mail->emailField()->text(), "tess@school.example");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        listener->calls.clear();
        mail->emailField()->setText("");
        mail->emailField()->insertText(c.typed);
        EXPECT_EQ(mail->doneButton()->isEnabled(), c.accepted);
        mail->doneTapped();
        EXPECT_EQ(listener->calls,
            c.accepted ? std::vector<std::string> { "mail tess@school.example" } : std::vector<std::string> {});
    }
    listener->calls.clear();
    mail->cancelTapped();
    EXPECT_EQ(listener->calls, std::vector<std::string> { "mail cancel" });
}

class TeacherReportFlowTest : public ReaderTeacherReviewTest {
protected:
    void SetUp() override
    {
        ReaderTeacherReviewTest::SetUp();
        context().user->email = "tess@example.org";
    }

    static std::pair<std::string, std::string> localizedPair(const char* title, const char* message)
    {
        return { chrometest::localized(title), chrometest::localized(message) };
    }

    // The report item tapped and the contents answered: the choice screen.
    std::shared_ptr<GenerateReportViewController> openReport()
    {
        if (!context().penToolActionBarView || !context().penToolActionBarView->tapItemWithTag(PlayerItemGenerateReport))
            return nullptr;
        service().answerAll(ServiceAnswer::success(base::Value::Dictionary { { "toc",
            base::Value::List { base::Value::Dictionary { { "chapterId", 1 }, { "title", "Atoms" } },
                base::Value::Dictionary { { "chapterId", 2 }, { "title", "Cells" } } } } }));
        settle();
        uitest::completePresentations();
        return review().generateReportVC();
    }

    // Chapter "Cells" and Ada chosen, Next tapped: the mail screen.
    std::shared_ptr<GenerateReportMailViewController> chooseAndGoOn(GenerateReportViewController& screen)
    {
        screen.toggleRow(1);
        screen.selectSegment(GenerateReportViewController::StudentSegment);
        screen.toggleRow(0);
        screen.nextTapped();
        uitest::completePresentations();
        return review().mailVC();
    }
};

TEST_F(TeacherReportFlowTest, ChoiceThenMailThenTheRequest)
{
    ASSERT_TRUE(reviewAda());
    auto screen = openReport();
    ASSERT_TRUE(screen);
    EXPECT_EQ(m_reader->presentedViewController(), screen);
    EXPECT_EQ(screen->effectivePresentationStyle(), ui::ModalPresentationStyle::OverCurrentContext);
    EXPECT_TRUE(ui::Presenter::shared().lastPresented()->animated);
    EXPECT_EQ(reportTitles(base::Value(screen->chapters())), (std::vector<std::string> { "1:Atoms", "2:Cells" }));

    // The learner tab lists the class under review with who handed in work; the chapter
    // tab changes nothing on the reader's side.
    screen->selectSegment(GenerateReportViewController::StudentSegment);
    ASSERT_EQ(screen->learners().size(), 2u);
    EXPECT_TRUE(screen->hasSubmittedWork("9000000002"));
    EXPECT_FALSE(screen->hasSubmittedWork("9000000003"));
    const auto requestsBefore = service().requestCount();
    screen->selectSegment(GenerateReportViewController::ChapterSegment);
    EXPECT_EQ(screen->chapters().size(), 2u);
    EXPECT_EQ(service().requestCount(), requestsBefore);

    auto mail = chooseAndGoOn(*screen);
    ASSERT_TRUE(mail);
    EXPECT_FALSE(review().generateReportVC());
    EXPECT_EQ(m_reader->presentedViewController(), mail);
    EXPECT_FALSE(ui::Presenter::shared().lastPresented()->animated);
    EXPECT_EQ(review().generateReportData(),
        base::Value(base::Value::Dictionary { { "chapterID", base::Value::List { 2 } },
            { "studentID", base::Value::List { int64_t { 9000000002 } } } }));
    EXPECT_EQ(mail->emailField()->text(), "tess@example.org");

    mail->emailField()->setText("office@example.org");
    ASSERT_TRUE(mail->doneButton()->simulateTap());
    uitest::completePresentations();
    EXPECT_FALSE(review().mailVC());
    auto request = service().lastRequest(companion::op::markupReport);
    ASSERT_TRUE(request);
    EXPECT_EQ(*request->body["emailID"].asString(), "office@example.org");
    EXPECT_EQ(request->body["chapters"], base::Value(base::Value::List { 2 }));
    EXPECT_EQ(request->body["classId"].description(), "class-Biology");
    EXPECT_EQ(request->baseURL.rfind(ReaderTeacherReview::defaultMicroServicesBaseURL, 0), 0u);
    service().answerAll(ServiceAnswer::success(base::Value::Dictionary { { "status", "200" } }));
    settle();
    EXPECT_EQ(takeAlert(), localizedPair("GENERATE_REPORT_MAIL_SUCCESS_TITLE", "GENERATE_REPORT_MAIL_SUCCESS_MESSAGE"));
}

TEST_F(TeacherReportFlowTest, CancelBackAndTheMailScreensCancelCloseWithoutARequest)
{
    ASSERT_TRUE(reviewAda());
    for (bool cancel : { true, false }) {
        SCOPED_TRACE(cancel ? "cancel" : "back");
        auto screen = openReport();
        ASSERT_TRUE(screen);
        cancel ? screen->cancelTapped() : screen->backTapped();
        EXPECT_FALSE(review().generateReportVC());
        EXPECT_FALSE(m_reader->presentedViewController()) << "dismissed at once";
    }
    auto screen = openReport();
    ASSERT_TRUE(screen);
    auto mail = chooseAndGoOn(*screen);
    ASSERT_TRUE(mail);
    mail->cancelTapped();
    EXPECT_FALSE(review().mailVC());
    EXPECT_FALSE(m_reader->presentedViewController());
    EXPECT_EQ(requestsOf(companion::op::markupReport), 0u);
}

TEST_F(TeacherReportFlowTest, OfflineAtNextOrDoneShowsTheAlertAndSendsNothing)
{
    ASSERT_TRUE(reviewAda());
    auto screen = openReport();
    ASSERT_TRUE(screen);
    m_network->online = false;
    EXPECT_FALSE(chooseAndGoOn(*screen)) << "no mail screen offline";
    EXPECT_FALSE(review().generateReportVC());
    EXPECT_EQ(takeAlert(), localizedPair("FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE"));

    m_network->online = true;
    screen = openReport();
    ASSERT_TRUE(screen);
    auto mail = chooseAndGoOn(*screen);
    ASSERT_TRUE(mail);
    m_network->online = false;
    mail->doneTapped();
    uitest::completePresentations();
    EXPECT_FALSE(review().mailVC());
    EXPECT_EQ(takeAlert(), localizedPair("FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE"));
    EXPECT_EQ(requestsOf(companion::op::markupReport), 0u);
}

TEST_F(TeacherReportFlowTest, ContentsThatComeWhileTheLearnerListIsUpOpenNothing)
{
    ASSERT_TRUE(reviewAda());
    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemGenerateReport));
    review().backToStudentList();
    uitest::completePresentations();
    auto shown = m_reader->presentedViewController();
    ASSERT_TRUE(shown) << "the learner list";
    service().answerAll(ServiceAnswer::success(base::Value::Dictionary { { "toc", base::Value::List { 1 } } }));
    settle();
    uitest::completePresentations();
    EXPECT_FALSE(review().generateReportVC()) << "a screen that could not be shown is not kept";
    EXPECT_EQ(m_reader->presentedViewController(), shown);
}

TEST_F(TeacherReportFlowTest, OnATabletTheChoiceIsACentredPopoverWithoutArrow)
{
    useDevice(chrometest::Device::Pad);
    ASSERT_TRUE(reviewAda());
    auto screen = openReport();
    ASSERT_TRUE(screen);
    const auto* record = ui::Presenter::shared().lastPresented();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->effectiveStyle, ui::ModalPresentationStyle::Popover);
    EXPECT_EQ(record->permittedArrowDirections, ui::PopoverArrowDirection::None);
    EXPECT_EQ(record->preferredContentSize, (ui::Size { 550, 650 }));
    EXPECT_EQ(record->sourceView.lock(), m_reader->view());
    const auto bounds = m_reader->view()->bounds();
    ASSERT_TRUE(record->sourceRect);
    EXPECT_EQ(*record->sourceRect, (ui::Rect { bounds.midX(), bounds.midY(), 0, 0 }));

    // A tap outside closes it and the reader forgets it.
    ASSERT_TRUE(uitest::tapOutsidePopover(screen));
    uitest::completePresentations();
    EXPECT_FALSE(review().generateReportVC());
}

TEST_F(TeacherReportFlowTest, An401WithoutAutoLoginEndsTheSessionWithoutRenewal)
{
    m_settings->setIsAutoLoginEnabled(false);
    m_delegate->renewedToken = "token-2";
    ASSERT_TRUE(reviewAda());
    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemGenerateReport));
    service().answerAll(ServiceAnswer::unauthorized());
    settle();
    EXPECT_TRUE(m_delegate->refreshTokens.empty());
    EXPECT_EQ(requestsOf(companion::op::bookTocFetch), 1u);
    EXPECT_NE(std::find(m_delegate->events.begin(), m_delegate->events.end(), "sessionExpired"), m_delegate->events.end());
    EXPECT_FALSE(review().generateReportVC());
}

} // namespace
} // namespace lectoro
