#pragma once

// Controls: views with state (enabled, selected, highlighted) that send actions for
// events to the targets added to them.

#include "platform/ui/View.h"

#include <cstdint>
#include <functional>

namespace ui {

enum class ControlEvent : uint32_t {
    None = 0,
    TouchDown = 1 << 0,
    TouchDownRepeat = 1 << 1,
    TouchDragInside = 1 << 2,
    TouchDragOutside = 1 << 3,
    TouchDragEnter = 1 << 4,
    TouchDragExit = 1 << 5,
    TouchUpInside = 1 << 6,
    TouchUpOutside = 1 << 7,
    TouchCancel = 1 << 8,
    ValueChanged = 1 << 12,
    PrimaryActionTriggered = 1 << 13,
    EditingDidBegin = 1 << 16,
    EditingChanged = 1 << 17,
    EditingDidEnd = 1 << 18,
    EditingDidEndOnExit = 1 << 19,
    AllTouchEvents = 0x0FFF,
    AllEditingEvents = 0x000F0000,
    AllEvents = 0xFFFFFFFF,
};
UI_DEFINE_BITMASK_OPERATORS(ControlEvent)

enum class ControlState : uint32_t {
    Normal = 0,
    Highlighted = 1 << 0,
    Disabled = 1 << 1,
    Selected = 1 << 2,
    Focused = 1 << 3,
};
UI_DEFINE_BITMASK_OPERATORS(ControlState)

enum class ContentHorizontalAlignment { Center, Left, Right, Fill, Leading, Trailing };
enum class ContentVerticalAlignment { Center, Top, Bottom, Fill };

class Control : public View {
public:
    using Action = std::function<void(Control&)>;
    using TargetId = uint64_t;

    static std::shared_ptr<Control> create(const Rect& frame = {});
    std::string_view className() const override { return "Control"; }

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool);
    // Disabled, highlighted and selected bits of the current flags.
    ControlState state() const;

    ContentHorizontalAlignment contentHorizontalAlignment() const { return m_horizontalAlignment; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment);
    ContentVerticalAlignment contentVerticalAlignment() const { return m_verticalAlignment; }
    void setContentVerticalAlignment(ContentVerticalAlignment);

    // The action runs for each of the events in the mask, in the order targets were added.
    // Answers an id (never 0) for removeTarget.
    TargetId addTarget(ControlEvent events, Action);
    void removeTarget(TargetId);
    // Removes every target for any of these events.
    void removeTargets(ControlEvent events);
    ControlEvent allControlEvents() const;
    size_t targetCount(ControlEvent event) const;

    // Runs the actions registered for the event; the control stays alive while they run
    // and actions added or removed meanwhile take effect at the next send.
    void sendActions(ControlEvent);

    // A tap as a user makes it: nothing when the control is disabled, hidden or not
    // interactive (answers false); otherwise touch-down, highlight, touch-up-inside (or
    // touch-up-outside when `inside` is false) and primary-action-triggered. Controls with
    // a value change it on the way (a switch toggles, then value-changed).
    virtual bool simulateTap(bool inside = true);

    AccessibilityTraits accessibilityTraits() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit Control(const Rect& frame);
    // Called on every flag change (enabled, selected, highlighted).
    virtual void stateDidChange() { }
    // Between touch-down and touch-up of a tap inside; a switch toggles here.
    virtual void tapDidHappenInside() { }
    bool canReceiveTap() const;

private:
    struct Target {
        TargetId id;
        ControlEvent events;
        Action action;
    };

    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
    ContentHorizontalAlignment m_horizontalAlignment = ContentHorizontalAlignment::Center;
    ContentVerticalAlignment m_verticalAlignment = ContentVerticalAlignment::Center;
    std::vector<Target> m_targets;
    TargetId m_nextTargetId = 1;
};

} // namespace ui
