#include "companion/testing/FakeFramework.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "companion/Framework.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "companion/store/SqliteDatabaseManager.h"

namespace companion::testing {

std::shared_ptr<FakeFramework> FakeFramework::create(std::string storageRoot, std::string storeVfs)
{
    return std::shared_ptr<FakeFramework>(new FakeFramework(std::move(storageRoot), std::move(storeVfs)));
}

FakeFramework::FakeFramework(std::string storageRoot, std::string storeVfs)
    : m_service(FakeService::create())
    , m_real(makeFramework(FrameworkOptions { std::move(storageRoot), m_service, std::move(storeVfs) }))
{
}

std::shared_ptr<SqliteDatabaseManager> FakeFramework::store()
{
    return m_real->store();
}

std::vector<std::shared_ptr<FakeRenderer>> FakeFramework::renderers() const
{
    std::vector<std::shared_ptr<FakeRenderer>> alive;
    for (const auto& weak : m_renderers) {
        if (auto renderer = weak.lock())
            alive.push_back(std::move(renderer));
    }
    return alive;
}

std::shared_ptr<FakeRenderer> FakeFramework::lastRenderer() const
{
    return m_renderers.empty() ? nullptr : m_renderers.back().lock();
}

std::shared_ptr<lectoro::YSDBManager> FakeFramework::makeDatabaseManager()
{
    return m_real->makeDatabaseManager();
}

std::shared_ptr<lectoro::RendererViewController> FakeFramework::makeRendererViewController(const std::string& bookPath,
    std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate, const std::optional<std::string>& isbn,
    const base::Value& additionalInfo)
{
    auto renderer = FakeRenderer::create(bookPath, std::move(delegate), isbn, additionalInfo);
    m_renderers.push_back(renderer);
    return renderer;
}

std::shared_ptr<lectoro::LectoroDataSyncingManager> FakeFramework::makeDataSyncingManager(
    const std::string& baseURLString, const std::string& clientID)
{
    return m_real->makeDataSyncingManager(baseURLString, clientID);
}

std::shared_ptr<lectoro::LectoroServiceInterface> FakeFramework::makeServiceInterface(const std::string& baseURLString,
    const std::string& clientID)
{
    return m_real->makeServiceInterface(baseURLString, clientID);
}

std::shared_ptr<lectoro::MVGoogleTranslationManager> FakeFramework::translationManager()
{
    return m_real->translationManager();
}

std::shared_ptr<lectoro::MVMediaBookParser> FakeFramework::makeMediaBookParser()
{
    return m_real->makeMediaBookParser();
}

std::shared_ptr<lectoro::MVMediaBookPlayer> FakeFramework::makeMediaBookPlayer(std::shared_ptr<lectoro::MVMediaBookModel> model)
{
    return m_real->makeMediaBookPlayer(std::move(model));
}

std::shared_ptr<lectoro::MVAVAssetDownloaderManager> FakeFramework::assetDownloaderManager()
{
    return m_real->assetDownloaderManager();
}

std::shared_ptr<lectoro::MVLectoroHLSServiceInterface> FakeFramework::makeHLSServiceInterface(
    const lectoro::MVLectoroHLSServiceInterface::Configuration& configuration)
{
    return m_real->makeHLSServiceInterface(configuration);
}

std::shared_ptr<lectoro::AnalyticsManager> FakeFramework::makeAnalyticsManager()
{
    m_analytics = std::make_shared<QueuedAnalyticsManager>();
    return m_analytics;
}

std::shared_ptr<lectoro::ReadingTimeManager> FakeFramework::makeReadingTimeManager(const std::string& bookPath)
{
    return m_real->makeReadingTimeManager(bookPath);
}

std::shared_ptr<lectoro::TextSearchController> FakeFramework::makeTextSearchController(
    std::shared_ptr<lectoro::LectoroBookVO> book, const std::string& searchText, int searchType)
{
    return m_real->makeTextSearchController(std::move(book), searchText, searchType);
}

std::shared_ptr<lectoro::PrintPageViewController> FakeFramework::makePrintPageViewController(
    std::shared_ptr<lectoro::RendererPrintPage> printPage)
{
    return m_real->makePrintPageViewController(std::move(printPage));
}

std::shared_ptr<lectoro::MVPDFCreator> FakeFramework::makePDFCreator(
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlights)
{
    return m_real->makePDFCreator(std::move(highlights));
}

std::shared_ptr<lectoro::PenToolController> FakeFramework::makePenToolController()
{
    return m_real->makePenToolController();
}

} // namespace companion::testing
