#include "companion/analytics/QueuedAnalyticsManager.h"

#include "platform/base/Json.h"

#include <algorithm>
#include <cstdio>

namespace companion {

namespace {

constexpr const char* visitKey = "ReaderSeatingID";

std::string entryJSON(const QueuedAnalyticsManager::TrackedEvent& event)
{
    base::Value::Dictionary entry;
    entry.set("EventName", event.name);
    entry.set("UniqueID", event.uniqueID);
    entry.set("EventInfo", event.info.isNull() ? base::Value(base::Value::Dictionary {}) : event.info);
    return base::toJson(base::Value(std::move(entry)));
}

} // namespace

QueuedAnalyticsManager::QueuedAnalyticsManager(size_t capacity)
    : m_capacity(std::max<size_t>(capacity, 1))
{
}

std::string QueuedAnalyticsManager::keyOf(const std::string& name, const std::string& uniqueID)
{
    std::string key;
    key.reserve(name.size() + 1 + uniqueID.size());
    key.append(name).push_back('\0');
    key.append(uniqueID);
    return key;
}

void QueuedAnalyticsManager::dropOldest()
{
    const Entry& oldest = m_visit.front();
    if (!oldest.event.uniqueID.empty())
        m_byKey.erase(keyOf(oldest.event.name, oldest.event.uniqueID));
    if (m_droppedCount++ == 0 || m_droppedCount % 1000 == 0)
        std::fprintf(stderr, "analytics: the visit holds %zu events; dropped the oldest (%zu dropped so far)\n",
            m_capacity, m_droppedCount);
    m_visit.pop_front();
    // The stored session no longer matches the visit.
    m_changed = true;
}

void QueuedAnalyticsManager::trackEvent(
    const std::string& eventName, const base::Value& eventInfo, const std::string& wihUniqueID)
{
    std::lock_guard lock(m_mutex);
    ++m_trackedCount;
    if (auto visit = eventInfo[visitKey].asString(); visit && !visit->empty()) {
        if (!m_visitID.empty() && *visit != m_visitID) {
            m_visit.clear();
            m_byKey.clear();
            m_names.clear();
        }
        m_visitID = *visit;
    }
    m_changed = true;
    std::string key;
    if (!wihUniqueID.empty()) {
        key = keyOf(eventName, wihUniqueID);
        if (auto found = m_byKey.find(key); found != m_byKey.end()) {
            Entry& entry = *found->second;
            entry.event.info = eventInfo;
            entry.json.clear();
            entry.handedOver = false;
            return;
        }
    }
    if (std::find(m_names.begin(), m_names.end(), eventName) == m_names.end())
        m_names.push_back(eventName);
    while (m_visit.size() >= m_capacity)
        dropOldest();
    m_visit.push_back({ { eventName, wihUniqueID, eventInfo }, {}, false });
    if (!key.empty())
        m_byKey.emplace(std::move(key), std::prev(m_visit.end()));
}

void QueuedAnalyticsManager::notifyEvent(
    const std::optional<std::string>& eventName, const base::Value& eventInfo)
{
    std::lock_guard lock(m_mutex);
    if (m_live.size() >= m_capacity) {
        m_live.pop_front();
        if (m_droppedCount++ == 0 || m_droppedCount % 1000 == 0)
            std::fprintf(stderr, "analytics: the live log holds %zu events; dropped the oldest\n", m_capacity);
    }
    m_live.push_back({ eventName, eventInfo });
}

std::string QueuedAnalyticsManager::getTrackingJSON()
{
    std::lock_guard lock(m_mutex);
    if (!m_changed)
        return {};
    m_changed = false;
    if (m_visit.empty())
        return {};

    // Entries by name, in the order names first appeared; within a name, in queue order.
    std::unordered_map<std::string_view, size_t> slot;
    for (size_t index = 0; index < m_names.size(); ++index)
        slot.emplace(m_names[index], index);
    std::vector<std::vector<Entry*>> byName(m_names.size());
    size_t bytes = 2;
    for (auto& entry : m_visit) {
        if (entry.json.empty()) {
            entry.json = entryJSON(entry.event);
            entry.event.info = base::Value();
        }
        entry.handedOver = true;
        bytes += entry.json.size() + 1;
        byName[slot.at(entry.event.name)].push_back(&entry);
    }

    std::string json;
    json.reserve(bytes + 32 * m_names.size());
    json.push_back('{');
    bool firstName = true;
    for (size_t index = 0; index < m_names.size(); ++index) {
        if (byName[index].empty())
            continue;
        if (!firstName)
            json.push_back(',');
        firstName = false;
        json += base::toJson(base::Value(m_names[index]));
        json += ":[";
        bool firstEntry = true;
        for (const Entry* entry : byName[index]) {
            if (!firstEntry)
                json.push_back(',');
            firstEntry = false;
            json += entry->json;
        }
        json.push_back(']');
    }
    json.push_back('}');
    return json;
}

QueuedAnalyticsManager::TrackedEvent QueuedAnalyticsManager::eventOf(const Entry& entry)
{
    if (entry.json.empty())
        return entry.event;
    TrackedEvent event { entry.event.name, entry.event.uniqueID, {} };
    if (auto parsed = base::parseJson(entry.json); parsed.ok())
        event.info = parsed.value()["EventInfo"];
    return event;
}

std::vector<QueuedAnalyticsManager::TrackedEvent> QueuedAnalyticsManager::queuedEvents() const
{
    std::lock_guard lock(m_mutex);
    std::vector<TrackedEvent> events;
    for (const auto& entry : m_visit) {
        if (!entry.handedOver)
            events.push_back(eventOf(entry));
    }
    return events;
}

std::vector<QueuedAnalyticsManager::TrackedEvent> QueuedAnalyticsManager::visitEvents() const
{
    std::lock_guard lock(m_mutex);
    std::vector<TrackedEvent> events;
    events.reserve(m_visit.size());
    for (const auto& entry : m_visit)
        events.push_back(eventOf(entry));
    return events;
}

std::vector<QueuedAnalyticsManager::LiveEvent> QueuedAnalyticsManager::liveEvents() const
{
    std::lock_guard lock(m_mutex);
    return { m_live.begin(), m_live.end() };
}

size_t QueuedAnalyticsManager::trackedEventCount() const
{
    std::lock_guard lock(m_mutex);
    return m_trackedCount;
}

size_t QueuedAnalyticsManager::droppedEventCount() const
{
    std::lock_guard lock(m_mutex);
    return m_droppedCount;
}

} // namespace companion
