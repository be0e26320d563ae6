#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"


#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/mydata/FilterViewController.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include <algorithm>

namespace lectoro {

// MARK: - Views

void LXMyDataViewController::buildViews()
{
    auto root = view();
    m_myDataContainerView = ui::View::create();
    root->addSubview(m_myDataContainerView);
    m_upIcon = ui::Label::create();
    m_upIcon->setTextAlignment(ui::TextAlignment::Center);
    m_upIcon->setFrame({ 0, 0, 0, handleBarHeight });
    m_myDataContainerView->addSubview(m_upIcon);

    m_headerView = ui::View::create();
    m_myDataContainerView->addSubview(m_headerView);
    m_backButtonIcon = ui::Button::create();
    m_backButtonText = ui::Button::create();
    m_headerView->addSubview(m_backButtonIcon);
    m_headerView->addSubview(m_backButtonText);

    m_segmentView = ui::View::create();
    m_myDataContainerView->addSubview(m_segmentView);
    m_highlightButton = ui::Button::create();
    m_highlightButton->setTag(MyDataSegmentHighlights);
    m_notesButton = ui::Button::create();
    m_notesButton->setTag(MyDataSegmentNotes);
    m_highlightCountLbl = ui::Label::create();
    m_noteCountLbl = ui::Label::create();
    m_selectedButonBorderView = ui::Label::create();
    m_borderViewOfBtnContainer = ui::View::create();
    m_filterButton = ui::Button::create();
    m_filterButton->setTitle(ICON_MULTI_SELECT);
    m_filterIcon = ui::Label::create();
    m_notificationButton = ui::Button::create();
    m_notificationButton->setTitle(ICON_SHARE_NOTE);
    m_notificationIcon = ui::Label::create();
    m_shareSettingsButton = ui::Button::create();
    m_shareSettingsButton->setTitle(ICON_SELECT_CLASS);
    m_printButton = ui::Button::create();
    m_printButton->setTitle(ICON_PRINT);
    // A count belongs to its segment: it rides on the segment's button, after the title, so
    // it never lies over the button as a sibling and a tap on it is the segment's.
    m_highlightButton->addSubview(m_highlightCountLbl);
    m_notesButton->addSubview(m_noteCountLbl);
    for (const std::shared_ptr<ui::View>& each :
        std::vector<std::shared_ptr<ui::View>> { m_highlightButton, m_notesButton, m_selectedButonBorderView, m_borderViewOfBtnContainer, m_filterButton,
            m_filterIcon, m_notificationButton, m_notificationIcon, m_shareSettingsButton, m_printButton })
        m_segmentView->addSubview(each);

    m_notificationTopView = ui::View::create();
    m_myDataContainerView->addSubview(m_notificationTopView);
    m_acceptButton = ui::Button::create();
    m_declineButton = ui::Button::create();
    m_acceptButton->setTitle(mydata::text("MY_DATA_ACCEPT"));
    m_declineButton->setTitle(mydata::text("MY_DATA_DECLINE"));
    m_notificationTopView->addSubview(m_acceptButton);
    m_notificationTopView->addSubview(m_declineButton);

    m_tableView = ui::TableView::create();
    m_myDataContainerView->addSubview(m_tableView);
    m_noDataContainerView = ui::View::create();
    m_noDataLabel = ui::Label::create();
    m_noDataLabel->setNumberOfLines(0);
    m_noDataLabel->setTextAlignment(ui::TextAlignment::Center);
    m_noDataIconLbl = ui::Label::create();
    // The empty list's glyph is one of the icon font's, as big as the row glyphs it stands for.
    m_noDataIconLbl->setFont(mydata::iconFont(isIpad() ? 32 : 26));
    m_noDataContainerView->addSubview(m_noDataIconLbl);
    m_noDataContainerView->addSubview(m_noDataLabel);
    m_myDataContainerView->addSubview(m_noDataContainerView);

    m_topConstraint = m_myDataContainerView->topAnchor().constraintEqualTo(root->topAnchor());
    m_leftConstraint = m_myDataContainerView->leftAnchor().constraintEqualTo(root->leftAnchor());
    m_rightConstraint = root->rightAnchor().constraintEqualTo(m_myDataContainerView->rightAnchor());
    m_headerHeightConstraint = m_headerView->heightAnchor().constraintEqualToConstant(fullHeightHeader);
    m_segmentHeightConstraint = m_segmentView->heightAnchor().constraintEqualToConstant(60);
    m_notificationTopHeightConstraint = m_notificationTopView->heightAnchor().constraintEqualToConstant(0);
    m_printTrailingConstraint
        = m_segmentView->trailingAnchor().constraintEqualTo(m_printButton->trailingAnchor(), 10);
    m_notesBtnLeadingConstraint
        = m_notesButton->leadingAnchor().constraintEqualTo(m_highlightButton->trailingAnchor());
    m_selectedBtnLeadingConstraint
        = m_selectedButonBorderView->leadingAnchor().constraintEqualTo(m_segmentView->leadingAnchor());
    m_filterBtnLeadingConstraint
        = m_filterButton->leadingAnchor().constraintEqualTo(m_notesButton->trailingAnchor());
    m_shareSettingWidthConstraint = m_shareSettingsButton->widthAnchor().constraintEqualToConstant(44);
    m_filterButtonWidthConstraint = m_filterButton->widthAnchor().constraintEqualToConstant(44);
    m_highlightCountLabelCenterXConstraint
        = m_highlightCountLbl->centerXAnchor().constraintEqualTo(m_highlightButton->centerXAnchor());
    m_notesCountLabelCenterXConstraint
        = m_noteCountLbl->centerXAnchor().constraintEqualTo(m_notesButton->centerXAnchor());
    root->addConstraints({ m_topConstraint, m_leftConstraint, m_rightConstraint });
    m_myDataContainerView->addConstraints(
        { m_headerHeightConstraint, m_segmentHeightConstraint, m_notificationTopHeightConstraint });
    // A count label sits after its segment's title; centring it on the segment only wins
    // where the title leaves it room.
    m_highlightCountLabelCenterXConstraint->setPriority(250);
    m_notesCountLabelCenterXConstraint->setPriority(250);
    m_segmentView->addConstraints(
        { m_printTrailingConstraint, m_notesBtnLeadingConstraint, m_selectedBtnLeadingConstraint,
            m_filterBtnLeadingConstraint, m_shareSettingWidthConstraint, m_filterButtonWidthConstraint });
    m_highlightButton->addConstraint(m_highlightCountLabelCenterXConstraint);
    m_notesButton->addConstraint(m_notesCountLabelCenterXConstraint);
    placeViewsByConstraints();

    auto weak = std::weak_ptr<LXMyDataViewController>(self());
    auto on = [weak](const std::shared_ptr<ui::Button>& button, void (LXMyDataViewController::*action)()) {
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
            if (auto panel = weak.lock())
                (panel.get()->*action)();
        });
    };
    for (const auto& segment : { m_highlightButton, m_notesButton }) {
        segment->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
            if (auto panel = weak.lock())
                panel->segmentbuttonAction(static_cast<ui::Button&>(sender));
        });
    }
    on(m_filterButton, &LXMyDataViewController::filterButtonAction);
    on(m_notificationButton, &LXMyDataViewController::notificationButtonAction);
    on(m_printButton, &LXMyDataViewController::printButtonTapped);
    on(m_shareSettingsButton, &LXMyDataViewController::shareSettingsButtonTapped);
    on(m_backButtonIcon, &LXMyDataViewController::backButtonTapped);
    on(m_backButtonText, &LXMyDataViewController::backButtonTapped);
}

// The panel body hangs from the root view by its top and side constraints down to the
// bottom; inside it, top to bottom: the drag handle, the header, the segment bar, the
// received-notes header and the list (the empty-list view in the list's place).
void LXMyDataViewController::placeViewsByConstraints()
{
    auto root = view();
    const std::vector<std::shared_ptr<ui::View>> placed { m_myDataContainerView, m_upIcon, m_headerView,
        m_backButtonIcon, m_backButtonText, m_segmentView, m_highlightButton, m_notesButton, m_highlightCountLbl,
        m_noteCountLbl, m_selectedButonBorderView, m_borderViewOfBtnContainer, m_filterButton, m_filterIcon,
        m_notificationButton, m_notificationIcon, m_shareSettingsButton, m_printButton, m_notificationTopView,
        m_acceptButton, m_declineButton, m_tableView, m_noDataContainerView };
    for (const auto& each : placed)
        each->setTranslatesAutoresizingMaskIntoConstraints(false);
    const auto& body = m_myDataContainerView;
    auto fillWidth = [&](const std::shared_ptr<ui::View>& view) {
        return std::vector<ui::ConstraintPtr> { view->leadingAnchor().constraintEqualTo(body->leadingAnchor()),
            view->trailingAnchor().constraintEqualTo(body->trailingAnchor()) };
    };
    // Parked below the screen the body keeps its bars whole and stands past the bottom edge
    // rather than squeezing the list to a negative height.
    auto bottom = body->bottomAnchor().constraintEqualTo(root->bottomAnchor());
    bottom->setPriority(999);
    std::vector<ui::ConstraintPtr> constraints {
        bottom,
        m_tableView->heightAnchor().constraintGreaterThanOrEqualToConstant(0),
        m_upIcon->topAnchor().constraintEqualTo(body->topAnchor()),
        m_upIcon->heightAnchor().constraintEqualToConstant(handleBarHeight),
        m_headerView->topAnchor().constraintEqualTo(m_upIcon->bottomAnchor()),
        m_backButtonIcon->leadingAnchor().constraintEqualTo(m_headerView->leadingAnchor()),
        m_backButtonIcon->topAnchor().constraintEqualTo(m_headerView->topAnchor()),
        m_backButtonIcon->bottomAnchor().constraintEqualTo(m_headerView->bottomAnchor()),
        m_backButtonIcon->widthAnchor().constraintEqualToConstant(44),
        m_backButtonText->leadingAnchor().constraintEqualTo(m_backButtonIcon->trailingAnchor()),
        m_backButtonText->trailingAnchor().constraintEqualTo(m_headerView->trailingAnchor()),
        m_backButtonText->topAnchor().constraintEqualTo(m_headerView->topAnchor()),
        m_backButtonText->bottomAnchor().constraintEqualTo(m_headerView->bottomAnchor()),
        m_segmentView->topAnchor().constraintEqualTo(m_headerView->bottomAnchor()),
        m_notificationTopView->topAnchor().constraintEqualTo(m_segmentView->bottomAnchor()),
        m_tableView->topAnchor().constraintEqualTo(m_notificationTopView->bottomAnchor()),
        m_tableView->bottomAnchor().constraintEqualTo(body->bottomAnchor()),
        m_noDataContainerView->topAnchor().constraintEqualTo(m_notificationTopView->bottomAnchor()),
        m_noDataContainerView->bottomAnchor().constraintEqualTo(body->bottomAnchor()),
    };
    // The empty list: its glyph above its message, both centred in the list's place.
    for (const auto& each : { m_noDataIconLbl, m_noDataLabel })
        each->setTranslatesAutoresizingMaskIntoConstraints(false);
    constraints.insert(constraints.end(),
        { m_noDataLabel->centerXAnchor().constraintEqualTo(m_noDataContainerView->centerXAnchor()),
            m_noDataLabel->centerYAnchor().constraintEqualTo(m_noDataContainerView->centerYAnchor()),
            m_noDataLabel->leadingAnchor().constraintGreaterThanOrEqualTo(m_noDataContainerView->leadingAnchor(), 20),
            m_noDataIconLbl->centerXAnchor().constraintEqualTo(m_noDataContainerView->centerXAnchor()),
            m_noDataIconLbl->bottomAnchor().constraintEqualTo(m_noDataLabel->topAnchor(), -10) });
    for (const auto& view : std::vector<std::shared_ptr<ui::View>> { m_upIcon, m_headerView, m_segmentView, m_notificationTopView, m_tableView,
             m_noDataContainerView }) {
        auto sides = fillWidth(view);
        constraints.insert(constraints.end(), sides.begin(), sides.end());
    }
    // The segment bar: the two segments a quarter of the bar each (at most 160), then the
    // filter, share-settings and notification tools; print at the trailing end.
    auto highlightWidth = m_highlightButton->widthAnchor().constraintEqualTo(m_segmentView->widthAnchor(), 0.25, 0);
    highlightWidth->setPriority(750);
    constraints.insert(constraints.end(),
        { m_highlightButton->leadingAnchor().constraintEqualTo(m_segmentView->leadingAnchor()), highlightWidth,
            m_highlightButton->widthAnchor().constraintLessThanOrEqualToConstant(160),
            m_notesButton->widthAnchor().constraintEqualTo(m_highlightButton->widthAnchor()),
            m_shareSettingsButton->leadingAnchor().constraintEqualTo(m_filterButton->trailingAnchor()),
            m_notificationButton->leadingAnchor().constraintEqualTo(m_shareSettingsButton->trailingAnchor()),
            m_notificationButton->widthAnchor().constraintEqualToConstant(44),
            m_printButton->widthAnchor().constraintEqualToConstant(printButtonWidth) });
    for (const auto& each : std::vector<std::shared_ptr<ui::View>> { m_highlightButton, m_notesButton,
             m_filterButton, m_shareSettingsButton, m_notificationButton, m_printButton }) {
        constraints.push_back(each->topAnchor().constraintEqualTo(m_segmentView->topAnchor()));
        constraints.push_back(each->bottomAnchor().constraintEqualTo(m_segmentView->bottomAnchor()));
    }
    for (const auto& [count, segment] : { std::pair { m_highlightCountLbl, m_highlightButton },
             std::pair { m_noteCountLbl, m_notesButton } })
        constraints.push_back(count->centerYAnchor().constraintEqualTo(segment->centerYAnchor()));
    // The underline under the current segment and the line under the whole bar.
    constraints.insert(constraints.end(),
        { m_selectedButonBorderView->widthAnchor().constraintEqualTo(m_highlightButton->widthAnchor()),
            m_selectedButonBorderView->heightAnchor().constraintEqualToConstant(2),
            m_selectedButonBorderView->bottomAnchor().constraintEqualTo(m_segmentView->bottomAnchor()),
            m_borderViewOfBtnContainer->leadingAnchor().constraintEqualTo(m_segmentView->leadingAnchor()),
            m_borderViewOfBtnContainer->trailingAnchor().constraintEqualTo(m_segmentView->trailingAnchor()),
            m_borderViewOfBtnContainer->heightAnchor().constraintEqualToConstant(1),
            m_borderViewOfBtnContainer->bottomAnchor().constraintEqualTo(m_segmentView->bottomAnchor()) });
    // The filter mark and the notification circle: small dots at their tools' top corner.
    for (const auto& [dot, tool] : { std::pair { m_filterIcon, m_filterButton },
             std::pair { m_notificationIcon, m_notificationButton } }) {
        constraints.insert(constraints.end(),
            { dot->widthAnchor().constraintEqualToConstant(10), dot->heightAnchor().constraintEqualToConstant(10),
                dot->topAnchor().constraintEqualTo(tool->topAnchor(), 12),
                dot->trailingAnchor().constraintEqualTo(tool->trailingAnchor(), -6) });
    }
    // Received notes: decline and accept at the header's trailing end.
    constraints.insert(constraints.end(),
        { m_acceptButton->trailingAnchor().constraintEqualTo(m_notificationTopView->trailingAnchor(), -15),
            m_acceptButton->centerYAnchor().constraintEqualTo(m_notificationTopView->centerYAnchor()),
            m_declineButton->trailingAnchor().constraintEqualTo(m_acceptButton->leadingAnchor(), -15),
            m_declineButton->centerYAnchor().constraintEqualTo(m_notificationTopView->centerYAnchor()) });
    m_notificationTopView->setClipsToBounds(true);
    ui::Constraint::activate(constraints);
}

void LXMyDataViewController::addBackgroundview()
{
    auto root = view();
    m_backgroundView = ui::View::create();
    m_backgroundView->setBackgroundColor(ui::Color::clear());
    m_backgroundView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->insertSubview(m_backgroundView, 0);
    root->addConstraints({ m_backgroundView->topAnchor().constraintEqualTo(root->topAnchor()),
        m_backgroundView->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
        m_backgroundView->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        m_backgroundView->leadingAnchor().constraintEqualTo(root->leadingAnchor()) });
    m_backgroundView->setAccessibilityTraits(ui::AccessibilityTraits::Button);
    AccessibilityHelper::setAccessibilityForElementID(
        *m_backgroundView, "DismissReaderFontSetting", accessibilityTable, "");
    std::weak_ptr<LXMyDataViewController> weak = self();
    auto tap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto panel = weak.lock())
            panel->dismissMyDataController();
    });
    m_backgroundView->addGestureRecognizer(tap);
}

void LXMyDataViewController::setupForIpad()
{
    addPanGestureToView();
    if (m_themeVO) {
        view()->setBackgroundColor(mydata::colour(m_themeVO->mydata_overlay_panel_background())
                                       .withAlpha(m_themeVO->mydata_overlay_panel_opacity()));
    }
}

// A phone's panel fills the screen at full height from the start: its header shows the
// down-arrow that closes it and the title, the drag handle (nothing drags on a phone) is
// away, and the screen behind the panel is the panel's own colour.
void LXMyDataViewController::setupForPhone()
{
    updateHeaderHeight(fullHeightHeader);
    if (m_themeVO)
        view()->setBackgroundColor(mydata::colour(m_themeVO->mydata_popup_background()));
}

void LXMyDataViewController::addPanGestureToView()
{
    std::weak_ptr<LXMyDataViewController> weak = self();
    m_panGesture = ui::PanGestureRecognizer::create([weak](ui::GestureRecognizer& recognizer) {
        if (auto panel = weak.lock())
            panel->handlePan(static_cast<ui::PanGestureRecognizer&>(recognizer));
    });
    m_panGesture->setCancelsTouchesInView(false);
    if (auto holder = m_upIcon->superview())
        holder->addGestureRecognizer(m_panGesture);
    m_topConstraint->setConstant(screenHeight() + handleHeight());
    m_leftConstraint->setConstant(sheetInset);
    m_rightConstraint->setConstant(sheetInset);
    updateHeaderHeight(0);
    updateBorderShadowColor();
    view()->setNeedsLayout();
    view()->layoutIfNeeded();
}

void LXMyDataViewController::updateBorderShadowColor()
{
    const auto& layer = m_myDataContainerView->layer();
    layer->setBorderWidth(0.6);
    layer->setMasksToBounds(false);
    layer->setShadowOffset({ 0, -1 });
    layer->setShadowRadius(4);
    layer->setShadowOpacity(0.6);
    const auto& handle = m_upIcon->layer();
    handle->setMasksToBounds(false);
    handle->setShadowOffset({ 0, -1 });
    handle->setShadowRadius(4);
    handle->setShadowOpacity(0.8);
}

void LXMyDataViewController::setBackButtonTitle(const std::string& title)
{
    m_backButtonText->setTitle(title);
}

void LXMyDataViewController::updateHeaderHeight(double height)
{
    m_headerHeightConstraint->setConstant(height);
    if (height == fullHeightHeader) {
        m_myDataContainerView->layer()->setBorderWidth(0);
        m_upIcon->setHidden(true);
        updateHeaderTitle();
        m_backButtonIcon->setTitle(ICON_DOWNARROW);
    } else {
        m_myDataContainerView->layer()->setBorderWidth(0.6);
        m_upIcon->setHidden(false);
        m_backButtonIcon->setTitle(std::string());
        m_backButtonText->setTitle(std::string());
    }
}

void LXMyDataViewController::updateHeaderTitle()
{
    if (!m_headerHeightConstraint)
        return;
    bool highlights = m_selectedSegment == MyDataSegmentHighlights;
    m_backButtonTextTitle = base::format("%@: %@", mydata::text("HELP_MY_DATA_BUTTON_TITLE"),
        mydata::text(highlights ? "HIGHLIGHTS_KEY" : "NOTES_KEY"));
    if (m_headerHeightConstraint->constant() == fullHeightHeader)
        setBackButtonTitle(m_backButtonTextTitle);
    if (m_themeVO) {
        const auto& current = highlights ? m_highlightCountLbl : m_noteCountLbl;
        const auto& other = highlights ? m_noteCountLbl : m_highlightCountLbl;
        current->setBackgroundColor(m_themeVO->mydata_selected_button_background());
        current->setTextColor(mydata::colour(m_themeVO->mydata_selected_button_text_color()));
        other->setBackgroundColor(m_themeVO->mydata_deselected_button_background());
        other->setTextColor(mydata::colour(m_themeVO->mydata_deselected_button_text_color()));
    }
    auto segment = m_segmentView->viewWithTag(highlights ? MyDataSegmentHighlights : MyDataSegmentNotes);
    if (auto button = std::dynamic_pointer_cast<ui::Button>(segment))
        button->setSelected(false);
}

void LXMyDataViewController::updateConstraints()
{
    if (!m_segmentView)
        return;
    bool pad = isIpad();
    if (!highlightsEnabled()) {
        m_highlightButton->setHidden(true);
        m_highlightCountLbl->setHidden(true);
        m_notesBtnLeadingConstraint->setActive(false);
        if (!m_notesToSegmentLeading) {
            m_notesToSegmentLeading
                = m_notesButton->leadingAnchor().constraintEqualTo(m_segmentView->leadingAnchor());
            m_segmentView->addConstraint(m_notesToSegmentLeading);
        }
        m_selectedBtnLeadingConstraint->setActive(false);
        if (!m_underlineToSegmentLeading) {
            m_underlineToSegmentLeading = m_selectedButonBorderView->leadingAnchor().constraintEqualTo(
                m_segmentView->leadingAnchor());
            m_segmentView->addConstraint(m_underlineToSegmentLeading);
        }
        m_selectedSegment = m_isMyDataNotificationController ? MyDataSegmentReceived : MyDataSegmentNotes;
    } else if (!notesEnabled()) {
        for (const std::shared_ptr<ui::View>& each : std::vector<std::shared_ptr<ui::View>> {
                 m_notificationButton, m_notificationIcon, m_notesButton, m_noteCountLbl })
            each->setHidden(true);
        m_filterBtnLeadingConstraint->setActive(false);
        if (!m_highlightToFilter) {
            m_highlightToFilter
                = m_highlightButton->trailingAnchor().constraintEqualTo(m_filterButton->leadingAnchor());
            m_segmentView->addConstraint(m_highlightToFilter);
        }
        if (pad && !m_shareToContainerTrailing) {
            m_shareToContainerTrailing = m_shareSettingsButton->trailingAnchor().constraintEqualTo(
                m_myDataContainerView->trailingAnchor());
            m_myDataContainerView->addConstraint(m_shareToContainerTrailing);
        }
        m_selectedSegment = MyDataSegmentHighlights;
    }
    if (!sharingEnabled() || m_isShareSettingsDisabled || m_isShareWithMeDisabled) {
        m_shareSettingWidthConstraint->setConstant(0);
        m_notificationButton->setHidden(true);
        m_notificationIcon->setHidden(true);
    }
    if (m_isShareSettingsIconDisable)
        m_shareSettingWidthConstraint->setConstant(0);
    if (m_isNoteNotificationDisable) {
        m_notificationButton->setHidden(true);
        m_notificationIcon->setHidden(true);
        if (pad && !m_isShareSettingsIconDisable)
            m_filterButtonWidthConstraint->setConstant(0);
    }
    if (isRTL()) {
        m_highlightCountLabelCenterXConstraint->setActive(false);
        m_notesCountLabelCenterXConstraint->setActive(false);
    }
    bool print = m_userSettingsModel && m_userSettingsModel->isMyDataPrintEnabled();
    m_printTrailingConstraint->setConstant(print ? 10 : -50);
    if (!print)
        m_printButton->setHidden(true);
}

double LXMyDataViewController::handleHeight() const
{
    return m_upIcon ? m_upIcon->frame().height() : 0;
}

double LXMyDataViewController::screenHeight()
{
    return ui::Environment::current().screenBounds().height();
}

void LXMyDataViewController::viewDidLayoutSubviews()
{
    if (!m_myDataContainerView)
        return;
    placeUnderline();
    if (!isIpad())
        m_topConstraint->setConstant(-handleHeight());
    updateConstraints();
}

void LXMyDataViewController::placeUnderline()
{
    if (isRTL())
        updateBottomLabelForSelectedButtonForRTL();
    else
        updateBottomLabelForSelectedButton();
}

void LXMyDataViewController::layoutRootAnimated(double duration, std::function<void()> completion)
{
    auto root = view();
    ui::View::animate(
        duration,
        [root] {
            root->setNeedsLayout();
            root->layoutIfNeeded();
        },
        [completion = std::move(completion)](bool) {
            if (completion)
                completion();
        });
}

void LXMyDataViewController::updateBottomLabelForSelectedButton()
{
    bool notes = m_selectedSegment == MyDataSegmentNotes || m_selectedSegment == MyDataSegmentReceived;
    const auto& button = notes ? m_notesButton : m_highlightButton;
    m_selectedBtnLeadingConstraint->setConstant(button ? button->frame().origin.x : 0);
}

void LXMyDataViewController::updateBottomLabelForSelectedButtonForRTL()
{
    m_selectedBtnLeadingConstraint->setActive(false);
    if (!m_selectedBtnLeadingConstraintForRTL) {
        m_selectedBtnLeadingConstraintForRTL
            = m_selectedButonBorderView->leadingAnchor().constraintEqualTo(m_segmentView->leadingAnchor());
        m_segmentView->addConstraint(m_selectedBtnLeadingConstraintForRTL);
    }
    bool notes = m_selectedSegment == MyDataSegmentNotes || m_selectedSegment == MyDataSegmentReceived;
    m_selectedBtnLeadingConstraintForRTL->setConstant(notes ? m_highlightButton->frame().width() : 0);
}

void LXMyDataViewController::handlePan(ui::PanGestureRecognizer& recognizer)
{
    double H = screenHeight();
    double h = handleHeight();
    double ty = recognizer.translationInView(view().get()).y;
    double vy = recognizer.velocityInView(view().get()).y;
    auto setInsets = [this](double inset) {
        m_leftConstraint->setConstant(inset);
        m_rightConstraint->setConstant(inset);
    };
    switch (recognizer.state()) {
    case ui::GestureState::Began:
        m_previousStateYPosition = m_topConstraint->constant();
        m_topConstraint->setConstant(std::max(ty + m_previousStateYPosition, -h));
        view()->setNeedsLayout();
        view()->layoutIfNeeded();
        break;
    case ui::GestureState::Changed: {
        double c = std::max(ty + m_previousStateYPosition, -h);
        m_topConstraint->setConstant(c);
        bool sheet = c > 0;
        setInsets(sheet ? sheetInset : 0);
        updateHeaderHeight(sheet ? 0 : fullHeightHeader);
        layoutRootAnimated(0.3);
        break;
    }
    case ui::GestureState::Ended: {
        if (auto pannedView = recognizer.view())
            pannedView->setAlpha(1);
        double c = m_topConstraint->constant();
        if (vy < 0 && c < H * 0.5) {
            m_topConstraint->setConstant(-h);
            setInsets(0);
            updateHeaderHeight(fullHeightHeader);
            layoutRootAnimated(0.3);
        } else if (vy > 0 && c < H * 0.5 - h) {
            m_topConstraint->setConstant(H * 0.5 - h);
            setInsets(sheetInset);
            updateHeaderHeight(0);
            layoutRootAnimated(0.3);
        } else if (vy > 0) {
            dismissMyDataController();
        } else {
            layoutRootAnimated(0.3);
        }
        break;
    }
    default:
        break;
    }
}

void LXMyDataViewController::dismissMyDataController()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectActionToCloseMyData();
    std::weak_ptr<ui::ViewController> holder = navigationController();
    if (isIpad()) {
        m_topConstraint->setConstant(screenHeight());
        layoutRootAnimated(0.4, [holder] {
            if (auto navigation = holder.lock())
                navigation->dismissViewControllerAnimated(false);
        });
        return;
    }
    if (auto navigation = holder.lock())
        navigation->dismissViewControllerAnimated(true);
}

void LXMyDataViewController::updateViewForMyNotification()
{
    m_selectedSegment = MyDataSegmentReceived;
    m_dataArray = dataWithAllRequest();
    if (!m_notificationTopHeightConstraint)
        return;
    m_notificationTopHeightConstraint->setConstant(54);
    m_declineButton->setHidden(false);
    m_acceptButton->setHidden(false);
    m_noDataContainerView->setHidden(true);
    m_tableView->setHidden(false);
    placeUnderline();
    updateHeaderTitle();
    m_highlightButton->setSelected(false);
    m_notesButton->setSelected(true);
    reloadMyDataTableView();
}

void LXMyDataViewController::presentMyDataForNotification()
{
    auto received = create();
    received->m_delegate = m_delegate;
    received->m_isMyDataNotificationController = true;
    received->setData(m_ugcArray);
    received->m_themeVO = m_themeVO;
    received->m_bookOrientationMode = m_bookOrientationMode;
    if (auto navigation = navigationController())
        navigation->pushViewController(received, true);
}

} // namespace lectoro
