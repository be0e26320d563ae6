// The correct-answer pop-overs of a learner's handed-in answers on a tablet, of a blank and
// of a drop-down. A tap beside either closes it, and the reader is reading again: the very
// next tap on the page brings the bars in.

#include "journeys/JourneySupport.h"

#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"

namespace lectoro::journeys {

namespace {

class AnswerJourney : public Journey {
protected:
    std::shared_ptr<MVFIB> blank(ReaderViewController& reader, int64_t page, int64_t linkID)
    {
        for (const auto& view : rendererOf(reader)->overlayForPage(page).fibViews) {
            auto fib = std::dynamic_pointer_cast<MVFIB>(view);
            if (fib && fib->linkVo() && fib->linkVo()->linkID == linkID)
                return fib;
        }
        return nullptr;
    }
    std::shared_ptr<MarkupView> markup(ReaderViewController& reader, int64_t page, int64_t linkID)
    {
        for (const auto& view : rendererOf(reader)->overlayForPage(page).markupViews) {
            auto icon = std::dynamic_pointer_cast<MarkupView>(view);
            if (icon && icon->linkID == linkID && icon->superview())
                return icon;
        }
        return nullptr;
    }
    // A learner's book, whose host has no equation keyboard, on the page of the answers, with
    // a wrong answer to the link handed in earlier.
    std::shared_ptr<ReaderViewController> openWithHandedIn(int64_t linkID, const std::string& answer)
    {
        m_role = "LEARNER";
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_settings->setIsMathEditorEnabled(false);
        auto reader = open(SampleBook::PageBook, ui::UserInterfaceIdiom::Pad);
        if (!reader)
            return nullptr;
        auto fib = std::make_shared<SDKFIBVO>();
        fib->localID = "submitted-" + std::to_string(linkID);
        fib->linkID = linkID;
        fib->pageIdentifier = "105";
        fib->text = answer;
        fib->isSubmitted = true;
        EXPECT_TRUE(reader->context().dbManager->saveFIB(fib, "1001", reader->user()->numericUserID()));
        rendererOf(*reader)->navigateToPageNumber("105");
        settle();
        return reader;
    }
    // The accepted answers over the reader, in the answer mode; a tap beside them closes them.
    void expectCorrectAnswerPopoverThenTapAway(ReaderViewController& reader, const std::string& step)
    {
        auto popup = reader.interactiveContent().answers().fibAnswerViewController();
        ASSERT_TRUE(popup);
        EXPECT_EQ(reader.presentedViewController(), popup);
        EXPECT_EQ(reader.activeMode(), ReaderActiveModeFillInBlank);
        picture(step);
        ASSERT_TRUE(uitest::tapOutsidePopover(popup));
        settle();
    }
    // The words of a correct-answer pop-over.
    static std::string popupText(ui::ViewController& popup)
    {
        for (const auto& view : popup.view()->subviews()) {
            if (auto label = std::dynamic_pointer_cast<ui::Label>(view))
                return label->text();
        }
        return {};
    }
    // The page tap after a pop-over went away is the reader's again: the bars come in.
    void expectThePageTapWorks(ReaderViewController& reader)
    {
        EXPECT_FALSE(reader.presentedViewController());
        EXPECT_EQ(reader.activeMode(), ReaderActiveModeNone);
        ASSERT_TRUE(reader.isPlayerActionBarHidden());
        EXPECT_TRUE(testing::showBars(reader)) << "the first page tap after the pop-over was lost";
    }
};

TEST_F(AnswerJourney, OnATabletTheBlanksCorrectAnswerPopoverTappedAwayLeavesThePageTapToTheReader)
{
    auto reader = openWithHandedIn(1051, "rain");
    ASSERT_TRUE(reader);
    auto field = blank(*reader, 105, 1051);
    ASSERT_TRUE(field);
    auto landing = uitest::landOn(*field);
    ASSERT_TRUE(landing) << landing.obstacle;
    EXPECT_FALSE(field->beginEditing()) << "a handed-in answer is not edited again";
    settle();
    expectCorrectAnswerPopoverThenTapAway(*reader, "blank-correct-answer");
    expectThePageTapWorks(*reader);
}

TEST_F(AnswerJourney, OnATabletTheDropDownsCorrectAnswerPopoverTappedAwayLeavesThePageTapToTheReader)
{
    // "cools" is the right choice.
    auto reader = openWithHandedIn(1052, "warms");
    ASSERT_TRUE(reader);
    auto box = markup(*reader, 105, 1052);
    ASSERT_TRUE(box);
    ASSERT_TRUE(testing::tapMarkup(*box));
    settle();
    EXPECT_FALSE(reader->interactiveContent().answers().linkDropDownController()) << "a handed-in choice is final";
    expectCorrectAnswerPopoverThenTapAway(*reader, "drop-down-correct-answer");
    expectThePageTapWorks(*reader);
}

// What a learner sees of a handed-in choice with instant feedback: a right one in green that
// a tap leaves alone, a wrong one in red whose tap shows the right choice.
TEST_F(AnswerJourney, OnATabletARightChoiceIsGreenAndATapLeavesItAlone)
{
    auto reader = openWithHandedIn(1052, "cools");
    ASSERT_TRUE(reader);
    auto box = markup(*reader, 105, 1052);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->currentTitle().rfind("cools", 0), 0u) << box->currentTitle();
    EXPECT_EQ(box->currentTitleColor(), answers::systemGreen());
    picture("right-choice");
    ASSERT_TRUE(testing::tapMarkup(*box));
    settle();
    EXPECT_FALSE(reader->interactiveContent().answers().fibAnswerViewController()) << "a right choice shows no correction";
    EXPECT_FALSE(reader->presentedViewController());
}

TEST_F(AnswerJourney, OnATabletAWrongChoiceIsRedAndATapShowsTheRightOne)
{
    auto reader = openWithHandedIn(1052, "warms");
    ASSERT_TRUE(reader);
    auto box = markup(*reader, 105, 1052);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->currentTitle().rfind("warms", 0), 0u) << box->currentTitle();
    EXPECT_EQ(box->currentTitleColor(), answers::systemRed());
    picture("wrong-choice");
    ASSERT_TRUE(testing::tapMarkup(*box));
    settle();
    auto popup = reader->interactiveContent().answers().fibAnswerViewController();
    ASSERT_TRUE(popup) << "a wrong choice shows the right one";
    EXPECT_NE(popupText(*popup).find("cools"), std::string::npos) << popupText(*popup);
    expectCorrectAnswerPopoverThenTapAway(*reader, "wrong-choice-corrected");
    expectThePageTapWorks(*reader);
}

// A handed-in blank answered wrongly shows the accepted answers when tapped.
TEST_F(AnswerJourney, OnATabletAWrongBlankShowsTheAcceptedAnswers)
{
    auto reader = openWithHandedIn(1051, "rain");
    ASSERT_TRUE(reader);
    auto field = blank(*reader, 105, 1051);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->textField()->text(), "rain");
    auto landing = uitest::landOn(*field);
    ASSERT_TRUE(landing) << landing.obstacle;
    EXPECT_FALSE(field->beginEditing()) << "a handed-in answer is not edited again";
    settle();
    auto popup = reader->interactiveContent().answers().fibAnswerViewController();
    ASSERT_TRUE(popup);
    EXPECT_NE(popupText(*popup).find("full | heavy"), std::string::npos) << popupText(*popup);
    for (const auto& view : popup->view()->subviews())
        EXPECT_TRUE(popup->view()->bounds().contains(view->frame())) << "the answers run off their pop-over";
    expectCorrectAnswerPopoverThenTapAway(*reader, "wrong-blank-corrected");
    expectThePageTapWorks(*reader);
}

} // namespace

} // namespace lectoro::journeys
