// The class's markup report: the book's contents for the chapter choice, the learners of
// the class under review with who handed in work, and the request that has the report
// mailed. Both requests go to the report service's own address; a 401 renews the token
// once and repeats once, a second 401 ends the session.

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "LectoroSDKWithReader/teacherreview/report/GenerateReportParser.h"
#include "platform/base/RunLoop.h"

#include <set>

namespace lectoro {

namespace {

constexpr int64_t reportUnauthorizedCode = 401;
constexpr const char* reportNoKeyText = "The specified key does not exist.";

std::vector<std::shared_ptr<SDKBookClassInfoVO>> reportClassesOf(const ReaderContext& context)
{
    if (!context.dbManager || !context.user)
        return {};
    auto userID = coding::readId(base::Value(context.user->userID));
    if (!userID)
        return {};
    return context.dbManager->bookClassInfoArrayForBookID(std::to_string(context.bookID), *userID);
}

} // namespace

// MARK: - Learners and class

base::Value::List ReaderTeacherReview::generateReportLearners() const
{
    base::Value::List learners;
    const auto& panel = m_teacherAnnotationController;
    if (!panel || !panel->selectedClassName)
        return learners;
    std::set<std::string> seen;
    for (const auto& info : reportClassesOf(m_context)) {
        if (!info || info->classTitle != *panel->selectedClassName)
            continue;
        const auto* members = info->learners.asList();
        if (!members)
            continue;
        for (const auto& member : *members) {
            const std::string id = member["user"]["id"].description();
            if (seen.insert(id).second)
                learners.push_back(member);
        }
    }
    return learners;
}

base::Value ReaderTeacherReview::getStatusDictionaryForStudents(const base::Value::List& learners) const
{
    base::Value::Dictionary status;
    const auto& panel = m_teacherAnnotationController;
    if (!panel)
        return base::Value(std::move(status));
    for (const auto& learner : learners) {
        const std::string id = learner["user"]["id"].description();
        auto entry = panel->studentDataDict().find(id);
        if (entry != panel->studentDataDict().end() && entry->second.count() > 0)
            status.set(id, "1");
    }
    return base::Value(std::move(status));
}

std::string ReaderTeacherReview::getClassIDFromCurrentClass(const std::string& classTitle) const
{
    for (const auto& info : reportClassesOf(m_context)) {
        if (info && info->classTitle == classTitle)
            return info->classId;
    }
    return {};
}

// MARK: - Requests

void ReaderTeacherReview::didTapOnGenerateReportButton()
{
    if (!LectoroNetworkManager::getInstance().isInternetAvailable()) {
        showAlert("FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE");
        return;
    }
    fetchReportContents(false);
}

void ReaderTeacherReview::fetchReportContents(bool isRepeat)
{
    auto item = getActionBarItemItemWithTag(PlayerItemGenerateReport);
    if (item)
        item->setUserInteractionEnabled(false);
    std::weak_ptr<TeacherReviewViewController> panel = m_teacherAnnotationController;
    if (auto shown = panel.lock())
        shown->startActivityIndicator();
    auto service = companionFramework() ? companionFramework()->makeServiceInterface(defaultMicroServicesBaseURL, m_context.clientID)
                                        : nullptr;
    std::weak_ptr<int> alive = m_alive;
    std::weak_ptr<PlayerActionBarItem> weakItem = item;
    auto finish = [weakItem, panel] {
        if (auto button = weakItem.lock())
            button->setUserInteractionEnabled(true);
        if (auto shown = panel.lock())
            shown->stopActivityIndicator();
    };
    if (!service) {
        finish();
        showAlert("ERROR_ALERT_TITLE", "SOMETHING_WENT_WRONG");
        return;
    }
    service->fetchBookTOC(
        m_context.user ? m_context.user->userToken : std::string(), std::to_string(m_context.bookID),
        [this, alive, finish, service](const base::Value& response) {
            base::RunLoop::main().post(alive, [this, finish, response] {
                finish();
                m_generateReportContents = response;
                addGenerateReportViewController(
                    GenerateReportParser().parseGenerateReportTOC(response, m_context.currentBook.get()));
            });
        },
        [this, alive, finish, service, isRepeat](const base::Error& error) {
            base::RunLoop::main().post(alive, [this, finish, error, isRepeat] {
                finish();
                reportRequestFailed(error, isRepeat, [this] { fetchReportContents(true); });
            });
        });
}

void ReaderTeacherReview::requestMarkupReport(
    const base::Value& chapters, const std::string& emailID, const base::Value& learnerIDs)
{
    if (!LectoroNetworkManager::getInstance().isInternetAvailable()) {
        showAlert("FAILED_ALERT_TITLE", "INTERNET_UNAVAILABLE_MESSAGE");
        return;
    }
    sendMarkupReportRequest(chapters, emailID, learnerIDs, false);
}

void ReaderTeacherReview::sendMarkupReportRequest(
    const base::Value& chapters, const std::string& emailID, const base::Value& learnerIDs, bool isRepeat)
{
    auto service = companionFramework() ? companionFramework()->makeServiceInterface(defaultMicroServicesBaseURL, m_context.clientID)
                                        : nullptr;
    if (!service) {
        showAlert("ERROR_ALERT_TITLE", "SOMETHING_WENT_WRONG");
        return;
    }
    const auto& panel = m_teacherAnnotationController;
    const std::string classID = panel && panel->selectedClassName ? getClassIDFromCurrentClass(*panel->selectedClassName)
                                                                   : std::string();
    std::weak_ptr<int> alive = m_alive;
    service->fetchStudentMarkupReport(m_context.user ? m_context.user->userToken : std::string(),
        std::to_string(m_context.bookID), classID, chapters, emailID, learnerIDs,
        [this, alive, service](const base::Value&) {
            base::RunLoop::main().post(alive,
                [this] { showAlert("GENERATE_REPORT_MAIL_SUCCESS_TITLE", "GENERATE_REPORT_MAIL_SUCCESS_MESSAGE"); });
        },
        [this, alive, service, chapters, emailID, learnerIDs, isRepeat](const base::Error& error) {
            base::RunLoop::main().post(alive, [this, error, chapters, emailID, learnerIDs, isRepeat] {
                reportRequestFailed(error, isRepeat, [this, chapters, emailID, learnerIDs] {
                    sendMarkupReportRequest(chapters, emailID, learnerIDs, true);
                });
            });
        });
}

void ReaderTeacherReview::reportRequestFailed(const base::Error& error, bool isRepeat, std::function<void()> repeat)
{
    if (error.code != reportUnauthorizedCode) {
        const std::string responseMsg = error.userInfo["responseMsg"].description();
        showAlert("ERROR_ALERT_TITLE",
            responseMsg.find(reportNoKeyText) != std::string::npos ? "GENERATE_REPORT_NO_KEY" : "SOMETHING_WENT_WRONG");
        return;
    }
    const bool autoLogin = m_context.settings && m_context.settings->isAutoLoginEnabled();
    // One renewal and one repeat; a renewed token refused again ends the session.
    if (!autoLogin || isRepeat) {
        m_reader.showSessionExpiredAlert();
        return;
    }
    std::weak_ptr<int> alive = m_alive;
    bool asked = m_reader.refreshUserTokenForExpiredToken(m_context.user ? m_context.user->userToken : std::string(),
        [this, alive, repeat = std::move(repeat)](bool renewed) {
            if (alive.expired())
                return;
            if (renewed)
                repeat();
            else
                m_reader.showSessionExpiredAlert();
        });
    if (!asked)
        m_reader.showSessionExpiredAlert();
}

} // namespace lectoro
