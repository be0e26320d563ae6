// The answers of the reader's own sync client, the alerts they lead to, and the
// expired-session rule: a failure meaning the user's token expired renews the token
// through the delegate (with automatic log-in) and sends the same request once more.
//
// Answers come on whatever thread the sync client's transport answers on. Each one hops
// to the main queue before it looks at the reader, and is dropped once the reader is
// cleared. A request is repeated at most once: when the repeat fails as expired again,
// the reader takes the path of an expired session instead of renewing once more (a
// service that keeps refusing fresh tokens would otherwise loop for ever).

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/Localized.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/reader/ServiceFailure.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"

#include <algorithm>

namespace lectoro {

namespace {

namespace op {
constexpr const char* highlightSave = "highlightSave";
constexpr const char* acceptOrReject = "acceptOrReject";
constexpr const char* scormSave = "scormSave";
constexpr const char* scormFetch = "scormFetch";
constexpr const char* ugcFetch = "ugcFetch";
constexpr const char* ugcSynch = "ugcSynch";
constexpr const char* furthestPageFetch = "furthestPageFetch";
} // namespace op

void logAsReaderViewController(const std::string& line)
{
    LectoroDebugLog::logWithType(1, "ReaderViewController", line);
}

// The key window's root view controller is showing an alert.
bool rootPresentsAnAlert()
{
    auto root = std::static_pointer_cast<ui::ViewController>(ui::Environment::current().rootViewController());
    if (!root)
        return false;
    return std::dynamic_pointer_cast<ui::AlertController>(root->presentedViewController()) != nullptr;
}

std::shared_ptr<ui::ViewController> controllerPresentedByRoot()
{
    auto root = std::static_pointer_cast<ui::ViewController>(ui::Environment::current().rootViewController());
    return root ? root->presentedViewController() : nullptr;
}

} // namespace

std::string ReaderViewController::getStringValue(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    return value.description();
}

void ReaderViewController::answerOnMainQueue(std::function<void(ReaderViewController&)> work)
{
    // Only the reader's identity is read on the answering thread.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto run = [weak, work = std::move(work)] {
        auto locked = weak.lock();
        auto* self = static_cast<ReaderViewController*>(locked.get());
        if (self && !self->m_cleared)
            work(*self);
    };
    if (base::isMainThread())
        run();
    else
        base::RunLoop::main().post(std::move(run));
}

// MARK: - Alerts

void ReaderViewController::showAlertWithTitle(const std::string& title, const std::string& message)
{
    AlertView::sharedManager().presentAlertWithTitle(title, message,
        std::vector<std::string> { localized("OK") }, shared_from_this(), [](int64_t, const std::string&) {});
}

void ReaderViewController::showAlertForError(const base::Error& error, const std::string& title)
{
    const auto* fields = error.userInfo["invalidFields"].asDictionary();
    if (fields && !fields->empty() && isExpiredSessionError(error)) {
        showSessionExpiredAlert();
        return;
    }
    showAlertWithTitle(title, localized(error.localizedDescription()));
}

void ReaderViewController::showSessionExpiredAlert()
{
    if (rootPresentsAnAlert())
        return;
    if (auto delegate = m_delegate.lock())
        delegate->didSessionExpiredForReader(*this);
}

// MARK: - The expired-session rule

void ReaderViewController::applyExpiredSessionRule(const SessionFailure& failure)
{
    bool wasRepeat = m_repeatedRequests.erase(failure.operation) > 0;
    if (!failure.expired) {
        if (failure.otherErrors)
            failure.otherErrors(*this);
        return;
    }
    auto expiredWithoutRenewal = [&] {
        if (failure.expiredWithoutRenewal)
            failure.expiredWithoutRenewal(*this);
        else
            showSessionExpiredAlert();
    };
    if (wasRepeat) {
        // The renewed token was refused as well: no second renewal.
        expiredWithoutRenewal();
        return;
    }
    if (!m_context.settings || !m_context.settings->isAutoLoginEnabled()) {
        expiredWithoutRenewal();
        return;
    }
    auto delegate = m_delegate.lock();
    if (!delegate || !delegate->respondsToRefreshUserToken()) {
        if (failure.alertWithoutRenewalDelegate)
            showSessionExpiredAlert();
        return;
    }
    auto weak = weakSelf();
    std::string operation = failure.operation;
    auto repeat = failure.repeat;
    delegate->refreshUserTokenForUser(m_context.user, failure.expiredToken,
        [weak, operation, repeat](std::shared_ptr<LectoroUser> renewed) {
            auto apply = [weak, operation, repeat, renewed] {
                auto self = weak.lock();
                if (!self || self->m_cleared)
                    return;
                if (renewed)
                    self->m_context.user = renewed;
                if (!repeat || !self->m_context.user)
                    return;
                self->m_repeatedRequests.insert(operation);
                repeat(*self);
            };
            if (base::isMainThread())
                apply();
            else
                base::RunLoop::main().post(std::move(apply));
        });
}

std::weak_ptr<LectoroDataSyncingManagerDelegate> ReaderViewController::syncDelegate()
{
    return std::static_pointer_cast<ReaderViewController>(shared_from_this());
}

std::string ReaderViewController::currentUserToken() const
{
    return m_context.user ? m_context.user->userToken : std::string();
}

int64_t ReaderViewController::currentNumericUserID() const
{
    return m_context.user ? m_context.user->numericUserID() : 0;
}

// MARK: - Failure answers

void ReaderViewController::didSaveHighlightDataFailedWithError(
    const base::Error& error, const base::Value& shareAndRecieveDict, int64_t bookID)
{
    answerOnMainQueue([error, shareAndRecieveDict, bookID](ReaderViewController& self) {
        SessionFailure failure;
        failure.operation = op::highlightSave;
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        failure.repeat = [shareAndRecieveDict, bookID](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->saveHighlightData(
                    shareAndRecieveDict, bookID, reader.currentUserToken());
        };
        failure.otherErrors = [error](ReaderViewController& reader) {
            if (LectoroNetworkManager::getInstance().isInternetAvailable())
                reader.showAlertForError(error, localized("FAILED_TO_SAVE_HIGHLIGHT_DATA"));
            else
                reader.showAlertWithTitle(
                    localized("ERROR_ALERT_TITLE"), localized("INTERNET_UNAVAILABLE_MESSAGE"));
        };
        self.applyExpiredSessionRule(failure);
    });
}

void ReaderViewController::didAcceptOrRejectDataFailedWithError(
    const base::Error& error, const std::string& ugcID, bool isAccepted)
{
    answerOnMainQueue([error, ugcID, isAccepted](ReaderViewController& self) {
        const bool pad = ui::Environment::current().isPad();
        SessionFailure failure;
        failure.operation = op::acceptOrReject;
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        failure.repeat = [ugcID, isAccepted](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->acceptOrRejectCollab(
                    ugcID, isAccepted, reader.currentUserToken());
        };
        failure.expiredWithoutRenewal = [pad](ReaderViewController& reader) {
            if (pad) {
                reader.showSessionExpiredAlert();
                return;
            }
            if (rootPresentsAnAlert())
                return;
            auto presenter = controllerPresentedByRoot();
            if (!presenter)
                return;
            auto weak = reader.weakSelf();
            AlertView::sharedManager().presentAlertWithTitle(localized("YOUR_SESSION_HAS_EXPIRED"),
                localized("PLEASE_SIGN_IN_AGAIN"), std::vector<std::string> { "Ok" }, presenter,
                [weak](int64_t, const std::string&) {
                    if (auto reader = weak.lock(); reader && !reader->m_cleared)
                        reader->closeReaderForSessionExpiry();
                });
        };
        failure.otherErrors = [error, pad](ReaderViewController& reader) {
            if (pad) {
                reader.showAlertForError(error, localized("FAILED_TO_ACCEPT_OR_REJECT_DATA"));
                return;
            }
            if (auto presenter = controllerPresentedByRoot())
                AlertView::sharedManager().presentAlertWithTitle(localized("FAILED_TO_ACCEPT_OR_REJECT_DATA"),
                    localized(error.localizedDescription()), std::vector<std::string> { localized("OK") },
                    presenter, [](int64_t, const std::string&) {});
        };
        self.applyExpiredSessionRule(failure);
        self.refreshMyData();
    });
}

void ReaderViewController::didSaveCollabDataFailedWithError(const base::Error& error)
{
    answerOnMainQueue([error](ReaderViewController& self) {
        SessionFailure failure;
        failure.operation = "collabSave";
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        // The renewed user is kept; the collaboration data goes with the next sync.
        failure.otherErrors = [error](ReaderViewController& reader) {
            reader.showAlertForError(error, localized("FAILED_TO_SAVE_COLLAB_DATA"));
        };
        self.applyExpiredSessionRule(failure);
    });
}

void ReaderViewController::didFailedToSaveScormWithError(
    const base::Error& error, int64_t, const std::string&, const std::string&)
{
    answerOnMainQueue([error](ReaderViewController& self) {
        SessionFailure failure;
        failure.operation = op::scormSave;
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        failure.repeat = [](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->saveSormDataForUserID(reader.currentNumericUserID(),
                    reader.m_context.bookID, reader.m_context.classID, reader.syncDelegate(),
                    reader.currentUserToken());
        };
        self.applyExpiredSessionRule(failure);
    });
}

void ReaderViewController::didFailedToFetchScormWithError(const base::Error& error)
{
    answerOnMainQueue([error](ReaderViewController& self) {
        SessionFailure failure;
        failure.operation = op::scormFetch;
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        failure.repeat = [](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->fetchAndSaveSormDataForUserID(reader.currentNumericUserID(),
                    reader.m_context.bookID, reader.m_context.classID, reader.syncDelegate(),
                    reader.currentUserToken());
        };
        self.applyExpiredSessionRule(failure);
    });
}

void ReaderViewController::didUGCFetchFailedWithError(
    const base::Error& error, int64_t userID, int64_t bookID)
{
    answerOnMainQueue([error, userID, bookID](ReaderViewController& self) {
        self.stopActivityIndicator();
        SessionFailure failure;
        failure.operation = op::ugcFetch;
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        failure.repeat = [userID, bookID](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->fetchUGCOperationForBookID(bookID, userID,
                    reader.syncDelegate(), reader.currentUserToken(), reader.m_context.bookVersion);
        };
        self.applyExpiredSessionRule(failure);
        // Whatever went wrong, the pages show what the store holds.
        self.m_annotations->relaodPageUGCForActivePages();
    });
}

void ReaderViewController::didUGCSynchFailedWithError(
    const base::Error& error, int64_t userID, int64_t bookID)
{
    answerOnMainQueue([error, userID, bookID](ReaderViewController& self) {
        self.stopActivityIndicator();
        SessionFailure failure;
        failure.operation = op::ugcSynch;
        failure.expired = isExpiredSessionError(error);
        failure.expiredToken = getStringValue(error.userInfo["expiredToken"]);
        failure.repeat = [userID, bookID](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->synchUGCForBookID(bookID, userID, reader.syncDelegate(),
                    reader.currentUserToken(), reader.m_context.bookVersion);
        };
        self.applyExpiredSessionRule(failure);
    });
}

void ReaderViewController::didFailedToFetchFurthestPageDataWithError(const base::Error& error, int64_t bookID)
{
    logAsReaderViewController("didFailedToFetchFurthestPageDataWithError = " + error.localizedDescription()
        + " and book id = " + std::to_string(bookID));
    answerOnMainQueue([error](ReaderViewController& self) {
        SessionFailure failure;
        failure.operation = op::furthestPageFetch;
        // This call reports an expired session as 401, and names no expired token: the
        // user's current one is renewed.
        failure.expired = isUnauthorizedError(error);
        failure.expiredToken = self.currentUserToken();
        failure.alertWithoutRenewalDelegate = true;
        failure.repeat = [](ReaderViewController& reader) {
            if (reader.m_context.dataSyncManager)
                reader.m_context.dataSyncManager->fetchFurthestPageDataForBookID(reader.m_context.bookID,
                    reader.currentNumericUserID(), reader.syncDelegate(), reader.currentUserToken());
        };
        self.applyExpiredSessionRule(failure);
    });
}

// MARK: - Success answers

void ReaderViewController::didSaveHighlightDataSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) { self.m_repeatedRequests.erase(op::highlightSave); });
}

void ReaderViewController::didSavedScormDataSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) { self.m_repeatedRequests.erase(op::scormSave); });
}

void ReaderViewController::didFetchScormDataSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) { self.m_repeatedRequests.erase(op::scormFetch); });
}

void ReaderViewController::didFetchedUGCSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) {
        self.m_annotations->relaodPageUGCForActivePages();
        self.m_annotations->updateClearAllFIBsButtonStatus();
    });
}

void ReaderViewController::didFailedToFetchUGCWithError(const base::Error&)
{
    answerOnMainQueue([](ReaderViewController& self) { self.stopActivityIndicator(); });
}

void ReaderViewController::didUGCFetchCompletedSuccessfullyWithUserID(int64_t, int64_t)
{
    answerOnMainQueue([](ReaderViewController& self) {
        self.m_repeatedRequests.erase(op::ugcFetch);
        self.m_annotations->migrateHighlightAndNoteColors();
        if (self.m_context.activeMode == ReaderActiveModeTeacherReview)
            return;
        self.m_annotations->relaodPageUGCForActivePages();
        self.m_annotations->updateClearAllFIBsButtonStatus();
        // (An open instruction pop-up reloads its markup here once interactive content
        // can show one.)
    });
}

void ReaderViewController::didUGCSynchCompletedSuccessfully()
{
    answerOnMainQueue([](ReaderViewController& self) {
        self.m_repeatedRequests.erase(op::ugcSynch);
        auto epub = std::dynamic_pointer_cast<EPUBBookVO>(self.m_context.currentBook);
        if (epub && epub->isReflowable())
            return;
        self.m_annotations->relaodPageUGCForActivePages();
    });
}

void ReaderViewController::didAcceptOrRejectDataSuccessfullywithUGCId(
    const std::string& ugcID, bool isAccepted)
{
    answerOnMainQueue([ugcID, isAccepted](ReaderViewController& self) {
        self.m_repeatedRequests.erase(op::acceptOrReject);
        auto& context = self.m_context;
        if (context.dbManager && context.user && !ugcID.empty()) {
            // Only looked up: the store's shared list, not a copy of every highlight.
            auto highlights = context.dbManager->sharedHighlightsOfBook(
                std::to_string(context.bookID), self.currentNumericUserID());
            bool answered = highlights && std::any_of(highlights->begin(), highlights->end(),
                [&](const auto& highlight) { return highlight && highlight->ugcID == ugcID; });
            if (answered) {
                context.dbManager->updateAnsweredUGC(ugcID, isAccepted, context.user->userID);
                if (context.renderer) {
                    bool pageBook = std::dynamic_pointer_cast<PXBookVO>(context.currentBook) != nullptr;
                    for (const auto& page : context.renderer->getActivePages()) {
                        if (pageBook)
                            self.m_pageOverlays->drawHighlightsOnPageNumber(
                                base::format("%ld", static_cast<long>(page.pageID)), page.displayNum);
                        else {
                            std::string index = base::format("%ld", static_cast<long>(page.fileIndex));
                            self.m_pageOverlays->drawHighlightsOnPageNumber(index, index);
                        }
                    }
                }
            }
        }
        self.refreshMyData();
    });
}

void ReaderViewController::refreshMyData()
{
    m_myData->refreshMyData();
}

void ReaderViewController::didFetchFurthestPageDataSuccessfullyForBookID(
    int64_t bookID, const std::optional<std::string>& data)
{
    logAsReaderViewController("didFetchFurthestPageDataSuccessfully with book id = " + std::to_string(bookID)
        + " and furthest page data = " + data.value_or("(null)"));
    answerOnMainQueue([data](ReaderViewController& self) {
        self.m_repeatedRequests.erase(op::furthestPageFetch);
        if (data)
            self.setFurthestPageData(*data);
    });
}

} // namespace lectoro
