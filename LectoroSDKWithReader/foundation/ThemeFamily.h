#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lectoro {

// A family object groups the leaves of one screen or tool in the theme file. Each family says
// where its values are looked up in the host's theme file, where they come from when the host
// file lacks a key, and which object of the default theme the default-only build reads.
enum class ThemeFamily {
    Main,
    TableOfContents,
    MyData,
    Bookmark,
    Search,
    Pentool,
    ThumbnailSlider,
    Note,
    Share,
    Comments,
    FontSettings,
    TeacherSettings,
    TeacherStudentList,
    TeacherSettingsStudentList,
    TextAnnotation,
    Highlight,
    Glossary,
    None, // properties no key fills
};

enum class ThemeKind {
    Color,
    Opacity,
    FloatOpacity,
    Array,
    Unset,
};

using ThemeKeyPath = std::vector<std::string>;

struct ThemeFamilyPaths {
    std::optional<ThemeKeyPath> host;        // in the host file
    std::optional<ThemeKeyPath> fallback;    // in the default file, when the host lacks a key
    std::optional<ThemeKeyPath> defaultOnly; // in the default file, when there is no host file
};

const ThemeFamilyPaths& themeFamilyPaths(ThemeFamily);

struct ThemePropertyDescriptor {
    const char* name;
    ThemeKind kind;
    ThemeFamily family;
    const char* keyPath; // "/"-separated below the family object
};

// Every property of the theme, in declaration order.
const std::vector<ThemePropertyDescriptor>& themePropertyDescriptors();
// The same key paths, split once.
const std::vector<ThemeKeyPath>& themePropertyKeyPaths();

ThemeKeyPath splitThemeKeyPath(std::string_view);

} // namespace lectoro
