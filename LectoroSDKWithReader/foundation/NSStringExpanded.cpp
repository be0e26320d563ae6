#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"

#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Strings.h"

#include <regex>

namespace lectoro::NSStringExpanded {

namespace {

base::DateFormatter posixFormatter(const std::string& pattern, base::TimeZone zone)
{
    base::DateFormatter formatter(pattern);
    formatter.setTimeZone(zone);
    formatter.setLocaleIdentifier("en_US_POSIX");
    return formatter;
}

} // namespace

std::string stringFromInteger(uint64_t value)
{
    std::string digits = std::to_string(value);
    return digits.size() == 1 ? "0" + digits : digits;
}

std::string stringFromUTCDate(base::Date date)
{
    return posixFormatter(utcDateTimeWithMillisecondsFormat, base::TimeZone::utc()).string(date);
}

std::string formattedLocalStringFromDate(base::Date date)
{
    return base::DateFormatter(localDisplayFormat).string(date);
}

std::string formattedMonthFirstDateString(base::Date date)
{
    return base::DateFormatter(monthFirstDisplayFormat).string(date);
}

std::optional<base::Date> formattedDateFromString(std::string_view text)
{
    bool withMilliseconds = text.find('.') != std::string_view::npos;
    return formattedDateFromString(text, withMilliseconds ? utcDateTimeWithMillisecondsFormat : utcDateTimeFormat);
}

std::optional<base::Date> formattedDateFromString(std::string_view text, const std::string& pattern)
{
    return posixFormatter(pattern, base::TimeZone::utc()).date(text);
}

std::optional<base::Date> utcDateFromString(std::string_view text)
{
    if (auto date = posixFormatter(utcDateTimeWithMillisecondsFormat, base::TimeZone::utc()).date(text))
        return date;
    return posixFormatter(utcDateTimeFormat, base::TimeZone::utc()).date(text);
}

std::optional<base::Date> formatedString(std::string_view text)
{
    return utcDateFromString(text);
}

std::optional<base::Date> utcDateFromStringForGMTTimeZone(std::string_view text)
{
    return posixFormatter(gmtHeaderFormat, base::TimeZone::utc()).date(text);
}

bool containsString(std::string_view receiver, std::string_view argument)
{
    if (argument.empty())
        return false;
    return base::lowercase(receiver).find(base::lowercase(argument)) != std::string::npos;
}

bool isEqualToStringIgnoreCase(std::string_view receiver, std::string_view argument)
{
    return base::lowercase(receiver) == base::lowercase(argument);
}

std::optional<double> numberValue(std::string_view text)
{
    return base::NumberFormatter().number(text);
}

bool isValideMailId(std::string_view text)
{
    if (text.empty())
        return false;
    static const std::regex pattern(R"(^[_A-Za-z0-9-]+(\.[_A-Za-z0-9-]+)*@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*(\.[A-Za-z]{2,})$)",
        std::regex::ECMAScript | std::regex::icase);
    // The pattern is linear enough, but an absurdly long text is no address anyway.
    if (text.size() > 512)
        return false;
    return std::regex_match(text.begin(), text.end(), pattern);
}

std::string getLocalizedStringForDateString(const std::string& text)
{
    std::string localized = NumberLocalizationHandler::localizeTimeWithTime(text, localDisplayFormat);
    static const char* months[] = { "January", "February", "March", "April", "May", "June", "July",
        "August", "September", "October", "November", "December" };
    for (const char* month : months) {
        if (containsString(localized, month))
            return base::replaceAll(localized, month, LocalizationHelper::localizedStringWithKey(month));
    }
    return localized;
}

} // namespace lectoro::NSStringExpanded
