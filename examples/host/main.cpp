// lectoro-host: the example host application. It launches a book through the library's
// launcher as an application would: with a signed-in user, a service configuration
// pointing at the companion framework's in-process service, and a settings model. It
// drives the run loop in real time, prints each callback the launcher makes, turns a few
// pages, closes the book (the launcher stores the last page and syncs), opens the book
// again to check that it comes back at the same page, and closes it.
//
//   lectoro-host [--book PATH] [--pages N] [--storage DIR] [--inspect] [--search WORD]
//                [--snapshot FILE.png] [--pictures DIR]
//   lectoro-host --demo-<name> [VALUE] [--book PATH] [--pictures DIR]
//
// Each scripted demo (one per subsystem: sharing, review, highlight, notes, contents, search,
// thumbnails, markups, pen, read-aloud, My Data, text boxes, answers, translation...) registers
// its flag in DemoRegistry; --help lists them all.
//
// Without --book it opens the sample page book (samples/books/sample-pagebook); EPUB 3
// folders open as well. A media book folder (one with "toc.json") is read and its
// chapters and durations are printed. The store lives in a new temporary folder removed at the end,
// unless --storage names one to keep. --inspect (or --search) first prints what the
// book folder holds and the hits of a search in it. A folder that is missing or holds no
// readable book is reported and the program exits with 1; a book that does not reopen
// where it was left exits with 3; a store that failed (damaged and replaced, read-only,
// full, a save that did not reach the disk) is reported and exits with 4. --snapshot writes a
// picture of the reading screen once the book is open (one that cannot be written exits with 5).
// --pictures DIR paints every screen the run or the demo reaches (each step the host waits
// for) into DIR, the book's pages drawn as the renderer lays them out.
// The host waits for what each step brings (DemoWait.h); a step that did not come in time is
// reported, and a run that would otherwise have succeeded exits with 6.

#include "BookPrinter.h"
#include "DemoRegistry.h"
#include "DemoWait.h"
#include "MediaBookPrinter.h"
#include "HostListener.h"
#include "HostRendererDelegate.h"
#include "MarkupPrinter.h"
#include "ReflowPrinter.h"
#include "Snapshot.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

namespace {

constexpr double loadTimeout = host::demoStepTimeout;

struct Options {
    std::string bookPath = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook";
    std::optional<std::string> searchWord;
    std::optional<std::string> storage;
    std::optional<std::string> snapshot;
    // --pictures DIR: every screen a demo (or the reading run) reaches, as a PNG.
    std::optional<std::string> pictures;
    bool inspect = false;
    const host::Demo* demo = nullptr;
    std::string demoValue;
    std::string translateTo = "fr";
    int pages = 3;
    // Prints when main began and when the first page showed, on the monotonic clock, for
    // the start-up figures of bench/host_start.py.
    bool timings = false;
};

double monotonicMilliseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void printUsage(std::ostream& out)
{
    out << "usage: lectoro-host [--book PATH] [--pages N] [--storage DIR] [--inspect] [--search WORD]\n"
           "                   [--snapshot FILE.png] [--pictures DIR] [--timings]\n";
    for (const auto& demo : host::registeredDemos()) {
        out << "       lectoro-host " << demo.flag;
        if (!demo.valueName.empty())
            out << ' ' << demo.valueName;
        out << ' ' << demo.usage << '\n';
    }
}

// Answers false (after printing why) when the arguments cannot be used.
bool parseArguments(int argc, char** argv, Options& options, bool& helpOnly)
{
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            helpOnly = true;
            return true;
        }
        if (argument == "--inspect") {
            options.inspect = true;
            continue;
        }
        if (argument == "--timings") {
            options.timings = true;
            continue;
        }
        if (const host::Demo* demo = host::findDemo(argument)) {
            if (options.demo && options.demo != demo) {
                std::cerr << "lectoro-host: one demo at a time (" << options.demo->flag << " and " << argument
                          << ")\n";
                return false;
            }
            options.demo = demo;
            if (demo->valueName.empty())
                continue;
            if (i + 1 >= argc) {
                std::cerr << "lectoro-host: " << argument << " wants " << demo->valueName << '\n';
                return false;
            }
            options.demoValue = argv[++i];
            continue;
        }
        bool takesValue = argument == "--book" || argument == "--search" || argument == "--storage"
            || argument == "--pages" || argument == "--snapshot" || argument == "--to" || argument == "--pictures";
        if (takesValue && i + 1 < argc) {
            std::string value = argv[++i];
            if (argument == "--book") {
                options.bookPath = value;
            } else if (argument == "--search") {
                options.searchWord = value;
                options.inspect = true;
            } else if (argument == "--snapshot") {
                options.snapshot = value;
            } else if (argument == "--pictures") {
                options.pictures = value;
            } else if (argument == "--to") {
                options.translateTo = value;
            } else if (argument == "--storage") {
                options.storage = value;
            } else {
                char* end = nullptr;
                long pages = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end || pages < 0 || pages > 1000) {
                    std::cerr << "lectoro-host: --pages wants a number from 0 to 1000\n";
                    return false;
                }
                options.pages = static_cast<int>(pages);
            }
            continue;
        }
        std::cerr << "lectoro-host: unexpected argument \"" << argument << "\"\n";
        return false;
    }
    return true;
}

// The folder's structure and a search, read through the companion framework directly. A
// book that does not open prints the loader's reason.
bool inspectBook(const Options& options)
{
    auto delegate = std::make_shared<host::HostRendererDelegate>();
    auto renderer = lectoro::companionFramework()->makeRendererViewController(options.bookPath, delegate);
    renderer->view();
    base::RunLoop::main().runUntil([&] { return delegate->book || delegate->failure; }, loadTimeout);
    std::cout << "Book: " << options.bookPath << '\n';
    if (!delegate->book) {
        std::cout << "Could not open the book: "
                  << (delegate->failure ? delegate->failure->localizedDescription() : std::string("the folder holds no readable book"))
                  << '\n';
        renderer->clearObjects();
        return false;
    }
    host::printBookStructure(std::cout, *delegate->book);
    if (auto pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(delegate->book))
        host::printPageMarkups(std::cout, *pageBook);
    std::cout << "Renderer:\n";
    for (const auto& event : delegate->events)
        std::cout << "  " << event << '\n';
    host::printReflowablePageCount(std::cout, *renderer, loadTimeout);
    std::string word = options.searchWord.value_or("water");
    if (auto search = lectoro::companionFramework()->makeTextSearchController(delegate->book, word))
        host::printSearch(std::cout, *search, word);
    renderer->clearObjects();
    return true;
}

// Where the reader is: a page book's page and folio, an EPUB book's chapter.
std::string position(const lectoro::ReaderViewController& reader)
{
    auto renderer = reader.rendererView();
    if (!renderer)
        return "(no renderer)";
    auto pages = renderer->getActivePages();
    if (pages.empty())
        return "(no page)";
    const auto& page = pages.front();
    if (std::dynamic_pointer_cast<lectoro::EPUBBookVO>(reader.currentBook()))
        return "chapter " + std::to_string(page.fileIndex) + " (" + page.href + ")";
    return "page " + std::to_string(page.pageID) + " (folio " + page.displayNum + ")";
}

class ReadingRun {
public:
    ReadingRun(const Options& options)
        : m_options(options)
        , m_listener(std::make_shared<host::HostListener>(std::cout))
        , m_launcher(lectoro::LectoroReaderViewController::create())
    {
        m_launcher->setDelegate(m_listener);
        m_launcher->view();
        host::setDemoScreen(m_launcher);
        m_user = lectoro::LectoroUser::create();
        m_user->userID = "reader@example.org";
        m_user->userToken = "host-token";
        m_configuration = std::make_shared<lectoro::LectoroServiceConfiguration>(
            "https://service.example.org", "lectoro-host", std::string("https://micro.example.org"));
        m_settings = std::make_shared<lectoro::MVReaderSettingModel>();
    }

    ~ReadingRun() { m_launcher->uninitializeReader(); }

    int run()
    {
        auto reader = open();
        if (!reader->currentBook()) {
            std::string reason = reader->bookLoadingError()
                ? reader->bookLoadingError()->localizedDescription()
                : std::string("the book did not load in time");
            std::cout << "Could not open the book: " << reason << '\n';
            close(*reader);
            return 1;
        }
        std::cout << "Opened \"" << reader->currentBook()->title << "\" at " << position(*reader) << '\n';
        bool snapshotWritten = !m_options.snapshot || writeSnapshot(*reader, *m_options.snapshot);

        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        // A swipe shows the next page before it returns.
        for (int turn = 0; turn < m_options.pages && renderer; ++turn) {
            if (!renderer->swipe(companion::RendererSwipe::Next)) {
                std::cout << "Last page reached\n";
                break;
            }
            std::cout << "Turned to " << position(*reader) << '\n';
        }
        std::string leftAt = position(*reader);

        close(*reader);
        if (m_listener->closes().empty()) {
            std::cout << "The host was not told of the close\n";
            return 3;
        }
        std::cout << "Closed at " << leftAt << '\n';

        reader = open();
        // The reader comes back where it was left; a page shown elsewhere is reported below.
        if (reader->currentBook())
            (void)host::waitFor(std::cout, "the page the book was left at", [&] { return position(*reader) == leftAt; });
        std::string reopenedAt = position(*reader);
        // Sent at once: a watcher reads the running host's state when it sees this line.
        std::cout << "Reopened at " << reopenedAt << std::endl;
        close(*reader);
        bool restored = reopenedAt == leftAt;
        std::cout << "Last page restored: " << (restored ? "yes" : "no") << '\n';
        if (m_listener->storeProblems() > 0) {
            // Nothing the reader kept in this run can be trusted to be there next time.
            std::cout << "The store failed (" << m_listener->storeProblems() << " problem(s) reported)\n";
            return 4;
        }
        if (!restored)
            return 3;
        return snapshotWritten ? 0 : 5;
    }

private:
    bool writeSnapshot(lectoro::ReaderViewController& reader, const std::string& path)
    {
        auto written = host::writeSnapshot(*m_launcher, reader, path);
        if (!written) {
            std::cout << "Could not write the snapshot: " << written.error().localizedDescription() << '\n';
            return false;
        }
        auto size = ui::Environment::current().screenSize();
        std::cout << "Snapshot written to " << path << " (" << size.width << " x " << size.height << " points)\n";
        return true;
    }

    std::shared_ptr<lectoro::ReaderViewController> open()
    {
        auto package
            = std::make_shared<lectoro::LectoroBookPackage>(m_options.bookPath, "1001", "978-0-00-000000-1");
        m_launcher->launchBook(package, m_user, m_configuration, m_settings, false);
        auto reader = m_launcher->reader();
        // A book that does not load says why (or that it did not load in time) in run().
        base::RunLoop::main().runUntil([&] { return reader->currentBook() || reader->bookLoadingError(); }, loadTimeout);
        if (reader->currentBook()) {
            // The first pages follow; the renderer opens them at the stored position.
            (void)host::waitFor(std::cout, "the first page", [&] { return !reader->rendererView()->getActivePages().empty(); });
            if (m_options.timings && !m_firstPageShown && !reader->rendererView()->getActivePages().empty()) {
                m_firstPageShown = true;
                std::printf("First page shown at %.3f ms (monotonic)\n", monotonicMilliseconds());
                std::fflush(stdout);
            }
        }
        return reader;
    }

    void close(lectoro::ReaderViewController& reader) { (void)host::closeReaderAndWait(reader, *m_listener, std::cout); }

    const Options& m_options;
    std::shared_ptr<host::HostListener> m_listener;
    std::shared_ptr<lectoro::LectoroReaderViewController> m_launcher;
    std::shared_ptr<lectoro::LectoroUser> m_user;
    std::shared_ptr<lectoro::LectoroServiceConfiguration> m_configuration;
    std::shared_ptr<lectoro::MVReaderSettingModel> m_settings;
    bool m_firstPageShown = false;
};

// A folder of its own for the store, removed when the run ends (unless the user named it).
class StorageFolder {
public:
    explicit StorageFolder(const std::optional<std::string>& named)
    {
        if (named) {
            m_path = *named;
            return;
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "lectoro-host-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data())) {
            m_path = made;
            m_owned = true;
        }
    }
    ~StorageFolder()
    {
        std::error_code ignored;
        if (m_owned)
            std::filesystem::remove_all(m_path, ignored);
    }
    StorageFolder(const StorageFolder&) = delete;
    StorageFolder& operator=(const StorageFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    bool m_owned = false;
};

} // namespace

int main(int argc, char** argv)
{
    double mainBegan = monotonicMilliseconds();
    Options options;
    bool helpOnly = false;
    if (!parseArguments(argc, argv, options, helpOnly)) {
        printUsage(std::cerr);
        return 2;
    }
    if (options.timings)
        std::cout << "Main began at " << std::fixed << std::setprecision(3) << mainBegan << " ms (monotonic)\n"
                  << std::defaultfloat << std::flush;
    if (helpOnly) {
        printUsage(std::cout);
        return 0;
    }
    auto request = [&](const std::string& storagePath) {
        return host::DemoRequest { options.bookPath, storagePath, options.demoValue, options.translateTo, std::cout };
    };
    // A step that timed out fails a run that would otherwise have succeeded.
    auto finished = [](int status) {
        if (status == 0 && host::timedOutWaits() > 0) {
            std::cout << "lectoro-host: " << host::timedOutWaits() << " step(s) did not come in time\n";
            return 6;
        }
        return status;
    };
    if (options.pictures)
        host::setDemoPictures(*options.pictures, options.demo ? options.demo->flag.substr(options.demo->flag.find_first_not_of('-')) : "host");
    if (options.demo && options.demo->setup == host::Demo::Setup::Own)
        return finished(options.demo->run(request({})));

    StorageFolder storage(options.storage);
    if (storage.path().empty()) {
        std::cerr << "lectoro-host: no folder for the store could be made\n";
        return 1;
    }
    lectoro::setCompanionFramework(companion::makeFramework({ storage.path(), nullptr }));
    if (options.snapshot)
        host::markHelpScreensSeen();
    base::RunLoop::main().setRealTime(true);

    int status = 0;
    if (options.demo) {
        if (options.demo->setup == host::Demo::Setup::FrameworkNoHelp)
            host::markHelpScreensSeen();
        status = options.demo->run(request(storage.path()));
    } else if (host::isMediaBookFolder(options.bookPath)) {
        std::cout << "Book: " << options.bookPath << '\n';
        status = host::printMediaBook(std::cout, options.bookPath);
        if (status == 0)
            status = host::playMediaBook(std::cout, options.bookPath, 2.0);
    } else if (options.inspect && !inspectBook(options)) {
        status = 1;
    } else {
        std::cout << "Book: " << options.bookPath << '\n';
        ReadingRun run(options);
        status = run.run();
    }
    host::finishBackgroundWork();
    lectoro::setCompanionFramework(nullptr);
    return finished(status);
}
