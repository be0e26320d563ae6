#pragma once

#include <cstdint>

namespace lectoro {

class HelpScreen;

// What the help overlay tells its owner.
class HelpDelegate {
public:
    virtual ~HelpDelegate() = default;
    // The screen now shown: 0 the first, 1 the second, whatever the layout direction.
    virtual void swipeAtIndex(HelpScreen&, int64_t index) = 0;
    // The overlay has taken itself off the screen and out of its parent.
    virtual void didRemovedHelpScreen(HelpScreen&) = 0;
};

} // namespace lectoro
