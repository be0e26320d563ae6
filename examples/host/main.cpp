// lectoro-host: the example host application. For now it opens a book folder through the
// companion framework, as the reader will, and prints what it holds and a search in it.
//
//   lectoro-host [--book PATH] [--search WORD]
//
// Without --book it opens the sample page book (samples/books/sample-pagebook). A folder
// that is missing or holds no readable book is reported and the program exits with 1.

#include "BookPrinter.h"
#include "HostRendererDelegate.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "companion/Framework.h"
#include "platform/base/RunLoop.h"

#include <iostream>
#include <string>

namespace {

struct Options {
    std::string bookPath = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook";
    std::string searchWord = "water";
};

void printUsage(std::ostream& out)
{
    out << "usage: lectoro-host [--book PATH] [--search WORD]\n";
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
        if ((argument == "--book" || argument == "--search") && i + 1 < argc) {
            (argument == "--book" ? options.bookPath : options.searchWord) = argv[++i];
            continue;
        }
        std::cerr << "lectoro-host: unexpected argument \"" << argument << "\"\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    bool helpOnly = false;
    if (!parseArguments(argc, argv, options, helpOnly)) {
        printUsage(std::cerr);
        return 2;
    }
    if (helpOnly) {
        printUsage(std::cout);
        return 0;
    }

    auto framework = companion::makeFramework();
    lectoro::setCompanionFramework(framework);

    auto delegate = std::make_shared<host::HostRendererDelegate>();
    auto renderer = lectoro::companionFramework()->makeRendererViewController(options.bookPath, delegate);
    // Showing the renderer's view starts the loading; the run loop carries it out.
    renderer->view();
    base::RunLoop::main().runUntilIdle();

    std::cout << "Book: " << options.bookPath << '\n';
    if (!delegate->book) {
        std::string reason = delegate->failure ? delegate->failure->localizedDescription() : "the book did not load";
        std::cout << "Could not open the book: " << reason << '\n';
        renderer->clearObjects();
        lectoro::setCompanionFramework(nullptr);
        return 1;
    }

    host::printBookStructure(std::cout, *delegate->book);
    std::cout << "Renderer:\n";
    for (const auto& event : delegate->events)
        std::cout << "  " << event << '\n';

    if (auto search = lectoro::companionFramework()->makeTextSearchController(delegate->book, options.searchWord))
        host::printSearch(std::cout, *search, options.searchWord);

    renderer->clearObjects();
    lectoro::setCompanionFramework(nullptr);
    return 0;
}
