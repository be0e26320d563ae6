#pragma once

// View controllers: a view loaded on demand, appearance callbacks, child containment,
// size transitions and modal presentation.
//
// Controllers are shared (std::shared_ptr); a parent owns its children, a presenting
// controller owns the controller it presents, and the way back (parent, presenting
// controller, the view's owning controller) is weak, so dropping the root of a tree tears
// it all down.
//
// Appearance. beginAppearanceTransition()/endAppearanceTransition() run viewWill…/viewDid…
// once per change of state and pass the same change on to every child whose view is
// loaded and inside this controller's view. Presentation, containment, navigation and
// uitest::showInWindow drive them:
//   - adding a child: willMoveToParentViewController(parent) from addChildViewController;
//     then, from the base didMoveToParentViewController(parent), viewWillAppear and
//     viewDidAppear when the parent has appeared and the child's view is inside it;
//   - removing a child: viewWillDisappear and viewDidDisappear (when it had appeared), then
//     didMoveToParentViewController(nullptr), all from removeFromParentViewController.
// Subclasses that override didMoveToParentViewController call the base.
//
// Presentation (see Presentation.h for the log and pop-overs). A presentation links the
// two controllers at once, adds the presented view on top of the window and calls
// viewWillAppear; viewDidAppear and the completion run when the transition completes on
// the main run loop: after transitionDuration (0.3 s) when animated, at the next
// runUntilIdle() otherwise. Presenting from a controller that already presents one is
// refused, logged in Presenter::warnings(), and its completion does not run. A dismissal
// without animation unlinks at once; an animated one when it completes; in both cases
// viewDidDisappear and the completion run when the transition completes.

#include "platform/base/Thread.h"
#include "platform/ui/Bitmask.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Responder.h"
#include "platform/ui/TransitionCoordinator.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class NavigationController;
class PopoverPresentationController;

// The platform's raw values.
enum class ModalPresentationStyle {
    FullScreen = 0,
    PageSheet = 1,
    FormSheet = 2,
    CurrentContext = 3,
    Custom = 4,
    OverFullScreen = 5,
    OverCurrentContext = 6,
    Popover = 7,
    None = -1,
    Automatic = -2,
};

enum class ModalTransitionStyle { CoverVertical = 0, FlipHorizontal = 1, CrossDissolve = 2, PartialCurl = 3 };

enum class InterfaceOrientationMask : uint32_t {
    Portrait = 1 << 1,
    PortraitUpsideDown = 1 << 2,
    LandscapeRight = 1 << 3,
    LandscapeLeft = 1 << 4,
    Landscape = (1 << 3) | (1 << 4),
    All = (1 << 1) | (1 << 2) | (1 << 3) | (1 << 4),
    AllButUpsideDown = (1 << 1) | (1 << 3) | (1 << 4),
};
UI_DEFINE_BITMASK_OPERATORS(InterfaceOrientationMask)

const char* modalPresentationStyleName(ModalPresentationStyle);

enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };

class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
public:
    static std::shared_ptr<ViewController> create();
    ~ViewController() override;

    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // "ViewController", "NavigationController", "AlertController"… for logs.
    virtual std::string_view className() const { return "ViewController"; }

    // The view, loaded on first use: loadView() then viewDidLoad(). Asking for the view
    // from inside loadView() answers null instead of recursing.
    std::shared_ptr<View> view();
    std::shared_ptr<View> viewIfLoaded() const { return m_view; }
    bool isViewLoaded() const { return m_view != nullptr; }
    void loadViewIfNeeded();
    // Replaces the view (null unloads it); the view's owning controller becomes this one.
    void setView(std::shared_ptr<View>);
    // The base makes a plain view the size of the screen. A loadView that sets no view
    // gets that one too.
    virtual void loadView();
    virtual void viewDidLoad() { }

    // Appearance callbacks (see the header comment for who calls them).
    virtual void viewWillAppear(bool /*animated*/) { }
    virtual void viewDidAppear(bool /*animated*/) { }
    virtual void viewWillDisappear(bool /*animated*/) { }
    virtual void viewDidDisappear(bool /*animated*/) { }
    // Around the layout of a view made by the base loadView().
    virtual void viewWillLayoutSubviews() { }
    virtual void viewDidLayoutSubviews() { }

    // Runs viewWillAppear/viewWillDisappear when the state changes (a repeated request
    // for the same direction does nothing) and passes it on to the children shown inside
    // this view. End runs viewDidAppear/viewDidDisappear for a transition begun.
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    AppearanceState appearanceState() const { return m_appearanceState; }
    bool isAppeared() const { return m_appearanceState == AppearanceState::Appeared; }

    // The base passes the call on to the children and to the presented controller.
    virtual void viewWillTransitionToSize(const Size&, TransitionCoordinator&);

    // Containment.
    const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return m_children; }
    std::shared_ptr<ViewController> parentViewController() const { return m_parent.lock(); }
    // Calls child->willMoveToParentViewController(this). A child of another parent is
    // first removed from it; adding this controller or one of its ancestors is refused.
    void addChildViewController(const std::shared_ptr<ViewController>&);
    // Disappearance (when appeared), then didMoveToParentViewController(nullptr).
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(ViewController* /*parent*/) { }
    virtual void didMoveToParentViewController(ViewController* parent);
    // The nearest navigation controller among this controller and its ancestors.
    std::shared_ptr<NavigationController> navigationController() const;

    // Orientation and status bar. The base allows every orientation on a pad and all but
    // upside-down elsewhere.
    virtual InterfaceOrientationMask supportedInterfaceOrientations() const;
    virtual bool shouldAutorotate() const { return true; }
    virtual bool prefersStatusBarHidden() const { return false; }

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { BASE_ASSERT_MAIN_THREAD(); m_title = std::move(title); }
    Size preferredContentSize() const { return m_preferredContentSize; }
    void setPreferredContentSize(const Size& size)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_preferredContentSize = size;
    }

    ModalPresentationStyle modalPresentationStyle() const { return m_modalPresentationStyle; }
    void setModalPresentationStyle(ModalPresentationStyle);
    ModalTransitionStyle modalTransitionStyle() const { return m_modalTransitionStyle; }
    void setModalTransitionStyle(ModalTransitionStyle style)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_modalTransitionStyle = style;
    }
    bool definesPresentationContext() const { return m_definesPresentationContext; }
    void setDefinesPresentationContext(bool value)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_definesPresentationContext = value;
    }
    bool isModalInPresentation() const { return m_modalInPresentation; }
    void setModalInPresentation(bool value) { BASE_ASSERT_MAIN_THREAD(); m_modalInPresentation = value; }

    // Presentation (implemented in Presentation.cpp).
    void presentViewController(
        const std::shared_ptr<ViewController>&, bool animated, std::function<void()> completion = {});
    // Dismisses what this controller presents; when it presents nothing, the controller
    // (or the nearest ancestor) that was presented is dismissed by its presenter. Nothing
    // to dismiss: logged, the completion does not run.
    void dismissViewControllerAnimated(bool animated, std::function<void()> completion = {});
    std::shared_ptr<ViewController> presentedViewController() const { return m_presented; }
    // This controller's presenter, or its nearest presented ancestor's.
    std::shared_ptr<ViewController> presentingViewController() const;
    bool isBeingPresented() const { return m_beingPresented; }
    bool isBeingDismissed() const { return m_beingDismissed; }
    // The style the last presentation of this controller took after adaptation.
    ModalPresentationStyle effectivePresentationStyle() const { return m_effectiveStyle; }
    // For the pop-over style only (null otherwise), made on first use and kept.
    PopoverPresentationController* popoverPresentationController();

    // Responder: the view's superview.
    Responder* nextResponder() const override;

protected:
    ViewController();

private:
    friend class PresentationDriver;
    friend class NavigationController;

    void forwardAppearance(bool begin, bool isAppearing, bool animated);
    bool isAncestorOrSelf(const ViewController*) const;

    std::shared_ptr<View> m_view;
    bool m_loadingView = false;
    AppearanceState m_appearanceState = AppearanceState::Disappeared;
    bool m_appearanceAnimated = false;

    std::vector<std::shared_ptr<ViewController>> m_children;
    std::weak_ptr<ViewController> m_parent;

    std::string m_title;
    Size m_preferredContentSize;
    ModalPresentationStyle m_modalPresentationStyle = ModalPresentationStyle::Automatic;
    ModalTransitionStyle m_modalTransitionStyle = ModalTransitionStyle::CoverVertical;
    bool m_definesPresentationContext = false;
    bool m_modalInPresentation = false;

    std::shared_ptr<ViewController> m_presented;
    std::weak_ptr<ViewController> m_presenting;
    bool m_beingPresented = false;
    bool m_beingDismissed = false;
    ModalPresentationStyle m_effectiveStyle = ModalPresentationStyle::None;
    // The controller whose view this presentation covered (full-screen styles), told to
    // disappear and to reappear on dismissal.
    std::weak_ptr<ViewController> m_coveredController;
    // Finishes a presentation transition still waiting on the run loop.
    std::function<void()> m_finishPresentation;
    uint64_t m_presentationTaskId = 0;
    std::unique_ptr<PopoverPresentationController> m_popover;
};

// The key window's root view controller: held strongly here (the Environment keeps a weak
// slot). Setting one makes a key window when there is none, puts the controller's view in
// it (replacing the previous root's view) sized to the window. Null removes the root.
void setKeyWindowRootViewController(const std::shared_ptr<ViewController>&);
std::shared_ptr<ViewController> keyWindowRootViewController();
// From the root, follows presented controllers to the last.
std::shared_ptr<ViewController> topmostViewController();

} // namespace ui
