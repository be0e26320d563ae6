#pragma once

// FFmpeg, loaded when the first media file is read.
//
// libavformat pulls in libavcodec and, through it, every codec library of the system (about a
// hundred and fifty shared objects): linked into a program they are loaded and relocated before
// main(), in every process, whether it ever reads media or not. Here they are opened with
// dlopen() on first use and the few functions AssetFile.cpp calls are looked up into a table;
// no other file calls FFmpeg, and nothing links it. The headers give the types and the
// libraries' major versions, so the table always matches the libraries loaded.

#include "platform/base/Error.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

namespace media::detail {

struct FFmpegLibrary {
    decltype(&::av_log_set_level) av_log_set_level = nullptr;
    decltype(&::av_strerror) av_strerror = nullptr;
    decltype(&::av_dict_get) av_dict_get = nullptr;
    decltype(&::av_dict_set) av_dict_set = nullptr;
    decltype(&::av_dict_free) av_dict_free = nullptr;
    decltype(&::av_malloc) av_malloc = nullptr;
    decltype(&::av_free) av_free = nullptr;
    decltype(&::av_freep) av_freep = nullptr;
    decltype(&::avcodec_get_name) avcodec_get_name = nullptr;
    decltype(&::avio_alloc_context) avio_alloc_context = nullptr;
    decltype(&::avio_context_free) avio_context_free = nullptr;
    decltype(&::av_probe_input_buffer2) av_probe_input_buffer2 = nullptr;
    decltype(&::avformat_alloc_context) avformat_alloc_context = nullptr;
    decltype(&::avformat_free_context) avformat_free_context = nullptr;
    decltype(&::avformat_open_input) avformat_open_input = nullptr;
    decltype(&::avformat_find_stream_info) avformat_find_stream_info = nullptr;
    decltype(&::avformat_close_input) avformat_close_input = nullptr;
};

// Loaded once, by the first caller on any thread, and kept for the life of the process. An
// error (errorUnknown) names the library or function that could not be loaded.
base::Result<const FFmpegLibrary*> ffmpegLibrary();

} // namespace media::detail
