#pragma once

namespace lectoro {

// The owner of a pen thickness palette.
class PointToolItemDelegate {
public:
    virtual ~PointToolItemDelegate() = default;

    // The thickness the user let go of, in points, unrounded.
    virtual void didSelectPenThickness(float thickness) = 0;
    // The palette's view is about to go.
    virtual void willDismissPenToolThicknessPalleteView() = 0;
};

} // namespace lectoro
