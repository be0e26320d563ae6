#include "platform/base/Plist.h"

#include <cmath>
#include <gtest/gtest.h>

using base::Value;

namespace {

std::string wrap(std::string_view body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + std::string(body) + "</plist>";
}

Value parsedPlist(std::string_view xml)
{
    auto result = base::parsePlist(xml);
    EXPECT_TRUE(result.ok()) << xml << ": " << (result.ok() ? "" : result.error().userInfo.description());
    return result.ok() ? result.value() : Value();
}

TEST(PlistTest, ReadsEveryElementKind)
{
    const Value v = parsedPlist(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Example//DTD PLIST 1.0//EN" "http://example.com/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>IMPORT_BOOKS_VIA_ITUNES_SHARING</key>
	<true/>
	<key>off</key>
	<false/>
	<key>count</key>
	<integer>-42</integer>
	<key>ratio</key>
	<real>0.5</real>
	<key>name</key>
	<string>A &amp; B &lt;c&gt;</string>
	<key>when</key>
	<date>2024-12-30T08:05:09Z</date>
	<key>blob</key>
	<data>
	Zm9v
	Zg==
	</data>
	<key>list</key>
	<array>
		<string>x</string>
		<array/>
		<dict/>
	</array>
	<key>empty</key>
	<dict>
	</dict>
</dict>
</plist>
)");
    EXPECT_EQ(v["IMPORT_BOOKS_VIA_ITUNES_SHARING"].asBool(), true);
    EXPECT_EQ(v["off"].asBool(), false);
    EXPECT_EQ(v["count"].asInteger(), -42);
    EXPECT_EQ(v["ratio"].type(), Value::Type::Double);
    EXPECT_EQ(v["ratio"].asDouble(), 0.5);
    EXPECT_EQ(v["name"].asString(), "A & B <c>");
    EXPECT_EQ(v["when"].asDate(), base::Date { 1735545909 });
    EXPECT_EQ(v["blob"], Value(Value::Bytes { 'f', 'o', 'o', 'f' }));
    EXPECT_EQ(v["list"].count(), 3u);
    EXPECT_EQ(v["list"].at(1), Value(Value::List {}));
    EXPECT_EQ(v["list"].at(2), Value(Value::Dictionary {}));
    EXPECT_EQ(v["empty"], Value(Value::Dictionary {}));
    EXPECT_EQ(v.asDictionary()->keys().front(), "IMPORT_BOOKS_VIA_ITUNES_SHARING");
}

TEST(PlistTest, ScalarTexts)
{
    struct Case {
        const char* body;
        Value expected;
    };
    const Case cases[] = {
        { "<integer>0x1F</integer>", 31 },
        { "<integer> 7 </integer>", 7 },
        { "<integer>+7</integer>", 7 },
        { "<integer>-9223372036854775808</integer>", std::numeric_limits<int64_t>::min() },
        { "<integer>18446744073709551615</integer>", 18446744073709551615.0 },
        { "<real>3</real>", 3.0 },
        { "<real>-1.5e3</real>", -1500.0 },
        { "<real>+infinity</real>", std::numeric_limits<double>::infinity() },
        { "<real>-inf</real>", -std::numeric_limits<double>::infinity() },
        { "<string>   </string>", "   " },
        { "<string/>", "" },
        { "<string><![CDATA[<raw> & ]]></string>", "<raw> & " },
        { "<string>line&#13;end</string>", "line\rend" },
        { "<string>\xC3\xA9</string>", "\xC3\xA9" },
        { "<date>2024-12-30T08:05:09.500Z</date>", base::Date { 1735545909.5 } },
        { "<date>1969-12-31T23:59:59Z</date>", base::Date { -1 } },
        { "<data></data>", Value::Bytes {} },
        { "<dict><key>a</key><string>1</string><key>a</key><string>2</string></dict>",
            Value::Dictionary { { "a", "2" } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const Value v = parsedPlist(wrap(c.body));
        EXPECT_EQ(v, c.expected);
        EXPECT_EQ(v.type(), c.expected.type());
    }
    EXPECT_TRUE(std::isnan(*parsedPlist(wrap("<real>nan</real>")).asDouble()));
    // A bare value element without <plist> is accepted too.
    EXPECT_EQ(parsedPlist("<dict><key>k</key><integer>1</integer></dict>")["k"], Value(1));
}

TEST(PlistTest, MalformedDocumentsAreErrors)
{
    const std::string cases[] = {
        "",
        "not xml",
        "bplist00\x01\x02",
        "<plist>",
        wrap(""),
        wrap("   "),
        wrap("<string>a</string><string>b</string>"),
        wrap("stray<string>a</string>"),
        wrap("<dict><key>a</key></dict>"),
        wrap("<dict><string>x</string></dict>"),
        wrap("<dict><key>a</key><string>x</string>text</dict>"),
        wrap("<dict><key><b/></key><string>x</string></dict>"),
        wrap("<array>text</array>"),
        wrap("<integer>12x</integer>"),
        wrap("<integer></integer>"),
        wrap("<integer>0x</integer>"),
        wrap("<integer>-9223372036854775809</integer>"),
        wrap("<integer>99999999999999999999999</integer>"),
        wrap("<real>abc</real>"),
        wrap("<real>1.5x</real>"),
        wrap("<real>--1</real>"),
        wrap("<date>2024-13-01T00:00:00Z</date>"),
        wrap("<date>2024-02-30T00:00:00Z</date>"),
        wrap("<date>yesterday</date>"),
        wrap("<data>!!!</data>"),
        wrap("<true>x</true>"),
        wrap("<foo/>"),
        wrap("<string><b>x</b></string>"),
        wrap("<string>\xFF</string>"),
        wrap("<dict><key>a</key><string>x</string>"),
    };
    for (const auto& xml : cases) {
        SCOPED_TRACE(xml);
        const auto result = base::parsePlist(xml);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().domain, base::cocoaErrorDomain);
        EXPECT_EQ(result.error().code, base::propertyListReadCorruptError);
    }
}

TEST(PlistTest, NestingIsLimited)
{
    const auto nested = [](size_t depth) {
        std::string xml;
        for (size_t i = 0; i < depth; ++i)
            xml += "<array>";
        for (size_t i = 0; i < depth; ++i)
            xml += "</array>";
        return wrap(xml);
    };
    EXPECT_TRUE(base::parsePlist(nested(base::maxPlistDepth)).ok());
    EXPECT_FALSE(base::parsePlist(nested(base::maxPlistDepth + 1)).ok());
    EXPECT_FALSE(base::parsePlist(nested(100000)).ok());
}

TEST(PlistTest, WritesTheUsualLayout)
{
    const Value v = Value::Dictionary { { "a", 1 }, { "b", Value::List { "x & y", true } }, { "gone", Value() },
        { "d", base::Date { 1735545909.9 } } };
    EXPECT_EQ(base::toPlist(v), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<plist version=\"1.0\">\n"
                                "<dict>\n"
                                "\t<key>a</key>\n"
                                "\t<integer>1</integer>\n"
                                "\t<key>b</key>\n"
                                "\t<array>\n"
                                "\t\t<string>x &amp; y</string>\n"
                                "\t\t<true/>\n"
                                "\t</array>\n"
                                "\t<key>d</key>\n"
                                "\t<date>2024-12-30T08:05:09Z</date>\n"
                                "</dict>\n"
                                "</plist>\n");
}

TEST(PlistTest, RoundTripKeepsEveryKind)
{
    const Value v = Value::Dictionary {
        { "int", std::numeric_limits<int64_t>::min() },
        { "real", 0.1 },
        { "integral real", 3.0 },
        { "text", "  <tag> & \"quotes\"\r\n\xE2\x82\xAC  " },
        { "empty", "" },
        { "date", base::Date { -86400 } },
        { "bytes", Value::Bytes { 0, 1, 254, 255 } },
        { "list", Value::List { Value::List {}, Value::Dictionary {}, false } },
        { "a key with <markup>", 1 },
    };
    const Value back = parsedPlist(base::toPlist(v));
    EXPECT_EQ(back, v);
    EXPECT_EQ(back["integral real"].type(), Value::Type::Double);
    EXPECT_EQ(back.asDictionary()->keys(), v.asDictionary()->keys());
    // A null list element has no plist form and reads back as an empty string.
    EXPECT_EQ(parsedPlist(base::toPlist(Value::List { Value() })), Value(Value::List { "" }));
}

} // namespace
