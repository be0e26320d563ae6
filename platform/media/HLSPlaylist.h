#pragma once

// HTTP Live Streaming playlists (M3U8): a master playlist lists variant streams and
// alternative renditions (audio languages, subtitles); a media playlist lists segments.
//
// Every URI in a playlist is checked as it is read: a web address (http, https) is kept as
// written; anything else must be a relative path that stays inside the playlist's folder.
// An absolute path, another scheme ("file:", "data:"), a ".." that climbs above the folder
// (also when percent-encoded), a backslash or a NUL refuses the whole playlist, with the
// line number in the error, so a downloaded or hostile playlist never reaches other files.
//
// Sizes and times are bounded (AssetLimits.h): a media playlist holds at most
// maxSegmentsPerPlaylist segments, and every duration (a segment's, the target, the running
// sum) is a finite number of seconds no greater than maxMediaDuration. Past a bound the
// playlist is refused with the line and the limit's name.

#include "platform/base/Error.h"
#include "platform/media/AssetLimits.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace media {

struct HLSByteRange {
    int64_t length = 0;
    std::optional<int64_t> offset;
};

struct HLSVariant {
    std::string uri;
    int64_t bandwidth = 0;
    std::optional<int64_t> averageBandwidth;
    std::string codecs;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    // Group ids of the renditions this variant plays with; empty when none.
    std::string audioGroup;
    std::string videoGroup;
    std::string subtitlesGroup;
    std::string closedCaptionsGroup;
    // An I-frame-only variant (trick play).
    bool isIFrameOnly = false;
};

struct HLSRendition {
    enum class Type { Audio, Video, Subtitles, ClosedCaptions };
    Type type = Type::Audio;
    std::string groupId;
    std::string name;
    std::string language;
    std::string assocLanguage;
    // Empty when the rendition is carried inside the variant's own stream.
    std::string uri;
    bool isDefault = false;
    bool autoselect = false;
    bool forced = false;
    std::string characteristics;
    std::string channels;
    std::string instreamId;
};

struct HLSSegment {
    std::string uri;
    double duration = 0;
    std::string title;
    std::optional<HLSByteRange> byteRange;
    bool discontinuity = false;
};

struct HLSMasterPlaylist {
    int version = 1;
    std::vector<HLSVariant> variants;
    std::vector<HLSRendition> renditions;
    bool independentSegments = false;

    std::vector<HLSRendition> renditionsOfType(HLSRendition::Type) const;
    // Playable (not I-frame-only) variants, highest bandwidth first.
    std::vector<HLSVariant> variantsByBandwidth() const;
    // Every URI the playlist names, in order (variants, renditions), without repeats.
    std::vector<std::string> referencedURIs() const;
};

struct HLSMediaPlaylist {
    int version = 1;
    double targetDuration = 0;
    int64_t mediaSequence = 0;
    // "VOD", "EVENT" or empty.
    std::string playlistType;
    bool endList = false;
    std::vector<HLSSegment> segments;
    // Initialisation section (EXT-X-MAP) and key files (EXT-X-KEY), when the playlist names them.
    std::string mapURI;
    std::vector<std::string> keyURIs;

    // The sum of the segment durations (bounded by the parse).
    double duration() const;
    // Map, keys, then segments, in order, without repeats.
    std::vector<std::string> referencedURIs() const;
};

namespace hls {

enum class PlaylistKind { Master, Media };

// Errors: avFoundationErrorDomain, errorFileFailedToParse for text that is not a playlist
// of the asked kind, errorUnsafePath for a URI that leaves the folder.
base::Result<PlaylistKind> playlistKind(std::string_view text);
base::Result<HLSMasterPlaylist> parseMasterPlaylist(std::string_view text);
base::Result<HLSMediaPlaylist> parseMediaPlaylist(std::string_view text, const AssetLimits& = {});

// A web address (http, https).
bool isRemoteURI(std::string_view uri);
// The URI as a relative path inside the folder, normalised ("a/./b" → "a/b"); an error for
// anything that would leave it, and for web addresses (they are not files).
base::Result<std::string> relativePathOf(std::string_view uri);
// folder + "/" + relativePathOf(uri).
base::Result<std::string> resolveInFolder(const std::string& folder, std::string_view uri);

} // namespace hls

} // namespace media
