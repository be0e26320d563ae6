#include "LectoroSDKWithReader/annotations/pen/ResetAllViewController.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {

namespace {

// Phone value first, tablet value second.
struct ResetAllMetrics {
    double cornerRadius;
    ui::Size cardSize;
    double titleFont;
    double titleTop;
    double titleHeight;
    double buttonFont;
    double buttonHeight;
    double rowHeight;
    double radioWidth;
    double radioFont;
    double textFont;
};

ResetAllMetrics resetAllMetrics()
{
    if (ui::Environment::current().isPad())
        return { 8.0, { 400, 300 }, 22.0, 20.0, 50, 20.0, 70, 50, 30, 20.0, 18.0 };
    return { 5.0, { 300, 220 }, 18.0, 17.0, 40, 17.0, 50, 40, 25, 17.0, 15.0 };
}

constexpr double resetAllSideInset = 20;
constexpr double resetAllRowGap = 10;

std::string resetAllText(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

ui::Color resetAllAccent()
{
    return UIColorExpanded::colorWithHexString(ResetAllViewController::accentColor).value_or(ui::Color::blue());
}

ui::Font resetAllFont(double size)
{
    return getCustomFont(size).value_or(ui::Font::systemFont(size));
}

} // namespace

std::shared_ptr<ResetAllViewController> ResetAllViewController::create()
{
    return std::shared_ptr<ResetAllViewController>(new ResetAllViewController);
}

ResetAllViewController::ResetAllViewController()
    : m_mainView(ui::View::create())
{
}

void ResetAllViewController::viewDidLoad()
{
    buildViews();
    selectOption(true);
}

void ResetAllViewController::buildViews()
{
    const auto m = resetAllMetrics();
    auto root = view();
    root->setBackgroundColor(ui::Color::black().withAlpha(0.5));
    const ui::Rect bounds = root->bounds();

    auto card = m_mainView;
    card->setBackgroundColor(ui::Color::white());
    card->setClipsToBounds(true);
    card->layer()->setCornerRadius(m.cornerRadius);
    card->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(card);
    ui::Constraint::activate({
        card->centerXAnchor().constraintEqualTo(root->centerXAnchor()),
        card->centerYAnchor().constraintEqualTo(root->centerYAnchor()),
        card->widthAnchor().constraintEqualToConstant(m.cardSize.width),
        card->heightAnchor().constraintEqualToConstant(m.cardSize.height),
    });
    card->setFrame(ui::Rect { { bounds.midX() - m.cardSize.width / 2, bounds.midY() - m.cardSize.height / 2 }, m.cardSize });
    const double width = m.cardSize.width;
    const double height = m.cardSize.height;
    const double innerWidth = width - 2 * resetAllSideInset;

    m_titleLabel = ui::Label::create();
    m_titleLabel->setTextAlignment(ui::TextAlignment::Center);
    m_titleLabel->setFont(getCustomFontForWeight(m.titleFont, ui::FontWeight::Semibold).value_or(ui::Font::systemFont(m.titleFont)));
    m_titleLabel->setText(resetAllText("RESET_ALL"));
    m_titleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    card->addSubview(m_titleLabel);
    ui::Constraint::activate({
        m_titleLabel->leadingAnchor().constraintEqualTo(card->leadingAnchor(), resetAllSideInset),
        m_titleLabel->trailingAnchor().constraintEqualTo(card->trailingAnchor(), -resetAllSideInset),
        m_titleLabel->topAnchor().constraintEqualTo(card->topAnchor(), m.titleTop),
        m_titleLabel->heightAnchor().constraintEqualToConstant(m.titleHeight),
    });
    m_titleLabel->setFrame(ui::Rect { { resetAllSideInset, m.titleTop }, { innerWidth, m.titleHeight } });

    m_cancelButton = makeButton("CANCEL", false);
    m_okButton = makeButton("OK_BUTTON", true);
    for (const auto& button : { m_cancelButton, m_okButton }) {
        const bool ok = button == m_okButton;
        button->setTranslatesAutoresizingMaskIntoConstraints(false);
        card->addSubview(button);
        ui::Constraint::activate({
            ok ? button->trailingAnchor().constraintEqualTo(card->trailingAnchor())
               : button->leadingAnchor().constraintEqualTo(card->leadingAnchor()),
            button->bottomAnchor().constraintEqualTo(card->bottomAnchor()),
            button->widthAnchor().constraintEqualTo(card->widthAnchor(), 0.5, 0),
            button->heightAnchor().constraintEqualToConstant(m.buttonHeight),
        });
        button->setFrame(ui::Rect { { ok ? width / 2 : 0, height - m.buttonHeight }, { width / 2, m.buttonHeight } });
    }

    m_optionRow = ui::View::create();
    m_optionRow->setTranslatesAutoresizingMaskIntoConstraints(false);
    card->addSubview(m_optionRow);
    ui::Constraint::activate({
        m_optionRow->leadingAnchor().constraintEqualTo(card->leadingAnchor(), resetAllSideInset),
        m_optionRow->trailingAnchor().constraintEqualTo(card->trailingAnchor(), -resetAllSideInset),
        m_optionRow->bottomAnchor().constraintEqualTo(m_cancelButton->topAnchor(), -resetAllRowGap),
        m_optionRow->heightAnchor().constraintEqualToConstant(m.rowHeight),
    });
    const double rowTop = height - m.buttonHeight - resetAllRowGap - m.rowHeight;
    m_optionRow->setFrame(ui::Rect { { resetAllSideInset, rowTop }, { innerWidth, m.rowHeight } });
    auto current = makeOption("CURRENT_PAGE", true);
    auto all = makeOption("ALL_PAGES", false);
    for (const auto& half : { current, all }) {
        const bool left = half == current;
        half->setTranslatesAutoresizingMaskIntoConstraints(false);
        m_optionRow->addSubview(half);
        ui::Constraint::activate({
            left ? half->leadingAnchor().constraintEqualTo(m_optionRow->leadingAnchor())
                 : half->trailingAnchor().constraintEqualTo(m_optionRow->trailingAnchor()),
            half->topAnchor().constraintEqualTo(m_optionRow->topAnchor()),
            half->bottomAnchor().constraintEqualTo(m_optionRow->bottomAnchor()),
            half->widthAnchor().constraintEqualTo(m_optionRow->widthAnchor(), 0.5, 0),
        });
        half->setFrame(ui::Rect { { left ? 0 : innerWidth / 2, 0 }, { innerWidth / 2, m.rowHeight } });
        double x = 0;
        for (const auto& part : half->subviews()) {
            const double partWidth = x == 0 ? m.radioWidth : innerWidth / 2 - m.radioWidth;
            part->setFrame(ui::Rect { { x, 0 }, { partWidth, m.rowHeight } });
            x += partWidth;
        }
    }

    m_detailLabel = ui::Label::create();
    m_detailLabel->setTextAlignment(ui::TextAlignment::Center);
    m_detailLabel->setNumberOfLines(4);
    m_detailLabel->setFont(resetAllFont(m.textFont));
    m_detailLabel->setText(resetAllText("RESET_DETAIL"));
    m_detailLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    card->addSubview(m_detailLabel);
    ui::Constraint::activate({
        m_detailLabel->leadingAnchor().constraintEqualTo(card->leadingAnchor(), resetAllSideInset),
        m_detailLabel->trailingAnchor().constraintEqualTo(card->trailingAnchor(), -resetAllSideInset),
        m_detailLabel->topAnchor().constraintEqualTo(m_titleLabel->bottomAnchor()),
        m_detailLabel->bottomAnchor().constraintEqualTo(m_optionRow->topAnchor()),
    });
    const double detailTop = m.titleTop + m.titleHeight;
    m_detailLabel->setFrame(ui::Rect { { resetAllSideInset, detailTop }, { innerWidth, rowTop - detailTop } });
}

std::shared_ptr<ui::Button> ResetAllViewController::makeButton(const std::string& titleKey, bool isOk)
{
    const auto m = resetAllMetrics();
    auto button = ui::Button::create();
    button->layer()->setBorderColor(ui::Color::gray());
    button->layer()->setBorderWidth(1.0);
    button->titleLabel()->setFont(resetAllFont(m.buttonFont));
    button->setTitle(resetAllText(titleKey));
    button->setTitleColor(resetAllAccent());
    std::weak_ptr<ResetAllViewController> weakSelf = std::static_pointer_cast<ResetAllViewController>(shared_from_this());
    button->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf, isOk](ui::Control&) {
        if (auto self = weakSelf.lock())
            isOk ? self->okButtonTapAction() : self->cancelButtonTapAction();
    });
    return button;
}

std::shared_ptr<ui::View> ResetAllViewController::makeOption(const std::string& titleKey, bool currentPage)
{
    const auto m = resetAllMetrics();
    auto half = ui::View::create();
    auto radio = ui::Label::create();
    radio->setTextColor(resetAllAccent());
    radio->setFont(ui::Font(MVIconFontConstants::getFontName(), m.radioFont));
    half->addSubview(radio);
    auto text = ui::Label::create();
    text->setFont(resetAllFont(m.textFont));
    text->setText(resetAllText(titleKey));
    half->addSubview(text);
    (currentPage ? m_currentPageRadioIcon : m_allPageRadioIcon) = radio;

    std::weak_ptr<ResetAllViewController> weakSelf = std::static_pointer_cast<ResetAllViewController>(shared_from_this());
    half->addGestureRecognizer(ui::TapGestureRecognizer::create([weakSelf, currentPage](ui::GestureRecognizer&) {
        if (auto self = weakSelf.lock())
            currentPage ? self->currentPageButtonTapAction() : self->allPageButtonTapAction();
    }));
    return half;
}

void ResetAllViewController::selectOption(bool currentPage)
{
    m_isEnableCurrentPage = currentPage;
    if (m_currentPageRadioIcon)
        m_currentPageRadioIcon->setText(currentPage ? RADIO_SELECT : RADIO_UNSELECT);
    if (m_allPageRadioIcon)
        m_allPageRadioIcon->setText(currentPage ? RADIO_UNSELECT : RADIO_SELECT);
}

void ResetAllViewController::currentPageButtonTapAction()
{
    selectOption(true);
}

void ResetAllViewController::allPageButtonTapAction()
{
    selectOption(false);
}

void ResetAllViewController::okButtonTapAction()
{
    auto protect = shared_from_this();
    if (auto navigation = navigationController())
        navigation->dismissViewControllerAnimated(true);
    if (m_okButtonAction)
        m_okButtonAction(m_isEnableCurrentPage);
}

void ResetAllViewController::cancelButtonTapAction()
{
    auto protect = shared_from_this();
    if (auto navigation = navigationController())
        navigation->dismissViewControllerAnimated(true);
    if (m_cancelButtonAction)
        m_cancelButtonAction();
}

} // namespace lectoro
