#pragma once

// The contents panel: one table under the tabs Contents, Resources, Bookmarks and
// Standards. The reader builds a new panel each time it opens the contents, hands it
// the book, the reading position and the data of its tabs, and becomes its delegate.
//
// On iPad the panel is a sheet that rises to half the screen under a drag handle; on
// iPhone it fills the safe area with a header and the tab bar at the bottom. Views are
// placed by their constraints; the sheet's drag and the tabs move them by changing the
// constants of the constraints the panel keeps.
//
// Sources: TOCViewController.cpp (creation, views, closing), TOCTable.cpp (sections, rows,
// cells), TOCSelection.cpp (taps, opening and closing branches, leaving for a page),
// TOCTabs.cpp (the tab bars, switching tabs, the empty-list notices), TOCSheet.cpp (the
// iPad sheet's drag and overlay tap, the background resource load and its loader).

#include "LectoroSDKWithReader/contents/TOCModel.h"
#include "LectoroSDKWithReader/contents/TOCViewControllerDelegate.h"
#include "platform/base/NotificationCenter.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class ActivityIndicatorView;
class Button;
class Label;
} // namespace ui

namespace lectoro {

class LectoroUser;
class LXMVThemeVO;
class MVReaderSettingModel;
class TOCContentCell;

class TOCViewController : public ui::ViewController,
                          public ui::TableViewDataSource,
                          public ui::TableViewDelegate,
                          public ui::GestureRecognizerDelegate {
public:
    struct Inputs {
        std::shared_ptr<LXMVThemeVO> theme;
        std::shared_ptr<LectoroBookVO> book;
        int64_t chapter = 0;
        std::string chapterName;
        std::vector<RendererPage> activePages;
        std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarks;
        // The previous panel's groups; none: a page book's are collected after creation.
        std::optional<std::vector<TOCResourceGroup>> resources;
        base::Value tocData;
        base::Value standards;
    };
    static std::shared_ptr<TOCViewController> create(Inputs);
    ~TOCViewController() override;
    std::string_view className() const override { return "TOCViewController"; }

    // What the reader sets after creating the panel.
    std::shared_ptr<TOCViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TOCViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }
    void setUserSettingsModel(std::shared_ptr<MVReaderSettingModel> model)
    {
        m_userSettingsModel = std::move(model);
    }
    void setUser(std::shared_ptr<LectoroUser> user) { m_user = std::move(user); }
    int64_t bookOrientation() const { return m_bookOrientation; }
    void setBookOrientation(int64_t mode) { m_bookOrientation = mode; }
    bool isExternalResourceAvailable() const { return m_isExternalResourceAvailable; }
    void setIsExternalResourceAvailable(bool value) { m_isExternalResourceAvailable = value; }
    bool isExternalResourcesSelected() const { return m_isExternalResourcesSelected; }

    TOCModel& model() { return m_model; }
    const TOCModel& model() const { return m_model; }
    // The internal resource groups, handed on to the next panel.
    const std::vector<TOCResourceGroup>& resourceArray() const { return m_model.resourceGroups(); }

    void setDataWithData(const base::Value& nodes);
    void setStandardDataWithData(const base::Value& nodes);
    void setExternalResourcesDataWithData(const base::Value& nodes);

    // The tab shown (TOCFilter).
    int32_t selectedButton() const { return m_selectedButton; }
    // Switches to a tab as its button does (tests and callers without the button); the
    // resources tab with `externalResources` first picks its external sub-tab.
    void showTab(int32_t tab, bool externalResources = false);

    // Tabs (TOCTabs.cpp). A tab button's tag is its tab.
    void actionForButtonWithSender(ui::Button& sender);
    void actionForTEKSButtonWithSender(ui::Button& sender);
    void actionForELPSButtonWithSender(ui::Button& sender);
    void actionForInternalResourcesButtonWithSender(ui::Button& sender);
    void actionForExternalResourcesButtonWithSender(ui::Button& sender);
    // The notices of an empty list, built inside the table header view.
    void showEmptyBookmarkView();
    void showNoInternalResourcesView();
    const std::shared_ptr<ui::Button>& contentButton() const { return m_contentButton; }
    const std::shared_ptr<ui::Button>& standardsButton() const { return m_standardsButton; }
    const std::shared_ptr<ui::Button>& bookmarkButton() const { return m_bookmarkButton; }
    const std::shared_ptr<ui::Button>& resourcesButton() const { return m_resourcesButton; }
    const std::shared_ptr<ui::Button>& teksButton() const { return m_teksButton; }
    const std::shared_ptr<ui::Button>& elpsButton() const { return m_elpsButton; }
    const std::shared_ptr<ui::Button>& internalResourceButton() const { return m_internalResourceButton; }
    const std::shared_ptr<ui::Button>& externalResourceButton() const { return m_externalResourceButton; }
    const std::shared_ptr<ui::View>& standardResourceView() const { return m_standardResourceView; }
    const std::shared_ptr<ui::View>& externalResourceView() const { return m_externalResourceView; }
    const std::shared_ptr<ui::View>& lineView2() const { return m_lineView2; }
    const std::shared_ptr<ui::View>& lineView3() const { return m_lineView3; }
    const std::shared_ptr<ui::View>& lineView4() const { return m_lineView4; }
    const ui::ConstraintPtr& lineViewLeftAnchor() const { return m_lineViewLeftAnchor; }
    const ui::ConstraintPtr& lineViewTopAnchor() const { return m_LineViewTopAnchor; }
    // The tab buttons in the bar, in order.
    const std::vector<std::shared_ptr<ui::Button>>& visibleTabs() const { return m_visibleTabs; }
    const std::shared_ptr<ui::View>& emptyBookMarkContainer() const { return m_emptyBookMarkContainer; }

    // The iPad sheet and the resource load (TOCSheet.cpp).
    void handlePanWithPanGes(ui::PanGestureRecognizer&);
    void singleTapOnViewWithTapGes(ui::GestureRecognizer&);
    bool shouldBegin(ui::GestureRecognizer&) override;
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView) override;
    bool shouldRecognizeSimultaneously(ui::GestureRecognizer&, ui::GestureRecognizer&) override { return false; }
    const std::shared_ptr<ui::PanGestureRecognizer>& panGesture() const { return m_panGesture; }
    const std::shared_ptr<ui::TapGestureRecognizer>& dismissTapGesture() const { return m_dismissTap; }
    const ui::ConstraintPtr& leftConstraintOfContainerView() const { return m_leftConstraintOfContainerView; }
    const ui::ConstraintPtr& rightConstraintOfContainerView() const { return m_rightConstraintOfContainerView; }
    const std::shared_ptr<ui::View>& loaderView() const { return m_loaderView; }
    // Whether the background load of a page book's resources is still running.
    bool isLoadingResources() const { return m_loaderView && !m_loaderView->isHidden(); }

    // Views.
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<ui::View>& headerView() const { return m_headerView; }
    const std::shared_ptr<ui::View>& containerView() const { return m_containerView; }
    const std::shared_ptr<ui::View>& pangestureContainer() const { return m_pangestureContainer; }
    const std::shared_ptr<ui::View>& segmentView() const { return m_segmentView; }
    const std::shared_ptr<ui::Label>& upDirectionIconLbl() const { return m_upDirectionIconLbl; }
    const std::shared_ptr<ui::View>& dismissBackgroundView() const { return m_dismissBackground; }
    const std::shared_ptr<ui::Button>& backButton() const { return m_backButton; }
    const std::shared_ptr<ui::Label>& headerTitle() const { return m_headerTitle; }
    const std::shared_ptr<ui::View>& tableviewHeaderView() const { return m_tableviewHeaderView; }
    const ui::ConstraintPtr& headerHeightConstraint() const { return m_headerHeightConstraint; }
    const ui::ConstraintPtr& topConstraintOfContainerView() const { return m_topConstraintOfContainerView; }
    const ui::ConstraintPtr& topConstraintOfTableView() const { return m_topConstraintOfTableView; }
    const ui::ConstraintPtr& bottomConstraintOfTableView() const { return m_bottomConstraintOfTableView; }
    double headerDefaultHeight() const { return m_headerDefaultHeight; }
    double tableViewTop() const { return m_tableViewTop; }
    double segmentViewHeight() const { return m_segmentViewHeight; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override;

    void actionForCloseTOCWithSender();
    void updateHeaderHeight(double height);
    void updateInteractionForVoiceOver();
    // Queues a reload that shows the top of the list.
    void reloadContentsTable();

    // Table (TOCTable.cpp).
    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> estimatedHeightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> heightForHeaderInSection(ui::TableView&, int section) override;
    std::optional<double> heightForFooterInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView&, int section) override;
    void willDisplayCell(ui::TableView&, ui::TableViewCell&, const ui::IndexPath&) override;
    void updateTOCViewConstraints();
    std::optional<double> estimatedHeaderHeight(int section) const;

    // Selection (TOCSelection.cpp).
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectSectionWithSender(ui::Button&);
    void didSelectDropdownForSectionWithSender(ui::Button&);
    void didSelectCellDropDownButtonWithSender(ui::Button&);
    // Leaves the panel, then sends the target to the delegate.
    void navigateToPageWithTarget(const std::string& target);
    void updateDropDownAccessibility(ui::Button&);

    static constexpr double resourceRowHeight = 55.4;
    static constexpr double defaultEstimate = 65.0;
    static constexpr double closeAnimationDuration = 0.4;
    static constexpr double linkActionDelay = 1.0;

protected:
    explicit TOCViewController(Inputs);

private:
    std::shared_ptr<TOCViewController> self();
    void setupContainerViews();
    void setupUpDirectionIcon();
    void addDismissBackgroundView();
    void setupHeaderView();
    void setupTabViews();
    void setupTableView();
    void loadResourcesInBackground();
    void setupPanGesture();
    void showLoader();
    void hideLoader();
    void didLoadResourcesInBackground(std::vector<TOCResourceGroup>);
    // The tab switch without the selection line's move (the button's tag or a tab).
    void switchToTab(int32_t tag);
    void buildEmptyNotice(const char* glyph, const std::string& key);
    std::shared_ptr<ui::Button> makeTabButton(const std::string& key, double size, int tag);
    void fitTabTitles();
    void setTabTitleColours(const std::shared_ptr<ui::Button>& selected);
    void setSubTabTitleColours(const std::shared_ptr<ui::Button>& selected, const std::shared_ptr<ui::Button>& other);
    void moveSheet(double top, double side, double header, bool animated);
    void layoutRootAnimated();
    // Leaves the panel (sliding the sheet down on iPad), then runs `then`.
    void leavePanel(bool animatedOnPhone, std::function<void()> then);

    std::shared_ptr<TOCContentCell> treeCell(const ui::IndexPath&);
    std::shared_ptr<ui::TableViewCell> bookmarkCell(const ui::IndexPath&);
    std::shared_ptr<ui::TableViewCell> resourceCell(const ui::IndexPath&);
    std::shared_ptr<TOCContentCell> dequeueContentCell();

    TOCModel m_model;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::weak_ptr<TOCViewControllerDelegate> m_delegate;
    std::shared_ptr<MVReaderSettingModel> m_userSettingsModel;
    std::shared_ptr<LectoroUser> m_user;
    int64_t m_bookOrientation = 0;
    bool m_isExternalResourceAvailable = false;
    bool m_isExternalResourcesSelected = false;
    int32_t m_selectedButton = TOCFilterContents;
    bool m_resourcesGiven = false;

    double m_headerDefaultHeight;
    double m_tableViewTop;
    double m_segmentViewHeight = 50;
    double m_segmentWidth = 0;
    static constexpr double handleHeight = 46;

    std::shared_ptr<ui::View> m_pangestureContainer;
    std::shared_ptr<ui::Label> m_upDirectionIconLbl;
    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::View> m_headerView;
    std::shared_ptr<ui::Button> m_backButton;
    std::shared_ptr<ui::Label> m_headerTitle;
    std::shared_ptr<ui::View> m_segmentView;
    std::shared_ptr<ui::View> m_dismissBackground;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::View> m_tableviewHeaderView;
    ui::ConstraintPtr m_leftConstraintOfContainerView;
    ui::ConstraintPtr m_rightConstraintOfContainerView;
    ui::ConstraintPtr m_topConstraintOfContainerView;
    ui::ConstraintPtr m_headerHeightConstraint;
    ui::ConstraintPtr m_topConstraintOfTableView;
    ui::ConstraintPtr m_bottomConstraintOfTableView;

    std::shared_ptr<ui::Button> m_contentButton;
    std::shared_ptr<ui::Button> m_standardsButton;
    std::shared_ptr<ui::Button> m_bookmarkButton;
    std::shared_ptr<ui::Button> m_resourcesButton;
    std::shared_ptr<ui::Button> m_teksButton;
    std::shared_ptr<ui::Button> m_elpsButton;
    std::shared_ptr<ui::Button> m_internalResourceButton;
    std::shared_ptr<ui::Button> m_externalResourceButton;
    std::shared_ptr<ui::View> m_standardResourceView;
    std::shared_ptr<ui::View> m_externalResourceView;
    std::shared_ptr<ui::View> m_lineView2;
    std::shared_ptr<ui::View> m_lineView3;
    std::shared_ptr<ui::View> m_lineView4;
    std::shared_ptr<ui::View> m_barSeparator;
    std::vector<std::shared_ptr<ui::Button>> m_visibleTabs;
    ui::ConstraintPtr m_contentButtonLeadAnchor;
    ui::ConstraintPtr m_lineViewLeftAnchor;
    ui::ConstraintPtr m_LineViewTopAnchor;
    std::shared_ptr<ui::View> m_emptyBookMarkContainer;

    std::shared_ptr<ui::PanGestureRecognizer> m_panGesture;
    std::shared_ptr<ui::TapGestureRecognizer> m_dismissTap;
    double m_previousStateYPosition = 0;
    std::shared_ptr<ui::View> m_loaderView;
    std::shared_ptr<ui::ActivityIndicatorView> m_activityIndicator;

    std::map<ui::IndexPath, int> m_estimatedRowHeights;
    std::map<int, int> m_estimatedHeaderHeights;
    std::optional<base::ObserverToken> m_voiceOverObserver;
};

} // namespace lectoro
