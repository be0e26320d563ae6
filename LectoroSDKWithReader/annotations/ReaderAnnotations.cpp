#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/annotations/pen/ClearAnswersRoad.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"

namespace lectoro {

ReaderAnnotations::ReaderAnnotations(
    ReaderContext& context, HighlightRoad& highlightRoad, PageAnnotationsDrawer& pageAnnotations)
    : m_context(context)
    , m_highlightRoad(highlightRoad)
    , m_pageAnnotations(pageAnnotations)
{
}

std::vector<std::string> ReaderAnnotations::getActivePageIDs() const
{
    return m_pageAnnotations.getActivePageIDs();
}

void ReaderAnnotations::drawHighlightsOnPageNumber(const std::string& page, const std::string& display)
{
    m_pageAnnotations.drawHighlightsOnPageNumber(page, display);
}

void ReaderAnnotations::drawPenDrawingsOnPageNumber(const std::string& page, const std::string& display)
{
    m_pageAnnotations.drawPenDrawingsOnPageNumber(page, display);
}

void ReaderAnnotations::relaodPageUGCForActivePages()
{
    m_pageAnnotations.relaodPageUGCForActivePages();
}

void ReaderAnnotations::updateIphoneBottomBarPageSliderForPageNumber(const std::string& page)
{
    m_pageAnnotations.updateIphoneBottomBarPageSliderForPageNumber(page);
}

void ReaderAnnotations::migrateHighlightAndNoteColors()
{
    m_highlightRoad.migrateHighlightAndNoteColors();
}

void ReaderAnnotations::initializeHighlight()
{
    m_highlightRoad.initializeHighlight();
}

void ReaderAnnotations::removeHighlightPopup()
{
    m_highlightRoad.removeHighlightPopup();
}

void ReaderAnnotations::showStickyNote()
{
    m_highlightRoad.showStickyNote();
}

void ReaderAnnotations::addBookmarkOnPageNumber(const std::string& page, const std::string& display)
{
    if (m_bookmarkRoad)
        m_bookmarkRoad->addBookmarkOnPageNumber(page, display);
}

void ReaderAnnotations::addAccessibilityOnBookmark()
{
    if (m_bookmarkRoad)
        m_bookmarkRoad->addAccessibilityOnBookmark();
}

void ReaderAnnotations::drawTextAnnotationsOnPageNumber(const std::string& page, const std::string& display)
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->drawTextAnnotationsOnPageNumber(page, display);
}

void ReaderAnnotations::removeBookmarkVC()
{
    if (m_bookmarkRoad)
        m_bookmarkRoad->removeBookmarkVC();
    else
        m_context.activeMode = m_context.backgroundActiveMode;
}

void ReaderAnnotations::removeNoteView()
{
    m_highlightRoad.removeNoteView();
}

void ReaderAnnotations::removeTextAnnotationView()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->removeTextAnnotationView();
    else
        m_context.activeMode = ReaderActiveModeNone;
}

void ReaderAnnotations::updatePlayerBottomBarPositionWithKeyboardSize(const ui::Rect& keyboardFrame)
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->updatePlayerBottomBarPositionWithKeyboardSize(keyboardFrame);
}

// The text-box bar's operations, by the names the dispatcher calls.
void ReaderAnnotations::actionForTextAnnotation()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->actionForTextAnnotation();
}

void ReaderAnnotations::addTextAnnotationAlignmentView()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->addTextAnnotationAlignmentView();
}

void ReaderAnnotations::removeTextAnnotationAlignmentView()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->removeTextAnnotationAlignmentView();
}

void ReaderAnnotations::addTextAnnotationTextColorView()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->addTextAnnotationTextColorView();
}

void ReaderAnnotations::removeTextAnnotationColorView()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->removeTextAnnotationColorView();
}

void ReaderAnnotations::actionForDeleteTextAnnotation()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->actionForDeleteTextAnnotation();
}

void ReaderAnnotations::actionForTextAnnotationKeyBoard()
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->actionForTextAnnotationKeyBoard();
}

void ReaderAnnotations::setTextAnnotationSelectedColor(const std::string& color)
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->setTextAnnotationSelectedColor(color);
}

void ReaderAnnotations::setPenAndBookmarkRoads(PenRoad* pen, BookmarkRoad* bookmarks, ClearAnswersRoad* clearing)
{
    m_penRoad = pen;
    m_bookmarkRoad = bookmarks;
    m_clearAnswersRoad = clearing;
}

void ReaderAnnotations::updatePentoolButtonStatus()
{
    if (m_penRoad)
        m_penRoad->updatePentoolButtonStatus();
}

void ReaderAnnotations::updateClearAllFIBsButtonStatus()
{
    if (m_clearAnswersRoad)
        m_clearAnswersRoad->updateClearAllFIBsButtonStatus();
}

void ReaderAnnotations::changeAudioButtonStatus()
{
    if (m_clearAnswersRoad)
        m_clearAnswersRoad->changeAudioButtonStatus();
}

std::shared_ptr<PlayerActionBarItem> ReaderAnnotations::getAudioButtonForPlayer(const PlayerActionBar& bar) const
{
    return ClearAnswersRoad::getAudioButtonForPlayer(bar);
}

std::string ReaderAnnotations::getLastUpdatedPenColor()
{
    return PenRoad::getLastUpdatedPenColor();
}

double ReaderAnnotations::getLastUpdatedPenThickness()
{
    return PenRoad::getLastUpdatedPenThickness();
}

void ReaderAnnotations::persistLastUpdatedPenColor(const std::string& hexColor)
{
    PenRoad::persistLastUpdatedPenColor(hexColor);
}

void ReaderAnnotations::persistLastUpdatedPenThickness(double thickness)
{
    PenRoad::persistLastUpdatedPenThickness(thickness);
}

// MARK: - Toolbar actions of the pen and the clear-all item

void ReaderAnnotations::actionForPentool()
{
    if (m_penRoad)
        m_penRoad->actionForPentool();
}

void ReaderAnnotations::didTapOnClearAllFIBs()
{
    if (m_clearAnswersRoad)
        m_clearAnswersRoad->didTapOnClearAllFIBs();
}

void ReaderAnnotations::actionForPentoolDrawingMode()
{
    if (m_penRoad)
        m_penRoad->actionForPentoolDrawingMode();
}

void ReaderAnnotations::setPenMode(int mode)
{
    if (m_penRoad)
        m_penRoad->setPenMode(mode);
}

void ReaderAnnotations::actionForPenToolThicknessSelected()
{
    if (m_penRoad)
        m_penRoad->actionForPenToolThicknessSelected();
}

void ReaderAnnotations::actionForPentoolErase()
{
    if (m_penRoad)
        m_penRoad->actionForPentoolErase();
}

void ReaderAnnotations::actionForPentoolDeleteSelection()
{
    if (m_penRoad)
        m_penRoad->actionForPentoolDeleteSelection();
}

void ReaderAnnotations::actionForPentoolUndoDrawing()
{
    if (m_penRoad)
        m_penRoad->actionForPentoolUndoDrawing();
}

void ReaderAnnotations::didSelectPenColor(const std::string& color)
{
    if (m_penRoad)
        m_penRoad->didSelectPenColor(color);
}

void ReaderAnnotations::selectAudioSyncColorPalleteSelectionButton(bool selected)
{
    if (m_penRoad)
        m_penRoad->selectAudioSyncColorPalleteSelectionButton(selected);
}

} // namespace lectoro
