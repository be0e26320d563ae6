// The local store's cost per save (each one synced to disk before it returns) and per
// page query, and the search engine's cost per query over a sample book.

#include "companion/books/BookLoader.h"
#include "companion/search/BookTextSearchController.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/store/StoredRecord.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <functional>
#include <random>
#include <sqlite3.h>

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

std::shared_ptr<lectoro::SDKBookmarkVO> bookmarkOn(int page)
{
    auto bookmark = std::make_shared<lectoro::SDKBookmarkVO>();
    bookmark->pageIdentifier = std::to_string(page);
    bookmark->displayNum = std::to_string(page + 1);
    bookmark->title = "Where the chapter on rivers begins";
    return bookmark;
}

// A store holding `count` highlights and bookmarks of one book, spread over 2,000 pages,
// written in one go (the save path is measured above).
struct FilledStore {
    explicit FilledStore(int count)
        : folder(freshFolder())
    {
        store = companion::SqliteDatabaseManager::open(folder.string()).value();
        store->saveBookMetadata(base::Value::Dictionary { { "warm", 1 } }, "book", 1);
        fill(count);
    }
    ~FilledStore()
    {
        store.reset();
        std::filesystem::remove_all(folder);
    }
    void fill(int count)
    {
        // One transaction-free batch per kind would take minutes with a sync per save;
        // a synchronous=OFF connection of its own fills the file quickly.
        auto filler = companion::SqliteDatabaseManager::open(folder.string(), { .vfs = {}, .durable = false }).value();
        for (int index = 0; index < count; ++index) {
            filler->saveHighlight(highlightOn(index % 2000), "book", 1);
            filler->saveBookmark(bookmarkOn(index % 2000), "book", 1);
        }
    }

    std::filesystem::path folder;
    std::shared_ptr<companion::SqliteDatabaseManager> store;
};

// Times `read` alone, after `prepare` (untimed); the list read is let go untimed too. A
// reader keeps a book's list while the book is open: letting it go is no part of loading it.
template<class Read>
void timeListReads(benchmark::State& state, int64_t listSize, Read read, const std::function<void()>& prepare = {})
{
    decltype(read()) list;
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        if (prepare)
            prepare();
        state.ResumeTiming();
        list = read();
    }
    state.SetItemsProcessed(state.iterations() * listSize);
}

void BM_AllHighlightsOfABook(benchmark::State& state)
{
    FilledStore filled(static_cast<int>(state.range(0)));
    timeListReads(state, state.range(0), [&] { return filled.store->highlightBookID("book", 1); });
}
BENCHMARK(BM_AllHighlightsOfABook)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AllBookmarksOfABook(benchmark::State& state)
{
    FilledStore filled(static_cast<int>(state.range(0)));
    timeListReads(state, state.range(0), [&] { return filled.store->bookMarkBookID("book", 1); });
}
BENCHMARK(BM_AllBookmarksOfABook)->Arg(10000)->Unit(benchmark::kMillisecond);

// The store keeps the open book's lists between reads and updates them with its own saves:
// the read right after a save (the save itself not timed) costs what any other read does.
void BM_AllHighlightsOfABookAfterASave(benchmark::State& state)
{
    FilledStore filled(static_cast<int>(state.range(0)));
    filled.store->highlightBookID("book", 1);
    int page = 0;
    timeListReads(
        state, state.range(0), [&] { return filled.store->highlightBookID("book", 1); },
        [&] { filled.store->saveHighlight(highlightOn(page++ % 2000), "book", 1); });
}
BENCHMARK(BM_AllHighlightsOfABookAfterASave)->Arg(10000)->Unit(benchmark::kMillisecond);

// Another connection's save (the sync client's, another process's) makes the next read go
// to the file: the cost of a list nobody kept.
void BM_AllHighlightsOfABookAfterAnotherConnectionsSave(benchmark::State& state)
{
    FilledStore filled(static_cast<int>(state.range(0)));
    auto other = companion::SqliteDatabaseManager::open(filled.folder.string()).value();
    int page = 0;
    timeListReads(
        state, state.range(0), [&] { return filled.store->highlightBookID("book", 1); },
        [&] { other->saveHighlight(highlightOn(page++ % 2000), "book", 1); });
}
BENCHMARK(BM_AllHighlightsOfABookAfterAnotherConnectionsSave)->Arg(10000)->Unit(benchmark::kMillisecond);

// A book opening in a new process: the store just opened (untimed), nothing of the file in
// its page cache yet.
void BM_AllListsOfABookFromAFreshConnection(benchmark::State& state)
{
    FilledStore filled(10000);
    std::shared_ptr<companion::SqliteDatabaseManager> fresh;
    auto reopen = [&] {
        fresh.reset();
        fresh = companion::SqliteDatabaseManager::open(filled.folder.string()).value();
    };
    if (state.range(0) == 0)
        timeListReads(state, 10000, [&] { return fresh->highlightBookID("book", 1); }, reopen);
    else
        timeListReads(state, 10000, [&] { return fresh->bookMarkBookID("book", 1); }, reopen);
    state.SetLabel(state.range(0) == 0 ? "10,000 highlights" : "10,000 bookmarks");
}
BENCHMARK(BM_AllListsOfABookFromAFreshConnection)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Pages this process has touched for the first time so far: in a fresh process each costs
// more than building what goes on it.
long minorFaults()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// A store of 10,000 highlights of one book written by another process, so this one starts
// with none of it in memory.
std::filesystem::path storeOf10000HighlightsFromAnotherProcess()
{
    auto folder = freshFolder();
    if (pid_t child = ::fork(); child == 0) {
        auto filler = companion::SqliteDatabaseManager::open(folder.string(), { .vfs = {}, .durable = false }).value();
        for (int index = 0; index < 10000; ++index)
            filler->saveHighlight(highlightOn(index % 2000), "book", 1);
        filler.reset();
        std::_Exit(0);
    } else {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    return folder;
}

// A book opening in a new process, where the allocator has no memory to give back yet: the
// first read of 10,000 highlights (counter first_read_ms), the second (kept_ms: the read
// after which the store keeps the list) and the first read answered from the kept list
// (kept_first_copy_ms), each list held meanwhile. The store is written by a child process. Only meaningful as the
// process's one benchmark: bench/fresh_process.sh runs it alone, several times.
void BM_HighlightsInAFreshProcess(benchmark::State& state)
{
    auto folder = storeOf10000HighlightsFromAnotherProcess();
    auto store = companion::SqliteDatabaseManager::open(folder.string()).value();
    // Each list is held to the end, as the reader and its panels hold theirs: a later read
    // cannot take the memory an earlier one let go.
    std::vector<std::vector<std::shared_ptr<lectoro::SDKHighlightVO>>> held;
    auto time = [&held](auto&& read) {
        auto start = std::chrono::steady_clock::now();
        held.push_back(read());
        auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return std::make_pair(took, held.back().size());
    };
    for (auto _ : state) {
        long faultsBefore = minorFaults();
        auto [first, count] = time([&] { return store->highlightBookID("book", 1); });
        state.counters["first_read_faults"] = static_cast<double>(minorFaults() - faultsBefore);
        auto [kept, keptCount] = time([&] { return store->highlightBookID("book", 1); });
        faultsBefore = minorFaults();
        auto [copy, copyCount] = time([&] { return store->highlightBookID("book", 1); });
        state.counters["kept_first_copy_faults"] = static_cast<double>(minorFaults() - faultsBefore);
        state.counters["first_read_ms"] = first;
        state.counters["kept_ms"] = kept;
        state.counters["kept_first_copy_ms"] = copy;
        if (count != 10000 || keptCount != 10000 || copyCount != 10000)
            state.SkipWithError("not every highlight was read");
    }
    store.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HighlightsInAFreshProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same in a fresh process for a reader that only reads (sharedHighlightsOfBook): the
// first read is kept as read, and every later read shares it.
void BM_SharedHighlightsInAFreshProcess(benchmark::State& state)
{
    auto folder = storeOf10000HighlightsFromAnotherProcess();
    auto store = companion::SqliteDatabaseManager::open(folder.string()).value();
    std::vector<lectoro::YSDBManager::SharedHighlightList> held;
    auto time = [&] {
        auto start = std::chrono::steady_clock::now();
        held.push_back(store->sharedHighlightsOfBook("book", 1));
        auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return std::make_pair(took, held.back() ? held.back()->size() : 0);
    };
    for (auto _ : state) {
        long faultsBefore = minorFaults();
        auto [first, count] = time();
        state.counters["first_read_faults"] = static_cast<double>(minorFaults() - faultsBefore);
        auto [kept, keptCount] = time();
        state.counters["first_read_ms"] = first;
        state.counters["kept_ms"] = kept;
        if (count != 10000 || keptCount != 10000)
            state.SkipWithError("not every highlight was read");
    }
    held.clear();
    store.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SharedHighlightsInAFreshProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// The floor under the two above: SQLite alone stepping the store's query for a book's
// highlights and reading every column, without making records.
void BM_StepAllHighlightRowsInSQLite(benchmark::State& state)
{
    FilledStore filled(static_cast<int>(state.range(0)));
    sqlite3* handle = nullptr;
    std::string path = (filled.folder / companion::storeFileName).string();
    sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_exec(handle, "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    std::string sql = std::string("SELECT ") + companion::packedRecordColumns
        + " FROM ugc WHERE book_id = 'book' AND user_id = 1 AND family = 1 AND status <> 3 ORDER BY id";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(handle));
        sqlite3_close(handle);
        return;
    }
    for (auto _ : state) {
        size_t bytes = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                if (sqlite3_column_type(statement, column) == SQLITE_INTEGER)
                    bytes += static_cast<size_t>(sqlite3_column_int64(statement, column));
                else if (int size = sqlite3_column_bytes(statement, column); size > 0)
                    bytes += static_cast<size_t>(size) + (sqlite3_column_blob(statement, column) != nullptr);
            }
        }
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StepAllHighlightRowsInSQLite)->Arg(10000)->Unit(benchmark::kMillisecond);

// What a page turn asks the store for: the highlights and bookmarks of one page among
// 10,000 of each in the book.
void BM_AnnotationsOfAPageAmong10000(benchmark::State& state)
{
    FilledStore filled(10000);
    int page = 0;
    for (auto _ : state) {
        std::string pageID = std::to_string(page++ % 2000);
        benchmark::DoNotOptimize(filled.store->highlightForPageID(pageID, "", "book", 1));
        benchmark::DoNotOptimize(filled.store->bookmarkForPageID(pageID, "", "book", 1));
    }
}
BENCHMARK(BM_AnnotationsOfAPageAmong10000)->Unit(benchmark::kMicrosecond);

// A reading session's page entry as the analytics queue hands it over.
std::string pageTrackingEntry(int index)
{
    return R"({"EventName":"PageTracking","UniqueID":"6F1C2D3E-4B5A-4C7D-8E9F-)"
        + std::to_string(100000 + index)
        + R"(","EventInfo":{"cfID":null,"pageId":"12","TimeSpend":"3","chapterId":"12","chapterName":"ch12"}})";
}

// What a page leaving the screen asks of the store: the events new since the last save
// added to the visit's session, committed without a sync of its own. Arg 1: the two saves
// of a chapter's leave (its positions, then its page).
void BM_SessionSaveAsAPageLeaves(benchmark::State& state)
{
    auto folder = freshFolder();
    auto store = companion::SqliteDatabaseManager::open(folder.string()).value();
    lectoro::TrackingChanges whole;
    whole.whole = true;
    whole.groups.push_back({ 0, "PageTracking", pageTrackingEntry(0), false });
    whole.groups.push_back(
        { 1, "BookOpen", R"({"EventName":"BookOpen","UniqueID":"42","EventInfo":{}})", false });
    store->storeReaderAnalyticsChanges("7", "42", whole);
    int entry = 1;
    for (auto _ : state) {
        for (int64_t save = 0; save <= state.range(0); ++save) {
            lectoro::TrackingChanges changes;
            changes.groups.push_back({ 0, "PageTracking", pageTrackingEntry(entry++), false });
            auto stored = store->storeReaderAnalyticsChangesWithoutSync("7", "42", changes);
            if (!stored.ok() || !stored.value())
                state.SkipWithError("the save was not added to the stored session");
        }
    }
    store.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SessionSaveAsAPageLeaves)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
