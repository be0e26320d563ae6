#pragma once

// Where the pen palettes sit in their full-screen container, by device and layout
// direction: each is centred horizontally (the thickness palette beside the tablet bar's
// thickness item) and stands above the pen bar.

#include <cstddef>

namespace lectoro {

struct PenPalettePlacement {
    // From the container's horizontal centre.
    double centerXOffset = 0;
    // From the container's bottom (negative: above it).
    double bottomOffset = 0;
    double width = 0;
    double height = 0;
};

// A tablet shows the colours in one row; a phone in rows of five.
PenPalettePlacement penColorPalettePlacement(size_t colourCount, bool pad);
PenPalettePlacement penThicknessPalettePlacement(bool pad, bool rightToLeft);

} // namespace lectoro
