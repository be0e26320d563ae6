#pragma once

// The companion framework for product tests: renderers are FakeRenderers the test drives,
// the sync and service clients are the real ones over a FakeService (requests recorded,
// answered on demand), the store is the real SQLite store in memory (or in a folder), and
// analytics, reading time and search are the real ones. Install it with
// lectoro::setCompanionFramework().

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "companion/testing/FakeRenderer.h"
#include "companion/testing/FakeService.h"

#include <memory>
#include <string>
#include <vector>

namespace companion {
class Framework;
class QueuedAnalyticsManager;
class SqliteDatabaseManager;
}

namespace companion::testing {

class FakeFramework final : public lectoro::CompanionFramework {
public:
    // An empty storage root keeps the store in memory; `storeVfs` names the SQLite VFS the
    // store opens its files through (empty: the system's).
    static std::shared_ptr<FakeFramework> create(std::string storageRoot = {}, std::string storeVfs = {});

    const std::shared_ptr<FakeService>& service() const { return m_service; }
    std::shared_ptr<SqliteDatabaseManager> store();
    // The renderers made so far (those still alive), and the last one.
    std::vector<std::shared_ptr<FakeRenderer>> renderers() const;
    std::shared_ptr<FakeRenderer> lastRenderer() const;
    // The analytics manager made last.
    std::shared_ptr<QueuedAnalyticsManager> analytics() const { return m_analytics; }

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
    // The real translation client over the FakeService.
    std::shared_ptr<lectoro::MVGoogleTranslationManager> translationManager() override;
    // Media books: the real parser and player (on the run loop's clock) and the real address
    // client over the FakeService.
    std::shared_ptr<lectoro::MVMediaBookParser> makeMediaBookParser() override;
    std::shared_ptr<lectoro::MVMediaBookPlayer> makeMediaBookPlayer(std::shared_ptr<lectoro::MVMediaBookModel>) override;
    std::shared_ptr<lectoro::MVLectoroHLSServiceInterface> makeHLSServiceInterface(
        const lectoro::MVLectoroHLSServiceInterface::Configuration&) override;
    std::shared_ptr<lectoro::PenToolController> makePenToolController() override;
    // The real downloader (records in the storage root, or in memory).
    std::shared_ptr<lectoro::MVAVAssetDownloaderManager> assetDownloaderManager() override;
    // The real page-print controller and My Data document.
    std::shared_ptr<lectoro::PrintPageViewController> makePrintPageViewController(
        std::shared_ptr<lectoro::RendererPrintPage>) override;
    std::shared_ptr<lectoro::MVPDFCreator> makePDFCreator(std::vector<std::shared_ptr<lectoro::SDKHighlightVO>>) override;

private:
    FakeFramework(std::string storageRoot, std::string storeVfs);

    std::shared_ptr<FakeService> m_service;
    std::shared_ptr<Framework> m_real;
    std::vector<std::weak_ptr<FakeRenderer>> m_renderers;
    std::shared_ptr<QueuedAnalyticsManager> m_analytics;
};

} // namespace companion::testing
