#pragma once

#include "LectoroSDKWithReader/foundation/ThemeFamily.h"
#include "platform/base/Value.h"
#include "platform/ui/Color.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lectoro {

// Value types of the theme's properties by kind (see ThemePropertyTable.h).
using ThemeValueColor = std::optional<ui::Color>;       // absent: no value, or one that is no colour
using ThemeValueUnset = std::optional<ui::Color>;       // no key fills it: always absent
using ThemeValueOpacity = double;
using ThemeValueFloatOpacity = double;
using ThemeValueArray = std::optional<base::Value::List>; // absent only when never loaded

// Any property's value, for code that walks the whole table (tests, dumps).
using ThemePropertyValue = std::variant<std::optional<ui::Color>, double, std::optional<base::Value::List>>;

// The reader theme: colours, opacities and colour lists of every screen, built once per reader
// screen from the host's theme file laid key by key over the default theme, and only read after.
// Every property is resolved at load time, so the getters are plain field reads.
class LXMVThemeVO {
public:
    // Reads the default theme ("readerDefault_theme.json" of the USERS folder, else of the
    // library's bundle). Every property stays absent (opacities 0) until a load runs.
    LXMVThemeVO();

    void readDefaultThemeFile();

    // Lays the host theme file at the path over the default theme. No path, a file that cannot
    // be read or an empty file give the default-only build.
    void updateThemeFromFileAtPath(const std::optional<std::string>& path);
    // The same for a host file already read into memory.
    void updateThemeFromContents(std::string_view hostFileBytes);
    void makeDefaultTheme();

    // The parsed default theme, shared by every theme of the process; null when there is none.
    const std::shared_ptr<const base::Value>& defaultJson() const { return m_defaultJson; }
    void setDefaultJson(std::shared_ptr<const base::Value> json) { m_defaultJson = std::move(json); }
    void setDefaultJson(std::optional<base::Value>);

#define LECTORO_THEME_PROPERTY(name, setter, kind, family, path)             \
    const ThemeValue##kind& name() const { return m_##name; }                \
    void setter(ThemeValue##kind value) { m_##name = std::move(value); }
#include "LectoroSDKWithReader/foundation/ThemePropertyTable.h"

    // Every property's value in table order, and one by its name (nothing for an unknown name).
    std::vector<ThemePropertyValue> allPropertyValues() const;
    std::optional<ThemePropertyValue> propertyValue(std::string_view name) const;

private:
    struct Resolved;
    void apply(const std::vector<Resolved>&, double absentOpacity);

    std::shared_ptr<const base::Value> m_defaultJson;

#define LECTORO_THEME_PROPERTY(name, setter, kind, family, path) ThemeValue##kind m_##name {};
#include "LectoroSDKWithReader/foundation/ThemePropertyTable.h"
};

} // namespace lectoro
