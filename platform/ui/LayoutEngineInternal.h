#pragma once

// The layout engine's insides, shared by its files: LayoutEngine.cpp (the engines of each
// root, the change notes, conflict reports and the public calls), LayoutEngineItems.cpp
// (views, anchors and guides as solver variables and relations) and LayoutEngineSync.cpp
// (bringing the solver up to date with the tree and setting the frames it solved).

#include "platform/ui/Constraint.h"
#include "platform/ui/LayoutEngine.h"
#include "platform/ui/LayoutSolver.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui::layout::detail {

// A frame given by code is held this strongly: above every optional constraint, below
// the required ones (which then show up as conflicts instead of moving the view).
constexpr float framePriority = 1000;
// The preference of a view placed by constraints for the frame it has: weaker than any
// priority a constraint can carry.
constexpr float stayPriority = 0;

struct Change {
    enum class Kind { Constraint, View } kind;
    const void* raw;
    std::weak_ptr<const void> alive;
};

struct Notes {
    uint64_t structureGeneration = 1;
    uint64_t changeBase = 0; // absolute index of changes[0]
    std::vector<Change> changes;
};

Notes& notes();
uint64_t changeEnd();
void record(Change);
ConflictHandler& conflictHandler();

using Var = LayoutSolver::Variable;
using Expr = LayoutSolver::Expression;

struct ItemVars {
    std::weak_ptr<const LayoutItem> alive;
    Var x = 0, y = 0, w = 0, h = 0;
    bool isView = false;
    bool byFrame = false; // a view that turns its mask into constraints, or the root
    // A placed view whose frame code set after the engine placed it: the frame is the
    // owner's from then on, held as strongly as a frame set by code.
    bool ownedByCode = false;
    Rect held; // the frame its edit variables hold (byFrame) or the stay prefers
    bool edits = false;
    // Intrinsic size relations (placed views): width ≥, width ≤, height ≥, height ≤.
    std::optional<LayoutSolver::ConstraintId> intrinsic[4];
    Size intrinsicSize { -2, -2 };
    float intrinsicPriorities[4] = {};
    // Required relations holding a frame set by code (x, y, w, h).
    std::optional<LayoutSolver::ConstraintId> holds[4];
    // A scroll view's content size, as its content's constraints see its edges.
    bool hasContent = false;
    Var cw = 0, ch = 0;
    bool contentUsed = false;
    bool reportedPull = false;
};

struct Relation {
    std::weak_ptr<const Constraint> alive;
    std::optional<LayoutSolver::ConstraintId> id;
    Expr expression;
    LayoutSolver::Relation relation = LayoutSolver::Relation::Equal;
    float priority = 0;
    bool seen = false;
};

bool sameExpression(const Expr& a, const Expr& b);

// Views and guides are the only layout items, and a view owns itself: cheaper than a
// dynamic_cast on every relation of a pass.
inline const LayoutGuide* asGuide(const LayoutItem* item)
{
    if (!item)
        return nullptr;
    const View* owner = item->layoutOwningView();
    return owner && static_cast<const LayoutItem*>(owner) == item ? nullptr : static_cast<const LayoutGuide*>(item);
}
double snap(double value);

class Engine {
public:
    explicit Engine(View& root, bool fitting = false)
        : m_fitting(fitting)
        , m_root(&root)
    {
    }

    bool update();
    void setFittingTarget(const Size& target, float horizontal, float vertical);
    bool isBehind() const
    {
        return m_structure != notes().structureGeneration || m_changes != changeEnd();
    }
    // The first change note this engine has still to read, or none while a full pass is
    // due anyway (it then reads the tree, not the notes).
    std::optional<uint64_t> unreadChanges() const
    {
        if (m_structure != notes().structureGeneration)
            return std::nullopt;
        return m_changes;
    }
    Size rootSize() const
    {
        return m_rootVars ? Size { m_solver.value(m_rootVars->w), m_solver.value(m_rootVars->h) } : Size {};
    }

private:
    ItemVars& varsFor(const LayoutItem&);
    ItemVars& viewVars(View&);
    void holdFrame(View&, ItemVars&);
    void updateIntrinsic(View&, ItemVars&);
    bool expressionFor(const Constraint&, Expr&, LayoutSolver::Relation&);
    bool addAttribute(Expr&, const LayoutItem&, LayoutAttribute, View& holder, double coefficient, bool flip);
    void addOffset(Expr&, View& view, View& holder, bool horizontal, double coefficient);
    void syncAll();
    void syncChanges(uint64_t from);
    void syncConstraint(const Constraint&, Relation&);
    void dropGone();
    void forget(ItemVars&);
    void flushPending();
    void release(ItemVars&);
    bool apply();
    void report(const Constraint&, const std::string& why);
    void reportPulledFrame(const View&, const Rect& solved);

    bool m_fitting;
    View* m_root;
    LayoutSolver m_solver;
    std::unordered_map<const LayoutItem*, ItemVars> m_items;
    std::unordered_map<const Constraint*, Relation> m_relations;
    ItemVars* m_rootVars = nullptr;
    std::vector<const LayoutItem*> m_pending;
    // The relations that read a view's safe-area or margins guide, by that view.
    std::unordered_map<const View*, std::vector<const Constraint*>> m_guideUsers;
    uint64_t m_structure = 0;
    uint64_t m_changes = 0;
    Size m_fitTarget;
    float m_fitPriority[2] = { 50, 50 };
};

} // namespace ui::layout::detail
