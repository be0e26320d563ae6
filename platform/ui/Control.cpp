#include "platform/ui/Control.h"

#include "platform/base/Thread.h"

#include <algorithm>

namespace ui {

std::shared_ptr<Control> Control::create(const Rect& frame)
{
    return std::shared_ptr<Control>(new Control(frame));
}

Control::Control(const Rect& frame)
    : View(frame)
{
}

void Control::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    stateDidChange();
    didChangeProperty("enabled");
}

void Control::setSelected(bool selected)
{
    BASE_ASSERT_MAIN_THREAD();
    if (selected == m_selected)
        return;
    m_selected = selected;
    stateDidChange();
    didChangeProperty("selected");
}

void Control::setHighlighted(bool highlighted)
{
    BASE_ASSERT_MAIN_THREAD();
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    stateDidChange();
    didChangeProperty("highlighted");
}

ControlState Control::state() const
{
    ControlState state = ControlState::Normal;
    if (!m_enabled)
        state |= ControlState::Disabled;
    if (m_highlighted)
        state |= ControlState::Highlighted;
    if (m_selected)
        state |= ControlState::Selected;
    return state;
}

void Control::setContentHorizontalAlignment(ContentHorizontalAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_horizontalAlignment = alignment;
    setNeedsLayout();
}

void Control::setContentVerticalAlignment(ContentVerticalAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    m_verticalAlignment = alignment;
    setNeedsLayout();
}

Control::TargetId Control::addTarget(ControlEvent events, Action action)
{
    BASE_ASSERT_MAIN_THREAD();
    TargetId id = m_nextTargetId++;
    if (action && events != ControlEvent::None)
        m_targets.push_back({ id, events, std::move(action) });
    return id;
}

void Control::removeTarget(TargetId id)
{
    BASE_ASSERT_MAIN_THREAD();
    m_targets.erase(std::remove_if(m_targets.begin(), m_targets.end(), [&](const Target& t) { return t.id == id; }),
        m_targets.end());
}

void Control::removeTargets(ControlEvent events)
{
    BASE_ASSERT_MAIN_THREAD();
    for (auto& target : m_targets)
        target.events &= ~events;
    m_targets.erase(std::remove_if(m_targets.begin(), m_targets.end(),
                        [](const Target& t) { return t.events == ControlEvent::None; }),
        m_targets.end());
}

ControlEvent Control::allControlEvents() const
{
    ControlEvent all = ControlEvent::None;
    for (const auto& target : m_targets)
        all |= target.events;
    return all;
}

size_t Control::targetCount(ControlEvent event) const
{
    return static_cast<size_t>(std::count_if(m_targets.begin(), m_targets.end(),
        [&](const Target& t) { return (t.events & event) != ControlEvent::None; }));
}

void Control::sendActions(ControlEvent event)
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = weak_from_this().lock();
    std::vector<Action> actions;
    for (const auto& target : m_targets) {
        if ((target.events & event) != ControlEvent::None)
            actions.push_back(target.action);
    }
    for (auto& action : actions)
        action(*this);
}

bool Control::canReceiveTap() const
{
    if (!m_enabled || !isUserInteractionEnabled())
        return false;
    // A control inside a hidden or non-interactive ancestor cannot be touched either.
    for (auto view = weak_from_this().lock(); view; view = view->superview()) {
        if (view->isHidden() || view->alpha() < 0.01 || !view->isUserInteractionEnabled())
            return false;
    }
    return true;
}

bool Control::simulateTap(bool inside)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!canReceiveTap())
        return false;
    auto keepAlive = weak_from_this().lock();
    setHighlighted(true);
    sendActions(ControlEvent::TouchDown);
    setHighlighted(false);
    if (!inside) {
        sendActions(ControlEvent::TouchUpOutside);
        return true;
    }
    tapDidHappenInside();
    sendActions(ControlEvent::TouchUpInside);
    sendActions(ControlEvent::PrimaryActionTriggered);
    return true;
}

AccessibilityTraits Control::accessibilityTraits() const
{
    AccessibilityTraits traits = View::accessibilityTraits();
    if (!m_enabled)
        traits |= AccessibilityTraits::NotEnabled;
    if (m_selected)
        traits |= AccessibilityTraits::Selected;
    return traits;
}

bool Control::isAccessibilityElement() const
{
    return View::isAccessibilityElement();
}

} // namespace ui
