#include "platform/ui/ActivityIndicatorView.h"

#include "platform/base/Thread.h"

namespace ui {

namespace {

bool isLarge(ActivityIndicatorStyle style)
{
    return style == ActivityIndicatorStyle::Large || style == ActivityIndicatorStyle::WhiteLarge;
}

} // namespace

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::create(ActivityIndicatorStyle style)
{
    double side = isLarge(style) ? 37 : 20;
    return std::shared_ptr<ActivityIndicatorView>(new ActivityIndicatorView(style, { 0, 0, side, side }));
}

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::create(const Rect& frame)
{
    return std::shared_ptr<ActivityIndicatorView>(new ActivityIndicatorView(ActivityIndicatorStyle::Medium, frame));
}

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorStyle style, const Rect& frame)
    : View(frame)
    , m_style(style)
{
    setHidden(true);
    setUserInteractionEnabled(false);
}

void ActivityIndicatorView::setStyle(ActivityIndicatorStyle style)
{
    BASE_ASSERT_MAIN_THREAD();
    m_style = style;
}

Color ActivityIndicatorView::color() const
{
    if (m_color)
        return *m_color;
    bool white = m_style == ActivityIndicatorStyle::White || m_style == ActivityIndicatorStyle::WhiteLarge;
    return white ? Color::white() : Color::gray();
}

void ActivityIndicatorView::startAnimating()
{
    BASE_ASSERT_MAIN_THREAD();
    m_animating = true;
    setHidden(false);
}

void ActivityIndicatorView::stopAnimating()
{
    BASE_ASSERT_MAIN_THREAD();
    m_animating = false;
    if (m_hidesWhenStopped)
        setHidden(true);
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    BASE_ASSERT_MAIN_THREAD();
    m_hidesWhenStopped = hides;
    if (!m_animating)
        setHidden(hides);
}

Size ActivityIndicatorView::intrinsicContentSize() const
{
    double side = isLarge(m_style) ? 37 : 20;
    return { side, side };
}

} // namespace ui
