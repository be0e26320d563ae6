// Teacher review over the companion framework itself: a learner submits work to the
// in-process service from her own device, then a teacher opens the sample page book,
// opens review, picks the class, sees the learners, opens the one with work, and leaves
// review back on the page shown before.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewStudentListTableViewCell.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/RecordingSyncDelegate.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "platform/base/Dispatch.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Label.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {
namespace {

constexpr int64_t bookID = 1001;
constexpr int64_t teacherID = 9000000001;
constexpr int64_t adaID = 9000000002;
constexpr int64_t benID = 9000000003;

base::Value member(int64_t id, const char* first, const char* last)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", last } } } };
}

class TeacherReviewEndToEndTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_framework = companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr });
        setCompanionFramework(m_framework);
        m_framework->inProcessService()->setClassInfo(bookID,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "teachers", base::Value::List { member(teacherID, "Tess", "Teach") } },
                { "learners", base::Value::List { member(adaID, "Ada", "Lovelace"), member(benID, "Ben", "Okri") } },
            } });
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        m_launcher.reset();
        m_framework.reset();
        ReaderTest::TearDown();
    }

    static void settle(double seconds = 1)
    {
        for (int i = 0; i < 3; ++i) {
            base::waitForBackgroundWork();
            base::RunLoop::main().advanceBy(seconds / 3);
        }
    }

    // Ada draws on page 106 (folio "4") of her own copy and submits it.
    void adaSubmitsWork(bool withAnswer = false)
    {
        auto opened = companion::SqliteDatabaseManager::openInMemory();
        ASSERT_TRUE(opened.ok());
        auto store = opened.value();
        auto delegate = std::make_shared<companiontest::RecordingSyncDelegate>();
        auto client = companion::DataSyncingManager::create("https://service", "client",
            m_framework->inProcessService(), std::make_shared<companion::StoreSyncAdapter>(store));
        client->setDelegate(delegate);
        const std::string token = "token-ada";
        client->fetchUGCOperationForBookID(bookID, adaID, delegate, token, "1.0");
        settle();
        auto drawing = std::make_shared<SDKPentoolVO>();
        drawing->pageIdentifier = "106";
        drawing->displayNum = "4";
        drawing->penColor = "#82F675";
        drawing->points = { { 1, 2 }, { 3, 4 } };
        store->savePentoolDrawing(drawing, std::to_string(bookID), adaID);
        if (withAnswer) {
            auto answer = std::make_shared<SDKFIBVO>();
            answer->pageIdentifier = "106";
            answer->displayNum = "4";
            answer->linkID = 501;
            answer->text = "first try";
            store->saveFIB(answer, std::to_string(bookID), adaID);
        }
        client->submitAnotationForBookID(bookID, adaID, delegate, token);
        settle();
        ASSERT_FALSE(delegate->lines().empty());
        EXPECT_EQ(delegate->lines().back(), "didSubmitedAnotationSuccessfully");
    }

    std::shared_ptr<ReaderViewController> launchAsTeacher()
    {
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", std::to_string(bookID), "978-0");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        auto teacher = makeUser(std::to_string(teacherID), "token-teacher");
        teacher->role = "TEACHER";
        m_launcher->launchBook(package, teacher, configuration);
        settle(2);
        return m_launcher->reader();
    }

    template <typename T> std::shared_ptr<T> presentedBy(ReaderViewController& reader)
    {
        auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(reader.presentedViewController());
        return navigation ? std::dynamic_pointer_cast<T>(navigation->rootViewController()) : nullptr;
    }

    std::shared_ptr<companion::Framework> m_framework;
    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

TEST_F(TeacherReviewEndToEndTest, TeacherOpensReviewPicksTheClassAndOpensTheLearnerWithWork)
{
    adaSubmitsWork();
    auto reader = launchAsTeacher();
    ASSERT_TRUE(reader && reader->currentBook());
    reader->rendererView()->navigateToPageNumber("106");
    settle();
    auto shownBefore = reader->rendererView()->getActivePages();
    ASSERT_FALSE(shownBefore.empty());

    // The teacher taps the review item.
    auto bar = PlayerActionBar::create({ 0, 0, 320, 50 });
    bar->setTag(TopBar);
    bar->setDelegate(reader->playerActionDelegate());
    bar->addActionBarItem(PlayerActionBarItem::createWithLabel(PlayerItemTeacherReview, "x"), 40, 0, true);
    ASSERT_TRUE(bar->tapItemWithTag(PlayerItemTeacherReview));
    uitest::completePresentations();
    auto picker = presentedBy<TeacherReviewClassListViewController>(*reader);
    ASSERT_TRUE(picker);
    ASSERT_EQ(*picker->classesInfoArray(), std::vector<std::string> { "Biology" });

    ASSERT_TRUE(uitest::tapRow(*picker->classListTableView(), { 0, 0 }));
    uitest::completePresentations();
    auto panel = presentedBy<TeacherReviewViewController>(*reader);
    ASSERT_TRUE(panel);
    settle(4);
    EXPECT_FALSE(panel->scheduledTimer()) << "every learner answered";
    ASSERT_EQ(panel->studentDataDict().size(), 1u);
    EXPECT_EQ(panel->studentDataDict().begin()->first, std::to_string(adaID));

    auto row = [&](int index) {
        return std::dynamic_pointer_cast<TeacherReviewStudentListTableViewCell>(
            panel->studentListTableView()->cellForRowAtIndexPath({ 0, index }));
    };
    ASSERT_TRUE(row(0) && row(1));
    EXPECT_EQ(row(0)->userNameLabel()->text(), "Ada Lovelace");
    EXPECT_TRUE(row(0)->isDataAvailable);
    EXPECT_EQ(row(1)->userNameLabel()->text(), "Ben Okri");
    EXPECT_FALSE(row(1)->isDataAvailable);
    EXPECT_EQ(row(1)->submitStatusLabel()->text(), "Yet to submit");

    ASSERT_TRUE(uitest::tapRow(*panel->studentListTableView(), { 0, 0 }));
    uitest::completePresentations();
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeTeacherReview);
    EXPECT_FALSE(reader->presentedViewController());
    auto& review = reader->teacherReview();
    ASSERT_EQ(review.selectedLearnerData().count(), 1u);
    EXPECT_EQ(*review.selectedLearnerData().at(0)["pageId"].asInteger(), 106);
    EXPECT_TRUE(reader->context().penToolActionBarView);

    // The learner's drawing came back from the service as a record the panel holds.
    ASSERT_TRUE(panel->studentPageUGCDictionary);
    ASSERT_EQ(panel->studentPageUGCDictionary->count("106"), 1u);
    EXPECT_EQ(panel->studentPageUGCDictionary->at("106").size(), 1u);

    // The teacher clears every page and saves with Done: the service drops the erased
    // drawing, and leaving review goes back to the page shown before.
    reader->rendererView()->navigateToPageNumber("1");
    settle();
    review.didChooseClearAllForTeacherReview(ReaderTeacherReview::ClearAllChoice::AllPages);
    ASSERT_EQ(panel->getAnotationToSave().size(), 1u);
    review.didSelectDoneForTeacherReview();
    settle(2);
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), teacherReviewLocalizedString("DATA_SUBMITTED_SUCCESSFULLY"));
    EXPECT_EQ(m_framework->inProcessService()->submittedWorkFor(adaID, bookID).count(), 0u);
    ASSERT_TRUE(uitest::tapAction("Ok"));
    uitest::completePresentations();
    settle();
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(reader->context().penToolActionBarView);
    auto pages = reader->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().pageID, shownBefore.front().pageID);
}

// The review's own edits, each through the road the reader gives it: the reset dialog
// clears the page on screen, the review pen draws, an answer is typed again, and Done
// hands all of it to the service.
TEST_F(TeacherReviewEndToEndTest, TeacherClearsDrawsAndEditsAnAnswerAndDoneSavesItAll)
{
    adaSubmitsWork(true);
    auto reader = launchAsTeacher();
    ASSERT_TRUE(reader && reader->currentBook());
    reader->rendererView()->navigateToPageNumber("106");
    settle();

    auto bar = PlayerActionBar::create({ 0, 0, 320, 50 });
    bar->setTag(TopBar);
    bar->setDelegate(reader->playerActionDelegate());
    bar->addActionBarItem(PlayerActionBarItem::createWithLabel(PlayerItemTeacherReview, "x"), 40, 0, true);
    ASSERT_TRUE(bar->tapItemWithTag(PlayerItemTeacherReview));
    uitest::completePresentations();
    auto picker = presentedBy<TeacherReviewClassListViewController>(*reader);
    ASSERT_TRUE(picker);
    ASSERT_TRUE(uitest::tapRow(*picker->classListTableView(), { 0, 0 }));
    uitest::completePresentations();
    auto panel = presentedBy<TeacherReviewViewController>(*reader);
    ASSERT_TRUE(panel);
    settle(4);
    ASSERT_TRUE(uitest::tapRow(*panel->studentListTableView(), { 0, 0 }));
    uitest::completePresentations();
    settle();
    ASSERT_EQ(reader->activeMode(), ReaderActiveModeTeacherReview);
    ASSERT_TRUE(panel->studentPageUGCDictionary && panel->studentPageUGCDictionary->count("106"));
    ASSERT_EQ(panel->studentPageUGCDictionary->at("106").size(), 2u) << "Ada's drawing and answer";
    auto& review = reader->teacherReview();
    auto label = review.getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber);
    ASSERT_TRUE(label);
    EXPECT_NE(label->text().find("4"), std::string::npos) << label->text();

    // Clear the page on screen with the reset dialog.
    review.didSelectDeleteForTeacherReview();
    uitest::completePresentations();
    auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(reader->presentedViewController());
    auto dialog = navigation ? std::dynamic_pointer_cast<ResetAllViewController>(navigation->rootViewController()) : nullptr;
    ASSERT_TRUE(dialog);
    dialog->loadViewIfNeeded();
    dialog->currentPageButtonTapAction();
    dialog->okButtonTapAction();
    uitest::completePresentations();
    EXPECT_FALSE(panel->isFIBsAndPentoolAvailable());

    // A stroke with the review pen.
    if (!review.penToolController())
        review.actionForTeacherReviewPageChanged();
    auto pen = review.penToolController();
    ASSERT_TRUE(pen);
    review.didSelectPenTypeForTeacherReview();
    ASSERT_EQ(pen->getPenMode(), PenToolModeDraw);
    pen->touchesBegan({ 20, 20 });
    pen->touchesMoved({ 60, 80 });
    pen->touchesEnded();
    ASSERT_EQ(panel->studentPageUGCDictionary->at("106").size(), 3u) << "the stroke joined Ada's page";

    // The answer typed again, as the fill-in field reports it.
    auto held = panel->getSDKFIBVOForLinkID(501);
    ASSERT_TRUE(held);
    auto typed = std::make_shared<SDKFIBVO>(*held);
    typed->text = "second try";
    typed->status = UGCStatusUpdated;
    reader->interactiveContent().answers().didUpdateSDKFIBVO(typed);
    EXPECT_EQ(panel->getSDKFIBVOForLinkID(501), typed);

    review.didSelectDoneForTeacherReview();
    settle(2);
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), teacherReviewLocalizedString("DATA_SUBMITTED_SUCCESSFULLY"));
    auto saved = m_framework->inProcessService()->submittedWorkFor(adaID, bookID);
    const auto* records = saved.asList();
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u) << "Ada's drawing removed; the stroke and the answer kept";
    int strokes = 0;
    std::vector<std::string> texts;
    for (const auto& record : *records) {
        if (record["points"].asList() || record["penColor"].asString())
            ++strokes;
        if (auto text = record["text"].asString())
            texts.push_back(*text);
    }
    EXPECT_EQ(strokes, 1);
    EXPECT_EQ(texts, std::vector<std::string> { "second try" });
    ASSERT_TRUE(uitest::tapAction("Ok"));
    uitest::completePresentations();
    settle();
}

} // namespace
} // namespace lectoro
