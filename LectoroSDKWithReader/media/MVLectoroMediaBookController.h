#pragma once

// Hosts the audio, video and streamed-book player. The player stack arrives with the
// media subsystem; until then the controller keeps what it is launched with (so the
// launcher's hand-over can be seen) and shows an empty view.

#include "LectoroSDKWithReader/media/MVLectoroMediaBookControllerDelegate.h"
#include "platform/base/Value.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class LectoroUser;
class MVReaderSettingModel;

class MVLectoroMediaBookController : public ui::ViewController {
public:
    enum class LaunchKind { None, Folder, OfflineHLS, OnlineHLS };

    // What the last launch handed over.
    struct Launch {
        LaunchKind kind = LaunchKind::None;
        std::string bookPath;
        int32_t bookID = 0;
        std::string isbn;
        std::string thumbnailURL;
        std::string baseURL;
        std::optional<std::string> microServicesURL;
        std::string clientID;
        std::shared_ptr<LectoroUser> user;
        std::shared_ptr<MVReaderSettingModel> settings;
        bool isAudioBook = false;
        bool enableCDNCookies = false;
        std::optional<int64_t> timeStamp;
        std::optional<base::Value> additionalInfo;
        std::string bookVersion;
    };

    static std::shared_ptr<MVLectoroMediaBookController> create();

    std::weak_ptr<MVLectoroMediaBookControllerDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<MVLectoroMediaBookControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    const std::optional<std::string>& lastPageFolio() const { return m_lastPageFolio; }
    void setLastPageFolio(std::optional<std::string> folio) { m_lastPageFolio = std::move(folio); }

    // With no path the controller falls back to the main bundle's "audio-video-theme.json".
    void setAudioThemeFilePath(std::optional<std::string> path) { m_audioThemeFilePath = std::move(path); }
    const std::optional<std::string>& audioThemeFilePath() const { return m_audioThemeFilePath; }

    void launchMediaReader(const std::string& bookPath, int32_t bookID, const std::string& isbn,
        const std::string& thumbnailURL, const std::string& baseURL, const std::string& clientID,
        std::shared_ptr<LectoroUser>, std::shared_ptr<MVReaderSettingModel>, bool isAudioBook,
        std::optional<base::Value> additionalInfo, const std::string& bookVersion);
    void launchOfflineHLSMedia(const std::string& downloadedPath, int32_t bookID,
        const std::string& thumbnailURL, const std::string& baseURL, const std::string& clientID,
        std::shared_ptr<LectoroUser>, bool isAudioBook, const std::string& isbn,
        std::shared_ptr<MVReaderSettingModel>, std::optional<base::Value> additionalInfo,
        const std::string& bookVersion);
    void launchOnlineHLSMedia(int32_t bookID, const std::string& thumbnailURL, const std::string& baseURL,
        std::optional<std::string> microServicesURL, const std::string& clientID,
        std::shared_ptr<LectoroUser>, const std::string& isbn, int64_t timeStamp, bool isBookAudio,
        bool enableCDNCookies, std::shared_ptr<MVReaderSettingModel>,
        std::optional<base::Value> additionalInfo, const std::string& bookVersion);

    const Launch& lastLaunch() const { return m_launch; }

protected:
    MVLectoroMediaBookController() = default;

private:
    std::weak_ptr<MVLectoroMediaBookControllerDelegate> m_delegate;
    std::optional<std::string> m_lastPageFolio;
    std::optional<std::string> m_audioThemeFilePath;
    Launch m_launch;
};

} // namespace lectoro
