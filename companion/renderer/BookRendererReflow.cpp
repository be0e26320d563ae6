// Reflowable pages: laying chapters out into pages, turning them, and keeping the reading
// position across a new layout.

#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/books/EpubBookLoader.h"
#include "companion/renderer/ChapterPositions.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace companion {

bool BookRenderer::isRightToLeft() const
{
    auto epub = std::dynamic_pointer_cast<EpubBook>(m_epubBook);
    return epub && epub->isRightToLeft();
}

ReflowLayout BookRenderer::layoutForView()
{
    ui::Size size = view()->bounds().size;
    if (size.width <= 0 || size.height <= 0)
        size = ui::Environment::current().screenBounds().size;
    return reflowLayoutFor(
        m_settings.fontSizeStep, m_settings.lineSpacing, m_settings.margin, m_settings.verticalMargin, size);
}

const ChapterPages* BookRenderer::pagesOf(const PageEntry& entry)
{
    if (!entry.chapter || !isReflowable())
        return nullptr;
    auto& pages = m_reflow.chapters[entry.number];
    if (!pages)
        pages = std::make_shared<const ChapterPages>(
            paginateText(entry.chapter->content()->text, m_reflow.layout, entry.chapter->content()->headings));
    return pages.get();
}

bool BookRenderer::isCoverChapter(const lectoro::EPUBChapterVO& chapter) const
{
    if (!m_epubBook)
        return false;
    return std::any_of(
        m_epubBook->guides.begin(), m_epubBook->guides.end(), [&](const lectoro::EPUBGuideVO& guide) {
            return guide.type == "cover" && guide.href == chapter.href;
        });
}

std::optional<ReflowPage> BookRenderer::reflowPage(int64_t chapter, size_t pageIndex)
{
    if (m_cleared)
        return std::nullopt;
    const PageEntry* entry = entryForNumber(chapter);
    const ChapterPages* pages = entry ? pagesOf(*entry) : nullptr;
    if (!pages || pageIndex >= pages->count())
        return std::nullopt;
    auto [start, end] = pages->range(pageIndex);
    return ReflowPage { chapter, pageIndex, pages->count(), start, end,
        positionOfOffset(*entry->chapter, start) };
}

std::optional<ReflowPage> BookRenderer::currentReflowPage()
{
    if (!m_activeCount || !isReflowable())
        return std::nullopt;
    return reflowPage(m_pages[m_activeStart].number, m_reflow.page);
}

void BookRenderer::settleReflowPage(const PageEntry& entry)
{
    const ChapterPages* pages = pagesOf(entry);
    if (!pages)
        return;
    ReflowTarget target = m_reflow.pending.value_or(ReflowTarget {});
    m_reflow.pending.reset();
    size_t last = pages->count() - 1;
    switch (target.kind) {
    case ReflowTarget::Kind::First:
        m_reflow.page = 0;
        break;
    case ReflowTarget::Kind::Last:
        m_reflow.page = last;
        break;
    case ReflowTarget::Kind::PageIndex:
        m_reflow.page = std::min(target.value, last);
        break;
    case ReflowTarget::Kind::Offset:
        m_reflow.page = pages->pageHolding(target.value);
        break;
    }
    m_reflow.anchor
        = target.kind == ReflowTarget::Kind::Offset ? target.value : pages->range(m_reflow.page).first;
    m_currentCFI = positionOfOffset(*entry.chapter, m_reflow.anchor);
    reportReflowPage(entry);
}

void BookRenderer::reportReflowPage(const PageEntry& entry)
{
    const ChapterPages* pages = pagesOf(entry);
    auto delegate = liveDelegate();
    if (!pages || !delegate)
        return;
    uint64_t generation = m_generation;
    double height = m_reflow.layout.pageSize.height;
    int64_t count = static_cast<int64_t>(pages->count());
    bool cover = isCoverChapter(*entry.chapter);
    // The book's total only once every chapter is laid out: a count of the chapters laid
    // out so far would tell the owner the first page is most of the book.
    int64_t bookPages = m_reflow.bookPages.value_or(0);
    std::string cfi = m_currentCFI;
    delegate->didChangeContentPosition(*this, height * static_cast<double>(m_reflow.page), entry.number,
        height * static_cast<double>(count), cover);
    if (interrupted(generation))
        return;
    delegate->didChangeReflowableBookPage(
        *this, std::to_string(m_reflow.page + 1), entry.number, count, bookPages, cover);
    if (interrupted(generation))
        return;
    delegate->didChangeBookCFI(*this, cfi, cfi, entry.number);
}

bool BookRenderer::turnReflowPage(bool forward)
{
    if (!m_activeCount)
        return false;
    const PageEntry& entry = m_pages[m_activeStart];
    const ChapterPages* pages = pagesOf(entry);
    if (!pages || (forward && m_reflow.page + 1 >= pages->count()) || (!forward && m_reflow.page == 0))
        return false;
    auto protect = shared_from_this();
    if (!beginScroll(entry.number))
        return true;
    uint64_t generation = m_generation;
    m_selection.reset();
    m_reflow.page = forward ? m_reflow.page + 1 : m_reflow.page - 1;
    m_reflow.anchor = pages->range(m_reflow.page).first;
    m_currentCFI = positionOfOffset(*entry.chapter, m_reflow.anchor);
    PageEntry shown = entry;
    reportReflowPage(shown);
    if (interrupted(generation))
        return true;
    if (auto delegate = liveDelegate()) {
        double width = view()->bounds().size.width;
        delegate->didEndScrollingWithContentOffset(
            *this, ui::Point { width * static_cast<double>(m_reflow.page), 0 }, shown.number);
    }
    return true;
}

void BookRenderer::showReflowTarget(size_t index, ReflowTarget target)
{
    if (index >= m_pages.size())
        return;
    if (!isOnScreen(m_pages[index].number)) {
        m_reflow.pending = target;
        showPagesAt(index);
        m_reflow.pending.reset();
        return;
    }
    auto protect = shared_from_this();
    m_selection.reset();
    m_reflow.pending = target;
    PageEntry entry = m_pages[index];
    settleReflowPage(entry);
}

void BookRenderer::repaginate()
{
    if (!isReflowable() || m_cleared || !m_book)
        return;
    ReflowLayout layout = layoutForView();
    if (layout == m_reflow.layout)
        return;
    m_reflow.layout = layout;
    m_reflow.chapters.clear();
    m_reflow.bookPages.reset();
    ++m_reflow.generation;
    if (m_activeCount) {
        // The reading position, and so its CFI, stays: the page shown is the one holding it.
        auto protect = shared_from_this();
        PageEntry entry = m_pages[m_activeStart];
        if (const ChapterPages* pages = pagesOf(entry))
            m_reflow.page = pages->pageHolding(m_reflow.anchor);
        reportReflowPage(entry);
        if (m_cleared)
            return;
    }
    if (m_epubBook && m_epubBook->isBookContentLoaded)
        paginateBookInBackground();
}

void BookRenderer::paginateBookInBackground()
{
    if (!isReflowable())
        return;
    std::vector<std::shared_ptr<lectoro::EPUBChapterVO>> chapters;
    for (const auto& entry : m_pages)
        chapters.push_back(entry.chapter);
    uint64_t generation = m_reflow.generation;
    ReflowLayout layout = m_reflow.layout;
    std::weak_ptr<const void> owner = weak_from_this();
    base::globalQueue().async([this, owner, chapters = std::move(chapters), layout, generation] {
        std::vector<std::shared_ptr<const ChapterPages>> laidOut;
        laidOut.reserve(chapters.size());
        for (const auto& chapter : chapters)
            laidOut.push_back(std::make_shared<const ChapterPages>(
                chapter ? paginateText(chapter->content()->text, layout, chapter->content()->headings) : ChapterPages {}));
        base::RunLoop::main().post(owner, [this, laidOut = std::move(laidOut), generation] {
            if (m_cleared || generation != m_reflow.generation || laidOut.size() != m_pages.size())
                return;
            int64_t total = 0;
            for (size_t index = 0; index < laidOut.size(); ++index) {
                m_reflow.chapters.try_emplace(m_pages[index].number, laidOut[index]);
                total += static_cast<int64_t>(laidOut[index]->count());
            }
            m_reflow.bookPages = total;
            auto delegate = liveDelegate();
            if (!delegate)
                return;
            auto protect = shared_from_this();
            double height = m_reflow.layout.pageSize.height;
            for (size_t index = 0; index < laidOut.size(); ++index) {
                delegate->didBookChaptersProcessSuccessfully(static_cast<int64_t>(index + 1),
                    static_cast<int64_t>(height * static_cast<double>(laidOut[index]->count())),
                    m_pages[index].chapter && isCoverChapter(*m_pages[index].chapter));
                if (m_cleared || generation != m_reflow.generation)
                    return;
            }
            delegate->bookLoadingCompletedWithContentSize(
                static_cast<int64_t>(height * static_cast<double>(total)));
            if (m_cleared || generation != m_reflow.generation)
                return;
            delegate->bookCFIsLoadingCompleted(static_cast<int64_t>(m_epubBook->bookCFIArray.size()));
            if (m_cleared || generation != m_reflow.generation || !m_activeCount)
                return;
            PageEntry entry = m_pages[m_activeStart];
            reportReflowPage(entry);
        });
    });
}

// --- Settings that change the layout ---

void BookRenderer::didFontSizeChanged(int64_t step)
{
    m_settings.fontSizeStep = step;
    repaginate();
}

void BookRenderer::setLineSpacing(int64_t spacing)
{
    m_settings.lineSpacing = spacing;
    repaginate();
}

void BookRenderer::setMargin(int64_t margin)
{
    m_settings.margin = margin;
    repaginate();
}

void BookRenderer::setVerticalMarginForReflowableEpubBook(double margin)
{
    m_settings.verticalMargin = margin;
    repaginate();
}

} // namespace companion
