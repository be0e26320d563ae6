#pragma once

// Acting as a user on the headless UI: showing a controller, tapping, pressing, swiping,
// panning, typing, sliding, answering alerts, tapping outside pop-overs, and letting
// transitions finish.
//
// Every touch goes through the key window's hit testing at a point (see Landing.h): the
// view must be on screen, shown, of non-zero size, uncovered and under interactive
// ancestors, as for a finger. A touch that cannot land fails with what stood in the way,
// so `EXPECT_TRUE(uitest::tap(*button))` names the obstacle. Unit tables that must fire a
// control's action without a screen use fire() / fireTap(), named apart on purpose.

#include <gtest/gtest.h>

#include "platform/ui/Control.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TransitionCoordinator.h"

#include <memory>
#include <optional>
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

// Whether the touch landed; when not, the message says what stood in the way.
using TouchResult = ::testing::AssertionResult;

// Makes the controller the key window's root (making a key window when there is none),
// loads and lays out its view sized to the window, and runs its appearance callbacks.
// Answers the window.
std::shared_ptr<ui::View> showInWindow(const std::shared_ptr<ui::ViewController>&);

// Whether the view itself would take a touch (the obstacle is in the message when not).
TouchResult isTouchable(ui::View&);

// A tap at the centre of the view's visible part, or at `at` (the view's bounds
// coordinates). The view hit testing answers there takes it: a view that ignores touches
// (a label, an image view) lets the tap through to what lies behind it. A control fires
// its touch events (touchUpInside…); otherwise the first enabled single-tap recogniser on
// that view or its ancestors recognises; otherwise a tap inside a table or collection
// cell selects its row or item.
TouchResult tap(ui::View&, std::optional<ui::Point> at = std::nullopt);
// The recognisers of that kind on the view the touch lands on or its ancestors, nearest
// first; the first that takes the gesture wins.
TouchResult longPress(ui::View&, std::optional<ui::Point> at = std::nullopt);
TouchResult swipe(ui::View&, ui::SwipeDirection);
// Began, changed to the translation, ended. A scroll view without a pan recogniser is
// dragged instead.
TouchResult pan(ui::View&, const ui::Point& translation);
// Taps the field when it is not first responder yet, then inserts the text as typing
// does (the delegate may refuse).
TouchResult type(ui::TextField&, const std::string& text);
// Touch-down, the new value, value-changed, touch-up-inside, on a slider a finger reaches.
TouchResult setSliderValue(ui::Slider&, double value);
// A tap on the row's or item's visible middle; the row must be on screen (scroll to it
// first).
TouchResult tapRow(ui::TableView&, const ui::IndexPath&);
TouchResult tapItem(ui::CollectionView&, const ui::IndexPath&);

// Code-level firing for unit tables, with no screen and no touch checks: sends the
// control's actions for the event, or a whole tap (touch-down, touch-up-inside, primary
// action) of an enabled control.
void fire(ui::Control&, ui::ControlEvent);
bool fireTap(ui::Control&);

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
