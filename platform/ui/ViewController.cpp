#include "platform/ui/ViewController.h"

#include "platform/base/Thread.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

#include <algorithm>

namespace ui {

namespace {

// The view the base loadView() makes: it tells its controller around each layout.
class ControllerRootView final : public View {
public:
    static std::shared_ptr<ControllerRootView> create(const Rect& frame)
    {
        return std::shared_ptr<ControllerRootView>(new ControllerRootView(frame));
    }

    void layoutSubviews() override
    {
        auto controller = std::dynamic_pointer_cast<ViewController>(owningController());
        if (controller)
            controller->viewWillLayoutSubviews();
        View::layoutSubviews();
        if (controller)
            controller->viewDidLayoutSubviews();
    }

private:
    explicit ControllerRootView(const Rect& frame)
        : View(frame)
    {
        // Follows its container, as a controller's own view does on the platform.
        setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    }
};

std::shared_ptr<ViewController>& rootControllerHolder()
{
    static std::shared_ptr<ViewController> holder;
    return holder;
}

} // namespace

const char* modalPresentationStyleName(ModalPresentationStyle style)
{
    switch (style) {
    case ModalPresentationStyle::FullScreen:
        return "fullScreen";
    case ModalPresentationStyle::PageSheet:
        return "pageSheet";
    case ModalPresentationStyle::FormSheet:
        return "formSheet";
    case ModalPresentationStyle::CurrentContext:
        return "currentContext";
    case ModalPresentationStyle::Custom:
        return "custom";
    case ModalPresentationStyle::OverFullScreen:
        return "overFullScreen";
    case ModalPresentationStyle::OverCurrentContext:
        return "overCurrentContext";
    case ModalPresentationStyle::Popover:
        return "popover";
    case ModalPresentationStyle::None:
        return "none";
    case ModalPresentationStyle::Automatic:
        return "automatic";
    }
    return "unknown";
}

std::shared_ptr<ViewController> ViewController::create()
{
    return std::shared_ptr<ViewController>(new ViewController());
}

ViewController::ViewController()
{
    BASE_ASSERT_MAIN_THREAD();
}

ViewController::~ViewController()
{
    // Children and the presented controller are owned here and go with us; their way
    // back is weak and simply expires.
    if (m_view && m_view->owningController().get() == this)
        m_view->setOwningController({});
}

std::shared_ptr<View> ViewController::view()
{
    loadViewIfNeeded();
    return m_view;
}

void ViewController::loadViewIfNeeded()
{
    if (m_view || m_loadingView)
        return;
    BASE_ASSERT_MAIN_THREAD();
    m_loadingView = true;
    loadView();
    m_loadingView = false;
    if (!m_view)
        setView(ControllerRootView::create(Environment::current().screenBounds()));
    viewDidLoad();
}

void ViewController::loadView()
{
    setView(ControllerRootView::create(Environment::current().screenBounds()));
}

void ViewController::setView(std::shared_ptr<View> view)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_view == view)
        return;
    if (m_view && m_view->owningController().get() == this)
        m_view->setOwningController({});
    m_view = std::move(view);
    if (m_view)
        m_view->setOwningController(weak_from_this());
}

void ViewController::beginAppearanceTransition(bool isAppearing, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (isAppearing) {
        if (m_appearanceState == AppearanceState::Appearing || m_appearanceState == AppearanceState::Appeared)
            return;
        loadViewIfNeeded();
        m_appearanceState = AppearanceState::Appearing;
        m_appearanceAnimated = animated;
        viewWillAppear(animated);
    } else {
        if (m_appearanceState == AppearanceState::Disappearing
            || m_appearanceState == AppearanceState::Disappeared)
            return;
        m_appearanceState = AppearanceState::Disappearing;
        m_appearanceAnimated = animated;
        viewWillDisappear(animated);
    }
    forwardAppearance(true, isAppearing, animated);
}

void ViewController::endAppearanceTransition()
{
    BASE_ASSERT_MAIN_THREAD();
    bool animated = m_appearanceAnimated;
    if (m_appearanceState == AppearanceState::Appearing) {
        m_appearanceState = AppearanceState::Appeared;
        viewDidAppear(animated);
        forwardAppearance(false, true, animated);
    } else if (m_appearanceState == AppearanceState::Disappearing) {
        m_appearanceState = AppearanceState::Disappeared;
        viewDidDisappear(animated);
        forwardAppearance(false, false, animated);
    }
}

void ViewController::forwardAppearance(bool begin, bool isAppearing, bool animated)
{
    // A copy: a callback may add or remove children.
    auto children = m_children;
    for (auto& child : children) {
        if (child->parentViewController().get() != this)
            continue;
        if (begin) {
            auto childView = child->viewIfLoaded();
            if (isAppearing && !(childView && m_view && childView->isDescendantOf(m_view.get())))
                continue;
            child->beginAppearanceTransition(isAppearing, animated);
        } else {
            AppearanceState expected
                = isAppearing ? AppearanceState::Appearing : AppearanceState::Disappearing;
            if (child->m_appearanceState == expected)
                child->endAppearanceTransition();
        }
    }
}

void ViewController::viewWillTransitionToSize(const Size& size, TransitionCoordinator& coordinator)
{
    auto children = m_children;
    for (auto& child : children)
        child->viewWillTransitionToSize(size, coordinator);
    if (auto presented = m_presented)
        presented->viewWillTransitionToSize(size, coordinator);
}

bool ViewController::isAncestorOrSelf(const ViewController* other) const
{
    for (auto current = shared_from_this(); current; current = current->parentViewController()) {
        if (current.get() == other)
            return true;
    }
    return false;
}

void ViewController::addChildViewController(const std::shared_ptr<ViewController>& child)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!child || isAncestorOrSelf(child.get()))
        return;
    if (auto oldParent = child->parentViewController()) {
        if (oldParent.get() == this)
            return;
        child->willMoveToParentViewController(nullptr);
        child->removeFromParentViewController();
    }
    child->willMoveToParentViewController(this);
    m_children.push_back(child);
    child->m_parent = weak_from_this();
}

void ViewController::didMoveToParentViewController(ViewController* parent)
{
    if (!parent || parentViewController().get() != parent)
        return;
    auto parentView = parent->viewIfLoaded();
    if (parent->isAppeared() && m_view && parentView && m_view->isDescendantOf(parentView.get())
        && m_appearanceState == AppearanceState::Disappeared) {
        beginAppearanceTransition(true, false);
        endAppearanceTransition();
    }
}

void ViewController::removeFromParentViewController()
{
    BASE_ASSERT_MAIN_THREAD();
    auto parent = parentViewController();
    if (!parent)
        return;
    auto self = shared_from_this();
    auto& siblings = parent->m_children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    m_parent.reset();
    if (m_appearanceState == AppearanceState::Appeared || m_appearanceState == AppearanceState::Appearing) {
        beginAppearanceTransition(false, false);
        endAppearanceTransition();
    }
    didMoveToParentViewController(nullptr);
}

std::shared_ptr<NavigationController> ViewController::navigationController() const
{
    for (auto current = std::const_pointer_cast<ViewController>(shared_from_this()); current;
         current = current->parentViewController()) {
        if (auto navigation = std::dynamic_pointer_cast<NavigationController>(current))
            return navigation;
    }
    return nullptr;
}

InterfaceOrientationMask ViewController::supportedInterfaceOrientations() const
{
    return Environment::current().isPad() ? InterfaceOrientationMask::All
                                          : InterfaceOrientationMask::AllButUpsideDown;
}

void ViewController::setModalPresentationStyle(ModalPresentationStyle style)
{
    m_modalPresentationStyle = style;
}

PopoverPresentationController* ViewController::popoverPresentationController()
{
    if (m_modalPresentationStyle != ModalPresentationStyle::Popover && !m_popover)
        return nullptr;
    if (!m_popover)
        m_popover.reset(new PopoverPresentationController(weak_from_this()));
    return m_popover.get();
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const
{
    for (auto current = std::const_pointer_cast<ViewController>(shared_from_this()); current;
         current = current->parentViewController()) {
        if (auto presenting = current->m_presenting.lock())
            return presenting;
    }
    return nullptr;
}

Responder* ViewController::nextResponder() const
{
    if (!m_view)
        return nullptr;
    return m_view->superview().get();
}

void setKeyWindowRootViewController(const std::shared_ptr<ViewController>& controller)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& holder = rootControllerHolder();
    auto& environment = Environment::current();
    if (holder && holder != controller) {
        if (auto oldView = holder->viewIfLoaded(); oldView && oldView->superview() == environment.keyWindow())
            oldView->removeFromSuperview();
    }
    holder = controller;
    environment.setRootViewController(std::weak_ptr<ViewController>(controller));
    if (!controller)
        return;
    auto window = environment.keyWindow();
    if (!window)
        window = environment.makeKeyWindow();
    auto view = controller->view();
    view->setFrame(window->bounds());
    if (view->superview() != window)
        window->insertSubview(view, 0);
}

std::shared_ptr<ViewController> keyWindowRootViewController()
{
    // Only a controller set through here counts: the Environment's slot is untyped, and
    // after an EnvironmentScope it may name something else (or nothing).
    auto& holder = rootControllerHolder();
    auto slot = Environment::current().rootViewController();
    if (holder && slot && slot.get() == static_cast<void*>(holder.get()))
        return holder;
    return nullptr;
}

std::shared_ptr<ViewController> topmostViewController()
{
    auto current = keyWindowRootViewController();
    while (current && current->presentedViewController())
        current = current->presentedViewController();
    return current;
}

} // namespace ui
