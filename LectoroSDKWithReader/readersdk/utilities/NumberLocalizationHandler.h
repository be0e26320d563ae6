#pragma once

#include "platform/base/Value.h"

#include <string>

namespace lectoro {

// Writes numbers with the digits of the reader's language (Arabic-Indic for "ar", extended
// Arabic-Indic for "fa" and "ur", Devanagari for "hi", "mr" and "ne", Bengali for "bn"; Latin
// digits otherwise).
class NumberLocalizationHandler {
public:
    static void setLanguage(std::string code);
    static std::string language();

    // The number's "%@" text, in localised digits.
    static std::string localizeNumberWithNumber(const base::Value& number);
    // A time text already written with the format: its digits localised, the rest unchanged.
    static std::string localizeTimeWithTime(const std::string& time, const std::string& format);
    // Every ASCII digit of the text replaced by the language's digit.
    static std::string localizeDigits(const std::string& text);
};

} // namespace lectoro
