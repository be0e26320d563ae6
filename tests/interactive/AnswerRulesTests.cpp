// The rules of answers, players and web markups that need no views, by tables.

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/interactive/MarkupTexts.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

using Items = std::optional<std::vector<std::string>>;

TEST(AnswerRules, DropDownItemsFromEveryFormTheBooksWrite)
{
    struct Case {
        const char* name;
        std::string properties;
        Items expected;
    };
    const Case cases[] = {
        { "plain list keeps order and empty parts", "<activity><items>a,,b</items></activity>",
            Items { { "Select", "a", "", "b" } } },
        { "escaped brackets", "&lt;activity&gt;&lt;items&gt;up,down&lt;/items&gt;&lt;/activity&gt;",
            Items { { "Select", "up", "down" } } },
        { "percent-escaped", "%3Cactivity%3E%3Citems%3Ewarm%2Ccold%3C%2Fitems%3E%3C%2Factivity%3E",
            Items { { "Select", "warm", "cold" } } },
        { "one node", "<activity><items><node><nodeName>only</nodeName></node></items></activity>",
            Items { { "Select", "only" } } },
        { "several nodes",
            "<activity><items><node><nodeName>x</nodeName></node><node><nodeName>y</nodeName></node></"
            "items></activity>",
            Items { { "Select", "x", "y" } } },
        { "items without nodes", "<activity><items><other>z</other></items></activity>",
            Items { { "Select" } } },
        { "no items", "<activity><title>t</title></activity>", Items { std::vector<std::string> {} } },
        { "not XML", "<activity><items>a,b</activity>", std::nullopt },
        // The bytes are UTF-8 whatever the fragment's own declaration says.
        { "UTF-8 text under a Latin-1 declaration",
            "<activity><items>caf\xc3\xa9,na\xc3\xafve</items></activity>",
            Items { { "Select", "caf\xc3\xa9", "na\xc3\xafve" } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answers::dropDownItems(c.properties, "Select"), c.expected);
    }
}

TEST(AnswerRules, CaseMattersOnlyForCaseSensitiveDropDowns)
{
    struct Case {
        int32_t type;
        bool caseSensitive;
        const char* entered;
        bool correct;
    };
    const Case cases[] = {
        { 13, true, "Cools", false },
        { 13, true, "cools", true },
        { 13, false, "COOLS", true },
        { 5, true, "COOLS", true },
        { 5, false, "warms", false },
    };
    for (const auto& c : cases) {
        PXLinkVO link;
        link.linkType = c.type;
        link.isCaseSenstive = c.caseSensitive;
        link.answer = "cools";
        EXPECT_EQ(answers::isAnswerCorrect(link, c.entered), c.correct) << c.type << " " << c.entered;
    }
}

TEST(AnswerRules, CorrectAnswerTextJoinsAcceptedAnswers)
{
    EXPECT_EQ(
        answers::correctAnswerText("Incorrect answer: ", std::string("a##b")), "Incorrect answer: a | b");
    EXPECT_EQ(answers::correctAnswerText("Incorrect answer: ", std::string("one")), "Incorrect answer: one");
    EXPECT_EQ(answers::correctAnswerText("Label", std::nullopt), "Label ");
}

TEST(AnswerRules, PageLiftsSoTheFieldStaysThirtyPointsAboveTheKeyboard)
{
    struct Case {
        const char* name;
        ui::Rect field;
        std::optional<double> lift;
    };
    // A renderer 768 × 1024 with a keyboard 300 high: its top edge is at 724.
    const Case cases[] = {
        { "field over the keyboard's edge", { 100, 700, 200, 24 }, 30.0 },
        { "bottom edge exactly on the keyboard", { 100, 690, 200, 34 }, 30.0 },
        { "field inside the keyboard", { 100, 800, 200, 24 }, 130.0 },
        { "field above the keyboard", { 100, 600, 200, 24 }, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answers::keyboardLift({ 768, 1024 }, 300, c.field), c.lift);
    }
}

TEST(AnswerRules, EquationButtonStandsAtTheBottomRightAboveTheKeyboard)
{
    EXPECT_EQ(answers::equationButtonFrame({ 375, 600 }, 260, 0, false), (ui::Rect { 330, 295, 45, 45 }));
    EXPECT_EQ(answers::equationButtonFrame({ 375, 600 }, 260, 10, false), (ui::Rect { 330, 305, 45, 45 }));
    EXPECT_EQ(answers::equationButtonFrame({ 1024, 768 }, 400, 0, true), (ui::Rect { 949, 293, 75, 75 }));

    PXLinkVO link;
    link.boxTansformedRect = { 10, 120.5, 100, 30 };
    EXPECT_EQ(answers::equationKeyboardPosY(link, true), "120.500000px");
    EXPECT_EQ(answers::equationKeyboardPosY(link, false), "2px");
}

TEST(AnswerRules, DropDownFeedbackColoursByHandInCorrectnessAndTeacherMarking)
{
    auto hex = [](const char* text) { return *UIColorExpanded::colorWithHexString(text); };
    struct Case {
        const char* name;
        bool instant;
        bool submitted;
        int review;
        bool teacherView;
        const char* text;
        const char* marking;
        std::optional<answers::DropDownFeedback> expected;
    };
    const Case cases[] = {
        { "not handed in", true, false, 0, false, "cools", "", std::nullopt },
        { "right", true, true, 0, false, "cools", "",
            answers::DropDownFeedback { answers::systemGreen(), std::nullopt } },
        { "wrong", true, true, 0, false, "warms", "",
            answers::DropDownFeedback { answers::systemRed(), std::nullopt } },
        { "no instant feedback", false, true, 0, false, "warms", "",
            answers::DropDownFeedback { ui::Color::lightGray(), std::nullopt } },
        { "wrong, marked incorrect", true, true, 0, false, "warms", "incorrect",
            answers::DropDownFeedback { hex("#870000"), hex("#ff4a54") } },
        { "right, marked incorrect", true, true, 0, false, "cools", "incorrect",
            answers::DropDownFeedback { hex("#006400"), hex("#ff4a54") } },
        { "right, marked correct", true, true, 0, false, "cools", "correct",
            answers::DropDownFeedback { hex("#006400"), hex("#00FF00") } },
        { "teacher view of an unreviewed answer", true, false, 0, true, "warms", "",
            answers::DropDownFeedback { answers::systemRed(), std::nullopt } },
        { "teacher view of a reviewed answer", true, true, 1, true, "warms", "", std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PXLinkVO link;
        link.linkType = 13;
        link.answer = "cools";
        link.isInstantFeedback = c.instant;
        SDKFIBVO fib;
        fib.isSubmitted = c.submitted;
        fib.review = c.review;
        fib.text = c.text;
        fib.answerStatus = c.marking;
        auto feedback = answers::dropDownFeedback(link, fib, c.teacherView);
        ASSERT_EQ(feedback.has_value(), c.expected.has_value());
        if (!feedback)
            continue;
        EXPECT_EQ(feedback->titleColor, c.expected->titleColor);
        EXPECT_EQ(feedback->background, c.expected->background);
    }
}

TEST(AnswerRules, EquationColourFollowsSubmissionAndCorrectness)
{
    PXLinkVO link;
    link.linkType = 5;
    link.answer = "x=2##x = 2";
    SDKFIBVO fib;
    fib.text = "X = 2";
    const ui::Color themed = ui::Color::blue();
    EXPECT_EQ(answers::equationColour(link, fib, themed), themed);
    fib.isSubmitted = true;
    EXPECT_EQ(answers::equationColour(link, fib, themed), answers::systemGray());
    link.isInstantFeedback = true;
    // The accepted answers are one text joined by "##"; only that whole text is right.
    EXPECT_EQ(answers::equationColour(link, fib, themed), answers::systemRed());
    fib.text = "X=2##X = 2";
    EXPECT_EQ(answers::equationColour(link, fib, themed), answers::systemGreen());
}

TEST(AnswerRules, ReviewedDropDownAnswerIsTheGreatestServerIdAsANumber)
{
    auto answer = [](int64_t link, const char* id) {
        auto fib = std::make_shared<SDKFIBVO>();
        fib->linkID = link;
        fib->ugcID = id;
        return fib;
    };
    std::vector<std::shared_ptr<SDKFIBVO>> answers { answer(7, "9"), answer(7, "10"), answer(8, "99"),
        answer(7, "-1") };
    // Compared as text "9" would win over "10".
    EXPECT_EQ(answers::reviewedAnswerForLink(answers, 7)->ugcID, "10");
    EXPECT_EQ(answers::reviewedAnswerForLink(answers, 8)->ugcID, "99");
    EXPECT_EQ(answers::reviewedAnswerForLink(answers, 5), nullptr);
    EXPECT_EQ(answers::reviewedAnswerForLink({ answer(7, "draft"), answer(7, "3") }, 7)->ugcID, "3");
}

TEST(MarkupTexts, CaptionsSplitAtTheFirstSeparator)
{
    using Captions = std::vector<std::string>;
    struct Case {
        std::vector<std::string> properties;
        Captions expected;
    };
    const Case cases[] = {
        { { "captions:1=A#$#2=B" }, { "A", "B" } },
        { { "captions:1=Time: 5 = five" }, { "Time: 5 = five" } },
        { { "title:x", "captions:1=A#$#no caption#$#3=C" }, { "A", "C" } },
        { { "captionsA", "caption:1=A" }, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(imageCaptions(c.properties), c.expected) << c.properties.front();
}

TEST(MarkupTexts, InstructionTextKeepsEverythingAfterItsFirstColon)
{
    EXPECT_EQ(instructionText("title:Tip;instruction:Compare: snow and rain"), "Compare: snow and rain");
    EXPECT_EQ(instructionText("instruction:first;instruction:second"), "second");
    EXPECT_EQ(instructionText("title:Tip"), "");
    EXPECT_EQ(instructionText("instruction"), "");
    EXPECT_EQ(webPackageFolder("file:///b/pkg/index.html"), "file:///b/pkg");
}

} // namespace
} // namespace lectoro
