#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"

#include <string>

namespace lectoro {

// A reader text of the "Localizable" table: from the reader language bundle when the host set
// one, else from the library's bundle; the key itself when the table lacks it.
inline std::string localized(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key);
}

} // namespace lectoro
