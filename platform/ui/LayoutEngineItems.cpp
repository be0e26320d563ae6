// Views, anchors and guides as solver variables: each item's four variables, the frames
// code sets and the stays of placed views, intrinsic sizes, and a constraint written as a
// relation in its common ancestor's coordinates.

#include "platform/ui/LayoutEngineInternal.h"

#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

namespace ui::layout::detail {

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
    if (!asGuide(&item)) {
        auto view = static_cast<View*>(const_cast<LayoutItem*>(&item));
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
    if (auto guide = asGuide(&item)) {
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

} // namespace ui::layout::detail
