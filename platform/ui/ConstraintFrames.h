#pragma once

// Frames from constraints: the stand-in for the toolkit's layout engine. Code that sets
// frames itself keeps them; a view placed only by constraints would keep a zero frame, so
// before a screen is shown to a person (a picture) or to a finger (a test's touch), this
// pass sets such frames from the constraints, best effort.

namespace ui {

class View;

// Frames are the owner's once it sets one: a view is placed while its frame is still zero
// or still the one this pass gave it last.
// Visits the views below the root, parents first. For each view that does not turn its
// autoresizing mask into constraints, the active equalities of at least the default-high
// priority between the view and a constant, its superview, one of its superview's layout
// guides or a sibling give values of its edges, centre and size; two values fix an axis.
// An axis with one value keeps its size (a zero size takes the intrinsic size) and an
// axis with none is left alone. Other relations and items are ignored. Frames change
// through setFrame, so autoresizing subviews follow their parent.
void applyConstraintFrames(View& root);

} // namespace ui
