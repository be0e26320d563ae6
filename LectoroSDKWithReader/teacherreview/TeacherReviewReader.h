#pragma once

// What teacher review needs of the reader beyond the shared ReaderContext: the reader as
// the presenting controller and bar delegate, its bars, its session-expiry handling and
// its host's token renewal. The reader implements it; tests can stand in for it.

#include <functional>
#include <memory>
#include <string>

namespace ui {
class ViewController;
}

namespace lectoro {

class FIBMathEquationView;
class LectoroDataSyncingManagerDelegate;
class MarkupView;
class MVFIB;
class PenToolControllerDelegate;
class PXLinkVO;
class SDKFIBVO;
class PlayerActionBarItem;
class PlayerActionDelegate;

class TeacherReviewReader {
public:
    virtual ~TeacherReviewReader() = default;

    // The reader as the controller that presents the picker and the learner panel.
    virtual std::shared_ptr<ui::ViewController> presentingController() = 0;
    // The reader as its bars' delegate, and as the data-sync manager's delegate.
    virtual std::weak_ptr<PlayerActionDelegate> playerActionDelegate() = 0;
    virtual std::weak_ptr<LectoroDataSyncingManagerDelegate> dataSyncDelegate() = 0;
    // Slides the reader's own top and bottom bars off screen, animated.
    virtual void moveTopAndBottomOffScreen() = 0;
    virtual void resetAllPlayerActionBar() = 0;
    // The first tappable item with the tag on the review (or pen-tool) bars; null for none.
    virtual std::shared_ptr<PlayerActionBarItem> getPenToolItemWithTag(int tag) = 0;
    virtual void showSessionExpiredAlert() = 0;
    // Asks the host for a fresh token for the reader's user. False when the host offers no
    // renewal (nothing is asked then). Otherwise `renewed` runs once on the main queue,
    // after the reader has taken the renewed user, with whether a user came back.
    virtual bool refreshUserTokenForExpiredToken(const std::string& expiredToken, std::function<void(bool renewed)>) = 0;
    // Work bound to this token is dropped once the reader is cleared or gone.
    virtual std::weak_ptr<const void> lifetimeToken() = 0;

    // --- What a learner's work and the review tools use of the reader; the defaults are
    // what a reader without that service answers ---
    // The book's page number for a printed folio (the folio itself when the book has none).
    virtual std::string getPageNumberForDisplayNumber(const std::string& displayNumber) { return displayNumber; }
    // The stored thickness of the pen.
    virtual double getLastUpdatedPenThickness() { return 4.0; }
    // Closes the pen colour palette when it is open.
    virtual void closePenColorPalette() { }
    // The reader's own records of the pages on screen, drawn again; the clear-all item's
    // state after a submission.
    virtual void relaodPageUGCForActivePages() { }
    virtual void updateClearAllFIBsButtonStatus() { }
    // Opens the note editor on a teacher's comment; its post, delete and cancel reach
    // ReaderTeacherReview's postTeacherComment, deleteTeacherComment, cancelTeacherComment.
    // False when the reader has no editor to show.
    virtual bool presentTeacherCommentEditor(const std::string& /*ugcID*/, const std::string& /*comment*/)
    {
        return false;
    }
    // The delegate of the review pen: the reader's own pen road, which hands strokes to
    // the learner panel while review runs. Null: teacher review files them itself.
    virtual std::shared_ptr<PenToolControllerDelegate> reviewPenDelegate() { return nullptr; }
    // Clears the learner's answers and drawings of the pages on screen (or of every page)
    // through the reader's clearing road, which redraws them. False: no road, teacher
    // review clears through its panel itself.
    virtual bool clearLearnerWork(bool /*currentPageOnly*/) { return false; }
    // The help overlay of teacher review, when its shown-once flag still allows it.
    virtual void showHelpScreenForTeacherReview() { }

    // --- The learner's answers on the page, through the reader's answer entry ---
    // The field answers to the reader, with the book's keyboard rule.
    virtual void adoptAnswerField(MVFIB&) { }
    // Whether an equation answer of the link shows beside its field.
    virtual bool isMathKeyboardEnabled(const PXLinkVO&) { return false; }
    // The equation view answers to the reader, in the colour of its answer.
    virtual void adoptEquationView(FIBMathEquationView&, const MVFIB&) { }
    // A drop-down coloured as the learner's answer was right or wrong.
    virtual void compareAndShowInstantFeedbackForDropDownLink(const PXLinkVO&, const SDKFIBVO&) { }
    // A tap on a drop-down that holds the learner's answer.
    virtual void didTapOnSubmittedDropDown(const std::shared_ptr<MarkupView>&) { }
};

} // namespace lectoro
