#pragma once

// Teacher review as the reader runs it: the class picker with the book's classes, the
// learner panel of the chosen class wired back to the reader, the fetch of each learner's
// work, the pages remembered on entry and returned to on exit, the two review bars and
// the saving overlay.
//
// Ownership: the feature holds the picker while it is shown and the panel from the choice
// of a class until the next choice or the reader's end. Every callback given to the
// picker and the panel holds the feature's owner, the panel and the picker weakly, so
// neither keeps the other (or the reader) alive.

#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "platform/base/Value.h"
#include "platform/ui/Constraint.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class View;
}

namespace lectoro {

class PlayerActionTopBar;
class TeacherReviewClassListViewController;
class TeacherReviewReader;
class TeacherReviewViewController;
struct ReaderContext;

class ReaderTeacherReview {
public:
    // Review bar geometry: height and hidden offset 64 on a tablet, 54 elsewhere; shown
    // the bars overlap the reader view's edges by 0.4.
    static double reviewBarHeight();
    static constexpr double reviewBarShownOffset = 0.4;
    static constexpr double reviewBarEdgeOutset = 0.4;
    static constexpr double reviewBarSlideInDuration = 0.5;
    static constexpr double reviewBarSlideOutDuration = 0.4;

    ReaderTeacherReview(ReaderContext&, TeacherReviewReader&);
    ~ReaderTeacherReview();
    ReaderTeacherReview(const ReaderTeacherReview&) = delete;
    ReaderTeacherReview& operator=(const ReaderTeacherReview&) = delete;

    // --- Entry and exit ---
    // Opens the class picker over the reader with the book's classes from the local store.
    void actionForTeacherReview();
    // A class was chosen: a new learner panel for it, wired to the reader, presented.
    void actionForTeacherReviewLearnerList(const std::string& classTitle, const base::Value& studentList);
    // The picker or the panel closed without a choice.
    void removeAnnotationController();
    // Mode 0, the panel dismissed, the review bars slid out and dropped.
    void removeTeacherAnnotation();
    // Back to the first page shown when review was entered.
    void loadPagesBeforeTeacherReview();

    // --- Learners ---
    // The panel's fetch of one learner (any thread): the service call with the reader's
    // token, one repeat after a token renewal, the answer handed to that panel.
    void didSelectLearner(const std::string& learnerName, const std::string& learnerID);
    // The panel's choice of a learner with work (main thread).
    void setSelectedLearnerData(const base::Value& pages, const std::string& learnerID);

    // --- Review bars and the saving overlay (ReaderTeacherReviewBars.cpp) ---
    // Builds both bars unless either is up.
    void addTeacherAnnotationTopBar();
    void addTeacherReviewTopBarView();
    void addTeacherReviewBottomBarView();
    // On a turn of the device: the bottom bar (when the orientation really changed) and
    // the top bar are built again; the bottom bar keeps its selected item.
    void rebuildReviewBarsForOrientation(bool orientationChanged);
    void addIndicatorViewForTeacherReview();
    void removeIndicatorViewForTeacherReview();
    // Saves the records as the learner's review; the answer reaches the reader's
    // data-sync delegate.
    void didSelectDoneForTeacherReviewWithUpdatedAnotations(const base::Value& records, const std::string& learnerID);
    void didSavedStudentAnotationSuccessfully();
    void didFailedToSaveStudentAnotationWithError();

    // --- State, as the reader and the tests read it ---
    const std::shared_ptr<TeacherReviewViewController>& teacherAnnotationController() const
    {
        return m_teacherAnnotationController;
    }
    const std::shared_ptr<TeacherReviewClassListViewController>& classListController() const { return m_classPicker; }
    const std::vector<RendererPage>& activePageBeforeStudentReviewMode() const
    {
        return m_activePageBeforeStudentReviewMode;
    }
    const ui::ConstraintPtr& topConstOfTeacherReview() const { return m_topConstOfTeacherReview; }
    const ui::ConstraintPtr& bottomConstOfTeacherReview() const { return m_bottomConstOfTeacherReview; }
    const std::shared_ptr<ui::View>& activityViewForTeacherReview() const { return m_activityViewForTeacherReview; }
    bool doneButtonSelectedForTeacherReview() const { return m_doneButtonSelectedForTeacherReview; }
    // The learner under review and that learner's page list, as chosen in the panel.
    const std::optional<std::string>& selectLearnerIDForTeacherReview() const { return m_selectedLearnerID; }
    const base::Value& selectedLearnerData() const { return m_selectedLearnerData; }

    // --- What a page load asks of review (the learner's work is drawn by its own feature) ---
    bool isAnnotationEnabled() const;
    bool hasPenToolController() const { return false; }
    void drawTeacherReviewPenDrawingsOnPageNumber(const std::string& pageNumber);
    void drawTeacherReviewFIBOnPageNumber(const std::string& pageNumber);
    void drawTeacherReviewDropDownOnPageNumber(const std::string& pageNumber);
    void actionForTeacherReviewPageChanged();
    void updateTeacherReviewUI();
    // No page queries of the learner's work yet: no page holds a learner's content.
    bool doesCurrentPageHaveActiveUGC() const { return false; }

    // --- Toolbar actions not built yet (the teacher's tools, saving and moving between
    // learners arrive with their own work) ---
    void actionForSubmitAnotation() { }
    void didSelectEraserForTeacherReview() { }
    void didSelectDeleteForTeacherReview() { }
    void saveTeacherReviewedDataWhenUseTapOnStudentname() { }
    // Done: saves the panel's changes (none are recorded yet) for the learner under review.
    void didSelectDoneForTeacherReview();
    // 9: the learner's submitted page before the first visible one; any other value: after.
    void didClickOnPageButton(int) { }
    void backToStudentList() { }
    void didSelectPenColorForTeacherReview(const std::string&) { }
    void didSelectDragBoxForTeacherReview() { }
    void didTapOnGenerateReportButton() { }
    void jumpToNextStudent() { }
    void jumpToPreviousStudent() { }

private:
    // Wraps the controller in a navigation controller without a bar and presents it over
    // the reader, animated.
    void presentController(const std::shared_ptr<ui::ViewController>&);
    void actionForTeacherReviewForLearner(const std::string& learnerName, const std::string& learnerID,
        std::weak_ptr<TeacherReviewViewController> panel, bool isRepeat);
    std::shared_ptr<PlayerActionTopBar> buildReviewBar(bool top);
    // Frames of the review bars from their constraints' constants.
    void placeReviewBars();
    std::shared_ptr<ui::View> readerView() const;

    ReaderContext& m_context;
    TeacherReviewReader& m_reader;
    std::shared_ptr<TeacherReviewClassListViewController> m_classPicker;
    std::shared_ptr<TeacherReviewViewController> m_teacherAnnotationController;
    std::vector<RendererPage> m_activePageBeforeStudentReviewMode;
    ui::ConstraintPtr m_topConstOfTeacherReview;
    ui::ConstraintPtr m_bottomConstOfTeacherReview;
    std::shared_ptr<ui::View> m_activityViewForTeacherReview;
    bool m_doneButtonSelectedForTeacherReview = false;
    std::optional<std::string> m_selectedLearnerID;
    base::Value m_selectedLearnerData;
    // Callbacks handed out hold this weakly and do nothing once the feature is gone.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace lectoro
