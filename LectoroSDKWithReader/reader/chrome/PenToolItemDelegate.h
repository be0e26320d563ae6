#pragma once

#include <string>

namespace lectoro {

// The owner of a pen colour palette.
class PenToolItemDelegate {
public:
    virtual ~PenToolItemDelegate() = default;

    // The colour tapped, exactly as the palette was given it.
    virtual void didSelectPenColor(const std::string& color) = 0;
    // The palette's view is about to go.
    virtual void willDismissPenToolColorPalleteView() = 0;
};

} // namespace lectoro
