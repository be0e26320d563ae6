#pragma once

// Taps that go where a finger would: tapAsUser() first lays the window out as a touch does,
// checks that the view is in the key window, has an area and is the topmost view under its
// middle, then taps it.

#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <string>

namespace lectoro::testing {

// Whether a finger on the middle of the view reaches it: the view is in the key window,
// has an area, and is (or holds) the topmost view there.
inline ::testing::AssertionResult isTappableAsUser(ui::View& view)
{
    uitest::settleLayout();
    auto window = ui::Environment::current().keyWindow();
    if (!window || !view.isDescendantOf(window.get()))
        return ::testing::AssertionFailure() << view.className() << " is not in the key window";
    const ui::Rect bounds = view.bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0)
        return ::testing::AssertionFailure() << view.className() << " has no area";
    const ui::Point middle = view.convertPointTo(bounds.center(), window.get());
    auto hit = window->hitTest(middle);
    if (!hit)
        return ::testing::AssertionFailure() << "nothing takes a touch on " << view.className();
    if (hit.get() != &view && !hit->isDescendantOf(&view)) {
        // Named with its ancestors, so the covering view can be found.
        std::string chain;
        for (auto current = hit; current; current = current->superview())
            chain += std::string(chain.empty() ? "" : " < ") + std::string(current->className());
        return ::testing::AssertionFailure() << view.className() << " is covered at its middle by " << chain;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult tapAsUser(ui::View& view)
{
    auto reachable = isTappableAsUser(view);
    if (!reachable)
        return reachable;
    if (!uitest::tap(view))
        return ::testing::AssertionFailure() << "the tap on " << view.className() << " did nothing";
    return ::testing::AssertionSuccess();
}

} // namespace lectoro::testing
