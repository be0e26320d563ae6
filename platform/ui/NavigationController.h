#pragma once

// A stack of view controllers, each a child of the navigation controller; only the top
// one's view is inside the navigation controller's view.
//
// Pushing and popping move the top's view at once and tell the controllers leaving and
// arriving (viewWillDisappear/viewWillAppear when the navigation controller has appeared);
// viewDid… and the completion follow when the transition completes on the run loop, as
// for presentation (transitionDuration when animated, the next runUntilIdle otherwise).

#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class NavigationController : public ViewController {
public:
    static std::shared_ptr<NavigationController> create(
        const std::shared_ptr<ViewController>& root = nullptr);
    std::string_view className() const override { return "NavigationController"; }

    // The bar's height below the safe-area top.
    static constexpr double navigationBarHeight = 44;

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return m_stack; }
    void setViewControllers(const std::vector<std::shared_ptr<ViewController>>&, bool animated = false);
    std::shared_ptr<ViewController> topViewController() const;
    // The top controller's presented controller when there is one, else the top.
    std::shared_ptr<ViewController> visibleViewController() const;
    std::shared_ptr<ViewController> rootViewController() const;

    // A controller already in the stack (or with another parent) is refused.
    void pushViewController(
        const std::shared_ptr<ViewController>&, bool animated, std::function<void()> completion = {});
    // The root is never popped: answers null with one controller left.
    std::shared_ptr<ViewController> popViewControllerAnimated(
        bool animated, std::function<void()> completion = {});
    // Answers the controllers popped, bottom first; empty when `controller` is not in the
    // stack or already on top.
    std::vector<std::shared_ptr<ViewController>> popToViewController(
        const ViewController* controller, bool animated, std::function<void()> completion = {});
    std::vector<std::shared_ptr<ViewController>> popToRootViewControllerAnimated(
        bool animated, std::function<void()> completion = {});

    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool hidden, bool animated = false);
    // A plain view standing for the bar (hidden with the flag).
    std::shared_ptr<View> navigationBar();

    void viewDidLoad() override;
    void viewWillLayoutSubviews() override;
    InterfaceOrientationMask supportedInterfaceOrientations() const override;

protected:
    NavigationController();

private:
    // Replaces the top: `leaving` goes out, `arriving` comes in; `added` are told they
    // moved to this parent and `removed` leave it once the transition completes.
    void transition(const std::shared_ptr<ViewController>& leaving,
        const std::shared_ptr<ViewController>& arriving, std::vector<std::shared_ptr<ViewController>> added,
        std::vector<std::shared_ptr<ViewController>> removed, bool animated,
        std::function<void()> completion);
    void layoutTop();

    std::vector<std::shared_ptr<ViewController>> m_stack;
    bool m_navigationBarHidden = false;
    std::shared_ptr<View> m_navigationBar;
};

} // namespace ui
