#pragma once

#include <ostream>
#include <string>

namespace host {

// --demo-translate TEXT [--to CODE]: opens the library's translation sheet on TEXT over the
// in-process service, prints the language it detected, picks the target language (French
// unless --to names another) in the sheet's language list and prints the translation.
// Answers 0 when the sheet detected and translated, 4 otherwise.
int runTranslateDemo(const std::string& text, const std::string& targetCode, std::ostream&);

} // namespace host
