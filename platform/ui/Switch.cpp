#include "platform/ui/Switch.h"

#include "platform/base/Thread.h"

namespace ui {

std::shared_ptr<Switch> Switch::create(const Rect& frame)
{
    return std::shared_ptr<Switch>(new Switch(frame));
}

Switch::Switch(const Rect& frame)
    : Control(frame)
{
}

void Switch::setOn(bool on, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_on = on;
    didChangeProperty("on");
}

void Switch::tapDidHappenInside()
{
    setOn(!m_on);
    sendActions(ControlEvent::ValueChanged);
}

std::string Switch::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    return m_on ? "1" : "0";
}

AccessibilityTraits Switch::accessibilityTraits() const
{
    AccessibilityTraits traits = explicitAccessibilityTraits().value_or(AccessibilityTraits::Button);
    if (!isEnabled())
        traits |= AccessibilityTraits::NotEnabled;
    return traits;
}

bool Switch::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
