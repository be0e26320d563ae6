#pragma once

// Teacher review as the reader runs it: the class picker with the book's classes, the
// learner panel of the chosen class wired back to the reader, the fetch of each learner's
// work, the pages remembered on entry and returned to on exit, the two review bars and
// the saving overlay.
//
// Ownership: the feature holds the picker while it is shown and the panel from the choice
// of a class until the next choice or the reader's end. Every callback given to the
// picker and the panel holds the feature's owner, the panel and the picker weakly, so
// neither keeps the other (or the reader) alive. The feature is the panels'
// TeacherReviewDelegate; they hold it through teacherReviewDelegate(), which lapses with
// the feature.

#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewDelegate.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/Error.h"
#include "platform/base/Value.h"
#include "platform/ui/Constraint.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Label;
class View;
} // namespace ui

namespace lectoro {

class GenerateReportMailViewController;
class GenerateReportViewController;
class LXMVThemeVO;
class PenToolController;
class PenToolControllerDelegate;
class PlayerActionBarItem;
class PlayerActionTopBar;
class SDKFIBVO;
class TeacherAnnotationViewController;
class TeacherReviewClassListViewController;
class TeacherReviewPanelBridge;
class TeacherReviewReader;
class TeacherReportScreens;
class TeacherReviewViewController;
struct ReaderContext;

class ReaderTeacherReview final : public TeacherReviewDelegate {
public:
    // Review bar geometry: height and hidden offset 64 on a tablet, 54 elsewhere; shown
    // the bars overlap the reader view's edges by 0.4.
    static double reviewBarHeight();
    static constexpr double reviewBarShownOffset = 0.4;
    static constexpr double reviewBarEdgeOutset = 0.4;
    static constexpr double reviewBarSlideInDuration = 0.5;
    static constexpr double reviewBarSlideOutDuration = 0.4;

    ReaderTeacherReview(ReaderContext&, TeacherReviewReader&);
    ~ReaderTeacherReview() override;
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
    // The older, self-contained review panel, for a host that presents it itself.
    std::shared_ptr<TeacherAnnotationViewController> getTeacherAnnocationViewController() const;
    // This feature as the panels hold it: null once the feature is gone.
    std::weak_ptr<TeacherReviewDelegate> teacherReviewDelegate() const
    {
        return std::shared_ptr<TeacherReviewDelegate>(m_alive, const_cast<ReaderTeacherReview*>(this));
    }

    // --- Learners ---
    // The panel's fetch of one learner (any thread): the service call with the reader's
    // token, one repeat after a token renewal, the answer handed to that panel.
    void didSelectLearner(const std::string& learnerName, const std::string& learnerID) override;
    // The panel's choice of a learner with work (main thread).
    void setSelectedLearnerData(const base::Value& pages, const std::string& learnerID);

    // --- Review bars and the saving overlay (ReaderTeacherReviewBars.cpp) ---
    // Builds both bars unless either is up.
    void addTeacherAnnotationTopBar();
    void addTeacherReviewTopBarView();
    void addTeacherReviewBottomBarView();
    // Bars of other layouts, offered for a host's own review screen (the review itself
    // builds the two above): a phone top bar with the learner and the pages with work, a
    // phone bottom bar with the two pen colours, a tablet top bar with both.
    void addTeacherAnnotaionTopBarViewForIPhone();
    void addTeacherAnnotaionBottomBarViewForIPhone();
    void addTeacherAnnotaionTopBarViewForIPad();
    // On a turn of the device: the bottom bar (when the orientation really changed) and
    // the top bar are built again; the bottom bar keeps its selected item.
    void rebuildReviewBarsForOrientation(bool orientationChanged);
    void addIndicatorViewForTeacherReview();
    void removeIndicatorViewForTeacherReview();
    // Saves the records as the learner's review; the answer reaches the reader's
    // data-sync delegate.
    void didSelectDoneForTeacherReviewWithUpdatedAnotations(
        const TeacherReviewRecordList& records, const std::string& learnerID) override;
    void didSavedStudentAnotationSuccessfully();

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

    // --- A learner's work in the reader (ReaderTeacherReviewWork.cpp) ---
    bool isAnnotationEnabled() const;
    bool hasPenToolController() const { return m_penToolController != nullptr; }
    // Replaces the work under review with the learner's pages, hands it to the panel and
    // puts the renderer into review mode over the pages with work.
    void actionForSelectedLearnerData(const base::Value& pages, const std::string& learnerID);
    void drawTeacherReviewPenDrawingsOnPageNumber(const std::string& pageNumber);
    void drawTeacherReviewFIBOnPageNumber(const std::string& pageNumber);
    void drawTeacherReviewDropDownOnPageNumber(const std::string& pageNumber);
    // Draws the learner's work on one page again after an edit.
    void refreshTeacherReviewPage(int64_t pageNumber);
    void updateTeacherReviewUI();
    void enableDisableTeacherReviewControls();
    std::vector<std::string> getSortedPageArrayOfStudentSubmitedUgc() const;
    std::vector<std::string> getSortedFolioPagesArrayOfStudentSubmitedUgc() const;
    // 9: the page with work before those on screen; any other tag: the one after.
    void didClickOnPageButton(int tag);
    void didSelectNavigatePageButtonForTeacherReview(const std::string& pageNumber) override;
    // The renderer's page takes no touches while a learner pop-up is open over it.
    void didStudentPopUpOpen(bool open) override;
    // With one page on screen, whether it holds the learner's work; with two, yes.
    bool isLoadedPageContainsUGC() const;
    // The page with work that the first folio with work on screen stands for; nullopt
    // when no folio on screen has work.
    std::optional<std::string> getNextPageNumberToNavigateWithUGC() const;
    // The reader's own records of the pages on screen handed to the renderer again, for
    // the book open; another book id changes nothing.
    void updateUGCForBook(int64_t bookID);
    void updateUGCsOnPageNumber(const std::string& pageID, const std::string& displayNumber);
    // The review bar's page label; null without the review bar.
    std::shared_ptr<ui::Label> getTeacherViewPlayerActionBarItemLabelWithTag(int tag) const;
    bool doesCurrentPageHaveActiveUGC() const;
    const std::map<std::string, std::string>& studentFolioPagesUGCData() const { return m_studentFolioPagesUGCData; }
    const std::string& pageIdentifierForTeacherReview() const { return m_pageIdentifierForTeacherReview; }
    void setPageIdentifierForTeacherReview(const std::string& page) { m_pageIdentifierForTeacherReview = page; }
    // What the pen, the clearing of answers and answer entry reach the learner panel
    // through (TeacherReviewPanelBridge.h); the reader hands it out while review runs.
    std::shared_ptr<TeacherReviewPanelBridge> panelBridge() const { return m_panelBridge; }
    // The reader's active mode is teacher review (the panel outlives a review session).
    bool isReviewRunning() const;
    // The renderer's answer callbacks in review: changed answers go to the store; a
    // tapped comment icon opens the comment of its answers.
    void didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>&);
    void didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>&);

    // --- Teacher tools (ReaderTeacherReviewTools.cpp) ---
    // Makes the review pen on the first call after a learner is loaded, re-applies its
    // mode to the page on screen after that, and rebuilds the bars' state.
    void actionForTeacherReviewPageChanged();
    void didSelectPenTypeForTeacherReview() override;
    void didSelectPenColorForTeacherReview(const std::string& color) override;
    void didSelectEraserForTeacherReview() override;
    void didSelectDragBoxForTeacherReview() override;
    // The clear-all choice over the reader: the page on screen, every page, or cancel.
    void didSelectDeleteForTeacherReview() override;
    enum class ClearAllChoice { CurrentPage, AllPages, Cancel };
    void didChooseClearAllForTeacherReview(ClearAllChoice);
    void updatePentoolButtonStatus();
    void updateNextPrevStudentButtonStatus();
    std::shared_ptr<PlayerActionBarItem> getActionBarItemItemWithTag(int tag) const;
    const std::shared_ptr<PenToolController>& penToolController() const { return m_penToolController; }
    // The comment of the answers tapped: post writes it to each, delete clears it.
    void showNoteForTeacherCommentWithFib(const std::shared_ptr<SDKFIBVO>&);
    void postTeacherComment(const std::string& noteText);
    void deleteTeacherComment();
    void cancelTeacherComment();

    // --- Saving and the learner's submission (ReaderTeacherReviewSave.cpp) ---
    void saveTeacherReviewedDataWhenUseTapOnStudentname();
    void saveTeacherReviewedDataWhenUseTapOnStudentnameForAnnotations(
        const TeacherReviewRecordList& records, const std::string& learnerID);
    // Done: saves the panel's changes for the learner under review.
    void didSelectDoneForTeacherReview();
    void didFailedToSaveStudentAnotationWithError(const base::Error&);
    // Leaves review without saving and shows the learner panel again.
    void backToStudentList();
    void actionForSubmitAnotation();
    void didSubmitedAnotationSuccessfully();
    void didFailedToSubmitAnotationWithError(const base::Error&);
    // Next and previous learner save the learner under review first.
    void jumpToNextStudent();
    void jumpToPreviousStudent();

    // --- The markup report (ReaderTeacherReviewReport.cpp) ---
    // The report service's own address, whatever address the reader is configured with.
    static constexpr const char* defaultMicroServicesBaseURL = "https://microservices.lectoro.app";
    // Fetches the book's contents for the report's chapter choice (offline: an alert).
    void didTapOnGenerateReportButton();
    // The contents the last fetch brought, for the report's chapter choice.
    const std::optional<base::Value>& generateReportContents() const { return m_generateReportContents; }
    // The learners of the class under review, each once (first place kept), and which of
    // them handed in work ("1" under their id).
    base::Value::List generateReportLearners() const;
    base::Value getStatusDictionaryForStudents(const base::Value::List& learners) const;
    // The class id of the class with that title; empty when no class has it.
    std::string getClassIDFromCurrentClass(const std::string& classTitle) const;
    // Asks the report service to mail the chosen chapters' markup of the chosen learners.
    void requestMarkupReport(const base::Value& chapters, const std::string& emailID, const base::Value& learnerIDs);

    // --- The report's screens (ReaderTeacherReviewReportScreens.cpp) ---
    // The chapter and learner choice over the reader, with the parsed contents: a pop-over
    // of 550 by 650 without an arrow in the middle of the reader on a tablet, over the
    // current context elsewhere.
    void addGenerateReportViewController(const base::Value& contents);
    // Dismissed at once and forgotten.
    void removeGenerateReportVC();
    // The choice screen's answers.
    void didTapOnCancelForGenerateReport();
    void didTapOnBackForGenerateReport();
    // Keeps the choice ({"chapterID", "studentID"}), closes the choice screen and opens
    // the mail screen with the teacher's address (offline: an alert instead).
    void didTapOnNextToSendMailWithReportData(const base::Value& reportData);
    void didSelectChapterSegmentForGenerateReport() { }
    // The learners of the class under review and who handed in work, to the choice screen.
    void didSelectStudentSegmentForGenerateReport();
    // The mail screen's answers: Done closes it and asks for the report with the address.
    void didTapOnDoneForGenerateReportMail(const std::string& emailID);
    void didTapOnCancelForGenerateReportMail();
    const std::shared_ptr<GenerateReportViewController>& generateReportVC() const { return m_generateReportVC; }
    const std::shared_ptr<GenerateReportMailViewController>& mailVC() const { return m_mailVC; }
    const base::Value& generateReportData() const { return m_generateReportData; }

private:
    // Wraps the controller in a navigation controller without a bar and presents it over
    // the reader, animated.
    void presentController(const std::shared_ptr<ui::ViewController>&);
    void actionForTeacherReviewForLearner(const std::string& learnerName, const std::string& learnerID,
        std::weak_ptr<TeacherReviewViewController> panel, bool isRepeat);
    std::shared_ptr<PlayerActionTopBar> buildReviewBar(bool top);
    // The steps every review bar shares; `fill` puts its items in, before (`fillFirst`)
    // or after it joins the reader's view. The items with the tags are dimmed.
    struct ReviewBarLayout {
        bool top = true;
        bool fillFirst = false;
        double borderWidth = 1.0;
        std::vector<int> dimmedItems;
    };
    std::shared_ptr<PlayerActionTopBar> buildReviewBar(
        const ReviewBarLayout&, const std::function<void(PlayerActionTopBar&, const LXMVThemeVO&)>& fill);
    std::vector<int> pageButtonsToDim() const;
    std::vector<std::string> reviewPenColors() const;
    // The page label (12) between the previous (9) and next (8) page-with-work buttons,
    // in the top bar's leading group when the bar has room for them; updateTeacherReviewUI
    // writes and dims them.
    void addReviewPageItems(PlayerActionTopBar&, const LXMVThemeVO&);
    std::shared_ptr<ui::View> readerView() const;
    // The save call of Done and of the learner-name item; what follows a save that
    // succeeds.
    void sendTeacherReview(const TeacherReviewRecordList& records, const std::string& learnerID);
    void saveBeforeMovingToLearner(bool next);
    void endReviewWithoutSaving();
    void showSaveFailureDialog();
    void showAlert(const std::string& titleKey, const std::string& messageKey);
    // The session rule of a failed save or submission: true when it was handled (renewal
    // asked, or the session ended).
    bool handleExpiredSession(const base::Error&, std::function<void()> repeat, bool isRepeat);
    void setPenDrawing(bool enabled);
    void markItemSelected(const std::shared_ptr<PlayerActionBarItem>&, bool selected);
    void setItemEnabled(const std::shared_ptr<PlayerActionBarItem>&, bool enabled);
    void submitToService(bool isRepeat);
    void fetchReportContents(bool isRepeat);
    void sendMarkupReportRequest(const base::Value& chapters, const std::string& emailID, const base::Value& learnerIDs,
        bool isRepeat);
    // A failed report request: 401 renews once and repeats, else an alert.
    void reportRequestFailed(const base::Error&, bool isRepeat, std::function<void()> repeat);
    std::vector<std::string> activePageIDs() const;
    // The list that keeps the page's drop-downs alive while it is on screen, emptied.
    std::vector<std::shared_ptr<ui::View>>& holdReviewViewsOfPage(int64_t page);

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
    std::map<std::string, std::string> m_studentFolioPagesUGCData;
    std::string m_pageIdentifierForTeacherReview;
    // The drop-downs drawn on the pages on screen: the links keep them weakly and the
    // renderer only places what it can still reach.
    std::map<int64_t, std::vector<std::shared_ptr<ui::View>>> m_reviewPageViews;
    std::shared_ptr<PenToolController> m_penToolController;
    std::shared_ptr<PenToolControllerDelegate> m_penDelegate;
    // What the running save sends, and whether it is a repeat after a renewed session.
    TeacherReviewRecordList m_recordsBeingSaved;
    bool m_saveIsRepeat = false;
    bool m_submitIsRepeat = false;
    // After a learner-name save: the learner to open once it has succeeded (next or
    // previous), instead of the class picker.
    std::optional<bool> m_moveAfterSave;
    std::optional<base::Value> m_generateReportContents;
    // Callbacks handed out hold this weakly and do nothing once the feature is gone.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::shared_ptr<TeacherReviewPanelBridge> m_panelBridge;
    // The report's screens while shown, what the choice screen chose, and the object that
    // answers both screens for this feature (they hold it weakly).
    std::shared_ptr<GenerateReportViewController> m_generateReportVC;
    std::shared_ptr<GenerateReportMailViewController> m_mailVC;
    base::Value m_generateReportData;
    std::shared_ptr<TeacherReportScreens> m_reportScreens;
};

} // namespace lectoro
