#include "platform/media/FFmpegLibrary.h"

#include "platform/media/MediaError.h"

extern "C" {
#include <libavcodec/version_major.h>
#include <libavformat/version_major.h>
#include <libavutil/macros.h>
#include <libavutil/version.h>
}

#include <dlfcn.h>
#include <string>

namespace media::detail {

namespace {

// The libraries the headers were written for: a table of these functions fits only them.
constexpr const char* libavutilName = "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR);
constexpr const char* libavcodecName = "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR);
constexpr const char* libavformatName = "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR);

class Loader {
public:
    bool open(const char* name, void*& handle)
    {
        // Never closed: the table points into it for the life of the process.
        handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            fail(std::string("The media library ") + name + " cannot be loaded: " + lastError());
        return handle != nullptr;
    }

    template <class Function>
    void find(void* handle, const char* name, Function& into)
    {
        if (!m_error.empty())
            return;
        void* symbol = ::dlsym(handle, name);
        if (!symbol) {
            fail(std::string("The media library has no ") + name + ": " + lastError());
            return;
        }
        into = reinterpret_cast<Function>(symbol);
    }

    const std::string& error() const { return m_error; }

private:
    static std::string lastError()
    {
        const char* text = ::dlerror();
        return text ? text : "unknown error";
    }
    void fail(std::string error)
    {
        if (m_error.empty())
            m_error = std::move(error);
    }

    std::string m_error;
};

struct Loaded {
    FFmpegLibrary library;
    std::string error;
};

Loaded load()
{
    Loaded loaded;
    Loader loader;
    void* util = nullptr;
    void* codec = nullptr;
    void* format = nullptr;
    if (loader.open(libavutilName, util) && loader.open(libavcodecName, codec) && loader.open(libavformatName, format)) {
        FFmpegLibrary& f = loaded.library;
        loader.find(util, "av_log_set_level", f.av_log_set_level);
        loader.find(util, "av_strerror", f.av_strerror);
        loader.find(util, "av_dict_get", f.av_dict_get);
        loader.find(util, "av_dict_set", f.av_dict_set);
        loader.find(util, "av_dict_free", f.av_dict_free);
        loader.find(util, "av_malloc", f.av_malloc);
        loader.find(util, "av_free", f.av_free);
        loader.find(util, "av_freep", f.av_freep);
        loader.find(codec, "avcodec_get_name", f.avcodec_get_name);
        loader.find(format, "avio_alloc_context", f.avio_alloc_context);
        loader.find(format, "avio_context_free", f.avio_context_free);
        loader.find(format, "av_probe_input_buffer2", f.av_probe_input_buffer2);
        loader.find(format, "avformat_alloc_context", f.avformat_alloc_context);
        loader.find(format, "avformat_free_context", f.avformat_free_context);
        loader.find(format, "avformat_open_input", f.avformat_open_input);
        loader.find(format, "avformat_find_stream_info", f.avformat_find_stream_info);
        loader.find(format, "avformat_close_input", f.avformat_close_input);
    }
    loaded.error = loader.error();
    if (loaded.error.empty())
        // FFmpeg logs every odd byte it meets to stderr; a file we reject is reported as an error.
        loaded.library.av_log_set_level(AV_LOG_QUIET);
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
