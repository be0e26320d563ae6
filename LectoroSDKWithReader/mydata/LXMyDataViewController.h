#pragma once

// The My Data panel: the user's highlights, notes and received notes waiting for an
// answer, with the filter pop-over, the header buttons and the empty-list view.
//
// On a phone the panel fills the screen; on a tablet it is a sheet over a dimmed
// background that rises to half the screen and that the user drags to full height or
// down to close. The phone lists received notes in a second instance pushed on the
// panel's navigation controller; the tablet switches this instance to them.
//
// Views are placed by frames from the constants of the constraints the panel keeps (the
// sheet's offsets, the bars' heights), so tests read both.
//
// Sources: LXMyDataViewController.cpp (views, layout, the sheet, closing), MyDataList.cpp
// (lists, filters, rows, answers).

#include "LectoroSDKWithReader/mydata/MyDataCells.h"
#include "LectoroSDKWithReader/mydata/MyDataLists.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class PanGestureRecognizer;
} // namespace ui

namespace lectoro {

class FilterViewController;
class LectoroBookVO;
class LXMVThemeVO;
class MVReaderSettingModel;
class SDKHighlightVO;

// What the panel tells the reader. Every operation is optional; the defaults do nothing.
class LXMyDataControllerDelegate {
public:
    virtual ~LXMyDataControllerDelegate() = default;
    virtual void navigateTopage(const std::string&) { }
    virtual void didTapOnShareSettings() { }
    virtual void didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>&) { }
    virtual void didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>&) { }
    virtual void didSelectActionToCloseMyData() { }
    virtual void didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>&, bool /*accepted*/) { }
    virtual void didTapOnPrint() { }
};

class LXMyDataViewController : public ui::ViewController,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate,
                               public MyDataNoteCellDelegate,
                               public MyDataNoteAnswerCellDelegate {
public:
    static std::shared_ptr<LXMyDataViewController> create();
    ~LXMyDataViewController() override;
    std::string_view className() const override { return "LXMyDataViewController"; }

    // Set-up by the reader, before the view loads.
    void setBook(std::shared_ptr<LectoroBookVO> book) { m_book = std::move(book); }
    void setDelegate(std::weak_ptr<LXMyDataControllerDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<LXMyDataControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setUserSettingsModel(std::shared_ptr<MVReaderSettingModel> model)
    {
        m_userSettingsModel = std::move(model);
    }
    void setNoDataLabelTextColor(std::optional<ui::Color>);
    void setBookOrientationMode(int32_t mode) { m_bookOrientationMode = mode; }
    void disableShareSettings(bool value) { m_isShareSettingsDisabled = value; }
    void disableShareWithMeTab(bool value) { m_isShareWithMeDisabled = value; }
    void disableShareSettingsIcon(bool value) { m_isShareSettingsIconDisable = value; }
    void disableNoteNotification(bool value) { m_isNoteNotificationDisable = value; }
    void setThemeVO(std::shared_ptr<LXMVThemeVO> theme) { m_themeVO = std::move(theme); }
    // Every record of the book for the user; the list changes at the next rebuild, or at
    // once for the received notes.
    void setData(MyDataRecords records);
    void reloadMyDataTableView();

    bool isMyDataNotificationController() const { return m_isMyDataNotificationController; }
    int32_t selectedSegment() const { return m_selectedSegment; }
    const MyDataRecords& ugcArray() const { return m_ugcArray; }
    const MyDataRecords& dataArray() const { return m_dataArray; }
    const MyDataRecords& myNoteArray() const { return m_myNoteArray; }
    const MyDataFilterState& filterState() const { return m_filter; }
    const std::shared_ptr<FilterViewController>& filterViewController() const
    {
        return m_filterViewController;
    }
    const std::string& backButtonTextTitle() const { return m_backButtonTextTitle; }

    // Life cycle.
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override;

    // Lists (MyDataList.cpp).
    void filterData();
    MyDataRecords dataWithAllRequest() const { return pendingNotes(m_ugcArray); }
    void segmentbuttonAction(ui::Button& sender);
    void filterButtonAction();
    void notificationButtonAction();
    void printButtonTapped();
    void shareSettingsButtonTapped();
    void backButtonTapped();
    void inilializeFilterViewController();
    void didHighlight(const std::string& ugcID, bool accepted);
    void unableNotificationSetup(bool on);

    // Rows (MyDataList.cpp).
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void showCommentsViewForIndex(int64_t index, const std::string& localId) override;
    void showShareViewForIndex(int64_t index, const std::string& localId) override;
    void didTapOnAcceptButton(const std::string& ugcId) override;
    void didTapOnRejectButton(const std::string& ugcId) override;

    // The screen.
    void dismissMyDataController();
    void presentMyDataForNotification();
    void updateViewForMyNotification();
    void updateHeaderTitle();
    void updateHeaderHeight(double height);
    void updateBottomLabelForSelectedButton();
    void updateBottomLabelForSelectedButtonForRTL();
    void updateConstraints();
    void handlePan(ui::PanGestureRecognizer&);

    // Views.
    const std::shared_ptr<ui::View>& myDataContainerView() const { return m_myDataContainerView; }
    const std::shared_ptr<ui::View>& backgroundView() const { return m_backgroundView; }
    const std::shared_ptr<ui::Label>& upIcon() const { return m_upIcon; }
    const std::shared_ptr<ui::Button>& backButtonIcon() const { return m_backButtonIcon; }
    const std::shared_ptr<ui::Button>& backButtonText() const { return m_backButtonText; }
    const std::shared_ptr<ui::View>& segmentView() const { return m_segmentView; }
    const std::shared_ptr<ui::Button>& highlightButton() const { return m_highlightButton; }
    const std::shared_ptr<ui::Label>& highlightCountLbl() const { return m_highlightCountLbl; }
    const std::shared_ptr<ui::Button>& notesButton() const { return m_notesButton; }
    const std::shared_ptr<ui::Label>& noteCountLbl() const { return m_noteCountLbl; }
    const std::shared_ptr<ui::Label>& selectedButonBorderView() const { return m_selectedButonBorderView; }
    const std::shared_ptr<ui::Button>& filterButton() const { return m_filterButton; }
    const std::shared_ptr<ui::Label>& filterIcon() const { return m_filterIcon; }
    const std::shared_ptr<ui::Button>& notificationButton() const { return m_notificationButton; }
    const std::shared_ptr<ui::Label>& notificationIcon() const { return m_notificationIcon; }
    const std::shared_ptr<ui::Button>& shareSettingsButton() const { return m_shareSettingsButton; }
    const std::shared_ptr<ui::Button>& printButton() const { return m_printButton; }
    const std::shared_ptr<ui::Button>& acceptButton() const { return m_acceptButton; }
    const std::shared_ptr<ui::Button>& declineButton() const { return m_declineButton; }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<ui::View>& noDataContainerView() const { return m_noDataContainerView; }
    const std::shared_ptr<ui::Label>& noDataLabel() const { return m_noDataLabel; }
    const std::shared_ptr<ui::Label>& noDataIconLbl() const { return m_noDataIconLbl; }
    const std::shared_ptr<ui::PanGestureRecognizer>& panGesture() const { return m_panGesture; }

    // Constraints.
    const ui::ConstraintPtr& topConstraintOfViewContainingPanGesture() const { return m_topConstraint; }
    const ui::ConstraintPtr& tocLeftConstraint() const { return m_leftConstraint; }
    const ui::ConstraintPtr& tocRightConstraint() const { return m_rightConstraint; }
    const ui::ConstraintPtr& headerHeightConstraint() const { return m_headerHeightConstraint; }
    const ui::ConstraintPtr& heightConstraintOfSegmentView() const { return m_segmentHeightConstraint; }
    const ui::ConstraintPtr& heightConstraintNotificationTopView() const
    {
        return m_notificationTopHeightConstraint;
    }
    const ui::ConstraintPtr& printBtnTrailingConstraint() const { return m_printTrailingConstraint; }
    const ui::ConstraintPtr& selectedBtnLeadingConstraint() const { return m_selectedBtnLeadingConstraint; }
    const ui::ConstraintPtr& selectedBtnLeadingConstraintForRTL() const
    {
        return m_selectedBtnLeadingConstraintForRTL;
    }
    const ui::ConstraintPtr& notesBtnLeadingConstraint() const { return m_notesBtnLeadingConstraint; }
    const ui::ConstraintPtr& shareSettingWidthConstraint() const { return m_shareSettingWidthConstraint; }
    const ui::ConstraintPtr& filterButtonWidthConstraint() const { return m_filterButtonWidthConstraint; }
    const ui::ConstraintPtr& highlightCountLeadingConstraint() const { return m_highlightCountLeading; }
    const ui::ConstraintPtr& highlightCountLabelCenterXConstraint() const
    {
        return m_highlightCountLabelCenterXConstraint;
    }

    static constexpr double fullHeightHeader = 50;
    static constexpr double sheetInset = 15;
    static constexpr const char* accessibilityTable = "ReaderLectoroAccessibility";
    static constexpr double handleBarHeight = 30;
    static constexpr double printButtonWidth = 44;

protected:
    LXMyDataViewController();

private:
    std::shared_ptr<LXMyDataViewController> self();
    bool highlightsEnabled() const;
    bool notesEnabled() const;
    bool sharingEnabled() const;
    void buildViews();
    void updateView();
    void updateSelectedSegmentView();
    void setupUIWithThemeColor();
    void setAccessibilityForMyData();
    void addBackgroundview();
    void setupForIpad();
    void setupForPhone();
    void addPanGestureToView();
    void updateBorderShadowColor();
    void setBackButtonTitle(const std::string&);
    void placeUnderline();
    void placeViewsByConstraints();
    void layoutRootAnimated(double duration, std::function<void()> completion = {});
    double handleHeight() const;
    static double screenHeight();

    // Lists (MyDataList.cpp).
    void highlightsSegmantWithMyHighlights();
    MyDataRecords notesSegmantWithMyNotes();
    void setCountLabel(const std::shared_ptr<ui::Label>&, size_t count);
    ui::Color rowColor(const SDKHighlightVO&) const;
    std::shared_ptr<SDKHighlightVO> recordForRow(int64_t index, const std::string& localId) const;
    void answerReceived(const std::string& ugcId, bool accepted);
    bool isPageBook() const;

    std::shared_ptr<LectoroBookVO> m_book;
    std::weak_ptr<LXMyDataControllerDelegate> m_delegate;
    std::shared_ptr<MVReaderSettingModel> m_userSettingsModel;
    std::shared_ptr<LXMVThemeVO> m_themeVO;
    std::optional<ui::Color> m_noDataTextColor;
    int32_t m_bookOrientationMode = 0;
    bool m_isMyDataNotificationController = false;
    bool m_isShareSettingsDisabled = false;
    bool m_isShareWithMeDisabled = false;
    bool m_isShareSettingsIconDisable = false;
    bool m_isNoteNotificationDisable = false;

    int32_t m_selectedSegment = 0;
    std::string m_backButtonTextTitle;
    double m_previousStateYPosition = 0;
    MyDataRecords m_ugcArray;
    MyDataRecords m_dataArray;
    MyDataRecords m_myNoteArray;
    MyDataFilterState m_filter;
    // The notes count on screen, kept as a number (the label shows it localised).
    size_t m_noteCount = 0;
    // Received notes answered here whose refreshed records have not come yet.
    std::set<std::string> m_answeredIDs;
    std::shared_ptr<FilterViewController> m_filterViewController;

    std::shared_ptr<ui::View> m_backgroundView;
    std::shared_ptr<ui::View> m_myDataContainerView;
    std::shared_ptr<ui::Label> m_upIcon;
    std::shared_ptr<ui::View> m_headerView;
    std::shared_ptr<ui::Button> m_backButtonIcon;
    std::shared_ptr<ui::Button> m_backButtonText;
    std::shared_ptr<ui::View> m_segmentView;
    std::shared_ptr<ui::Button> m_highlightButton;
    std::shared_ptr<ui::Label> m_highlightCountLbl;
    std::shared_ptr<ui::Button> m_notesButton;
    std::shared_ptr<ui::Label> m_noteCountLbl;
    std::shared_ptr<ui::Label> m_selectedButonBorderView;
    std::shared_ptr<ui::View> m_borderViewOfBtnContainer;
    std::shared_ptr<ui::Button> m_filterButton;
    std::shared_ptr<ui::Label> m_filterIcon;
    std::shared_ptr<ui::Button> m_notificationButton;
    std::shared_ptr<ui::Label> m_notificationIcon;
    std::shared_ptr<ui::Button> m_shareSettingsButton;
    std::shared_ptr<ui::Button> m_printButton;
    std::shared_ptr<ui::View> m_notificationTopView;
    std::shared_ptr<ui::Button> m_acceptButton;
    std::shared_ptr<ui::Button> m_declineButton;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::View> m_noDataContainerView;
    std::shared_ptr<ui::Label> m_noDataLabel;
    std::shared_ptr<ui::Label> m_noDataIconLbl;
    std::shared_ptr<ui::PanGestureRecognizer> m_panGesture;

    ui::ConstraintPtr m_topConstraint;
    ui::ConstraintPtr m_leftConstraint;
    ui::ConstraintPtr m_rightConstraint;
    ui::ConstraintPtr m_headerHeightConstraint;
    ui::ConstraintPtr m_segmentHeightConstraint;
    ui::ConstraintPtr m_notificationTopHeightConstraint;
    ui::ConstraintPtr m_printTrailingConstraint;
    ui::ConstraintPtr m_notesBtnLeadingConstraint;
    ui::ConstraintPtr m_selectedBtnLeadingConstraint;
    ui::ConstraintPtr m_filterBtnLeadingConstraint;
    ui::ConstraintPtr m_shareSettingWidthConstraint;
    ui::ConstraintPtr m_filterButtonWidthConstraint;
    ui::ConstraintPtr m_highlightCountLabelCenterXConstraint;
    ui::ConstraintPtr m_notesCountLabelCenterXConstraint;
    // Made once each, when first needed.
    ui::ConstraintPtr m_highlightCountLeading;
    ui::ConstraintPtr m_noteCountLeading;
    ui::ConstraintPtr m_selectedBtnLeadingConstraintForRTL;
    ui::ConstraintPtr m_notesToSegmentLeading;
    ui::ConstraintPtr m_underlineToSegmentLeading;
    ui::ConstraintPtr m_highlightToFilter;
    ui::ConstraintPtr m_shareToContainerTrailing;
};

} // namespace lectoro
