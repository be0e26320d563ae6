#include "MarkupDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/interactive/MultiLinkController.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"

#include <sstream>
#include <vector>

namespace host {

namespace {

std::string describe(const std::vector<lectoro::MarkupAction>& actions)
{
    if (actions.empty())
        return "(no action)";
    std::string text;
    for (const auto& action : actions)
        text += (text.empty() ? "" : ", ") + action.operation + (action.argument.empty() ? "" : " " + action.argument);
    return text;
}

std::vector<std::shared_ptr<lectoro::MarkupView>> placedIcons(const companion::BookRenderer& renderer, int64_t page)
{
    std::vector<std::shared_ptr<lectoro::MarkupView>> icons;
    for (const auto& view : renderer.overlayForPage(page).markupViews) {
        auto icon = std::dynamic_pointer_cast<lectoro::MarkupView>(view);
        if (icon && icon->superview() && icon->isUserInteractionEnabled())
            icons.push_back(icon);
    }
    return icons;
}

} // namespace

int runMarkupDemo(std::ostream& out, const std::string& bookPath)
{
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    auto& loop = base::RunLoop::main();
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    if (!reader->currentBook() || !renderer) {
        out << "Could not open the book\n";
        launcher->uninitializeReader();
        return 1;
    }
    out << "Opened \"" << reader->currentBook()->title << "\"\n";

    auto& interactive = reader->interactiveContent();
    std::vector<lectoro::MarkupAction> actions;
    interactive.setActionObserver([&](const lectoro::MarkupAction& action) { actions.push_back(action); });

    // The pages are visited from a copy of the book's list: a page link moves the reader.
    std::vector<std::pair<int64_t, std::string>> pages;
    if (auto book = std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->currentBook()))
        for (const auto& page : book->pageList)
            if (page && !page->links.empty())
                pages.emplace_back(page->pageID, page->displayNum);

    int taps = 0;
    int unanswered = 0;
    for (const auto& [pageID, folio] : pages) {
        // The page's markups are placed as it loads.
        renderer->navigateToPageNumber(std::to_string(pageID));
        (void)waitFor(out, "page " + std::to_string(pageID), [&, pageID = pageID] { return demoPageShown(*reader, pageID); });
        out << "Page " << pageID << " (folio " << folio << "):\n";
        for (const auto& icon : placedIcons(*renderer, pageID)) {
            interactive.removePopOverForActiveMode();
            actions.clear();
            icon->sendActions(ui::ControlEvent::TouchUpInside);
            loop.runUntilIdle();
            ++taps;
            if (icon->linkID == 0) {
                out << "  multi-link group: " << describe(actions) << '\n';
                auto list = interactive.multiLinkController();
                auto members = list ? list->multiLinkArray() : std::vector<std::shared_ptr<lectoro::PXLinkVO>> {};
                for (const auto& member : members) {
                    interactive.removePopOverForActiveMode();
                    actions.clear();
                    icon->sendActions(ui::ControlEvent::TouchUpInside);
                    actions.clear();
                    interactive.didSelectLinkVo(member);
                    loop.runUntilIdle();
                    ++taps;
                    out << "    link " << member->linkID << " (type " << member->linkType
                        << "): " << describe(actions) << '\n';
                    unanswered += actions.empty() ? 1 : 0;
                }
                continue;
            }
            out << "  link " << icon->linkID << ": " << describe(actions) << '\n';
            unanswered += actions.empty() ? 1 : 0;
            // A page link moved the reader: the rest of this page's markups are gone.
            if (!actions.empty() && actions.front().operation == "navigateToPageNumber")
                break;
        }
    }
    // A link naming a page beside the book's folder is refused, not opened.
    interactive.removePopOverForActiveMode();
    actions.clear();
    auto webPlayerBefore = interactive.webContent().currentWebPlayer();
    auto outside = std::make_shared<lectoro::PXLinkVO>();
    outside->linkType = 9;
    outside->url = "../outside.html";
    interactive.actionForLink(outside);
    loop.runUntilIdle();
    out << "A link out of the book (" << outside->url << "): " << describe(actions) << ", web player opened: "
        << (interactive.webContent().currentWebPlayer() != webPlayerBefore ? "yes" : "no") << '\n';
    interactive.removePopOverForActiveMode();
    interactive.setActionObserver(nullptr);
    out << "Markups tapped: " << taps << ", without an action: " << unanswered << '\n';
    bool closed = closeReaderAndWait(*reader, *listener, out);
    launcher->uninitializeReader();
    return taps > 0 && closed ? 0 : 3;
}

namespace {

const bool markupDemoRegistered = registerDemo({ "--demo-markups", "",
    "[--book PATH]   (taps every markup of a page book, prints each action)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runMarkupDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
