// Container files read with libavformat; no other file of the layer knows FFmpeg.

#include "platform/media/Asset.h"

#include "platform/media/AssetLoading.h"
#include "platform/media/MediaError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace media {

namespace {

// FFmpeg logs every odd byte it meets to stderr; a file we reject is reported as an error.
void quietFFmpegOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

struct FormatContextCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

double seconds(int64_t value, AVRational timeBase)
{
    if (value == AV_NOPTS_VALUE)
        return 0;
    return static_cast<double>(value) * av_q2d(timeBase);
}

void copyTags(const AVDictionary* tags, base::Value& into)
{
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        std::string key = entry->key;
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        into.asDictionary()->set(std::move(key), std::string(entry->value));
    }
}

MediaType mediaTypeOf(AVMediaType type)
{
    switch (type) {
    case AVMEDIA_TYPE_AUDIO:
        return MediaType::Audio;
    case AVMEDIA_TYPE_VIDEO:
        return MediaType::Video;
    case AVMEDIA_TYPE_SUBTITLE:
        return MediaType::Subtitle;
    case AVMEDIA_TYPE_DATA:
        return MediaType::Data;
    default:
        return MediaType::Other;
    }
}

bool startsWithPlaylistMark(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char head[10] = {};
    size_t read = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    std::string_view text(head, read);
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text.substr(0, 7) == "#EXTM3U";
}

} // namespace

base::Result<Asset> detail::loadContainerAsset(const std::string& path)
{
    quietFFmpegOnce();
    AVDictionary* options = nullptr;
    // A container may name other files or addresses (playlists, references); never follow them.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* raw = nullptr;
    int status = avformat_open_input(&raw, path.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (status < 0)
        return mediaError(errorFileFormatNotRecognized,
            "The file is not a media file this player can open (" + errorText(status) + "): " + path, path);
    std::unique_ptr<AVFormatContext, FormatContextCloser> context(raw);
    status = avformat_find_stream_info(context.get(), nullptr);
    if (status < 0)
        return mediaError(errorFileFailedToParse, "The media file is damaged (" + errorText(status) + "): " + path, path);

    Asset asset;
    asset.path = path;
    asset.kind = Asset::Kind::File;
    asset.formatName = context->iformat && context->iformat->name ? context->iformat->name : "";
    copyTags(context->metadata, asset.metadata);

    double longestStream = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters* codec = stream->codecpar;
        if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
            continue; // cover art, not a track one plays
        AssetTrack track;
        track.trackID = stream->id ? stream->id : static_cast<int>(i) + 1;
        track.mediaType = mediaTypeOf(codec->codec_type);
        track.codec = avcodec_get_name(codec->codec_id);
        if (const AVDictionaryEntry* language = av_dict_get(stream->metadata, "language", nullptr, 0))
            track.languageCode = language->value;
        track.duration = seconds(stream->duration, stream->time_base);
        track.naturalWidth = codec->width;
        track.naturalHeight = codec->height;
        track.sampleRate = codec->sample_rate;
        track.channelCount = codec->ch_layout.nb_channels;
        track.estimatedDataRate = codec->bit_rate;
        longestStream = std::max(longestStream, track.duration);
        asset.tracks.push_back(std::move(track));
    }
    asset.duration = context->duration != AV_NOPTS_VALUE ? static_cast<double>(context->duration) / AV_TIME_BASE : longestStream;
    if (asset.duration < 0)
        asset.duration = 0;

    for (unsigned i = 0; i < context->nb_chapters; ++i) {
        const AVChapter* chapter = context->chapters[i];
        AssetChapter entry;
        if (const AVDictionaryEntry* title = av_dict_get(chapter->metadata, "title", nullptr, 0))
            entry.title = title->value;
        entry.start = seconds(chapter->start, chapter->time_base);
        entry.duration = std::max(0.0, seconds(chapter->end, chapter->time_base) - entry.start);
        asset.chapters.push_back(std::move(entry));
    }
    if (asset.duration == 0 && !asset.chapters.empty())
        asset.duration = asset.chapters.back().start + asset.chapters.back().duration;
    return asset;
}

base::Result<Asset> Asset::load(const std::string& urlOrPath)
{
    auto path = localPathOf(urlOrPath);
    if (!path.ok())
        return path.error();
    struct stat info {};
    if (::stat(path->c_str(), &info) != 0)
        return urlError(urlErrorFileDoesNotExist, "The file does not exist: " + path.value(), path.value());
    if (!S_ISREG(info.st_mode))
        return mediaError(errorFileFormatNotRecognized, "Not a regular file: " + path.value(), path.value());
    if (startsWithPlaylistMark(path.value()))
        return detail::loadStreamAsset(path.value());
    return detail::loadContainerAsset(path.value());
}

std::vector<AssetTrack> Asset::tracksWithMediaType(MediaType type) const
{
    std::vector<AssetTrack> found;
    std::copy_if(tracks.begin(), tracks.end(), std::back_inserter(found),
        [type](const AssetTrack& track) { return track.mediaType == type; });
    return found;
}

std::string Asset::title() const
{
    if (const base::Value* title = metadata.asDictionary() ? metadata.asDictionary()->find("title") : nullptr)
        return title->asString().value_or("");
    return {};
}

} // namespace media
