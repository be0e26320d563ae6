#include "platform/ui/VisualEffectView.h"

namespace ui {

std::shared_ptr<VisualEffectView> VisualEffectView::create(std::optional<BlurStyle> effect, const Rect& frame)
{
    auto view = std::shared_ptr<VisualEffectView>(new VisualEffectView(effect, frame));
    view->addSubview(view->m_contentView);
    return view;
}

VisualEffectView::VisualEffectView(std::optional<BlurStyle> effect, const Rect& frame)
    : View(frame)
    , m_effect(effect)
    , m_contentView(View::create({ Point(), frame.size }))
{
}

void VisualEffectView::layoutSubviews()
{
    m_contentView->setFrame(bounds());
}

void VisualEffectView::boundsSizeDidChange(const Size& oldSize)
{
    View::boundsSizeDidChange(oldSize);
    m_contentView->setFrame(bounds());
}

} // namespace ui
