// Reads the input as HTTP Live Streaming playlist text, master and media, with the default
// limits and with small ones. A playlist that parses keeps its promises: at most the limit's
// segments, every duration finite, not negative and within the bound (alone and summed), and
// every local URI a relative path that stays inside the playlist's folder.

#include "platform/media/HLSPlaylist.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void checkURI(const std::string& uri)
{
    if (uri.empty() || media::hls::isRemoteURI(uri))
        return;
    auto path = media::hls::resolveInFolder("/book", uri);
    if (!path.ok() || path.value().rfind("/book/", 0) != 0 || path.value().find("/../") != std::string::npos)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    media::AssetLimits small;
    small.maxSegmentsPerPlaylist = 8;
    small.maxMediaDuration = 60;
    (void)media::hls::playlistKind(text);
    if (auto master = media::hls::parseMasterPlaylist(text); master.ok()) {
        for (const std::string& uri : master->referencedURIs())
            checkURI(uri);
        for (const auto& variant : master->variantsByBandwidth()) {
            if (variant.isIFrameOnly || variant.width < 0 || variant.height < 0)
                std::abort();
        }
    }
    for (const media::AssetLimits& limits : { media::AssetLimits {}, small }) {
        auto playlist = media::hls::parseMediaPlaylist(text, limits);
        if (!playlist.ok())
            continue;
        if (playlist->segments.size() > limits.maxSegmentsPerPlaylist)
            std::abort();
        for (const auto& segment : playlist->segments) {
            if (!std::isfinite(segment.duration) || segment.duration < 0 || segment.duration > limits.maxMediaDuration)
                std::abort();
        }
        double duration = playlist->duration();
        if (!std::isfinite(duration) || duration < 0 || duration > limits.maxMediaDuration)
            std::abort();
        for (const std::string& uri : playlist->referencedURIs())
            checkURI(uri);
    }
    return 0;
}
