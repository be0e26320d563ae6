#pragma once

// The analytics manager: tracked events wait in a queue until getTrackingJSON() hands them
// over; live events are kept in a log (a real back end would send them at once). Thread-
// safe.

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

    void trackEvent(const std::string& eventName, const base::Value& eventInfo, const std::string& wihUniqueID) override;
    void notifyEvent(const std::optional<std::string>& eventName, const base::Value& eventInfo) override;
    std::string getTrackingJSON() override;

    std::vector<TrackedEvent> queuedEvents() const;
    std::vector<LiveEvent> liveEvents() const;
    // Every tracked event ever queued, handed over or not (the host prints them).
    size_t trackedEventCount() const;

private:
    mutable std::mutex m_mutex;
    std::vector<TrackedEvent> m_queue;
    std::vector<LiveEvent> m_live;
    size_t m_trackedCount = 0;
};

} // namespace companion
