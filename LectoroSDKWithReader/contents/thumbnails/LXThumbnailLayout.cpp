// The browser's views on both idioms, placed by frames from the numbers their
// constraints carry, with the slider, the keyboard and rotation.

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LectoroThumbnailCollectionViewCell.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailPanels.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/RTLorLTRFlowLayoutForReader.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TransitionCoordinator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lectoro {

namespace {

constexpr double thumbIpadPanelHeight = 290;
constexpr double thumbIpadBarHeight = 80;
constexpr double thumbIphoneTitleHeight = 44;
constexpr double thumbIphoneBarHeight = 60;
constexpr double thumbIphoneGroupWidth = 74;

double thumbLabelWidth(const ui::Label& label, double minimum, double maximum)
{
    return std::clamp(label.sizeThatFits({ 0, 0 }).width, minimum, maximum);
}

} // namespace

double LXThumbnailViewController::sliderOffsetFor(ui::Orientation orientation, double screenWidth, bool rightToLeft)
{
    double offset = screenWidth / 2;
    if (ui::isLandscape(orientation))
        offset -= screenWidth == 812 ? 52 : 24;
    else
        offset -= 20;
    return rightToLeft ? -offset : offset;
}

void LXThumbnailViewController::viewDidLoad()
{
    ViewController::viewDidLoad();
    std::weak_ptr<LXThumbnailViewController> weak = self();
    auto& center = base::NotificationCenter::defaultCenter();
    m_keyboardObservers.push_back(
        center.addObserver(ui::KeyboardWillShowNotification, nullptr, [weak](const base::Notification& note) {
            if (auto browser = weak.lock())
                browser->keyboardWillShow(note);
        }));
    m_keyboardObservers.push_back(
        center.addObserver(ui::KeyboardWillHideNotification, nullptr, [weak](const base::Notification& note) {
            if (auto browser = weak.lock())
                browser->keyboardWillHide(note);
        }));
    m_displayNumberOfLastPage = thumbnails::lastDisplayNumber(m_dataArray);
    if (ui::Environment::current().isPad()) {
        showThumbnailViewForIpad();
        m_outsideTap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
            if (auto browser = weak.lock())
                browser->closeFromOutside();
        });
        m_outsideTap->setDelegate(std::static_pointer_cast<ui::GestureRecognizerDelegate>(self()));
        view()->addGestureRecognizer(m_outsideTap);
        return;
    }
    // Built once viewDidLoad has returned, so the page is laid out first.
    base::RunLoop::main().post(weak, [weak] {
        if (auto browser = weak.lock())
            browser->thumbnailForIphone();
    });
}

void LXThumbnailViewController::viewWillDisappear(bool animated)
{
    ViewController::viewWillDisappear(animated);
    m_keyboardObservers.clear();
}

std::shared_ptr<ui::CollectionView> LXThumbnailViewController::makeCollection(bool horizontal)
{
    auto layout = RTLorLTRFlowLayoutForReader::create();
    layout->setScrollDirection(
        horizontal ? ui::CollectionViewScrollDirection::Horizontal : ui::CollectionViewScrollDirection::Vertical);
    if (horizontal) {
        layout->setItemSize({ 125, 194 });
        layout->setSectionInset({ 4, 15, 0, 20 });
        layout->setMinimumInteritemSpacing(55);
    } else {
        layout->setMinimumLineSpacing(6);
        layout->setMinimumInteritemSpacing(1);
        layout->setSectionInset({});
    }
    auto collection = ui::CollectionView::create({}, layout);
    collection->registerCellClass(LectoroThumbnailCollectionViewCell::reuseIdentifier,
        [](const std::string& identifier) { return LectoroThumbnailCollectionViewCell::create(identifier); });
    collection->setBackgroundColor(tocColour(m_themeVo->thumbnail_slider_popup_background()));
    auto browser = self();
    collection->setDataSource(std::static_pointer_cast<ui::CollectionViewDataSource>(browser));
    collection->setDelegate(std::static_pointer_cast<ui::CollectionViewDelegateFlowLayout>(browser));
    return collection;
}

std::shared_ptr<ui::Button> LXThumbnailViewController::makeHistoryButton(
    bool previous, double fontSize, const std::optional<ui::Color>& colour)
{
    auto button = ui::Button::create(ui::Rect {});
    button->setTitle(std::string(previous ? "I" : "J"), ui::ControlState::Normal);
    button->setFont(ui::Font(MVIconFontConstants::getFontName(), fontSize));
    button->setTitleColor(tocColour(colour), ui::ControlState::Normal);
    std::weak_ptr<LXThumbnailDelegate> weakDelegate = m_delegate;
    std::weak_ptr<LXThumbnailViewController> weak = self();
    button->addTarget(ui::ControlEvent::TouchUpInside, [weak, previous](ui::Control&) {
        auto browser = weak.lock();
        auto delegate = browser ? browser->m_delegate.lock() : nullptr;
        if (!delegate)
            return;
        if (previous)
            delegate->didClickPreviousHistoryButtonWithCurrentPageNumber();
        else
            delegate->didClickNextHistoryButtonWithCurrentPageNumber();
    });
    return button;
}

void LXThumbnailViewController::makeGoToControls(double fontSize)
{
    const auto& theme = *m_themeVo;
    const bool rtl = ui::Environment::current().isRightToLeft();
    const auto textColour = tocColour(theme.thumbnail_botton_bar_text_color());
    const auto font = TOCConstants::customFont(fontSize);
    m_pageLabel = ui::Label::create();
    m_pageLabel->setText(rtl ? m_displayNumberOfLastPage + "\\" : "/" + m_displayNumberOfLastPage);
    m_pageLabel->setFont(font);
    m_pageLabel->setTextAlignment(ui::TextAlignment::Natural);
    m_pageLabel->setTextColor(textColour);
    m_searchTextFieldIpad = ui::TextField::create();
    m_searchTextFieldIpad->setBackgroundColor(ui::Color::clear());
    m_searchTextFieldIpad->setTextColor(textColour);
    m_searchTextFieldIpad->setText(m_activeDisplayNumber);
    m_searchTextFieldIpad->setFont(font);
    m_searchTextFieldIpad->setTextAlignment(rtl ? ui::TextAlignment::Left : ui::TextAlignment::Right);
    m_searchTextFieldIpad->setDelegate(std::static_pointer_cast<ui::TextFieldDelegate>(self()));
}

void LXThumbnailViewController::showThumbnailViewForIpad()
{
    const auto& theme = *m_themeVo;
    auto root = view();
    const auto background = tocColour(theme.thumbnail_slider_popup_background());
    m_thumbnailView = ui::View::create();
    m_thumbnailView->setBackgroundColor(background);
    m_thumbnailView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(m_thumbnailView);
    m_topConstraints = root->bottomAnchor().constraintEqualTo(m_thumbnailView->bottomAnchor(), 0);
    ui::Constraint::activate({ m_topConstraints,
        m_thumbnailView->heightAnchor().constraintEqualToConstant(thumbIpadPanelHeight),
        m_thumbnailView->leftAnchor().constraintEqualTo(root->layoutMarginsGuide()->leftAnchor()),
        m_thumbnailView->rightAnchor().constraintEqualTo(root->layoutMarginsGuide()->rightAnchor()) });
    m_iPadCollectionView = makeCollection(true);
    m_iPadCollectionView->setShowsHorizontalScrollIndicator(false);
    m_thumbnailView->addSubview(m_iPadCollectionView);
    bottomViewBarForIpad();
    auto& layer = *m_thumbnailView->layer();
    layer.setMasksToBounds(false);
    layer.setShadowColor(ui::Color::black());
    layer.setShadowOffset({ 0, -2 });
    layer.setShadowOpacity(0.4);
    layer.setShadowRadius(1.0);
    layer.setBorderWidth(0.4);
    layer.setBorderColor(background);
    setAccessibilityForThumbnailView();
    root->setNeedsLayout();
    root->layoutIfNeeded();
    scrollToSelection();
}

void LXThumbnailViewController::bottomViewBarForIpad()
{
    const auto& theme = *m_themeVo;
    m_bottomView = ui::View::create();
    m_bottomView->setBackgroundColor(tocColour(theme.thumbnail_slider_popup_background()));
    m_thumbnailView->addSubview(m_bottomView);
    m_slider = ui::Slider::create();
    m_slider->setThumbTintColor(tocColour(theme.thumbnail_slider_filled_color()));
    m_slider->setMinimumTrackTintColor(tocColour(theme.thumbnail_slider_filled_color()));
    m_slider->setMaximumTrackTintColor(tocColour(theme.thumbnail_slider_slider_color()));
    m_slider->setContinuous(true);
    std::weak_ptr<LXThumbnailViewController> weak = self();
    m_slider->addTarget(ui::ControlEvent::ValueChanged, [weak](ui::Control&) {
        if (auto browser = weak.lock())
            browser->sliderValueChanged();
    });
    m_bottomView->addSubview(m_slider);
    makeGoToControls(15);
    base::AttributedString placeholder(TOCConstants::localized("GO_TO"));
    placeholder.addForegroundColor(base::Range { 0, placeholder.length() },
        ui::colorAttr(tocColour(theme.thumbnail_botton_bar_text_color())));
    m_searchTextFieldIpad->setAttributedPlaceholder(placeholder);
    m_prevPageIpadButton = makeHistoryButton(true, 24, theme.thumbnail_botton_bar_text_color());
    m_nextPageIpadButton = makeHistoryButton(false, 24, theme.thumbnail_botton_bar_text_color());
    for (const auto& control : std::initializer_list<std::shared_ptr<ui::View>> {
             m_searchTextFieldIpad, m_pageLabel, m_prevPageIpadButton, m_nextPageIpadButton })
        m_bottomView->addSubview(control);
    applyHistoryState();
}

void LXThumbnailViewController::thumbnailForIphone()
{
    const auto& theme = *m_themeVo;
    auto root = view();
    const auto background = tocColour(theme.thumbnail_slider_popup_background());
    const auto textColour = tocColour(theme.thumbnail_botton_bar_text_color());
    root->setBackgroundColor(background);
    m_mainView = ui::View::create();
    m_mainView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(m_mainView);
    m_bottomConstraintForIphoneThumbnail
        = m_mainView->bottomAnchor().constraintEqualTo(root->safeAreaLayoutGuide()->bottomAnchor(), 0);
    ui::Constraint::activate({ m_bottomConstraintForIphoneThumbnail,
        m_mainView->topAnchor().constraintEqualTo(root->safeAreaLayoutGuide()->topAnchor()),
        m_mainView->leadingAnchor().constraintEqualTo(root->layoutMarginsGuide()->leadingAnchor()),
        m_mainView->trailingAnchor().constraintEqualTo(root->layoutMarginsGuide()->trailingAnchor()) });

    m_topView = ui::View::create();
    m_topView->setBackgroundColor(background);
    m_mainView->addSubview(m_topView);
    m_backButton = ui::Button::create(ui::Rect { 0, 0, 44, 44 });
    m_backButton->setTitle(std::string("G"), ui::ControlState::Normal);
    m_backButton->setFont(ui::Font(MVIconFontConstants::getFontName(), 20));
    m_backButton->setTitleColor(textColour, ui::ControlState::Normal);
    m_backButton->setTitleEdgeInsets({ 0, -10, 0, 0 });
    std::weak_ptr<LXThumbnailViewController> weak = self();
    m_backButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        auto browser = weak.lock();
        if (auto delegate = browser ? browser->m_delegate.lock() : nullptr)
            delegate->didSelectActionToCloseThumbnail();
    });
    m_topView->addSubview(m_backButton);
    m_titleLabel = ui::Label::create();
    m_titleLabel->setText(TOCConstants::localized("THUMBNAILS"));
    m_titleLabel->setFont(TOCConstants::customFont(20));
    m_titleLabel->setTextColor(textColour);
    m_topView->addSubview(m_titleLabel);

    m_iPhoneCollectionView = makeCollection(false);
    m_iPhoneCollectionView->setShowsHorizontalScrollIndicator(false);
    m_iPhoneCollectionView->setShowsVerticalScrollIndicator(false);
    m_mainView->addSubview(m_iPhoneCollectionView);
    m_iphoneCollectionViewConst
        = m_iPhoneCollectionView->trailingAnchor().constraintEqualTo(m_mainView->trailingAnchor(), -40);
    m_iphoneCollectionViewConst->setActive(true);

    m_slider = ui::Slider::create();
    m_slider->setThumbTintColor(tocColour(theme.thumbnail_slider_filled_color()));
    m_slider->setMinimumTrackTintColor(tocColour(theme.thumbnail_slider_filled_color()));
    m_slider->setMaximumTrackTintColor(tocColour(theme.thumbnail_slider_slider_color()));
    m_slider->setContinuous(true);
    const bool rtl = ui::Environment::current().isRightToLeft();
    m_slider->setTransform(ui::AffineTransform::rotation(rtl ? -std::numbers::pi / 2 : std::numbers::pi / 2));
    if (auto thumb = ui::Image::named("ThumnailSliderThumbImage")) {
        auto tinted = thumb->withTintColor(tocColour(theme.thumbnail_slider_filled_color()));
        m_slider->setThumbImage(tinted, ui::ControlState::Normal);
        m_slider->setThumbImage(tinted, ui::ControlState::Highlighted);
    }
    m_slider->addTarget(ui::ControlEvent::ValueChanged, [weak](ui::Control&) {
        if (auto browser = weak.lock())
            browser->sliderValueChanged();
    });
    m_mainView->addSubview(m_slider);
    const auto& environment = ui::Environment::current();
    m_sliderXPostionConstraint = m_slider->centerXAnchor().constraintEqualTo(m_mainView->layoutMarginsGuide()->centerXAnchor(),
        sliderOffsetFor(environment.deviceOrientation(), environment.screenSize().width, rtl));
    m_sliderXPostionConstraint->setActive(true);

    m_searchPageBottomView = ui::View::create();
    m_searchPageBottomView->setBackgroundColor(background);
    auto& shadow = *m_searchPageBottomView->layer();
    shadow.setMasksToBounds(false);
    shadow.setShadowColor(ui::Color::black());
    shadow.setShadowOffset({ 0, -2 });
    shadow.setShadowOpacity(0.4);
    shadow.setShadowRadius(1.0);
    m_mainView->addSubview(m_searchPageBottomView);
    makeGoToControls(15);
    m_prevPageButton = makeHistoryButton(true, 30, theme.thumbnail_icon_color());
    m_nextPageButton = makeHistoryButton(false, 30, theme.thumbnail_icon_color());
    for (const auto& control : std::initializer_list<std::shared_ptr<ui::View>> {
             m_searchTextFieldIpad, m_pageLabel, m_prevPageButton, m_nextPageButton })
        m_searchPageBottomView->addSubview(control);
    m_mainView->bringSubviewToFront(m_searchPageBottomView.get());
    applyHistoryState();

    buildFlatList();
    setAccessibilityForThumbnailView();
    root->setNeedsLayout();
    root->layoutIfNeeded();
    m_iPhoneCollectionView->reloadData();
    scrollToSelection();
}

// MARK: - Frames

void LXThumbnailViewController::viewDidLayoutSubviews()
{
    ViewController::viewDidLayoutSubviews();
    if (m_thumbnailView)
        layoutIpad();
    if (m_mainView)
        layoutIphone();
    if (m_thumbnailView || m_mainView)
        layoutCheck();
}

void LXThumbnailViewController::layoutIpad()
{
    auto root = view();
    const ui::Rect bounds = root->bounds();
    const ui::EdgeInsets margins = root->layoutMargins();
    const double width = std::max(0.0, bounds.size.width - margins.left - margins.right);
    m_thumbnailView->setFrame({ margins.left, bounds.size.height - m_topConstraints->constant() - thumbIpadPanelHeight,
        width, thumbIpadPanelHeight });
    m_iPadCollectionView->setFrame({ 0, 0, width, thumbIpadPanelHeight - thumbIpadBarHeight });
    m_bottomView->setFrame({ 0, thumbIpadPanelHeight - thumbIpadBarHeight, width, thumbIpadBarHeight });
    m_slider->setFrame({ 0, 8, width, 30 });
    const double rowTop = 35;
    const double rowHeight = thumbIpadBarHeight - rowTop - 10;
    const double labelWidth = thumbLabelWidth(*m_pageLabel, 20, 200);
    const double groupWidth = 30 + labelWidth;
    const double rowWidth = 40 + groupWidth + 40;
    const double rowX = (width - rowWidth) / 2;
    m_prevPageIpadButton->setFrame({ rowX, rowTop, 40, rowHeight });
    m_searchTextFieldIpad->setFrame({ rowX + 40, rowTop, 30, rowHeight });
    m_pageLabel->setFrame({ rowX + 70, rowTop, labelWidth, rowHeight - 1 });
    m_nextPageIpadButton->setFrame({ rowX + 40 + groupWidth, rowTop, 40, rowHeight });
}

void LXThumbnailViewController::layoutIphone()
{
    auto root = view();
    const ui::Rect bounds = root->bounds();
    const ui::EdgeInsets safe = root->safeAreaInsets();
    const ui::EdgeInsets margins = root->layoutMargins();
    const double width = std::max(0.0, bounds.size.width - margins.left - margins.right);
    const double height = std::max(0.0,
        bounds.size.height - safe.top - safe.bottom + m_bottomConstraintForIphoneThumbnail->constant());
    m_mainView->setFrame({ margins.left, safe.top, width, height });
    m_topView->setFrame({ 0, 0, width, thumbIphoneTitleHeight });
    m_backButton->setFrame({ 0, 0, 44, 44 });
    m_titleLabel->setFrame({ 49, 0, 200, thumbIphoneTitleHeight });
    m_searchPageBottomView->setFrame({ 0, height - thumbIphoneBarHeight, width, thumbIphoneBarHeight });
    const double groupX = (width - thumbIphoneGroupWidth) / 2;
    m_searchTextFieldIpad->setFrame({ groupX, 0, thumbIphoneGroupWidth / 2, thumbIphoneBarHeight });
    m_pageLabel->setFrame({ groupX + thumbIphoneGroupWidth / 2, 0, thumbIphoneGroupWidth / 2, thumbIphoneBarHeight });
    m_prevPageButton->setFrame({ groupX - 50, 0, 50, thumbIphoneBarHeight });
    m_nextPageButton->setFrame({ groupX + thumbIphoneGroupWidth, 0, 50, thumbIphoneBarHeight });
    const double stripTop = thumbIphoneTitleHeight;
    const double stripHeight = std::max(0.0, height - thumbIphoneBarHeight - 8 - stripTop);
    m_iPhoneCollectionView->setFrame(
        { 10, stripTop, std::max(0.0, width - 10 + m_iphoneCollectionViewConst->constant()), stripHeight });
    // The slider runs along the strip: its length is the strip's less 24.
    const double length = std::max(0.0, stripHeight - 24);
    const double centreX = width / 2 + m_sliderXPostionConstraint->constant();
    const double centreY = height / 2 - 12;
    m_slider->setFrame({ centreX - length / 2, centreY - 15, length, 30 });
}

// The element ids and labels come from the accessibility table; the exported identifiers
// are set last, so tests of the host find the controls by them.
void LXThumbnailViewController::setAccessibilityForThumbnailView()
{
    const bool pad = m_thumbnailView != nullptr;
    const auto& prev = pad ? m_prevPageIpadButton : m_prevPageButton;
    const auto& next = pad ? m_nextPageIpadButton : m_nextPageButton;
    if (prev) {
        addReaderAccessibilityOn(*prev, "ReaderThumbnailPrevNextPageButton",
            TOCConstants::localized("ACCESSIBILITY_THUMBNAIL_PREV_PAGE"));
        prev->setAccessibilityIdentifier(pad ? THUMBNAIL_IPAD_PREV_BTN : THUMBNAIL_IPHONE_PREV_BTN);
    }
    if (next) {
        addReaderAccessibilityOn(*next, "ReaderThumbnailPrevNextPageButton",
            TOCConstants::localized("ACCESSIBILITY_THUMBNAIL_NEXT_PAGE"));
        next->setAccessibilityIdentifier(pad ? THUMBNAIL_IPAD_NEXT_BTN : THUMBNAIL_IPHONE_NEXT_BTN);
    }
    if (m_searchTextFieldIpad) {
        addReaderAccessibilityOn(*m_searchTextFieldIpad, "ReaderThumbnailSearchTF", "");
        m_searchTextFieldIpad->setAccessibilityIdentifier(THUMBNAIL_SEARCH_TEXT_FIELD);
    }
    if (m_slider) {
        addReaderAccessibilityOn(*m_slider, "ReaderThumbnailSlider", "");
        m_slider->setAccessibilityIdentifier(THUMBNAIL_SLIDER);
    }
    if (m_backButton) {
        addReaderAccessibilityOn(*m_backButton, "BackButton", "");
        m_backButton->setAccessibilityIdentifier(THUMBNAIL_IPHONE_BACK_BTN);
    }
    if (m_pageLabel)
        addReaderAccessibilityOn(*m_pageLabel, "ReaderThumbnailTotalPage", m_pageLabel->text());
}

// MARK: - Slider, keyboard, rotation

void LXThumbnailViewController::sliderValueChanged()
{
    auto collection = collectionView();
    if (!collection || !m_slider || m_updatingSlider)
        return;
    const ui::Size content = collection->contentSize();
    const ui::Size size = collection->bounds().size;
    ui::Point offset = collection->contentOffset();
    if (collection == m_iPadCollectionView) {
        if (content.width - size.width <= 0)
            return;
        offset.x = (content.width - size.width) * m_slider->value();
    } else {
        if (content.height - size.height <= 0)
            return;
        offset.y = (content.height - size.height) * m_slider->value();
    }
    m_updatingSlider = true;
    collection->setContentOffset(offset);
    m_updatingSlider = false;
}

void LXThumbnailViewController::didScroll(ui::ScrollView& scroll)
{
    if (!m_slider || m_updatingSlider)
        return;
    const bool horizontal = &scroll == m_iPadCollectionView.get();
    const double extent = horizontal ? scroll.contentSize().width - scroll.bounds().size.width
                                     : scroll.contentSize().height - scroll.bounds().size.height;
    const double offset = horizontal ? scroll.contentOffset().x : scroll.contentOffset().y;
    m_updatingSlider = true;
    m_slider->setValue(extent > 0 ? offset / extent : m_slider->maximumValue());
    m_updatingSlider = false;
}

void LXThumbnailViewController::keyboardWillShow(const base::Notification& note)
{
    const double height = thumbnails::keyboardEndHeight(note);
    m_keyboardHeight = height;
    if (m_topConstraints)
        m_topConstraints->setConstant(height);
    if (m_bottomConstraintForIphoneThumbnail) {
        bool tallPhone = ui::Environment::current().screenSize().height == 812;
        m_bottomConstraintForIphoneThumbnail->setConstant(tallPhone ? 34 - height : -height);
    }
    if (isViewLoaded())
        view()->setNeedsLayout();
}

void LXThumbnailViewController::keyboardWillHide(const base::Notification&)
{
    m_keyboardHeight = 0;
    if (m_topConstraints)
        m_topConstraints->setConstant(0);
    if (m_bottomConstraintForIphoneThumbnail)
        m_bottomConstraintForIphoneThumbnail->setConstant(0);
    if (isViewLoaded())
        view()->setNeedsLayout();
}

void LXThumbnailViewController::viewWillTransitionToSize(const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    ViewController::viewWillTransitionToSize(size, coordinator);
    std::weak_ptr<LXThumbnailViewController> weak = self();
    coordinator.animateAlongside({}, [weak](const ui::TransitionCoordinatorContext&) {
        auto browser = weak.lock();
        if (!browser || !browser->m_sliderXPostionConstraint)
            return;
        const auto& environment = ui::Environment::current();
        auto orientation = environment.deviceOrientation();
        if (ui::isLandscape(orientation) || ui::isPortrait(orientation))
            browser->m_sliderXPostionConstraint->setConstant(
                sliderOffsetFor(orientation, environment.screenSize().width, environment.isRightToLeft()));
        if (browser->m_iPhoneCollectionView)
            browser->m_iPhoneCollectionView->reloadData();
    });
}

} // namespace lectoro
