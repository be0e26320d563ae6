#include "platform/base/FileManager.h"
#include "platform/media/AssetLoading.h"
#include "platform/media/MediaError.h"

namespace media {

namespace {

std::string playlistFolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

base::Result<std::string> readText(const std::string& path)
{
    auto text = base::FileManager::defaultManager().readFile(path);
    if (!text)
        return urlError(urlErrorFileDoesNotExist, "The playlist cannot be read: " + path, path);
    return std::move(*text);
}

base::Result<HLSMediaPlaylist> readMediaPlaylist(const std::string& folder, const std::string& uri)
{
    if (hls::isRemoteURI(uri))
        return urlError(urlErrorUnsupportedURL, "Only local playlists can be opened: " + uri, uri);
    auto path = hls::resolveInFolder(folder, uri);
    if (!path.ok())
        return path.error();
    auto text = readText(path.value());
    if (!text.ok())
        return text.error();
    auto playlist = hls::parseMediaPlaylist(text.value());
    if (!playlist.ok()) {
        base::Error error = playlist.error();
        error.userInfo.asDictionary()->set(filePathErrorKey, path.value());
        return error;
    }
    return playlist;
}

MediaSelectionOption optionOf(const HLSRendition& rendition)
{
    return { rendition.name, rendition.language, rendition.groupId, rendition.uri, rendition.isDefault };
}

// The tracks of the first segment, when it is a local file a demuxer can read; a stream
// whose segments cannot be read keeps the tracks its playlist announced.
std::vector<AssetTrack> tracksOfFirstSegment(const std::string& folder, const HLSMediaPlaylist& playlist)
{
    if (playlist.segments.empty() || hls::isRemoteURI(playlist.segments.front().uri))
        return {};
    auto path = hls::resolveInFolder(folder, playlist.segments.front().uri);
    if (!path.ok())
        return {};
    auto segment = detail::loadContainerAsset(path.value());
    return segment.ok() ? segment->tracks : std::vector<AssetTrack> {};
}

} // namespace

base::Result<Asset> detail::loadStreamAsset(const std::string& path)
{
    auto text = readText(path);
    if (!text.ok())
        return text.error();
    auto kind = hls::playlistKind(text.value());
    if (!kind.ok())
        return kind.error();

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
            return master.error();
        std::vector<HLSVariant> variants = master->variantsByBandwidth();
        if (variants.empty())
            return mediaError(errorFileFailedToParse, "The playlist has no playable variant: " + path, path);
        auto variantPlaylist = readMediaPlaylist(folder, variants.front().uri);
        if (!variantPlaylist.ok())
            return variantPlaylist.error();
        media = std::move(variantPlaylist.value());
        mediaFolder = playlistFolderOf(hls::resolveInFolder(folder, variants.front().uri).value());
        for (const HLSRendition& rendition : master->renditions) {
            if (rendition.type == HLSRendition::Type::Audio)
                asset.audibleOptions.push_back(optionOf(rendition));
            else if (rendition.type == HLSRendition::Type::Subtitles || rendition.type == HLSRendition::Type::ClosedCaptions)
                asset.legibleOptions.push_back(optionOf(rendition));
        }
        asset.tracks = tracksOfFirstSegment(mediaFolder, media);
        if (asset.tracks.empty() && variants.front().width > 0) {
            AssetTrack video;
            video.mediaType = MediaType::Video;
            video.naturalWidth = variants.front().width;
            video.naturalHeight = variants.front().height;
            asset.tracks.push_back(video);
        }
        asset.masterPlaylist = std::move(master.value());
    } else {
        auto parsed = hls::parseMediaPlaylist(text.value());
        if (!parsed.ok())
            return parsed.error();
        media = std::move(parsed.value());
        asset.tracks = tracksOfFirstSegment(folder, media);
    }
    asset.duration = media.duration();
    for (AssetTrack& track : asset.tracks)
        track.duration = asset.duration;
    return asset;
}

} // namespace media
