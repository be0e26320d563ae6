// Bringing an engine's solver up to date with its tree (every relation compared after a
// structure change, only the noted ones otherwise) and setting the frames it solved.

#include "platform/ui/LayoutEngineInternal.h"

#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

namespace ui::layout::detail {

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
        auto guide = asGuide(item.get());
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
    std::vector<ConstraintPtr> active;
    while (!stack.empty()) {
        const View* view = stack.back();
        stack.pop_back();
        const auto& held = view->constraints();
        active.insert(active.end(), held.begin(), held.end());
        for (auto it = view->subviews().rbegin(); it != view->subviews().rend(); ++it)
            stack.push_back(it->get());
    }
    const auto unheld = Constraint::unheldActiveConstraints();
    active.insert(active.end(), unheld.begin(), unheld.end());
    // What left goes before anything joins: a constraint replaced by another in the same
    // pass would otherwise meet its replacement, and the newcomer would be refused.
    for (const auto& constraint : active) {
        auto it = m_relations.find(constraint.get());
        if (it != m_relations.end() && constraint->isActive() && it->second.alive.lock() == constraint)
            it->second.seen = true;
    }
    for (auto it = m_relations.begin(); it != m_relations.end();) {
        if (!it->second.seen) {
            if (it->second.id)
                m_solver.removeConstraint(*it->second.id);
            it = m_relations.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& constraint : active)
        visit(constraint);
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

} // namespace ui::layout::detail
