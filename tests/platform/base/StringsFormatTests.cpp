#include "platform/base/Strings.h"

#include <gtest/gtest.h>

using base::Value;

namespace {

TEST(FormatTest, ConversionsOverValues)
{
    struct Case {
        const char* format;
        std::vector<Value> arguments;
        const char* expected;
    };
    const Case cases[] = {
        { "%@", { 42 }, "42" },
        { "%@", { 4.5 }, "4.5" },
        { "%@", { 3.0 }, "3" },
        { "%@", { "text" }, "text" },
        { "%@", { Value() }, "<null>" },
        { "%@", { true }, "1" },
        { "LastPageFolio_%@_%@", { "b1", 7 }, "LastPageFolio_b1_7" },
        { "%d items", { "12abc" }, "12 items" },
        { "%ld", { int64_t(5000000000) }, "5000000000" },
        { "%d", { int64_t(5000000000) }, "5000000000" },
        { "%ld", { 3.9 }, "3" },
        { "%i", { -7 }, "-7" },
        { "%u", { -1 }, "4294967295" },
        { "%lu", { -1 }, "18446744073709551615" },
        { "%llu", { 12 }, "12" },
        { "%zu", { 12 }, "12" },
        { "%05d", { 42 }, "00042" },
        { "%05d", { -42 }, "-0042" },
        { "%-5d|", { 42 }, "42   |" },
        { "%5d|", { 42 }, "   42|" },
        { "%+d", { 5 }, "+5" },
        { "% d", { 5 }, " 5" },
        { "%.3d", { 7 }, "007" },
        { "%*d", { 5, 42 }, "   42" },
        { "%-*d|", { 4, 1 }, "1   |" },
        { "%x", { 255 }, "ff" },
        { "%X", { 255 }, "FF" },
        { "%#x", { 255 }, "0xff" },
        { "%o", { 8 }, "10" },
        { "%0.6X", { 0x0A0B0C }, "0A0B0C" },
        { "%0.6X", { 0xFF0000 }, "FF0000" },
        { "%f", { 1.5 }, "1.500000" },
        { "%.2f", { 3.14159 }, "3.14" },
        { "%.0f", { 2.5 }, "2" },
        { "%0.3f", { 0.5 }, "0.500" },
        { "%8.2f|", { -3.14159 }, "   -3.14|" },
        { "%08.2f", { -3.14159 }, "-0003.14" },
        { "{%0.3f, %0.3f}", { 0.5, 1 }, "{0.500, 1.000}" },
        { "%f", { "2.25" }, "2.250000" },
        { "%e", { 12345.678 }, "1.234568e+04" },
        { "%g", { 0.0001 }, "0.0001" },
        { "%G", { 1e-10 }, "1E-10" },
        { "%.1f", { Value() }, "0.0" },
        { "%s", { "abc" }, "abc" },
        { "%.2s", { "abc" }, "ab" },
        { "%.2s", { "h\xC3\xA9llo" }, "h" }, // never half a character
        { "%5@|", { "ab" }, "   ab|" },
        { "%-5@|", { "\xC3\xA9" }, "\xC3\xA9    |" }, // width counts characters, not bytes
        { "%c", { 65 }, "A" },
        { "%c", { 0xE9 }, "\xC3\xA9" },
        { "%%", {}, "%" },
        { "100%", {}, "100%" },
        { "50%% off", {}, "50% off" },
        { "%y", { 1 }, "%y" },
        { "%2$@ %1$@", { "a", "b" }, "b a" },
        { "%1$@%1$@", { "x" }, "xx" },
        { "%2$ld-%1$.1f", { 1.25, 9 }, "9-1.2" },
        { "%@ %@", { "a" }, "a <null>" },
        { "%d", {}, "0" },
        { "no conversions", { 1, 2 }, "no conversions" },
        { "%lld", { "-9223372036854775808" }, "-9223372036854775808" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(base::formatValues(c.format, c.arguments), c.expected);
    }
}

TEST(FormatTest, VariadicAndListForms)
{
    EXPECT_EQ(base::format("%@-%d-%.1f", std::string("a"), 3, 2.25), "a-3-2.2");
    EXPECT_EQ(base::format("%@/%@", { Value("x"), Value(Value::List {}) }), "x/(\n)");
    EXPECT_EQ(base::format("plain"), "plain");
}

TEST(FormatTest, HostileWidthsAreBounded)
{
    EXPECT_LE(base::formatValues("%999999999d", std::vector<Value> { 1 }).size(), 4096u);
    EXPECT_LE(base::formatValues("%.999999999f", std::vector<Value> { 1.0 }).size(), 4096u);
    EXPECT_LE(base::formatValues("%*d", std::vector<Value> { int64_t(-9223372036854775807 - 1), 1 }).size(), 4096u);
}

} // namespace
