// Feeds arbitrary bytes, as the service's answer text, through the sync client into a real
// store in a temporary folder: a UGC download (records and classes) and a SCORM download.
// Whatever the answer holds, the store stays readable, keeps its records whole and sound.

#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/StoreSyncAdapter.h"

#include "platform/base/Dispatch.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

constexpr int64_t user = 5;
constexpr int64_t book = 77;

// Answers every request at once with the current input, parsed as the wire's JSON.
class AnswerTransport final : public companion::Transport {
public:
    void send(companion::ServiceRequest, companion::ServiceCompletion completion) override
    {
        auto parsed = base::parseJson(answer);
        if (parsed.ok())
            completion(companion::ServiceResult(std::move(parsed.value())));
        else
            completion(companion::ServiceResult(parsed.error()));
    }
    std::string_view answer;
};

struct Harness {
    Harness()
    {
        folder = std::filesystem::temp_directory_path() / ("lectoro-fuzz-store-" + std::to_string(::getpid()));
        start();
    }
    // A fresh, empty store: what answers add accumulates, and every read below walks it all.
    void start()
    {
        client.reset();
        store.reset();
        std::filesystem::remove_all(folder);
        auto opened = companion::SqliteDatabaseManager::open(folder.string());
        if (!opened.ok())
            std::abort();
        store = opened.value();
        transport = std::make_shared<AnswerTransport>();
        client = companion::DataSyncingManager::create("https://service", "fuzz", transport,
            std::make_shared<companion::StoreSyncAdapter>(store));
    }
    ~Harness()
    {
        client.reset();
        store.reset();
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    std::shared_ptr<companion::SqliteDatabaseManager> store;
    std::shared_ptr<AnswerTransport> transport;
    std::shared_ptr<companion::DataSyncingManager> client;
};

void checkReadable(companion::SqliteDatabaseManager& store)
{
    const std::string bookID = std::to_string(book);
    for (const auto& record : store.highlightBookID(bookID, user))
        (void)base::toJson(record->toUGCDictionary());
    for (const auto& record : store.bookMarkBookID(bookID, user))
        (void)base::toJson(record->toUGCDictionary());
    (void)base::toJson(store.getUnsynedUGCDictionaryForUserID(user));
    (void)store.bookClassInfoArrayForBookID(bookID, user);
    (void)store.unsyncedScormData(bookID, user);
    // A read that fails means the answer broke the store.
    if (!store.lastError().domain.empty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness harness;
    harness.transport->answer = std::string_view(reinterpret_cast<const char*>(data), size);
    harness.client->fetchUGCForBookID(book, user, {}, "token", "1");
    harness.client->fetchAndSaveSormDataForUserID(user, book, "class", {}, "token");
    // The fetched records are stored on the client's queue and reported on the main loop.
    do
        base::waitForBackgroundWork();
    while (base::RunLoop::main().runUntilIdle() > 0);
    checkReadable(*harness.store);

    // Now and then, the whole file is checked as SQLite checks it, and the next inputs start
    // from an empty store, so a run's cost does not grow with the records earlier runs left.
    static int runs = 0;
    if (++runs % 500 == 0) {
        {
            auto reopened = companion::SqliteDatabaseManager::open(harness.folder.string());
            if (!reopened.ok() || reopened.value()->openingProblem())
                std::abort();
        }
        harness.start();
    }
    return 0;
}
