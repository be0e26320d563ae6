#pragma once

// The four ways a screen is met: a phone and a tablet, each held upright and turned. A
// journey parameterised by them opens the book held that way and walks its screens, and
// finds the controls it taps by their accessibility identifiers.

#include "platform/testing/Interaction.h"
#include "platform/ui/Environment.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <string>

namespace lectoro::journeys {

struct HeldDevice {
    ui::UserInterfaceIdiom idiom;
    ui::Orientation orientation;
    const char* name;
};

inline auto everyHeldDevice()
{
    return ::testing::Values(HeldDevice { ui::UserInterfaceIdiom::Phone, ui::Orientation::Portrait, "PhoneUpright" },
        HeldDevice { ui::UserInterfaceIdiom::Phone, ui::Orientation::LandscapeLeft, "PhoneTurned" },
        HeldDevice { ui::UserInterfaceIdiom::Pad, ui::Orientation::Portrait, "TabletUpright" },
        HeldDevice { ui::UserInterfaceIdiom::Pad, ui::Orientation::LandscapeLeft, "TabletTurned" });
}

inline std::string heldDeviceName(const ::testing::TestParamInfo<HeldDevice>& info) { return info.param.name; }

// The device turned with the screens on it, as the system tells the window's root.
inline void turnDevice(const std::shared_ptr<ui::ViewController>& root, ui::Orientation orientation)
{
    auto& environment = ui::Environment::current();
    if (environment.interfaceOrientation() == orientation)
        return;
    environment.rotateTo(orientation);
    uitest::transitionToSize(root, environment.screenSize());
}

// The view of the tree with that accessibility identifier; null when none has it.
inline std::shared_ptr<ui::View> viewNamed(ui::View& root, const std::string& identifier)
{
    for (const auto& view : root.subviews()) {
        if (view->accessibilityIdentifier() == identifier)
            return view;
        if (auto found = viewNamed(*view, identifier))
            return found;
    }
    return nullptr;
}

} // namespace lectoro::journeys
