#include "LectoroSDKWithReader/reader/help/HelpScreen.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIButtonExpanded.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderFont.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/AttributedString.h"
#include "platform/ui/Button.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/TransitionCoordinator.h"

#include <mutex>

namespace lectoro {

namespace {

constexpr double backgroundAlpha = 0.7;

std::mutex& textBundleMutex()
{
    static std::mutex mutex;
    return mutex;
}

BundleRef& storedTextBundle()
{
    static BundleRef bundle;
    return bundle;
}

base::AttributedString coloredTitle(const std::string& text, const ui::Color& color)
{
    base::AttributedString title(text);
    title.addForegroundColor(base::Range { 0, title.length() }, ui::colorAttr(color));
    return title;
}

} // namespace

std::shared_ptr<HelpScreen> HelpScreen::create()
{
    return std::shared_ptr<HelpScreen>(new HelpScreen);
}

HelpScreen::HelpScreen()
{
    m_pageControl = ui::PageControl::create();
    m_pageControl->setNumberOfPages(2);
    m_pageControl->setUserInteractionEnabled(false);
    m_pageControl->addTarget(
        ui::ControlEvent::ValueChanged, [this, alive = aliveToken()](ui::Control& control) {
            auto* pageControl = dynamic_cast<ui::PageControl*>(&control);
            if (alive.lock() && pageControl)
                changePageWithSender(*pageControl);
        });

    m_button = ui::Button::create(ui::ButtonType::Custom);
    m_button->setAttributedTitle(
        coloredTitle(localizedText("HELP_GOT_IT_BUTTON", "Got It"), ui::Color::white()));
    m_button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
}

BundleRef HelpScreen::textBundle()
{
    std::lock_guard lock(textBundleMutex());
    auto& bundle = storedTextBundle();
    if (!bundle) {
        bundle = LocalizationHelper::readerLanguageBundle();
        if (!bundle)
            bundle = libraryBundleRef();
    }
    return bundle;
}

std::string HelpScreen::localizedText(const std::string& key, const std::string& fallback)
{
    return textBundle()->localizedString(key, fallback, base::Bundle::defaultTable);
}

void HelpScreen::resetTextBundleForTesting()
{
    std::lock_guard lock(textBundleMutex());
    storedTextBundle() = nullptr;
}

void HelpScreen::setBackGroundColorWithColor(const std::string& color)
{
    m_backgroundColor = color;
    // A text that is no colour keeps the overlay readable: it falls back to black.
    auto parsed = UIColorExpanded::colorWithHexString(color).value_or(ui::Color::black());
    view()->setBackgroundColor(parsed.withAlpha(backgroundAlpha));
}

void HelpScreen::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    auto parsed = UIColorExpanded::colorWithHexString(m_backgroundColor).value_or(ui::Color::black());
    view()->setBackgroundColor(parsed.withAlpha(backgroundAlpha));
}

void HelpScreen::viewWillAppear(bool)
{
    auto overlayView = view();
    // A repeated appearance must not end the overlay twice per tap.
    if (!m_buttonActionInstalled) {
        m_button->addTarget(ui::ControlEvent::TouchUpInside, [this, alive = aliveToken()](ui::Control&) {
            if (alive.lock())
                removeMyself();
        });
        m_buttonActionInstalled = true;
    }
    overlayView->addSubview(m_button);
    UIButtonExpanded::setRoundedCornerWithRadius(*m_button, isIpad() ? 20 : 15);
    m_button->setFont(readerFont(isIpad() ? 16 : 12, ui::FontWeight::Bold));

    setUpViews();
    // The descriptors are laid over the screen; the button that ends the overlay stays on top
    // of them, where a finger reaches it.
    overlayView->bringSubviewToFront(m_button.get());

    if (m_showSecondScreen) {
        auto left = ui::SwipeGestureRecognizer::create(
            [this, alive = aliveToken()](ui::GestureRecognizer& recognizer) {
                if (alive.lock())
                    swipeLeft(recognizer);
            });
        left->setDirection(ui::SwipeDirection::Left);
        overlayView->addGestureRecognizer(left);
        auto right = ui::SwipeGestureRecognizer::create(
            [this, alive = aliveToken()](ui::GestureRecognizer& recognizer) {
                if (alive.lock())
                    swipeRight(recognizer);
            });
        right->setDirection(ui::SwipeDirection::Right);
        overlayView->addGestureRecognizer(right);
        overlayView->setNeedsDisplay();
        setUpSkipButton();
    } else
        setUpGotItButton();
}

void HelpScreen::styleButton(const std::string& key, const std::string& fallback,
    const std::string& textColor, const std::string& fallbackTextColor, const std::string& backgroundColor)
{
    auto color = UIColorExpanded::colorWithHexString(textColor);
    if (!color)
        color = UIColorExpanded::colorWithHexString(fallbackTextColor);
    const ui::Color titleColor = color.value_or(ui::Color::white());
    m_button->setAttributedTitle(coloredTitle(localizedText(key, fallback), titleColor));
    // The title label's own colour follows the attributed one, so the label reads as it is
    // drawn (it kept the white of the construction's "Got It" on the white "Skip" pill).
    m_button->setTitleColor(titleColor);
    m_button->setBackgroundColor(UIColorExpanded::colorWithHexString(backgroundColor));
}

void HelpScreen::setUpSkipButton()
{
    styleButton("HELP_SKIP_BUTTON", "Skip", m_skipButtonTextColor, "#000000", m_skipButtonBackgroundColor);
}

void HelpScreen::setUpGotItButton()
{
    styleButton(
        "HELP_GOT_IT_BUTTON", "Got It", m_gotItButtonTextColor, "#FFFFFF", m_gotItButtonBackgroundColor);
}

void HelpScreen::swipeLeft(ui::GestureRecognizer& recognizer)
{
    if (recognizer.state() != ui::GestureState::Recognized)
        return;
    int from = isRTL() ? 1 : 0;
    if (m_pageControl->currentPage() == from)
        swipeToLeft();
}

void HelpScreen::swipeRight(ui::GestureRecognizer& recognizer)
{
    if (recognizer.state() != ui::GestureState::Recognized)
        return;
    int from = isRTL() ? 0 : 1;
    if (m_pageControl->currentPage() == from)
        swipeToRight();
}

void HelpScreen::swipeToLeft()
{
    removeViews();
    bool rightToLeft = isRTL();
    m_pageControl->setCurrentPage(rightToLeft ? 0 : 1);
    if (auto owner = delegate())
        owner->swipeAtIndex(*this, m_pageControl->currentPage());
    setUpViews();
    if (rightToLeft)
        setUpSkipButton();
    else
        setUpGotItButton();
}

void HelpScreen::swipeToRight()
{
    removeViews();
    bool rightToLeft = isRTL();
    m_pageControl->setCurrentPage(rightToLeft ? 1 : 0);
    if (auto owner = delegate())
        owner->swipeAtIndex(*this, m_pageControl->currentPage());
    setUpViews();
    if (rightToLeft)
        setUpGotItButton();
    else
        setUpSkipButton();
}

void HelpScreen::changePageWithSender(ui::PageControl& sender)
{
    bool rightToLeft = isRTL();
    if (sender.currentPage() == 1) {
        if (rightToLeft)
            swipeToRight();
        else
            swipeToLeft();
    } else {
        if (rightToLeft)
            swipeToLeft();
        else
            swipeToRight();
    }
}

void HelpScreen::removeViews()
{
    for (auto& label : m_labels)
        label->removeFromSuperview();
    for (auto& layer : m_layers)
        layer->removeFromSuperlayer();
    for (auto& image : m_images)
        image->removeFromSuperview();
    m_labels.clear();
    m_layers.clear();
    m_images.clear();
}

void HelpScreen::removeMyself()
{
    // The delegate may drop its last reference to the overlay while being told.
    auto protectedSelf = std::static_pointer_cast<HelpScreen>(shared_from_this());
    if (auto overlayView = viewIfLoaded())
        overlayView->removeFromSuperview();
    removeFromParentViewController();
    if (auto owner = delegate())
        owner->didRemovedHelpScreen(*this);
}

void HelpScreen::willRotateToInterfaceOrientation()
{
    m_turning = true;
    removeViews();
}

void HelpScreen::didRotateFromInterfaceOrientation()
{
    m_turning = false;
    setUpViews();
}

void HelpScreen::viewWillTransitionToSize(const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    ui::ViewController::viewWillTransitionToSize(size, coordinator);
    willRotateToInterfaceOrientation();
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    coordinator.animateAlongside({}, [weakSelf](const ui::TransitionCoordinatorContext&) {
        if (auto self = std::static_pointer_cast<HelpScreen>(weakSelf.lock()))
            self->didRotateFromInterfaceOrientation();
    });
}

} // namespace lectoro
