#include "platform/ui/NavigationController.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace ui {

std::shared_ptr<NavigationController> NavigationController::create(
    const std::shared_ptr<ViewController>& root)
{
    auto navigation = std::shared_ptr<NavigationController>(new NavigationController());
    if (root)
        navigation->setViewControllers({ root }, false);
    return navigation;
}

NavigationController::NavigationController() = default;

std::shared_ptr<ViewController> NavigationController::topViewController() const
{
    return m_stack.empty() ? nullptr : m_stack.back();
}

std::shared_ptr<ViewController> NavigationController::rootViewController() const
{
    return m_stack.empty() ? nullptr : m_stack.front();
}

std::shared_ptr<ViewController> NavigationController::visibleViewController() const
{
    auto top = topViewController();
    if (top && top->presentedViewController())
        return top->presentedViewController();
    return top;
}

std::shared_ptr<View> NavigationController::navigationBar()
{
    if (!m_navigationBar) {
        m_navigationBar = View::create();
        m_navigationBar->setHidden(m_navigationBarHidden);
    }
    return m_navigationBar;
}

void NavigationController::setNavigationBarHidden(bool hidden, bool)
{
    m_navigationBarHidden = hidden;
    if (m_navigationBar)
        m_navigationBar->setHidden(hidden);
}

void NavigationController::viewDidLoad()
{
    ViewController::viewDidLoad();
    auto bar = navigationBar();
    view()->addSubview(bar);
    layoutTop();
}

void NavigationController::viewWillLayoutSubviews()
{
    ViewController::viewWillLayoutSubviews();
    layoutTop();
}

InterfaceOrientationMask NavigationController::supportedInterfaceOrientations() const
{
    if (auto top = topViewController())
        return top->supportedInterfaceOrientations();
    return ViewController::supportedInterfaceOrientations();
}

void NavigationController::layoutTop()
{
    auto navigationView = viewIfLoaded();
    if (!navigationView)
        return;
    Rect bounds = navigationView->bounds();
    if (m_navigationBar) {
        double top = navigationView->safeAreaInsets().top;
        m_navigationBar->setFrame({ 0, top, bounds.width(), navigationBarHeight });
    }
    auto top = topViewController();
    if (!top)
        return;
    auto topView = top->view();
    topView->setFrame(bounds);
    if (topView->superview() != navigationView) {
        if (m_navigationBar && m_navigationBar->superview() == navigationView)
            navigationView->insertSubviewBelow(topView, m_navigationBar.get());
        else
            navigationView->addSubview(topView);
    }
}

void NavigationController::transition(const std::shared_ptr<ViewController>& leaving,
    const std::shared_ptr<ViewController>& arriving, std::vector<std::shared_ptr<ViewController>> added,
    std::vector<std::shared_ptr<ViewController>> removed, bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    bool shown
        = appearanceState() == AppearanceState::Appeared || appearanceState() == AppearanceState::Appearing;
    for (auto& controller : removed)
        controller->willMoveToParentViewController(nullptr);

    if (leaving && leaving != arriving) {
        if (shown)
            leaving->beginAppearanceTransition(false, animated);
        if (auto leavingView = leaving->viewIfLoaded();
            leavingView && viewIfLoaded() && leavingView->superview() == viewIfLoaded())
            leavingView->removeFromSuperview();
    }
    bool arrivingChanges = arriving && arriving != leaving;
    if (arrivingChanges) {
        layoutTop();
        if (shown && isViewLoaded())
            arriving->beginAppearanceTransition(true, animated);
    }

    auto self = std::static_pointer_cast<NavigationController>(shared_from_this());
    auto finish = [self, leaving, arriving, arrivingChanges, added, removed,
                      completion = std::move(completion)] {
        if (leaving && leaving != arriving && leaving->appearanceState() == AppearanceState::Disappearing)
            leaving->endAppearanceTransition();
        if (arrivingChanges && arriving->appearanceState() == AppearanceState::Appearing)
            arriving->endAppearanceTransition();
        for (auto& controller : removed) {
            if (controller->parentViewController() == self)
                controller->removeFromParentViewController();
        }
        for (auto& controller : added) {
            if (controller->parentViewController() == self)
                controller->didMoveToParentViewController(self.get());
        }
        if (completion)
            completion();
    };
    if (animated)
        base::RunLoop::main().postDelayed(transitionDuration, finish);
    else
        base::RunLoop::main().post(finish);
}

void NavigationController::setViewControllers(
    const std::vector<std::shared_ptr<ViewController>>& controllers, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    std::vector<std::shared_ptr<ViewController>> accepted;
    for (auto& controller : controllers) {
        if (!controller || controller.get() == this
            || std::find(accepted.begin(), accepted.end(), controller) != accepted.end())
            continue;
        auto parent = controller->parentViewController();
        if (parent && parent.get() != this)
            continue;
        accepted.push_back(controller);
    }
    auto leaving = topViewController();
    std::vector<std::shared_ptr<ViewController>> removed;
    for (auto& controller : m_stack) {
        if (std::find(accepted.begin(), accepted.end(), controller) == accepted.end())
            removed.push_back(controller);
    }
    std::vector<std::shared_ptr<ViewController>> added;
    for (auto& controller : accepted) {
        if (controller->parentViewController().get() != this) {
            addChildViewController(controller);
            added.push_back(controller);
        }
    }
    m_stack = accepted;
    transition(leaving, topViewController(), std::move(added), std::move(removed), animated, {});
}

void NavigationController::pushViewController(
    const std::shared_ptr<ViewController>& controller, bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!controller || controller.get() == this || controller->parentViewController()
        || controller->presentingViewController())
        return;
    auto leaving = topViewController();
    addChildViewController(controller);
    m_stack.push_back(controller);
    transition(leaving, controller, { controller }, {}, animated, std::move(completion));
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(
    bool animated, std::function<void()> completion)
{
    if (m_stack.size() < 2)
        return nullptr;
    auto popped = popToViewController(m_stack[m_stack.size() - 2].get(), animated, std::move(completion));
    return popped.empty() ? nullptr : popped.back();
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToViewController(
    const ViewController* target, bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto it = std::find_if(
        m_stack.begin(), m_stack.end(), [target](auto& controller) { return controller.get() == target; });
    if (it == m_stack.end() || it + 1 == m_stack.end())
        return {};
    auto leaving = topViewController();
    std::vector<std::shared_ptr<ViewController>> popped(it + 1, m_stack.end());
    m_stack.erase(it + 1, m_stack.end());
    transition(leaving, topViewController(), {}, popped, animated, std::move(completion));
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewControllerAnimated(
    bool animated, std::function<void()> completion)
{
    if (m_stack.empty())
        return {};
    return popToViewController(m_stack.front().get(), animated, std::move(completion));
}

} // namespace ui
