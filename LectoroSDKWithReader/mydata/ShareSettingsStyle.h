#pragma once

// Type and keys the share-settings dialog's files share.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "platform/ui/Font.h"

#include <string>

namespace lectoro {

inline constexpr double shareHeaderHeight = 44;

// One of the theme's colour accessors, for cells that read a colour by role.
using ThemeColourGetter = const ThemeValueColor& (LXMVThemeVO::*)() const;

// The tick boxes' glyph size: larger on a tablet.
double shareBoxFontSize();
ui::Font shareLightFont(double size);
ui::Font shareRegularFont(double size);
// Whether a role key names `wanted` (lower case), whatever its case.
bool shareKeyIs(const std::string& key, const char* wanted);

} // namespace lectoro
