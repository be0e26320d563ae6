// Container files read with libavformat; no other file of the layer calls FFmpeg, and it calls
// it through the table FFmpegLibrary.h loads on first use.
//
// libavformat never opens a file here: it reads the one file Asset::load() opened, through an
// I/O context of ours that counts every byte (maxBytesReadPerFile), and every other open a
// demuxer asks for (a manifest's base address, a playlist's segment, a reference) is refused.
// Only demuxers of plain media are used; those that name other resources (DASH, HLS, concat,
// image sequences...) are refused by name before they read anything.

#include "platform/media/Asset.h"

#include "platform/media/AssetLoading.h"
#include "platform/media/FFmpegLibrary.h"
#include "platform/media/MediaError.h"
#include "platform/media/MediaReaderThread.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

namespace media {

namespace {

// Demuxers of media a book plays. Everything else is refused: some name other files or
// addresses, the rest are not media.
constexpr std::string_view readableFormats[] = { "mov", "mp3", "aac", "wav", "w64", "flac", "ogg", "matroska", "mpegts",
    "webvtt", "srt", "ffmetadata", "aiff", "caf" };

constexpr int ioBufferBytes = 32 * 1024;
// libavformat's own floor for a probe.
constexpr int64_t smallestProbe = 2048;
// Streams one file may declare.
constexpr const char* maxStreams = "64";

using detail::FFmpegLibrary;

std::string errorText(const FFmpegLibrary& ffmpeg, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    ffmpeg.av_strerror(code, text, sizeof text);
    return text;
}

// A demuxer's names ("mov,mp4,m4a,3gp,3g2,mj2"): one of them must be readable.
bool isReadableFormat(std::string_view names)
{
    while (!names.empty()) {
        size_t comma = names.find(',');
        std::string_view name = names.substr(0, comma);
        if (std::find(std::begin(readableFormats), std::end(readableFormats), name) != std::end(readableFormats))
            return true;
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    }
    return false;
}

double seconds(int64_t value, AVRational timeBase)
{
    if (value == AV_NOPTS_VALUE || timeBase.den == 0)
        return 0;
    return static_cast<double>(value) * av_q2d(timeBase);
}

void copyTags(const FFmpegLibrary& ffmpeg, const AVDictionary* tags, base::Value& into)
{
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = ffmpeg.av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX))) {
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

// What libavformat reads, counted.
struct FileReader {
    const detail::MediaFile* file = nullptr;
    int64_t position = 0;
    int64_t bytesRead = 0;
    int64_t maxBytes = 0;
    bool overBudget = false;
};

int readPacket(void* opaque, uint8_t* into, int size)
{
    auto& reader = *static_cast<FileReader*>(opaque);
    int64_t left = reader.maxBytes - reader.bytesRead;
    if (left <= 0) {
        reader.overBudget = true;
        return AVERROR(EFBIG);
    }
    int64_t got = reader.file->readAt(into, static_cast<size_t>(std::min<int64_t>(size, left)), reader.position);
    if (got < 0)
        return AVERROR(EIO);
    if (got == 0)
        return AVERROR_EOF;
    reader.position += got;
    reader.bytesRead += got;
    return static_cast<int>(got);
}

int64_t seekPacket(void* opaque, int64_t offset, int whence)
{
    auto& reader = *static_cast<FileReader*>(opaque);
    int64_t size = reader.file->size();
    if (whence & AVSEEK_SIZE)
        return size;
    int64_t from = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
        from = 0;
        break;
    case SEEK_CUR:
        from = reader.position;
        break;
    case SEEK_END:
        from = size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if ((offset > 0 && from > INT64_MAX - offset) || from + offset < 0)
        return AVERROR(EINVAL);
    reader.position = from + offset;
    return reader.position;
}

// Every other file a demuxer would open (a reference, a segment, a manifest's base address).
int refuseNestedOpen(AVFormatContext*, AVIOContext**, const char* url, int, AVDictionary**)
{
    detail::reportMediaOpen(url ? url : "", "a demuxer asked for another file");
    return AVERROR(EPERM);
}

// The I/O context and the demuxer over it, freed in the right order.
struct Demuxer {
    const FFmpegLibrary& ffmpeg;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    bool opened = false;

    explicit Demuxer(const FFmpegLibrary& library) : ffmpeg(library) { }
    Demuxer(const Demuxer&) = delete;
    Demuxer& operator=(const Demuxer&) = delete;
    ~Demuxer()
    {
        if (opened)
            ffmpeg.avformat_close_input(&format);
        else
            ffmpeg.avformat_free_context(format);
        if (io) {
            ffmpeg.av_freep(&io->buffer);
            ffmpeg.avio_context_free(&io);
        }
    }
};

std::string duration(double value)
{
    return std::to_string(static_cast<int64_t>(std::clamp(value, 0.0, 1e15))) + " s";
}

// A duration the header claims is believed only when the file's bytes could hold it; chapter
// marks and tracks stay inside it. Past the longest media accepted the file is refused.
base::Result<void> settleDurations(Asset& asset, const detail::MediaFile& file, const AssetLimits& limits)
{
    const std::string& path = file.path();
    bool playable = std::any_of(asset.tracks.begin(), asset.tracks.end(),
        [](const AssetTrack& track) { return track.mediaType == MediaType::Audio || track.mediaType == MediaType::Video; });
    if (!std::isfinite(asset.duration) || asset.duration < 0)
        asset.duration = 0;
    if (playable && limits.minPlausibleBitRate > 0) {
        double bits = static_cast<double>(file.size()) * 8;
        double mostThatFits = bits / limits.minPlausibleBitRate;
        if (asset.duration > mostThatFits) {
            double bitRate = 0;
            for (const AssetTrack& track : asset.tracks)
                bitRate += static_cast<double>(std::max<int64_t>(track.estimatedDataRate, 0));
            asset.duration = bitRate >= limits.minPlausibleBitRate ? std::min(bits / bitRate, mostThatFits) : mostThatFits;
        }
    }
    if (asset.duration > limits.maxMediaDuration)
        return mediaError(errorFileFailedToParse,
            "The media lasts longer than " + duration(limits.maxMediaDuration) + " (maxMediaDuration): " + path, path);
    for (AssetTrack& track : asset.tracks) {
        if (!std::isfinite(track.duration) || track.duration < 0)
            track.duration = 0;
        track.duration = std::min(track.duration, asset.duration > 0 ? asset.duration : limits.maxMediaDuration);
    }
    for (AssetChapter& chapter : asset.chapters) {
        double end = chapter.start + chapter.duration;
        if (!std::isfinite(end) || chapter.start < 0 || end > limits.maxMediaDuration)
            return mediaError(errorFileFailedToParse,
                "A chapter mark lies past " + duration(limits.maxMediaDuration) + " (maxMediaDuration): " + path, path);
        if (playable && asset.duration > 0) {
            chapter.start = std::min(chapter.start, asset.duration);
            chapter.duration = std::min(chapter.duration, asset.duration - chapter.start);
        }
    }
    if (asset.duration == 0 && !asset.chapters.empty())
        asset.duration = asset.chapters.back().start + asset.chapters.back().duration;
    return {};
}

base::Error overBudget(const detail::MediaFile& file, const AssetLimits& limits)
{
    return mediaError(errorFileFailedToParse,
        "Reading the media file took more than " + std::to_string(limits.maxBytesReadPerFile)
            + " bytes (maxBytesReadPerFile): " + file.path(),
        file.path());
}

} // namespace

base::Result<Asset> detail::loadContainerAsset(const MediaFile& file, const AssetLimits& limits)
{
    auto library = ffmpegLibrary();
    if (!library.ok())
        return library.error();
    const FFmpegLibrary& ffmpeg = *library.value();
    const std::string& path = file.path();
    FileReader reader;
    reader.file = &file;
    reader.maxBytes = limits.maxBytesReadPerFile;
    Demuxer demuxer(ffmpeg);
    auto* buffer = static_cast<unsigned char*>(ffmpeg.av_malloc(ioBufferBytes));
    if (buffer)
        demuxer.io = ffmpeg.avio_alloc_context(buffer, ioBufferBytes, 0, &reader, readPacket, nullptr, seekPacket);
    if (!demuxer.io) {
        ffmpeg.av_free(buffer);
        return mediaError(errorUnknown, "Out of memory reading: " + path, path);
    }

    int64_t probeBytes = std::clamp<int64_t>(limits.maxProbeBytes, smallestProbe, INT_MAX);
    const AVInputFormat* format = nullptr;
    int status = ffmpeg.av_probe_input_buffer2(demuxer.io, &format, path.c_str(), nullptr, 0, static_cast<unsigned>(probeBytes));
    if (reader.overBudget)
        return overBudget(file, limits);
    if (status < 0 || !format)
        return mediaError(errorFileFormatNotRecognized,
            "The file is not a media file this player can open (" + errorText(ffmpeg, status < 0 ? status : AVERROR_INVALIDDATA) + "): " + path, path);
    if (!format->name || !isReadableFormat(format->name))
        return mediaError(errorFileFormatNotRecognized,
            std::string("The file is not plain media but \"") + (format->name ? format->name : "?")
                + "\", which names other files; it is not read: " + path,
            path);

    demuxer.format = ffmpeg.avformat_alloc_context();
    if (!demuxer.format)
        return mediaError(errorUnknown, "Out of memory reading: " + path, path);
    demuxer.format->pb = demuxer.io;
    demuxer.format->flags |= AVFMT_FLAG_CUSTOM_IO;
    demuxer.format->io_open = refuseNestedOpen;
    demuxer.format->probesize = probeBytes;
    demuxer.format->max_analyze_duration = static_cast<int64_t>(std::clamp(limits.maxAnalyzeDuration, 0.0, 3600.0) * AV_TIME_BASE);
    AVDictionary* options = nullptr;
    ffmpeg.av_dict_set(&options, "max_streams", maxStreams, 0);
    status = ffmpeg.avformat_open_input(&demuxer.format, path.c_str(), format, &options);
    ffmpeg.av_dict_free(&options);
    if (status < 0) {
        // A failed open frees the context.
        demuxer.format = nullptr;
        if (reader.overBudget)
            return overBudget(file, limits);
        return mediaError(errorFileFormatNotRecognized,
            "The file is not a media file this player can open (" + errorText(ffmpeg, status) + "): " + path, path);
    }
    demuxer.opened = true;
    AVFormatContext* context = demuxer.format;
    status = ffmpeg.avformat_find_stream_info(context, nullptr);
    if (reader.overBudget)
        return overBudget(file, limits);
    if (status < 0)
        return mediaError(errorFileFailedToParse, "The media file is damaged (" + errorText(ffmpeg, status) + "): " + path, path);

    Asset asset;
    asset.path = path;
    asset.kind = Asset::Kind::File;
    asset.formatName = context->iformat && context->iformat->name ? context->iformat->name : "";
    copyTags(ffmpeg, context->metadata, asset.metadata);

    double longestStream = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters* codec = stream->codecpar;
        if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
            continue; // cover art, not a track one plays
        AssetTrack track;
        track.trackID = stream->id ? stream->id : static_cast<int>(i) + 1;
        track.mediaType = mediaTypeOf(codec->codec_type);
        track.codec = ffmpeg.avcodec_get_name(codec->codec_id);
        if (const AVDictionaryEntry* language = ffmpeg.av_dict_get(stream->metadata, "language", nullptr, 0))
            track.languageCode = language->value;
        track.duration = seconds(stream->duration, stream->time_base);
        track.naturalWidth = codec->width;
        track.naturalHeight = codec->height;
        track.sampleRate = codec->sample_rate;
        track.channelCount = codec->ch_layout.nb_channels;
        track.estimatedDataRate = codec->bit_rate;
        if (std::isfinite(track.duration))
            longestStream = std::max(longestStream, track.duration);
        asset.tracks.push_back(std::move(track));
    }
    asset.duration = context->duration != AV_NOPTS_VALUE ? static_cast<double>(context->duration) / AV_TIME_BASE : longestStream;

    for (unsigned i = 0; i < context->nb_chapters; ++i) {
        const AVChapter* chapter = context->chapters[i];
        AssetChapter entry;
        if (const AVDictionaryEntry* title = ffmpeg.av_dict_get(chapter->metadata, "title", nullptr, 0))
            entry.title = title->value;
        entry.start = seconds(chapter->start, chapter->time_base);
        entry.duration = std::max(0.0, seconds(chapter->end, chapter->time_base) - entry.start);
        asset.chapters.push_back(std::move(entry));
    }
    if (auto settled = settleDurations(asset, file, limits); !settled.ok())
        return settled.error();
    return asset;
}

namespace {

std::string folderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool startsWithPlaylistMark(std::string_view head)
{
    if (head.substr(0, 3) == "\xEF\xBB\xBF")
        head.remove_prefix(3);
    return head.substr(0, 7) == "#EXTM3U";
}

base::Result<Asset> loadLocalAsset(const std::string& path, const AssetLoadOptions& options)
{
    std::string root;
    if (!options.root.empty()) {
        auto canonical = detail::canonicalFolder(options.root);
        if (!canonical.ok())
            return canonical.error();
        root = canonical.value();
    }
    auto file = detail::MediaFile::open(path, root);
    if (!file.ok())
        return file.error();
    if (!startsWithPlaylistMark(file->head(10)))
        return detail::loadContainerAsset(file.value(), options.limits);
    if (root.empty()) {
        // What a playlist names stays inside its own folder.
        auto folder = detail::canonicalFolder(folderOf(path));
        if (!folder.ok())
            return folder.error();
        root = folder.value();
    }
    return detail::loadStreamAsset(file.value(), root, options.limits);
}

} // namespace

base::Result<Asset> Asset::load(const std::string& urlOrPath, const AssetLoadOptions& options)
{
    auto path = localPathOf(urlOrPath);
    if (!path.ok())
        return path.error();
    return detail::readOnMediaReaderThread<base::Result<Asset>>([&]() { return loadLocalAsset(path.value(), options); });
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
