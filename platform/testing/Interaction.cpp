#include "platform/testing/Interaction.h"

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

namespace uitest {

namespace {

// Where a finger lands: the middle of the view, in the recogniser's view coordinates.
ui::Point touchPoint(const ui::View& view, const ui::View& recognizerView)
{
    ui::Rect bounds = view.bounds();
    return view.convertPointTo(bounds.center(), &recognizerView);
}

// The first recogniser of type T on the view or its ancestors (nearest first) that takes
// the gesture played by `play`.
template <typename T, typename Play> bool playOnRecognizers(ui::View& view, Play play)
{
    for (auto current = view.shared_from_this(); current; current = current->superview()) {
        for (auto& recognizer : current->gestureRecognizers()) {
            auto typed = std::dynamic_pointer_cast<T>(recognizer);
            if (!typed || !typed->isEnabled())
                continue;
            if (play(*typed, touchPoint(view, *current)))
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

bool isTouchable(const ui::View& view)
{
    for (const ui::View* current = &view; current; current = current->superview().get()) {
        if (current->isHidden() || current->alpha() < 0.01 || !current->isUserInteractionEnabled())
            return false;
    }
    return true;
}

bool tap(ui::View& tapped)
{
    // A view that does not take touches itself lets them through to the view behind it,
    // here its superview; hidden views and non-interactive ancestors stop the touch.
    for (const ui::View* current = &tapped; current; current = current->superview().get()) {
        if (current->isHidden() || current->alpha() < 0.01)
            return false;
        if (current != &tapped && !current->isUserInteractionEnabled())
            return false;
    }
    auto target = tapped.shared_from_this();
    while (target && !target->isUserInteractionEnabled())
        target = target->superview();
    if (!target)
        return false;
    ui::View& view = *target;
    if (auto* control = dynamic_cast<ui::Control*>(&view))
        return control->simulateTap();
    bool recognized = playOnRecognizers<ui::TapGestureRecognizer>(
        view, [](ui::TapGestureRecognizer& recognizer, ui::Point point) {
            return recognizer.numberOfTapsRequired() == 1
                && recognizer.simulate(ui::GestureState::Ended, point);
        });
    if (recognized)
        return true;
    if (auto [table, cell] = enclosingCell<ui::TableViewCell, ui::TableView>(view); table && cell) {
        if (auto indexPath = table->indexPathForCell(*cell))
            return table->simulateTapOnRow(*indexPath);
    }
    if (auto [collection, cell] = enclosingCell<ui::CollectionViewCell, ui::CollectionView>(view);
        collection && cell) {
        if (auto indexPath = collection->indexPathForCell(*cell))
            return collection->simulateTapOnItem(*indexPath);
    }
    return false;
}

bool tap(ui::Button& button)
{
    return tap(static_cast<ui::View&>(button));
}

bool longPress(ui::View& view)
{
    if (!isTouchable(view))
        return false;
    return playOnRecognizers<ui::LongPressGestureRecognizer>(
        view, [](ui::LongPressGestureRecognizer& recognizer, ui::Point point) {
            if (!recognizer.simulate(ui::GestureState::Began, point))
                return false;
            recognizer.simulate(ui::GestureState::Ended, point);
            return true;
        });
}

bool swipe(ui::View& view, ui::SwipeDirection direction)
{
    if (!isTouchable(view))
        return false;
    return playOnRecognizers<ui::SwipeGestureRecognizer>(
        view, [direction](ui::SwipeGestureRecognizer& recognizer, ui::Point point) {
            return recognizer.simulateSwipe(direction, point);
        });
}

bool pan(ui::View& view, const ui::Point& translation)
{
    if (!isTouchable(view))
        return false;
    bool panned = playOnRecognizers<ui::PanGestureRecognizer>(
        view, [translation](ui::PanGestureRecognizer& recognizer, ui::Point point) {
            if (!recognizer.simulatePan(ui::GestureState::Began, point, {}))
                return false;
            ui::Point end = point + translation;
            recognizer.simulatePan(ui::GestureState::Changed, end, translation);
            recognizer.simulatePan(ui::GestureState::Ended, end, translation);
            return true;
        });
    if (panned)
        return true;
    if (auto* scrollView = dynamic_cast<ui::ScrollView*>(&view))
        return scrollView->simulateDrag(translation);
    return false;
}

bool type(ui::TextField& field, const std::string& text)
{
    if (!isTouchable(field) || !field.isEnabled())
        return false;
    if (!field.isFirstResponder() && !field.becomeFirstResponder())
        return false;
    return field.insertText(text);
}

bool setSliderValue(ui::Slider& slider, double value)
{
    return slider.simulateSlide({ value }, true);
}

void fire(ui::Control& control, ui::ControlEvent event)
{
    control.sendActions(event);
}

bool tapRow(ui::TableView& table, const ui::IndexPath& indexPath)
{
    if (!isTouchable(table))
        return false;
    return table.simulateTapOnRow(indexPath);
}

bool tapItem(ui::CollectionView& collection, const ui::IndexPath& indexPath)
{
    if (!isTouchable(collection))
        return false;
    return collection.simulateTapOnItem(indexPath);
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
