#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

using namespace NSStringExpanded;

base::Date utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, double fraction = 0)
{
    base::CivilTime civil;
    civil.year = year;
    civil.month = month;
    civil.day = day;
    civil.hour = hour;
    civil.minute = minute;
    civil.second = second;
    civil.fraction = fraction;
    return *base::dateFromCivilTime(civil);
}

TEST(NSStringExpandedTest, Containment)
{
    struct Case {
        const char* receiver;
        const char* argument;
        bool expected;
    };
    const Case cases[] = {
        { "Bookmark", "MARK", true },
        { "Bookmark", "", false },
        { "", "", false },
        { "Straße", "STRASSE", false },
        { "ÉCOLE", "école", true },
        { "abc", "abcd", false },
    };
    for (auto& c : cases)
        EXPECT_EQ(containsString(c.receiver, c.argument), c.expected) << c.receiver << " / " << c.argument;
    EXPECT_TRUE(isEqualToStringIgnoreCase("Teal", "tEAL"));
    EXPECT_FALSE(isEqualToStringIgnoreCase("Teal ", "teal"));
}

TEST(NSStringExpandedTest, IntegersGetTwoDigits)
{
    EXPECT_EQ(stringFromInteger(0), "00");
    EXPECT_EQ(stringFromInteger(7), "07");
    EXPECT_EQ(stringFromInteger(12), "12");
    EXPECT_EQ(stringFromInteger(100), "100");
}

TEST(NSStringExpandedTest, StoredDatesUseTheCalendarYear)
{
    // In the last days of December the week-based year is already the next one.
    EXPECT_EQ(stringFromUTCDate(utc(2024, 12, 30, 13, 5, 9, 0.25)), "2024-12-30 13:05:09.250");
    EXPECT_EQ(stringFromUTCDate(utc(2021, 1, 1)), "2021-01-01 00:00:00.000");
    EXPECT_EQ(utcDateFromString("2024-12-30 13:05:09.250"), utc(2024, 12, 30, 13, 5, 9, 0.25));
    EXPECT_EQ(utcDateFromString("2024-12-30 13:05:09"), utc(2024, 12, 30, 13, 5, 9));
    EXPECT_EQ(formatedString("2024-12-30 13:05:09"), utc(2024, 12, 30, 13, 5, 9));
    EXPECT_FALSE(utcDateFromString("30/12/2024").has_value());
    EXPECT_EQ(formattedDateFromString("2020-02-29 10:00:00.500"), utc(2020, 2, 29, 10, 0, 0, 0.5));
    EXPECT_EQ(formattedDateFromString("2020-02-29 10:00:00"), utc(2020, 2, 29, 10));
    EXPECT_EQ(utcDateFromStringForGMTTimeZone("Mon, 30 Dec 2024 13:05:09 +0000"), utc(2024, 12, 30, 13, 5, 9));
}

TEST(NSStringExpandedTest, DisplayDates)
{
    base::Clock::setLocalTimeZoneOffset(3600);
    EXPECT_EQ(formattedLocalStringFromDate(utc(2024, 12, 30, 13, 5)), "02:05 PM 30 December 2024");
    EXPECT_EQ(formattedMonthFirstDateString(utc(2024, 5, 3, 9, 7)), "May 3, 2024, 10:07 AM");
    base::Clock::setLocalTimeZoneOffset(0);
}

TEST(NSStringExpandedTest, NumbersAndMail)
{
    EXPECT_EQ(numberValue("42"), 42.0);
    EXPECT_EQ(numberValue(" 1,234.5 "), 1234.5);
    EXPECT_FALSE(numberValue("12abc").has_value());
    EXPECT_FALSE(numberValue("").has_value());

    const std::pair<const char*, bool> mails[] = {
        { "reader@example.com", true },
        { "first.last@sub.example.org", true },
        { "UPPER@EXAMPLE.COM", true },
        { "", false },
        { "no-at.example.com", false },
        { "a@b", false },
        { "a@b.c", false },
        { "a b@example.com", false },
    };
    for (auto& [mail, expected] : mails)
        EXPECT_EQ(isValideMailId(mail), expected) << mail;
}

TEST(NSStringExpandedTest, LocalisedDateTexts)
{
    testing::FoundationScope scope;
    base::Bundle::setLibraryBundlePath(LECTORO_TESTS_DIR "/foundation/fixtures/LanguageBundle");
    base::Bundle::library().setLanguage("fr");
    EXPECT_EQ(getLocalizedStringForDateString("10:15 AM 03 May 2024"), "10:15 AM 03 mai 2024");
    // Only the first month found is replaced.
    EXPECT_EQ(getLocalizedStringForDateString("March or May"), "mars or May");
    EXPECT_EQ(getLocalizedStringForDateString("10:15 AM"), "10:15 AM");

    NumberLocalizationHandler::setLanguage("ar");
    EXPECT_EQ(getLocalizedStringForDateString("10 May"), "\u0661\u0660 mai");
    NumberLocalizationHandler::setLanguage("en");
}

} // namespace
} // namespace lectoro
