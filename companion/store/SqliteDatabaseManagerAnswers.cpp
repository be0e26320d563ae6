// Fill-in and drop-down answers, and a learner's submission of work.

#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/UGCFamily.h"

#include "platform/base/Json.h"
#include "platform/base/Strings.h"

namespace companion {

using namespace lectoro;

namespace {

constexpr int answerFamily = static_cast<int>(UGCFamily::Answer);
constexpr int penFamily = static_cast<int>(UGCFamily::PenDrawing);

std::shared_ptr<SDKFIBVO> answerFromRow(const SqliteStatement& row, int offset)
{
    auto payload = base::parseJson(row.columnText(offset + 5));
    if (!payload.ok())
        return nullptr;
    auto record = SDKFIBVO::fromUGCDictionary(payload.value());
    record->localID = row.columnText(offset + 0);
    record->ugcID = row.columnText(offset + 1);
    record->status = static_cast<int16_t>(row.columnInteger(offset + 2));
    record->isSynced = row.columnInteger(offset + 3) != 0;
    record->isSubmitted = row.columnInteger(offset + 4) != 0;
    return record;
}

} // namespace

std::shared_ptr<SDKFIBVO> SqliteDatabaseManager::answerForLink(const std::string* bookID, int64_t linkID, int64_t userID)
{
    // Without a book, the answer saved last for that link id wins.
    auto* statement = m_database->statement(
        "SELECT local_id, ugc_id, status, is_synced, is_submitted, payload FROM ugc "
        "WHERE family = ?1 AND user_id = ?2 AND link_id = ?3 AND status <> 3 AND (?4 IS NULL OR book_id = ?4) "
        "ORDER BY id DESC LIMIT 1");
    if (!statement) {
        recordFailure();
        return nullptr;
    }
    statement->bind(1, answerFamily).bind(2, userID).bind(3, linkID);
    if (bookID)
        statement->bind(4, *bookID);
    else
        statement->bindNull(4);
    std::shared_ptr<SDKFIBVO> result;
    if (statement->step())
        result = answerFromRow(*statement, 0);
    recordOutcome(statement->ok());
    statement->reset();
    return result;
}

base::Result<void> SqliteDatabaseManager::saveFIB(const std::shared_ptr<SDKFIBVO>& record, const std::string& bookID, int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    if (!record->isDeleted()) {
        // One answer per markup: a new record for a link that already has an answer takes
        // the stored one's identities, so it replaces it here and on the server.
        if (auto stored = answerForLink(&bookID, record->linkID, userID); stored && stored->localID != record->localID) {
            if (!record->localID.empty()) {
                auto* remove = m_database->statement(
                    "DELETE FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND local_id = ?4");
                if (remove)
                    remove->bind(1, answerFamily).bind(2, bookID).bind(3, userID).bind(4, stored->localID).run();
                // Re-key the new record's row onto the stored identities.
                auto* rekey = m_database->statement(
                    "UPDATE ugc SET local_id = ?5 WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND local_id = ?4");
                if (rekey)
                    rekey->bind(1, answerFamily).bind(2, bookID).bind(3, userID).bind(4, record->localID).bind(5, stored->localID).run();
            }
            record->localID = stored->localID;
            if (!record->isUploaded())
                record->ugcID = stored->ugcID;
            if (record->createdDate.empty())
                record->createdDate = stored->createdDate;
        }
    }
    return saveRecord(*record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::updateFIB(const std::shared_ptr<SDKFIBVO>& record, const std::string& bookID, int64_t userID)
{
    return saveFIB(record, bookID, userID);
}

base::Result<void> SqliteDatabaseManager::deleteFIB(const std::shared_ptr<SDKFIBVO>& record, const std::string& bookID, int64_t userID)
{
    if (!record)
        return {};
    std::lock_guard lock(m_mutex);
    if (record->localID.empty() && !record->isUploaded()) {
        if (auto stored = answerForLink(&bookID, record->linkID, userID))
            record->localID = stored->localID;
    }
    return deleteRecord(*record, bookID, userID);
}

std::shared_ptr<SDKFIBVO> SqliteDatabaseManager::getFIBObjectWithLinkId(int64_t linkID, int64_t userId)
{
    std::lock_guard lock(m_mutex);
    if (m_currentBookID.empty())
        return answerForLink(nullptr, linkID, userId);
    return answerForLink(&m_currentBookID, linkID, userId);
}

std::shared_ptr<SDKFIBVO> SqliteDatabaseManager::getEquationFIBObjectForText(const std::string& text,
    const PXLinkVO& link, int64_t userId)
{
    std::shared_ptr<SDKFIBVO> record = getFIBObjectWithLinkId(link.linkID, userId);
    if (!record) {
        record = std::make_shared<SDKFIBVO>();
        record->localID = base::makeUuid();
        record->linkID = link.linkID;
        record->pageIdentifier = link.pageID;
        record->displayNum = link.folioNumber;
        record->createdDate = currentUGCDateString();
        record->status = UGCStatusNew;
    }
    record->isEquation = true;
    record->text = text;
    return record;
}

bool SqliteDatabaseManager::isFIBsAvailableOnPageID(const std::string& pageID, const std::string& displayNumber,
    const std::string& bookID, int64_t userID, bool submitted)
{
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "SELECT 1 FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND status <> 3 AND "
        "page_identifier IN (?4, '') AND (page_identifier = ?4 OR display_num = ?5) AND (?6 = 1 OR is_submitted = 0) LIMIT 1");
    if (!statement) {
        recordFailure();
        return false;
    }
    statement->bind(1, answerFamily).bind(2, bookID).bind(3, userID).bind(4, pageID).bind(5, displayNumber).bind(6, submitted);
    bool found = statement->step();
    recordOutcome(statement->ok());
    statement->reset();
    return found;
}

base::Result<void> SqliteDatabaseManager::clearAllFIBsOnPageNumber(const std::string& pageID, const std::string& displayNumber,
    const std::string& bookID, int64_t userID, bool submitted)
{
    std::lock_guard lock(m_mutex);
    if (!beginWriting())
        return failWrite();
    // Uploaded answers stay as deletions to upload; the others simply go.
    auto* mark = m_database->statement(
        "UPDATE ugc SET status = 3, is_synced = 0, revision = revision + 1 WHERE family = ?1 AND book_id = ?2 AND "
        "user_id = ?3 AND status <> 3 AND page_identifier IN (?4, '') AND (page_identifier = ?4 OR display_num = ?5) AND "
        "(?6 = 1 OR is_submitted = 0) AND ugc_id NOT IN ('', '-1')");
    auto* remove = m_database->statement(
        "DELETE FROM ugc WHERE family = ?1 AND book_id = ?2 AND user_id = ?3 AND status <> 3 AND "
        "page_identifier IN (?4, '') AND (page_identifier = ?4 OR display_num = ?5) AND (?6 = 1 OR is_submitted = 0) AND "
        "ugc_id IN ('', '-1')");
    bool ok = mark && remove;
    for (auto* statement : { mark, remove }) {
        if (!ok)
            break;
        statement->bind(1, answerFamily).bind(2, bookID).bind(3, userID).bind(4, pageID).bind(5, displayNumber).bind(6, submitted);
        ok = statement->run();
    }
    return finishWriting(ok);
}

std::shared_ptr<SDKFIBVO> SqliteDatabaseManager::getSDKFIBVOFromUGCDictionary(const base::Value& dictionary)
{
    auto record = makeUGCRecordFromDictionary(dictionary);
    return std::dynamic_pointer_cast<SDKFIBVO>(record);
}

std::shared_ptr<SDKPentoolVO> SqliteDatabaseManager::getSDKPenToolVOFromUGCDictionary(const base::Value& dictionary)
{
    if (!dictionary.isDictionary())
        return nullptr;
    // Learner work calls every item that is not an answer a pen drawing.
    base::Value copy = dictionary;
    copy.asDictionary()->set("type", static_cast<int>(UGCType::PenDrawing));
    return SDKPentoolVO::fromUGCDictionary(copy);
}

bool SqliteDatabaseManager::hasUnsubmitted(const std::string& bookID, int64_t userID, bool includePenDrawings)
{
    auto* statement = m_database->statement(
        "SELECT 1 FROM ugc WHERE book_id = ?1 AND user_id = ?2 AND status <> 3 AND is_submitted = 0 AND "
        "(family = ?3 OR (?4 = 1 AND family = ?5)) LIMIT 1");
    if (!statement) {
        recordFailure();
        return false;
    }
    statement->bind(1, bookID).bind(2, userID).bind(3, answerFamily).bind(4, includePenDrawings).bind(5, penFamily);
    bool found = statement->step();
    recordOutcome(statement->ok());
    statement->reset();
    return found;
}

base::Result<void> SqliteDatabaseManager::markSubmitted(const std::string& bookID, int64_t userID, bool includePenDrawings)
{
    auto* select = m_database->statement(
        "SELECT id, payload FROM ugc WHERE book_id = ?1 AND user_id = ?2 AND status <> 3 AND is_submitted = 0 AND "
        "(family = ?3 OR (?4 = 1 AND family = ?5))");
    if (!select)
        return failWrite();
    select->bind(1, bookID).bind(2, userID).bind(3, answerFamily).bind(4, includePenDrawings).bind(5, penFamily);
    std::vector<std::pair<int64_t, std::string>> updates;
    while (select->step()) {
        auto payload = base::parseJson(select->columnText(1));
        if (payload.ok() && payload.value().isDictionary())
            payload.value().asDictionary()->set("isSubmitted", true);
        updates.emplace_back(select->columnInteger(0), payload.ok() ? base::toJson(payload.value()) : select->columnText(1));
    }
    select->reset();
    if (!beginWriting())
        return failWrite();
    for (const auto& [rowID, payload] : updates) {
        auto* update = m_database->statement("UPDATE ugc SET is_submitted = 1, payload = ?2 WHERE id = ?1");
        if (!update || !update->bind(1, rowID).bind(2, payload).run()) {
            return finishWriting(false);
        }
    }
    return finishWriting(true);
}

bool SqliteDatabaseManager::isSubmitAnotationAllowedForBookID(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return hasUnsubmitted(bookID, userID, true);
}

bool SqliteDatabaseManager::isSubmitAnotationAllowedForFibForBookID(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return hasUnsubmitted(bookID, userID, false);
}

base::Result<void> SqliteDatabaseManager::submitAnotationForBookID(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return markSubmitted(bookID, userID, true);
}

base::Result<void> SqliteDatabaseManager::submitAnotationForFibForBookID(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    return markSubmitted(bookID, userID, false);
}

} // namespace companion
