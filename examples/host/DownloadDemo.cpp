#include "DownloadDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"

#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManager.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace host {

namespace {

constexpr const char* downloadDemoBookID = "9102";

// Prints what the manager reports; the reports of this host arrive on the main thread.
struct DownloadDemoListener : lectoro::MVLectoroHLSDownloaderManagerDelegate {
    explicit DownloadDemoListener(std::ostream& out)
        : out(out)
    {
    }
    void didDownloadHLSStateUpdate(
        const std::string& state, double progress, const std::string& bookID) override
    {
        out << "book " << bookID << ": " << state << " " << static_cast<int>(std::floor(progress * 100))
            << "%\n";
        lastState = state;
    }
    void didDownloadHLSRequestFailWithError(
        const base::Error& error, const std::string& state, const std::string& bookID) override
    {
        out << "book " << bookID << ": " << state << " (" << error.description() << ")\n";
        lastState = state;
    }
    void didDeleteHLSBookWithBookID(const std::string& bookID) override
    {
        out << "book " << bookID << ": deleted\n";
        deleted = true;
    }
    std::ostream& out;
    std::string lastState;
    bool deleted = false;
};

// Opens the downloaded book the way a host does: the public launcher, told it is downloaded.
bool openDownloadedBook(std::ostream& out)
{
    auto launcher = lectoro::LectoroReaderViewController::create();
    launcher->view();
    setDemoScreen(launcher);
    auto package = std::make_shared<lectoro::LectoroBookPackage>("", downloadDemoBookID, "978-0-00-000000-2");
    launcher->launchHLSMediaBook(package, true, false, demoUser(), demoServiceConfiguration());
    auto controller = launcher->audioBookController();
    auto loaded = [&] {
        auto reader = controller ? controller->mediaReader() : nullptr;
        return reader && reader->mediaBookModel() && reader->mediaBookModel()->chapters.has_value();
    };
    if (!waitFor(out, "the downloaded book to open", loaded)) {
        out << "Opened from its folder: no\n";
        return false;
    }
    auto model = controller->mediaReader()->mediaBookModel();
    out << "Opened from its folder: \"" << model->mediaBookTitle << "\", " << model->chapters->size()
        << " chapters, from " << model->mediaBookPath << '\n';
    return true;
}

} // namespace

int runDownloadDemo(std::ostream& out)
{
    auto storage
        = std::filesystem::temp_directory_path() / ("lectoro-download-" + std::to_string(::getpid()));
    std::filesystem::create_directories(storage);
    base::FileManager::defaultManager().setSandboxRoot((storage / "sandbox").string());
    auto service = companion::InProcessService::create();
    service->setMediaBook(9102, std::string(LECTORO_SAMPLES_DIR) + "/books/sample-videobook");
    lectoro::setCompanionFramework(companion::makeFramework({ (storage / "store").string(), service }));
    auto& loop = base::RunLoop::main();
    loop.setRealTime(true);

    bool succeeded = false;
    {
        auto listener = std::make_shared<DownloadDemoListener>(out);
        auto manager = lectoro::MVLectoroHLSDownloaderManager::create(
            "https://service.example.org", std::string("https://micro.example.org"), "lectoro-host", false);
        manager->setDelegate(listener);
        out << "Downloading book " << downloadDemoBookID << " (the sample streamed book)\n";
        manager->downloadHLSBookWithUserToken("host-token", downloadDemoBookID, false, "");
        (void)waitFor(out, "the download to finish", [&] {
            return listener->lastState == "Finished" || listener->lastState.find("Failed") != std::string::npos;
        });

        auto& shared = lectoro::MVLectoroHLSDownloaderManager::shared();
        bool downloaded = shared.isHLSBookDownloaded(downloadDemoBookID);
        std::string folder = shared.getBookDownloadedPath(base::Value(downloadDemoBookID));
        out << "Downloaded: " << (downloaded ? "yes" : "no") << "; folder: " << folder << '\n';
        bool opened = downloaded && openDownloadedBook(out);

        manager->deleteDownloadedHLSBook(downloadDemoBookID);
        (void)waitFor(out, "the book to be deleted", [&] { return listener->deleted; });
        bool gone = !shared.isHLSBookDownloaded(downloadDemoBookID);
        out << "Deleted: " << (listener->deleted ? "yes" : "no")
            << "; downloaded now: " << (gone ? "no" : "yes") << '\n';
        succeeded = downloaded && opened && gone;
    }
    finishBackgroundWork();
    lectoro::setCompanionFramework(nullptr);
    base::FileManager::defaultManager().setSandboxRoot({});
    std::error_code ignored;
    std::filesystem::remove_all(storage, ignored);
    out << "Download demo: " << (succeeded ? "done" : "failed") << '\n';
    return succeeded ? 0 : 4;
}

namespace {

const bool downloadDemoRegistered = registerDemo({ "--demo-download", "",
    "  (downloads the sample streamed book, opens it offline, deletes it)", Demo::Setup::Own,
    [](const DemoRequest& request) { return runDownloadDemo(request.out); } });

} // namespace

} // namespace host
