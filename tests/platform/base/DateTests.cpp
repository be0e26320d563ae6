#include "platform/base/Date.h"

#include <cmath>
#include <gtest/gtest.h>

using base::Clock;
using base::Date;
using base::DateFormatter;
using base::TimeZone;

namespace {

constexpr double dec30At080509 = 1735545909; // Monday 2024-12-30 08:05:09 UTC
constexpr double dec29 = 1735430400; // Sunday 2024-12-29 00:00:00 UTC
constexpr double jan1st2021 = 1609459200; // Friday 2021-01-01 00:00:00 UTC

// The clock is process-wide: every test leaves it as it found it.
class DateTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        Clock::setNowForTesting(std::nullopt);
        Clock::setLocalTimeZoneOffset(0);
        Clock::setLocaleIdentifier("en_US_POSIX");
    }
};

std::string formatted(const char* pattern, double seconds, int offset = 0, const char* locale = "en_US_POSIX")
{
    DateFormatter formatter(pattern);
    formatter.setTimeZone(TimeZone::fixed(offset));
    formatter.setLocaleIdentifier(locale);
    return formatter.string(Date { seconds });
}

TEST_F(DateTest, FormatsPatterns)
{
    struct Case {
        const char* pattern;
        double seconds;
        int offset;
        const char* expected;
    };
    const Case cases[] = {
        { "yyyy-MM-dd HH:mm:ss.SSS", dec30At080509 + 0.123, 0, "2024-12-30 08:05:09.123" },
        { "yyyy-MM-dd HH:mm:ss.SSS", dec30At080509 + 0.9999, 0, "2024-12-30 08:05:09.999" },
        { "yyyy-MM-dd'T'HH:mm:ss", dec30At080509, 0, "2024-12-30T08:05:09" },
        { "yy M/d H:m:s", dec30At080509, 0, "24 12/30 8:5:9" },
        { "y", dec30At080509, 0, "2024" },
        { "MMM d, yyyy, hh:mm a", dec30At080509, 0, "Dec 30, 2024, 08:05 AM" },
        { "MMM d, yyyy, hh:mm a", dec30At080509 + 12 * 3600, 0, "Dec 30, 2024, 08:05 PM" },
        { "hh:mm a", dec29, 0, "12:00 AM" },
        { "hh:mm a", dec29 + 12 * 3600, 0, "12:00 PM" },
        { "h a", dec29 + 13 * 3600, 0, "1 PM" },
        { "hh:mm a dd MMMM yyyy", dec30At080509, 0, "08:05 AM 30 December 2024" },
        { "EEE, d MMM yyyy HH:mm:ss Z", dec30At080509, 0, "Mon, 30 Dec 2024 08:05:09 +0000" },
        { "EEE, d MMM yyyy HH:mm:ss Z", dec30At080509, 19800, "Mon, 30 Dec 2024 13:35:09 +0530" },
        { "EEEE d HH:mm ZZZZZ", dec30At080509, -8 * 3600, "Monday 30 00:05 -08:00" },
        { "EEEE d HH:mm ZZZZZ", dec30At080509, -9 * 3600, "Sunday 29 23:05 -09:00" },
        { "ZZZZZ", 0, 0, "Z" },
        { "ZZZZ", 0, 19800, "GMT+05:30" },
        { "ZZZZ", 0, 0, "GMT" },
        { "z", 0, -8 * 3600, "GMT-8" },
        { "h 'o''clock'", dec30At080509, 0, "8 o'clock" },
        { "''yy''", dec30At080509, 0, "'24'" },
        { "yyyy-MM-dd", -1, 0, "1969-12-31" },
        { "yyyy-MM-dd", 951782400, 0, "2000-02-29" },
        { "yyyy-qq", 0, 0, "" }, // unsupported field
        { "'unterminated", 0, 0, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(formatted(c.pattern, c.seconds, c.offset), c.expected);
    }
}

TEST_F(DateTest, WeekBasedYearDiffersFromCalendarYearAroundNewYear)
{
    struct Case {
        const char* name;
        double seconds;
        const char* locale;
        const char* weekYear;
        const char* calendarYear;
    };
    const Case cases[] = {
        { "Monday 30 Dec 2024", dec30At080509, "en_US_POSIX", "2025", "2024" },
        { "Monday 30 Dec 2024, ISO weeks", dec30At080509, "de_DE", "2025", "2024" },
        // Sunday starts the week of 1 January in the US; ISO weeks start on Monday.
        { "Sunday 29 Dec 2024", dec29, "en_US_POSIX", "2025", "2024" },
        { "Sunday 29 Dec 2024, ISO weeks", dec29, "en_GB", "2024", "2024" },
        // 1 January 2021 was a Friday: in ISO week 53 of 2020.
        { "Friday 1 Jan 2021", jan1st2021, "en_US", "2021", "2021" },
        { "Friday 1 Jan 2021, ISO weeks", jan1st2021, "fr-FR", "2020", "2021" },
        { "mid-year", dec30At080509 - 200 * 86400, "en_US_POSIX", "2024", "2024" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(formatted("YYYY", c.seconds, 0, c.locale), c.weekYear);
        EXPECT_EQ(formatted("yyyy", c.seconds, 0, c.locale), c.calendarYear);
    }
    // The service pattern with the week-based year writes a date a year off.
    EXPECT_EQ(formatted("YYYY-MM-dd HH:mm:ss.SSS", dec30At080509), "2025-12-30 08:05:09.000");
}

TEST_F(DateTest, ParsesPatterns)
{
    struct Case {
        const char* pattern;
        const char* text;
        int offset;
        std::optional<double> seconds;
    };
    const Case cases[] = {
        { "yyyy-MM-dd HH:mm:ss.SSS", "2024-12-30 08:05:09.123", 0, dec30At080509 + 0.123 },
        { "yyyy-MM-dd HH:mm:ss", "2024-12-30 08:05:09", 0, dec30At080509 },
        // A week-based year read without a week number is the calendar year.
        { "YYYY-MM-dd HH:mm:ss", "2024-12-30 08:05:09", 0, dec30At080509 },
        { "YYYY-MM-dd HH:mm:ss.SSS", "2024-12-30 08:05:09.5", 0, dec30At080509 + 0.5 },
        { "yyyy-MM-dd HH:mm:ss", "2024-12-30 08:05:09.123", 0, std::nullopt }, // text left over
        { "yyyy-MM-dd HH:mm:ss", "2024-12-30 08:05", 0, std::nullopt },
        { "yyyy-MM-dd", "2024-2-3", 0, 1706918400 },
        { "yyyy-MM-dd", "2024-02-29", 0, 1709164800 },
        { "yyyy-MM-dd", "2023-02-29", 0, std::nullopt },
        { "yyyy-MM-dd", "2024-02-30", 0, std::nullopt },
        { "yyyy-MM-dd", "2024-13-01", 0, std::nullopt },
        { "yyyy-MM-dd", "2024-00-10", 0, std::nullopt },
        { "HH:mm", "24:00", 0, std::nullopt },
        { "HH:mm", "23:60", 0, std::nullopt },
        { "yyyyMMdd", "20241230", 0, 1735516800 },
        { "yyyyMMdd", "202412", 0, std::nullopt },
        { "yyyyMMdd", "2024123", 0, 1733184000 }, // the last field takes what is left
        { "yyyy-MM-dd HH:mm:ss", "2024-12-30 08:05:09", 3600, dec30At080509 - 3600 },
        { "EEE, d MMM yyyy HH:mm:ss Z", "Mon, 30 Dec 2024 08:05:09 +0100", 0, dec30At080509 - 3600 },
        { "EEE, d MMM yyyy HH:mm:ss Z", "Mon, 30 Dec 2024 08:05:09 GMT", 3600, dec30At080509 },
        { "EEE, d MMM yyyy HH:mm:ss Z", "mon, 30 dec 2024 08:05:09 -0000", 0, dec30At080509 },
        { "EEE, d MMM yyyy HH:mm:ss Z", "Xyz, 30 Dec 2024 08:05:09 +0000", 0, std::nullopt },
        { "EEE, d MMM yyyy HH:mm:ss Z", "Mon, 30 Dez 2024 08:05:09 +0000", 0, std::nullopt },
        { "d MMMM yyyy", "30 December 2024", 0, 1735516800 },
        { "yyyy-MM-dd'T'HH:mm:ssZZZZZ", "2024-12-30T08:05:09Z", 0, dec30At080509 },
        { "yyyy-MM-dd'T'HH:mm:ssZZZZZ", "2024-12-30T13:35:09+05:30", 0, dec30At080509 },
        { "yyyy-MM-dd'T'HH:mm:ssZZZZZ", "2024-12-30T13:35:09+25:00", 0, std::nullopt },
        { "hh:mm a", "12:30 AM", 0, 1800 },
        { "hh:mm a", "12:30 pm", 0, 45000 },
        { "hh:mm a", "01:30 PM", 0, 48600 },
        { "hh:mm a", "13:30 PM", 0, std::nullopt },
        { "hh:mm a dd MMMM yyyy", "08:05 PM 30 December 2024", 0, dec30At080509 - 9 + 12 * 3600 },
        { "yyyy", "", 0, std::nullopt },
        { "yyyy", "abcd", 0, std::nullopt },
        { "yyyy-qq", "2024-01", 0, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " <- " + c.text);
        DateFormatter formatter(c.pattern);
        formatter.setTimeZone(TimeZone::fixed(c.offset));
        const auto date = formatter.date(c.text);
        ASSERT_EQ(date.has_value(), c.seconds.has_value());
        if (date) {
            EXPECT_NEAR(date->timeIntervalSince1970, *c.seconds, 1e-6);
        }
    }
}

TEST_F(DateTest, TwoDigitYearsFallInAWindowAroundNow)
{
    Clock::setNowForTesting(Date { dec30At080509 });
    DateFormatter formatter("yy-MM-dd");
    formatter.setTimeZone(TimeZone::utc());
    DateFormatter year("yyyy");
    year.setTimeZone(TimeZone::utc());
    EXPECT_EQ(year.string(*formatter.date("24-12-30")), "2024");
    EXPECT_EQ(year.string(*formatter.date("30-01-01")), "2030");
    EXPECT_EQ(year.string(*formatter.date("99-01-01")), "1999");
    EXPECT_EQ(year.string(*formatter.date("50-01-01")), "1950");
}

TEST_F(DateTest, ClockNowAndLocalZoneAreInjectable)
{
    EXPECT_GT(Clock::now().timeIntervalSince1970, 1.6e9);
    Clock::setNowForTesting(Date { 42 });
    EXPECT_EQ(Date::now(), Date { 42 });
    Clock::setNowForTesting(std::nullopt);
    EXPECT_GT(Date::now().timeIntervalSince1970, 1.6e9);

    DateFormatter formatter("HH:mm ZZZZZ");
    EXPECT_EQ(formatter.timeZone(), TimeZone::utc());
    EXPECT_EQ(formatter.string(Date { 0 }), "00:00 Z");
    Clock::setLocalTimeZoneOffset(2 * 3600);
    EXPECT_EQ(formatter.string(Date { 0 }), "02:00 +02:00");
    formatter.setTimeZone(TimeZone::utc());
    EXPECT_EQ(formatter.string(Date { 0 }), "00:00 Z");

    Clock::setLocaleIdentifier("de_DE");
    EXPECT_EQ(DateFormatter().localeIdentifier(), "de_DE");
}

TEST_F(DateTest, NamedZones)
{
    EXPECT_EQ(TimeZone::named("GMT"), TimeZone::utc());
    EXPECT_EQ(TimeZone::named("UTC"), TimeZone::utc());
    EXPECT_EQ(TimeZone::named("GMT+2"), TimeZone::fixed(7200));
    EXPECT_EQ(TimeZone::named("UTC-05:30"), TimeZone::fixed(-19800));
    EXPECT_EQ(TimeZone::named("+0100"), TimeZone::fixed(3600));
    EXPECT_FALSE(TimeZone::named("Europe/Paris"));
    EXPECT_FALSE(TimeZone::named("GMT+"));
    EXPECT_FALSE(TimeZone::named(""));
}

TEST_F(DateTest, CivilTimeRoundTripAndArithmetic)
{
    const base::CivilTime t = base::civilTime(Date { dec30At080509 + 0.25 });
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 30);
    EXPECT_EQ(t.hour, 8);
    EXPECT_EQ(t.weekday, 2); // Monday
    EXPECT_DOUBLE_EQ(t.fraction, 0.25);
    EXPECT_EQ(base::dateFromCivilTime(t), Date { dec30At080509 + 0.25 });
    EXPECT_EQ(base::civilTime(Date { -1 }).year, 1969);

    Date d { 10 };
    d += 5;
    EXPECT_EQ(d - Date { 3 }, 12.0);
    EXPECT_LT(Date { 1 }, d);
    EXPECT_EQ(d.addingTimeInterval(-15), Date { 0 });
    // Out-of-range and non-finite instants still give a valid civil time.
    EXPECT_GE(base::civilTime(Date { 1e300 }).month, 1);
    EXPECT_EQ(base::civilTime(Date { std::nan("") }).year, 1970);
}

TEST_F(DateTest, NumberFormatterDecimalStyle)
{
    struct Case {
        int minFraction;
        int maxFraction;
        bool grouping;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        { 0, 3, true, 1234.5, "1,234.5" },
        { 2, 2, true, 1234.5, "1,234.50" },
        { 0, 3, false, 1234567.891, "1234567.891" },
        { 0, 3, true, -1234.5, "-1,234.5" },
        { 0, 0, true, 2.5, "2" }, // half to even
        { 0, 0, true, 3.5, "4" },
        { 0, 2, true, 0.125, "0.12" },
        { 0, 2, true, 0.155, "0.16" }, // rounds the decimal form, not the binary one
        { 0, 3, true, 999.9995, "1,000" },
        { 0, 3, true, -0.0001, "0" },
        { 0, 3, true, 0, "0" },
        { 1, 3, true, 7, "7.0" },
        { 0, 3, true, 1e21, "1,000,000,000,000,000,000,000" },
        { 0, 6, true, 1.5e-5, "0.000015" },
        { 0, 3, true, 100, "100" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        base::NumberFormatter formatter;
        formatter.setMinimumFractionDigits(c.minFraction);
        formatter.setMaximumFractionDigits(c.maxFraction);
        formatter.setUsesGroupingSeparator(c.grouping);
        EXPECT_EQ(formatter.string(c.value), c.expected);
    }
    base::NumberFormatter formatter;
    EXPECT_EQ(formatter.string(int64_t(-1234567)), "-1,234,567");
    formatter.setMinimumFractionDigits(5);
    EXPECT_EQ(formatter.maximumFractionDigits(), 5);
    formatter.setMaximumFractionDigits(1);
    EXPECT_EQ(formatter.minimumFractionDigits(), 1);
}

TEST_F(DateTest, NumberFormatterParsing)
{
    base::NumberFormatter formatter;
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        { "1,234.5", 1234.5 },
        { " 42 ", 42 },
        { "-0.5", -0.5 },
        { "+3", 3 },
        { "1e3", 1000 },
        { ".5", 0.5 },
        { "", std::nullopt },
        { "abc", std::nullopt },
        { "1.2.3", std::nullopt },
        { "12abc", std::nullopt },
        { "-", std::nullopt },
        { ",5", std::nullopt },
        { "1e", std::nullopt },
        { "1e999", std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatter.number(c.text), c.value);
    }
}

} // namespace
