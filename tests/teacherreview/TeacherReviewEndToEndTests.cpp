// Teacher review over the companion framework itself: a learner submits work to the
// in-process service from her own device, then a teacher opens the sample page book,
// opens review, picks the class, sees the learners, opens the one with work, and leaves
// review back on the page shown before.

#include "teacherreview/TeacherReviewEndToEndSupport.h"

#include "platform/ui/Environment.h"

namespace lectoro {
namespace {

using namespace reviewe2e;

TEST_F(TeacherReviewEndToEndTest, TeacherOpensReviewPicksTheClassAndOpensTheLearnerWithWork)
{
    adaSubmitsWork();
    auto reader = launchAsTeacher();
    ASSERT_TRUE(reader && reader->currentBook());
    reader->rendererView()->navigateToPageNumber("106");
    settle();
    auto shownBefore = reader->rendererView()->getActivePages();
    ASSERT_FALSE(shownBefore.empty());

    // The teacher taps the review item of the reader's bar.
    ASSERT_TRUE(tapReviewItem(*reader));
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
    EXPECT_EQ(row(0)->userNameLabel()->text(), "Ada Fennick");
    EXPECT_TRUE(row(0)->isDataAvailable);
    EXPECT_EQ(row(1)->userNameLabel()->text(), "Ben Ostrowe");
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
    EXPECT_EQ(inProcessService().submittedWorkFor(adaID, bookID).count(), 0u);
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
    // The page label and buttons have room on a tablet's review bar, not on an upright phone's.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });
    adaSubmitsWork(true);
    auto reader = launchAsTeacher();
    ASSERT_TRUE(reader && reader->currentBook());
    reader->rendererView()->navigateToPageNumber("106");
    settle();

    auto panel = reviewFirstLearner(*reader);
    ASSERT_TRUE(panel);
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
    auto saved = inProcessService().submittedWorkFor(adaID, bookID);
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
