#include "platform/ui/Presentation.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// The platform's default pop-over content size, the gap kept to the window edges and the
// arrow's height.
constexpr Size defaultPopoverSize { 320, 480 };
constexpr double popoverMargin = 10;
constexpr double popoverArrowHeight = 13;
constexpr Size padFormSheetSize { 540, 620 };
constexpr double padPageSheetWidth = 704;

std::string describe(const ViewController* controller)
{
    if (!controller)
        return "(null)";
    std::string text(1, '<');
    text += controller->className();
    text += '>';
    return text;
}

double clampValue(double value, double low, double high)
{
    if (high < low)
        return low;
    return std::clamp(value, low, high);
}

std::shared_ptr<ViewController> rootOfParentChain(std::shared_ptr<ViewController> controller)
{
    while (controller && controller->parentViewController())
        controller = controller->parentViewController();
    return controller;
}

Rect frameInWindow(const std::shared_ptr<View>& view)
{
    if (!view)
        return {};
    return view->convertRectTo(view->bounds(), nullptr);
}

} // namespace

// The mechanics of presenting and dismissing, kept out of ViewController.cpp.
class PresentationDriver {
public:
    static void present(ViewController& presenter, const std::shared_ptr<ViewController>&, bool animated,
        std::function<void()> completion);
    static void dismiss(ViewController& receiver, bool animated, std::function<void()> completion);
    static bool dismissPopoverFromOutsideTap(const std::shared_ptr<ViewController>&);

private:
    static bool canPresent(ViewController& presenter, const std::shared_ptr<ViewController>&);
    static ModalPresentationStyle resolveStyle(ViewController& presented);
    static std::shared_ptr<ViewController> contextController(ViewController& presenter);
    static Rect frameFor(ViewController& presenter, ViewController& presented, ModalPresentationStyle,
        const Rect& windowBounds);
    static Rect popoverFrame(
        PopoverPresentationController&, const Size& contentSize, const Rect& windowBounds);
    static void finishPresentation(const std::shared_ptr<ViewController>&);
    static void removeFromActive(const ViewController*);
};

PopoverPresentationController::PopoverPresentationController(std::weak_ptr<ViewController> presented)
    : m_presented(std::move(presented))
{
}

PopoverPresentationController::~PopoverPresentationController() = default;

std::shared_ptr<ViewController> PopoverPresentationController::presentingViewController() const
{
    auto presented = m_presented.lock();
    return presented ? presented->presentingViewController() : nullptr;
}

Rect PopoverPresentationController::sourceRect() const
{
    if (m_sourceRect)
        return *m_sourceRect;
    auto view = m_sourceView.lock();
    return view ? view->bounds() : Rect();
}

void PopoverPresentationController::setPopoverBackgroundViewClass(
    std::string name, BackgroundViewFactory factory)
{
    m_backgroundClassName = std::move(name);
    m_backgroundFactory = std::move(factory);
}

Presenter& Presenter::shared()
{
    static Presenter presenter;
    return presenter;
}

const PresentationRecord* Presenter::lastPresented() const
{
    return m_presented.empty() ? nullptr : &m_presented.back();
}

std::vector<std::shared_ptr<ViewController>> Presenter::activePresentations() const
{
    std::vector<std::shared_ptr<ViewController>> result;
    for (auto& weak : m_active) {
        if (auto controller = weak.lock())
            result.push_back(std::move(controller));
    }
    return result;
}

std::shared_ptr<ViewController> Presenter::topmostPresented() const
{
    for (auto it = m_active.rbegin(); it != m_active.rend(); ++it) {
        auto controller = it->lock();
        if (controller && !controller->isBeingDismissed())
            return controller;
    }
    return nullptr;
}

void Presenter::clearLog()
{
    m_presented.clear();
    m_dismissed.clear();
    m_warnings.clear();
}

void Presenter::reset()
{
    clearLog();
    m_active.clear();
    m_pendingTransitions = 0;
}

void Presenter::warn(std::string message)
{
    m_warnings.push_back(std::move(message));
}

void ViewController::presentViewController(
    const std::shared_ptr<ViewController>& controller, bool animated, std::function<void()> completion)
{
    PresentationDriver::present(*this, controller, animated, std::move(completion));
}

void ViewController::dismissViewControllerAnimated(bool animated, std::function<void()> completion)
{
    PresentationDriver::dismiss(*this, animated, std::move(completion));
}

bool dismissPopoverFromOutsideTap(const std::shared_ptr<ViewController>& controller)
{
    return PresentationDriver::dismissPopoverFromOutsideTap(controller);
}

bool PresentationDriver::canPresent(
    ViewController& presenter, const std::shared_ptr<ViewController>& controller)
{
    auto& log = Presenter::shared();
    if (!controller) {
        log.warn("Attempt to present a null view controller on " + describe(&presenter));
        return false;
    }
    std::string what = "Attempt to present " + describe(controller.get()) + " on " + describe(&presenter);
    if (presenter.m_presented) {
        log.warn(what + " which is already presenting " + describe(presenter.m_presented.get()));
        return false;
    }
    if (presenter.m_beingDismissed) {
        log.warn(what + " while a dismissal is in progress");
        return false;
    }
    if (controller->m_presenting.lock() || controller->m_beingPresented) {
        log.warn(what + " which is already presented");
        return false;
    }
    if (controller->parentViewController()) {
        log.warn(what + " which is a child view controller");
        return false;
    }
    // Presenting a controller that (through parents or presenters) leads back here would
    // make it own itself.
    for (auto current = presenter.shared_from_this(); current;) {
        if (current == controller) {
            log.warn(what + " which would present itself");
            return false;
        }
        if (auto parent = current->parentViewController())
            current = parent;
        else
            current = current->m_presenting.lock();
    }
    return true;
}

ModalPresentationStyle PresentationDriver::resolveStyle(ViewController& presented)
{
    ModalPresentationStyle style = presented.m_modalPresentationStyle;
    if (style == ModalPresentationStyle::Popover) {
        auto* popover = presented.popoverPresentationController();
        auto delegate = popover->delegate();
        if (delegate)
            delegate->prepareForPopoverPresentation(*popover);
        if (!Environment::current().isPad()) {
            std::optional<ModalPresentationStyle> adapted;
            if (delegate)
                adapted = delegate->adaptivePresentationStyleForPresentationController(*popover);
            if (!adapted)
                style = ModalPresentationStyle::FullScreen;
            else if (*adapted != ModalPresentationStyle::None)
                style = *adapted;
        }
    }
    if (style == ModalPresentationStyle::Automatic || style == ModalPresentationStyle::None)
        style = ModalPresentationStyle::PageSheet;
    return style;
}

std::shared_ptr<ViewController> PresentationDriver::contextController(ViewController& presenter)
{
    auto current = presenter.shared_from_this();
    for (auto walk = current; walk; walk = walk->parentViewController()) {
        if (walk->definesPresentationContext())
            return walk;
    }
    return rootOfParentChain(current);
}

Rect PresentationDriver::popoverFrame(
    PopoverPresentationController& popover, const Size& contentSize, const Rect& windowBounds)
{
    Size size = contentSize;
    if (size.width <= 0 || size.height <= 0)
        size = defaultPopoverSize;
    size.width = std::min(size.width, std::max(0.0, windowBounds.width() - 2 * popoverMargin));
    size.height = std::min(size.height, std::max(0.0, windowBounds.height() - 2 * popoverMargin));

    auto sourceView = popover.sourceView();
    if (!sourceView) {
        Presenter::shared().warn(
            "A pop-over was presented without a source view; it is centred in the window");
        popover.m_arrowDirection = PopoverArrowDirection::Unknown;
        return { windowBounds.midX() - size.width / 2, windowBounds.midY() - size.height / 2, size.width,
            size.height };
    }
    Rect source = sourceView->convertRectTo(popover.sourceRect(), nullptr);
    double minX = windowBounds.minX() + popoverMargin;
    double maxX = windowBounds.maxX() - popoverMargin - size.width;
    double minY = windowBounds.minY() + popoverMargin;
    double maxY = windowBounds.maxY() - popoverMargin - size.height;
    double centeredX = clampValue(source.midX() - size.width / 2, minX, maxX);
    double centeredY = clampValue(source.midY() - size.height / 2, minY, maxY);

    struct Candidate {
        PopoverArrowDirection direction;
        Rect frame;
        bool fits;
    };
    const Candidate candidates[] = {
        { PopoverArrowDirection::Up,
            { centeredX, source.maxY() + popoverArrowHeight, size.width, size.height },
            source.maxY() + popoverArrowHeight <= maxY },
        { PopoverArrowDirection::Down,
            { centeredX, source.minY() - popoverArrowHeight - size.height, size.width, size.height },
            source.minY() - popoverArrowHeight - size.height >= minY },
        { PopoverArrowDirection::Left,
            { source.maxX() + popoverArrowHeight, centeredY, size.width, size.height },
            source.maxX() + popoverArrowHeight <= maxX },
        { PopoverArrowDirection::Right,
            { source.minX() - popoverArrowHeight - size.width, centeredY, size.width, size.height },
            source.minX() - popoverArrowHeight - size.width >= minX },
    };
    const Candidate* chosen = nullptr;
    for (auto& candidate : candidates) {
        if (hasFlags(popover.m_permittedArrowDirections, candidate.direction) && candidate.fits) {
            chosen = &candidate;
            break;
        }
    }
    if (!chosen) {
        // Nothing fits: the first permitted side, kept inside the window.
        for (auto& candidate : candidates) {
            if (hasFlags(popover.m_permittedArrowDirections, candidate.direction)) {
                chosen = &candidate;
                break;
            }
        }
    }
    if (!chosen) {
        popover.m_arrowDirection = PopoverArrowDirection::Unknown;
        return { centeredX, centeredY, size.width, size.height };
    }
    popover.m_arrowDirection = chosen->direction;
    Rect frame = chosen->frame;
    frame.origin.x = clampValue(frame.origin.x, minX, maxX);
    frame.origin.y = clampValue(frame.origin.y, minY, maxY);
    return frame;
}

Rect PresentationDriver::frameFor(ViewController& presenter, ViewController& presented,
    ModalPresentationStyle style, const Rect& windowBounds)
{
    bool pad = Environment::current().isPad();
    switch (style) {
    case ModalPresentationStyle::FormSheet:
        if (pad) {
            Size size = presented.preferredContentSize();
            if (size.width <= 0 || size.height <= 0)
                size = padFormSheetSize;
            return { windowBounds.midX() - size.width / 2, windowBounds.midY() - size.height / 2, size.width,
                size.height };
        }
        return windowBounds;
    case ModalPresentationStyle::PageSheet:
        if (pad) {
            double width = std::min(windowBounds.width(), padPageSheetWidth);
            double top = Environment::current().statusBarHeight();
            return { windowBounds.midX() - width / 2, top, width,
                std::max(0.0, windowBounds.height() - top) };
        }
        return windowBounds;
    case ModalPresentationStyle::CurrentContext:
    case ModalPresentationStyle::OverCurrentContext: {
        auto context = contextController(presenter);
        auto contextView = context ? context->viewIfLoaded() : nullptr;
        if (contextView && contextView->isInWindow())
            return frameInWindow(contextView);
        return windowBounds;
    }
    case ModalPresentationStyle::Popover:
        return popoverFrame(
            *presented.popoverPresentationController(), presented.preferredContentSize(), windowBounds);
    default:
        return windowBounds;
    }
}

void PresentationDriver::present(ViewController& presenter, const std::shared_ptr<ViewController>& controller,
    bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!canPresent(presenter, controller))
        return;
    auto& log = Presenter::shared();
    auto presenterPtr = presenter.shared_from_this();

    ModalPresentationStyle asked = controller->m_modalPresentationStyle;
    ModalPresentationStyle style = resolveStyle(*controller);

    presenter.m_presented = controller;
    controller->m_presenting = presenterPtr;
    controller->m_beingPresented = true;
    controller->m_beingDismissed = false;
    controller->m_effectiveStyle = style;

    // Where the content goes: on top of the window the presenter is shown in. A presenter
    // in no window still presents; the presented view then stays detached.
    auto window = Environment::current().keyWindow();
    auto presenterView = presenter.viewIfLoaded();
    bool inWindow = window && presenterView && presenterView->isDescendantOf(window.get());
    Rect windowBounds = window ? window->bounds() : Environment::current().screenBounds();
    auto view = controller->view();
    Rect frame = frameFor(presenter, *controller, style, windowBounds);
    view->setFrame(frame);

    PopoverPresentationController* popover = nullptr;
    if (style == ModalPresentationStyle::Popover) {
        popover = controller->popoverPresentationController();
        popover->m_presentedFrame = frame;
        popover->m_backgroundView.reset();
        if (popover->m_backgroundFactory) {
            popover->m_backgroundView = popover->m_backgroundFactory(frame);
            if (auto background = popover->m_backgroundView) {
                background->setFrame(frame);
                background->setArrowDirection(popover->m_arrowDirection);
                auto source = popover->sourceView();
                if (source) {
                    Rect sourceInWindow = source->convertRectTo(popover->sourceRect(), nullptr);
                    bool vertical = popover->m_arrowDirection == PopoverArrowDirection::Up
                        || popover->m_arrowDirection == PopoverArrowDirection::Down;
                    double offset = vertical ? sourceInWindow.midX() - frame.midX()
                                             : sourceInWindow.midY() - frame.midY();
                    background->setArrowOffset(offset);
                }
                if (inWindow)
                    window->addSubview(background);
            }
        }
        if (popover->m_backgroundColor)
            view->setBackgroundColor(popover->m_backgroundColor);
    }
    if (inWindow)
        window->addSubview(view);

    PresentationRecord record;
    record.presented = controller;
    record.presenting = presenterPtr;
    record.presentedClassName = std::string(controller->className());
    record.style = asked;
    record.effectiveStyle = style;
    record.transitionStyle = controller->m_modalTransitionStyle;
    record.animated = animated;
    record.preferredContentSize = controller->preferredContentSize();
    record.time = base::RunLoop::main().now();
    if (auto* anyPopover = controller->m_popover.get();
        anyPopover && asked == ModalPresentationStyle::Popover) {
        record.sourceView = anyPopover->m_sourceView;
        record.sourceRect = anyPopover->sourceView() || anyPopover->m_sourceRect
            ? std::optional<Rect>(anyPopover->sourceRect())
            : std::nullopt;
        record.permittedArrowDirections = anyPopover->m_permittedArrowDirections;
        record.arrowDirection = popover ? popover->m_arrowDirection : PopoverArrowDirection::Unknown;
    }
    log.m_presented.push_back(record);
    log.m_active.push_back(controller);

    // Full-screen styles take the covered controller off screen; the "over" styles,
    // sheets and pop-overs leave it showing.
    std::shared_ptr<ViewController> covered;
    if (style == ModalPresentationStyle::FullScreen)
        covered = rootOfParentChain(presenterPtr);
    else if (style == ModalPresentationStyle::CurrentContext)
        covered = contextController(presenter);
    controller->m_coveredController.reset();
    if (covered && covered->isAppeared()) {
        controller->m_coveredController = covered;
        covered->beginAppearanceTransition(false, animated);
    }
    controller->beginAppearanceTransition(true, animated);

    std::weak_ptr<ViewController> weakCovered = covered;
    controller->m_finishPresentation = [controllerWeak = std::weak_ptr<ViewController>(controller),
                                           weakCovered, completion = std::move(completion)] {
        if (auto presented = controllerWeak.lock()) {
            presented->m_beingPresented = false;
            if (presented->appearanceState() == AppearanceState::Appearing)
                presented->endAppearanceTransition();
        }
        if (auto coveredController = weakCovered.lock()) {
            if (coveredController->appearanceState() == AppearanceState::Disappearing)
                coveredController->endAppearanceTransition();
        }
        if (completion)
            completion();
    };
    ++log.m_pendingTransitions;
    auto task = [controller] { finishPresentation(controller); };
    controller->m_presentationTaskId = animated ? base::RunLoop::main().postDelayed(transitionDuration, task)
                                                : base::RunLoop::main().post(task);
}

void PresentationDriver::finishPresentation(const std::shared_ptr<ViewController>& controller)
{
    auto finish = std::move(controller->m_finishPresentation);
    controller->m_finishPresentation = nullptr;
    controller->m_presentationTaskId = 0;
    if (!finish)
        return;
    --Presenter::shared().m_pendingTransitions;
    finish();
}

void PresentationDriver::removeFromActive(const ViewController* controller)
{
    auto& active = Presenter::shared().m_active;
    active.erase(std::remove_if(active.begin(), active.end(),
                     [controller](const std::weak_ptr<ViewController>& weak) {
                         auto locked = weak.lock();
                         return !locked || locked.get() == controller;
                     }),
        active.end());
}

void PresentationDriver::dismiss(ViewController& receiver, bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& log = Presenter::shared();
    std::shared_ptr<ViewController> presenter;
    for (auto current = receiver.shared_from_this(); current; current = current->parentViewController()) {
        if (current->m_presented) {
            presenter = current;
            break;
        }
        if (auto presenting = current->m_presenting.lock()) {
            presenter = presenting;
            break;
        }
    }
    if (!presenter) {
        log.warn("Nothing to dismiss from " + describe(&receiver));
        return;
    }
    auto first = presenter->m_presented;
    if (first->m_beingDismissed) {
        log.warn("Attempt to dismiss " + describe(first.get()) + " while its dismissal is in progress");
        return;
    }

    // A presentation still in its transition completes first, so its callbacks keep
    // their order.
    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto current = first; current; current = current->m_presented)
        chain.push_back(current);
    for (auto& controller : chain) {
        if (controller->m_finishPresentation) {
            base::RunLoop::main().cancel(controller->m_presentationTaskId);
            finishPresentation(controller);
        }
    }
    // The completion of a finished presentation may have changed the chain.
    if (presenter->m_presented != first || first->m_beingDismissed)
        return dismiss(receiver, animated, std::move(completion));

    std::vector<std::shared_ptr<ViewController>> toReappear;
    for (auto& controller : chain) {
        controller->m_beingDismissed = true;
        PresentationRecord record;
        record.presented = controller;
        record.presenting = controller->m_presenting;
        record.presentedClassName = std::string(controller->className());
        record.style = controller->m_modalPresentationStyle;
        record.effectiveStyle = controller->m_effectiveStyle;
        record.transitionStyle = controller->m_modalTransitionStyle;
        record.animated = animated;
        record.preferredContentSize = controller->preferredContentSize();
        record.time = base::RunLoop::main().now();
        log.m_dismissed.push_back(record);
        auto covered = controller->m_coveredController.lock();
        if (covered && std::find(chain.begin(), chain.end(), covered) == chain.end())
            toReappear.push_back(covered);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->beginAppearanceTransition(false, animated);
    for (auto& covered : toReappear)
        covered->beginAppearanceTransition(true, animated);

    auto unlink = [presenter, chain] {
        if (presenter->m_presented == chain.front())
            presenter->m_presented = nullptr;
        for (auto& controller : chain) {
            if (auto view = controller->viewIfLoaded())
                view->removeFromSuperview();
            if (controller->m_popover && controller->m_popover->m_backgroundView)
                controller->m_popover->m_backgroundView->removeFromSuperview();
            controller->m_presenting.reset();
            controller->m_presented = nullptr;
            controller->m_coveredController.reset();
            controller->m_beingDismissed = false;
            removeFromActive(controller.get());
        }
    };
    if (!animated)
        unlink();

    ++log.m_pendingTransitions;
    auto finish = [animated, unlink, chain, toReappear, completion = std::move(completion)] {
        --Presenter::shared().m_pendingTransitions;
        if (animated)
            unlink();
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if ((*it)->appearanceState() == AppearanceState::Disappearing)
                (*it)->endAppearanceTransition();
        }
        for (auto& covered : toReappear) {
            if (covered->appearanceState() == AppearanceState::Appearing)
                covered->endAppearanceTransition();
        }
        if (completion)
            completion();
    };
    if (animated)
        base::RunLoop::main().postDelayed(transitionDuration, finish);
    else
        base::RunLoop::main().post(finish);
}

bool PresentationDriver::dismissPopoverFromOutsideTap(const std::shared_ptr<ViewController>& controller)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!controller)
        return false;
    std::shared_ptr<ViewController> popoverController;
    if (controller->m_presented
        && controller->m_presented->m_effectiveStyle == ModalPresentationStyle::Popover)
        popoverController = controller->m_presented;
    else if (controller->m_effectiveStyle == ModalPresentationStyle::Popover
        && controller->m_presenting.lock())
        popoverController = controller;
    if (!popoverController || popoverController->m_beingDismissed || !popoverController->m_popover)
        return false;
    if (popoverController->m_modalInPresentation)
        return false;
    auto* popover = popoverController->m_popover.get();
    auto delegate = popover->delegate();
    if (delegate && !delegate->popoverPresentationControllerShouldDismissPopover(*popover))
        return false;
    auto presenter = popoverController->m_presenting.lock();
    std::weak_ptr<PopoverPresentationControllerDelegate> weakDelegate = delegate;
    presenter->dismissViewControllerAnimated(true, [popoverController, weakDelegate] {
        if (auto delegate = weakDelegate.lock())
            delegate->popoverPresentationControllerDidDismissPopover(*popoverController->m_popover);
    });
    return true;
}

} // namespace ui
