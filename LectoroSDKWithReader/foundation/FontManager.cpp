#include "LectoroSDKWithReader/foundation/FontManager.h"

#include "platform/ui/Font.h"

namespace lectoro {

void FontManager::vtx_registerFontWithFilenameString(const std::string& fileName, const BundleRef& bundle)
{
    if (!bundle)
        return;
    auto path = bundle->pathForResource(fileName, "ttf");
    if (!path)
        return;
    ui::FontRegistry::shared().registerFontFile(*path);
}

} // namespace lectoro
