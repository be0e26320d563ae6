// Reads the input as a media file of a book through the media layer's own I/O: the first byte
// picks the file's name (its extension guides some demuxers), the rest is the file. The book
// also holds a FIFO, a link to a file outside it and a real sound, so a playlist or manifest
// the fuzzer writes can name them.
//
// Reading may fail, never crash, hang (a FIFO opened would hang the run) or open anything but
// regular files of the book. An asset that loads keeps its promises: every duration finite,
// not negative and within the limits' bound.

#include "platform/media/Asset.h"

#include "FuzzArchive.h"
#include "FuzzMedia.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const fs::path& book()
{
    static const fs::path folder = [] {
        fs::path root = fuzzarchive::makeScratch("fuzz-media-file");
        fs::create_directories(root / "book");
        fs::create_directories(root / "outside");
        std::ofstream(root / "outside/secret.wav", std::ios::binary) << fuzzmedia::silentWav(8000);
        std::ofstream(root / "book/sound.wav", std::ios::binary) << fuzzmedia::silentWav(8000);
        fs::create_symlink(root / "outside/secret.wav", root / "book/secret.wav");
        if (::mkfifo((root / "book/pipe.ts").c_str(), 0600) != 0 || ::mkfifo((root / "outside/pipe.ts").c_str(), 0600) != 0)
            std::abort();
        fuzzmedia::abortWhenAFileOutsideIsOpened();
        return root / "book";
    }();
    return folder;
}

constexpr const char* fileNames[] = { "a.mp4", "a.m4a", "a.mp3", "a.ts", "a.wav", "a.m3u8", "a.mkv", "a.ogg", "a.aac",
    "a.flac", "a.vtt", "a.mpd" };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const fs::path& folder = book();
    std::string name = fileNames[data[0] % std::size(fileNames)];
    std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

    media::AssetLoadOptions options;
    options.root = folder.string();
    options.limits.maxProbeBytes = 64 * 1024;
    options.limits.maxBytesReadPerFile = 256 * 1024;
    options.limits.maxPlaylistBytes = 8 * 1024;
    options.limits.maxSegmentsPerPlaylist = 64;
    options.limits.maxMediaDuration = 3600;
    auto asset = media::Asset::load(path, options);
    std::error_code error;
    fs::remove(path, error);
    if (!asset.ok())
        return 0;
    const double bound = options.limits.maxMediaDuration;
    if (!fuzzmedia::bounded(asset->duration, bound))
        std::abort();
    for (const auto& track : asset->tracks) {
        if (!fuzzmedia::bounded(track.duration, bound))
            std::abort();
    }
    for (const auto& chapter : asset->chapters) {
        if (!fuzzmedia::bounded(chapter.start, bound) || !fuzzmedia::bounded(chapter.duration, bound) || chapter.start + chapter.duration > bound)
            std::abort();
    }
    return 0;
}
