// A book's list is made in an arena: its records must behave as records made one by one
// whatever their holders do - keep one alone, let the rest go, let go on another thread -
// across the arena's blocks.

#include "companion/store/RecordArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
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
