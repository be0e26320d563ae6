#pragma once

// Alerts and action sheets: a controller with a title, a message, ordered actions and
// (alerts only) text fields, presented like any other controller.
//
// Answering: tapAction() is what a user's tap does. The alert is dismissed (animated) and
// the action's own handler runs, with that action, once the dismissal has completed, so
// a handler may present the next alert from the same controller. Each action keeps its
// own handler: with two alerts on screen, answering the first runs the first's handler.
// A disabled action, or a second answer to an alert already answered, does nothing.

#include "platform/base/Thread.h"
#include "platform/ui/Color.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class AlertController;
class Label;
class TextField;

enum class AlertControllerStyle { ActionSheet = 0, Alert = 1 };
enum class AlertActionStyle { Default = 0, Cancel = 1, Destructive = 2 };

class AlertAction {
public:
    using Handler = std::function<void(AlertAction&)>;

    static std::shared_ptr<AlertAction> create(
        std::string title, AlertActionStyle = AlertActionStyle::Default, Handler = {});

    const std::string& title() const { return m_title; }
    AlertActionStyle style() const { return m_style; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { BASE_ASSERT_MAIN_THREAD(); m_enabled = enabled; }
    // The colour the action's title is drawn in; nullopt: the alert's tint.
    std::optional<Color> titleTextColor() const { return m_titleTextColor; }
    void setTitleTextColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_titleTextColor = color;
    }
    bool hasHandler() const { return static_cast<bool>(m_handler); }

    // The alert it was added to (held weakly).
    std::shared_ptr<AlertController> alertController() const { return m_alert.lock(); }

private:
    friend class AlertController;
    AlertAction(std::string title, AlertActionStyle, Handler);

    std::string m_title;
    AlertActionStyle m_style;
    Handler m_handler;
    bool m_enabled = true;
    std::optional<Color> m_titleTextColor;
    std::weak_ptr<AlertController> m_alert;
};

class AlertController : public ViewController {
public:
    static std::shared_ptr<AlertController> create(std::optional<std::string> title,
        std::optional<std::string> message, AlertControllerStyle = AlertControllerStyle::Alert);
    std::string_view className() const override { return "AlertController"; }

    AlertControllerStyle preferredStyle() const { return m_style; }
    // The title is the controller's title; nullopt when there is none.
    std::optional<std::string> alertTitle() const
    {
        return m_hasTitle ? std::optional(title()) : std::nullopt;
    }
    void setAlertTitle(std::optional<std::string>);
    const std::optional<std::string>& message() const { return m_message; }
    void setMessage(std::optional<std::string>);

    // In the order added. An action already in an alert, or a second cancel action, is
    // refused (logged in Presenter::warnings()).
    void addAction(const std::shared_ptr<AlertAction>&);
    const std::vector<std::shared_ptr<AlertAction>>& actions() const { return m_actions; }
    std::shared_ptr<AlertAction> actionWithTitle(const std::string&) const;

    // Alerts only (an action sheet refuses, logged). The configuration runs at once.
    void addTextField(const std::function<void(TextField&)>& configure = {});
    const std::vector<std::shared_ptr<TextField>>& textFields() const { return m_textFields; }

    // Must be one of the actions; anything else clears it.
    std::shared_ptr<AlertAction> preferredAction() const { return m_preferredAction; }
    void setPreferredAction(const std::shared_ptr<AlertAction>&);

    // A user's tap (see the header comment). Answers whether the tap was taken.
    bool tapAction(const AlertAction&);
    bool tapActionWithTitle(const std::string&);
    bool tapActionAtIndex(size_t);
    bool isAnswered() const { return m_answered; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillLayoutSubviews() override;

protected:
    AlertController(
        std::optional<std::string> title, std::optional<std::string> message, AlertControllerStyle);

private:
    // The view: a dimmed full-size root holding a box (tag 1000) with the title and
    // message labels, the text fields and one button per action (a tap on a button is a
    // tap on its action).
    void rebuildContent();
    void layoutContent();

    AlertControllerStyle m_style;
    bool m_hasTitle = false;
    std::optional<std::string> m_message;
    std::vector<std::shared_ptr<AlertAction>> m_actions;
    std::vector<std::shared_ptr<TextField>> m_textFields;
    std::shared_ptr<AlertAction> m_preferredAction;
    bool m_answered = false;
};

} // namespace ui
