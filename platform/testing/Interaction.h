#pragma once

// Acting as a user on the headless UI: showing a controller, tapping, pressing, swiping,
// panning, typing, sliding, answering alerts, tapping outside pop-overs, and letting
// transitions finish.
//
// Every action honours what a finger would meet: a view that is hidden, nearly
// transparent (alpha below 0.01) or not interactive, itself or through an ancestor, is
// not touched and the action answers false.

#include "platform/ui/Control.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TransitionCoordinator.h"

#include <memory>
#include <string>

namespace ui {
class AlertController;
class Button;
class CollectionView;
class Slider;
class TableView;
class TextField;
class View;
class ViewController;
} // namespace ui

namespace uitest {

// Makes the controller the key window's root (making a key window when there is none),
// loads and lays out its view sized to the window, and runs its appearance callbacks.
// Answers the window.
std::shared_ptr<ui::View> showInWindow(const std::shared_ptr<ui::ViewController>&);

// Whether a touch could reach the view (see the header comment).
bool isTouchable(const ui::View&);

// A tap in the middle of the view. A view with user interaction off (a label, an image
// view) lets the touch through to its superview, as hit testing does. The view taking it:
// a control fires its touch events (touchUpInside…); otherwise the first enabled
// single-tap recogniser on it or its ancestors recognises; otherwise a tap inside a table
// or collection cell selects its row or item as a user's tap does.
bool tap(ui::View&);
bool tap(ui::Button&);
// The recognisers of that kind on the view or its ancestors, nearest first; the first
// that takes the gesture wins.
bool longPress(ui::View&);
bool swipe(ui::View&, ui::SwipeDirection);
// Began, changed to the translation, ended. A scroll view without a pan recogniser is
// dragged instead.
bool pan(ui::View&, const ui::Point& translation);
// Becomes first responder (when not already), then inserts the text as typing does
// (the delegate may refuse). Answers whether the text went in.
bool type(ui::TextField&, const std::string& text);
// Touch-down, the new value, value-changed, touch-up-inside.
bool setSliderValue(ui::Slider&, double value);
// Sends the control's actions for the event (no touch checks: code-level firing).
void fire(ui::Control&, ui::ControlEvent);
bool tapRow(ui::TableView&, const ui::IndexPath&);
bool tapItem(ui::CollectionView&, const ui::IndexPath&);

// The alert or action sheet on top (the most recent presented one still shown), or null.
std::shared_ptr<ui::AlertController> topmostAlert();
// Answers the top-most alert by action title or index; the action's handler runs when
// the alert's dismissal completes (completePresentations()).
bool tapAction(const std::string& title);
bool tapActionAtIndex(size_t index);

// Asks the pop-over's delegate and dismisses only if allowed (see Presentation.h).
// `controller` is the pop-over or the controller presenting it.
bool tapOutsidePopover(const std::shared_ptr<ui::ViewController>&);

// Advances the main run loop by the transition duration, again while presentation
// transitions are still pending (a completion may present the next controller).
void completePresentations();

// Drives a size transition (see TransitionCoordinator.h); completion steps run once the
// run loop advances past the duration.
std::shared_ptr<ui::TransitionCoordinator> transitionToSize(
    const std::shared_ptr<ui::ViewController>&, const ui::Size&, bool animated = true);

} // namespace uitest
