#pragma once

#include "platform/base/Date.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lectoro {

// Text helpers of the reader: the date texts exchanged with services and shown to readers,
// case-insensitive tests, number parsing, an e-mail check and localised month names.
//
// Dates stored or exchanged use the calendar year ("yyyy-MM-dd HH:mm:ss.SSS"): the week-based
// year would write 30 December 2024 as 2025.
namespace NSStringExpanded {

inline constexpr const char* utcDateTimeWithMillisecondsFormat = "yyyy-MM-dd HH:mm:ss.SSS";
inline constexpr const char* utcDateTimeFormat = "yyyy-MM-dd HH:mm:ss";
inline constexpr const char* localDisplayFormat = "hh:mm a dd MMMM yyyy";
inline constexpr const char* monthFirstDisplayFormat = "MMM d, yyyy, hh:mm a";
inline constexpr const char* gmtHeaderFormat = "EEE, d MMM yyyy HH:mm:ss Z";

// Two digits at least: 7 gives "07", 12 "12".
std::string stringFromInteger(uint64_t);
std::string stringFromUTCDate(base::Date);
std::string formattedLocalStringFromDate(base::Date);
std::string formattedMonthFirstDateString(base::Date);

// UTC, with milliseconds when the text holds ".".
std::optional<base::Date> formattedDateFromString(std::string_view);
std::optional<base::Date> formattedDateFromString(std::string_view, const std::string& pattern);
// UTC, with milliseconds first, then without.
std::optional<base::Date> utcDateFromString(std::string_view);
std::optional<base::Date> formatedString(std::string_view);
std::optional<base::Date> utcDateFromStringForGMTTimeZone(std::string_view);

// Case-insensitive containment; an empty argument is never found. Every containment test of
// the reader goes through this one.
bool containsString(std::string_view receiver, std::string_view argument);
bool isEqualToStringIgnoreCase(std::string_view receiver, std::string_view argument);
// The text as a decimal number (grouping separators allowed); absent when it is not one.
std::optional<double> numberValue(std::string_view);
bool isValideMailId(std::string_view);
// A "hh:mm a dd MMMM yyyy" text with localised digits and the first English month name it
// holds replaced by the localised month name.
std::string getLocalizedStringForDateString(const std::string&);

} // namespace NSStringExpanded

} // namespace lectoro
