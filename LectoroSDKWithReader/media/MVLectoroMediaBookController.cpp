#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"

namespace lectoro {

std::shared_ptr<MVLectoroMediaBookController> MVLectoroMediaBookController::create()
{
    return std::shared_ptr<MVLectoroMediaBookController>(new MVLectoroMediaBookController());
}

void MVLectoroMediaBookController::launchMediaReader(const std::string& bookPath, int32_t bookID,
    const std::string& isbn, const std::string& thumbnailURL, const std::string& baseURL,
    const std::string& clientID, std::shared_ptr<LectoroUser> user,
    std::shared_ptr<MVReaderSettingModel> settings, bool isAudioBook,
    std::optional<base::Value> additionalInfo, const std::string& bookVersion)
{
    m_launch = Launch {};
    m_launch.kind = LaunchKind::Folder;
    m_launch.bookPath = bookPath;
    m_launch.bookID = bookID;
    m_launch.isbn = isbn;
    m_launch.thumbnailURL = thumbnailURL;
    m_launch.baseURL = baseURL;
    m_launch.clientID = clientID;
    m_launch.user = std::move(user);
    m_launch.settings = std::move(settings);
    m_launch.isAudioBook = isAudioBook;
    m_launch.additionalInfo = std::move(additionalInfo);
    m_launch.bookVersion = bookVersion;
}

void MVLectoroMediaBookController::launchOfflineHLSMedia(const std::string& downloadedPath, int32_t bookID,
    const std::string& thumbnailURL, const std::string& baseURL, const std::string& clientID,
    std::shared_ptr<LectoroUser> user, bool isAudioBook, const std::string& isbn,
    std::shared_ptr<MVReaderSettingModel> settings, std::optional<base::Value> additionalInfo,
    const std::string& bookVersion)
{
    m_launch = Launch {};
    m_launch.kind = LaunchKind::OfflineHLS;
    m_launch.bookPath = downloadedPath;
    m_launch.bookID = bookID;
    m_launch.thumbnailURL = thumbnailURL;
    m_launch.baseURL = baseURL;
    m_launch.clientID = clientID;
    m_launch.user = std::move(user);
    m_launch.isAudioBook = isAudioBook;
    m_launch.isbn = isbn;
    m_launch.settings = std::move(settings);
    m_launch.additionalInfo = std::move(additionalInfo);
    m_launch.bookVersion = bookVersion;
}

void MVLectoroMediaBookController::launchOnlineHLSMedia(int32_t bookID, const std::string& thumbnailURL,
    const std::string& baseURL, std::optional<std::string> microServicesURL, const std::string& clientID,
    std::shared_ptr<LectoroUser> user, const std::string& isbn, int64_t timeStamp, bool isBookAudio,
    bool enableCDNCookies, std::shared_ptr<MVReaderSettingModel> settings,
    std::optional<base::Value> additionalInfo, const std::string& bookVersion)
{
    m_launch = Launch {};
    m_launch.kind = LaunchKind::OnlineHLS;
    m_launch.bookID = bookID;
    m_launch.thumbnailURL = thumbnailURL;
    m_launch.baseURL = baseURL;
    m_launch.microServicesURL = std::move(microServicesURL);
    m_launch.clientID = clientID;
    m_launch.user = std::move(user);
    m_launch.isbn = isbn;
    m_launch.timeStamp = timeStamp;
    m_launch.isAudioBook = isBookAudio;
    m_launch.enableCDNCookies = enableCDNCookies;
    m_launch.settings = std::move(settings);
    m_launch.additionalInfo = std::move(additionalInfo);
    m_launch.bookVersion = bookVersion;
}

} // namespace lectoro
