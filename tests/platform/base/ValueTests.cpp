#include "platform/base/Value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using base::Value;

namespace {

struct CoercionCase {
    const char* name;
    Value value;
    int32_t intValue;
    int64_t integerValue;
    double doubleValue;
    bool boolValue;
    const char* description;
};

constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t int64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t int64Min = std::numeric_limits<int64_t>::min();

TEST(ValueTest, CoercionsFollowTheMessagesTheyMimic)
{
    const CoercionCase cases[] = {
        { "text with trailing letters", "12abc", 12, 12, 12, true, "12abc" },
        { "text with spaces and sign", "  -3x", -3, -3, -3, true, "  -3x" },
        { "text without digits", "abc", 0, 0, 0, false, "abc" },
        { "decimal text truncates", "3.9", 3, 3, 3.9, true, "3.9" },
        { "text beyond int32", "99999999999", int32Max, 99999999999, 99999999999.0, true, "99999999999" },
        { "text beyond int64", "-99999999999999999999", int32Min, int64Min, -1e20, true, "-99999999999999999999" },
        { "YES text", "YES", 0, 0, 0, true, "YES" },
        { "integer", 42, 42, 42, 42, true, "42" },
        { "large integer clamps to int32", int64_t(5000000000), int32Max, 5000000000, 5e9, true, "5000000000" },
        { "double truncates", 4.5, 4, 4, 4.5, true, "4.5" },
        { "negative double truncates toward zero", -2.7, -2, -2, -2.7, true, "-2.7" },
        { "integral double prints without fraction", 3.0, 3, 3, 3, true, "3" },
        { "huge double saturates", 1e20, int32Max, int64Max, 1e20, true, "1e+20" },
        { "huge negative double saturates", -1e300, int32Min, int64Min, -1e300, true, "-1e+300" },
        { "true", true, 1, 1, 1, true, "1" },
        { "false", false, 0, 0, 0, false, "0" },
        { "null", Value(), 0, 0, 0, false, "<null>" },
        { "zero", 0, 0, 0, 0, false, "0" },
        { "date", base::Date { 1735545909.5 }, 1735545909, 1735545909, 1735545909.5, false,
            "2024-12-30 08:05:09 +0000" },
        { "bytes", Value::Bytes { 0x0a, 0xff }, 0, 0, 0, false, "{length = 2, bytes = 0x0aff}" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.intValue(), c.intValue);
        EXPECT_EQ(c.value.integerValue(), c.integerValue);
        EXPECT_EQ(c.value.longLongValue(), c.integerValue);
        EXPECT_DOUBLE_EQ(c.value.doubleValue(), c.doubleValue);
        EXPECT_EQ(c.value.boolValue(), c.boolValue);
        EXPECT_EQ(c.value.description(), c.description);
    }
}

TEST(ValueTest, NotANumberCoercesToZeroButStaysTrue)
{
    const Value nan(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan.intValue(), 0);
    EXPECT_EQ(nan.integerValue(), 0);
    EXPECT_EQ(nan.description(), "nan");
    EXPECT_FALSE(nan == nan);
}

TEST(ValueTest, StrictAccessorsRefuseOtherKinds)
{
    EXPECT_FALSE(Value("5").asInteger());
    EXPECT_FALSE(Value("5").asDouble());
    EXPECT_FALSE(Value(true).asInteger());
    EXPECT_FALSE(Value(1).asBool());
    EXPECT_FALSE(Value(5).asString());
    EXPECT_FALSE(Value(5.5).asInteger());
    EXPECT_FALSE(Value(1e30).asInteger());
    EXPECT_EQ(Value(5.0).asInteger(), 5);
    EXPECT_EQ(Value(5).asDouble(), 5.0);
    EXPECT_EQ(Value("x").asString(), "x");
    EXPECT_EQ(Value(Value::List {}).asDictionary(), nullptr);
    EXPECT_EQ(Value(Value::Dictionary {}).asList(), nullptr);
    EXPECT_FALSE(Value(1.0).asDate());
    EXPECT_EQ(Value("x").asBytes(), nullptr);
}

TEST(ValueTest, ConstructorsPickTheIntendedKind)
{
    EXPECT_EQ(Value("text").type(), Value::Type::String); // not bool
    const char* pointer = "p";
    EXPECT_EQ(Value(pointer).type(), Value::Type::String);
    EXPECT_EQ(Value(static_cast<const char*>(nullptr)).asString(), "");
    EXPECT_EQ(Value(std::string_view("sv")).asString(), "sv");
    EXPECT_EQ(Value(nullptr).type(), Value::Type::Null);
    EXPECT_EQ(Value(7u).type(), Value::Type::Integer);
    EXPECT_EQ(Value(int16_t(-7)).asInteger(), -7);
    EXPECT_EQ(Value(1.5f).type(), Value::Type::Double);
    EXPECT_EQ(Value(std::numeric_limits<uint64_t>::max()).type(), Value::Type::Double);
    EXPECT_EQ(Value(uint64_t(int64Max)).type(), Value::Type::Integer);
    EXPECT_EQ(Value(base::Date { 1 }).type(), Value::Type::Date);
}

TEST(ValueTest, SubscriptsAnswerNullForMissingOrWrongKind)
{
    const Value v = Value::Dictionary { { "list", Value::List { 1, "two" } }, { "n", 3 } };
    EXPECT_EQ(v["list"].at(1), Value("two"));
    EXPECT_TRUE(v["list"].at(2).isNull());
    EXPECT_TRUE(v["missing"]["deeper"].at(0).isNull());
    EXPECT_TRUE(v["n"]["x"].isNull());
    EXPECT_TRUE(v.at(0).isNull());
    EXPECT_EQ(v.count(), 2u);
    EXPECT_EQ(v["list"].count(), 2u);
    EXPECT_EQ(v["n"].count(), 0u);
}

TEST(ValueTest, EqualityComparesNumbersByValue)
{
    struct Case {
        Value a;
        Value b;
        bool equal;
    };
    const Case cases[] = {
        { 5, 5.0, true },
        { 5, 5.5, false },
        { true, 1, true },
        { false, 0.0, true },
        { "5", 5, false },
        { Value(), Value(), true },
        { Value(), 0, false },
        { Value(), "", false },
        { int64Max, 9223372036854775807.0, false }, // the double is 2^63
        { int64Min, -9223372036854775808.0, true },
        { Value::List { 1, 2 }, Value::List { 1.0, 2 }, true },
        { Value::List { 1, 2 }, Value::List { 2, 1 }, false },
        { Value::Dictionary { { "a", 1 }, { "b", 2 } }, Value::Dictionary { { "b", 2 }, { "a", 1 } }, true },
        { Value::Dictionary { { "a", 1 } }, Value::Dictionary { { "a", 1 }, { "b", 2 } }, false },
        { Value::Dictionary { { "a", 1 } }, Value::Dictionary { { "a", "1" } }, false },
        { base::Date { 3 }, base::Date { 3 }, true },
        { base::Date { 3 }, 3, false },
        { Value::Bytes { 1, 2 }, Value::Bytes { 1, 2 }, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a.description() + " vs " + c.b.description());
        EXPECT_EQ(c.a == c.b, c.equal);
        EXPECT_EQ(c.b == c.a, c.equal);
    }
}

TEST(ValueTest, DescriptionOfCollectionsIsReadable)
{
    const Value v = Value::Dictionary { { "name", "a b" }, { "list", Value::List { 1, "x" } }, { "empty", Value::List {} } };
    EXPECT_EQ(v.description(), "{\n"
                               "    name = \"a b\";\n"
                               "    list = (\n"
                               "        1,\n"
                               "        x\n"
                               "    );\n"
                               "    empty = (\n"
                               "    );\n"
                               "}");
}

TEST(ValueDictionaryTest, KeepsInsertionOrderAndReplacesInPlace)
{
    Value::Dictionary d;
    d.set("b", 1);
    d.set("a", 2);
    d.set("c", 3);
    d.set("a", "replaced");
    EXPECT_EQ(d.keys(), (std::vector<std::string> { "b", "a", "c" }));
    EXPECT_EQ(*d.find("a"), Value("replaced"));
    EXPECT_TRUE(d.remove("b"));
    EXPECT_FALSE(d.remove("b"));
    EXPECT_EQ(d.keys(), (std::vector<std::string> { "a", "c" }));
    EXPECT_FALSE(d.contains("b"));
    EXPECT_EQ(d.find("zz"), nullptr);
}

// Large dictionaries switch to a hashed index; removals and copies must keep it in step
// with the entries.
TEST(ValueDictionaryTest, LargeDictionaryStaysConsistentThroughRemovalAndCopy)
{
    // Appended rather than "k" + std::to_string(i), which GCC 12 misreads in Release (-Wrestrict).
    const auto keyOf = [](int i) { return std::string("k").append(std::to_string(i)); };
    Value::Dictionary d;
    for (int i = 0; i < 100; ++i)
        d.set(keyOf(i), i);
    for (int i = 0; i < 100; i += 3)
        ASSERT_TRUE(d.remove(keyOf(i)));
    d.set("k50", "updated");
    Value::Dictionary copy = d;
    d.set("k1", "changed in original only");
    for (int i = 0; i < 100; ++i) {
        const std::string key = keyOf(i);
        SCOPED_TRACE(key);
        if (i % 3 == 0) {
            EXPECT_EQ(copy.find(key), nullptr);
            continue;
        }
        ASSERT_NE(copy.find(key), nullptr);
        EXPECT_EQ(*copy.find(key), i == 50 ? Value("updated") : Value(i));
    }
    EXPECT_EQ(*copy.find("k1"), Value(1));
    EXPECT_EQ(copy.keys().front(), "k1");
    EXPECT_EQ(copy.size(), 66u);
    Value::Dictionary moved = std::move(copy);
    EXPECT_EQ(*moved.find("k98"), Value(98));
}

TEST(ValueTest, MutableAccessBuildsNestedValues)
{
    Value root = Value::Dictionary {};
    root.asDictionary()->set("items", Value::List {});
    root.asDictionary()->find("items")->asList()->push_back("first");
    EXPECT_EQ(root["items"].at(0), Value("first"));
    EXPECT_STREQ(base::typeName(root.type()), "dictionary");
}

} // namespace
