#pragma once

// The learner panel: the class under review, its learners and the annotations switch.
// The reader makes a new panel each time a class is chosen, hands it the theme, the class
// title and the learner list and sets its callbacks, then presents it. The same object
// stays the reader's store of the review in progress after it leaves the screen.
//
// Fetching. Each learner's submitted work is fetched one learner at a time through the
// owner's FetchEachLearnerData (always called on a background queue). The owner answers
// with setSubmittedStudentUGCArray or serviceFailedWithLearnerID from any thread; both
// hop to the main queue, where the learner map is written and the next learner is asked
// for, so the map is only ever touched on the main thread. Rows that come on screen claim
// their learners ahead of the chain. While learners are still being fetched a 3.0 s timer
// reloads the table; it stops when the chain runs out, when the panel is closed and when
// the panel goes away.
//
// Pending learners are taken in list order.
//
// While the panel is on screen it stands over the page: it tells its TeacherReviewDelegate
// so that the page under it takes no touches, and tells it again when it leaves.

#include "platform/base/Timer.h"
#include "platform/base/Value.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class ActivityIndicatorView;
class Label;
class Switch;
} // namespace ui

namespace lectoro {

class LXMVThemeVO;
class SDKFIBVO;
class TeacherReviewDelegate;
class SDKPentoolVO;
class SDKUGCVO;

// A page's records under review, in the order the reader stored them: pen drawings and
// answers (any other record is passed over). Shared objects: an edit changes the record
// the reader draws.
using TeacherReviewRecordList = std::vector<std::shared_ptr<SDKUGCVO>>;
// Page key (a page number as text, or several joined by ",") to that page's records.
using TeacherReviewPageUGC = std::map<std::string, TeacherReviewRecordList>;

class TeacherReviewViewController : public ui::ViewController,
                                    public ui::TableViewDataSource,
                                    public ui::TableViewDelegate,
                                    public ui::TextFieldDelegate {
public:
    static constexpr double refreshInterval = 3.0;
    static constexpr const char* noStudentText = "No student found";

    static std::shared_ptr<TeacherReviewViewController> create();
    ~TeacherReviewViewController() override;
    std::string_view className() const override { return "TeacherReviewViewController"; }

    // --- The review in progress, as the reader reads and writes it ---
    std::optional<std::string> selectedLearnerImageUrl;
    std::optional<std::string> selectedLearnerName;
    std::optional<std::string> selectedLearnerID;
    std::optional<std::string> SelectedPageIdentifier;
    // Page key to the learner's records on that page.
    std::optional<TeacherReviewPageUGC> studentPageUGCDictionary;
    std::optional<std::string> selectedClassName;
    bool isAnnotationEnabled = false;
    // The learner's page keys in ascending numeric order.
    std::optional<std::vector<std::string>> studentSubmittedPageArray;
    std::shared_ptr<LXMVThemeVO> themeVo;
    std::vector<std::shared_ptr<SDKFIBVO>> selectedFibArray;

    // Learner id text to that learner's fetched page list (learners with at least one
    // page). Main thread only.
    const std::map<std::string, base::Value>& studentDataDict() const { return m_studentDataDict; }
    // Learners still to be fetched: id text to full name, in list order.
    const base::Value::Dictionary& studentIdArray() const { return m_studentIdArray; }
    bool isLearnerPending(const std::string& learnerID) const { return m_studentIdArray.contains(learnerID); }
    const std::optional<base::Value::List>& studentListArray() const { return m_studentListArray; }
    const std::optional<base::Value::List>& filteredStudentListArray() const { return m_filteredStudentListArray; }

    // Held weakly; the reader's teacher review.
    std::shared_ptr<TeacherReviewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TeacherReviewDelegate> delegate) { m_delegate = std::move(delegate); }

    // --- Callbacks the owner sets (an unset one makes the report do nothing) ---
    std::function<void()> RemoveAnnotataionController;
    std::function<void()> DidTapOnChangeClassButton;
    // (full name, learner id); called on a background queue.
    std::function<void(const std::string& name, const std::string& learnerID)> FetchEachLearnerData;
    // (the learner's page list, learner id); main thread.
    std::function<void(const base::Value& pages, const std::string& learnerID)> LearnerSelectionAction;

    // --- Learner data and the fetch chain ---
    // Records without a readable learner id are listed but never fetched or opened.
    void setDataWithClassName(const std::string& className, const base::Value::List& studentList);
    void getStudentData();
    void timerAction();
    // {learner id: {"pageUgc": [...]}}; any thread.
    void setSubmittedStudentUGCArray(const base::Value& result);
    // Any thread.
    void serviceFailedWithLearnerID(const std::string& learnerID);
    const std::shared_ptr<base::Timer>& scheduledTimer() const { return m_scheduledTimer; }

    // The busy overlay. A second start while one is up keeps the one there.
    void startActivityIndicator();
    void stopActivityIndicator();
    const std::shared_ptr<ui::View>& blackOverLay() const { return m_blackOverLay; }
    const std::shared_ptr<ui::ActivityIndicatorView>& activityIndicator() const { return m_activityIndicator; }

    // --- Views and actions ---
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void setUpPanelViews();
    void setUpStudentTableView();
    void annotationSwitchChanged(ui::Switch&);
    void mainViewTapped() { }
    void showStudentList(bool show);
    void backButtonTapped() { closeViewController(); }
    // The owner hears of it once the panel has left the screen.
    void changeClassButtonTapped();
    void closeViewController();
    // --- Learner search (TeacherReviewLearnerSearch.cpp) ---
    // Return searches the full names for the typed text as it stands (case and spaces
    // count); emptying or clearing the field lists the whole class again. Typing alone
    // does not filter.
    void textFieldEditingDidChange(ui::TextField&);
    bool textFieldShouldClear(ui::TextField&);
    bool textFieldShouldReturn(ui::TextField&);
    bool shouldClear(ui::TextField& field) override { return textFieldShouldClear(field); }
    bool shouldReturn(ui::TextField& field) override { return textFieldShouldReturn(field); }

    // The learner's position in the whole class for the review bar: the count, or -1 for
    // no list; the 1-based index of the selected learner, or -1.
    int getStudentCount() const;
    int getStudentIndex() const;

    // --- Moving between learners (TeacherReviewLearnerSearch.cpp) ---
    // The next (previous) learner with work after (before) the selected one in the class
    // list; no wrap-around, the selected learner is never chosen again.
    void jumpToNextStudent();
    void jumpToPreviousStudent();
    bool isAvailableNextStudent() const;
    bool isAvailablePreviousStudent() const;

    // --- Page queries and the review store (TeacherReviewStore.cpp) ---
    // Whether the page in use still holds a record that is not deleted.
    bool doesCurrentPageHaveActiveUGC() const;
    // Both make the page the page in use. Pen drawings come whatever their status;
    // deleted answers are left out.
    std::vector<std::shared_ptr<SDKPentoolVO>> getPenToolUGCForPageIdentifier(const std::string& pageIdentifier);
    std::vector<std::shared_ptr<SDKFIBVO>> getFIBUGCForPageIdentifier(const std::string& pageIdentifier);
    // Edits of the page in use; nothing happens without one or on a page without work.
    void addPenDrawing(const std::shared_ptr<SDKPentoolVO>&);
    // Replaces the earlier copy (same local id) on the page in use; a drawing the server
    // never saw is dropped instead, one it knows goes to the end of the list.
    void updatePenDrawing(const std::shared_ptr<SDKPentoolVO>&);
    // As updatePenDrawing; a known answer is marked changed.
    void updateFIBData(const std::shared_ptr<SDKFIBVO>&);
    std::shared_ptr<SDKFIBVO> getSDKFIBVOWithUgcId(const std::string& ugcID) const;
    std::shared_ptr<SDKFIBVO> getSDKFIBVOForLinkID(int64_t linkID) const;
    bool isEditingAllowedForLinkID(int64_t linkID) const;
    // Clearing marks records deleted (answers also lose text and comment); nothing leaves
    // its list, the save set decides what the server hears.
    void clearAllFIBsForPageID(const std::string& pageIdentifier);
    void clearAllPenDrawingsForPageID(const std::string& pageIdentifier);
    void clearAllFIBs();
    void clearAllPenDrawings();
    // Whether something is left to clear: an answer with text, a drawing not deleted.
    bool isFIBsAndPentoolAvailableOnPageID(const std::string& pageIdentifier) const;
    bool isFIBsAndPentoolAvailable() const;
    // The records to send on save, in page order, each record once: changed or cleared
    // answers, new drawings, erased drawings the server knows. Records a save already
    // carried are left out until they change again.
    TeacherReviewRecordList getAnotationToSave() const;
    // The service took these: erased records leave their lists, the rest are not sent
    // again unless edited.
    void didSaveAnotations(const TeacherReviewRecordList& saved);

    const std::shared_ptr<ui::TextField>& searchBar() const { return m_searchBar; }
    const std::shared_ptr<ui::TableView>& studentListTableView() const { return m_studentListTableView; }
    const std::shared_ptr<ui::Label>& noStudentLabel() const { return m_noStudentLabel; }
    const std::shared_ptr<ui::Switch>& annotationSwitch() const { return m_annotationSwitch; }

    // --- Table (TeacherReviewStudentTable.cpp) ---
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    static double rowHeight();

protected:
    TeacherReviewViewController();

private:
    std::weak_ptr<TeacherReviewViewController> weakSelf();
    // The learner a walk over the class list finds after the selected one; forward or
    // backward.
    std::optional<base::Value> learnerWithWorkBeside(bool forward) const;
    void selectLearner(const base::Value& record);
    void showFilteredStudents();
    TeacherReviewRecordList* listOfPageInUse();
    // Records a save carried, each with what it held then: left out of the next save
    // set while they still hold the same.
    struct SavedReviewRecord {
        std::shared_ptr<SDKUGCVO> record;
        base::Value state;
    };
    std::vector<SavedReviewRecord> m_savedRecords;
    bool isAlreadySaved(const std::shared_ptr<SDKUGCVO>&) const;
    void stopScheduledTimer();
    void reloadStudentTable();
    // Hands the learner to the owner on a background queue (when the owner listens).
    void fetchLearner(const std::string& name, const std::string& learnerID);
    void storeSubmittedWork(const base::Value& result);

    std::weak_ptr<TeacherReviewDelegate> m_delegate;
    std::map<std::string, base::Value> m_studentDataDict;
    base::Value::Dictionary m_studentIdArray;
    std::optional<base::Value::List> m_studentListArray;
    std::optional<base::Value::List> m_filteredStudentListArray;
    std::shared_ptr<base::Timer> m_scheduledTimer;
    // The chain found nobody left: the timer has nothing more to wait for.
    bool m_fetchChainFinished = false;

    std::shared_ptr<ui::TextField> m_searchBar;
    std::shared_ptr<ui::TableView> m_studentListTableView;
    std::shared_ptr<ui::Label> m_noStudentLabel;
    std::shared_ptr<ui::Switch> m_annotationSwitch;
    std::shared_ptr<ui::View> m_blackOverLay;
    std::shared_ptr<ui::ActivityIndicatorView> m_activityIndicator;
    // The panel's bars and search box, placed by their constraints.
    std::shared_ptr<ui::View> m_headerBar;
    std::shared_ptr<ui::View> m_classBar;
    std::shared_ptr<ui::View> m_firstSeparator;
    std::shared_ptr<ui::View> m_annotationsBar;
    std::shared_ptr<ui::View> m_secondSeparator;
    std::shared_ptr<ui::View> m_searchBox;
    // The panel's tap recognisers take every touch.
    std::shared_ptr<ui::GestureRecognizerDelegate> m_gestureDelegate;
};

} // namespace lectoro
