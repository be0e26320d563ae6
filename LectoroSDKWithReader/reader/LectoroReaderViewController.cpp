#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/MVFontManager.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManager.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/NumericUserId.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"
#include "LectoroSDKWithReader/readersdk/LectoroServiceMetaData.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Bundle.h"
#include "platform/base/Date.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include <cmath>

namespace lectoro {

namespace {

constexpr const char* lastPageFolioKey = "LastPageFolio";
constexpr const char* furthestPageDataKey = "FurthestPageData";
constexpr const char* encryptionTypeWithoutISBN = "V1";

std::string legacyLastPageKey(const std::string& userID, const std::string& bookID)
{
    return "LastPageFolio_" + userID + "_" + bookID;
}

std::string withoutPercentEscapes(const std::string& text)
{
    // Text that is not valid percent-coding is handed on as it came.
    return base::percentDecode(text).value_or(text);
}

void logLauncher(const std::string& message)
{
    LectoroDebugLog::logWithType(1, "LectoroReaderViewController", message);
}

std::string thumbnailURLOf(const std::shared_ptr<LectoroBookPackage>& package)
{
    auto audioPackage = std::dynamic_pointer_cast<LectoroAudioBookPackage>(package);
    return audioPackage ? audioPackage->thumbnailURL : std::string();
}

} // namespace

std::shared_ptr<LectoroReaderViewController> LectoroReaderViewController::create()
{
    return std::shared_ptr<LectoroReaderViewController>(new LectoroReaderViewController());
}

LectoroReaderViewController::~LectoroReaderViewController()
{
    if (m_reader)
        m_reader->uninitializeReader();
}

std::shared_ptr<LectoroReaderViewController> LectoroReaderViewController::self()
{
    return std::static_pointer_cast<LectoroReaderViewController>(shared_from_this());
}

void LectoroReaderViewController::onMain(std::function<void(LectoroReaderViewController&)> work)
{
    if (base::isMainThread()) {
        work(*this);
        return;
    }
    std::weak_ptr<LectoroReaderViewController> weak = self();
    base::RunLoop::main().post([weak, work = std::move(work)] {
        if (auto launcher = weak.lock())
            work(*launcher);
    });
}

void LectoroReaderViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    MVFontManagerHelper::getInstance().setFontBundle(libraryBundleRef());
    MVFontManagerHelper::getInstance().setFontManager(std::make_shared<MVFontManager>());
    view()->setBackgroundColor(ui::Color::clear());
}

// MARK: - Set-up

void LectoroReaderViewController::enableAutologin(bool enabled)
{
    if (m_settings)
        m_settings->setIsAutoLoginEnabled(enabled);
}

void LectoroReaderViewController::enableFurthestPage(bool enabled)
{
    if (m_reader)
        m_reader->enableFurthestPage(enabled);
}

std::optional<std::string> LectoroReaderViewController::getAudioThemePath() const
{
    return base::Bundle::library().pathForResource("audio-video-theme", "json");
}

void LectoroReaderViewController::showAlertControllerWithMsg(
    const std::string& message, const std::string& title)
{
    std::vector<std::string> buttons { LocalizationHelper::localizedStringWithKey("OK") };
    AlertView::sharedManager().presentAlertWithTitle(
        title, message, buttons, self(), [](int64_t, const std::string&) {});
}

// MARK: - Start-up routines

void LectoroReaderViewController::updateUserIDWithNumericValueForLectoroUser(LectoroUser& user)
{
    lectoro::updateUserIDWithNumericValueForLectoroUser(user);
}

std::shared_ptr<ReaderViewController> LectoroReaderViewController::initiateReader(
    const LectoroBookPackage& package, const UserPtr& user, const LectoroServiceConfiguration& configuration,
    const SettingsPtr& settings)
{
    int64_t bookID = package.bookIDAsInt64();
    if (package.encryptionType && *package.encryptionType == encryptionTypeWithoutISBN)
        return ReaderViewController::create(package.bookPath, bookID, user, configuration.baseURL,
            configuration.clientID, settings, m_bookVersion);
    return ReaderViewController::create(package.bookPath, bookID, user, package.isbn, configuration.baseURL,
        configuration.clientID, settings, m_bookVersion);
}

void LectoroReaderViewController::setLastPageFolioToPlayer(
    const std::shared_ptr<ReaderViewController>& reader, const std::string& bookID,
    std::function<void(const std::string&)> success, std::function<void(const base::Error&)> failure)
{
    auto framework = companionFramework();
    auto store = framework->makeDatabaseManager();
    std::string userID = m_user ? m_user->userID : std::string();
    int64_t numericUserID = m_user ? m_user->numericUserID() : 0;
    // Book ids reach the store as their decimal value, whatever the host's spelling.
    std::string storeBookID = std::to_string(base::integerValue(bookID));

    auto& defaults = base::UserDefaults::standard();
    auto legacyKey = legacyLastPageKey(userID, bookID);
    if (auto legacy = defaults.objectForKey(legacyKey)) {
        if (store) {
            base::Value::Dictionary metadata;
            metadata.set(lastPageFolioKey, *legacy);
            store->saveBookMetadata(base::Value(std::move(metadata)), storeBookID, numericUserID);
        }
        defaults.removeObjectForKey(legacyKey);
        defaults.synchronize();
    }

    if (store) {
        auto metadata = store->getBookMetadataForbookID(storeBookID, numericUserID);
        const auto& stored = metadata[lastPageFolioKey];
        if (!stored.isNull()) {
            std::string folio = stored.asString().value_or(stored.description());
            if (reader)
                reader->setLastPageFolio(folio);
            if (m_audioBookController)
                m_audioBookController->setLastPageFolio(withoutPercentEscapes(folio));
        }
    }

    if (!m_configuration)
        return;
    auto service = framework->makeServiceInterface(m_configuration->baseURL, m_configuration->clientID);
    if (!service)
        return;
    std::weak_ptr<MVLectoroMediaBookController> weakMedia = m_audioBookController;
    std::weak_ptr<LectoroReaderViewController> weakSelf = self();
    auto request = service->fetchLastPageAccessed(
        m_user ? m_user->userToken : std::string(), bookID,
        [weakSelf, weakMedia, success, service](const base::Value& response) {
            const auto& value = response[lastPageFolioKey];
            if (value.isNull())
                return;
            std::string folio = value.asString().value_or(value.description());
            // The answer may come on the service's thread; state is touched on the main one.
            base::RunLoop::main().post([weakSelf, weakMedia, success, folio] {
                if (!weakSelf.lock())
                    return;
                if (success)
                    success(withoutPercentEscapes(folio));
                if (auto media = weakMedia.lock())
                    media->setLastPageFolio(folio);
            });
        },
        [weakSelf, failure](const base::Error& error) {
            base::RunLoop::main().post([weakSelf, failure, error] {
                if (weakSelf.lock() && failure)
                    failure(error);
            });
        });
    if (request)
        request->start();
}

void LectoroReaderViewController::setFurthestPageDataToPlayer(
    ReaderViewController& reader, const std::string& bookID)
{
    auto store = companionFramework()->makeDatabaseManager();
    if (!store)
        return;
    int64_t numericUserID = m_user ? m_user->numericUserID() : 0;
    auto metadata
        = store->getBookMetadataForbookID(std::to_string(base::integerValue(bookID)), numericUserID);
    const auto& stored = metadata[furthestPageDataKey];
    if (!stored.isNull())
        reader.setFurthestPageData(stored.asString().value_or(stored.description()));
}

void LectoroReaderViewController::restoreLastPage(
    const std::shared_ptr<ReaderViewController>& reader, const LectoroBookPackage& package)
{
    if (m_lastPageFolio) {
        reader->setLastPageFolio(m_lastPageFolio);
        return;
    }
    std::weak_ptr<ReaderViewController> weakReader = reader;
    setLastPageFolioToPlayer(
        reader, package.bookID,
        [weakReader](const std::string& folio) {
            if (auto reader = weakReader.lock(); reader && !reader->isCleared())
                reader->setLastPageFolio(folio);
        },
        [](const base::Error&) {});
}

void LectoroReaderViewController::restoreFurthestPage(
    const std::shared_ptr<ReaderViewController>& reader, const LectoroBookPackage& package)
{
    if (m_furthestPageData)
        reader->setFurthestPageData(*m_furthestPageData);
    else
        setFurthestPageDataToPlayer(*reader, package.bookID);
}

// MARK: - Launches

bool LectoroReaderViewController::acceptLaunch(
    const PackagePtr& package, const UserPtr& user, const ConfigurationPtr& configuration) const
{
    if (package && user && configuration)
        return true;
    logLauncher("launch refused: a book package, a user and a service configuration are needed");
    return false;
}

void LectoroReaderViewController::closeOpenChildBeforeLaunch()
{
    if (auto reader = m_reader) {
        // The earlier book closes as its back button would close it: its position and
        // content are saved and synced before the next book starts.
        reader->didTapOnBackButton();
        if (m_reader == reader)
            uninitializeReader();
    }
    if (m_audioBookController)
        removeMediaChild();
}

void LectoroReaderViewController::pinToSafeArea(
    const std::shared_ptr<ui::View>& childView, bool horizontalToSafeArea)
{
    auto container = view();
    childView->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto guide = container->safeAreaLayoutGuide();
    ui::Constraint::activate({
        childView->leadingAnchor().constraintEqualTo(
            horizontalToSafeArea ? guide->leadingAnchor() : container->leadingAnchor(), 0),
        childView->trailingAnchor().constraintEqualTo(
            horizontalToSafeArea ? guide->trailingAnchor() : container->trailingAnchor(), 0),
        childView->topAnchor().constraintEqualTo(guide->topAnchor(), 0),
        childView->bottomAnchor().constraintEqualTo(guide->bottomAnchor(), 0),
    });
}

void LectoroReaderViewController::embedReader(const std::shared_ptr<ReaderViewController>& reader)
{
    addChildViewController(reader);
    view()->addSubview(reader->view());
    reader->didMoveToParentViewController(this);
}

void LectoroReaderViewController::launchBook(
    const PackagePtr& package, const UserPtr& user, const ConfigurationPtr& configuration)
{
    if (!acceptLaunch(package, user, configuration))
        return;
    closeOpenChildBeforeLaunch();
    watchStore();
    updateUserIDWithNumericValueForLectoroUser(*user);
    m_user = user;
    m_configuration = configuration;
    m_settings = std::make_shared<MVReaderSettingModel>();
    m_settings->setIsSharingEnabled(false);

    auto reader = initiateReader(*package, m_user, *m_configuration, m_settings);
    m_reader = reader;
    reader->setDelegate(std::static_pointer_cast<ReaderViewControllerDelegate>(self()));
    reader->setMicroServicesBaseURLString(m_configuration->microServicesBaseURL);
    reader->setHasClassAssociation(false);
    reader->hideProfileSettings(true);
    restoreLastPage(reader, *package);
    restoreFurthestPage(reader, *package);
    embedReader(reader);
    pinToSafeArea(reader->view(), false);
}

void LectoroReaderViewController::launchBook(const PackagePtr& package, const UserPtr& user,
    const ConfigurationPtr& configuration, const SettingsPtr& settings, bool withClassAssociation)
{
    if (!acceptLaunch(package, user, configuration))
        return;
    closeOpenChildBeforeLaunch();
    watchStore();
    updateUserIDWithNumericValueForLectoroUser(*user);
    m_configuration = configuration;
    m_user = user;
    // A host that hands no model gets the defaults, as the short launch would.
    SettingsPtr model = settings ? settings : std::make_shared<MVReaderSettingModel>();

    auto reader = initiateReader(*package, m_user, *m_configuration, model);
    m_reader = reader;
    reader->setDelegate(std::static_pointer_cast<ReaderViewControllerDelegate>(self()));
    reader->setMicroServicesBaseURLString(m_configuration->microServicesBaseURL);
    m_settings = model;
    m_settings->setIsSharingEnabled(false);
    reader->setHasClassAssociation(withClassAssociation);
    reader->hideProfileSettings(true);
    embedReader(reader);
    restoreLastPage(reader, *package);
    restoreFurthestPage(reader, *package);
    pinToSafeArea(reader->view(), false);
}

void LectoroReaderViewController::launchMediaChild(const PackagePtr& package, const UserPtr& user,
    const ConfigurationPtr& configuration, const SettingsPtr& settings, bool numericUserId)
{
    m_user = user;
    if (numericUserId)
        updateUserIDWithNumericValueForLectoroUser(*m_user);
    std::string thumbnailURL = thumbnailURLOf(package);
    m_configuration = configuration;
    auto controller = embedMediaChild(settings);
    controller->launchMediaReader(package->bookPath, package->bookIDAsInt32(), package->isbn, thumbnailURL,
        m_configuration->baseURL, m_configuration->clientID, m_user, m_settings, true, std::nullopt,
        m_bookVersion);
}

void LectoroReaderViewController::launchAudioBook(
    const PackagePtr& package, const UserPtr& user, const ConfigurationPtr& configuration)
{
    if (!acceptLaunch(package, user, configuration))
        return;
    closeOpenChildBeforeLaunch();
    launchMediaChild(package, user, configuration, nullptr, true);
}

void LectoroReaderViewController::launchAudioBook(const PackagePtr& package, const UserPtr& user,
    const ConfigurationPtr& configuration, const SettingsPtr& settings)
{
    if (!acceptLaunch(package, user, configuration))
        return;
    closeOpenChildBeforeLaunch();
    launchMediaChild(package, user, configuration, settings, false);
}

void LectoroReaderViewController::launchHLSMediaBook(const PackagePtr& package, bool isDownloaded,
    bool isAudioBook, const UserPtr& user, const ConfigurationPtr& configuration)
{
    launchHLSMediaBook(package, isDownloaded, isAudioBook, user, configuration,
        std::make_shared<MVReaderSettingModel>(), false);
}

void LectoroReaderViewController::launchHLSMediaBook(const PackagePtr& package, bool isDownloaded,
    bool isAudioBook, const UserPtr& user, const ConfigurationPtr& configuration, bool enableCDNCookies)
{
    launchHLSMediaBook(package, isDownloaded, isAudioBook, user, configuration,
        std::make_shared<MVReaderSettingModel>(), enableCDNCookies);
}

void LectoroReaderViewController::launchHLSMediaBook(const PackagePtr& package, bool isDownloaded,
    bool isAudioBook, const UserPtr& user, const ConfigurationPtr& configuration, const SettingsPtr& settings)
{
    launchHLSMediaBook(package, isDownloaded, isAudioBook, user, configuration, settings, false);
}

void LectoroReaderViewController::launchHLSMediaBook(const PackagePtr& package, bool isDownloaded,
    bool isAudioBook, const UserPtr& user, const ConfigurationPtr& configuration, const SettingsPtr& settings,
    bool enableCDNCookies)
{
    if (!acceptLaunch(package, user, configuration))
        return;
    closeOpenChildBeforeLaunch();
    m_user = user;
    std::string thumbnailURL = thumbnailURLOf(package);
    m_configuration = configuration;
    auto controller = embedMediaChild(settings, [&](MVLectoroMediaBookController& child) {
        if (m_lastPageFolio)
            child.setLastPageFolio(m_lastPageFolio);
        else
            setLastPageFolioToPlayer(m_reader, package->bookID, nullptr, nullptr);
    });

    auto downloadedPath
        = MVLectoroHLSDownloaderManager::shared().getBookDownloadedPath(base::Value(package->bookID));
    if (isDownloaded) {
        controller->launchOfflineHLSMedia(downloadedPath, package->bookIDAsInt32(), thumbnailURL,
            m_configuration->baseURL, m_configuration->clientID, m_user, isAudioBook, package->isbn,
            m_settings, std::nullopt, m_bookVersion);
    } else {
        auto timeStamp = static_cast<int64_t>(std::floor(base::Clock::now().timeIntervalSince1970));
        controller->launchOnlineHLSMedia(package->bookIDAsInt32(), thumbnailURL, m_configuration->baseURL,
            m_configuration->microServicesBaseURL, m_configuration->clientID, m_user, package->isbn,
            timeStamp, isAudioBook, enableCDNCookies, m_settings, std::nullopt, m_bookVersion);
    }
}

std::shared_ptr<MVLectoroMediaBookController> LectoroReaderViewController::embedMediaChild(
    const SettingsPtr& settings, const std::function<void(MVLectoroMediaBookController&)>& beforeEmbedding)
{
    m_settings = settings ? settings : std::make_shared<MVReaderSettingModel>();

    auto controller = MVLectoroMediaBookController::create();
    m_audioBookController = controller;
    controller->setDelegate(std::static_pointer_cast<MVLectoroMediaBookControllerDelegate>(self()));
    if (beforeEmbedding)
        beforeEmbedding(*controller);
    view()->addSubview(controller->view());
    addChildViewController(controller);
    controller->didMoveToParentViewController(this);
    pinToSafeArea(controller->view(), true);
    controller->setAudioThemeFilePath(getAudioThemePath());
    return controller;
}

void LectoroReaderViewController::removeMediaChild()
{
    auto controller = std::move(m_audioBookController);
    if (!controller)
        return;
    if (auto childView = controller->viewIfLoaded())
        childView->removeFromSuperview();
    controller->removeFromParentViewController();
}

// MARK: - Closing and sync

void LectoroReaderViewController::uninitializeReader()
{
    auto reader = std::move(m_reader);
    if (!reader)
        return;
    reader->uninitializeReader();
    if (auto readerView = reader->viewIfLoaded())
        readerView->removeFromSuperview();
    reader->removeFromParentViewController();
}

void LectoroReaderViewController::didClosedReader(ReaderViewController& reader, int64_t bookID,
    const std::optional<std::string>& lastPageFolio, int64_t, bool isReaderForceClosed)
{
    // The reader may be the one this launcher holds; keep it alive through its own removal.
    auto keepAlive = std::static_pointer_cast<ReaderViewController>(reader.shared_from_this());
    if (auto store = companionFramework()->makeDatabaseManager()) {
        base::Value::Dictionary metadata;
        if (lastPageFolio)
            metadata.set(lastPageFolioKey, *lastPageFolio);
        store->saveBookMetadata(
            base::Value(std::move(metadata)), std::to_string(bookID), m_user ? m_user->numericUserID() : 0);
    }
    if (m_reader.get() == &reader)
        uninitializeReader();
    if (!isReaderForceClosed)
        syncLectoroDataWithBookId(bookID);
    if (auto host = m_delegate.lock())
        host->didClosedReaderWithReader(*this, std::to_string(bookID), m_user, lastPageFolio);
}

void LectoroReaderViewController::syncLectoroDataWithBookId(int64_t bookID)
{
    if (!m_configuration)
        return;
    auto client
        = companionFramework()->makeDataSyncingManager(m_configuration->baseURL, m_configuration->clientID);
    if (!client)
        return;
    client->setMicroServicesBaseURLString(m_configuration->microServicesBaseURL);
    std::weak_ptr<LectoroDataSyncingManagerDelegate> delegate
        = std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self());
    int64_t userID = m_user ? m_user->numericUserID() : 0;
    std::string token = m_user ? m_user->userToken : std::string();
    client->synchUGCForBookID(bookID, userID, delegate, token, m_bookVersion);
    LectoroServiceMetaData metadata;
    metadata.setInitialisedValue("B");
    client->saveUGCOperationForBookID(bookID, userID, delegate, token, metadata);
    client->fetchUGCOperationForBookID(bookID, userID, delegate, token, m_bookVersion);
    client->saveTrackingDataForBookID(bookID, token, userID);
    client->saveFurthestPageDataForUserID(userID, delegate, token);
}

void LectoroReaderViewController::syncUGCDataWithBookId(const std::string& bookID, const UserPtr& user)
{
    if (!m_configuration || !user)
        return;
    auto client
        = companionFramework()->makeDataSyncingManager(m_configuration->baseURL, m_configuration->clientID);
    if (!client)
        return;
    LectoroServiceMetaData metadata;
    metadata.setInitialisedValue("B");
    client->saveUGCOperationForBookID(base::integerValue(bookID), user->numericUserID(),
        std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self()), user->userToken, metadata);
}

void LectoroReaderViewController::saveLectoroAnalyticsDataWithBookId(
    const std::string& bookID, const UserPtr& user)
{
    if (!m_configuration || !user)
        return;
    auto client
        = companionFramework()->makeDataSyncingManager(m_configuration->baseURL, m_configuration->clientID);
    if (!client)
        return;
    client->setDelegate(std::static_pointer_cast<LectoroDataSyncingManagerDelegate>(self()));
    client->saveTrackingDataForBookID(base::integerValue(bookID), user->userToken, user->numericUserID());
}

// MARK: - Reader answers

void LectoroReaderViewController::didUpdatedReadPercentageTo(int64_t percentage, int64_t bookID)
{
    if (auto host = m_delegate.lock())
        host->didUpdatedReadPercentageTo(percentage, bookID);
}

void LectoroReaderViewController::didUpdateFurthestPageData(
    const std::string& data, int64_t bookID, int64_t userID)
{
    if (auto store = companionFramework()->makeDatabaseManager()) {
        base::Value::Dictionary metadata;
        metadata.set(furthestPageDataKey, data);
        store->saveBookMetadata(base::Value(std::move(metadata)), std::to_string(bookID), userID);
    }
    if (auto host = m_delegate.lock())
        host->didUpdateFurthestPageDataWithReader(*this, data, bookID, m_user);
}

// MARK: - Sync answers

void LectoroReaderViewController::didUGCSaveCompletedSuccessfullyWithUserID(int64_t userID, int64_t bookID)
{
    onMain([userID, bookID](LectoroReaderViewController& launcher) {
        launcher.m_repeatedSaves.erase("ugcSave");
        if (auto host = launcher.m_delegate.lock())
            host->didUGCSaveCompletedSuccessfullyWithUserID(userID, bookID);
    });
}

void LectoroReaderViewController::didSaveTrackingDataSuccessfully()
{
    onMain([](LectoroReaderViewController& launcher) {
        launcher.m_repeatedSaves.erase("trackingSave");
        if (auto host = launcher.m_delegate.lock())
            host->didSaveAnalyticsDataSuccessfully();
    });
}

void LectoroReaderViewController::didSavedUGCSuccessfully()
{
    onMain([](LectoroReaderViewController& launcher) {
        launcher.m_repeatedSaves.erase("mediaUgcSave");
        if (auto host = launcher.m_delegate.lock())
            host->didUGCSaveCompletedSuccessfully();
    });
}

} // namespace lectoro
