#pragma once

#include <string>

namespace lectoro {

// The companion framework's icon font: its face name, which is also the stem of its file
// ("LectoroIcons.ttf").
struct MVLectoroFontManager {
    static std::string getFontName() { return "LectoroIcons"; }
};

} // namespace lectoro
