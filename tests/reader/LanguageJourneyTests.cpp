// The reader's language changed by the host while a reflowable book is open: the page strip
// written in Arabic, with Arabic-Indic digits, is written again in German, words and digits.

#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Strings.h"
#include "platform/ui/Label.h"

namespace lectoro {
namespace {

class LanguageJourney : public testing::ReaderJourneyTest {
protected:
    void TearDown() override
    {
        NumberLocalizationHandler::setLanguage("en");
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        ReaderJourneyTest::TearDown();
    }

    // The host's switch to a language: its strings and its digits.
    void switchLanguage(const std::string& code, const std::string& page, const std::string& of)
    {
        auto folder = m_storage / "languages";
        std::filesystem::create_directories(folder / (code + ".lproj"));
        std::ofstream(folder / (code + ".lproj") / "Localizable.strings")
            << "\"PAGE\" = \"" << page << "\";\n\"OF_KEY\" = \"" << of << "\";\n";
        auto bundle = std::make_shared<base::Bundle>(folder.string());
        bundle->setLanguage(code);
        LocalizationHelper::setReaderLanguageBundle(bundle);
        NumberLocalizationHandler::setLanguage(code);
    }

    static size_t digitsOutside(const std::string& text, char32_t zero)
    {
        size_t count = 0;
        for (size_t offset = 0; offset < text.size();) {
            char32_t c = base::decodeUtf8(text, offset);
            if (base::decimalDigitValue(c) >= 0 && (c < zero || c > zero + 9))
                ++count;
        }
        return count;
    }
};

TEST_F(LanguageJourney, GermanAfterArabicRewritesThePageStripInGerman)
{
    switchLanguage("ar", "\u0635\u0641\u062D\u0629", "\u0645\u0646");
    auto reader = open("/books/sample-reflowable-epub", std::make_shared<MVReaderSettingModel>());
    ASSERT_TRUE(reader);
    auto* count = reader->reflowable().pageCount();
    ASSERT_TRUE(count && count->reflowableSliderPageCountView());
    auto label = count->reflowableSliderPageCountView()->pageLabel();
    ASSERT_TRUE(label->isInWindow());
    const std::string arabic = label->text();
    ASSERT_EQ(arabic.rfind("\u0635\u0641\u062D\u0629 ", 0), 0u) << arabic;
    ASSERT_EQ(digitsOutside(arabic, U'\u0660'), 0u) << arabic;
    ASSERT_NE(arabic.find("\u0661"), std::string::npos) << arabic;

    switchLanguage("de", "Seite", "von");
    reader->updateReaderForLanguageChange();

    // The same numbers, now in German words and digits, the part after "|" as well.
    const std::string german = label->text();
    EXPECT_EQ(german.rfind("Seite 1 von ", 0), 0u) << german;
    EXPECT_EQ(digitsOutside(german, U'0'), 0u) << german;
    auto bar = german.find(" | ");
    ASSERT_NE(bar, std::string::npos) << german;
    EXPECT_NE(german.find_first_of("0123456789", bar), std::string::npos) << german;
}

} // namespace
} // namespace lectoro
