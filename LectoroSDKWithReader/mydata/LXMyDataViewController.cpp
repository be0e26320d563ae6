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

std::shared_ptr<LXMyDataViewController> LXMyDataViewController::create()
{
    return std::shared_ptr<LXMyDataViewController>(new LXMyDataViewController());
}

LXMyDataViewController::LXMyDataViewController() = default;
LXMyDataViewController::~LXMyDataViewController() = default;

std::shared_ptr<LXMyDataViewController> LXMyDataViewController::self()
{
    return std::static_pointer_cast<LXMyDataViewController>(shared_from_this());
}

bool LXMyDataViewController::highlightsEnabled() const
{
    return m_userSettingsModel && m_userSettingsModel->isHighLightEnabled();
}

bool LXMyDataViewController::notesEnabled() const
{
    return m_userSettingsModel
        && (m_userSettingsModel->isContextualNoteEnabled() || m_userSettingsModel->isStickyNotesEnabled());
}

bool LXMyDataViewController::sharingEnabled() const
{
    return m_userSettingsModel && m_userSettingsModel->isSharingEnabled();
}

void LXMyDataViewController::setNoDataLabelTextColor(std::optional<ui::Color> colour)
{
    m_noDataTextColor = colour;
    if (m_noDataLabel && colour) {
        m_noDataLabel->setTextColor(*colour);
        m_noDataIconLbl->setTextColor(*colour);
    }
}

void LXMyDataViewController::setData(MyDataRecords records)
{
    m_ugcArray = std::move(records);
    // Refreshed records carry the answers the service confirmed.
    m_answeredIDs.clear();
    if (m_selectedSegment == MyDataSegmentReceived && isIpad()) {
        updateViewForMyNotification();
        return;
    }
    if (m_isMyDataNotificationController)
        m_dataArray = dataWithAllRequest();
}

void LXMyDataViewController::reloadMyDataTableView()
{
    std::weak_ptr<LXMyDataViewController> weak = self();
    base::RunLoop::main().post([weak] {
        auto panel = weak.lock();
        if (!panel || !panel->m_tableView)
            return;
        panel->m_tableView->reloadData();
        panel->m_tableView->setContentInset({});
    });
}

void LXMyDataViewController::viewDidLoad()
{
    buildViews();
    m_tableView->setDataSource(std::weak_ptr<ui::TableViewDataSource>(self()));
    m_tableView->setDelegate(std::weak_ptr<ui::TableViewDelegate>(self()));
    // Rows size themselves to their record (a note's text, its buttons).
    m_tableView->setRowHeight(ui::TableViewAutomaticDimension);
    m_tableView->setEstimatedRowHeight(20);
    m_tableView->setTableFooterView(ui::View::create());
    if (m_noDataTextColor)
        setNoDataLabelTextColor(m_noDataTextColor);
    m_filter.reset(mydata::colourTexts(m_themeVO ? m_themeVO->highlight_Color_Array() : std::nullopt));
    m_highlightButton->setTitle(mydata::text("HIGHLIGHTS_KEY"));
    m_notesButton->setTitle(mydata::text("NOTES_KEY"));
    updateView();
    updateSelectedSegmentView();
    unableNotificationSetup(false);
    inilializeFilterViewController();
    setupUIWithThemeColor();
    setAccessibilityForMyData();
    addBackgroundview();
    if (isIpad())
        setupForIpad();
    else
        setupForPhone();
}

void LXMyDataViewController::updateView()
{
    bool rtl = isRTL();
    double countGap = rtl ? 5 : 0;
    if (!m_highlightCountLeading) {
        m_highlightCountLeading = m_highlightCountLbl->leadingAnchor().constraintEqualTo(
            m_highlightButton->titleLabel()->trailingAnchor(), countGap);
        m_noteCountLeading = m_noteCountLbl->leadingAnchor().constraintEqualTo(
            m_notesButton->titleLabel()->trailingAnchor(), countGap);
        m_highlightButton->addConstraint(m_highlightCountLeading);
        m_notesButton->addConstraint(m_noteCountLeading);
    }
    m_highlightCountLeading->setConstant(countGap);
    m_noteCountLeading->setConstant(countGap);
    bool pad = isIpad();
    m_backButtonText->setFont(mydata::customFont(pad ? 22 : 20));
    auto segmentFont
        = getCustomFontForWeight(pad ? 20 : 16, pad ? ui::FontWeight::Regular : ui::FontWeight::Light)
              .value_or(ui::Font::systemFont(pad ? 20 : 16));
    m_highlightButton->setFont(segmentFont);
    m_notesButton->setFont(segmentFont);
    for (const auto& button : { m_highlightButton, m_notesButton }) {
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumScaleFactor(0.5);
    }
    m_highlightCountLbl->setFont(mydata::customFont(14));
    m_noteCountLbl->setFont(mydata::customFont(14));
    m_notificationIcon->setFont(mydata::customFont(17));
    m_noDataLabel->setFont(mydata::customFont(17));
    m_acceptButton->setFont(mydata::customFont(pad ? 19 : 15));
    m_declineButton->setFont(mydata::customFont(pad ? 19 : 15));
    updateSelectedSegmentView();
    if (highlightsEnabled())
        m_selectedSegment = MyDataSegmentHighlights;
    for (bool disabled : { m_isShareSettingsDisabled, m_isShareWithMeDisabled }) {
        if (disabled) {
            m_shareSettingsButton->setHidden(true);
            m_shareSettingWidthConstraint->setConstant(0);
        }
    }
    m_tableView->setBackgroundColor(ui::Color::clear());
    m_noDataLabel->setText(mydata::text("NO_DATA"));
    if (m_themeVO) {
        auto colour = mydata::colour(m_themeVO->mydata_selected_text_color());
        m_backButtonIcon->setTitleColor(colour);
        m_backButtonText->setTitleColor(colour);
    }
    m_backButtonIcon->setFont(mydata::iconFont(22));
    // The notification and print tools show icon glyphs too.
    m_notificationButton->setFont(mydata::iconFont(22));
    m_printButton->setFont(mydata::iconFont(22));
    if (!m_isMyDataNotificationController) {
        if (notesEnabled()) {
            m_selectedSegment = MyDataSegmentNotes;
            filterData();
        }
        if (highlightsEnabled()) {
            m_selectedSegment = MyDataSegmentHighlights;
            filterData();
        }
    }
    if (rtl) {
        for (const auto& button : { m_highlightButton, m_notesButton })
            button->titleLabel()->setTextAlignment(ui::TextAlignment::Right);
        m_backButtonText->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Leading);
        m_selectedBtnLeadingConstraint->setActive(false);
        if (!m_selectedBtnLeadingConstraintForRTL) {
            m_selectedBtnLeadingConstraintForRTL
                = m_selectedButonBorderView->leadingAnchor().constraintEqualTo(
                    m_segmentView->leadingAnchor());
            m_segmentView->addConstraint(m_selectedBtnLeadingConstraintForRTL);
        }
    }
}

void LXMyDataViewController::updateSelectedSegmentView()
{
    for (const auto& count : { m_highlightCountLbl, m_noteCountLbl }) {
        count->layer()->setCornerRadius(6);
        count->setClipsToBounds(true);
    }
    if (m_themeVO) {
        m_highlightCountLbl->setBackgroundColor(m_themeVO->mydata_selected_button_background());
        m_highlightCountLbl->setTextColor(mydata::colour(m_themeVO->mydata_selected_button_text_color()));
        m_shareSettingsButton->setTitleColor(mydata::colour(m_themeVO->mydata_tabs_icon_color()));
    }
    updateHeaderTitle();
    m_shareSettingsButton->setFont(mydata::iconFont(22));
    m_filterButton->setFont(mydata::iconFont(22));
}

void LXMyDataViewController::setupUIWithThemeColor()
{
    if (!m_themeVO)
        return;
    const auto& theme = *m_themeVO;
    m_myDataContainerView->setBackgroundColor(theme.mydata_popup_background());
    m_myDataContainerView->layer()->setBorderColor(mydata::colour(theme.mydata_popup_border()));
    m_segmentView->setBackgroundColor(theme.mydata_tab_bg());
    m_borderViewOfBtnContainer->setBackgroundColor(theme.mydata_tab_border());
    m_selectedButonBorderView->setBackgroundColor(theme.mydata_selected_tab_border());
    for (const auto& segment : { m_highlightButton, m_notesButton }) {
        segment->setTitleColor(mydata::colour(theme.mydata_tab_text_color()), ui::ControlState::Normal);
        segment->setTitleColor(
            mydata::colour(theme.mydata_selected_text_color()), ui::ControlState::Selected);
    }
    auto disabled = mydata::colour(theme.mydata_disabled_tabs_icon_color())
                        .withAlpha(theme.mydata_disabled_icon_opacity());
    for (const auto& button : { m_filterButton, m_notificationButton })
        button->setTitleColor(disabled, ui::ControlState::Disabled);
    for (const auto& button : { m_filterButton, m_notificationButton, m_printButton })
        button->setTitleColor(mydata::colour(theme.mydata_tabs_icon_color()));
    m_notificationIcon->setBackgroundColor(theme.mydata_notification_circle_color());
}

void LXMyDataViewController::setAccessibilityForMyData()
{
    m_backButtonIcon->setAccessibilityIdentifier(MYDATA_BACK_BUTTON);
    m_backButtonText->setAccessibilityIdentifier(MYDATA_BACK_BUTTON_TEXT);
    m_highlightButton->setAccessibilityIdentifier(MYDATA_HIGHLIGHT_BUTTON);
    m_highlightCountLbl->setAccessibilityIdentifier(MYDATA_HIGHLIGHT_COUNT_LABEL);
    m_notesButton->setAccessibilityIdentifier(MYDATA_NOTES_BUTTON);
    m_noteCountLbl->setAccessibilityIdentifier(MYDATA_NOTES_COUNT_LABEL);
    m_filterButton->setAccessibilityIdentifier(MYDATA_FILTER_BUTTON);
    m_shareSettingsButton->setAccessibilityIdentifier(MYDATA_SHARE_SETTINGS_BUTTON);
    m_notificationButton->setAccessibilityIdentifier(MYDATA_NOTIFICATION_BUTTON);
    m_printButton->setAccessibilityIdentifier("myDataPrintBtn");
    auto element = [](ui::View& view, const char* id, const std::string& argument) {
        AccessibilityHelper::setAccessibilityForElementID(view, id, accessibilityTable, argument);
    };
    element(*m_backButtonIcon, "BackButton", "");
    element(*m_highlightButton, "MyDataHighlightsButton", "");
    element(*m_highlightCountLbl, "MyDataHighlightsCount", m_highlightCountLbl->text());
    element(*m_notesButton, "MyDataNotesButton", "");
    element(*m_noteCountLbl, "MyDataNotesCount", m_noteCountLbl->text());
    element(*m_filterButton, "MyDataFilterButton", "");
    element(*m_shareSettingsButton, "MyDataShareSettingButton", "");
    element(*m_notificationButton, "MyDataNotificationButton", "");
    m_upIcon->setAccessibilityTraits(ui::AccessibilityTraits::Button);
    element(*m_upIcon, "MyDataDragUpButton", "");
}

void LXMyDataViewController::viewWillAppear(bool)
{
    m_borderViewOfBtnContainer->setHidden(m_isMyDataNotificationController);
    m_noDataContainerView->setHidden(m_isMyDataNotificationController);
    if (m_isMyDataNotificationController) {
        m_selectedSegment = MyDataSegmentReceived;
        m_dataArray = dataWithAllRequest();
        unableNotificationSetup(true);
        reloadMyDataTableView();
        return;
    }
    bool pending = !dataWithAllRequest().empty();
    m_notificationIcon->setHidden(!pending);
    m_notificationButton->setEnabled(pending);
    auto notes = notesSegmantWithMyNotes();
    m_noteCount = notes.size();
    if (!notes.empty())
        setCountLabel(m_noteCountLbl, notes.size());
    else
        m_noteCountLbl->setHidden(true);
    filterData();
}

void LXMyDataViewController::viewDidAppear(bool)
{
    m_topConstraint->setConstant(screenHeight() * 0.5 - handleHeight());
    layoutRootAnimated(0.4);
}

ui::InterfaceOrientationMask LXMyDataViewController::supportedInterfaceOrientations() const
{
    return mydata::orientationMaskForBookOrientationMode(m_bookOrientationMode);
}

bool LXMyDataViewController::shouldAutorotate() const
{
    return isIpad();
}

} // namespace lectoro
