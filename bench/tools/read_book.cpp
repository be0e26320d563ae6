// Our side of bench/compare_mutool.py: one unpacked EPUB opened in a fresh process, the way a
// command-line reader opens a file, so both sides pay the same process costs.
//
//   bench_read_book first-page BOOK_FOLDER OUT.png
//       the reader opened on a pad, its first page painted with the bars over it into OUT.png
//   bench_read_book all-pages BOOK_FOLDER
//       the reader opened and left until every chapter is cut into pages and the book's page
//       count is known (the renderer's background pagination, as a reader waits for it)
//
// Prints "<milliseconds> ms <pages> pages (opened in <milliseconds> ms)" for the work after
// main() starts; the script also times the whole process.

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/renderer/PagePainter.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Environment.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: bench_read_book first-page BOOK_FOLDER OUT.png | all-pages BOOK_FOLDER\n");
    return 2;
}

std::shared_ptr<lectoro::ReaderViewController> open(const std::string& folder)
{
    auto& environment = ui::Environment::current();
    environment.setIdiom(ui::UserInterfaceIdiom::Pad);
    environment.setScreenSize({ 768, 1024 });
    // The first opening's help overlay would cover the page the picture is of.
    auto defaults = std::make_shared<base::UserDefaults>();
    for (const char* seen :
        { lectoro::ReaderHelp::pdfFlagKey, lectoro::ReaderHelp::reflowEpubFlagKey, lectoro::ReaderHelp::fixedEpubFlagKey })
        defaults->setBool(seen, false);
    base::UserDefaults::setStandardForTesting(defaults);
    lectoro::setCompanionFramework(companion::makeFramework({ {}, nullptr }));
    auto user = lectoro::LectoroUser::create();
    user->userID = "7";
    auto reader = lectoro::ReaderViewController::create(folder, 42, user, "978", "https://api", "client",
        std::make_shared<lectoro::MVReaderSettingModel>(), "1.0");
    reader->view()->setFrame({ { 0, 0 }, { 768, 1024 } });
    // The virtual clock runs the launcher's embedding delay at once: it is a host's choice,
    // not reading work.
    base::RunLoop::main().advanceBy(0.5);
    base::RunLoop::main().runUntilIdle();
    return reader;
}

std::optional<int64_t> bookPages(const lectoro::ReaderViewController& reader)
{
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader.rendererView());
    return renderer ? renderer->reflowBookPageCount() : std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    if ((mode == "first-page" && argc != 4) || (mode == "all-pages" && argc != 3)
        || (mode != "first-page" && mode != "all-pages"))
        return usage();

    auto started = std::chrono::steady_clock::now();
    auto reader = open(folder);
    double openMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    int64_t pages = 0;
    if (mode == "first-page") {
        if (auto written = companion::writeWindowPicture(*reader->view(), argv[3]); !written) {
            std::fprintf(stderr, "bench_read_book: the first page was not painted\n");
            return 1;
        }
        pages = 1;
    } else {
        // The pagination runs on the background queue and reports on the main run loop.
        for (int round = 0; round < 1000 && !bookPages(*reader); ++round) {
            base::waitForBackgroundWork();
            base::RunLoop::main().runUntilIdle();
        }
        auto counted = bookPages(*reader);
        if (!counted) {
            std::fprintf(stderr, "bench_read_book: the book's page count never came\n");
            return 1;
        }
        pages = *counted;
    }
    double milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("%.2f ms %lld pages (opened in %.2f ms)\n", milliseconds, static_cast<long long>(pages), openMilliseconds);
    std::fflush(stdout);
    // Closing is not part of either figure, and mutool does not pay for one either.
    reader->readingSession().stopAnalyticsScheduledTimer();
    reader->uninitializeReader();
    reader.reset();
    base::waitForBackgroundWork();
    lectoro::setCompanionFramework(nullptr);
    return 0;
}
