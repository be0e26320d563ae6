#include "HighlightDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Bundle.h"
#include "platform/ui/Button.h"
#include "platform/ui/StackView.h"

#include <filesystem>
#include <fstream>

namespace host {

namespace {


// The default theme offers no highlight colours; a host that has no theme of its own gets
// these for the demo.
constexpr const char* demoTheme
    = R"({"Reader": {"DayMode": {"Highlight": {"highlightColor": ["#FFE082", "#FF8A80", "#A5D6A7", "#90CAF9", "#CE93D8"]}}}})";

class HighlightRun {
public:
    HighlightRun(const std::string& bookPath, std::ostream& out)
        : m_bookPath(bookPath)
        , m_out(out)
        , m_listener(std::make_shared<HostListener>(out))
        , m_launcher(lectoro::LectoroReaderViewController::create())
    {
        m_launcher->setDelegate(m_listener);
        m_launcher->view();
        setDemoScreen(m_launcher);
        m_user = lectoro::LectoroUser::create();
        m_user->userID = "reader@example.org";
        m_user->userToken = "host-token";
    }
    ~HighlightRun() { m_launcher->uninitializeReader(); }

    std::shared_ptr<lectoro::ReaderViewController> open()
    {
        auto package = std::make_shared<lectoro::LectoroBookPackage>(m_bookPath, "1001", "978-0-00-000000-1");
        auto configuration = std::make_shared<lectoro::LectoroServiceConfiguration>(
            "https://service.example.org", "lectoro-host", std::string("https://micro.example.org"));
        m_launcher->launchBook(package, m_user, configuration, std::make_shared<lectoro::MVReaderSettingModel>(), false);
        auto reader = m_launcher->reader();
        if (!reader || !waitFor(m_out, "the book to load", [&] { return reader->currentBook() || reader->bookLoadingError(); })
            || !reader->currentBook())
            return nullptr;
        (void)waitFor(m_out, "the first page", [&] { return demoPageSettled(*reader); });
        return reader;
    }

    bool close(lectoro::ReaderViewController& reader) { return closeReaderAndWait(reader, *m_listener, m_out); }

    int run()
    {
        auto reader = open();
        if (!reader) {
            m_out << "Highlight demo: the book did not open\n";
            return 3;
        }
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        if (!renderer || renderer->getActivePages().empty())
            return fail("no page on screen");
        int64_t page = renderer->getActivePages().front().pageID;
        if (!std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->context().currentBook))
            page = renderer->getActivePages().front().fileIndex;
        if (!renderer->selectWords(page, 1, 3))
            return fail("nothing to select on the first page");
        m_out << "Selected on page " << page << ": \"" << renderer->selection()->text << "\"\n";

        auto popup = reader->highlightRoad().highlightView();
        if (!popup || !popup->superview() || popup->highlighColorsArray().empty())
            return fail("the highlight pop-up did not open with colours");
        m_out << "Pop-up open with " << popup->highlighColorsArray().size() << " colours and "
              << popup->horizontalStackForHighLightTools()->arrangedSubviews().size() << " items\n";
        auto swatch = popup->horizontalStackForHighLightTools()->arrangedSubviews().front();
        auto button = std::dynamic_pointer_cast<ui::Button>(swatch->subviews().at(1));
        if (!button || !button->simulateTap())
            return fail("the first colour could not be tapped");
        auto storedHighlights = [&] {
            return reader->context().dbManager->highlightBookID(
                std::to_string(reader->bookID()), reader->user()->numericUserID());
        };
        // The pop-up goes and the highlight is stored and drawn.
        (void)waitFor(m_out, "the highlight in the store",
            [&] { return storedHighlights().size() == 1 && !popup->superview() && screenIsStill(); });
        auto stored = storedHighlights();
        if (stored.size() != 1)
            return fail("expected one stored highlight, found " + std::to_string(stored.size()));
        const auto& record = *stored.front();
        m_out << "Stored: localID " << record.localID << ", page " << record.pageIdentifier << " (" << record.displayNum
              << "), colour " << record.backgroundColor << ", book version \"" << record.bookVersion << "\", text \""
              << record.text << "\", offsets " << record.startIndex << "-" << record.endIndex << '\n';
        std::string localID = record.localID;
        if (renderer->overlayForPage(page).highlights.size() != 1)
            return fail("the highlight is not drawn on its page");
        m_out << "Drawn on page " << page << '\n';

        if (!close(*reader))
            return fail("the book did not close");
        reader = open();
        renderer = reader ? std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView()) : nullptr;
        auto drawn = renderer ? renderer->overlayForPage(page).highlights : decltype(renderer->overlayForPage(page).highlights) {};
        if (drawn.size() != 1 || drawn.front()->localID != localID)
            return fail("the highlight is not drawn again after reopening");
        m_out << "Reopened: drawn again on page " << page << '\n';
        if (!close(*reader))
            return fail("the book did not close");
        return 0;
    }

private:
    int fail(const std::string& why)
    {
        m_out << "Highlight demo failed: " << why << '\n';
        return 4;
    }

    std::string m_bookPath;
    std::ostream& m_out;
    std::shared_ptr<HostListener> m_listener;
    std::shared_ptr<lectoro::LectoroReaderViewController> m_launcher;
    std::shared_ptr<lectoro::LectoroUser> m_user;
};

} // namespace

int runHighlightDemo(const std::string& bookPath, const std::string& storageRoot, std::ostream& out)
{
    std::string previousMain = base::Bundle::main().rootPath();
    bool themed = base::Bundle::main().pathForResource("ReaderTheme", "json").has_value();
    if (!themed) {
        auto folder = std::filesystem::path(storageRoot) / "demo-host-bundle";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "ReaderTheme.json") << demoTheme;
        base::Bundle::setMainBundlePath(folder.string());
    }
    int status = HighlightRun(bookPath, out).run();
    if (!themed)
        base::Bundle::setMainBundlePath(previousMain);
    return status;
}

namespace {

const bool highlightDemoRegistered = registerDemo({ "--demo-highlight", "",
    "[--book PATH]   (highlight the first words and print what was stored)", Demo::Setup::Framework,
    [](const DemoRequest& request) { return runHighlightDemo(request.bookPath, request.storagePath, request.out); } });

} // namespace

} // namespace host
