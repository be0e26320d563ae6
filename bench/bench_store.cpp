// The local store's cost per save (each one synced to disk before it returns) and per
// page query, and the search engine's cost per query over a sample book.

#include "companion/books/BookLoader.h"
#include "companion/search/BookTextSearchController.h"
#include "companion/store/SqliteDatabaseManager.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

std::filesystem::path freshFolder()
{
    std::random_device device;
    auto folder = std::filesystem::temp_directory_path() / ("lectoro-bench-" + std::to_string(device()));
    std::filesystem::create_directories(folder);
    return folder;
}

std::shared_ptr<lectoro::SDKHighlightVO> highlightOn(int page)
{
    auto highlight = std::make_shared<lectoro::SDKHighlightVO>();
    highlight->pageIdentifier = std::to_string(page);
    highlight->text = "A passage of the book that the reader highlighted.";
    highlight->noteText = "And a short note about it.";
    highlight->backgroundColor = "#FFFF00";
    return highlight;
}

void BM_SaveHighlightDurably(benchmark::State& state)
{
    auto folder = freshFolder();
    auto store = companion::SqliteDatabaseManager::open(folder.string()).value();
    int page = 0;
    for (auto _ : state)
        store->saveHighlight(highlightOn(page++ % 200), "book", 1);
    store.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveHighlightDurably)->Unit(benchmark::kMicrosecond);

void BM_HighlightsOfAPage(benchmark::State& state)
{
    auto folder = freshFolder();
    auto store = companion::SqliteDatabaseManager::open(folder.string()).value();
    for (int index = 0; index < state.range(0); ++index)
        store->saveHighlight(highlightOn(index % 200), "book", 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(store->highlightForPageID("42", "", "book", 1));
    store.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HighlightsOfAPage)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_SearchSampleBook(benchmark::State& state)
{
    auto book = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook");
    if (!book.ok()) {
        state.SkipWithError("the sample book does not load");
        return;
    }
    for (auto _ : state) {
        // A new engine per query: folding the book's text is part of the cost.
        companion::BookTextSearchController search(book.value(), "water");
        benchmark::DoNotOptimize(search.getSearchResultForText("water", 0, 20));
    }
}
BENCHMARK(BM_SearchSampleBook)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
