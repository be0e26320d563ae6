#include "platform/ui/PageControl.h"

#include "platform/base/Thread.h"

#include <algorithm>

namespace ui {

std::shared_ptr<PageControl> PageControl::create(const Rect& frame)
{
    return std::shared_ptr<PageControl>(new PageControl(frame));
}

PageControl::PageControl(const Rect& frame)
    : Control(frame)
{
}

void PageControl::setNumberOfPages(int pages)
{
    BASE_ASSERT_MAIN_THREAD();
    m_numberOfPages = std::max(0, pages);
    setCurrentPage(m_currentPage);
}

void PageControl::setCurrentPage(int page)
{
    BASE_ASSERT_MAIN_THREAD();
    m_currentPage = std::clamp(page, 0, std::max(0, m_numberOfPages - 1));
    didChangeProperty("currentPage");
}

bool PageControl::simulateSelectPage(int page)
{
    BASE_ASSERT_MAIN_THREAD();
    if (page < 0 || page >= m_numberOfPages || !canReceiveTap())
        return false;
    auto keepAlive = shared_from_this();
    sendActions(ControlEvent::TouchDown);
    bool changed = page != m_currentPage;
    setCurrentPage(page);
    if (changed)
        sendActions(ControlEvent::ValueChanged);
    sendActions(ControlEvent::TouchUpInside);
    return true;
}

Size PageControl::sizeForNumberOfPages(int pages) const
{
    if (pages <= 0)
        return { 0, 37 };
    return { 16.0 * pages, 37 };
}

std::string PageControl::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    return "page " + std::to_string(m_currentPage + 1) + " of " + std::to_string(m_numberOfPages);
}

AccessibilityTraits PageControl::accessibilityTraits() const
{
    return explicitAccessibilityTraits().value_or(AccessibilityTraits::Adjustable);
}

bool PageControl::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
