#pragma once

// The drawing canvas the renderer hands to a pen controller: a view over the renderer's
// whole view that answers with the renderer's pages on screen and the strokes drawn on
// them (the pages' overlays).

#include "LectoroSDKWithReader/readersdk/PenToolController.h"

#include <memory>

namespace companion {

class BookRenderer;

class RendererPenCanvas final : public lectoro::PenDrawingCanvas {
public:
    static std::shared_ptr<RendererPenCanvas> create(std::weak_ptr<BookRenderer>, const ui::Rect& frame);
    std::string_view className() const override { return "RendererPenCanvas"; }

    std::vector<lectoro::PenCanvasPage> canvasPages() const override;
    std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> drawingsOnPage(int64_t pageNumber) const override;
    void showDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&) override;
    void hideDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&) override;

private:
    RendererPenCanvas(std::weak_ptr<BookRenderer>, const ui::Rect& frame);

    std::weak_ptr<BookRenderer> m_renderer;
};

} // namespace companion
