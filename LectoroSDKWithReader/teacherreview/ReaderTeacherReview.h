#pragma once

// Teacher review as the reader shell calls it. Review itself arrives with the
// teacher-review subsystem; until then it is never entered, so a learner's work is
// never drawn.

#include <string>

namespace lectoro {

struct ReaderContext;

class ReaderTeacherReview {
public:
    explicit ReaderTeacherReview(ReaderContext&);

    bool isAnnotationEnabled() const { return false; }
    bool hasPenToolController() const { return false; }

    void drawTeacherReviewPenDrawingsOnPageNumber(const std::string& pageNumber);
    void drawTeacherReviewFIBOnPageNumber(const std::string& pageNumber);
    void drawTeacherReviewDropDownOnPageNumber(const std::string& pageNumber);
    void actionForTeacherReviewPageChanged();
    void updateTeacherReviewUI();

    // Without a review panel no page holds a learner's content.
    bool doesCurrentPageHaveActiveUGC() const { return false; }

    // Toolbar actions (the dispatcher reaches them by bar and item tag). Review arrives
    // with the teacher-review subsystem; until then none of these has a class, a learner
    // or a review panel to act on.
    void actionForTeacherReview() { }
    void actionForSubmitAnotation() { }
    void didSelectEraserForTeacherReview() { }
    void didSelectDeleteForTeacherReview() { }
    // Hands the reviewed learner's page content to the panel and saves what it reports
    // changed: before switching learner, and on Done.
    void saveTeacherReviewedDataWhenUseTapOnStudentname() { }
    void didSelectDoneForTeacherReview() { }
    // 9: the learner's submitted page before the first visible one; any other value: after.
    void didClickOnPageButton(int) { }
    void backToStudentList() { }
    void didSelectPenColorForTeacherReview(const std::string&) { }
    void didSelectDragBoxForTeacherReview() { }
    void didTapOnGenerateReportButton() { }
    void jumpToNextStudent() { }
    void jumpToPreviousStudent() { }

private:
    ReaderContext& m_context;
};

} // namespace lectoro
