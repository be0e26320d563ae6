#include "LectoroSDKWithReader/reader/NumericUserId.h"

#include "ReaderTestSupport.h"

namespace lectoro {
namespace {

using NumericUserIdTests = testing::ReaderTest;

TEST_F(NumericUserIdTests, DecimalIdsAreUnchanged)
{
    for (const char* id : { "123", "", "0042", "9223372036854775807" }) {
        auto user = makeUser(id);
        updateUserIDWithNumericValueForLectoroUser(*user);
        EXPECT_EQ(user->userID, id);
        EXPECT_FALSE(defaults().objectForKey(id).has_value()) << id;
    }
}

TEST_F(NumericUserIdTests, OtherIdsGetAStableEpochId)
{
    auto user = makeUser("abc");
    updateUserIDWithNumericValueForLectoroUser(*user);
    EXPECT_EQ(user->userID, "1700000000");
    EXPECT_EQ(defaults().stringForKey("abc"), "1700000000");
    EXPECT_GE(defaults().synchronizeCount(), 1u);

    // A later launch, at another time, finds the same id.
    base::Clock::setNowForTesting(base::Date { fixedNow + 5000 });
    auto again = makeUser("abc");
    updateUserIDWithNumericValueForLectoroUser(*again);
    EXPECT_EQ(again->userID, "1700000000");

    auto other = makeUser("xyz");
    updateUserIDWithNumericValueForLectoroUser(*other);
    EXPECT_EQ(other->userID, "1700005000");
}

TEST_F(NumericUserIdTests, NonAsciiDigitsAreNotTakenAsDecimal)
{
    // Arabic-Indic digits would read as user 0 and share that user's content.
    auto user = makeUser("\xD9\xA1\xD9\xA2\xD9\xA3");
    updateUserIDWithNumericValueForLectoroUser(*user);
    EXPECT_EQ(user->userID, "1700000000");
    EXPECT_TRUE(isDecimalUserId(user->userID));
}

TEST_F(NumericUserIdTests, LargeIdsStaySixtyFourBit)
{
    // Ids of 2^31 and above must not saturate into one another.
    auto a = makeUser("2147483648");
    auto b = makeUser("2147483649");
    EXPECT_EQ(a->numericUserID(), 2147483648LL);
    EXPECT_NE(a->numericUserID(), b->numericUserID());
}

} // namespace
} // namespace lectoro
