#include "ContentsDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <sstream>

namespace host {

namespace {

void printRows(std::ostream& out, const lectoro::TOCModel& model)
{
    int number = 0;
    for (const auto& row : model.dataArray()) {
        out << "  " << ++number << "  " << row->title << (row->isCurrentPage ? "  (current)" : "")
            << (row->isExpanded ? "  [open]" : "") << '\n';
        if (!row->isExpanded)
            continue;
        for (const auto& nested : row->subCatArray)
            out << "  " << std::string(static_cast<size_t>(nested->depth()) * 2, ' ') << nested->level << "  "
                << nested->title << (nested->isCurrentPage ? "  (current)" : "") << '\n';
    }
}

} // namespace

int runContentsDemo(std::ostream& out, const std::string& bookPath)
{
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    if (!reader->currentBook()) {
        out << "Could not open the book\n";
        launcher->uninitializeReader();
        return 1;
    }
    out << "Opened \"" << reader->currentBook()->title << "\" at " << demoReaderPlace(*reader, true) << '\n';

    int status = 3;
    auto bar = reader->context().playerBottomActionBarView;
    auto item = bar ? bar->itemWithTag(lectoro::PlayerItemTOC) : nullptr;
    if (item && bar->tapItem(*item)) {
        // The panel is presented, then slides up into place.
        (void)waitFor(out, "the contents panel", [&] {
            return isPresentedAndShown(reader->contents().tocViewController()) && screenIsStill();
        });
        if (auto panel = reader->contents().tocViewController()) {
            out << "Contents (" << panel->model().dataArray().size() << " chapters):\n";
            printRows(out, panel->model());
            panel->view()->layoutIfNeeded();
            auto& table = *panel->tableView();
            int chosen = std::min(2, table.numberOfSections() - 1);
            auto header = chosen >= 0
                ? std::dynamic_pointer_cast<lectoro::TOCContentCell>(table.headerViewForSection(chosen))
                : nullptr;
            if (header) {
                const auto& row = *panel->model().dataArray()[static_cast<size_t>(chosen)];
                std::string target = panel->model().navigationTargetForContentsRow(row);
                out << "Picked \"" << header->dataLabel()->text() << "\"\n";
                header->sectionHeaderButton()->sendActions(ui::ControlEvent::TouchUpInside);
                // The panel leaves, then the reader turns to the chapter.
                auto shows = [&](const std::string& now) {
                    return now == target || now.find("(folio " + target + ")") != std::string::npos;
                };
                (void)waitFor(out, "the panel to close on the chapter", [&] {
                    return !reader->presentedViewController() && screenIsStill() && shows(demoReaderPlace(*reader, true));
                });
                bool closed = !reader->presentedViewController();
                std::string now = demoReaderPlace(*reader, true);
                out << "Panel closed: " << (closed ? "yes" : "no") << "; now at " << now << '\n';
                if (closed && shows(now))
                    status = 0;
            }
        }
    } else {
        out << "The toolbar has no contents item\n";
    }
    if (!closeReaderAndWait(*reader, *listener, out) && status == 0)
        status = 3;
    launcher->uninitializeReader();
    return status;
}

namespace {

const bool contentsDemoRegistered = registerDemo({ "--demo-contents", "",
    "[--book PATH]   (opens the contents, prints them, picks a chapter)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runContentsDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
