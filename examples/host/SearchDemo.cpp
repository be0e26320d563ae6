#include "SearchDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/SearchResultCell.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Strings.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <sstream>

namespace host {

namespace {

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
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    if (!reader->currentBook()) {
        out << "Could not open the book\n";
        launcher->uninitializeReader();
        return 1;
    }
    out << "Opened \"" << reader->currentBook()->title << "\" at " << searchWhere(*reader) << '\n';

    auto& search = reader->search();
    search.addSearchForText(word, false);
    // The panel says it is generating the results while the book's text is still being
    // indexed; then it lists the first batch of hits (and grows to its height, which nothing
    // here waits for) or says that nothing was found.
    (void)waitFor(out, "the search's answer", [&] {
        auto shown = search.searchTextView();
        bool generating = shown && shown->tableView()->tableHeaderView()
            && shown->noResultText()->text() == lectoro::TextSearchConstants::localized("GENERATING_SEARCH_RESULT");
        return shown && !generating && presentationsSettled();
    });
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
            // Showing the last rows asks for the next batch, when the search has more.
            table->scrollToRowAtIndexPath(
                { 0, static_cast<int>(rows - 1) }, ui::TableViewScrollPosition::Bottom);
            (void)waitFor(out, "the list scrolled to its end",
                [&] { return panel->searchResultArray().size() > rows || screenIsStill(); });
            out << "Scrolled to the end: " << panel->searchResultArray().size() << " hits listed\n";
        }
        rows = panel->searchResultArray().size();
        if (rows > 0) {
            size_t picked = std::min(searchPickedRow, rows - 1);
            auto hit = panel->searchResultArray()[picked];
            table->scrollToRowAtIndexPath(
                { 0, static_cast<int>(picked) }, ui::TableViewScrollPosition::Middle);
            table->simulateTapOnRow({ 0, static_cast<int>(picked) });
            bool epub = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(reader->currentBook()) != nullptr;
            int64_t page = searchPageNumber(search, *hit, epub);
            auto isMarked = [&] {
                bool marked = false;
                if (auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView())) {
                    for (const auto& mark : renderer->overlayForPage(page).searchMarks)
                        marked = marked || (mark.word == word && mark.selectedWordColor && mark.hitCount > 0);
                }
                return marked;
            };
            auto showsHit = [&](const lectoro::TextSearchResult& result) {
                return searchWhere(*reader) == (epub ? result.href : "page " + result.pageIndex);
            };
            // The reader turns to the hit's page and marks the word there.
            (void)waitFor(out, "the picked hit marked on its page",
                [&] { return showsHit(*hit) && isMarked() && screenIsStill(); });
            bool marked = isMarked();
            std::string now = searchWhere(*reader);
            out << "Picked hit " << picked + 1 << " (" << (epub ? hit->href : "page " + hit->pageIndex)
                << "); now at " << now << "; marked: " << (marked ? "yes" : "no") << '\n';
            if (showsHit(*hit) && marked)
                status = 0;
            auto before = search.searchResult();
            search.didClickOnNextButtonForReaderSearch();
            (void)waitFor(out, "the next hit on screen", [&] {
                auto current = search.searchResult();
                return current && current != before && showsHit(*current) && screenIsStill();
            });
            if (auto current = search.searchResult())
                out << "Next hit: " << (epub ? current->href : "page " + current->pageIndex) << "; now at "
                    << searchWhere(*reader) << '\n';
        }
        search.closeSearchView();
        out << "Search closed: " << (search.searchTextView() ? "no" : "yes") << '\n';
    }
    if (!closeReaderAndWait(*reader, *listener, out) && status == 0)
        status = 3;
    launcher->uninitializeReader();
    return status;
}

namespace {

const bool searchDemoRegistered = registerDemo({ "--demo-search", "WORD",
    "[--book PATH]   (searches, pages the list, picks the 60th hit, steps on)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runSearchDemo(request.out, request.bookPath, request.value); } });

} // namespace

} // namespace host
