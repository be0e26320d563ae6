// A book's list is made in an arena: its records must behave as records made one by one
// whatever their holders do - keep one alone, let the rest go, let go on another thread -
// across the arena's blocks. Their texts lie in the arena with them, and a text taken out of
// a record must stay readable after the record and its arena are gone.

#include "companion/store/RecordArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using companion::RecordArena;

namespace {

// Large enough that a few thousand fill several blocks, with a text of its own on the heap
// and a stricter alignment than the arena's usual.
struct alignas(64) ArenaRecord {
    explicit ArenaRecord(int number) : number(number), text("record number " + std::to_string(number) + " on the heap") { }
    int number;
    std::string text;
    char rest[400] = {};
};

bool holds(const ArenaRecord& record, int number)
{
    return record.number == number && record.text == "record number " + std::to_string(number) + " on the heap";
}

} // namespace

TEST(RecordArena, RecordsLiveAsLongAsTheirHoldersWhateverBecomesOfTheOthers)
{
    constexpr int count = 12000; // about 6 MB: the first block and several more
    std::vector<std::shared_ptr<ArenaRecord>> records;
    {
        auto arena = RecordArena::make();
        for (int number = 0; number < count; ++number)
            records.push_back(arena->makeShared<ArenaRecord>(number));
    }
    for (int number = 0; number < count; ++number) {
        ASSERT_EQ(reinterpret_cast<uintptr_t>(records[number].get()) % alignof(ArenaRecord), 0u) << number;
        ASSERT_TRUE(holds(*records[number], number)) << number;
    }

    // One from the first block, one from the middle and the last stay; the rest go, some
    // on another thread.
    auto first = records[3];
    auto middle = records[count / 2];
    auto last = records.back();
    std::vector<std::shared_ptr<ArenaRecord>> elsewhere(records.begin(), records.begin() + count / 3);
    records.clear();
    std::thread([dropped = std::move(elsewhere)]() mutable { dropped.clear(); }).join();
    EXPECT_TRUE(holds(*first, 3));
    EXPECT_TRUE(holds(*middle, count / 2));
    middle->text += ", changed by its holder";
    EXPECT_EQ(middle->text, "record number 6000 on the heap, changed by its holder");

    first.reset();
    middle.reset();
    std::thread([held = std::move(last)]() mutable {
        EXPECT_TRUE(holds(*held, count - 1));
        held.reset();
    }).join();
}

TEST(RecordArena, ARecordLargerThanABlockGetsABlockOfItsOwn)
{
    struct Large {
        char bytes[3 * 1024 * 1024];
    };
    auto arena = RecordArena::make();
    auto small = arena->makeShared<ArenaRecord>(1);
    auto large = arena->makeShared<Large>();
    large->bytes[sizeof(large->bytes) - 1] = 'z';
    auto after = arena->makeShared<ArenaRecord>(2);
    EXPECT_EQ(large->bytes[sizeof(large->bytes) - 1], 'z');
    EXPECT_TRUE(holds(*small, 1));
    EXPECT_TRUE(holds(*after, 2));
}

// --- A record's texts (lectoro::UGCText) ---

using lectoro::UGCText;

namespace {

// A record made in an arena with a text placed beside it, as the store makes a list's.
struct TextRecord {
    UGCText text;
    UGCText other = UGCText::literal("a literal");
};

std::shared_ptr<TextRecord> textRecordIn(RecordArena& arena, std::string_view text)
{
    auto record = arena.makeShared<TextRecord>();
    arena.setText(record->text, text);
    return record;
}

void expectText(const UGCText& text, std::string_view expected)
{
    EXPECT_EQ(text.view(), expected);
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_EQ(text.empty(), expected.empty());
    ASSERT_NE(text.c_str(), nullptr);
    EXPECT_EQ(text.c_str()[text.size()], '\0') << "always NUL-terminated";
    EXPECT_EQ(std::string(text.c_str()), std::string(expected.substr(0, expected.find('\0'))));
}

const char* heldByNoOne = nullptr;

} // namespace

TEST(UGCText, IsMadeFromEveryKindOfTextAndReadsAsIt)
{
    const std::string longer = "a text longer than a std::string keeps in place";
    std::string_view withNul("nul\0inside", 10);
    const struct {
        const char* name;
        UGCText text;
        std::string_view expected;
    } cases[] = {
        { "default", UGCText(), "" },
        { "literal", UGCText::literal("-1"), "-1" },
        { "const char*", UGCText("short"), "short" },
        { "null const char*", UGCText(heldByNoOne), "" },
        { "std::string", UGCText(longer), longer },
        { "empty std::string", UGCText(std::string()), "" },
        { "string_view with a NUL inside", UGCText(withNul), withNul },
        { "copy of an owned text", UGCText(UGCText(longer)), longer },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectText(c.text, c.expected);
        EXPECT_FALSE(c.text.isInArena());
    }

    // Assignment from each kind owns its bytes: the source may go at once.
    UGCText assigned;
    {
        std::string source = longer;
        assigned = source;
        source.assign(source.size(), 'x');
    }
    expectText(assigned, longer);
    assigned = "from a literal";
    expectText(assigned, "from a literal");
    assigned = std::string_view(longer).substr(2, 4);
    expectText(assigned, "text");
    assigned = heldByNoOne;
    expectText(assigned, "");
    assigned = UGCText::literal("-1");
    expectText(assigned, "-1");
    assigned += " and more";
    assigned += '!';
    expectText(assigned, "-1 and more!");
    assigned += assigned.view().substr(0, 2);
    expectText(assigned, "-1 and more!-1");
    assigned.clear();
    expectText(assigned, "");
}

TEST(UGCText, ComparesWithAnyTextEitherWayRound)
{
    const struct {
        std::string_view left, right;
        std::strong_ordering order;
    } cases[] = {
        { "abc", "abc", std::strong_ordering::equal },
        { "abc", "abd", std::strong_ordering::less },
        { "abc", "ab", std::strong_ordering::greater },
        { "", "a", std::strong_ordering::less },
        { "", "", std::strong_ordering::equal },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.left) + " against " + std::string(c.right));
        const UGCText left(c.left);
        const std::string rightString(c.right);
        const UGCText rightText(c.right);
        const bool equal = c.order == std::strong_ordering::equal;
        EXPECT_EQ(left == rightText, equal);
        EXPECT_EQ(left == rightString, equal);
        EXPECT_EQ(rightString == left, equal);
        EXPECT_EQ(left == c.right, equal);
        EXPECT_EQ(c.right == left, equal);
        EXPECT_EQ(left == rightString.c_str(), equal);
        EXPECT_EQ(rightString.c_str() == left, equal);
        EXPECT_EQ(left != rightString, !equal);
        EXPECT_EQ(left <=> rightText, c.order);
        EXPECT_EQ(left <=> rightString, c.order);
        EXPECT_EQ(left <=> c.right, c.order);
        EXPECT_EQ(rightString <=> left, 0 <=> (left <=> rightString));
        EXPECT_EQ(left < rightString, c.order == std::strong_ordering::less);
        EXPECT_EQ(rightString < left, c.order == std::strong_ordering::greater);
        EXPECT_EQ(std::hash<UGCText>()(left), std::hash<std::string>()(std::string(c.left)));
    }
}

TEST(UGCText, ConvertsWhereAStringWasExpected)
{
    const UGCText text("a highlighted passage");
    auto byReference = [](const std::string& value) { return value.size(); };
    auto byView = [](std::string_view value) { return value.size(); };
    EXPECT_EQ(byReference(text), 21u);
    EXPECT_EQ(byView(text), 21u);
    std::string copy = text;
    EXPECT_EQ(copy, "a highlighted passage");
    EXPECT_EQ(text + "!", "a highlighted passage!");
    EXPECT_EQ("> " + text, "> a highlighted passage");
    EXPECT_EQ(std::string("> ") + text + std::string(" <"), "> a highlighted passage <");
    EXPECT_EQ(text + UGCText(" too"), "a highlighted passage too");
    std::string appended = "on: ";
    appended += text;
    EXPECT_EQ(appended, "on: a highlighted passage");
    base::Value value = text;
    EXPECT_EQ(value.asString(), "a highlighted passage");
    std::ostringstream stream;
    stream << text;
    EXPECT_EQ(stream.str(), "a highlighted passage");
    EXPECT_EQ(text.find("passage"), 14u);
    EXPECT_EQ(text.rfind('a'), 18u);
    EXPECT_EQ(text.substr(2, 11), "highlighted");
    EXPECT_TRUE(text.starts_with("a high"));
    EXPECT_TRUE(text.ends_with("sage"));
    EXPECT_EQ(text.front(), 'a');
    EXPECT_EQ(text.back(), 'e');
    EXPECT_EQ(text[2], 'h');
    EXPECT_EQ(std::string(text.begin(), text.end()), "a highlighted passage");
    EXPECT_LT(text.compare("b"), 0);
    EXPECT_EQ(sizeof(UGCText), 16u) << "half a std::string";
}

TEST(UGCText, CopiesAndMovesOwnOrTakeTheirBytes)
{
    const std::string longer = "a text longer than a std::string keeps in place";
    // Moving an owned text takes its bytes; copying one makes new ones.
    UGCText owned(longer);
    const char* bytes = owned.data();
    UGCText copied(owned);
    EXPECT_NE(copied.data(), bytes);
    UGCText moved(std::move(owned));
    EXPECT_EQ(moved.data(), bytes);
    expectText(owned, ""); // NOLINT(bugprone-use-after-move): a moved-from text is empty
    UGCText assignedByMove;
    assignedByMove = std::move(moved);
    EXPECT_EQ(assignedByMove.data(), bytes);
    UGCText& same = assignedByMove;
    assignedByMove = same;
    expectText(assignedByMove, longer);

    // A text placed in an arena is copied on every copy and move: the copy may outlive it.
    auto arena = RecordArena::make();
    auto record = textRecordIn(*arena, longer);
    ASSERT_TRUE(record->text.isInArena());
    expectText(record->text, longer);
    const struct {
        const char* name;
        std::function<UGCText()> make;
    } outOfArena[] = {
        { "copied", [&] { return UGCText(record->text); } },
        { "moved", [&] { return UGCText(std::move(record->text)); } },
        { "copy-assigned", [&] { UGCText text("before"); text = record->text; return text; } },
        { "move-assigned", [&] { UGCText text("before"); text = std::move(record->text); return text; } },
        { "copied with its record", [&] { TextRecord copy = *record; return copy.text; } },
    };
    std::vector<UGCText> kept;
    for (const auto& c : outOfArena) {
        SCOPED_TRACE(c.name);
        kept.push_back(c.make());
        EXPECT_FALSE(kept.back().isInArena());
        EXPECT_NE(kept.back().data(), record->text.data());
        expectText(record->text, longer); // the record keeps its own
    }
    // A literal stays where it is: it lives as long as the process.
    UGCText literalCopy(record->other);
    EXPECT_EQ(literalCopy.data(), record->other.data());

    // The arena, its holder and the record all gone: the copies still read (the address
    // sanitizer would report a read of the arena's blocks, which are poisoned or unmapped).
    record.reset();
    arena.reset();
    for (const auto& text : kept)
        expectText(text, longer);
}

TEST(RecordArena, CopiesOfRecordsTakeTheirTextsIntoTheirOwnArena)
{
    const std::string longer = "a text longer than a std::string keeps in place";
    auto source = std::make_shared<TextRecord>();
    source->text = longer;
    auto arena = RecordArena::make();
    auto copy = arena->makeCopy(*source);
    EXPECT_TRUE(copy->text.isInArena());
    expectText(copy->text, longer);
    EXPECT_FALSE(copy->other.isInArena()) << "a literal is not copied";
    // Copies made after that are the usual owned ones.
    UGCText after(source->text);
    EXPECT_FALSE(after.isInArena());

    // A copy of the arena's record, made after the arena's holder went, owns its texts.
    arena.reset();
    auto again = std::make_shared<TextRecord>(*copy);
    EXPECT_FALSE(again->text.isInArena());
    copy.reset();
    expectText(again->text, longer);
}
