#include "platform/base/Json.h"
#include "platform/base/Strings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using base::Value;

namespace {

Value parsedJson(std::string_view text)
{
    auto result = base::parseJson(text);
    EXPECT_TRUE(result.ok()) << text << ": " << (result.ok() ? "" : result.error().localizedDescription());
    return result.ok() ? result.value() : Value();
}

TEST(JsonTest, ParsesEveryKindAndKeepsIntegersIntegral)
{
    const Value v = parsedJson(R"({"i":1,"neg":-7,"d":2.5,"e":1e2,"one":1.0,"t":true,"f":false,"n":null,"s":"x\/y",
        "list":[1,"two",[3]],"obj":{"k":"v"}})");
    EXPECT_EQ(v["i"].type(), Value::Type::Integer);
    EXPECT_EQ(v["neg"].asInteger(), -7);
    EXPECT_EQ(v["d"].type(), Value::Type::Double);
    EXPECT_EQ(v["e"].type(), Value::Type::Double);
    EXPECT_EQ(v["e"].asDouble(), 100.0);
    EXPECT_EQ(v["one"].type(), Value::Type::Double);
    EXPECT_EQ(v["t"].asBool(), true);
    EXPECT_EQ(v["f"].asBool(), false);
    EXPECT_TRUE(v["n"].isNull());
    EXPECT_TRUE(v.asDictionary()->contains("n"));
    EXPECT_EQ(v["s"].asString(), "x/y");
    EXPECT_EQ(v["list"].at(2).at(0), Value(3));
    EXPECT_EQ(v["obj"]["k"].asString(), "v");
}

TEST(JsonTest, IntegerRange)
{
    struct Case {
        const char* text;
        Value::Type type;
    };
    const Case cases[] = {
        { "9223372036854775807", Value::Type::Integer },
        { "-9223372036854775808", Value::Type::Integer },
        { "9223372036854775808", Value::Type::Double },
        { "18446744073709551616", Value::Type::Double },
        { "-9223372036854775809", Value::Type::Double },
        { "0", Value::Type::Integer },
        { "-0", Value::Type::Integer },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parsedJson(c.text).type(), c.type);
    }
    EXPECT_EQ(parsedJson("9223372036854775807").asInteger(), std::numeric_limits<int64_t>::max());
}

TEST(JsonTest, TopLevelScalarsAndUnicodeEscapes)
{
    EXPECT_EQ(parsedJson("42"), Value(42));
    EXPECT_EQ(parsedJson(" \"s\" "), Value("s"));
    EXPECT_EQ(parsedJson("null"), Value());
    EXPECT_EQ(parsedJson(R"("\u00e9\ud83d\ude00\n")"), Value("\xC3\xA9\xF0\x9F\x98\x80\n"));
}

TEST(JsonTest, RepeatedKeyKeepsLastValueInFirstPlace)
{
    const Value v = parsedJson(R"({"a":1,"b":2,"a":3})");
    EXPECT_EQ(v.asDictionary()->keys(), (std::vector<std::string> { "a", "b" }));
    EXPECT_EQ(v["a"], Value(3));
}

TEST(JsonTest, MalformedTextIsAnError)
{
    const char* cases[] = {
        "",
        "   ",
        "{",
        "[1,]",
        "{\"a\" 1}",
        "{\"a\":1,}",
        "{a:1}",
        "nul",
        "01",
        "1 2",
        "[1] x",
        "NaN",
        "'a'",
        "\"unterminated",
        "\"\xFF\"", // invalid UTF-8
        "\"\xC3\"",
        "\"\\ud800\"", // unpaired surrogate escape
        "\"\\x41\"",
        "\"tab\there\"", // raw control character
        "[1e]",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const auto result = base::parseJson(text);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().domain, base::cocoaErrorDomain);
        EXPECT_EQ(result.error().code, base::propertyListReadCorruptError);
        EXPECT_FALSE(result.error().userInfo["NSDebugDescription"].asString().value_or("").empty());
    }
}

TEST(JsonTest, ARefusalSaysWhatWasWrongAndWhere)
{
    struct Case {
        std::string text;
        const char* what;
        size_t offset;
        size_t depth;
    };
    const Case cases[] = {
        { "[1,]", "unexpected ']'", 3, 1 },
        { "{\"a\":[true,tru]}", "invalid literal", 14, 2 },
        { "\"\xFF\"", "ill-formed UTF-8", 1, 0 },
        { "[1", "unexpected end of input", 2, 1 },
        { std::string(base::maxJsonDepth + 1, '['), "nesting deeper than 512 levels", base::maxJsonDepth,
            base::maxJsonDepth },
    };
    for (const auto& [text, what, offset, depth] : cases) {
        SCOPED_TRACE(text.substr(0, 20));
        const auto result = base::parseJson(text);
        ASSERT_FALSE(result.ok());
        const std::string description = result.error().localizedDescription();
        EXPECT_NE(description.find(what), std::string::npos) << description;
        EXPECT_NE(description.find("at byte " + std::to_string(offset) + ", depth " + std::to_string(depth)),
            std::string::npos)
            << description;
        EXPECT_EQ(result.error().userInfo["NSJSONSerializationErrorIndex"].integerValue(), int64_t(offset));
        EXPECT_TRUE(base::isValidUtf8(description)) << "the refused bytes are quoted as text";
    }
}

TEST(JsonTest, NestingIsLimitedWithoutCrashing)
{
    const auto nested = [](size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    EXPECT_TRUE(base::parseJson(nested(base::maxJsonDepth)).ok());
    EXPECT_FALSE(base::parseJson(nested(base::maxJsonDepth + 1)).ok());
    // Far beyond the limit, and unbalanced: still an error, not a stack overflow.
    EXPECT_FALSE(base::parseJson(std::string(1000000, '[')).ok());
    std::string objects;
    for (int i = 0; i < 100000; ++i)
        objects += "{\"a\":";
    EXPECT_FALSE(base::parseJson(objects).ok());
}

TEST(JsonTest, WritesCompactTextInInsertionOrder)
{
    struct Case {
        Value value;
        const char* json;
    };
    const Case cases[] = {
        { Value::Dictionary { { "z", 1 }, { "a", Value::List { true, Value(), 2.5 } } },
            R"({"z":1,"a":[true,null,2.5]})" },
        { "http://x/y", R"("http://x/y")" },
        { "q\"b\\s\n\t\r\b\f\x01", R"("q\"b\\s\n\t\r\b\f\u0001")" },
        { "\xC3\xA9\xF0\x9F\x98\x80", "\"\xC3\xA9\xF0\x9F\x98\x80\"" },
        { "bad\xFF", "\"bad\xEF\xBF\xBD\"" },
        // Plain runs around a character and an escape, and DEL passing through as it is.
        { "a\xC3\xA9"
          "b\"c~\x7F",
            "\"a\xC3\xA9"
            "b\\\"c~\x7F\"" },
        { 3.0, "3" },
        { 0.1, "0.1" },
        { -2.5e-8, "-2.5e-08" },
        { std::numeric_limits<double>::quiet_NaN(), "null" },
        { std::numeric_limits<double>::infinity(), "null" },
        { base::Date { 1735545909.5 }, "1735545909.5" },
        { Value::Bytes { 'f', 'o' }, R"("Zm8=")" },
        { Value::List {}, "[]" },
        { Value::Dictionary {}, "{}" },
        { std::numeric_limits<int64_t>::min(), "-9223372036854775808" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(base::toJson(c.value), c.json);
    }
}

TEST(JsonTest, PrettyLayout)
{
    const Value v = Value::Dictionary { { "a", 1 }, { "b", Value::List { "x", Value::Dictionary {} } } };
    EXPECT_EQ(base::toPrettyJson(v), "{\n"
                                     "  \"a\" : 1,\n"
                                     "  \"b\" : [\n"
                                     "    \"x\",\n"
                                     "    {}\n"
                                     "  ]\n"
                                     "}");
}

TEST(JsonTest, RoundTripKeepsValueAndOrder)
{
    const Value v = Value::Dictionary {
        { "chapterid", "ch-1" },
        { "page", 12 },
        { "positionIdentifier", 0.25 },
        { "pageCFI", "/6/4[chap01ref]!/4/2/1:0" },
        { "nested", Value::List { Value::Dictionary { { "k", Value() } }, -1, "\xE2\x82\xAC" } },
    };
    for (const auto& text : { base::toJson(v), base::toPrettyJson(v) }) {
        const Value back = parsedJson(text);
        EXPECT_EQ(back, v);
        EXPECT_EQ(back.asDictionary()->keys(), v.asDictionary()->keys());
        EXPECT_EQ(base::toJson(back), base::toJson(v));
    }
}

} // namespace
