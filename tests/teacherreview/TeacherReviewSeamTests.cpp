// Where teacher review meets the pen, the clearing road, answer entry, the note editor
// and the review bar: each of them must reach the learner panel Done saves from, and
// only while review runs.

#include "teacherreview/ReaderTeacherReviewTestSupport.h"

#include "platform/ui/Environment.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/annotations/pen/ClearAnswersRoad.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

namespace lectoro::reviewtest {
namespace {

class TeacherReviewSeamTest : public ReaderTeacherReviewTest {
protected:
    // Ada's work: a known drawing and answer on page 7, a known drawing on page 9; page 7
    // is on screen.
    std::shared_ptr<TeacherReviewViewController> reviewAdaOnTwoPages()
    {
        auto panel = openClass(0);
        if (!panel)
            return nullptr;
        auto pageOf = [](int64_t id, base::Value::List items) {
            return base::Value::Dictionary { { "pageId", id }, { "folioID", std::to_string(id) },
                { "ugcList", std::move(items) } };
        };
        base::Value::List seven {
            base::Value::Dictionary { { "type", 3 }, { "folioID", "7" }, { "ugcID", "77" }, { "localID", "l-77" } },
            base::Value::Dictionary { { "type", 5 }, { "folioID", "7" }, { "ugcID", "78" }, { "localID", "l-78" },
                { "linkID", 501 }, { "text", "answer" } },
        };
        base::Value::List nine {
            base::Value::Dictionary { { "type", 3 }, { "folioID", "9" }, { "ugcID", "99" }, { "localID", "l-99" } },
        };
        answerFetch("9000000002",
            ServiceAnswer::success(work({ pageOf(7, std::move(seven)), pageOf(9, std::move(nine)) })));
        answerFetch("9000000003", ServiceAnswer::success(work({})));
        base::RunLoop::main().advanceBy(3);
        m_renderer->setActivePages({ page(7) });
        uitest::tapRow(*panel->studentListTableView(), { 0, 0 });
        uitest::completePresentations();
        settle();
        return panel;
    }

    static std::shared_ptr<SDKPentoolVO> stroke(const std::string& localID, const std::string& page = "7")
    {
        auto drawing = std::make_shared<SDKPentoolVO>();
        drawing->localID = localID;
        drawing->pageIdentifier = page;
        drawing->displayNum = page;
        drawing->points = { { 1, 2 }, { 3, 4 } };
        return drawing;
    }

    static std::vector<std::shared_ptr<SDKUGCVO>> withLocalID(
        const TeacherReviewViewController& panel, const std::string& page, const std::string& localID)
    {
        std::vector<std::shared_ptr<SDKUGCVO>> found;
        for (const auto& record : panel.studentPageUGCDictionary->at(page)) {
            if (record->localID == localID)
                found.push_back(record);
        }
        return found;
    }
};

TEST_F(TeacherReviewSeamTest, PenStrokesReachTheLearnerPanelOnlyWhileReviewRuns)
{
    auto panel = reviewAdaOnTwoPages();
    ASSERT_TRUE(panel && panel->studentPageUGCDictionary);
    auto& pen = m_reader->penRoad();

    auto drawn = stroke("t-1");
    pen.didCreatePenDrawing(drawn);
    ASSERT_EQ(withLocalID(*panel, "7", "t-1").size(), 1u);

    // Moved: the new stroke takes its earlier self's place, once, although the service
    // has never seen it.
    auto moved = stroke("t-1");
    moved->points = { { 5, 6 }, { 7, 8 } };
    pen.didUpdatePenDrawing(moved);
    auto held = withLocalID(*panel, "7", "t-1");
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held.front(), moved);

    // Erased: a stroke drawn in this review leaves; one the service knows stays, to be
    // sent as removed.
    auto erased = stroke("t-1");
    erased->status = UGCStatusDeleted;
    pen.didUpdatePenDrawing(erased);
    EXPECT_TRUE(withLocalID(*panel, "7", "t-1").empty());
    auto known = stroke("l-77");
    known->ugcID = "77";
    known->status = UGCStatusDeleted;
    pen.didUpdatePenDrawing(known);
    ASSERT_EQ(withLocalID(*panel, "7", "l-77").size(), 1u);
    EXPECT_EQ(withLocalID(*panel, "7", "l-77").front()->status, UGCStatusDeleted);

    // A stroke on the other page of a spread is filed under its own page.
    pen.didCreatePenDrawing(stroke("t-2", "9"));
    EXPECT_EQ(withLocalID(*panel, "9", "t-2").size(), 1u);

    // Out of review the pen keeps to the reader's own store.
    context().activeMode = ReaderActiveModeNone;
    pen.didCreatePenDrawing(stroke("t-3"));
    EXPECT_TRUE(withLocalID(*panel, "7", "t-3").empty());
}

TEST_F(TeacherReviewSeamTest, ClearAllDialogClearsThroughTheClearingRoad)
{
    struct Case {
        const char* name;
        bool currentPage;
        bool cancel;
        bool sevenCleared;
        bool nineCleared;
    };
    const Case cases[] = {
        { "current page", true, false, true, false },
        { "all pages", false, false, true, true },
        { "cancel", true, true, false, false },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        auto panel = reviewAdaOnTwoPages();
        ASSERT_TRUE(panel);
        review().didSelectDeleteForTeacherReview();
        uitest::completePresentations();
        auto dialog = presented<ResetAllViewController>();
        ASSERT_TRUE(dialog) << "the reset dialog, not a plain alert";
        dialog->loadViewIfNeeded();
        if (test.currentPage)
            dialog->currentPageButtonTapAction();
        else
            dialog->allPageButtonTapAction();
        if (test.cancel)
            dialog->cancelButtonTapAction();
        else
            dialog->okButtonTapAction();
        uitest::completePresentations();
        EXPECT_FALSE(m_reader->presentedViewController());

        auto status = [&](const std::string& page, const std::string& localID) {
            auto found = withLocalID(*panel, page, localID);
            return found.empty() ? -1 : found.front()->status;
        };
        EXPECT_EQ(status("7", "l-77") == UGCStatusDeleted, test.sevenCleared);
        EXPECT_EQ(status("7", "l-78") == UGCStatusDeleted, test.sevenCleared);
        EXPECT_EQ(status("9", "l-99") == UGCStatusDeleted, test.nineCleared);
        review().removeTeacherAnnotation();
        uitest::completePresentations();
        settle();
    }
}

TEST_F(TeacherReviewSeamTest, AnswersEditedInReviewReachTheLearnerPanel)
{
    auto panel = reviewAdaOnTwoPages();
    ASSERT_TRUE(panel);
    auto& answers = m_reader->interactiveContent().answers();

    // A fill-in answer edited on the page: the learner's record, marked changed.
    auto edited = std::make_shared<SDKFIBVO>();
    edited->localID = "l-78";
    edited->ugcID = "78";
    edited->linkID = 501;
    edited->pageIdentifier = "7";
    edited->text = "better answer";
    answers.didUpdateSDKFIBVO(edited);
    auto held = withLocalID(*panel, "7", "l-78");
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held.front(), edited);
    EXPECT_EQ(edited->status, UGCStatusUpdated);
    auto toSave = panel->getAnotationToSave();
    EXPECT_NE(std::find(toSave.begin(), toSave.end(), std::static_pointer_cast<SDKUGCVO>(edited)), toSave.end());
    // What answer entry reads back in review is the learner's work.
    EXPECT_EQ(panel->getSDKFIBVOForLinkID(501), edited);

    // The panel outlives the session: afterwards the reader's own answers must not land in
    // the learner's work, though a tapped comment still opens read-only in the editor.
    review().removeTeacherAnnotation();
    uitest::completePresentations();
    settle();
    ASSERT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    auto own = std::make_shared<SDKFIBVO>(*edited);
    own->text = "the teacher's own answer";
    answers.didUpdateFibArray({ own });
    EXPECT_EQ(withLocalID(*panel, "7", "l-78").front(), edited);
    edited->teacherComment = "See me";
    answers.didTapOnTeacherComment({ edited });
    uitest::completePresentations();
    auto editor = std::dynamic_pointer_cast<StickyNotesViewController>(m_reader->presentedViewController());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->currentHighlightVO()->noteText, "See me");
    editor->loadViewIfNeeded();
    editor->noteTextView()->setText("changed");
    editor->postButtonAction();
    EXPECT_EQ(edited->teacherComment, "See me");
}

TEST_F(TeacherReviewSeamTest, ReviewBarShowsThePageAndStepsBetweenPagesWithWork)
{
    // The page label and buttons have room on a tablet's review bar, not on an upright phone's.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });
    auto panel = reviewAdaOnTwoPages();
    ASSERT_TRUE(panel);
    review().updateTeacherReviewUI();
    auto label = review().getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber);
    ASSERT_TRUE(label) << "the top review bar carries the page label";
    EXPECT_EQ(label->text(), chrometest::localized("PAGE") + " 7");
    auto previous = m_reader->penRoad().getPenToolItemWithTag(PlayerItemPreviousPage);
    auto next = m_reader->penRoad().getPenToolItemWithTag(PlayerItemNextPage);
    ASSERT_TRUE(previous && next);
    EXPECT_FALSE(previous->isUserInteractionEnabled()) << "no page with work before 7";
    EXPECT_TRUE(next->isUserInteractionEnabled());

    m_renderer->clearCalls();
    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemNextPage));
    auto navigated = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(navigated);
    EXPECT_EQ(navigated->arguments.at(0).asString(), "9");
}

} // namespace
} // namespace lectoro::reviewtest
