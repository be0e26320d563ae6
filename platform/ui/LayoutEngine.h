#pragma once

// The layout engine of a view tree: the tree's active constraints, solved.
//
// One engine serves each root view (a window, or a detached view a test or a fitting-size
// query lays out). It turns every view that constraints name into four solver variables
// (its frame in its superview's coordinates) and every active constraint into a linear
// relation between them, written in the coordinates of the constraint's nearest common
// ancestor. A view whose autoresizing mask becomes constraints keeps its frame: its
// variables are edit variables held there, stronger than any optional constraint. A view
// placed by constraints gets its frame from the solution; a faint preference for the frame
// it has keeps an ambiguous view where it was instead of at the origin.
//
// Changes reach the engine through the notes below (View and Constraint call them), so a
// pass after one constant changed re-solves that one relation, not the tree.

#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Constraint;
class View;

namespace layout {

// What changed since the engines last looked.
void noteStructureChanged(); // a constraint (de)activated, a view moved, a mask switched
void noteConstraintChanged(const Constraint&); // constant or priority
void noteViewChanged(const View&); // frame of a view the engine knows, intrinsic size, insets
// Whether anything has changed since the engine of this root last solved (cheap).
bool hasPendingChanges(const View& root);

// "Unable to simultaneously satisfy constraints" reports: each names the constraint the
// engine broke and the ones it conflicted with. The handler is process-wide; by default
// a report goes to stderr. Answers the previous handler.
using ConflictHandler = std::function<void(const std::string& report)>;
ConflictHandler setConflictHandler(ConflictHandler);

// Solves the constraints of the tree under `root` and sets the frames of the views they
// place. Answers whether any frame changed.
bool updateTree(View& root);

// The smallest (fitting priority) or given size of `view` that its constraints allow, with
// `target` as the preference for each axis.
Size fittingSize(View& view, const Size& target, float horizontalPriority, float verticalPriority);

} // namespace layout
} // namespace ui
