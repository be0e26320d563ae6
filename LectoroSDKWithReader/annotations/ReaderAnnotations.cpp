#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "platform/base/Strings.h"
#include "platform/base/UserDefaults.h"

#include <cstdio>

namespace lectoro {

namespace {

constexpr const char* penColorKey = "PenColor";
constexpr const char* penThicknessKey = "PenThickness";
constexpr const char* defaultPenColor = "#000000";
constexpr double defaultPenThickness = 4.0;

std::string thicknessText(double thickness)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", thickness);
    return text;
}

} // namespace

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

// Bookmarks are drawn by their own road once it exists; until then these leave the page
// as the renderer shows it.
void ReaderAnnotations::addBookmarkOnPageNumber(const std::string&, const std::string&) { }
void ReaderAnnotations::addAccessibilityOnBookmark() { }

void ReaderAnnotations::drawTextAnnotationsOnPageNumber(const std::string& page, const std::string& display)
{
    if (m_textAnnotationRoad)
        m_textAnnotationRoad->drawTextAnnotationsOnPageNumber(page, display);
}

void ReaderAnnotations::removeBookmarkVC()
{
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

void ReaderAnnotations::updatePentoolButtonStatus() { }
void ReaderAnnotations::updateClearAllFIBsButtonStatus() { }
void ReaderAnnotations::changeAudioButtonStatus() { }

std::shared_ptr<PlayerActionBarItem> ReaderAnnotations::getAudioButtonForPlayer(const PlayerActionBar&) const
{
    return nullptr;
}

std::string ReaderAnnotations::getLastUpdatedPenColor()
{
    auto& defaults = base::UserDefaults::standard();
    if (auto color = defaults.stringForKey(penColorKey))
        return *color;
    defaults.setString(penColorKey, defaultPenColor);
    defaults.synchronize();
    return defaultPenColor;
}

double ReaderAnnotations::getLastUpdatedPenThickness()
{
    auto& defaults = base::UserDefaults::standard();
    if (auto thickness = defaults.stringForKey(penThicknessKey))
        return base::doubleValue(*thickness);
    defaults.setString(penThicknessKey, thicknessText(defaultPenThickness));
    defaults.synchronize();
    return defaultPenThickness;
}

void ReaderAnnotations::persistLastUpdatedPenColor(const std::string& hexColor)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setString(penColorKey, hexColor);
    defaults.synchronize();
}

void ReaderAnnotations::persistLastUpdatedPenThickness(double thickness)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setString(penThicknessKey, thicknessText(thickness));
    defaults.synchronize();
}

} // namespace lectoro
