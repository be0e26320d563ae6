#include "LectoroSDKWithReader/reader/ReaderTeacherReviewHost.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/pen/ClearAnswersRoad.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Presentation.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"

namespace lectoro {

namespace {

std::shared_ptr<ReaderViewController> sharedReader(ReaderViewController& reader)
{
    return std::static_pointer_cast<ReaderViewController>(reader.shared_from_this());
}

} // namespace

std::shared_ptr<ui::ViewController> ReaderTeacherReviewHost::presentingController()
{
    return m_reader.shared_from_this();
}

std::weak_ptr<PlayerActionDelegate> ReaderTeacherReviewHost::playerActionDelegate()
{
    return m_reader.playerActionDelegate();
}

std::weak_ptr<LectoroDataSyncingManagerDelegate> ReaderTeacherReviewHost::dataSyncDelegate()
{
    return std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(sharedReader(m_reader));
}

void ReaderTeacherReviewHost::moveTopAndBottomOffScreen()
{
    m_reader.moveTopAndBottomOffScreenWithIsAnimate(true);
}

void ReaderTeacherReviewHost::resetAllPlayerActionBar()
{
    m_reader.resetAllPlayerActionBar();
}

std::shared_ptr<PlayerActionBarItem> ReaderTeacherReviewHost::getPenToolItemWithTag(int tag)
{
    return m_reader.bars().getPenToolItemWithTag(tag);
}

void ReaderTeacherReviewHost::showSessionExpiredAlert()
{
    m_reader.showSessionExpiredAlert();
}

bool ReaderTeacherReviewHost::refreshUserTokenForExpiredToken(
    const std::string& expiredToken, std::function<void(bool renewed)> renewed)
{
    auto delegate = m_reader.delegate();
    if (!delegate || !delegate->respondsToRefreshUserToken())
        return false;
    std::weak_ptr<ReaderViewController> weak = sharedReader(m_reader);
    delegate->refreshUserTokenForUser(m_reader.user(), expiredToken,
        [weak, renewed = std::move(renewed)](std::shared_ptr<LectoroUser> user) {
            auto apply = [weak, renewed, user] {
                auto reader = weak.lock();
                if (!reader || reader->isCleared())
                    return;
                if (user)
                    reader->context().user = user;
                renewed(user != nullptr);
            };
            if (base::isMainThread())
                apply();
            else
                base::RunLoop::main().post(std::move(apply));
        });
    return true;
}

std::weak_ptr<const void> ReaderTeacherReviewHost::lifetimeToken()
{
    return m_reader.lifetimeToken();
}

std::string ReaderTeacherReviewHost::getPageNumberForDisplayNumber(const std::string& displayNumber)
{
    return m_reader.navigation().getPageNumberForDisplayNumber(displayNumber);
}

double ReaderTeacherReviewHost::getLastUpdatedPenThickness()
{
    return m_reader.annotations().getLastUpdatedPenThickness();
}

void ReaderTeacherReviewHost::relaodPageUGCForActivePages()
{
    m_reader.annotations().relaodPageUGCForActivePages();
}

void ReaderTeacherReviewHost::updateClearAllFIBsButtonStatus()
{
    m_reader.annotations().updateClearAllFIBsButtonStatus();
}

std::shared_ptr<PenToolControllerDelegate> ReaderTeacherReviewHost::reviewPenDelegate()
{
    return m_reader.penRoad().penToolControllerDelegate();
}

// The comment is edited as a stand-in note carrying the answer's id; what the editor hands
// back goes to teacher review, which writes it to the answers that were tapped.
bool ReaderTeacherReviewHost::presentTeacherCommentEditor(const std::string& ugcID, const std::string& comment)
{
    auto note = std::make_shared<SDKHighlightVO>();
    note->ugcID = ugcID;
    note->isTeacherReviewNote = true;
    note->noteText = comment;

    auto& context = m_reader.context();
    auto editor = m_reader.noteRoad().instantiateStickyNoteSViewController();
    if (!editor)
        return false;
    editor->setCurrentUser(context.user);
    editor->setUserSettingsModel(context.settings);
    editor->setIsAudioSearchNoteEnabled(context.isAudioSearchNoteEnabled);
    editor->setCurrentHighlightVO(note);
    std::weak_ptr<const void> alive = m_reader.lifetimeToken();
    ReaderViewController* reader = &m_reader;
    editor->setNotePostAction([alive, reader](std::shared_ptr<SDKHighlightVO> edited) {
        if (!alive.expired())
            reader->teacherReview().postTeacherComment(edited ? edited->noteText.str() : std::string());
    });
    editor->setNoteCancelAction([alive, reader](std::shared_ptr<SDKHighlightVO>) {
        if (!alive.expired())
            reader->teacherReview().cancelTeacherComment();
    });
    editor->setNoteDeleteAction([alive, reader](std::shared_ptr<SDKHighlightVO>) {
        if (!alive.expired())
            reader->teacherReview().deleteTeacherComment();
    });
    editor->setTheme(context.theme);

    const bool pad = ui::Environment::current().isPad();
    editor->setModalPresentationStyle(
        pad ? ui::ModalPresentationStyle::OverCurrentContext : ui::ModalPresentationStyle::OverFullScreen);
    if (pad)
        editor->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    std::shared_ptr<ui::ViewController> presenter = presentingController();
    if (presenter && presenter->navigationController())
        presenter = presenter->navigationController();
    if (!presenter)
        return false;
    presenter->presentViewController(editor, true);
    editor->showShareButton(false);
    return true;
}

bool ReaderTeacherReviewHost::clearLearnerWork(bool currentPageOnly)
{
    auto& road = m_reader.clearAnswersRoad();
    if (currentPageOnly) {
        road.clearAllFIBs();
        road.clearAllPenDrawings();
    } else {
        road.clearAllPageFIBs();
        road.clearAllPagePenDrawings();
    }
    return true;
}

void ReaderTeacherReviewHost::showHelpScreenForTeacherReview()
{
    m_reader.chrome().help().showHelpScreenForTeacherReview();
}

void ReaderTeacherReviewHost::adoptAnswerField(MVFIB& field)
{
    m_reader.interactiveContent().answers().adoptField(field);
}

bool ReaderTeacherReviewHost::isMathKeyboardEnabled(const PXLinkVO& link)
{
    return m_reader.interactiveContent().answers().isMathKeyboardEnabled(link);
}

void ReaderTeacherReviewHost::adoptEquationView(FIBMathEquationView& view, const MVFIB& field)
{
    m_reader.interactiveContent().answers().adoptEquationView(view, field);
}

void ReaderTeacherReviewHost::compareAndShowInstantFeedbackForDropDownLink(const PXLinkVO& link, const SDKFIBVO& answer)
{
    m_reader.interactiveContent().answers().compareAndShowInstantFeedbackForDropDownLink(link, answer, true);
}

void ReaderTeacherReviewHost::didTapOnSubmittedDropDown(const std::shared_ptr<MarkupView>& box)
{
    m_reader.interactiveContent().answers().didTapOnSubmittedDropDown(box);
}

// MARK: - The review save's answers, as the reader's data-sync delegate hears them

void ReaderViewController::didSavedStudentAnotationSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) { self.m_teacherReview->didSavedStudentAnotationSuccessfully(); });
}

void ReaderViewController::didFailedToSaveStudentAnotationWithError(const base::Error& error)
{
    answerOnMainQueue(
        [error](ReaderViewController& self) { self.m_teacherReview->didFailedToSaveStudentAnotationWithError(error); });
}

void ReaderViewController::didSubmitedAnotationSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) { self.m_teacherReview->didSubmitedAnotationSuccessfully(); });
}

void ReaderViewController::didFailedToSubmitAnotationWithError(const base::Error& error)
{
    answerOnMainQueue(
        [error](ReaderViewController& self) { self.m_teacherReview->didFailedToSubmitAnotationWithError(error); });
}

} // namespace lectoro
