#include "platform/ui/Slider.h"

#include "platform/base/Thread.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ui {

namespace {

ImagePtr imageForState(const std::map<ControlState, ImagePtr>& images, ControlState state)
{
    if (auto it = images.find(state); it != images.end())
        return it->second;
    if (auto it = images.find(ControlState::Normal); it != images.end())
        return it->second;
    return nullptr;
}

void setImageForState(std::map<ControlState, ImagePtr>& images, ImagePtr image, ControlState state)
{
    if (image)
        images[state] = std::move(image);
    else
        images.erase(state);
}

} // namespace

std::shared_ptr<Slider> Slider::create(const Rect& frame)
{
    return std::shared_ptr<Slider>(new Slider(frame));
}

Slider::Slider(const Rect& frame)
    : Control(frame)
{
}

void Slider::setValue(double value, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (std::isnan(value))
        return;
    m_value = std::clamp(value, m_minimum, m_maximum);
    didChangeProperty("value");
}

void Slider::setMinimumValue(double minimum)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!std::isfinite(minimum))
        return;
    m_minimum = minimum;
    m_maximum = std::max(m_maximum, minimum);
    m_value = std::clamp(m_value, m_minimum, m_maximum);
}

void Slider::setMaximumValue(double maximum)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!std::isfinite(maximum))
        return;
    m_maximum = maximum;
    m_minimum = std::min(m_minimum, maximum);
    m_value = std::clamp(m_value, m_minimum, m_maximum);
}

void Slider::setThumbImage(ImagePtr image, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    setImageForState(m_thumbImages, std::move(image), state);
}

ImagePtr Slider::thumbImageForState(ControlState state) const
{
    return imageForState(m_thumbImages, state);
}

ImagePtr Slider::currentThumbImage() const
{
    ControlState state = this->state();
    if (hasFlags(state, ControlState::Disabled))
        state = ControlState::Disabled;
    return thumbImageForState(state);
}

void Slider::setMinimumTrackImage(ImagePtr image, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    setImageForState(m_minimumTrackImages, std::move(image), state);
}

ImagePtr Slider::minimumTrackImageForState(ControlState state) const
{
    return imageForState(m_minimumTrackImages, state);
}

void Slider::setMaximumTrackImage(ImagePtr image, ControlState state)
{
    BASE_ASSERT_MAIN_THREAD();
    setImageForState(m_maximumTrackImages, std::move(image), state);
}

ImagePtr Slider::maximumTrackImageForState(ControlState state) const
{
    return imageForState(m_maximumTrackImages, state);
}

Rect Slider::trackRect(const Rect& bounds) const
{
    Rect b = bounds.standardized();
    return { b.minX() + 2, b.midY() - 1, std::max(0.0, b.width() - 4), 2 };
}

Rect Slider::thumbRect(const Rect&, const Rect& track, double value) const
{
    Size thumb(28, 28);
    if (auto image = currentThumbImage())
        thumb = image->size();
    double range = m_maximum - m_minimum;
    double fraction = range > 0 ? (std::clamp(value, m_minimum, m_maximum) - m_minimum) / range : 0;
    double x = track.minX() + fraction * (track.width() - thumb.width);
    return { x, track.midY() - thumb.height / 2, thumb.width, thumb.height };
}

double Slider::valueForLocation(double x) const
{
    Rect b = bounds();
    Rect track = trackRect(b);
    Size thumb = thumbRect(b, track, m_minimum).size;
    double span = track.width() - thumb.width;
    if (span <= 0)
        return m_minimum;
    double fraction = std::clamp((x - track.minX() - thumb.width / 2) / span, 0.0, 1.0);
    return m_minimum + fraction * (m_maximum - m_minimum);
}

bool Slider::moveThrough(const std::vector<double>& values)
{
    bool changed = false;
    for (double value : values) {
        double before = m_value;
        setValue(value);
        if (m_value != before) {
            changed = true;
            if (m_continuous)
                sendActions(ControlEvent::ValueChanged);
        }
    }
    return changed;
}

bool Slider::simulateSlide(const std::vector<double>& values, bool endInside)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!canReceiveTap())
        return false;
    auto keepAlive = shared_from_this();
    setHighlighted(true);
    sendActions(ControlEvent::TouchDown);
    bool changed = moveThrough(values);
    setHighlighted(false);
    if (changed && !m_continuous)
        sendActions(ControlEvent::ValueChanged);
    sendActions(endInside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
    return true;
}

bool Slider::simulateSlideCancelled(const std::vector<double>& values)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!canReceiveTap())
        return false;
    auto keepAlive = shared_from_this();
    setHighlighted(true);
    sendActions(ControlEvent::TouchDown);
    moveThrough(values);
    setHighlighted(false);
    sendActions(ControlEvent::TouchCancel);
    return true;
}

Size Slider::intrinsicContentSize() const
{
    return { noIntrinsicMetric, 34 };
}

std::string Slider::accessibilityValue() const
{
    if (explicitAccessibilityValue())
        return *explicitAccessibilityValue();
    double range = m_maximum - m_minimum;
    double percent = range > 0 ? (m_value - m_minimum) / range * 100 : 0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f%%", percent);
    return buffer;
}

AccessibilityTraits Slider::accessibilityTraits() const
{
    AccessibilityTraits traits = explicitAccessibilityTraits().value_or(AccessibilityTraits::Adjustable);
    if (!isEnabled())
        traits |= AccessibilityTraits::NotEnabled;
    return traits;
}

bool Slider::isAccessibilityElement() const
{
    return explicitIsAccessibilityElement().value_or(true);
}

} // namespace ui
