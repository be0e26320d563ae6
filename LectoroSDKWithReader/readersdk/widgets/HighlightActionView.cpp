#include "LectoroSDKWithReader/readersdk/widgets/HighlightActionView.h"

namespace lectoro {

std::shared_ptr<HighlightActionView> HighlightActionView::create(const ui::Rect& frame)
{
    return std::shared_ptr<HighlightActionView>(new HighlightActionView(frame));
}

HighlightActionView::HighlightActionView(const ui::Rect& frame)
    : ui::View(frame)
{
}

void HighlightActionView::closeHighlightView()
{
    // Keep ourselves alive while the delegate reacts (it may drop its reference).
    auto protect = std::static_pointer_cast<HighlightActionView>(shared_from_this());
    removeFromSuperview();
    m_highlightVO = nullptr;
    if (auto delegate = m_delegate.lock())
        delegate->didHighlightClosed();
}

} // namespace lectoro
