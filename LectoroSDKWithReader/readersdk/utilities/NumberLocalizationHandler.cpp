#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"

#include "platform/base/Strings.h"

#include <mutex>

namespace lectoro {

namespace {

std::mutex& languageMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::string& storedLanguage()
{
    static std::string language = "en";
    return language;
}

// The code point of zero in the language's digits, or nothing for Latin digits.
char32_t zeroDigitFor(const std::string& language)
{
    auto primary = language.substr(0, language.find_first_of("-_"));
    if (primary == "ar")
        return 0x0660;
    if (primary == "fa" || primary == "ur")
        return 0x06F0;
    if (primary == "hi" || primary == "mr" || primary == "ne")
        return 0x0966;
    if (primary == "bn")
        return 0x09E6;
    return 0;
}

} // namespace

void NumberLocalizationHandler::setLanguage(std::string code)
{
    std::lock_guard lock(languageMutex());
    storedLanguage() = std::move(code);
}

std::string NumberLocalizationHandler::language()
{
    std::lock_guard lock(languageMutex());
    return storedLanguage();
}

std::string NumberLocalizationHandler::localizeDigits(const std::string& text)
{
    char32_t zero = zeroDigitFor(language());
    if (!zero)
        return text;
    std::string result;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            base::appendUtf8(result, zero + char32_t(c - '0'));
        else
            result += c;
    }
    return result;
}

std::string NumberLocalizationHandler::localizeNumberWithNumber(const base::Value& number)
{
    return localizeDigits(number.description());
}

std::string NumberLocalizationHandler::localizeTimeWithTime(const std::string& time, const std::string&)
{
    return localizeDigits(time);
}

} // namespace lectoro
