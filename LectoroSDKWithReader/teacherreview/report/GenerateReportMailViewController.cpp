#include "LectoroSDKWithReader/teacherreview/report/GenerateReportMailViewController.h"

#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double mailInset = 16;
constexpr double mailHeaderHeight = 50;
constexpr double mailButtonWidth = 70;
constexpr double mailFieldHeight = 40;

} // namespace

std::shared_ptr<GenerateReportMailViewController> GenerateReportMailViewController::create(const std::string& emailID)
{
    return std::shared_ptr<GenerateReportMailViewController>(new GenerateReportMailViewController(emailID));
}

GenerateReportMailViewController::GenerateReportMailViewController(std::string emailID)
    : m_initialEmail(std::move(emailID))
{
}

std::string GenerateReportMailViewController::emailID() const
{
    return base::trimWhitespaceAndNewlines(m_emailField ? m_emailField->text() : m_initialEmail);
}

bool GenerateReportMailViewController::isPlausibleAddress(const std::string& address)
{
    if (address.empty() || std::any_of(address.begin(), address.end(), [](unsigned char c) { return c <= ' ' || c == 0x7F; }))
        return false;
    const auto at = address.find('@');
    if (at == std::string::npos || at == 0 || address.find('@', at + 1) != std::string::npos)
        return false;
    const std::string domain = address.substr(at + 1);
    const auto dot = domain.find('.');
    return dot != std::string::npos && dot > 0 && domain.back() != '.';
}

void GenerateReportMailViewController::doneTapped()
{
    const std::string address = emailID();
    if (!isPlausibleAddress(address))
        return;
    if (auto listener = delegate())
        listener->didTapOnDoneForGenerateReportMail(address);
}

void GenerateReportMailViewController::cancelTapped()
{
    if (auto listener = delegate())
        listener->didTapOnCancelForGenerateReportMail();
}

bool GenerateReportMailViewController::shouldReturn(ui::TextField&)
{
    doneTapped();
    return true;
}

void GenerateReportMailViewController::updateDoneButton()
{
    if (m_doneButton)
        m_doneButton->setEnabled(isPlausibleAddress(emailID()));
}

void GenerateReportMailViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    std::weak_ptr<GenerateReportMailViewController> weak
        = std::static_pointer_cast<GenerateReportMailViewController>(shared_from_this());
    auto root = view();
    root->setBackgroundColor(ui::Color::white());

    m_cancelButton = ui::Button::create();
    m_cancelButton->setTitle(teacherReviewLocalizedString("CANCEL"));
    m_cancelButton->setTitleColor(ui::Color::black());
    m_cancelButton->setAccessibilityIdentifier("GenerateReportMailCancelButton");
    m_cancelButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto self = weak.lock())
            self->cancelTapped();
    });
    root->addSubview(m_cancelButton);
    m_titleLabel = ui::Label::create();
    m_titleLabel->setText(teacherReviewLocalizedString("GENERATE_REPORT"));
    m_titleLabel->setFont(chrome::customFont(18));
    m_titleLabel->setTextAlignment(ui::TextAlignment::Center);
    root->addSubview(m_titleLabel);
    m_doneButton = ui::Button::create();
    m_doneButton->setTitle(teacherReviewLocalizedString("DONE"));
    m_doneButton->setTitleColor(ui::Color::black());
    m_doneButton->setTitleColor(ui::Color::lightGray(), ui::ControlState::Disabled);
    m_doneButton->setAccessibilityIdentifier("GenerateReportMailDoneButton");
    m_doneButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto self = weak.lock())
            self->doneTapped();
    });
    root->addSubview(m_doneButton);

    m_promptLabel = ui::Label::create();
    m_promptLabel->setText(teacherReviewLocalizedString("GENERATE_REPORT_MAIL_PROMPT"));
    m_promptLabel->setFont(chrome::customFont(14));
    root->addSubview(m_promptLabel);
    m_emailField = ui::TextField::create();
    m_emailField->setText(m_initialEmail);
    m_emailField->setKeyboardType(ui::KeyboardType::EmailAddress);
    m_emailField->setAutocapitalizationType(ui::AutocapitalizationType::None);
    m_emailField->setAutocorrectionType(ui::AutocorrectionType::No);
    m_emailField->setReturnKeyType(ui::ReturnKeyType::Done);
    m_emailField->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    m_emailField->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    m_emailField->setAccessibilityIdentifier("GenerateReportMailField");
    m_emailField->setDelegate(std::static_pointer_cast<ui::TextFieldDelegate>(weak.lock()));
    m_emailField->addTarget(ui::ControlEvent::EditingChanged, [weak](ui::Control&) {
        if (auto self = weak.lock())
            self->updateDoneButton();
    });
    root->addSubview(m_emailField);
    updateDoneButton();
}

void GenerateReportMailViewController::viewDidLayoutSubviews()
{
    auto root = viewIfLoaded();
    if (!root || !m_emailField)
        return;
    const double width = root->bounds().width();
    const double inner = std::max(0.0, width - 2 * mailInset);
    m_cancelButton->setFrame({ mailInset, 0, mailButtonWidth, mailHeaderHeight });
    m_doneButton->setFrame({ std::max(0.0, width - mailInset - mailButtonWidth), 0, mailButtonWidth, mailHeaderHeight });
    m_titleLabel->setFrame({ mailInset + mailButtonWidth, 0, std::max(0.0, width - 2 * (mailInset + mailButtonWidth)),
        mailHeaderHeight });
    m_promptLabel->setFrame({ mailInset, mailHeaderHeight + 10, inner, 24 });
    m_emailField->setFrame({ mailInset, mailHeaderHeight + 40, inner, mailFieldHeight });
}

} // namespace lectoro
