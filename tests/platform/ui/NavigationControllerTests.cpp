#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/NavigationController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ui::NavigationController;
using ui::ViewController;

class Page : public ViewController {
public:
    static std::shared_ptr<Page> make(std::string name, std::vector<std::string>& journal)
    {
        return std::shared_ptr<Page>(new Page(std::move(name), journal));
    }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }
    void didMoveToParentViewController(ViewController* parent) override
    {
        note(parent ? "didMove" : "didMove(null)");
        ViewController::didMoveToParentViewController(parent);
    }
    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override { return mask; }
    ui::InterfaceOrientationMask mask = ui::InterfaceOrientationMask::Portrait;

private:
    Page(std::string name, std::vector<std::string>& journal)
        : m_name(std::move(name))
        , m_journal(journal)
    {
    }
    void note(const std::string& what) { m_journal.push_back(m_name + "." + what); }
    std::string m_name;
    std::vector<std::string>& m_journal;
};

TEST(NavigationControllerTests, PushAndPopMoveTheTopAndTellBothControllers)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto root = Page::make("root", journal);
    auto detail = Page::make("detail", journal);
    auto navigation = NavigationController::create(root);
    uitest::showInWindow(navigation);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(root->view()->superview(), navigation->view());
    journal.clear();

    bool pushed = false;
    navigation->pushViewController(detail, true, [&pushed] { pushed = true; });
    EXPECT_EQ(navigation->topViewController(), detail);
    EXPECT_EQ(detail->navigationController(), navigation);
    EXPECT_EQ(detail->view()->superview(), navigation->view());
    EXPECT_FALSE(root->view()->superview());
    EXPECT_EQ(journal, (std::vector<std::string> { "root.willDisappear", "detail.willAppear" }));
    uitest::completePresentations();
    EXPECT_TRUE(pushed);
    EXPECT_EQ(journal,
        (std::vector<std::string> { "root.willDisappear", "detail.willAppear", "root.didDisappear",
            "detail.didAppear", "detail.didMove" }));

    journal.clear();
    auto popped = navigation->popViewControllerAnimated(false);
    EXPECT_EQ(popped, detail);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(journal,
        (std::vector<std::string> { "detail.willDisappear", "root.willAppear", "detail.didDisappear",
            "root.didAppear", "detail.didMove(null)" }));
    EXPECT_FALSE(detail->parentViewController());
    EXPECT_EQ(navigation->viewControllers(), (std::vector<std::shared_ptr<ViewController>> { root }));
}

TEST(NavigationControllerTests, RootIsNeverPoppedAndPopToRootAnswersThePopped)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto root = Page::make("root", journal);
    auto navigation = NavigationController::create(root);
    EXPECT_EQ(navigation->popViewControllerAnimated(false), nullptr);
    EXPECT_TRUE(navigation->popToRootViewControllerAnimated(false).empty());

    auto second = Page::make("second", journal);
    auto third = Page::make("third", journal);
    navigation->pushViewController(second, false);
    navigation->pushViewController(third, false);
    navigation->pushViewController(second, false); // already in the stack
    EXPECT_EQ(navigation->viewControllers().size(), 3u);

    auto popped = navigation->popToRootViewControllerAnimated(false);
    EXPECT_EQ(popped, (std::vector<std::shared_ptr<ViewController>> { second, third }));
    EXPECT_EQ(navigation->topViewController(), root);
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(navigation->childViewControllers().size() == 1u);
}

TEST(NavigationControllerTests, BarHiddenFlagAndOrientationsOfTheTop)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto root = Page::make("root", journal);
    root->mask = ui::InterfaceOrientationMask::Landscape;
    auto navigation = NavigationController::create(root);
    navigation->setNavigationBarHidden(true);
    navigation->loadViewIfNeeded();
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    EXPECT_TRUE(navigation->navigationBar()->isHidden());
    EXPECT_EQ(navigation->supportedInterfaceOrientations(), ui::InterfaceOrientationMask::Landscape);
    EXPECT_EQ(navigation->visibleViewController(), root);
}

TEST(NavigationControllerTests, DroppingTheNavigationControllerFreesItsStack)
{
    std::weak_ptr<ViewController> weakRoot;
    std::weak_ptr<ViewController> weakDetail;
    {
        uitest::UIScope scope;
        std::vector<std::string> journal;
        auto root = Page::make("root", journal);
        auto detail = Page::make("detail", journal);
        weakRoot = root;
        weakDetail = detail;
        auto navigation = NavigationController::create(root);
        uitest::showInWindow(navigation);
        navigation->pushViewController(detail, true);
        uitest::completePresentations();
    }
    EXPECT_TRUE(weakRoot.expired());
    EXPECT_TRUE(weakDetail.expired());
}

} // namespace
