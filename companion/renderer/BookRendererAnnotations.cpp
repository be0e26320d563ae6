// What the owner asks the renderer to draw on its pages, and the records it makes for them:
// highlights and notes, bookmarks, pen drawings, text boxes, markups and answer fields.

#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/BookMarkView.h"
#include "companion/renderer/RendererPenCanvas.h"
#include "companion/renderer/RendererSupport.h"
#include "platform/base/RunLoop.h"

#include <algorithm>

namespace companion {

using namespace renderer_detail;

// --- Highlights and notes ---

void BookRenderer::setHighlightView(std::shared_ptr<ui::View> highlightView)
{
    if (m_highlightView && m_highlightView != highlightView)
        m_highlightView->removeFromSuperview();
    m_highlightView = std::move(highlightView);
}

void BookRenderer::removeHighlightView()
{
    if (m_highlightView)
        m_highlightView->removeFromSuperview();
    m_selection.reset();
}

std::shared_ptr<lectoro::SDKHighlightVO> BookRenderer::makeStickyNote() const
{
    if (!m_activeCount)
        return nullptr;
    const PageEntry& entry = m_pages[m_activeStart];
    auto record = newRecordOn<lectoro::SDKHighlightVO>(entry);
    if (entry.chapter)
        record->positionIdentifier = m_currentCFI;
    record->isStickyNote = true;
    record->noteRect = defaultNoteRect;
    record->backgroundColor = "#FFFF00";
    return record;
}

int64_t BookRenderer::pageNumberOfRecord(const lectoro::SDKUGCVO& record) const
{
    return integerFrom(record.pageIdentifier).value_or(0);
}

void BookRenderer::placeHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>& record)
{
    int64_t page = pageNumberOfRecord(*record);
    if (!isOnScreen(page))
        return;
    auto& highlights = m_overlays[page].highlights;
    for (auto& existing : highlights) {
        if (sameRecord(*existing, *record)) {
            existing = record;
            drawNoteIcons(page);
            return;
        }
    }
    highlights.push_back(record);
    drawNoteIcons(page);
}

void BookRenderer::removeHighlightRecord(const std::shared_ptr<lectoro::SDKHighlightVO>& record)
{
    auto found = m_overlays.find(pageNumberOfRecord(*record));
    if (found == m_overlays.end())
        return;
    auto& highlights = found->second.highlights;
    highlights.erase(std::remove_if(highlights.begin(), highlights.end(),
                         [&](const auto& existing) { return sameRecord(*existing, *record); }),
        highlights.end());
    drawNoteIcons(found->first);
}

void BookRenderer::reportHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>& record)
{
    auto protect = shared_from_this();
    if (auto delegate = liveDelegate())
        delegate->didHighlighCompleteWithHighlight(record);
}

void BookRenderer::highlight(std::shared_ptr<ui::View>, const std::string& textColor,
    const std::string& backgroundColor, bool isImportant)
{
    auto record = getHighlightForSelectedTextWithTextColor(textColor, backgroundColor);
    if (!record)
        return;
    record->textColor = textColor;
    record->backgroundColor = backgroundColor;
    record->isImportant = isImportant;
    record->isSynced = false;
    if (record->isUploaded())
        record->status = lectoro::UGCStatusUpdated;
    record->modifiedDate = lectoro::currentUGCDateString();
    placeHighlight(record);
    removeHighlightView();
    reportHighlight(record);
}

std::shared_ptr<lectoro::SDKHighlightVO> BookRenderer::getHighlightForSelectedTextWithTextColor(
    const std::string& textColor, const std::string& backgroundColor)
{
    if (!m_selection)
        return nullptr;
    // A selection over a highlight already drawn answers that highlight.
    auto found = m_overlays.find(m_selection->pageNumber);
    if (found != m_overlays.end()) {
        for (const auto& existing : found->second.highlights) {
            if (existing->isStickyNote)
                continue;
            if (existing->startIndex < m_selection->range.end
                && m_selection->range.start < existing->endIndex)
                return existing;
        }
    }
    return makeHighlightFromSelection(textColor, backgroundColor);
}

void BookRenderer::getHighlightForSelectedTextEpubWithTextColor(
    const std::string& textColor, const std::string& backgroundColor, HighlightCallback callback)
{
    if (!callback)
        return;
    auto record = getHighlightForSelectedTextWithTextColor(textColor, backgroundColor);
    std::weak_ptr<const void> owner = weak_from_this();
    base::RunLoop::main().post(owner, [callback = std::move(callback), record] { callback(record); });
}

void BookRenderer::deleteSelectedHighlight(std::shared_ptr<lectoro::SDKHighlightVO> record)
{
    if (!record)
        return;
    record->status = lectoro::UGCStatusDeleted;
    record->isSynced = false;
    removeHighlightRecord(record);
    removeHighlightView();
    reportHighlight(record);
}

std::shared_ptr<lectoro::SDKHighlightVO> BookRenderer::getHighlightVOForStickyNoteWithDefaultPosition()
{
    return makeStickyNote();
}

void BookRenderer::getHighlightVOForStickyNoteWithDefaultPositionWithCallBack(HighlightCallback callback)
{
    if (!callback)
        return;
    auto record = makeStickyNote();
    std::weak_ptr<const void> owner = weak_from_this();
    base::RunLoop::main().post(owner, [callback = std::move(callback), record] { callback(record); });
}

std::shared_ptr<lectoro::SDKHighlightVO> BookRenderer::getHighlightVOForStickyNoteTouchPoint(
    const ui::Point& point)
{
    if (!m_activeCount)
        return nullptr;
    for (size_t index = m_activeStart; index < m_activeStart + m_activeCount; ++index) {
        auto found = m_overlays.find(m_pages[index].number);
        if (found == m_overlays.end())
            continue;
        for (const auto& existing : found->second.highlights) {
            if ((existing->isStickyNote || existing->isNote()) && existing->noteRect.contains(point))
                return existing;
        }
    }
    // Elsewhere: a new note there, on the page under the point.
    size_t slot = 0;
    if (m_activeCount > 1 && point.x > view()->bounds().size.width / 2)
        slot = 1;
    const PageEntry& entry = m_pages[m_activeStart + slot];
    auto record = makeStickyNote();
    record->pageIdentifier = std::to_string(entry.number);
    record->displayNum = entry.displayNum;
    record->noteRect = ui::Rect { point, defaultNoteRect.size };
    return record;
}

void BookRenderer::postNoteWithHighlightVO(std::shared_ptr<lectoro::SDKHighlightVO> record)
{
    if (!record)
        return;
    placeHighlight(record);
    reportHighlight(record);
}

void BookRenderer::deleteNoteWithHighlightVO(std::shared_ptr<lectoro::SDKHighlightVO> record)
{
    if (!record)
        return;
    record->status = lectoro::UGCStatusDeleted;
    removeHighlightRecord(record);
    reportHighlight(record);
}

void BookRenderer::drawHighlights(
    const std::vector<std::shared_ptr<lectoro::SDKHighlightVO>>& records, int64_t pageNo)
{
    if (!isOnScreen(pageNo))
        return;
    auto& highlights = m_overlays[pageNo].highlights;
    highlights.clear();
    for (const auto& record : records) {
        if (record && !record->isDeleted())
            highlights.push_back(record);
    }
    drawNoteIcons(pageNo);
}

void BookRenderer::updateUGC(const std::vector<std::shared_ptr<lectoro::SDKUGCVO>>& records, int64_t pageNo)
{
    if (isOnScreen(pageNo))
        m_overlays[pageNo].reviewUGC = records;
}

// --- Bookmarks ---

void BookRenderer::addBookmarkView(std::shared_ptr<ui::View> bookmarkView, int64_t pageNo)
{
    if (!isOnScreen(pageNo) || !bookmarkView)
        return;
    auto& overlay = m_overlays[pageNo];
    if (overlay.bookmarkView && overlay.bookmarkView != bookmarkView)
        overlay.bookmarkView->removeFromSuperview();
    overlay.bookmarkView = bookmarkView;
    // The icon stands in the page's top right corner and shows whether the page is marked.
    if (auto icon = std::dynamic_pointer_cast<lectoro::BookMarkView>(bookmarkView)) {
        icon->setPageNumber(pageNo);
        icon->setBookmarkVO(overlay.bookmark);
    }
    place(bookmarkView, pageNo);
    placeBookmarkIconInCorner(pageNo);
}

void BookRenderer::placeBookmarkIconInCorner(int64_t pageNumber)
{
    auto found = m_overlays.find(pageNumber);
    auto container = pageView(pageNumber);
    if (found == m_overlays.end() || !found->second.bookmarkView || !container)
        return;
    // Unlike markups, the icon keeps its size when the page is resized (a turn that
    // brings a spread halves the page's width): it moves with the page's right edge.
    auto& icon = found->second.bookmarkView;
    ui::Rect frame = icon->frame();
    frame.origin = ui::Point { std::max(0.0, container->bounds().size.width - frame.size.width - 8), 8 };
    icon->setFrame(frame);
}

void BookRenderer::addBookmark(std::shared_ptr<lectoro::SDKBookmarkVO> bookmark, int64_t pageNo)
{
    if (!isOnScreen(pageNo))
        return;
    auto& overlay = m_overlays[pageNo];
    overlay.bookmark = bookmark && !bookmark->isDeleted() ? bookmark : nullptr;
    if (auto icon = std::dynamic_pointer_cast<lectoro::BookMarkView>(overlay.bookmarkView))
        icon->setBookmarkVO(overlay.bookmark);
}

std::shared_ptr<lectoro::SDKBookmarkVO> BookRenderer::getBookmarkVOForPageNo(int64_t pageNo)
{
    auto found = m_overlays.find(pageNo);
    if (found != m_overlays.end() && found->second.bookmark)
        return found->second.bookmark;
    const PageEntry* entry = entryForNumber(pageNo);
    if (!entry)
        return nullptr;
    auto bookmark = newRecordOn<lectoro::SDKBookmarkVO>(*entry);
    if (entry->chapter)
        bookmark->positionIdentifier = m_currentCFI;
    return bookmark;
}

void BookRenderer::setBookmarkVO(std::shared_ptr<lectoro::SDKBookmarkVO> bookmark)
{
    auto previous = m_bookmarkVO;
    m_bookmarkVO = bookmark;
    if (bookmark) {
        int64_t page = pageNumberOfRecord(*bookmark);
        if (isOnScreen(page)) {
            auto& overlay = m_overlays[page];
            overlay.bookmark = bookmark->isDeleted() ? nullptr : bookmark;
            if (auto icon = std::dynamic_pointer_cast<lectoro::BookMarkView>(overlay.bookmarkView))
                icon->setBookmarkVO(overlay.bookmark);
        }
    }
    auto protect = shared_from_this();
    if (auto delegate = liveDelegate())
        delegate->didUpdateBookmarkVOFrom(*this, previous, bookmark);
}

// --- Pen ---

void BookRenderer::setPenDrawingModeEnabled(bool enabled)
{
    setPenDrawingModeEnabled(enabled, m_settings.penReviewModeEnabled);
}

void BookRenderer::setPenDrawingModeEnabled(bool enabled, bool withReviewModeEnable)
{
    m_settings.penDrawingEnabled = enabled;
    m_settings.penReviewModeEnabled = withReviewModeEnable;
    getPenDrawingCanvas()->setUserInteractionEnabled(enabled);
}

std::shared_ptr<ui::View> BookRenderer::getPenDrawingCanvas()
{
    if (!m_penCanvas) {
        m_penCanvas = RendererPenCanvas::create(
            std::static_pointer_cast<BookRenderer>(shared_from_this()), view()->bounds());
        m_penCanvas->setAccessibilityIdentifier("rendererPenCanvas");
        m_penCanvas->setUserInteractionEnabled(m_settings.penDrawingEnabled);
        view()->addSubview(m_penCanvas);
    }
    return m_penCanvas;
}

void BookRenderer::drawPenDrawings(
    const std::vector<std::shared_ptr<lectoro::SDKPentoolVO>>& drawings, int64_t pageNo)
{
    if (!isOnScreen(pageNo))
        return;
    auto& list = m_overlays[pageNo].penDrawings;
    list.clear();
    for (const auto& drawing : drawings) {
        if (drawing && !drawing->isDeleted())
            list.push_back(drawing);
    }
}

std::vector<lectoro::PenCanvasPage> BookRenderer::penCanvasPages() const
{
    std::vector<lectoro::PenCanvasPage> pages;
    for (size_t index = m_activeStart; index < m_activeStart + m_activeCount && index < m_pages.size();
         ++index) {
        const PageEntry& entry = m_pages[index];
        auto frame = pageFrameInView(entry.number);
        if (!frame)
            continue;
        lectoro::PenCanvasPage page;
        page.pageNumber = entry.number;
        page.pageIdentifier = std::to_string(entry.number);
        page.displayNum = entry.displayNum;
        // The canvas covers the renderer's view, so view and canvas coordinates agree.
        page.frame = *frame;
        page.pageSize = pageSize(entry.number);
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> BookRenderer::penDrawingsOnPage(int64_t pageNumber) const
{
    auto found = m_overlays.find(pageNumber);
    return found == m_overlays.end() ? std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> {}
                                     : found->second.penDrawings;
}

void BookRenderer::showPenDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>& drawing)
{
    if (!drawing || drawing->isDeleted())
        return;
    int64_t page = pageNumberOfRecord(*drawing);
    if (!isOnScreen(page))
        return;
    auto& list = m_overlays[page].penDrawings;
    for (auto& existing : list) {
        if (sameRecord(*existing, *drawing)) {
            existing = drawing;
            return;
        }
    }
    list.push_back(drawing);
}

void BookRenderer::hidePenDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>& drawing)
{
    if (!drawing)
        return;
    auto found = m_overlays.find(pageNumberOfRecord(*drawing));
    if (found == m_overlays.end())
        return;
    auto& list = found->second.penDrawings;
    list.erase(std::remove_if(list.begin(), list.end(),
                   [&](const auto& existing) { return sameRecord(*existing, *drawing); }),
        list.end());
}

// --- Text boxes ---

std::shared_ptr<lectoro::SDKTextAnnotationVO> BookRenderer::getTextAnnotationVOWithDefaultPosition()
{
    if (!m_activeCount)
        return nullptr;
    const PageEntry& entry = m_pages[m_activeStart];
    auto record = newRecordOn<lectoro::SDKTextAnnotationVO>(entry);
    record->rect = defaultTextBoxRect;
    record->textColor = "#000000";
    return record;
}

void BookRenderer::addTextAnnotation(std::shared_ptr<lectoro::SDKTextAnnotationVO> record)
{
    if (!record || m_editingTextAnnotation)
        return;
    beginTextBoxEditing(record, false);
}

void BookRenderer::drawTextAnnotation(
    const std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>>& records, int64_t pageNo)
{
    if (!isOnScreen(pageNo))
        return;
    auto& list = m_overlays[pageNo].textAnnotations;
    list.clear();
    for (const auto& record : records) {
        if (record && !record->isDeleted())
            list.push_back(record);
    }
}

void BookRenderer::deleteTextAnnotation()
{
    auto record = m_editingTextAnnotation;
    endTextBoxEditing();
    if (!record)
        return;
    record->status = lectoro::UGCStatusDeleted;
    record->isSynced = false;
    dropTextBoxFromPage(record);
    reportTextBoxFinished(record);
}

void BookRenderer::exitTextAnnotationMode()
{
    auto record = m_editingTextAnnotation;
    const bool wasStored = m_textBoxWasStored;
    endTextBoxEditing();
    if (!record)
        return;
    if (record->text.empty()) {
        // An emptied box goes; a new one that was never typed in leaves nothing behind.
        if (!wasStored)
            return;
        record->status = lectoro::UGCStatusDeleted;
        dropTextBoxFromPage(record);
    } else {
        record->status = wasStored ? lectoro::UGCStatusUpdated : lectoro::UGCStatusNew;
        if (wasStored)
            record->modifiedDate = lectoro::currentUGCDateString();
        keepTextBoxOnPage(record);
    }
    record->isSynced = false;
    reportTextBoxFinished(record);
}

void BookRenderer::removeTextAnnotationModeWithoutSave()
{
    endTextBoxEditing();
}

void BookRenderer::updateTextAnnotationAlignment(int64_t alignment)
{
    if (!m_editingTextAnnotation || alignment < 0 || alignment > 2)
        return;
    m_editingTextAnnotation->textAlignment = static_cast<int>(alignment);
    applyTextBoxLook();
}

void BookRenderer::updateTextAnnotationWithBackground(
    const std::string& backgroundColor, const std::string& textColor)
{
    if (!m_editingTextAnnotation)
        return;
    // A colour that is not given keeps the box's own.
    if (!textColor.empty())
        m_editingTextAnnotation->textColor = textColor;
    if (!backgroundColor.empty()) {
        if (!m_editingTextAnnotation->metaData.isDictionary())
            m_editingTextAnnotation->metaData = base::Value::Dictionary {};
        m_editingTextAnnotation->metaData.asDictionary()->set("backgroundColor", backgroundColor);
    }
    applyTextBoxLook();
}

// --- Markups, answers and players ---

void BookRenderer::drawMarkups(const std::vector<std::shared_ptr<lectoro::PXLinkVO>>& links, int64_t pageNo)
{
    if (!isOnScreen(pageNo))
        return;
    PageOverlay& overlay = m_overlays[pageNo];
    for (const auto& old : overlay.markupViews)
        old->removeFromSuperview();
    overlay.markupViews.clear();
    overlay.markups.clear();
    // Each link brings the views its owner made for it; they keep the frames they were given.
    for (const auto& link : links) {
        if (!link)
            continue;
        overlay.markups.push_back(link);
        for (const auto& weakView : { link->iconView, link->iconHitAreaLabel }) {
            if (auto placed = weakView.lock()) {
                place(placed, pageNo);
                overlay.markupViews.push_back(placed);
            }
        }
    }
}

void BookRenderer::drawFIBs(const std::vector<std::shared_ptr<ui::View>>& views, int64_t pageNo)
{
    if (!isOnScreen(pageNo))
        return;
    auto& list = m_overlays[pageNo].fibViews;
    for (const auto& old : list) {
        if (old)
            old->removeFromSuperview();
    }
    list = views;
    for (const auto& fib : list)
        place(fib, pageNo);
}

void BookRenderer::drawFIB(const std::vector<std::shared_ptr<ui::View>>& views, int64_t pageNumber)
{
    drawFIBs(views, pageNumber);
}

std::shared_ptr<ui::View> BookRenderer::getFIBViewForLinkId(int64_t linkID)
{
    // Answer fields carry their link id as their tag.
    for (const auto& [page, overlay] : m_overlays) {
        for (const auto& fib : overlay.fibViews) {
            if (fib && fib->tag() == linkID)
                return fib;
        }
    }
    return nullptr;
}

void BookRenderer::addReviewViewOnFib(std::shared_ptr<lectoro::SDKFIBVO> fib)
{
    if (!fib)
        return;
    int64_t page = pageNumberOfRecord(*fib);
    if (isOnScreen(page))
        m_overlays[page].reviewFIBs.push_back(std::move(fib));
}

void BookRenderer::addMultiLinkController(
    std::shared_ptr<ui::ViewController> controller, std::shared_ptr<ui::View> sourceView, int64_t pageNo)
{
    if (!isOnScreen(pageNo) || !controller)
        return;
    // The list stands on the page where its owner framed it, beside the group's icon.
    place(controller->view(), pageNo);
    m_overlays[pageNo].multiLinkControllers.push_back({ std::move(controller), std::move(sourceView) });
}

void BookRenderer::addInLineVideo(std::shared_ptr<ui::View> videoView, const ui::Rect& rect, int64_t pageNo)
{
    if (!isOnScreen(pageNo) || !videoView)
        return;
    m_overlays[pageNo].inlineVideos.push_back({ videoView, rect });
    place(videoView, pageNo, rect);
}

void BookRenderer::addInstructionPopup(
    std::shared_ptr<ui::ViewController> controller, std::shared_ptr<ui::View> sourceView, int64_t pageNo)
{
    if (!isOnScreen(pageNo) || !controller)
        return;
    // Below its markup's icon when the owner gave no place of its own.
    auto popup = controller->view();
    ui::Rect frame = popup->frame();
    if (frame.origin == ui::Point {} && sourceView) {
        ui::Rect source = sourceView->frame();
        frame.origin = ui::Point { source.origin.x, source.origin.y + source.size.height };
    }
    place(popup, pageNo, frame);
    m_overlays[pageNo].instructionPopups.push_back({ std::move(controller), std::move(sourceView) });
}

} // namespace companion
