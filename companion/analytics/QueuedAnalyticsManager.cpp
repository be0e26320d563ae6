#include "companion/analytics/QueuedAnalyticsManager.h"

#include "platform/base/Json.h"

namespace companion {

namespace {

constexpr const char* visitKey = "ReaderSeatingID";

} // namespace

void QueuedAnalyticsManager::trackEvent(
    const std::string& eventName, const base::Value& eventInfo, const std::string& wihUniqueID)
{
    std::lock_guard lock(m_mutex);
    ++m_trackedCount;
    if (auto visit = eventInfo[visitKey].asString(); visit && !visit->empty()) {
        if (!m_visitID.empty() && *visit != m_visitID)
            m_visit.clear();
        m_visitID = *visit;
    }
    if (!wihUniqueID.empty()) {
        for (auto& entry : m_visit) {
            if (entry.event.name == eventName && entry.event.uniqueID == wihUniqueID) {
                entry.event.info = eventInfo;
                entry.handedOver = false;
                return;
            }
        }
    }
    m_visit.push_back({ { eventName, wihUniqueID, eventInfo }, false });
}

void QueuedAnalyticsManager::notifyEvent(
    const std::optional<std::string>& eventName, const base::Value& eventInfo)
{
    std::lock_guard lock(m_mutex);
    m_live.push_back({ eventName, eventInfo });
}

std::string QueuedAnalyticsManager::getTrackingJSON()
{
    std::vector<TrackedEvent> events;
    {
        std::lock_guard lock(m_mutex);
        bool changed = false;
        for (const auto& entry : m_visit)
            changed = changed || !entry.handedOver;
        if (!changed)
            return {};
        for (auto& entry : m_visit) {
            entry.handedOver = true;
            events.push_back(entry.event);
        }
    }
    base::Value::Dictionary byName;
    for (auto& event : events) {
        base::Value::Dictionary entry;
        entry.set("EventName", event.name);
        entry.set("UniqueID", event.uniqueID);
        entry.set("EventInfo",
            event.info.isNull() ? base::Value(base::Value::Dictionary {}) : std::move(event.info));
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
    std::vector<TrackedEvent> events;
    for (const auto& entry : m_visit) {
        if (!entry.handedOver)
            events.push_back(entry.event);
    }
    return events;
}

std::vector<QueuedAnalyticsManager::TrackedEvent> QueuedAnalyticsManager::visitEvents() const
{
    std::lock_guard lock(m_mutex);
    std::vector<TrackedEvent> events;
    for (const auto& entry : m_visit)
        events.push_back(entry.event);
    return events;
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
