#pragma once

// Inside the media layer: the two readers behind Asset::load(). Both run on the media reader
// thread (MediaReaderThread.h) and read only files opened through MediaFile.

#include "platform/media/Asset.h"
#include "platform/media/MediaFile.h"

namespace media::detail {

// A container file, read with libavformat through an I/O context of ours.
base::Result<Asset> loadContainerAsset(const MediaFile&, const AssetLimits&);
// A streaming playlist and the media playlists it names; every file it names must be a
// regular file inside `canonicalRoot`.
base::Result<Asset> loadStreamAsset(const MediaFile&, const std::string& canonicalRoot, const AssetLimits&);

} // namespace media::detail
