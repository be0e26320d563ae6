#pragma once

// The working companion framework: the SQLite store in a storage root, the renderer over
// book folders, the sync and service clients over a transport, analytics, reading time
// and text search. Install it with lectoro::setCompanionFramework(companion::makeFramework(…)).

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "companion/service/Transport.h"

#include <memory>
#include <mutex>
#include <string>

namespace companion {

class InProcessService;
class SqliteDatabaseManager;

struct FrameworkOptions {
    FrameworkOptions() = default;
    FrameworkOptions(std::string storageRoot, std::shared_ptr<Transport> transport, std::string storeVfs = {})
        : storageRoot(std::move(storageRoot))
        , transport(std::move(transport))
        , storeVfs(std::move(storeVfs))
    {
    }

    // Folder of the store's database; created when missing. Empty keeps the store in
    // memory for the life of the framework.
    std::string storageRoot;
    // Where the clients send their requests; null gives a new in-process service.
    std::shared_ptr<Transport> transport;
    // The SQLite VFS the store opens its files through; empty for the system's (tests give
    // one that refuses writes or loses power).
    std::string storeVfs;
};

class Framework final : public lectoro::CompanionFramework {
public:
    explicit Framework(FrameworkOptions);

    const std::shared_ptr<Transport>& transport() const { return m_transport; }
    // The in-process service when the framework made it; null with a transport given.
    const std::shared_ptr<InProcessService>& inProcessService() const { return m_service; }
    // The store every maker hands out (one instance, shared). When it cannot be opened,
    // the reason is in storeError() and the store is a stand-in that holds nothing and
    // fails every write with that reason, so no save is ever taken for done.
    std::shared_ptr<SqliteDatabaseManager> store();
    std::optional<base::Error> storeError() const;

    std::shared_ptr<lectoro::YSDBManager> makeDatabaseManager() override;
    std::shared_ptr<lectoro::RendererViewController> makeRendererViewController(const std::string& bookPath,
        std::weak_ptr<lectoro::RendererViewControllerDelegate>, const std::optional<std::string>& isbn = std::nullopt,
        const base::Value& additionalInfo = {}) override;
    std::shared_ptr<lectoro::LectoroDataSyncingManager> makeDataSyncingManager(const std::string& baseURLString,
        const std::string& clientID) override;
    std::shared_ptr<lectoro::LectoroServiceInterface> makeServiceInterface(const std::string& baseURLString,
        const std::string& clientID) override;
    std::shared_ptr<lectoro::AnalyticsManager> makeAnalyticsManager() override;
    std::shared_ptr<lectoro::ReadingTimeManager> makeReadingTimeManager(const std::string& bookPath) override;
    std::shared_ptr<lectoro::TextSearchController> makeTextSearchController(std::shared_ptr<lectoro::LectoroBookVO>,
        const std::string& searchText, int searchType = 0) override;
    std::shared_ptr<lectoro::MVGoogleTranslationManager> translationManager() override;
    std::shared_ptr<lectoro::PenToolController> makePenToolController() override;
    std::shared_ptr<lectoro::MVMediaBookParser> makeMediaBookParser() override;
    std::shared_ptr<lectoro::MVMediaBookPlayer> makeMediaBookPlayer(std::shared_ptr<lectoro::MVMediaBookModel>) override;
    std::shared_ptr<lectoro::MVLectoroHLSServiceInterface> makeHLSServiceInterface(
        const lectoro::MVLectoroHLSServiceInterface::Configuration&) override;
    // One downloader for the framework; its records live in "HLSDownloads" of the storage
    // root (in memory without one), and the books it downloads in the reader's book folders
    // (SystemInformation's book root, as it was when the downloader was first asked for).
    std::shared_ptr<lectoro::MVAVAssetDownloaderManager> assetDownloaderManager() override;
    // The page-print controller of a printable page object (BookPrintPageViewController).
    std::shared_ptr<lectoro::PrintPageViewController> makePrintPageViewController(
        std::shared_ptr<lectoro::RendererPrintPage>) override;
    // My Data's documents go into "MyDataPrints" of the storage root (of the temporary
    // folder without one).
    std::shared_ptr<lectoro::MVPDFCreator> makePDFCreator(std::vector<std::shared_ptr<lectoro::SDKHighlightVO>>) override;

private:
    const std::string m_storageRoot;
    const std::string m_storeVfs;
    std::shared_ptr<Transport> m_transport;
    std::shared_ptr<InProcessService> m_service;

    mutable std::mutex m_mutex;
    std::shared_ptr<SqliteDatabaseManager> m_store;
    std::optional<base::Error> m_storeError;
    bool m_storeOpened = false;
    std::shared_ptr<lectoro::MVGoogleTranslationManager> m_translation;
    std::shared_ptr<lectoro::MVAVAssetDownloaderManager> m_downloader;
};

std::shared_ptr<Framework> makeFramework(FrameworkOptions = {});

} // namespace companion
