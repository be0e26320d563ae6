#include "companion/Framework.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"

#include "companion/analytics/BookReadingTimeManager.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/controllers/BookPrintPageViewController.h"
#include "companion/controllers/MyDataPDFCreator.h"
#include "companion/controllers/PenToolDrawingController.h"
#include "companion/media/AVAssetDownloaderManager.h"
#include "companion/media/HLSServiceInterface.h"
#include "companion/media/MediaBookParser.h"
#include "companion/media/MediaBookPlayer.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/search/BookTextSearchController.h"
#include "companion/service/InProcessService.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/ServiceInterface.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "companion/sync/TranslationManager.h"

#include <cstdio>
#include <filesystem>

namespace companion {

Framework::Framework(FrameworkOptions options)
    : m_storageRoot(std::move(options.storageRoot))
    , m_storeVfs(std::move(options.storeVfs))
    , m_transport(std::move(options.transport))
{
    if (!m_transport) {
        m_service = InProcessService::create();
        m_transport = m_service;
    }
}

std::shared_ptr<SqliteDatabaseManager> Framework::store()
{
    std::lock_guard lock(m_mutex);
    if (!m_storeOpened) {
        m_storeOpened = true;
        auto opened = m_storageRoot.empty() ? SqliteDatabaseManager::openInMemory()
                                            : SqliteDatabaseManager::open(m_storageRoot, { .vfs = m_storeVfs });
        if (opened.ok()) {
            m_store = opened.value();
        } else {
            m_storeError = opened.error();
            std::fprintf(stderr, "companion: the store cannot be opened: %s\n", opened.error().localizedDescription().c_str());
            m_store = SqliteDatabaseManager::openUnusable(opened.error());
        }
    }
    return m_store;
}

std::optional<base::Error> Framework::storeError() const
{
    std::lock_guard lock(m_mutex);
    return m_storeError;
}

std::shared_ptr<lectoro::YSDBManager> Framework::makeDatabaseManager()
{
    return store();
}

std::shared_ptr<lectoro::RendererViewController> Framework::makeRendererViewController(const std::string& bookPath,
    std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate, const std::optional<std::string>& isbn,
    const base::Value& additionalInfo)
{
    return BookRenderer::create(bookPath, std::move(delegate), isbn, additionalInfo);
}

std::shared_ptr<lectoro::LectoroDataSyncingManager> Framework::makeDataSyncingManager(const std::string& baseURLString,
    const std::string& clientID)
{
    std::shared_ptr<SyncStore> syncStore;
    if (auto opened = store())
        syncStore = std::make_shared<StoreSyncAdapter>(opened);
    return DataSyncingManager::create(baseURLString, clientID, m_transport, std::move(syncStore));
}

std::shared_ptr<lectoro::LectoroServiceInterface> Framework::makeServiceInterface(const std::string& baseURLString,
    const std::string& clientID)
{
    return ServiceInterface::create(baseURLString, clientID, m_transport);
}

std::shared_ptr<lectoro::AnalyticsManager> Framework::makeAnalyticsManager()
{
    return std::make_shared<QueuedAnalyticsManager>();
}

std::shared_ptr<lectoro::ReadingTimeManager> Framework::makeReadingTimeManager(const std::string& bookPath)
{
    return std::make_shared<BookReadingTimeManager>(bookPath);
}

std::shared_ptr<lectoro::TextSearchController> Framework::makeTextSearchController(
    std::shared_ptr<lectoro::LectoroBookVO> book, const std::string& searchText, int searchType)
{
    if (!book)
        return nullptr;
    return std::make_shared<BookTextSearchController>(std::move(book), searchText, searchType);
}

std::shared_ptr<lectoro::MVGoogleTranslationManager> Framework::translationManager()
{
    std::lock_guard lock(m_mutex);
    if (!m_translation)
        m_translation = TranslationManager::create(m_transport);
    return m_translation;
}

std::shared_ptr<lectoro::PenToolController> Framework::makePenToolController()
{
    return std::make_shared<PenToolDrawingController>();
}

std::shared_ptr<lectoro::MVMediaBookParser> Framework::makeMediaBookParser()
{
    return std::make_shared<MediaBookParser>();
}

std::shared_ptr<lectoro::MVMediaBookPlayer> Framework::makeMediaBookPlayer(std::shared_ptr<lectoro::MVMediaBookModel> model)
{
    if (!model)
        return nullptr;
    return MediaBookPlayer::create(std::move(model));
}

std::shared_ptr<lectoro::MVLectoroHLSServiceInterface> Framework::makeHLSServiceInterface(
    const lectoro::MVLectoroHLSServiceInterface::Configuration& configuration)
{
    return std::make_shared<HLSServiceInterface>(configuration, m_transport);
}

std::shared_ptr<lectoro::PrintPageViewController> Framework::makePrintPageViewController(
    std::shared_ptr<lectoro::RendererPrintPage> printPage)
{
    return BookPrintPageViewController::create(std::move(printPage));
}

std::shared_ptr<lectoro::MVPDFCreator> Framework::makePDFCreator(
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlights)
{
    std::string root = m_storageRoot.empty() ? std::filesystem::temp_directory_path().string() : m_storageRoot;
    return std::make_shared<MyDataPDFCreator>(std::move(highlights), root + "/MyDataPrints");
}

std::shared_ptr<lectoro::MVAVAssetDownloaderManager> Framework::assetDownloaderManager()
{
    std::lock_guard lock(m_mutex);
    if (!m_downloader) {
        AVAssetDownloaderManager::Options options;
        if (!m_storageRoot.empty())
            options.stateFolder = m_storageRoot + "/HLSDownloads";
        // Where the reader looks for a downloaded book (its base folder), and so the only
        // place the downloader puts one.
        options.downloadRoot = lectoro::SystemInformation::getInstance().bookRoot();
        m_downloader = AVAssetDownloaderManager::create(std::move(options));
    }
    return m_downloader;
}

std::shared_ptr<Framework> makeFramework(FrameworkOptions options)
{
    return std::make_shared<Framework>(std::move(options));
}

} // namespace companion
