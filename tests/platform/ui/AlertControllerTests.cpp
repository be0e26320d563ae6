#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/UIScope.h"
#include "platform/testing/ViewQuery.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/TextField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ui::AlertAction;
using ui::AlertActionStyle;
using ui::AlertController;
using ui::AlertControllerStyle;

struct Answer {
    std::string alert;
    std::string action;
};

std::shared_ptr<AlertController> makeAlert(const std::string& name, std::vector<Answer>& answers)
{
    auto alert = AlertController::create(name, "message of " + name);
    for (const char* title : { "YES", "NO" }) {
        alert->addAction(
            AlertAction::create(title, AlertActionStyle::Default, [name, &answers](AlertAction& action) {
                answers.push_back({ name, action.title() });
            }));
    }
    return alert;
}

TEST(AlertControllerTests, EachHandlerRunsWithItsOwnAlertWhenTwoAreShown)
{
    uitest::UIScope scope;
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    std::vector<Answer> answers;
    auto first = makeAlert("first", answers);
    auto second = makeAlert("second", answers);
    root->presentViewController(first, true);
    first->presentViewController(second, true);
    uitest::completePresentations();

    EXPECT_TRUE(first->tapActionWithTitle("NO"));
    EXPECT_TRUE(answers.empty()) << "handlers run once the dismissal completes";
    uitest::completePresentations();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].alert, "first");
    EXPECT_EQ(answers[0].action, "NO");
    EXPECT_FALSE(root->presentedViewController());
}

TEST(AlertControllerTests, TapActionAnswersTheTopmostAlert)
{
    uitest::UIScope scope;
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    std::vector<Answer> answers;
    auto first = makeAlert("first", answers);
    auto second = makeAlert("second", answers);
    root->presentViewController(first, false);
    first->presentViewController(second, false);

    EXPECT_EQ(uitest::topmostAlert(), second);
    EXPECT_TRUE(uitest::tapActionAtIndex(1));
    EXPECT_FALSE(uitest::tapAction("MISSING"));
    uitest::completePresentations();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].alert, "second");
    EXPECT_EQ(answers[0].action, "NO");
    EXPECT_EQ(first->presentingViewController(), root);

    EXPECT_TRUE(uitest::tapAction("YES"));
    uitest::completePresentations();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1].alert, "first");
    EXPECT_FALSE(uitest::topmostAlert());
}

TEST(AlertControllerTests, AHandlerMayPresentTheNextAlertFromTheSameController)
{
    uitest::UIScope scope;
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    std::vector<Answer> answers;
    auto follow = makeAlert("follow", answers);
    auto alert = AlertController::create("first", std::nullopt);
    alert->addAction(AlertAction::create("OK", AlertActionStyle::Default,
        [&root, follow](AlertAction&) { root->presentViewController(follow, true); }));
    root->presentViewController(alert, true);
    uitest::completePresentations();
    uitest::tapAction("OK");
    uitest::completePresentations();
    EXPECT_EQ(root->presentedViewController(), follow);
    EXPECT_TRUE(ui::Presenter::shared().warnings().empty());
}

TEST(AlertControllerTests, RefusedTaps)
{
    uitest::UIScope scope;
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    int runs = 0;
    auto alert = AlertController::create("title", std::nullopt);
    auto disabled
        = AlertAction::create("Disabled", AlertActionStyle::Default, [&runs](AlertAction&) { ++runs; });
    disabled->setEnabled(false);
    alert->addAction(disabled);
    alert->addAction(AlertAction::create("OK", AlertActionStyle::Default, [&runs](AlertAction&) { ++runs; }));
    root->presentViewController(alert, false);

    EXPECT_FALSE(alert->tapActionWithTitle("Disabled"));
    EXPECT_FALSE(alert->tapActionAtIndex(7));
    auto stranger = AlertAction::create("Stranger");
    EXPECT_FALSE(alert->tapAction(*stranger));
    EXPECT_TRUE(alert->tapActionWithTitle("OK"));
    EXPECT_FALSE(alert->tapActionWithTitle("OK")) << "an answered alert takes no second answer";
    uitest::completePresentations();
    EXPECT_EQ(runs, 1);
}

TEST(AlertControllerTests, ActionsTextFieldsAndPreferredAction)
{
    uitest::UIScope scope;
    auto alert = AlertController::create(std::nullopt, "Sign in", AlertControllerStyle::Alert);
    EXPECT_FALSE(alert->alertTitle());
    auto cancel = AlertAction::create("Cancel", AlertActionStyle::Cancel);
    auto ok = AlertAction::create("OK");
    ok->setTitleTextColor(ui::Color::green());
    alert->addAction(cancel);
    alert->addAction(ok);
    alert->addAction(AlertAction::create("Second cancel", AlertActionStyle::Cancel));
    alert->addAction(ok);
    EXPECT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(ui::Presenter::shared().warnings().size(), 2u);
    EXPECT_EQ(ok->alertController(), alert);

    alert->setPreferredAction(ok);
    EXPECT_EQ(alert->preferredAction(), ok);
    alert->setPreferredAction(AlertAction::create("elsewhere"));
    EXPECT_FALSE(alert->preferredAction());

    alert->addTextField([](ui::TextField& field) { field.setPlaceholder("name"); });
    ASSERT_EQ(alert->textFields().size(), 1u);
    EXPECT_EQ(alert->textFields()[0]->placeholder(), "name");

    auto sheet = AlertController::create("Share", std::nullopt, AlertControllerStyle::ActionSheet);
    sheet->addTextField();
    EXPECT_TRUE(sheet->textFields().empty());
}

TEST(AlertControllerTests, ViewShowsTitleMessageAndOneButtonPerActionThatAnswersWhenTapped)
{
    uitest::UIScope scope;
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    std::vector<Answer> answers;
    auto alert = makeAlert("Delete?", answers);
    root->presentViewController(alert, false);
    auto view = alert->view();
    EXPECT_TRUE(uitest::findLabelWithText(view, "Delete?"));
    EXPECT_TRUE(uitest::findLabelWithText(view, "message of Delete?"));
    auto yes = uitest::findButtonWithTitle(view, "YES");
    ASSERT_TRUE(yes);
    EXPECT_TRUE(uitest::tap(*yes));
    uitest::completePresentations();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].action, "YES");
}

TEST(AlertControllerTests, ActionSheetIsAPopoverOnPadAndCoversTheScreenElsewhere)
{
    uitest::UIScope scope;
    auto phoneSheet = AlertController::create("a", std::nullopt, AlertControllerStyle::ActionSheet);
    EXPECT_EQ(phoneSheet->modalPresentationStyle(), ui::ModalPresentationStyle::OverFullScreen);
    scope.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto padSheet = AlertController::create("a", std::nullopt, AlertControllerStyle::ActionSheet);
    EXPECT_EQ(padSheet->modalPresentationStyle(), ui::ModalPresentationStyle::Popover);
    auto padAlert = AlertController::create("a", std::nullopt, AlertControllerStyle::Alert);
    EXPECT_EQ(padAlert->modalPresentationStyle(), ui::ModalPresentationStyle::OverFullScreen);
}

TEST(AlertControllerTests, AnsweredAlertIsFreed)
{
    std::weak_ptr<AlertController> weakAlert;
    {
        uitest::UIScope scope;
        auto root = ui::ViewController::create();
        uitest::showInWindow(root);
        std::vector<Answer> answers;
        auto alert = makeAlert("gone", answers);
        weakAlert = alert;
        root->presentViewController(alert, false);
        alert.reset();
        uitest::tapAction("YES");
        uitest::completePresentations();
        EXPECT_EQ(answers.size(), 1u);
        EXPECT_TRUE(weakAlert.expired());
    }
}

} // namespace
