#include "platform/base/Date.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <mutex>

namespace base {

// --- Clock -------------------------------------------------------------------------

namespace {

struct ClockState {
    std::mutex mutex;
    std::optional<Date> pinnedNow;
    int localOffset = 0;
    std::string locale = "en_US_POSIX";
};

ClockState& clockState()
{
    static ClockState state;
    return state;
}

} // namespace

Date Date::now()
{
    return Clock::now();
}

Date Clock::now()
{
    {
        auto& state = clockState();
        std::lock_guard lock(state.mutex);
        if (state.pinnedNow)
            return *state.pinnedNow;
    }
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return Date { std::chrono::duration<double>(since).count() };
}

void Clock::setNowForTesting(std::optional<Date> date)
{
    auto& state = clockState();
    std::lock_guard lock(state.mutex);
    state.pinnedNow = date;
}

int Clock::localTimeZoneOffset()
{
    auto& state = clockState();
    std::lock_guard lock(state.mutex);
    return state.localOffset;
}

void Clock::setLocalTimeZoneOffset(int secondsEastOfUTC)
{
    auto& state = clockState();
    std::lock_guard lock(state.mutex);
    state.localOffset = secondsEastOfUTC;
}

std::string Clock::localeIdentifier()
{
    auto& state = clockState();
    std::lock_guard lock(state.mutex);
    return state.locale;
}

void Clock::setLocaleIdentifier(std::string id)
{
    auto& state = clockState();
    std::lock_guard lock(state.mutex);
    state.locale = std::move(id);
}

// --- Time zones --------------------------------------------------------------------

TimeZone TimeZone::local()
{
    return TimeZone { Clock::localTimeZoneOffset() };
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads "+hh", "+hhmm", "+hh:mm", "+h", "+h:mm" at `i`; answers seconds.
std::optional<int> readSignedOffset(std::string_view text, size_t& i)
{
    if (i >= text.size() || (text[i] != '+' && text[i] != '-'))
        return std::nullopt;
    const int sign = text[i] == '-' ? -1 : 1;
    size_t j = i + 1;
    size_t digits = 0;
    while (j + digits < text.size() && isDigit(text[j + digits]) && digits < 4)
        ++digits;
    int hours = 0;
    int minutes = 0;
    if (digits == 0)
        return std::nullopt;
    if (digits <= 2) {
        for (size_t k = 0; k < digits; ++k)
            hours = hours * 10 + (text[j + k] - '0');
        j += digits;
        if (j < text.size() && text[j] == ':') {
            if (text.size() - j < 3 || !isDigit(text[j + 1]) || !isDigit(text[j + 2]))
                return std::nullopt;
            minutes = (text[j + 1] - '0') * 10 + (text[j + 2] - '0');
            j += 3;
        }
    } else if (digits == 4) {
        hours = (text[j] - '0') * 10 + (text[j + 1] - '0');
        minutes = (text[j + 2] - '0') * 10 + (text[j + 3] - '0');
        j += 4;
    } else {
        return std::nullopt;
    }
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    i = j;
    return sign * (hours * 3600 + minutes * 60);
}

// "Z", "GMT", "UTC", optionally followed by an offset, or a bare offset.
std::optional<int> readZone(std::string_view text, size_t& i)
{
    if (i < text.size() && text[i] == 'Z') {
        ++i;
        return 0;
    }
    for (const std::string_view prefix : { "GMT", "UTC" }) {
        if (text.substr(i).starts_with(prefix)) {
            size_t j = i + prefix.size();
            if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
                const auto offset = readSignedOffset(text, j);
                if (!offset)
                    return std::nullopt;
                i = j;
                return offset;
            }
            i = j;
            return 0;
        }
    }
    return readSignedOffset(text, i);
}

} // namespace

std::optional<TimeZone> TimeZone::named(std::string_view name)
{
    size_t i = 0;
    const auto offset = readZone(name, i);
    if (!offset || i != name.size())
        return std::nullopt;
    return TimeZone { *offset };
}

// --- Civil time --------------------------------------------------------------------

namespace {

// About 285,000 years: microseconds still fit in 64 bits.
constexpr double maxSeconds = 9e12;

int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y += m <= 2;
}

bool isLeapYear(int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int64_t y, int m)
{
    static constexpr int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// 1 = Sunday ... 7 = Saturday; day 0 (1970-01-01) was a Thursday.
int weekdayOfDay(int64_t days)
{
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

// Microseconds since 1970 in the zone, rounded so that 0.123 s reads as 123 ms and not
// 122.99999 ms.
int64_t localMicroseconds(Date date, int offset)
{
    double seconds = date.timeIntervalSince1970;
    if (!std::isfinite(seconds))
        seconds = 0;
    seconds = std::clamp(seconds, -maxSeconds, maxSeconds);
    return std::llround(seconds * 1e6) + static_cast<int64_t>(offset) * 1000000;
}

} // namespace

CivilTime civilTime(Date date, int secondsFromGMT)
{
    const int64_t micros = localMicroseconds(date, secondsFromGMT);
    const int64_t seconds = floorDiv(micros, 1000000);
    const int64_t days = floorDiv(seconds, 86400);
    const int64_t secondOfDay = seconds - days * 86400;
    CivilTime t;
    civilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    t.fraction = static_cast<double>(micros - seconds * 1000000) / 1e6;
    t.weekday = weekdayOfDay(days);
    return t;
}

std::optional<Date> dateFromCivilTime(const CivilTime& t, int secondsFromGMT)
{
    if (t.year < -200000 || t.year > 200000 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > daysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59
        || t.second < 0 || t.second > 59 || !(t.fraction >= 0 && t.fraction < 1))
        return std::nullopt;
    const int64_t days = daysFromCivil(t.year, t.month, t.day);
    const int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second - secondsFromGMT;
    return Date { static_cast<double>(seconds) + t.fraction };
}

// --- Week-based year ---------------------------------------------------------------

namespace {

struct WeekRules {
    int firstWeekday; // 1 = Sunday
    int minimalDaysInFirstWeek;
};

WeekRules weekRulesForLocale(std::string_view locale)
{
    // Language and region: "en_US_POSIX" -> en, US; "de-DE" -> de, DE.
    const std::string normalized = replaceAll(locale, "-", "_");
    const auto parts = split(normalized, "_");
    const std::string language = parts.empty() ? std::string() : lowercase(parts[0]);
    const std::string region = parts.size() > 1 ? uppercase(parts[1]) : std::string();
    const bool american = region == "US" || (region.empty() && (language == "en" || language.empty()));
    if (american)
        return WeekRules { 1, 1 };
    return WeekRules { 2, 4 };
}

int64_t firstDayOfWeekYear(int64_t year, WeekRules rules)
{
    const int64_t january1 = daysFromCivil(year, 1, 1);
    const int offset = (weekdayOfDay(january1) - rules.firstWeekday + 7) % 7;
    const int64_t weekStart = january1 - offset;
    return 7 - offset >= rules.minimalDaysInFirstWeek ? weekStart : weekStart + 7;
}

int64_t weekYear(const CivilTime& t, WeekRules rules)
{
    const int64_t day = daysFromCivil(t.year, t.month, t.day);
    if (day >= firstDayOfWeekYear(t.year + 1, rules))
        return t.year + 1;
    if (day < firstDayOfWeekYear(t.year, rules))
        return t.year - 1;
    return t.year;
}

// --- Patterns ----------------------------------------------------------------------

constexpr std::array<const char*, 12> monthNames = { "January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December" };
constexpr std::array<const char*, 12> shortMonthNames = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep",
    "Oct", "Nov", "Dec" };
constexpr std::array<const char*, 7> weekdayNames = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
    "Saturday" };
constexpr std::array<const char*, 7> shortWeekdayNames = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };

struct Token {
    char letter = 0; // 0: literal text
    int count = 0;
    std::string literal;
};

bool isNumericField(const Token& token)
{
    switch (token.letter) {
    case 'y':
    case 'Y':
    case 'd':
    case 'H':
    case 'h':
    case 'K':
    case 'k':
    case 'm':
    case 's':
    case 'S':
        return true;
    case 'M':
    case 'L':
        return token.count <= 2;
    default:
        return false;
    }
}

std::optional<std::vector<Token>> tokenize(std::string_view pattern)
{
    static constexpr std::string_view supported = "yYMLdHhKkmsSaEzZ";
    std::vector<Token> tokens;
    const auto addLiteral = [&](std::string_view text) {
        if (tokens.empty() || tokens.back().letter)
            tokens.push_back(Token {});
        tokens.back().literal += text;
    };
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                addLiteral("'");
                i += 2;
                continue;
            }
            ++i;
            std::string quoted;
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        quoted.push_back('\'');
                        i += 2;
                        continue;
                    }
                    break;
                }
                quoted.push_back(pattern[i++]);
            }
            if (i >= pattern.size())
                return std::nullopt; // unterminated quote
            ++i;
            addLiteral(quoted);
            continue;
        }
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            if (supported.find(c) == std::string_view::npos)
                return std::nullopt;
            size_t j = i;
            while (j < pattern.size() && pattern[j] == c)
                ++j;
            tokens.push_back(Token { c, static_cast<int>(j - i), {} });
            i = j;
            continue;
        }
        addLiteral(std::string_view(&pattern[i], 1));
        ++i;
    }
    return tokens;
}

void appendNumber(std::string& out, int64_t value, int minimumDigits)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0)
        out.push_back('-');
    if (static_cast<int>(digits.size()) < minimumDigits)
        out.append(static_cast<size_t>(minimumDigits) - digits.size(), '0');
    out += digits;
}

// "+0530", "+05:30", "GMT+05:30" or "GMT+5:30".
std::string offsetText(int offset, bool colon, bool padHours)
{
    std::string out;
    out.push_back(offset < 0 ? '-' : '+');
    const int absolute = std::abs(offset);
    const int hours = absolute / 3600;
    const int minutes = absolute / 60 % 60;
    appendNumber(out, hours, padHours ? 2 : 1);
    if (colon)
        out.push_back(':');
    if (padHours || minutes) {
        appendNumber(out, minutes, 2);
    } else if (colon) {
        out.pop_back();
    }
    return out;
}

void appendZone(std::string& out, const Token& token, int offset)
{
    if (token.letter == 'z') {
        // Short form "GMT+5:30"; long form "GMT+05:30".
        out += "GMT";
        if (offset)
            out += offsetText(offset, true, token.count >= 4);
        return;
    }
    if (token.count <= 3) {
        out += offsetText(offset, false, true);
    } else if (token.count == 4) {
        out += "GMT";
        if (offset)
            out += offsetText(offset, true, true);
    } else {
        out += offset ? offsetText(offset, true, true) : "Z";
    }
}

bool matchesIgnoringCase(std::string_view text, size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k) {
        char a = text[at + k];
        char b = word[k];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a + 32);
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b + 32);
        if (a != b)
            return false;
    }
    return true;
}

// Index (0-based) of the longest matching name, full names tried first.
template<size_t N>
std::optional<int> readName(std::string_view text, size_t& i, const std::array<const char*, N>& full,
    const std::array<const char*, N>& abbreviated)
{
    for (const auto* names : { &full, &abbreviated }) {
        for (size_t k = 0; k < N; ++k) {
            const std::string_view name = (*names)[k];
            if (matchesIgnoringCase(text, i, name)) {
                i += name.size();
                return static_cast<int>(k);
            }
        }
    }
    return std::nullopt;
}

struct ParsedFields {
    std::optional<int64_t> year;
    std::optional<int64_t> weekYear;
    bool twoDigitYear = false;
    int month = 1;
    int day = 1;
    std::optional<int> hour24;
    std::optional<int> hour12; // 1...12 (h) or 0...11 (K)
    std::optional<bool> pm;
    int minute = 0;
    int second = 0;
    double fraction = 0;
    std::optional<int> zone;
};

// A two-digit year lands within the 80 years before and 20 after now.
int64_t expandTwoDigitYear(int64_t yy)
{
    const int64_t current = civilTime(Clock::now()).year;
    const int64_t start = current - 80;
    int64_t year = start - start % 100 + yy;
    if (year < start)
        year += 100;
    return year;
}

} // namespace

// --- DateFormatter -----------------------------------------------------------------

TimeZone DateFormatter::timeZone() const
{
    return m_timeZone ? *m_timeZone : TimeZone::local();
}

std::string DateFormatter::localeIdentifier() const
{
    return m_locale ? *m_locale : Clock::localeIdentifier();
}

std::string DateFormatter::string(Date date) const
{
    const auto tokens = tokenize(m_format);
    if (!tokens)
        return {};
    const int offset = timeZone().secondsFromGMT;
    const CivilTime t = civilTime(date, offset);
    std::optional<int64_t> cachedWeekYear;
    std::string out;
    for (const Token& token : *tokens) {
        const int n = token.count;
        switch (token.letter) {
        case 0:
            out += token.literal;
            break;
        case 'y':
        case 'Y': {
            int64_t year = t.year;
            if (token.letter == 'Y') {
                if (!cachedWeekYear)
                    cachedWeekYear = weekYear(t, weekRulesForLocale(localeIdentifier()));
                year = *cachedWeekYear;
            }
            if (n == 2)
                appendNumber(out, ((year % 100) + 100) % 100, 2);
            else
                appendNumber(out, year, n);
            break;
        }
        case 'M':
        case 'L':
            if (n <= 2)
                appendNumber(out, t.month, n);
            else if (n == 3)
                out += shortMonthNames[static_cast<size_t>(t.month - 1)];
            else if (n == 4)
                out += monthNames[static_cast<size_t>(t.month - 1)];
            else
                out += monthNames[static_cast<size_t>(t.month - 1)][0];
            break;
        case 'd':
            appendNumber(out, t.day, n);
            break;
        case 'H':
            appendNumber(out, t.hour, n);
            break;
        case 'h':
            appendNumber(out, t.hour % 12 == 0 ? 12 : t.hour % 12, n);
            break;
        case 'K':
            appendNumber(out, t.hour % 12, n);
            break;
        case 'k':
            appendNumber(out, t.hour == 0 ? 24 : t.hour, n);
            break;
        case 'm':
            appendNumber(out, t.minute, n);
            break;
        case 's':
            appendNumber(out, t.second, n);
            break;
        case 'S': {
            // Truncated, as the platform does: 0.9999 s with "SSS" is 999.
            const auto micros = static_cast<int64_t>(std::llround(t.fraction * 1e6));
            std::string digits = std::to_string(std::min<int64_t>(micros, 999999));
            digits.insert(0, 6 - digits.size(), '0');
            if (n <= 6)
                digits.resize(static_cast<size_t>(n));
            else
                digits.append(static_cast<size_t>(n - 6), '0');
            out += digits;
            break;
        }
        case 'a':
            out += t.hour < 12 ? "AM" : "PM";
            break;
        case 'E':
            if (n <= 3)
                out += shortWeekdayNames[static_cast<size_t>(t.weekday - 1)];
            else if (n == 4)
                out += weekdayNames[static_cast<size_t>(t.weekday - 1)];
            else
                out += weekdayNames[static_cast<size_t>(t.weekday - 1)][0];
            break;
        case 'z':
        case 'Z':
            appendZone(out, token, offset);
            break;
        default:
            return {};
        }
    }
    return out;
}

std::optional<Date> DateFormatter::date(std::string_view text) const
{
    const auto tokens = tokenize(m_format);
    if (!tokens)
        return std::nullopt;
    ParsedFields fields;
    size_t i = 0;
    for (size_t index = 0; index < tokens->size(); ++index) {
        const Token& token = (*tokens)[index];
        const int n = token.count;
        if (!token.letter) {
            if (text.substr(i, token.literal.size()) != token.literal)
                return std::nullopt;
            i += token.literal.size();
            continue;
        }
        if (isNumericField(token)) {
            // Abutting numeric fields ("yyyyMMdd") take exactly their width; otherwise a
            // field takes the digits that are there, up to a sane maximum.
            const bool abutting = index + 1 < tokens->size() && isNumericField((*tokens)[index + 1]);
            size_t maxDigits = 2;
            if (token.letter == 'y' || token.letter == 'Y')
                maxDigits = 9;
            else if (token.letter == 'S')
                maxDigits = 9;
            if (abutting)
                maxDigits = static_cast<size_t>(std::max(n, 1));
            size_t digits = 0;
            int64_t value = 0;
            while (i + digits < text.size() && digits < maxDigits && isDigit(text[i + digits])) {
                value = value * 10 + (text[i + digits] - '0');
                ++digits;
            }
            if (!digits || (abutting && digits != maxDigits))
                return std::nullopt;
            const std::string_view raw = text.substr(i, digits);
            i += digits;
            switch (token.letter) {
            case 'y':
            case 'Y':
                if (n == 2 && digits == 2)
                    value = expandTwoDigitYear(value);
                (token.letter == 'y' ? fields.year : fields.weekYear) = value;
                break;
            case 'M':
            case 'L':
                fields.month = static_cast<int>(value);
                break;
            case 'd':
                fields.day = static_cast<int>(value);
                break;
            case 'H':
                if (value > 23)
                    return std::nullopt;
                fields.hour24 = static_cast<int>(value);
                break;
            case 'k':
                if (value < 1 || value > 24)
                    return std::nullopt;
                fields.hour24 = static_cast<int>(value % 24);
                break;
            case 'h':
                if (value < 1 || value > 12)
                    return std::nullopt;
                fields.hour12 = static_cast<int>(value % 12);
                break;
            case 'K':
                if (value > 11)
                    return std::nullopt;
                fields.hour12 = static_cast<int>(value);
                break;
            case 'm':
                fields.minute = static_cast<int>(value);
                break;
            case 's':
                fields.second = static_cast<int>(value);
                break;
            case 'S': {
                double fraction = 0;
                double scale = 0.1;
                for (const char c : raw) {
                    fraction += (c - '0') * scale;
                    scale /= 10;
                }
                fields.fraction = fraction;
                break;
            }
            default:
                break;
            }
            continue;
        }
        switch (token.letter) {
        case 'M':
        case 'L': {
            const auto month = readName(text, i, monthNames, shortMonthNames);
            if (!month)
                return std::nullopt;
            fields.month = *month + 1;
            break;
        }
        case 'E':
            if (!readName(text, i, weekdayNames, shortWeekdayNames))
                return std::nullopt;
            break;
        case 'a':
            if (matchesIgnoringCase(text, i, "AM")) {
                fields.pm = false;
            } else if (matchesIgnoringCase(text, i, "PM")) {
                fields.pm = true;
            } else {
                return std::nullopt;
            }
            i += 2;
            break;
        case 'z':
        case 'Z': {
            const auto zone = readZone(text, i);
            if (!zone)
                return std::nullopt;
            fields.zone = zone;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    if (i != text.size())
        return std::nullopt;

    CivilTime t;
    t.year = fields.year ? *fields.year : (fields.weekYear ? *fields.weekYear : 1970);
    t.month = fields.month;
    t.day = fields.day;
    if (fields.hour24)
        t.hour = *fields.hour24;
    else if (fields.hour12)
        t.hour = *fields.hour12 + (fields.pm.value_or(false) ? 12 : 0);
    else if (fields.pm.value_or(false))
        t.hour = 12;
    t.minute = fields.minute;
    t.second = fields.second;
    t.fraction = fields.fraction;
    return dateFromCivilTime(t, fields.zone ? *fields.zone : timeZone().secondsFromGMT);
}

// --- NumberFormatter ---------------------------------------------------------------

namespace {

constexpr int maxFractionDigitsLimit = 100;

// Shortest decimal digits of |value| and the position of the decimal point: value is
// 0.d1d2d3... x 10^pointPosition.
void shortestDigits(double value, std::string& digits, int& pointPosition)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t e = text.find('e');
    digits.clear();
    for (const char c : text.substr(0, e)) {
        if (c != '.')
            digits.push_back(c);
    }
    pointPosition = std::stoi(std::string(text.substr(e + 1))) + 1;
}

std::string groupedInteger(const std::string& digits, bool grouping, const std::string& separator)
{
    if (!grouping || digits.size() <= 3)
        return digits;
    std::string out;
    const size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    out += digits.substr(0, first);
    for (size_t i = first; i < digits.size(); i += 3)
        out += separator + digits.substr(i, 3);
    return out;
}

} // namespace

void NumberFormatter::setMinimumFractionDigits(int digits)
{
    m_minimumFractionDigits = std::clamp(digits, 0, maxFractionDigitsLimit);
    m_maximumFractionDigits = std::max(m_maximumFractionDigits, m_minimumFractionDigits);
}

void NumberFormatter::setMaximumFractionDigits(int digits)
{
    m_maximumFractionDigits = std::clamp(digits, 0, maxFractionDigitsLimit);
    m_minimumFractionDigits = std::min(m_minimumFractionDigits, m_maximumFractionDigits);
}

std::string NumberFormatter::string(double value) const
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-\u221E" : "\u221E";
    std::string digits;
    int point = 0;
    shortestDigits(value, digits, point);
    if (value == 0) {
        digits.assign(1, '0');
        point = 1;
    }

    // Round half to even, on the decimal digits, to the maximum fraction digits.
    const int keep = point + m_maximumFractionDigits;
    if (keep < 0) {
        digits.assign(1, '0');
        point = 1;
    } else if (static_cast<size_t>(keep) < digits.size()) {
        const char dropped = digits[static_cast<size_t>(keep)];
        const bool restNonZero = digits.find_first_not_of('0', static_cast<size_t>(keep) + 1) != std::string::npos;
        const char lastKept = keep > 0 ? digits[static_cast<size_t>(keep) - 1] : '0';
        const bool roundUp = dropped > '5' || (dropped == '5' && (restNonZero || (lastKept - '0') % 2 == 1));
        digits.resize(static_cast<size_t>(keep));
        if (roundUp) {
            int k = keep - 1;
            while (k >= 0 && digits[static_cast<size_t>(k)] == '9')
                digits[static_cast<size_t>(k--)] = '0';
            if (k >= 0) {
                ++digits[static_cast<size_t>(k)];
            } else {
                digits.insert(digits.begin(), '1');
                ++point;
            }
        }
        if (digits.empty()) {
            digits.assign(1, '0');
            point = 1;
        }
    }

    std::string integer;
    std::string fraction;
    if (point <= 0) {
        integer = "0";
        fraction = std::string(static_cast<size_t>(-point), '0') + digits;
    } else if (static_cast<size_t>(point) >= digits.size()) {
        integer = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
    } else {
        integer = digits.substr(0, static_cast<size_t>(point));
        fraction = digits.substr(static_cast<size_t>(point));
    }
    while (static_cast<int>(fraction.size()) > m_minimumFractionDigits && !fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (static_cast<int>(fraction.size()) < m_minimumFractionDigits)
        fraction.append(static_cast<size_t>(m_minimumFractionDigits) - fraction.size(), '0');
    if (static_cast<int>(fraction.size()) > m_maximumFractionDigits)
        fraction.resize(static_cast<size_t>(m_maximumFractionDigits));

    const bool isZero = integer.find_first_not_of('0') == std::string::npos
        && fraction.find_first_not_of('0') == std::string::npos;
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    std::string out = (value < 0 && !isZero) ? "-" : "";
    out += groupedInteger(integer, m_usesGrouping, m_groupingSeparator);
    if (!fraction.empty())
        out += m_decimalSeparator + fraction;
    return out;
}

std::string NumberFormatter::string(int64_t value) const
{
    std::string digits = std::to_string(value);
    const bool negative = value < 0;
    if (negative)
        digits.erase(0, 1);
    std::string out = negative ? "-" : "";
    out += groupedInteger(digits, m_usesGrouping, m_groupingSeparator);
    if (m_minimumFractionDigits > 0)
        out += m_decimalSeparator + std::string(static_cast<size_t>(m_minimumFractionDigits), '0');
    return out;
}

std::optional<double> NumberFormatter::number(std::string_view text) const
{
    const std::string trimmed = trimWhitespaceAndNewlines(text);
    std::string clean;
    size_t i = 0;
    if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) {
        if (trimmed[i] == '-')
            clean.push_back('-');
        ++i;
    }
    bool sawDigit = false;
    bool sawPoint = false;
    bool sawExponent = false;
    while (i < trimmed.size()) {
        const char c = trimmed[i];
        if (isDigit(c)) {
            clean.push_back(c);
            sawDigit = true;
            ++i;
        } else if (!sawPoint && !sawExponent && !m_decimalSeparator.empty()
            && std::string_view(trimmed).substr(i).starts_with(m_decimalSeparator)) {
            clean.push_back('.');
            sawPoint = true;
            i += m_decimalSeparator.size();
        } else if (!sawPoint && !sawExponent && sawDigit && !m_groupingSeparator.empty()
            && std::string_view(trimmed).substr(i).starts_with(m_groupingSeparator)) {
            i += m_groupingSeparator.size();
        } else if (sawDigit && !sawExponent && (c == 'e' || c == 'E')) {
            clean.push_back('e');
            sawExponent = true;
            ++i;
            if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+'))
                clean.push_back(trimmed[i++]);
            if (i >= trimmed.size() || !isDigit(trimmed[i]))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!sawDigit)
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ptr != clean.data() + clean.size())
        return std::nullopt;
    if (result.ec == std::errc::result_out_of_range)
        return std::nullopt;
    return value;
}

} // namespace base
