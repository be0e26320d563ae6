#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LocalizeHelper.h"
#include "LectoroSDKWithReader/foundation/MVLanguageBundle.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

const char* languageBundle = LECTORO_TESTS_DIR "/foundation/fixtures/LanguageBundle";
const char* hostBundle = LECTORO_TESTS_DIR "/foundation/fixtures/HostBundle";

class LocalisationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::Bundle::setLibraryBundlePath(languageBundle);
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        AccessibilityHelper::setReaderAccessibilityBundle(nullptr);
        AccessibilityHelper::setLanguage({});
    }
    void TearDown() override
    {
        MVLanguageBundle::setApplicationLanguage({});
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        AccessibilityHelper::setReaderAccessibilityBundle(nullptr);
        AccessibilityHelper::setLanguage({});
    }

    testing::FoundationScope scope;
};

TEST_F(LocalisationTest, ApplicationLanguageSwitchesTheLibraryBundle)
{
    EXPECT_EQ(LocalizationHelper::localizedString("OK"), "OK");

    MVLanguageBundle::setApplicationLanguage("fr");
    EXPECT_TRUE(MVLanguageBundle::attachedLanguagePath().has_value());
    EXPECT_EQ(LocalizationHelper::localizedString("OK"), "D'accord");
    EXPECT_EQ(LocalizationHelper::localizedStringWithKey("OK"), "D'accord");
    // The line after a broken one still counts.
    EXPECT_EQ(LocalizationHelper::localizedString("INTERNET_UNAVAILABLE_MESSAGE"), "Pas de connexion");
    // A key the language lacks falls back to the development language, then to the key.
    EXPECT_EQ(LocalizationHelper::localizedString("ONLY_ENGLISH"), "Only in English");
    EXPECT_EQ(LocalizationHelper::localizedString("NO_SUCH_KEY"), "NO_SUCH_KEY");

    MVLanguageBundle::setApplicationLanguage("de");
    EXPECT_FALSE(MVLanguageBundle::attachedLanguagePath().has_value());
    EXPECT_EQ(LocalizationHelper::localizedString("OK"), "OK");
}

TEST_F(LocalisationTest, ReaderLanguageBundleWins)
{
    auto host = std::make_shared<base::Bundle>(hostBundle);
    host->setLanguage("de");
    LocalizationHelper::setReaderLanguageBundle(host);
    EXPECT_EQ(LocalizationHelper::localizedString("GREETING"), "Hallo");
    EXPECT_EQ(LocalizationHelper::localizedString("OK"), "OK");
    EXPECT_EQ(LocalizationHelper::localizedString("OK", "Localizable", libraryBundleRef()), "OK");
}

TEST_F(LocalisationTest, LocalizeHelperStoresTheLanguage)
{
    base::Bundle::setMainBundlePath(hostBundle);
    auto& helper = LocalizeHelper::shared();

    helper.setLanguage("de");
    EXPECT_EQ(base::UserDefaults::standard().stringForKey("CurrentLanguage"), "de");
    EXPECT_EQ(helper.localizedStringForKey("GREETING"), "Hallo");

    // A language without a folder answers in the main bundle's own language, but is kept.
    helper.setLanguage("xx");
    EXPECT_EQ(base::UserDefaults::standard().stringForKey("CurrentLanguage"), "xx");
    EXPECT_EQ(helper.localizedStringForKey("GREETING"), "Hello");
    EXPECT_EQ(helper.localizedStringForKey("MISSING"), "MISSING");

    // The stored choice is applied again before every lookup.
    base::UserDefaults::standard().setString("CurrentLanguage", "de");
    EXPECT_EQ(helper.localizedStringForKey("GREETING"), "Hallo");
    base::UserDefaults::standard().setObject("CurrentLanguage", base::Value(12));
    EXPECT_EQ(helper.localizedStringForKey("GREETING"), "Hallo");

    auto library = libraryBundleRef();
    EXPECT_EQ(helper.localizedStringForKey("OK", "Localizable", library), "OK");
    base::UserDefaults::standard().removeObjectForKey("CurrentLanguage");
    helper.setLanguage("en");
}

TEST_F(LocalisationTest, AccessibilityBundleAndLabels)
{
    auto hostChoice = std::make_shared<base::Bundle>(hostBundle);
    AccessibilityHelper::setReaderAccessibilityBundle(hostChoice);
    AccessibilityManager::sharedObject().setAccessibilityBundle();
    EXPECT_EQ(AccessibilityHelper::readerAccessibilityBundle(), hostChoice);

    AccessibilityHelper::setReaderAccessibilityBundle(nullptr);
    AccessibilityManager::sharedObject().setAccessibilityBundle();
    EXPECT_EQ(AccessibilityHelper::readerAccessibilityBundle().get(), &base::Bundle::library());

    auto view = ui::View::create();
    addReaderAccessibilityOn(*view, "PenToolColorButton", "Selected 3");
    EXPECT_EQ(view->accessibilityIdentifier(), "PenToolColorButton");
    EXPECT_EQ(view->accessibilityLabel(), "Selected 3 pen colour");
    addReaderAccessibilityOn(*view, "SearchIcon", "");
    EXPECT_EQ(view->accessibilityLabel(), "Search");
    addReaderAccessibilityOn(*view, "SearchIcon", "now");
    EXPECT_EQ(view->accessibilityLabel(), "Search now");

    AccessibilityManager::sharedObject().setAccessibilityLanguage("fr");
    addReaderAccessibilityOn(*view, "SearchIcon", "");
    EXPECT_EQ(view->accessibilityLabel(), "Rechercher");
    addReaderAccessibilityOn(*view, "UnknownElement", "");
    EXPECT_EQ(view->accessibilityLabel(), "UnknownElement");
}

TEST(ShippedStringTablesTest, EveryLineParses)
{
    for (auto* table : { "Localizable", "ReaderLectoroAccessibility" }) {
        auto bytes = base::FileManager::defaultManager().readFile(std::string(LECTORO_RESOURCES_DIR "/en.lproj/") + table + ".strings");
        ASSERT_TRUE(bytes) << table;
        auto parsed = base::StringTable::parse(*bytes);
        EXPECT_TRUE(parsed.warnings().empty()) << table;
        EXPECT_GT(parsed.size(), 40u) << table;
    }
    base::Bundle library(LECTORO_RESOURCES_DIR);
    for (auto* key : { "INTERNET_UNAVAILABLE_MESSAGE", "YOUR_SESSION_HAS_EXPIRED", "PLEASE_SIGN_IN_AGAIN", "MIN_LEFT", "LOADING_DATA", "FONT_FILE_MISSING" })
        EXPECT_NE(library.localizedString(key), key) << key;
}

} // namespace
} // namespace lectoro
