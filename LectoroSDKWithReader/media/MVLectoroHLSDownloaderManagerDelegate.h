#pragma once

// What the host hears of its streamed-book downloads. Reports arrive on the thread the
// companion framework delivered them on (its service answers may come from a worker
// thread); the host hops to the main thread itself.

#include "platform/base/Error.h"

#include <string>

namespace lectoro {

// The state a failure of the streaming service's step (before any download) is reported with.
inline constexpr const char* MVLectoroHLSServiceFailedState = "HLS Service Failed";

class MVLectoroHLSDownloaderManagerDelegate {
public:
    virtual ~MVLectoroHLSDownloaderManagerDelegate() = default;
    // "Started", "Downloading", "Paused", "Failed" or "Finished", and progress from 0 to 1.
    virtual void didDownloadHLSStateUpdate(
        const std::string& /*state*/, double /*progress*/, const std::string& /*bookID*/)
    {
    }
    virtual void didDownloadHLSRequestFailWithError(
        const base::Error&, const std::string& /*state*/, const std::string& /*bookID*/)
    {
    }
    virtual void didDeleteHLSBookWithBookID(const std::string& /*bookID*/) { }
};

} // namespace lectoro
