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

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

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
};

} // namespace lectoro
