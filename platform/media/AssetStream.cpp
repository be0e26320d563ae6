#include "platform/media/AssetLoading.h"
#include "platform/media/MediaError.h"

namespace media {

namespace {

std::string playlistFolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

base::Error withPath(base::Error error, const std::string& path)
{
    if (auto* info = error.userInfo.asDictionary())
        info->set(filePathErrorKey, path);
    return error;
}

base::Result<std::string> playlistText(const detail::MediaFile& file, const AssetLimits& limits)
{
    return file.readAll(limits.maxPlaylistBytes, "maxPlaylistBytes");
}

base::Result<HLSMediaPlaylist> readMediaPlaylist(const std::string& path, const std::string& root, const AssetLimits& limits)
{
    auto file = detail::MediaFile::open(path, root);
    if (!file.ok())
        return file.error();
    auto text = playlistText(file.value(), limits);
    if (!text.ok())
        return text.error();
    auto playlist = hls::parseMediaPlaylist(text.value(), limits);
    if (!playlist.ok())
        return withPath(playlist.error(), path);
    return playlist;
}

// Every local file the playlist names that is there must be a regular file inside the root,
// links resolved. A missing one is left to the player to find, as a stream's missing segment
// would be; nothing is read from it.
base::Result<void> checkNamedFiles(const std::string& folder, const HLSMediaPlaylist& playlist, const std::string& root)
{
    for (const std::string& uri : playlist.referencedURIs()) {
        if (hls::isRemoteURI(uri))
            continue;
        auto path = hls::resolveInFolder(folder, uri);
        if (!path.ok())
            return path.error();
        if (detail::isAbsent(path.value()))
            continue;
        auto checked = detail::checkMediaFile(path.value(), root);
        if (!checked.ok()) {
            base::Error error = checked.error();
            if (auto* info = error.userInfo.asDictionary())
                info->set(base::localizedDescriptionKey,
                    "A file the playlist names cannot be read (" + uri + "): " + error.localizedDescription());
            return error;
        }
    }
    return {};
}

MediaSelectionOption optionOf(const HLSRendition& rendition)
{
    return { rendition.name, rendition.language, rendition.groupId, rendition.uri, rendition.isDefault };
}

// The tracks of the first segment, when it is a local file a demuxer can read; a stream
// whose segments cannot be read keeps the tracks its playlist announced.
std::vector<AssetTrack> tracksOfFirstSegment(
    const std::string& folder, const HLSMediaPlaylist& playlist, const std::string& root, const AssetLimits& limits)
{
    if (playlist.segments.empty() || hls::isRemoteURI(playlist.segments.front().uri))
        return {};
    auto path = hls::resolveInFolder(folder, playlist.segments.front().uri);
    if (!path.ok())
        return {};
    auto file = detail::MediaFile::open(path.value(), root);
    if (!file.ok())
        return {};
    auto segment = detail::loadContainerAsset(file.value(), limits);
    return segment.ok() ? segment->tracks : std::vector<AssetTrack> {};
}

} // namespace

base::Result<Asset> detail::loadStreamAsset(const MediaFile& file, const std::string& root, const AssetLimits& limits)
{
    const std::string& path = file.path();
    auto text = playlistText(file, limits);
    if (!text.ok())
        return text.error();
    auto kind = hls::playlistKind(text.value());
    if (!kind.ok())
        return withPath(kind.error(), path);

    Asset asset;
    asset.path = path;
    asset.kind = Asset::Kind::Stream;
    asset.formatName = "hls";
    std::string folder = playlistFolderOf(path);

    HLSMediaPlaylist media;
    std::string mediaFolder = folder;
    if (kind.value() == hls::PlaylistKind::Master) {
        auto master = hls::parseMasterPlaylist(text.value());
        if (!master.ok())
            return withPath(master.error(), path);
        std::vector<HLSVariant> variants = master->variantsByBandwidth();
        if (variants.empty())
            return mediaError(errorFileFailedToParse, "The playlist has no playable variant: " + path, path);
        if (hls::isRemoteURI(variants.front().uri))
            return urlError(urlErrorUnsupportedURL, "Only local playlists can be opened: " + variants.front().uri, variants.front().uri);
        auto variantPath = hls::resolveInFolder(folder, variants.front().uri);
        if (!variantPath.ok())
            return variantPath.error();
        auto variantPlaylist = readMediaPlaylist(variantPath.value(), root, limits);
        if (!variantPlaylist.ok())
            return variantPlaylist.error();
        media = std::move(variantPlaylist.value());
        mediaFolder = playlistFolderOf(variantPath.value());
        for (const HLSRendition& rendition : master->renditions) {
            if (rendition.type == HLSRendition::Type::Audio)
                asset.audibleOptions.push_back(optionOf(rendition));
            else if (rendition.type == HLSRendition::Type::Subtitles || rendition.type == HLSRendition::Type::ClosedCaptions)
                asset.legibleOptions.push_back(optionOf(rendition));
        }
        asset.masterPlaylist = std::move(master.value());
    } else {
        auto parsed = hls::parseMediaPlaylist(text.value(), limits);
        if (!parsed.ok())
            return withPath(parsed.error(), path);
        media = std::move(parsed.value());
    }
    if (auto checked = checkNamedFiles(mediaFolder, media, root); !checked.ok())
        return checked.error();

    asset.tracks = tracksOfFirstSegment(mediaFolder, media, root, limits);
    if (asset.tracks.empty() && asset.masterPlaylist) {
        const HLSVariant richest = asset.masterPlaylist->variantsByBandwidth().front();
        if (richest.width > 0) {
            AssetTrack video;
            video.mediaType = MediaType::Video;
            video.naturalWidth = richest.width;
            video.naturalHeight = richest.height;
            asset.tracks.push_back(video);
        }
    }
    asset.duration = media.duration();
    for (AssetTrack& track : asset.tracks)
        track.duration = asset.duration;
    return asset;
}

} // namespace media
