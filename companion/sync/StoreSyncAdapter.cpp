#include "companion/sync/StoreSyncAdapter.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"
#include "companion/service/ValueText.h"
#include "companion/store/SqliteDatabaseManager.h"

#include <map>

namespace companion {

namespace {

// The records read for an upload, per book, with the revisions they were read at.
struct UploadState {
    std::map<std::string, std::vector<UnsyncedUGC>> recordsByBook;
};

} // namespace

StoreSyncAdapter::StoreSyncAdapter(std::shared_ptr<SqliteDatabaseManager> store)
    : m_store(std::move(store))
{
}

SyncStore::UGCUpload StoreSyncAdapter::prepareUGCUpload(int64_t userID, std::optional<int64_t> bookID)
{
    UGCUpload upload;
    // A store that cannot be used holds nothing to send, and the user's saves failed: the
    // upload must not be reported as done.
    if (auto cause = m_store->unusableCause()) {
        upload.failure = *cause;
        return upload;
    }
    auto state = std::make_shared<UploadState>();
    std::vector<std::string> books;
    if (bookID) {
        books.push_back(std::to_string(*bookID));
    } else {
        // Keep the answer alive: asList() points into it.
        const base::Value unsynced = m_store->getUnsynedUGCDictionaryForUserID(userID);
        if (auto list = unsynced["ugcBookList"].asList()) {
            for (const auto& book : *list)
                books.push_back(textOf(book["bookID"]));
        }
    }
    base::Value::List payload;
    for (const auto& book : books) {
        auto records = m_store->unsyncedUGCForBookID(book, userID);
        if (records.empty())
            continue;
        base::Value::List items;
        for (const auto& unsynced : records) {
            if (unsynced.record)
                items.push_back(unsynced.record->toUGCDictionary());
        }
        base::Value::Dictionary entry;
        entry.set("bookID", base::Value(book).integerValue());
        entry.set("ugcList", std::move(items));
        payload.push_back(base::Value(std::move(entry)));
        state->recordsByBook[book] = std::move(records);
    }
    upload.books = std::move(payload);
    upload.state = std::move(state);
    return upload;
}

void StoreSyncAdapter::completeUGCUpload(int64_t userID, const UGCUpload& upload, const base::Value& saved)
{
    auto state = std::static_pointer_cast<UploadState>(upload.state);
    if (!state)
        return;
    // The service's id for each local record it took.
    std::map<std::pair<std::string, std::string>, std::string> serverIDs;
    if (auto list = saved.asList()) {
        for (const auto& entry : *list)
            serverIDs[{ textOf(entry["bookID"]), textOf(entry["localID"]) }] = textOf(entry["ugcID"]);
    }
    for (const auto& [book, records] : state->recordsByBook) {
        std::vector<UploadedUGC> uploaded;
        for (const auto& unsynced : records) {
            if (!unsynced.record)
                continue;
            auto found = serverIDs.find({ book, unsynced.record->localID });
            if (found == serverIDs.end())
                continue;
            uploaded.push_back({ unsynced.record, unsynced.revision, found->second });
        }
        if (!uploaded.empty())
            m_store->markUGCUploaded(book, userID, uploaded);
    }
}

base::Result<void> StoreSyncAdapter::storeFetchedUGC(int64_t userID, int64_t bookID, const base::Value::List& ugcList)
{
    // A few hundred records at a time: a book's thousands are never all records at once, and
    // each batch's memory is used again by the next.
    constexpr size_t batchSize = 256;
    size_t next = 0;
    return m_store->storeFetchedUGC(std::to_string(bookID), userID, [&] {
        std::vector<std::shared_ptr<lectoro::SDKUGCVO>> batch;
        while (next < ugcList.size() && batch.size() < batchSize) {
            if (auto record = lectoro::makeUGCRecordFromDictionary(ugcList[next++]))
                batch.push_back(std::move(record));
        }
        return batch;
    });
}

void StoreSyncAdapter::storeClassInfo(int64_t userID, int64_t bookID, const base::Value& classInfoList)
{
    std::vector<std::shared_ptr<lectoro::SDKBookClassInfoVO>> classes;
    if (auto list = classInfoList.asList()) {
        for (const auto& item : *list) {
            if (auto info = lectoro::SDKBookClassInfoVO::fromDictionary(item))
                classes.push_back(std::move(info));
        }
    }
    m_store->saveBookClassInfo(std::to_string(bookID), userID, classes);
}

base::Value StoreSyncAdapter::unsyncedCollabData(int64_t userID, int64_t bookID)
{
    // The store answers every book of the user; the upload is per book.
    base::Value all = m_store->getUnsyncedCollabDataDictionaryForUserID(userID);
    const base::Value& book = all[std::to_string(bookID)];
    return book.isDictionary() ? book : base::Value();
}

void StoreSyncAdapter::markCollabSynced(int64_t userID, int64_t bookID)
{
    m_store->markSharedReceivedInfoSynced(std::to_string(bookID), userID);
}

SyncStore::Sessions StoreSyncAdapter::unsyncedReadingSessions(int64_t userID, int64_t bookID)
{
    Sessions sessions;
    base::Value stored = m_store->unsyncedAnalyticsSessions(userID, std::to_string(bookID));
    if (auto dictionary = stored.asDictionary()) {
        for (const auto& [id, json] : *dictionary) {
            sessions.ids.push_back(id);
            sessions.sessions.push_back(json);
        }
    }
    return sessions;
}

void StoreSyncAdapter::markReadingSessionsSynced(int64_t userID, int64_t bookID, const std::vector<std::string>& ids)
{
    m_store->markAnalyticsSessionsSynced(userID, std::to_string(bookID), ids);
}

base::Value StoreSyncAdapter::furthestPages(int64_t userID, const std::vector<int64_t>& bookIDs)
{
    base::Value::List books;
    for (int64_t book : bookIDs) {
        base::Value metadata = m_store->getBookMetadataForbookID(std::to_string(book), userID);
        const base::Value& data = metadata["FurthestPageData"];
        if (!data.isString())
            continue;
        base::Value::Dictionary entry;
        entry.set("bookID", book);
        entry.set("furthestPageData", data);
        books.push_back(base::Value(std::move(entry)));
    }
    return base::Value(std::move(books));
}

base::Value StoreSyncAdapter::unsyncedScormData(int64_t userID, int64_t bookID)
{
    base::Value data = m_store->unsyncedScormData(std::to_string(bookID), userID);
    if (data.isDictionary())
        return base::Value(base::Value::List { std::move(data) });
    return data.isList() ? data : base::Value(base::Value::List {});
}

void StoreSyncAdapter::markScormSynced(int64_t userID, int64_t bookID, const std::string& scormID)
{
    m_store->markScormSynced(std::to_string(bookID), userID, scormID);
}

void StoreSyncAdapter::storeScormData(int64_t userID, int64_t bookID, const base::Value& entries)
{
    auto list = entries.asList();
    if (!list)
        return;
    for (const auto& entry : *list) {
        std::string scormID = textOf(entry["ScormID"]);
        if (scormID.empty())
            continue;
        m_store->saveSCORMdataToDB(std::to_string(bookID), userID, scormID, textOf(entry["data"]),
            textOf(entry["classId"]), entry["PageID"].integerValue(), textOf(entry["ActivityName"]), true);
    }
}

} // namespace companion
