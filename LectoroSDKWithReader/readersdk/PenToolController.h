#pragma once

// Free-hand drawing on the pages on screen. The reader makes one controller per opening of
// the pen tool (CompanionFramework::makePenToolController), hands it the renderer's drawing
// canvas, and stores what the controller reports: every new stroke through
// didCreatePenDrawing, every change or deletion (status 3) through didUpdatePenDrawing.
//
// Modes. Pen mode 0 draws, 1 erases, 2 ignores touches. Drawing mode 0 draws the reader's
// own strokes; 1 draws review strokes (a teacher marking a learner's page), which carry
// isTeacherReview. With delete-on-selection on, the eraser removes every stroke it
// touches whole; off, it cuts the touched points out and keeps the pieces.
//
// Touches arrive in canvas coordinates (the canvas covers the renderer's view); strokes
// are kept in page coordinates on the page under the touch that began them.

#include "platform/ui/Geometry.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class SDKPentoolVO;

enum PenToolMode : int64_t {
    PenToolModeDraw = 0,
    PenToolModeErase = 1,
    PenToolModeNone = 2,
};

enum PenToolDrawingMode : int64_t {
    PenToolDrawingModeOwn = 0,
    PenToolDrawingModeReview = 1,
};

// A page on the canvas: its renderer page number and record keys, and where it lies in
// canvas coordinates at its own size.
struct PenCanvasPage {
    int64_t pageNumber = 0;
    std::string pageIdentifier;
    std::string displayNum;
    ui::Rect frame;
    ui::Size pageSize;

    ui::Point toPage(const ui::Point& canvasPoint) const;
};

// The view pen strokes are drawn into, as the renderer hands it out (getPenDrawingCanvas).
// It knows the pages on screen and the strokes drawn on each.
class PenDrawingCanvas : public ui::View {
public:
    std::string_view className() const override { return "PenDrawingCanvas"; }

    virtual std::vector<PenCanvasPage> canvasPages() const = 0;
    // The strokes drawn on a page, in drawing order.
    virtual std::vector<std::shared_ptr<SDKPentoolVO>> drawingsOnPage(int64_t pageNumber) const = 0;
    // Shows a stroke on its page (replacing the one with the same local id), or takes it off.
    virtual void showDrawing(const std::shared_ptr<SDKPentoolVO>&) = 0;
    virtual void hideDrawing(const std::shared_ptr<SDKPentoolVO>&) = 0;

    std::optional<PenCanvasPage> pageAtPoint(const ui::Point&) const;

protected:
    explicit PenDrawingCanvas(const ui::Rect& frame)
        : ui::View(frame)
    {
    }
};

class PenToolControllerDelegate {
public:
    virtual ~PenToolControllerDelegate() = default;
    virtual void didCreatePenDrawing(std::shared_ptr<SDKPentoolVO>) { }
    virtual void didUpdatePenDrawing(std::shared_ptr<SDKPentoolVO>) { }
    virtual void didChangeUndoableStatus() { }
    virtual void didUpdatedSelectedPenDrawing() { }
};

class PenToolController {
public:
    virtual ~PenToolController() = default;

    virtual void setDelegate(std::weak_ptr<PenToolControllerDelegate>) = 0;
    virtual void setHasClassAssociation(bool) = 0;
    // A canvas that is not a PenDrawingCanvas (or none) leaves the controller without pages:
    // touches then draw nothing.
    virtual void setPenDrawingCanvas(std::shared_ptr<ui::View>) = 0;
    virtual void setDrawingMode(int64_t) = 0;
    virtual void setPenMode(int64_t) = 0;
    virtual int64_t getPenMode() const = 0;
    virtual void setPenColor(const std::string& hexColor) = 0;
    virtual std::string getPenColor() const = 0;
    virtual void setPenStrokeThickness(double) = 0;
    virtual double getPenStrokeThickness() const = 0;
    virtual void setDeleteOnSelectionEnabled(bool) = 0;

    // Takes back the last stroke, erasure or deletion.
    virtual void undoDrawing() = 0;
    virtual bool isUndoable() const = 0;
    // Deletes every stroke on the pages on the canvas (one undoable step).
    virtual void deleteActivePagePenDrawings() = 0;

    // Touch input, as the canvas receives it.
    virtual void touchesBegan(const ui::Point&) = 0;
    virtual void touchesMoved(const ui::Point&) = 0;
    virtual void touchesEnded() = 0;
    virtual void touchesCancelled() = 0;
    // A whole stroke at once: began, moved through every point, ended.
    void drawStroke(const std::vector<ui::Point>& points)
    {
        if (points.empty())
            return;
        touchesBegan(points.front());
        for (size_t index = 1; index < points.size(); ++index)
            touchesMoved(points[index]);
        touchesEnded();
    }
};

} // namespace lectoro
