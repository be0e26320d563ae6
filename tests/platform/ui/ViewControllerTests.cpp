#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ViewController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ui::ViewController;

// Records every callback, with its name, into a shared journal.
class JournalController : public ViewController {
public:
    static std::shared_ptr<JournalController> make(std::string name, std::vector<std::string>& journal)
    {
        auto controller = std::shared_ptr<JournalController>(new JournalController(std::move(name), journal));
        return controller;
    }

    void viewDidLoad() override { note("viewDidLoad"); }
    void viewWillAppear(bool) override { note("viewWillAppear"); }
    void viewDidAppear(bool) override { note("viewDidAppear"); }
    void viewWillDisappear(bool) override { note("viewWillDisappear"); }
    void viewDidDisappear(bool) override { note("viewDidDisappear"); }
    void viewWillLayoutSubviews() override { note("viewWillLayoutSubviews"); }
    void viewDidLayoutSubviews() override { note("viewDidLayoutSubviews"); }
    void willMoveToParentViewController(ViewController* parent) override
    {
        note(parent ? "willMoveToParent" : "willMoveToParent(null)");
    }
    void didMoveToParentViewController(ViewController* parent) override
    {
        note(parent ? "didMoveToParent" : "didMoveToParent(null)");
        ViewController::didMoveToParentViewController(parent);
    }

private:
    JournalController(std::string name, std::vector<std::string>& journal)
        : m_name(std::move(name))
        , m_journal(journal)
    {
    }
    void note(const std::string& what) { m_journal.push_back(m_name + "." + what); }

    std::string m_name;
    std::vector<std::string>& m_journal;
};

class LoadingController : public ViewController {
public:
    static std::shared_ptr<LoadingController> make()
    {
        return std::shared_ptr<LoadingController>(new LoadingController());
    }
    void loadView() override
    {
        // Asking for the view while loading it must not recurse.
        reentrantView = view();
        setView(ui::View::create({ 0, 0, 10, 20 }));
    }
    std::shared_ptr<ui::View> reentrantView = ui::View::create();

private:
    LoadingController() = default;
};

TEST(ViewControllerTests, ViewLoadsOnceOnDemandAndOwnsItsViewWeakly)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto controller = JournalController::make("vc", journal);
    EXPECT_FALSE(controller->isViewLoaded());
    auto view = controller->view();
    ASSERT_TRUE(view);
    controller->view();
    EXPECT_EQ(journal, (std::vector<std::string> { "vc.viewDidLoad" }));
    EXPECT_EQ(view->frame(), scope.environment().screenBounds());
    EXPECT_EQ(view->owningController().get(), controller.get());
    EXPECT_EQ(view->nextResponder(), controller.get());

    std::weak_ptr<ViewController> weakController = controller;
    controller.reset();
    EXPECT_TRUE(weakController.expired());
    EXPECT_FALSE(view->owningController());
}

TEST(ViewControllerTests, LoadViewMayAskForTheViewWithoutRecursing)
{
    uitest::UIScope scope;
    auto controller = LoadingController::make();
    EXPECT_EQ(controller->view()->frame(), ui::Rect(0, 0, 10, 20));
    EXPECT_EQ(controller->reentrantView, nullptr);
}

TEST(ViewControllerTests, LayoutCallbacksSurroundTheViewsLayout)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto controller = JournalController::make("vc", journal);
    controller->view()->layoutIfNeeded();
    EXPECT_EQ(journal,
        (std::vector<std::string> {
            "vc.viewDidLoad", "vc.viewWillLayoutSubviews", "vc.viewDidLayoutSubviews" }));
}

TEST(ViewControllerTests, AppearanceRunsOncePerStateChange)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto controller = JournalController::make("vc", journal);
    controller->beginAppearanceTransition(true, false);
    controller->beginAppearanceTransition(true, false);
    EXPECT_EQ(controller->appearanceState(), ui::AppearanceState::Appearing);
    controller->endAppearanceTransition();
    controller->endAppearanceTransition();
    controller->beginAppearanceTransition(false, true);
    controller->endAppearanceTransition();
    EXPECT_EQ(journal,
        (std::vector<std::string> { "vc.viewDidLoad", "vc.viewWillAppear", "vc.viewDidAppear",
            "vc.viewWillDisappear", "vc.viewDidDisappear" }));
}

TEST(ViewControllerTests, ChildContainmentCallbackOrder)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto parent = JournalController::make("parent", journal);
    auto child = JournalController::make("child", journal);
    uitest::showInWindow(parent);
    journal.clear();

    parent->addChildViewController(child);
    parent->view()->addSubview(child->view());
    child->didMoveToParentViewController(parent.get());
    EXPECT_EQ(child->parentViewController(), parent);
    ASSERT_EQ(parent->childViewControllers().size(), 1u);

    child->willMoveToParentViewController(nullptr);
    child->view()->removeFromSuperview();
    child->removeFromParentViewController();

    EXPECT_EQ(journal,
        (std::vector<std::string> {
            "child.willMoveToParent",
            "child.viewDidLoad",
            "child.didMoveToParent",
            "child.viewWillAppear",
            "child.viewDidAppear",
            "child.willMoveToParent(null)",
            "child.viewWillDisappear",
            "child.viewDidDisappear",
            "child.didMoveToParent(null)",
        }));
    EXPECT_FALSE(child->parentViewController());
    EXPECT_TRUE(parent->childViewControllers().empty());
}

TEST(ViewControllerTests, ChildOfHiddenParentDoesNotAppearUntilTheParentDoes)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto parent = JournalController::make("parent", journal);
    auto child = JournalController::make("child", journal);
    parent->addChildViewController(child);
    parent->view()->addSubview(child->view());
    child->didMoveToParentViewController(parent.get());
    EXPECT_EQ(child->appearanceState(), ui::AppearanceState::Disappeared);

    journal.clear();
    uitest::showInWindow(parent);
    EXPECT_EQ(journal,
        (std::vector<std::string> { "parent.viewWillLayoutSubviews", "parent.viewDidLayoutSubviews",
            "child.viewWillLayoutSubviews", "child.viewDidLayoutSubviews", "parent.viewWillAppear",
            "child.viewWillAppear", "parent.viewDidAppear", "child.viewDidAppear" }));
}

TEST(ViewControllerTests, ContainmentRefusesCyclesAndMovesChildrenBetweenParents)
{
    uitest::UIScope scope;
    auto grandparent = ViewController::create();
    auto parent = ViewController::create();
    auto other = ViewController::create();
    grandparent->addChildViewController(parent);
    parent->addChildViewController(grandparent);
    parent->addChildViewController(parent);
    EXPECT_TRUE(parent->childViewControllers().empty());
    EXPECT_FALSE(grandparent->parentViewController());

    other->addChildViewController(parent);
    EXPECT_EQ(parent->parentViewController(), other);
    EXPECT_TRUE(grandparent->childViewControllers().empty());

    // Dropping the root frees the whole tree: children hold their parent weakly.
    std::weak_ptr<ViewController> weakParent = parent;
    parent.reset();
    other.reset();
    EXPECT_TRUE(weakParent.expired());
}

TEST(ViewControllerTests, SupportedOrientationsFollowTheIdiom)
{
    uitest::UIScope scope;
    auto controller = ViewController::create();
    EXPECT_EQ(static_cast<uint32_t>(controller->supportedInterfaceOrientations()), 26u);
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    EXPECT_EQ(static_cast<uint32_t>(controller->supportedInterfaceOrientations()), 30u);
    EXPECT_EQ(static_cast<uint32_t>(ui::InterfaceOrientationMask::Landscape), 24u);
}

class TransitionController : public ViewController {
public:
    static std::shared_ptr<TransitionController> make()
    {
        return std::shared_ptr<TransitionController>(new TransitionController());
    }
    void viewWillTransitionToSize(const ui::Size& size, ui::TransitionCoordinator& coordinator) override
    {
        steps.push_back("will " + std::to_string(int(size.width)));
        ViewController::viewWillTransitionToSize(size, coordinator);
        coordinator.animateAlongside(
            [this](const ui::TransitionCoordinatorContext&) { steps.push_back("alongside"); },
            [this](const ui::TransitionCoordinatorContext& context) {
                steps.push_back("completion " + std::to_string(int(view()->frame().width())) + " "
                    + std::to_string(int(context.targetSize.width)));
            });
    }
    std::vector<std::string> steps;

private:
    TransitionController() = default;
};

TEST(ViewControllerTests, SizeTransitionRunsAlongsideAtOnceAndCompletionAfterTheDuration)
{
    uitest::UIScope scope;
    auto parent = TransitionController::make();
    auto child = TransitionController::make();
    parent->addChildViewController(child);
    parent->view()->addSubview(child->view());
    child->didMoveToParentViewController(parent.get());
    uitest::showInWindow(parent);

    uitest::transitionToSize(parent, { 667, 375 });
    EXPECT_EQ(parent->steps, (std::vector<std::string> { "will 667", "alongside" }));
    EXPECT_EQ(child->steps, (std::vector<std::string> { "will 667", "alongside" }));
    EXPECT_EQ(parent->view()->frame().size, ui::Size(667, 375));

    base::RunLoop::main().advanceBy(ui::transitionDuration / 2);
    EXPECT_EQ(parent->steps.size(), 2u);
    base::RunLoop::main().advanceBy(ui::transitionDuration / 2);
    EXPECT_EQ(parent->steps.back(), "completion 667 667");
    EXPECT_EQ(child->steps.back(), "completion 667 667");
}

TEST(ViewControllerTests, SizeTransitionWithoutAnimationCompletesAtTheNextIdleRun)
{
    uitest::UIScope scope;
    auto controller = TransitionController::make();
    controller->loadViewIfNeeded();
    uitest::transitionToSize(controller, { 100, 200 }, false);
    EXPECT_EQ(controller->steps.size(), 2u);
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(controller->steps.size(), 3u);
    EXPECT_EQ(controller->steps.back(), "completion 100 100");
}

TEST(ViewControllerTests, RootViewControllerSitsInTheKeyWindow)
{
    uitest::UIScope scope;
    auto first = ViewController::create();
    auto second = ViewController::create();
    auto window = uitest::showInWindow(first);
    EXPECT_EQ(ui::keyWindowRootViewController(), first);
    EXPECT_EQ(first->view()->superview(), window);
    uitest::showInWindow(second);
    EXPECT_EQ(ui::keyWindowRootViewController(), second);
    EXPECT_FALSE(first->view()->superview());
    EXPECT_EQ(ui::topmostViewController(), second);
    ui::setKeyWindowRootViewController(nullptr);
    EXPECT_FALSE(ui::keyWindowRootViewController());
    EXPECT_FALSE(ui::topmostViewController());
}

} // namespace
