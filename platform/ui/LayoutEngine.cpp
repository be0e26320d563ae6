#include "platform/ui/LayoutEngine.h"

#include "platform/ui/LayoutEngineInternal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <unordered_set>

namespace ui::layout {

namespace detail {

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

} // namespace detail

namespace {

using detail::Change;
using detail::conflictHandler;
using detail::Engine;
using detail::notes;

struct EngineSlot {
    std::weak_ptr<const View> root;
    std::unique_ptr<Engine> engine;
};

std::unordered_map<const View*, EngineSlot>& engines()
{
    static std::unordered_map<const View*, EngineSlot> map;
    return map;
}

// Notes every engine has read go: left to pile up, the backlog would reach its cap and
// cost every engine a full pass.
void dropReadNotes()
{
    uint64_t keep = detail::changeEnd();
    for (const auto& [key, slot] : engines()) {
        if (!slot.engine || slot.root.expired())
            continue;
        if (auto unread = slot.engine->unreadChanges())
            keep = std::min(keep, *unread);
    }
    auto& n = notes();
    if (keep > n.changeBase) {
        n.changes.erase(n.changes.begin(), n.changes.begin() + static_cast<std::ptrdiff_t>(keep - n.changeBase));
        n.changeBase = keep;
    }
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
    detail::record({ Change::Kind::Constraint, &constraint, std::static_pointer_cast<const void>(constraint.shared_from_this()) });
}

void noteViewChanged(const View& view)
{
    if (!view.isTrackedByLayoutEngine())
        return;
    auto alive = view.weak_from_this().lock();
    if (!alive)
        return;
    detail::record({ Change::Kind::View, &view, std::static_pointer_cast<const void>(alive) });
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
    dropReadNotes();
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
