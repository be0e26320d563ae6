#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"

#include "LectoroSDKWithReader/foundation/UIButtonExpanded.h"
#include "LectoroSDKWithReader/media/readaloud/ReadAloudOptions.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

// Each option is announced as the speed it sets ("Reading speed 1.5 x"), like the bar's
// speed item.
constexpr const char* speedOptionAccessibilityTable = "ReaderLectoroAccessibility";
constexpr const char* speedOptionAccessibilityID = "AudioSyncSpeedRateOption";

} // namespace

std::shared_ptr<MVSpeedSelectionOptionsView> MVSpeedSelectionOptionsView::create(const ui::Rect& frame)
{
    auto view = std::shared_ptr<MVSpeedSelectionOptionsView>(new MVSpeedSelectionOptionsView(frame));
    view->build();
    return view;
}

MVSpeedSelectionOptionsView::MVSpeedSelectionOptionsView(const ui::Rect& frame)
    : ui::View(frame)
{
    const bool pad = chrome::isPad();
    m_buttonHeight = pad ? 40 : 35;
    m_buttonWidth = pad ? 40 : 35;
    m_marginForButton = pad ? 15 : 7;
}

ui::Size MVSpeedSelectionOptionsView::preferredSize() const
{
    double height = double(m_optionsArray.size()) * (m_buttonHeight + m_marginForButton + 1);
    return { chrome::isPad() ? 50.0 : 45.0, height };
}

void MVSpeedSelectionOptionsView::build()
{
    for (int option = 1; option <= 4; ++option) {
        auto button = ui::Button::create();
        UIButtonExpanded::setTitleForAllState(*button, audioSyncSpeedOptionTitle(option));
        button->setTag(option);
        m_optionsArray.push_back(button);
    }
    layer()->setCornerRadius(4.0);
    setBackgroundColor(ui::Color::white());

    const ui::Size size = preferredSize();
    ui::Constraint::activate({
        widthAnchor().constraintEqualToConstant(size.width),
        heightAnchor().constraintEqualToConstant(size.height),
    });
    setFrame(ui::Rect { frame().origin, size });

    std::shared_ptr<ui::Button> previous;
    double top = m_marginForButton;
    std::weak_ptr<MVSpeedSelectionOptionsView> weak = std::static_pointer_cast<MVSpeedSelectionOptionsView>(
        shared_from_this());
    for (size_t i = 0; i < m_optionsArray.size(); ++i) {
        auto& button = m_optionsArray[i];
        button->setTranslatesAutoresizingMaskIntoConstraints(false);
        addSubview(button);
        ui::Constraint::activate({
            button->widthAnchor().constraintEqualToConstant(m_buttonHeight),
            button->heightAnchor().constraintEqualTo(button->widthAnchor()),
            button->centerXAnchor().constraintEqualTo(centerXAnchor()),
            previous ? button->topAnchor().constraintEqualTo(previous->bottomAnchor(), m_marginForButton)
                     : button->topAnchor().constraintEqualTo(topAnchor(), m_marginForButton),
        });
        button->setFrame(ui::Rect { { (size.width - m_buttonHeight) / 2, top }, { m_buttonHeight, m_buttonHeight } });
        top += m_buttonHeight + m_marginForButton;
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
            if (auto self = weak.lock())
                self->optionSelectedWithSender(static_cast<ui::Button&>(sender));
        });
        button->layer()->setCornerRadius(m_buttonHeight * 0.5);
        AccessibilityHelper::setAccessibilityForElementID(
            *button, speedOptionAccessibilityID, speedOptionAccessibilityTable, audioSyncSpeedRateText(int(i) + 1));
        previous = button;
    }
    layoutIfNeeded();
    layer()->setMasksToBounds(false);
    layer()->setShadowOffset({ 0, 1.5 });
    layer()->setShadowColor(ui::Color::black());
    layer()->setShadowOpacity(0.25);
    layer()->setShadowRadius(3.0);
}

void MVSpeedSelectionOptionsView::setTheme()
{
    const double fontSize = chrome::isPad() ? 18 : 16;
    for (const auto& button : m_optionsArray) {
        button->setTitleColor(m_iconColor);
        button->layer()->setBorderColor(ui::Color::clear());
        button->titleLabel()->setFont(chrome::customFont(fontSize));
        button->setClipsToBounds(true);
    }
}

void MVSpeedSelectionOptionsView::optionSelectedWithSender(ui::Button& sender)
{
    // The view may be the delegate's last hold on nothing else; keep it through the call.
    auto protect = shared_from_this();
    removeFromSuperview();
    if (m_delegate)
        m_delegate->speedOptionSelectedWithOption(sender.tag());
}

} // namespace lectoro
