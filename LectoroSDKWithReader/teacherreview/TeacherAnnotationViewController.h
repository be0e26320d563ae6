#pragma once

// The older, self-contained teacher-review panel a host may present itself (the reader's
// own review uses TeacherReviewViewController). It keeps the same review-data operations
// under the same names, chooses the class with a strip of class tabs and lists the class's
// learners with each one's fetch state. It does no network or store work: the host
// fetches a learner's work when asked, reports the result, loads the chosen learner's
// work into studentPageUGCDictionary and saves what getAnotationToSave hands out.
//
// Fetch states (classSubmittedData, per class, per learner id): 2 fetching, 1 fetched
// (with "pageUgc"), 3 failed. Results are stored under the class selected when they come.
//
// On a tablet the card floats over the reader, resting at half the screen height less 130
// with insets of 34, and is dragged up to fill the panel, back to rest, or down and away.

#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/Value.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <functional>
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

class LXMVThemeVO;
class SDKBookClassInfoVO;

// Where a released drag leaves the card (top and side insets), or that the panel closes;
// nullopt: the card stays where it is.
struct TeacherAnnotationCardPlacement {
    double top = 0;
    double inset = 0;
    bool closes = false;
    bool operator==(const TeacherAnnotationCardPlacement&) const = default;
};
// The resting top of the tablet card for a screen height.
double teacherAnnotationRestingTop(double screenHeight);
std::optional<TeacherAnnotationCardPlacement> teacherAnnotationDragEnded(
    double velocity, double currentTop, double screenHeight);

class TeacherAnnotationViewController : public ui::ViewController,
                                        public ui::TableViewDataSource,
                                        public ui::TableViewDelegate,
                                        public ui::CollectionViewDataSource,
                                        public ui::CollectionViewDelegateFlowLayout,
                                        public ui::GestureRecognizerDelegate {
public:
    static constexpr const char* learnerRowIdentifier = "reuseIdentiier";
    static constexpr const char* classTabIdentifier = "cellIdentifier";
    static constexpr double cardInset = 34;
    static constexpr double dragAnimationDuration = 0.3;

    static std::shared_ptr<TeacherAnnotationViewController> create();
    std::string_view className() const override { return "TeacherAnnotationViewController"; }

    // --- Host-facing state ---
    std::optional<std::string> selectedClassName;
    std::optional<std::string> selectedLearnerID;
    std::optional<std::string> selectedLearnerName;
    std::optional<std::string> selectedLearnerImageUrl;
    std::optional<std::string> selectedPageIdentifier;
    std::optional<TeacherReviewPageUGC> studentPageUGCDictionary;
    std::shared_ptr<LXMVThemeVO> themeVo;
    std::function<void(const base::Value& pages, const std::string& learnerID)> learnerSelectionAction;
    // Called on a background queue.
    std::function<void(const std::string& name, const std::string& learnerID)> fetchEachLearnerData;
    std::function<void()> removeAnnotataionController;
    std::function<void()> didTapOnGenerateReport;

    // --- Classes and learners (TeacherAnnotationData.cpp) ---
    // Call before the view loads; selects the first class.
    void setClasses(const std::vector<std::shared_ptr<SDKBookClassInfoVO>>&);
    const std::vector<std::string>& classTitles() const { return m_classTitles; }
    // The class's learner records; nullopt when it has none.
    std::optional<base::Value::List> getAllLearnersForSelectedClass(const std::string& classTitle) const;
    // Class title -> learner id -> {"status": 1|2|3, "pageUgc": [...]}.
    const std::map<std::string, std::map<std::string, base::Value>>& classSubmittedData() const
    {
        return m_classSubmittedData;
    }
    // {learner id: {"pageUgc": [...]}}; main thread.
    void setSubmittedStudentUGCArray(const base::Value& result);
    void serviceFailedWithLearnerID(const std::string& learnerID);

    // --- Review data, as the newer panel offers it ---
    std::optional<TeacherReviewRecordList> getUGCForPageIdentifier(const std::string& pageIdentifier);
    bool doesCurrentPageHaveActiveUGC() const;
    std::vector<std::shared_ptr<SDKPentoolVO>> getPenToolUGCForPageIdentifier(const std::string& pageIdentifier);
    std::vector<std::shared_ptr<SDKFIBVO>> getFIBUGCForPageIdentifier(const std::string& pageIdentifier);
    void addPenDrawing(const std::shared_ptr<SDKPentoolVO>&);
    // A record without a saved id leaves its page; one with an id replaces its earlier copy
    // at the end of the page (an answer marked changed).
    void updatePenDrawing(const std::shared_ptr<SDKPentoolVO>&);
    void updateFIBData(const std::shared_ptr<SDKFIBVO>&);
    std::shared_ptr<SDKUGCVO> getSDKPentoolVOWithLocalID(const std::string& localID) const;
    std::shared_ptr<SDKUGCVO> getSDKFIBVOWithLocalID(const std::string& localID) const;
    static std::string getUGCId(const base::Value&);
    bool isEditingAllowedForLinkID(int64_t linkID) const;
    std::shared_ptr<SDKFIBVO> getSDKFIBVOForLinkID(int64_t linkID) const;
    // Empties each answer's text and marks it deleted; the teacher's comment stays.
    void clearAllFIBsForPageID(const std::string& pageIdentifier);
    bool isFIBsAndPentoolAvailableOnPageID(const std::string& pageIdentifier) const;
    // The changes to save, oldest modification first, each record once.
    TeacherReviewRecordList getAnotationToSave() const;

    // --- Views (TeacherAnnotationViews.cpp) ---
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void startActivityIndicator();
    void stopActivityIndicator();
    void backButtonPressed();
    void handleTap();
    void handlePan(ui::PanGestureRecognizer&);
    void didTapOnGenerateReportButton();
    void refreshButtonTapped(const std::string& name, const std::string& learnerID, const ui::IndexPath&);
    // The tab at the index becomes the selected class.
    void selectClassAtIndex(int index);
    int selectedClassIndex() const { return m_selectedClassIndex; }
    void animateSelectedViewForCategory(double duration);

    const std::shared_ptr<ui::View>& teacherAnnotationContainerView() const { return m_card; }
    const std::shared_ptr<ui::View>& topViewForClassAndSelectStudentLabel() const { return m_titleArea; }
    const std::shared_ptr<ui::CollectionView>& collectionView() const { return m_strip; }
    const std::shared_ptr<ui::View>& collectionContainerView() const { return m_stripHolder; }
    const std::shared_ptr<ui::View>& selectionBar() const { return m_selectionBar; }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_table; }
    const std::shared_ptr<ui::Button>& generateReportButton() const { return m_reportButton; }
    const std::shared_ptr<ui::ActivityIndicatorView>& activityIndicator() const { return m_activityIndicator; }
    const ui::ConstraintPtr& topConstraintOfViewContainingPanGesture() const { return m_cardTop; }
    const ui::ConstraintPtr& teacherLeftConstraint() const { return m_cardLeading; }
    const ui::ConstraintPtr& teacherRightConstraint() const { return m_cardTrailing; }

    // --- Table and strip ---
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didDeselectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    int numberOfItemsInSection(ui::CollectionView&, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItemAtIndexPath(ui::CollectionView&, const ui::IndexPath&) override;
    std::optional<ui::Size> sizeForItemAtIndexPath(ui::CollectionView&, ui::CollectionViewLayout&, const ui::IndexPath&) override;
    void didSelectItemAtIndexPath(ui::CollectionView&, const ui::IndexPath&) override;
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View*) override;
    // The selection bar follows the strip, and the list (which shares this delegate), as
    // they scroll, so it stays under its tab.
    void didScroll(ui::ScrollView&) override;

protected:
    TeacherAnnotationViewController() = default;

private:
    std::weak_ptr<TeacherAnnotationViewController> weakSelf();
    void seedFetchStates();
    void reloadRowsOfLearner(const std::string& learnerID);
    const base::Value::List& learnersOfSelectedClass() const;
    const base::Value* stateOf(const std::string& learnerID) const;
    void askForLearner(const std::string& name, const std::string& learnerID);
    void closePanel();
    void constructUI();
    void layoutCardFrames();
    double screenHeight() const;
    TeacherReviewRecordList* listOfPageInUse();

    std::vector<std::string> m_classTitles;
    std::map<std::string, base::Value::List> m_learnersByClass;
    std::map<std::string, std::map<std::string, base::Value>> m_classSubmittedData;
    int m_selectedClassIndex = 0;
    double m_dragStart = 0;

    std::shared_ptr<ui::View> m_card;
    std::shared_ptr<ui::View> m_titleArea;
    std::shared_ptr<ui::View> m_stripHolder;
    std::shared_ptr<ui::CollectionView> m_strip;
    std::shared_ptr<ui::View> m_selectionBar;
    std::shared_ptr<ui::View> m_separator;
    std::shared_ptr<ui::TableView> m_table;
    std::shared_ptr<ui::Button> m_reportButton;
    std::shared_ptr<ui::Label> m_dragHandle;
    std::shared_ptr<ui::ActivityIndicatorView> m_activityIndicator;
    ui::ConstraintPtr m_cardTop;
    ui::ConstraintPtr m_cardLeading;
    ui::ConstraintPtr m_cardTrailing;
};

} // namespace lectoro
