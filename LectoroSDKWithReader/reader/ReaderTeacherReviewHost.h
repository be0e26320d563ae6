#pragma once

// The reader as teacher review sees it (TeacherReviewReader), forwarding to the controller.

#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"

namespace lectoro {

class ReaderViewController;

class ReaderTeacherReviewHost final : public TeacherReviewReader {
public:
    // The reader must outlive the host.
    explicit ReaderTeacherReviewHost(ReaderViewController& reader)
        : m_reader(reader)
    {
    }

    std::shared_ptr<ui::ViewController> presentingController() override;
    std::weak_ptr<PlayerActionDelegate> playerActionDelegate() override;
    std::weak_ptr<LectoroDataSyncingManagerDelegate> dataSyncDelegate() override;
    void moveTopAndBottomOffScreen() override;
    void resetAllPlayerActionBar() override;
    std::shared_ptr<PlayerActionBarItem> getPenToolItemWithTag(int tag) override;
    void showSessionExpiredAlert() override;
    bool refreshUserTokenForExpiredToken(const std::string& expiredToken, std::function<void(bool renewed)>) override;
    std::weak_ptr<const void> lifetimeToken() override;
    std::string getPageNumberForDisplayNumber(const std::string& displayNumber) override;
    double getLastUpdatedPenThickness() override;
    void relaodPageUGCForActivePages() override;
    void updateClearAllFIBsButtonStatus() override;
    bool presentTeacherCommentEditor(const std::string& ugcID, const std::string& comment) override;
    std::shared_ptr<PenToolControllerDelegate> reviewPenDelegate() override;
    bool clearLearnerWork(bool currentPageOnly) override;
    void showHelpScreenForTeacherReview() override;
    void adoptAnswerField(MVFIB&) override;
    bool isMathKeyboardEnabled(const PXLinkVO&) override;
    void adoptEquationView(FIBMathEquationView&, const MVFIB&) override;
    void compareAndShowInstantFeedbackForDropDownLink(const PXLinkVO&, const SDKFIBVO&) override;
    void didTapOnSubmittedDropDown(const std::shared_ptr<MarkupView>&) override;

private:
    ReaderViewController& m_reader;
};

} // namespace lectoro
