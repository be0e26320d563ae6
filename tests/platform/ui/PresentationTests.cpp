#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ui::ModalPresentationStyle;
using ui::PopoverArrowDirection;
using ui::Presenter;
using ui::ViewController;

class Recorder : public ViewController {
public:
    static std::shared_ptr<Recorder> make(std::string name, std::vector<std::string>& journal)
    {
        return std::shared_ptr<Recorder>(new Recorder(std::move(name), journal));
    }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }

private:
    Recorder(std::string name, std::vector<std::string>& journal)
        : m_name(std::move(name))
        , m_journal(journal)
    {
    }
    void note(const std::string& what) { m_journal.push_back(m_name + "." + what); }
    std::string m_name;
    std::vector<std::string>& m_journal;
};

std::shared_ptr<ViewController> makeWithStyle(ModalPresentationStyle style)
{
    auto controller = ViewController::create();
    controller->setModalPresentationStyle(style);
    return controller;
}

TEST(PresentationTests, CompletionRunsOnlyWhenTheRunLoopPassesTheTransition)
{
    struct Case {
        bool animated;
        double advance;
        bool completed;
    };
    const Case cases[] = {
        { true, 0, false },
        { true, ui::transitionDuration - 0.01, false },
        { true, ui::transitionDuration, true },
        { false, 0, true },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(
            testing::Message() << "animated " << testCase.animated << " advance " << testCase.advance);
        uitest::UIScope scope;
        auto root = ViewController::create();
        uitest::showInWindow(root);
        bool completed = false;
        root->presentViewController(makeWithStyle(ModalPresentationStyle::FullScreen), testCase.animated,
            [&completed] { completed = true; });
        EXPECT_FALSE(completed);
        base::RunLoop::main().advanceBy(testCase.advance);
        EXPECT_EQ(completed, testCase.completed);
    }
}

TEST(PresentationTests, AppearanceOfPresentedAndCoveredControllers)
{
    struct Case {
        ModalPresentationStyle style;
        bool coversRoot;
    };
    const Case cases[] = {
        { ModalPresentationStyle::FullScreen, true },
        { ModalPresentationStyle::OverFullScreen, false },
        { ModalPresentationStyle::OverCurrentContext, false },
        { ModalPresentationStyle::FormSheet, false },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(ui::modalPresentationStyleName(testCase.style));
        uitest::UIScope scope;
        std::vector<std::string> journal;
        auto root = Recorder::make("root", journal);
        auto modal = Recorder::make("modal", journal);
        modal->setModalPresentationStyle(testCase.style);
        uitest::showInWindow(root);
        journal.clear();

        root->presentViewController(modal, true);
        std::vector<std::string> atOnce = testCase.coversRoot
            ? std::vector<std::string> { "root.willDisappear", "modal.willAppear" }
            : std::vector<std::string> { "modal.willAppear" };
        EXPECT_EQ(journal, atOnce);
        uitest::completePresentations();
        std::vector<std::string> presented = atOnce;
        presented.push_back("modal.didAppear");
        if (testCase.coversRoot)
            presented.push_back("root.didDisappear");
        EXPECT_EQ(journal, presented);

        journal.clear();
        root->dismissViewControllerAnimated(true);
        uitest::completePresentations();
        std::vector<std::string> dismissed = testCase.coversRoot
            ? std::vector<std::string> { "modal.willDisappear", "root.willAppear", "modal.didDisappear",
                  "root.didAppear" }
            : std::vector<std::string> { "modal.willDisappear", "modal.didDisappear" };
        EXPECT_EQ(journal, dismissed);
    }
}

TEST(PresentationTests, PresentingWhileAlreadyPresentingIsRefusedAndItsCompletionNeverRuns)
{
    uitest::UIScope scope;
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto first = ViewController::create();
    auto second = ViewController::create();
    root->presentViewController(first, false);
    bool secondCompleted = false;
    root->presentViewController(second, false, [&secondCompleted] { secondCompleted = true; });
    uitest::completePresentations();

    EXPECT_FALSE(secondCompleted);
    EXPECT_EQ(root->presentedViewController(), first);
    EXPECT_FALSE(second->presentingViewController());
    ASSERT_EQ(Presenter::shared().warnings().size(), 1u);
    EXPECT_NE(Presenter::shared().warnings()[0].find("already presenting"), std::string::npos);
    EXPECT_EQ(Presenter::shared().presented().size(), 1u);
}

TEST(PresentationTests, RefusesPresentationsThatWouldBreakOwnership)
{
    uitest::UIScope scope;
    auto root = ViewController::create();
    auto child = ViewController::create();
    root->addChildViewController(child);
    auto modal = ViewController::create();
    root->presentViewController(child, false);
    root->presentViewController(root, false);
    root->presentViewController(nullptr, false);
    root->presentViewController(modal, false);
    modal->presentViewController(root, false);
    EXPECT_EQ(root->presentedViewController(), modal);
    EXPECT_FALSE(modal->presentedViewController());
    EXPECT_EQ(Presenter::shared().warnings().size(), 4u);
}

TEST(PresentationTests, PresentedControllerPresentingAgainChainsAndDismissingTheBaseRemovesAll)
{
    uitest::UIScope scope;
    auto root = ViewController::create();
    auto window = uitest::showInWindow(root);
    auto first = makeWithStyle(ModalPresentationStyle::OverFullScreen);
    auto second = makeWithStyle(ModalPresentationStyle::OverFullScreen);
    root->presentViewController(first, false);
    first->presentViewController(second, false);
    uitest::completePresentations();

    EXPECT_EQ(second->presentingViewController(), first);
    EXPECT_EQ(ui::topmostViewController(), second);
    EXPECT_EQ(first->view()->superview(), window);
    EXPECT_EQ(second->view()->superview(), window);
    EXPECT_EQ(Presenter::shared().activePresentations().size(), 2u);

    bool done = false;
    root->dismissViewControllerAnimated(true, [&done] { done = true; });
    EXPECT_TRUE(first->isBeingDismissed());
    EXPECT_EQ(root->presentedViewController(), first);
    uitest::completePresentations();
    EXPECT_TRUE(done);
    EXPECT_FALSE(root->presentedViewController());
    EXPECT_FALSE(first->presentedViewController());
    EXPECT_FALSE(second->presentingViewController());
    EXPECT_FALSE(first->view()->superview());
    EXPECT_FALSE(second->view()->superview());
    EXPECT_EQ(Presenter::shared().dismissed().size(), 2u);
    EXPECT_TRUE(Presenter::shared().activePresentations().empty());
}

TEST(PresentationTests, DismissWithoutAnimationUnlinksAtOnceButCompletesOnTheRunLoop)
{
    uitest::UIScope scope;
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto modal = ViewController::create();
    root->presentViewController(modal, false);
    uitest::completePresentations();

    bool done = false;
    modal->dismissViewControllerAnimated(false, [&done] { done = true; });
    EXPECT_FALSE(root->presentedViewController());
    EXPECT_FALSE(done);
    // The next presentation from the same controller is accepted right away.
    auto next = ViewController::create();
    root->presentViewController(next, false);
    EXPECT_EQ(root->presentedViewController(), next);
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(done);
}

TEST(PresentationTests, DismissingNothingIsLoggedAndDoesNotComplete)
{
    uitest::UIScope scope;
    auto lonely = ViewController::create();
    bool done = false;
    lonely->dismissViewControllerAnimated(false, [&done] { done = true; });
    uitest::completePresentations();
    EXPECT_FALSE(done);
    EXPECT_EQ(Presenter::shared().warnings().size(), 1u);
}

TEST(PresentationTests, DismissingDuringThePresentationTransitionFinishesThePresentationFirst)
{
    uitest::UIScope scope;
    auto root = ViewController::create();
    uitest::showInWindow(root);
    std::vector<std::string> order;
    root->presentViewController(ViewController::create(), true, [&order] { order.push_back("presented"); });
    root->dismissViewControllerAnimated(false, [&order] { order.push_back("dismissed"); });
    EXPECT_EQ(order, (std::vector<std::string> { "presented" }));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(order, (std::vector<std::string> { "presented", "dismissed" }));
    EXPECT_EQ(Presenter::shared().pendingTransitions(), 0);
}

TEST(PresentationTests, ChildOfAPresentedControllerDismissesItsPresentedAncestor)
{
    uitest::UIScope scope;
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto content = ViewController::create();
    auto navigation = ui::NavigationController::create(content);
    root->presentViewController(navigation, false);
    uitest::completePresentations();
    EXPECT_EQ(content->presentingViewController(), root);

    content->dismissViewControllerAnimated(false);
    EXPECT_FALSE(root->presentedViewController());
}

TEST(PresentationTests, LogRecordsStyleAnimationAndSource)
{
    uitest::UIScope scope;
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    scope.environment().setScreenSize({ 1024, 768 });
    scope.window()->setFrame({ 0, 0, 1024, 768 });
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto anchor = ui::View::create({ 100, 100, 40, 40 });
    root->view()->addSubview(anchor);

    auto popover = makeWithStyle(ModalPresentationStyle::Popover);
    popover->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    popover->setPreferredContentSize({ 300, 200 });
    popover->popoverPresentationController()->setSourceView(anchor);
    popover->popoverPresentationController()->setPermittedArrowDirections(
        PopoverArrowDirection::Up | PopoverArrowDirection::Down);
    root->presentViewController(popover, true);

    auto* record = Presenter::shared().lastPresented();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->presented.lock(), popover);
    EXPECT_EQ(record->presenting.lock(), root);
    EXPECT_EQ(record->presentedClassName, "ViewController");
    EXPECT_EQ(record->style, ModalPresentationStyle::Popover);
    EXPECT_EQ(record->effectiveStyle, ModalPresentationStyle::Popover);
    EXPECT_EQ(record->transitionStyle, ui::ModalTransitionStyle::CrossDissolve);
    EXPECT_TRUE(record->animated);
    EXPECT_EQ(record->sourceView.lock(), anchor);
    EXPECT_EQ(record->sourceRect, ui::Rect(0, 0, 40, 40));
    EXPECT_EQ(record->permittedArrowDirections, PopoverArrowDirection::Up | PopoverArrowDirection::Down);
    EXPECT_EQ(record->arrowDirection, PopoverArrowDirection::Up);
    EXPECT_EQ(record->preferredContentSize, ui::Size(300, 200));
}

TEST(PresentationTests, PopoverControllerExistsOnlyForThePopoverStyle)
{
    uitest::UIScope scope;
    auto controller = ViewController::create();
    EXPECT_EQ(controller->popoverPresentationController(), nullptr);
    controller->setModalPresentationStyle(ModalPresentationStyle::Popover);
    auto* popover = controller->popoverPresentationController();
    ASSERT_TRUE(popover);
    EXPECT_EQ(popover->presentedViewController(), controller);
    EXPECT_EQ(popover->permittedArrowDirections(), PopoverArrowDirection::Any);
    EXPECT_EQ(popover->arrowDirection(), PopoverArrowDirection::Unknown);
    EXPECT_EQ(controller->popoverPresentationController(), popover);
}

class PopoverDelegate : public ui::PopoverPresentationControllerDelegate {
public:
    std::optional<ModalPresentationStyle> adaptiveAnswer;
    bool allowDismiss = true;
    std::vector<std::string> calls;

    std::optional<ModalPresentationStyle> adaptivePresentationStyleForPresentationController(
        ui::PopoverPresentationController&) override
    {
        calls.push_back("adaptive");
        return adaptiveAnswer;
    }
    void prepareForPopoverPresentation(ui::PopoverPresentationController&) override
    {
        calls.push_back("prepare");
    }
    bool popoverPresentationControllerShouldDismissPopover(ui::PopoverPresentationController&) override
    {
        calls.push_back("shouldDismiss");
        return allowDismiss;
    }
    void popoverPresentationControllerDidDismissPopover(ui::PopoverPresentationController&) override
    {
        calls.push_back("didDismiss");
    }
};

TEST(PresentationTests, PopoverAdaptsOnCompactDevicesUnlessTheDelegateSaysNone)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        bool withDelegate;
        std::optional<ModalPresentationStyle> answer;
        ModalPresentationStyle expected;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        { ui::UserInterfaceIdiom::Pad, true, std::nullopt, ModalPresentationStyle::Popover, { "prepare" } },
        { ui::UserInterfaceIdiom::Phone, false, std::nullopt, ModalPresentationStyle::FullScreen, {} },
        { ui::UserInterfaceIdiom::Phone, true, std::nullopt, ModalPresentationStyle::FullScreen,
            { "prepare", "adaptive" } },
        { ui::UserInterfaceIdiom::Unspecified, true, ModalPresentationStyle::None,
            ModalPresentationStyle::Popover, { "prepare", "adaptive" } },
        { ui::UserInterfaceIdiom::Phone, true, ModalPresentationStyle::OverFullScreen,
            ModalPresentationStyle::OverFullScreen, { "prepare", "adaptive" } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(ui::modalPresentationStyleName(testCase.expected));
        uitest::UIScope scope;
        scope.environment().setIdiom(testCase.idiom);
        auto root = ViewController::create();
        uitest::showInWindow(root);
        auto delegate = std::make_shared<PopoverDelegate>();
        delegate->adaptiveAnswer = testCase.answer;
        auto popover = makeWithStyle(ModalPresentationStyle::Popover);
        popover->popoverPresentationController()->setSourceView(root->view());
        if (testCase.withDelegate)
            popover->popoverPresentationController()->setDelegate(delegate);
        root->presentViewController(popover, false);
        EXPECT_EQ(popover->effectivePresentationStyle(), testCase.expected);
        EXPECT_EQ(delegate->calls, testCase.calls);
    }
}

TEST(PresentationTests, PopoverArrowFollowsRoomAroundTheSource)
{
    struct Case {
        const char* name;
        ui::Rect source;
        PopoverArrowDirection permitted;
        PopoverArrowDirection expected;
        ui::Rect frame;
    };
    // Window 1024 x 768, content 200 x 100, margin 10, arrow 13.
    const Case cases[] = {
        { "below a top source", { 400, 50, 40, 20 }, PopoverArrowDirection::Any, PopoverArrowDirection::Up,
            { 320, 83, 200, 100 } },
        { "above a bottom source", { 400, 700, 40, 20 }, PopoverArrowDirection::Any,
            PopoverArrowDirection::Down, { 320, 587, 200, 100 } },
        { "right of a source when only left arrows", { 20, 300, 40, 20 }, PopoverArrowDirection::Left,
            PopoverArrowDirection::Left, { 73, 260, 200, 100 } },
        { "clamped into the window", { 0, 50, 10, 10 }, PopoverArrowDirection::Up, PopoverArrowDirection::Up,
            { 10, 73, 200, 100 } },
        { "no arrow: centred on the source", { 400, 300, 40, 20 }, PopoverArrowDirection::None,
            PopoverArrowDirection::Unknown, { 320, 260, 200, 100 } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        uitest::UIScope scope;
        scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
        scope.window()->setFrame({ 0, 0, 1024, 768 });
        auto root = ViewController::create();
        uitest::showInWindow(root);
        auto popover = makeWithStyle(ModalPresentationStyle::Popover);
        popover->setPreferredContentSize({ 200, 100 });
        auto* controller = popover->popoverPresentationController();
        controller->setSourceView(root->view());
        controller->setSourceRect(testCase.source);
        controller->setPermittedArrowDirections(testCase.permitted);
        root->presentViewController(popover, false);
        EXPECT_EQ(controller->arrowDirection(), testCase.expected);
        EXPECT_EQ(popover->view()->frame(), testCase.frame);
        EXPECT_EQ(controller->frameOfPresentedView(), testCase.frame);
    }
}

class ArrowBackground : public ui::PopoverBackgroundView {
public:
    static std::shared_ptr<ArrowBackground> make(const ui::Rect& frame)
    {
        return std::shared_ptr<ArrowBackground>(new ArrowBackground(frame));
    }
    std::string_view className() const override { return "ArrowBackground"; }

private:
    explicit ArrowBackground(const ui::Rect& frame)
        : PopoverBackgroundView(frame)
    {
    }
};

TEST(PresentationTests, PopoverBackgroundViewIsMadeWithArrowDirectionAndOffset)
{
    uitest::UIScope scope;
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    scope.window()->setFrame({ 0, 0, 1024, 768 });
    auto root = ViewController::create();
    auto window = uitest::showInWindow(root);
    auto popover = makeWithStyle(ModalPresentationStyle::Popover);
    popover->setPreferredContentSize({ 200, 100 });
    auto* controller = popover->popoverPresentationController();
    controller->setSourceView(root->view());
    controller->setSourceRect({ 0, 50, 10, 10 });
    controller->setBackgroundColor(ui::Color::clear());
    controller->setPopoverBackgroundViewClass(
        "ArrowBackground", [](const ui::Rect& frame) { return ArrowBackground::make(frame); });
    root->presentViewController(popover, false);

    auto background = controller->backgroundView();
    ASSERT_TRUE(background);
    EXPECT_EQ(controller->popoverBackgroundViewClassName(), "ArrowBackground");
    EXPECT_EQ(background->arrowDirection(), PopoverArrowDirection::Up);
    // Source centre x 5, content centre x 110.
    EXPECT_DOUBLE_EQ(background->arrowOffset(), -105);
    EXPECT_EQ(background->superview(), window);
    EXPECT_EQ(popover->view()->backgroundColor(), ui::Color::clear());

    root->dismissViewControllerAnimated(false);
    EXPECT_FALSE(background->superview());
}

TEST(PresentationTests, TapOutsidePopoverAsksTheDelegateBeforeDismissing)
{
    for (bool allow : { false, true }) {
        SCOPED_TRACE(allow ? "allowed" : "refused");
        uitest::UIScope scope;
        scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
        auto root = ViewController::create();
        uitest::showInWindow(root);
        auto delegate = std::make_shared<PopoverDelegate>();
        delegate->allowDismiss = allow;
        auto popover = makeWithStyle(ModalPresentationStyle::Popover);
        popover->popoverPresentationController()->setSourceView(root->view());
        popover->popoverPresentationController()->setDelegate(delegate);
        root->presentViewController(popover, false);
        uitest::completePresentations();
        delegate->calls.clear();

        EXPECT_EQ(uitest::tapOutsidePopover(popover), allow);
        EXPECT_EQ(delegate->calls, (std::vector<std::string> { "shouldDismiss" }));
        uitest::completePresentations();
        if (allow) {
            EXPECT_FALSE(root->presentedViewController());
            EXPECT_EQ(delegate->calls, (std::vector<std::string> { "shouldDismiss", "didDismiss" }));
        } else {
            EXPECT_EQ(root->presentedViewController(), popover);
        }
    }
}

TEST(PresentationTests, PopoverDismissedInCodeDoesNotTellTheDelegate)
{
    uitest::UIScope scope;
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto delegate = std::make_shared<PopoverDelegate>();
    auto popover = makeWithStyle(ModalPresentationStyle::Popover);
    popover->popoverPresentationController()->setSourceView(root->view());
    popover->popoverPresentationController()->setDelegate(delegate);
    root->presentViewController(popover, false);
    popover->dismissViewControllerAnimated(true);
    uitest::completePresentations();
    EXPECT_EQ(delegate->calls, (std::vector<std::string> { "prepare" }));
    // An adapted (full-screen) presentation is not a pop-over to tap outside of.
    EXPECT_FALSE(uitest::tapOutsidePopover(root));
}

TEST(PresentationTests, PopoverWithoutSourceViewIsCentredAndLogged)
{
    uitest::UIScope scope;
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    scope.window()->setFrame({ 0, 0, 1024, 768 });
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto popover = makeWithStyle(ModalPresentationStyle::Popover);
    popover->setPreferredContentSize({ 200, 100 });
    root->presentViewController(popover, false);
    EXPECT_EQ(popover->view()->frame(), ui::Rect(412, 334, 200, 100));
    EXPECT_EQ(Presenter::shared().warnings().size(), 1u);
}

TEST(PresentationTests, ADismissedControllerCanBePresentedAgain)
{
    uitest::UIScope scope;
    std::vector<std::string> journal;
    auto root = ViewController::create();
    uitest::showInWindow(root);
    auto panel = Recorder::make("panel", journal);
    for (int round = 0; round < 2; ++round) {
        bool presented = false;
        root->presentViewController(panel, true, [&presented] { presented = true; });
        uitest::completePresentations();
        EXPECT_TRUE(presented);
        EXPECT_EQ(panel->presentingViewController(), root);
        root->dismissViewControllerAnimated(true);
        uitest::completePresentations();
    }
    EXPECT_EQ(journal.size(), 8u);
    EXPECT_TRUE(Presenter::shared().warnings().empty());
}

TEST(PresentationTests, TearingDownTheRootFreesPresentedControllers)
{
    std::weak_ptr<ViewController> weakRoot;
    std::weak_ptr<ViewController> weakModal;
    {
        uitest::UIScope scope;
        auto root = ViewController::create();
        auto modal = ViewController::create();
        weakRoot = root;
        weakModal = modal;
        uitest::showInWindow(root);
        root->presentViewController(modal, true);
        uitest::completePresentations();
        modal->presentViewController(ViewController::create(), true);
    }
    EXPECT_TRUE(weakRoot.expired());
    EXPECT_TRUE(weakModal.expired());
}

} // namespace
