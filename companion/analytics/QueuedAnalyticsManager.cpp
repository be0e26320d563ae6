#include "companion/analytics/QueuedAnalyticsManager.h"

#include "platform/base/Json.h"

namespace companion {

void QueuedAnalyticsManager::trackEvent(const std::string& eventName, const base::Value& eventInfo,
    const std::string& wihUniqueID)
{
    std::lock_guard lock(m_mutex);
    ++m_trackedCount;
    if (!wihUniqueID.empty()) {
        for (auto& queued : m_queue) {
            if (queued.name == eventName && queued.uniqueID == wihUniqueID) {
                queued.info = eventInfo;
                return;
            }
        }
    }
    m_queue.push_back({ eventName, wihUniqueID, eventInfo });
}

void QueuedAnalyticsManager::notifyEvent(const std::optional<std::string>& eventName, const base::Value& eventInfo)
{
    std::lock_guard lock(m_mutex);
    m_live.push_back({ eventName, eventInfo });
}

std::string QueuedAnalyticsManager::getTrackingJSON()
{
    std::vector<TrackedEvent> events;
    {
        std::lock_guard lock(m_mutex);
        events.swap(m_queue);
    }
    if (events.empty())
        return {};
    base::Value::Dictionary byName;
    for (auto& event : events) {
        base::Value::Dictionary entry;
        entry.set("EventName", event.name);
        entry.set("UniqueID", event.uniqueID);
        entry.set("EventInfo", event.info.isNull() ? base::Value(base::Value::Dictionary {}) : std::move(event.info));
        base::Value* list = byName.find(event.name);
        if (!list)
            list = &byName.set(event.name, base::Value::List {});
        list->asList()->push_back(base::Value(std::move(entry)));
    }
    return base::toJson(base::Value(std::move(byName)));
}

std::vector<QueuedAnalyticsManager::TrackedEvent> QueuedAnalyticsManager::queuedEvents() const
{
    std::lock_guard lock(m_mutex);
    return m_queue;
}

std::vector<QueuedAnalyticsManager::LiveEvent> QueuedAnalyticsManager::liveEvents() const
{
    std::lock_guard lock(m_mutex);
    return m_live;
}

size_t QueuedAnalyticsManager::trackedEventCount() const
{
    std::lock_guard lock(m_mutex);
    return m_trackedCount;
}

} // namespace companion
