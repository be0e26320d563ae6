#include "platform/ui/LayoutEngine.h"

#include "platform/ui/Constraint.h"
#include "platform/ui/LayoutSolver.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace ui::layout {

namespace {

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

Notes& notes()
{
    static Notes n;
    return n;
}

uint64_t changeEnd()
{
    return notes().changeBase + notes().changes.size();
}

void record(Change change)
{
    auto& n = notes();
    if (n.changes.size() >= 8192) {
        // A long backlog is cheaper to answer with one full pass than change by change.
        n.changeBase += n.changes.size();
        n.changes.clear();
        ++n.structureGeneration;
        return;
    }
    n.changes.push_back(std::move(change));
}

ConflictHandler& conflictHandler()
{
    static ConflictHandler handler = [](const std::string& report) { std::fprintf(stderr, "%s\n", report.c_str()); };
    return handler;
}

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

bool sameExpression(const Expr& a, const Expr& b)
{
    if (a.constant != b.constant || a.terms.size() != b.terms.size())
        return false;
    for (size_t i = 0; i < a.terms.size(); ++i) {
        if (a.terms[i].variable != b.terms[i].variable || a.terms[i].coefficient != b.terms[i].coefficient)
            return false;
    }
    return true;
}

double snap(double value)
{
    return std::round(value * 1e6) / 1e6;
}

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

struct EngineSlot {
    std::weak_ptr<const View> root;
    std::unique_ptr<Engine> engine;
};

std::unordered_map<const View*, EngineSlot>& engines()
{
    static std::unordered_map<const View*, EngineSlot> map;
    return map;
}

ItemVars& Engine::viewVars(View& view)
{
    return varsFor(view);
}

ItemVars& Engine::varsFor(const LayoutItem& item)
{
    auto it = m_items.find(&item);
    if (it != m_items.end()) {
        if (!it->second.alive.expired())
            return it->second;
        // A new item where a dead one lived: the old one's relations go first.
        forget(it->second);
        m_items.erase(it);
    }
    ItemVars vars;
    vars.alive = item.weakLayoutItem();
    vars.x = m_solver.newVariable();
    vars.y = m_solver.newVariable();
    vars.w = m_solver.newVariable();
    vars.h = m_solver.newVariable();
    auto& stored = m_items.emplace(&item, vars).first->second;
    if (auto view = dynamic_cast<View*>(const_cast<LayoutItem*>(&item))) {
        stored.isView = true;
        stored.byFrame = view == m_root || view->translatesAutoresizingMaskIntoConstraints();
        view->setTrackedByLayoutEngine(true);
        if (view == m_root)
            m_rootVars = &stored;
        // Frames set by code stand before the relations that meet them; preferences follow.
        if (stored.byFrame && !(m_fitting && view == m_root))
            holdFrame(*view, stored);
        else
            m_pending.push_back(&item);
        if (dynamic_cast<ScrollView*>(view)) {
            stored.hasContent = true;
            stored.cw = m_solver.newVariable();
            stored.ch = m_solver.newVariable();
        }
    } else {
        m_pending.push_back(&item);
    }
    return stored;
}

// Preferences (frames held, stays, intrinsic sizes) join the solver after the relations of
// the same pass: a relation added over variables that edits already made basic would be
// written in those edits' error terms, and a chain of views would fill the tableau.
void Engine::flushPending()
{
    auto pending = std::move(m_pending);
    m_pending.clear();
    for (const LayoutItem* item : pending) {
        auto it = m_items.find(item);
        if (it == m_items.end() || it->second.alive.expired())
            continue;
        ItemVars& vars = it->second;
        if (vars.isView) {
            auto view = static_cast<View*>(const_cast<LayoutItem*>(item));
            holdFrame(*view, vars);
            if (!vars.byFrame)
                updateIntrinsic(*view, vars);
            continue;
        }
        if (vars.edits)
            continue;
        // A custom guide: free, with a faint preference for where it was.
        auto guide = static_cast<const LayoutGuide*>(item);
        Rect frame = guide->layoutFrame();
        for (auto [v, value] : { std::pair { vars.x, frame.minX() }, { vars.y, frame.minY() },
                 { vars.w, frame.width() }, { vars.h, frame.height() } }) {
            m_solver.addEditVariable(v, stayPriority);
            m_solver.suggestValue(v, value);
        }
        vars.edits = true;
        vars.held = frame;
    }
}

// Frames set by code are held by edit variables; placed views prefer, faintly, the frame
// they have.
void Engine::holdFrame(View& view, ItemVars& vars)
{
    Rect frame = view.frame();
    const bool fittingRoot = m_fitting && &view == m_root;
    if ((vars.byFrame || vars.ownedByCode) && !fittingRoot) {
        // A frame set by code is required, as the device makes its autoresizing mask into
        // required constraints: what contradicts it is what gets broken.
        if (vars.edits && frame == vars.held)
            return;
        const double moved[4] = { frame.minX(), frame.minY(), frame.width(), frame.height() };
        if (vars.edits && std::all_of(std::begin(vars.holds), std::end(vars.holds), [](const auto& h) { return h.has_value(); })) {
            bool shifted = true;
            for (int i = 0; i < 4 && shifted; ++i)
                shifted = m_solver.changeConstant(*vars.holds[i], -moved[i]);
            if (shifted) {
                vars.held = frame;
                return;
            }
        }
        release(vars);
        const Var variables[4] = { vars.x, vars.y, vars.w, vars.h };
        const double values[4] = { frame.minX(), frame.minY(), frame.width(), frame.height() };
        for (int i = 0; i < 4; ++i) {
            Expr e;
            e.add(variables[i], 1).constant = -values[i];
            vars.holds[i] = m_solver.addConstraint(e, LayoutSolver::Relation::Equal);
            if (!vars.holds[i]) {
                // Required constraints added before this frame already decide otherwise:
                // the frame stays a wish (and apply reports the pull).
                m_solver.addEditVariable(variables[i], framePriority);
                m_solver.suggestValue(variables[i], values[i]);
            }
        }
        vars.edits = true;
        vars.held = frame;
        return;
    }
    if (fittingRoot) {
        frame.size = m_fitTarget;
        frame.origin = {};
    }
    if (!vars.edits) {
        if (fittingRoot) {
            m_solver.addEditVariable(vars.x, framePriority);
            m_solver.addEditVariable(vars.y, framePriority);
            m_solver.addEditVariable(vars.w, m_fitPriority[0]);
            m_solver.addEditVariable(vars.h, m_fitPriority[1]);
        } else {
            for (Var v : { vars.x, vars.y, vars.w, vars.h })
                m_solver.addEditVariable(v, stayPriority);
        }
        vars.edits = true;
    } else if (frame == vars.held) {
        return;
    }
    vars.held = frame;
    m_solver.suggestValue(vars.x, frame.minX());
    m_solver.suggestValue(vars.y, frame.minY());
    m_solver.suggestValue(vars.w, frame.width());
    m_solver.suggestValue(vars.h, frame.height());
}

// Drops what holds the variables (frame relations, edits); the caller holds them anew.
void Engine::release(ItemVars& vars)
{
    for (auto& hold : vars.holds) {
        if (hold)
            m_solver.removeConstraint(*hold);
        hold.reset();
    }
    for (Var v : { vars.x, vars.y, vars.w, vars.h })
        m_solver.removeEditVariable(v);
    vars.edits = false;
}

void Engine::updateIntrinsic(View& view, ItemVars& vars)
{
    Size size = view.intrinsicContentSize();
    float priorities[4] = { view.contentCompressionResistancePriority(LayoutConstraintAxis::Horizontal),
        view.contentHuggingPriority(LayoutConstraintAxis::Horizontal),
        view.contentCompressionResistancePriority(LayoutConstraintAxis::Vertical),
        view.contentHuggingPriority(LayoutConstraintAxis::Vertical) };
    if (size == vars.intrinsicSize && std::equal(priorities, priorities + 4, vars.intrinsicPriorities))
        return;
    vars.intrinsicSize = size;
    std::copy(priorities, priorities + 4, vars.intrinsicPriorities);
    for (auto& id : vars.intrinsic) {
        if (id)
            m_solver.removeConstraint(*id);
        id.reset();
    }
    auto add = [&](int slot, Var v, double value, LayoutSolver::Relation relation, float priority) {
        Expr e;
        e.add(v, 1).constant = -value;
        vars.intrinsic[slot] = m_solver.addConstraint(e, relation, priority);
    };
    if (size.width != View::noIntrinsicMetric) {
        add(0, vars.w, size.width, LayoutSolver::Relation::GreaterOrEqual, priorities[0]);
        add(1, vars.w, size.width, LayoutSolver::Relation::LessOrEqual, priorities[1]);
    }
    if (size.height != View::noIntrinsicMetric) {
        add(2, vars.h, size.height, LayoutSolver::Relation::GreaterOrEqual, priorities[2]);
        add(3, vars.h, size.height, LayoutSolver::Relation::LessOrEqual, priorities[3]);
    }
}

// The origin of `view` in `holder`'s coordinates: its own origin and every ancestor's up to
// the holder. Bounds origins (a scroll view's offset) are left out: content is laid out in
// content coordinates, as on the device.
void Engine::addOffset(Expr& e, View& view, View& holder, bool horizontal, double coefficient)
{
    for (View* v = &view; v && v != &holder; v = v->superview().get()) {
        ItemVars& vars = viewVars(*v);
        e.add(horizontal ? vars.x : vars.y, coefficient);
    }
}

bool Engine::addAttribute(Expr& e, const LayoutItem& item, LayoutAttribute attribute, View& holder,
    double coefficient, bool flip)
{
    if (attribute == LayoutAttribute::Leading || attribute == LayoutAttribute::Trailing) {
        bool leading = attribute == LayoutAttribute::Leading;
        attribute = (leading != flip) ? LayoutAttribute::Left : LayoutAttribute::Right;
        // A right-to-left axis runs the other way, so a leading gap is measured leftwards.
        if (flip)
            coefficient = -coefficient;
    }
    bool horizontal = attribute == LayoutAttribute::Left || attribute == LayoutAttribute::Right
        || attribute == LayoutAttribute::CenterX || attribute == LayoutAttribute::Width;
    View* owner = item.layoutOwningView();
    if (!owner)
        return false;
    Var size = 0;
    double inset = 0, insetEnd = 0; // guide insets within the owner
    if (auto guide = dynamic_cast<const LayoutGuide*>(&item)) {
        if (guide->kind() == LayoutGuide::Kind::Custom) {
            ItemVars& vars = varsFor(*guide);
            if (attribute != LayoutAttribute::Width && attribute != LayoutAttribute::Height) {
                if (owner != &holder)
                    addOffset(e, *owner, holder, horizontal, coefficient);
                e.add(horizontal ? vars.x : vars.y, coefficient);
            }
            size = horizontal ? vars.w : vars.h;
        } else {
            Rect bounds = owner->bounds();
            Rect frame = guide->layoutFrame();
            inset = horizontal ? frame.minX() - bounds.minX() : frame.minY() - bounds.minY();
            insetEnd = horizontal ? bounds.maxX() - frame.maxX() : bounds.maxY() - frame.maxY();
            ItemVars& vars = viewVars(*owner);
            if (attribute != LayoutAttribute::Width && attribute != LayoutAttribute::Height && owner != &holder)
                addOffset(e, *owner, holder, horizontal, coefficient);
            size = horizontal ? vars.w : vars.h;
            // guide size = owner size − both insets
            if (attribute != LayoutAttribute::Left && attribute != LayoutAttribute::Top) {
                double factor = attribute == LayoutAttribute::CenterX || attribute == LayoutAttribute::CenterY ? 0.5 : 1.0;
                e.constant -= (inset + insetEnd) * factor * coefficient;
            }
            if (attribute != LayoutAttribute::Width && attribute != LayoutAttribute::Height)
                e.constant += inset * coefficient;
        }
    } else {
        ItemVars& vars = viewVars(*owner);
        bool edge = attribute != LayoutAttribute::Width && attribute != LayoutAttribute::Height;
        if (owner != &holder) {
            if (edge)
                addOffset(e, *owner, holder, horizontal, coefficient);
            size = horizontal ? vars.w : vars.h;
        } else if (edge && vars.hasContent) {
            // A scroll view's edges, seen from its content, bound the content.
            vars.contentUsed = true;
            size = horizontal ? vars.cw : vars.ch;
        } else {
            size = horizontal ? vars.w : vars.h;
        }
    }
    switch (attribute) {
    case LayoutAttribute::Left:
    case LayoutAttribute::Top:
        break;
    case LayoutAttribute::Right:
    case LayoutAttribute::Bottom:
    case LayoutAttribute::Width:
    case LayoutAttribute::Height:
    case LayoutAttribute::FirstBaseline:
    case LayoutAttribute::LastBaseline:
        e.add(size, coefficient);
        break;
    case LayoutAttribute::CenterX:
    case LayoutAttribute::CenterY:
        e.add(size, coefficient * 0.5);
        break;
    default:
        return false;
    }
    return true;
}

bool Engine::expressionFor(const Constraint& constraint, Expr& e, LayoutSolver::Relation& relation)
{
    auto first = constraint.firstItem();
    if (!first || !first->layoutOwningView())
        return false;
    auto second = constraint.secondItem();
    if (constraint.hasSecondItem() && (!second || !second->layoutOwningView()))
        return false;
    View* a = first->layoutOwningView();
    View* b = second ? second->layoutOwningView() : a;
    // The nearest common ancestor, in this tree.
    View* holder = nullptr;
    for (View* candidate = a; candidate; candidate = candidate->superview().get()) {
        if (b == candidate || b->isDescendantOf(candidate)) {
            holder = candidate;
            break;
        }
    }
    if (!holder || (holder != m_root && !holder->isDescendantOf(m_root)))
        return false;
    auto fa = constraint.firstAttribute();
    // Baselines stand for the bottom edge: no view here draws text under its bottom.
    if (fa == LayoutAttribute::FirstBaseline || fa == LayoutAttribute::LastBaseline)
        fa = LayoutAttribute::Bottom;
    bool flip = a->isRightToLeft();
    e = Expr {};
    if (!addAttribute(e, *first, fa, *holder, 1.0, flip))
        return false;
    if (second) {
        auto sa = constraint.secondAttribute();
        if (sa == LayoutAttribute::FirstBaseline || sa == LayoutAttribute::LastBaseline)
            sa = LayoutAttribute::Bottom;
        if (!addAttribute(e, *second, sa, *holder, -constraint.multiplier(), flip))
            return false;
    }
    e.constant -= constraint.constant();
    // Terms in variable order, merged, so equal relations compare equal.
    std::sort(e.terms.begin(), e.terms.end(), [](const auto& l, const auto& r) { return l.variable < r.variable; });
    std::vector<LayoutSolver::Term> merged;
    for (const auto& term : e.terms) {
        if (!merged.empty() && merged.back().variable == term.variable)
            merged.back().coefficient += term.coefficient;
        else
            merged.push_back(term);
    }
    merged.erase(std::remove_if(merged.begin(), merged.end(), [](const auto& t) { return t.coefficient == 0; }),
        merged.end());
    e.terms = std::move(merged);
    relation = constraint.relation() == LayoutRelation::Equal ? LayoutSolver::Relation::Equal
        : constraint.relation() == LayoutRelation::LessThanOrEqual ? LayoutSolver::Relation::LessOrEqual
                                                                   : LayoutSolver::Relation::GreaterOrEqual;
    return true;
}

void Engine::report(const Constraint& broken, const std::string& why)
{
    std::string text = "Unable to simultaneously satisfy constraints (" + why + ").\n  Breaking: " + broken.description();
    // The required relations on the same items, which the broken one could not join.
    std::unordered_set<const Constraint*> listed;
    for (auto item : { broken.firstItem(), broken.secondItem() }) {
        if (!item)
            continue;
        for (const auto& other : item->constraintsAffecting()) {
            if (other.get() == &broken || other->priority() < LayoutPriority::required || !listed.insert(other.get()).second)
                continue;
            text += "\n  With: " + other->description();
        }
        if (auto view = dynamic_cast<const View*>(item.get()); view && view->translatesAutoresizingMaskIntoConstraints())
            text += "\n  With: " + view->layoutItemName() + " frame " + std::to_string(view->frame().minX()) + ","
                + std::to_string(view->frame().minY()) + " " + std::to_string(view->frame().width()) + "x"
                + std::to_string(view->frame().height()) + " (set by code)";
    }
    if (auto& handler = conflictHandler())
        handler(text);
}

void Engine::reportPulledFrame(const View& view, const Rect& solved)
{
    auto number = [](double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return std::string(buffer);
    };
    Rect frame = view.frame();
    std::string text = "Unable to simultaneously satisfy constraints (required constraints move a view whose frame "
                       "is set by code).\n  Keeping: "
        + view.layoutItemName() + " frame (" + number(frame.minX()) + ", " + number(frame.minY()) + ", "
        + number(frame.width()) + ", " + number(frame.height()) + "); the constraints want (" + number(solved.minX())
        + ", " + number(solved.minY()) + ", " + number(solved.width()) + ", " + number(solved.height()) + ")";
    for (const auto& constraint : view.constraintsAffecting()) {
        if (constraint->priority() >= LayoutPriority::required)
            text += "\n  With: " + constraint->description();
    }
    if (auto& handler = conflictHandler())
        handler(text);
}

void Engine::syncConstraint(const Constraint& constraint, Relation& relation)
{
    relation.seen = true;
    Expr e;
    LayoutSolver::Relation kind;
    bool usable = constraint.isActive() && expressionFor(constraint, e, kind);
    float priority = constraint.priority();
    if (usable && relation.alive.lock() && relation.priority == priority && relation.relation == kind
        && sameExpression(relation.expression, e))
        return;
    // A constant that moved (a slider, a bar shown) shifts the relation in place.
    if (usable && relation.id && relation.alive.lock() && relation.priority == priority && relation.relation == kind) {
        Expr terms = e;
        terms.constant = relation.expression.constant;
        if (sameExpression(relation.expression, terms) && m_solver.changeConstant(*relation.id, e.constant)) {
            relation.expression = e;
            return;
        }
    }
    if (relation.id)
        m_solver.removeConstraint(*relation.id);
    relation.id.reset();
    relation.expression = e;
    relation.relation = kind;
    relation.priority = priority;
    if (!usable)
        return;
    for (auto item : { constraint.firstItem(), constraint.secondItem() }) {
        auto guide = dynamic_cast<const LayoutGuide*>(item.get());
        if (guide && guide->kind() != LayoutGuide::Kind::Custom) {
            auto& users = m_guideUsers[guide->layoutOwningView()];
            if (std::find(users.begin(), users.end(), &constraint) == users.end())
                users.push_back(&constraint);
        }
    }
    relation.id = m_solver.addConstraint(e, kind, priority);
    if (!relation.id)
        report(constraint, "a required constraint conflicts with the others");
}

void Engine::syncAll()
{
    for (auto& [key, relation] : m_relations)
        relation.seen = false;
    std::vector<const View*> stack { m_root };
    auto visit = [&](const ConstraintPtr& constraint) {
        auto& relation = m_relations[constraint.get()];
        if (relation.alive.expired()) {
            if (relation.id)
                m_solver.removeConstraint(*relation.id);
            relation = Relation {};
        }
        relation.alive = constraint;
        syncConstraint(*constraint, relation);
    };
    std::vector<ConstraintPtr> held;
    while (!stack.empty()) {
        const View* view = stack.back();
        stack.pop_back();
        held = view->constraints();
        for (const auto& constraint : held)
            visit(constraint);
        for (auto it = view->subviews().rbegin(); it != view->subviews().rend(); ++it)
            stack.push_back(it->get());
    }
    for (const auto& constraint : Constraint::unheldActiveConstraints())
        visit(constraint);
    for (auto it = m_relations.begin(); it != m_relations.end();) {
        if (!it->second.seen) {
            if (it->second.id)
                m_solver.removeConstraint(*it->second.id);
            it = m_relations.erase(it);
        } else {
            ++it;
        }
    }
    dropGone();
    // Frames set by code, insets and intrinsic sizes may have changed with the structure.
    for (auto& [item, vars] : m_items) {
        auto alive = vars.alive.lock();
        if (!alive || !vars.isView)
            continue;
        auto view = static_cast<View*>(const_cast<LayoutItem*>(item));
        bool byFrame = view == m_root || view->translatesAutoresizingMaskIntoConstraints();
        if (byFrame != vars.byFrame) {
            release(vars);
            vars.byFrame = byFrame;
            vars.ownedByCode = false;
        }
        if (!vars.edits)
            continue; // still pending: flushed below
        holdFrame(*view, vars);
        if (!vars.byFrame)
            updateIntrinsic(*view, vars);
    }
    flushPending();
}

// Views and guides that left the tree or died take their variables' relations with them.
void Engine::dropGone()
{
    for (auto it = m_items.begin(); it != m_items.end();) {
        ItemVars& vars = it->second;
        auto alive = vars.alive.lock();
        bool gone = !alive;
        if (!gone) {
            View* owner = alive->layoutOwningView();
            gone = !owner || (owner != m_root && !owner->isDescendantOf(m_root));
        }
        if (!gone) {
            ++it;
            continue;
        }
        forget(vars);
        if (alive && vars.isView)
            static_cast<View*>(const_cast<LayoutItem*>(it->first))->setTrackedByLayoutEngine(false);
        it = m_items.erase(it);
    }
}

void Engine::forget(ItemVars& vars)
{
    release(vars);
    for (auto& id : vars.intrinsic) {
        if (id)
            m_solver.removeConstraint(*id);
        id.reset();
    }
    if (&vars == m_rootVars)
        m_rootVars = nullptr;
}

void Engine::syncChanges(uint64_t from)
{
    auto& n = notes();
    for (uint64_t index = std::max(from, n.changeBase); index < changeEnd(); ++index) {
        const Change& change = n.changes[index - n.changeBase];
        auto alive = change.alive.lock();
        if (!alive)
            continue;
        if (change.kind == Change::Kind::Constraint) {
            auto it = m_relations.find(static_cast<const Constraint*>(change.raw));
            if (it != m_relations.end())
                syncConstraint(*static_cast<const Constraint*>(change.raw), it->second);
            continue;
        }
        auto view = static_cast<View*>(const_cast<void*>(change.raw));
        auto it = m_items.find(view);
        if (it == m_items.end())
            continue;
        ItemVars& vars = it->second;
        if (!vars.byFrame && !vars.ownedByCode && vars.edits && !(view->frame() == vars.held)) {
            vars.ownedByCode = true;
            release(vars);
        }
        holdFrame(*view, vars);
        if (!it->second.byFrame)
            updateIntrinsic(*view, it->second);
        // Guides of this view measure from its insets: their relations read them again.
        auto users = m_guideUsers.find(view);
        if (users != m_guideUsers.end()) {
            auto list = users->second;
            for (const Constraint* key : list) {
                auto relation = m_relations.find(key);
                if (relation == m_relations.end())
                    continue;
                if (auto constraint = relation->second.alive.lock())
                    syncConstraint(*constraint, relation->second);
            }
        }
    }
    flushPending();
}

bool Engine::apply()
{
    m_solver.updateValues();
    if (m_fitting)
        return false;
    bool changed = false;
    for (auto& [item, vars] : m_items) {
        if (!vars.isView || vars.alive.expired())
            continue;
        auto view = static_cast<View*>(const_cast<LayoutItem*>(item));
        if (vars.hasContent && vars.contentUsed) {
            Size content { snap(m_solver.value(vars.cw)), snap(m_solver.value(vars.ch)) };
            auto scroll = static_cast<ScrollView*>(view);
            if (!(scroll->contentSize() == content))
                scroll->setContentSize(content);
        }
        if (vars.ownedByCode)
            continue;
        if (vars.byFrame) {
            // Required constraints pulled a frame set by code: the device reports the
            // conflict and keeps the frame, and so do we.
            Rect solved { m_solver.value(vars.x), m_solver.value(vars.y), m_solver.value(vars.w), m_solver.value(vars.h) };
            bool pulled = std::fabs(solved.minX() - vars.held.minX()) > 0.5 || std::fabs(solved.minY() - vars.held.minY()) > 0.5
                || std::fabs(solved.width() - vars.held.width()) > 0.5 || std::fabs(solved.height() - vars.held.height()) > 0.5;
            if (pulled && !vars.reportedPull) {
                vars.reportedPull = true;
                reportPulledFrame(*view, solved);
            }
            vars.reportedPull = pulled;
            continue;
        }
        Rect frame { snap(m_solver.value(vars.x)), snap(m_solver.value(vars.y)),
            std::max(0.0, snap(m_solver.value(vars.w))), std::max(0.0, snap(m_solver.value(vars.h))) };
        if (frame == view->frame())
            continue;
        changed = true;
        auto parent = view->superview();
        if (view->transform() == AffineTransform::identity()) {
            view->setFrame(frame);
        } else {
            Rect bounds = view->bounds();
            view->setBounds({ bounds.origin, frame.size });
            view->setCenter({ frame.midX(), frame.midY() });
        }
        // The layout code above it may read where it went (a controller's
        // viewDidLayoutSubviews places by what its constraints did), as for a changed
        // constant.
        for (auto above = parent; above; above = above->superview())
            above->setNeedsLayout();
        vars.held = view->frame();
        m_solver.suggestValue(vars.x, frame.minX());
        m_solver.suggestValue(vars.y, frame.minY());
        m_solver.suggestValue(vars.w, frame.width());
        m_solver.suggestValue(vars.h, frame.height());
    }
    return changed;
}

bool Engine::update()
{
    auto& n = notes();
    if (m_structure == n.structureGeneration && m_changes == changeEnd())
        return false;
    if (!m_rootVars)
        viewVars(*m_root);
    if (m_structure != n.structureGeneration) {
        m_structure = n.structureGeneration;
        m_changes = changeEnd();
        syncAll();
    } else {
        uint64_t from = m_changes;
        m_changes = changeEnd();
        syncChanges(from);
    }
    // Frames set here note changes of their own (and move autoresizing subviews); the
    // next round reads them.
    return apply();
}

void Engine::setFittingTarget(const Size& target, float horizontal, float vertical)
{
    m_fitTarget = target;
    m_fitPriority[0] = horizontal;
    m_fitPriority[1] = vertical;
}

} // namespace

void noteStructureChanged()
{
    ++notes().structureGeneration;
}

void noteConstraintChanged(const Constraint& constraint)
{
    if (!constraint.isActive())
        return;
    record({ Change::Kind::Constraint, &constraint, std::static_pointer_cast<const void>(constraint.shared_from_this()) });
}

void noteViewChanged(const View& view)
{
    if (!view.isTrackedByLayoutEngine())
        return;
    auto alive = view.weak_from_this().lock();
    if (!alive)
        return;
    record({ Change::Kind::View, &view, std::static_pointer_cast<const void>(alive) });
}

bool hasPendingChanges(const View& root)
{
    auto it = engines().find(&root);
    if (it == engines().end() || !it->second.engine || it->second.root.lock().get() != &root)
        return true;
    return it->second.engine->isBehind();
}

ConflictHandler setConflictHandler(ConflictHandler handler)
{
    auto previous = std::move(conflictHandler());
    conflictHandler() = std::move(handler);
    return previous;
}

bool updateTree(View& root)
{
    auto& map = engines();
    // Engines of roots that died or joined another tree go first.
    if (map.size() > 8) {
        for (auto it = map.begin(); it != map.end();) {
            auto alive = it->second.root.lock();
            if (it->first != &root && (!alive || alive->superview()))
                it = map.erase(it);
            else
                ++it;
        }
    }
    auto& slot = map[&root];
    if (!slot.engine || slot.root.lock().get() != &root) {
        slot.root = root.weak_from_this();
        slot.engine = std::make_unique<Engine>(root);
    }
    auto& engine = slot.engine;
    bool changed = false;
    // Frames the solution sets move autoresizing subviews, which the next round holds.
    for (int round = 0; round < 4; ++round) {
        if (!engine->update())
            break;
        changed = true;
    }
    return changed;
}

Size fittingSize(View& view, const Size& target, float horizontalPriority, float verticalPriority)
{
    // A throwaway engine: the view's own size is free, pulled towards the target.
    Engine engine(view, true);
    engine.setFittingTarget(target, horizontalPriority, verticalPriority);
    // The structure generation differs from a new engine's, so this solves everything.
    engine.update();
    return engine.rootSize();
}

} // namespace ui::layout
