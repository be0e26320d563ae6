#include "platform/testing/Interaction.h"

#include "platform/testing/Landing.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <functional>

namespace uitest {

namespace {

TouchResult refused(const std::string& why)
{
    return ::testing::AssertionFailure() << why;
}

TouchResult refused(const Landing& landing)
{
    return refused(landing.obstacle);
}

// The first recogniser of type T on the view or its ancestors (nearest first) that takes
// the gesture played by `play`, at the landing point in each recogniser's view.
template <typename T, typename Play> bool playOnRecognizers(const Landing& landing, Play play)
{
    for (auto current = landing.view; current; current = current->superview()) {
        for (auto& recognizer : current->gestureRecognizers()) {
            auto typed = std::dynamic_pointer_cast<T>(recognizer);
            if (!typed || !typed->isEnabled())
                continue;
            if (play(*typed, current->convertPointFrom(landing.pointInWindow, nullptr)))
                return true;
        }
    }
    return false;
}

template <typename Cell, typename Container>
std::pair<std::shared_ptr<Container>, std::shared_ptr<Cell>> enclosingCell(ui::View& view)
{
    std::shared_ptr<Cell> cell;
    for (auto current = view.shared_from_this(); current; current = current->superview()) {
        if (!cell) {
            cell = std::dynamic_pointer_cast<Cell>(current);
            continue;
        }
        if (auto container = std::dynamic_pointer_cast<Container>(current))
            return { container, cell };
    }
    return {};
}

TouchResult deliverTap(const Landing& landing)
{
    ui::View& view = *landing.view;
    if (auto* control = dynamic_cast<ui::Control*>(&view)) {
        if (control->simulateTap())
            return ::testing::AssertionSuccess();
        return refused(describeView(view) + " is disabled");
    }
    bool recognized = playOnRecognizers<ui::TapGestureRecognizer>(
        landing, [](ui::TapGestureRecognizer& recognizer, ui::Point point) {
            return recognizer.numberOfTapsRequired() == 1 && recognizer.simulate(ui::GestureState::Ended, point);
        });
    if (recognized)
        return ::testing::AssertionSuccess();
    if (auto [table, cell] = enclosingCell<ui::TableViewCell, ui::TableView>(view); table && cell) {
        if (auto indexPath = table->indexPathForCell(*cell); indexPath && table->simulateTapOnRow(*indexPath))
            return ::testing::AssertionSuccess();
    }
    if (auto [collection, cell] = enclosingCell<ui::CollectionViewCell, ui::CollectionView>(view);
        collection && cell) {
        if (auto indexPath = collection->indexPathForCell(*cell);
            indexPath && collection->simulateTapOnItem(*indexPath))
            return ::testing::AssertionSuccess();
    }
    return refused("nothing at " + describeView(view) + " responds to a tap");
}

// A tap on a row or item: at the middle of its visible part, through hit testing, so a
// control in the row takes it as a finger's would; elsewhere the row is selected.
TouchResult tapCellArea(ui::View& container, const std::function<std::optional<ui::Rect>()>& rectOfCell,
    const ui::IndexPath& indexPath, const std::function<bool()>& select)
{
    settleLayout();
    auto rect = rectOfCell();
    if (!rect)
        return refused("no item " + std::to_string(indexPath.section) + "/" + std::to_string(indexPath.item())
            + " in " + describeView(container));
    const ui::Rect& rectInContainer = *rect;
    if (auto obstacle = obstacleOnTheWay(container); !obstacle.empty())
        return refused(obstacle);
    ui::Rect inWindow = container.convertRectTo(rectInContainer, nullptr).intersection(visibleRectInWindow(container));
    if (inWindow.isEmpty())
        return refused("row " + std::to_string(indexPath.section) + "/" + std::to_string(indexPath.item())
            + " of " + describeView(container) + " is not on screen");
    Landing landing = landAtWindowPoint(inWindow.center());
    if (!landing)
        return refused(landing);
    if (landing.view.get() != &container && !landing.view->isDescendantOf(&container))
        return refused(describeView(container) + "'s row is covered by " + describeView(*landing.view));
    if (landing.view.get() == &container || !dynamic_cast<ui::Control*>(landing.view.get())) {
        if (select())
            return ::testing::AssertionSuccess();
        return refused("the row of " + describeView(container) + " did not take the tap");
    }
    return deliverTap(landing);
}

} // namespace

std::shared_ptr<ui::View> showInWindow(const std::shared_ptr<ui::ViewController>& controller)
{
    auto& environment = ui::Environment::current();
    if (!environment.keyWindow())
        environment.makeKeyWindow();
    ui::setKeyWindowRootViewController(controller);
    if (controller) {
        controller->view()->layoutIfNeeded();
        controller->beginAppearanceTransition(true, false);
        controller->endAppearanceTransition();
    }
    return environment.keyWindow();
}

TouchResult isTouchable(ui::View& view)
{
    Landing landing = landOn(view);
    if (!landing)
        return refused(landing);
    // The view itself takes the touch, not what lies behind it.
    if (landing.view.get() != &view && !landing.view->isDescendantOf(&view))
        return refused(describeView(view) + " ignores touches; " + describeView(*landing.view) + " takes them");
    return ::testing::AssertionSuccess();
}

TouchResult tap(ui::View& view, std::optional<ui::Point> at)
{
    Landing landing = landOn(view, at);
    if (!landing)
        return refused(landing);
    return deliverTap(landing);
}

TouchResult longPress(ui::View& view, std::optional<ui::Point> at)
{
    Landing landing = landOn(view, at);
    if (!landing)
        return refused(landing);
    bool pressed = playOnRecognizers<ui::LongPressGestureRecognizer>(
        landing, [](ui::LongPressGestureRecognizer& recognizer, ui::Point point) {
            if (!recognizer.simulate(ui::GestureState::Began, point))
                return false;
            recognizer.simulate(ui::GestureState::Ended, point);
            return true;
        });
    return pressed ? ::testing::AssertionSuccess()
                   : refused("nothing at " + describeView(*landing.view) + " responds to a long press");
}

TouchResult swipe(ui::View& view, ui::SwipeDirection direction)
{
    Landing landing = landOn(view);
    if (!landing)
        return refused(landing);
    bool swiped = playOnRecognizers<ui::SwipeGestureRecognizer>(
        landing, [direction](ui::SwipeGestureRecognizer& recognizer, ui::Point point) {
            return recognizer.simulateSwipe(direction, point);
        });
    return swiped ? ::testing::AssertionSuccess()
                  : refused("nothing at " + describeView(*landing.view) + " responds to a swipe");
}

TouchResult pan(ui::View& view, const ui::Point& translation)
{
    Landing landing = landOn(view);
    if (!landing)
        return refused(landing);
    bool panned = playOnRecognizers<ui::PanGestureRecognizer>(
        landing, [translation](ui::PanGestureRecognizer& recognizer, ui::Point point) {
            if (!recognizer.simulatePan(ui::GestureState::Began, point, {}))
                return false;
            ui::Point end = point + translation;
            recognizer.simulatePan(ui::GestureState::Changed, end, translation);
            recognizer.simulatePan(ui::GestureState::Ended, end, translation);
            return true;
        });
    if (panned)
        return ::testing::AssertionSuccess();
    if (auto* scrollView = dynamic_cast<ui::ScrollView*>(&view); scrollView && scrollView->simulateDrag(translation))
        return ::testing::AssertionSuccess();
    return refused("nothing at " + describeView(*landing.view) + " responds to a pan");
}

TouchResult type(ui::TextField& field, const std::string& text)
{
    if (!field.isFirstResponder()) {
        Landing landing = landOn(field);
        if (!landing)
            return refused(landing);
        if (!field.isEnabled())
            return refused(describeView(field) + " is disabled");
        if (!field.becomeFirstResponder())
            return refused(describeView(field) + " refused to become first responder");
    }
    if (!field.insertText(text))
        return refused(describeView(field) + " refused the text");
    return ::testing::AssertionSuccess();
}

TouchResult setSliderValue(ui::Slider& slider, double value)
{
    Landing landing = landOn(slider);
    if (!landing)
        return refused(landing);
    if (landing.view.get() != &slider && !landing.view->isDescendantOf(&slider))
        return refused(describeView(slider) + " is covered by " + describeView(*landing.view));
    if (!slider.simulateSlide({ value }, true))
        return refused(describeView(slider) + " did not take the slide");
    return ::testing::AssertionSuccess();
}

void fire(ui::Control& control, ui::ControlEvent event)
{
    control.sendActions(event);
}

bool fireTap(ui::Control& control)
{
    return control.simulateTap();
}

TouchResult tapRow(ui::TableView& table, const ui::IndexPath& indexPath)
{
    return tapCellArea(
        table, [&table, indexPath]() -> std::optional<ui::Rect> { return table.rectForRowAtIndexPath(indexPath); },
        indexPath,
        [&table, indexPath] { return table.simulateTapOnRow(indexPath); });
}

TouchResult tapItem(ui::CollectionView& collection, const ui::IndexPath& indexPath)
{
    auto frameOfItem = [&collection, indexPath]() -> std::optional<ui::Rect> {
        auto attributes = collection.layoutAttributesForItemAtIndexPath(indexPath);
        return attributes ? std::optional<ui::Rect>(attributes->frame) : std::nullopt;
    };
    return tapCellArea(collection, frameOfItem, indexPath,
        [&collection, indexPath] { return collection.simulateTapOnItem(indexPath); });
}

std::shared_ptr<ui::AlertController> topmostAlert()
{
    auto active = ui::Presenter::shared().activePresentations();
    for (auto it = active.rbegin(); it != active.rend(); ++it) {
        if ((*it)->isBeingDismissed())
            continue;
        if (auto alert = std::dynamic_pointer_cast<ui::AlertController>(*it); alert && !alert->isAnswered())
            return alert;
    }
    return nullptr;
}

bool tapAction(const std::string& title)
{
    auto alert = topmostAlert();
    return alert && alert->tapActionWithTitle(title);
}

bool tapActionAtIndex(size_t index)
{
    auto alert = topmostAlert();
    return alert && alert->tapActionAtIndex(index);
}

bool tapOutsidePopover(const std::shared_ptr<ui::ViewController>& controller)
{
    return ui::dismissPopoverFromOutsideTap(controller);
}

void completePresentations()
{
    auto& loop = base::RunLoop::main();
    // Bounded: a completion that keeps presenting cannot spin for ever.
    for (int round = 0; round < 16; ++round) {
        loop.advanceBy(ui::transitionDuration);
        loop.runUntilIdle();
        if (ui::Presenter::shared().pendingTransitions() <= 0)
            break;
    }
}

std::shared_ptr<ui::TransitionCoordinator> transitionToSize(
    const std::shared_ptr<ui::ViewController>& controller, const ui::Size& size, bool animated)
{
    return ui::performSizeTransition(controller, size, animated);
}

} // namespace uitest
