#include "platform/print/CairoLibrary.h"

#include "platform/base/SharedLibrary.h"

#include <cstdio>
#include <cstdlib>

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

} // namespace print::detail
