#include "platform/ui/ProgressView.h"

#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ui {

std::shared_ptr<ProgressView> ProgressView::create(const Rect& frame)
{
    return std::shared_ptr<ProgressView>(new ProgressView(frame));
}

ProgressView::ProgressView(const Rect& frame)
    : View(frame)
{
}

void ProgressView::setProgress(double progress, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_progress = std::isnan(progress) ? 0 : std::clamp(progress, 0.0, 1.0);
    didChangeProperty("progress");
}

std::string ProgressView::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.0f%%", m_progress * 100);
    return buffer;
}

} // namespace ui
