#pragma once

// The in-process translation service's whole knowledge: five languages and a handful of
// phrases, enough to exercise detection, translation and right-to-left text end to end.
//
//   code  name     phrases (same order in every language)
//   en    English  hello | good night | thank you | the book | water | cat | friend | read
//   fr    French   bonjour | bonne nuit | merci | le livre | eau | chat | ami | lire
//   de    German   hallo | gute nacht | danke | das buch | wasser | katze | freund | lesen
//   es    Spanish  hola | buenas noches | gracias | el libro | agua | gato | amigo | leer
//   ar    Arabic   (the same eight phrases in Arabic script)
//
// Matching ignores ASCII case and the punctuation . , ! ? at the ends of words.
// Translation replaces each known phrase (longest first, up to three words) and keeps
// unknown words as they are. Detection picks the language with the most known phrases
// (the earlier language of the table on a tie); text with no known phrase is Arabic when
// it holds Arabic letters and otherwise undetected.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace companion::phrases {

struct Language {
    const char* code;
    const char* name;
};

const std::vector<Language>& languages();
bool isKnownLanguage(std::string_view code);
std::optional<std::string> detectLanguage(std::string_view text);
// Empty codes or unknown languages are the caller's to refuse; same codes give the text.
std::string translate(std::string_view text, std::string_view sourceCode, std::string_view targetCode);

} // namespace companion::phrases
