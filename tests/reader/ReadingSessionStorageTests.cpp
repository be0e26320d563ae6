// The reading session over the real companion pieces (book loader, renderer, analytics
// queue, SQLite store in a folder): when the session is written, what a killed process
// keeps, and what a chapter of very many blocks sends per session save.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/renderer/ChapterPositions.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/base/Dispatch.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lectoro {
namespace {

constexpr int64_t bookID = 42;
constexpr int64_t userID = 7;

struct Scratch {
    Scratch()
        : path(std::filesystem::temp_directory_path()
              / ("lectoro-session-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++)))
    {
        std::filesystem::create_directories(path);
    }
    ~Scratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
    static inline int s_counter = 0;
};

void writePageBook(const std::filesystem::path& folder, int pages)
{
    std::filesystem::create_directories(folder / "assets" / "xml-bin");
    std::ofstream xml(folder / "assets" / "xml-bin" / "eBook.xml");
    xml << "<ebook id=\"42\" title=\"Session\" orientation=\"0\"><chapters><chapter id=\"1\" title=\"One\">";
    for (int page = 1; page <= pages; ++page)
        xml << "<page id=\"" << page << "\" display=\"" << page << "\"/>";
    xml << "</chapter></chapters></ebook>";
}

// An unpacked EPUB whose only chapter holds `paragraphs` one-word paragraphs.
void writeLongChapterEpub(const std::filesystem::path& folder, size_t paragraphs)
{
    std::filesystem::create_directories(folder / "META-INF");
    std::filesystem::create_directories(folder / "OEBPS");
    std::ofstream(folder / "mimetype") << "application/epub+zip";
    std::ofstream(folder / "META-INF" / "container.xml")
        << R"(<?xml version="1.0"?><container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">)"
           R"(<rootfiles><rootfile full-path="OEBPS/package.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)";
    std::ofstream(folder / "OEBPS" / "package.opf")
        << R"(<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="id">)"
           R"(<metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:identifier id="id">long</dc:identifier>)"
           R"(<dc:title>Long</dc:title><dc:language>en</dc:language></metadata><manifest>)"
           R"(<item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>)"
           R"(<item id="ch1" href="ch1.xhtml" media-type="application/xhtml+xml"/></manifest>)"
           R"(<spine><itemref idref="ch1"/></spine></package>)";
    std::ofstream(folder / "OEBPS" / "nav.xhtml")
        << R"(<?xml version="1.0"?><html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops">)"
           R"(<body><nav epub:type="toc"><ol><li><a href="ch1.xhtml">One</a></li></ol></nav></body></html>)";
    std::ofstream chapter(folder / "OEBPS" / "ch1.xhtml");
    chapter << R"(<?xml version="1.0"?><html xmlns="http://www.w3.org/1999/xhtml"><body>)";
    std::string block = "<p>w</p>\n";
    std::string chunk;
    for (int i = 0; i < 10000; ++i)
        chunk += block;
    for (size_t written = 0; written < paragraphs; written += 10000)
        chapter << (paragraphs - written >= 10000 ? chunk : chunk.substr(0, (paragraphs - written) * block.size()));
    chapter << "</body></html>";
}

// One reader over the real companion framework, the store in `storage`.
class RealReader {
public:
    RealReader(const std::filesystem::path& book, const std::filesystem::path& storage)
    {
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(std::make_shared<base::UserDefaults>());
        AnalyticsManager::setInstance(nullptr);
        m_framework = companion::makeFramework({ storage.string(), nullptr });
        setCompanionFramework(m_framework);
        auto user = LectoroUser::create();
        user->userID = std::to_string(userID);
        reader = ReaderViewController::create(book.string(), bookID, user, "978", "https://api", "client",
            std::make_shared<MVReaderSettingModel>(), "1.0");
        reader->view();
        base::RunLoop::main().advanceBy(0.5);
        renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        analytics = std::dynamic_pointer_cast<companion::QueuedAnalyticsManager>(AnalyticsManager::getInstance());
    }
    ~RealReader()
    {
        reader->uninitializeReader();
        reader.reset();
        renderer.reset();
        setCompanionFramework(nullptr);
        AnalyticsManager::setInstance(nullptr);
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(nullptr);
    }

    std::shared_ptr<YSDBManager> store() { return m_framework->makeDatabaseManager(); }

    std::shared_ptr<ReaderViewController> reader;
    std::shared_ptr<companion::BookRenderer> renderer;
    std::shared_ptr<companion::QueuedAnalyticsManager> analytics;

private:
    std::shared_ptr<companion::Framework> m_framework;
};

struct StoredTime {
    double seconds = 0;
    size_t pageEvents = 0;
};

// The reading time of every stored session of the book.
StoredTime storedReadingTime(YSDBManager& store)
{
    StoredTime total;
    auto sessions = store.getReaderAnalyticsForUser(userID, std::to_string(bookID));
    const auto* stored = sessions.asDictionary();
    if (!stored)
        return total;
    for (const auto& [key, value] : *stored) {
        auto parsed = base::parseJson(value.asString().value_or(""));
        if (!parsed.ok())
            continue;
        if (const auto* pages = parsed.value()["PageTracking"].asList()) {
            for (const auto& page : *pages) {
                total.seconds += page["EventInfo"]["TimeSpend"].doubleValue();
                ++total.pageEvents;
            }
        }
    }
    return total;
}

TEST(ReadingSessionStorage, EachPageStoresItsTimeAsItLeavesTheScreen)
{
    Scratch scratch;
    writePageBook(scratch.path / "book", 250);
    RealReader open(scratch.path / "book", scratch.path / "store");
    ASSERT_TRUE(open.renderer && open.renderer->isBookLoaded());
    auto& session = open.reader->readingSession();
    size_t before = session.storedSessionCount();

    constexpr int turns = 200;
    constexpr double secondsPerTurn = 2.0;
    // Turns on the even seconds, as the timer fires: the first page is read for two seconds.
    base::RunLoop::main().advanceBy(1.5);
    double read = 2.0;
    for (int turn = 1; turn <= turns; ++turn) {
        ASSERT_TRUE(open.renderer->swipe(companion::RendererSwipe::Next));
        // Every page that has left the screen is in the store; only the page on screen,
        // read for less than a turn, may not be yet.
        if (turn % 50 == 0) {
            auto stored = storedReadingTime(*open.store());
            EXPECT_NEAR(stored.seconds, read, 1.0) << "turn " << turn;
            EXPECT_GE(stored.pageEvents, size_t(turn)) << "turn " << turn;
        }
        base::RunLoop::main().advanceBy(secondsPerTurn);
        read += secondsPerTurn;
    }
    // A save per page that left, and the timer's.
    size_t writes = session.storedSessionCount() - before;
    EXPECT_GE(writes, size_t(turns));
    EXPECT_LE(writes, size_t(turns + turns * secondsPerTurn / ReadingSession::sessionInterval) + 2);

    open.reader->didTapOnBackButton();
    auto stored = storedReadingTime(*open.store());
    EXPECT_NEAR(stored.seconds, 2.0 + turns * secondsPerTurn, 2.0);
    EXPECT_GE(stored.pageEvents, size_t(turns));
}

// The page-tracking events stored for the book, as a fresh connection reads them: what a
// process killed now would leave behind.
std::vector<base::Value> storedPageEvents(const std::filesystem::path& storage)
{
    std::vector<base::Value> events;
    auto store = companion::SqliteDatabaseManager::open(storage.string());
    if (!store.ok())
        return events;
    auto sessions = store.value()->getReaderAnalyticsForUser(userID, std::to_string(bookID));
    if (const auto* stored = sessions.asDictionary()) {
        for (const auto& [key, value] : *stored) {
            auto parsed = base::parseJson(value.asString().value_or(""));
            if (!parsed.ok())
                continue;
            if (const auto* pages = parsed.value()["PageTracking"].asList()) {
                for (const auto& page : *pages)
                    events.push_back(page["EventInfo"]);
            }
        }
    }
    return events;
}

TEST(ReadingSessionStorage, AChapterThatLeavesIsStoredWithItsPositionsInOneSave)
{
    Scratch scratch;
    auto storage = scratch.path / "store";
    RealReader open(std::filesystem::path(LECTORO_SAMPLES_DIR) / "books" / "sample-reflowable-epub", storage);
    ASSERT_TRUE(open.renderer && open.renderer->isBookLoaded());
    auto& session = open.reader->readingSession();
    // Only the turns save here.
    session.stopAnalyticsScheduledTimer();
    auto chapterShown = [&] {
        auto pages = open.renderer->getActivePages();
        return pages.empty() ? int64_t(-1) : pages.front().fileIndex;
    };
    auto eventsOf = [](const std::vector<base::Value>& events, int64_t chapter, bool positions) {
        size_t count = 0;
        for (const auto& event : events) {
            if (event["pageID"].asString() == std::to_string(chapter) && event["cfID"].isNull() != positions)
                ++count;
        }
        return count;
    };

    for (int leave = 1; leave <= 2; ++leave) {
        SCOPED_TRACE(leave);
        int64_t chapter = chapterShown();
        size_t before = session.storedSessionCount();
        for (int turn = 0; turn < 50 && chapterShown() == chapter; ++turn) {
            base::RunLoop::main().advanceBy(3);
            ASSERT_TRUE(open.renderer->swipe(companion::RendererSwipe::Next));
        }
        ASSERT_NE(chapterShown(), chapter);
        // As the swipe returns, the chapter's page and its positions are in the store, in
        // one save.
        auto stored = storedPageEvents(storage);
        EXPECT_EQ(eventsOf(stored, chapter, false), 1u);
        EXPECT_GE(eventsOf(stored, chapter, true), 1u);
        EXPECT_EQ(session.storedSessionCount(), before + 1);
        // Nothing is left owed for later.
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(session.storedSessionCount(), before + 1);
    }

    // Positions that leave without their page (a renderer stopped part way) are stored on
    // the run loop's next pass.
    base::RunLoop::main().advanceBy(3);
    int64_t chapter = chapterShown();
    auto pages = open.renderer->getActivePages();
    ASSERT_FALSE(pages.empty());
    std::vector<std::string> positions;
    for (const auto& [position, start] : open.reader->context().CFIsLoadStartTimeDictionary)
        positions.push_back(position);
    ASSERT_FALSE(positions.empty());
    size_t before = session.storedSessionCount();
    open.reader->willUnloadCFI(*open.renderer, positions, pages.front().pageID, pages.front().displayNum);
    EXPECT_EQ(eventsOf(storedPageEvents(storage), chapter, true), 0u);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(session.storedSessionCount(), before + 1);
    EXPECT_GE(eventsOf(storedPageEvents(storage), chapter, true), 1u);
}

// Turns pages in virtual time, saving a bookmark every fifth turn, and reports on `pipe`
// after each turn the reading time so far (negative numbers: the index of a bookmark whose
// save has returned). Never returns.
[[noreturn]] void readUntilKilled(const std::filesystem::path& book, const std::filesystem::path& storage, int pipe)
{
    // A forked child has none of its parent's worker threads: background work runs inline.
    base::setSynchronousForTesting(true);
    RealReader open(book, storage);
    if (!open.renderer || !open.renderer->isBookLoaded())
        _exit(2);
    auto store = open.store();
    base::RunLoop::main().advanceBy(1.5);
    double start = base::RunLoop::main().now();
    for (int32_t turn = 1;; ++turn) {
        if (!open.renderer->swipe(companion::RendererSwipe::Next))
            open.renderer->navigateToPageNumber("1");
        base::RunLoop::main().advanceBy(2.0);
        if (turn % 5 == 0) {
            auto bookmark = std::make_shared<SDKBookmarkVO>();
            bookmark->pageIdentifier = std::to_string(turn);
            bookmark->localID = "bookmark-" + std::to_string(turn);
            store->saveBookmark(bookmark, std::to_string(bookID), userID);
            int32_t saved = -turn;
            if (write(pipe, &saved, sizeof saved) != sizeof saved)
                _exit(3);
        }
        auto seconds = static_cast<int32_t>(base::RunLoop::main().now() - start);
        if (write(pipe, &seconds, sizeof seconds) != sizeof seconds)
            _exit(3);
    }
}

// The reader to kill runs in a fresh copy of this program that runs this test alone and
// finds what to read in these variables. A forked copy of a process in which earlier tests
// started the background queues' threads would inherit their locks without the threads.
constexpr const char* killedReaderBook = "LECTORO_KILLED_READER_BOOK";
constexpr const char* killedReaderStorage = "LECTORO_KILLED_READER_STORAGE";
constexpr const char* killedReaderPipe = "LECTORO_KILLED_READER_PIPE";

pid_t startReaderToKill(const std::filesystem::path& book, const std::filesystem::path& storage, int pipe)
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::vector<std::string> words { "/proc/self/exe",
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name() };
    // GoogleTest's own variables (shards, output files) are this run's, not the child's.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        if (std::string_view(*variable).substr(0, 6) != "GTEST_")
            environment.emplace_back(*variable);
    }
    environment.push_back(std::string(killedReaderBook) + "=" + book.string());
    environment.push_back(std::string(killedReaderStorage) + "=" + storage.string());
    environment.push_back(std::string(killedReaderPipe) + "=" + std::to_string(pipe));
    auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> list;
        for (auto& string : strings)
            list.push_back(string.data());
        list.push_back(nullptr);
        return list;
    };
    auto argv = pointers(words);
    auto envp = pointers(environment);
    // Its GoogleTest report would only interleave with this one's.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        child = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

TEST(ReadingSessionStorage, AKilledProcessLosesAtMostThePageOnScreenAndNoBookmark)
{
    if (const char* pipe = std::getenv(killedReaderPipe))
        readUntilKilled(std::getenv(killedReaderBook), std::getenv(killedReaderStorage), std::atoi(pipe));
    Scratch scratch;
    writePageBook(scratch.path / "book", 100);
    for (int32_t killAfter : { 37, 120, 301 }) {
        SCOPED_TRACE(killAfter);
        auto storage = scratch.path / ("store-" + std::to_string(killAfter));
        int ends[2];
        ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
        // The child's end, without close-on-exec.
        int childEnd = dup(ends[1]);
        ASSERT_GE(childEnd, 0);
        pid_t child = startReaderToKill(scratch.path / "book", storage, childEnd);
        close(childEnd);
        close(ends[1]);
        ASSERT_GT(child, 0);

        int32_t readSeconds = 0;
        std::vector<int32_t> bookmarks;
        int32_t message = 0;
        auto take = [&] {
            if (message < 0)
                bookmarks.push_back(-message);
            else
                readSeconds = std::max(readSeconds, message);
        };
        while (readSeconds < killAfter && read(ends[0], &message, sizeof message) == sizeof message)
            take();
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        while (read(ends[0], &message, sizeof message) == sizeof message)
            take();
        close(ends[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the reader stopped on its own with " << WEXITSTATUS(status);
        ASSERT_GE(readSeconds, killAfter);

        auto reopened = companion::SqliteDatabaseManager::open(storage.string());
        ASSERT_TRUE(reopened.ok()) << reopened.error().localizedDescription();
        auto stored = storedReadingTime(*reopened.value());
        // Only the page on screen at the kill (read up to a turn) may be missing.
        EXPECT_GE(stored.seconds, readSeconds - 2.0 - 2.0);
        EXPECT_LE(stored.seconds, readSeconds + 4.5);
        std::set<std::string> kept;
        for (const auto& bookmark : reopened.value()->bookMarkBookID(std::to_string(bookID), userID))
            kept.insert(bookmark->localID);
        for (int32_t turn : bookmarks)
            EXPECT_TRUE(kept.count("bookmark-" + std::to_string(turn))) << "lost bookmark of turn " << turn;
    }
}

TEST(ReadingSessionStorage, AChapterOfManyBlocksSendsAScreenfulPerSave)
{
    Scratch scratch;
    // Just under the default budget's blocks per chapter, so the chapter opens and the session
    // side is what is measured (the 1.25-million-block shape is refused by the budget).
    constexpr size_t paragraphs = 99000;
    writeLongChapterEpub(scratch.path / "book", paragraphs);
    RealReader open(scratch.path / "book", scratch.path / "store");
    ASSERT_TRUE(open.renderer);
    if (!open.renderer->isBookLoaded()) {
        // The book budget refuses the chapter outright, naming the limit it passed: a bounded
        // outcome as good as opening it.
        ASSERT_TRUE(open.renderer->loadError().has_value());
        EXPECT_NE(open.renderer->loadError()->localizedDescription().find("maxBlocksPerChapter"), std::string::npos)
            << open.renderer->loadError()->localizedDescription();
        return;
    }
    ASSERT_TRUE(open.analytics);
    EXPECT_LE(open.reader->context().CFIsLoadStartTimeDictionary.size(), companion::positionsPerScreen);

    for (int tick = 1; tick <= 3; ++tick) {
        size_t before = open.analytics->trackedEventCount();
        size_t storedBefore = open.reader->readingSession().storedSessionCount();
        base::RunLoop::main().advanceBy(ReadingSession::sessionInterval);
        size_t sent = open.analytics->trackedEventCount() - before;
        // Close and open, one event per position on screen, one for the chapter page.
        EXPECT_LE(sent, companion::positionsPerScreen + 3) << "tick " << tick;
        EXPECT_GE(sent, 3u);
        EXPECT_EQ(open.reader->readingSession().storedSessionCount(), storedBefore + 1);
    }
    EXPECT_LE(open.analytics->visitEvents().size(), 3 * (companion::positionsPerScreen + 3) + 1);
}

} // namespace
} // namespace lectoro
