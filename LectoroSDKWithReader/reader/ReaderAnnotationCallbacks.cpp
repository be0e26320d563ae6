// The renderer's reports about selections, highlights and notes, handed to the
// annotations subsystem's features.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"

namespace lectoro {

void ReaderViewController::didHighlightTextWithHighlightSelectionRect(
    RendererViewController&, const ui::Rect& selection, int64_t pageNo)
{
    auto protect = shared_from_this();
    m_highlightRoad->didHighlightTextWithHighlightSelectionRect(selection, pageNo);
}

void ReaderViewController::didHighlighCompleteWithHighlight(std::shared_ptr<SDKHighlightVO> record)
{
    auto protect = shared_from_this();
    m_highlightRoad->didHighlighCompleteWithHighlight(record);
}

void ReaderViewController::didTapOnNoteHighligh(std::shared_ptr<SDKHighlightVO> record)
{
    m_highlightRoad->didTapOnNoteHighligh(record);
}

bool ReaderViewController::didStickyNoteAllowedTwoPagePanning()
{
    return m_highlightRoad->didStickyNoteAllowedTwoPagePanning();
}

std::shared_ptr<ui::View> ReaderViewController::noteIconViewForHighlight(std::shared_ptr<SDKHighlightVO> record)
{
    return m_pageAnnotations->noteIconViewForHighlight(record);
}

} // namespace lectoro
