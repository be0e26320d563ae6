// Feeds arbitrary bytes as the host's theme file (and, every other input, as the default
// theme too): loading must never fail, hang or read out of bounds, whatever the JSON holds.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "platform/base/Bundle.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

lectoro::LXMVThemeVO& sharedTheme()
{
    static lectoro::LXMVThemeVO* theme = [] {
        static const auto root
            = std::filesystem::temp_directory_path() / ("lectoro-fuzz-theme-" + std::to_string(::getpid()));
        // The sandbox would otherwise outlive every run (the theme is never destroyed).
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
        });
        base::FileManager::defaultManager().setSandboxRoot(root.string());
        base::Bundle::setLibraryBundlePath(LECTORO_RESOURCES_DIR);
        return new lectoro::LXMVThemeVO;
    }();
    return *theme;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto& theme = sharedTheme();
    static const auto shippedDefault = theme.defaultJson();

    if (size && (data[0] & 1)) {
        // The same bytes as a default theme of the USERS folder would be.
        auto parsed = base::parseJson(bytes);
        theme.setDefaultJson(parsed.ok() ? std::optional<base::Value>(parsed.value()) : std::nullopt);
        theme.makeDefaultTheme();
    } else {
        theme.setDefaultJson(shippedDefault);
    }
    theme.updateThemeFromContents(bytes);
    auto values = theme.allPropertyValues();
    (void)values;
    return 0;
}
