#pragma once

// What answer entry asks of teacher review while a teacher reviews a learner's work
// (active mode 6): the learner panel's answer records and the reader's review redraws.
// Teacher review installs one (InteractiveAnswers::setAnswerReview); without one, review
// answers go nowhere and nothing is redrawn.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class SDKFIBVO;

class AnswerReview {
public:
    virtual ~AnswerReview() = default;

    // The learner panel. False while no panel is open (the records then go nowhere).
    virtual bool hasLearnerPanel() const = 0;
    // The learner's answers of a page, deleted ones left out.
    virtual std::vector<std::shared_ptr<SDKFIBVO>> getFIBUGCForPageIdentifier(
        const std::string& pageIdentifier)
        = 0;
    // Replaces the answer with the same local or server id in the learner's page data.
    virtual void updateFIBData(std::shared_ptr<SDKFIBVO>) = 0;
    // The learner's answer for the link over all pages, or null.
    virtual std::shared_ptr<SDKFIBVO> getSDKFIBVOForLinkID(int64_t linkID) = 0;
    virtual void setSelectedFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>&) = 0;

    // The reader's review drawing.
    virtual void drawTeacherReviewDropDownOnPageNumber(int64_t pageID) = 0;
    virtual void drawTeacherReviewFIBOnPageNumber(int64_t pageNumber) = 0;
    virtual void refreshTeacherReviewPage(int64_t pageNumber) = 0;
    virtual void showNoteForTeacherCommentWithFib(std::shared_ptr<SDKFIBVO>) = 0;
};

} // namespace lectoro
