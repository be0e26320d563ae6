#include "platform/print/CairoLibrary.h"

#include "platform/base/SharedLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace print::detail {

namespace {

struct LoadedCairo {
    CairoLibrary functions;
    bool loaded = false;
    std::string error;
};

const LoadedCairo& loadedCairo()
{
    static const LoadedCairo cairo = [] {
        LoadedCairo result;
        std::vector<base::LibrarySymbol> symbols {
#define LECTORO_CAIRO_SYMBOL(name) { #name, &result.functions.name },
            LECTORO_CAIRO_FUNCTIONS(LECTORO_CAIRO_SYMBOL)
#undef LECTORO_CAIRO_SYMBOL
        };
        result.loaded = base::openSharedLibrary("libcairo.so.2", symbols, result.error);
        return result;
    }();
    return cairo;
}

} // namespace

const CairoLibrary* loadCairo(std::string* error)
{
    const auto& cairo = loadedCairo();
    if (!cairo.loaded && error)
        *error = cairo.error;
    return cairo.loaded ? &cairo.functions : nullptr;
}

const CairoLibrary& cairoLibrary()
{
    const auto& cairo = loadedCairo();
    if (!cairo.loaded) {
        // Only reached with a Cairo context in hand, which the library itself made.
        std::fprintf(stderr, "print: Cairo is not available (%s)\n", cairo.error.c_str());
        std::abort();
    }
    return cairo.functions;
}

const FontconfigLibrary* loadFontconfig()
{
    static const std::optional<FontconfigLibrary> fontconfig = []() -> std::optional<FontconfigLibrary> {
        FontconfigLibrary functions;
        std::vector<base::LibrarySymbol> symbols {
#define LECTORO_FONTCONFIG_SYMBOL(name) { #name, &functions.name },
            LECTORO_FONTCONFIG_FUNCTIONS(LECTORO_FONTCONFIG_SYMBOL)
#undef LECTORO_FONTCONFIG_SYMBOL
        };
        std::string error;
        if (!base::openSharedLibrary("libfontconfig.so.1", symbols, error))
            return std::nullopt;
        return functions;
    }();
    return fontconfig ? &*fontconfig : nullptr;
}

} // namespace print::detail
