// The sync client's cost for a book's notes: a fetch applied to the store (on a new device,
// and again when the device already holds them) and an upload marked done, from the
// service's answer to the delegate's report. The service answers at once from memory, so
// what is timed is the client and the store. The store works on a queue of its own, so the
// CPU column counts every thread of the process: this shared machine's wall times swing.

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "companion/service/Transport.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/StoreSyncAdapter.h"

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <sqlite3.h>

namespace {

constexpr int64_t benchUser = 4;
constexpr int64_t benchBook = 31;

std::filesystem::path freshSyncFolder()
{
    std::random_device device;
    auto folder = std::filesystem::temp_directory_path() / ("lectoro-bench-sync-" + std::to_string(device()));
    std::filesystem::create_directories(folder);
    return folder;
}

// A note as the service sends it: made on another device (its local id), uploaded there
// (its service id).
base::Value fetchedNote(int index)
{
    return base::Value::Dictionary {
        { "type", 1 },
        { "ugcID", "s-" + std::to_string(index) },
        { "localID", "other-device-" + std::to_string(index) },
        { "folioID", std::to_string(index % 400) },
        { "status", 1 },
        { "text", "A passage of the book that the reader highlighted." },
        { "noteText", "A note about it, written on the other device (" + std::to_string(index) + ")." },
        { "colorCode", "#FFFF00" },
        { "startIndex", index % 50 },
        { "endIndex", index % 50 + 20 },
    };
}

// Answers with the answer prepared for the next request (built untimed: a real answer comes
// parsed from the wire), on the main run loop as the in-process service does.
class NotesService final : public companion::Transport {
public:
    void send(companion::ServiceRequest, companion::ServiceCompletion completion) override
    {
        base::RunLoop::main().post([completion = std::move(completion), answer = std::move(next)]() mutable {
            completion(std::move(answer));
        });
        next = base::Value();
    }
    base::Value next;
};

base::Value fetchAnswer(const base::Value::List& notes)
{
    return base::Value::Dictionary { { "bookID", benchBook }, { "userID", benchUser }, { "ugcList", notes } };
}

class ReportCounter final : public lectoro::LectoroDataSyncingManagerDelegate {
public:
    void didUGCFetchCompletedSuccessfullyWithUserID(int64_t, int64_t) override { ++reports; }
    void didUGCFetchFailedWithError(const base::Error&, int64_t, int64_t) override { ++reports, ++failures; }
    void didUGCSaveCompletedSuccessfullyWithUserID(int64_t, int64_t) override { ++reports; }
    void didUGCSaveFailedWithError(const base::Error&, int64_t, int64_t) override { ++reports, ++failures; }
    int reports = 0;
    int failures = 0;
};

struct SyncBench {
    SyncBench()
        : folder(freshSyncFolder())
    {
        store = companion::SqliteDatabaseManager::open(folder.string()).value();
        service = std::make_shared<NotesService>();
        client = companion::DataSyncingManager::create(
            "https://bench", "bench", service, std::make_shared<companion::StoreSyncAdapter>(store));
    }
    ~SyncBench()
    {
        client.reset();
        store.reset();
        std::filesystem::remove_all(folder);
    }
    // Drives the run loop and the background queues until the client has reported.
    void waitForReport(benchmark::State& state)
    {
        int expected = delegate->reports + 1;
        while (delegate->reports < expected) {
            base::waitForBackgroundWork();
            base::RunLoop::main().runUntilIdle();
        }
        if (delegate->failures)
            state.SkipWithError("the client reported a failure");
    }
    size_t storedNotes() { return store->highlightBookID(std::to_string(benchBook), benchUser).size(); }

    std::filesystem::path folder;
    std::shared_ptr<companion::SqliteDatabaseManager> store;
    std::shared_ptr<NotesService> service;
    std::shared_ptr<companion::DataSyncingManager> client;
    std::shared_ptr<ReportCounter> delegate = std::make_shared<ReportCounter>();
};

// A fetch of `count` notes into a store that holds none of them (arg 1: that holds every
// one already, as a second fetch finds it).
void BM_FetchNotes(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const bool again = state.range(1) != 0;
    SyncBench bench;
    base::Value::List notes;
    for (int index = 0; index < count; ++index)
        notes.push_back(fetchedNote(index));
    if (again) {
        bench.service->next = fetchAnswer(notes);
        bench.client->fetchUGCOperationForBookID(benchBook, benchUser, bench.delegate, "token", "1");
        bench.waitForReport(state);
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (!again) {
            bench.store.reset();
            bench.client.reset();
            std::filesystem::remove_all(bench.folder);
            bench.store = companion::SqliteDatabaseManager::open(bench.folder.string()).value();
            bench.client = companion::DataSyncingManager::create("https://bench", "bench", bench.service,
                std::make_shared<companion::StoreSyncAdapter>(bench.store));
        }
        bench.service->next = fetchAnswer(notes);
        state.ResumeTiming();
        bench.client->fetchUGCOperationForBookID(benchBook, benchUser, bench.delegate, "token", "1");
        bench.waitForReport(state);
    }
    if (bench.storedNotes() != static_cast<size_t>(count))
        state.SkipWithError("the store does not hold each note once");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetLabel(again ? "held already" : "new device");
}
BENCHMARK(BM_FetchNotes)
    ->Args({ 20000, 0 })
    ->Args({ 20000, 1 })
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// An upload of `count` notes saved on this device, from the request to the records marked
// synced with their service ids.
void BM_UploadNotes(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    SyncBench bench;
    {
        auto filler = companion::SqliteDatabaseManager::open(bench.folder.string(), { .vfs = {}, .durable = false }).value();
        for (int index = 0; index < count; ++index) {
            auto note = std::make_shared<lectoro::SDKHighlightVO>();
            note->pageIdentifier = std::to_string(index % 400);
            note->text = "A passage of the book that the reader highlighted.";
            note->noteText = "A note about it (" + std::to_string(index) + ").";
            filler->saveHighlight(note, std::to_string(benchBook), benchUser);
        }
    }
    base::Value::List saved;
    for (const auto& note : bench.store->highlightBookID(std::to_string(benchBook), benchUser)) {
        saved.emplace_back(base::Value::Dictionary {
            { "bookID", benchBook }, { "localID", note->localID }, { "ugcID", "u-" + note->localID } });
    }
    auto unsynced = [&] { return bench.store->unsyncedUGCForBookID(std::to_string(benchBook), benchUser).size(); };
    sqlite3* handle = nullptr;
    sqlite3_open_v2((bench.folder / companion::storeFileName).c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        // Every note edited again since the last upload, as a save leaves it.
        sqlite3_exec(handle, "UPDATE ugc SET is_synced = 0, ugc_id = '-1', revision = revision + 1", nullptr, nullptr,
            nullptr);
        bench.service->next = base::Value::Dictionary { { "saved", saved } };
        state.ResumeTiming();
        lectoro::LectoroServiceMetaData metaData;
        bench.client->saveUGCOperationForBookID(benchBook, benchUser, bench.delegate, "token", metaData);
        bench.waitForReport(state);
    }
    sqlite3_close(handle);
    if (unsynced() != 0)
        state.SkipWithError("notes are left unsynced");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_UploadNotes)->Arg(20000)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
