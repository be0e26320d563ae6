#pragma once

// A slider with a thin track: whatever its bounds, the track keeps their origin and width
// and is exactly 4 points high.

#include "platform/ui/Slider.h"

namespace lectoro {

class CustomSlider : public ui::Slider {
public:
    static constexpr double trackHeight = 4.0;

    static std::shared_ptr<CustomSlider> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "CustomSlider"; }

    ui::Rect trackRect(const ui::Rect& bounds) const override;

protected:
    using ui::Slider::Slider;
};

} // namespace lectoro
