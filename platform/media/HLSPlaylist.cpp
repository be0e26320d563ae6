#include "platform/media/HLSPlaylist.h"

#include "platform/base/Strings.h"
#include "platform/media/MediaError.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace media {

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

struct Line {
    size_t number = 0;
    std::string_view text;
};

base::Error parseError(size_t line, const std::string& what)
{
    std::string prefix = line ? "Playlist line " + std::to_string(line) + ": " : "Playlist: ";
    return mediaError(errorFileFailedToParse, prefix + what);
}

std::vector<Line> splitLines(std::string_view text)
{
    if (base::hasPrefix(text, "\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<Line> lines;
    size_t number = 0;
    while (!text.empty() || number == 0) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        ++number;
        if (!line.empty())
            lines.push_back({ number, line });
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// NAME=VALUE pairs separated by commas; a quoted value may hold commas.
Attributes parseAttributes(std::string_view text)
{
    Attributes attributes;
    size_t i = 0;
    while (i < text.size()) {
        size_t equals = text.find('=', i);
        if (equals == std::string_view::npos)
            break;
        std::string name(base::trimWhitespace(text.substr(i, equals - i)));
        i = equals + 1;
        std::string value;
        if (i < text.size() && text[i] == '"') {
            size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos)
                close = text.size();
            value = std::string(text.substr(i + 1, close - i - 1));
            i = close + 1;
            size_t comma = text.find(',', std::min(i, text.size()));
            i = comma == std::string_view::npos ? text.size() : comma + 1;
        } else {
            size_t comma = text.find(',', i);
            value = std::string(text.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i));
            i = comma == std::string_view::npos ? text.size() : comma + 1;
        }
        attributes.emplace_back(std::move(name), std::move(value));
    }
    return attributes;
}

std::string attribute(const Attributes& attributes, std::string_view name)
{
    for (const auto& [key, value] : attributes) {
        if (key == name)
            return value;
    }
    return {};
}

bool hasTag(std::string_view line, std::string_view tag, std::string_view& rest)
{
    if (!base::hasPrefix(line, tag))
        return false;
    rest = line.substr(tag.size());
    if (rest.empty())
        return true;
    if (rest.front() != ':')
        return false;
    rest.remove_prefix(1);
    return true;
}

std::optional<double> parseNumber(std::string_view text)
{
    std::string trimmed = base::trimWhitespace(text);
    if (trimmed.empty())
        return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> parseInteger(std::string_view text)
{
    std::string trimmed = base::trimWhitespace(text);
    if (trimmed.empty() || trimmed.find_first_not_of("0123456789") != std::string::npos || trimmed.size() > 18)
        return std::nullopt;
    return std::stoll(trimmed);
}

int versionOf(std::string_view text)
{
    return static_cast<int>(std::clamp<int64_t>(parseInteger(text).value_or(1), 1, 1000));
}

int pixelsOf(std::string_view text)
{
    return static_cast<int>(std::clamp<int64_t>(parseInteger(text).value_or(0), 0, 1 << 20));
}

std::string seconds(double value)
{
    if (!(value >= 0 && value < 1e15))
        return std::to_string(value) + " s";
    return std::to_string(static_cast<int64_t>(value)) + " s";
}

// Every URI goes through here as it is read, so a refused one names its line.
base::Result<std::string> checkedURI(std::string_view uri, size_t line)
{
    if (hls::isRemoteURI(uri))
        return std::string(uri);
    auto path = hls::relativePathOf(uri);
    if (!path.ok()) {
        base::Error error = path.error();
        error.userInfo.asDictionary()->set(base::localizedDescriptionKey,
            "Playlist line " + std::to_string(line) + ": " + error.localizedDescription());
        return error;
    }
    return std::string(uri);
}

void appendOnce(std::vector<std::string>& list, std::set<std::string>& seen, const std::string& uri)
{
    if (!uri.empty() && seen.insert(uri).second)
        list.push_back(uri);
}

base::Result<std::vector<Line>> playlistLines(std::string_view text)
{
    std::vector<Line> lines = splitLines(text);
    if (lines.empty() || lines.front().text != "#EXTM3U")
        return parseError(lines.empty() ? 0 : lines.front().number, "the text does not start with #EXTM3U.");
    return lines;
}

} // namespace

std::vector<HLSRendition> HLSMasterPlaylist::renditionsOfType(HLSRendition::Type type) const
{
    std::vector<HLSRendition> found;
    std::copy_if(renditions.begin(), renditions.end(), std::back_inserter(found),
        [type](const HLSRendition& rendition) { return rendition.type == type; });
    return found;
}

std::vector<HLSVariant> HLSMasterPlaylist::variantsByBandwidth() const
{
    std::vector<HLSVariant> found;
    std::copy_if(variants.begin(), variants.end(), std::back_inserter(found),
        [](const HLSVariant& variant) { return !variant.isIFrameOnly; });
    std::stable_sort(found.begin(), found.end(),
        [](const HLSVariant& a, const HLSVariant& b) { return a.bandwidth > b.bandwidth; });
    return found;
}

std::vector<std::string> HLSMasterPlaylist::referencedURIs() const
{
    std::vector<std::string> uris;
    std::set<std::string> seen;
    for (const HLSVariant& variant : variants)
        appendOnce(uris, seen, variant.uri);
    for (const HLSRendition& rendition : renditions)
        appendOnce(uris, seen, rendition.uri);
    return uris;
}

double HLSMediaPlaylist::duration() const
{
    double total = 0;
    for (const HLSSegment& segment : segments)
        total += segment.duration;
    return total;
}

std::vector<std::string> HLSMediaPlaylist::referencedURIs() const
{
    std::vector<std::string> uris;
    std::set<std::string> seen;
    appendOnce(uris, seen, mapURI);
    for (const std::string& key : keyURIs)
        appendOnce(uris, seen, key);
    for (const HLSSegment& segment : segments)
        appendOnce(uris, seen, segment.uri);
    return uris;
}

namespace hls {

bool isRemoteURI(std::string_view uri)
{
    std::string lower = base::lowercase(uri.substr(0, 8));
    return base::hasPrefix(lower, "http://") || base::hasPrefix(lower, "https://");
}

base::Result<std::string> relativePathOf(std::string_view uri)
{
    auto refuse = [&](const char* why) {
        return mediaError(errorUnsafePath, std::string("the path \"") + std::string(uri) + "\" " + why);
    };
    if (isRemoteURI(uri))
        return refuse("is a web address, not a file.");
    std::string_view path = uri.substr(0, uri.find_first_of("?#"));
    auto decoded = base::percentDecode(path);
    if (!decoded)
        return refuse("is not a valid address.");
    if (decoded->empty())
        return refuse("is empty.");
    if (decoded->find('\0') != std::string::npos || decoded->find('\\') != std::string::npos)
        return refuse("holds a character no file name may hold.");
    if (decoded->front() == '/')
        return refuse("is absolute; it must stay inside the playlist's folder.");
    size_t colon = decoded->find(':');
    if (colon != std::string::npos && decoded->find('/') > colon)
        return refuse("names another scheme; only files inside the playlist's folder are read.");

    std::vector<std::string> components;
    for (const std::string& component : base::split(*decoded, "/")) {
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            if (components.empty())
                return refuse("leaves the playlist's folder.");
            components.pop_back();
            continue;
        }
        components.push_back(component);
    }
    if (components.empty())
        return refuse("names no file.");
    return base::join(components, "/");
}

base::Result<std::string> resolveInFolder(const std::string& folder, std::string_view uri)
{
    auto relative = relativePathOf(uri);
    if (!relative.ok())
        return relative.error();
    if (folder.empty())
        return relative.value();
    return (folder.back() == '/' ? folder : folder + "/") + relative.value();
}

base::Result<PlaylistKind> playlistKind(std::string_view text)
{
    auto lines = playlistLines(text);
    if (!lines.ok())
        return lines.error();
    for (const Line& line : lines.value()) {
        if (base::hasPrefix(line.text, "#EXT-X-STREAM-INF") || base::hasPrefix(line.text, "#EXT-X-MEDIA:"))
            return PlaylistKind::Master;
        if (base::hasPrefix(line.text, "#EXTINF") || base::hasPrefix(line.text, "#EXT-X-TARGETDURATION"))
            return PlaylistKind::Media;
    }
    return parseError(0, "the playlist names neither variants nor segments.");
}

base::Result<HLSMasterPlaylist> parseMasterPlaylist(std::string_view text)
{
    auto lines = playlistLines(text);
    if (!lines.ok())
        return lines.error();
    HLSMasterPlaylist playlist;
    std::optional<HLSVariant> pending;
    size_t pendingLine = 0;
    for (const Line& line : lines.value()) {
        std::string_view rest;
        if (line.text.front() != '#') {
            if (!pending)
                return parseError(line.number, "a URI without #EXT-X-STREAM-INF before it.");
            auto uri = checkedURI(line.text, line.number);
            if (!uri.ok())
                return uri.error();
            pending->uri = uri.value();
            playlist.variants.push_back(std::move(*pending));
            pending.reset();
        } else if (hasTag(line.text, "#EXT-X-STREAM-INF", rest) || hasTag(line.text, "#EXT-X-I-FRAME-STREAM-INF", rest)) {
            if (pending)
                return parseError(pendingLine, "#EXT-X-STREAM-INF without a URI after it.");
            Attributes attributes = parseAttributes(rest);
            HLSVariant variant;
            variant.isIFrameOnly = base::hasPrefix(line.text, "#EXT-X-I-FRAME");
            auto bandwidth = parseInteger(attribute(attributes, "BANDWIDTH"));
            if (!bandwidth)
                return parseError(line.number, "a variant without a valid BANDWIDTH.");
            variant.bandwidth = *bandwidth;
            variant.averageBandwidth = parseInteger(attribute(attributes, "AVERAGE-BANDWIDTH"));
            variant.codecs = attribute(attributes, "CODECS");
            std::string resolution = attribute(attributes, "RESOLUTION");
            if (size_t x = resolution.find('x'); x != std::string::npos) {
                variant.width = pixelsOf(resolution.substr(0, x));
                variant.height = pixelsOf(resolution.substr(x + 1));
            }
            variant.frameRate = parseNumber(attribute(attributes, "FRAME-RATE")).value_or(0);
            variant.audioGroup = attribute(attributes, "AUDIO");
            variant.videoGroup = attribute(attributes, "VIDEO");
            variant.subtitlesGroup = attribute(attributes, "SUBTITLES");
            variant.closedCaptionsGroup = attribute(attributes, "CLOSED-CAPTIONS");
            if (variant.isIFrameOnly) {
                auto uri = checkedURI(attribute(attributes, "URI"), line.number);
                if (!uri.ok())
                    return uri.error();
                variant.uri = uri.value();
                playlist.variants.push_back(std::move(variant));
            } else {
                pending = std::move(variant);
                pendingLine = line.number;
            }
        } else if (hasTag(line.text, "#EXT-X-MEDIA", rest)) {
            Attributes attributes = parseAttributes(rest);
            HLSRendition rendition;
            std::string type = attribute(attributes, "TYPE");
            if (type == "AUDIO")
                rendition.type = HLSRendition::Type::Audio;
            else if (type == "VIDEO")
                rendition.type = HLSRendition::Type::Video;
            else if (type == "SUBTITLES")
                rendition.type = HLSRendition::Type::Subtitles;
            else if (type == "CLOSED-CAPTIONS")
                rendition.type = HLSRendition::Type::ClosedCaptions;
            else
                return parseError(line.number, "a rendition of unknown TYPE \"" + type + "\".");
            rendition.groupId = attribute(attributes, "GROUP-ID");
            rendition.name = attribute(attributes, "NAME");
            rendition.language = attribute(attributes, "LANGUAGE");
            rendition.assocLanguage = attribute(attributes, "ASSOC-LANGUAGE");
            rendition.isDefault = attribute(attributes, "DEFAULT") == "YES";
            rendition.autoselect = attribute(attributes, "AUTOSELECT") == "YES";
            rendition.forced = attribute(attributes, "FORCED") == "YES";
            rendition.characteristics = attribute(attributes, "CHARACTERISTICS");
            rendition.channels = attribute(attributes, "CHANNELS");
            rendition.instreamId = attribute(attributes, "INSTREAM-ID");
            if (std::string uri = attribute(attributes, "URI"); !uri.empty()) {
                auto checked = checkedURI(uri, line.number);
                if (!checked.ok())
                    return checked.error();
                rendition.uri = checked.value();
            }
            if (rendition.type == HLSRendition::Type::Subtitles && rendition.uri.empty())
                return parseError(line.number, "a subtitle rendition without a URI.");
            playlist.renditions.push_back(std::move(rendition));
        } else if (hasTag(line.text, "#EXT-X-VERSION", rest)) {
            playlist.version = versionOf(rest);
        } else if (line.text == "#EXT-X-INDEPENDENT-SEGMENTS") {
            playlist.independentSegments = true;
        } else if (base::hasPrefix(line.text, "#EXTINF")) {
            return parseError(line.number, "a master playlist holds no segments.");
        }
    }
    if (pending)
        return parseError(pendingLine, "#EXT-X-STREAM-INF without a URI after it.");
    if (playlist.variants.empty())
        return parseError(0, "a master playlist without variants.");
    return playlist;
}

base::Result<HLSMediaPlaylist> parseMediaPlaylist(std::string_view text, const AssetLimits& limits)
{
    auto lines = playlistLines(text);
    if (!lines.ok())
        return lines.error();
    const std::string longest = seconds(limits.maxMediaDuration);
    HLSMediaPlaylist playlist;
    double total = 0;
    std::optional<HLSSegment> pending;
    size_t pendingLine = 0;
    bool nextIsDiscontinuity = false;
    std::optional<HLSByteRange> nextByteRange;
    for (const Line& line : lines.value()) {
        std::string_view rest;
        if (line.text.front() != '#') {
            if (!pending)
                return parseError(line.number, "a segment without #EXTINF before it.");
            if (playlist.segments.size() >= limits.maxSegmentsPerPlaylist)
                return parseError(line.number,
                    "more than " + std::to_string(limits.maxSegmentsPerPlaylist) + " segments (maxSegmentsPerPlaylist).");
            auto uri = checkedURI(line.text, line.number);
            if (!uri.ok())
                return uri.error();
            pending->uri = uri.value();
            pending->discontinuity = std::exchange(nextIsDiscontinuity, false);
            pending->byteRange = std::exchange(nextByteRange, std::nullopt);
            playlist.segments.push_back(std::move(*pending));
            pending.reset();
        } else if (hasTag(line.text, "#EXTINF", rest)) {
            if (pending)
                return parseError(pendingLine, "#EXTINF without a segment URI after it.");
            size_t comma = rest.find(',');
            auto duration = parseNumber(rest.substr(0, comma));
            if (!duration || *duration < 0)
                return parseError(line.number, "a segment without a valid duration.");
            if (*duration > limits.maxMediaDuration)
                return parseError(line.number, "a segment longer than " + longest + " (maxMediaDuration).");
            total += *duration;
            if (total > limits.maxMediaDuration)
                return parseError(line.number, "the segments last longer than " + longest + " (maxMediaDuration).");
            HLSSegment segment;
            segment.duration = *duration;
            if (comma != std::string_view::npos)
                segment.title = std::string(rest.substr(comma + 1));
            pending = std::move(segment);
            pendingLine = line.number;
        } else if (hasTag(line.text, "#EXT-X-BYTERANGE", rest)) {
            size_t at = rest.find('@');
            auto length = parseInteger(rest.substr(0, at));
            if (!length)
                return parseError(line.number, "a byte range without a valid length.");
            HLSByteRange range { *length, std::nullopt };
            if (at != std::string_view::npos) {
                range.offset = parseInteger(rest.substr(at + 1));
                if (!range.offset)
                    return parseError(line.number, "a byte range without a valid offset.");
            }
            nextByteRange = range;
        } else if (hasTag(line.text, "#EXT-X-TARGETDURATION", rest)) {
            auto target = parseNumber(rest);
            if (!target || *target < 0 || *target > limits.maxMediaDuration)
                return parseError(line.number, "an invalid target duration.");
            playlist.targetDuration = *target;
        } else if (hasTag(line.text, "#EXT-X-MEDIA-SEQUENCE", rest)) {
            playlist.mediaSequence = parseInteger(rest).value_or(0);
        } else if (hasTag(line.text, "#EXT-X-VERSION", rest)) {
            playlist.version = versionOf(rest);
        } else if (hasTag(line.text, "#EXT-X-PLAYLIST-TYPE", rest)) {
            playlist.playlistType = std::string(rest);
        } else if (line.text == "#EXT-X-ENDLIST") {
            playlist.endList = true;
        } else if (line.text == "#EXT-X-DISCONTINUITY") {
            nextIsDiscontinuity = true;
        } else if (hasTag(line.text, "#EXT-X-MAP", rest) || hasTag(line.text, "#EXT-X-KEY", rest)) {
            bool isMap = base::hasPrefix(line.text, "#EXT-X-MAP");
            std::string uri = attribute(parseAttributes(rest), "URI");
            if (uri.empty()) {
                if (isMap)
                    return parseError(line.number, "#EXT-X-MAP without a URI.");
                continue;
            }
            auto checked = checkedURI(uri, line.number);
            if (!checked.ok())
                return checked.error();
            if (isMap)
                playlist.mapURI = checked.value();
            else
                playlist.keyURIs.push_back(checked.value());
        } else if (base::hasPrefix(line.text, "#EXT-X-STREAM-INF")) {
            return parseError(line.number, "a media playlist names no variants.");
        }
    }
    if (pending)
        return parseError(pendingLine, "#EXTINF without a segment URI after it.");
    return playlist;
}

} // namespace hls

} // namespace media
