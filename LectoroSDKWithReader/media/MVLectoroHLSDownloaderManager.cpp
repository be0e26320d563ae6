#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManager.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroHLSServiceInterface.h"
#include "platform/base/Date.h"

#include <charconv>
#include <cmath>

namespace lectoro {

namespace {

base::Error downloaderError(MVLectoroHLSDownloaderManager::ErrorCode code, const std::string& why)
{
    return base::Error::make(MVLectoroHLSDownloaderManager::errorDomain, code, why);
}

} // namespace

MVLectoroHLSDownloaderManager& MVLectoroHLSDownloaderManager::shared()
{
    // Never destroyed: hosts reach it from any thread until the process ends.
    static auto* manager
        = new std::shared_ptr<MVLectoroHLSDownloaderManager>(new MVLectoroHLSDownloaderManager);
    return **manager;
}

std::shared_ptr<MVLectoroHLSDownloaderManager> MVLectoroHLSDownloaderManager::create(
    std::string baseURL, std::string clientID, bool enableCDNCookies)
{
    std::shared_ptr<MVLectoroHLSDownloaderManager> manager(new MVLectoroHLSDownloaderManager);
    manager->m_baseURL = std::move(baseURL);
    manager->m_clientId = std::move(clientID);
    manager->m_enableCDNCookies = enableCDNCookies;
    return manager;
}

std::shared_ptr<MVLectoroHLSDownloaderManager> MVLectoroHLSDownloaderManager::create(std::string baseURL,
    std::optional<std::string> microServicesBaseUrl, std::string clientID, bool enableCDNCookies)
{
    auto manager = create(std::move(baseURL), std::move(clientID), enableCDNCookies);
    manager->m_microServicesBaseUrl = std::move(microServicesBaseUrl);
    return manager;
}

std::optional<int64_t> MVLectoroHLSDownloaderManager::bookNumberOf(const std::string& bookID)
{
    // Digits only: no sign, space or trailing text, so the id names exactly one folder.
    if (bookID.empty() || bookID.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int64_t number = 0;
    auto [end, error] = std::from_chars(bookID.data(), bookID.data() + bookID.size(), number);
    if (error != std::errc() || end != bookID.data() + bookID.size())
        return std::nullopt;
    return number;
}

std::shared_ptr<MVAVAssetDownloaderManager> MVLectoroHLSDownloaderManager::downloader() const
{
    return companionFramework()->assetDownloaderManager();
}

std::weak_ptr<MVAVAssetDownloaderManagerDelegate> MVLectoroHLSDownloaderManager::asDownloaderDelegate()
{
    return std::static_pointer_cast<MVAVAssetDownloaderManagerDelegate>(shared_from_this());
}

void MVLectoroHLSDownloaderManager::reportServiceFailure(
    const base::Error& error, const std::string& bookID) const
{
    if (auto listener = m_delegate.lock())
        listener->didDownloadHLSRequestFailWithError(error, MVLectoroHLSServiceFailedState, bookID);
}

// MARK: - Downloads

void MVLectoroHLSDownloaderManager::downloadHLSBookWithUserToken(const std::string& userToken,
    const std::string& bookID, bool isAudioType, const std::string& bookThumbnailURL)
{
    auto detail = getHLSBookDownloadDetails(bookID);
    const std::string state = detail ? detail->bookDownloadState : std::string();
    if (state == MVAVAssetDownloadState::Paused) {
        resumeDownloadHLSBook(bookID);
    } else if (state == MVAVAssetDownloadState::Started || state == MVAVAssetDownloadState::Downloading) {
        pauseDownloadHLSBook(bookID);
    } else if (state == MVAVAssetDownloadState::Failed) {
        cancelDownloadHLSBook(bookID);
        startDownloadWithUserToken(userToken, bookID, isAudioType, bookThumbnailURL);
    } else {
        startDownloadWithUserToken(userToken, bookID, isAudioType, bookThumbnailURL);
    }
}

void MVLectoroHLSDownloaderManager::startDownloadWithUserToken(const std::string& userToken,
    const std::string& bookID, bool isAudio, const std::string& bookThumbnailURL)
{
    if (isHLSBookDownloaded(bookID)) {
        if (auto listener = m_delegate.lock())
            listener->didDownloadHLSStateUpdate(MVAVAssetDownloadState::Finished, 1.0, bookID);
        return;
    }
    fetchHLSMediaURLWithUserToken(userToken, bookID, isAudio, bookThumbnailURL);
}

void MVLectoroHLSDownloaderManager::fetchHLSMediaURLWithUserToken(const std::string& userToken,
    const std::string& bookID, bool isAudio, const std::string& bookThumbnailURL)
{
    auto number = bookNumberOf(bookID);
    if (!number)
        return reportServiceFailure(
            downloaderError(InvalidBookID, "A book id is the decimal text of a number."), bookID);

    MVLectoroHLSServiceInterface::Configuration configuration;
    configuration.baseURL = m_baseURL.value_or("");
    configuration.microServicesBaseUrl = m_microServicesBaseUrl;
    configuration.clientID = m_clientId.value_or("");
    configuration.enableCDNCookies = m_enableCDNCookies;
    configuration.IsLectoroContentServer = true;
    auto service = companionFramework()->makeHLSServiceInterface(configuration);
    if (!service)
        return reportServiceFailure(
            downloaderError(NoService, "There is no streaming service to ask."), bookID);

    auto timeStamp = static_cast<int64_t>(std::trunc(base::Clock::now().timeIntervalSince1970));
    std::string folder = getBookDownloadedPath(base::Value(bookID));
    if (folder.empty())
        return reportServiceFailure(
            downloaderError(NoBookFolder, "The book's folder cannot be made."), bookID);

    std::weak_ptr<MVLectoroHLSDownloaderManager> weakSelf = weak_from_this();
    auto failed = [weakSelf, bookID](const base::Error& error) {
        if (auto self = weakSelf.lock())
            self->reportServiceFailure(error, bookID);
    };
    // The handlers hold the service until it has answered.
    service->fetchHLSMediaBookDownloadURL(
        userToken, *number, timeStamp, false,
        [weakSelf, service, bookID, isAudio, folder, bookThumbnailURL, failed](
            const std::string& mediaPath, const std::optional<base::Value>& cookies) {
            if (weakSelf.expired())
                return;
            service->fetchHLSM3U8URLs(
                mediaPath, cookies, isAudio, folder, bookThumbnailURL,
                [weakSelf, bookID](const std::vector<MVAVAssetDownloadURL>& urls) {
                    auto self = weakSelf.lock();
                    if (!self)
                        return;
                    if (auto downloader = self->downloader())
                        downloader->downloadAVAsset(bookID, urls, self->asDownloaderDelegate());
                    else
                        self->reportServiceFailure(
                            downloaderError(NoService, "There is no downloader."), bookID);
                },
                failed);
        },
        failed);
}

// MARK: - Queries and controls

bool MVLectoroHLSDownloaderManager::isHLSBookDownloaded(const std::string& bookID) const
{
    auto downloader = this->downloader();
    return bookNumberOf(bookID) && downloader && downloader->isAVAssetDownloaded(bookID);
}

std::string MVLectoroHLSDownloaderManager::getBookDownloadedPath(const base::Value& bookID) const
{
    std::optional<int64_t> number;
    if (bookID.isInteger())
        number = bookID.asInteger();
    else if (auto text = bookID.asString())
        number = bookNumberOf(*text);
    if (!number || *number < 0)
        return {};
    return SystemInformation::getInstance().getBasePathForBookWithBookId(base::Value(*number));
}

void MVLectoroHLSDownloaderManager::pauseDownloadHLSBook(const std::string& bookID)
{
    auto downloader = this->downloader();
    if (!downloader || !bookNumberOf(bookID))
        return;
    auto detail = downloader->getAVAssetDetails(bookID);
    if (detail && detail->bookDownloadState == MVAVAssetDownloadState::Failed)
        return;
    downloader->pauseAVAsset(bookID, asDownloaderDelegate());
}

void MVLectoroHLSDownloaderManager::resumeDownloadHLSBook(const std::string& bookID)
{
    if (auto downloader = this->downloader(); downloader && bookNumberOf(bookID))
        downloader->resumeAVAsset(bookID, asDownloaderDelegate());
}

void MVLectoroHLSDownloaderManager::cancelDownloadHLSBook(const std::string& bookID)
{
    if (auto downloader = this->downloader(); downloader && bookNumberOf(bookID))
        downloader->cancelAVAsset(bookID, asDownloaderDelegate());
}

void MVLectoroHLSDownloaderManager::deleteDownloadedHLSBook(const std::string& bookID)
{
    if (auto downloader = this->downloader(); downloader && bookNumberOf(bookID))
        downloader->deleteAVAsset(bookID, asDownloaderDelegate());
}

std::optional<MVAVAssetDownloadDetail> MVLectoroHLSDownloaderManager::getHLSBookDownloadDetails(
    const std::string& bookID) const
{
    auto downloader = this->downloader();
    if (!downloader || !bookNumberOf(bookID))
        return std::nullopt;
    return downloader->getAVAssetDetails(bookID);
}

std::optional<std::vector<MVAVAssetDownloadDetail>>
MVLectoroHLSDownloaderManager::getAllHLSBooksDownloadDetails() const
{
    auto downloader = this->downloader();
    if (!downloader)
        return std::nullopt;
    auto details = downloader->getAllAVAssetDetails();
    if (details.empty())
        return std::nullopt;
    return details;
}

void MVLectoroHLSDownloaderManager::setDelegateForBookId(const std::string& bookID)
{
    if (auto downloader = this->downloader(); downloader && bookNumberOf(bookID))
        downloader->setDelegateForAVAssetWithDelegate(asDownloaderDelegate(), bookID);
}

// MARK: - The downloader's reports, passed on as they come

void MVLectoroHLSDownloaderManager::didDeleteDownloadedAVAssetWithBookID(const std::string& bookID)
{
    if (auto listener = m_delegate.lock())
        listener->didDeleteHLSBookWithBookID(bookID);
}

void MVLectoroHLSDownloaderManager::didDownloadRequestStateUpdateForAVAsset(
    const MVAVAssetDownloadDetail& detail, const std::string& bookID)
{
    if (auto listener = m_delegate.lock())
        listener->didDownloadHLSStateUpdate(
            detail.bookDownloadState, static_cast<double>(detail.progress), bookID);
}

void MVLectoroHLSDownloaderManager::didDownloadRequestFailForAVAsset(
    const base::Error& error, const MVAVAssetDownloadDetail& detail, const std::string& bookID)
{
    if (auto listener = m_delegate.lock())
        listener->didDownloadHLSRequestFailWithError(error, detail.bookDownloadState, bookID);
}

} // namespace lectoro
