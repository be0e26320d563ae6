#pragma once

// What a media file or a streaming playlist holds: duration, tracks, chapters, metadata.
//
// Asset::load() reads a real file (mp3, m4a, mp4, wav, ogg, flac, mkv, ts...) for its
// container facts only. A playlist (a file starting with "#EXTM3U") is read as HTTP Live
// Streaming: its duration is its segments' sum, its renditions become the audible and legible
// selection options. Only local files are read, within AssetLimits, and only the files the
// options' root allows (AssetLimits.h); a format that names other resources (DASH, a
// demuxer's own playlists, concatenation lists) is refused. Loads run on the media layer's
// reader thread, one at a time (MediaReaderThread.h).

#include "platform/base/Error.h"
#include "platform/base/Value.h"
#include "platform/media/AssetLimits.h"
#include "platform/media/HLSPlaylist.h"

#include <optional>
#include <string>
#include <vector>

namespace media {

enum class MediaType { Audio, Video, Subtitle, Data, Other };

struct AssetTrack {
    int trackID = 0;
    MediaType mediaType = MediaType::Other;
    // The decoder's short name ("mp3", "aac", "h264", "pcm_s16le"...).
    std::string codec;
    // As the file tags it (ISO 639: "eng", "fra"), empty when untagged.
    std::string languageCode;
    double duration = 0;
    int naturalWidth = 0;
    int naturalHeight = 0;
    int sampleRate = 0;
    int channelCount = 0;
    int64_t estimatedDataRate = 0;
};

struct AssetChapter {
    std::string title;
    double start = 0;
    double duration = 0;
};

// One choice of a selection group: an audio language or a subtitle track of a stream.
struct MediaSelectionOption {
    std::string displayName;
    std::string languageCode;
    std::string groupId;
    // Relative to the playlist's folder; empty when carried in the variant itself.
    std::string uri;
    bool isDefault = false;
};

struct Asset {
    enum class Kind { File, Stream };

    // The local path the asset was read from.
    std::string path;
    Kind kind = Kind::File;
    // Seconds; 0 when the container does not say. Never more than the limits'
    // maxMediaDuration, nor than the file's bytes could hold (AssetLimits.h).
    double duration = 0;
    // The container's short name ("wav", "mp3", "mov,mp4,m4a,3gp,3g2,mj2", "hls").
    std::string formatName;
    std::vector<AssetTrack> tracks;
    std::vector<AssetChapter> chapters;
    // The container's tags under lowercase keys ("title", "artist", "album", "date"...).
    base::Value metadata = base::Value::Dictionary {};

    // Streams only.
    std::optional<HLSMasterPlaylist> masterPlaylist;
    std::vector<MediaSelectionOption> audibleOptions;
    std::vector<MediaSelectionOption> legibleOptions;

    // Errors: a missing file (urlErrorDomain, urlErrorFileDoesNotExist), a file no demuxer
    // of plain media knows, a FIFO, device or folder (errorFileFormatNotRecognized), a
    // playlist that does not parse, a file past a limit (errorFileFailedToParse, naming the
    // limit), a file or a playlist entry outside the root or the playlist's folder
    // (errorUnsafePath), a web address (urlErrorUnsupportedURL). Each names the path and
    // says what went wrong.
    static base::Result<Asset> load(const std::string& urlOrPath, const AssetLoadOptions& = {});

    std::vector<AssetTrack> tracksWithMediaType(MediaType) const;
    bool hasVideo() const { return !tracksWithMediaType(MediaType::Video).empty(); }
    // The "title" tag, or empty.
    std::string title() const;
};

} // namespace media
