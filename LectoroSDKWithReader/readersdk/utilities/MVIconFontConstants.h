#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"

#include <string>

namespace lectoro {

struct MVIconFontConstants {
    static std::string getFontName() { return MVLectoroFontManager::getFontName(); }
};

} // namespace lectoro
