#pragma once

// How the product creates the companion framework's objects it owns. The product library
// never links an implementation: the host (or a test) installs one at start-up with
// setCompanionFramework(); companion::makeFramework() gives the real one,
// companion::testing::FakeFramework the fakes.
//
// companionFramework() never answers null: without an installed framework it answers a
// stand-in whose makers write one line to stderr and answer null, so the product sees
// missing objects (as it would see nil) instead of crashing.

#include "LectoroSDKWithReader/readersdk/media/MVLectoroHLSServiceInterface.h"
#include "platform/base/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class AnalyticsManager;
class LectoroBookVO;
class LectoroDataSyncingManager;
class LectoroServiceInterface;
class MVAVAssetDownloaderManager;
class MVGoogleTranslationManager;
class MVMediaBookModel;
class MVMediaBookParser;
class MVMediaBookPlayer;
class MVPDFCreator;
class PenToolController;
class PrintPageViewController;
class ReadingTimeManager;
class RendererViewController;
class RendererViewControllerDelegate;
class SDKHighlightVO;
class TextSearchController;
struct RendererPrintPage;
class YSDBManager;

class CompanionFramework {
public:
    virtual ~CompanionFramework() = default;

    // The local store (one per caller; instances share the same storage).
    virtual std::shared_ptr<YSDBManager> makeDatabaseManager() = 0;
    // The page renderer for a book folder. It loads the book once its view is shown and
    // reports to the delegate (held weakly).
    virtual std::shared_ptr<RendererViewController> makeRendererViewController(const std::string& bookPath,
        std::weak_ptr<RendererViewControllerDelegate>, const std::optional<std::string>& isbn = std::nullopt,
        const base::Value& additionalInfo = {}) = 0;
    virtual std::shared_ptr<LectoroDataSyncingManager> makeDataSyncingManager(const std::string& baseURLString,
        const std::string& clientID) = 0;
    virtual std::shared_ptr<LectoroServiceInterface> makeServiceInterface(const std::string& baseURLString,
        const std::string& clientID) = 0;
    virtual std::shared_ptr<AnalyticsManager> makeAnalyticsManager() = 0;
    virtual std::shared_ptr<ReadingTimeManager> makeReadingTimeManager(const std::string& bookPath) = 0;
    // A search engine over a loaded book (search type 0: plain text).
    virtual std::shared_ptr<TextSearchController> makeTextSearchController(std::shared_ptr<LectoroBookVO>,
        const std::string& searchText, int searchType = 0) = 0;
    // The shared translation service (the same object on every call); null when the
    // framework offers none.
    virtual std::shared_ptr<MVGoogleTranslationManager> translationManager() { return nullptr; }
    // A new pen controller, without canvas or delegate; null from a framework that draws
    // no pen strokes.
    virtual std::shared_ptr<PenToolController> makePenToolController() { return nullptr; }

    // Media books: a parser of a book folder, a player for a model, and the streaming
    // service's address client. Null from a framework without media books.
    virtual std::shared_ptr<MVMediaBookParser> makeMediaBookParser() { return nullptr; }
    virtual std::shared_ptr<MVMediaBookPlayer> makeMediaBookPlayer(std::shared_ptr<MVMediaBookModel>) { return nullptr; }
    virtual std::shared_ptr<MVLectoroHLSServiceInterface> makeHLSServiceInterface(
        const MVLectoroHLSServiceInterface::Configuration&)
    {
        return nullptr;
    }
    // The downloader of streamed books (the same object on every call); null from a
    // framework that downloads none.
    virtual std::shared_ptr<MVAVAssetDownloaderManager> assetDownloaderManager() { return nullptr; }

    // Printing: the controller that prints the renderer's printable page object (null for
    // none, or from a framework that cannot print pages), and the builder of My Data's
    // document of the records given (null from a framework that writes no documents).
    virtual std::shared_ptr<PrintPageViewController> makePrintPageViewController(std::shared_ptr<RendererPrintPage>)
    {
        return nullptr;
    }
    virtual std::shared_ptr<MVPDFCreator> makePDFCreator(std::vector<std::shared_ptr<SDKHighlightVO>>)
    {
        return nullptr;
    }
};

// Installs the framework (null uninstalls it). The analytics manager made by an earlier
// framework is dropped.
void setCompanionFramework(std::shared_ptr<CompanionFramework>);
bool isCompanionFrameworkInstalled();
std::shared_ptr<CompanionFramework> companionFramework();

} // namespace lectoro
