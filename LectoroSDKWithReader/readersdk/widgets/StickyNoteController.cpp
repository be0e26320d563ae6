#include "LectoroSDKWithReader/readersdk/widgets/StickyNoteController.h"

namespace lectoro {

std::shared_ptr<StickyNoteController> StickyNoteController::create(
    const ui::Rect& frame, std::weak_ptr<StickyNoteControllerDelegate> delegate)
{
    return std::shared_ptr<StickyNoteController>(new StickyNoteController(frame, std::move(delegate)));
}

StickyNoteController::StickyNoteController(
    const ui::Rect& frame, std::weak_ptr<StickyNoteControllerDelegate> delegate)
    : ui::View(frame)
    , m_delegate(std::move(delegate))
{
    setBackgroundColor(ui::Color::clear());
    setAccessibilityIdentifier("StickyNoteOverlay");
}

void StickyNoteController::tapAtPoint(const ui::Point& point)
{
    if (!bounds().contains(point))
        return;
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnStickNoteController(*this, point);
}

} // namespace lectoro
