#include "companion/controllers/PenToolDrawingController.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <cmath>

namespace companion {

namespace {

using lectoro::SDKPentoolVO;

double distanceToSegment(const ui::Point& point, const ui::Point& a, const ui::Point& b)
{
    double dx = b.x - a.x;
    double dy = b.y - a.y;
    double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0
        ? std::clamp(((point.x - a.x) * dx + (point.y - a.y) * dy) / lengthSquared, 0.0, 1.0)
        : 0;
    return std::hypot(point.x - (a.x + t * dx), point.y - (a.y + t * dy));
}

double cross(const ui::Point& o, const ui::Point& a, const ui::Point& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double distanceBetweenSegments(const ui::Point& a, const ui::Point& b, const ui::Point& c, const ui::Point& d)
{
    double d1 = cross(c, d, a);
    double d2 = cross(c, d, b);
    double d3 = cross(a, b, c);
    double d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return 0;
    return std::min({ distanceToSegment(a, c, d), distanceToSegment(b, c, d), distanceToSegment(c, a, b),
        distanceToSegment(d, a, b) });
}

// Distance from a stroke segment (a single point when a == b) to the eraser's path.
double distanceToPath(const ui::Point& a, const ui::Point& b, const std::vector<ui::Point>& path)
{
    double best = INFINITY;
    if (path.size() == 1)
        return distanceToSegment(path.front(), a, b);
    for (size_t index = 1; index < path.size(); ++index)
        best = std::min(best, distanceBetweenSegments(a, b, path[index - 1], path[index]));
    return best;
}

ui::Point clampedToPage(const ui::Point& point, const ui::Size& size)
{
    if (size.width <= 0 || size.height <= 0)
        return point;
    return { std::clamp(point.x, 0.0, size.width), std::clamp(point.y, 0.0, size.height) };
}

} // namespace

void PenToolDrawingController::setPenDrawingCanvas(std::shared_ptr<ui::View> canvas)
{
    touchesCancelled();
    m_canvas = std::dynamic_pointer_cast<lectoro::PenDrawingCanvas>(canvas);
}

void PenToolDrawingController::setPenMode(int64_t mode)
{
    if (mode != lectoro::PenToolModeDraw && mode != lectoro::PenToolModeErase
        && mode != lectoro::PenToolModeNone)
        return;
    if (mode != m_penMode)
        touchesCancelled();
    m_penMode = mode;
}

void PenToolDrawingController::touchesBegan(const ui::Point& point)
{
    touchesCancelled();
    auto canvas = m_canvas.lock();
    if (!canvas || m_penMode == lectoro::PenToolModeNone)
        return;
    auto page = canvas->pageAtPoint(point);
    if (!page)
        return;
    m_touchPage = page;
    ui::Point onPage = clampedToPage(page->toPage(point), page->pageSize);
    if (m_penMode == lectoro::PenToolModeErase) {
        m_eraserPath = { onPage };
        return;
    }
    m_stroke = std::make_shared<SDKPentoolVO>();
    m_stroke->pageIdentifier = page->pageIdentifier;
    m_stroke->displayNum = page->displayNum;
    m_stroke->penColor = m_penColor;
    m_stroke->thickness = m_thickness;
    m_stroke->isTeacherReview = m_drawingMode == lectoro::PenToolDrawingModeReview;
    m_stroke->points = { onPage };
}

void PenToolDrawingController::touchesMoved(const ui::Point& point)
{
    if (!m_touchPage)
        return;
    ui::Point onPage = clampedToPage(m_touchPage->toPage(point), m_touchPage->pageSize);
    if (m_stroke)
        m_stroke->points.push_back(onPage);
    else
        m_eraserPath.push_back(onPage);
}

void PenToolDrawingController::touchesEnded()
{
    if (!m_touchPage)
        return;
    if (m_stroke)
        finishStroke();
    else
        finishErasing();
    touchesCancelled();
}

void PenToolDrawingController::touchesCancelled()
{
    m_touchPage.reset();
    m_stroke = nullptr;
    m_eraserPath.clear();
}

void PenToolDrawingController::finishStroke()
{
    auto canvas = m_canvas.lock();
    auto record = m_stroke;
    if (!canvas || !record)
        return;
    record->localID = base::makeUuid();
    record->createdDate = lectoro::currentUGCDateString();
    record->status = lectoro::UGCStatusNew;
    record->isSynced = false;
    canvas->showDrawing(record);
    bool wasUndoable = isUndoable();
    m_history.push_back({ { record, std::nullopt } });
    reportCreated(record);
    reportUndoable(wasUndoable);
}

void PenToolDrawingController::finishErasing()
{
    auto canvas = m_canvas.lock();
    if (!canvas || m_eraserPath.empty())
        return;
    Step step;
    for (const auto& drawing : canvas->drawingsOnPage(m_touchPage->pageNumber)) {
        if (!drawing || drawing->points.empty())
            continue;
        const auto& points = drawing->points;
        double reach = drawing->thickness / 2 + eraserRadius;
        // Which points the eraser passed, and which lines between them it crossed.
        std::vector<bool> pointHit(points.size());
        std::vector<bool> lineHit(points.size());
        bool touched = false;
        for (size_t index = 0; index < points.size(); ++index) {
            pointHit[index] = distanceToPath(points[index], points[index], m_eraserPath) <= reach;
            if (index > 0)
                lineHit[index] = distanceToPath(points[index - 1], points[index], m_eraserPath) <= reach;
            touched = touched || pointHit[index] || lineHit[index];
        }
        if (!touched)
            continue;
        SDKPentoolVO before = *drawing;
        if (m_deleteOnSelection) {
            deleteRecord(drawing);
            step.push_back({ drawing, before });
            continue;
        }
        // Cut the touched part out; what is left falls apart into pieces.
        std::vector<std::vector<ui::Point>> pieces;
        bool open = false;
        for (size_t index = 0; index < points.size(); ++index) {
            if (pointHit[index]) {
                open = false;
                continue;
            }
            if (!open || (index > 0 && lineHit[index]))
                pieces.emplace_back();
            pieces.back().push_back(points[index]);
            open = true;
        }
        if (pieces.empty()) {
            deleteRecord(drawing);
            step.push_back({ drawing, before });
            continue;
        }
        drawing->points = pieces.front();
        drawing->status = drawing->isUploaded() ? lectoro::UGCStatusUpdated : drawing->status;
        drawing->isSynced = false;
        drawing->modifiedDate = lectoro::currentUGCDateString();
        canvas->showDrawing(drawing);
        step.push_back({ drawing, before });
        reportUpdated(drawing);
        for (size_t index = 1; index < pieces.size(); ++index) {
            auto piece = std::make_shared<SDKPentoolVO>(before);
            piece->localID = base::makeUuid();
            piece->ugcID = lectoro::UGCNotUploadedID;
            piece->status = lectoro::UGCStatusNew;
            piece->isSynced = false;
            piece->createdDate = lectoro::currentUGCDateString();
            piece->modifiedDate.clear();
            piece->points = pieces[index];
            canvas->showDrawing(piece);
            step.push_back({ piece, std::nullopt });
            reportCreated(piece);
        }
    }
    pushStep(std::move(step));
}

void PenToolDrawingController::deleteActivePagePenDrawings()
{
    auto canvas = m_canvas.lock();
    if (!canvas)
        return;
    touchesCancelled();
    Step step;
    for (const auto& page : canvas->canvasPages()) {
        for (const auto& drawing : canvas->drawingsOnPage(page.pageNumber)) {
            if (!drawing)
                continue;
            SDKPentoolVO before = *drawing;
            deleteRecord(drawing);
            step.push_back({ drawing, before });
        }
    }
    pushStep(std::move(step));
}

void PenToolDrawingController::undoDrawing()
{
    if (m_history.empty())
        return;
    touchesCancelled();
    Step step = std::move(m_history.back());
    m_history.pop_back();
    auto canvas = m_canvas.lock();
    for (auto change = step.rbegin(); change != step.rend(); ++change) {
        const auto& record = change->record;
        if (!change->before) {
            deleteRecord(record);
            continue;
        }
        // The record comes back as it was; a deletion already reported makes it new again
        // for the store unless the server knows it.
        *record = *change->before;
        record->status = record->isUploaded() ? lectoro::UGCStatusUpdated : lectoro::UGCStatusNew;
        record->isSynced = false;
        record->modifiedDate = lectoro::currentUGCDateString();
        if (canvas)
            canvas->showDrawing(record);
        reportUpdated(record);
    }
    reportUndoable(true);
}

void PenToolDrawingController::pushStep(Step step)
{
    if (step.empty())
        return;
    bool wasUndoable = isUndoable();
    m_history.push_back(std::move(step));
    reportUndoable(wasUndoable);
}

void PenToolDrawingController::deleteRecord(const std::shared_ptr<SDKPentoolVO>& record)
{
    record->status = lectoro::UGCStatusDeleted;
    record->isSynced = false;
    record->modifiedDate = lectoro::currentUGCDateString();
    if (auto canvas = m_canvas.lock())
        canvas->hideDrawing(record);
    reportUpdated(record);
}

void PenToolDrawingController::reportCreated(const std::shared_ptr<SDKPentoolVO>& record)
{
    if (auto delegate = m_delegate.lock())
        delegate->didCreatePenDrawing(record);
}

void PenToolDrawingController::reportUpdated(const std::shared_ptr<SDKPentoolVO>& record)
{
    if (auto delegate = m_delegate.lock())
        delegate->didUpdatePenDrawing(record);
}

void PenToolDrawingController::reportUndoable(bool wasUndoable)
{
    if (wasUndoable == isUndoable())
        return;
    if (auto delegate = m_delegate.lock())
        delegate->didChangeUndoableStatus();
}

} // namespace companion
