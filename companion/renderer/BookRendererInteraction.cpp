// The renderer as the reader drives it beyond turning pages: read-aloud marks, teacher review
// mode, and the touches a test or the host simulates (taps, pinches, scrolls, swipes).

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

// --- Read aloud ---

void BookRenderer::highlightTextWithFrame(const ui::Rect& frame, int64_t pageNo, const std::string& color)
{
    if (!isOnScreen(pageNo))
        return;
    auto& overlay = m_overlays[pageNo];
    if (frame.isEmpty() && color.empty()) {
        overlay.wordFrame.reset();
        overlay.wordFrameColor.clear();
        return;
    }
    overlay.wordFrame = frame;
    overlay.wordFrameColor = color;
}

void BookRenderer::highlightSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>& frames, int64_t pageNo,
    const std::string& color)
{
    if (!isOnScreen(pageNo))
        return;
    auto& overlay = m_overlays[pageNo];
    overlay.sentenceFrames = frames.value_or(std::vector<ui::Rect> {});
    overlay.sentenceColor = overlay.sentenceFrames.empty() ? std::string() : color;
}

void BookRenderer::highlightWordByWordId(const std::string& wordId, const std::string& pageIdentifier,
    const std::string& color)
{
    if (wordId.empty() && pageIdentifier.empty() && color.empty()) {
        for (auto& [page, overlay] : m_overlays) {
            overlay.wordId.clear();
            overlay.wordIdColor.clear();
        }
        return;
    }
    // Narration names an EPUB chapter by its href, a page by its number.
    auto index = indexForTarget(pageIdentifier);
    if (!index || !isOnScreen(m_pages[*index].number))
        return;
    const int64_t page = m_pages[*index].number;
    m_overlays[page].wordId = wordId;
    m_overlays[page].wordIdColor = color;
}

void BookRenderer::getFirstVisibleWordForScreenWithCallBack(std::function<void(const std::optional<base::Value>&)> callback)
{
    if (!callback)
        return;
    std::optional<base::Value> word;
    if (m_activeCount) {
        const PageEntry& entry = m_pages[m_activeStart];
        const std::string& pageText = textOf(entry);
        size_t from = 0;
        size_t to = pageText.size();
        if (auto page = currentReflowPage()) {
            from = page->textStart;
            to = page->textEnd;
        }
        size_t begin = pageText.find_first_not_of(" \t\r\n", from);
        if (begin != std::string::npos && begin < to) {
            size_t end = pageText.find_first_of(" \t\r\n", begin);
            base::Value::Dictionary dictionary;
            dictionary.set("wordId", firstElementIdOnPage(entry, begin, to).value_or("w" + std::to_string(entry.number) + "-0"));
            dictionary.set("text", pageText.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
            word = base::Value(std::move(dictionary));
        }
    }
    std::weak_ptr<const void> owner = weak_from_this();
    base::RunLoop::main().post(owner, [callback = std::move(callback), word] { callback(word); });
}

std::optional<std::string> BookRenderer::firstElementIdOnPage(const PageEntry& entry, size_t from, size_t to) const
{
    if (!entry.chapter)
        return std::nullopt;
    // The first element named on the page; of elements starting at the same place the
    // innermost (listed last), so a word's own id wins over its paragraph's, and narration
    // can begin at the word.
    std::optional<std::pair<size_t, std::string>> first;
    for (const auto& [id, offset] : entry.chapter->content()->anchors) {
        if (offset < from || offset >= to || id.empty())
            continue;
        if (!first || offset <= first->first)
            first = std::pair { offset, id };
    }
    if (!first)
        return std::nullopt;
    return first->second;
}

// --- Teacher review ---

void BookRenderer::enableTeacherReviewModeWithPageArray(const std::vector<std::string>& pages)
{
    m_settings.teacherReviewMode = true;
    m_teacherReviewPages = pages;
    if (!pages.empty())
        navigateToPageNumber(pages.front());
}

void BookRenderer::disableTeacherReviewMode()
{
    m_settings.teacherReviewMode = false;
    m_settings.dragBoxMode = false;
    m_teacherReviewPages.clear();
}

// --- Simulated gestures ---

void BookRenderer::tapPoint(int64_t pageNumber, const ui::Point& point)
{
    if (!isOnScreen(pageNumber))
        return;
    auto protect = shared_from_this();
    // A tap beside an open highlight pop-up only closes it.
    if (m_highlightView && m_highlightView->superview()) {
        m_selection.reset();
        if (auto actionView = std::dynamic_pointer_cast<lectoro::HighlightActionView>(m_highlightView))
            actionView->closeHighlightView();
        else
            m_highlightView->removeFromSuperview();
        return;
    }
    auto delegate = liveDelegate();
    if (!delegate)
        return;
    auto found = m_overlays.find(pageNumber);
    if (found != m_overlays.end()) {
        for (const auto& existing : found->second.highlights) {
            if ((existing->isStickyNote || existing->isNote()) && existing->noteRect.contains(point)) {
                delegate->didTapOnNoteHighligh(existing);
                return;
            }
        }
    }
    if (tapTextBox(pageNumber, point))
        return;
    delegate->didSingleTapOnPage(*this, pageNumber);
}

bool BookRenderer::tapLink(int64_t linkID)
{
    if (!m_pageBook)
        return false;
    auto found = m_pageBook->links.find(std::to_string(linkID));
    if (found == m_pageBook->links.end() || !found->second)
        return false;
    const auto& link = *found->second;
    auto page = integerFrom(link.pageID);
    if (!page || !isOnScreen(*page))
        return false;
    base::Value::Dictionary resource;
    resource.set("linkID", link.linkID);
    resource.set("linkType", static_cast<int64_t>(link.linkType));
    resource.set("pageID", link.pageID);
    resource.set("url", link.url);
    resource.set("type", link.type);
    resource.set("folioNumber", link.folioNumber);
    resource.set("title", link.toolTip);
    auto protect = shared_from_this();
    if (auto delegate = liveDelegate())
        delegate->didTapOnResource(*this, base::Value(std::move(resource)));
    return true;
}

void BookRenderer::pinch(double scale)
{
    if (!m_activeCount || scale <= 0 || scale == 1)
        return;
    auto protect = shared_from_this();
    auto delegate = liveDelegate();
    int64_t page = m_pages[m_activeStart].number;
    if (isReflowable()) {
        if (delegate)
            delegate->didPinchOnPage(*this, scale < 1);
        return;
    }
    double maximum = 4.0;
    if (delegate) {
        if (auto percent = delegate->zoomScalePercentageForBook(m_book); percent && *percent >= 100)
            maximum = *percent / 100;
    }
    if (scale > 1) {
        m_zoomScale = std::min(maximum, m_zoomScale * scale);
        if (delegate)
            delegate->didZoomInPage(*this, page);
    } else {
        m_zoomScale = std::max(1.0, m_zoomScale * scale);
        if (delegate)
            delegate->didZoomOutPage(*this, page);
    }
}

bool BookRenderer::beginScroll(int64_t pageNumber)
{
    uint64_t generation = m_generation;
    auto delegate = liveDelegate();
    if (!delegate)
        return true;
    delegate->didPageBeginScroll(*this);
    if (interrupted(generation))
        return false;
    delegate->didPageBeginScroll(*this, pageNumber);
    return !interrupted(generation);
}

bool BookRenderer::swipe(RendererSwipe direction)
{
    if (!m_activeCount)
        return false;
    bool forward = direction == RendererSwipe::Next || (direction == RendererSwipe::Left && !isRightToLeft())
        || (direction == RendererSwipe::Right && isRightToLeft());
    if (isReflowable() && turnReflowPage(forward))
        return true;
    size_t target;
    if (forward) {
        target = m_activeStart + m_activeCount;
        if (target >= m_pages.size())
            return false;
    } else {
        if (m_activeStart == 0)
            return false;
        target = m_activeStart - 1;
    }
    auto protect = shared_from_this();
    if (!beginScroll(m_pages[m_activeStart].number))
        return true;
    // Going back into a reflowable chapter opens its last page.
    if (isReflowable() && !forward)
        m_reflow.pending = ReflowTarget { ReflowTarget::Kind::Last, 0 };
    showPagesAt(target);
    m_reflow.pending.reset();
    if (m_cleared || !m_activeCount)
        return true;
    if (auto delegate = liveDelegate()) {
        double width = view()->bounds().size.width;
        delegate->didEndScrollingWithContentOffset(*this,
            ui::Point { width * static_cast<double>(m_activeStart), 0 }, m_pages[m_activeStart].number);
    }
    return true;
}

} // namespace companion
