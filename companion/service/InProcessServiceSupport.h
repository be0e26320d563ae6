#pragma once

// Small helpers shared by the in-process service's handlers (one file per concern).

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/ValueText.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

namespace companion::inprocess {

// An id (user, learner, book): a 64-bit integer or its decimal text; anything else is
// absent and the request malformed.
inline std::optional<int64_t> idFrom(const base::Value& value)
{
    return lectoro::coding::readId(value);
}

inline base::Error malformed(const std::string& what)
{
    return serviceError(400, "Malformed request: " + what);
}

// A service id; records never uploaded carry "-1" or nothing.
inline std::string serverIDOf(const base::Value& item)
{
    std::string ugcID = textOf(item["ugcID"]);
    return ugcID == "-1" ? std::string() : ugcID;
}

inline bool listHasId(const base::Value& list, int64_t id)
{
    if (const auto* entries = list.asList()) {
        for (const auto& entry : *entries) {
            if (idFrom(entry) == id)
                return true;
        }
    }
    return false;
}

// The list's entries as integer ids; absent when one of them is not an id (or the value
// is not a list).
inline std::optional<base::Value::List> idListFrom(const base::Value& value)
{
    const auto* entries = value.asList();
    if (!entries)
        return std::nullopt;
    base::Value::List ids;
    for (const auto& entry : *entries) {
        auto id = idFrom(entry);
        if (!id)
            return std::nullopt;
        ids.emplace_back(*id);
    }
    return ids;
}

// The identity of a UGC item: its service id once it has one, else the client's local id.
inline std::string ugcIdentityOf(const base::Value& item)
{
    std::string ugcID = serverIDOf(item);
    if (!ugcID.empty())
        return "u:" + ugcID;
    std::string localID = textOf(item["localID"]);
    if (!localID.empty())
        return "l:" + localID;
    return {};
}

// Where the records of one user's book lie in their list, by identity and by local id, so
// that a save of thousands of records finds each without reading the list. Built for one
// save; an entry whose record has changed since is checked and passed over. A record the
// save deletes is left as a null entry (positions stay) and the list is compacted after.
class UGCPlaces {
public:
    explicit UGCPlaces(const base::Value::List& stored)
        : m_stored(stored)
    {
        for (size_t index = 0; index < stored.size(); ++index)
            add(index);
    }

    // The first record, in list order, with the identity or (when not empty) the local id.
    std::optional<size_t> find(const std::string& identity, const std::string& localID) const
    {
        std::optional<size_t> found;
        auto consider = [&](const std::unordered_map<std::string, size_t>& places, const std::string& key) {
            auto place = key.empty() ? places.end() : places.find(key);
            if (place != places.end() && holds(place->second, identity, localID) && (!found || place->second < *found))
                found = place->second;
        };
        consider(m_byIdentity, identity);
        consider(m_byLocalID, localID);
        return found;
    }

    // The record at `index` is new or changed.
    void add(size_t index)
    {
        const base::Value& record = m_stored[index];
        std::string identity = ugcIdentityOf(record);
        std::string localID = textOf(record["localID"]);
        note(m_byIdentity, identity, index, identity, {});
        note(m_byLocalID, localID, index, {}, localID);
    }

private:
    bool holds(size_t index, const std::string& identity, const std::string& localID) const
    {
        if (index >= m_stored.size() || m_stored[index].isNull())
            return false;
        return (!identity.empty() && ugcIdentityOf(m_stored[index]) == identity)
            || (!localID.empty() && textOf(m_stored[index]["localID"]) == localID);
    }
    void note(std::unordered_map<std::string, size_t>& places, const std::string& key, size_t index,
        const std::string& identity, const std::string& localID)
    {
        if (key.empty())
            return;
        auto [place, added] = places.try_emplace(key, index);
        // An earlier record keeps the place while it still holds the key.
        if (!added && (index < place->second || !holds(place->second, identity, localID)))
            place->second = index;
    }

    const base::Value::List& m_stored;
    std::unordered_map<std::string, size_t> m_byIdentity;
    std::unordered_map<std::string, size_t> m_byLocalID;
};

// What a fetch answers for a record that is gone: enough to find it, and status 3.
inline base::Value tombstoneOf(const base::Value& record)
{
    base::Value::Dictionary marker;
    marker.set("type", record["type"]);
    marker.set("localID", record["localID"]);
    marker.set("ugcID", record["ugcID"]);
    marker.set("status", int64_t(3));
    return base::Value(std::move(marker));
}

// A comment's identity in a thread: who, when and what.
inline std::string commentIdentity(const base::Value& comment)
{
    return textOf(comment["UserID"]) + "\n" + textOf(comment["Date"]) + "\n" + textOf(comment["Text"]);
}

// Appends to `thread` the comments of `incoming` it does not hold yet, in their order.
inline void mergeComments(base::Value::List& thread, const base::Value& incoming)
{
    const auto* comments = incoming.asList();
    if (!comments)
        return;
    for (const auto& comment : *comments) {
        if (!comment.isDictionary())
            continue;
        std::string identity = commentIdentity(comment);
        bool known = std::any_of(thread.begin(), thread.end(),
            [&](const base::Value& held) { return commentIdentity(held) == identity; });
        if (!known)
            thread.push_back(comment);
    }
}

// A record saved again by its owner keeps what only the service writes (who answered the
// share) and every comment posted to it from elsewhere.
inline void keepServiceFields(const base::Value& held, base::Value& incoming)
{
    auto* record = incoming.asDictionary();
    if (!record || !held.isDictionary())
        return;
    for (const char* key : { "acceptedUsers", "declinedUsers" }) {
        if (held[key].isList())
            record->set(key, held[key]);
    }
    if (held["noteComments"].isList()) {
        base::Value::List thread = *held["noteComments"].asList();
        mergeComments(thread, incoming["noteComments"]);
        record->set("noteComments", std::move(thread));
    }
}

} // namespace companion::inprocess
