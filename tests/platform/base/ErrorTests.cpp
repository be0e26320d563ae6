#include "platform/base/Error.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorTest, LocalizedDescription)
{
    EXPECT_EQ(base::Error::make("Reader", 103, "Session expired").localizedDescription(), "Session expired");
    const base::Error plain { "LectoroService", 401, base::Value() };
    EXPECT_EQ(plain.localizedDescription(), "The operation couldn\u2019t be completed. (LectoroService error 401.)");
    EXPECT_TRUE(base::Error::make("d", 1).userInfo.isNull());
}

TEST(ErrorTest, ResultHoldsOneSide)
{
    base::Result<int> good(5);
    ASSERT_TRUE(good);
    EXPECT_EQ(*good, 5);
    EXPECT_EQ(good.valueOr(1), 5);

    base::Result<int> bad(base::Error::make("d", 2, "no"));
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().code, 2);
    EXPECT_EQ(bad.valueOr(1), 1);
    EXPECT_THROW(bad.value(), std::bad_variant_access);

    base::Result<void> done;
    EXPECT_TRUE(done.ok());
    base::Result<void> failed(base::Error { "d", 3, base::Value() });
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error().code, 3);
}

} // namespace
