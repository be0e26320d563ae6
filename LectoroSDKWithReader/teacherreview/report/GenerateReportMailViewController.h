#pragma once

// The markup report's mail screen: the address the report goes to, filled with the
// teacher's own, which the teacher may change; Done hands the address on, Cancel asks the
// owner to close the screen. Done is offered only for a plausible single address (text,
// "@", a domain with a dot, no white space), trimmed of surrounding blanks.

#include "platform/ui/Color.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

class GenerateReportMailViewControllerDelegate {
public:
    virtual ~GenerateReportMailViewControllerDelegate() = default;
    virtual void didTapOnDoneForGenerateReportMail(const std::string& emailID) = 0;
    virtual void didTapOnCancelForGenerateReportMail() = 0;
};

class GenerateReportMailViewController : public ui::ViewController, public ui::TextFieldDelegate {
public:
    // init: - with the teacher's address.
    static std::shared_ptr<GenerateReportMailViewController> create(const std::string& emailID);
    std::string_view className() const override { return "GenerateReportMailViewController"; }

    std::shared_ptr<GenerateReportMailViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<GenerateReportMailViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    // The address as typed, trimmed; and whether Done takes it.
    std::string emailID() const;
    static bool isPlausibleAddress(const std::string& address);

    void doneTapped();
    void cancelTapped();

    const std::shared_ptr<ui::TextField>& emailField() const { return m_emailField; }
    const std::shared_ptr<ui::Button>& doneButton() const { return m_doneButton; }

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    bool shouldReturn(ui::TextField&) override;

protected:
    explicit GenerateReportMailViewController(std::string emailID);

private:
    void updateDoneButton();

    std::string m_initialEmail;
    std::weak_ptr<GenerateReportMailViewControllerDelegate> m_delegate;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::Label> m_promptLabel;
    std::shared_ptr<ui::TextField> m_emailField;
    std::shared_ptr<ui::Button> m_cancelButton;
    std::shared_ptr<ui::Button> m_doneButton;
};

} // namespace lectoro
