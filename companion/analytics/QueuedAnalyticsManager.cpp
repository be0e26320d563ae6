#include "companion/analytics/QueuedAnalyticsManager.h"

#include "platform/base/Json.h"

#include <algorithm>
#include <cstdio>

namespace companion {

namespace {

constexpr const char* visitKey = "ReaderSeatingID";

// The event's payload is moved into the text: an entry keeps only its JSON once written.
std::string entryJSON(QueuedAnalyticsManager::TrackedEvent& event)
{
    base::Value::Dictionary entry;
    entry.set("EventName", event.name);
    entry.set("UniqueID", event.uniqueID);
    entry.set(
        "EventInfo", event.info.isNull() ? base::Value(base::Value::Dictionary {}) : std::move(event.info));
    event.info = base::Value();
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
    if (oldest.handedOver && m_handedCount > 0)
        --m_handedCount;
    if (auto name = m_nameIndex.find(oldest.event.name); name != m_nameIndex.end() && !m_byName[name->second].empty())
        m_byName[name->second].pop_front();
    m_visit.pop_front();
    // The stored session no longer matches the visit.
    m_changed = true;
    m_rewrite = true;
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
            m_nameIndex.clear();
            m_byName.clear();
            m_replacedNames.clear();
            m_handedCount = 0;
            m_rewrite = true;
        }
        m_visitID = *visit;
    }
    m_changed = true;
    std::string key;
    if (!wihUniqueID.empty()) {
        key = keyOf(eventName, wihUniqueID);
        if (auto found = m_byKey.find(key); found != m_byKey.end()) {
            Entry& entry = *found->second;
            // An entry not yet handed over is still among the new ones.
            if (entry.handedOver)
                m_replacedNames[m_nameIndex.at(eventName)] = true;
            entry.event.info = eventInfo;
            entry.json.clear();
            entry.handedOver = false;
            return;
        }
    }
    auto [name, added] = m_nameIndex.emplace(eventName, m_names.size());
    if (added) {
        m_names.push_back(eventName);
        m_byName.emplace_back();
        m_replacedNames.push_back(false);
    }
    while (m_visit.size() >= m_capacity)
        dropOldest();
    m_visit.push_back({ { eventName, wihUniqueID, eventInfo }, {}, false });
    m_byName[name->second].push_back(std::prev(m_visit.end()));
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
    auto text = handOver(true).wholeText();
    // Whoever took the text may not have stored it where the next changes would be added.
    m_rewrite = true;
    return text;
}

std::optional<lectoro::TrackingChanges> QueuedAnalyticsManager::takeTrackingChanges(bool whole)
{
    std::lock_guard lock(m_mutex);
    if (!whole && !m_changed)
        return lectoro::TrackingChanges {};
    return handOver(whole || m_rewrite);
}

lectoro::TrackingChanges QueuedAnalyticsManager::handOver(bool everything)
{
    lectoro::TrackingChanges changes;
    changes.whole = everything;
    size_t fresh = everything ? 0 : m_visit.size() - std::min(m_handedCount, m_visit.size());
    std::vector<lectoro::TrackingChanges::Group> groups(m_names.size());
    auto add = [&](Entry& entry, std::string& text) {
        if (entry.json.empty())
            entry.json = entryJSON(entry.event);
        entry.handedOver = true;
        if (!text.empty())
            text.push_back(',');
        text += entry.json;
    };
    // Entries by name, in the order names first appeared; within a name, in queue order.
    for (size_t index = 0; index < m_names.size(); ++index) {
        groups[index].index = index;
        groups[index].name = m_names[index];
        if (!everything && !m_replacedNames[index])
            continue;
        groups[index].replaced = !everything;
        for (auto entry : m_byName[index])
            add(*entry, groups[index].entries);
    }
    // Only new events of the other names.
    for (auto entry = std::prev(m_visit.end(), static_cast<std::ptrdiff_t>(fresh)); entry != m_visit.end(); ++entry) {
        size_t index = m_nameIndex.at(entry->event.name);
        if (!m_replacedNames[index])
            add(*entry, groups[index].entries);
    }
    for (auto& group : groups) {
        if (!group.entries.empty())
            changes.groups.push_back(std::move(group));
    }
    m_changed = false;
    m_rewrite = false;
    m_handedCount = m_visit.size();
    std::fill(m_replacedNames.begin(), m_replacedNames.end(), false);
    return changes;
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
