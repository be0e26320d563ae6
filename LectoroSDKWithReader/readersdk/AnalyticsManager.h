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
#include <vector>

namespace lectoro {

// The tracked events of a visit by name, for a store that keeps a visit's session as it
// grows instead of comparing the whole text again on every save. Each group is one name's
// array of the tracking JSON: `index` is the name's place among the visit's names (the
// text's order), `entries` its entries' JSON texts joined by ",". With `whole` false the
// entries are only those tracked since the last hand-over, and belong after the ones
// handed over before, unless the group is `replaced`; with `whole` true they are every event of the visit and
// `wholeText()` is exactly the tracking JSON.
struct TrackingChanges {
    struct Group {
        size_t index = 0;
        std::string name;
        std::string entries;
        // The entries are all of the name's, in place of those handed over before (an
        // event of the name was replaced).
        bool replaced = false;
    };
    bool whole = false;
    std::vector<Group> groups;

    std::string wholeText() const;
};

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
    // The same hand-over by name: whole when asked for, or when something other than new
    // events changed since the last hand-over (an event replaced or dropped, a new visit);
    // no groups when nothing changed. Absent from a manager that cannot tell what changed
    // (callers then use getTrackingJSON()).
    virtual std::optional<TrackingChanges> takeTrackingChanges(bool whole)
    {
        (void)whole;
        return std::nullopt;
    }
};

} // namespace lectoro
