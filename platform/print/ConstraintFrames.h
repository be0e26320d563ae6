#pragma once

// Frames for pictures of screens laid out with constraints. Nothing in the view tree
// solves constraints (frames are set by the code that owns them), so a view placed only
// by constraints keeps a zero frame and would not show in a picture. This pass sets such
// frames from the constraints, best effort, before a screen is painted.

namespace ui {
class View;
}

namespace print {

// Visits the views below the root, parents first. For each view that does not turn its
// autoresizing mask into constraints, the active equalities of at least the default-high
// priority between the view and a constant, its superview, one of its superview's layout
// guides or a sibling give values of its edges, centre and size; two values fix an axis.
// An axis with one value keeps its size (a zero size takes the intrinsic size) and an
// axis with none is left alone. Other relations and items are ignored. Frames change
// through setFrame, so autoresizing subviews follow their parent.
void applyConstraintFrames(ui::View& root);

} // namespace print
