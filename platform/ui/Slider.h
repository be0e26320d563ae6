#pragma once

// A horizontal slider between a minimum and a maximum value.
//
// Geometry (documented so layout numbers are stable):
//  - trackRect(bounds) = (bounds.x + 2, bounds.midY − 1, bounds.width − 4, 2)
//  - the thumb is the current thumb image's size, or 28 × 28 without one;
//    thumbRect(bounds, track, value) has x = track.minX + f × (track.width − thumb.width)
//    where f = (value − min) / (max − min) (0 when max = min), and is centred on the
//    track vertically.

#include "platform/base/Thread.h"
#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

#include <map>
#include <optional>
#include <vector>

namespace ui {

class Slider : public Control {
public:
    static std::shared_ptr<Slider> create(const Rect& frame = {});
    std::string_view className() const override { return "Slider"; }

    double value() const { return m_value; }
    // Clamped to [minimum, maximum]; a NaN is ignored. Sends no event (as on the platform).
    void setValue(double value, bool animated = false);
    double minimumValue() const { return m_minimum; }
    // Raising the minimum above the maximum raises the maximum with it; the value is
    // clamped again.
    void setMinimumValue(double);
    double maximumValue() const { return m_maximum; }
    void setMaximumValue(double);
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool continuous) { BASE_ASSERT_MAIN_THREAD(); m_continuous = continuous; }

    std::optional<Color> minimumTrackTintColor() const { return m_minimumTrackTint; }
    void setMinimumTrackTintColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_minimumTrackTint = color;
    }
    std::optional<Color> maximumTrackTintColor() const { return m_maximumTrackTint; }
    void setMaximumTrackTintColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_maximumTrackTint = color;
    }
    std::optional<Color> thumbTintColor() const { return m_thumbTint; }
    void setThumbTintColor(std::optional<Color> color) { BASE_ASSERT_MAIN_THREAD(); m_thumbTint = color; }

    // Per state, falling back to normal.
    void setThumbImage(ImagePtr, ControlState = ControlState::Normal);
    ImagePtr thumbImageForState(ControlState) const;
    ImagePtr currentThumbImage() const;
    void setMinimumTrackImage(ImagePtr, ControlState = ControlState::Normal);
    ImagePtr minimumTrackImageForState(ControlState) const;
    void setMaximumTrackImage(ImagePtr, ControlState = ControlState::Normal);
    ImagePtr maximumTrackImageForState(ControlState) const;

    virtual Rect trackRect(const Rect& bounds) const;
    virtual Rect thumbRect(const Rect& bounds, const Rect& trackRect, double value) const;
    // The value under an x position of the bounds (clamped), the inverse of thumbRect.
    double valueForLocation(double x) const;

    // A drag as a user makes it: touch-down, then for each value the slider moves to it
    // (value-changed after each step when continuous, once at the end otherwise, and only
    // for steps that changed the value), then touch-up-inside, or touch-up-outside when
    // `endInside` is false. Nothing when the slider cannot be touched (answers false).
    bool simulateSlide(const std::vector<double>& values, bool endInside = true);
    // Touch-down, moves, then touch-cancel: the value stays where it was moved.
    bool simulateSlideCancelled(const std::vector<double>& values);

    Size intrinsicContentSize() const override;
    std::string accessibilityValue() const override;
    AccessibilityTraits accessibilityTraits() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit Slider(const Rect& frame);

private:
    bool moveThrough(const std::vector<double>& values);

    double m_value = 0;
    double m_minimum = 0;
    double m_maximum = 1;
    bool m_continuous = true;
    std::optional<Color> m_minimumTrackTint;
    std::optional<Color> m_maximumTrackTint;
    std::optional<Color> m_thumbTint;
    std::map<ControlState, ImagePtr> m_thumbImages;
    std::map<ControlState, ImagePtr> m_minimumTrackImages;
    std::map<ControlState, ImagePtr> m_maximumTrackImages;
};

} // namespace ui
