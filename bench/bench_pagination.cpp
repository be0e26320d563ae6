// Whole-book pagination: every chapter of the 300-chapter 5 MB EPUB cut into pages for the
// reader's default settings on a pad (what the renderer does in the background once a
// book is open, before it reports the book's page count). The chapters' texts are read
// once, outside the timing.

#include "BenchBooks.h"

#include "companion/books/XhtmlText.h"
#include "companion/renderer/ReflowPagination.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const std::vector<companion::XhtmlText>& chapters()
{
    static const std::vector<companion::XhtmlText> texts = [] {
        benchbooks::ScratchFolder folder { "lectoro-bench-pagination" };
        benchbooks::writeEpub(folder.path());
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
            if (entry.path().extension() == ".xhtml" && entry.path().filename() != "nav.xhtml")
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        std::vector<companion::XhtmlText> read;
        for (const auto& file : files) {
            std::ifstream stream(file);
            std::ostringstream text;
            text << stream.rdbuf();
            read.push_back(companion::extractXhtmlText(text.str()));
        }
        return read;
    }();
    return texts;
}

void BM_PaginateWholeBook(benchmark::State& state)
{
    const auto& texts = chapters();
    auto layout = companion::reflowLayoutFor(0, 0, 0, 30, { 768, 1024 });
    size_t pages = 0;
    for (auto _ : state) {
        pages = 0;
        for (const auto& chapter : texts)
            pages += companion::paginateText(chapter.text, layout, chapter.headings).count();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["chapters"] = static_cast<double>(texts.size());
}

} // namespace

BENCHMARK(BM_PaginateWholeBook)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
