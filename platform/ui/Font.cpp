#include "platform/ui/Font.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

namespace ui {

namespace {

// Families the platform ships and the product may ask for by name.
constexpr std::array builtInNames {
    "System",
    "Helvetica",
    "Helvetica-Bold",
    "HelveticaNeue",
    "HelveticaNeue-Bold",
    "HelveticaNeue-Medium",
    "HelveticaNeue-Light",
    "Arial",
    "ArialMT",
    "Arial-BoldMT",
    "Courier",
    "Georgia",
    "Times New Roman",
    "TimesNewRomanPSMT",
    "Menlo-Regular",
};

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string lowercase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

uint32_t readU32(const std::string& bytes, size_t offset, bool& ok)
{
    if (offset > bytes.size() || bytes.size() - offset < 4) {
        ok = false;
        return 0;
    }
    auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])); };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

uint16_t readU16(const std::string& bytes, size_t offset, bool& ok)
{
    if (offset > bytes.size() || bytes.size() - offset < 2) {
        ok = false;
        return 0;
    }
    auto b = [&](size_t i) { return static_cast<uint16_t>(static_cast<unsigned char>(bytes[offset + i])); };
    return static_cast<uint16_t>((b(0) << 8) | b(1));
}

bool hasFontSignature(const std::string& bytes)
{
    if (bytes.size() < 4)
        return false;
    std::string tag = bytes.substr(0, 4);
    return tag == std::string("\x00\x01\x00\x00", 4) || tag == "OTTO" || tag == "true" || tag == "ttcf";
}

std::string decodeNameRecord(const std::string& raw, uint16_t platform)
{
    // Platforms 0 (Unicode) and 3 (Windows) store UTF-16BE; 1 (Mac) single bytes.
    std::string out;
    if (platform == 0 || platform == 3) {
        for (size_t i = 0; i + 1 < raw.size(); i += 2) {
            unsigned unit = (static_cast<unsigned char>(raw[i]) << 8) | static_cast<unsigned char>(raw[i + 1]);
            if (unit >= 0x20 && unit < 0x7F)
                out.push_back(static_cast<char>(unit));
            else if (unit >= 0x80)
                out.push_back('?');
        }
    } else {
        for (char c : raw) {
            if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F)
                out.push_back(c);
        }
    }
    return out;
}

} // namespace

const char* fontWeightName(FontWeight weight)
{
    switch (weight) {
    case FontWeight::UltraLight: return "ultraLight";
    case FontWeight::Thin: return "thin";
    case FontWeight::Light: return "light";
    case FontWeight::Regular: return "regular";
    case FontWeight::Medium: return "medium";
    case FontWeight::Semibold: return "semibold";
    case FontWeight::Bold: return "bold";
    case FontWeight::Heavy: return "heavy";
    case FontWeight::Black: return "black";
    }
    return "?";
}

Font::Font(std::string name, double pointSize, FontWeight weight, bool italic)
    : m_name(std::move(name))
    , m_pointSize(std::isfinite(pointSize) && pointSize > 0 ? pointSize : 0)
    , m_weight(weight)
    , m_italic(italic)
{
}

Font Font::systemFont(double pointSize, FontWeight weight)
{
    return Font(systemFontName, pointSize, weight);
}

Font Font::italicSystemFont(double pointSize)
{
    return Font(systemFontName, pointSize, FontWeight::Regular, true);
}

std::optional<Font> Font::fromName(const std::string& name, double pointSize)
{
    if (name.empty() || !std::isfinite(pointSize) || pointSize <= 0)
        return std::nullopt;
    if (!FontRegistry::shared().isRegistered(name))
        return std::nullopt;
    bool italic = false;
    FontWeight weight = fontWeightFromFaceName(name, &italic);
    return Font(name, pointSize, weight, italic);
}

Font Font::withSize(double pointSize) const
{
    Font font = *this;
    font.m_pointSize = std::isfinite(pointSize) && pointSize > 0 ? pointSize : 0;
    return font;
}

Font Font::withWeight(FontWeight weight) const
{
    Font font = *this;
    font.m_weight = weight;
    return font;
}

double Font::lineHeight() const
{
    return std::ceil(m_pointSize * 1.2);
}

std::string Font::toDebugString() const
{
    char size[32];
    std::snprintf(size, sizeof size, "%g", m_pointSize);
    std::string text = m_name + " " + size;
    if (m_weight != FontWeight::Regular)
        text += std::string(" ") + fontWeightName(m_weight);
    if (m_italic)
        text += " italic";
    return text;
}

bool operator==(const Font& a, const Font& b)
{
    return a.name() == b.name() && std::fabs(a.pointSize() - b.pointSize()) < 1e-9 && a.weight() == b.weight()
        && a.isItalic() == b.isItalic();
}

std::ostream& operator<<(std::ostream& out, const Font& font)
{
    return out << font.toDebugString();
}

FontWeight fontWeightFromFaceName(const std::string& faceName, bool* italic)
{
    auto dash = faceName.rfind('-');
    std::string style = lowercase(dash == std::string::npos ? std::string() : faceName.substr(dash + 1));
    bool isItalic = false;
    for (std::string marker : { "italic", "oblique" }) {
        if (endsWith(style, marker)) {
            isItalic = true;
            style.erase(style.size() - marker.size());
            break;
        }
    }
    if (italic)
        *italic = isItalic;
    // Longest names first so "extrabold" is not read as "bold".
    static const std::pair<const char*, FontWeight> table[] = {
        { "ultralight", FontWeight::UltraLight },
        { "extralight", FontWeight::UltraLight },
        { "hairline", FontWeight::UltraLight },
        { "thin", FontWeight::Thin },
        { "light", FontWeight::Light },
        { "regular", FontWeight::Regular },
        { "book", FontWeight::Regular },
        { "medium", FontWeight::Medium },
        { "semibold", FontWeight::Semibold },
        { "demibold", FontWeight::Semibold },
        { "extrabold", FontWeight::Heavy },
        { "ultrabold", FontWeight::Heavy },
        { "heavy", FontWeight::Heavy },
        { "black", FontWeight::Black },
        { "bold", FontWeight::Bold },
    };
    for (const auto& [suffix, weight] : table) {
        if (style == suffix)
            return weight;
    }
    for (const auto& [suffix, weight] : table) {
        if (endsWith(style, suffix))
            return weight;
    }
    if (endsWith(lowercase(faceName), "bold") || endsWith(lowercase(faceName), "boldmt"))
        return FontWeight::Bold;
    return FontWeight::Regular;
}

std::vector<std::string> fontNamesFromData(const std::string& bytes)
{
    std::vector<std::string> names;
    if (!hasFontSignature(bytes))
        return names;
    bool ok = true;
    size_t fontOffset = 0;
    if (bytes.compare(0, 4, "ttcf") == 0) {
        uint32_t count = readU32(bytes, 8, ok);
        if (!ok || count == 0)
            return names;
        fontOffset = readU32(bytes, 12, ok);
        if (!ok)
            return names;
    }
    uint16_t numTables = readU16(bytes, fontOffset + 4, ok);
    if (!ok)
        return names;
    size_t nameTable = 0;
    size_t nameLength = 0;
    for (uint16_t i = 0; i < numTables; ++i) {
        size_t record = fontOffset + 12 + size_t(i) * 16;
        uint32_t tag = readU32(bytes, record, ok);
        if (!ok)
            return names;
        if (tag == 0x6E616D65) { // 'name'
            nameTable = readU32(bytes, record + 8, ok);
            nameLength = readU32(bytes, record + 12, ok);
            break;
        }
    }
    if (!ok || nameTable == 0 || nameTable >= bytes.size())
        return names;
    nameLength = std::min(nameLength, bytes.size() - nameTable);
    uint16_t count = readU16(bytes, nameTable + 2, ok);
    uint16_t storage = readU16(bytes, nameTable + 4, ok);
    if (!ok)
        return names;
    for (uint16_t i = 0; i < count; ++i) {
        size_t record = nameTable + 6 + size_t(i) * 12;
        if (record + 12 > nameTable + nameLength)
            break;
        uint16_t platform = readU16(bytes, record, ok);
        uint16_t nameId = readU16(bytes, record + 6, ok);
        uint16_t length = readU16(bytes, record + 8, ok);
        uint16_t offset = readU16(bytes, record + 10, ok);
        if (!ok)
            break;
        if (nameId != 1 && nameId != 4 && nameId != 6)
            continue;
        size_t start = nameTable + storage + offset;
        if (start > bytes.size() || bytes.size() - start < length)
            continue;
        std::string value = decodeNameRecord(bytes.substr(start, length), platform);
        if (!value.empty() && std::find(names.begin(), names.end(), value) == names.end())
            names.push_back(value);
    }
    return names;
}

FontRegistry& FontRegistry::shared()
{
    static FontRegistry registry;
    return registry;
}

namespace {

// What fontNamesFromData() needs of a font file: a single font's header, table directory and
// naming table, read without the glyphs (an icon font is most of a megabyte, and the reader
// registers one as every book opens). The naming table is placed right after the directory,
// whose record for it is rewritten to point there. A collection, or a file whose directory
// does not read, is read whole (at most 8 MB, and no more than the file holds).
std::string namingBytesOfFontFile(const std::string& path, std::ifstream& file)
{
    auto readAt = [&file](size_t offset, size_t length) {
        std::string bytes(length, '\0');
        file.clear();
        file.seekg(static_cast<std::streamoff>(offset));
        file.read(bytes.data(), static_cast<std::streamsize>(length));
        bytes.resize(static_cast<size_t>(file.gcount()));
        return bytes;
    };
    std::string head = readAt(0, 12);
    bool ok = head.size() == 12 && hasFontSignature(head) && head.compare(0, 4, "ttcf") != 0;
    uint16_t numTables = ok ? readU16(head, 4, ok) : 0;
    std::string directory = ok ? readAt(12, size_t(numTables) * 16) : std::string();
    ok = ok && directory.size() == size_t(numTables) * 16;
    for (uint16_t i = 0; ok && i < numTables; ++i) {
        size_t record = size_t(i) * 16;
        if (readU32(directory, record, ok) != 0x6E616D65) // 'name'
            continue;
        uint32_t offset = readU32(directory, record + 8, ok);
        uint32_t length = readU32(directory, record + 12, ok);
        if (!ok || length == 0 || length > 1024 * 1024)
            break;
        std::string naming = readAt(offset, length);
        if (naming.size() != length)
            break;
        std::string bytes = head + directory;
        uint32_t placed = static_cast<uint32_t>(bytes.size());
        for (int shift = 24, at = 0; shift >= 0; shift -= 8, ++at)
            bytes[12 + record + 8 + size_t(at)] = static_cast<char>((placed >> shift) & 0xFF);
        return bytes + naming;
    }
    constexpr size_t maxBytes = 8 * 1024 * 1024;
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return readAt(0, error ? 0 : std::min<size_t>(static_cast<size_t>(size), maxBytes));
}

} // namespace

bool FontRegistry::registerFontFile(const std::string& path)
{
    {
        // Registrations last for the process: a file already registered is not read again.
        std::lock_guard lock(m_mutex);
        if (m_files.count(path))
            return true;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string bytes = namingBytesOfFontFile(path, file);
    if (!hasFontSignature(bytes))
        return false;

    std::vector<std::string> names = fontNamesFromData(bytes);
    std::string stem = path;
    if (auto slash = stem.find_last_of('/'); slash != std::string::npos)
        stem.erase(0, slash + 1);
    if (auto dot = stem.rfind('.'); dot != std::string::npos && dot > 0)
        stem.erase(dot);
    if (!stem.empty())
        names.push_back(stem);

    std::lock_guard lock(m_mutex);
    m_files.insert(path);
    for (auto& name : names) {
        m_fileOfFace.emplace(name, path);
        m_names.insert(std::move(name));
    }
    return true;
}

void FontRegistry::registerFaceName(const std::string& name)
{
    if (name.empty())
        return;
    std::lock_guard lock(m_mutex);
    m_names.insert(name);
}

bool FontRegistry::isRegistered(const std::string& name) const
{
    for (const char* builtIn : builtInNames) {
        if (name == builtIn)
            return true;
    }
    std::lock_guard lock(m_mutex);
    return m_names.count(name) > 0;
}

std::vector<std::string> FontRegistry::registeredNames() const
{
    std::lock_guard lock(m_mutex);
    return { m_names.begin(), m_names.end() };
}

std::vector<std::string> FontRegistry::registeredFiles() const
{
    std::lock_guard lock(m_mutex);
    return { m_files.begin(), m_files.end() };
}

std::optional<std::string> FontRegistry::fileOfFace(const std::string& name) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_fileOfFace.find(name);
    if (found == m_fileOfFace.end())
        return std::nullopt;
    return found->second;
}

void FontRegistry::resetForTesting()
{
    std::lock_guard lock(m_mutex);
    m_names.clear();
    m_files.clear();
    m_fileOfFace.clear();
}

} // namespace ui
