#pragma once

// The library's public entry. A host creates one, places it in its own hierarchy, sets it
// up and launches one book: a page book opens a ReaderViewController, an audio, video or
// streamed book the media-book controller, either as the launcher's only child, pinned to
// its safe area. The launcher is that child's delegate and the only voice towards the host.
//
// Launching while a book is open closes the open book first, exactly as its own close
// would (the last page is stored and the content synced), so two readers never run at
// once.

#include "LectoroSDKWithReader/media/MVLectoroMediaBookControllerDelegate.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/reader/ReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManagerDelegate.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace lectoro {

class LectoroBookPackage;
class LectoroServiceConfiguration;
class LectoroUser;
class MVLectoroMediaBookController;
class MVReaderSettingModel;
class ReaderViewController;

class LectoroReaderViewController : public ui::ViewController,
                                    public ReaderViewControllerDelegate,
                                    public LectoroDataSyncingManagerDelegate,
                                    public MVLectoroMediaBookControllerDelegate {
public:
    using PackagePtr = std::shared_ptr<LectoroBookPackage>;
    using UserPtr = std::shared_ptr<LectoroUser>;
    using ConfigurationPtr = std::shared_ptr<LectoroServiceConfiguration>;
    using SettingsPtr = std::shared_ptr<MVReaderSettingModel>;

    static std::shared_ptr<LectoroReaderViewController> create();
    ~LectoroReaderViewController() override;

    std::string_view className() const override { return "LectoroReaderViewController"; }

    // Set-up.
    std::shared_ptr<LectoroReaderViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LectoroReaderViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    UserPtr user() const { return m_user; }
    // Replaces the stored user as given (no numeric-id mapping); an open reader keeps the
    // object it was given.
    void updateUserWithUser(UserPtr user) { m_user = std::move(user); }
    ConfigurationPtr lectoroServiceConfiguration() const { return m_configuration; }
    SettingsPtr userSettingsModel() const { return m_settings; }
    std::shared_ptr<MVLectoroMediaBookController> audioBookController() const
    {
        return m_audioBookController;
    }
    std::shared_ptr<ReaderViewController> reader() const { return m_reader; }
    const std::string& bookVersion() const { return m_bookVersion; }
    void setBookVersion(std::string version) { m_bookVersion = std::move(version); }
    const std::optional<std::string>& lastPageFolio() const { return m_lastPageFolio; }
    void setLastPageFolio(std::optional<std::string> folio) { m_lastPageFolio = std::move(folio); }
    const std::optional<std::string>& furthestPageData() const { return m_furthestPageData; }
    void setFurthestPageData(std::optional<std::string> data) { m_furthestPageData = std::move(data); }
    // Sets auto-login on the current settings model; nothing while there is none.
    void enableAutologin(bool);
    // Forwarded to the open reader; nothing without one.
    void enableFurthestPage(bool);
    std::optional<std::string> getAudioThemePath() const;
    void showAlertControllerWithMsg(const std::string& message, const std::string& title);

    // Launches. A missing package, user or configuration refuses the launch (logged).
    void launchBook(const PackagePtr&, const UserPtr&, const ConfigurationPtr&);
    void launchBook(const PackagePtr&, const UserPtr&, const ConfigurationPtr&, const SettingsPtr&,
        bool withClassAssociation);
    void launchAudioBook(const PackagePtr&, const UserPtr&, const ConfigurationPtr&);
    void launchAudioBook(const PackagePtr&, const UserPtr&, const ConfigurationPtr&, const SettingsPtr&);
    void launchHLSMediaBook(
        const PackagePtr&, bool isDownloaded, bool isAudioBook, const UserPtr&, const ConfigurationPtr&);
    void launchHLSMediaBook(const PackagePtr&, bool isDownloaded, bool isAudioBook, const UserPtr&,
        const ConfigurationPtr&, bool enableCDNCookies);
    void launchHLSMediaBook(const PackagePtr&, bool isDownloaded, bool isAudioBook, const UserPtr&,
        const ConfigurationPtr&, const SettingsPtr&);
    void launchHLSMediaBook(const PackagePtr&, bool isDownloaded, bool isAudioBook, const UserPtr&,
        const ConfigurationPtr&, const SettingsPtr&, bool enableCDNCookies);

    // Host sync calls.
    void syncLectoroDataWithBookId(int64_t bookID);
    void syncUGCDataWithBookId(const std::string& bookID, const UserPtr&);
    void saveLectoroAnalyticsDataWithBookId(const std::string& bookID, const UserPtr&);
    // Closes the open reader's objects and removes it; nothing when none is open.
    void uninitializeReader();
    // Renews `user`'s token from `expiredToken`. Success sets the new token on that very
    // user and calls `completed` with it; an answer without a token ends silently.
    void refreshUserToken(const UserPtr& user, const std::string& expiredToken,
        std::function<void(UserPtr)> completed, std::function<void(const base::Error&)> failed);
    // "Your session has expired": dismissing it closes an open book as forced.
    void showSessionExpiredAlert();

    // The start-up routines the launches share (public so a host or test can see them work).
    static void updateUserIDWithNumericValueForLectoroUser(LectoroUser&);
    std::shared_ptr<ReaderViewController> initiateReader(
        const LectoroBookPackage&, const UserPtr&, const LectoroServiceConfiguration&, const SettingsPtr&);
    // `reader` and the media controller are held weakly for the service's answer.
    void setLastPageFolioToPlayer(const std::shared_ptr<ReaderViewController>& reader,
        const std::string& bookID, std::function<void(const std::string&)> success,
        std::function<void(const base::Error&)> failure);
    void setFurthestPageDataToPlayer(ReaderViewController&, const std::string& bookID);

    void viewDidLoad() override;

    // ReaderViewControllerDelegate.
    void didClosedReader(ReaderViewController&, int64_t bookID,
        const std::optional<std::string>& lastPageFolio, int64_t avgTimePerPage,
        bool isReaderForceClosed) override;
    void didUpdatedReadPercentageTo(int64_t percentage, int64_t bookID) override;
    void didUpdateFurthestPageData(const std::string& data, int64_t bookID, int64_t userID) override;
    // The host hears of it (the reader shows nothing itself).
    void didSessionExpiredForReader(ReaderViewController&) override;
    bool respondsToRefreshUserToken() const override { return true; }
    void refreshUserTokenForUser(std::shared_ptr<LectoroUser>, const std::string& expiredToken,
        std::function<void(std::shared_ptr<LectoroUser>)> completed) override;

    // LectoroDataSyncingManagerDelegate (answers may arrive on any thread).
    void didUGCSaveCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID) override;
    void didSaveTrackingDataSuccessfully() override;
    void didSavedUGCSuccessfully() override;
    void didUGCSaveFailedWithError(const base::Error&, int64_t userID, int64_t bookID) override;
    void didSaveTrackingDataFailedWithError(const base::Error&, int64_t bookID, int64_t userId) override;
    void didFailedToSaveUGCWithError(const base::Error&) override;
    void didSaveFurthestPageDataSuccessfully(int64_t bookID) override;
    void didFailedToSaveFurthestPageDataWithError(const base::Error&, int64_t bookID) override;

    // MVLectoroMediaBookControllerDelegate.
    void didTapOnBackWithBookID(
        MVLectoroMediaBookController&, const std::string& bookID, const std::string& lastPageFolio) override;
    void didUserSessionExpired(MVLectoroMediaBookController&) override;
    void refreshUserToken(MVLectoroMediaBookController&, std::shared_ptr<LectoroUser>,
        const std::string& expiredToken,
        std::function<void(std::shared_ptr<LectoroUser>)> completed) override;
    void didHLSMediaLoadingFailWithError(MVLectoroMediaBookController&, const base::Error&,
        const std::string& bookId, int64_t timeStamp) override;
    std::shared_ptr<ui::ImageView> imageViewForThumbnail(
        MVLectoroMediaBookController&, const std::string& address) override;

protected:
    LectoroReaderViewController() = default;

private:
    bool acceptLaunch(const PackagePtr&, const UserPtr&, const ConfigurationPtr&) const;
    void closeOpenChildBeforeLaunch();
    void embedReader(const std::shared_ptr<ReaderViewController>&);
    void pinToSafeArea(const std::shared_ptr<ui::View>& childView, bool horizontalToSafeArea);
    void restoreLastPage(const std::shared_ptr<ReaderViewController>&, const LectoroBookPackage&);
    void restoreFurthestPage(const std::shared_ptr<ReaderViewController>&, const LectoroBookPackage&);
    void launchMediaChild(
        const PackagePtr&, const UserPtr&, const ConfigurationPtr&, const SettingsPtr&, bool numericUserId);
    // Takes the settings (a fresh model for none), creates the media child with this
    // controller as its delegate and embeds it with the audio theme; beforeEmbedding runs
    // before its view joins ours.
    std::shared_ptr<MVLectoroMediaBookController> embedMediaChild(
        const SettingsPtr&, const std::function<void(MVLectoroMediaBookController&)>& beforeEmbedding = {});
    void removeMediaChild();
    void didLoginSessionExpired();
    // The retry rule of a failed save: with an expired session and auto-login on, one
    // token refresh and one repeat; otherwise (or when the refresh fails, or the repeat
    // expires again) the host hears.
    void handleSaveFailure(const std::string& operation, const base::Error&, bool expired,
        std::function<void(const UserPtr&)> repeat, std::function<void(const base::Error&)> reportFailure,
        bool alertInsteadOfHost);
    std::string currentToken() const;
    // Hands the store's problems (a replaced or unusable store, a failed save) to the host.
    void watchStore();
    std::shared_ptr<LectoroReaderViewController> self();
    // Runs on the main run loop: at once when already there, else posted (dropped when
    // the launcher is gone).
    void onMain(std::function<void(LectoroReaderViewController&)>);

    std::weak_ptr<LectoroReaderViewControllerDelegate> m_delegate;
    UserPtr m_user;
    ConfigurationPtr m_configuration;
    SettingsPtr m_settings;
    std::shared_ptr<MVLectoroMediaBookController> m_audioBookController;
    std::shared_ptr<ReaderViewController> m_reader;
    std::string m_bookVersion;
    std::optional<std::string> m_lastPageFolio;
    std::optional<std::string> m_furthestPageData;
    // Saves sent again after a token refresh and not answered yet, by operation (main
    // thread only).
    std::set<std::string> m_repeatedSaves;
};

} // namespace lectoro
