#pragma once

// XML property lists to and from Value.
//
// Reading accepts a <plist> document (or a bare value element) with dict, array, string,
// integer (decimal or 0x hex, an unsigned value above the int64 range becomes a double),
// real (including nan/inf), true, false, date (ISO 8601 in UTC, "2024-12-30T08:00:00Z")
// and data (base64, white space ignored). Anything else, including binary property
// lists, a <key> without its value and nesting deeper than maxPlistDepth, is an error
// (domain cocoaErrorDomain, code propertyListReadCorruptError).
//
// Writing produces the usual XML header, tab indentation and whole-second UTC dates.
// Null has no plist form: a null dictionary entry is left out (reading it back answers
// null all the same); a null list element, or a null at the top, is written as an empty
// string. Dates are read only in UTC ("Z"); a fraction of a second is read but not written.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

inline constexpr size_t maxPlistDepth = 512;

Result<Value> parsePlist(std::string_view xml);
std::string toPlist(const Value&);

} // namespace base
