// The translation sheet's views, sizes and resizing: building, measuring, dragging,
// full screen and rotation.

#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readingaids/ReadingAidsViews.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/TransitionCoordinator.h"

#include <algorithm>
#include <cmath>

namespace lectoro {

namespace {

struct LayoutConstants {
    std::optional<ui::Font> titleFont;
    std::optional<ui::Font> captionFont;
    std::optional<ui::Font> languageButtonFont;
    std::optional<ui::Font> textBoxFont;
    double verticalPadding = 20;
    double headerHeight = 40;
    double titleLeadingInset = 15;
    double textBoxSideInset = 15;
    double sheetSideMargin = 16;
    double separatorThickness = 1;
};

// Computed on first use; the idiom decides the insets.
const LayoutConstants& constants()
{
    static const LayoutConstants values = [] {
        LayoutConstants c;
        c.titleFont = getCustomFontForWeight(18, ui::FontWeight::Bold);
        c.captionFont = getCustomFontForWeight(10, ui::FontWeight::Light);
        c.languageButtonFont = getCustomFontForWeight(16, ui::FontWeight::Regular);
        c.textBoxFont = getCustomFontForWeight(14, ui::FontWeight::Regular);
        c.titleLeadingInset = isIpad() ? 32 : 15;
        c.textBoxSideInset = isIpad() ? 34 : 15;
        return c;
    }();
    return values;
}

ui::Size screenSize()
{
    return ui::Environment::current().screenSize();
}

// The text bound of one box for a sheet of the given height.
double textBoundFor(double height)
{
    return (height - 138) * 0.5;
}

void layoutNow(const std::shared_ptr<ui::View>& view)
{
    view->layoutIfNeeded();
}

} // namespace

std::shared_ptr<ui::PanGestureRecognizer> MVTranslationController::panGesture() const
{
    if (!isViewLoaded())
        return nullptr;
    for (const auto& recognizer : const_cast<MVTranslationController*>(this)->view()->gestureRecognizers()) {
        if (auto pan = std::dynamic_pointer_cast<ui::PanGestureRecognizer>(recognizer))
            return pan;
    }
    return nullptr;
}

void MVTranslationController::addBackgroundDismissButton()
{
    auto button = ui::Button::create();
    button->setAccessibilityIdentifier("backgroundDismissButton");
    button->addTarget(ui::ControlEvent::TouchUpInside, [weak = weakSelf()](ui::Control&) {
        if (auto self = weak.lock())
            self->dismissController();
    });
    view()->insertSubview(button, 0);
    pinToEdges(button, *view());
}

void MVTranslationController::setupContainerView()
{
    const auto& c = constants();
    auto root = view();
    root->addSubview(m_containerView);
    m_containerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_containerView->layer()->setCornerRadius(4);
    addBorderWithColor(*m_containerView, highlightPopupIconColorIfAny(m_lxthemeVO));
    addShadowToView(*m_containerView);
    m_containerView->setBackgroundColor(ui::Color::white());

    if (isIpad()) {
        activate(m_containerView->centerXAnchor().constraintEqualTo(root->centerXAnchor()));
        activate(m_containerView->centerYAnchor().constraintEqualTo(root->centerYAnchor()));
        m_containerWidhtConstraint = m_containerView->widthAnchor().constraintEqualToConstant(0);
        m_containerHeightConstraint = m_containerView->heightAnchor().constraintEqualToConstant(0);
    } else {
        auto& environment = ui::Environment::current();
        bool landscape = environment.isDeviceLandscape();
        auto safeArea = keyWindowSafeArea();
        double bottomGap;
        if (safeArea) {
            if (landscape)
                bottomGap = safeArea->right != 0 ? 34 : 4;
            else
                bottomGap = safeArea->bottom == 0 ? 4 : safeArea->bottom;
        } else {
            bottomGap = landscape ? 34 : 0;
        }
        auto guide = root->safeAreaLayoutGuide();
        activate(m_containerView->bottomAnchor().constraintEqualTo(root->bottomAnchor(), bottomGap));
        activate(
            m_containerView->leadingAnchor().constraintEqualTo(guide->leadingAnchor(), c.sheetSideMargin));
        activate(
            m_containerView->trailingAnchor().constraintEqualTo(guide->trailingAnchor(), -c.sheetSideMargin));
        m_containerHeightConstraint = m_containerView->heightAnchor().constraintEqualToConstant(0);
        setupNavigationBar(m_containerView);
        auto pan = ui::PanGestureRecognizer::create([weak = weakSelf()](ui::GestureRecognizer& recognizer) {
            auto self = weak.lock();
            if (auto* pan = dynamic_cast<ui::PanGestureRecognizer*>(&recognizer); self && pan)
                self->handlePanGestureWithGesture(*pan);
        });
        pan->setDelaysTouchesBegan(false);
        pan->setDelaysTouchesEnded(false);
        root->addGestureRecognizer(pan);
        if (landscape) {
            base::RunLoop::main().postDelayed(0.3, [weak = weakSelf()] {
                if (auto self = weak.lock())
                    self->expandToFullScreen();
            });
        }
    }

    m_titleLabel = ui::Label::create();
    if (c.titleFont)
        m_titleLabel->setFont(*c.titleFont);
    m_titleLabel->setText(m_translateStr);
    m_containerView->addSubview(m_titleLabel);
    m_titleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(m_titleLabel->leadingAnchor().constraintEqualTo(
        m_containerView->leadingAnchor(), c.titleLeadingInset));
    activate(m_titleLabel->topAnchor().constraintEqualTo(m_containerView->topAnchor(), c.verticalPadding));

    auto source = addTextContainer(m_containerView);
    activate(source->topAnchor().constraintEqualTo(m_titleLabel->bottomAnchor(), 18));

    auto separator = ui::View::create();
    separator->setBackgroundColor(ui::Color::fromRGBA(18.0 / 255, 18.0 / 255, 18.0 / 255, 0.1));
    separator->setAccessibilityIdentifier("separator");
    m_containerView->addSubview(separator);
    separator->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(separator->topAnchor().constraintEqualTo(source->bottomAnchor(), c.verticalPadding));
    activate(separator->leadingAnchor().constraintEqualTo(source->leadingAnchor()));
    activate(separator->trailingAnchor().constraintEqualTo(source->trailingAnchor()));
    activate(separator->heightAnchor().constraintEqualToConstant(c.separatorThickness));

    auto target = addTextContainer(m_containerView);
    activate(target->topAnchor().constraintEqualTo(separator->bottomAnchor(), c.verticalPadding));

    if (m_textViews.size() == 2 && m_languageButtons.size() == 2 && m_speakerButtons.size() == 2
        && m_placeHolderLabels.size() == 2) {
        m_textViews[0]->setTextColor(ui::Color::fromRGBA(166.0 / 255, 166.0 / 255, 166.0 / 255, 1));
        m_languageButtons[1]->setTag(1);
        m_speakerButtons[1]->setTag(1);
        m_placeHolderLabels[0]->setText(m_fromStr);
        m_placeHolderLabels[1]->setText(m_toStr);
    }
}

void MVTranslationController::setupNavigationBar(const std::shared_ptr<ui::View>& container)
{
    auto root = view();
    auto bar = makeBackNavigationBar(title(), m_lxthemeVO, true, [weak = weakSelf()] {
        if (auto self = weak.lock())
            self->dismissController();
    });
    m_navBar = bar.bar;
    root->insertSubviewAbove(m_navBar, container.get());
    m_navBar->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(m_navBar->bottomAnchor().constraintEqualTo(container->topAnchor()));
    activate(m_navBar->heightAnchor().constraintEqualToConstant(44));
    activate(m_navBar->leadingAnchor().constraintEqualTo(root->leadingAnchor()));
    activate(m_navBar->trailingAnchor().constraintEqualTo(root->trailingAnchor()));
    m_navBar->setHidden(true);
}

std::shared_ptr<ui::View> MVTranslationController::addTextContainer(
    const std::shared_ptr<ui::View>& container)
{
    const auto& c = constants();
    auto box = ui::View::create();
    box->setAccessibilityIdentifier(m_textContainerHeightConstraints.empty() ? "sourceBox" : "targetBox");
    container->addSubview(box);
    box->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(box->leadingAnchor().constraintEqualTo(container->leadingAnchor(), c.textBoxSideInset));
    activate(box->trailingAnchor().constraintEqualTo(container->trailingAnchor(), -c.textBoxSideInset));
    m_textContainerHeightConstraints.push_back(box->heightAnchor().constraintEqualToConstant(0));
    addTextContainerContent(box);
    return box;
}

void MVTranslationController::addTextContainerContent(const std::shared_ptr<ui::View>& box)
{
    const auto& c = constants();
    auto header = ui::View::create();
    box->addSubview(header);
    header->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(header->topAnchor().constraintEqualTo(box->topAnchor()));
    activate(header->leadingAnchor().constraintEqualTo(box->leadingAnchor()));
    activate(header->trailingAnchor().constraintEqualTo(box->trailingAnchor()));
    activate(header->heightAnchor().constraintEqualToConstant(c.headerHeight));
    addLanguageHeader(header);

    auto text = ui::TextView::create();
    text->setBackgroundColor(ui::Color::clear());
    text->setTextContainerInset({});
    text->setLineFragmentPadding(0);
    if (c.textBoxFont)
        text->setFont(*c.textBoxFont);
    text->setText(m_highlightText.value_or(""));
    text->setEditable(false);
    box->addSubview(text);
    text->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(text->topAnchor().constraintEqualTo(header->bottomAnchor(), c.verticalPadding));
    activate(text->bottomAnchor().constraintEqualTo(box->bottomAnchor()));
    activate(text->leadingAnchor().constraintEqualTo(box->leadingAnchor()));
    activate(text->trailingAnchor().constraintEqualTo(box->trailingAnchor()));
    m_textViews.push_back(text);
}

void MVTranslationController::addLanguageHeader(const std::shared_ptr<ui::View>& header)
{
    const auto& c = constants();
    auto caption = ui::Label::create();
    if (c.captionFont)
        caption->setFont(*c.captionFont);
    header->addSubview(caption);
    caption->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(caption->leadingAnchor().constraintEqualTo(header->leadingAnchor(), 2));
    activate(caption->topAnchor().constraintEqualTo(header->topAnchor(), 2));
    activate(caption->heightAnchor().constraintEqualToConstant(10));
    m_placeHolderLabels.push_back(caption);

    auto button = ui::Button::create();
    header->addSubview(button);
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(button->topAnchor().constraintEqualTo(caption->bottomAnchor(), 2));
    activate(button->bottomAnchor().constraintEqualTo(header->bottomAnchor(), -2));
    activate(button->leadingAnchor().constraintEqualTo(header->leadingAnchor(), 3));
    activate(button->trailingAnchor().constraintEqualTo(header->trailingAnchor(), -54));
    addBottomBorderWithColor(*button, ui::Color::fromRGBA(0.4, 0.4, 0.4, 1), 28);
    button->setBackgroundColor(ui::Color::clear());
    if (c.languageButtonFont)
        button->setFont(*c.languageButtonFont);
    button->setTitleColor(ui::Color::black(), ui::ControlState::Normal);
    button->setContentHorizontalAlignment(
        isRTL() ? ui::ContentHorizontalAlignment::Right : ui::ContentHorizontalAlignment::Left);
    button->setAccessibilityIdentifier(
        m_languageButtons.empty() ? "sourceLanguageButton" : "targetLanguageButton");
    button->addTarget(ui::ControlEvent::TouchUpInside, [weak = weakSelf()](ui::Control& control) {
        auto self = weak.lock();
        if (auto* pressed = dynamic_cast<ui::Button*>(&control); self && pressed)
            self->tapOnDropDown(*pressed);
    });
    m_languageButtons.push_back(button);

    auto arrow = ui::Label::create();
    arrow->setFont(ui::Font::systemFont(28, ui::FontWeight::Light));
    arrow->setText("\xE2\x96\xBE"); // U+25BE
    button->addSubview(arrow);
    arrow->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(arrow->centerYAnchor().constraintEqualTo(button->centerYAnchor()));
    activate(arrow->trailingAnchor().constraintEqualTo(button->trailingAnchor(), -10));
    m_dropdownArrows.push_back(arrow);

    auto speaker = ui::Button::create();
    header->addSubview(speaker);
    speaker->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(speaker->centerYAnchor().constraintEqualTo(button->centerYAnchor()));
    activate(speaker->leadingAnchor().constraintEqualTo(button->trailingAnchor(), 15));
    speaker->setTitle(std::string(READ_TO_ME_AUTOPLAY), ui::ControlState::Normal);
    speaker->setFont(iconFont(20));
    // A theme without the pop-up's icon colour (the default theme has none) would leave the
    // glyph in a button's white on the white card: black then, as the back item has it.
    speaker->setTitleColor(highlightPopupIconColor(m_lxthemeVO), ui::ControlState::Normal);
    speaker->setAccessibilityIdentifier(
        m_speakerButtons.empty() ? "sourceSpeakerButton" : "targetSpeakerButton");
    speaker->addTarget(ui::ControlEvent::TouchUpInside, [weak = weakSelf()](ui::Control& control) {
        auto self = weak.lock();
        if (auto* pressed = dynamic_cast<ui::Button*>(&control); self && pressed)
            self->tapOnSpeaker(*pressed);
    });
    m_speakerButtons.push_back(speaker);
}

double MVTranslationController::textContainerHeight()
{
    const auto& c = constants();
    if (!c.textBoxFont || !m_highlightText)
        return 0;
    double width = m_containerWidht - 2 * c.textBoxSideInset;
    double height
        = std::ceil(ui::TextMetrics::boundingHeight(*m_highlightText, *c.textBoxFont, std::max(width, 0.0)));
    return std::min(m_fixedTextContainerHeight, c.headerHeight + c.verticalPadding + height);
}

double MVTranslationController::sheetHeight()
{
    const auto& c = constants();
    double titleSize = c.titleFont ? c.titleFont->pointSize() : 18;
    double content = 2 * textContainerHeight() + titleSize + 2 * c.verticalPadding + 3 * c.verticalPadding
        + c.separatorThickness;
    return std::min(0.71 * screenSize().height, content) + 8;
}

void MVTranslationController::updateTextContainerHeights()
{
    double height = textContainerHeight();
    for (const auto& constraint : m_textContainerHeightConstraints) {
        constraint->setConstant(height);
        constraint->setActive(true);
    }
}

void MVTranslationController::updateContainerSize()
{
    auto screen = screenSize();
    m_fixedTextContainerHeight = textBoundFor(0.71 * screen.height);
    if (isIpad()) {
        m_containerWidht = 0.65 * screen.width;
        if (m_containerWidhtConstraint)
            m_containerWidhtConstraint->setConstant(m_containerWidht);
    } else {
        m_containerWidht = screen.width - 2 * constants().sheetSideMargin;
    }
    auto safeArea = keyWindowSafeArea();
    double bottomInset = safeArea ? (safeArea->bottom == 0 ? 4 : safeArea->bottom) : 0;
    if (m_containerWidhtConstraint)
        m_containerWidhtConstraint->setActive(true);
    double height = sheetHeight() + (isIpad() ? 0 : bottomInset);
    if (m_containerHeightConstraint) {
        m_containerHeightConstraint->setConstant(height);
        m_containerHeightConstraint->setActive(true);
    }
    if (!isIpad()) {
        m_maximumContainerHeight = screen.height - 44;
        m_defaultHeight = height;
        m_currentContainerHeight = height;
        setContainerHeight(height, false);
    }
    updateTextContainerHeights();
}

void MVTranslationController::setContainerHeight(double height, bool fullScreen)
{
    m_navBar->setHidden(!fullScreen);
    view()->setBackgroundColor(fullScreen ? ui::Color::white() : ui::Color::clear());
    m_containerView->layer()->setShadowOpacity(fullScreen ? 0 : 1);
    m_containerView->layer()->setBorderColor(fullScreen
            ? ui::Color::clear()
            : highlightPopupIconColorIfAny(m_lxthemeVO).value_or(ui::Color::clear()));
    if (m_containerHeightConstraint)
        m_containerHeightConstraint->setConstant(height);
    updateTextContainerHeights();
    auto root = view();
    ui::View::animate(0.4, [root] { layoutNow(root); });
    m_currentContainerHeight = height;
}

double MVTranslationController::fullScreenHeight()
{
    auto safeArea = keyWindowSafeArea();
    if (safeArea && safeArea->top != 0)
        return view()->safeAreaLayoutGuide()->layoutFrame().size.height;
    return screenSize().height - 44;
}

void MVTranslationController::expandToFullScreen()
{
    if (auto pan = panGesture())
        pan->setEnabled(false);
    double height = fullScreenHeight();
    m_fixedTextContainerHeight = textBoundFor(height);
    setContainerHeight(height, true);
}

void MVTranslationController::dismissWithSwipe()
{
    std::weak_ptr<MVTranslationController> weak = weakSelf();
    ui::View::animate(
        0.4, [] {},
        [weak](bool) {
            if (auto self = weak.lock())
                self->dismissViewControllerAnimated(false);
        });
    auto root = view();
    ui::View::animate(0.3, [root] { layoutNow(root); });
}

void MVTranslationController::handlePanGestureWithGesture(ui::PanGestureRecognizer& gesture)
{
    auto root = view();
    double dy = gesture.translationInView(root.get()).y;
    double newHeight = m_currentContainerHeight - dy;
    switch (gesture.state()) {
    case ui::GestureState::Changed:
        if (newHeight < m_maximumContainerHeight) {
            m_containerHeightConstraint->setConstant(newHeight);
            layoutNow(root);
        }
        return;
    case ui::GestureState::Ended:
        break;
    default:
        return;
    }
    m_fixedTextContainerHeight = textBoundFor(0.71 * screenSize().height);
    if (newHeight < dismissibleHeight) {
        dismissWithSwipe();
    } else if (newHeight < m_defaultHeight) {
        setContainerHeight(m_defaultHeight, false);
    } else if (newHeight < m_maximumContainerHeight && dy > 0) {
        setContainerHeight(m_defaultHeight, false);
    } else if (dy <= 0 && newHeight > m_defaultHeight) {
        double height = fullScreenHeight();
        m_fixedTextContainerHeight = textBoundFor(height);
        setContainerHeight(height, true);
    }
}

void MVTranslationController::viewWillTransitionToSize(
    const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    ui::ViewController::viewWillTransitionToSize(size, coordinator);
    coordinator.animateAlongside({}, [weak = weakSelf()](const ui::TransitionCoordinatorContext&) {
        auto self = weak.lock();
        if (!self || !self->isViewLoaded())
            return;
        if (!self->view()->gestureRecognizers().empty())
            self->view()->gestureRecognizers().front()->setEnabled(true);
        if (!isIpad() && ui::Environment::current().isDeviceLandscape())
            self->expandToFullScreen();
        else
            self->updateContainerSize();
        if (auto loader = self->view()->viewWithTag(loaderViewTag))
            self->pinLoaderView(loader);
    });
}

void MVTranslationController::setupLoaderView()
{
    auto root = view();
    auto loader = ui::View::create();
    loader->setTag(loaderViewTag);
    loader->setBackgroundColor(ui::Color::fromWhite(0, 0.7));
    root->insertSubviewAbove(loader, m_containerView.get());
    pinLoaderView(loader);
    auto indicator = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::WhiteLarge);
    indicator->setColor(ui::Color::white());
    loader->addSubview(indicator);
    indicator->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(indicator->centerXAnchor().constraintEqualTo(root->centerXAnchor()));
    activate(indicator->centerYAnchor().constraintEqualTo(root->centerYAnchor()));
    loader->setHidden(true);
}

void MVTranslationController::pinLoaderView(const std::shared_ptr<ui::View>& loader)
{
    auto root = view();
    // The loader's own old pins go (the indicator's centring inside it stays).
    for (const auto& constraint : loader->constraintsAffecting()) {
        if (constraint->firstItem().get() == loader.get())
            constraint->setActive(false);
    }
    auto safeArea = keyWindowSafeArea();
    double topInset = safeArea ? safeArea->top : 0;
    loader->setTranslatesAutoresizingMaskIntoConstraints(false);
    activate(loader->leadingAnchor().constraintEqualTo(root->leadingAnchor()));
    activate(loader->trailingAnchor().constraintEqualTo(root->trailingAnchor()));
    activate(loader->topAnchor().constraintEqualTo(root->topAnchor(), -topInset));
    activate(loader->bottomAnchor().constraintEqualTo(root->bottomAnchor(), topInset + 64));
}

} // namespace lectoro
