#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"

#include <string>

namespace lectoro {

// Localised texts of the reader. The host may set a reader language bundle; lookups then
// read it instead of the library's own bundle. A key a table lacks answers the key itself.
class LocalizationHelper {
public:
    static BundleRef readerLanguageBundle();
    static void setReaderLanguageBundle(BundleRef);

    // "Localizable" of the reader language bundle, else of the library's bundle.
    static std::string localizedStringWithKey(const std::string& key);
    static std::string localizedStringWithKey(const std::string& key, const std::string& tableName, const BundleRef& bundle);

    // The reader's own shortcuts over the two above (same answers; kept under the names the
    // screens use).
    static std::string localizedString(const std::string& key);
    static std::string localizedString(const std::string& key, const std::string& tableName, const BundleRef& bundle);

    // The bundle lookups go to: the reader language bundle, else the library's bundle.
    static BundleRef currentBundle();
};

} // namespace lectoro
