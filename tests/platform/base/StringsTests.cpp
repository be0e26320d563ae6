#include "platform/base/Strings.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <regex>
#include <set>

using base::Range;

namespace {

TEST(StringsTest, IntegerValueOfText)
{
    struct Case {
        const char* text;
        int64_t integer;
        int32_t int32;
    };
    const Case cases[] = {
        { "12abc", 12, 12 },
        { "  -3x", -3, -3 },
        { "\t\n +8", 8, 8 },
        { "abc", 0, 0 },
        { "", 0, 0 },
        { "3.9", 3, 3 },
        { "-", 0, 0 },
        { "+-1", 0, 0 },
        { "- 1", 0, 0 },
        { "0x1A", 0, 0 },
        { "007", 7, 7 },
        { "2147483648", 2147483648, 2147483647 },
        { "-2147483649", -2147483649, -2147483647 - 1 },
        { "9223372036854775807", 9223372036854775807, 2147483647 },
        { "9223372036854775808", 9223372036854775807, 2147483647 },
        { "-9223372036854775808", std::numeric_limits<int64_t>::min(), -2147483647 - 1 },
        { "-99999999999999999999999", std::numeric_limits<int64_t>::min(), -2147483647 - 1 },
        { "\xC2\xA0" "5", 5, 5 }, // no-break space is white space
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::integerValue(c.text), c.integer);
        EXPECT_EQ(base::intValue(c.text), c.int32);
    }
}

TEST(StringsTest, DoubleValueOfText)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        { "2.5", 2.5 },
        { "  -2.5e3xyz", -2500 },
        { ".5", 0.5 },
        { "+.5", 0.5 },
        { "5.", 5 },
        { "1e", 1 },
        { "abc", 0 },
        { "", 0 },
        { "--1", 0 },
        { "1e999", std::numeric_limits<double>::infinity() },
        { "-1e999", -std::numeric_limits<double>::infinity() },
        { "1e-999", 0 },
        { "12,5", 12 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::doubleValue(c.text), c.value);
    }
    EXPECT_FLOAT_EQ(base::floatValue("0.1"), 0.1f);
}

TEST(StringsTest, BoolValueOfText)
{
    struct Case {
        const char* text;
        bool value;
    };
    const Case cases[] = {
        { "YES", true },
        { "yes", true },
        { "true", true },
        { "T", true },
        { "  y", true },
        { "1", true },
        { "+007", true },
        { "-5", true },
        { "9", true },
        { "NO", false },
        { "no", false },
        { "false", false },
        { "0", false },
        { "000", false },
        { "0.9", false },
        { "-0", false },
        { "", false },
        { "  ", false },
        { "on", false },
        { "+y", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::boolValue(c.text), c.value);
    }
}

TEST(StringsTest, Utf16Length)
{
    EXPECT_EQ(base::utf16Length(""), 0u);
    EXPECT_EQ(base::utf16Length("abc"), 3u);
    EXPECT_EQ(base::utf16Length("\xC3\xA9"), 1u); // é
    EXPECT_EQ(base::utf16Length("\xE2\x82\xAC"), 1u); // €
    EXPECT_EQ(base::utf16Length("a\xF0\x9F\x98\x80" "b"), 4u); // a😀b
    EXPECT_EQ(base::utf16Length("\xFF\xFE"), 2u); // each bad byte counts as one U+FFFD
    EXPECT_EQ(base::utf16Length("\xC0\xAF"), 2u); // overlong "/" is refused
    EXPECT_EQ(base::utf16Length("\xED\xA0\x80"), 3u); // encoded surrogate is refused
}

TEST(StringsTest, Utf16SubstringNeverSplitsASurrogatePair)
{
    const std::string text = "a\xF0\x9F\x98\x80" "b"; // a😀b: units a, hi, lo, b
    const std::string emoji = "\xF0\x9F\x98\x80";
    struct Case {
        size_t location;
        size_t length;
        std::string expected;
    };
    const Case cases[] = {
        { 0, 1, "a" },
        { 0, 2, "a" }, // end inside the pair moves before it
        { 0, 3, "a" + emoji },
        { 1, 2, emoji },
        { 2, 2, emoji + "b" }, // start inside the pair moves before it
        { 2, 0, "" },
        { 3, 1, "b" },
        { 3, 100, "b" },
        { 4, 1, "" },
        { 100, 5, "" },
        { 1, std::numeric_limits<size_t>::max(), emoji + "b" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.location) + "," + std::to_string(c.length));
        EXPECT_EQ(base::utf16Substring(text, c.location, c.length), c.expected);
    }
    EXPECT_EQ(base::utf16Substring("h\xC3\xA9llo", Range { 1, 3 }), "\xC3\xA9ll");
}

TEST(StringsTest, Utf16ConversionsRoundTrip)
{
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::u16string units = base::utf8ToUtf16(text);
    EXPECT_EQ(units, (std::u16string { u'a', u'\u00E9', u'\u20AC', 0xD83D, 0xDE00 }));
    EXPECT_EQ(base::utf16ToUtf8(units), text);
    // An unpaired surrogate cannot be written as UTF-8.
    EXPECT_EQ(base::utf16ToUtf8(std::u16string { u'x', 0xD83D }), "x\xEF\xBF\xBD");
    EXPECT_EQ(base::utf16ToUtf8(std::u16string { 0xDE00, u'y' }), "\xEF\xBF\xBDy");
}

TEST(StringsTest, Utf16IndexOf)
{
    const std::string text = "a\xF0\x9F\x98\x80" "bab";
    EXPECT_EQ(base::utf16IndexOf(text, "b"), 3u);
    EXPECT_EQ(base::utf16IndexOf(text, "b", 4), 5u);
    EXPECT_EQ(base::utf16IndexOf(text, "a", 1), 4u);
    EXPECT_EQ(base::utf16IndexOf(text, "\xF0\x9F\x98\x80"), 1u);
    EXPECT_FALSE(base::utf16IndexOf(text, "z"));
    EXPECT_FALSE(base::utf16IndexOf(text, ""));
    EXPECT_FALSE(base::utf16IndexOf(text, "b", 6));
}

TEST(StringsTest, DecimalDigitsOfEveryScript)
{
    struct Case {
        char32_t character;
        int value;
    };
    const Case cases[] = {
        { U'0', 0 },
        { U'7', 7 },
        // Arabic-Indic, extended Arabic-Indic, Devanagari, Bengali.
        { U'\u0660', 0 },
        { U'\u0663', 3 },
        { U'\u06F9', 9 },
        { U'\u0966', 0 },
        { U'\u096B', 5 },
        { U'\u09EF', 9 },
        // Full-width digits, and sets of digits that follow each other without a gap.
        { U'\uFF18', 8 },
        { U'\U0001D7CE', 0 },
        { U'\U0001D7D8', 0 },
        { U'\U0001D7E1', 9 },
        { U'\U0001D7FF', 9 },
        // Numbers that are not decimal digits, letters, and what is no character.
        { U'\u00B2', -1 },
        { U'\u2167', -1 },
        { U'\u0967' + 10, -1 },
        { U'a', -1 },
        { U'/', -1 },
        { 0x110000, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::decimalDigitValue(c.character), c.value) << std::hex << uint32_t(c.character);
}

TEST(StringsTest, Trimming)
{
    struct Case {
        const char* text;
        const char* whitespace;
        const char* whitespaceAndNewlines;
    };
    const Case cases[] = {
        { "\t x \n", "x \n", "x" },
        { "  ", "", "" },
        { "", "", "" },
        { "\n\r", "\n\r", "" },
        { "\xC2\xA0" "a b" "\xE3\x80\x80", "a b", "a b" }, // no-break and ideographic spaces
        { "\xE2\x80\xA8x", "\xE2\x80\xA8x", "x" }, // line separator is a newline, not white space
        { "x", "x", "x" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::trimWhitespace(c.text), c.whitespace);
        EXPECT_EQ(base::trimWhitespaceAndNewlines(c.text), c.whitespaceAndNewlines);
    }
}

TEST(StringsTest, CaseMapping)
{
    EXPECT_EQ(base::lowercase("ABC \xC3\x80\xC3\x89\xC3\x8E"), "abc \xC3\xA0\xC3\xA9\xC3\xAE");
    EXPECT_EQ(base::uppercase("stra\xC3\x9F" "e"), "STRASSE");
    EXPECT_EQ(base::uppercase("\xCE\xB1\xCE\xB2"), "\xCE\x91\xCE\x92"); // Greek
}

TEST(StringsTest, CaseInsensitiveSearch)
{
    struct Case {
        const char* haystack;
        const char* needle;
        std::optional<Range> range;
    };
    const Case cases[] = {
        { "Bookmark", "MARK", Range { 4, 4 } },
        { "Bookmark", "", std::nullopt },
        { "", "a", std::nullopt },
        { "\xC3\x89" "COLE", "\xC3\xA9" "cole", Range { 0, 5 } }, // ÉCOLE / école
        { "a\xF0\x9F\x98\x80" "Bc", "bC", Range { 3, 2 } }, // after a pair: UTF-16 location
        { "Stra\xC3\x9F" "e", "STRASSE", Range { 0, 6 } }, // sharp s folds to ss
        { "Stra\xC3\x9F" "e", "ss", Range { 4, 1 } },
        { "\xC3\x9F", "s", std::nullopt }, // half of a folded character is no match
        { "abc", "abcd", std::nullopt },
        { "xAxAB", "ab", Range { 3, 2 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.haystack) + " / " + c.needle);
        EXPECT_EQ(base::rangeOfCaseInsensitive(c.haystack, c.needle), c.range);
        EXPECT_EQ(base::containsCaseInsensitive(c.haystack, c.needle), c.range.has_value());
    }
}

TEST(StringsTest, CaseInsensitiveCompare)
{
    EXPECT_EQ(base::compareCaseInsensitive("abc", "ABC"), 0);
    EXPECT_EQ(base::compareCaseInsensitive("abc", "ABD"), -1);
    EXPECT_EQ(base::compareCaseInsensitive("b", "A"), 1);
    EXPECT_EQ(base::compareCaseInsensitive("ab", "abc"), -1);
    EXPECT_TRUE(base::equalsCaseInsensitive("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));
    EXPECT_FALSE(base::equalsCaseInsensitive("a", "a "));
}

TEST(StringsTest, LocalizedStandardCompareOrdersNumbersByValue)
{
    std::vector<std::string> names = { "page10", "Page2", "page1", "page 3", "Chapter", "apple", "page2a", "10", "9" };
    std::sort(names.begin(), names.end(),
        [](const std::string& a, const std::string& b) { return base::localizedStandardCompare(a, b) < 0; });
    EXPECT_EQ(names,
        (std::vector<std::string> { "9", "10", "apple", "Chapter", "page 3", "page1", "Page2", "page2a", "page10" }));
    EXPECT_EQ(base::localizedStandardCompare("file9.txt", "file10.txt"), -1);
    EXPECT_EQ(base::localizedStandardCompare("x", "x"), 0);
    EXPECT_EQ(base::localizedStandardCompare("a", "A"), -1); // same letter: lower case first
    EXPECT_NE(base::localizedStandardCompare("1", "01"), 0);
}

TEST(StringsTest, SplitJoinReplace)
{
    struct Case {
        const char* text;
        const char* separator;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        { "a,,b", ",", { "a", "", "b" } },
        { "", ",", { "" } },
        { ",", ",", { "", "" } },
        { "abc", "", { "abc" } },
        { "a::b::", "::", { "a", "b", "" } },
        { "abc", "x", { "abc" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::split(c.text, c.separator), c.parts);
        EXPECT_EQ(base::join(c.parts, c.separator), c.text);
    }
    EXPECT_EQ(base::replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(base::replaceAll("a.b.c", ".", ""), "abc");
    EXPECT_EQ(base::replaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(base::replaceAll("_preview12_preview", "_preview", ""), "12");
}

TEST(StringsTest, PrefixAndSuffixFollowThePlatformOnEmptyArguments)
{
    EXPECT_TRUE(base::hasPrefix("LastPageFolio_1", "LastPage"));
    EXPECT_FALSE(base::hasPrefix("abc", ""));
    EXPECT_FALSE(base::hasPrefix("ab", "abc"));
    EXPECT_TRUE(base::hasSuffix("book.pdf", ".pdf"));
    EXPECT_FALSE(base::hasSuffix("abc", ""));
}

TEST(StringsTest, PercentEncoding)
{
    struct Case {
        const char* text;
        base::PercentEncodeSet set;
        const char* encoded;
    };
    using Set = base::PercentEncodeSet;
    const Case cases[] = {
        { "a b&c=d/\xC3\xA9~", Set::Unreserved, "a%20b%26c%3Dd%2F%C3%A9~" },
        { "a b&c=d/?#", Set::UrlQueryAllowed, "a%20b&c=d/?%23" },
        { "/a b/c?d", Set::UrlPathAllowed, "/a%20b/c%3Fd" },
        { "us:er@", Set::UrlUserAllowed, "us%3Aer%40" },
        { "[::1]:80", Set::UrlHostAllowed, "[::1]:80" },
        { "100%", Set::UrlQueryAllowed, "100%25" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::percentEncode(c.text, c.set), c.encoded);
        EXPECT_EQ(base::percentDecode(c.encoded), c.text);
    }
}

TEST(StringsTest, PercentDecodingRefusesBadEscapes)
{
    struct Case {
        const char* text;
        std::optional<std::string> decoded;
    };
    const Case cases[] = {
        { "a%20b", "a b" },
        { "%C3%A9", "\xC3\xA9" },
        { "%c3%a9", "\xC3\xA9" },
        { "a+b", "a+b" },
        { "", "" },
        { "%", std::nullopt },
        { "%4", std::nullopt },
        { "abc%", std::nullopt },
        { "%zz", std::nullopt },
        { "%G1", std::nullopt },
        { "%FF", std::nullopt }, // not UTF-8
        { "%C3", std::nullopt }, // truncated sequence
        { "%00", std::string(1, '\0') },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::percentDecode(c.text), c.decoded);
    }
}

TEST(StringsTest, UuidsAreVersion4UpperCase)
{
    const std::regex shape("^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string uuid = base::makeUuid();
        EXPECT_TRUE(std::regex_match(uuid, shape)) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(StringsTest, Base64)
{
    struct Case {
        std::vector<uint8_t> bytes;
        const char* text;
    };
    const Case cases[] = {
        { {}, "" },
        { { 'f' }, "Zg==" },
        { { 'f', 'o' }, "Zm8=" },
        { { 'f', 'o', 'o' }, "Zm9v" },
        { { 0xFB, 0xFF }, "+/8=" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::base64Encode(c.bytes), c.text);
        EXPECT_EQ(base::base64Decode(c.text), c.bytes);
    }
    EXPECT_EQ(base::base64Decode(" Zm9v\n Zg==\n"), (std::vector<uint8_t> { 'f', 'o', 'o', 'f' }));
    for (const char* bad : { "Z", "Zm9v!", "Zg=a", "Zg===", "=Zg", "Zm9vZ" }) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(base::base64Decode(bad));
    }
}

TEST(StringsTest, Utf8Validation)
{
    EXPECT_TRUE(base::isValidUtf8("a\xC3\xA9\xEF\xBF\xBD"));
    EXPECT_FALSE(base::isValidUtf8("\xC3"));
    EXPECT_FALSE(base::isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    std::string out;
    base::appendUtf8(out, 0xD800);
    EXPECT_EQ(out, "\xEF\xBF\xBD");
}

} // namespace
