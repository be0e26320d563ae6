#include "platform/ui/Slider.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ui {
namespace {

using Events = std::vector<std::string>;

void recordEvents(Slider& slider, Events& log)
{
    const std::pair<ControlEvent, const char*> names[] = {
        { ControlEvent::TouchDown, "down" },
        { ControlEvent::ValueChanged, "value" },
        { ControlEvent::TouchUpInside, "upInside" },
        { ControlEvent::TouchUpOutside, "upOutside" },
        { ControlEvent::TouchCancel, "cancel" },
    };
    for (const auto& [event, name] : names) {
        slider.addTarget(event, [&log, name = std::string(name)](Control& c) {
            char value[32];
            std::snprintf(value, sizeof value, "%s@%g", name.c_str(), static_cast<Slider&>(c).value());
            log.push_back(value);
        });
    }
}

TEST(SliderTest, ValueIsClampedToTheRange)
{
    auto slider = Slider::create();
    slider->setMinimumValue(1);
    slider->setMaximumValue(10);
    struct Case {
        double set;
        double expected;
    };
    for (Case c :
        { Case { 5, 5 }, Case { -3, 1 }, Case { 42, 10 }, Case { INFINITY, 10 }, Case { NAN, 10 } }) {
        slider->setValue(c.set);
        EXPECT_DOUBLE_EQ(slider->value(), c.expected) << c.set;
    }
    // Moving the range drags the value (and the other bound) along.
    slider->setMaximumValue(4);
    EXPECT_DOUBLE_EQ(slider->value(), 4);
    slider->setMinimumValue(6);
    EXPECT_DOUBLE_EQ(slider->maximumValue(), 6);
    EXPECT_DOUBLE_EQ(slider->value(), 6);
    slider->setMinimumValue(NAN);
    EXPECT_DOUBLE_EQ(slider->minimumValue(), 6);
}

TEST(SliderTest, SlidingSendsTheEventsAUserCauses)
{
    auto slider = Slider::create({ 0, 0, 200, 30 });
    Events log;
    recordEvents(*slider, log);
    slider->setValue(0.5); // code: no event
    EXPECT_TRUE(log.empty());

    EXPECT_TRUE(slider->simulateSlide({ 0.6, 0.6, 2.0 }));
    EXPECT_EQ(log, (Events { "down@0.5", "value@0.6", "value@1", "upInside@1" }));

    log.clear();
    slider->setContinuous(false);
    slider->simulateSlide({ 0.2, 0.3 }, false);
    EXPECT_EQ(log, (Events { "down@1", "value@0.3", "upOutside@0.3" }));

    log.clear();
    slider->simulateSlide({ 0.3 }); // nothing changed: no value event
    EXPECT_EQ(log, (Events { "down@0.3", "upInside@0.3" }));

    log.clear();
    slider->simulateSlideCancelled({ 0.9 });
    EXPECT_EQ(log, (Events { "down@0.3", "cancel@0.9" }));

    log.clear();
    slider->setEnabled(false);
    EXPECT_FALSE(slider->simulateSlide({ 0.1 }));
    EXPECT_TRUE(log.empty());
}

TEST(SliderTest, TrackAndThumbGeometry)
{
    auto slider = Slider::create({ 0, 0, 204, 30 });
    Rect bounds = slider->bounds();
    Rect track = slider->trackRect(bounds);
    EXPECT_EQ(track, Rect(2, 14, 200, 2));
    EXPECT_EQ(slider->thumbRect(bounds, track, 0), Rect(2, 1, 28, 28));
    EXPECT_EQ(slider->thumbRect(bounds, track, 1), Rect(174, 1, 28, 28));
    EXPECT_EQ(slider->thumbRect(bounds, track, 0.5), Rect(88, 1, 28, 28));
    slider->setThumbImage(Image::make("SliderThumbImage", { 20, 10 }));
    EXPECT_EQ(slider->thumbRect(bounds, track, 1), Rect(182, 10, 20, 10));
    EXPECT_EQ(slider->thumbImageForState(ControlState::Highlighted)->name(), "SliderThumbImage");
    EXPECT_DOUBLE_EQ(slider->valueForLocation(192), 1);
    EXPECT_DOUBLE_EQ(slider->valueForLocation(-50), 0);
    // An empty range puts the thumb at the start instead of dividing by zero.
    slider->setMaximumValue(0);
    EXPECT_EQ(slider->thumbRect(bounds, track, 0).origin.x, 2);
    EXPECT_EQ(slider->accessibilityTraits(), AccessibilityTraits::Adjustable);
}

} // namespace
} // namespace ui
