#pragma once

// Where a view is in the key window, and a tap as a finger gives it: at a point of the
// window, reaching what is topmost there.

#include "platform/testing/Interaction.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

namespace lectoro::readaloudtest {

inline ui::Rect frameOnScreen(const ui::View& view)
{
    return view.convertRectTo(view.bounds(), ui::Environment::current().keyWindow().get());
}

inline bool onScreen(const ui::View& view)
{
    auto window = ui::Environment::current().keyWindow();
    for (const ui::View* current = &view; current; current = current->superview().get()) {
        if (current->isHidden())
            return false;
    }
    return window && view.isDescendantOf(window.get());
}

// A finger on the middle of the view: whatever is topmost there takes the tap (a control's
// enlarged tap area, say). False when the view is not on screen or has no size.
inline bool tapOnScreen(const ui::View& view)
{
    auto window = ui::Environment::current().keyWindow();
    if (!window || !onScreen(view))
        return false;
    const ui::Rect frame = frameOnScreen(view);
    if (frame.isEmpty() || !window->bounds().contains(frame.center()))
        return false;
    auto hit = window->hitTest(frame.center());
    return hit && uitest::tap(*hit);
}

} // namespace lectoro::readaloudtest
