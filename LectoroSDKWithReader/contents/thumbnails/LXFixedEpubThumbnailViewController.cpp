#include "LectoroSDKWithReader/contents/thumbnails/LXFixedEpubThumbnailViewController.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailPanels.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TransitionCoordinator.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double navBubbleWidth = 90;
constexpr double navBubbleHeight = 33;
constexpr double navBubbleLift = 40;
constexpr double navBubbleEdge = 3;
constexpr double navButtonWidth = 40;

double navFieldFontSize()
{
    return ui::Environment::current().isPad() ? 15 : 12;
}

} // namespace

double LXFixedEpubThumbnailViewController::barHeight()
{
    return ui::Environment::current().isPad() ? 100 : 90;
}

std::shared_ptr<LXFixedEpubThumbnailViewController> LXFixedEpubThumbnailViewController::create(
    base::Value data, std::shared_ptr<LXMVThemeVO> theme)
{
    return std::shared_ptr<LXFixedEpubThumbnailViewController>(
        new LXFixedEpubThumbnailViewController(std::move(data), std::move(theme)));
}

LXFixedEpubThumbnailViewController::LXFixedEpubThumbnailViewController(
    base::Value data, std::shared_ptr<LXMVThemeVO> theme)
    : m_dataArray(std::move(data))
    , m_themeVO(theme ? std::move(theme) : std::make_shared<LXMVThemeVO>())
{
}

LXFixedEpubThumbnailViewController::~LXFixedEpubThumbnailViewController() = default;

std::shared_ptr<LXFixedEpubThumbnailViewController> LXFixedEpubThumbnailViewController::self()
{
    return std::static_pointer_cast<LXFixedEpubThumbnailViewController>(shared_from_this());
}

// MARK: - Pages

std::string LXFixedEpubThumbnailViewController::getDisplayNumfromPageNo(const std::string& position) const
{
    const auto* page = thumbnails::pageAtPosition(m_dataArray, base::integerValue(position));
    return page ? thumbnails::displayNumberText(*page) : std::string();
}

bool LXFixedEpubThumbnailViewController::isPageNumberAvailble(const std::string& text)
{
    const auto* page = thumbnails::findPageByTypedNumber(m_dataArray, text);
    if (!page)
        return false;
    if (auto delegate = m_delegate.lock())
        delegate->navigateToPageNo((*page)["SRC"].asString().value_or(""));
    return true;
}

void LXFixedEpubThumbnailViewController::searchPage(const std::string& text)
{
    if (text.empty()) {
        thumbnails::presentGoToAlert(*this, "PLEASE_ENTER_PAGE_NUMBER_ALERT");
        return;
    }
    if (!isPageNumberAvailble(text))
        thumbnails::presentGoToAlert(*this, "PLEASE_ENTER_VALID_PAGE_NUMBER_ALERT");
}

bool LXFixedEpubThumbnailViewController::shouldReturn(ui::TextField& field)
{
    searchPage(field.text());
    field.resignFirstResponder();
    field.setText({});
    return true;
}

// Only taps on the navigator's own background (the band and the bar) close it.
bool LXFixedEpubThumbnailViewController::shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touched)
{
    if (!touched || !isViewLoaded())
        return false;
    return touched == view().get() || touched == m_thumbnailMainView.get() || touched == m_navigationRow.get();
}

// MARK: - Slider

void LXFixedEpubThumbnailViewController::sliderValueChanged()
{
    if (!m_slider || !m_sliderLabel)
        return;
    m_sliderLabel->setHidden(false);
    const auto& environment = ui::Environment::current();
    const ui::Rect bounds = m_slider->bounds();
    const ui::Rect thumb = m_slider->thumbRect(bounds, m_slider->trackRect(bounds), m_slider->value());
    ui::Rect frame = m_sliderLabel->frame();
    const double screenWidth = environment.screenSize().width;
    double x = thumb.origin.x - 22 + (isViewLoaded() ? view()->safeAreaInsets().left : 0);
    if (x < 0)
        x = navBubbleEdge;
    else if (x + navBubbleWidth > screenWidth)
        x = screenWidth - navBubbleWidth - navBubbleEdge;
    frame.origin.x = x;
    if (m_isKeyboardOpen)
        frame.origin.y = environment.screenSize().height - barHeight() - navBubbleLift - m_keyboardHeight;
    m_sliderLabel->setFrame(frame);
    const int64_t position = thumbnails::sliderPosition(m_slider->value(), m_totalNumberOfPages);
    m_sliderLabel->setText(base::format("Page %@", getDisplayNumfromPageNo(base::format("%ld", position))));
}

// Releasing where no page is does nothing (no alert either).
void LXFixedEpubThumbnailViewController::sliderReleased()
{
    if (!m_slider)
        return;
    const int64_t position = thumbnails::sliderPosition(m_slider->value(), m_totalNumberOfPages);
    const std::string displayNumber = getDisplayNumfromPageNo(base::format("%ld", position));
    if (!displayNumber.empty())
        isPageNumberAvailble(displayNumber);
}

// MARK: - Views

void LXFixedEpubThumbnailViewController::viewDidLoad()
{
    ViewController::viewDidLoad();
    std::weak_ptr<LXFixedEpubThumbnailViewController> weak = self();
    auto& center = base::NotificationCenter::defaultCenter();
    m_keyboardObservers.push_back(
        center.addObserver(ui::KeyboardWillShowNotification, nullptr, [weak](const base::Notification& note) {
            auto navigator = weak.lock();
            if (!navigator)
                return;
            navigator->m_isKeyboardOpen = true;
            navigator->m_keyboardHeight = thumbnails::keyboardEndHeight(note);
            if (navigator->m_thumbnailViewBottomConstraint)
                navigator->m_thumbnailViewBottomConstraint->setConstant(
                    navigator->view()->safeAreaInsets().bottom - navigator->m_keyboardHeight);
        }));
    m_keyboardObservers.push_back(
        center.addObserver(ui::KeyboardWillHideNotification, nullptr, [weak](const base::Notification&) {
            auto navigator = weak.lock();
            if (!navigator)
                return;
            navigator->m_isKeyboardOpen = false;
            if (navigator->m_thumbnailViewBottomConstraint)
                navigator->m_thumbnailViewBottomConstraint->setConstant(0);
        }));
    const ui::Size screen = ui::Environment::current().screenSize();
    view()->setFrame({ 0, screen.height - barHeight(), screen.width, barHeight() });
    m_closeTap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        auto navigator = weak.lock();
        if (auto delegate = navigator ? navigator->m_delegate.lock() : nullptr)
            delegate->didPerformActionToCloseThumbnail();
    });
    m_closeTap->setDelegate(std::static_pointer_cast<ui::GestureRecognizerDelegate>(self()));
    view()->addGestureRecognizer(m_closeTap);
}

void LXFixedEpubThumbnailViewController::applyEnabled(ui::Button& button, bool enabled)
{
    button.setAlpha(enabled ? 1.0 : 0.5);
    button.setUserInteractionEnabled(enabled);
}

std::shared_ptr<ui::Button> LXFixedEpubThumbnailViewController::makeHistoryButton(bool previous)
{
    auto button = ui::Button::create(ui::Rect {});
    button->setTitle(std::string(previous ? "I" : "J"), ui::ControlState::Normal);
    button->setFont(ui::Font(MVIconFontConstants::getFontName(), ui::Environment::current().isPad() ? 24 : 19));
    button->setTitleColor(tocColour(m_themeVO->thumbnail_botton_bar_text_color()), ui::ControlState::Normal);
    applyEnabled(*button, previous ? m_prevEnable : m_nextEnable);
    std::weak_ptr<LXFixedEpubThumbnailViewController> weak = self();
    button->addTarget(ui::ControlEvent::TouchUpInside, [weak, previous](ui::Control&) {
        auto navigator = weak.lock();
        auto delegate = navigator ? navigator->m_delegate.lock() : nullptr;
        if (!delegate)
            return;
        if (previous)
            delegate->didClickHistoryPreviousForFixedEpub();
        else
            delegate->didClickHistoryNextForFixedEpub();
    });
    return button;
}

void LXFixedEpubThumbnailViewController::viewWillAppear(bool animated)
{
    ViewController::viewWillAppear(animated);
    m_displayNumberOfLastPage = thumbnails::lastDisplayNumber(m_dataArray);
    if (!m_thumbnailMainView)
        buildBar();
    m_slider->setValue(thumbnails::initialSliderValue(m_activePageNumber, m_totalNumberOfPages));
}

void LXFixedEpubThumbnailViewController::buildBar()
{
    const auto& theme = *m_themeVO;
    auto root = view();
    const auto textColour = tocColour(theme.thumbnail_botton_bar_text_color());
    const auto font = TOCConstants::customFont(navFieldFontSize());
    m_thumbnailMainView = ui::View::create();
    m_thumbnailMainView->setBackgroundColor(tocColour(theme.thumbnail_slider_popup_background()));
    m_thumbnailMainView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(m_thumbnailMainView);
    auto safe = root->safeAreaLayoutGuide();
    m_thumbnailViewBottomConstraint = m_thumbnailMainView->bottomAnchor().constraintEqualTo(safe->bottomAnchor(), 0);
    ui::Constraint::activate({ m_thumbnailViewBottomConstraint,
        m_thumbnailMainView->leadingAnchor().constraintEqualTo(safe->leadingAnchor()),
        m_thumbnailMainView->trailingAnchor().constraintEqualTo(safe->trailingAnchor()),
        m_thumbnailMainView->heightAnchor().constraintEqualToConstant(barHeight()) });

    m_slider = ui::Slider::create();
    m_slider->setThumbTintColor(tocColour(theme.thumbnail_slider_filled_color()));
    m_slider->setMinimumTrackTintColor(tocColour(theme.thumbnail_slider_filled_color()));
    m_slider->setMaximumTrackTintColor(tocColour(theme.thumbnail_slider_slider_color()));
    m_slider->setMinimumValue(0);
    m_slider->setMaximumValue(1);
    m_slider->setContinuous(true);
    std::weak_ptr<LXFixedEpubThumbnailViewController> weak = self();
    m_slider->addTarget(ui::ControlEvent::ValueChanged, [weak](ui::Control&) {
        if (auto navigator = weak.lock())
            navigator->sliderValueChanged();
    });
    m_slider->addTarget(ui::ControlEvent::TouchDragExit | ui::ControlEvent::TouchUpInside
            | ui::ControlEvent::TouchUpOutside | ui::ControlEvent::TouchCancel,
        [weak](ui::Control&) {
            if (auto navigator = weak.lock())
                navigator->sliderReleased();
        });
    m_thumbnailMainView->addSubview(m_slider);

    m_navigationRow = ui::View::create();
    m_navigationRow->setBackgroundColor(ui::Color::clear());
    m_thumbnailMainView->addSubview(m_navigationRow);
    m_prevButton = makeHistoryButton(true);
    m_nextButton = makeHistoryButton(false);
    m_gotoTextField = ui::TextField::create();
    base::AttributedString placeholder(TOCConstants::localized("GO_TO"));
    placeholder.addForegroundColor(base::Range { 0, placeholder.length() }, ui::colorAttr(textColour));
    m_gotoTextField->setAttributedPlaceholder(placeholder);
    m_gotoTextField->setTextAlignment(ui::TextAlignment::Right);
    m_gotoTextField->setBackgroundColor(ui::Color::clear());
    m_gotoTextField->setTextColor(textColour);
    m_gotoTextField->setText(m_activeDisplayNumber);
    m_gotoTextField->setFont(font);
    m_gotoTextField->setDelegate(std::static_pointer_cast<ui::TextFieldDelegate>(self()));
    m_totalPageNumberLabel = ui::Label::create();
    m_totalPageNumberLabel->setText("/" + m_displayNumberOfLastPage);
    m_totalPageNumberLabel->setTextAlignment(ui::TextAlignment::Left);
    m_totalPageNumberLabel->setTextColor(textColour);
    m_totalPageNumberLabel->setFont(font);
    for (const auto& control : std::initializer_list<std::shared_ptr<ui::View>> {
             m_prevButton, m_gotoTextField, m_totalPageNumberLabel, m_nextButton })
        m_navigationRow->addSubview(control);
    root->setNeedsLayout();
    root->layoutIfNeeded();
}

void LXFixedEpubThumbnailViewController::viewDidLayoutSubviews()
{
    ViewController::viewDidLayoutSubviews();
    if (!m_thumbnailMainView)
        return;
    auto root = view();
    const ui::Rect bounds = root->bounds();
    const ui::EdgeInsets safe = root->safeAreaInsets();
    const double height = barHeight();
    const double width = std::max(0.0, bounds.size.width - safe.left - safe.right);
    m_thumbnailMainView->setFrame({ safe.left,
        bounds.size.height - safe.bottom + m_thumbnailViewBottomConstraint->constant() - height, width, height });
    m_slider->setFrame({ 10, 10, std::max(0.0, width - 20), 30 });
    // The field is as wide as its text, at most 41; the label at least 40.
    const double fieldWidth = std::min(41.0, m_gotoTextField->intrinsicContentSize().width);
    const double labelWidth = std::max(40.0, m_totalPageNumberLabel->sizeThatFits({ 0, 0 }).width);
    const double rowWidth = fieldWidth + 120;
    const double rowTop = m_slider->frame().maxY();
    const double rowHeight = std::max(0.0, height - 5 - rowTop);
    m_navigationRow->setFrame({ (width - rowWidth) / 2, rowTop, rowWidth, rowHeight });
    m_prevButton->setFrame({ 0, 0, navButtonWidth, rowHeight });
    m_nextButton->setFrame({ rowWidth - navButtonWidth, 0, navButtonWidth, rowHeight });
    const double groupX = navButtonWidth + 1;
    m_gotoTextField->setFrame({ groupX, 0, fieldWidth, rowHeight });
    m_totalPageNumberLabel->setFrame({ groupX + fieldWidth, 0, labelWidth, std::max(0.0, rowHeight - 1) });
}

void LXFixedEpubThumbnailViewController::placeBubble()
{
    if (!m_sliderLabel)
        return;
    const ui::Size screen = ui::Environment::current().screenSize();
    const double bottomInset = isViewLoaded() ? view()->safeAreaInsets().bottom : 0;
    m_sliderLabel->setFrame(
        { 100, screen.height - barHeight() - navBubbleLift - bottomInset, navBubbleWidth, navBubbleHeight });
}

void LXFixedEpubThumbnailViewController::viewDidAppear(bool animated)
{
    ViewController::viewDidAppear(animated);
    const auto& theme = *m_themeVO;
    if (!m_sliderLabel) {
        m_sliderLabel = ui::Label::create();
        m_sliderLabel->setFont(ui::Font::systemFont(15));
        m_sliderLabel->setTextAlignment(ui::TextAlignment::Center);
        m_sliderLabel->setTextColor(tocColour(theme.thumbnail_botton_bar_text_color()));
        m_sliderLabel->setBackgroundColor(tocColour(theme.thumbnail_slider_popup_background()));
        auto& layer = *m_sliderLabel->layer();
        layer.setCornerRadius(6);
        layer.setBorderWidth(1);
        layer.setBorderColor(tocColour(theme.thumbnail_botton_bar_text_color()));
        m_sliderLabel->setClipsToBounds(true);
        m_sliderLabel->setHidden(true);
        view()->addSubview(m_sliderLabel);
    }
    placeBubble();
    if (m_prevButton)
        addReaderAccessibilityOn(*m_prevButton, "ReaderThumbnailPrevNextPageButton",
            TOCConstants::localized("ACCESSIBILITY_THUMBNAIL_PREV_PAGE"));
    if (m_nextButton)
        addReaderAccessibilityOn(*m_nextButton, "ReaderThumbnailPrevNextPageButton",
            TOCConstants::localized("ACCESSIBILITY_THUMBNAIL_NEXT_PAGE"));
    if (m_gotoTextField)
        addReaderAccessibilityOn(*m_gotoTextField, "ReaderThumbnailSearchTF", "");
    if (m_slider)
        addReaderAccessibilityOn(*m_slider, "ReaderThumbnailSlider", "");
    if (m_totalPageNumberLabel)
        addReaderAccessibilityOn(*m_totalPageNumberLabel, "ReaderThumbnailTotalPage", m_totalPageNumberLabel->text());
}

void LXFixedEpubThumbnailViewController::viewWillTransitionToSize(
    const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    ViewController::viewWillTransitionToSize(size, coordinator);
    std::weak_ptr<LXFixedEpubThumbnailViewController> weak = self();
    coordinator.animateAlongside({}, [weak](const ui::TransitionCoordinatorContext&) {
        if (auto navigator = weak.lock())
            navigator->placeBubble();
    });
}

} // namespace lectoro
