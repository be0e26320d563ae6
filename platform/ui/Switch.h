#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/Control.h"

#include <optional>

namespace ui {

// An on/off switch. A tap toggles it and sends value-changed (before touch-up-inside).
class Switch : public Control {
public:
    static std::shared_ptr<Switch> create(const Rect& frame = {});
    std::string_view className() const override { return "Switch"; }

    bool isOn() const { return m_on; }
    // Sends no event (as on the platform).
    void setOn(bool on, bool animated = false);

    std::optional<Color> onTintColor() const { return m_onTint; }
    void setOnTintColor(std::optional<Color> color) { BASE_ASSERT_MAIN_THREAD(); m_onTint = color; }
    std::optional<Color> thumbTintColor() const { return m_thumbTint; }
    void setThumbTintColor(std::optional<Color> color) { BASE_ASSERT_MAIN_THREAD(); m_thumbTint = color; }

    // The platform's fixed switch size.
    Size intrinsicContentSize() const override { return { 51, 31 }; }
    Size sizeThatFits(const Size&) const override { return { 51, 31 }; }

    std::string accessibilityValue() const override;
    AccessibilityTraits accessibilityTraits() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit Switch(const Rect& frame);
    void tapDidHappenInside() override;

private:
    bool m_on = false;
    std::optional<Color> m_onTint;
    std::optional<Color> m_thumbTint;
};

} // namespace ui
