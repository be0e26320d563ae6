#pragma once

// JSON text to and from Value.
//
// Reading: any JSON value is accepted at the top level; integers that fit int64 stay
// integers, other numbers become doubles; a repeated key keeps its last value in the place
// of its first; invalid UTF-8, unpaired surrogate escapes and nesting deeper than
// maxJsonDepth are errors (domain cocoaErrorDomain, code propertyListReadCorruptError). An
// error's description says what was wrong, at which byte (from 0) and at which depth of
// nesting; the byte is also under "NSJSONSerializationErrorIndex".
//
// Writing: keys in insertion order, "/" is not escaped, non-ASCII text is written as
// UTF-8 (invalid UTF-8 in a string is written as U+FFFD). Values JSON has no form for:
// a date is written as its seconds since 1970 (a number), bytes as base64 text, NaN and
// infinities as null. A double with an integral value is written without a fraction
// ("3"), so it reads back as an integer that compares equal.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

inline constexpr size_t maxJsonDepth = 512;

Result<Value> parseJson(std::string_view text);
std::string toJson(const Value&);
// Two-space indentation, "key" : value, as the platform's pretty printer lays it out.
std::string toPrettyJson(const Value&);

} // namespace base
