#include "LectoroSDKWithReader/annotations/pen/PenPaletteLayout.h"

namespace lectoro {

namespace {

constexpr double padPaletteBottom = -65;
constexpr double phonePaletteBottom = -55;

} // namespace

PenPalettePlacement penColorPalettePlacement(size_t colourCount, bool pad)
{
    const double count = static_cast<double>(colourCount);
    PenPalettePlacement placement;
    placement.bottomOffset = pad ? padPaletteBottom : phonePaletteBottom;
    if (pad) {
        placement.width = count * 62;
        placement.height = 64;
        return placement;
    }
    placement.width = (colourCount < 6 ? count * 58.4 : 292) + 8;
    placement.height = colourCount > 5 ? 112 : 62;
    return placement;
}

PenPalettePlacement penThicknessPalettePlacement(bool pad, bool rightToLeft)
{
    PenPalettePlacement placement;
    placement.bottomOffset = pad ? padPaletteBottom : phonePaletteBottom;
    if (pad)
        placement.centerXOffset = rightToLeft ? -218 : 218;
    placement.width = pad ? 238 : 214;
    placement.height = pad ? 62 : 54;
    return placement;
}

} // namespace lectoro
