#include "platform/media/FFmpegLibrary.h"

#include "platform/base/SharedLibrary.h"
#include "platform/media/MediaError.h"

extern "C" {
#include <libavcodec/version_major.h>
#include <libavformat/version_major.h>
#include <libavutil/macros.h>
#include <libavutil/version.h>
}

#include <string>
#include <utility>
#include <vector>

namespace media::detail {

namespace {

// The libraries the headers were written for: a table of these functions fits only them.
constexpr const char* libavutilName = "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR);
constexpr const char* libavcodecName = "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR);
constexpr const char* libavformatName = "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR);

struct Loaded {
    FFmpegLibrary library;
    std::string error;
};

// Stores each function's address into its slot of the table.
template <class Function>
base::LibrarySymbol symbol(const char* name, Function& into)
{
    return { name, static_cast<void*>(&into) };
}

Loaded load()
{
    Loaded loaded;
    FFmpegLibrary& f = loaded.library;
    const std::pair<const char*, std::vector<base::LibrarySymbol>> libraries[] = {
        { libavutilName,
            { symbol("av_log_set_level", f.av_log_set_level), symbol("av_strerror", f.av_strerror),
                symbol("av_dict_get", f.av_dict_get), symbol("av_dict_set", f.av_dict_set),
                symbol("av_dict_free", f.av_dict_free), symbol("av_malloc", f.av_malloc), symbol("av_free", f.av_free),
                symbol("av_freep", f.av_freep) } },
        { libavcodecName, { symbol("avcodec_get_name", f.avcodec_get_name) } },
        { libavformatName,
            { symbol("avio_alloc_context", f.avio_alloc_context), symbol("avio_context_free", f.avio_context_free),
                symbol("av_probe_input_buffer2", f.av_probe_input_buffer2),
                symbol("avformat_alloc_context", f.avformat_alloc_context),
                symbol("avformat_free_context", f.avformat_free_context),
                symbol("avformat_open_input", f.avformat_open_input),
                symbol("avformat_find_stream_info", f.avformat_find_stream_info),
                symbol("avformat_close_input", f.avformat_close_input) } },
    };
    for (const auto& [name, symbols] : libraries) {
        std::string error;
        if (!base::openSharedLibrary(name, symbols, error)) {
            // The table is used all or not at all.
            loaded.library = {};
            loaded.error = "The media library cannot be used: " + error;
            return loaded;
        }
    }
    // FFmpeg logs every odd byte it meets to stderr; a file we reject is reported as an error.
    f.av_log_set_level(AV_LOG_QUIET);
    return loaded;
}

} // namespace

base::Result<const FFmpegLibrary*> ffmpegLibrary()
{
    static const Loaded loaded = load();
    if (!loaded.error.empty())
        return mediaError(errorUnknown, loaded.error);
    return &loaded.library;
}

} // namespace media::detail
