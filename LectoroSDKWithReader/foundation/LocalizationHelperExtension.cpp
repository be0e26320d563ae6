// The reader's shortcuts on the companion framework's localisation helper.

#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"

namespace lectoro {

std::string LocalizationHelper::localizedString(const std::string& key)
{
    return currentBundle()->localizedString(key, {}, base::Bundle::defaultTable);
}

std::string LocalizationHelper::localizedString(const std::string& key, const std::string& tableName, const BundleRef& bundle)
{
    return localizedStringWithKey(key, tableName, bundle);
}

} // namespace lectoro
