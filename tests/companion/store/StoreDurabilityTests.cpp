#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/IntegrityCheck.h"
#include "companion/store/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::testing::integrityOf;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t durabilityUser = 7;

// Saves highlights one after another, deleting every third one again, and reports each
// step on `pipe` only after it has returned; never returns. A step is its number, negated
// for a delete of the highlight of that number.
[[noreturn]] void writeUntilKilled(const std::string& root, int pipe)
{
    auto store = SqliteDatabaseManager::open(root);
    if (!store.ok())
        _exit(2);
    auto highlightNumbered = [](int32_t number) {
        auto highlight = std::make_shared<SDKHighlightVO>();
        highlight->pageIdentifier = "1";
        highlight->localID = "note-" + std::to_string(number);
        highlight->noteText = std::string(200, 'n');
        return highlight;
    };
    for (int32_t number = 1;; ++number) {
        if (!store.value()->saveHighlight(highlightNumbered(number), "book", durabilityUser).ok())
            _exit(4);
        if (!store.value()->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", std::to_string(number) } }, "book", durabilityUser).ok())
            _exit(4);
        if (write(pipe, &number, sizeof number) != sizeof number)
            _exit(3);
        if (number % 3 == 0) {
            int32_t deleted = -(number - 1);
            if (!store.value()->deleteHighlight(highlightNumbered(number - 1), "book", durabilityUser).ok())
                _exit(4);
            if (write(pipe, &deleted, sizeof deleted) != sizeof deleted)
                _exit(3);
        }
    }
}

} // namespace

// The writer is killed after a few, some and many acknowledged steps (the kill lands
// wherever the writer then is: in a save, a delete, a commit or between them).
TEST(StoreDurability, EveryChangeThatReturnedSurvivesAKilledWriter)
{
    for (size_t killAfter : { 5u, 40u, 150u }) {
        SCOPED_TRACE("killed after " + std::to_string(killAfter) + " acknowledged steps");
        TemporaryFolder folder;
        // Closed cleanly once, so what the killed writer leaves is all that tells.
        ASSERT_TRUE(SqliteDatabaseManager::open(folder.string()).ok());
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            writeUntilKilled(folder.string(), pipeEnds[1]);
        }
        close(pipeEnds[1]);

        std::set<int32_t> saved;
        std::set<int32_t> deleted;
        size_t steps = 0;
        int32_t step = 0;
        auto note = [&] {
            ++steps;
            if (step > 0) {
                saved.insert(step);
            } else {
                saved.erase(-step);
                deleted.insert(-step);
            }
        };
        while (steps < killAfter && read(pipeEnds[0], &step, sizeof step) == sizeof step)
            note();
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        // Steps acknowledged between the last read and the kill count as well.
        while (read(pipeEnds[0], &step, sizeof step) == sizeof step)
            note();
        close(pipeEnds[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own with " << WEXITSTATUS(status);
        ASSERT_GE(steps, killAfter);

        auto database = (folder.path() / companion::storeFileName).string();
        EXPECT_EQ(integrityOf(database), "ok");
        auto reopened = SqliteDatabaseManager::open(folder.string());
        ASSERT_TRUE(reopened.ok()) << reopened.error().localizedDescription();
        EXPECT_FALSE(reopened.value()->openingProblem());
        EXPECT_TRUE(reopened.value()->checkedOnOpening()) << "a store whose writer was killed is checked before it is written";
        std::set<std::string> stored;
        for (const auto& highlight : reopened.value()->highlightBookID("book", durabilityUser))
            stored.insert(highlight->localID);
        // The writer may have made the step after the last one it acknowledged: when that
        // is a delete, the highlight it deletes may be gone.
        int32_t lastAcknowledged = step;
        int32_t deletedUnacknowledged = lastAcknowledged > 0 && lastAcknowledged % 3 == 0 ? lastAcknowledged - 1 : 0;
        for (int32_t number : saved) {
            if (number != deletedUnacknowledged) {
                EXPECT_TRUE(stored.count("note-" + std::to_string(number))) << "lost save " << number;
            }
        }
        for (int32_t number : deleted)
            EXPECT_FALSE(stored.count("note-" + std::to_string(number))) << "undone delete " << number;
        int64_t lastPage = reopened.value()->getBookMetadataForbookID("book", durabilityUser)["LastPageFolio"].integerValue();
        EXPECT_GE(lastPage, saved.empty() ? 0 : *saved.rbegin());
    }
}

TEST(StoreDurability, TwoConnectionsAndManyThreadsShareTheStore)
{
    TemporaryFolder folder;
    auto first = SqliteDatabaseManager::open(folder.string());
    auto second = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(first.ok() && second.ok());
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&, thread] {
            auto& store = thread % 2 ? *second.value() : *first.value();
            for (int index = 0; index < 25; ++index) {
                auto bookmark = std::make_shared<SDKBookmarkVO>();
                bookmark->pageIdentifier = std::to_string(thread);
                store.saveBookmark(bookmark, "book", durabilityUser);
                store.bookMarkBookID("book", durabilityUser);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(first.value()->bookMarkBookID("book", durabilityUser).size(), 100u);
    EXPECT_EQ(second.value()->bookmarkForPageID("3", "", "book", durabilityUser).size(), 25u);
}
