#include "LectoroSDKWithReader/foundation/UIViewControllerExpanded.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace lectoro::UIViewControllerExpanded {

namespace {

void animate(double duration, const std::function<void()>& changes, std::function<void(bool)> completion = {})
{
    ui::View::animate(duration, 0, ui::AnimationOptions::None, changes, std::move(completion));
}

} // namespace

void addShadow(ui::ViewController& controller)
{
    auto& layer = *controller.view()->layer();
    layer.setShadowColor(ui::Color::black());
    layer.setShadowOpacity(0.7);
    layer.setShadowRadius(4.0);
    layer.setShadowOffset(ui::Size(5.0, -2.5));
}

void fadeInViewController(ui::ViewController& controller, double duration)
{
    auto view = controller.view();
    animate(duration, [view] { view->setAlpha(1.0); });
}

void fadeOutViewController(ui::ViewController& controller, double duration)
{
    auto view = controller.view();
    animate(duration, [view] { view->setAlpha(0.0); });
}

void animateViewController(ui::ViewController& controller, const ui::Rect& fromRect, const ui::Rect& toRect, double duration)
{
    auto view = controller.view();
    view->setFrame(fromRect);
    // Callers stop touches before they slide a panel in; they come back a while after it
    // has settled, so a tap meant for the old screen cannot land on the new one.
    animate(duration, [view, toRect] { view->setFrame(toRect); }, [](bool) {
        base::RunLoop::main().postDelayed(interactionResumeDelay, [] { ui::Environment::current().endIgnoringInteractionEvents(); });
    });
}

void dismissViewController(ui::ViewController& controller, const ui::Rect& fromRect, const ui::Rect& toRect, double duration)
{
    auto view = controller.view();
    view->setFrame(fromRect);
    animate(duration, [view, toRect] { view->setFrame(toRect); }, [view](bool) { view->removeFromSuperview(); });
}

void slideInViewController(ui::ViewController& controller, double duration)
{
    auto view = controller.view();
    auto frame = view->frame();
    view->setFrame(ui::Rect(-frame.size.width, frame.origin.y, frame.size.width, frame.size.height));
    animate(duration, [view, frame] { view->setFrame(ui::Rect(60.0, frame.origin.y, frame.size.width, frame.size.height)); });
}

void slideOutViewController(ui::ViewController& controller, double duration)
{
    auto view = controller.view();
    auto frame = view->frame();
    animate(duration, [view, frame] { view->setFrame(ui::Rect(-frame.size.width, frame.origin.y, frame.size.width, frame.size.height)); });
}

void slideUpViewController(ui::ViewController& controller, double duration)
{
    auto view = controller.view();
    auto frame = view->frame();
    view->setFrame(ui::Rect(frame.origin.x, frame.origin.y + frame.size.height, frame.size.width, frame.size.height));
    animate(duration, [view, frame] { view->setFrame(frame); });
}

void slideDownViewController(ui::ViewController& controller, double duration)
{
    auto view = controller.view();
    auto frame = view->frame();
    animate(duration, [view, frame] { view->setFrame(ui::Rect(frame.origin.x, frame.origin.y + frame.size.height, frame.size.width, frame.size.height)); });
}

std::shared_ptr<ui::ViewController> topmostViewController()
{
    return ui::topmostViewController();
}

void returnToRootViewController()
{
    auto controller = topmostViewController();
    while (controller) {
        if (auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(controller))
            navigation->popToRootViewControllerAnimated(false);
        auto presenting = controller->presentingViewController();
        if (presenting)
            controller->dismissViewControllerAnimated(false, [] { });
        controller = presenting;
    }
}

} // namespace lectoro::UIViewControllerExpanded
