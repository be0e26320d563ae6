#include "SearchDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/SearchResultCell.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <sstream>

namespace host {

namespace {

constexpr double searchSettleTime = 1.2;
constexpr size_t searchPickedRow = 59;

std::string searchWhere(const lectoro::ReaderViewController& reader)
{
    auto renderer = reader.rendererView();
    auto pages = renderer ? renderer->getActivePages() : std::vector<lectoro::RendererPage> {};
    if (pages.empty())
        return "(no page)";
    const auto& page = pages.front();
    return page.href.empty() ? "page " + std::to_string(page.pageID) : page.href;
}

int64_t searchPageNumber(lectoro::ReaderSearch& search, const lectoro::TextSearchResult& hit, bool epub)
{
    return epub ? search.getHrefFromFileIndex(hit.href) : base::integerValue(hit.pageIndex);
}

} // namespace

int runSearchDemo(std::ostream& out, const std::string& bookPath, const std::string& word)
{
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    auto launcher = launchDemoBook(bookPath, listener);
    auto reader = launcher->reader();
    auto& loop = base::RunLoop::main();
    if (!reader->currentBook()) {
        out << "Could not open the book\n";
        launcher->uninitializeReader();
        return 1;
    }
    loop.runUntil([&] { return !reader->rendererView()->getActivePages().empty(); }, demoLoadTimeout);
    out << "Opened \"" << reader->currentBook()->title << "\" at " << searchWhere(*reader) << '\n';

    auto& search = reader->search();
    search.addSearchForText(word, false);
    loop.runFor(searchSettleTime);
    auto panel = search.searchTextView();
    int status = 3;
    if (!panel) {
        out << "The search panel did not open\n";
    } else {
        auto table = panel->tableView();
        out << "Searched \"" << word << "\": " << panel->searchResultArray().size()
            << " hits in the first batch\n";
        for (int row = 0; row < std::min(3, table->numberOfRowsInSection(0)); ++row) {
            if (auto cell = std::dynamic_pointer_cast<lectoro::SearchResultCell>(
                    panel->cellForRowAtIndexPath(*table, { 0, row })))
                out << "  " << row + 1 << ". [" << cell->chapterNameLabel()->text() << " | "
                    << cell->pageNumberLabel()->text() << "] " << cell->contentLabel()->text() << '\n';
        }
        size_t rows = panel->searchResultArray().size();
        if (rows > 1) {
            table->scrollToRowAtIndexPath(
                { 0, static_cast<int>(rows - 1) }, ui::TableViewScrollPosition::Bottom);
            loop.runFor(searchSettleTime);
            out << "Scrolled to the end: " << panel->searchResultArray().size() << " hits listed\n";
        }
        rows = panel->searchResultArray().size();
        if (rows > 0) {
            size_t picked = std::min(searchPickedRow, rows - 1);
            auto hit = panel->searchResultArray()[picked];
            table->scrollToRowAtIndexPath(
                { 0, static_cast<int>(picked) }, ui::TableViewScrollPosition::Middle);
            table->simulateTapOnRow({ 0, static_cast<int>(picked) });
            loop.runFor(searchSettleTime);
            bool epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(reader->currentBook()) != nullptr;
            int64_t page = searchPageNumber(search, *hit, epub);
            bool marked = false;
            if (auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView())) {
                for (const auto& mark : renderer->overlayForPage(page).searchMarks)
                    marked = marked || (mark.word == word && mark.selectedWordColor && mark.hitCount > 0);
            }
            std::string now = searchWhere(*reader);
            out << "Picked hit " << picked + 1 << " (" << (epub ? hit->href : "page " + hit->pageIndex)
                << "); now at " << now << "; marked: " << (marked ? "yes" : "no") << '\n';
            bool shown = epub ? now == hit->href : now == "page " + hit->pageIndex;
            if (shown && marked)
                status = 0;
            search.didClickOnNextButtonForReaderSearch();
            loop.runFor(searchSettleTime);
            if (auto current = search.searchResult())
                out << "Next hit: " << (epub ? current->href : "page " + current->pageIndex) << "; now at "
                    << searchWhere(*reader) << '\n';
        }
        search.closeSearchView();
        out << "Search closed: " << (search.searchTextView() ? "no" : "yes") << '\n';
    }
    reader->didTapOnBackButton();
    loop.runFor(searchSettleTime);
    launcher->uninitializeReader();
    return status;
}

namespace {

const bool searchDemoRegistered = registerDemo({ "--demo-search", "WORD",
    "[--book PATH]   (searches, pages the list, picks the 60th hit, steps on)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runSearchDemo(request.out, request.bookPath, request.value); } });

} // namespace

} // namespace host
