// Opening a book as a host does: a reader for the book, its view loaded, the run loop turned
// until the renderer has reported the first page (the 2,000-page book, epub:0, and the
// 300-chapter 5 MB EPUB, epub:1). "Cold" runs once, first, and so carries the costs a process
// pays once (font registration, default theme); the others repeat the open in the same process
// and report what every further open costs. The whole-book measuring that follows the first
// page runs in the background and is not counted.
//
// stored:0 opens with a store in memory, empty; stored:1 with a store on disk holding 10,000
// annotations of the book (a highlight on every page and more, a bookmark and a pen drawing
// on every page, as bench_page_turn stores them), written by another process that also
// opened the book once, as a reader who made them would have. The virtual clock runs the
// launcher's embedding delay at once, so it is not counted. For cold figures run one case per
// process, several times: bench/open_cold.sh.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "companion/Framework.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"

#include "BenchBooks.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int storedAnnotations = 10000;
constexpr int64_t benchUserID = 7;
constexpr int64_t benchBookID = 42;

struct Books {
    Books()
    {
        benchbooks::writePageBook(pageBook.path());
        benchbooks::writeEpub(epub.path());
    }
    benchbooks::ScratchFolder pageBook { "lectoro-bench-open-pages" };
    benchbooks::ScratchFolder epub { "lectoro-bench-open-epub" };
    benchbooks::ScratchFolder pageBookStore { "lectoro-bench-open-pages-store" };
    benchbooks::ScratchFolder epubStore { "lectoro-bench-open-epub-store" };
};

Books& books()
{
    static Books shared;
    return shared;
}

std::string folderFor(int64_t kind)
{
    return (kind == 0 ? books().pageBook.path() : books().epub.path()).string();
}

std::string storeFor(int64_t kind)
{
    return (kind == 0 ? books().pageBookStore.path() : books().epubStore.path()).string();
}

// Opens the book and turns the run loop until the first page is on screen; answers whether
// it got there.
std::shared_ptr<lectoro::ReaderViewController> openToFirstPage(const std::string& folder)
{
    auto user = lectoro::LectoroUser::create();
    user->userID = "7";
    auto reader = lectoro::ReaderViewController::create(folder, 42, user, "978", "https://api", "client",
        std::make_shared<lectoro::MVReaderSettingModel>(), "1.0");
    reader->view();
    base::RunLoop::main().advanceBy(0.5);
    return reader;
}

void closeReader(std::shared_ptr<lectoro::ReaderViewController>& reader)
{
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    reader->readingSession().stopAnalyticsScheduledTimer();
    reader->uninitializeReader();
    reader.reset();
    base::waitForBackgroundWork();
    base::RunLoop::main().reset();
}

void setUpProcess(const std::string& storageRoot = {})
{
    base::RunLoop::main().reset();
    base::UserDefaults::setStandardForTesting(std::make_shared<base::UserDefaults>());
    lectoro::setCompanionFramework(companion::makeFramework({ storageRoot, nullptr }));
}

// Fills the store of the book's kind and opens the book once, in a child process, so this
// one starts with none of it in memory.
void prepareStore(int64_t kind)
{
    pid_t child = ::fork();
    if (child == 0) {
        setUpProcess(storeFor(kind));
        auto reader = openToFirstPage(folderFor(kind));
        std::vector<std::string> pages;
        if (auto epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(reader->currentBook())) {
            for (const auto& chapter : epub->chapters)
                pages.push_back(std::to_string(chapter->fileIndex));
        } else {
            for (int page = 1; page <= 2000; ++page)
                pages.push_back(std::to_string(page));
        }
        auto store = companion::SqliteDatabaseManager::open(storeFor(kind), { .vfs = {}, .durable = false }).value();
        std::string book = std::to_string(benchBookID);
        int saved = 0;
        for (size_t index = 0; saved < storedAnnotations && !pages.empty(); ++index) {
            const std::string& page = pages[index % pages.size()];
            auto highlight = benchbooks::annotationOn<lectoro::SDKHighlightVO>(page, "h", index);
            highlight->text = "the water keeper";
            highlight->noteText = index % 3 ? "" : "a note on the light";
            highlight->backgroundColor = "#FFE082"; // one the default theme offers
            store->saveHighlight(highlight, book, benchUserID);
            ++saved;
            if (index >= pages.size() || saved + 2 > storedAnnotations)
                continue;
            store->saveBookmark(benchbooks::annotationOn<lectoro::SDKBookmarkVO>(page, "b", index), book, benchUserID);
            auto drawing = benchbooks::annotationOn<lectoro::SDKPentoolVO>(page, "d", index);
            store->savePentoolDrawing(drawing, book, benchUserID);
            saved += 2;
        }
        store.reset();
        closeReader(reader);
        // Opened once more, as the reader who made them would have: what a store remembers
        // from one opening to the next is in place.
        auto again = openToFirstPage(folderFor(kind));
        closeReader(again);
        lectoro::setCompanionFramework(nullptr);
        std::_Exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!std::filesystem::exists(std::filesystem::path(storeFor(kind)) / (std::string(companion::storeFileName) + "-closed")))
        std::fprintf(stderr, "warning: the prepared store was not closed cleanly; opening it checks it whole\n");
}

void BM_OpenToFirstPage(benchmark::State& state)
{
    const std::string folder = folderFor(state.range(0));
    setUpProcess(state.range(1) ? storeFor(state.range(0)) : std::string());
    benchmark::IterationCount reached = 0;
    for (auto _ : state) {
        auto reader = openToFirstPage(folder);
        state.PauseTiming();
        if (auto renderer = reader->rendererView(); renderer && !renderer->getActivePages().empty())
            ++reached;
        closeReader(reader);
        state.ResumeTiming();
    }
    if (reached != state.iterations())
        state.SkipWithError("the first page was not reported");
    lectoro::setCompanionFramework(nullptr);
}

// A fresh process's first open, with the costs paid once per process. Registered first so it
// runs first; run one book at a time for a truly cold figure:
//   bench_open_book --benchmark_filter='Cold/epub:0/stored:1/'   (bench/fresh_process.py runs each case)
BENCHMARK(BM_OpenToFirstPage)->Name("BM_OpenToFirstPage/Cold")->ArgNames({ "epub", "stored" })->ArgsProduct({ { 0, 1 }, { 0, 1 } })->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenToFirstPage)->ArgNames({ "epub", "stored" })->ArgsProduct({ { 0, 1 }, { 0, 1 } })->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    books(); // written before any timing starts
    prepareStore(0);
    prepareStore(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
