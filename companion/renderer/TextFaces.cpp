#include "companion/renderer/TextFaces.h"

#include "platform/base/Bundle.h"
#include "platform/ui/TextMetrics.h"

#include <utf8proc.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace companion {

// A font file's horizontal metrics: the advance of every code point it maps, in font units.
class FaceFile {
public:
    static std::unique_ptr<FaceFile> read(const std::string& path);

    const std::string& path() const { return m_path; }
    double unitsPerEm() const { return m_unitsPerEm; }
    uint16_t advanceUnits(char32_t codePoint) const
    {
        if (codePoint < m_basic.size())
            return m_basic[codePoint];
        auto found = m_supplementary.find(codePoint);
        return found == m_supplementary.end() ? m_missing : found->second;
    }

private:
    std::string m_path;
    double m_unitsPerEm = 1000;
    uint16_t m_missing = 0;
    // Every code point of the basic plane, so a lookup is one index.
    std::vector<uint16_t> m_basic;
    std::unordered_map<char32_t, uint16_t> m_supplementary;
};

namespace {

// Big-endian reads that answer 0 past the end: a short or damaged table reads as empty.
struct Bytes {
    std::string_view data;

    uint16_t u16(size_t at) const
    {
        if (at + 2 > data.size() || at + 2 < at)
            return 0;
        return static_cast<uint16_t>(static_cast<uint8_t>(data[at]) << 8 | static_cast<uint8_t>(data[at + 1]));
    }
    uint32_t u32(size_t at) const { return static_cast<uint32_t>(u16(at)) << 16 | u16(at + 2); }
};

struct Table {
    size_t offset = 0;
    size_t length = 0;
};

std::optional<Table> findTable(const Bytes& bytes, std::string_view tag)
{
    uint16_t count = bytes.u16(4);
    for (uint16_t index = 0; index < count; ++index) {
        size_t record = 12 + size_t { index } * 16;
        if (record + 16 > bytes.data.size())
            return std::nullopt;
        if (bytes.data.substr(record, 4) != tag)
            continue;
        size_t offset = bytes.u32(record + 8);
        size_t length = bytes.u32(record + 12);
        if (offset > bytes.data.size() || length > bytes.data.size() - offset)
            return std::nullopt;
        return Table { offset, length };
    }
    return std::nullopt;
}

constexpr size_t basicPlane = 0x10000;

} // namespace

std::unique_ptr<FaceFile> FaceFile::read(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return nullptr;
    std::ostringstream contents;
    contents << stream.rdbuf();
    std::string data = contents.str();
    Bytes bytes { data };
    auto head = findTable(bytes, "head");
    auto hhea = findTable(bytes, "hhea");
    auto hmtx = findTable(bytes, "hmtx");
    auto cmap = findTable(bytes, "cmap");
    if (!head || !hhea || !hmtx || !cmap)
        return nullptr;
    auto file = std::make_unique<FaceFile>();
    file->m_path = path;
    uint16_t unitsPerEm = bytes.u16(head->offset + 18);
    if (unitsPerEm < 16)
        return nullptr;
    file->m_unitsPerEm = unitsPerEm;
    size_t metrics = bytes.u16(hhea->offset + 34);
    if (metrics == 0 || metrics * 4 > hmtx->length)
        return nullptr;
    // Glyphs past the last metric share its advance.
    auto advanceOfGlyph = [&](uint32_t glyph) {
        return bytes.u16(hmtx->offset + std::min<size_t>(glyph, metrics - 1) * 4);
    };
    file->m_missing = advanceOfGlyph(0);
    file->m_basic.assign(basicPlane, file->m_missing);

    // The Unicode subtables: a full-repertoire one (format 12) when there is one, else the
    // basic plane's (format 4).
    std::optional<size_t> format4, format12;
    uint16_t subtables = bytes.u16(cmap->offset + 2);
    for (uint16_t index = 0; index < subtables; ++index) {
        size_t record = cmap->offset + 4 + size_t { index } * 8;
        uint16_t platform = bytes.u16(record);
        uint16_t encoding = bytes.u16(record + 2);
        size_t at = cmap->offset + bytes.u32(record + 4);
        if (at >= cmap->offset + cmap->length)
            continue;
        bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (!unicode)
            continue;
        uint16_t format = bytes.u16(at);
        if (format == 12)
            format12 = at;
        else if (format == 4)
            format4 = at;
    }
    if (format12) {
        size_t at = *format12;
        uint32_t groups = bytes.u32(at + 12);
        groups = std::min<uint32_t>(groups, static_cast<uint32_t>((data.size() - std::min(data.size(), at + 16)) / 12));
        for (uint32_t group = 0; group < groups; ++group) {
            size_t entry = at + 16 + size_t { group } * 12;
            uint32_t first = bytes.u32(entry);
            uint32_t last = std::min<uint32_t>(bytes.u32(entry + 4), 0x10FFFF);
            uint32_t glyph = bytes.u32(entry + 8);
            for (uint32_t codePoint = first; codePoint <= last && last - first < 0x110000; ++codePoint) {
                uint16_t advance = advanceOfGlyph(glyph + (codePoint - first));
                if (codePoint < basicPlane)
                    file->m_basic[codePoint] = advance;
                else
                    file->m_supplementary[codePoint] = advance;
            }
        }
    } else if (format4) {
        size_t at = *format4;
        size_t segments = bytes.u16(at + 6) / 2;
        size_t ends = at + 14;
        size_t starts = ends + segments * 2 + 2;
        size_t deltas = starts + segments * 2;
        size_t rangeOffsets = deltas + segments * 2;
        for (size_t segment = 0; segment < segments; ++segment) {
            uint16_t last = bytes.u16(ends + segment * 2);
            uint16_t first = bytes.u16(starts + segment * 2);
            uint16_t delta = bytes.u16(deltas + segment * 2);
            size_t rangeOffsetAt = rangeOffsets + segment * 2;
            uint16_t rangeOffset = bytes.u16(rangeOffsetAt);
            for (uint32_t codePoint = first; codePoint <= last && first <= last; ++codePoint) {
                uint32_t glyph = 0;
                if (rangeOffset == 0) {
                    glyph = (codePoint + delta) & 0xFFFF;
                } else {
                    uint16_t indexed = bytes.u16(rangeOffsetAt + rangeOffset + (codePoint - first) * 2);
                    glyph = indexed == 0 ? 0 : (indexed + delta) & 0xFFFF;
                }
                if (glyph != 0)
                    file->m_basic[codePoint] = advanceOfGlyph(glyph);
            }
        }
    } else {
        return nullptr;
    }
    return file;
}

namespace {

const char* faceName(TextFace face)
{
    return face == TextFace::Heading ? "OpenSans-Bold" : "OpenSans-Regular";
}

// The library's bundle first, then the system's copy of the same family.
std::optional<std::string> locateFace(TextFace face)
{
    if (auto path = base::Bundle::library().pathForResource(faceName(face), "ttf"))
        return path;
    std::string system = std::string("/usr/share/fonts/truetype/open-sans/") + faceName(face) + ".ttf";
    std::error_code error;
    if (std::filesystem::is_regular_file(system, error))
        return system;
    return std::nullopt;
}

struct Faces {
    std::mutex mutex;
    std::map<TextFace, std::unique_ptr<FaceFile>> files;
    std::map<std::pair<TextFace, double>, std::unique_ptr<GlyphAdvances>> sizes;
};

Faces& faces()
{
    static Faces* shared = new Faces;
    return *shared;
}

// Under the faces' lock.
const FaceFile* faceFileLocked(Faces& all, TextFace face)
{
    auto found = all.files.find(face);
    if (found == all.files.end()) {
        std::unique_ptr<FaceFile> file;
        if (auto path = locateFace(face)) {
            file = FaceFile::read(*path);
            // The painter finds the file by the face's name.
            if (file)
                ui::FontRegistry::shared().registerFontFile(*path);
        }
        found = all.files.emplace(face, std::move(file)).first;
    }
    return found->second.get();
}

} // namespace

GlyphAdvances::GlyphAdvances(const FaceFile* file, TextFace face, double pointSize)
    : m_file(file)
    , m_face(face)
    , m_pointSize(pointSize)
{
    ui::FontWeight weight = face == TextFace::Heading ? ui::FontWeight::Bold : ui::FontWeight::Regular;
    m_font = file ? ui::Font(faceName(face), pointSize, weight) : ui::Font::systemFont(pointSize, weight);
    for (char32_t codePoint = 0; codePoint < m_ascii.size(); ++codePoint)
        m_ascii[codePoint] = advanceOutsideAscii(codePoint);
}

double GlyphAdvances::advanceOutsideAscii(char32_t codePoint) const
{
    if (m_file)
        return m_file->advanceUnits(codePoint) * m_pointSize / m_file->unitsPerEm();
    // The deterministic metric counts UTF-16 units.
    if (codePoint >= 0x10000)
        return 2 * ui::TextMetrics::advanceOfUnit(u'\u00E9', m_font);
    return ui::TextMetrics::advanceOfUnit(static_cast<char16_t>(codePoint), m_font);
}

double GlyphAdvances::widthOf(std::string_view utf8) const
{
    double width = 0;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
    size_t at = 0;
    while (at < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[at]);
        if (lead < 0x80) {
            width += m_ascii[lead];
            ++at;
            continue;
        }
        utf8proc_int32_t codePoint = 0;
        auto length = utf8proc_iterate(bytes + at, static_cast<utf8proc_ssize_t>(utf8.size() - at), &codePoint);
        if (length <= 0) {
            codePoint = 0xFFFD;
            length = 1;
        }
        width += advance(static_cast<char32_t>(codePoint));
        at += static_cast<size_t>(length);
    }
    return width;
}

const GlyphAdvances& glyphAdvances(TextFace face, double pointSize)
{
    Faces& all = faces();
    std::lock_guard lock(all.mutex);
    auto& slot = all.sizes[{ face, pointSize }];
    if (!slot)
        slot = std::make_unique<GlyphAdvances>(faceFileLocked(all, face), face, pointSize);
    return *slot;
}

std::optional<std::string> textFaceFile(TextFace face)
{
    Faces& all = faces();
    std::lock_guard lock(all.mutex);
    const FaceFile* file = faceFileLocked(all, face);
    return file ? std::optional<std::string>(file->path()) : std::nullopt;
}

double headingSize(int level, double bodySize)
{
    static constexpr double factors[] = { 2.0, 1.5, 1.17, 1.0, 0.83, 0.67 };
    return bodySize * factors[std::clamp(level, 1, 6) - 1];
}

} // namespace companion
