#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

constexpr const char* readToMeCloseGlyph = "\u221E";
constexpr const char* readToMeLetMeReadGlyph = "\u01DD";
constexpr const char* readToMeReadToMeGlyph = "\u015E";
constexpr const char* readToMeAutoPlayGlyph = "i";

std::string readToMeText(const std::string& key)
{
    return LocalizationHelper::localizedString(key, "Localizable", LocalizationHelper::currentBundle());
}

// Taps on the panel never close the chooser.
class ReadToMeTapDelegate : public ui::GestureRecognizerDelegate {
public:
    explicit ReadToMeTapDelegate(std::weak_ptr<MVReadToMeViewController> owner)
        : m_owner(std::move(owner))
    {
    }
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touched) override
    {
        auto owner = m_owner.lock();
        return !owner || owner->gestureRecognizerShouldReceiveTouch(touched);
    }

private:
    std::weak_ptr<MVReadToMeViewController> m_owner;
};

} // namespace

MVReadToMeConstants MVReadToMeConstants::forCurrentDevice()
{
    if (chrome::isPad())
        return { 666, 340, 80, 24, 25, 90, 80, 60, 0, 10 };
    return { 280, 388, 70, 18, 14, 70, 20, 14, 25, 0 };
}

std::shared_ptr<MVReadToMeViewController> MVReadToMeViewController::create(int64_t readAloudMode)
{
    auto controller = std::shared_ptr<MVReadToMeViewController>(new MVReadToMeViewController(readAloudMode));
    controller->build();
    return controller;
}

MVReadToMeViewController::MVReadToMeViewController(int64_t readAloudMode)
    : m_readAloudMode(readAloudMode)
{
}

std::shared_ptr<ui::Button> MVReadToMeViewController::makeModeButton(const std::string& glyph)
{
    auto button = ui::Button::create();
    button->setTitle(glyph);
    button->titleLabel()->setFont(chrome::iconFont(38));
    button->setTitleColor(ui::Color::systemBlue());
    button->layer()->setMasksToBounds(true);
    button->layer()->setBorderColor(ui::Color::systemBlue());
    button->layer()->setBorderWidth(1.0);
    button->setBackgroundColor(ui::Color::white().withAlpha(0.2));
    return button;
}

MVReadToMeViewController::Description MVReadToMeViewController::makeDescription(
    const std::string& titleKey, const std::string& messageKey)
{
    const auto alignment = chrome::isPad() ? ui::TextAlignment::Center : ui::TextAlignment::Left;
    Description description;
    description.details = ui::Button::create();
    description.title = ui::Label::create();
    description.title->setText(readToMeText(titleKey));
    description.title->setFont(chrome::customFont(18));
    description.title->setTextAlignment(alignment);
    description.message = ui::Label::create();
    description.message->setText(readToMeText(messageKey));
    description.message->setFont(chrome::customFont(14));
    description.message->setNumberOfLines(0);
    description.message->setTextAlignment(alignment);
    return description;
}

void MVReadToMeViewController::build()
{
    const auto constants = MVReadToMeConstants::forCurrentDevice();
    m_readToMeOptionsView = ui::View::create();
    m_readToMeOptionsView->setBackgroundColor(ui::Color::white().withAlpha(0.9));
    m_readToMeTopView = ui::View::create();
    m_readToMeTopView->setBackgroundColor(ui::Color::white().withAlpha(0.15));
    m_chooseYourModeLabel = ui::Label::create();
    m_chooseYourModeLabel->setText(readToMeText("READALOUD_CHOOSE_YOUR_MODE_TEXT"));
    m_chooseYourModeLabel->setTextColor(ui::Color::black());
    m_chooseYourModeLabel->setFont(chrome::customFont(constants.headingFontSize));
    m_closeButton = ui::Button::create();
    m_closeButton->setTitle(std::string(readToMeCloseGlyph));
    m_closeButton->setTitleColor(ui::Color::black());
    m_closeButton->titleLabel()->setFont(chrome::iconFont(constants.headingFontSize));
    m_letMeReadButton = makeModeButton(readToMeLetMeReadGlyph);
    m_autoPlayButton = makeModeButton(readToMeAutoPlayGlyph);
    m_readToMeButton = makeModeButton(readToMeReadToMeGlyph);
    m_letMeRead = makeDescription("READALOUD_LET_ME_READ_BUTTON_TEXT", "READALOUD_LET_ME_READ_TEXT");
    m_autoPlay = makeDescription("READALOUD_AUTOPLAY_BUTTON_TEXT", "READALOUD_AUTOPLAY_TEXT");
    m_readToMe = makeDescription("READALOUD_READ_TO_ME_BUTTON_TEXT", "READALOUD_READ_TO_ME_TEXT");
}

void MVReadToMeViewController::setTheme(const LXMVThemeVO& theme)
{
    auto color = theme.pen_tool_toolbar_icons_color();
    for (const auto& button : { m_letMeReadButton, m_autoPlayButton, m_readToMeButton }) {
        button->setTitleColor(color.value_or(ui::Color::systemBlue()));
        button->layer()->setBorderColor(color.value_or(ui::Color::systemBlue()));
    }
}

std::shared_ptr<ui::StackView> MVReadToMeViewController::readToMeButtonsStackView()
{
    if (!m_buttonsStack) {
        m_buttonsStack = ui::StackView::create();
        m_buttonsStack->setAlignment(ui::StackAlignment::Fill);
        m_buttonsStack->setDistribution(ui::StackDistribution::EqualSpacing);
        m_buttonsStack->setAxis(chrome::isPad() ? ui::StackAxis::Horizontal : ui::StackAxis::Vertical);
    }
    return m_buttonsStack;
}

std::shared_ptr<ui::StackView> MVReadToMeViewController::readAloudDetailsStackView()
{
    if (!m_detailsStack) {
        m_detailsStack = ui::StackView::create();
        m_detailsStack->setAlignment(ui::StackAlignment::Fill);
        m_detailsStack->setDistribution(ui::StackDistribution::EqualSpacing);
        m_detailsStack->setAxis(chrome::isPad() ? ui::StackAxis::Horizontal : ui::StackAxis::Vertical);
    }
    return m_detailsStack;
}

void MVReadToMeViewController::loadView()
{
    auto root = ui::View::create(ui::Environment::current().screenBounds());
    // It dims the whole screen, turned or not.
    root->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    setView(root);
}

void MVReadToMeViewController::viewDidLoad()
{
    auto root = view();
    std::weak_ptr<MVReadToMeViewController> weak
        = std::static_pointer_cast<MVReadToMeViewController>(shared_from_this());
    auto tap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->handleSingleTapWithGesture();
    });
    m_tapDelegate = std::make_shared<ReadToMeTapDelegate>(weak);
    tap->setDelegate(m_tapDelegate);
    root->addGestureRecognizer(tap);
    root->setBackgroundColor(ui::Color::black().withAlpha(0.5));
    layout();
    wire(m_closeButton, &MVReadToMeViewController::didTapOnCloseReadToMeView);
    wire(m_letMeReadButton, &MVReadToMeViewController::didTapOnLetMeRead);
    wire(m_letMeRead.details, &MVReadToMeViewController::didTapOnLetMeRead);
    wire(m_autoPlayButton, &MVReadToMeViewController::didTapOnAutoPlay);
    wire(m_autoPlay.details, &MVReadToMeViewController::didTapOnAutoPlay);
    wire(m_readToMeButton, &MVReadToMeViewController::didTapOnReadToMe);
    wire(m_readToMe.details, &MVReadToMeViewController::didTapOnReadToMe);

    addReaderAccessibilityOn(*m_closeButton, "MarkupCloseButton", "");
    for (const auto& button : { m_letMeReadButton, m_autoPlayButton, m_readToMeButton })
        button->setIsAccessibilityElement(false);
    for (const auto* description : { &m_letMeRead, &m_autoPlay, &m_readToMe }) {
        const auto& title = description->title->text();
        const auto& message = description->message->text();
        if (!title.empty() && !message.empty())
            addReaderAccessibilityOn(*description->details, "ReadAloudMode", title + message);
    }
}

void MVReadToMeViewController::wire(const std::shared_ptr<ui::Button>& button, void (MVReadToMeViewController::*action)())
{
    std::weak_ptr<MVReadToMeViewController> weak
        = std::static_pointer_cast<MVReadToMeViewController>(shared_from_this());
    button->addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
        if (auto self = weak.lock())
            ((*self).*action)();
    });
}

void MVReadToMeViewController::layoutDescription(const Description& description, double height)
{
    const auto constants = MVReadToMeConstants::forCurrentDevice();
    auto& details = *description.details;
    for (const auto& label : { description.title, description.message }) {
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        details.addSubview(label);
    }
    details.setTranslatesAutoresizingMaskIntoConstraints(false);
    ui::Constraint::activate({
        description.title->leadingAnchor().constraintEqualTo(details.leadingAnchor()),
        description.title->topAnchor().constraintEqualTo(details.topAnchor()),
        description.title->trailingAnchor().constraintEqualTo(details.trailingAnchor()),
        description.title->heightAnchor().constraintEqualToConstant(30),
        description.message->leadingAnchor().constraintEqualTo(details.leadingAnchor()),
        description.message->trailingAnchor().constraintEqualTo(details.trailingAnchor()),
        description.message->topAnchor().constraintEqualTo(description.title->bottomAnchor(), constants.titleMessageGap),
        description.message->bottomAnchor().constraintEqualTo(details.bottomAnchor()),
        chrome::isPad() ? details.widthAnchor().constraintEqualToConstant(120)
                        : details.heightAnchor().constraintEqualToConstant(height),
    });
    description.message->sizeToFit();
}

void MVReadToMeViewController::layout()
{
    const auto constants = MVReadToMeConstants::forCurrentDevice();
    const bool pad = chrome::isPad();
    auto root = view();
    auto panel = m_readToMeOptionsView;
    auto header = m_readToMeTopView;
    for (const auto& placed : std::vector<std::shared_ptr<ui::View>> { panel, header, m_chooseYourModeLabel,
             m_closeButton, readToMeButtonsStackView(), readAloudDetailsStackView() })
        placed->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(panel);
    panel->addSubview(header);
    header->addSubview(m_chooseYourModeLabel);
    header->addSubview(m_closeButton);
    auto buttons = readToMeButtonsStackView();
    auto details = readAloudDetailsStackView();
    panel->addSubview(buttons);
    panel->addSubview(details);

    ui::Constraint::activate({
        panel->centerXAnchor().constraintEqualTo(root->centerXAnchor()),
        panel->centerYAnchor().constraintEqualTo(root->centerYAnchor()),
        panel->widthAnchor().constraintEqualToConstant(constants.panelWidth),
        panel->heightAnchor().constraintEqualToConstant(constants.panelHeight),
        header->leadingAnchor().constraintEqualTo(panel->leadingAnchor()),
        header->topAnchor().constraintEqualTo(panel->topAnchor()),
        header->trailingAnchor().constraintEqualTo(panel->trailingAnchor()),
        header->heightAnchor().constraintEqualToConstant(constants.headerHeight),
        m_chooseYourModeLabel->leadingAnchor().constraintEqualTo(header->leadingAnchor(), 25),
        m_chooseYourModeLabel->topAnchor().constraintEqualTo(header->topAnchor()),
        m_chooseYourModeLabel->bottomAnchor().constraintEqualTo(header->bottomAnchor()),
        m_closeButton->trailingAnchor().constraintEqualTo(header->trailingAnchor(), -constants.closeTrailingInset),
        m_closeButton->topAnchor().constraintEqualTo(header->topAnchor()),
        m_closeButton->bottomAnchor().constraintEqualTo(header->bottomAnchor()),
    });
    m_chooseYourModeLabel->sizeToFit();
    m_closeButton->sizeToFit();

    for (const auto& button : { m_letMeReadButton, m_autoPlayButton, m_readToMeButton }) {
        button->setTranslatesAutoresizingMaskIntoConstraints(false);
        buttons->addArrangedSubview(button);
        ui::Constraint::activate({
            button->widthAnchor().constraintEqualToConstant(constants.buttonDiameter),
            button->heightAnchor().constraintEqualToConstant(constants.buttonDiameter),
        });
        button->layer()->setCornerRadius(constants.buttonDiameter / 2);
    }
    const std::pair<const Description*, double> rows[] = { { &m_letMeRead, 83 }, { &m_autoPlay, 108 }, { &m_readToMe, 88 } };
    for (const auto& [description, height] : rows) {
        details->addArrangedSubview(description->details);
        layoutDescription(*description, height);
    }

    ui::Constraint::activate({
        buttons->leadingAnchor().constraintEqualTo(panel->leadingAnchor(), constants.buttonsLeadingInset),
        buttons->topAnchor().constraintEqualTo(header->bottomAnchor(), 10),
        details->bottomAnchor().constraintEqualTo(panel->bottomAnchor(), -constants.descriptionBottomInset),
        details->trailingAnchor().constraintEqualTo(panel->trailingAnchor(), -constants.descriptionTrailingInset),
    });
    if (pad) {
        ui::Constraint::activate({
            buttons->trailingAnchor().constraintEqualTo(panel->trailingAnchor(), -80),
            buttons->heightAnchor().constraintEqualToConstant(90),
            details->topAnchor().constraintEqualTo(buttons->bottomAnchor(), 20),
            details->leadingAnchor().constraintEqualTo(panel->leadingAnchor(), 70),
        });
    } else {
        ui::Constraint::activate({
            buttons->bottomAnchor().constraintEqualTo(panel->bottomAnchor(), -30),
            buttons->widthAnchor().constraintEqualToConstant(70),
            details->topAnchor().constraintEqualTo(header->bottomAnchor(), 10),
            details->leadingAnchor().constraintEqualTo(buttons->trailingAnchor(), 20),
        });
    }
    applyModeState();
}

void MVReadToMeViewController::applyModeState()
{
    const std::pair<int64_t, std::pair<std::shared_ptr<ui::Button>, const Description*>> choices[] = {
        { 1, { m_letMeReadButton, &m_letMeRead } },
        { 2, { m_readToMeButton, &m_readToMe } },
        { 3, { m_autoPlayButton, &m_autoPlay } },
    };
    for (const auto& [mode, controls] : choices) {
        const bool current = mode == m_readAloudMode;
        const double alpha = current ? 0.5 : 1.0;
        controls.first->setEnabled(!current);
        controls.second->details->setEnabled(!current);
        controls.first->setAlpha(alpha);
        controls.second->title->setAlpha(alpha);
        controls.second->message->setAlpha(alpha);
    }
}

void MVReadToMeViewController::dismissSelf()
{
    dismissViewControllerAnimated(false, [] { });
}

void MVReadToMeViewController::didTapOnCloseReadToMeView()
{
    auto protect = shared_from_this();
    if (m_delegate)
        m_delegate->didCloseReadToMeView();
    // The delegate may already have dismissed the chooser.
    if (presentingViewController())
        dismissSelf();
}

void MVReadToMeViewController::handleSingleTapWithGesture() { didTapOnCloseReadToMeView(); }

bool MVReadToMeViewController::gestureRecognizerShouldReceiveTouch(ui::View* touchedView) const
{
    for (auto* view = touchedView; view; view = view->superview().get()) {
        if (view == m_readToMeOptionsView.get())
            return false;
    }
    return true;
}

void MVReadToMeViewController::didTapOnLetMeRead()
{
    if (auto delegate = m_delegate)
        delegate->didTapOnLetMeReadForReadAloud();
}

void MVReadToMeViewController::didTapOnAutoPlay()
{
    if (auto delegate = m_delegate)
        delegate->didTapOnAutoPlayForReadAloud();
}

void MVReadToMeViewController::didTapOnReadToMe()
{
    if (auto delegate = m_delegate)
        delegate->didTapOnReadToMeForReadAloud();
}

} // namespace lectoro
