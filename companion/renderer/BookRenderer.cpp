#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/HighlightActionView.h"
#include "companion/books/BookErrors.h"
#include "companion/books/BookLoader.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/renderer/ChapterPositions.h"
#include "companion/renderer/RendererPenCanvas.h"
#include "companion/renderer/RendererSupport.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"
#include "platform/ui/TransitionCoordinator.h"

#include <algorithm>

namespace companion {

using namespace renderer_detail;

namespace {

inline constexpr const char* rendererErrorDomain = "companion.renderer";

// The positions a page reports as loaded and unloaded: a screenful, never the whole chapter.
std::vector<std::string> screenCFIsOf(const std::shared_ptr<lectoro::EPUBChapterVO>& chapter)
{
    return chapter ? screenPositions(*chapter) : std::vector<std::string> {};
}

} // namespace

std::shared_ptr<BookRenderer> BookRenderer::create(std::string bookPath,
    std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate, std::optional<std::string> isbn,
    base::Value additionalInfo)
{
    return std::shared_ptr<BookRenderer>(
        new BookRenderer(std::move(bookPath), std::move(delegate), std::move(isbn), std::move(additionalInfo)));
}

BookRenderer::BookRenderer(std::string bookPath, std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate,
    std::optional<std::string> isbn, base::Value additionalInfo)
    : lectoro::RendererViewController(std::move(bookPath), std::move(delegate), std::move(isbn), std::move(additionalInfo))
{
}

std::shared_ptr<lectoro::RendererViewControllerDelegate> BookRenderer::liveDelegate() const
{
    if (m_cleared)
        return nullptr;
    return delegate();
}

void BookRenderer::viewDidLoad()
{
    lectoro::RendererViewController::viewDidLoad();
    // The owner is still embedding the view; the book loads once it has finished.
    std::weak_ptr<const void> owner = weak_from_this();
    base::RunLoop::main().post(owner, [this] { loadBookIfNeeded(); });
}

void BookRenderer::viewWillTransitionToSize(const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    lectoro::RendererViewController::viewWillTransitionToSize(size, coordinator);
    std::weak_ptr<ui::ViewController> weakSelf = weak_from_this();
    coordinator.animateAlongside({}, [weakSelf](const ui::TransitionCoordinatorContext&) {
        if (auto self = std::static_pointer_cast<BookRenderer>(weakSelf.lock()))
            self->relayoutPages();
    });
}

void BookRenderer::loadBookIfNeeded()
{
    if (m_loadStarted || m_cleared)
        return;
    m_loadStarted = true;
    auto protect = shared_from_this();

    std::optional<std::string> initial;
    if (auto delegate = liveDelegate())
        initial = delegate->initialDisplayNumber(*this);
    if (m_cleared)
        return;

    auto loaded = loadSharedBook(bookPath());
    if (loaded.ok()) {
        m_book = loaded.value();
        m_pageBook = std::dynamic_pointer_cast<lectoro::PXBookVO>(m_book);
        m_epubBook = std::dynamic_pointer_cast<lectoro::EPUBBookVO>(m_book);
        if (m_pageBook) {
            for (const auto& page : m_pageBook->pageList) {
                if (page)
                    m_pages.push_back({ page->pageID, page->displayNum, page, nullptr });
            }
        } else if (m_epubBook) {
            for (const auto& chapter : m_epubBook->chapters) {
                if (chapter)
                    m_pages.push_back({ chapter->fileIndex, std::to_string(chapter->fileIndex), nullptr, chapter });
            }
        }
        m_pageIndex.reserve(m_pages.size());
        for (size_t index = 0; index < m_pages.size(); ++index)
            m_pageIndex.emplace(m_pages[index].number, index);
        if (m_pages.empty()) {
            m_loadError = makeBookError(BookError::Malformed, "The book at " + bookPath() + " has no pages");
            m_book = nullptr;
            m_pageBook = nullptr;
            m_epubBook = nullptr;
        }
    } else {
        m_loadError = loaded.error();
    }

    auto delegate = liveDelegate();
    if (m_loadError) {
        if (delegate)
            delegate->didBookLoadingFailedWithError(*this, *m_loadError);
        return;
    }
    if (delegate)
        delegate->didBookLoadedSuccessfullyWithBook(*this, m_book);
    if (m_cleared)
        return;
    if (delegate)
        delegate->didCompleteSearchDecryptionForBookPath(*this, bookPath());
    if (m_cleared)
        return;

    if (isReflowable())
        m_reflow.layout = layoutForView();
    size_t start = 0;
    if (initial) {
        if (auto index = indexForInitialTarget(*initial))
            start = *index;
    }
    showPagesAt(start, true);
    if (!m_cleared)
        measureBook();
}

void BookRenderer::measureBook()
{
    auto epub = std::dynamic_pointer_cast<EpubBook>(m_epubBook);
    if (!epub)
        return;
    std::weak_ptr<const void> owner = weak_from_this();
    epub->measureInBackground([this, owner](const std::optional<base::Error>& error, int64_t contentSize) {
        if (owner.expired())
            return;
        if (error) {
            // The book stays readable chapter by chapter; only its whole-book positions are missing.
            lectoro::LectoroDebugLog::logWithType(1, "BookRenderer", "the book's positions are not measured: " + error->localizedDescription());
            return;
        }
        (void)contentSize;
        // Sizes are reported in content points, known once every chapter is laid out.
        if (!m_cleared && isReflowable())
            paginateBookInBackground();
    });
}

const std::string& BookRenderer::textOf(const PageEntry& entry) const
{
    static const std::string none;
    if (entry.page)
        return entry.page->text;
    if (entry.chapter)
        return entry.chapter->content()->text; // kept by the chapter once parsed
    return none;
}

bool BookRenderer::isFixedLayout() const
{
    return m_pageBook || (m_epubBook && m_epubBook->isFixedLayout());
}

bool BookRenderer::isReflowable() const
{
    return m_epubBook && !m_epubBook->isFixedLayout();
}

bool BookRenderer::usesSpreads() const
{
    if (!isFixedLayout() || m_settings.twoPageSeparationDisabled)
        return false;
    if (m_orientationMode == lectoro::RendererBookOrientationLandscape)
        return true;
    if (m_orientationMode == lectoro::RendererBookOrientationPortrait)
        return false;
    return ui::Environment::current().isLandscape();
}

std::optional<size_t> BookRenderer::indexOfPageNumber(int64_t number) const
{
    auto found = m_pageIndex.find(number);
    if (found == m_pageIndex.end())
        return std::nullopt;
    return found->second;
}

std::optional<size_t> BookRenderer::indexForTarget(const std::string& target) const
{
    if (auto number = integerFrom(target))
        return indexOfPageNumber(*number);
    if (m_epubBook) {
        if (auto chapter = m_epubBook->chapterForHref(target))
            return indexOfPageNumber(chapter->fileIndex);
    }
    return std::nullopt;
}

std::optional<size_t> BookRenderer::indexForInitialTarget(const std::string& target) const
{
    if (m_pageBook && !target.empty()) {
        for (size_t index = 0; index < m_pages.size(); ++index) {
            if (m_pages[index].displayNum == target)
                return index;
        }
    }
    return indexForTarget(target);
}

const BookRenderer::PageEntry* BookRenderer::entryForNumber(int64_t number) const
{
    auto index = indexOfPageNumber(number);
    return index ? &m_pages[*index] : nullptr;
}

bool BookRenderer::isOnScreen(int64_t pageNumber) const
{
    for (size_t index = m_activeStart; index < m_activeStart + m_activeCount && index < m_pages.size(); ++index) {
        if (m_pages[index].number == pageNumber)
            return true;
    }
    return false;
}

std::optional<std::string> BookRenderer::displayNumberOf(const PageEntry& entry) const
{
    if (entry.displayNum.empty())
        return std::nullopt;
    return entry.displayNum;
}

std::vector<std::string> BookRenderer::cfisOf(const PageEntry& entry) const
{
    if (!entry.chapter)
        return {};
    return chapterPositions(*entry.chapter);
}

std::shared_ptr<ui::View> BookRenderer::ensurePageView(int64_t pageNumber, size_t slot, size_t slots)
{
    auto& pageView = m_pageViews[pageNumber];
    if (!pageView) {
        pageView = ui::View::create();
        pageView->setAccessibilityIdentifier("rendererPage" + std::to_string(pageNumber));
    }
    ui::Rect area = view()->bounds();
    double width = slots ? area.size.width / static_cast<double>(slots) : area.size.width;
    ui::Size before = pageView->bounds().size;
    pageView->setFrame(ui::Rect { { width * static_cast<double>(slot), 0 }, { width, area.size.height } });
    // A page that stays on screen through a turn keeps its markups and answers where the
    // page now shows them; a page that comes on screen gets new ones from its owner.
    ui::Size after = pageView->bounds().size;
    if (before.width > 0 && before.height > 0 && !(before == after)) {
        double scaleX = after.width / before.width;
        double scaleY = after.height / before.height;
        auto found = m_overlays.find(pageNumber);
        if (found != m_overlays.end()) {
            auto rescale = [&](const std::shared_ptr<ui::View>& placed) {
                if (!placed)
                    return;
                ui::Rect frame = placed->frame();
                placed->setFrame(ui::Rect { { frame.origin.x * scaleX, frame.origin.y * scaleY },
                    { frame.size.width * scaleX, frame.size.height * scaleY } });
            };
            for (const auto& placed : found->second.markupViews)
                rescale(placed);
            for (const auto& placed : found->second.fibViews)
                rescale(placed);
        }
        placeBookmarkIconInCorner(pageNumber);
    }
    if (pageView->superview().get() != view().get())
        view()->addSubview(pageView);
    mapLinksOntoPageView(pageNumber, pageView->bounds().size);
    return pageView;
}

void BookRenderer::mapLinksOntoPageView(int64_t pageNumber, const ui::Size& shown)
{
    const PageEntry* entry = entryForNumber(pageNumber);
    if (!entry || !entry->page)
        return;
    // The page picture is stretched over its view (PagePainter), and so are the links.
    ui::Size size = entry->page->size;
    double scaleX = size.width > 0 ? shown.width / size.width : 1;
    double scaleY = size.height > 0 ? shown.height / size.height : 1;
    auto onView = [&](const ui::Rect& rect) {
        return ui::Rect { { rect.origin.x * scaleX, rect.origin.y * scaleY },
            { rect.size.width * scaleX, rect.size.height * scaleY } };
    };
    for (const auto& link : entry->page->linkOrder) {
        if (!link)
            continue;
        if (link->pageRect)
            link->transformedRect = onView(*link->pageRect);
        if (link->boxPageRect)
            link->boxTansformedRect = onView(*link->boxPageRect);
    }
}

std::shared_ptr<ui::View> BookRenderer::pageView(int64_t pageNumber) const
{
    auto found = m_pageViews.find(pageNumber);
    return found == m_pageViews.end() ? nullptr : found->second;
}

void BookRenderer::place(const std::shared_ptr<ui::View>& placed, int64_t pageNumber, std::optional<ui::Rect> frame)
{
    auto container = pageView(pageNumber);
    if (!placed || !container)
        return;
    if (frame)
        placed->setFrame(*frame);
    container->addSubview(placed);
}

bool BookRenderer::showPagesAt(size_t index, bool force)
{
    bool shown = putPagesOnScreen(index, force);
    applyDeferredJump();
    return shown;
}

void BookRenderer::applyDeferredJump()
{
    if (m_pageLoadDepth > 0 || !m_deferredJump)
        return;
    std::string cfi = std::move(*m_deferredJump);
    m_deferredJump.reset();
    if (!m_cleared)
        jumpToCFIString(cfi);
}

bool BookRenderer::putPagesOnScreen(size_t index, bool force)
{
    if (m_cleared || index >= m_pages.size())
        return false;
    bool spreads = usesSpreads();
    size_t start = spreads ? index - index % 2 : index;
    size_t count = spreads ? std::min<size_t>(2, m_pages.size() - start) : 1;
    if (!force && m_activeCount && start == m_activeStart && count == m_activeCount)
        return false;

    auto protect = shared_from_this();
    size_t oldStart = m_activeStart;
    size_t oldCount = m_activeCount;
    m_activeStart = start;
    m_activeCount = count;
    uint64_t generation = ++m_generation;
    m_selection.reset();

    auto inNew = [&](size_t i) { return i >= start && i < start + count; };
    auto inOld = [&](size_t i) { return i >= oldStart && i < oldStart + oldCount; };
    for (size_t i = oldStart; i < oldStart + oldCount && i < m_pages.size(); ++i) {
        if (!force && inNew(i))
            continue;
        PageEntry leaving = m_pages[i];
        reportUnload(leaving);
        if (interrupted(generation))
            return true;
    }
    for (size_t i = start; i < start + count; ++i) {
        ensurePageView(m_pages[i].number, i - start, count);
        if (!force && inOld(i))
            continue;
        PageEntry coming = m_pages[i];
        reportLoad(coming);
        if (interrupted(generation))
            return true;
    }
    noteFurthestPage();
    return true;
}

void BookRenderer::reportLoad(const PageEntry& entry)
{
    ++m_pageLoadDepth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave { m_pageLoadDepth };
    uint64_t generation = m_generation;
    auto delegate = liveDelegate();
    auto display = displayNumberOf(entry);
    std::vector<std::string> cfis = isReflowable() ? screenCFIsOf(entry.chapter) : std::vector<std::string> {};
    if (!cfis.empty())
        m_currentCFI = cfis.front();
    if (!delegate) {
        if (!cfis.empty())
            settleReflowPage(entry);
        return;
    }
    delegate->willLoadPageWithPageNumber(*this, entry.number, display);
    if (interrupted(generation))
        return;
    if (!cfis.empty()) {
        delegate->willLoadCFI(*this, cfis, entry.number, display);
        if (interrupted(generation))
            return;
    }
    delegate->didLoadPageWithPageNumber(*this, entry.number, display);
    if (interrupted(generation))
        return;
    delegate->didRendererChangedAvailabilityForActionState(*this, 1, entry.number, display);
    if (interrupted(generation) || cfis.empty())
        return;
    settleReflowPage(entry);
}

void BookRenderer::reportUnload(const PageEntry& entry)
{
    uint64_t generation = m_generation;
    m_overlays.erase(entry.number);
    if (auto pageView = m_pageViews[entry.number]) {
        pageView->removeFromSuperview();
        m_pageViews.erase(entry.number);
    }
    if (m_searchStepping && m_searchStepping->pageNumber == entry.number)
        m_searchStepping.reset();
    auto delegate = liveDelegate();
    if (!delegate)
        return;
    auto display = displayNumberOf(entry);
    delegate->didRendererChangedAvailabilityForActionState(*this, 0, entry.number, display);
    if (interrupted(generation))
        return;
    if (isReflowable()) {
        delegate->willUnloadCFI(*this, screenCFIsOf(entry.chapter), entry.number, display);
        if (interrupted(generation))
            return;
    }
    delegate->willUnloadPageWithPageNumber(*this, entry.number, display);
}

void BookRenderer::noteFurthestPage()
{
    if (!m_furthestPageEnabled || !m_activeCount || m_cleared)
        return;
    size_t last = m_activeStart + m_activeCount - 1;
    if (m_furthestIndex && last <= *m_furthestIndex)
        return;
    m_furthestIndex = last;
    const PageEntry& entry = m_pages[last];
    base::Value::Dictionary data;
    data.set("pageNumber", entry.number);
    data.set("displayNumber", entry.displayNum);
    m_furthestPageData = base::toJson(base::Value(std::move(data)));
    if (auto delegate = liveDelegate())
        delegate->didUpdateFurthestPage(*this, *m_furthestPageData);
}

void BookRenderer::relayoutPages()
{
    if (m_book && m_activeCount)
        showPagesAt(m_activeStart);
    repaginate();
}

void BookRenderer::clearObjects()
{
    m_cleared = true;
    ++m_generation;
    m_deferredJump.reset();
    for (auto& [number, pageView] : m_pageViews) {
        if (pageView)
            pageView->removeFromSuperview();
    }
    m_pageViews.clear();
    m_overlays.clear();
    m_textLayouts.clear();
    m_pages.clear();
    m_activeStart = 0;
    m_activeCount = 0;
    m_book = nullptr;
    m_pageBook = nullptr;
    m_epubBook = nullptr;
    m_selection.reset();
    m_searchStepping.reset();
    m_reflow = ReflowState {};
    m_highlightView = nullptr;
    endTextBoxEditing();
    m_bookmarkVO = nullptr;
    if (m_penCanvas) {
        m_penCanvas->removeFromSuperview();
        m_penCanvas = nullptr;
    }
}

std::vector<int64_t> BookRenderer::pageNumbers() const
{
    std::vector<int64_t> numbers;
    for (const auto& entry : m_pages)
        numbers.push_back(entry.number);
    return numbers;
}

PageOverlay BookRenderer::overlayForPage(int64_t pageNumber) const
{
    auto found = m_overlays.find(pageNumber);
    return found == m_overlays.end() ? PageOverlay {} : found->second;
}

// --- Moving ---

void BookRenderer::navigateToPageNumber(const std::string& target)
{
    if (!m_book)
        return;
    auto index = indexForTarget(target);
    if (!index)
        return;
    // A reflowable chapter may name a place in it: "#contentPosition<points>" (a page's top)
    // or "#bookCFI<position>".
    auto hash = target.find('#');
    if (!isReflowable() || hash == std::string::npos) {
        showPagesAt(*index);
        return;
    }
    std::string_view fragment = std::string_view(target).substr(hash + 1);
    constexpr std::string_view contentPosition = "contentPosition";
    constexpr std::string_view bookCFI = "bookCFI";
    if (fragment.substr(0, bookCFI.size()) == bookCFI) {
        auto offset = offsetOfPosition(*m_pages[*index].chapter, std::string(fragment.substr(bookCFI.size())));
        showReflowTarget(*index, offset ? ReflowTarget { ReflowTarget::Kind::Offset, *offset } : ReflowTarget {});
        return;
    }
    if (fragment.substr(0, contentPosition.size()) == contentPosition) {
        auto points = integerFrom(fragment.substr(contentPosition.size()));
        double height = m_reflow.layout.pageSize.height;
        size_t page = points && *points > 0 && height > 0 ? static_cast<size_t>(static_cast<double>(*points) / height) : 0;
        showReflowTarget(*index, ReflowTarget { ReflowTarget::Kind::PageIndex, page });
        return;
    }
    showPagesAt(*index);
}

void BookRenderer::jumpToCFIString(const std::string& cfi)
{
    if (!m_epubBook || cfi.empty())
        return;
    // A page coming on screen settles only after its callbacks: a jump asked for inside
    // them would be undone by that settling, so it waits until the page is up.
    if (m_pageLoadDepth > 0) {
        m_deferredJump = cfi;
        return;
    }
    std::optional<size_t> target;
    for (size_t index = 0; index < m_pages.size() && !target; ++index) {
        const auto& cfis = cfisOf(m_pages[index]);
        if (std::find(cfis.begin(), cfis.end(), cfi) != cfis.end())
            target = index;
    }
    if (!target) {
        // "epubcfi(/6/N!…": the spine step N names the chapter (N / 2 - 1).
        auto step = cfi.find("/6/");
        if (step != std::string::npos) {
            size_t begin = step + 3;
            size_t end = begin;
            while (end < cfi.size() && cfi[end] >= '0' && cfi[end] <= '9')
                ++end;
            if (auto spineStep = integerFrom(std::string_view(cfi).substr(begin, end - begin)); spineStep && *spineStep >= 2)
                target = indexOfPageNumber(*spineStep / 2 - 1);
        }
    }
    if (!target)
        return;
    auto protect = shared_from_this();
    if (isReflowable()) {
        // The page holding the position; the position itself becomes the reading position.
        auto offset = offsetOfPosition(*m_pages[*target].chapter, cfi);
        showReflowTarget(*target, offset ? ReflowTarget { ReflowTarget::Kind::Offset, *offset } : ReflowTarget {});
        return;
    }
    showPagesAt(*target);
    if (m_cleared || !isOnScreen(m_pages[*target].number))
        return;
    m_currentCFI = cfi;
    if (auto delegate = liveDelegate())
        delegate->didChangeBookCFI(*this, cfi, cfi, m_pages[*target].number);
}

void BookRenderer::reloadPages()
{
    if (m_book && m_activeCount)
        showPagesAt(m_activeStart, true);
}

std::vector<lectoro::RendererPage> BookRenderer::getActivePages() const
{
    std::vector<lectoro::RendererPage> pages;
    for (size_t index = m_activeStart; index < m_activeStart + m_activeCount && index < m_pages.size(); ++index) {
        const PageEntry& entry = m_pages[index];
        lectoro::RendererPage page;
        page.pageID = entry.number;
        page.displayNum = entry.displayNum;
        page.page = entry.page;
        if (entry.chapter) {
            page.fileIndex = entry.chapter->fileIndex;
            page.idref = entry.chapter->idref;
            page.href = entry.chapter->href;
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

void BookRenderer::setFurthestPageData(const std::string& data)
{
    m_furthestPageData = data;
    m_furthestIndex.reset();
    std::optional<int64_t> number = integerFrom(data);
    if (!number) {
        auto parsed = base::parseJson(data);
        if (parsed.ok()) {
            if (auto value = parsed.value()["pageNumber"].asInteger())
                number = value;
        }
    }
    if (number)
        m_furthestIndex = indexOfPageNumber(*number);
}

void BookRenderer::navigateToFurthestPageWithSuccessHandler(Completion success, FailureHandler failure)
{
    if (!m_furthestIndex || *m_furthestIndex >= m_pages.size()) {
        if (failure)
            failure(base::Error::make(rendererErrorDomain, 1, "No furthest page is known for this book"));
        return;
    }
    if (isOnScreen(m_pages[*m_furthestIndex].number)) {
        if (failure)
            failure(base::Error::make(rendererErrorDomain, 2, "The furthest page is already on screen"));
        return;
    }
    showPagesAt(*m_furthestIndex);
    if (success)
        success();
}

void BookRenderer::setBookOrientationMode(int64_t mode)
{
    m_orientationMode = mode;
    relayoutPages();
}

void BookRenderer::disableTwoPageSeperation(bool disabled)
{
    m_settings.twoPageSeparationDisabled = disabled;
    relayoutPages();
}

std::string BookRenderer::getCurrentCFI() const
{
    return isReflowable() ? m_currentCFI : std::string();
}

std::string BookRenderer::getCurrentBookDataCFI() const
{
    return isReflowable() ? m_currentCFI : std::string();
}

std::string BookRenderer::getLastVisitedRangeInfo() const
{
    // The page of the chapter shown, counted from 1.
    return isReflowable() && m_activeCount ? std::to_string(m_reflow.page + 1) : std::string();
}

void BookRenderer::getVistibleThumbnailNumber(std::function<void(const std::string&)> callback)
{
    if (!callback)
        return;
    std::string number = m_activeCount ? m_pages[m_activeStart].displayNum : std::string();
    std::weak_ptr<const void> owner = weak_from_this();
    base::RunLoop::main().post(owner, [callback = std::move(callback), number] { callback(number); });
}

void BookRenderer::resetReaderFontSetting()
{
    m_settings.fontSizeStep = 0;
    m_settings.fontFamily.clear();
    repaginate();
}

void BookRenderer::resetReaderSetting()
{
    resetReaderFontSetting();
    m_settings.paginationEnabled = true;
    m_settings.readerMode = 0;
    m_settings.textAlignment = 0;
    m_settings.lineSpacing = 0;
    m_settings.margin = 0;
    repaginate();
}

} // namespace companion
