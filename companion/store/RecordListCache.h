#pragma once

// A book's whole list of highlights or of bookmarks, kept by the store between reads.
//
// A list is kept from its second read while no other connection wrote, or from its first
// read for a reader that only reads (keepShared()).
//
// The lists are read whole when a book opens and again by every panel that shows them, ten
// thousand records in some books. The store's own saves and deletes update a kept list in
// place (write-through), so the read after a save is as quick as any other; the store's
// other writes to those records (sync results, submissions, answers) drop the lists. A list
// is kept with SQLite's data_version of the moment it was read: another connection's commit
// changes that number, and the list is read afresh.
//
// Callers get copies: a record handed out may be changed by its holder without touching
// the kept list. A caller that only reads may take the list itself instead (shared()): its
// records are never changed (a save replaces a record, it does not write into it), and a
// change to the list makes a new one, so a holder's list stays as it was given.

#include "companion/store/RecordArena.h"

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace companion {

class RecordListCache {
public:
    using Records = std::vector<std::shared_ptr<const lectoro::SDKUGCVO>>;
    template<class Record>
    using Shared = std::shared_ptr<const std::vector<std::shared_ptr<const Record>>>;

    // The kept list, if one was read at `dataVersion`; null otherwise.
    const Records* find(int family, const std::string& bookID, int64_t userID, int64_t dataVersion);
    // Keeps a list read at `dataVersion`. Lists of other books or users are let go: a reader
    // has one book open.
    void keep(int family, const std::string& bookID, int64_t userID, int64_t dataVersion, Records);
    // Keeps a list read at `dataVersion` for readers that only read, and answers it shared.
    template<class Record>
    Shared<Record> keepShared(int family, const std::string& bookID, int64_t userID, int64_t dataVersion,
        std::vector<std::shared_ptr<const Record>> records)
    {
        auto made = std::make_shared<const std::vector<std::shared_ptr<const Record>>>(std::move(records));
        List& list = keepList(family, bookID, userID, dataVersion);
        list.shared = made;
        list.recordsOfShared = [](const void* shared) {
            const auto& typed = *static_cast<const std::vector<std::shared_ptr<const Record>>*>(shared);
            return Records(typed.begin(), typed.end());
        };
        return made;
    }
    bool isKept(int family, const std::string& bookID, int64_t userID) const;
    // The kept list read at `dataVersion` as one shared list of its kind, made once for every
    // reader until the list changes; null when none is kept. `Record` is the kind the family
    // holds (a list is only ever asked for as that kind).
    template<class Record>
    Shared<Record> shared(int family, const std::string& bookID, int64_t userID, int64_t dataVersion)
    {
        using Typed = std::vector<std::shared_ptr<const Record>>;
        auto found = m_lists.find(Key { family, bookID, userID });
        if (found == m_lists.end() || found->second.dataVersion != dataVersion)
            return nullptr;
        List& list = found->second;
        if (!list.shared) {
            auto made = std::make_shared<Typed>();
            made->reserve(list.records->size());
            for (const auto& record : *list.records) {
                if (auto typed = std::dynamic_pointer_cast<const Record>(record))
                    made->push_back(std::move(typed));
            }
            list.shared = std::move(made);
        }
        return std::static_pointer_cast<const Typed>(list.shared);
    }
    // Whether a list just read from the file at `dataVersion` is worth a copy to keep: it is
    // when it was read at that version before. A list read once (as a book opens, or after
    // each of another connection's writes) is not copied for nothing.
    bool isWorthKeeping(int family, const std::string& bookID, int64_t userID, int64_t dataVersion);

    // A record saved by this connection, as now stored: it replaces the one of its local id,
    // or joins the end (new records have the largest id).
    void put(int family, const std::string& bookID, int64_t userID, std::shared_ptr<const lectoro::SDKUGCVO>);
    // A record that no longer belongs in the list (deleted, or kept only for the upload).
    void remove(int family, const std::string& bookID, int64_t userID, const std::string& localID);
    void clear() { m_lists.clear(); }

private:
    using Key = std::tuple<int, std::string, int64_t>;
    // A list is kept as records, as the shared list of its kind, or both: a list read for a
    // reader that only reads is made into records only when a copy or a change needs them.
    struct List {
        int64_t dataVersion = 0;
        std::optional<Records> records;
        // The list handed out by shared(), until the list changes.
        std::shared_ptr<const void> shared;
        Records (*recordsOfShared)(const void*) = nullptr;
    };
    List& keepList(int family, const std::string& bookID, int64_t userID, int64_t dataVersion);
    // The list's records, made from its shared list if they were not kept.
    static Records& recordsOf(List&);
    // The list about to change: its records, and no shared list any more.
    static Records& changing(List&);
    std::map<Key, List> m_lists;
    // Lists read once and not kept, with the version they were read at.
    std::map<Key, int64_t> m_readOnce;
};

// About what a record of the kind takes in an arena, its texts included, to size an arena
// for a list (RecordArena::make).
template<class Record>
size_t arenaBytesFor(size_t records)
{
    return records * (sizeof(Record) + 160);
}

// A copy of every record of a kept list, as the kind the list holds, made in `arena` with
// its texts: a copy of ten thousand records touches a few huge pages, not hundreds of the
// heap's.
template<class Record>
std::vector<std::shared_ptr<Record>> copyRecords(const RecordListCache::Records& records, RecordArena& arena)
{
    std::vector<std::shared_ptr<Record>> copies;
    copies.reserve(records.size());
    for (const auto& record : records) {
        if (const auto* typed = dynamic_cast<const Record*>(record.get()))
            copies.push_back(arena.makeCopy<Record>(*typed));
    }
    return copies;
}

} // namespace companion
