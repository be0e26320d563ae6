#include "platform/testing/Landing.h"

#include "platform/testing/ViewTreeDump.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace uitest {

namespace {

std::string sizeText(const ui::Rect& rect)
{
    return formatNumber(rect.width()) + "×" + formatNumber(rect.height());
}

std::string rectText(const ui::Rect& rect)
{
    return "(" + formatNumber(rect.minX()) + ", " + formatNumber(rect.minY()) + ", " + sizeText(rect) + ")";
}

bool isShown(const ui::View& view)
{
    return !view.isHidden() && view.alpha() >= 0.01;
}

// The deepest view that takes touches at the point (in `view`'s bounds coordinates). A
// view that clips takes nothing outside its bounds; one that does not still lets its
// subviews that stick out take touches there. A view's own pointInside decides whether
// the view itself is under the point.
std::shared_ptr<ui::View> deepestTouchable(ui::View& view, const ui::Point& point)
{
    if (!isShown(view) || !view.isUserInteractionEnabled())
        return nullptr;
    // As the device's hit testing: nothing outside a view's bounds reaches its subviews.
    bool inside = view.pointInside(point);
    if (!inside)
        return nullptr;
    auto subviews = view.subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        auto& subview = **it;
        if (auto hit = deepestTouchable(subview, subview.convertPointFrom(point, &view)))
            return hit;
    }
    return view.shared_from_this();
}

// Drawn above: later in its common ancestor's subviews, or a descendant.
bool isDrawnAbove(const ui::View& upper, const ui::View& lower)
{
    if (upper.isDescendantOf(&lower))
        return true;
    if (lower.isDescendantOf(&upper))
        return false;
    const ui::View* upperChild = &upper;
    for (auto ancestor = upper.superview(); ancestor; ancestor = ancestor->superview()) {
        if (lower.isDescendantOf(ancestor.get())) {
            const ui::View* lowerChild = &lower;
            while (lowerChild->superview().get() != ancestor.get())
                lowerChild = lowerChild->superview().get();
            auto upperIndex = upperChild->indexInSuperview();
            auto lowerIndex = lowerChild->indexInSuperview();
            return upperIndex && lowerIndex && *upperIndex > *lowerIndex;
        }
        upperChild = ancestor.get();
    }
    return false;
}

bool isModal(const ui::ViewController& controller)
{
    if (dynamic_cast<const ui::AlertController*>(&controller))
        return true;
    switch (controller.effectivePresentationStyle()) {
    case ui::ModalPresentationStyle::Popover:
    case ui::ModalPresentationStyle::FormSheet:
    case ui::ModalPresentationStyle::PageSheet:
        return true;
    default:
        return false;
    }
}

// The pop-over, sheet or alert whose dimming takes touches outside it, with what it
// leaves touchable: its own view and the views of what was presented over it.
struct Dimming {
    std::shared_ptr<ui::ViewController> controller;
    std::vector<std::shared_ptr<ui::View>> open;
};

std::optional<Dimming> currentDimming(const ui::View& window)
{
    auto active = ui::Presenter::shared().activePresentations();
    auto shown = [&window](const ui::ViewController& controller) {
        auto view = controller.viewIfLoaded();
        return view && view->isDescendantOf(&window) && !controller.isBeingDismissed();
    };
    // The topmost modal presentation dims everything but itself and what lies over it.
    for (size_t index = active.size(); index-- > 0;) {
        if (!shown(*active[index]) || !isModal(*active[index]))
            continue;
        Dimming dimming { active[index], {} };
        for (size_t over = index; over < active.size(); ++over) {
            if (auto view = active[over]->viewIfLoaded())
                dimming.open.push_back(view);
        }
        return dimming;
    }
    return std::nullopt;
}

std::string describeController(const ui::ViewController& controller)
{
    return std::string(controller.className());
}

// Which clipping ancestor (or the screen) leaves nothing of a rectangle in window
// coordinates showing.
std::string clipperOf(const ui::View& view, ui::Rect visible)
{
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (!ancestor->clipsToBounds() && ancestor->superview())
            continue;
        ui::Rect clip = ancestor->convertRectTo(ancestor->bounds(), nullptr);
        visible = visible.intersection(clip);
        if (visible.isEmpty())
            return ancestor->superview() ? "its clipping ancestor " + describeView(*ancestor) + " at " + rectText(clip)
                                         : "the screen " + rectText(clip);
    }
    return "the screen";
}

} // namespace

void settleLayout()
{
    auto window = ui::Environment::current().keyWindow();
    if (!window)
        return;
    window->layoutIfNeeded();
}

std::string describeView(const ui::View& view)
{
    std::string name;
    if (auto owner = std::dynamic_pointer_cast<ui::ViewController>(view.owningController()))
        name = describeController(*owner) + "'s view";
    else
        name = std::string(view.className());
    if (!view.accessibilityIdentifier().empty())
        name += " \"" + view.accessibilityIdentifier() + "\"";
    // A plain view says little on its own: name where it lies, up to the first view with a
    // name of its own.
    else if (name == "View") {
        for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
            std::string outer = describeView(*ancestor);
            if (outer.rfind("View in ", 0) != 0 && outer != "View") {
                name += " in " + outer;
                break;
            }
        }
    }
    return name;
}

ui::Rect visibleRectInWindow(const ui::View& view)
{
    ui::Rect visible = view.convertRectTo(view.bounds(), nullptr);
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (!ancestor->clipsToBounds() && ancestor->superview())
            continue;
        // The window always clips: nothing off screen is touched.
        visible = visible.intersection(ancestor->convertRectTo(ancestor->bounds(), nullptr));
    }
    return visible;
}

ui::Rect touchableRectInWindow(const ui::View& view)
{
    ui::Rect touchable = view.convertRectTo(view.bounds(), nullptr);
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview())
        touchable = touchable.intersection(ancestor->convertRectTo(ancestor->bounds(), nullptr));
    return touchable;
}

// The ancestor whose bounds leave no part of the view to touch.
static std::string boundsHolderOf(const ui::View& view)
{
    ui::Rect touchable = view.convertRectTo(view.bounds(), nullptr);
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        ui::Rect bounds = ancestor->convertRectTo(ancestor->bounds(), nullptr);
        touchable = touchable.intersection(bounds);
        if (touchable.isEmpty())
            return ancestor->superview() ? "the bounds of its ancestor " + describeView(*ancestor) + " at " + rectText(bounds)
                                         : "the screen " + rectText(bounds);
    }
    return "its ancestors' bounds";
}

Landing landAtWindowPoint(const ui::Point& point)
{
    Landing landing;
    landing.pointInWindow = point;
    auto window = ui::Environment::current().keyWindow();
    if (!window) {
        landing.obstacle = "no key window";
        return landing;
    }
    auto hit = deepestTouchable(*window, window->convertPointFrom(point, nullptr));
    if (!hit) {
        landing.obstacle = "nothing takes touches at (" + formatNumber(point.x) + ", " + formatNumber(point.y) + ")";
        return landing;
    }
    if (auto dimming = currentDimming(*window)) {
        bool open = false;
        for (auto& view : dimming->open)
            open = open || hit.get() == view.get() || hit->isDescendantOf(view.get());
        if (!open) {
            landing.obstacle = "covered by the dimming around " + describeController(*dimming->controller)
                + " (a tap outside a pop-over is uitest::tapOutsidePopover)";
            return landing;
        }
    }
    landing.view = hit;
    return landing;
}

std::string obstacleOnTheWay(const ui::View& target)
{
    auto window = ui::Environment::current().keyWindow();
    if (!window || (&target != window.get() && !target.isDescendantOf(window.get())))
        return describeView(target) + " is not in the key window";
    for (const ui::View* current = &target; current; current = current->superview().get()) {
        std::string who = current == &target ? describeView(target) : "ancestor " + describeView(*current);
        if (current->isHidden())
            return current == &target ? who + " is hidden" : "hidden " + who;
        if (current->alpha() < 0.01)
            return who + " is transparent (alpha " + formatNumber(current->alpha()) + ")";
        if (current != &target && !current->isUserInteractionEnabled())
            return who + " ignores touches";
    }
    return {};
}

Landing landOn(ui::View& target, std::optional<ui::Point> pointInView)
{
    settleLayout();
    Landing landing;
    landing.obstacle = obstacleOnTheWay(target);
    if (!landing.obstacle.empty())
        return landing;
    ui::Rect frame = target.convertRectTo(target.bounds(), nullptr);
    if (frame.isEmpty()) {
        landing.obstacle = describeView(target) + " has a " + sizeText(frame) + " frame";
        return landing;
    }
    ui::Rect visible = visibleRectInWindow(target);
    if (visible.isEmpty()) {
        landing.obstacle = describeView(target) + " at " + rectText(frame) + " lies outside " + clipperOf(target, frame);
        return landing;
    }
    ui::Rect touchable = touchableRectInWindow(target);
    if (touchable.isEmpty()) {
        landing.obstacle = describeView(target) + " at " + rectText(frame) + " lies outside " + boundsHolderOf(target)
            + ", where no touch reaches it";
        return landing;
    }
    visible = visible.intersection(touchable);
    ui::Point point = visible.center();
    if (pointInView) {
        point = target.convertPointTo(*pointInView, nullptr);
        if (!visible.contains(point)) {
            landing.obstacle = "the point lies outside the visible part of " + describeView(target);
            return landing;
        }
    }
    landing = landAtWindowPoint(point);
    if (!landing)
        return landing;
    auto& hit = *landing.view;
    if (&hit == &target || hit.isDescendantOf(&target))
        return landing;
    // A view that ignores touches lets them through to what lies behind it.
    if (!target.isUserInteractionEnabled() && (target.isDescendantOf(&hit) || !isDrawnAbove(hit, target)))
        return landing;
    Landing covered;
    covered.pointInWindow = point;
    covered.obstacle = describeView(target) + " is covered by " + describeView(hit) + " at (" + formatNumber(point.x)
        + ", " + formatNumber(point.y) + ")";
    return covered;
}

} // namespace uitest
