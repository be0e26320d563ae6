#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/SystemInformation.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "platform/base/Json.h"

#include <gtest/gtest.h>

#include <set>

namespace lectoro {
namespace {

using testing::FoundationScope;
using testing::writeFile;

ui::Color hex(const char* text)
{
    return *UIColorExpanded::colorWithHexString(text);
}

bool isAbsent(const ThemePropertyValue& value)
{
    if (auto* color = std::get_if<std::optional<ui::Color>>(&value))
        return !color->has_value();
    if (auto* list = std::get_if<std::optional<base::Value::List>>(&value))
        return !list->has_value();
    return false;
}

base::Value shippedDefault()
{
    auto bytes = base::FileManager::defaultManager().readFile(LECTORO_RESOURCES_DIR "/readerDefault_theme.json");
    return base::parseJson(*bytes).value();
}

class ThemeTest : public ::testing::Test {
protected:
    std::string writeHost(const std::string& contents)
    {
        auto path = scope.folder() / "ReaderTheme.json";
        writeFile(path, contents);
        return path;
    }
    // A default theme of the USERS folder, which takes the place of the shipped one.
    void writeUsersDefault(const base::Value& json)
    {
        writeFile(SystemInformation::getInstance().getUsersFolderPath() + "/readerDefault_theme.json", base::toJson(json));
    }
    std::set<std::string> namesOfFamily(ThemeFamily family)
    {
        std::set<std::string> names;
        for (auto& descriptor : themePropertyDescriptors()) {
            if (descriptor.family == family)
                names.insert(descriptor.name);
        }
        return names;
    }

    FoundationScope scope;
};

TEST_F(ThemeTest, TableHasEveryPropertyOnce)
{
    auto& descriptors = themePropertyDescriptors();
    std::set<std::string> names;
    size_t colours = 0, opacities = 0, arrays = 0;
    for (auto& descriptor : descriptors) {
        EXPECT_TRUE(names.insert(descriptor.name).second) << descriptor.name;
        switch (descriptor.kind) {
        case ThemeKind::Color:
        case ThemeKind::Unset:
            ++colours;
            break;
        case ThemeKind::Opacity:
        case ThemeKind::FloatOpacity:
            ++opacities;
            break;
        case ThemeKind::Array:
            ++arrays;
            break;
        }
    }
    EXPECT_EQ(colours, 267u);
    EXPECT_EQ(opacities, 4u);
    EXPECT_EQ(arrays, 2u);
}

TEST_F(ThemeTest, ShippedDefaultHasAValueForEveryKey)
{
    LXMVThemeVO theme;
    ASSERT_TRUE(theme.defaultJson());
    std::string hostFile = base::toJson(shippedDefault());
    theme.updateThemeFromContents(hostFile);
    auto values = theme.allPropertyValues();
    auto& descriptors = themePropertyDescriptors();
    for (size_t i = 0; i < descriptors.size(); ++i) {
        if (descriptors[i].kind == ThemeKind::Unset)
            EXPECT_TRUE(isAbsent(values[i])) << descriptors[i].name;
        else
            EXPECT_FALSE(isAbsent(values[i])) << descriptors[i].name;
    }
    EXPECT_EQ(theme.toc_overlay_panel_opacity(), 0.5);
    EXPECT_FALSE(theme.pen_Color_Array()->empty());
}

TEST_F(ThemeTest, NoHostFileGivesTheDefaultOnlyBuild)
{
    LXMVThemeVO theme;
    theme.updateThemeFromFileAtPath(std::nullopt);

    EXPECT_EQ(theme.canvas_background(), hex("#EEF0F3"));
    EXPECT_TRUE(theme.fontSettings_popup_background().has_value());
    EXPECT_FALSE(theme.textAnnotation_background().has_value());
    EXPECT_FALSE(theme.highlight_popup_background().has_value());
    EXPECT_FALSE(theme.highlight_Color_Array().has_value());
    EXPECT_FALSE(theme.teacher_studentlist_class_text_color().has_value());
    EXPECT_FALSE(theme.pen_tool_pen_color().has_value());
    EXPECT_TRUE(theme.pen_Color_Array().has_value());
    // The default-only build reads the bookmark object itself, and the note description key.
    auto json = shippedDefault();
    EXPECT_EQ(theme.note_description_color(),
        hex(json["Reader"]["DayMode"]["Note"]["description-color"].asString()->c_str()));
}

TEST_F(ThemeTest, EmptyOrUnreadableHostFileIsLikeNone)
{
    LXMVThemeVO reference;
    reference.updateThemeFromFileAtPath(std::nullopt);

    for (auto path : { std::optional<std::string>(writeHost("")), std::optional<std::string>(scope.folder() / "missing.json") }) {
        LXMVThemeVO theme;
        theme.updateThemeFromFileAtPath(path);
        EXPECT_EQ(theme.allPropertyValues(), reference.allPropertyValues()) << *path;
    }
}

TEST_F(ThemeTest, HostValueWinsKeyByKeyOverTheDefault)
{
    LXMVThemeVO reference;
    reference.updateThemeFromContents(base::toJson(shippedDefault()));

    LXMVThemeVO theme;
    theme.updateThemeFromFileAtPath(writeHost(R"({"Reader":{"DayMode":{"main":{"canvas_background":"#123456"}}}})"));

    EXPECT_EQ(theme.canvas_background(), hex("#123456"));
    auto hostOnly = namesOfFamily(ThemeFamily::FontSettings);
    auto teacherNested = namesOfFamily(ThemeFamily::TeacherSettingsStudentList);
    hostOnly.insert(teacherNested.begin(), teacherNested.end());

    auto values = theme.allPropertyValues();
    auto expected = reference.allPropertyValues();
    auto& descriptors = themePropertyDescriptors();
    for (size_t i = 0; i < descriptors.size(); ++i) {
        std::string name = descriptors[i].name;
        if (name == "canvas_background" || name == "note_description_color")
            continue;
        if (hostOnly.count(name))
            EXPECT_TRUE(isAbsent(values[i])) << name;
        else
            EXPECT_EQ(values[i], expected[i]) << name;
    }
    // Without a host hint colour the note text takes the default's hint colour.
    auto json = shippedDefault();
    EXPECT_EQ(theme.note_description_color(), hex(json["Reader"]["DayMode"]["Note"]["hint_text-color"].asString()->c_str()));
}

TEST_F(ThemeTest, PresentHostValueThatIsNoColourGivesAbsentColour)
{
    LXMVThemeVO theme;
    theme.updateThemeFromFileAtPath(writeHost(R"({"Reader":{"DayMode":{"main":{"canvas_background":"zz",
        "toolbar":{"top":{"background":42,"icons-color":null}}}}}})"));
    EXPECT_FALSE(theme.canvas_background().has_value());
    EXPECT_FALSE(theme.top_toolbar_background().has_value());
    // A JSON null is no value: the default answers.
    EXPECT_TRUE(theme.top_toolbar_icons_color().has_value());
    EXPECT_TRUE(scope.log().empty()) << "a bad theme value is not reported";
}

TEST_F(ThemeTest, FallbackObjectsAndSpecialKeys)
{
    // A default with distinct colours where families borrow from each other.
    auto json = shippedDefault();
    auto* dayMode = json.asDictionary()->find("Reader")->asDictionary()->find("DayMode")->asDictionary();
    dayMode->find("MyData")->asDictionary()->set("icon_color", "#0000AA");
    dayMode->find("Bookmark")->asDictionary()->set("icon_color", "#00AA00");
    dayMode->find("Teacher_Settings")->asDictionary()->set("shadow", "#AA0000");
    dayMode->find("Note")->asDictionary()->set("hint_text-color", "#111111");
    json.asDictionary()->find("Markup_Glossary")->asDictionary()->set("link_line_color", "#222222");
    writeUsersDefault(json);

    struct Case {
        const char* host;
        const char* property;
        std::optional<ui::Color> expected;
    };
    const Case cases[] = {
        { R"({})", "bookmark_icon_color", hex("#0000AA") },
        { R"({"Reader":{"DayMode":{"Bookmark":{"icon_color":"#ABCDEF"}}}})", "bookmark_icon_color", hex("#ABCDEF") },
        { R"({})", "teacher_studentlist_shadow", hex("#AA0000") },
        { R"({"Reader":{"link_line_color":"#333333"}})", "glossary_underline_color", hex("#333333") },
        { R"({"Markup_Glossary":{"link_line_color":"#333333"}})", "glossary_underline_color", hex("#222222") },
        { R"({"Reader":{"DayMode":{"Note":{"hint_text-color":"#444444","description-color":"#555555"}}}})", "note_description_color", hex("#555555") },
        { R"({"Reader":{"DayMode":{"Note":{"hint_text-color":"#444444"}}}})", "note_description_color", std::nullopt },
        { R"({"Reader":{"DayMode":{"Note":{"description-color":"#555555"}}}})", "note_description_color", hex("#111111") },
        { R"({"Reader":{"DayMode":{"Teacher_Settings":{"Teacher_studentlist":{"Search":{"text-color":"#666666"}}}}}})", "teacher_studentlist_search_text_color", hex("#666666") },
        { R"({"Reader":"not an object"})", "canvas_background", hex("#EEF0F3") },
    };
    for (auto& c : cases) {
        LXMVThemeVO theme;
        theme.updateThemeFromContents(c.host);
        EXPECT_EQ(std::get<std::optional<ui::Color>>(*theme.propertyValue(c.property)), c.expected) << c.host << " " << c.property;
    }

    // Without a host file the bookmark family reads its own object.
    LXMVThemeVO defaultOnly;
    defaultOnly.updateThemeFromFileAtPath(std::nullopt);
    EXPECT_EQ(defaultOnly.bookmark_icon_color(), hex("#00AA00"));
}

TEST_F(ThemeTest, OpacitiesAndListsMissingEverywhere)
{
    auto json = shippedDefault();
    auto* dayMode = json.asDictionary()->find("Reader")->asDictionary()->find("DayMode")->asDictionary();
    dayMode->find("tableofcontents")->asDictionary()->find("overlay_panel")->asDictionary()->remove("opacity");
    dayMode->find("Pentool")->asDictionary()->remove("pen-color");
    writeUsersDefault(json);

    LXMVThemeVO defaultOnly;
    defaultOnly.updateThemeFromFileAtPath(std::nullopt);
    EXPECT_EQ(defaultOnly.toc_overlay_panel_opacity(), 0.45);
    ASSERT_TRUE(defaultOnly.pen_Color_Array().has_value());
    EXPECT_TRUE(defaultOnly.pen_Color_Array()->empty());

    LXMVThemeVO merged;
    merged.updateThemeFromContents(R"({"Reader":{"DayMode":{"MyData":{"disabled_icon":{"opacity":"0.3"}},
        "Pentool":{"toolbar":{"disabled_icon":{"opacity":{}}}}}}})");
    EXPECT_EQ(merged.toc_overlay_panel_opacity(), 0.0);
    EXPECT_EQ(merged.mydata_disabled_icon_opacity(), double(0.3f));
    EXPECT_EQ(merged.pen_tool_disabled_opacity(), 0.0);
    ASSERT_TRUE(merged.pen_Color_Array().has_value());
    EXPECT_TRUE(merged.pen_Color_Array()->empty());
}

TEST_F(ThemeTest, HostFileThatIsNotJsonTakesEveryFallback)
{
    LXMVThemeVO theme;
    theme.updateThemeFromContents("{ this is not json");
    EXPECT_TRUE(theme.canvas_background().has_value());
    EXPECT_TRUE(theme.textAnnotation_background().has_value());
    EXPECT_TRUE(theme.highlight_Color_Array().has_value());
    EXPECT_FALSE(theme.fontSettings_popup_background().has_value());
    EXPECT_EQ(theme.toc_overlay_panel_opacity(), 0.5);
}

TEST_F(ThemeTest, MissingDefaultMakesEveryFallbackAbsent)
{
    base::Bundle::setLibraryBundlePath(scope.folder() / "empty-bundle");
    LXMVThemeVO theme;
    EXPECT_FALSE(theme.defaultJson());
    theme.updateThemeFromContents(R"({"Reader":{"DayMode":{"main":{"canvas_background":"#010203"}}}})");
    EXPECT_EQ(theme.canvas_background(), hex("#010203"));
    EXPECT_FALSE(theme.top_toolbar_background().has_value());
    EXPECT_EQ(theme.toc_overlay_panel_opacity(), 0.0);
}

TEST_F(ThemeTest, DefaultThemeIsParsedOnceUntilItsFileChanges)
{
    LXMVThemeVO first;
    LXMVThemeVO second;
    ASSERT_TRUE(first.defaultJson());
    EXPECT_EQ(first.defaultJson(), second.defaultJson()) << "one parse shared by every theme";

    // A default theme in the USERS folder is another file: it is read, and read again when
    // it changes.
    writeUsersDefault(base::Value::Dictionary { { "Reader", base::Value::Dictionary {} } });
    LXMVThemeVO users;
    ASSERT_TRUE(users.defaultJson());
    EXPECT_NE(users.defaultJson(), first.defaultJson());
    EXPECT_EQ(users.defaultJson()->count(), 1u);
    writeUsersDefault(base::Value::Dictionary { { "Reader", base::Value::Dictionary {} }, { "Note", 1 } });
    LXMVThemeVO changed;
    ASSERT_TRUE(changed.defaultJson());
    EXPECT_EQ(changed.defaultJson()->count(), 2u);

    // Themes already built keep the document they were built with.
    EXPECT_EQ(users.defaultJson()->count(), 1u);
    std::filesystem::remove(SystemInformation::getInstance().getUsersFolderPath() + "/readerDefault_theme.json");
    LXMVThemeVO shipped;
    ASSERT_TRUE(shipped.defaultJson());
    EXPECT_EQ(*shipped.defaultJson(), *first.defaultJson());
}

TEST_F(ThemeTest, DerivedEqualities)
{
    LXMVThemeVO theme;
    theme.updateThemeFromContents(R"({"Reader":{"DayMode":{"MyData":{"settings":{"action_button":{"cancel":{"border_color":"#0A0B0C"}}}}}}})");
    EXPECT_EQ(theme.settings_cancel_button_text_color(), hex("#0A0B0C"));
    EXPECT_EQ(theme.settings_cancel_button_border_color(), theme.settings_cancel_button_text_color());
    EXPECT_EQ(theme.bookmark_button_text_color(), theme.bookmark_button_background());
    EXPECT_EQ(theme.side_bottom_shadow(), theme.side_bottom_background());
}

} // namespace
} // namespace lectoro
