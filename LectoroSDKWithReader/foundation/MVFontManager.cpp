#include "LectoroSDKWithReader/foundation/MVFontManager.h"

#include "LectoroSDKWithReader/foundation/FontManager.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"

namespace lectoro {

const char* const MVFontManager::openSansFaces[6] = {
    "OpenSans-SemiBold", "OpenSans-Light", "OpenSans-ExtraBold", "OpenSans-Bold", "OpenSans-Regular", "OpenSans-Italic",
};

namespace {

std::string face(const char* suffix)
{
    return std::string(MVFontManager::familyName) + suffix;
}

} // namespace

std::string MVFontManager::faceNameForWeight(ui::FontWeight weight)
{
    switch (weight) {
    case ui::FontWeight::UltraLight:
    case ui::FontWeight::Thin:
    case ui::FontWeight::Light:
        return face("-Light");
    case ui::FontWeight::Regular:
        return face("-Regular");
    case ui::FontWeight::Medium:
    case ui::FontWeight::Semibold:
        return face("-SemiBold");
    case ui::FontWeight::Bold:
        return face("-Bold");
    case ui::FontWeight::Heavy:
    case ui::FontWeight::Black:
        return face("-ExtraBold");
    }
    return face("-Regular");
}

std::optional<ui::Font> MVFontManager::getCustomFont(double size) const
{
    return ui::Font::fromName(face("-Regular"), size);
}

std::optional<ui::Font> MVFontManager::getCustomItalicFont(double size) const
{
    return ui::Font::fromName(face("-Italic"), size);
}

std::optional<ui::Font> MVFontManager::getCustomItalicFontWith(double size) const
{
    return ui::Font::fromName(face("-Italic"), size);
}

std::optional<ui::Font> MVFontManager::getCustomFontWith(double size, ui::FontWeight weight) const
{
    return ui::Font::fromName(faceNameForWeight(weight), size);
}

void MVFontManager::registerFont()
{
    registerFontWith(libraryBundleRef());
}

void MVFontManager::registerFontWith(const BundleRef& bundle)
{
    FontManager::vtx_registerFontWithFilenameString(MVLectoroFontManager::getFontName(), bundle);
    registerOpenSansFontWith(bundle);
}

void MVFontManager::registerOpenSansFontWith(const BundleRef& bundle)
{
    for (const char* name : openSansFaces) {
        if (bundle && bundle->pathForResource(name, "ttf"))
            FontManager::vtx_registerFontWithFilenameString(name, bundle);
        else
            FontManager::vtx_registerFontWithFilenameString(name, libraryBundleRef());
    }
}

} // namespace lectoro
