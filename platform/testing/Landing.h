#pragma once

// Where a finger lands. A touch is delivered through the key window's hit testing at a
// point, as the toolkit delivers it, so a test cannot reach what a user could not: the
// view must be in the key window, shown (not hidden, alpha of at least 0.01, itself and
// every ancestor), of non-zero size, with some part inside every clipping ancestor and
// the window, under interactive ancestors, and be the topmost view at that point. A
// presented pop-over, sheet or alert takes every touch outside itself, as the dimming
// layer behind it does.
//
// When a touch cannot land, the answer says what stood in the way, naming views by
// class ("covered by LXMyDataViewController's view", "0×0 frame", "hidden ancestor
// StackView").

#include "platform/ui/Geometry.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace uitest {

struct Landing {
    // The view that takes the touch (the deepest interactive view at the point): the
    // target, one of its subviews, or what lies behind a target that ignores touches.
    std::shared_ptr<ui::View> view;
    // In window coordinates.
    ui::Point pointInWindow;
    // Empty when the touch lands.
    std::string obstacle;

    explicit operator bool() const { return view != nullptr; }
};

// Lays the key window out as the toolkit does before a screen meets a finger: pending
// layouts run, and views placed by constraints get their frames. Every touch starts here.
void settleLayout();

// A view's name in messages: "<Controller>'s view" for a controller's root view, its
// class name otherwise, with its accessibility identifier when it has one.
std::string describeView(const ui::View&);

// The part of the view a user can see, in window coordinates (empty when none).
ui::Rect visibleRectInWindow(const ui::View&);
// The part a finger can reach: inside the bounds of the view and of every ancestor, as hit
// testing goes (a subview sticking out of its parent is seen but not touched there).
ui::Rect touchableRectInWindow(const ui::View&);

// What keeps a finger from the view whatever the point: not in the key window, hidden or
// transparent (itself or an ancestor), or under an ancestor that ignores touches. Empty
// when nothing does.
std::string obstacleOnTheWay(const ui::View&);

// Where a touch on the view lands. `pointInView` (the view's bounds coordinates) names the
// spot; without it the touch goes to the centre of the view's visible part.
Landing landOn(ui::View&, std::optional<ui::Point> pointInView = std::nullopt);

// The view the window's hit testing answers at a point of the window, honouring the
// dimming of a presented pop-over, sheet or alert. Null with `obstacle` set otherwise.
Landing landAtWindowPoint(const ui::Point& pointInWindow);

} // namespace uitest
