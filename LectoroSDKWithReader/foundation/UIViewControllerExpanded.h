#pragma once

#include "platform/ui/Geometry.h"

#include <memory>

namespace ui {
class ViewController;
}

namespace lectoro {

// Shadow, fade and slide animations of a controller's view, and finding or unwinding the
// controllers on screen.
namespace UIViewControllerExpanded {

void addShadow(ui::ViewController&);
void fadeInViewController(ui::ViewController&, double duration);
void fadeOutViewController(ui::ViewController&, double duration);
// Touches ignored by the caller come back interactionResumeDelay seconds after it ends.
inline constexpr double interactionResumeDelay = 2.5;
void animateViewController(ui::ViewController&, const ui::Rect& fromRect, const ui::Rect& toRect, double duration);
// Moves the view and removes it from its superview once the animation ends.
void dismissViewController(ui::ViewController&, const ui::Rect& fromRect, const ui::Rect& toRect, double duration);
// In from the left edge to x = 60.
void slideInViewController(ui::ViewController&, double duration);
void slideOutViewController(ui::ViewController&, double duration);
// In from one height below, back to the current frame.
void slideUpViewController(ui::ViewController&, double duration);
void slideDownViewController(ui::ViewController&, double duration);

std::shared_ptr<ui::ViewController> topmostViewController();
// Pops every navigation stack and dismisses every presentation, from the top down.
void returnToRootViewController();

} // namespace UIViewControllerExpanded

} // namespace lectoro
