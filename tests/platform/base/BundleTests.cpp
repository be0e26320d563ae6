#include "platform/base/Bundle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using base::Bundle;

// A bundle with English, French and German tables, an accessibility table, and
// resources placed at the root, in one language only, and in Base.lproj.
class BundleTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lectoro-bundle-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        write("en.lproj/Localizable.strings",
            "\"CANCEL\" = \"Cancel\";\n\"DONE\" = \"Done\";\n\"ONLY_EN\" = \"English only\";\n");
        write("fr.lproj/Localizable.strings",
            "/* French */\n\"CANCEL\" = \"Annuler\";\n\"DONE\" = \"Termin\xC3\xA9\";\n");
        write("de.lproj/Localizable.strings",
            std::string("\xFF\xFE", 2) + utf16le("\"CANCEL\" = \"Abbrechen\";\n"));
        write("fr.lproj/ReaderLectoroAccessibility.strings", "\"close_button\" = \"Fermer\";\n");
        write("en.lproj/ReaderLectoroAccessibility.strings", "\"close_button\" = \"Close\";\n");
        write("Localizable.strings", "\"ROOT_ONLY\" = \"from the root\";\n");
        write("readerDefault_theme.json", "{}");
        write("fr.lproj/help.html", "fr");
        write("Base.lproj/Main.layout", "base");
        write("icons/close.png", "png");
        write("fr.lproj/icons/flag.png", "fr flag");
        fs::create_directories(m_root + "/empty.lproj");
        write("notalanguage.lproj", "a file, not a folder");
        write("../outside-" + fs::path(m_root).filename().string(), "secret");
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_root, error);
        fs::remove(
            fs::path(m_root).parent_path() / ("outside-" + fs::path(m_root).filename().string()), error);
    }

    static std::string utf16le(const std::string& ascii)
    {
        std::string out;
        for (char c : ascii) {
            out += c;
            out += '\0';
        }
        return out;
    }
    void write(const std::string& relative, const std::string& content) const
    {
        fs::path path = fs::path(m_root) / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string at(const std::string& relative) const { return (fs::path(m_root) / relative).string(); }

    std::string m_root;
};

TEST_F(BundleTest, LocalizedStringFollowsTheLanguage)
{
    Bundle bundle(m_root);
    struct Case {
        const char* language;
        const char* key;
        std::string value;
        const char* table;
        std::string expected;
    };
    const std::vector<Case> cases {
        { "", "CANCEL", "", "", "Cancel" },
        { "fr", "CANCEL", "", "", "Annuler" },
        { "fr", "DONE", "", "Localizable", "Termin\xC3\xA9" },
        { "de", "CANCEL", "", "", "Abbrechen" }, // UTF-16 table
        { "fr", "ONLY_EN", "", "", "English only" }, // missing in French: development language
        { "fr", "ROOT_ONLY", "", "", "from the root" },
        { "fr", "MISSING", "", "", "MISSING" }, // no default: the key
        { "fr", "MISSING", "Fallback", "", "Fallback" },
        { "fr", "close_button", "", "ReaderLectoroAccessibility", "Fermer" },
        { "de", "close_button", "", "ReaderLectoroAccessibility", "Close" },
        { "fr", "CANCEL", "", "NoSuchTable", "CANCEL" },
        { "fr", "CANCEL", "x", "../fr.lproj/Localizable", "x" },
        { "xx", "CANCEL", "", "", "Cancel" }, // no such folder
        { "empty", "CANCEL", "", "", "Cancel" }, // folder without tables
        { "../fr", "CANCEL", "", "", "Cancel" },
    };
    for (const auto& c : cases) {
        bundle.setLanguage(c.language);
        EXPECT_EQ(bundle.localizedString(c.key, c.value, c.table), c.expected)
            << "language " << c.language << " key " << c.key << " table " << c.table;
    }
}

TEST_F(BundleTest, SwitchingLanguageNeverKeepsTheOldOne)
{
    Bundle bundle(m_root);
    const std::vector<std::pair<std::string, std::string>> sequence {
        { "fr", "Annuler" },
        { "de", "Abbrechen" },
        { "fr", "Annuler" },
        { "xx", "Cancel" },
        { "de", "Abbrechen" },
        { "", "Cancel" },
        { "en", "Cancel" },
        { "fr", "Annuler" },
    };
    for (const auto& [language, expected] : sequence) {
        bundle.setLanguage(language);
        EXPECT_EQ(bundle.language(), language);
        EXPECT_EQ(bundle.localizedString("CANCEL"), expected) << language;
    }
}

TEST_F(BundleTest, PathForResource)
{
    Bundle bundle(m_root);
    struct Case {
        const char* language;
        std::string name;
        std::string type;
        std::string directory;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases {
        { "", "readerDefault_theme", "json", "", at("readerDefault_theme.json") },
        { "", "readerDefault_theme", ".json", "", at("readerDefault_theme.json") },
        { "", "readerDefault_theme.json", "", "", at("readerDefault_theme.json") },
        { "", "readerDefault_theme", "plist", "", std::nullopt },
        { "", "help", "html", "", std::nullopt }, // only in French
        { "fr", "help", "html", "", at("fr.lproj/help.html") },
        { "fr", "Main", "layout", "", at("Base.lproj/Main.layout") },
        { "", "fr", "lproj", "", at("fr.lproj") }, // folders are resources too
        { "", "close", "png", "icons", at("icons/close.png") },
        { "fr", "flag", "png", "icons", at("fr.lproj/icons/flag.png") },
        { "", "flag", "png", "icons", std::nullopt },
        { "", "", "json", "", std::nullopt },
        { "", "../outside-" + fs::path(m_root).filename().string(), "", "", std::nullopt },
        { "", "close", "png", "../" + fs::path(m_root).filename().string() + "/icons", std::nullopt },
        { "", at("readerDefault_theme"), "json", "", std::nullopt }, // absolute
        { "", "x", "../y", "", std::nullopt },
    };
    for (const auto& c : cases) {
        bundle.setLanguage(c.language);
        EXPECT_EQ(bundle.pathForResource(c.name, c.type, c.directory), c.expected)
            << c.language << " " << c.name << "." << c.type << " in " << c.directory;
    }
}

TEST_F(BundleTest, AvailableLanguagesAreTheLanguageFolders)
{
    Bundle bundle(m_root);
    EXPECT_EQ(bundle.availableLanguages(), (std::vector<std::string> { "Base", "de", "empty", "en", "fr" }));
    EXPECT_TRUE(Bundle(m_root + "/missing").availableLanguages().empty());
}

TEST_F(BundleTest, TablesAreReadOnceUntilReloaded)
{
    Bundle bundle(m_root);
    bundle.setLanguage("fr");
    EXPECT_EQ(bundle.localizedString("CANCEL"), "Annuler");
    write("fr.lproj/Localizable.strings", "\"CANCEL\" = \"Changed\";\n");
    EXPECT_EQ(bundle.localizedString("CANCEL"), "Annuler") << "served from the cache";
    bundle.reloadStringTables();
    EXPECT_EQ(bundle.localizedString("CANCEL"), "Changed");

    bundle.setRootPath(m_root + "/missing");
    EXPECT_EQ(bundle.localizedString("CANCEL"), "CANCEL") << "a new root forgets the old tables";
}

TEST_F(BundleTest, ConcurrentLookupsWhileSwitching)
{
    Bundle bundle(m_root);
    std::atomic<bool> wrong { false };
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                std::string text = bundle.localizedString("CANCEL");
                if (text != "Annuler" && text != "Abbrechen" && text != "Cancel")
                    wrong = true;
            }
        });
    }
    for (int i = 0; i < 300; ++i)
        bundle.setLanguage(i % 2 ? "fr" : "de");
    for (auto& reader : readers)
        reader.join();
    EXPECT_FALSE(wrong);
}

TEST(BundleShared, MainAndLibraryBundlesCanBeRepointed)
{
    std::string originalLibrary = Bundle::library().rootPath();
    EXPECT_FALSE(originalLibrary.empty());
    EXPECT_TRUE(originalLibrary == LECTORO_BUNDLE_DIR || originalLibrary == LECTORO_RESOURCES_DIR);
    Bundle::setLibraryBundlePath("/somewhere/else");
    EXPECT_EQ(Bundle::library().rootPath(), "/somewhere/else");
    Bundle::setLibraryBundlePath("");
    EXPECT_EQ(Bundle::library().rootPath(), originalLibrary);

    std::string originalMain = Bundle::main().rootPath();
    EXPECT_EQ(originalMain, fs::current_path().string());
    Bundle::setMainBundlePath("/host/app");
    EXPECT_EQ(Bundle::main().rootPath(), "/host/app");
    Bundle::setMainBundlePath(originalMain);
}

} // namespace
