#pragma once

// Inside the media layer: the two readers behind Asset::load().

#include "platform/media/Asset.h"

namespace media::detail {

// A container file, read with libavformat.
base::Result<Asset> loadContainerAsset(const std::string& path);
// A streaming playlist and the media playlists it names in its folder.
base::Result<Asset> loadStreamAsset(const std::string& path);

} // namespace media::detail
