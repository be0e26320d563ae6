#pragma once

// How much of a media file or playlist the media layer reads, and which durations it believes.
//
// Books bring their own media, so every file is treated as hostile: a file past a limit is
// refused, and the error names the limit ("... (maxBytesReadPerFile)"). The defaults suit real
// books with a wide margin; tests and fuzzers pass smaller ones.

#include <cstddef>
#include <cstdint>
#include <string>

namespace media {

struct AssetLimits {
    // Bytes a demuxer may look at to recognise the format and its streams (libavformat's
    // probesize).
    int64_t maxProbeBytes = 1 << 20;
    // Seconds of media read to learn the streams' parameters (libavformat's analyzeduration).
    double maxAnalyzeDuration = 5;
    // Bytes read from one media file in all: probe, headers, index and duration estimate. A
    // long book's index is a few megabytes; the media data itself is skipped, not read.
    int64_t maxBytesReadPerFile = 32 << 20;
    // The text of one playlist.
    size_t maxPlaylistBytes = 8 << 20;
    // Segments of one media playlist (100 hours of four-second segments).
    size_t maxSegmentsPerPlaylist = 100'000;
    // The longest time believed, in seconds (a week): a segment, a playlist's sum, a
    // container's duration or chapter mark, a book's chapters together. Longer is refused,
    // so starts and lengths in whole seconds always fit any integer type they are kept in.
    double maxMediaDuration = 7 * 24 * 3600.0;
    // A container whose streams play for longer than its bytes could hold at this rate (bits
    // per second; below any codec's floor) is lying: its duration is estimated from its size
    // and bit rate instead, so a seek cannot go past the real end.
    double minPlausibleBitRate = 2000;
};

// Where a read may go. With a root, every file opened (the asset itself, the playlists and
// segments it names) must lie inside that folder once symbolic links are resolved. Without
// one, the asset itself is read where it is named, and what it names stays inside its folder.
struct AssetLoadOptions {
    std::string root;
    AssetLimits limits;
};

} // namespace media
