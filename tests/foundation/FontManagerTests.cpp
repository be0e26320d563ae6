#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/utilities/SDKUtility.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lectoro {
namespace {

const std::string systemOpenSans = "/usr/share/fonts/truetype/open-sans";

class FontManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testing::exists(systemOpenSans + "/OpenSans-Bold.ttf"))
            GTEST_SKIP() << "the OpenSans faces are not installed";
        MVFontManagerHelper::getInstance().resetForTesting();
        ui::FontRegistry::shared().resetForTesting();
        // A library bundle holding the six faces and the icon font.
        libraryFolder = scope.folder() / "library";
        for (auto* face : MVFontManager::openSansFaces)
            copyFace("OpenSans-Regular.ttf", libraryFolder + "/" + face + ".ttf");
        copyFace("OpenSans-Regular.ttf", libraryFolder + "/" + MVLectoroFontManager::getFontName() + ".ttf");
        std::filesystem::copy(LECTORO_RESOURCES_DIR "/en.lproj", libraryFolder + "/en.lproj", std::filesystem::copy_options::recursive);
        base::Bundle::setLibraryBundlePath(libraryFolder);
    }
    void TearDown() override
    {
        MVFontManagerHelper::getInstance().resetForTesting();
        ui::FontRegistry::shared().resetForTesting();
    }
    static void copyFace(const std::string& face, const std::string& to)
    {
        std::filesystem::create_directories(std::filesystem::path(to).parent_path());
        std::filesystem::copy_file(systemOpenSans + "/" + face, to, std::filesystem::copy_options::overwrite_existing);
    }
    static bool registeredFrom(const std::string& path)
    {
        auto files = ui::FontRegistry::shared().registeredFiles();
        return std::find(files.begin(), files.end(), path) != files.end();
    }

    testing::FoundationScope scope;
    std::string libraryFolder;
};

TEST_F(FontManagerTest, WeightMap)
{
    auto manager = MVFontManagerHelper::getInstance().getFontManager();
    struct Case {
        ui::FontWeight weight;
        const char* face;
    };
    const Case cases[] = {
        { ui::FontWeight::UltraLight, "OpenSans-Light" },
        { ui::FontWeight::Thin, "OpenSans-Light" },
        { ui::FontWeight::Light, "OpenSans-Light" },
        { ui::FontWeight::Regular, "OpenSans-Regular" },
        { ui::FontWeight::Medium, "OpenSans-SemiBold" },
        { ui::FontWeight::Semibold, "OpenSans-SemiBold" },
        { ui::FontWeight::Bold, "OpenSans-Bold" },
        { ui::FontWeight::Heavy, "OpenSans-ExtraBold" },
        { ui::FontWeight::Black, "OpenSans-ExtraBold" },
    };
    for (auto& c : cases) {
        auto font = getCustomFontForWeight(15, c.weight);
        ASSERT_TRUE(font) << c.face;
        EXPECT_EQ(font->name(), c.face);
        EXPECT_EQ(font->pointSize(), 15);
    }
    EXPECT_EQ(getCustomFont(12)->name(), "OpenSans-Regular");
    EXPECT_EQ(manager->getCustomItalicFont(12)->name(), "OpenSans-Italic");
    EXPECT_TRUE(ui::FontRegistry::shared().isRegistered(MVLectoroFontManager::getFontName()));
}

TEST_F(FontManagerTest, HostBundleMaySupplySomeFaces)
{
    auto hostFolder = scope.folder() / "fonts-host";
    copyFace("OpenSans-Bold.ttf", hostFolder + "/OpenSans-Bold.ttf");
    auto host = std::make_shared<base::Bundle>(hostFolder);
    MVFontManagerHelper::getInstance().setFontBundle(host);
    MVFontManagerHelper::getInstance().getFontManager();

    EXPECT_TRUE(registeredFrom(hostFolder + "/OpenSans-Bold.ttf"));
    EXPECT_FALSE(registeredFrom(libraryFolder + "/OpenSans-Bold.ttf"));
    EXPECT_TRUE(registeredFrom(libraryFolder + "/OpenSans-Regular.ttf"));
    // The icon font comes from the font bundle only; this one has none.
    EXPECT_FALSE(registeredFrom(libraryFolder + "/" + MVLectoroFontManager::getFontName() + ".ttf"));
    EXPECT_EQ(MVFontManagerHelper::getInstance().getFontBundle(), host);
}

TEST_F(FontManagerTest, MissingOrBrokenFilesAreSkippedSilently)
{
    testing::writeFile(libraryFolder + "/OpenSans-Light.ttf", "not a font at all");
    std::filesystem::remove(libraryFolder + "/OpenSans-Bold.ttf");
    MVFontManagerHelper::getInstance().getFontManager();
    EXPECT_FALSE(getCustomFontForWeight(10, ui::FontWeight::Light).has_value());
    EXPECT_FALSE(getCustomFontForWeight(10, ui::FontWeight::Bold).has_value());
    EXPECT_TRUE(getCustomFontForWeight(10, ui::FontWeight::Semibold).has_value());
    EXPECT_TRUE(scope.log().empty());
}

class CountingFontManager : public MVFontManager {
public:
    void registerFont() override { ++registrations; }
    void registerFontWith(const BundleRef&) override { ++registrations; }
    int registrations = 0;
};

TEST_F(FontManagerTest, OnlyTheFirstManagerRegisters)
{
    auto& helper = MVFontManagerHelper::getInstance();
    auto first = std::make_shared<CountingFontManager>();
    auto second = std::make_shared<CountingFontManager>();
    helper.setFontManager(first);
    helper.setFontManager(second);
    EXPECT_EQ(first->registrations, 1);
    EXPECT_EQ(second->registrations, 0);
    EXPECT_EQ(helper.getFontManager(), second);

    // With a font bundle, every manager given registers from it.
    auto third = std::make_shared<CountingFontManager>();
    helper.setFontBundle(libraryBundleRef());
    helper.setFontManager(third);
    EXPECT_EQ(third->registrations, 1);
}

TEST_F(FontManagerTest, IconFontNameNeedsTheFileInTheHostBundle)
{
    std::vector<std::string> lines;
    LectoroDebugLog::enableLogsWithIsenabled(true);
    LectoroDebugLog::setSinkForTesting([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(IconFontConstants::getFontForCharacter("a"), "");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("icon font file is missing"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("Error Domain=" + SDKUtility::getSDKDomain() + " Code=2 "), std::string::npos) << lines[0];

    copyFace("OpenSans-Regular.ttf", scope.hostBundlePath() + "/" + MVLectoroFontManager::getFontName() + ".ttf");
    EXPECT_EQ(IconFontConstants::getFontForCharacter("a"), MVLectoroFontManager::getFontName());
    LectoroDebugLog::setSinkForTesting(nullptr);
    LectoroDebugLog::enableLogsWithIsenabled(false);
}

} // namespace
} // namespace lectoro
