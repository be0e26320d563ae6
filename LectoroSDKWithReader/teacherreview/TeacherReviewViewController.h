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
    std::optional<base::Value> studentPageUGCDictionary;
    std::optional<std::string> selectedClassName;
    bool isAnnotationEnabled = false;
    std::optional<base::Value> studentSubmittedPageArray;
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
    void viewDidLayoutSubviews() override;
    void setUpPanelViews();
    void setUpStudentTableView();
    void annotationSwitchChanged(ui::Switch&);
    void mainViewTapped() { }
    void showStudentList(bool show);
    void backButtonTapped() { closeViewController(); }
    // The owner hears of it once the panel has left the screen.
    void changeClassButtonTapped();
    void closeViewController();
    // Learner search arrives with its own screen work; until then every edit lists the
    // whole class.
    void textFieldEditingDidChange(ui::TextField&) { }

    // The learner's position in the whole class for the review bar: the count, or -1 for
    // no list; the 1-based index of the selected learner, or -1.
    int getStudentCount() const;
    int getStudentIndex() const;

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
    void stopScheduledTimer();
    void reloadStudentTable();
    // Hands the learner to the owner on a background queue (when the owner listens).
    void fetchLearner(const std::string& name, const std::string& learnerID);
    void storeSubmittedWork(const base::Value& result);
    // Places the panel's views from their constants (nothing solves the constraints).
    void layoutPanelFrames();

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
    // Views placed by layoutPanelFrames.
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
