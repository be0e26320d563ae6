// The reading screen as the tests see it: the screen check over its view tree, and one
// journey picture of it (the tree painted with its page, written as a PNG). The sample
// reflowable EPUB opens on a pad with its bars shown, as a journey leaves it.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "BenchBooks.h"
#include "companion/Framework.h"
#include "companion/renderer/PagePainter.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/ScreenCheck.h"
#include "platform/ui/Environment.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct ReadingScreen {
    ReadingScreen()
        : scratch("lectoro-bench-screen")
    {
        base::RunLoop::main().reset();
        auto& environment = ui::Environment::current();
        environment.setIdiom(ui::UserInterfaceIdiom::Pad);
        environment.setScreenSize({ 768, 1024 });
        auto defaults = std::make_shared<base::UserDefaults>();
        for (const char* seen : { lectoro::ReaderHelp::pdfFlagKey, lectoro::ReaderHelp::reflowEpubFlagKey,
                 lectoro::ReaderHelp::fixedEpubFlagKey })
            defaults->setBool(seen, false);
        base::UserDefaults::setStandardForTesting(defaults);
        framework = companion::makeFramework({ (scratch.path() / "store").string(), nullptr });
        lectoro::setCompanionFramework(framework);
        auto user = lectoro::LectoroUser::create();
        user->userID = "6000000001";
        reader = lectoro::ReaderViewController::create(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-reflowable-epub",
            1001, user, "978", "https://api", "client", std::make_shared<lectoro::MVReaderSettingModel>(), "1.0");
        reader->view()->setFrame({ { 0, 0 }, { 768, 1024 } });
        base::RunLoop::main().advanceBy(0.5);
        base::RunLoop::main().runUntilIdle();
        reader->moveTopAndBottomOnScreenWithIsAnimate(false);
        base::RunLoop::main().runUntilIdle();
    }
    ~ReadingScreen()
    {
        reader->uninitializeReader();
        reader.reset();
        lectoro::setCompanionFramework(nullptr);
        lectoro::AnalyticsManager::setInstance(nullptr);
        base::RunLoop::main().reset();
    }

    benchbooks::ScratchFolder scratch;
    std::shared_ptr<lectoro::CompanionFramework> framework;
    std::shared_ptr<lectoro::ReaderViewController> reader;
};

void BM_ScreenCheckOnTheReadingScreen(benchmark::State& state)
{
    ReadingScreen screen;
    // Every rule runs, the icon rule with the product's icons as the journeys declare them.
    auto& config = uitest::screenCheckConfig();
    config.iconFontName = lectoro::MVLectoroFontManager::getFontName();
    std::ifstream table(LECTORO_SOURCE_DIR "/LectoroSDKWithReader/foundation/IconFontIcons.txt");
    std::stringstream text;
    text << table.rdbuf();
    config.iconGlyphs = uitest::iconGlyphsFromTable(text.str());
    size_t findings = 0;
    for (auto _ : state) {
        findings = uitest::checkScreen(*screen.reader->view()).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_ScreenCheckOnTheReadingScreen)->Unit(benchmark::kMillisecond);

void BM_JourneyPictureOfTheReadingScreen(benchmark::State& state)
{
    ReadingScreen screen;
    auto path = (screen.scratch.path() / "reading.png").string();
    for (auto _ : state) {
        if (!companion::writeWindowPicture(*screen.reader->view(), path)) {
            state.SkipWithError("the picture was not written");
            return;
        }
    }
    state.counters["png_kb"] = static_cast<double>(std::filesystem::file_size(path)) / 1024;
}
BENCHMARK(BM_JourneyPictureOfTheReadingScreen)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
