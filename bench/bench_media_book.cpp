// Parsing a media book of many small chapter files, as the reader does when it opens one: the
// companion's parser reads every chapter's media in the background and answers on the run loop.
//
// Memory is the point: reading thousands of small files must not grow the process. Each run
// reports the resident size it added (rss_growth_MB) and the resident size after (rss_MB); run
// one size alone (--benchmark_filter=ManySmallChapters/6000) for a clean figure. The chapters
// are copies of the sample audio book's first chapter (15 KB, AAC in MP4), each its own file.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "companion/media/MediaBookParser.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include "BenchBooks.h"
#include "ResidentMemory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

using benchbooks::residentMegabytes;

// One book per chapter count, written once.
const fs::path& bookOf(int chapters)
{
    static std::map<int, std::unique_ptr<benchbooks::ScratchFolder>> books;
    auto& folder = books[chapters];
    if (!folder) {
        folder = std::make_unique<benchbooks::ScratchFolder>("lectoro-bench-media-book");
        const fs::path sample = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-audiobook/audio/chapter-1.m4a";
        fs::create_directories(folder->path() / "audio");
        std::string toc = R"({"title": "Many chapters", "chapters": [)";
        for (int i = 0; i < chapters; ++i) {
            std::string name = "audio/c" + std::to_string(i) + ".m4a";
            fs::copy_file(sample, folder->path() / name);
            toc += (i ? ", " : "") + std::string(R"({"src": ")") + name + R"("})";
        }
        std::ofstream(folder->path() / "toc.json") << toc << "]}";
    }
    return folder->path();
}

bool parseBook(const fs::path& folder)
{
    companion::MediaBookParser parser;
    auto read = std::make_shared<bool>(false);
    parser.setBookParsingCompleted([read](std::shared_ptr<lectoro::MVMediaBookModel>) { *read = true; });
    parser.setBookParsingFailed([](const base::Error&) { });
    auto model = std::make_shared<lectoro::MVMediaBookModel>();
    model->mediaBookPath = folder.string();
    parser.parseTOCTimeIndexJsonForAudio(model, std::nullopt, std::nullopt);
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    return *read;
}

void BM_ManySmallChapters(benchmark::State& state)
{
    const fs::path& folder = bookOf(static_cast<int>(state.range(0)));
    double before = residentMegabytes();
    for (auto _ : state) {
        if (!parseBook(folder))
            state.SkipWithError("the book does not parse");
    }
    double after = residentMegabytes();
    state.counters["rss_MB"] = after;
    state.counters["rss_growth_MB"] = after - before;
    state.counters["chapters"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ManySmallChapters)->Arg(500)->Arg(2000)->Arg(6000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
