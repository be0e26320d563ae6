// Opening a book as a host does: a reader for the book, its view loaded, the run loop turned
// until the renderer has reported the first page (the 2,000-page book, epub:0, and the
// 300-chapter 5 MB EPUB, epub:1). "Cold" runs once, first, and so carries the costs a process
// pays once (font registration, default theme); the others repeat the open in the same process
// and report what every further open costs. The whole-book measuring that follows the first
// page runs in the background and is not counted.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"

#include "BenchBooks.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

struct Books {
    Books()
    {
        benchbooks::writePageBook(pageBook.path());
        benchbooks::writeEpub(epub.path());
    }
    benchbooks::ScratchFolder pageBook { "lectoro-bench-open-pages" };
    benchbooks::ScratchFolder epub { "lectoro-bench-open-epub" };
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

void setUpProcess()
{
    base::RunLoop::main().reset();
    base::UserDefaults::setStandardForTesting(std::make_shared<base::UserDefaults>());
    lectoro::setCompanionFramework(companion::makeFramework());
}

void BM_OpenToFirstPage(benchmark::State& state)
{
    const std::string folder = folderFor(state.range(0));
    setUpProcess();
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
//   bench_open_book --benchmark_filter='Cold/epub:0$'   (then 'Cold/epub:1$')
BENCHMARK(BM_OpenToFirstPage)->Name("BM_OpenToFirstPage/Cold")->ArgName("epub")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenToFirstPage)->ArgName("epub")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    books(); // written before any timing starts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
