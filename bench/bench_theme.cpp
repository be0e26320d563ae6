// The theme every reader screen builds when it opens: the default theme read and parsed,
// then the host's theme file laid over it key by key.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "platform/base/Bundle.h"
#include "platform/base/FileManager.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

struct ThemeFixture {
    ThemeFixture()
    {
        root = (std::filesystem::temp_directory_path() / ("lectoro-bench-theme-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(root + "/host");
        base::FileManager::defaultManager().setSandboxRoot(root + "/sandbox");
        base::Bundle::setLibraryBundlePath(LECTORO_RESOURCES_DIR);
        // A host theme that restyles a few screens and leaves the rest to the default.
        hostPath = root + "/host/ReaderTheme.json";
        std::ofstream(hostPath) << R"({"Reader":{"DayMode":{"main":{"canvas_background":"#FAFAFA",
            "toolbar":{"top":{"background":"#202830","icons-color":"#FFFFFF"}}},
            "FontSettings":{"popup_background":"#FFFFFF","Font":{"text-color":"#111111"}},
            "Pentool":{"pen-color":["#000000","#FF0000","#00FF00"]}},
            "link_line_color":"#0070C0"},
            "Text_Annotation":{"background":"#FFFFFF"}})";
    }
    ~ThemeFixture()
    {
        base::FileManager::defaultManager().setSandboxRoot({});
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::string root;
    std::string hostPath;
};

void BM_BuildThemeFromBothFiles(benchmark::State& state)
{
    ThemeFixture fixture;
    for (auto _ : state) {
        lectoro::LXMVThemeVO theme;
        theme.updateThemeFromFileAtPath(fixture.hostPath);
        benchmark::DoNotOptimize(theme.canvas_background());
    }
}
BENCHMARK(BM_BuildThemeFromBothFiles)->Unit(benchmark::kMicrosecond);

void BM_BuildDefaultOnlyTheme(benchmark::State& state)
{
    ThemeFixture fixture;
    for (auto _ : state) {
        lectoro::LXMVThemeVO theme;
        theme.updateThemeFromFileAtPath(std::nullopt);
        benchmark::DoNotOptimize(theme.canvas_background());
    }
}
BENCHMARK(BM_BuildDefaultOnlyTheme)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
