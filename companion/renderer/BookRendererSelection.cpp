// Text selection on a page, the highlight pop-up placed over it, the records made from it,
// and the note icons drawn at notes.

#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/HighlightActionView.h"
#include "LectoroSDKWithReader/readersdk/widgets/UGCLabel.h"
#include "companion/renderer/RendererSupport.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace companion {

using namespace renderer_detail;

namespace {

// Room between the selection and the pop-up above or below it.
inline constexpr double popupGap = 8;
inline constexpr double noteIconSide = 30;
inline constexpr double noteIconGap = 4;

} // namespace

ui::Size BookRenderer::pageSize(int64_t pageNumber) const
{
    const PageEntry* entry = entryForNumber(pageNumber);
    if (entry && entry->page && entry->page->size.width > 0 && entry->page->size.height > 0)
        return entry->page->size;
    // An EPUB chapter's page is as large as the renderer's view.
    if (auto frame = pageFrameInView(pageNumber))
        return frame->size;
    auto loaded = viewIfLoaded();
    return loaded ? loaded->bounds().size : ui::Size {};
}

std::optional<ui::Rect> BookRenderer::pageFrameInView(int64_t pageNumber) const
{
    auto container = pageView(pageNumber);
    if (!container || !isOnScreen(pageNumber))
        return std::nullopt;
    return container->frame();
}

ui::Rect BookRenderer::pageRectToView(int64_t pageNumber, const ui::Rect& rect) const
{
    auto frame = pageFrameInView(pageNumber);
    if (!frame)
        return rect;
    ui::Size size = pageSize(pageNumber);
    double scaleX = size.width > 0 ? frame->size.width / size.width : 1;
    double scaleY = size.height > 0 ? frame->size.height / size.height : 1;
    return ui::Rect { { frame->origin.x + rect.origin.x * scaleX, frame->origin.y + rect.origin.y * scaleY },
        { rect.size.width * scaleX, rect.size.height * scaleY } };
}

const PageTextLayout* BookRenderer::textLayoutForPage(int64_t pageNumber) const
{
    const PageEntry* entry = entryForNumber(pageNumber);
    if (!entry)
        return nullptr;
    auto& layout = m_textLayouts[pageNumber];
    ui::Size size = pageSize(pageNumber);
    PageTextStyle style = textStyleOf(*entry);
    // An EPUB page follows the view's size and the reader's settings, so its layout is
    // redone when they change.
    if (!layout || !(layout->pageSize() == size) || layout->style().fontSize != style.fontSize
        || layout->style().lineHeight != style.lineHeight || !(layout->style().insets == style.insets))
        layout = std::make_unique<PageTextLayout>(textOf(*entry), size, std::move(style));
    return layout.get();
}

PageTextStyle BookRenderer::textStyleOf(const PageEntry& entry) const
{
    std::vector<lectoro::EPUBHeading> headings;
    if (entry.chapter)
        headings = entry.chapter->content()->headings;
    // A reflowable chapter is set as its pages are cut; a fixed page in the page's own style.
    if (entry.chapter && isReflowable())
        return m_reflow.layout.textStyle(std::move(headings));
    PageTextStyle style;
    style.headings = std::move(headings);
    return style;
}

bool BookRenderer::selectOnPage(int64_t pageNumber, TextRange range)
{
    const PageTextLayout* layout = textLayoutForPage(pageNumber);
    if (!layout || !isOnScreen(pageNumber))
        return false;
    TextRange snapped = layout->snappedToCharacters(range);
    if (snapped.isEmpty())
        return false;
    RendererSelection selection;
    selection.pageNumber = pageNumber;
    selection.range = snapped;
    selection.text = layout->substring(snapped);
    selection.rectOnPage = layout->rectForRange(snapped);
    selection.rectInView = pageRectToView(pageNumber, selection.rectOnPage);
    m_selection = selection;
    auto protect = shared_from_this();
    if (auto delegate = liveDelegate())
        delegate->didHighlightTextWithHighlightSelectionRect(*this, selection.rectInView, pageNumber);
    return true;
}

bool BookRenderer::selectText(int64_t pageNumber, const std::string& text)
{
    const PageEntry* entry = entryForNumber(pageNumber);
    if (!entry || text.empty())
        return false;
    auto at = base::utf16IndexOf(textOf(*entry), text);
    if (!at) {
        auto folded = base::utf16IndexOf(base::lowercase(textOf(*entry)), base::lowercase(text));
        // Lower-casing keeps the length of the text only for ASCII letters; trust it only then.
        if (folded && base::lowercase(textOf(*entry)).size() == textOf(*entry).size())
            at = folded;
    }
    if (!at)
        return false;
    auto start = static_cast<int64_t>(*at);
    return selectOnPage(pageNumber, { start, start + static_cast<int64_t>(base::utf16Length(text)) });
}

bool BookRenderer::selectWords(int64_t pageNumber, size_t first, size_t last)
{
    const PageTextLayout* layout = textLayoutForPage(pageNumber);
    auto range = layout ? layout->rangeOfWords(first, last) : std::nullopt;
    return range && selectOnPage(pageNumber, *range);
}

bool BookRenderer::selectRange(int64_t pageNumber, int64_t start, int64_t end)
{
    return selectOnPage(pageNumber, { start, end });
}

bool BookRenderer::selectBetweenPoints(const ui::Point& from, const ui::Point& to)
{
    for (size_t index = m_activeStart; index < m_activeStart + m_activeCount && index < m_pages.size();
         ++index) {
        int64_t number = m_pages[index].number;
        auto frame = pageFrameInView(number);
        if (!frame || !frame->contains(from))
            continue;
        ui::Size size = pageSize(number);
        double scaleX = frame->size.width > 0 ? size.width / frame->size.width : 1;
        double scaleY = frame->size.height > 0 ? size.height / frame->size.height : 1;
        auto toPage = [&](const ui::Point& point) {
            return ui::Point { (point.x - frame->origin.x) * scaleX, (point.y - frame->origin.y) * scaleY };
        };
        const PageTextLayout* layout = textLayoutForPage(number);
        auto range = layout ? layout->rangeBetweenPoints(toPage(from), toPage(to)) : std::nullopt;
        return range && selectOnPage(number, *range);
    }
    return false;
}

void BookRenderer::clearSelection()
{
    m_selection.reset();
}

bool BookRenderer::openHighlightView(
    std::shared_ptr<ui::View> popup, int64_t pageNo, const ui::Point& coordinates)
{
    if (!popup || !m_selection || m_selection->pageNumber != pageNo)
        return false;
    setHighlightView(popup);
    if (auto actionView = std::dynamic_pointer_cast<lectoro::HighlightActionView>(popup)) {
        // The pop-up learns which highlight it was opened on, if any.
        std::shared_ptr<lectoro::SDKHighlightVO> under;
        auto found = m_overlays.find(pageNo);
        for (size_t index = 0; found != m_overlays.end() && index < found->second.highlights.size() && !under;
             ++index) {
            const auto& existing = found->second.highlights[index];
            if (!existing->isStickyNote && existing->startIndex < m_selection->range.end
                && m_selection->range.start < existing->endIndex)
                under = existing;
        }
        actionView->setHighlightVO(under);
        actionView->resetHighlightView();
    }
    // Above the selection, starting where it starts; below it when there is no room above;
    // always inside the renderer's view.
    ui::Rect bounds = view()->bounds();
    ui::Rect frame = popup->frame();
    const ui::Rect& selected = m_selection->rectInView;
    double y = coordinates.y - frame.size.height - popupGap;
    if (y < bounds.origin.y)
        y = selected.origin.y + selected.size.height + popupGap;
    double maxX = std::max(bounds.origin.x, bounds.origin.x + bounds.size.width - frame.size.width);
    double maxY = std::max(bounds.origin.y, bounds.origin.y + bounds.size.height - frame.size.height);
    frame.origin = ui::Point { std::clamp(coordinates.x, bounds.origin.x, maxX),
        std::clamp(y, bounds.origin.y, maxY) };
    popup->setFrame(frame);
    view()->addSubview(popup);
    return true;
}

std::shared_ptr<lectoro::SDKHighlightVO> BookRenderer::makeHighlightFromSelection(
    const std::string& textColor, const std::string& backgroundColor) const
{
    if (!m_selection)
        return nullptr;
    const PageEntry* entry = entryForNumber(m_selection->pageNumber);
    if (!entry)
        return nullptr;
    auto record = newRecordOn<lectoro::SDKHighlightVO>(*entry);
    if (entry->chapter)
        record->positionIdentifier = m_currentCFI;
    record->text = m_selection->text;
    record->startIndex = m_selection->range.start;
    record->endIndex = m_selection->range.end;
    record->textColor = textColor;
    record->backgroundColor = backgroundColor;
    record->status = lectoro::UGCStatusNew;
    record->isSynced = false;
    // Should the highlight become a contextual note, its icon stands just after the text,
    // inside the page.
    ui::Size size = pageSize(m_selection->pageNumber);
    const ui::Rect& selected = m_selection->rectOnPage;
    double x = std::min(
        selected.origin.x + selected.size.width + noteIconGap, std::max(0.0, size.width - noteIconSide));
    double y = std::clamp(selected.origin.y, 0.0, std::max(0.0, size.height - noteIconSide));
    record->noteRect = ui::Rect { { x, y }, { noteIconSide, noteIconSide } };
    return record;
}

void BookRenderer::drawNoteIcons(int64_t pageNumber)
{
    auto found = m_overlays.find(pageNumber);
    if (found == m_overlays.end())
        return;
    PageOverlay& overlay = found->second;
    for (const auto& icon : overlay.noteIcons) {
        if (icon.view)
            icon.view->removeFromSuperview();
    }
    overlay.noteIcons.clear();
    auto delegate = liveDelegate();
    auto container = pageView(pageNumber);
    for (const auto& record : overlay.highlights) {
        if (!record->isStickyNote && !record->isNote())
            continue;
        std::shared_ptr<ui::View> icon = delegate ? delegate->noteIconViewForHighlight(record) : nullptr;
        if (!icon) {
            auto label = lectoro::UGCLabel::create();
            label->setHighlightVO(record);
            label->setText(record->isStickyNote ? "\u00B8" : "V");
            label->setTextAlignment(ui::TextAlignment::Center);
            auto color = lectoro::UIColorExpanded::colorWithHexString(
                record->isReceived ? "#8fd5e1" : record->backgroundColor);
            label->setTextColor(color.value_or(ui::Color::black()));
            label->setAccessibilityIdentifier("ReaderNoteOnPage");
            icon = label;
        } else if (auto label = std::dynamic_pointer_cast<lectoro::UGCLabel>(icon);
                   label && !label->highlightVO()) {
            label->setHighlightVO(record);
        }
        // The icon keeps the size its maker gave it, at the note's place.
        ui::Rect frame = record->noteRect;
        ui::Rect iconFrame = icon->frame();
        if (iconFrame.size.width > 0 && iconFrame.size.height > 0)
            frame.size = iconFrame.size;
        icon->setFrame(frame);
        if (container)
            container->addSubview(icon);
        overlay.noteIcons.push_back({ record, icon });
    }
}

} // namespace companion
