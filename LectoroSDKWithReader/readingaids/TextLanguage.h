#pragma once

// The best language of a text, as far as its letters tell, and a language's writing
// direction: what the translation sheet needs to align a translation. The guess is by
// script: the script with the most letters names a representative language ("ar" for
// Arabic letters, "he" for Hebrew, "ru" for Cyrillic, "el", "hi", "th", "zh", "ja",
// "ko"; "en" for Latin letters). A text without letters has no best language.

#include <optional>
#include <string>
#include <string_view>

namespace lectoro {

std::optional<std::string> bestLanguageOfText(std::string_view utf8);
// Right to left: Arabic, Hebrew, Persian, Urdu, Yiddish, Pashto, Sindhi, Dhivehi, Kurdish
// (Sorani), Uyghur; region or script subtags ("ar-EG", "ur_PK") do not matter.
bool isRightToLeftLanguage(std::string_view languageCode);

} // namespace lectoro
