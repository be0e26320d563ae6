#pragma once

// Points in time, the injectable clock, and the two formatters the product uses.
//
// "Now", the local time zone and the locale are process-wide and injectable, so that
// anything derived from them (time stamps, analytics, formatted dates) is testable.
// Only the Gregorian calendar and English names exist here.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

struct Date {
    double timeIntervalSince1970 = 0;

    static Date now();
    static Date fromTimeIntervalSince1970(double seconds) { return Date { seconds }; }

    double timeIntervalSince(Date other) const { return timeIntervalSince1970 - other.timeIntervalSince1970; }
    Date addingTimeInterval(double seconds) const { return Date { timeIntervalSince1970 + seconds }; }

    Date operator+(double seconds) const { return addingTimeInterval(seconds); }
    Date operator-(double seconds) const { return addingTimeInterval(-seconds); }
    Date& operator+=(double seconds)
    {
        timeIntervalSince1970 += seconds;
        return *this;
    }
    Date& operator-=(double seconds)
    {
        timeIntervalSince1970 -= seconds;
        return *this;
    }
    double operator-(Date other) const { return timeIntervalSince(other); }

    friend bool operator==(Date a, Date b) { return a.timeIntervalSince1970 == b.timeIntervalSince1970; }
    friend std::partial_ordering operator<=>(Date a, Date b)
    {
        return a.timeIntervalSince1970 <=> b.timeIntervalSince1970;
    }
};

// A fixed offset from UTC. Named zones with daylight saving are out of scope: the product
// only formats in UTC/GMT or the device's zone, which tests inject as a fixed offset.
struct TimeZone {
    int secondsFromGMT = 0;

    static TimeZone utc() { return TimeZone { 0 }; }
    static TimeZone fixed(int secondsFromGMT) { return TimeZone { secondsFromGMT }; }
    // The clock's local zone as it is now.
    static TimeZone local();
    // "UTC", "GMT", "Z", "GMT+2", "UTC-05:30", "+0100", "-08:00"; absent for anything else.
    static std::optional<TimeZone> named(std::string_view);

    friend bool operator==(TimeZone, TimeZone) = default;
};

class Clock {
public:
    // The real time unless a test pinned it.
    static Date now();
    static void setNowForTesting(std::optional<Date>);

    // Seconds east of UTC; 0 unless set.
    static int localTimeZoneOffset();
    static void setLocalTimeZoneOffset(int secondsEastOfUTC);

    // "en_US_POSIX" unless set.
    static std::string localeIdentifier();
    static void setLocaleIdentifier(std::string);
};

// Broken-down civil time, used by the formatters and the plist date reader.
struct CivilTime {
    int64_t year = 1970;
    int month = 1; // 1...12
    int day = 1; // 1...31
    int hour = 0;
    int minute = 0;
    int second = 0;
    double fraction = 0; // 0 <= fraction < 1
    int weekday = 5; // 1 = Sunday ... 7 = Saturday
};

CivilTime civilTime(Date, int secondsFromGMT = 0);
// Absent when a field is out of range (month 13, 30 February, hour 24...).
std::optional<Date> dateFromCivilTime(const CivilTime&, int secondsFromGMT = 0);

// Formats and parses with Unicode date-field patterns: yyyy yy y, YYYY (week-based year),
// MMMM MMM MM M, dd d, HH H, hh h, mm m, ss s, S..., a, EEEE EEE, Z ZZZZ ZZZZZ, quoted
// literals ('T', '' for a quote). Letters outside that set are refused: string() answers
// an empty text and date() absent, so a typo in a pattern shows at once.
//
// Week-based year: the week rules follow the locale as the platform does: for "en_US"
// and "en_US_POSIX" weeks start on Sunday and week 1 is the week holding 1 January; for
// other locales weeks start on Monday and week 1 holds the year's first Thursday (ISO 8601).
// Either way 30 December 2024 formats as 2025 with "YYYY" and 2024 with "yyyy". When
// parsing, a week-based year given without a week number is taken as the calendar year.
class DateFormatter {
public:
    DateFormatter() = default;
    explicit DateFormatter(std::string format) : m_format(std::move(format)) { }

    const std::string& dateFormat() const { return m_format; }
    void setDateFormat(std::string format) { m_format = std::move(format); }

    // The clock's local zone (read at each use) until one is set.
    TimeZone timeZone() const;
    void setTimeZone(TimeZone zone) { m_timeZone = zone; }

    // The clock's locale (read at each use) until one is set.
    std::string localeIdentifier() const;
    void setLocaleIdentifier(std::string id) { m_locale = std::move(id); }

    std::string string(Date) const;
    // The whole text must match the pattern; a date that does not exist is absent.
    std::optional<Date> date(std::string_view) const;

private:
    std::string m_format;
    std::optional<TimeZone> m_timeZone;
    std::optional<std::string> m_locale;
};

// Decimal style: "1,234.5". Rounds half to even on the shortest decimal form of the
// number, as the platform's formatter does.
class NumberFormatter {
public:
    int minimumFractionDigits() const { return m_minimumFractionDigits; }
    void setMinimumFractionDigits(int);
    int maximumFractionDigits() const { return m_maximumFractionDigits; }
    void setMaximumFractionDigits(int);
    bool usesGroupingSeparator() const { return m_usesGrouping; }
    void setUsesGroupingSeparator(bool uses) { m_usesGrouping = uses; }
    const std::string& groupingSeparator() const { return m_groupingSeparator; }
    void setGroupingSeparator(std::string separator) { m_groupingSeparator = std::move(separator); }
    const std::string& decimalSeparator() const { return m_decimalSeparator; }
    void setDecimalSeparator(std::string separator) { m_decimalSeparator = std::move(separator); }

    std::string string(double) const;
    std::string string(int64_t) const;
    // Surrounding white space is allowed; grouping separators are skipped; anything else
    // that is not part of the number makes the answer absent.
    std::optional<double> number(std::string_view) const;

private:
    int m_minimumFractionDigits = 0;
    int m_maximumFractionDigits = 3;
    bool m_usesGrouping = true;
    std::string m_groupingSeparator = ",";
    std::string m_decimalSeparator = ".";
};

} // namespace base
