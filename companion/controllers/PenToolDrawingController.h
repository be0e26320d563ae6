#pragma once

// The working pen controller (see PenToolController.h): strokes are point lists in page
// coordinates with the pen's colour and thickness, drawn through the renderer's canvas;
// every change is one step of an undo history that lives as long as the controller.

#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"

#include <memory>
#include <optional>
#include <vector>

namespace companion {

class PenToolDrawingController final : public lectoro::PenToolController {
public:
    // How near, in page points, the eraser must pass a stroke's line to take it, beyond
    // half the stroke's thickness.
    static constexpr double eraserRadius = 10;

    void setDelegate(std::weak_ptr<lectoro::PenToolControllerDelegate> delegate) override
    {
        m_delegate = std::move(delegate);
    }
    void setHasClassAssociation(bool value) override { m_hasClassAssociation = value; }
    bool hasClassAssociation() const { return m_hasClassAssociation; }
    void setPenDrawingCanvas(std::shared_ptr<ui::View>) override;
    std::shared_ptr<lectoro::PenDrawingCanvas> canvas() const { return m_canvas.lock(); }
    void setDrawingMode(int64_t mode) override { m_drawingMode = mode; }
    int64_t drawingMode() const { return m_drawingMode; }
    void setPenMode(int64_t) override;
    int64_t getPenMode() const override { return m_penMode; }
    void setPenColor(const std::string& color) override { m_penColor = color; }
    std::string getPenColor() const override { return m_penColor; }
    void setPenStrokeThickness(double thickness) override
    {
        m_thickness = thickness > 0 ? thickness : m_thickness;
    }
    double getPenStrokeThickness() const override { return m_thickness; }
    void setDeleteOnSelectionEnabled(bool enabled) override { m_deleteOnSelection = enabled; }
    bool isDeleteOnSelectionEnabled() const { return m_deleteOnSelection; }

    void undoDrawing() override;
    bool isUndoable() const override { return !m_history.empty(); }
    void deleteActivePagePenDrawings() override;

    void touchesBegan(const ui::Point&) override;
    void touchesMoved(const ui::Point&) override;
    void touchesEnded() override;
    void touchesCancelled() override;

    // The stroke being drawn, in page coordinates; null when no touch is down.
    std::shared_ptr<lectoro::SDKPentoolVO> strokeInProgress() const { return m_stroke; }

private:
    // One record as it was before a step changed it; absent when the step made it.
    struct Change {
        std::shared_ptr<lectoro::SDKPentoolVO> record;
        std::optional<lectoro::SDKPentoolVO> before;
    };
    using Step = std::vector<Change>;

    void finishStroke();
    void finishErasing();
    void pushStep(Step);
    // Marks the record deleted, takes it off the canvas and reports it.
    void deleteRecord(const std::shared_ptr<lectoro::SDKPentoolVO>&);
    void reportCreated(const std::shared_ptr<lectoro::SDKPentoolVO>&);
    void reportUpdated(const std::shared_ptr<lectoro::SDKPentoolVO>&);
    void reportUndoable(bool wasUndoable);

    std::weak_ptr<lectoro::PenToolControllerDelegate> m_delegate;
    std::weak_ptr<lectoro::PenDrawingCanvas> m_canvas;
    bool m_hasClassAssociation = false;
    bool m_deleteOnSelection = false;
    int64_t m_drawingMode = lectoro::PenToolDrawingModeOwn;
    int64_t m_penMode = lectoro::PenToolModeDraw;
    std::string m_penColor = "#000000";
    double m_thickness = 4.0;

    // The touch under way: the page it began on and its points there.
    std::optional<lectoro::PenCanvasPage> m_touchPage;
    std::shared_ptr<lectoro::SDKPentoolVO> m_stroke;
    std::vector<ui::Point> m_eraserPath;

    std::vector<Step> m_history;
};

} // namespace companion
