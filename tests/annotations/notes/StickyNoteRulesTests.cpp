#include "LectoroSDKWithReader/annotations/notes/StickyNoteRules.h"

#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

using namespace StickyNoteRules;

// "😀" is one character of two UTF-16 units.
const std::string noteRulesEmoji = "\xF0\x9F\x98\x80";

TEST(StickyNoteRules, NoteLimitCountsUtf16UnitsAndRefusesAnEditThatPassesIt)
{
    const std::string full(820, 'a');
    const std::string withEmoji = std::string(818, 'a') + noteRulesEmoji;
    struct Case {
        const char* name;
        std::string current;
        base::Range range;
        std::string replacement;
        size_t length;
        bool accepted;
    };
    const Case cases[] = {
        { "one more at 820", full, { 820, 0 }, "b", 821, false },
        { "replacing one at 820", full, { 0, 1 }, "b", 820, true },
        { "an emoji counts two", std::string(818, 'a'), { 818, 0 }, noteRulesEmoji, 820, true },
        { "an emoji at 819 passes", std::string(819, 'a'), { 819, 0 }, noteRulesEmoji, 821, false },
        { "a text with an emoji is full at 820", withEmoji, { 820, 0 }, "b", 821, false },
        { "a paste over the limit is refused whole", std::string(800, 'a'), { 800, 0 }, std::string(30, 'p'),
            830, false },
        { "deleting from a full note", full, { 10, 5 }, "", 815, true },
        { "a range past the text counts what it covers", "abc", { 2, 10 }, "", 2, true },
    };
    for (const auto& c : cases) {
        size_t length = proposedNoteLength(c.current, c.range, c.replacement);
        EXPECT_EQ(length, c.length) << c.name;
        EXPECT_EQ(acceptsNoteLength(length), c.accepted) << c.name;
    }
}

TEST(StickyNoteRules, CommentCountIsTrimmedAndNeverBelowZero)
{
    struct Case {
        const char* name;
        std::string current;
        base::Range range;
        std::string replacement;
        size_t count;
    };
    const Case cases[] = {
        { "spaces at the ends do not count", "  hi  ", { 6, 0 }, "x", 3 },
        { "a single space counts one", "", { 0, 0 }, " ", 1 },
        { "deleting trailing blanks longer than the trimmed text stops at 0", "a     ", { 0, 6 }, "", 0 },
        { "deleting everything", "hello", { 0, 5 }, "", 0 },
        { "250 then one more", std::string(250, 'c'), { 250, 0 }, "d", 251 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(proposedCommentCount(c.current, c.range, c.replacement), c.count) << c.name;
    EXPECT_TRUE(acceptsCommentCount(250));
    EXPECT_FALSE(acceptsCommentCount(251));
}

TEST(StickyNoteRules, DictationAddsAfterASpaceAndClipsAtAWholeCharacter)
{
    EXPECT_EQ(dictatedText("", "hello", noteTextLimit), "hello");
    EXPECT_EQ(dictatedText("plant", "cell", noteTextLimit), "plant cell");
    // 818 units and a space leave one unit: the emoji (two units) does not fit and is not split.
    std::string clipped = dictatedText(std::string(818, 'a'), noteRulesEmoji + "b", noteTextLimit);
    EXPECT_EQ(clipped, std::string(818, 'a') + " ");
    EXPECT_TRUE(base::isValidUtf8(clipped));
    std::string comment = dictatedText(std::string(240, 'c'), std::string(40, 'd'), commentTextLimit);
    EXPECT_EQ(base::utf16Length(comment), commentTextLimit);
}

TEST(StickyNoteRules, ACommentCarriesItsPosterAndTheCalendarYear)
{
    auto user = LectoroUser::create();
    user->userID = "42";
    user->firstName = "Ada";
    user->lastName = "Fennick";
    // 30 December 2024 falls in the first week of 2025: the week-based year would say 2025.
    auto date = base::dateFromCivilTime(base::CivilTime { 2024, 12, 30, 9, 15, 0, 0.5 });
    ASSERT_TRUE(date);
    auto comment = makeComment("  my words ", *user, *date);
    EXPECT_EQ(comment["Text"].asString(), "  my words ");
    EXPECT_EQ(comment["UserID"].asString(), "42");
    EXPECT_EQ(comment["DisplayName"].asString(), "Ada Fennick");
    EXPECT_EQ(comment["Date"].asString(), "2024-12-30 09:15:00.500");
}

TEST(StickyNoteRules, OwnCommentComparesNumbersAsNumbersAndOtherIdsAsText)
{
    struct Case {
        std::string user;
        base::Value comment;
        bool own;
    };
    const Case cases[] = {
        { "42", base::Value("42"), true },
        { "42", base::Value("42.0"), true },
        { "42.0", base::Value(42), true },
        { "42", base::Value(43), false },
        // Non-numeric ids are never equal merely because neither is a number.
        { "abc", base::Value("xyz"), false },
        { "abc", base::Value("abc"), true },
        { "42", base::Value("42abc"), false },
        { "", base::Value(""), false },
        { "9007199254740993", base::Value("9007199254740992"), false },
        { "7", base::Value(), false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(isOwnComment(c.user, c.comment), c.own) << c.user << " / " << c.comment.description();
}

TEST(StickyNoteRules, CommentTimeWithoutADateIsJustNowAndABrokenDateShowsNothing)
{
    base::Value::Dictionary undated;
    undated.set("Text", "hi");
    EXPECT_FALSE(commentTimeText(base::Value(undated)).empty());
    base::Value::Dictionary broken;
    broken.set("Date", "yesterday");
    EXPECT_EQ(commentTimeText(base::Value(broken)), "");
}

TEST(StickyNoteRules, BoxAndThreadLayouts)
{
    // With a box the passage stops at 140; without one at half the card.
    auto boxed = boxLayout(58.0, true, 300.0, 500.0);
    EXPECT_EQ(boxed.passage, 140.0);
    EXPECT_EQ(boxed.note, 500.0 - 58.0 - 24.0 - 140.0);
    auto open = boxLayout(0.0, true, 300.0, 500.0);
    EXPECT_EQ(open.passage, 250.0);
    EXPECT_EQ(open.note, 500.0 - 24.0 - 250.0);
    auto sticky = boxLayout(0.0, false, 300.0, 500.0);
    EXPECT_EQ(sticky.passage, 0.0);
    EXPECT_TRUE(sticky.gapAboveNoteClosed);

    struct Case {
        bool passage;
        double passageContent;
        double noteContent;
        double passageArea;
        double noteArea;
    };
    const Case cases[] = {
        { true, 50, 86, 71, 180 },
        { true, 200, 85, 140, 109 },
        { false, 200, 166, 0, 260 },
        { false, 200, 165, 0, 189 },
    };
    for (const auto& c : cases) {
        auto areas = threadLayout(c.passage, c.passageContent, c.noteContent);
        EXPECT_EQ(areas.passage, c.passageArea);
        EXPECT_EQ(areas.note, c.noteArea);
    }
}

TEST(StickyNoteRules, PadKeyboardLayouts)
{
    auto portrait = padNoteKeyboardLayout(false, true, 100.0);
    EXPECT_EQ(portrait.cardHeight, 400.0);
    EXPECT_EQ(portrait.passage, 70.0);
    EXPECT_EQ(portrait.note, 330.0);
    auto shortPassage = padNoteKeyboardLayout(false, true, 30.0);
    EXPECT_EQ(shortPassage.passage, 51.0);
    EXPECT_EQ(shortPassage.note, 349.0);
    auto landscape = padNoteKeyboardLayout(true, true, 100.0);
    EXPECT_EQ(landscape.passage, 36.0);
    EXPECT_FALSE(landscape.note);
    auto sticky = padNoteKeyboardLayout(false, false, 100.0);
    EXPECT_FALSE(sticky.passage);
    EXPECT_FALSE(sticky.note);

    auto thread = padThreadKeyboardLayout(true, 100.0, 97.0);
    EXPECT_EQ(thread.passage, 90.0);
    EXPECT_EQ(thread.note, 120.0);
    EXPECT_EQ(padThreadKeyboardLayout(true, 10.0, 96.0).note, 120.0);
    EXPECT_EQ(padThreadKeyboardLayout(true, 10.0, 96.0).passage, 31.0);
}

TEST(StickyNoteRules, PhoneKeyboardKeepsTheHomeIndicatorOnA812PointScreen)
{
    struct Case {
        double screenHeight;
        bool landscape;
        bool commentField;
        double bottom;
    };
    const Case cases[] = {
        { 812, false, false, 300 - 34 },
        { 812, true, false, 300 - 34 },
        { 812, false, true, 300 - 34 },
        { 812, true, true, 300 },
        { 667, false, false, 300 },
        { 896, false, true, 300 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(phoneCardBottomDistance(300, c.screenHeight, c.landscape, c.commentField), c.bottom)
            << c.screenHeight << " " << c.landscape << " " << c.commentField;

    auto note = phoneNoteKeyboardLayout(false, true, 400.0, 300.0);
    EXPECT_EQ(note.passage, 150.0);
    EXPECT_EQ(note.note, 300.0 - 24.0 - 150.0);
    EXPECT_EQ(phoneNoteKeyboardLayout(true, true, 400.0, 300.0).passage, 0.0);

    auto emptyThread = phoneCommentKeyboardLayout(false, true, true, 400.0, 50.0, 300.0);
    EXPECT_EQ(emptyThread.passage, 70.0);
    EXPECT_EQ(emptyThread.note, 300.0 - 70.0 - 54.0);
    auto thread = phoneCommentKeyboardLayout(false, true, false, 400.0, 50.0, 300.0);
    EXPECT_EQ(thread.passage, 90.0);
    EXPECT_EQ(thread.note, 74.0);
    auto sideways = phoneCommentKeyboardLayout(true, true, false, 400.0, 50.0, 300.0);
    EXPECT_EQ(sideways.passage, 0.0);
    EXPECT_EQ(sideways.note, 0.0);
}

} // namespace
} // namespace lectoro
