// A page turn's bookkeeping in the reader: the history entry and the time each page was
// on screen, for a 2,000-page book. "Bookkeeping" drives the reader's callbacks as the
// renderer sends them for a turn; "ThroughRenderer" turns pages with the companion's own
// renderer, so it includes the renderer's work and every page-load follow-up.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int pageCount = 2000;
constexpr int pagesPerChapter = 100;

std::filesystem::path writeBook()
{
    auto folder
        = std::filesystem::temp_directory_path() / ("lectoro-bench-book-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "assets" / "xml-bin");
    std::ofstream xml(folder / "assets" / "xml-bin" / "eBook.xml");
    xml << "<ebook id=\"42\" title=\"Bench\" orientation=\"0\"><chapters>";
    for (int page = 1; page <= pageCount; ++page) {
        if ((page - 1) % pagesPerChapter == 0)
            xml << "<chapter id=\"" << (page - 1) / pagesPerChapter + 1 << "\" title=\"Chapter\">";
        xml << "<page id=\"" << page << "\" display=\"" << page << "\"/>";
        if (page % pagesPerChapter == 0)
            xml << "</chapter>";
    }
    xml << "</chapters></ebook>";
    return folder;
}

struct OpenBook {
    OpenBook()
    {
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(std::make_shared<base::UserDefaults>());
        folder = writeBook();
        lectoro::setCompanionFramework(companion::makeFramework());
        auto user = lectoro::LectoroUser::create();
        user->userID = std::to_string(7);
        reader = lectoro::ReaderViewController::create(folder.string(), 42, user, "978", "https://api",
            "client", std::make_shared<lectoro::MVReaderSettingModel>(), "1.0");
        reader->view();
        base::RunLoop::main().advanceBy(0.5);
        base::RunLoop::main().runUntilIdle();
        reader->readingSession().stopAnalyticsScheduledTimer();
    }
    ~OpenBook()
    {
        reader->uninitializeReader();
        reader.reset();
        lectoro::setCompanionFramework(nullptr);
        base::RunLoop::main().reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::shared_ptr<lectoro::ReaderViewController> reader;
};

void BM_PageTurnBookkeeping(benchmark::State& state)
{
    OpenBook book;
    auto& reader = *book.reader;
    auto renderer = reader.rendererView();
    int64_t page = 1;
    for (auto _ : state) {
        int64_t next = page % pageCount + 1;
        std::string from = std::to_string(page);
        std::string to = std::to_string(next);
        reader.willUnloadPageWithPageNumber(*renderer, page, from);
        reader.willLoadPageWithPageNumber(*renderer, next, to);
        reader.navigation().addSinglePage(to);
        base::RunLoop::main().advanceBy(2);
        page = next;
    }
    state.counters["history"] = double(reader.navigation().history().size());
}
BENCHMARK(BM_PageTurnBookkeeping)->Iterations(20000)->Unit(benchmark::kMicrosecond);

void BM_PageTurnThroughRenderer(benchmark::State& state)
{
    OpenBook book;
    auto renderer = book.reader->rendererView();
    int64_t page = 1;
    for (auto _ : state) {
        page = page % pageCount + 1;
        renderer->navigateToPageNumber(std::to_string(page));
        base::RunLoop::main().advanceBy(2);
    }
    state.counters["history"] = double(book.reader->navigation().history().size());
}
BENCHMARK(BM_PageTurnThroughRenderer)->Iterations(5000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
