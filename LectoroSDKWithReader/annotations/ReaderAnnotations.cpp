#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"

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

// Bookmarks, and text boxes are drawn by their own roads once they exist; until then
// these leave the page as the renderer shows it.
void ReaderAnnotations::addBookmarkOnPageNumber(const std::string&, const std::string&) { }
void ReaderAnnotations::addAccessibilityOnBookmark() { }
void ReaderAnnotations::drawTextAnnotationsOnPageNumber(const std::string&, const std::string&) { }

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
    m_context.activeMode = ReaderActiveModeNone;
}

void ReaderAnnotations::updatePlayerBottomBarPositionWithKeyboardSize(const ui::Rect&)
{
    // Only a text annotation being edited (mode 15) follows the keyboard, and none can be
    // edited yet.
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
