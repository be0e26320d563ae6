// Saving the review (Done, the learner-name item, and before moving to another learner),
// leaving review without saving, and the learner's own submission.
//
// A save whose session expired renews the token once and repeats once; a second expiry,
// or nobody able to renew, ends the session with the overlay removed.

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "platform/base/Strings.h"
#include "platform/ui/AlertController.h"

namespace lectoro {

namespace {

std::string upperCased(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

// MARK: - Sending the review

void ReaderTeacherReview::didSelectDoneForTeacherReview()
{
    if (!m_teacherAnnotationController || !m_teacherAnnotationController->selectedLearnerID)
        return;
    didSelectDoneForTeacherReviewWithUpdatedAnotations(
        m_teacherAnnotationController->getAnotationToSave(), *m_teacherAnnotationController->selectedLearnerID);
}

void ReaderTeacherReview::didSelectDoneForTeacherReviewWithUpdatedAnotations(
    const TeacherReviewRecordList& records, const std::string& learnerID)
{
    m_doneButtonSelectedForTeacherReview = true;
    m_moveAfterSave.reset();
    m_saveIsRepeat = false;
    sendTeacherReview(records, learnerID);
}

void ReaderTeacherReview::saveTeacherReviewedDataWhenUseTapOnStudentname()
{
    if (!m_teacherAnnotationController || !m_teacherAnnotationController->selectedLearnerID)
        return;
    m_moveAfterSave.reset();
    saveTeacherReviewedDataWhenUseTapOnStudentnameForAnnotations(
        m_teacherAnnotationController->getAnotationToSave(), *m_teacherAnnotationController->selectedLearnerID);
}

void ReaderTeacherReview::saveTeacherReviewedDataWhenUseTapOnStudentnameForAnnotations(
    const TeacherReviewRecordList& records, const std::string& learnerID)
{
    m_doneButtonSelectedForTeacherReview = false;
    m_saveIsRepeat = false;
    sendTeacherReview(records, learnerID);
}

void ReaderTeacherReview::sendTeacherReview(const TeacherReviewRecordList& records, const std::string& learnerID)
{
    m_recordsBeingSaved = records;
    addIndicatorViewForTeacherReview();
    if (!m_context.dataSyncManager) {
        // Nothing can carry the save: report it as the failure it is.
        didFailedToSaveStudentAnotationWithError(base::Error::make("TeacherReview", 0, "No sync client"));
        return;
    }
    base::Value::List annotation;
    for (const auto& record : records) {
        if (record)
            annotation.push_back(record->toUGCDictionary());
    }
    m_context.dataSyncManager->saveTeacherAnnotationsForAnnotation(base::Value(std::move(annotation)), learnerID,
        m_context.bookID, m_reader.dataSyncDelegate(), m_context.user ? m_context.user->userToken : std::string());
}

// MARK: - The save's answer

void ReaderTeacherReview::didSavedStudentAnotationSuccessfully()
{
    // What the service now holds is not sent again.
    if (m_teacherAnnotationController)
        m_teacherAnnotationController->didSaveAnotations(m_recordsBeingSaved);
    m_recordsBeingSaved.clear();
    m_saveIsRepeat = false;
    auto renderer = m_context.renderer;
    if (renderer)
        renderer->disableTeacherReviewMode();

    if (!m_doneButtonSelectedForTeacherReview) {
        removeIndicatorViewForTeacherReview();
        m_context.activeMode = ReaderActiveModeNone;
        if (renderer && renderer->isViewLoaded())
            renderer->view()->setUserInteractionEnabled(true);
        if (auto next = m_moveAfterSave) {
            m_moveAfterSave.reset();
            if (m_teacherAnnotationController) {
                if (*next)
                    m_teacherAnnotationController->jumpToNextStudent();
                else
                    m_teacherAnnotationController->jumpToPreviousStudent();
            }
            return;
        }
        actionForTeacherReview();
        return;
    }

    m_doneButtonSelectedForTeacherReview = false;
    m_context.activeMode = ReaderActiveModeNone;
    if (renderer)
        renderer->setPenDrawingModeEnabled(false);
    m_penToolController.reset();
    if (renderer && renderer->isViewLoaded())
        renderer->view()->setUserInteractionEnabled(true);
    removeTeacherAnnotation();
    removeIndicatorViewForTeacherReview();
    std::weak_ptr<int> alive = m_alive;
    AlertView::sharedManager().presentAlertWithTitle({}, teacherReviewLocalizedString("DATA_SUBMITTED_SUCCESSFULLY"),
        std::vector<std::string> { "Ok" }, m_reader.presentingController(), [this, alive](int64_t, const std::string&) {
            if (!alive.expired())
                loadPagesBeforeTeacherReview();
        });
}

bool ReaderTeacherReview::handleExpiredSession(const base::Error& error, std::function<void()> repeat, bool isRepeat)
{
    if (!isExpiredSessionError(error))
        return false;
    const bool autoLogin = m_context.settings && m_context.settings->isAutoLoginEnabled();
    auto endSession = [this] {
        removeIndicatorViewForTeacherReview();
        m_reader.showSessionExpiredAlert();
    };
    // One renewal and one repeat: a renewed token refused again ends the session.
    if (isRepeat || !autoLogin) {
        endSession();
        return true;
    }
    std::weak_ptr<int> alive = m_alive;
    const std::string expiredToken = error.userInfo["expiredToken"].asString().value_or(
        m_context.user ? m_context.user->userToken : std::string());
    bool asked = m_reader.refreshUserTokenForExpiredToken(
        expiredToken, [alive, repeat = std::move(repeat), endSession](bool renewed) {
            if (alive.expired())
                return;
            if (renewed)
                repeat();
            else
                endSession();
        });
    // Nobody can renew the token: never a permanent overlay.
    if (!asked)
        endSession();
    return true;
}

void ReaderTeacherReview::didFailedToSaveStudentAnotationWithError(const base::Error& error)
{
    const bool handled = handleExpiredSession(
        error,
        [this] {
            m_saveIsRepeat = true;
            auto& panel = m_teacherAnnotationController;
            if (!panel || !panel->selectedLearnerID) {
                removeIndicatorViewForTeacherReview();
                return;
            }
            m_recordsBeingSaved = panel->getAnotationToSave();
            base::Value::List annotation;
            for (const auto& record : m_recordsBeingSaved)
                annotation.push_back(record->toUGCDictionary());
            if (!m_context.dataSyncManager)
                return;
            m_context.dataSyncManager->saveTeacherAnnotationsForAnnotation(base::Value(std::move(annotation)),
                *panel->selectedLearnerID, m_context.bookID, m_reader.dataSyncDelegate(),
                m_context.user ? m_context.user->userToken : std::string());
        },
        m_saveIsRepeat);
    if (handled)
        return;
    m_saveIsRepeat = false;
    removeIndicatorViewForTeacherReview();
    showSaveFailureDialog();
}

void ReaderTeacherReview::showSaveFailureDialog()
{
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    const bool fromDone = m_doneButtonSelectedForTeacherReview;
    auto alert = ui::AlertController::create(teacherReviewLocalizedString("ALERT_BUTTON"),
        teacherReviewLocalizedString("FAILED_TO_SAVE_STUDENT_ANOTATION"), ui::AlertControllerStyle::Alert);
    std::weak_ptr<int> alive = m_alive;
    auto cancel = ui::AlertAction::create(upperCased(teacherReviewLocalizedString("CANCEL")),
        ui::AlertActionStyle::Default, [this, alive, fromDone](ui::AlertAction&) {
            if (alive.expired())
                return;
            m_moveAfterSave.reset();
            if (fromDone) {
                endReviewWithoutSaving();
            } else {
                actionForTeacherReview();
            }
        });
    auto retry = ui::AlertAction::create(teacherReviewLocalizedString("RETRY"), ui::AlertActionStyle::Default,
        [this, alive, fromDone](ui::AlertAction&) {
            auto& panel = m_teacherAnnotationController;
            if (alive.expired() || !panel || !panel->selectedLearnerID)
                return;
            if (fromDone) {
                didSelectDoneForTeacherReviewWithUpdatedAnotations(
                    panel->getAnotationToSave(), *panel->selectedLearnerID);
            } else {
                saveTeacherReviewedDataWhenUseTapOnStudentnameForAnnotations(
                    panel->getAnotationToSave(), *panel->selectedLearnerID);
            }
        });
    for (const auto& action : { cancel, retry }) {
        action->setTitleTextColor(ui::Color::black());
        alert->addAction(action);
    }
    presenter->presentViewController(alert, true, {});
}

// MARK: - Leaving without saving

void ReaderTeacherReview::endReviewWithoutSaving()
{
    auto renderer = m_context.renderer;
    m_context.activeMode = ReaderActiveModeNone;
    if (renderer)
        renderer->setPenDrawingModeEnabled(false);
    m_penToolController.reset();
    if (renderer && renderer->isViewLoaded())
        renderer->view()->setUserInteractionEnabled(true);
    removeTeacherAnnotation();
    removeIndicatorViewForTeacherReview();
    loadPagesBeforeTeacherReview();
}

void ReaderTeacherReview::backToStudentList()
{
    if (m_context.renderer)
        m_context.renderer->disableTeacherReviewMode();
    endReviewWithoutSaving();
    // The panel keeps the unsaved review of its learner.
    if (m_teacherAnnotationController)
        presentController(m_teacherAnnotationController);
}

// MARK: - Next and previous learner

void ReaderTeacherReview::jumpToNextStudent()
{
    saveBeforeMovingToLearner(true);
}

void ReaderTeacherReview::jumpToPreviousStudent()
{
    saveBeforeMovingToLearner(false);
}

void ReaderTeacherReview::saveBeforeMovingToLearner(bool next)
{
    auto& panel = m_teacherAnnotationController;
    if (!panel || !(next ? panel->isAvailableNextStudent() : panel->isAvailablePreviousStudent()))
        return;
    auto records = panel->getAnotationToSave();
    if (records.empty() || !panel->selectedLearnerID) {
        if (next)
            panel->jumpToNextStudent();
        else
            panel->jumpToPreviousStudent();
        return;
    }
    // The review of the learner on screen is saved first; the move follows its success.
    m_moveAfterSave = next;
    saveTeacherReviewedDataWhenUseTapOnStudentnameForAnnotations(records, *panel->selectedLearnerID);
}

// MARK: - The learner's submission

void ReaderTeacherReview::showAlert(const std::string& titleKey, const std::string& messageKey)
{
    AlertView::sharedManager().presentAlertWithTitle(titleKey.empty() ? std::string() : teacherReviewLocalizedString(titleKey),
        messageKey.empty() ? std::string() : teacherReviewLocalizedString(messageKey),
        std::vector<std::string> { teacherReviewLocalizedString("OK") }, m_reader.presentingController(), {});
}

void ReaderTeacherReview::actionForSubmitAnotation()
{
    const auto userID = m_context.user ? std::optional<int64_t>(m_context.user->numericUserID()) : std::nullopt;
    const std::string bookID = std::to_string(m_context.bookID);
    bool allowed = false;
    if (m_context.dbManager && userID) {
        allowed = m_context.hasClassAssociation ? m_context.dbManager->isSubmitAnotationAllowedForBookID(bookID, *userID)
                                                : m_context.dbManager->isSubmitAnotationAllowedForFibForBookID(bookID, *userID);
    }
    if (!allowed) {
        showAlert("NO_DATA", "NO_DATA_TO_SUBMIT");
        return;
    }
    std::weak_ptr<int> alive = m_alive;
    const std::string yes = teacherReviewLocalizedString("YES_ALERT_BUTTON");
    AlertView::sharedManager().presentAlertWithTitle(teacherReviewLocalizedString("SUBMIT_DATA"),
        teacherReviewLocalizedString("ANSWER_WILL_BE_SUBMITTED_AND_CANNOT_BE_CHANGED"),
        std::vector<std::string> { yes, teacherReviewLocalizedString("NO_ALERT_BUTTON") },
        m_reader.presentingController(), [this, alive, yes](int64_t, const std::string& title) {
            if (alive.expired() || title != yes)
                return;
            m_submitIsRepeat = false;
            submitToService(false);
            m_reader.moveTopAndBottomOffScreen();
        });
}

void ReaderTeacherReview::submitToService(bool isRepeat)
{
    m_submitIsRepeat = isRepeat;
    if (!m_context.dataSyncManager || !m_context.user) {
        didFailedToSubmitAnotationWithError(base::Error::make("TeacherReview", 0, "No sync client"));
        return;
    }
    m_context.dataSyncManager->submitAnotationForBookID(m_context.bookID, m_context.user->numericUserID(),
        m_reader.dataSyncDelegate(), m_context.user->userToken);
}

void ReaderTeacherReview::didSubmitedAnotationSuccessfully()
{
    m_submitIsRepeat = false;
    if (m_context.dbManager && m_context.user) {
        const std::string bookID = std::to_string(m_context.bookID);
        const int64_t userID = m_context.user->numericUserID();
        if (m_context.hasClassAssociation)
            m_context.dbManager->submitAnotationForBookID(bookID, userID);
        else
            m_context.dbManager->submitAnotationForFibForBookID(bookID, userID);
    }
    showAlert("YOUR_DATA_HAS_BEEN_SUCCESSFULLY_SAVED", {});
    m_reader.relaodPageUGCForActivePages();
    m_reader.updateClearAllFIBsButtonStatus();
}

void ReaderTeacherReview::didFailedToSubmitAnotationWithError(const base::Error& error)
{
    if (handleExpiredSession(error, [this] { submitToService(true); }, m_submitIsRepeat))
        return;
    m_submitIsRepeat = false;
    if (LectoroNetworkManager::getInstance().isInternetAvailable()) {
        AlertView::sharedManager().presentAlertWithTitle(teacherReviewLocalizedString("FAILED_TO_SUBMIT_ANOTATIONS"),
            teacherReviewLocalizedString(error.localizedDescription()),
            std::vector<std::string> { teacherReviewLocalizedString("OK") }, m_reader.presentingController(), {});
        return;
    }
    showAlert("FAILED_TO_SUBMIT_ANOTATIONS", "INTERNET_UNAVAILABLE_MESSAGE");
}

} // namespace lectoro
