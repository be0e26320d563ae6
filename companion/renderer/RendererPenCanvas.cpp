#include "companion/renderer/RendererPenCanvas.h"

#include "companion/renderer/BookRenderer.h"

namespace companion {

std::shared_ptr<RendererPenCanvas> RendererPenCanvas::create(
    std::weak_ptr<BookRenderer> renderer, const ui::Rect& frame)
{
    return std::shared_ptr<RendererPenCanvas>(new RendererPenCanvas(std::move(renderer), frame));
}

RendererPenCanvas::RendererPenCanvas(std::weak_ptr<BookRenderer> renderer, const ui::Rect& frame)
    : lectoro::PenDrawingCanvas(frame)
    , m_renderer(std::move(renderer))
{
}

std::vector<lectoro::PenCanvasPage> RendererPenCanvas::canvasPages() const
{
    auto renderer = m_renderer.lock();
    return renderer ? renderer->penCanvasPages() : std::vector<lectoro::PenCanvasPage> {};
}

std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> RendererPenCanvas::drawingsOnPage(
    int64_t pageNumber) const
{
    auto renderer = m_renderer.lock();
    return renderer ? renderer->penDrawingsOnPage(pageNumber)
                    : std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> {};
}

void RendererPenCanvas::showDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>& drawing)
{
    if (auto renderer = m_renderer.lock())
        renderer->showPenDrawing(drawing);
}

void RendererPenCanvas::hideDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>& drawing)
{
    if (auto renderer = m_renderer.lock())
        renderer->hidePenDrawing(drawing);
}

} // namespace companion
