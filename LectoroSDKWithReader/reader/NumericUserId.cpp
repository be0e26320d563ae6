#include "LectoroSDKWithReader/reader/NumericUserId.h"

#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/base/Date.h"
#include "platform/base/UserDefaults.h"

#include <cmath>
#include <cstdio>

namespace lectoro {

bool isDecimalUserId(const std::string& userID)
{
    for (unsigned char c : userID) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::string numericUserIdFor(const std::string& userID, base::UserDefaults& defaults)
{
    if (isDecimalUserId(userID))
        return userID;
    if (auto stored = defaults.stringForKey(userID); stored && !stored->empty())
        return *stored;
    // Whole seconds: the fraction is dropped, never rounded up.
    auto seconds = static_cast<long long>(std::floor(base::Clock::now().timeIntervalSince1970));
    char text[32];
    std::snprintf(text, sizeof text, "%lld", seconds);
    defaults.setString(userID, text);
    defaults.synchronize();
    return text;
}

void updateUserIDWithNumericValueForLectoroUser(LectoroUser& user)
{
    user.userID = numericUserIdFor(user.userID, base::UserDefaults::standard());
}

} // namespace lectoro
