#pragma once

// What the review panels and bars ask of the reader's teacher review: a learner's work
// fetched, the review saved, a page with work opened, the review pen's tools, and whether
// a learner pop-up covers the page. The reader's teacher-review feature implements it;
// the learner panel holds it weakly.

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class SDKUGCVO;

class TeacherReviewDelegate {
public:
    virtual ~TeacherReviewDelegate() = default;

    // Fetches one learner's submitted work for the learner panel (any thread).
    virtual void didSelectLearner(const std::string& learnerName, const std::string& learnerID) = 0;
    // Saves the records as the learner's review and ends review once saved.
    virtual void didSelectDoneForTeacherReviewWithUpdatedAnotations(
        const std::vector<std::shared_ptr<SDKUGCVO>>& records, const std::string& learnerID)
        = 0;
    // The page takes no touches while a learner pop-up is open over it.
    virtual void didStudentPopUpOpen(bool open) = 0;
    virtual void didSelectNavigatePageButtonForTeacherReview(const std::string& pageNumber) = 0;
    // The review pen's tools.
    virtual void didSelectPenTypeForTeacherReview() = 0;
    virtual void didSelectPenColorForTeacherReview(const std::string& color) = 0;
    virtual void didSelectEraserForTeacherReview() = 0;
    virtual void didSelectDragBoxForTeacherReview() = 0;
    virtual void didSelectDeleteForTeacherReview() = 0;
};

} // namespace lectoro
