// The changes of a visit's events are plain data: the store reads them without the rest of the
// analytics interface (the fuzzers' store part links this file only).

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"

#include "platform/base/Json.h"

namespace lectoro {

std::string TrackingChanges::wholeText() const
{
    std::string text;
    for (const auto& group : groups) {
        if (group.entries.empty())
            continue;
        text.push_back(text.empty() ? '{' : ',');
        text += base::toJson(base::Value(group.name));
        text += ":[";
        text += group.entries;
        text.push_back(']');
    }
    if (!text.empty())
        text.push_back('}');
    return text;
}

} // namespace lectoro
