// Fill-in and drop-down answers, the equation editor and protractor records, against the
// fake renderer and the real store.

#include "interactive/AnswerTestSupport.h"

#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Label.h"
#include "platform/ui/Presentation.h"

namespace lectoro {
namespace {

using testing::AnswersTest;

std::shared_ptr<SDKFIBVO> answersRecord(int64_t linkID, const std::string& text, int16_t status)
{
    auto fib = std::make_shared<SDKFIBVO>();
    fib->localID = "local-" + std::to_string(linkID);
    fib->linkID = linkID;
    fib->pageIdentifier = "5";
    fib->displayNum = "3";
    fib->text = text;
    fib->status = status;
    return fib;
}

std::string answersLabelText(const ui::View& root)
{
    for (const auto& sub : root.subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(sub))
            return label->text();
    }
    return {};
}

TEST_F(AnswersTest, SaveRuleStoresUpdatesAndDeletesByStatusOutsideTeacherReview)
{
    addLink(51, 5);
    auto& answers = m_content->answers();

    answers.didUpdateSDKFIBVO(answersRecord(51, "full", 1));
    auto saved = storedAnswer(51);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text, "full");
    EXPECT_EQ(saved->bookVersion, "v2");

    answers.didUpdateSDKFIBVO(answersRecord(51, "heavy", 2));
    EXPECT_EQ(storedAnswer(51)->text, "heavy");

    m_renderer->clearCalls();
    answers.didUpdateSDKFIBVO(answersRecord(51, "heavy", 3));
    EXPECT_FALSE(storedAnswer(51));
    // The page's fields are built again, empty.
    EXPECT_EQ(m_renderer->countOf("drawFIB"), 1u);
    ASSERT_EQ(m_content->fibArrayForAccessibility().size(), 1u);
    auto field = std::dynamic_pointer_cast<MVFIB>(m_content->fibArrayForAccessibility().front());
    ASSERT_TRUE(field);
    EXPECT_FALSE(field->sdkFIBVO());
    EXPECT_EQ(m_reader.clearAllUpdates, 3);

    // In teacher review the learner panel gets the record and the store is left alone.
    auto review = std::make_shared<testing::RecordingAnswerReview>();
    answers.setAnswerReview(review);
    m_context.activeMode = ReaderActiveModeTeacherReview;
    for (int16_t status : { 1, 2, 3 })
        answers.didUpdateSDKFIBVO(answersRecord(51, "teacher", status));
    EXPECT_EQ(review->updated.size(), 3u);
    EXPECT_FALSE(storedAnswer(51));
}

TEST_F(AnswersTest, EditingLiftsThePageOnceAndEndingPutsItBack)
{
    auto link = addLink(51, 5, { 100, 700, 200, 24 });
    auto field = MVFIB::create(link, nullptr, false);
    field->setFrame(link->boxTansformedRect);
    auto& answers = m_content->answers();
    answers.adoptField(*field);

    ASSERT_TRUE(field->beginEditing());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeFillInBlank);
    EXPECT_EQ(m_reader.barsMovedAnimated, 1);
    ASSERT_EQ(m_analytics->live.size(), 1u);
    EXPECT_EQ(m_analytics->live.front().info["markup_type"].asString(), "FIB");

    answers.keyboardDidShowForFIB(*field, { 0, 724, 768, 300 });
    EXPECT_EQ(m_renderer->view()->frame().origin.y, -30);
    // A second report of the same entry leaves the page where it is.
    answers.keyboardDidShowForFIB(*field, { 0, 624, 768, 400 });
    EXPECT_EQ(m_renderer->view()->frame().origin.y, -30);

    field->endEditingWithText("full");
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(m_renderer->view()->frame().origin.y, 0);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    EXPECT_FALSE(answers.fibKeyBoardPresent());
    ASSERT_TRUE(storedAnswer(51));
    EXPECT_EQ(storedAnswer(51)->text, "full");

    // In teacher review editing is refused.
    m_context.activeMode = ReaderActiveModeTeacherReview;
    EXPECT_FALSE(field->beginEditing());
}

TEST_F(AnswersTest, ASubmittedWrongAnswerShowsTheAcceptedAnswersAndATapClosesThem)
{
    auto link = addLink(51, 5);
    link->answer = "a##b";
    link->isInstantFeedback = true;
    auto fib = answersRecord(51, "c", 1);
    fib->isSubmitted = true;
    auto field = MVFIB::create(link, fib, false);
    m_content->answers().adoptField(*field);

    EXPECT_FALSE(field->beginEditing());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeFillInBlank);
    auto popup = m_content->answers().fibAnswerViewController();
    ASSERT_TRUE(popup);
    // A phone: the dimmed child over the reader, the label in its middle.
    EXPECT_EQ(popup->parentViewController(), m_reader.controller);
    EXPECT_EQ(answersLabelText(*popup->view()), "Incorrect answer: a | b");
    EXPECT_TRUE(uitest::tap(*popup->view()));
    EXPECT_FALSE(m_content->answers().fibAnswerViewController());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);

    // Without instant feedback or the equation keyboard, the tap does nothing.
    link->isInstantFeedback = false;
    EXPECT_FALSE(field->beginEditing());
    EXPECT_FALSE(m_content->answers().fibAnswerViewController());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

TEST_F(AnswersTest, DropDownChoiceIsSavedUpdatedAndRemovedByThePlaceholder)
{
    auto link = addLink(52, 13, { 100, 300, 160, 36 });
    link->properties = "<activity><items>warms,cools</items></activity>";
    m_content->drawMarkupsOnPageNumber("5", "3");
    auto box = std::dynamic_pointer_cast<MarkupView>(link->iconView.lock());
    ASSERT_TRUE(box);

    m_content->answers().didTapOnDropDownLink(link);
    auto list = m_content->answers().linkDropDownController();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->items(), (std::vector<std::string> { "Select", "warms", "cools" }));
    EXPECT_EQ(list->parentViewController(), m_reader.controller);

    list->selectItemAtIndex(2);
    EXPECT_EQ(box->currentTitle(), "cools");
    auto saved = storedAnswer(52);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text, "cools");
    EXPECT_EQ(saved->status, UGCStatusNew);
    EXPECT_TRUE(saved->isDropDown);
    EXPECT_EQ(saved->pageIdentifier, "5");

    list->selectItemAtIndex(1);
    EXPECT_EQ(storedAnswer(52)->text, "warms");

    list->selectItemAtIndex(0);
    EXPECT_FALSE(storedAnswer(52));
    // The list stays open until it asks to close.
    EXPECT_TRUE(m_content->answers().linkDropDownController());
    m_content->answers().didSelectActionToCloseDropDown();
    EXPECT_FALSE(m_content->answers().linkDropDownController());
    EXPECT_FALSE(list->parentViewController());
}

TEST_F(AnswersTest, DropDownTapWhileTypingOnlyClosesTheKeyboard)
{
    auto link = addLink(52, 13);
    link->properties = "<activity><items>a,b</items></activity>";
    m_context.activeMode = ReaderActiveModeFillInBlank;
    m_content->answers().didTapOnDropDownLink(link);
    EXPECT_FALSE(m_content->answers().linkDropDownController());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);

    link->properties = "<activity><items>broken</activity>";
    m_content->answers().didTapOnDropDownLink(link);
    EXPECT_FALSE(m_content->answers().linkDropDownController());
}

TEST_F(AnswersTest, TeacherReviewChoiceMarksTheLearnersNewestAnswer)
{
    auto link = addLink(52, 13);
    link->properties = "<activity><items>a,b</items></activity>";
    m_content->drawMarkupsOnPageNumber("5", "3");
    auto review = std::make_shared<testing::RecordingAnswerReview>();
    for (const char* id : { "9", "10", "2" }) {
        auto fib = answersRecord(52, "a", 2);
        fib->ugcID = id;
        review->learnerAnswers.push_back(fib);
    }
    m_content->answers().setAnswerReview(review);
    m_context.activeMode = ReaderActiveModeTeacherReview;

    auto box = std::dynamic_pointer_cast<MarkupView>(link->iconView.lock());
    m_content->answers().didSelectDropDownItemWithText(std::string("b"), box);
    ASSERT_EQ(review->updated.size(), 1u);
    EXPECT_EQ(review->updated.front()->ugcID, "10");
    EXPECT_EQ(review->updated.front()->text, "b");
    EXPECT_EQ(review->updated.front()->review, 1);
    EXPECT_EQ(review->calls, (std::vector<std::string> { "dropDowns 5" }));
    EXPECT_FALSE(storedAnswer(52));

    // A learner without an answer for the link: nothing to mark, the page still redrawn.
    review->learnerAnswers.clear();
    m_content->answers().didSelectDropDownItemWithText(std::string("a"), box);
    EXPECT_EQ(review->updated.size(), 1u);
}

TEST_F(AnswersTest, SubmittedWrongDropDownShowsTheCorrectAnswerARightOneDoesNothing)
{
    auto link = addLink(52, 13);
    link->properties = "<activity><items>warms,cools</items></activity>";
    link->answer = "cools";
    link->isInstantFeedback = true;
    auto fib = answersRecord(52, "warms", 1);
    fib->isDropDown = true;
    fib->isSubmitted = true;
    ASSERT_TRUE(m_store->saveFIB(fib, "77", 42));
    m_content->drawMarkupsOnPageNumber("5", "3");
    auto box = std::dynamic_pointer_cast<MarkupView>(link->iconView.lock());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->currentTitleColor(), answers::systemRed());

    EXPECT_TRUE(uitest::tap(*box));
    ASSERT_TRUE(m_content->answers().fibAnswerViewController());
    EXPECT_EQ(
        answersLabelText(*m_content->answers().fibAnswerViewController()->view()), "Incorrect answer: cools");
    m_content->answers().removeFIBPopOver();

    // The drawn box carries the list arrow after its choice; the choice alone is judged.
    box->updateForDropDownWithInputText("cools", link->properties);
    EXPECT_TRUE(uitest::tap(*box));
    EXPECT_FALSE(m_content->answers().fibAnswerViewController());
}

TEST_F(AnswersTest, EquationButtonOpensTheKeyboardOnceAfterItsDelay)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    m_renderer->view()->setFrame({ 0, 0, 375, 600 });
    m_settings->setIsMathEditorEnabled(true);
    auto link = addLink(53, 5, { 20, 120, 200, 30 });
    link->isMathKeyboardEnabled = true;
    auto field = MVFIB::create(link, nullptr, false);
    auto& answers = m_content->answers();
    answers.adoptField(*field);
    answers.keyboardDidShowForFIB(*field, { 0, 340, 375, 260 });

    answers.addEquationEditorButton({ 0, 340, 375, 260 }, 0);
    auto button = answers.equationEditorButton();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->frame(), (ui::Rect { 330, 295, 45, 45 }));
    EXPECT_EQ(button->superview(), m_renderer->view());

    // Two taps within the delay open one keyboard; an empty field asks nothing.
    EXPECT_TRUE(uitest::tap(*button));
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_TRUE(uitest::tap(*button));
    EXPECT_FALSE(answers.equationEditorKeyboardViewController());
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_FALSE(answers.equationEditorKeyboardViewController());
    base::RunLoop::main().advanceBy(0.2);
    auto keyboard = answers.equationEditorKeyboardViewController();
    ASSERT_TRUE(keyboard);
    EXPECT_EQ(keyboard->posY(), "2px");
    EXPECT_EQ(keyboard->parentViewController().get(), m_renderer.get());
    EXPECT_FALSE(m_reader.controller->presentedViewController());
    ASSERT_FALSE(m_analytics->live.empty());
    EXPECT_EQ(m_analytics->live.back().name, "equation_editor_data_live");

    // Saving stores the equation answer as the learner's.
    keyboard->typeKey("x=2");
    keyboard->save();
    EXPECT_FALSE(answers.equationEditorKeyboardViewController());
    auto saved = storedAnswer(53);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->isEquation);
    EXPECT_EQ(saved->text, "x=2");
    EXPECT_EQ(saved->review, 0);
}

TEST_F(AnswersTest, SwitchingKeyboardsWithTextAsksFirst)
{
    m_settings->setIsMathEditorEnabled(true);
    auto link = addLink(53, 5);
    link->isMathKeyboardEnabled = true;
    auto field = MVFIB::create(link, nullptr, false);
    m_renderer->setFIBView(53, field);
    auto& answers = m_content->answers();
    answers.adoptField(*field);
    field->textField()->setText("typed");
    answers.keyboardDidShowForFIB(*field, { 0, 724, 768, 300 });

    answers.didTapOnEquationEditorButton();
    auto alert
        = std::dynamic_pointer_cast<ui::AlertController>(m_reader.controller->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "Delete data");
    EXPECT_TRUE(alert->tapActionWithTitle("OK"));
    base::RunLoop::main().advanceBy(1);
    // The typed text went and the equation keyboard came.
    EXPECT_EQ(field->textField()->text(), "");
    auto keyboard = answers.equationEditorKeyboardViewController();
    ASSERT_TRUE(keyboard);

    // Back to the normal keyboard with something typed: CANCEL keeps the keyboard.
    keyboard->typeKey("y");
    keyboard->switchToNormalKeyboard();
    alert = std::dynamic_pointer_cast<ui::AlertController>(m_reader.controller->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->tapActionWithTitle("Cancel"));
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(answers.equationEditorKeyboardViewController(), keyboard);
    EXPECT_EQ(keyboard->parentViewController().get(), m_renderer.get());

    // An empty equation switches at once: an empty answer is stored and the caret goes
    // to the field.
    keyboard->deleteBackward();
    keyboard->switchToNormalKeyboard();
    EXPECT_FALSE(answers.equationEditorKeyboardViewController());
    auto stored = storedAnswer(53);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->text, "");
    EXPECT_FALSE(field->isDefaultKeyboardDisabled);
    EXPECT_TRUE(field->textField()->isFirstResponder());
}

TEST_F(AnswersTest, KeyboardRulesByFieldLevelSwitchAndMathEditor)
{
    struct Case {
        bool fieldLevel;
        bool mathEditor;
        bool linkAllows;
        bool defaultDisabled;
        bool mathKeyboard;
    };
    const Case cases[] = {
        { false, true, false, false, true },
        { false, false, true, false, false },
        { true, true, true, true, true },
        { true, true, false, false, false },
        { true, false, true, false, false },
    };
    auto link = addLink(53, 5);
    for (const auto& c : cases) {
        m_context.isFIBLevelKeyboardEnabled = c.fieldLevel;
        m_settings->setIsMathEditorEnabled(c.mathEditor);
        link->isMathKeyboardEnabled = c.linkAllows;
        auto field = MVFIB::create(link, nullptr, false);
        EXPECT_EQ(m_content->answers().isDefaultKeyboardDisabled(*field), c.defaultDisabled);
        EXPECT_EQ(m_content->answers().isMathKeyboardEnabled(*link), c.mathKeyboard);
    }
}

TEST_F(AnswersTest, ProtractorRecordsAreStoredAndDeleted)
{
    auto& answers = m_content->answers();
    answers.didCloseProtractorWithProtractorVO(nullptr);
    answers.deleteProtractorWithProtractorVO(nullptr);

    auto protractor = std::make_shared<SDKProtractorVO>();
    protractor->localID = "p-1";
    protractor->pageIdentifier = "5";
    protractor->displayNum = "3";
    protractor->measuredAngle = 45;
    answers.didCloseProtractorWithProtractorVO(protractor);
    auto stored = m_store->protractorForPageID("5", "3", "77", 42);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored.front()->bookVersion, "v2");
    EXPECT_EQ(stored.front()->measuredAngle, 45);

    answers.didSelectProtractorWithProtractorVO(protractor);
    EXPECT_EQ(m_reader.barsMovedAnimated, 1);

    protractor->status = UGCStatusDeleted;
    answers.deleteProtractorWithProtractorVO(protractor);
    EXPECT_TRUE(m_store->protractorForPageID("5", "3", "77", 42).empty());
}

TEST_F(AnswersTest, TeacherHooksIgnoreEmptyArraysAndRouteTheRest)
{
    auto review = std::make_shared<testing::RecordingAnswerReview>();
    auto& answers = m_content->answers();
    answers.setAnswerReview(review);
    answers.didUpdateFibArray({});
    answers.didTapOnTeacherComment({});
    EXPECT_TRUE(review->calls.empty());

    auto fib = answersRecord(51, "a", 2);
    fib->ugcID = "31";
    answers.didUpdateFibArray({ fib });
    answers.didTapOnTeacherComment({ fib });
    EXPECT_EQ(review->updated.size(), 1u);
    EXPECT_EQ(review->selected.size(), 1u);
    EXPECT_EQ(review->calls, (std::vector<std::string> { "refresh 5", "comment 31" }));
}

} // namespace
} // namespace lectoro
