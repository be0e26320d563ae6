#include "LectoroSDKWithReader/annotations/pen/CustomSlider.h"

namespace lectoro {

std::shared_ptr<CustomSlider> CustomSlider::create(const ui::Rect& frame)
{
    return std::shared_ptr<CustomSlider>(new CustomSlider(frame));
}

ui::Rect CustomSlider::trackRect(const ui::Rect& bounds) const
{
    return ui::Rect { bounds.origin, { bounds.size.width, trackHeight } };
}

} // namespace lectoro
