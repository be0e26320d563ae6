#include "BookPrinter.h"

#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"

#include <ostream>

namespace host {

namespace {

void printContents(std::ostream& out, const base::Value& nodes, int depth)
{
    const base::Value::List* list = nodes.asList();
    if (!list)
        return;
    for (const auto& node : *list) {
        out << std::string(static_cast<size_t>(2 + depth * 2), ' ') << node["title"].description();
        if (!node["pageID"].isNull())
            out << " -> page " << node["pageID"].description();
        else if (!node["src"].isNull())
            out << " -> " << node["src"].description();
        out << '\n';
        printContents(out, node["subnodes"], depth + 1);
    }
}

void printTOC(std::ostream& out, const std::vector<lectoro::EPUBTOCEntryVO>& entries, int depth)
{
    for (const auto& entry : entries) {
        out << std::string(static_cast<size_t>(2 + depth * 2), ' ') << entry.tocLabel << " -> " << entry.src << '\n';
        printTOC(out, entry.subEntries, depth + 1);
    }
}

void printPageBook(std::ostream& out, const lectoro::PXBookVO& book)
{
    out << "Kind: page book\n";
    out << "Chapters (" << book.chapters.size() << "):\n";
    for (const auto& chapter : book.chapters) {
        out << "  " << chapter->chapterID << " " << chapter->title << " - pages";
        for (int64_t page : chapter->pageIDs)
            out << ' ' << page;
        out << '\n';
    }
    out << "Contents:\n";
    printContents(out, book.contents, 0);
    out << "Pages (" << book.pageList.size() << "):\n";
    size_t links = 0;
    for (const auto& page : book.pageList) {
        out << "  page " << page->pageID << " folio " << (page->displayNum.empty() ? "-" : page->displayNum) << '\n';
        for (const auto& link : page->linkOrder) {
            ++links;
            out << "    link " << link->linkID << " type " << link->linkType;
            if (!link->url.empty())
                out << " url " << link->url;
            out << '\n';
        }
    }
    out << "Links: " << links << '\n';
}

void printEpubBook(std::ostream& out, const lectoro::EPUBBookVO& book)
{
    out << "Kind: EPUB, " << (book.isFixedLayout() ? "fixed layout" : "reflowable") << " (layout " << book.meta.layout
        << ")\n";
    out << "Chapters (" << book.chapters.size() << "):\n";
    for (const auto& chapter : book.chapters) {
        out << "  " << chapter->fileIndex << " " << chapter->idref << " " << chapter->href;
        if (!chapter->title.empty())
            out << " \"" << chapter->title << '"';
        out << '\n';
    }
    out << "Contents:\n";
    printTOC(out, book.toc, 0);
    out << "Pages (" << book.tocPageList.size() << "):\n";
    for (const auto& page : book.tocPageList)
        out << "  folio " << page.label << " -> chapter " << page.fileIndex << " " << page.href << '\n';
}

} // namespace

void printBookStructure(std::ostream& out, const lectoro::LectoroBookVO& book)
{
    out << "Title: " << book.title << '\n';
    if (auto pageBook = dynamic_cast<const lectoro::PXBookVO*>(&book))
        printPageBook(out, *pageBook);
    else if (auto epub = dynamic_cast<const lectoro::EPUBBookVO*>(&book))
        printEpubBook(out, *epub);
    else
        out << "Kind: unknown\n";
}

size_t printSearch(std::ostream& out, lectoro::TextSearchController& search, const std::string& word)
{
    constexpr int64_t batchSize = 20;
    auto hits = search.getSearchResultForText(word, 0, batchSize);
    out << "Search \"" << word << "\": " << hits.size() << (hits.size() == batchSize ? "+" : "") << " hit(s)\n";
    for (const auto& hit : hits) {
        out << "  page " << hit->pageIndex << " folio " << (hit->displayNumber.empty() ? "-" : hit->displayNumber) << ": "
            << hit->searchResultAttributedString.string() << '\n';
    }
    return hits.size();
}

} // namespace host
