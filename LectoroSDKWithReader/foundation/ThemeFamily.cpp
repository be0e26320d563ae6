#include "LectoroSDKWithReader/foundation/ThemeFamily.h"

#include <array>

namespace lectoro {

namespace {

ThemeKeyPath dayMode(const char* family)
{
    return { "Reader", "DayMode", family };
}

std::array<ThemeFamilyPaths, static_cast<size_t>(ThemeFamily::None) + 1> makeFamilies()
{
    std::array<ThemeFamilyPaths, static_cast<size_t>(ThemeFamily::None) + 1> f;
    auto same = [](ThemeKeyPath p) { return ThemeFamilyPaths { p, p, p }; };
    f[size_t(ThemeFamily::Main)] = same(dayMode("main"));
    f[size_t(ThemeFamily::TableOfContents)] = same(dayMode("tableofcontents"));
    f[size_t(ThemeFamily::MyData)] = same(dayMode("MyData"));
    // The bookmark pop-up borrows the My Data colours when the host does not style it.
    f[size_t(ThemeFamily::Bookmark)] = { dayMode("Bookmark"), dayMode("MyData"), dayMode("Bookmark") };
    f[size_t(ThemeFamily::Search)] = same(dayMode("Search"));
    f[size_t(ThemeFamily::Pentool)] = same(dayMode("Pentool"));
    f[size_t(ThemeFamily::ThumbnailSlider)] = same(dayMode("Thumbnail_Slider"));
    f[size_t(ThemeFamily::Note)] = same(dayMode("Note"));
    f[size_t(ThemeFamily::Share)] = same(dayMode("Share"));
    f[size_t(ThemeFamily::Comments)] = same(dayMode("Comments"));
    // Host-only when a host file is given; the default is read only without one.
    f[size_t(ThemeFamily::FontSettings)] = { dayMode("FontSettings"), std::nullopt, dayMode("FontSettings") };
    f[size_t(ThemeFamily::TeacherSettings)] = same(dayMode("Teacher_Settings"));
    f[size_t(ThemeFamily::TeacherStudentList)] = { dayMode("Teacher_studentlist"), dayMode("Teacher_Settings"), dayMode("Teacher_studentlist") };
    f[size_t(ThemeFamily::TeacherSettingsStudentList)] = { ThemeKeyPath { "Reader", "DayMode", "Teacher_Settings", "Teacher_studentlist" }, std::nullopt, std::nullopt };
    f[size_t(ThemeFamily::TextAnnotation)] = { ThemeKeyPath { "Text_Annotation" }, ThemeKeyPath { "Text_Annotation" }, std::nullopt };
    f[size_t(ThemeFamily::Highlight)] = { dayMode("Highlight"), dayMode("Highlight"), std::nullopt };
    // The host writes glossary keys straight into "Reader"; the default keeps them apart.
    f[size_t(ThemeFamily::Glossary)] = { ThemeKeyPath { "Reader" }, ThemeKeyPath { "Markup_Glossary" }, ThemeKeyPath { "Markup_Glossary" } };
    f[size_t(ThemeFamily::None)] = { std::nullopt, std::nullopt, std::nullopt };
    return f;
}

} // namespace

const ThemeFamilyPaths& themeFamilyPaths(ThemeFamily family)
{
    static const auto families = makeFamilies();
    return families[static_cast<size_t>(family)];
}

const std::vector<ThemePropertyDescriptor>& themePropertyDescriptors()
{
    static const std::vector<ThemePropertyDescriptor> descriptors = {
#define LECTORO_THEME_PROPERTY(name, setter, kind, family, path) { #name, ThemeKind::kind, ThemeFamily::family, path },
#include "LectoroSDKWithReader/foundation/ThemePropertyTable.h"
    };
    return descriptors;
}

ThemeKeyPath splitThemeKeyPath(std::string_view path)
{
    ThemeKeyPath keys;
    while (!path.empty()) {
        auto slash = path.find('/');
        keys.emplace_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return keys;
}

const std::vector<ThemeKeyPath>& themePropertyKeyPaths()
{
    static const std::vector<ThemeKeyPath> paths = [] {
        std::vector<ThemeKeyPath> result;
        for (auto& descriptor : themePropertyDescriptors())
            result.push_back(splitThemeKeyPath(descriptor.keyPath));
        return result;
    }();
    return paths;
}

} // namespace lectoro
