// A learner's answers as the teacher sees them in review, over the companion framework
// itself: the learner's drop-down answer drawn on its page and answering a tap, the help
// overlay of review on the first review page, and the page under the learner panel.

#include "teacherreview/TeacherReviewEndToEndSupport.h"

#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/ui/TextField.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/ViewQuery.h"

namespace lectoro {
namespace {

using namespace reviewe2e;

constexpr int64_t dropDownLinkID = 1052;

// Ada's answers on page 105 (folio "3"): two picks of the drop-down, "warms" then "cools",
// which the service numbered 9 and 10.
base::Value adasDropDownAnswers()
{
    base::Value::List items;
    for (const auto& [ugcID, text] : { std::pair { "9", "warms" }, std::pair { "10", "cools" } }) {
        SDKFIBVO answer;
        answer.isDropDown = true;
        answer.linkID = dropDownLinkID;
        answer.text = text;
        answer.pageIdentifier = "105";
        answer.displayNum = "3";
        answer.isSubmitted = true;
        base::Value item = answer.toUGCDictionary();
        item.asDictionary()->set("ugcID", ugcID);
        items.push_back(std::move(item));
    }
    return base::Value::List { base::Value::Dictionary {
        { "pageId", 105 }, { "folioID", "3" }, { "ugcList", std::move(items) } } };
}

class LearnerWorkEndToEndTest : public TeacherReviewEndToEndTest {
protected:
    // The review help overlay has been seen, so it covers nothing.
    static void helpAlreadySeen()
    {
        base::UserDefaults::standard().setBool(ReaderHelp::teacherReviewFlagKey, false);
        base::UserDefaults::standard().setBool(ReaderHelp::pdfFlagKey, false);
    }

    // The teacher opens the book and closes the read-aloud offer that comes with it.
    std::shared_ptr<ReaderViewController> openBook()
    {
        auto reader = launchAsTeacher();
        if (!reader)
            return nullptr;
        if (auto chooser = reader->readAloud().readToMeViewController()) {
            EXPECT_TRUE(uitest::tap(*chooser->closeReadToMeViewButton()));
            settle();
        }
        return reader;
    }

    std::shared_ptr<MarkupView> dropDownOnPage(ReaderViewController& reader, int64_t page)
    {
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
        if (!renderer)
            return nullptr;
        for (const auto& view : renderer->overlayForPage(page).markupViews) {
            auto box = std::dynamic_pointer_cast<MarkupView>(view);
            if (box && box->linkID == dropDownLinkID)
                return box;
        }
        return nullptr;
    }
};

TEST_F(LearnerWorkEndToEndTest, ALearnersNewestDropDownPickShowsOnItsPageAndATapOpensItsReview)
{
    helpAlreadySeen();
    inProcessService().setStudentAnnotations(adaID, bookID, adasDropDownAnswers());
    auto reader = openBook();
    ASSERT_TRUE(reader && reader->currentBook());
    auto panel = reviewFirstLearner(*reader);
    ASSERT_TRUE(panel);
    ASSERT_EQ(reader->activeMode(), ReaderActiveModeTeacherReview);
    reader->rendererView()->navigateToPageNumber("105");
    settle();

    // The drop-down stands on the page in the window and shows the newer pick.
    auto box = dropDownOnPage(*reader, 105);
    ASSERT_TRUE(box) << "the learner's drop-down is drawn on its page";
    EXPECT_EQ(box->dropDownText(), "cools");
    ASSERT_TRUE(box->sdkFIBVO);
    EXPECT_EQ(box->sdkFIBVO->ugcID, "10");
    EXPECT_TRUE(box->isDescendantOf(ui::Environment::current().keyWindow().get()));
    EXPECT_GT(box->frame().width(), 0);
    // "cools" is the right answer of an instant-feedback drop-down: shown as right.
    EXPECT_EQ(box->titleColorForState(ui::ControlState::Normal), answers::systemGreen());

    // A tap on it puts the review of that answer on the page.
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer);
    EXPECT_TRUE(renderer->overlayForPage(105).reviewFIBs.empty());
    ASSERT_TRUE(uitest::tap(*box));
    const auto reviewed = renderer->overlayForPage(105).reviewFIBs;
    ASSERT_EQ(reviewed.size(), 1u);
    EXPECT_EQ(reviewed.front()->ugcID, "10");
}

TEST_F(LearnerWorkEndToEndTest, AWrongPickIsShownWrongAndADropDownWithoutAnAnswerTakesNoTap)
{
    helpAlreadySeen();
    auto answers = adasDropDownAnswers();
    // Only the wrong pick was handed in.
    auto* items = answers.asList()->front().asDictionary()->find("ugcList");
    ASSERT_TRUE(items);
    base::Value onlyWrong = base::Value::List { items->at(0) };
    answers.asList()->front().asDictionary()->set("ugcList", onlyWrong);
    inProcessService().setStudentAnnotations(adaID, bookID, answers);
    auto reader = openBook();
    ASSERT_TRUE(reader);
    ASSERT_TRUE(reviewFirstLearner(*reader));
    reader->rendererView()->navigateToPageNumber("105");
    settle();
    auto box = dropDownOnPage(*reader, 105);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->dropDownText(), "warms");
    EXPECT_EQ(box->titleColorForState(ui::ControlState::Normal), answers::systemRed());

    // Page 111's drop-down has no answer of Ada's: it shows the placeholder and ignores taps.
    reader->rendererView()->navigateToPageNumber("111");
    settle();
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer);
    std::shared_ptr<MarkupView> empty;
    for (const auto& view : renderer->overlayForPage(111).markupViews) {
        if (auto each = std::dynamic_pointer_cast<MarkupView>(view); each && each->isDropDown())
            empty = each;
    }
    ASSERT_TRUE(empty) << "a drop-down without an answer is drawn too";
    EXPECT_EQ(empty->dropDownText(), teacherReviewLocalizedString("SELECT_KEY"));
    EXPECT_FALSE(uitest::tap(*empty));
    EXPECT_TRUE(renderer->overlayForPage(111).reviewFIBs.empty());
}

// Ada's fill-in answers: "full" on page 105 and the equation "x=2" on page 111.
base::Value adasFillInAnswers()
{
    auto page = [](int64_t pageID, const char* folio, int64_t linkID, const char* text, bool equation, const char* ugcID) {
        SDKFIBVO answer;
        answer.linkID = linkID;
        answer.text = text;
        answer.isEquation = equation;
        answer.pageIdentifier = std::to_string(pageID);
        answer.displayNum = folio;
        answer.isSubmitted = true;
        base::Value item = answer.toUGCDictionary();
        item.asDictionary()->set("ugcID", ugcID);
        return base::Value::Dictionary {
            { "pageId", pageID }, { "folioID", folio }, { "ugcList", base::Value::List { std::move(item) } } };
    };
    return base::Value::List { page(105, "3", 1051, "full", false, "21"), page(111, "9", 1111, "x=2", true, "22") };
}

TEST_F(LearnerWorkEndToEndTest, AnswerFieldsKeepTheLearnersTextAndAnEquationShowsBesideItsField)
{
    helpAlreadySeen();
    inProcessService().setStudentAnnotations(adaID, bookID, adasFillInAnswers());
    auto reader = openBook();
    ASSERT_TRUE(reader);
    auto panel = reviewFirstLearner(*reader);
    ASSERT_TRUE(panel);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer);

    // The equation answer shows in its own view beside the field, greyed as handed in
    // without instant feedback; a tap on it opens its review.
    reader->rendererView()->navigateToPageNumber("111");
    settle();
    std::shared_ptr<FIBMathEquationView> equation;
    for (const auto& view : renderer->overlayForPage(111).fibViews) {
        if (auto each = std::dynamic_pointer_cast<FIBMathEquationView>(view))
            equation = each;
    }
    ASSERT_TRUE(equation) << "the equation answer has its view";
    EXPECT_EQ(equation->equationLabel()->text(), "x=2");
    EXPECT_EQ(equation->themeColor(), answers::systemGray());
    ASSERT_TRUE(uitest::tap(*equation));
    ASSERT_EQ(renderer->overlayForPage(111).reviewFIBs.size(), 1u);
    EXPECT_EQ(renderer->overlayForPage(111).reviewFIBs.front()->ugcID, "22");

    // The learner's field on page 105 answers to the reader: in review it keeps the
    // learner's text and takes no typing, so nothing joins the review to save.
    reader->rendererView()->navigateToPageNumber("105");
    settle();
    std::shared_ptr<MVFIB> field;
    for (const auto& view : renderer->overlayForPage(105).fibViews) {
        if (auto each = std::dynamic_pointer_cast<MVFIB>(view))
            field = each;
    }
    ASSERT_TRUE(field);
    EXPECT_EQ(field->textField()->text(), "full");
    EXPECT_FALSE(field->beginEditing());
    field->endEditingWithText("heavy");
    EXPECT_EQ(field->textField()->text(), "full");
    EXPECT_TRUE(panel->getAnotationToSave().empty());
}

TEST_F(LearnerWorkEndToEndTest, TheFirstReviewPageShowsTheReviewHelpOnceAndThePanelKeepsThePageStill)
{
    base::UserDefaults::standard().setBool(ReaderHelp::pdfFlagKey, false);
    base::UserDefaults::standard().setBool(ReaderHelp::teacherReviewFlagKey, true);
    adaSubmitsWork();
    auto reader = openBook();
    ASSERT_TRUE(reader);
    auto& help = reader->chrome().help();
    ASSERT_FALSE(help.isHelpScreenShown());

    // While the learner panel stands over the page, the page takes no touches.
    ASSERT_TRUE(tapReviewItem(*reader));
    auto picker = presentedBy<TeacherReviewClassListViewController>(*reader);
    ASSERT_TRUE(picker && uitest::tapRow(*picker->classListTableView(), { 0, 0 }));
    uitest::completePresentations();
    auto panel = presentedBy<TeacherReviewViewController>(*reader);
    ASSERT_TRUE(panel);
    settle(4);
    EXPECT_FALSE(reader->rendererView()->view()->isUserInteractionEnabled());
    EXPECT_FALSE(help.isHelpScreenShown()) << "no review page yet";

    ASSERT_TRUE(uitest::tapRow(*panel->studentListTableView(), { 0, 0 }));
    uitest::completePresentations();
    settle();
    EXPECT_TRUE(reader->rendererView()->view()->isUserInteractionEnabled());

    // The review's help overlay covers the reader, explaining the review bars.
    auto overlay = help.helpScreen();
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(overlay->isForTeacherReview());
    ASSERT_TRUE(overlay->isViewLoaded());
    EXPECT_TRUE(overlay->view()->isDescendantOf(reader->view().get()));
    EXPECT_FALSE(overlay->helpDescriptors().empty());

    // A page turn in review keeps the one overlay.
    reader->rendererView()->navigateToPageNumber("107");
    settle();
    EXPECT_EQ(help.helpScreen(), overlay);

    // Closed, it never comes back: not on the next page, not for the next review.
    overlay->removeMyself();
    settle();
    EXPECT_FALSE(base::UserDefaults::standard().boolForKey(ReaderHelp::teacherReviewFlagKey));
    reader->rendererView()->navigateToPageNumber("106");
    settle();
    EXPECT_FALSE(help.isHelpScreenShown());
}

} // namespace
} // namespace lectoro
