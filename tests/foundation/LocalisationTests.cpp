#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LocalizeHelper.h"
#include "LectoroSDKWithReader/foundation/MVLanguageBundle.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
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
}

// Keys the screens look up by name. A key the table lacks would show as the raw key, so the
// ones that do not follow the upper-case convention (and are easy to miss) are listed here.
TEST(ShippedStringTablesTest, KeysTheScreensLookUp)
{
    auto shipped = [](const char* table) {
        auto bytes = base::FileManager::defaultManager().readFile(std::string(LECTORO_RESOURCES_DIR "/en.lproj/") + table + ".strings");
        return base::StringTable::parse(bytes.value_or(""));
    };
    auto localizable = shipped("Localizable");
    auto accessibility = shipped("ReaderLectoroAccessibility");
    const char* texts[] = { "OK", "FONT_FILE_MISSING", "INTERNET_UNAVAILABLE_MESSAGE", "YOUR_SESSION_HAS_EXPIRED",
        "PLEASE_SIGN_IN_AGAIN", "YES_ALERT_BUTTON", "NO_ALERT_BUTTON", "MIN_LEFT", "LOADING_DATA", "Back", "Content",
        "Contextual_notes", "Delete_Highlight", "Delete_note", "Do_you_wish_to_delete_highlight", "Do_you_wish_to_save_changes",
        "Enter_Note", "Filter_All", "Highlight_text_to_add_a_note_or_mark them_as_important", "Highlights_filter_by", "Me",
        "Resources", "Save_Changes", "Standards", "Table_of_Content", "Table_of_Resources",
        "Your_added_bookmarks_will_be_listed_here", "search_result_not_found", "ALL TEACHERS" };
    for (auto* key : texts)
        EXPECT_TRUE(localizable.entries().count(key)) << key;

    const char* elements[] = { "SearchIcon", "SearchTF", "SearchCancelButton", "NextSearchButton", "PreviousSearchButton",
        "OpenSearchResultButton", "CloseSearchResultButton", "MyDataHighlightsButton", "MyDataHighlightsCount",
        "MyDataNotesButton", "MyDataNotesCount", "MyDataFilterButton", "MyDataShareSettingButton", "MyDataNotificationButton",
        "MyDataDragUpButton", "MyDataFilterHighLightButton", "MyDataFilterNotesButton", "MyDataFilterContextualNotesButton",
        "MyDataFilterShareButton", "MyDataFilterOtherTextButton", "TOCContentButton", "TOCBookMarkButton", "TOCResourcesButton",
        "TOCStandardButton", "TOCELPSButton", "TOCTEKSButton", "TOCInternalResourcesButton", "TOCExternalResourcesButton",
        "TextAnnotationAlignment", "TextAnnotationTextColor", "TextAnnotationAddText", "TextAnnotationDelete",
        "TextAnnotationSave", "TextAnnotationKeyboard", "TextAnnotationPalleteColor", "TextAnnotationAlignmentAction",
        "ReaderShareSettingsCancelButton", "StudentListBackButton", "ChangeClassButton", "AnnotationSwitchOnStatus",
        "AnnotationSwitchOffStatus", "MediaBSleepButton", "MediaBNextButton", "MediaBPreviousButton", "MediaBPlayButton",
        "MediaBPauseButton" };
    for (auto* key : elements)
        EXPECT_TRUE(accessibility.entries().count(key)) << key;
}

// Entries are filled by replacing "%@" only: any other conversion, or a second argument,
// would be spoken as it stands.
TEST(ShippedStringTablesTest, FormatsTakeTheirOneArgument)
{
    auto bytes = base::FileManager::defaultManager().readFile(LECTORO_RESOURCES_DIR "/en.lproj/ReaderLectoroAccessibility.strings");
    ASSERT_TRUE(bytes);
    auto table = base::StringTable::parse(*bytes);
    for (auto& [key, value] : table.entries()) {
        auto first = value.find("%@");
        EXPECT_EQ(value.find("%@", first == std::string::npos ? 0 : first + 2), std::string::npos) << key;
        std::string rest = base::replaceAll(value, "%@", "");
        EXPECT_EQ(rest.find('%'), std::string::npos) << key;
    }
    base::Bundle library(LECTORO_RESOURCES_DIR);
    EXPECT_EQ(base::format(library.localizedString("MY_DATA_COMMENTS"), "3"), "Comments (3)");
}

} // namespace
} // namespace lectoro
