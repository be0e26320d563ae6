#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"
#include "platform/ui/Font.h"

#include <optional>
#include <string>

namespace lectoro {

// The reader's text faces: the OpenSans family by weight. A host may supply a subclass to
// change the faces. A face that is not registered answers nothing; callers fall back.
class MVFontManager {
public:
    virtual ~MVFontManager() = default;

    static constexpr const char* familyName = "OpenSans";
    // The six faces, in the order they are registered.
    static const char* const openSansFaces[6];

    virtual std::optional<ui::Font> getCustomFont(double size) const;
    virtual std::optional<ui::Font> getCustomItalicFont(double size) const;
    virtual std::optional<ui::Font> getCustomItalicFontWith(double size) const;
    virtual std::optional<ui::Font> getCustomFontWith(double size, ui::FontWeight) const;

    // The icon font and the six faces from the library's bundle.
    virtual void registerFont();
    // The icon font from the given bundle, then the six faces (each from the given bundle when
    // it has it, else from the library's).
    virtual void registerFontWith(const BundleRef& bundle);
    virtual void registerOpenSansFontWith(const BundleRef& bundle);

    // "OpenSans-" and the suffix the weight calls for.
    static std::string faceNameForWeight(ui::FontWeight);
};

} // namespace lectoro
