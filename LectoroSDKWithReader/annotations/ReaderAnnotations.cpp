#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
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

ReaderAnnotations::ReaderAnnotations(ReaderContext& context)
    : m_context(context)
{
}

std::vector<std::string> ReaderAnnotations::getActivePageIDs() const
{
    std::vector<std::string> ids;
    if (!m_context.renderer)
        return ids;
    bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    for (const auto& page : m_context.renderer->getActivePages())
        ids.push_back(std::to_string(pageBook ? page.pageID : page.fileIndex));
    return ids;
}

// Until the annotations subsystem draws a page's user content, the drawing operations
// below leave the page as the renderer shows it.
void ReaderAnnotations::drawHighlightsOnPageNumber(const std::string&, const std::string&) { }
void ReaderAnnotations::addBookmarkOnPageNumber(const std::string&, const std::string&) { }
void ReaderAnnotations::addAccessibilityOnBookmark() { }
void ReaderAnnotations::drawPenDrawingsOnPageNumber(const std::string&, const std::string&) { }
void ReaderAnnotations::drawTextAnnotationsOnPageNumber(const std::string&, const std::string&) { }
void ReaderAnnotations::relaodPageUGCForActivePages() { }
void ReaderAnnotations::updateIphoneBottomBarPageSliderForPageNumber(const std::string&) { }
void ReaderAnnotations::migrateHighlightAndNoteColors() { }
void ReaderAnnotations::initializeHighlight() { }

void ReaderAnnotations::removeHighlightPopup()
{
    m_context.activeMode = ReaderActiveModeNone;
}

void ReaderAnnotations::removeBookmarkVC()
{
    m_context.activeMode = m_context.backgroundActiveMode;
}

void ReaderAnnotations::removeNoteView()
{
    // No note controller can be open yet, so there is nothing to dismiss.
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
