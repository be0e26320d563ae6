#pragma once

// The full-view container the reader's small palettes open in (the pen's colours and
// thickness, read-aloud's highlight colours, teacher review's pen colours): it covers the
// reader's view, holds the palette's view against its bottom, and closes at the first
// touch anywhere outside the palette (a press of no duration), while touches on the
// palette reach the palette.

#include <functional>
#include <memory>
#include <optional>

namespace ui {
class View;
}

namespace lectoro {

struct PalettePlacement {
    // From the container's horizontal centre, unless `leading` places the palette's
    // leading edge from the container's.
    double centerXOffset = 0;
    std::optional<double> leading;
    // From the container's bottom (negative: above it).
    double bottomOffset = 0;
    double width = 0;
    double height = 0;
};

// The container, added to `over`; `closeRequested` runs on a touch outside the palette
// (the owner removes the container). Null when either view is missing.
std::shared_ptr<ui::View> showPaletteInContainer(const std::shared_ptr<ui::View>& over,
    const std::shared_ptr<ui::View>& paletteView, const PalettePlacement&, std::function<void()> closeRequested);

} // namespace lectoro
