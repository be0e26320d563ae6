#include "LectoroSDKWithReader/readersdk/PenToolController.h"

namespace lectoro {

ui::Point PenCanvasPage::toPage(const ui::Point& canvasPoint) const
{
    double scaleX = frame.size.width > 0 && pageSize.width > 0 ? pageSize.width / frame.size.width : 1;
    double scaleY = frame.size.height > 0 && pageSize.height > 0 ? pageSize.height / frame.size.height : 1;
    return { (canvasPoint.x - frame.origin.x) * scaleX, (canvasPoint.y - frame.origin.y) * scaleY };
}

std::optional<PenCanvasPage> PenDrawingCanvas::pageAtPoint(const ui::Point& point) const
{
    for (const auto& page : canvasPages()) {
        if (page.frame.contains(point))
            return page;
    }
    return std::nullopt;
}

} // namespace lectoro
