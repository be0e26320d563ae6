// Teacher review inside the reader: entry from the bar, the class picker with the book's
// classes, the learner panel wired to the reader, each learner's fetch through the
// service, choosing a learner, the review bars, the saving overlay and leaving review.

#include "teacherreview/ReaderTeacherReviewTestSupport.h"

#include "platform/ui/Environment.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"
#include "platform/ui/TextView.h"

#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "platform/ui/AlertController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewClassListViewController.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/Transport.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

namespace lectoro {
namespace {

using companion::ServiceAnswer;
using reviewtest::learner;
using reviewtest::page;
using reviewtest::pageWithWork;
using reviewtest::ReaderTeacherReviewTest;

TEST_F(ReaderTeacherReviewTest, ReviewItemOpensThePickerWithTheBooksClassesAndRemembersThePages)
{
    tapReviewItem();
    auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(m_reader->presentedViewController());
    ASSERT_TRUE(navigation);
    EXPECT_EQ(navigation->modalPresentationStyle(), ui::ModalPresentationStyle::OverCurrentContext);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    auto picker = presented<TeacherReviewClassListViewController>();
    ASSERT_TRUE(picker);
    EXPECT_EQ(*picker->classesInfoArray(), (std::vector<std::string> { "Biology", "Chemistry" }));
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
    ASSERT_EQ(review().activePageBeforeStudentReviewMode().size(), 2u);
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);

    // Closing without a choice: back to reading.
    ASSERT_TRUE(uitest::tap(*picker->closeButton()));
    uitest::completePresentations();
    EXPECT_FALSE(m_reader->presentedViewController());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
}

TEST_F(ReaderTeacherReviewTest, AUserIdThatIsNoNumberHasNoClasses)
{
    context().user->userID = "7abc";
    tapReviewItem();
    auto picker = presented<TeacherReviewClassListViewController>();
    ASSERT_TRUE(picker);
    EXPECT_TRUE(picker->classesInfoArray()->empty());
}

TEST_F(ReaderTeacherReviewTest, ChosenClassOpensAWiredPanelThatFetchesEachLearnerThroughTheService)
{
    auto panel = openClass(0);
    ASSERT_TRUE(panel);
    EXPECT_EQ(*panel->selectedClassName, "Biology");
    EXPECT_EQ(panel->themeVo, m_theme);
    EXPECT_FALSE(presented<TeacherReviewClassListViewController>());
    EXPECT_EQ(review().teacherAnnotationController(), panel);
    // The chain's learner and the rows' claims, with the reader's token.
    auto fetches = pendingFetches();
    std::sort(fetches.begin(), fetches.end());
    EXPECT_EQ(fetches, (std::vector<std::string> { "9000000002@token-1", "9000000003@token-1" }));
    auto request = service().lastRequest(companion::op::studentAnnotationsFetch);
    EXPECT_EQ(*request->body["bookId"].asString(), "42");
    EXPECT_EQ(*request->body["bookVersion"].asString(), "1.0");

    ASSERT_TRUE(answerFetch("9000000002", ServiceAnswer::success(work({ pageWithWork(7) }))));
    ASSERT_TRUE(answerFetch("9000000003", ServiceAnswer::offline()));
    ASSERT_EQ(panel->studentDataDict().size(), 1u);
    EXPECT_EQ(panel->studentDataDict().begin()->first, "9000000002");
    EXPECT_FALSE(panel->scheduledTimer());
}

TEST_F(ReaderTeacherReviewTest, ChangingClassReopensThePickerAndRemembersThePagesAnew)
{
    auto panel = openClass(0);
    ASSERT_TRUE(panel);
    m_renderer->setActivePages({ page(30) });
    ASSERT_TRUE(uitest::tap(*uitest::findByAccessibilityIdentifier(panel->view(), "ChangeClassButton")));
    uitest::completePresentations();
    for (const auto& warning : ui::Presenter::shared().warnings())
        ADD_FAILURE() << warning;
    ASSERT_TRUE(presented<TeacherReviewClassListViewController>());
    ASSERT_EQ(review().activePageBeforeStudentReviewMode().size(), 1u);
    EXPECT_EQ(review().activePageBeforeStudentReviewMode()[0].pageID, 30);

    // Another class: a new panel; the old one's late answers go nowhere.
    uitest::tapRow(*presented<TeacherReviewClassListViewController>()->classListTableView(), { 0, 1 });
    uitest::completePresentations();
    auto chemistry = presented<TeacherReviewViewController>();
    ASSERT_TRUE(chemistry);
    EXPECT_NE(chemistry, panel);
    EXPECT_FALSE(chemistry->noStudentLabel()->isHidden());
    answerFetch("9000000002", ServiceAnswer::success(work({ pageWithWork(7) })));
    EXPECT_TRUE(chemistry->studentDataDict().empty());
}

TEST_F(ReaderTeacherReviewTest, ExpiredTokenIsRenewedOnceThenTheSessionEnds)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_delegate->renewedToken = "token-2";
    auto panel = openClass(0);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(answerFetch("9000000002", ServiceAnswer::expiredToken()));
    EXPECT_EQ(m_delegate->refreshTokens.size(), 1u);
    auto fetches = pendingFetches();
    EXPECT_NE(std::find(fetches.begin(), fetches.end(), "9000000002@token-2"), fetches.end());
    // The renewed token is refused too: no second renewal, no third request.
    ASSERT_TRUE(answerFetch("9000000002", ServiceAnswer::expiredToken()));
    EXPECT_EQ(m_delegate->refreshTokens.size(), 1u);
    EXPECT_TRUE(pendingFetches().size() <= 1u);
    EXPECT_NE(std::find(m_delegate->events.begin(), m_delegate->events.end(), "sessionExpired"), m_delegate->events.end());
}

TEST_F(ReaderTeacherReviewTest, ExpiredTokenWithoutRenewalEndsTheSession)
{
    struct Case {
        const char* name;
        bool autoLogin;
        bool delegateRenews;
    };
    for (const auto& c : { Case { "auto-login off", false, true }, Case { "nobody to renew", true, false } }) {
        SCOPED_TRACE(c.name);
        m_settings->setIsAutoLoginEnabled(c.autoLogin);
        m_delegate->answersRefresh = c.delegateRenews;
        m_delegate->events.clear();
        m_delegate->refreshTokens.clear();
        auto panel = openClass(0);
        ASSERT_TRUE(panel);
        ASSERT_TRUE(answerFetch("9000000002", ServiceAnswer::expiredToken()));
        EXPECT_TRUE(m_delegate->refreshTokens.empty());
        EXPECT_NE(std::find(m_delegate->events.begin(), m_delegate->events.end(), "sessionExpired"),
            m_delegate->events.end());
        panel->closeViewController();
        uitest::completePresentations();
        service().answerAll(ServiceAnswer::offline());
        settle();
    }
}

TEST_F(ReaderTeacherReviewTest, ChoosingALearnerWithWorkEntersReviewWithItsBars)
{
    struct Case {
        chrometest::Device device;
        double height;
    };
    for (const auto& c : { Case { chrometest::Device::Phone, 54 }, Case { chrometest::Device::Pad, 64 } }) {
        SCOPED_TRACE(chrometest::deviceName(c.device));
        useDevice(c.device);
        auto panel = reviewAda();
        ASSERT_TRUE(panel);
        EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeTeacherReview);
        EXPECT_FALSE(m_reader->presentedViewController()) << "the panel left the screen";
        EXPECT_EQ(review().teacherAnnotationController(), panel) << "and stays the review's store";
        EXPECT_EQ(*review().selectLearnerIDForTeacherReview(), "9000000002");
        EXPECT_EQ(review().selectedLearnerData().count(), 1u);

        auto top = context().penToolActionBarView;
        auto bottom = context().penToolActionBottomBarView;
        ASSERT_TRUE(top && bottom);
        for (const auto& bar : { top, bottom }) {
            EXPECT_EQ(bar->superview(), readerView());
            EXPECT_EQ(bar->tag(), TeacherBar);
            EXPECT_EQ(bar->backgroundColor(), chrometest::ThemeColors::teacherBackground());
            EXPECT_EQ(bar->constraintWithFirstAttribute(ui::LayoutAttribute::Height)->constant(), c.height);
            EXPECT_EQ(bar->constraintWithFirstAttribute(ui::LayoutAttribute::Left)->constant(), -0.4);
            EXPECT_EQ(bar->constraintWithFirstAttribute(ui::LayoutAttribute::Right)->constant(), 0.4);
            EXPECT_EQ(bar->layer()->borderWidth(), 1.0);
            EXPECT_EQ(bar->layer()->shadowRadius(), 4.0);
        }
        EXPECT_EQ(review().topConstOfTeacherReview()->constant(), -0.4);
        EXPECT_EQ(review().bottomConstOfTeacherReview()->constant(), 0.4);
        EXPECT_NEAR(top->frame().minY(), -0.4, 1e-9);
        EXPECT_NEAR(bottom->frame().maxY(), readerView()->bounds().height() + 0.4, 1e-9);
        // Previous and next learner, report and Done on top; the tools below, undo dimmed.
        for (int tag : { PlayerItemPreviousStudent, PlayerItemNextStudent, PlayerItemGenerateReport, PlayerItemDone })
            EXPECT_TRUE(top->itemWithTag(tag)) << tag;
        auto undo = bottom->itemWithTag(PlayerItemTeacherUndo);
        ASSERT_TRUE(undo);
        EXPECT_DOUBLE_EQ(undo->alpha(), 0.5);
        EXPECT_FALSE(undo->isUserInteractionEnabled());
        EXPECT_TRUE(uitest::findLabelWithText(top, "Ada Fennick"));

        // A second build while the bars are up changes nothing.
        review().addTeacherAnnotationTopBar();
        EXPECT_EQ(context().penToolActionBarView, top);

        // Closing the panel while the bars are up keeps review on.
        review().removeAnnotationController();
        EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeTeacherReview);
        review().removeTeacherAnnotation();
        base::RunLoop::main().advanceBy(0.5);
        EXPECT_FALSE(context().penToolActionBarView);
    }
}

TEST_F(ReaderTeacherReviewTest, LeavingReviewReturnsToTheFirstPageShownBefore)
{
    ASSERT_TRUE(reviewAda());
    m_renderer->clearCalls();
    review().removeTeacherAnnotation();
    review().loadPagesBeforeTeacherReview();
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    // The bars slide out (phone: both constants) and go once the slide is over.
    EXPECT_EQ(review().topConstOfTeacherReview()->constant(), -54);
    EXPECT_EQ(review().bottomConstOfTeacherReview()->constant(), 54);
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_FALSE(context().penToolActionBarView);
    EXPECT_FALSE(context().penToolActionBottomBarView);
    auto navigations = m_renderer->callsNamed("navigateToPageNumber");
    ASSERT_EQ(navigations.size(), 1u);
    EXPECT_EQ(*navigations[0].arguments.at(0).asString(), "10");
}

TEST_F(ReaderTeacherReviewTest, RotationRebuildsTheReviewBarsKeepingTheSelectedTool)
{
    ASSERT_TRUE(reviewAda());
    auto top = context().penToolActionBarView;
    auto bottom = context().penToolActionBottomBarView;
    bottom->setSelectedItem(bottom->itemWithTag(PlayerItemTeacherEraser).get());
    context().deviceOrientation = 1;
    useDevice(chrometest::Device::Phone, ui::Orientation::LandscapeLeft);
    m_reader->orientationChanged();
    ASSERT_TRUE(context().penToolActionBarView && context().penToolActionBottomBarView);
    EXPECT_NE(context().penToolActionBarView, top);
    EXPECT_NE(context().penToolActionBottomBarView, bottom);
    EXPECT_FALSE(top->superview());
    EXPECT_FALSE(bottom->superview());
    auto eraser = context().penToolActionBottomBarView->getSelectedItem();
    ASSERT_TRUE(eraser);
    EXPECT_EQ(eraser->tag(), PlayerItemTeacherEraser);
    EXPECT_EQ(eraser->backgroundColor(), chrometest::ThemeColors::topIcons());
    EXPECT_EQ(eraser->firstLabel()->textColor(), ui::Color::white());

    // A turn within landscape rebuilds only the top bar.
    bottom = context().penToolActionBottomBarView;
    top = context().penToolActionBarView;
    useDevice(chrometest::Device::Phone, ui::Orientation::LandscapeRight);
    m_reader->orientationChanged();
    EXPECT_EQ(context().penToolActionBottomBarView, bottom);
    EXPECT_NE(context().penToolActionBarView, top);
}

TEST_F(ReaderTeacherReviewTest, DoneSavesUnderTheOverlayAndLeavesReviewOnSuccess)
{
    ASSERT_TRUE(reviewAda());
    m_renderer->clearCalls();
    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemDone));
    auto overlay = review().activityViewForTeacherReview();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(overlay->superview(), readerView());
    EXPECT_EQ(overlay->backgroundColor(), ui::Color::fromWhite(0, 0.5));
    EXPECT_TRUE(uitest::findLabelWithText(overlay, chrometest::localized("SAVING_THE_DATA")));
    EXPECT_TRUE(review().doneButtonSelectedForTeacherReview());
    review().addIndicatorViewForTeacherReview();
    EXPECT_EQ(review().activityViewForTeacherReview(), overlay) << "one overlay at a time";
    auto save = service().lastRequest(companion::op::teacherAnnotationsSave);
    ASSERT_TRUE(save);
    EXPECT_EQ(*save->body["learnerID"].asString(), "9000000002");

    service().answerAll(ServiceAnswer::offline());
    settle();
    EXPECT_FALSE(review().activityViewForTeacherReview()) << "a failure leaves no overlay behind";
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeTeacherReview);
    // The failure dialog offers CANCEL and RETRY; RETRY saves again under the overlay.
    auto dialog = uitest::topmostAlert();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->alertTitle(), chrometest::localized("ALERT_BUTTON"));
    EXPECT_EQ(dialog->message(), chrometest::localized("FAILED_TO_SAVE_STUDENT_ANOTATION"));
    ASSERT_EQ(dialog->actions().size(), 2u);
    EXPECT_EQ(dialog->actions()[0]->title(), "CANCEL");
    EXPECT_EQ(dialog->actions()[1]->title(), chrometest::localized("RETRY"));
    EXPECT_EQ(dialog->actions()[0]->titleTextColor(), ui::Color::black());
    ASSERT_TRUE(uitest::tapAction(chrometest::localized("RETRY")));
    uitest::completePresentations();
    EXPECT_TRUE(review().activityViewForTeacherReview());
    EXPECT_EQ(requestsOf(companion::op::teacherAnnotationsSave), 2u);

    service().answerAll(ServiceAnswer::success());
    settle();
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_FALSE(review().activityViewForTeacherReview());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(context().penToolActionBarView);
    EXPECT_FALSE(review().penToolController());
    auto submitted = uitest::topmostAlert();
    ASSERT_TRUE(submitted);
    EXPECT_EQ(submitted->message(), chrometest::localized("DATA_SUBMITTED_SUCCESSFULLY"));
    EXPECT_TRUE(m_renderer->callsNamed("navigateToPageNumber").empty()) << "the pages come back after Ok";
    ASSERT_TRUE(uitest::tapAction("Ok"));
    uitest::completePresentations();
    base::RunLoop::main().advanceBy(0.5);
    ASSERT_EQ(m_renderer->callsNamed("navigateToPageNumber").size(), 1u);
}

TEST_F(ReaderTeacherReviewTest, AReaderThatGoesAwayIsNotCalledBack)
{
    auto panel = openClass(0);
    ASSERT_TRUE(panel);
    auto fetch = panel->FetchEachLearnerData;
    ASSERT_TRUE(fetch);
    m_reader->dismissViewControllerAnimated(false);
    settle();
    std::weak_ptr<ReaderViewController> weakReader = m_reader;
    uitest::showInWindow(ui::ViewController::create());
    m_reader.reset();
    ASSERT_TRUE(weakReader.expired()) << "neither the panel nor its callbacks keep the reader";
    // The panel (held here) and a fetch it asks for after the reader is gone.
    EXPECT_FALSE(panel->FetchEachLearnerData);
    fetch("Ada Fennick", "9000000002");
    settle();
    panel->closeViewController();
    service().answerAll(ServiceAnswer::success(work({ pageWithWork(7) })));
    settle();
}

TEST_F(ReaderTeacherReviewTest, ALearnersWorkIsLoadedIntoThePanelAndTheRenderer)
{
    // The page label and buttons have room on a tablet's review bar, not on an upright phone's.
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });
    auto panel = reviewAdaWithKnownWork();
    ASSERT_TRUE(panel);
    ASSERT_TRUE(panel->studentPageUGCDictionary);
    ASSERT_EQ(panel->studentPageUGCDictionary->size(), 1u);
    EXPECT_EQ(panel->studentPageUGCDictionary->at("7").size(), 2u);
    EXPECT_EQ(*panel->studentSubmittedPageArray, std::vector<std::string> { "7" });
    EXPECT_EQ(review().studentFolioPagesUGCData().at("7"), "7");
    auto enabled = m_renderer->lastCall("enableTeacherReviewModeWithPageArray");
    ASSERT_TRUE(enabled);
    EXPECT_EQ(enabled->arguments.at(0), base::Value(base::Value::List { "7" }));
    // A fresh review pen: off, in the review colour.
    auto pen = review().penToolController();
    ASSERT_TRUE(pen);
    EXPECT_EQ(pen->getPenMode(), PenToolModeNone);
    EXPECT_EQ(pen->getPenColor(), "#82F675");

    // The pages on screen (10 and 11) hold no work: the label names them, the one folio
    // with work leaves both page buttons off, next goes to the page with work.
    review().updateTeacherReviewUI();
    auto label = review().getTeacherViewPlayerActionBarItemLabelWithTag(PlayerItemPageNumber);
    ASSERT_TRUE(label) << "the top review bar carries the page label";
    EXPECT_EQ(label->text(), chrometest::localized("PAGE") + " 10, 11");
    for (int tag : { PlayerItemNextPage, PlayerItemPreviousPage }) {
        auto item = m_reader->bars().getPenToolItemWithTag(tag);
        ASSERT_TRUE(item) << tag;
        EXPECT_DOUBLE_EQ(item->alpha(), 0.5) << tag;
    }
    m_renderer->clearCalls();
    review().didClickOnPageButton(PlayerItemNextPage);
    review().didClickOnPageButton(PlayerItemPreviousPage);
    auto navigations = m_renderer->callsNamed("navigateToPageNumber");
    ASSERT_EQ(navigations.size(), 1u);
    EXPECT_EQ(*navigations[0].arguments.at(0).asString(), "7");

    // A page load draws the learner's drawings when the switch is on.
    panel->isAnnotationEnabled = true;
    review().refreshTeacherReviewPage(7);
    auto drawn = m_renderer->lastCall("drawPenDrawings");
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->arguments.at(0).count(), 1u);
    EXPECT_EQ(*panel->SelectedPageIdentifier, "7");
}

TEST_F(ReaderTeacherReviewTest, ReviewPenColourEraserAndDragBox)
{
    ASSERT_TRUE(reviewAdaWithKnownWork());
    auto pen = review().penToolController();
    ASSERT_TRUE(pen);
    auto drawingSwitch = [&] {
        auto call = m_renderer->lastCall("setPenDrawingModeEnabledWithReviewModeEnable");
        return call ? call->arguments.at(0).boolValue() : false;
    };
    review().didSelectPenColorForTeacherReview("#FF0000");
    EXPECT_EQ(pen->getPenMode(), PenToolModeDraw);
    EXPECT_EQ(pen->getPenColor(), "#FF0000");
    EXPECT_TRUE(drawingSwitch());
    review().didSelectPenColorForTeacherReview("#FF0000");
    EXPECT_EQ(pen->getPenMode(), PenToolModeNone) << "the colour in use turns the pen off";
    EXPECT_EQ(pen->getPenColor(), "#82F675");
    EXPECT_FALSE(drawingSwitch());
    review().didSelectPenColorForTeacherReview("#FF0000");
    EXPECT_EQ(pen->getPenMode(), PenToolModeDraw);
    EXPECT_EQ(pen->getPenColor(), "#FF0000");

    // Eraser: from drawing to erasing in the review colour, off again, and on from off.
    auto eraser = m_reader->bars().getPenToolItemWithTag(PlayerItemTeacherEraser);
    ASSERT_TRUE(eraser);
    review().didSelectEraserForTeacherReview();
    EXPECT_EQ(pen->getPenMode(), PenToolModeErase);
    EXPECT_EQ(pen->getPenColor(), "#82F675");
    EXPECT_TRUE(eraser->isSelected());
    review().didSelectEraserForTeacherReview();
    EXPECT_EQ(pen->getPenMode(), PenToolModeNone);
    EXPECT_FALSE(eraser->isSelected());
    review().didSelectEraserForTeacherReview();
    EXPECT_EQ(pen->getPenMode(), PenToolModeErase);
    EXPECT_TRUE(drawingSwitch());

    // Drag box while drawing: the pen stops; each page change keeps the drag box on.
    review().didSelectPenColorForTeacherReview("#00FF00");
    review().didSelectDragBoxForTeacherReview();
    EXPECT_EQ(pen->getPenMode(), PenToolModeNone);
    EXPECT_FALSE(drawingSwitch());
    EXPECT_TRUE(context().isDragBoxModeEnabled);
    m_renderer->clearCalls();
    review().actionForTeacherReviewPageChanged();
    auto dragBox = m_renderer->lastCall("setTeacherReviewDragBoxModeEnabled");
    ASSERT_TRUE(dragBox);
    EXPECT_TRUE(dragBox->arguments.at(0).boolValue());
    EXPECT_EQ(review().penToolController(), pen) << "the pen survives page changes";
    review().didSelectDragBoxForTeacherReview();
    EXPECT_FALSE(context().isDragBoxModeEnabled);
}

TEST_F(ReaderTeacherReviewTest, ClearAllAndCommentsEditTheReviewThatDoneSends)
{
    auto panel = reviewAdaWithKnownWork();
    ASSERT_TRUE(panel);
    review().didSelectDeleteForTeacherReview();
    uitest::completePresentations();
    auto choice = presented<ResetAllViewController>();
    ASSERT_TRUE(choice);
    choice->allPageButtonTapAction();
    choice->okButtonTapAction();
    uitest::completePresentations();
    EXPECT_FALSE(m_reader->presentedViewController());
    auto toSave = panel->getAnotationToSave();
    ASSERT_EQ(toSave.size(), 2u) << "the learner's drawing and answer, cleared";
    for (const auto& record : toSave)
        EXPECT_EQ(record->status, UGCStatusDeleted);
    EXPECT_FALSE(panel->isFIBsAndPentoolAvailable());

    // A comment on an answer: both dates stamped, the answer marked changed, on its own
    // page although the redraw after clearing left page 11 in use.
    EXPECT_EQ(*panel->SelectedPageIdentifier, "11");
    auto answer = panel->getSDKFIBVOForLinkID(501);
    ASSERT_TRUE(answer);
    answer->pageIdentifier = "7";
    m_reader->didTapOnTeacherComment({ answer });
    EXPECT_EQ(panel->selectedFibArray.size(), 1u);
    uitest::completePresentations();
    auto editor = std::dynamic_pointer_cast<StickyNotesViewController>(m_reader->presentedViewController());
    ASSERT_TRUE(editor) << "the comment opens in the note editor";
    ASSERT_TRUE(editor->currentHighlightVO());
    EXPECT_TRUE(editor->currentHighlightVO()->isTeacherReviewNote);
    EXPECT_EQ(editor->currentHighlightVO()->ugcID, answer->ugcID);
    editor->loadViewIfNeeded();
    editor->noteTextView()->setText("Well done");
    editor->postButtonAction();
    uitest::completePresentations();
    EXPECT_FALSE(m_reader->presentedViewController());
    EXPECT_TRUE(panel->selectedFibArray.empty());
    EXPECT_EQ(answer->teacherComment, "Well done");
    EXPECT_FALSE(answer->commentCreatedDate.empty());
    EXPECT_EQ(answer->status, UGCStatusUpdated);

    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemDone));
    auto save = service().lastRequest(companion::op::teacherAnnotationsSave);
    ASSERT_TRUE(save);
    const auto* sent = save->body["annotation"].asList();
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->size(), 2u);
    service().answerAll(ServiceAnswer::offline());
    settle();
    // CANCEL leaves review without an upload.
    ASSERT_TRUE(uitest::tapAction("CANCEL"));
    uitest::completePresentations();
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(review().penToolController());
    EXPECT_EQ(requestsOf(companion::op::teacherAnnotationsSave), 1u);
}

TEST_F(ReaderTeacherReviewTest, LearnerNameSaveOpensThePickerAndMovingOnSavesFirst)
{
    auto panel = reviewAdaWithKnownWork(true);
    ASSERT_TRUE(panel);
    auto top = context().penToolActionBarView;
    // Nothing changed: next opens Ben at once.
    EXPECT_DOUBLE_EQ(top->itemWithTag(PlayerItemNextStudent)->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(top->itemWithTag(PlayerItemPreviousStudent)->alpha(), 0.5);
    review().jumpToNextStudent();
    settle();
    EXPECT_EQ(*review().selectLearnerIDForTeacherReview(), "9000000003");
    EXPECT_EQ(requestsOf(companion::op::teacherAnnotationsSave), 0u);

    // With a change, previous saves Ben's review first and opens Ada once it succeeded.
    panel->SelectedPageIdentifier = "9";
    auto mark = std::make_shared<SDKPentoolVO>();
    mark->localID = "teacher-mark";
    panel->addPenDrawing(mark);
    review().jumpToPreviousStudent();
    ASSERT_EQ(requestsOf(companion::op::teacherAnnotationsSave), 1u);
    EXPECT_EQ(*service().lastRequest(companion::op::teacherAnnotationsSave)->body["learnerID"].asString(), "9000000003");
    EXPECT_EQ(*review().selectLearnerIDForTeacherReview(), "9000000003");
    service().answerAll(ServiceAnswer::success());
    settle();
    EXPECT_EQ(*review().selectLearnerIDForTeacherReview(), "9000000002");
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeTeacherReview);
    EXPECT_FALSE(m_reader->presentedViewController());

    // The learner-name item saves and opens the picker; what was saved is not sent again.
    panel->clearAllFIBs();
    review().saveTeacherReviewedDataWhenUseTapOnStudentname();
    ASSERT_EQ(requestsOf(companion::op::teacherAnnotationsSave), 2u);
    EXPECT_FALSE(review().doneButtonSelectedForTeacherReview());
    service().answerAll(ServiceAnswer::success());
    settle();
    uitest::completePresentations();
    EXPECT_TRUE(presented<TeacherReviewClassListViewController>());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    EXPECT_FALSE(review().activityViewForTeacherReview());
    EXPECT_TRUE(panel->getAnotationToSave().empty());
}

TEST_F(ReaderTeacherReviewTest, BackToTheLearnerListKeepsTheUnsavedReview)
{
    auto panel = reviewAdaWithKnownWork();
    ASSERT_TRUE(panel);
    panel->clearAllFIBs();
    ASSERT_TRUE(context().penToolActionBarView->tapItemWithTag(PlayerItemBackToStudentList));
    uitest::completePresentations();
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    EXPECT_EQ(presented<TeacherReviewViewController>(), panel);
    EXPECT_EQ(panel->getAnotationToSave().size(), 1u);
    EXPECT_EQ(requestsOf(companion::op::teacherAnnotationsSave), 0u);
}

TEST_F(ReaderTeacherReviewTest, AnExpiredSessionOnSaveRenewsOnceAndNeverLeavesTheOverlay)
{
    struct Case {
        const char* name;
        bool delegateRenews;
        int expiries;
        size_t refreshes;
        size_t saves;
    };
    const Case cases[] = {
        { "renewed, then refused again", true, 2, 1, 2 },
        { "nobody to renew", false, 1, 0, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_settings->setIsAutoLoginEnabled(true);
        m_delegate->answersRefresh = c.delegateRenews;
        m_delegate->renewedToken = "token-2";
        m_delegate->events.clear();
        m_delegate->refreshTokens.clear();
        service().answerAll(ServiceAnswer::offline());
        settle();
        const size_t savesBefore = requestsOf(companion::op::teacherAnnotationsSave);
        auto panel = reviewAdaWithKnownWork();
        ASSERT_TRUE(panel);
        review().didSelectDoneForTeacherReview();
        for (int i = 0; i < c.expiries; ++i) {
            service().answerAll(ServiceAnswer::expiredToken());
            settle();
        }
        EXPECT_EQ(m_delegate->refreshTokens.size(), c.refreshes);
        EXPECT_EQ(requestsOf(companion::op::teacherAnnotationsSave) - savesBefore, c.saves);
        EXPECT_FALSE(review().activityViewForTeacherReview());
        EXPECT_NE(std::find(m_delegate->events.begin(), m_delegate->events.end(), "sessionExpired"),
            m_delegate->events.end());
        review().removeTeacherAnnotation();
        base::RunLoop::main().advanceBy(0.5);
        while (m_reader->presentedViewController()) {
            m_reader->dismissViewControllerAnimated(false);
            uitest::completePresentations();
        }
    }
}

TEST_F(ReaderTeacherReviewTest, ALearnerSubmitsAfterConfirming)
{
    context().user->role = "LEARNER";
    review().actionForSubmitAnotation();
    auto nothing = uitest::topmostAlert();
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->alertTitle(), chrometest::localized("NO_DATA"));
    EXPECT_EQ(nothing->message(), chrometest::localized("NO_DATA_TO_SUBMIT"));
    uitest::tapActionAtIndex(0);
    uitest::completePresentations();

    auto answer = std::make_shared<SDKFIBVO>();
    answer->linkID = 501;
    answer->text = "42";
    answer->pageIdentifier = "7";
    answer->displayNum = "7";
    ASSERT_TRUE(framework().store()->saveFIB(answer, "42", 7).ok());
    review().actionForSubmitAnotation();
    auto confirm = uitest::topmostAlert();
    ASSERT_TRUE(confirm);
    EXPECT_EQ(confirm->alertTitle(), chrometest::localized("SUBMIT_DATA"));
    ASSERT_TRUE(uitest::tapAction(chrometest::localized("NO_ALERT_BUTTON")));
    uitest::completePresentations();
    EXPECT_EQ(requestsOf(companion::op::annotationsSubmit), 0u);

    // Offline: the failure names the missing connection; the learner can submit again.
    m_network->online = false;
    review().actionForSubmitAnotation();
    ASSERT_TRUE(uitest::tapAction(chrometest::localized("YES_ALERT_BUTTON")));
    uitest::completePresentations();
    answerEverything(ServiceAnswer::offline());
    auto failed = uitest::topmostAlert();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->alertTitle(), chrometest::localized("FAILED_TO_SUBMIT_ANOTATIONS"));
    EXPECT_EQ(failed->message(), chrometest::localized("INTERNET_UNAVAILABLE_MESSAGE"));
    uitest::tapActionAtIndex(0);
    uitest::completePresentations();

    m_network->online = true;
    review().actionForSubmitAnotation();
    ASSERT_TRUE(uitest::tapAction(chrometest::localized("YES_ALERT_BUTTON")));
    uitest::completePresentations();
    answerEverything(ServiceAnswer::success());
    EXPECT_GE(requestsOf(companion::op::annotationsSubmit), 1u);
    auto done = uitest::topmostAlert();
    ASSERT_TRUE(done);
    EXPECT_EQ(done->alertTitle(), chrometest::localized("YOUR_DATA_HAS_BEEN_SUCCESSFULLY_SAVED"));
    EXPECT_FALSE(framework().store()->isSubmitAnotationAllowedForFibForBookID("42", 7));
}

} // namespace
} // namespace lectoro
