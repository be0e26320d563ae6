#pragma once

// Reading and writing record fields in dictionaries (store payloads, service UGC items,
// class information). Readers are lenient the way the records' original consumers were:
// a number where text is expected gives its "%@" text, "12" where a number is expected
// gives 12, and anything absent gives the fallback.

#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lectoro::coding {

inline std::string readString(const base::Value& dictionary, std::string_view key, std::string fallback = {})
{
    const base::Value& value = dictionary[key];
    if (value.isNull())
        return fallback;
    if (const std::string* text = value.stringPointer())
        return *text;
    if (value.isNumber() || value.isBool())
        return value.description();
    return fallback;
}

inline int64_t readInteger(const base::Value& dictionary, std::string_view key, int64_t fallback = 0)
{
    const base::Value& value = dictionary[key];
    if (value.isNull() || value.isList() || value.isDictionary())
        return fallback;
    return value.integerValue();
}

inline double readDouble(const base::Value& dictionary, std::string_view key, double fallback = 0)
{
    const base::Value& value = dictionary[key];
    if (value.isNull() || value.isList() || value.isDictionary())
        return fallback;
    return value.doubleValue();
}

inline bool readBool(const base::Value& dictionary, std::string_view key, bool fallback = false)
{
    const base::Value& value = dictionary[key];
    if (value.isNull() || value.isList() || value.isDictionary())
        return fallback;
    return value.boolValue();
}

// An id (a user, a learner, a book) as a 64-bit integer: an integer, a double with no
// fraction inside the 64-bit range, or decimal text with an optional leading "-" and
// nothing else. Anything else ("12abc", "", true, a list) is absent, never 0: an id that
// cannot be read must not pass for user 0.
inline std::optional<int64_t> readId(const base::Value& value)
{
    if (value.isBool())
        return std::nullopt;
    if (auto integer = value.asInteger())
        return integer;
    if (const std::string* text = value.stringPointer()) {
        if (text->empty() || text->front() == '+')
            return std::nullopt;
        int64_t result = 0;
        auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), result);
        if (error == std::errc() && end == text->data() + text->size())
            return result;
    }
    return std::nullopt;
}

// A list, or an empty list when the entry is absent or of another kind.
inline base::Value readList(const base::Value& dictionary, std::string_view key)
{
    const base::Value& value = dictionary[key];
    return value.isList() ? value : base::Value(base::Value::List {});
}

// A dictionary, or an empty dictionary when the entry is absent or of another kind.
inline base::Value readDictionary(const base::Value& dictionary, std::string_view key)
{
    const base::Value& value = dictionary[key];
    return value.isDictionary() ? value : base::Value(base::Value::Dictionary {});
}

// A rectangle kept as {"x", "y", "width", "height"}.
inline ui::Rect readRect(const base::Value& dictionary, std::string_view key)
{
    const base::Value& value = dictionary[key];
    return ui::Rect(readDouble(value, "x"), readDouble(value, "y"), readDouble(value, "width"),
        readDouble(value, "height"));
}

inline base::Value rectValue(const ui::Rect& rect)
{
    return base::Value::Dictionary {
        { "x", rect.origin.x },
        { "y", rect.origin.y },
        { "width", rect.size.width },
        { "height", rect.size.height },
    };
}

} // namespace lectoro::coding
