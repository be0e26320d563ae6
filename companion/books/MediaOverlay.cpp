#include "companion/books/MediaOverlay.h"

#include "companion/books/BookErrors.h"
#include "companion/books/BookPaths.h"
#include "companion/books/XmlTree.h"

#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

namespace companion {

namespace {

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "12" or "12.05": digits, then optionally a point and more digits.
std::optional<double> plainDecimal(std::string_view text)
{
    auto point = text.find('.');
    if (!allDigits(text.substr(0, point)) || (point != std::string_view::npos && !allDigits(text.substr(point + 1))))
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> clockValue(std::string_view text)
{
    auto parts = base::split(text, ":");
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    const std::string& minutes = parts[parts.size() - 2];
    const std::string& seconds = parts.back();
    const std::string hours = parts.size() == 3 ? parts[0] : "0";
    // Minutes and whole seconds are two digits each.
    if (!allDigits(hours) || minutes.size() != 2 || !allDigits(minutes) || seconds.size() < 2
        || (seconds.size() > 2 && seconds[2] != '.'))
        return std::nullopt;
    auto h = plainDecimal(hours);
    auto m = plainDecimal(minutes);
    auto s = plainDecimal(seconds);
    if (!h || !m || !s || *m >= 60 || *s >= 60)
        return std::nullopt;
    return *h * 3600 + *m * 60 + *s;
}

std::optional<double> timecount(std::string_view text)
{
    // Longest units first: "ms" and "min" end like "s" and "n".
    static const std::pair<std::string_view, double> units[]
        = { { "ms", 0.001 }, { "min", 60 }, { "h", 3600 }, { "s", 1 } };
    double scale = 1;
    for (const auto& [unit, factor] : units) {
        if (text.size() > unit.size() && text.substr(text.size() - unit.size()) == unit) {
            text.remove_suffix(unit.size());
            scale = factor;
            break;
        }
    }
    auto value = plainDecimal(text);
    if (!value)
        return std::nullopt;
    return *value * scale;
}

base::Error refused(const std::string& overlayPath, const std::string& why)
{
    return makeBookError(BookError::Malformed, "The media overlay " + overlayPath + " " + why);
}

pugi::xml_node firstChild(const pugi::xml_node& node, std::string_view name)
{
    for (auto candidate : node.children()) {
        if (candidate.type() == pugi::node_element && xmlLocalName(candidate.name()) == name)
            return candidate;
    }
    return {};
}

// "https://…", "file:…": a scheme before any slash.
bool hasScheme(std::string_view src)
{
    auto colon = src.find(':');
    auto slash = src.find('/');
    return colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash);
}

class OverlayReader {
public:
    OverlayReader(const std::string& overlayPath, const std::string& chapterPath, const MediaOverlayFiles& files,
        const BookBudget& budget)
        : m_overlayPath(overlayPath)
        , m_directory(directoryOf(overlayPath))
        , m_chapterPath(chapterPath)
        , m_files(files)
        , m_budget(budget)
    {
    }

    base::Result<base::Value> read();

private:
    // Adds the par's clip, when it narrates this chapter; false once the overlay is refused.
    bool readPar(const pugi::xml_node& par);
    // The clip file's book-relative path, checked once however many clips name it.
    std::optional<std::string> audioPath(const std::string& src);

    const std::string& m_overlayPath;
    const std::string m_directory;
    const std::string& m_chapterPath;
    const MediaOverlayFiles& m_files;
    const BookBudget& m_budget;
    base::Value::List m_clips;
    size_t m_pars = 0;
    std::unordered_map<std::string, std::string> m_audioPaths;
    std::optional<base::Error> m_failure;
};

base::Result<base::Value> OverlayReader::read()
{
    auto content = m_files.read ? m_files.read(m_overlayPath) : base::Result<std::string>(refused(m_overlayPath, "cannot be read"));
    if (!content.ok())
        return content.error();
    pugi::xml_document document;
    const auto& text = content.value();
    auto parsed = document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed)
        return refused(m_overlayPath, std::string("cannot be parsed (") + parsed.description() + ")");
    auto root = document.document_element();
    if (xmlLocalName(root.name()) != "smil")
        return refused(m_overlayPath, "is not a SMIL document");
    walkXmlTree(root, [&](const pugi::xml_node& node, size_t) {
        if (m_failure || node.type() != pugi::node_element)
            return false;
        if (xmlLocalName(node.name()) != "par")
            return true;
        readPar(node);
        return false;
    });
    if (m_failure)
        return *m_failure;
    if (m_clips.empty())
        return refused(m_overlayPath, "narrates nothing of " + m_chapterPath);
    return base::Value(std::move(m_clips));
}

bool OverlayReader::readPar(const pugi::xml_node& par)
{
    if (++m_pars > m_budget.maxOverlayClips) {
        m_failure = makeBookError(BookError::TooLarge, budgetExceededDescription("The media overlay " + m_overlayPath,
                                                           m_pars, "clips", m_budget.maxOverlayClips, "maxOverlayClips"));
        return false;
    }
    auto text = firstChild(par, "text");
    auto audio = firstChild(par, "audio");
    if (!text || !audio)
        return true;
    auto target = splitHref(text.attribute("src").value());
    auto textPath = resolveBookPath(m_directory, target.path);
    if (!textPath || *textPath != m_chapterPath || target.fragment.empty())
        return true;

    auto path = audioPath(audio.attribute("src").value());
    if (!path)
        return false;
    base::Value::Dictionary clip;
    clip.set("wordId", base::percentDecode(target.fragment).value_or(target.fragment));
    double begin = 0;
    if (auto attribute = audio.attribute("clipBegin")) {
        auto value = parseClockValue(attribute.value());
        if (!value) {
            m_failure = refused(m_overlayPath, std::string("has a clip beginning at \"") + attribute.value() + "\", no clock value");
            return false;
        }
        begin = *value;
    }
    clip.set("start", begin);
    // A clip without an end plays to the end of its file.
    if (auto attribute = audio.attribute("clipEnd")) {
        auto value = parseClockValue(attribute.value());
        if (!value || *value < begin) {
            m_failure = refused(m_overlayPath, std::string("has a clip ending at \"") + attribute.value() + "\", "
                    + (value ? "before it begins" : "no clock value"));
            return false;
        }
        clip.set("end", *value);
    }
    clip.set("audio", base::percentEncode(*path, base::PercentEncodeSet::UrlPathAllowed));
    m_clips.push_back(std::move(clip));
    return true;
}

std::optional<std::string> OverlayReader::audioPath(const std::string& src)
{
    if (auto known = m_audioPaths.find(src); known != m_audioPaths.end())
        return known->second;
    if (hasScheme(src)) {
        m_failure = makeBookError(BookError::UnsafePath, "The media overlay " + m_overlayPath + " plays " + src + ", which is not in the book");
        return std::nullopt;
    }
    auto path = resolveBookPath(m_directory, src);
    if (!path) {
        m_failure = makeBookError(BookError::UnsafePath, "The media overlay " + m_overlayPath + " plays " + src + ", outside the book folder");
        return std::nullopt;
    }
    auto size = m_files.size ? m_files.size(*path) : base::Result<size_t>(refused(m_overlayPath, "cannot check " + *path));
    if (!size.ok()) {
        m_failure = size.error();
        return std::nullopt;
    }
    m_audioPaths.emplace(src, *path);
    return path;
}

} // namespace

std::optional<double> parseClockValue(std::string_view value)
{
    const std::string text = base::trimWhitespaceAndNewlines(value);
    if (text.empty())
        return std::nullopt;
    auto seconds = text.find(':') != std::string::npos ? clockValue(text) : timecount(text);
    if (!seconds || !std::isfinite(*seconds))
        return std::nullopt;
    return seconds;
}

base::Result<base::Value> readMediaOverlay(const std::string& overlayPath, const std::string& chapterPath,
    const MediaOverlayFiles& files, const BookBudget& budget)
{
    return OverlayReader(overlayPath, chapterPath, files, budget).read();
}

} // namespace companion
