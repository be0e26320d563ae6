#include "LectoroSDKWithReader/media/player/MediaBookPlayerRules.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lectoro {

bool isNearMediaBookmark(const std::vector<std::shared_ptr<SDKBookmarkVO>>& bookmarks, int64_t currentTime, int64_t window)
{
    window = std::max<int64_t>(window, 0);
    for (const auto& bookmark : bookmarks) {
        if (!bookmark)
            continue;
        auto time = bookmark->metaData["CurrentTime"].asInteger();
        if (!time)
            continue;
        if (currentTime >= *time - window && currentTime <= *time + window)
            return true;
    }
    return false;
}

std::string formattedSleepTime(double seconds)
{
    // A countdown can only be as long as a timer the run loop can hold; anything past a
    // million hours is shown as that.
    constexpr double longest = 3600.0 * 1000000.0;
    int64_t whole = std::isfinite(seconds) && seconds > 0 ? static_cast<int64_t>(std::min(seconds, longest)) : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(whole / 3600),
        static_cast<long long>((whole / 60) % 60), static_cast<long long>(whole % 60));
    return NumberLocalizationHandler::localizeTimeWithTime(text, "HH:mm:ss");
}

} // namespace lectoro
