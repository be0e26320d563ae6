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
//
// Cost. An event is found again by its name and unique id through a hash, so tracking is
// constant time however long the visit. Each event's JSON is written once, when it is
// first handed over after a change, and from then on only that text is kept; a hand-over
// only joins the texts. A store that keeps the visit as it grows takes only the events
// tracked since the last hand-over (takeTrackingChanges), so a save costs what changed. A visit keeps at most `capacity` events (and the live log as
// many): past it the oldest is dropped, with a line on stderr, so a hostile book cannot
// grow the queue without end. Every page-tracking event has its own unique id, so a visit
// grows with reading time: the default holds some hours of reading.

#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"

#include <cstddef>
#include <deque>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace companion {

class QueuedAnalyticsManager final : public lectoro::AnalyticsManager {
public:
    static constexpr size_t defaultCapacity = 50000;

    struct TrackedEvent {
        std::string name;
        std::string uniqueID;
        base::Value info;
    };
    struct LiveEvent {
        std::optional<std::string> name;
        base::Value info;
    };

    explicit QueuedAnalyticsManager(size_t capacity = defaultCapacity);

    void trackEvent(
        const std::string& eventName, const base::Value& eventInfo, const std::string& wihUniqueID) override;
    void notifyEvent(const std::optional<std::string>& eventName, const base::Value& eventInfo) override;
    // Every event of the current visit; empty text when nothing was tracked or changed
    // since the last hand-over (the session stored then is still complete).
    std::string getTrackingJSON() override;
    // Only the events tracked since the last hand-over, unless an earlier one changed.
    std::optional<lectoro::TrackingChanges> takeTrackingChanges(bool whole) override;

    // The visit's events tracked or changed since the last hand-over.
    std::vector<TrackedEvent> queuedEvents() const;
    // Every event of the current visit, handed over or not.
    std::vector<TrackedEvent> visitEvents() const;
    std::vector<LiveEvent> liveEvents() const;
    // Every tracked event ever queued, handed over or not (the host prints them).
    size_t trackedEventCount() const;
    // Events dropped because the visit or the live log was full.
    size_t droppedEventCount() const;
    size_t capacity() const { return m_capacity; }

private:
    struct Entry {
        // The payload is dropped once written as JSON (`info` then null, `json` holds it).
        TrackedEvent event;
        // The entry's JSON as handed over; empty until its first hand-over and after a change.
        std::string json;
        bool handedOver = false;
    };
    static TrackedEvent eventOf(const Entry&);
    using Entries = std::list<Entry>;

    static std::string keyOf(const std::string& name, const std::string& uniqueID);
    void dropOldest();
    // Hands over every event, or only those after the handed-over ones (locked).
    lectoro::TrackingChanges handOver(bool everything);

    const size_t m_capacity;
    mutable std::mutex m_mutex;
    std::string m_visitID;
    Entries m_visit;
    std::unordered_map<std::string, Entries::iterator> m_byKey;
    // Event names in the order they first appeared in the visit: the hand-over's order.
    std::vector<std::string> m_names;
    // Each name's place in m_names, its entries in queue order, and whether one of its
    // handed-over entries was replaced since the last hand-over.
    std::unordered_map<std::string, size_t> m_nameIndex;
    std::vector<std::deque<Entries::iterator>> m_byName;
    std::vector<bool> m_replacedNames;
    bool m_changed = false;
    // An event handed over was dropped, or a new visit began: the next hand-over is whole
    // (a replaced one only hands its name's entries over again). Otherwise the first `m_handedCount` events were handed over and
    // the rest are new.
    bool m_rewrite = false;
    size_t m_handedCount = 0;
    std::list<LiveEvent> m_live;
    size_t m_trackedCount = 0;
    size_t m_droppedCount = 0;
};

} // namespace companion
