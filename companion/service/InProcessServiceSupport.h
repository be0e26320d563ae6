#pragma once

// Small helpers shared by the in-process service's handlers (one file per concern).

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "companion/service/ServiceErrors.h"
#include "companion/service/ValueText.h"

#include <algorithm>
#include <optional>
#include <string>

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
