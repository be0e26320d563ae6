// Search over the 5 MB, 300-chapter EPUB: a new search's first batch of 50 results on a book
// already searched once, the first search on a freshly opened book, and the memory search
// holds per byte of book text (with the process's peak resident size once the book is open
// and searched).

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/books/BookLoader.h"
#include "companion/search/BookTextSearchController.h"

#include "BenchBooks.h"
#include "ResidentMemory.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

benchbooks::ScratchFolder& epubFolder()
{
    static benchbooks::ScratchFolder folder("lectoro-bench-search-epub");
    return folder;
}

std::shared_ptr<lectoro::LectoroBookVO> openBook()
{
    auto loaded = companion::loadBook(epubFolder().path().string());
    if (!loaded.ok())
        return nullptr;
    return loaded.value();
}

size_t textBytes(const lectoro::LectoroBookVO& book)
{
    size_t total = 0;
    if (auto epub = dynamic_cast<const lectoro::EPUBBookVO*>(&book)) {
        for (const auto& chapter : epub->chapters)
            total += chapter->content()->text.size();
    }
    return total;
}

using benchbooks::residentBytes;

double peakResidentBytes()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

const char* const words[] = { "water", "keeper", "light", "stone", "harbour", "evening", "north wind", "gull" };

size_t firstBatch(const std::shared_ptr<lectoro::LectoroBookVO>& book, const std::string& word)
{
    companion::BookTextSearchController search(book, word);
    return search.getSearchResultForText(word, 0, 50).size();
}

// A new search (a new controller, as the reader makes one per search) on a book searched before.
void BM_SearchBatch(benchmark::State& state)
{
    auto book = openBook();
    if (!book) {
        state.SkipWithError("the book does not open");
        return;
    }
    firstBatch(book, "tide");
    size_t turn = 0;
    for (auto _ : state) {
        auto found = firstBatch(book, words[turn++ % std::size(words)]);
        benchmark::DoNotOptimize(found);
        if (found != 50)
            state.SkipWithError("fewer than 50 results");
    }
}
BENCHMARK(BM_SearchBatch)->Unit(benchmark::kMillisecond);

// The first search after the book is opened: reading and indexing its text included.
void BM_SearchFirstOnBook(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto book = openBook();
        state.ResumeTiming();
        benchmark::DoNotOptimize(firstBatch(book, "water"));
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SearchFirstOnBook)->Unit(benchmark::kMillisecond);

// Run it alone (--benchmark_filter=Memory) for a clean peak: the book opened and searched once.
void BM_SearchMemory(benchmark::State& state)
{
    for (auto _ : state) {
        auto book = openBook();
        double text = static_cast<double>(textBytes(*book));
        double before = residentBytes();
        companion::BookTextSearchController search(book, "water");
        auto results = search.getSearchResultForText("water", 0, 50);
        text = static_cast<double>(textBytes(*book)); // the text is read by then either way
        double after = residentBytes();
        state.counters["searchBytesPerTextByte"] = (after - before) / text;
        state.counters["textMB"] = text / 1e6;
        state.counters["peakRssMB"] = peakResidentBytes() / 1e6;
    }
}
BENCHMARK(BM_SearchMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchbooks::writeEpub(epubFolder().path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
