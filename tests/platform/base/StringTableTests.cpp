#include "platform/base/StringTable.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

using base::StringTable;
using Entries = std::map<std::string, std::string>;

Entries entriesOf(const StringTable& table)
{
    return Entries(table.entries().begin(), table.entries().end());
}

struct ParseCase {
    const char* name;
    std::string text;
    Entries expected;
    size_t warnings = 0;
};

void PrintTo(const ParseCase& c, std::ostream* out)
{
    *out << c.name << ": " << testing::PrintToString(c.text);
}

class StringTableParse : public testing::TestWithParam<ParseCase> { };

TEST_P(StringTableParse, ReadsEntries)
{
    StringTable table = StringTable::parse(GetParam().text);
    EXPECT_EQ(entriesOf(table), GetParam().expected);
    EXPECT_EQ(table.warnings().size(), GetParam().warnings) << testing::PrintToString(table.warnings());
}

INSTANTIATE_TEST_SUITE_P(Wellformed, StringTableParse,
    testing::Values(ParseCase { "empty", "", {} },
        ParseCase { "onlyComments", "/* a */\n// b\n  /* multi\nline */", {} },
        ParseCase { "simplePair", R"("OK" = "Fine";)", { { "OK", "Fine" } } },
        ParseCase { "spacingAndComments",
            "/* header */\n\"A\"=\"1\";\n  \"B\"  =  /* inline */ \"2\" ; // trailing\n\"C\" = \"3\";",
            { { "A", "1" }, { "B", "2" }, { "C", "3" } } },
        ParseCase { "escapes", R"("k" = "q\" b\\ n\n t\t r\r";)", { { "k", "q\" b\\ n\n t\t r\r" } } },
        ParseCase { "otherEscapesStandForThemselves", R"("k" = "it\'s \/ \%";)", { { "k", "it's / %" } } },
        ParseCase {
            "unicodeEscape", R"("k" = "caf\u00e9 \U20AC";)", { { "k", "caf\xC3\xA9 \xE2\x82\xAC" } } },
        ParseCase { "surrogatePair", R"("k" = "\uD83D\uDE00";)", { { "k", "\xF0\x9F\x98\x80" } } },
        ParseCase { "loneSurrogateBecomesReplacement", R"("k" = "a\uD83Db";)",
            { { "k",
                "a\xEF\xBF\xBD"
                "b" } } },
        ParseCase { "highThenNonLowSurrogate", R"("k" = "\uD83D\u0041";)",
            { { "k",
                "\xEF\xBF\xBD"
                "A" } } },
        ParseCase { "octalEscape", R"("k" = "\101\102";)", { { "k", "AB" } } },
        ParseCase { "multiLineValue", "\"k\" = \"one\ntwo\";", { { "k", "one\ntwo" } } },
        ParseCase {
            "commentMarkersInsideStrings", R"("url" = "http://x/*y*/";)", { { "url", "http://x/*y*/" } } },
        ParseCase { "unquotedKeyAndValue", "KEY_1 = value.with-dots/and:colons;",
            { { "KEY_1", "value.with-dots/and:colons" } } },
        ParseCase { "keyAloneStandsForItself", R"("Same";)", { { "Same", "Same" } } },
        ParseCase { "emptyKeyAndValue", R"("" = "";)", { { "", "" } } },
        ParseCase { "laterEntryWins", "\"k\" = \"old\";\n\"k\" = \"new\";", { { "k", "new" } } },
        ParseCase { "utf8Text", "\"Hello\" = \"\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7\";",
            { { "Hello", "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7" } } },
        ParseCase { "crlfLines", "\"a\" = \"1\";\r\n\"b\" = \"2\";\r\n", { { "a", "1" }, { "b", "2" } } }),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Broken, StringTableParse,
    testing::Values(ParseCase { "missingSemicolonSkipsThatLineOnly", "\"a\" = \"1\"\n\"b\" = \"2\";",
                        { { "b", "2" } }, 1 },
        ParseCase { "missingSemicolonAtTheEnd", "\"a\" = \"1\";\n\"b\" = \"2\"", { { "a", "1" } }, 1 },
        ParseCase { "missingEquals", "\"a\" \"1\";\n\"b\" = \"2\";", { { "b", "2" } }, 1 },
        ParseCase { "missingValue", "\"a\" = ;\n\"b\" = \"2\";", { { "b", "2" } }, 1 },
        ParseCase {
            "unterminatedStringAtTheEnd", "\"a\" = \"1\";\n\"b\" = \"never closed", { { "a", "1" } }, 1 },
        ParseCase { "unterminatedStringMidFile", "\"a\" = \"1;\n\"b\" = \"2\";\n\"c\" = \"3\";",
            { { "b", "2" }, { "c", "3" } }, 1 },
        ParseCase { "badUnicodeEscape", "\"a\" = \"\\u12G4\";\n\"b\" = \"2\";", { { "b", "2" } }, 1 },
        ParseCase { "truncatedUnicodeEscape", "\"a\" = \"\\u12", {}, 1 },
        ParseCase { "garbageLine", "@@@ ???\n\"b\" = \"2\";", { { "b", "2" } }, 1 },
        ParseCase {
            "unclosedComment", "\"a\" = \"1\";\n/* never closed\n\"b\" = \"2\";", { { "a", "1" } }, 1 },
        ParseCase { "danglingBackslash", "\"a\" = \"\\", {}, 1 },
        ParseCase { "nulBytes", std::string("\"a\" = \"1\";\n\0\0\n\"b\" = \"2\";", 24),
            { { "a", "1" }, { "b", "2" } }, 1 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StringTable, WarningsNameTheLineTheBrokenEntryStartsOn)
{
    StringTable table = StringTable::parse("\"a\" = \"1\";\n\n\"b\" = \"2\"\n\"c\" = \"3\";");
    ASSERT_EQ(table.warnings().size(), 1u);
    EXPECT_EQ(table.warnings()[0].rfind("line 3: ", 0), 0u) << table.warnings()[0];
    EXPECT_EQ(table.size(), 2u);
}

std::string utf16(const std::u16string& text, bool bigEndian, bool bom)
{
    std::string bytes;
    auto put = [&](char16_t unit) {
        char high = static_cast<char>(unit >> 8);
        char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    if (bom)
        put(0xFEFF);
    for (char16_t unit : text)
        put(unit);
    return bytes;
}

TEST(StringTable, ReadsEveryEncodingAlike)
{
    const std::u16string text = u"/* c */\n\"Close\" = \"Schlie\u00dfen \U0001F600\";\n";
    const std::string expected = "Schlie\xC3\x9F"
                                 "en \xF0\x9F\x98\x80";
    struct Encoding {
        const char* name;
        std::string bytes;
    };
    std::vector<Encoding> encodings {
        { "utf8",
            "/* c */\n\"Close\" = \"Schlie\xC3\x9F"
            "en \xF0\x9F\x98\x80\";\n" },
        { "utf8Bom",
            "\xEF\xBB\xBF/* c */\n\"Close\" = \"Schlie\xC3\x9F"
            "en \xF0\x9F\x98\x80\";\n" },
        { "utf16LeBom", utf16(text, false, true) },
        { "utf16BeBom", utf16(text, true, true) },
        { "utf16LeNoBom", utf16(text, false, false) },
        { "utf16BeNoBom", utf16(text, true, false) },
    };
    for (const auto& encoding : encodings) {
        StringTable table = StringTable::parse(encoding.bytes);
        EXPECT_EQ(table.lookup("Close"), expected) << encoding.name;
        EXPECT_TRUE(table.warnings().empty()) << encoding.name;
    }
}

TEST(StringTable, InvalidBytesBecomeReplacementCharacters)
{
    struct Case {
        std::string bytes;
        std::string expected;
    };
    std::vector<Case> cases {
        { "\"k\" = \"a\xFF"
          "b\";",
            "a\xEF\xBF\xBD"
            "b" },
        { "\"k\" = \"\xC3\";", "\xEF\xBF\xBD" },
        { "\"k\" = \"\xC0\xAF\";", "\xEF\xBF\xBD\xEF\xBF\xBD" }, // overlong
        { "\"k\" = \"\xED\xA0\x80\";", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" }, // encoded surrogate
        { utf16(u"\"k\" = \"\xD800\";", false, true), "\xEF\xBF\xBD" },
        { utf16(u"\"k\" = \"x\";", false, true) + "\x41", "x" }, // odd trailing byte dropped
    };
    for (const auto& c : cases)
        EXPECT_EQ(StringTable::parse(c.bytes).lookup("k"), c.expected) << testing::PrintToString(c.bytes);
}

TEST(StringTable, LookupOfMissingKeyIsAbsent)
{
    StringTable table = StringTable::parse(R"("a" = "1";)");
    EXPECT_EQ(table.lookup("a"), "1");
    EXPECT_EQ(table.lookup("A"), std::nullopt);
    EXPECT_EQ(table.lookup(""), std::nullopt);
}

std::string repeated(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(StringTable, HostileInputEnds)
{
    // Each of these once looked like it might loop or recurse.
    std::vector<std::string> inputs {
        std::string(100000, '"'),
        std::string(100000, ';'),
        std::string(50000, '/') + "*",
        std::string(100000, '\\'),
        std::string(100000, '\n'),
        std::string(20000, '=') + "\"",
        repeated("a = /* x\n", 20000) + "*/ x y;", // every line re-reads to the end
        repeated("\"k\" = \"v\";\n", 20000) + "\"k\" = \"never closed",
    };
    for (const auto& input : inputs) {
        StringTable table = StringTable::parse(input);
        EXPECT_LE(table.size(), 1u);
    }
}

} // namespace
