// Marking search hits on the pages on screen, stepping the selected hit, and printing.

#include "companion/renderer/BookRenderer.h"
#include "companion/renderer/BookPrintPage.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <charconv>

namespace companion {

namespace {

// Byte offset of the first occurrence, ignoring ASCII case.
std::optional<size_t> findIgnoringCase(
    const std::string& haystack, const std::string& needle, size_t from = 0)
{
    if (needle.empty())
        return std::nullopt;
    std::string lowerHaystack = base::lowercase(haystack);
    std::string lowerNeedle = base::lowercase(needle);
    size_t found = lowerHaystack.find(lowerNeedle, from);
    if (found == std::string::npos)
        return std::nullopt;
    return found;
}

size_t countIgnoringCase(const std::string& haystack, const std::string& needle)
{
    if (needle.empty())
        return 0;
    std::string lowerHaystack = base::lowercase(haystack);
    std::string lowerNeedle = base::lowercase(needle);
    size_t count = 0;
    for (size_t at = lowerHaystack.find(lowerNeedle); at != std::string::npos;
         at = lowerHaystack.find(lowerNeedle, at + lowerNeedle.size()))
        ++count;
    return count;
}

} // namespace

// --- Search marks ---

void BookRenderer::addSearchMark(int64_t pageNo, SearchMark mark)
{
    if (!isOnScreen(pageNo))
        return;
    auto& marks = m_overlays[pageNo].searchMarks;
    if (mark.word.empty()) {
        marks.clear();
        if (m_searchStepping && m_searchStepping->pageNumber == pageNo)
            m_searchStepping.reset();
        return;
    }
    marks.push_back(std::move(mark));
}

void BookRenderer::highlightText(
    const std::string& word, int64_t pageNo, const std::optional<std::string>& color)
{
    highlightText(word, pageNo, color, std::optional<std::string>());
}

void BookRenderer::highlightText(const std::string& word, int64_t pageNo,
    const std::optional<std::string>& color, const std::optional<std::string>& paragraph)
{
    // Reflowable books mark page 0 for "the chapter on screen".
    if (pageNo == 0 && isReflowable() && m_activeCount)
        pageNo = m_pages[m_activeStart].number;
    SearchMark mark;
    mark.word = word;
    mark.color = color;
    mark.paragraph = paragraph;
    if (const PageEntry* entry = entryForNumber(pageNo)) {
        const std::string& pageText = textOf(*entry);
        std::string scope = pageText;
        if (paragraph && !paragraph->empty()) {
            if (auto at = findIgnoringCase(pageText, *paragraph))
                scope = pageText.substr(*at, paragraph->size());
        }
        mark.hitCount = countIgnoringCase(scope, word);
    }
    addSearchMark(pageNo, std::move(mark));
}

void BookRenderer::highlightText(const std::string& word, int64_t pageNo,
    const std::optional<std::string>& color, const std::string& selectedWordHighlightColor,
    const std::vector<std::shared_ptr<lectoro::TextSearchResult>>& searchArray,
    std::shared_ptr<lectoro::TextSearchResult> selectedResult)
{
    SearchMark mark;
    mark.word = word;
    mark.color = color;
    mark.selectedWordColor = selectedWordHighlightColor;
    mark.hitCount = searchArray.size();
    addSearchMark(pageNo, std::move(mark));
    if (word.empty() || !isOnScreen(pageNo))
        return;
    SearchStepping stepping;
    stepping.pageNumber = pageNo;
    stepping.hits = searchArray;
    auto selected = std::find(searchArray.begin(), searchArray.end(), selectedResult);
    stepping.selected
        = selected == searchArray.end() ? 0 : static_cast<size_t>(selected - searchArray.begin());
    m_searchStepping = std::move(stepping);
}

std::optional<size_t> BookRenderer::selectedSearchHitIndex() const
{
    if (!m_searchStepping || m_searchStepping->hits.empty())
        return std::nullopt;
    return m_searchStepping->selected;
}

bool BookRenderer::isNextSearchResultAvailableForSearchResult(
    std::shared_ptr<lectoro::TextSearchResult> result)
{
    if (!m_searchStepping)
        return false;
    auto& hits = m_searchStepping->hits;
    auto found = std::find(hits.begin(), hits.end(), result);
    size_t index
        = found == hits.end() ? m_searchStepping->selected : static_cast<size_t>(found - hits.begin());
    return index + 1 < hits.size();
}

bool BookRenderer::isPreviousSearchResultAvailableForSearchResult(
    std::shared_ptr<lectoro::TextSearchResult> result)
{
    if (!m_searchStepping)
        return false;
    auto& hits = m_searchStepping->hits;
    auto found = std::find(hits.begin(), hits.end(), result);
    size_t index
        = found == hits.end() ? m_searchStepping->selected : static_cast<size_t>(found - hits.begin());
    return index > 0 && index < hits.size();
}

void BookRenderer::moveToNextSelectedSearchForSearchResult(std::shared_ptr<lectoro::TextSearchResult> result)
{
    if (!m_searchStepping)
        return;
    auto& hits = m_searchStepping->hits;
    auto found = std::find(hits.begin(), hits.end(), result);
    size_t index
        = found == hits.end() ? m_searchStepping->selected : static_cast<size_t>(found - hits.begin());
    if (index + 1 < hits.size())
        m_searchStepping->selected = index + 1;
}

void BookRenderer::moveToPreviousSelectedSearchForSearchResult(
    std::shared_ptr<lectoro::TextSearchResult> result)
{
    if (!m_searchStepping)
        return;
    auto& hits = m_searchStepping->hits;
    auto found = std::find(hits.begin(), hits.end(), result);
    size_t index
        = found == hits.end() ? m_searchStepping->selected : static_cast<size_t>(found - hits.begin());
    if (index > 0 && index < hits.size())
        m_searchStepping->selected = index - 1;
}

bool BookRenderer::isNextSearchResultAvailable()
{
    return m_searchStepping && m_searchStepping->selected + 1 < m_searchStepping->hits.size();
}

void BookRenderer::moveToNextSelectedSearch()
{
    if (isNextSearchResultAvailable())
        ++m_searchStepping->selected;
}

bool BookRenderer::isPreviousSearchResultAvailable()
{
    return m_searchStepping && m_searchStepping->selected > 0;
}

void BookRenderer::moveToPreviousSelectedSearch()
{
    if (isPreviousSearchResultAvailable())
        --m_searchStepping->selected;
}

bool BookRenderer::isLastNextSearchResult()
{
    return !m_searchStepping || m_searchStepping->selected + 1 >= m_searchStepping->hits.size();
}

bool BookRenderer::isLastPreviousSearchResult()
{
    return !m_searchStepping || m_searchStepping->selected == 0;
}

// --- Printing ---

void BookRenderer::addPrintPageView(std::shared_ptr<ui::View> printView, int64_t pageNo)
{
    if (!isOnScreen(pageNo) || !printView)
        return;
    auto& overlay = m_overlays[pageNo];
    if (overlay.printView && overlay.printView != printView)
        overlay.printView->removeFromSuperview();
    overlay.printView = printView;
    // The button stands in the page's top left corner, across from the bookmark.
    ui::Rect frame = printView->frame();
    frame.origin = ui::Point { 8, 8 };
    place(printView, pageNo, frame);
}

void BookRenderer::printPagesWithWatermark(const std::string& watermark, const std::string& textColor,
    const std::vector<int64_t>& pageNumbers,
    std::function<void(std::shared_ptr<lectoro::RendererPrintPage>)> callback)
{
    if (!callback)
        return;
    std::shared_ptr<BookPrintPage> printPage;
    for (int64_t number : pageNumbers) {
        const PageEntry* entry = entryForNumber(number);
        if (!entry)
            continue;
        if (!printPage) {
            printPage = std::make_shared<BookPrintPage>();
            printPage->watermark = watermark;
            printPage->textColor = textColor;
            printPage->jobName = m_book ? m_book->title : std::string();
        }
        printPage->pageNumbers.push_back(number);
        std::string image;
        if (entry->page && !entry->page->src.empty())
            image = bookPath() + "/" + entry->page->src;
        else if (entry->chapter)
            image = entry->chapter->absolutePath;
        printPage->pageImagePaths.push_back(std::move(image));
    }
    if (printPage)
        printPage->items = printItemsFor(*printPage);
    std::weak_ptr<const void> owner = weak_from_this();
    std::shared_ptr<lectoro::RendererPrintPage> handed = printPage;
    base::RunLoop::main().post(owner, [callback = std::move(callback), handed] { callback(handed); });
}

std::vector<print::PrintItem> BookRenderer::printItemsFor(const lectoro::RendererPrintPage& printPage)
{
    std::vector<print::PrintItem> items;
    for (size_t index = 0; index < printPage.pageNumbers.size(); ++index) {
        const PageEntry* entry = entryForNumber(printPage.pageNumbers[index]);
        if (!entry)
            continue;
        if (entry->page) {
            std::string path
                = index < printPage.pageImagePaths.size() ? printPage.pageImagePaths[index] : std::string();
            if (!path.empty() && print::PrintInteractionController::canPrintPath(path))
                items.push_back(print::PrintItem::file(path));
            else if (!entry->page->text.empty())
                items.push_back(print::PrintItem::fromText(entry->page->text));
            continue;
        }
        const std::string& text = textOf(*entry);
        if (const ChapterPages* pages = pagesOf(*entry)) {
            for (size_t page = 0; page < pages->count(); ++page) {
                auto [start, end] = pages->range(page);
                if (end > start)
                    items.push_back(print::PrintItem::fromText(text.substr(start, end - start)));
            }
        } else if (!text.empty()) {
            items.push_back(print::PrintItem::fromText(text));
        }
    }
    return items;
}

bool BookRenderer::printPages(const lectoro::RendererPrintPage& printPage, const std::string& jobName,
    print::PrintInteractionController::Completion completion)
{
    std::vector<print::PrintItem> items = printItemsFor(printPage);
    if (items.empty())
        return false;
    auto& controller = print::PrintInteractionController::shared();
    print::PrintInfo info;
    info.jobName = jobName;
    controller.setPrintInfo(std::move(info));
    controller.setPrintingItems(std::move(items));
    controller.setWatermarks(printWatermarksFor(printPage));
    return controller.present(true, std::move(completion));
}

std::vector<print::PrintWatermark> printWatermarksFor(const lectoro::RendererPrintPage& printPage)
{
    if (printPage.watermark.empty())
        return {};
    print::PrintWatermark mark;
    mark.text = printPage.watermark;
    mark.color = colorFromHex(printPage.textColor);
    return { mark };
}

} // namespace companion
