#pragma once

// The analytics manager: tracked events are kept for the visit they belong to and handed
// over as the tracking JSON; live events are kept in a log (a real back end would send
// them at once). Thread-safe.
//
// The reader stores each hand-over as its unsynced reading session, replacing the one it
// stored before, so every hand-over carries every event of the visit, not only the newest.
// A visit is named by the "ReaderSeatingID" of its events: an event naming another visit
// starts a new one and the old events are dropped (the old visit's last hand-over holds
// them).

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"

#include <mutex>
#include <vector>

namespace companion {

class QueuedAnalyticsManager final : public lectoro::AnalyticsManager {
public:
    struct TrackedEvent {
        std::string name;
        std::string uniqueID;
        base::Value info;
    };
    struct LiveEvent {
        std::optional<std::string> name;
        base::Value info;
    };

    void trackEvent(
        const std::string& eventName, const base::Value& eventInfo, const std::string& wihUniqueID) override;
    void notifyEvent(const std::optional<std::string>& eventName, const base::Value& eventInfo) override;
    // Every event of the current visit; empty text when nothing was tracked or changed
    // since the last hand-over (the session stored then is still complete).
    std::string getTrackingJSON() override;

    // The visit's events tracked or changed since the last hand-over.
    std::vector<TrackedEvent> queuedEvents() const;
    // Every event of the current visit, handed over or not.
    std::vector<TrackedEvent> visitEvents() const;
    std::vector<LiveEvent> liveEvents() const;
    // Every tracked event ever queued, handed over or not (the host prints them).
    size_t trackedEventCount() const;

private:
    struct Entry {
        TrackedEvent event;
        bool handedOver = false;
    };

    mutable std::mutex m_mutex;
    std::string m_visitID;
    std::vector<Entry> m_visit;
    std::vector<LiveEvent> m_live;
    size_t m_trackedCount = 0;
};

} // namespace companion
