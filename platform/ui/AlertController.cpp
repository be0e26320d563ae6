#include "platform/ui/AlertController.h"

#include "platform/base/Thread.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/TextField.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double alertWidth = 270;
constexpr double sheetMargin = 8;
constexpr double padding = 16;
constexpr double textFieldHeight = 30;
constexpr double actionHeight = 44;
// Tags of the content views, so tests and dumps can find them.
constexpr int contentBoxTag = 1000;

} // namespace

std::shared_ptr<AlertAction> AlertAction::create(std::string title, AlertActionStyle style, Handler handler)
{
    return std::shared_ptr<AlertAction>(new AlertAction(std::move(title), style, std::move(handler)));
}

AlertAction::AlertAction(std::string title, AlertActionStyle style, Handler handler)
    : m_title(std::move(title))
    , m_style(style)
    , m_handler(std::move(handler))
{
}

std::shared_ptr<AlertController> AlertController::create(
    std::optional<std::string> title, std::optional<std::string> message, AlertControllerStyle style)
{
    return std::shared_ptr<AlertController>(new AlertController(std::move(title), std::move(message), style));
}

AlertController::AlertController(
    std::optional<std::string> title, std::optional<std::string> message, AlertControllerStyle style)
    : m_style(style)
    , m_message(std::move(message))
{
    setAlertTitle(std::move(title));
    // Action sheets are pop-overs on a pad (anchored where the product says); everything
    // else covers the screen without hiding what is behind.
    bool popover = style == AlertControllerStyle::ActionSheet && Environment::current().isPad();
    setModalPresentationStyle(
        popover ? ModalPresentationStyle::Popover : ModalPresentationStyle::OverFullScreen);
}

void AlertController::setAlertTitle(std::optional<std::string> title)
{
    m_hasTitle = title.has_value();
    setTitle(title.value_or(std::string()));
    rebuildContent();
}

void AlertController::setMessage(std::optional<std::string> message)
{
    m_message = std::move(message);
    rebuildContent();
}

void AlertController::addAction(const std::shared_ptr<AlertAction>& action)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!action)
        return;
    if (action->alertController()
        || std::find(m_actions.begin(), m_actions.end(), action) != m_actions.end()) {
        Presenter::shared().warn("Action \"" + action->title() + "\" already belongs to an alert");
        return;
    }
    if (action->style() == AlertActionStyle::Cancel) {
        bool hasCancel = std::any_of(m_actions.begin(), m_actions.end(),
            [](auto& existing) { return existing->style() == AlertActionStyle::Cancel; });
        if (hasCancel) {
            Presenter::shared().warn(
                "An alert can have only one cancel action; \"" + action->title() + "\" was not added");
            return;
        }
    }
    action->m_alert = std::static_pointer_cast<AlertController>(shared_from_this());
    m_actions.push_back(action);
    rebuildContent();
}

std::shared_ptr<AlertAction> AlertController::actionWithTitle(const std::string& title) const
{
    for (auto& action : m_actions) {
        if (action->title() == title)
            return action;
    }
    return nullptr;
}

void AlertController::addTextField(const std::function<void(TextField&)>& configure)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_style != AlertControllerStyle::Alert) {
        Presenter::shared().warn("Text fields can only be added to an alert, not to an action sheet");
        return;
    }
    auto field = TextField::create();
    if (configure)
        configure(*field);
    m_textFields.push_back(field);
    rebuildContent();
}

void AlertController::setPreferredAction(const std::shared_ptr<AlertAction>& action)
{
    bool ours = action && std::find(m_actions.begin(), m_actions.end(), action) != m_actions.end();
    m_preferredAction = ours ? action : nullptr;
    rebuildContent();
}

bool AlertController::tapAction(const AlertAction& tapped)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_answered || !tapped.isEnabled() || isBeingDismissed())
        return false;
    auto it = std::find_if(
        m_actions.begin(), m_actions.end(), [&tapped](auto& action) { return action.get() == &tapped; });
    if (it == m_actions.end())
        return false;
    m_answered = true;
    auto action = *it;
    auto self = std::static_pointer_cast<AlertController>(shared_from_this());
    auto runHandler = [self, action] {
        // A copy: the handler may drop the alert and with it the action's handler.
        auto handler = action->m_handler;
        if (handler)
            handler(*action);
    };
    if (auto presenting = presentingViewController())
        presenting->dismissViewControllerAnimated(true, runHandler);
    else
        runHandler();
    return true;
}

bool AlertController::tapActionWithTitle(const std::string& title)
{
    auto action = actionWithTitle(title);
    return action && tapAction(*action);
}

bool AlertController::tapActionAtIndex(size_t index)
{
    return index < m_actions.size() && tapAction(*m_actions[index]);
}

void AlertController::loadView()
{
    ViewController::loadView();
    view()->setBackgroundColor(Color::black().withAlpha(0.4));
}

void AlertController::viewDidLoad()
{
    ViewController::viewDidLoad();
    rebuildContent();
}

void AlertController::viewWillLayoutSubviews()
{
    ViewController::viewWillLayoutSubviews();
    layoutContent();
}

void AlertController::rebuildContent()
{
    auto root = viewIfLoaded();
    if (!root)
        return;
    if (auto old = root->viewWithTag(contentBoxTag))
        old->removeFromSuperview();
    auto box = View::create();
    box->setTag(contentBoxTag);
    box->setAccessibilityIdentifier("alertCard");
    box->setBackgroundColor(Color::white());
    box->layer()->setCornerRadius(13);
    root->addSubview(box);

    if (m_hasTitle) {
        auto label = Label::create();
        label->setText(title());
        label->setFont(Font::systemFont(17, FontWeight::Semibold));
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        box->addSubview(label);
    }
    if (m_message) {
        auto label = Label::create();
        label->setText(*m_message);
        label->setFont(Font::systemFont(13));
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        box->addSubview(label);
    }
    for (auto& field : m_textFields)
        box->addSubview(field);

    // Action sheets list the cancel action last, as the platform shows it.
    std::vector<std::shared_ptr<AlertAction>> ordered = m_actions;
    if (m_style == AlertControllerStyle::ActionSheet)
        std::stable_partition(ordered.begin(), ordered.end(),
            [](auto& action) { return action->style() != AlertActionStyle::Cancel; });
    std::weak_ptr<AlertController> weakSelf = std::static_pointer_cast<AlertController>(shared_from_this());
    for (auto& action : ordered) {
        auto button = Button::create(ButtonType::System);
        button->setTitle(action->title());
        bool preferred = action == m_preferredAction
            || (!m_preferredAction && action->style() == AlertActionStyle::Cancel);
        button->setFont(Font::systemFont(17, preferred ? FontWeight::Semibold : FontWeight::Regular));
        if (action->titleTextColor())
            button->setTitleColor(action->titleTextColor());
        else if (action->style() == AlertActionStyle::Destructive)
            button->setTitleColor(Color::red());
        button->setEnabled(action->isEnabled());
        std::weak_ptr<AlertAction> weakAction = action;
        button->addTarget(ControlEvent::TouchUpInside, [weakSelf, weakAction](Control&) {
            auto self = weakSelf.lock();
            auto tapped = weakAction.lock();
            if (self && tapped)
                self->tapAction(*tapped);
        });
        box->addSubview(button);
    }
    layoutContent();
}

void AlertController::layoutContent()
{
    auto root = viewIfLoaded();
    if (!root)
        return;
    auto box = root->viewWithTag(contentBoxTag);
    if (!box)
        return;
    Rect bounds = root->bounds();
    bool sheet = m_style == AlertControllerStyle::ActionSheet;
    double width
        = sheet ? std::max(0.0, bounds.width() - 2 * sheetMargin) : std::min(alertWidth, bounds.width());
    double innerWidth = std::max(0.0, width - 2 * padding);
    double y = 0;
    bool firstText = true;
    for (auto& subview : box->subviews()) {
        if (auto label = std::dynamic_pointer_cast<Label>(subview)) {
            y += firstText ? padding + 4 : 4;
            firstText = false;
            double height = label->sizeThatFits({ innerWidth, 0 }).height;
            label->setFrame({ padding, y, innerWidth, height });
            y += height;
        } else if (std::dynamic_pointer_cast<TextField>(subview)) {
            y += 8;
            subview->setFrame({ padding, y, innerWidth, textFieldHeight });
            y += textFieldHeight;
        }
    }
    if (!firstText || !m_textFields.empty())
        y += padding;
    for (auto& subview : box->subviews()) {
        if (std::dynamic_pointer_cast<Button>(subview)) {
            subview->setFrame({ 0, y, width, actionHeight });
            y += actionHeight;
        }
    }
    double x = bounds.midX() - width / 2;
    double top
        = sheet ? bounds.maxY() - sheetMargin - root->safeAreaInsets().bottom - y : bounds.midY() - y / 2;
    box->setFrame({ x, std::round(top), width, y });
}

} // namespace ui
