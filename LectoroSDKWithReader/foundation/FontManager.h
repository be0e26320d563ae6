#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"

#include <string>

namespace lectoro {

// Registration of the font files shipped in a bundle. Registered faces stay registered for
// the process.
class FontManager {
public:
    // Registers the bundle's "<name>.ttf". A missing file, or one that is not a font, is
    // skipped without a word; registering a face twice is harmless.
    static void vtx_registerFontWithFilenameString(const std::string& fileName, const BundleRef& bundle);
};

} // namespace lectoro
