#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"

#include <string>

namespace lectoro {

// The host's language switch over its own (main) bundle. The chosen code is kept in the
// user defaults under "CurrentLanguage" and applied again before every lookup, so a choice
// made in an earlier launch holds.
class LocalizeHelper {
public:
    static constexpr const char* currentLanguageKey = "CurrentLanguage";

    static LocalizeHelper& shared();

    // A code with a "<code>.lproj" folder in the main bundle makes lookups answer in it; any
    // other code leaves the main bundle's own language. The code is stored either way.
    void setLanguage(const std::string& code);
    std::string localizedStringForKey(const std::string& key);
    std::string localizedStringForKey(const std::string& key, const std::string& tableName, const BundleRef& bundle);

    BundleRef myBundle() const { return m_myBundle; }

private:
    LocalizeHelper();
    void applyStoredLanguage();

    BundleRef m_myBundle;
};

} // namespace lectoro
