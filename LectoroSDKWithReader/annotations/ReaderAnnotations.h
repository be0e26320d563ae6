#pragma once

// The annotation work the reader shell asks for, by the names the shell calls it: the
// pages' user content and the highlight road go to their features (PageAnnotationsDrawer,
// HighlightRoad), the pen, bookmarks and clearing to theirs (pen/, bookmarks/); text boxes
// are still hooks that leave the pages as the renderer shows them.

#include "platform/ui/Geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class BookmarkRoad;
class ClearAnswersRoad;
class HighlightRoad;
class PageAnnotationsDrawer;
class PenRoad;
class TextAnnotationRoad;
class PlayerActionBar;
class PlayerActionBarItem;
struct ReaderContext;

class ReaderAnnotations {
public:
    ReaderAnnotations(ReaderContext&, HighlightRoad&, PageAnnotationsDrawer&);

    // The pen, bookmark and clearing roads the reader owns beside this shell (none set:
    // their operations do nothing).
    void setPenAndBookmarkRoads(PenRoad*, BookmarkRoad*, ClearAnswersRoad*);

    // The pages on screen, in the renderer's order: a page book's page ids, any other
    // book's file indexes, as decimal text.
    std::vector<std::string> getActivePageIDs() const;

    void drawHighlightsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void addBookmarkOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void addAccessibilityOnBookmark();
    void drawPenDrawingsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void drawTextAnnotationsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void relaodPageUGCForActivePages();
    void updateIphoneBottomBarPageSliderForPageNumber(const std::string& pageNumber);
    void migrateHighlightAndNoteColors();

    void initializeHighlight();
    void removeHighlightPopup();
    void removeBookmarkVC();
    void removeNoteView();
    void removeTextAnnotationView();
    void updatePlayerBottomBarPositionWithKeyboardSize(const ui::Rect& keyboardFrame);

    void updatePentoolButtonStatus();
    void updateClearAllFIBsButtonStatus();
    void changeAudioButtonStatus();
    std::shared_ptr<PlayerActionBarItem> getAudioButtonForPlayer(const PlayerActionBar&) const;

    // The remembered pen, kept in the user defaults ("PenColor", "PenThickness").
    std::string getLastUpdatedPenColor();
    double getLastUpdatedPenThickness();
    void persistLastUpdatedPenColor(const std::string& hexColor);
    void persistLastUpdatedPenThickness(double thickness);

    // Toolbar actions (the dispatcher reaches them by bar and item tag). The pen tool,
    // notes, text boxes and the fill-in answers arrive with the annotations subsystem;
    // until then none of these has anything to act on.
    void actionForPentool();
    void showStickyNote();
    void actionForTextAnnotation();
    void didTapOnClearAllFIBs();
    void actionForPentoolDrawingMode();
    // The pen controller's mode: 0 draw, 1 erase, 2 review.
    void setPenMode(int);
    void actionForPenToolThicknessSelected();
    void actionForPentoolErase();
    void actionForPentoolDeleteSelection();
    void actionForPentoolUndoDrawing();
    void didSelectPenColor(const std::string&);
    void addTextAnnotationAlignmentView();
    void removeTextAnnotationAlignmentView();
    void addTextAnnotationTextColorView();
    void removeTextAnnotationColorView();
    void actionForDeleteTextAnnotation();
    void actionForTextAnnotationKeyBoard();
    // The open text-colour pop-up marks the colour (hex text).
    void setTextAnnotationSelectedColor(const std::string&);
    void selectAudioSyncColorPalleteSelectionButton(bool);

    // The text-box road the text-box operations go to; none leaves them doing nothing.
    void setTextAnnotationRoad(TextAnnotationRoad* road) { m_textAnnotationRoad = road; }

private:
    ReaderContext& m_context;
    HighlightRoad& m_highlightRoad;
    PageAnnotationsDrawer& m_pageAnnotations;
    PenRoad* m_penRoad = nullptr;
    BookmarkRoad* m_bookmarkRoad = nullptr;
    ClearAnswersRoad* m_clearAnswersRoad = nullptr;
    TextAnnotationRoad* m_textAnnotationRoad = nullptr;
};

} // namespace lectoro
