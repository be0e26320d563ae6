// The launcher's answers to the sync clients it starts and to the media-book controller,
// with the token refresh and the session-expired alert they lead to.

#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ServiceFailure.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

constexpr int64_t minimumTrackedMilliseconds = 5000;

void logAsLectoroReaderViewController(const std::string& line)
{
    LectoroDebugLog::logWithType(1, "LectoroReaderViewController", line);
}

} // namespace

std::string LectoroReaderViewController::currentToken() const
{
    return m_user ? m_user->userToken : std::string();
}

// MARK: - Token refresh and the expired session

void LectoroReaderViewController::refreshUserToken(const UserPtr& user, const std::string& expiredToken,
    std::function<void(UserPtr)> completed, std::function<void(const base::Error&)> failed)
{
    if (!m_configuration)
        return;
    auto service
        = companionFramework()->makeServiceInterface(m_configuration->baseURL, m_configuration->clientID);
    if (!service)
        return;
    std::weak_ptr<LectoroReaderViewController> weakSelf = self();
    service->refreshUserTokenWithToken(
        expiredToken,
        [weakSelf, user, completed, service](const base::Value& response) {
            auto token = response["userToken"];
            if (token.isNull())
                return;
            std::string newToken = token.asString().value_or(token.description());
            // The user is shared with the open reader: it changes on the main thread only.
            base::RunLoop::main().post([weakSelf, user, completed, newToken] {
                if (!weakSelf.lock())
                    return;
                if (user)
                    user->userToken = newToken;
                if (completed)
                    completed(user);
            });
        },
        [weakSelf, failed, service](const base::Error& error) {
            base::RunLoop::main().post([weakSelf, failed, error] {
                if (weakSelf.lock() && failed)
                    failed(error);
            });
        });
}

void LectoroReaderViewController::showSessionExpiredAlert()
{
    std::weak_ptr<LectoroReaderViewController> weakSelf = self();
    std::vector<std::string> buttons { LocalizationHelper::localizedStringWithKey("OK") };
    AlertView::sharedManager().presentAlertWithTitle(
        LocalizationHelper::localizedStringWithKey("YOUR_SESSION_HAS_EXPIRED"),
        LocalizationHelper::localizedStringWithKey("PLEASE_SIGN_IN_AGAIN"), buttons, self(),
        [weakSelf](int64_t, const std::string&) {
            auto launcher = weakSelf.lock();
            if (!launcher)
                return;
            if (auto media = launcher->m_audioBookController; media && media->presentedViewController())
                media->dismissViewControllerAnimated(false);
            if (auto reader = launcher->m_reader)
                reader->closeReaderForSessionExpiry();
        });
}

void LectoroReaderViewController::refreshUserTokenForUser(std::shared_ptr<LectoroUser>, const std::string&,
    std::function<void(std::shared_ptr<LectoroUser>)> completed)
{
    // The launcher renews its own user, which the reader shares.
    std::weak_ptr<LectoroReaderViewController> weakSelf = self();
    refreshUserToken(m_user, currentToken(), std::move(completed), [weakSelf](const base::Error&) {
        if (auto launcher = weakSelf.lock())
            launcher->showSessionExpiredAlert();
    });
}

void LectoroReaderViewController::handleSaveFailure(const std::string& operation, const base::Error& error,
    bool expired, std::function<void(const UserPtr&)> repeat, std::function<void(const base::Error&)> reportFailure,
    bool alertInsteadOfHost)
{
    bool wasRepeat = m_repeatedSaves.erase(operation) > 0;
    auto tellHost = [weakSelf = std::weak_ptr<LectoroReaderViewController>(self()), reportFailure,
                        alertInsteadOfHost](const base::Error& cause) {
        auto launcher = weakSelf.lock();
        if (!launcher)
            return;
        if (alertInsteadOfHost) {
            launcher->showSessionExpiredAlert();
            return;
        }
        reportFailure(cause);
        if (auto host = launcher->m_delegate.lock())
            host->didSessionExpiredWithUser(launcher->m_user, launcher->currentToken());
    };
    if (!expired) {
        if (!alertInsteadOfHost)
            reportFailure(error);
        return;
    }
    // A repeat refused again means the fresh token does not help: no second refresh.
    if (wasRepeat || !m_settings || !m_settings->isAutoLoginEnabled()) {
        tellHost(error);
        return;
    }
    std::weak_ptr<LectoroReaderViewController> weakSelf = self();
    refreshUserToken(
        m_user, currentToken(),
        [weakSelf, repeat, operation](UserPtr refreshed) {
            auto launcher = weakSelf.lock();
            if (!launcher)
                return;
            launcher->m_user = refreshed;
            launcher->m_repeatedSaves.insert(operation);
            repeat(refreshed);
        },
        tellHost);
}

// MARK: - The store's problems

void LectoroReaderViewController::watchStore()
{
    auto store = companionFramework()->makeDatabaseManager();
    if (!store)
        return;
    std::weak_ptr<LectoroReaderViewController> weak = self();
    store->setProblemHandler([weak](const base::Error& error) {
        // Any thread, with the store busy: never answer in place.
        base::RunLoop::main().post([weak, error] {
            auto launcher = weak.lock();
            if (!launcher)
                return;
            logAsLectoroReaderViewController("The store failed: " + error.localizedDescription());
            if (auto host = launcher->m_delegate.lock())
                host->didLocalStoreFailWithError(error);
        });
    });
}

// MARK: - Save answers

void LectoroReaderViewController::didUGCSaveFailedWithError(
    const base::Error& error, int64_t userID, int64_t bookID)
{
    onMain([error, userID, bookID](LectoroReaderViewController& launcher) {
        std::weak_ptr<LectoroReaderViewController> weak = launcher.self();
        launcher.handleSaveFailure(
            "ugcSave", error, isExpiredSessionError(error),
            [weak, bookID](const UserPtr& user) {
                if (auto self = weak.lock())
                    self->syncUGCDataWithBookId(std::to_string(bookID), user);
            },
            [weak, userID, bookID](const base::Error& cause) {
                if (auto self = weak.lock(); self)
                    if (auto host = self->m_delegate.lock())
                        host->didUGCSaveFailedWithError(cause, userID, bookID);
            },
            false);
    });
}

void LectoroReaderViewController::didSaveTrackingDataFailedWithError(
    const base::Error& error, int64_t bookID, int64_t userId)
{
    onMain([error, userId, bookID](LectoroReaderViewController& launcher) {
        std::weak_ptr<LectoroReaderViewController> weak = launcher.self();
        launcher.handleSaveFailure(
            "trackingSave", error, isExpiredSessionError(error),
            [weak, bookID](const UserPtr& user) {
                if (auto self = weak.lock())
                    self->saveLectoroAnalyticsDataWithBookId(std::to_string(bookID), user);
            },
            [weak, userId, bookID](const base::Error& cause) {
                if (auto self = weak.lock(); self)
                    if (auto host = self->m_delegate.lock())
                        host->didSaveAnalyticsDataFailedWithError(
                            cause, std::to_string(userId), std::to_string(bookID));
            },
            false);
    });
}

void LectoroReaderViewController::didFailedToSaveUGCWithError(const base::Error& error)
{
    onMain([error](LectoroReaderViewController& launcher) {
        std::weak_ptr<LectoroReaderViewController> weak = launcher.self();
        launcher.handleSaveFailure(
            "mediaUgcSave", error, isExpiredSessionError(error),
            [weak](const UserPtr& user) {
                auto self = weak.lock();
                if (!self || !self->m_configuration || !user)
                    return;
                if (auto client = companionFramework()->makeDataSyncingManager(
                        self->m_configuration->baseURL, self->m_configuration->clientID))
                    client->saveUGCForUserID(user->numericUserID(),
                        std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self), user->userToken);
            },
            [weak](const base::Error& cause) {
                if (auto self = weak.lock(); self)
                    if (auto host = self->m_delegate.lock())
                        host->didUGCSaveFailedWithError(cause);
            },
            false);
    });
}

void LectoroReaderViewController::didSaveFurthestPageDataSuccessfully(int64_t bookID)
{
    logAsLectoroReaderViewController(
        "didSaveFurthestPageDataSuccessfully for book id = " + std::to_string(bookID));
    onMain([](LectoroReaderViewController& launcher) { launcher.m_repeatedSaves.erase("furthestPageSave"); });
}

void LectoroReaderViewController::didSessionExpiredForReader(ReaderViewController&)
{
    // With automatic log-in off the reader finds an expired session and says so; the
    // launcher has no screen of its own, so the host is told, as after the launcher's own
    // failed saves.
    onMain([](LectoroReaderViewController& launcher) {
        if (auto host = launcher.m_delegate.lock())
            host->didSessionExpiredWithUser(launcher.m_user, launcher.currentToken());
    });
}

void LectoroReaderViewController::didFailedToSaveFurthestPageDataWithError(
    const base::Error& error, int64_t bookID)
{
    logAsLectoroReaderViewController("didFailedToSaveFurthestPageDataWithError = "
        + error.localizedDescription() + " for book id = " + std::to_string(bookID));
    onMain([error](LectoroReaderViewController& launcher) {
        std::weak_ptr<LectoroReaderViewController> weak = launcher.self();
        launcher.handleSaveFailure(
            "furthestPageSave", error, isUnauthorizedError(error),
            [weak](const UserPtr& user) {
                auto self = weak.lock();
                if (!self || !self->m_configuration || !user)
                    return;
                auto client = companionFramework()->makeDataSyncingManager(
                    self->m_configuration->baseURL, self->m_configuration->clientID);
                if (!client)
                    return;
                client->setMicroServicesBaseURLString(self->m_configuration->microServicesBaseURL);
                client->saveFurthestPageDataForUserID(user->numericUserID(),
                    std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self), user->userToken);
            },
            [](const base::Error&) {}, true);
    });
}

// MARK: - Media book

void LectoroReaderViewController::didLoginSessionExpired()
{
    removeMediaChild();
    if (auto ownView = viewIfLoaded())
        ownView->removeFromSuperview();
    if (parentViewController())
        removeFromParentViewController();
}

void LectoroReaderViewController::didTapOnBackWithBookID(
    MVLectoroMediaBookController&, const std::string& bookID, const std::string& lastPageFolio)
{
    auto keepAlive = self();
    didLoginSessionExpired();
    int64_t numericBookID = base::integerValue(bookID);
    int64_t userID = m_user ? m_user->numericUserID() : 0;
    if (auto store = companionFramework()->makeDatabaseManager()) {
        base::Value::Dictionary metadata;
        metadata.set("LastPageFolio", lastPageFolio);
        store->saveBookMetadata(base::Value(std::move(metadata)), std::to_string(numericBookID), userID);
    }
    if (m_settings && m_settings->isAudioBookBookmarkEnabled() && m_configuration) {
        if (auto client = companionFramework()->makeDataSyncingManager(
                m_configuration->baseURL, m_configuration->clientID)) {
            std::weak_ptr<LectoroDataSyncingManagerDelegate> delegate
                = std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(keepAlive);
            client->saveUGCForUserID(userID, delegate, currentToken());
            client->fetchUGCOperationForBookID(
                numericBookID, userID, delegate, currentToken(), m_bookVersion);
            client->saveTrackingDataForBookID(
                numericBookID, currentToken(), userID, minimumTrackedMilliseconds);
        }
    }
    if (auto host = m_delegate.lock())
        host->didClosedReaderWithReader(*this, bookID, m_user, lastPageFolio);
}

void LectoroReaderViewController::didUserSessionExpired(MVLectoroMediaBookController&)
{
    auto keepAlive = self();
    didLoginSessionExpired();
    if (auto host = m_delegate.lock())
        host->didSessionExpiredWithUser(m_user, currentToken());
}

void LectoroReaderViewController::refreshUserToken(MVLectoroMediaBookController&,
    std::shared_ptr<LectoroUser>, const std::string&,
    std::function<void(std::shared_ptr<LectoroUser>)> completed)
{
    refreshUserToken(m_user, currentToken(), std::move(completed), [](const base::Error&) {});
}

void LectoroReaderViewController::didHLSMediaLoadingFailWithError(
    MVLectoroMediaBookController&, const base::Error& error, const std::string& bookId, int64_t timeStamp)
{
    if (auto host = m_delegate.lock())
        host->didHLSMediaLoadingFailWithError(error, bookId, timeStamp);
}

std::shared_ptr<ui::ImageView> LectoroReaderViewController::imageViewForThumbnail(
    MVLectoroMediaBookController&, const std::string& address)
{
    auto imageView = ui::ImageView::create(ui::Rect {});
    // Only local files can be read here; an address that cannot be read leaves no image.
    std::string path = base::hasPrefix(address, "file://") ? address.substr(7) : address;
    if (base::FileManager::defaultManager().fileExists(path, nullptr))
        imageView->setImage(ui::Image::fromFile(path));
    return imageView;
}

} // namespace lectoro
