#include "companion/store/RecordListCache.h"

#include <algorithm>

namespace companion {

const RecordListCache::Records* RecordListCache::find(int family, const std::string& bookID, int64_t userID,
    int64_t dataVersion)
{
    auto found = m_lists.find(Key { family, bookID, userID });
    if (found == m_lists.end() || found->second.dataVersion != dataVersion)
        return nullptr;
    return &recordsOf(found->second);
}

RecordListCache::List& RecordListCache::keepList(int family, const std::string& bookID, int64_t userID,
    int64_t dataVersion)
{
    std::erase_if(m_lists, [&](const auto& entry) {
        return std::get<1>(entry.first) != bookID || std::get<2>(entry.first) != userID;
    });
    List& list = m_lists[Key { family, bookID, userID }];
    list = List { dataVersion, std::nullopt, {}, nullptr };
    return list;
}

void RecordListCache::keep(int family, const std::string& bookID, int64_t userID, int64_t dataVersion,
    Records records)
{
    keepList(family, bookID, userID, dataVersion).records = std::move(records);
}

RecordListCache::Records& RecordListCache::recordsOf(List& list)
{
    if (!list.records)
        list.records = list.recordsOfShared(list.shared.get());
    return *list.records;
}

RecordListCache::Records& RecordListCache::changing(List& list)
{
    Records& records = recordsOf(list);
    list.shared.reset();
    list.recordsOfShared = nullptr;
    return records;
}

bool RecordListCache::isWorthKeeping(int family, const std::string& bookID, int64_t userID, int64_t dataVersion)
{
    Key key { family, bookID, userID };
    auto found = m_readOnce.find(key);
    if (found != m_readOnce.end() && found->second == dataVersion) {
        m_readOnce.erase(found);
        return true;
    }
    if (m_readOnce.size() > 16)
        m_readOnce.clear();
    m_readOnce[key] = dataVersion;
    return false;
}

bool RecordListCache::isKept(int family, const std::string& bookID, int64_t userID) const
{
    return m_lists.contains(Key { family, bookID, userID });
}

void RecordListCache::put(int family, const std::string& bookID, int64_t userID,
    std::shared_ptr<const lectoro::SDKUGCVO> record)
{
    auto found = m_lists.find(Key { family, bookID, userID });
    if (found == m_lists.end() || !record)
        return;
    auto& records = changing(found->second);
    auto same = std::find_if(records.begin(), records.end(),
        [&](const auto& kept) { return kept->localID == record->localID; });
    if (same != records.end())
        *same = std::move(record);
    else
        records.push_back(std::move(record));
}

void RecordListCache::remove(int family, const std::string& bookID, int64_t userID, const std::string& localID)
{
    auto found = m_lists.find(Key { family, bookID, userID });
    if (found == m_lists.end())
        return;
    std::erase_if(changing(found->second), [&](const auto& kept) { return kept->localID == localID; });
}

} // namespace companion
