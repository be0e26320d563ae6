#pragma once

// The streaming service's address client over a transport (hls.mediaBook). Answers are
// checked like every client's (sendChecked); an answer without a media folder is a
// malformed answer. cancel() drops what is still to come, from any thread.

#include "LectoroSDKWithReader/readersdk/media/MVLectoroHLSServiceInterface.h"
#include "companion/service/Transport.h"

#include <atomic>
#include <memory>

namespace companion {

class HLSServiceInterface final : public lectoro::MVLectoroHLSServiceInterface {
public:
    HLSServiceInterface(Configuration, std::weak_ptr<Transport>);

    const Configuration& configuration() const override { return m_configuration; }
    void fetchHLSMediaBookDownloadURL(const std::string& userToken, int64_t bookID, int64_t timeStamp,
        bool isHLSOnlineStreaming, SuccessHandler, FailureHandler) override;
    void cancel() override;
    // The media folder is local here: its "toc.json" names the playlists (HLSPlaylistURLs.cpp).
    void fetchHLSM3U8URLs(const std::string& mediaPath, const std::optional<base::Value>& cookies, bool isHLSAudio,
        const std::string& hlsMetaDataDownloadablePath, const std::string& audioThumbnailURL, PlaylistURLsHandler,
        FailureHandler) override;

private:
    Configuration m_configuration;
    std::weak_ptr<Transport> m_transport;
    // Bumped by cancel(); a request answers only while it still holds the value it was sent with.
    std::shared_ptr<std::atomic<uint64_t>> m_generation = std::make_shared<std::atomic<uint64_t>>(0);
};

} // namespace companion
