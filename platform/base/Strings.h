#pragma once

// Text helpers with the platform's semantics. Text is UTF-8 std::string everywhere; where
// the platform counts characters (lengths, ranges, indices) we count UTF-16 code units.
// Invalid UTF-8 is read as one U+FFFD per bad byte and never makes a helper fail.

#include "platform/base/Value.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// A span of UTF-16 code units.
struct Range {
    size_t location = 0;
    size_t length = 0;

    size_t end() const { return location + length; }
    bool contains(size_t index) const { return index >= location && index < end(); }
    friend bool operator==(Range, Range) = default;
};

// --- Numbers from text -------------------------------------------------------------
// White space is skipped first, then an optional sign, then digits up to the first
// non-digit: "12abc" is 12, "  -3x" is -3, "3.9" is 3, "abc" is 0. Overflow saturates.
int32_t intValue(std::string_view);
int64_t integerValue(std::string_view);
inline int64_t longLongValue(std::string_view text) { return integerValue(text); }
// The longest leading decimal number ("2.5e3xyz" is 2500, "inf" is infinity); 0 when none.
double doubleValue(std::string_view);
inline float floatValue(std::string_view text) { return static_cast<float>(doubleValue(text)); }
// YES when, after white space, the text starts with Y, y, T or t, or (after an optional
// sign and leading zeros) with a digit 1-9: "YES", "true", "1", "+007" are true; "NO",
// "0", "0.9", "-0", "" are false.
bool boolValue(std::string_view);

// --- UTF-8 -------------------------------------------------------------------------
constexpr char32_t replacementCharacter = 0xFFFD;
// The code point at `offset`, which moves past it. A byte that does not start a valid,
// shortest-form sequence gives U+FFFD and moves one byte.
char32_t decodeUtf8(std::string_view, size_t& offset);
// Surrogates and values above U+10FFFF are written as U+FFFD.
void appendUtf8(std::string&, char32_t);
bool isValidUtf8(std::string_view);
// The byte offset of the first byte that does not start a valid sequence; nothing for
// valid text.
std::optional<size_t> firstInvalidUtf8Byte(std::string_view);
// The text with every such byte written as U+FFFD (the text itself when it is valid), for
// a library that refuses anything else.
std::string validUtf8(std::string_view);
// 0-15 for a hexadecimal digit of either case, -1 for any other character.
int hexDigitValue(char);
// 0-9 for a decimal digit of any script (Unicode category Nd: "0", Arabic-Indic "\u0663",
// Devanagari "\u0969", …), -1 for any other character.
int decimalDigitValue(char32_t);

// --- UTF-16 counting ---------------------------------------------------------------
size_t utf16Length(std::string_view);
std::u16string utf8ToUtf16(std::string_view);
// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view);
// The units [location, location + length), clamped to the text. A cut that would fall
// inside a surrogate pair moves before the pair, so no half character is ever produced.
std::string utf16Substring(std::string_view, size_t location, size_t length);
inline std::string utf16Substring(std::string_view text, Range range)
{
    return utf16Substring(text, range.location, range.length);
}
// The UTF-16 index of the first occurrence of needle at or after `from`; absent when not
// found or when the needle is empty.
std::optional<size_t> utf16IndexOf(std::string_view haystack, std::string_view needle, size_t from = 0);
// The byte offset of a UTF-16 index (clamped to the text, moved before a split pair).
size_t utf8OffsetOfUtf16Index(std::string_view, size_t utf16Index);

// --- Trimming and case -------------------------------------------------------------
// White space: tab and the Unicode space separators.
std::string trimWhitespace(std::string_view);
// Also line and paragraph separators (LF, VT, FF, CR, NEL, U+2028, U+2029).
std::string trimWhitespaceAndNewlines(std::string_view);
bool isWhitespaceCodePoint(char32_t);
bool isNewlineCodePoint(char32_t);
std::string lowercase(std::string_view);
std::string uppercase(std::string_view);

// Unicode case folding. An empty needle is never found.
bool containsCaseInsensitive(std::string_view haystack, std::string_view needle);
// The UTF-16 range in the haystack of the first match.
std::optional<Range> rangeOfCaseInsensitive(std::string_view haystack, std::string_view needle);
// -1, 0 or 1.
int compareCaseInsensitive(std::string_view, std::string_view);
bool equalsCaseInsensitive(std::string_view, std::string_view);
// The order of file names in a list: runs of digits compare by their numeric value
// ("page2" < "page10"), letters without regard to case; -1, 0 or 1.
int localizedStandardCompare(std::string_view, std::string_view);

// --- Splitting, replacing, prefixes --------------------------------------------------
// Keeps empty parts: split("a,,b", ",") is {"a", "", "b"}; split("", ",") is {""}. An empty
// separator answers the whole text as one part.
std::vector<std::string> split(std::string_view, std::string_view separator);
std::string join(const std::vector<std::string>&, std::string_view separator);
// An empty `from` changes nothing.
std::string replaceAll(std::string_view, std::string_view from, std::string_view to);
// As on the platform, an empty prefix or suffix answers false.
bool hasPrefix(std::string_view, std::string_view prefix);
bool hasSuffix(std::string_view, std::string_view suffix);

// --- Percent coding ----------------------------------------------------------------
enum class PercentEncodeSet {
    Unreserved, // letters, digits and -._~ only: safe anywhere, e.g. a query value
    UrlQueryAllowed,
    UrlPathAllowed,
    UrlFragmentAllowed,
    UrlHostAllowed,
    UrlUserAllowed,
    UrlPasswordAllowed,
};
// Every byte outside the set becomes %XX (upper-case hex), non-ASCII text byte by byte.
std::string percentEncode(std::string_view, PercentEncodeSet = PercentEncodeSet::Unreserved);
// Absent when a "%" is not followed by two hex digits or the bytes decoded are not UTF-8.
// "+" stays "+".
std::optional<std::string> percentDecode(std::string_view);

// --- Identifiers and base64 --------------------------------------------------------
// A random version-4 UUID, upper case, 8-4-4-4-12.
std::string makeUuid();
std::string base64Encode(std::span<const uint8_t>);
// White space is ignored; absent on any other character outside the alphabet or bad padding.
std::optional<std::vector<uint8_t>> base64Decode(std::string_view);

// --- Formatting --------------------------------------------------------------------
// printf-style formatting over Values, with the conversions the product uses:
// %@ (description()), %d %i %ld %lld %li %lli %u %lu %llu %zu (the argument's
// integerValue()), %x %X %o, %f %e %g %F %E %G (doubleValue()), %s (the text), %c, %%.
// Flags - + space 0 #, a width and a precision (".N") are honoured; "*" takes the width
// or precision from the arguments. Positions ("%2$@", "%1$ld") may be used. A missing
// argument formats as null does; an unknown conversion is copied as it stands. Numbers are
// written with "." whatever the process locale.
std::string formatValues(std::string_view format, std::span<const Value> arguments);

inline std::string format(std::string_view fmt, std::initializer_list<Value> arguments)
{
    return formatValues(fmt, std::span<const Value>(arguments.begin(), arguments.size()));
}

template<class... Args>
std::string format(std::string_view fmt, Args&&... arguments)
{
    const Value values[] = { Value(std::forward<Args>(arguments))..., Value() };
    return formatValues(fmt, std::span<const Value>(values, sizeof...(Args)));
}

} // namespace base
