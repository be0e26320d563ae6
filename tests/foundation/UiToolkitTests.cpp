#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/MVPopOverBackgroundView.h"
#include "LectoroSDKWithReader/foundation/RTLorLTRFlowLayoutForReader.h"
#include "LectoroSDKWithReader/foundation/UIButtonExpanded.h"
#include "LectoroSDKWithReader/foundation/UITextViewPlaceholder.h"
#include "LectoroSDKWithReader/foundation/UIViewControllerExpanded.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

class UiToolkitTest : public ::testing::Test {
protected:
    testing::FoundationScope scope;
    uitest::UIScope ui;
};

TEST_F(UiToolkitTest, AlertReportsTheTappedButton)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    std::vector<std::pair<int64_t, std::string>> answers;
    auto alert = AlertView::sharedManager().presentAlertWithTitle("Title", "Message", std::vector<std::string> { "YES", "NO" }, root,
        [&](int64_t index, const std::string& title) { answers.emplace_back(index, title); });
    ASSERT_TRUE(alert);
    uitest::completePresentations();
    EXPECT_EQ(alert->message(), "Message");
    ASSERT_TRUE(uitest::tapAction("NO"));
    uitest::completePresentations();
    EXPECT_EQ(answers, (std::vector<std::pair<int64_t, std::string>> { { 1, "NO" } }));
}

TEST_F(UiToolkitTest, InvalidButtonListsShowNothing)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    bool called = false;
    auto& alerts = AlertView::sharedManager();
    EXPECT_FALSE(alerts.presentAlertWithTitle("T", "M", std::vector<std::string> {}, root, [&](int64_t, const std::string&) { called = true; }));
    EXPECT_FALSE(alerts.presentAlertWithTitle("T", "M", base::Value::List { 1, "OK" }, root, [&](int64_t, const std::string&) { called = true; }));
    uitest::completePresentations();
    EXPECT_FALSE(root->presentedViewController());
    EXPECT_EQ(scope.log(), (std::vector<std::string> { "AlertView ERROR ==> Invalid button title!", "AlertView ERROR ==> Invalid button title!" }));
    EXPECT_FALSE(called);
}

TEST_F(UiToolkitTest, EachAlertKeepsItsOwnCompletion)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    std::vector<std::string> calls;
    auto first = AlertView::sharedManager().presentAlertWithTitle("First", "", std::vector<std::string> { "A", "B" }, root,
        [&](int64_t index, const std::string& title) { calls.push_back("first " + std::to_string(index) + " " + title); });
    uitest::completePresentations();
    auto second = AlertView::sharedManager().presentAlertWithTitle("Second", "", std::vector<std::string> { "C" }, first,
        [&](int64_t index, const std::string& title) { calls.push_back("second " + std::to_string(index) + " " + title); });
    uitest::completePresentations();

    ASSERT_TRUE(first->tapActionWithTitle("B"));
    uitest::completePresentations();
    EXPECT_EQ(calls, (std::vector<std::string> { "first 1 B" }));
}

TEST_F(UiToolkitTest, InformativeAlertAppearsOnTheMainQueue)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    AlertView::sharedManager().displayInformativeAlertwithTitle("Offline", "No network", root);
    EXPECT_FALSE(root->presentedViewController());
    base::RunLoop::main().runUntilIdle();
    uitest::completePresentations();
    auto alert = std::dynamic_pointer_cast<ui::AlertController>(root->presentedViewController());
    ASSERT_TRUE(alert);
    ASSERT_EQ(alert->actions().size(), 1u);
    EXPECT_EQ(alert->actions()[0]->title(), "OK");
    EXPECT_TRUE(uitest::tapAction("OK"));
    uitest::completePresentations();
}

TEST_F(UiToolkitTest, PopOverArrowPlacement)
{
    auto background = MVPopOverBackgroundView::create(ui::Rect(0, 0, 200, 100));
    // A turned arrow occupies the frame it was placed in and keeps its 30 x 15 image inside.
    struct Case {
        ui::PopoverArrowDirection direction;
        double offset;
        ui::Rect frame;
    };
    const Case cases[] = {
        { ui::PopoverArrowDirection::Up, 0, ui::Rect(85, 0, 30, 15) },
        { ui::PopoverArrowDirection::Up, -1000, ui::Rect(9, 0, 30, 15) },
        { ui::PopoverArrowDirection::Up, 1000, ui::Rect(161, 0, 30, 15) },
        { ui::PopoverArrowDirection::Down, 10, ui::Rect(95, 85, 30, 15) },
        { ui::PopoverArrowDirection::Left, 0, ui::Rect(0, 35, 15, 30) },
        { ui::PopoverArrowDirection::Left, -1000, ui::Rect(0, 9, 15, 30) },
        { ui::PopoverArrowDirection::Right, 0, ui::Rect(185, 35, 15, 30) },
        { ui::PopoverArrowDirection::Right, 1000, ui::Rect(185, 61, 15, 30) },
    };
    for (auto& c : cases) {
        background->setArrowDirection(c.direction);
        background->setArrowOffset(c.offset);
        background->layoutIfNeeded();
        auto& arrow = *background->arrowImageView();
        auto frame = arrow.frame();
        SCOPED_TRACE(::testing::Message() << int(c.direction) << " " << c.offset);
        EXPECT_NEAR(frame.origin.x, c.frame.origin.x, 1e-6);
        EXPECT_NEAR(frame.origin.y, c.frame.origin.y, 1e-6);
        EXPECT_NEAR(frame.size.width, c.frame.size.width, 1e-6);
        EXPECT_NEAR(frame.size.height, c.frame.size.height, 1e-6);
        EXPECT_NEAR(arrow.bounds().size.width, 30, 1e-6);
        EXPECT_NEAR(arrow.bounds().size.height, 15, 1e-6);
    }

    EXPECT_EQ(MVPopOverBackgroundView::drawArrowImage(ui::Size(30, 15))->fills().back().color, ui::Color::black());
    MVPopOverBackgroundView::setArrowColor(ui::Color::red());
    background->setNeedsLayout();
    background->layoutIfNeeded();
    EXPECT_EQ(background->arrowImageView()->image()->fills().back().color, ui::Color::red());
    MVPopOverBackgroundView::setArrowColor(std::nullopt);
}

TEST_F(UiToolkitTest, ButtonStates)
{
    auto button = ui::Button::create();
    UIButtonExpanded::setTitleForAllState(*button, "Go");
    EXPECT_EQ(button->titleForState(ui::ControlState::Selected), "Go");
    EXPECT_EQ(button->titleForState(ui::ControlState::Highlighted), "Go");
    UIButtonExpanded::setTitleColorForNormalState(*button, ui::Color::red());
    EXPECT_EQ(button->titleColorForState(ui::ControlState::Disabled), ui::Color::red().withAlpha(0.3));
    UIButtonExpanded::setRoundedCornerWithRadius(*button, 6);
    EXPECT_EQ(button->layer()->cornerRadius(), 6);
    EXPECT_TRUE(button->layer()->masksToBounds());
}

TEST_F(UiToolkitTest, TextViewPlaceholderFollowsTheText)
{
    auto textView = ui::TextView::create(ui::Rect(0, 0, 200, 100));
    UITextViewPlaceholder::setPlaceholder(*textView, "Write here");
    auto label = UITextViewPlaceholder::placeholderLabel(*textView);
    EXPECT_EQ(label->superview().get(), textView.get());
    EXPECT_EQ(textView->subviews().front(), label);
    auto inset = textView->textContainerInset();
    double padding = textView->lineFragmentPadding();
    EXPECT_EQ(label->frame().origin.x, inset.left + padding);
    EXPECT_EQ(label->frame().origin.y, inset.top);

    textView->setText("x");
    EXPECT_FALSE(label->superview());
    textView->setText("");
    EXPECT_EQ(label->superview().get(), textView.get());

    auto plain = ui::TextView::create();
    EXPECT_FALSE(UITextViewPlaceholder::placeholder(*plain).has_value());
    size_t attached = UITextViewPlaceholder::attachedCount();
    textView.reset();
    EXPECT_EQ(UITextViewPlaceholder::attachedCount(), attached - 1);
}

TEST_F(UiToolkitTest, SlideAndFadeAnimations)
{
    auto controller = ui::ViewController::create();
    controller->view()->setFrame(ui::Rect(10, 20, 100, 50));
    UIViewControllerExpanded::slideInViewController(*controller, 0.3);
    EXPECT_EQ(controller->view()->frame(), ui::Rect(60, 20, 100, 50));
    UIViewControllerExpanded::slideUpViewController(*controller, 0.3);
    EXPECT_EQ(controller->view()->frame(), ui::Rect(60, 20, 100, 50));
    UIViewControllerExpanded::slideDownViewController(*controller, 0.3);
    EXPECT_EQ(controller->view()->frame(), ui::Rect(60, 70, 100, 50));

    auto parent = ui::View::create();
    parent->addSubview(controller->view());
    UIViewControllerExpanded::dismissViewController(*controller, ui::Rect(0, 0, 10, 10), ui::Rect(5, 5, 10, 10), 0.25);
    EXPECT_TRUE(controller->view()->superview());
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_FALSE(controller->view()->superview());

    UIViewControllerExpanded::fadeOutViewController(*controller, 0.2);
    EXPECT_EQ(controller->view()->alpha(), 0.0);
    UIViewControllerExpanded::addShadow(*controller);
    EXPECT_EQ(controller->view()->layer()->shadowOpacity(), 0.7);
}

TEST_F(UiToolkitTest, SlidingAPanelInGivesTouchesBackLater)
{
    auto controller = ui::ViewController::create();
    auto& environment = ui::Environment::current();
    environment.beginIgnoringInteractionEvents();
    UIViewControllerExpanded::animateViewController(*controller, ui::Rect(-100, 0, 100, 50), ui::Rect(0, 0, 100, 50), 0.3);
    EXPECT_EQ(controller->view()->frame(), ui::Rect(0, 0, 100, 50));
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_TRUE(environment.isIgnoringInteractionEvents()) << "not as soon as the animation ends";
    base::RunLoop::main().advanceBy(UIViewControllerExpanded::interactionResumeDelay);
    EXPECT_FALSE(environment.isIgnoringInteractionEvents());
}

TEST_F(UiToolkitTest, ReturnToRootDismissesEverything)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    auto presented = ui::ViewController::create();
    root->presentViewController(presented, false);
    auto top = ui::ViewController::create();
    presented->presentViewController(top, false);
    uitest::completePresentations();
    EXPECT_EQ(UIViewControllerExpanded::topmostViewController(), top);
    UIViewControllerExpanded::returnToRootViewController();
    uitest::completePresentations();
    EXPECT_FALSE(root->presentedViewController());
}

TEST_F(UiToolkitTest, FlowLayoutMirrorsInRightToLeft)
{
    auto layout = RTLorLTRFlowLayoutForReader::create();
    EXPECT_FALSE(layout->flipsHorizontallyInOppositeLayoutDirection());
    ui::Environment::current().setLayoutDirection(ui::LayoutDirection::RightToLeft);
    EXPECT_TRUE(layout->flipsHorizontallyInOppositeLayoutDirection());
}

} // namespace
} // namespace lectoro
