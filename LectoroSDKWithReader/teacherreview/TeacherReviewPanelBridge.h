#pragma once

// Teacher review as the pen, the clearing of answers and answer entry see it: one object
// answers both ReviewAnnotationPanel (handed out by the reader's annotations host while
// review runs) and AnswerReview (installed, weakly, in interactive content's answers).
// Every request goes to the learner panel of ReaderTeacherReview, so a stroke, an erase, a
// clear and an edited answer all land in the one store Done saves from.
//
// Owned by ReaderTeacherReview; once that is gone (detach) every call is a no-op, so a
// weak holder that locks the bridge late finds nothing to touch.

#include "LectoroSDKWithReader/annotations/pen/ReviewAnnotationPanel.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerReview.h"

#include <memory>

namespace lectoro {

class ReaderTeacherReview;
class TeacherReviewViewController;

class TeacherReviewPanelBridge final : public ReviewAnnotationPanel, public AnswerReview {
public:
    explicit TeacherReviewPanelBridge(ReaderTeacherReview& review)
        : m_review(&review)
    {
    }
    void detach() { m_review = nullptr; }

    // --- ReviewAnnotationPanel ---
    std::optional<std::string> pageIdentifierForTeacherReview() const override;
    void setPageIdentifierForTeacherReview(const std::string&) override;
    base::Value teacherAnnotationData() const override;
    std::string selectLearnerIDForTeacherReview() const override;
    void setSelectedPageIdentifier(const std::string&) override;
    // The panel already holds the learner's records as live objects (the reader draws
    // them); rebuilding them from the fetched data would throw away the review's edits.
    void setStudentPageUGCDictionary(const base::Value&) override { }
    void setSelectedLearnerID(const std::string&) override;
    void addPenDrawing(std::shared_ptr<SDKPentoolVO>) override;
    void updatePenDrawing(std::shared_ptr<SDKPentoolVO>) override;
    bool isFIBsAndPentoolAvailable() override;
    bool isAnnotationEnabled() override;
    void clearAllFIBsForPageID(const std::string& pageID) override;
    void clearAllFIBs() override;
    void clearAllPenDrawingsForPageID(const std::string& pageID) override;
    void clearAllPenDrawings() override;
    void drawTeacherReviewFIBOnPageNumber(int64_t pageNumber) override;
    void drawTeacherReviewDropDownOnPageNumber(int64_t pageNumber) override;
    void drawTeacherReviewPenDrawingsOnPageNumber(int64_t pageNumber) override;
    void didSelectPenColorForTeacherReview(const std::string& hexColor) override;

    // --- AnswerReview ---
    bool hasLearnerPanel() const override;
    std::vector<std::shared_ptr<SDKFIBVO>> getFIBUGCForPageIdentifier(const std::string& pageIdentifier) override;
    void updateFIBData(std::shared_ptr<SDKFIBVO>) override;
    std::shared_ptr<SDKFIBVO> getSDKFIBVOForLinkID(int64_t linkID) override;
    void setSelectedFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>&) override;
    void refreshTeacherReviewPage(int64_t pageNumber) override;
    void showNoteForTeacherCommentWithFib(std::shared_ptr<SDKFIBVO>) override;

private:
    TeacherReviewViewController* panel() const;
    bool reviewing() const;

    ReaderTeacherReview* m_review;
};

} // namespace lectoro
