#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"

#include <gtest/gtest.h>

#include <limits>

namespace lectoro {
namespace {

TEST(LaunchRecordsTests, PackagesKeepWhatTheyAreGiven)
{
    LectoroBookPackage plain("/books/42", "42", "978-1");
    EXPECT_EQ(plain.encryptionType, "V2");

    LectoroBookPackage withoutType("/books/42", "42", "978-1", std::nullopt);
    EXPECT_FALSE(withoutType.encryptionType.has_value());

    LectoroBookPackage v1("/books/42", "42", "978-1", std::string("V1"));
    EXPECT_EQ(v1.encryptionType, "V1");

    LectoroAudioBookPackage audio("/books/7", "7", "978-2", "https://covers/7.png");
    EXPECT_EQ(audio.encryptionType, "V2");
    EXPECT_EQ(audio.thumbnailURL, "https://covers/7.png");

    LectoroServiceConfiguration configuration("https://api", "client");
    EXPECT_FALSE(configuration.microServicesBaseURL.has_value());
    LectoroServiceConfiguration full("https://api", "client", std::string("https://micro"));
    EXPECT_EQ(full.microServicesBaseURL, "https://micro");
}

TEST(LaunchRecordsTests, BookIdReadsAsNumber)
{
    struct Case {
        const char* text;
        int64_t as64;
        int32_t as32;
    };
    const Case cases[] = {
        { "42", 42, 42 },
        { "  -7x", -7, -7 },
        { "abc", 0, 0 },
        { "", 0, 0 },
        // Ids past 32 bits stay whole where 64 bits are used; the 32-bit reading saturates
        // rather than wrapping to an unrelated book.
        { "3000000000", 3000000000LL, std::numeric_limits<int32_t>::max() },
        { "99999999999999999999", std::numeric_limits<int64_t>::max(), std::numeric_limits<int32_t>::max() },
    };
    for (const auto& c : cases) {
        LectoroBookPackage package("/p", c.text, "isbn");
        EXPECT_EQ(package.bookIDAsInt64(), c.as64) << c.text;
        EXPECT_EQ(package.bookIDAsInt32(), c.as32) << c.text;
    }
}

} // namespace
} // namespace lectoro
