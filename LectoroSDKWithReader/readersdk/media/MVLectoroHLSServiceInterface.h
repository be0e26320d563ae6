#pragma once

// Asks the streaming service where a streamed media book is: the folder of its media (a
// book folder with "toc.json", "time-index.json" and the playlists they name) and, with
// CDN cookies enabled, the cookies to send for it.
//
// Exactly one handler runs per request, on the thread that delivered the service's answer
// (the reader hops to the main queue). Failures have the service-failure shape: an expired
// session is {"invalidFields": {"usertoken": "103"}}, a refused user is code 401, an answer
// that cannot be read is code 502 with "message" and "responseMsg". cancel() drops every
// answer still to come, so a book that was closed never hears of its address.
// Made by CompanionFramework::makeHLSServiceInterface(configuration).

#include "LectoroSDKWithReader/readersdk/media/MVAVAssetDownloaderManager.h"
#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class MVLectoroHLSServiceInterface {
public:
    struct Configuration {
        std::string baseURL;
        std::optional<std::string> microServicesBaseUrl;
        std::string clientID;
        bool enableCDNCookies = false;
        bool IsLectoroContentServer = true;
    };

    // The media folder, and the cookies (a dictionary) when the service sent any.
    using SuccessHandler = std::function<void(const std::string& mediaPath, const std::optional<base::Value>& cookies)>;
    using FailureHandler = std::function<void(const base::Error&)>;

    virtual ~MVLectoroHLSServiceInterface() = default;

    virtual const Configuration& configuration() const = 0;
    virtual void fetchHLSMediaBookDownloadURL(const std::string& userToken, int64_t bookID, int64_t timeStamp,
        bool isHLSOnlineStreaming, SuccessHandler, FailureHandler)
        = 0;
    virtual void cancel() = 0;

    // For a download: from the address answer (media folder and cookies), writes the book's
    // contents files into the metadata folder and answers the playlists the downloader is
    // to fetch into it. A service that offers no downloads answers a failure.
    using PlaylistURLsHandler = std::function<void(const std::vector<MVAVAssetDownloadURL>&)>;
    virtual void fetchHLSM3U8URLs(const std::string& mediaPath, const std::optional<base::Value>& cookies,
        bool isHLSAudio, const std::string& hlsMetaDataDownloadablePath, const std::string& audioThumbnailURL,
        PlaylistURLsHandler, FailureHandler failure)
    {
        static_cast<void>(mediaPath), static_cast<void>(cookies), static_cast<void>(isHLSAudio);
        static_cast<void>(hlsMetaDataDownloadablePath), static_cast<void>(audioThumbnailURL);
        if (failure)
            failure(base::Error::make("LectoroHLSService", 501, "This service offers no downloads."));
    }
};

} // namespace lectoro
