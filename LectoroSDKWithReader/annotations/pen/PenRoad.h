#pragma once

// The pen tool: free-hand drawing on the pages on screen. Opening it makes a fresh pen
// controller over the renderer's drawing canvas (so an earlier opening's undo history is
// gone) and swaps the reader's bars for the pen bar; the bar's items draw, erase, undo and
// delete every drawing of the visible pages after a confirmation; the colour and thickness
// palettes open over a full-screen container that closes them at the first touch outside.
// The last colour and thickness live in the user defaults ("PenColor", "PenThickness"),
// shared by every book and user of the application.
//
// Each drawing the controller reports is stamped with the reader's book version and
// stored at once (status 3 deletes it); in teacher review it goes to the learner panel
// instead, a changed drawing taking the place of its earlier self.
//
// Item states: enabled is alpha 1 and touchable, dimmed alpha 0.5 and untouchable. The
// delete item of a page book follows the store (a drawing on any visible page enables
// it); the undo item follows the controller.

#include "LectoroSDKWithReader/annotations/pen/LectoroPenToolThicknessPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class AnnotationsHost;
class PageAnnotationsDrawer;
class PenToolController;
class PenToolControllerDelegate;
class PlayerActionBarItem;
class SDKPentoolVO;
struct ReaderContext;

class PenRoad {
public:
    static constexpr const char* penColorKey = "PenColor";
    static constexpr const char* penThicknessKey = "PenThickness";
    static constexpr const char* defaultPenColor = "#000000";
    static constexpr double defaultPenThickness = 4.0;
    static constexpr double closeDuration = 0.4;

    PenRoad(ReaderContext&, AnnotationsHost&, PageAnnotationsDrawer&);
    ~PenRoad();
    PenRoad(const PenRoad&) = delete;
    PenRoad& operator=(const PenRoad&) = delete;

    // --- Opening and closing ---
    // Opens the pen tool, or closes it when it is open.
    void actionForPentool();
    // Builds the pen bar again (dropping the open palette with the old bar).
    void addPentoolTopBarAnimate(bool animated);

    // --- The pen bar's items ---
    void actionForPentoolDrawingMode();
    // Toggles between erasing and drawing.
    void actionForPentoolErase();
    void disableEraseMode();
    void actionForPentoolUndoDrawing();
    // Asks first; "YES" deletes the visible pages' drawings.
    void actionForPentoolDeleteSelection();
    void updatePentoolButtonStatus();
    // The controller's pen mode (0 draw, 1 erase); nothing while the pen is closed.
    void setPenMode(int64_t mode);
    // The first item with the tag on the pen bar, else on the pen bottom bar; null for none.
    std::shared_ptr<PlayerActionBarItem> getPenToolItemWithTag(int tag) const;

    // --- Palettes ---
    void actionForPenColorPalletePicker();
    void actionForPenToolThicknessSelected();
    // Closes whatever palette is open; safe to repeat.
    void singleTapOnPentoolPalleteContainer();
    // By mode: the pen's colour (5), review's (6), read-aloud's (10, 22); else ignored.
    void didSelectPenColor(const std::string& hexColor);
    void willDismissPenToolColorPalleteView();
    void didSelectPenThickness(float thickness);
    void willDismissPenToolThicknessPalleteView();
    // The thickness item's dot: its colour and its roundness.
    void updateThicknessColor(const std::string& hexColor);
    void updateThicknessFont(double thickness);

    // --- Read-aloud's colour item (tag 33 of its bottom bar) ---
    void updateAudioSyncColorPalleteSelectionColor(const std::string& hexColor);
    void selectAudioSyncColorPalleteSelectionButton(bool selected);
    // The read-aloud bottom bar (set by read-aloud while its bar is up).
    void setPlayerBottomActionBarViewForAudioSync(std::shared_ptr<PlayerActionBar> bar)
    {
        m_audioSyncBar = std::move(bar);
    }

    // --- Remembered pen ---
    // A missing value is stored with its default first; a thickness that is no number reads 0.
    static std::string getLastUpdatedPenColor();
    static double getLastUpdatedPenThickness();
    static void persistLastUpdatedPenColor(const std::string& hexColor);
    // Stored as the "%f" text of the value.
    static void persistLastUpdatedPenThickness(double thickness);

    // --- The pen controller's reports ---
    void didCreatePenDrawing(const std::shared_ptr<SDKPentoolVO>&);
    void didUpdatePenDrawing(const std::shared_ptr<SDKPentoolVO>&);
    void didChangeUndoableStatus();

    // --- State, as the reader and tests read it ---
    const std::shared_ptr<PenToolController>& penToolController() const { return m_penToolController; }
    // The reader as a pen controller's delegate: teacher review's pen reports through it too.
    std::shared_ptr<PenToolControllerDelegate> penToolControllerDelegate() const;
    const std::shared_ptr<ui::View>& penToolPalleteContainer() const { return m_container; }
    const std::shared_ptr<LectoroPenToolColorPalleteViewController>& penColorPallete() const { return m_colorPalette; }
    const std::shared_ptr<LectoroPenToolThicknessPalleteViewController>& penToolThicknessPalleteViewController() const
    {
        return m_thicknessPalette;
    }

private:
    class Delegates;

    bool isPageBook() const;
    std::string storeBookID() const;
    int64_t storeUserID() const;
    std::shared_ptr<ui::View> readerView() const;
    void openPen();
    void closePen();
    // A new container over the reader view, holding the palette's view placed as given.
    void showPaletteInContainer(const std::shared_ptr<ui::View>& paletteView, double centerXOffset,
        double bottomOffset, double width, double height);
    void refreshColorPreview(const std::string& hexColor, double thickness);
    void resetPenBarSelection();
    void reportToReviewPanel(const std::shared_ptr<SDKPentoolVO>&, bool changed);

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    PageAnnotationsDrawer& m_pageAnnotations;
    std::shared_ptr<Delegates> m_delegates;
    std::shared_ptr<PenToolController> m_penToolController;
    std::shared_ptr<ui::View> m_container;
    std::shared_ptr<LectoroPenToolColorPalleteViewController> m_colorPalette;
    std::shared_ptr<LectoroPenToolThicknessPalleteViewController> m_thicknessPalette;
    std::shared_ptr<PlayerActionBar> m_audioSyncBar;
    // Animation and alert completions find the road gone through this token.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace lectoro
