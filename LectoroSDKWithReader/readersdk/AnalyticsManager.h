#pragma once

// The companion framework's analytics manager: it queues tracked events (page time, book
// open and close, annotation events…) until they are handed over as the tracking JSON,
// and passes live feature-use events on.
//
// getInstance() answers the installed manager: the one given to setInstance(), else one
// made once by the installed companion framework; null when there is neither (callers
// then drop their events).

#include "platform/base/Value.h"

#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class AnalyticsManager {
public:
    virtual ~AnalyticsManager() = default;

    static std::shared_ptr<AnalyticsManager> getInstance();
    static void setInstance(std::shared_ptr<AnalyticsManager>);

    // Queues one tracked event. An event with the same name and unique id as a queued one
    // replaces it.
    virtual void trackEvent(const std::string& eventName, const base::Value& eventInfo, const std::string& wihUniqueID) = 0;
    // A live event: a name (may be absent) and a dictionary (may be null).
    virtual void notifyEvent(const std::optional<std::string>& eventName, const base::Value& eventInfo) = 0;
    // Every tracked event of the current reading visit, as JSON text: one array per event
    // name, in the order names first appeared, each entry {"EventName", "UniqueID",
    // "EventInfo"}; for example {"PageTracking": [{"EventName": "PageTracking",
    // "UniqueID": "…", "EventInfo": {"cfID": …, "TimeSpend": …}}]}. The reader stores each
    // answer as its unsynced session, replacing the previous one, so an answer holds the
    // events handed over before as well. Empty text when nothing was tracked or changed
    // since the last call.
    virtual std::string getTrackingJSON() = 0;
};

} // namespace lectoro
