#include "platform/base/Strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <utf8proc.h>

namespace base {

namespace {

bool isSpaceOrNewline(char32_t c)
{
    return isWhitespaceCodePoint(c) || isNewlineCodePoint(c);
}

// The offset of the first code point that is not white space or a newline.
size_t skipLeadingSpace(std::string_view text)
{
    size_t offset = 0;
    while (offset < text.size()) {
        size_t next = offset;
        if (!isSpaceOrNewline(decodeUtf8(text, next)))
            break;
        offset = next;
    }
    return offset;
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

// --- UTF-8 -------------------------------------------------------------------------

char32_t decodeUtf8(std::string_view text, size_t& offset)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t first = byte(offset);
    if (first < 0x80) {
        ++offset;
        return first;
    }
    size_t extra;
    char32_t value;
    char32_t minimum;
    if ((first & 0xE0) == 0xC0) {
        extra = 1;
        value = first & 0x1F;
        minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        extra = 2;
        value = first & 0x0F;
        minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        extra = 3;
        value = first & 0x07;
        minimum = 0x10000;
    } else {
        ++offset;
        return replacementCharacter;
    }
    if (text.size() - offset <= extra) {
        ++offset;
        return replacementCharacter;
    }
    for (size_t i = 1; i <= extra; ++i) {
        const uint8_t b = byte(offset + i);
        if ((b & 0xC0) != 0x80) {
            ++offset;
            return replacementCharacter;
        }
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++offset;
        return replacementCharacter;
    }
    offset += extra + 1;
    return value;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = replacementCharacter;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<size_t> firstInvalidUtf8Byte(std::string_view text)
{
    size_t offset = 0;
    while (offset < text.size()) {
        const size_t start = offset;
        if (decodeUtf8(text, offset) == replacementCharacter) {
            // A literal U+FFFD is three bytes; a decoding error moves one.
            if (offset - start != 3)
                return start;
        }
    }
    return std::nullopt;
}

bool isValidUtf8(std::string_view text)
{
    return !firstInvalidUtf8Byte(text);
}

std::string validUtf8(std::string_view text)
{
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    size_t offset = 0;
    while (offset < text.size())
        appendUtf8(out, decodeUtf8(text, offset));
    return out;
}

// --- Numbers from text -------------------------------------------------------------

int64_t integerValue(std::string_view text)
{
    size_t i = skipLeadingSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate negatively so INT64_MIN is reachable without overflow.
    int64_t value = 0;
    bool saturated = false;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (saturated)
            continue;
        if (value < (std::numeric_limits<int64_t>::min() + digit) / 10) {
            saturated = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (saturated)
        return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    if (!negative)
        return value == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max() : -value;
    return value;
}

int32_t intValue(std::string_view text)
{
    const int64_t value = integerValue(text);
    return static_cast<int32_t>(std::clamp<int64_t>(
        value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

double doubleValue(std::string_view text)
{
    size_t i = skipLeadingSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars refuses a sign of its own after ours, and hex floats are not numbers here.
    if (i >= text.size() || text[i] == '+' || text[i] == '-')
        return 0;
    double value = 0;
    const char* begin = text.data() + i;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ptr == begin)
        return 0;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small: tell which from the exponent's sign.
        const std::string_view number(begin, static_cast<size_t>(ptr - begin));
        const size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

bool boolValue(std::string_view text)
{
    size_t i = skipLeadingSpace(text);
    if (i >= text.size())
        return false;
    const char c = text[i];
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't')
        return true;
    if (c == '+' || c == '-')
        ++i;
    while (i < text.size() && text[i] == '0')
        ++i;
    return i < text.size() && text[i] >= '1' && text[i] <= '9';
}

// --- UTF-16 counting ---------------------------------------------------------------

size_t utf16Length(std::string_view text)
{
    size_t length = 0;
    size_t offset = 0;
    while (offset < text.size()) {
        // ASCII fast path: one unit per byte.
        if (static_cast<uint8_t>(text[offset]) < 0x80) {
            ++offset;
            ++length;
            continue;
        }
        length += decodeUtf8(text, offset) >= 0x10000 ? 2 : 1;
    }
    return length;
}

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t offset = 0;
    while (offset < text.size()) {
        const char32_t c = decodeUtf8(text, offset);
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

size_t utf8OffsetOfUtf16Index(std::string_view text, size_t utf16Index)
{
    size_t units = 0;
    size_t offset = 0;
    while (offset < text.size() && units < utf16Index) {
        size_t next = offset;
        const size_t width = decodeUtf8(text, next) >= 0x10000 ? 2 : 1;
        if (units + width > utf16Index)
            break; // the index falls inside this pair: cut before it
        units += width;
        offset = next;
    }
    return offset;
}

std::string utf16Substring(std::string_view text, size_t location, size_t length)
{
    const size_t end = length > std::numeric_limits<size_t>::max() - location ? std::numeric_limits<size_t>::max()
                                                                                : location + length;
    const size_t startByte = utf8OffsetOfUtf16Index(text, location);
    const size_t endByte = utf8OffsetOfUtf16Index(text, end);
    if (endByte <= startByte)
        return {};
    return std::string(text.substr(startByte, endByte - startByte));
}

std::optional<size_t> utf16IndexOf(std::string_view haystack, std::string_view needle, size_t from)
{
    if (needle.empty())
        return std::nullopt;
    const size_t start = utf8OffsetOfUtf16Index(haystack, from);
    const size_t found = haystack.find(needle, start);
    if (found == std::string_view::npos)
        return std::nullopt;
    return utf16Length(haystack.substr(0, found));
}

int decimalDigitValue(char32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    auto isDigit = [](char32_t point) {
        return point <= 0x10FFFF
            && utf8proc_category(static_cast<utf8proc_int32_t>(point)) == UTF8PROC_CATEGORY_ND;
    };
    if (c < 0x80 || !isDigit(c))
        return -1;
    // Decimal digits come in runs of whole sets from zero to nine, some sets back to back:
    // a digit's value is its distance from the run's start, modulo ten.
    char32_t start = c;
    while (start > 0 && isDigit(start - 1))
        --start;
    return static_cast<int>((c - start) % 10);
}

// --- Trimming and case -------------------------------------------------------------

bool isWhitespaceCodePoint(char32_t c)
{
    if (c == '\t' || c == ' ')
        return true;
    if (c < 0x80 || c > 0x10FFFF)
        return false;
    return utf8proc_category(static_cast<utf8proc_int32_t>(c)) == UTF8PROC_CATEGORY_ZS;
}

bool isNewlineCodePoint(char32_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

namespace {

template<class Predicate>
std::string trimmed(std::string_view text, Predicate isTrimmed)
{
    size_t begin = text.size();
    size_t end = 0;
    size_t offset = 0;
    while (offset < text.size()) {
        const size_t start = offset;
        if (!isTrimmed(decodeUtf8(text, offset))) {
            begin = std::min(begin, start);
            end = offset;
        }
    }
    if (begin >= end)
        return {};
    return std::string(text.substr(begin, end - begin));
}

template<class Map>
std::string mapCodePoints(std::string_view text, Map map)
{
    std::string out;
    out.reserve(text.size());
    size_t offset = 0;
    while (offset < text.size())
        map(out, decodeUtf8(text, offset));
    return out;
}

// Case-folded (and canonically decomposed) code points, each tagged with the index of the
// source code point it came from, so a match can be mapped back to the source.
struct FoldedText {
    std::vector<char32_t> points;
    std::vector<size_t> source; // index of the source code point
    std::vector<size_t> sourceUtf16Start; // per source code point, plus one past the end
};

FoldedText fold(std::string_view text)
{
    FoldedText folded;
    folded.points.reserve(text.size());
    folded.source.reserve(text.size());
    size_t offset = 0;
    size_t units = 0;
    size_t index = 0;
    utf8proc_int32_t buffer[32];
    while (offset < text.size()) {
        const char32_t c = decodeUtf8(text, offset);
        folded.sourceUtf16Start.push_back(units);
        units += c >= 0x10000 ? 2 : 1;
        if (c < 0x80) {
            folded.points.push_back(c >= 'A' && c <= 'Z' ? c + 32 : c);
            folded.source.push_back(index);
        } else {
            int last = 0;
            const utf8proc_ssize_t n = utf8proc_decompose_char(static_cast<utf8proc_int32_t>(c), buffer, 32,
                static_cast<utf8proc_option_t>(UTF8PROC_CASEFOLD | UTF8PROC_DECOMPOSE), &last);
            if (n <= 0 || n > 32) {
                folded.points.push_back(c);
                folded.source.push_back(index);
            } else {
                for (utf8proc_ssize_t k = 0; k < n; ++k) {
                    folded.points.push_back(static_cast<char32_t>(buffer[k]));
                    folded.source.push_back(index);
                }
            }
        }
        ++index;
    }
    folded.sourceUtf16Start.push_back(units);
    return folded;
}

std::vector<char32_t> foldedPoints(std::string_view text)
{
    return fold(text).points;
}

int sign(int64_t value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

std::string trimWhitespace(std::string_view text)
{
    return trimmed(text, isWhitespaceCodePoint);
}

std::string trimWhitespaceAndNewlines(std::string_view text)
{
    return trimmed(text, isSpaceOrNewline);
}

std::string lowercase(std::string_view text)
{
    return mapCodePoints(text, [](std::string& out, char32_t c) {
        appendUtf8(out, static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(c))));
    });
}

std::string uppercase(std::string_view text)
{
    return mapCodePoints(text, [](std::string& out, char32_t c) {
        if (c == 0xDF) { // sharp s has no single upper-case letter
            out += "SS";
            return;
        }
        appendUtf8(out, static_cast<char32_t>(utf8proc_toupper(static_cast<utf8proc_int32_t>(c))));
    });
}

std::optional<Range> rangeOfCaseInsensitive(std::string_view haystack, std::string_view needle)
{
    if (needle.empty() || haystack.empty())
        return std::nullopt;
    const FoldedText hay = fold(haystack);
    const std::vector<char32_t> pattern = foldedPoints(needle);
    if (pattern.empty())
        return std::nullopt;
    auto from = hay.points.begin();
    while (true) {
        const auto match = std::search(from, hay.points.end(), pattern.begin(), pattern.end());
        if (match == hay.points.end())
            return std::nullopt;
        const size_t first = static_cast<size_t>(match - hay.points.begin());
        const size_t last = first + pattern.size(); // one past
        // Both ends must fall on boundaries of source characters: "s" does not match half
        // of the "ss" that a sharp s folds to.
        const bool startAligned = first == 0 || hay.source[first - 1] != hay.source[first];
        const bool endAligned = last == hay.points.size() || hay.source[last - 1] != hay.source[last];
        if (startAligned && endAligned) {
            const size_t begin = hay.sourceUtf16Start[hay.source[first]];
            const size_t end = hay.sourceUtf16Start[hay.source[last - 1] + 1];
            return Range { begin, end - begin };
        }
        from = match + 1;
    }
}

bool containsCaseInsensitive(std::string_view haystack, std::string_view needle)
{
    return rangeOfCaseInsensitive(haystack, needle).has_value();
}

int compareCaseInsensitive(std::string_view a, std::string_view b)
{
    const std::vector<char32_t> left = foldedPoints(a);
    const std::vector<char32_t> right = foldedPoints(b);
    const auto order = std::lexicographical_compare_three_way(left.begin(), left.end(), right.begin(), right.end());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool equalsCaseInsensitive(std::string_view a, std::string_view b)
{
    return compareCaseInsensitive(a, b) == 0;
}

namespace {

// Collation classes: spaces and punctuation sort before digits, digits before letters.
int collationClass(char32_t c)
{
    if (isSpaceOrNewline(c))
        return 0;
    if (c >= '0' && c <= '9')
        return 2;
    if (c < 0x80)
        return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') ? 3 : 1;
    const auto category = utf8proc_category(static_cast<utf8proc_int32_t>(c));
    if (category >= UTF8PROC_CATEGORY_PC && category <= UTF8PROC_CATEGORY_SO)
        return 1;
    return 3;
}

int compareDigitRuns(std::string_view a, std::string_view b, int& zeroTieBreak)
{
    const size_t aZeros = std::min(a.find_first_not_of('0'), a.size());
    const size_t bZeros = std::min(b.find_first_not_of('0'), b.size());
    const std::string_view aDigits = a.substr(aZeros);
    const std::string_view bDigits = b.substr(bZeros);
    if (aDigits.size() != bDigits.size())
        return aDigits.size() < bDigits.size() ? -1 : 1;
    if (const int c = aDigits.compare(bDigits))
        return sign(c);
    if (zeroTieBreak == 0 && aZeros != bZeros)
        zeroTieBreak = aZeros < bZeros ? -1 : 1;
    return 0;
}

} // namespace

int localizedStandardCompare(std::string_view a, std::string_view b)
{
    size_t i = 0;
    size_t j = 0;
    int tieBreak = 0; // leading zeros, then case: only used when all else is equal
    while (i < a.size() && j < b.size()) {
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            size_t iEnd = i;
            size_t jEnd = j;
            while (iEnd < a.size() && isAsciiDigit(a[iEnd]))
                ++iEnd;
            while (jEnd < b.size() && isAsciiDigit(b[jEnd]))
                ++jEnd;
            if (const int c = compareDigitRuns(a.substr(i, iEnd - i), b.substr(j, jEnd - j), tieBreak))
                return c;
            i = iEnd;
            j = jEnd;
            continue;
        }
        size_t iNext = i;
        size_t jNext = j;
        const char32_t ca = decodeUtf8(a, iNext);
        const char32_t cb = decodeUtf8(b, jNext);
        const std::vector<char32_t> fa = foldedPoints(a.substr(i, iNext - i));
        const std::vector<char32_t> fb = foldedPoints(b.substr(j, jNext - j));
        if (fa != fb) {
            const int classA = collationClass(fa.empty() ? ca : fa.front());
            const int classB = collationClass(fb.empty() ? cb : fb.front());
            if (classA != classB)
                return classA < classB ? -1 : 1;
            return std::lexicographical_compare(fa.begin(), fa.end(), fb.begin(), fb.end()) ? -1 : 1;
        }
        if (tieBreak == 0 && ca != cb) {
            // Same letter in another case: lower case first.
            const bool aLower = utf8proc_tolower(static_cast<utf8proc_int32_t>(ca)) == static_cast<utf8proc_int32_t>(ca);
            tieBreak = aLower ? -1 : 1;
        }
        i = iNext;
        j = jNext;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return tieBreak;
}

// --- Splitting, replacing, prefixes --------------------------------------------------

std::vector<std::string> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    size_t start = 0;
    while (true) {
        const size_t found = text.find(separator, start);
        if (found == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

std::string join(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += separator;
        out += parts[i];
    }
    return out;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    while (true) {
        const size_t found = text.find(from, start);
        if (found == std::string_view::npos) {
            out += text.substr(start);
            return out;
        }
        out += text.substr(start, found - start);
        out += to;
        start = found + from.size();
    }
}

bool hasPrefix(std::string_view text, std::string_view prefix)
{
    return !prefix.empty() && text.starts_with(prefix);
}

bool hasSuffix(std::string_view text, std::string_view suffix)
{
    return !suffix.empty() && text.ends_with(suffix);
}

} // namespace base
