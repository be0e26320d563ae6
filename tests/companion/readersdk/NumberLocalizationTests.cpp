#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"

#include <gtest/gtest.h>

using lectoro::NumberLocalizationHandler;

namespace {

class NumberLocalization : public ::testing::Test {
protected:
    void SetUp() override { m_saved = NumberLocalizationHandler::language(); }
    void TearDown() override { NumberLocalizationHandler::setLanguage(m_saved); }

private:
    std::string m_saved;
};

TEST_F(NumberLocalization, EachLanguageWritesItsOwnDigits)
{
    struct Case {
        const char* language;
        const char* digits; // 0 to 9 as the language writes them
    };
    // clang-format off
    const Case cases[] = {
        { "en", "0123456789" },
        { "ar", "\u0660\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668\u0669" },
        { "ar-EG", "\u0660\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668\u0669" },
        { "fa", "\u06F0\u06F1\u06F2\u06F3\u06F4\u06F5\u06F6\u06F7\u06F8\u06F9" },
        { "ur_PK", "\u06F0\u06F1\u06F2\u06F3\u06F4\u06F5\u06F6\u06F7\u06F8\u06F9" },
        { "hi", "\u0966\u0967\u0968\u0969\u096A\u096B\u096C\u096D\u096E\u096F" },
        { "bn", "\u09E6\u09E7\u09E8\u09E9\u09EA\u09EB\u09EC\u09ED\u09EE\u09EF" },
        { "es", "0123456789" },
        { "", "0123456789" },
        { "arabic", "0123456789" }, // only the language code counts, not a prefix of it
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        NumberLocalizationHandler::setLanguage(c.language);
        EXPECT_EQ(NumberLocalizationHandler::localizeDigits("0123456789"), c.digits);
    }
}

TEST_F(NumberLocalization, OnlyDigitsChange)
{
    NumberLocalizationHandler::setLanguage("ar");
    EXPECT_EQ(NumberLocalizationHandler::localizeNumberWithNumber(base::Value(12)), "\u0661\u0662");
    EXPECT_EQ(NumberLocalizationHandler::localizeNumberWithNumber(base::Value(4.5)), "\u0664.\u0665");
    EXPECT_EQ(NumberLocalizationHandler::localizeNumberWithNumber(base::Value(-3)), "-\u0663");
    EXPECT_EQ(NumberLocalizationHandler::localizeTimeWithTime("10:05 PM", "hh:mm a"),
        "\u0661\u0660:\u0660\u0665 PM");
    EXPECT_EQ(NumberLocalizationHandler::localizeDigits("page \u0661 / 2"), "page \u0661 / \u0662")
        << "digits already localised and other text are left alone";
}

} // namespace
