#pragma once

#include <optional>
#include <string>

namespace lectoro {

// The language the library's own bundle answers in. Switching it changes every lookup made
// through the library's bundle, by any code, including the companion framework's.
class MVLanguageBundle {
public:
    // A code with a "<code>.lproj" folder in the library's bundle makes the bundle answer in
    // that language; any other code puts it back to its preferred language.
    static void setApplicationLanguage(const std::string& code);
    // The folder of the chosen language, when one is in force.
    static std::optional<std::string> attachedLanguagePath();
    static std::string localizedStringForKey(const std::string& key, const std::string& value, const std::string& table);
};

} // namespace lectoro
