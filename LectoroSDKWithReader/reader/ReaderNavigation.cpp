#include "LectoroSDKWithReader/reader/ReaderNavigation.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "platform/base/Json.h"
#include "platform/base/Strings.h"

namespace lectoro {

namespace {

constexpr double spreadRecordingDelay = 0.5;
constexpr double positionRestoreDelay = 0.1;

std::shared_ptr<PXBookVO> pageBookOf(const ReaderContext& context)
{
    return std::dynamic_pointer_cast<PXBookVO>(context.currentBook);
}

std::shared_ptr<EPUBBookVO> epubOf(const ReaderContext& context)
{
    return std::dynamic_pointer_cast<EPUBBookVO>(context.currentBook);
}

bool isFixedLayoutEPUB(const ReaderContext& context)
{
    auto epub = epubOf(context);
    return epub && epub->isFixedLayout();
}

// "A number": non-zero when read, or exactly "0".
std::optional<int64_t> numberIn(const std::string& text)
{
    int64_t value = base::integerValue(text);
    if (value != 0 || text == "0")
        return value;
    return std::nullopt;
}

std::string beforeFragment(const std::string& text)
{
    auto hash = text.find('#');
    return hash == std::string::npos ? text : text.substr(0, hash);
}

// Walks a page book's pages in book order (chapters in order, their pages in order), as
// the thumbnail data lists them, without building that data. Stops when `visit` answers
// false.
template <typename Visit> void forEachPageInBookOrder(const PXBookVO& book, Visit visit)
{
    for (const auto& chapter : book.chapters) {
        if (!chapter)
            continue;
        for (int64_t pageID : chapter->pageIDs) {
            auto page = book.pageForPagenumber(pageID);
            if (page && !visit(*chapter, *page))
                return;
        }
    }
}

} // namespace

ReaderNavigation::ReaderNavigation(ReaderContext& context)
    : m_context(context)
{
}

std::weak_ptr<const void> ReaderNavigation::lifetime() const
{
    return m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
}

// MARK: - Page numbers

std::string ReaderNavigation::getDisplayNumber(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    return value.description();
}

std::vector<std::string> ReaderNavigation::getFolioPagesForIphoneSlider()
{
    std::vector<std::string> folios;
    auto book = pageBookOf(m_context);
    if (!book)
        return folios;
    std::map<std::string, std::string> chapterOfFolio;
    forEachPageInBookOrder(*book, [&](const PXChapterVO& chapter, const PXPageVO& page) {
        folios.push_back(page.displayNum);
        chapterOfFolio[page.displayNum] = chapter.title;
        return true;
    });
    m_pageDataForSlider = std::move(chapterOfFolio);
    return folios;
}

std::vector<std::string> ReaderNavigation::getTotalPagesArray() const
{
    std::vector<std::string> pages;
    if (auto book = pageBookOf(m_context)) {
        forEachPageInBookOrder(*book, [&](const PXChapterVO&, const PXPageVO& page) {
            pages.push_back(std::to_string(page.pageID));
            return true;
        });
    } else if (auto epub = epubOf(m_context)) {
        if (epub->meta.layout == 1) {
            for (const auto& chapter : epub->chapters) {
                if (chapter)
                    pages.push_back(chapter->href);
            }
        } else if (epub->meta.layout == 0) {
            for (const auto& entry : epub->tocPageList)
                pages.push_back(entry.href);
        }
    }
    return pages;
}

std::string ReaderNavigation::getTotalNoOfFolioPages() const
{
    auto book = pageBookOf(m_context);
    if (!book)
        return {};
    for (auto chapter = book->chapters.rbegin(); chapter != book->chapters.rend(); ++chapter) {
        if (!*chapter)
            continue;
        for (auto pageID = (*chapter)->pageIDs.rbegin(); pageID != (*chapter)->pageIDs.rend(); ++pageID) {
            if (auto page = book->pageForPagenumber(*pageID))
                return page->displayNum;
        }
    }
    return {};
}

std::shared_ptr<PXPageVO> ReaderNavigation::getPageByPageID(
    const std::vector<std::shared_ptr<PXPageVO>>& pages, int32_t pageNum)
{
    for (const auto& page : pages) {
        if (page && page->pageNum == pageNum)
            return page;
    }
    return nullptr;
}

std::shared_ptr<PXPageVO> ReaderNavigation::getPageByDisplayNum(
    const std::vector<std::shared_ptr<PXPageVO>>& pages, const std::string& displayNum)
{
    for (const auto& page : pages) {
        if (page && page->displayNum == displayNum)
            return page;
    }
    return nullptr;
}

std::optional<std::string> ReaderNavigation::getDisplayNumberForPageID(const std::string& pageID) const
{
    auto book = pageBookOf(m_context);
    if (!book)
        return pageID;
    if (auto page = getPageByPageID(book->pageList, base::intValue(pageID)))
        return page->displayNum;
    return std::nullopt;
}

int64_t ReaderNavigation::getPageIDForDisplayNumber(const std::string& displayNumber) const
{
    auto book = pageBookOf(m_context);
    if (!book)
        return 0;
    if (auto page = getPageByDisplayNum(book->pageList, displayNumber))
        return page->pageID;
    // No such folio: the book's first page, in book order (never whichever page a hash
    // table happens to list first).
    for (const auto& page : book->pageList) {
        if (page)
            return page->pageID;
    }
    return 0;
}

std::optional<std::string> ReaderNavigation::activePagesInfoText() const
{
    if (!pageBookOf(m_context) || !m_context.renderer)
        return std::nullopt;
    std::string pages;
    bool first = true;
    for (const auto& page : m_context.renderer->getActivePages()) {
        pages = first ? page.displayNum : pages + "-" + page.displayNum;
        first = false;
    }
    return "Page " + pages + " of " + getTotalNoOfFolioPages();
}

void ReaderNavigation::updateActivePagesInfoLabel()
{
    if (auto text = activePagesInfoText())
        m_activePagesInfo = *text;
}

// MARK: - Going to a page

std::string ReaderNavigation::getPageNumberForDisplayNumber(const std::string& displayNumber) const
{
    auto book = pageBookOf(m_context);
    if (!book)
        return displayNumber;
    std::optional<std::string> found;
    forEachPageInBookOrder(*book, [&](const PXChapterVO&, const PXPageVO& page) {
        if (page.displayNum != displayNumber)
            return true;
        found = std::to_string(page.pageID);
        return false;
    });
    return found.value_or(displayNumber);
}

bool ReaderNavigation::isNavigatedPageValid(const std::string& page) const
{
    if (auto book = pageBookOf(m_context)) {
        bool found = false;
        forEachPageInBookOrder(*book, [&](const PXChapterVO&, const PXPageVO& candidate) {
            found = std::to_string(candidate.pageID) == page;
            return !found;
        });
        return found;
    }
    if (auto epub = epubOf(m_context)) {
        std::string href = beforeFragment(page);
        for (const auto& chapter : epub->chapters) {
            if (chapter && chapter->href == href)
                return true;
        }
    }
    return false;
}

void ReaderNavigation::navigateTopage(const std::string& displayNumber)
{
    std::string page = getPageNumberForDisplayNumber(displayNumber);
    if (!isNavigatedPageValid(page))
        return;
    navigateSliderToPage(beforeFragment(page));

    std::string entry = page;
    if (isFixedLayoutEPUB(m_context) && m_context.controller) {
        std::string fileIndex
            = m_context.controller->search().getFileIndexForHREF(beforeFragment(displayNumber));
        if (!fileIndex.empty())
            entry = fileIndex;
    }
    addPageIntoPageHistoryArray(entry);
    m_context.isPageNavigateByScroll = false;
    if (m_context.activeMode == ReaderActiveModeMyData || m_context.activeMode == ReaderActiveModeContents)
        navigateRendererTo(page);
    m_context.activeMode = ReaderActiveModeNone;
    if (m_context.controller)
        m_context.controller->chrome().resetAllPlayerActionBar();
}

void ReaderNavigation::navigateToPageWithPageId(const std::string& pageID)
{
    if (pageID == "null")
        return;
    navigateTopage(pageID);
}

void ReaderNavigation::navigateSliderToPage(const std::string& href)
{
    if (!epubOf(m_context) || !m_context.controller)
        return;
    auto* slider = m_context.controller->reflowable().slider();
    if (slider && slider->isVerticalsliderEnable() && slider->viewForSliderBar()
        && !slider->viewForSliderBar()->isHidden())
        slider->navigateSliderToPage(href);
}

void ReaderNavigation::navigateToPageNumber(const std::string& page)
{
    if (pageBookOf(m_context)) {
        navigateRendererTo(std::to_string(getPageIDForDisplayNumber(page)));
        return;
    }
    auto* controller = m_context.controller;
    if (!controller)
        return;
    std::weak_ptr<ReaderViewController> weak
        = std::static_pointer_cast<ReaderViewController>(controller->shared_from_this());
    base::RunLoop::main().postDelayed(positionRestoreDelay, lifetime(), [weak, page] {
        auto reader = weak.lock();
        if (!reader)
            return;
        auto parsed = base::parseJson(page);
        if (!parsed.ok())
            return;
        auto& navigation = reader->navigation();
        auto& context = reader->context();
        const auto& chapterIndex = parsed.value()["chapterid"];
        if (chapterIndex.isNull())
            return;
        // A stored index that names no chapter goes nowhere.
        if (auto chapter = navigation.getEpubChapterForIndex(chapterIndex.integerValue()))
            navigation.navigateRendererTo(chapter->href);
        if (auto position = parsed.value()["positionIdentifier"].asString()) {
            if (context.renderer)
                context.renderer->jumpToCFIString(*position);
            context.lastPageFolio.reset();
        }
    });
}

std::shared_ptr<EPUBChapterVO> ReaderNavigation::getEpubChapterForIndex(int64_t fileIndex) const
{
    auto epub = epubOf(m_context);
    if (!epub || fileIndex < 0 || static_cast<size_t>(fileIndex) >= epub->chapters.size())
        return nullptr;
    return epub->chapters[static_cast<size_t>(fileIndex)];
}

std::vector<std::string> ReaderNavigation::getActivePageIDs() const
{
    return m_context.controller ? m_context.controller->annotations().getActivePageIDs()
                                : std::vector<std::string>();
}

void ReaderNavigation::navigateRendererTo(const std::string& target)
{
    if (m_context.renderer)
        m_context.renderer->navigateToPageNumber(target);
}

// MARK: - History

const std::vector<std::string>& ReaderNavigation::history() const
{
    return m_context.navigationHistoryPagesArray;
}

int32_t ReaderNavigation::currentHistoryPageIndex() const
{
    return m_context.currentHistoryPageIndex;
}

void ReaderNavigation::initializePageHistory()
{
    m_context.navigationHistoryPagesArray.clear();
    m_context.isPageNavigateByScroll = true;
    m_context.activeHistoryPageCount = 0;
    m_context.currentHistoryPageIndex = 0;
}

void ReaderNavigation::markJump()
{
    m_context.isPageNavigateByScroll = false;
}

void ReaderNavigation::setpagesIntoHistoryArray(const std::string& page)
{
    auto active = getActivePageIDs();
    if (active.empty())
        return;
    if (!m_context.isPageNavigateByScroll) {
        // The pages a jump brings on screen are not recorded; the jump recorded its target.
        ++m_context.activeHistoryPageCount;
        if (m_context.activeHistoryPageCount == static_cast<int32_t>(active.size())) {
            m_context.isPageNavigateByScroll = true;
            m_context.activeHistoryPageCount = 0;
        }
        return;
    }
    insertPageIntoArray(page);
}

void ReaderNavigation::insertPageIntoArray(const std::string& page)
{
    auto active = getActivePageIDs();
    if (active.size() == 1)
        addSinglePage(page);
    else if (active.size() == 2)
        addTwoPages();
}

void ReaderNavigation::addSinglePage(const std::string& page)
{
    const auto& history = m_context.navigationHistoryPagesArray;
    if (!history.empty() && history.back() == page)
        return;
    addPageIntoPageHistoryArray(page);
}

void ReaderNavigation::addTwoPages()
{
    auto* controller = m_context.controller;
    if (!controller)
        return;
    std::weak_ptr<ReaderViewController> weak
        = std::static_pointer_cast<ReaderViewController>(controller->shared_from_this());
    base::RunLoop::main().postDelayed(spreadRecordingDelay, lifetime(), [weak] {
        auto reader = weak.lock();
        if (!reader)
            return;
        auto active = reader->navigation().getActivePageIDs();
        if (!active.empty())
            reader->navigation().addPageIntoPageHistoryArray(active.front());
    });
}

void ReaderNavigation::addPageIntoPageHistoryArray(const std::string& page)
{
    std::string entry = page;
    if (isFixedLayoutEPUB(m_context)) {
        if (auto number = numberIn(page)) {
            if (auto chapter = getEpubChapterForIndex(*number))
                entry = chapter->href;
        }
    }
    auto& history = m_context.navigationHistoryPagesArray;
    if (!history.empty()) {
        int32_t index = m_context.currentHistoryPageIndex;
        bool isCurrent = index >= 0 && static_cast<size_t>(index) < history.size()
            && history[static_cast<size_t>(index)] == entry;
        if (history.back() == entry || isCurrent)
            return;
    }
    history.push_back(entry);
    m_context.currentHistoryPageIndex = static_cast<int32_t>(history.size()) - 1;
    enableHistoryButtons();
}

void ReaderNavigation::enableHistoryButtons()
{
    const auto count = m_context.navigationHistoryPagesArray.size();
    const int32_t index = m_context.currentHistoryPageIndex;
    bool previous = false;
    bool next = false;
    if (count >= 2) {
        previous = index > 0;
        next = index < static_cast<int32_t>(count) - 1;
    }
    if (m_context.controller) {
        m_context.controller->contents().enablePreviousPageHistory(previous);
        m_context.controller->contents().enableNextPageHistory(next);
    }
}

std::string ReaderNavigation::getConvertedPageNumberForHistory(const std::string& page) const
{
    if (isFixedLayoutEPUB(m_context)) {
        if (auto chapter = getEpubChapterForIndex(base::integerValue(page)))
            return chapter->href;
    }
    return page;
}

int32_t ReaderNavigation::getPrevPageNavigateIndex()
{
    auto active = getActivePageIDs();
    const auto& history = m_context.navigationHistoryPagesArray;
    int32_t index = m_context.currentHistoryPageIndex;
    int32_t result = index - 1;
    if (active.size() == 2) {
        bool spreadRecordedBefore = index >= 1 && static_cast<size_t>(index - 1) < history.size()
            && getConvertedPageNumberForHistory(active.front()) == history[static_cast<size_t>(index - 1)];
        if (spreadRecordedBefore)
            result = index < 3 ? 0 : index - 2;
    }
    m_context.currentHistoryPageIndex = result;
    return result;
}

int32_t ReaderNavigation::getNextPageNavigateIndex()
{
    auto active = getActivePageIDs();
    const auto& history = m_context.navigationHistoryPagesArray;
    int32_t index = m_context.currentHistoryPageIndex;
    int32_t result = index + 1;
    if (active.size() == 2) {
        bool spreadRecordedAfter = index + 1 >= 0 && static_cast<size_t>(index + 1) < history.size()
            && getConvertedPageNumberForHistory(active[1]) == history[static_cast<size_t>(index + 1)];
        if (spreadRecordedAfter)
            result = std::min(index + 2, static_cast<int32_t>(history.size()) - 1);
    }
    m_context.currentHistoryPageIndex = result;
    return result;
}

void ReaderNavigation::resetHistoryPageIndex()
{
    auto active = getActivePageIDs();
    const auto& history = m_context.navigationHistoryPagesArray;
    if (m_context.currentHistoryPageIndex == 1 && active.size() == 2 && !history.empty()
        && getConvertedPageNumberForHistory(active.front()) == history.front())
        m_context.currentHistoryPageIndex = 0;
}

void ReaderNavigation::resetPageHistoryIndexOnTransition()
{
    const auto& history = m_context.navigationHistoryPagesArray;
    if (history.empty())
        return;
    markJump();
    auto active = getActivePageIDs();
    if (active.size() != 1)
        return;
    int32_t index = m_context.currentHistoryPageIndex;
    if (index <= 0 || static_cast<size_t>(index) >= history.size())
        return;
    std::string entry = getConvertedPageNumberForHistory(active.front());
    if (entry != history[static_cast<size_t>(index)] && entry == history[static_cast<size_t>(index - 1)])
        m_context.currentHistoryPageIndex = index - 1;
}

void ReaderNavigation::didClickPreviousHistoryButtonWithCurrentPageNumber()
{
    if (m_context.currentHistoryPageIndex < 1)
        return;
    markJump();
    int32_t index = getPrevPageNavigateIndex();
    const auto& history = m_context.navigationHistoryPagesArray;
    if (index >= 0 && static_cast<size_t>(index) < history.size())
        navigateRendererTo(history[static_cast<size_t>(index)]);
    resetHistoryPageIndex();
    if (m_context.controller)
        m_context.controller->contents().removeThumbnail();
}

void ReaderNavigation::didClickNextHistoryButtonWithCurrentPageNumber()
{
    const auto& history = m_context.navigationHistoryPagesArray;
    if (history.empty() || m_context.currentHistoryPageIndex >= static_cast<int32_t>(history.size()) - 1)
        return;
    int32_t index = getNextPageNavigateIndex();
    markJump();
    if (index >= 0 && static_cast<size_t>(index) < history.size())
        navigateRendererTo(history[static_cast<size_t>(index)]);
    if (m_context.controller)
        m_context.controller->contents().removeThumbnail();
}

} // namespace lectoro
