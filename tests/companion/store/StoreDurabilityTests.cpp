#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace lectoro;
using companion::SqliteDatabaseManager;
using companion::testing::TemporaryFolder;

namespace {

constexpr int64_t user = 7;

// Saves highlights one after another and reports each number on `pipe` only after its
// save has returned; never returns.
[[noreturn]] void writeUntilKilled(const std::string& root, int pipe)
{
    auto store = SqliteDatabaseManager::open(root);
    if (!store.ok())
        _exit(2);
    for (int32_t number = 0;; ++number) {
        auto highlight = std::make_shared<SDKHighlightVO>();
        highlight->pageIdentifier = "1";
        highlight->localID = "note-" + std::to_string(number);
        highlight->noteText = std::string(200, 'n');
        store.value()->saveHighlight(highlight, "book", user);
        store.value()->saveBookMetadata(base::Value::Dictionary { { "LastPageFolio", std::to_string(number) } }, "book", user);
        if (write(pipe, &number, sizeof number) != sizeof number)
            _exit(3);
    }
}

} // namespace

TEST(StoreDurability, EverySaveThatReturnedSurvivesAKilledWriter)
{
    TemporaryFolder folder;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        writeUntilKilled(folder.string(), pipeEnds[1]);
    }
    close(pipeEnds[1]);

    std::set<int32_t> acknowledged;
    int32_t number = 0;
    while (acknowledged.size() < 150 && read(pipeEnds[0], &number, sizeof number) == sizeof number)
        acknowledged.insert(number);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    // Saves acknowledged between the last read and the kill count as well.
    while (read(pipeEnds[0], &number, sizeof number) == sizeof number)
        acknowledged.insert(number);
    close(pipeEnds[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own with " << WEXITSTATUS(status);
    ASSERT_GE(acknowledged.size(), 150u);

    auto reopened = SqliteDatabaseManager::open(folder.string());
    ASSERT_TRUE(reopened.ok()) << reopened.error().localizedDescription();
    std::set<std::string> stored;
    for (const auto& highlight : reopened.value()->highlightBookID("book", user))
        stored.insert(highlight->localID);
    for (int32_t saved : acknowledged)
        EXPECT_TRUE(stored.count("note-" + std::to_string(saved))) << "lost save " << saved;
    int64_t lastPage = reopened.value()->getBookMetadataForbookID("book", user)["LastPageFolio"].integerValue();
    EXPECT_GE(lastPage, *acknowledged.rbegin());
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
                store.saveBookmark(bookmark, "book", user);
                store.bookMarkBookID("book", user);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(first.value()->bookMarkBookID("book", user).size(), 100u);
    EXPECT_EQ(second.value()->bookmarkForPageID("3", "", "book", user).size(), 25u);
}
