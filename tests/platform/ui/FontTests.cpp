#include "platform/ui/Font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ui {
namespace {

namespace fs = std::filesystem;

class FontRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("ui-font-tests-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        FontRegistry::shared().resetForTesting();
    }
    void TearDown() override
    {
        FontRegistry::shared().resetForTesting();
        fs::remove_all(m_dir);
    }

    std::string write(const std::string& name, const std::string& bytes)
    {
        auto path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path m_dir;
};

// A minimal sfnt with one 'name' table holding a PostScript name (id 6) in UTF-16BE.
std::string fontWithPostScriptName(const std::string& name)
{
    auto u16 = [](uint16_t v) { return std::string { char(v >> 8), char(v & 0xFF) }; };
    auto u32 = [&](uint32_t v) { return u16(uint16_t(v >> 16)) + u16(uint16_t(v)); };
    std::string utf16;
    for (char c : name)
        utf16 += std::string { '\0', c };
    std::string nameTable = u16(0) + u16(1) + u16(6 + 12) // format, count, string offset
        + u16(3) + u16(1) + u16(0x409) + u16(6) + u16(uint16_t(utf16.size())) + u16(0) + utf16;
    uint32_t tableOffset = 12 + 16;
    std::string header = std::string("\x00\x01\x00\x00", 4) + u16(1) + u16(16) + u16(0) + u16(0);
    std::string directory = "name" + u32(0) + u32(tableOffset) + u32(uint32_t(nameTable.size()));
    return header + directory + nameTable;
}

TEST(FontTest, SystemFontsAndNamedFaces)
{
    Font system = Font::systemFont(14);
    EXPECT_EQ(system.name(), Font::systemFontName);
    EXPECT_EQ(system.weight(), FontWeight::Regular);
    EXPECT_TRUE(Font::boldSystemFont(14).isBold());
    EXPECT_TRUE(Font::italicSystemFont(14).isItalic());
    EXPECT_EQ(system.withSize(20).pointSize(), 20);

    EXPECT_TRUE(Font::fromName("Helvetica", 12).has_value());
    EXPECT_FALSE(Font::fromName("NoSuchFace-Bold", 12).has_value());
    EXPECT_FALSE(Font::fromName("Helvetica", 0).has_value());
    EXPECT_FALSE(Font::fromName("Helvetica", NAN).has_value());
    EXPECT_FALSE(Font::fromName("", 12).has_value());
}

TEST(FontTest, WeightAndItalicFromFaceNames)
{
    struct Case {
        const char* name;
        FontWeight weight;
        bool italic;
    };
    const Case cases[] = {
        { "OpenSans-Regular", FontWeight::Regular, false },
        { "OpenSans-Bold", FontWeight::Bold, false },
        { "OpenSans-ExtraBold", FontWeight::Heavy, false },
        { "OpenSans-SemiboldItalic", FontWeight::Semibold, true },
        { "OpenSans-Light", FontWeight::Light, false },
        { "OpenSans-Italic", FontWeight::Regular, true },
        { "Arial-BoldMT", FontWeight::Bold, false },
        { "Plain", FontWeight::Regular, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool italic = !c.italic;
        EXPECT_EQ(fontWeightFromFaceName(c.name, &italic), c.weight);
        EXPECT_EQ(italic, c.italic);
    }
}

TEST_F(FontRegistryTest, RegistersFilesWithAFontSignatureOnly)
{
    struct Case {
        const char* file;
        std::string bytes;
        bool accepted;
    };
    const Case cases[] = {
        { "TrueType-Regular.ttf", std::string("\x00\x01\x00\x00", 4) + "rest", true },
        { "Open-Type.otf", "OTTOrest", true },
        { "Classic-Face.ttf", "truerest", true },
        { "Collection.ttc", "ttcf", true },
        { "Text.ttf", "hello, I am not a font", false },
        { "Short.ttf", "OT", false },
        { "Empty.ttf", "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = write(c.file, c.bytes);
        EXPECT_EQ(FontRegistry::shared().registerFontFile(path), c.accepted);
        std::string stem = std::string(c.file).substr(0, std::string(c.file).rfind('.'));
        EXPECT_EQ(FontRegistry::shared().isRegistered(stem), c.accepted);
    }
    EXPECT_FALSE(FontRegistry::shared().registerFontFile((m_dir / "missing.ttf").string()));
    EXPECT_FALSE(FontRegistry::shared().registerFontFile(m_dir.string()));
    // Registering again is harmless.
    EXPECT_TRUE(FontRegistry::shared().registerFontFile((m_dir / "Open-Type.otf").string()));
    EXPECT_TRUE(Font::fromName("TrueType-Regular", 12).has_value());
}

TEST_F(FontRegistryTest, ReadsThePostScriptNameFromTheNamingTable)
{
    std::string path = write("file.ttf", fontWithPostScriptName("Lectoro-Bold"));
    ASSERT_TRUE(FontRegistry::shared().registerFontFile(path));
    EXPECT_TRUE(FontRegistry::shared().isRegistered("Lectoro-Bold"));
    EXPECT_TRUE(FontRegistry::shared().isRegistered("file"));
    auto font = Font::fromName("Lectoro-Bold", 16);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->weight(), FontWeight::Bold);
}

TEST(FontNamesFromDataTest, TruncatedOrLyingTablesAreSafe)
{
    std::string good = fontWithPostScriptName("Face-Regular");
    EXPECT_EQ(fontNamesFromData(good), std::vector<std::string> { "Face-Regular" });
    // Every prefix of a valid file must be read without overrunning.
    for (size_t length = 0; length < good.size(); ++length)
        fontNamesFromData(good.substr(0, length));
    // A directory entry pointing far outside the file.
    std::string lying = good;
    lying[12 + 8] = '\x7F';
    EXPECT_TRUE(fontNamesFromData(lying).empty());
    // A collection whose first offset points nowhere.
    EXPECT_TRUE(fontNamesFromData(std::string("ttcf\0\1\0\0\0\0\0\1\x7F\0\0\0", 16)).empty());
}

} // namespace
} // namespace ui
