#pragma once

// Font descriptors and the process-wide registry of font faces.
//
// A Font is a value: a face name, a point size, a weight and an italic flag. Nothing is
// rasterised; text is measured by the deterministic metric of TextMetrics.h.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ui {

enum class FontWeight : uint8_t {
    UltraLight,
    Thin,
    Light,
    Regular,
    Medium,
    Semibold,
    Bold,
    Heavy,
    Black,
};

const char* fontWeightName(FontWeight);

class Font {
public:
    // The system face's name, as fonts report it.
    static constexpr const char* systemFontName = "System";

    Font() = default;
    Font(std::string name, double pointSize, FontWeight = FontWeight::Regular, bool italic = false);

    static Font systemFont(double pointSize, FontWeight = FontWeight::Regular);
    static Font boldSystemFont(double pointSize) { return systemFont(pointSize, FontWeight::Bold); }
    static Font italicSystemFont(double pointSize);

    // A registered face (FontRegistry) or a built-in one; nullopt for an unknown name or a
    // size that is not a positive finite number. The weight and italic flag are read from
    // the face name's style suffix ("OpenSans-SemiboldItalic" is semibold and italic).
    static std::optional<Font> fromName(const std::string& name, double pointSize);

    const std::string& name() const { return m_name; }
    double pointSize() const { return m_pointSize; }
    FontWeight weight() const { return m_weight; }
    bool isItalic() const { return m_italic; }
    // Semibold and heavier.
    bool isBold() const { return m_weight >= FontWeight::Semibold; }

    Font withSize(double pointSize) const;
    Font withWeight(FontWeight) const;

    // Line height of the text metric: ceil(pointSize * 1.2).
    double lineHeight() const;

    std::string toDebugString() const;

private:
    std::string m_name = systemFontName;
    double m_pointSize = 17;
    FontWeight m_weight = FontWeight::Regular;
    bool m_italic = false;
};

bool operator==(const Font&, const Font&);
std::ostream& operator<<(std::ostream&, const Font&);

// Weight and italic flag implied by a face name's style suffix, after the last '-'
// ("Bold", "SemiboldItalic", "Light", "ExtraBold", "Black", "Medium", "Thin", "Italic").
FontWeight fontWeightFromFaceName(const std::string& faceName, bool* italic = nullptr);

// The font faces the process knows. Registrations stay for the life of the process.
class FontRegistry {
public:
    static FontRegistry& shared();

    // Registers the faces of a font file: the file must exist and begin with a TrueType
    // or OpenType signature (00 01 00 00, "OTTO", "true" or "ttcf"). The faces registered
    // are the file's stem ("OpenSans-Bold.ttf" gives "OpenSans-Bold") and, when the file
    // has a readable naming table, its PostScript, full and family names. Answers true
    // when the file is a font (registering it again is harmless and also answers true).
    bool registerFontFile(const std::string& path);
    // Registers a face name without a file (tests, aliases).
    void registerFaceName(const std::string& name);

    // Built-in names (the system face, and the common families the platform ships) are
    // always registered.
    bool isRegistered(const std::string& name) const;
    std::vector<std::string> registeredNames() const;
    std::vector<std::string> registeredFiles() const;
    // The file a face name was registered from (the first file that gave the name), or
    // nullopt for a name registered without a file, a built-in one or an unknown one.
    std::optional<std::string> fileOfFace(const std::string& name) const;

    // Test support: forgets everything registered since start-up.
    void resetForTesting();

private:
    FontRegistry() = default;

    mutable std::mutex m_mutex;
    std::set<std::string> m_names;
    std::set<std::string> m_files;
    std::map<std::string, std::string> m_fileOfFace;
};

// The names held in an OpenType/TrueType naming table (ids 1 family, 4 full, 6 PostScript),
// read from the bytes of a font file; collections ("ttcf") answer their first font's
// names. Malformed input answers what could be read safely, possibly nothing.
std::vector<std::string> fontNamesFromData(const std::string& bytes);

} // namespace ui
