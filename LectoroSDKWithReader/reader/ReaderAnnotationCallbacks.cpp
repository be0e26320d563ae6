// The renderer's reports about selections, highlights, notes and text boxes, handed to the
// annotations subsystem's features.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"

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

bool ReaderViewController::textAnnotationShouldBeginEditing()
{
    return m_textAnnotationRoad->textAnnotationShouldBeginEditing();
}

void ReaderViewController::didTextAnnotationBeginEditing(std::shared_ptr<ui::TextView> textView)
{
    auto protect = shared_from_this();
    m_textAnnotationRoad->didTextAnnotationBeginEditing(textView);
}

void ReaderViewController::didTextAnnotationValueChanged(std::shared_ptr<ui::TextView> textView)
{
    m_textAnnotationRoad->didTextAnnotationValueChanged(textView);
}

void ReaderViewController::didTextAnnotationCompleteWithTextAnnotation(
    std::shared_ptr<SDKTextAnnotationVO> textAnnotation,
    std::shared_ptr<SDKTextAnnotationVO> newSDKTextAnnotationVO)
{
    auto protect = shared_from_this();
    m_textAnnotationRoad->didTextAnnotationCompleteWithTextAnnotation(textAnnotation, newSDKTextAnnotationVO);
}

} // namespace lectoro
