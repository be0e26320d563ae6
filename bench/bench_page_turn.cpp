// A page turn in the reader, measured over a whole reading session: the reader is opened
// through the real companion framework (renderer over a book folder, SQLite store in a
// scratch folder) with 10,000 annotations stored for the book, a highlight, a bookmark and
// a drawing on every page; then 2,000 turns, a few seconds of reading each, so the session
// timer saves every few turns as it would for a reader. A turn is the renderer's swipe and
// everything the reader does for it, including the follow-ups it schedules for the page.
//
// Each benchmark reports the first and the last hundred turns (min and median, in ms):
// a turn late in a long session should cost what an early one does. The EPUB's turns that
// enter another chapter are reported apart too (chapter_entry), with the main thread's own
// CPU time for them (chapter_entry_main_cpu; the wall time also holds the background reads
// that share the core when the run is pinned to one, and other tenants). The session timer's
// saves (every 10 s of reading, the one durable write of the session) are timed apart, as
// ticks, first and last hundred. "Bookkeeping" is the reader's own callbacks for a turn
// without a renderer, as a lower bound.
//
// The reader is a returning one, who has closed the first visit's coach marks: they cover
// the page and take its swipes, so no reader turns pages under them. The EPUB's first visit
// is measured apart (FirstVisit), with the coach marks left up: each page load then lays
// them out again, twice.

#include "BenchBooks.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int sessionTurns = 2000;
constexpr int reportedTurns = 100;
constexpr size_t reportedTicks = 100;
constexpr int storedAnnotations = 10000;
constexpr double secondsPerTurn = 3.0;
constexpr int64_t userID = 7;
constexpr int64_t bookID = 42;

enum class BookShape { PageBook, Epub };

// Pages of the book as the reader names them for annotations: a page book's page ids
// (1…2000), an EPUB's chapter file indexes.
std::vector<std::string> pageIdentifiers(BookShape shape, const lectoro::LectoroBookVO* book)
{
    std::vector<std::string> pages;
    if (auto epub = dynamic_cast<const lectoro::EPUBBookVO*>(book)) {
        for (const auto& chapter : epub->chapters)
            pages.push_back(std::to_string(chapter->fileIndex));
    } else if (shape == BookShape::PageBook) {
        for (int page = 1; page <= 2000; ++page)
            pages.push_back(std::to_string(page));
    }
    return pages;
}

void storeAnnotations(lectoro::YSDBManager& store, const std::vector<std::string>& pages)
{
    if (pages.empty())
        return;
    std::string book = std::to_string(bookID);
    int saved = 0;
    for (size_t index = 0; saved < storedAnnotations; ++index) {
        const std::string& page = pages[index % pages.size()];
        auto highlight = benchbooks::annotationOn<lectoro::SDKHighlightVO>(page, "h", index);
        highlight->text = "the water keeper";
        highlight->noteText = index % 3 ? "" : "a note on the light";
        store.saveHighlight(highlight, book, userID);
        ++saved;
        // Every page has a bookmark and a drawing; the rest of the 10,000 are highlights.
        if (index >= pages.size() || saved + 2 > storedAnnotations)
            continue;
        store.saveBookmark(benchbooks::annotationOn<lectoro::SDKBookmarkVO>(page, "b", index), book, userID);
        store.savePentoolDrawing(benchbooks::annotationOn<lectoro::SDKPentoolVO>(page, "d", index), book, userID);
        saved += 2;
    }
}

enum class Visit { Returning, First };

struct OpenSession {
    explicit OpenSession(BookShape shape, Visit visit = Visit::Returning)
        : scratch("lectoro-bench-turns")
    {
        base::RunLoop::main().reset();
        auto defaults = std::make_shared<base::UserDefaults>();
        if (visit == Visit::Returning) {
            for (const char* seen : { lectoro::ReaderHelp::pdfFlagKey, lectoro::ReaderHelp::reflowEpubFlagKey,
                     lectoro::ReaderHelp::fixedEpubFlagKey })
                defaults->setBool(seen, false);
        }
        base::UserDefaults::setStandardForTesting(defaults);
        auto bookFolder = scratch.path() / "book";
        if (shape == BookShape::PageBook)
            benchbooks::writePageBook(bookFolder);
        else
            benchbooks::writeEpub(bookFolder);
        framework = companion::makeFramework({ (scratch.path() / "store").string(), nullptr });
        lectoro::setCompanionFramework(framework);
        auto user = lectoro::LectoroUser::create();
        user->userID = std::to_string(userID);
        reader = lectoro::ReaderViewController::create(bookFolder.string(), bookID, user, "978", "https://api",
            "client", std::make_shared<lectoro::MVReaderSettingModel>(), "1.0");
        reader->view();
        base::RunLoop::main().advanceBy(0.5);
        base::RunLoop::main().runUntilIdle();
        renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        if (auto store = framework->makeDatabaseManager())
            storeAnnotations(*store, pageIdentifiers(shape, renderer ? renderer->currentBook().get() : nullptr));
    }
    ~OpenSession()
    {
        reader->uninitializeReader();
        reader.reset();
        renderer.reset();
        lectoro::setCompanionFramework(nullptr);
        lectoro::AnalyticsManager::setInstance(nullptr);
        base::RunLoop::main().reset();
    }

    benchbooks::ScratchFolder scratch;
    std::shared_ptr<lectoro::CompanionFramework> framework;
    std::shared_ptr<lectoro::ReaderViewController> reader;
    std::shared_ptr<companion::BookRenderer> renderer;
};

double milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The calling thread's CPU time in ms: what the main thread itself spent, without the
// background readers that share its core here or the machine's other tenants.
double threadMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void report(benchmark::State& state, const char* name, std::vector<double> turns)
{
    if (turns.empty())
        return;
    std::sort(turns.begin(), turns.end());
    state.counters[std::string(name) + "_min_ms"] = turns.front();
    state.counters[std::string(name) + "_median_ms"] = turns[turns.size() / 2];
}

void runSession(benchmark::State& state, BookShape shape, Visit visit = Visit::Returning)
{
    for (auto _ : state) {
        state.PauseTiming();
        OpenSession session(shape, visit);
        if (!session.renderer) {
            state.SkipWithError("the book did not open");
            return;
        }
        // The session timer's saves are timed apart from the turns, as ticks.
        auto& readingSession = session.reader->readingSession();
        readingSession.stopAnalyticsScheduledTimer();
        auto first = session.renderer->pageNumbers().front();
        std::vector<double> turns;
        std::vector<double> ticks;
        // Turns that entered another chapter of an EPUB (its drawings, highlights and layout
        // are read then): reported apart, as they are a few among many.
        std::vector<double> chapterEntries;
        std::vector<double> chapterEntriesOnMainThread;
        auto chapterShown = [&] {
            auto pages = session.renderer->getActivePages();
            return pages.empty() ? int64_t(-1) : pages.front().fileIndex;
        };
        int64_t chapter = chapterShown();
        turns.reserve(sessionTurns);
        double sinceTick = 0;
        size_t storedBefore = readingSession.storedSessionCount();
        state.ResumeTiming();
        for (int turn = 0; turn < sessionTurns; ++turn) {
            auto start = std::chrono::steady_clock::now();
            double mainStart = threadMilliseconds();
            if (!session.renderer->swipe(companion::RendererSwipe::Next))
                session.renderer->navigateToPageNumber(std::to_string(first));
            base::RunLoop::main().advanceBy(secondsPerTurn);
            turns.push_back(milliseconds(std::chrono::steady_clock::now() - start));
            double onMainThread = threadMilliseconds() - mainStart;
            if (shape == BookShape::Epub) {
                int64_t now = chapterShown();
                if (now != chapter)
                {
                    chapterEntries.push_back(turns.back());
                    chapterEntriesOnMainThread.push_back(onMainThread);
                }
                chapter = now;
            }
            sinceTick += secondsPerTurn;
            if (sinceTick >= lectoro::ReadingSession::sessionInterval) {
                sinceTick -= lectoro::ReadingSession::sessionInterval;
                auto tickStart = std::chrono::steady_clock::now();
                readingSession.analyticsScheduledTimerTriggered();
                ticks.push_back(milliseconds(std::chrono::steady_clock::now() - tickStart));
            }
        }
        state.PauseTiming();
        report(state, "turn_first100", { turns.begin(), turns.begin() + reportedTurns });
        report(state, "turn_last100", { turns.end() - reportedTurns, turns.end() });
        report(state, "chapter_entry", chapterEntries);
        report(state, "chapter_entry_main_cpu", chapterEntriesOnMainThread);
        if (!chapterEntries.empty())
            state.counters["chapter_entries"] = double(chapterEntries.size());
        size_t tickSlice = std::min<size_t>(ticks.size(), reportedTicks);
        report(state, "tick_first100", { ticks.begin(), ticks.begin() + tickSlice });
        report(state, "tick_last100", { ticks.end() - tickSlice, ticks.end() });
        state.counters["session_writes"] = double(readingSession.storedSessionCount() - storedBefore);
        // How long the visit's stored text has grown: what a tick would rewrite if it
        // stored the whole visit again.
        double visitBytes = 0;
        if (auto store = session.framework->makeDatabaseManager()) {
            auto stored = store->getReaderAnalyticsForUser(userID, std::to_string(bookID));
            if (const auto* sessions = stored.asDictionary()) {
                for (const auto& [key, text] : *sessions)
                    visitBytes += static_cast<double>(text.asString().value_or("").size());
            }
        }
        state.counters["visit_kb"] = visitBytes / 1024;
        state.ResumeTiming();
    }
}

void BM_PageTurnSession_PageBook(benchmark::State& state) { runSession(state, BookShape::PageBook); }
BENCHMARK(BM_PageTurnSession_PageBook)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PageTurnSession_Epub(benchmark::State& state) { runSession(state, BookShape::Epub); }
BENCHMARK(BM_PageTurnSession_Epub)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PageTurnSession_EpubFirstVisit(benchmark::State& state)
{
    runSession(state, BookShape::Epub, Visit::First);
}
BENCHMARK(BM_PageTurnSession_EpubFirstVisit)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PageTurnBookkeeping(benchmark::State& state)
{
    OpenSession session(BookShape::PageBook);
    auto& reader = *session.reader;
    auto renderer = reader.rendererView();
    reader.readingSession().stopAnalyticsScheduledTimer();
    int64_t page = 1;
    for (auto _ : state) {
        int64_t next = page % 2000 + 1;
        std::string from = std::to_string(page);
        std::string to = std::to_string(next);
        reader.willUnloadPageWithPageNumber(*renderer, page, from);
        reader.willLoadPageWithPageNumber(*renderer, next, to);
        reader.navigation().addSinglePage(to);
        base::RunLoop::main().advanceBy(2);
        page = next;
    }
}
BENCHMARK(BM_PageTurnBookkeeping)->Iterations(sessionTurns)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
