// Book metadata, reader font settings, classes and share lists, SCORM data and reading
// sessions.

#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/SqliteDatabase.h"

#include "platform/base/Json.h"
#include "platform/base/Strings.h"

namespace companion {

using namespace lectoro;

base::Result<void> SqliteDatabaseManager::saveBookMetadata(const base::Value& metadata, const std::string& bookID, int64_t userID)
{
    const auto* entries = metadata.asDictionary();
    if (!entries || entries->empty())
        return {};
    std::lock_guard lock(m_mutex);
    if (!beginWriting())
        return failWrite();
    for (const auto& [key, value] : *entries) {
        // An absent value must not erase what another writer stored under the key.
        if (value.isNull())
            continue;
        auto* statement = m_database->statement(
            "INSERT INTO book_metadata (book_id, user_id, key, value) VALUES (?1, ?2, ?3, ?4) "
            "ON CONFLICT (book_id, user_id, key) DO UPDATE SET value = excluded.value");
        if (!statement || !statement->bind(1, bookID).bind(2, userID).bind(3, key).bind(4, base::toJson(value)).run()) {
            return finishWriting(false);
        }
    }
    return finishWriting(true);
}

base::Value SqliteDatabaseManager::getBookMetadataForbookID(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    base::Value::Dictionary result;
    auto* statement = m_database->statement(
        "SELECT key, value FROM book_metadata WHERE book_id = ?1 AND user_id = ?2 AND key <> ?3 ORDER BY rowid");
    if (!statement) {
        recordFailure();
        return result;
    }
    statement->bind(1, bookID).bind(2, userID).bind(3, colorMigrationMetadataKey);
    while (statement->step()) {
        auto value = base::parseJson(statement->columnText(1));
        if (value.ok())
            result.set(statement->columnText(0), std::move(value.value()));
    }
    recordOutcome(statement->ok());
    return result;
}

base::Result<void> SqliteDatabaseManager::saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>& settings,
    const std::string& bookID, int64_t userID)
{
    if (!settings)
        return {};
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "INSERT INTO reader_font_settings (book_id, user_id, payload) VALUES (?1, ?2, ?3) "
        "ON CONFLICT (book_id, user_id) DO UPDATE SET payload = excluded.payload");
    return writeOutcome(statement
        && statement->bind(1, bookID).bind(2, userID).bind(3, base::toJson(settings->toDictionary())).run());
}

std::shared_ptr<ReaderFontSettingsVO> SqliteDatabaseManager::getReaderFontSettingForBookID(const std::string& bookID,
    int64_t userID)
{
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "SELECT payload FROM reader_font_settings WHERE book_id = ?1 AND user_id = ?2");
    if (!statement) {
        recordFailure();
        return nullptr;
    }
    statement->bind(1, bookID).bind(2, userID);
    std::shared_ptr<ReaderFontSettingsVO> result;
    if (statement->step()) {
        auto payload = base::parseJson(statement->columnText(0));
        if (payload.ok())
            result = ReaderFontSettingsVO::fromDictionary(payload.value());
    }
    recordOutcome(statement->ok());
    statement->reset();
    return result;
}

std::vector<std::shared_ptr<SDKBookClassInfoVO>> SqliteDatabaseManager::bookClassInfoArrayForBookID(
    const std::string& bookID, int64_t user)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> result;
    base::Value shared;
    if (auto* lists = m_database->statement("SELECT payload FROM shared_received WHERE book_id = ?1 AND user_id = ?2")) {
        lists->bind(1, bookID).bind(2, user);
        if (lists->step()) {
            auto payload = base::parseJson(lists->columnText(0));
            if (payload.ok())
                shared = std::move(payload.value());
        }
        lists->reset();
    }
    auto* statement = m_database->statement(
        "SELECT payload FROM class_info WHERE book_id = ?1 AND user_id = ?2 ORDER BY position");
    if (!statement) {
        recordFailure();
        return result;
    }
    statement->bind(1, bookID).bind(2, user);
    while (statement->step()) {
        auto payload = base::parseJson(statement->columnText(0));
        if (!payload.ok())
            continue;
        auto info = SDKBookClassInfoVO::fromDictionary(payload.value());
        if (!info)
            continue;
        if (shared["shareList"].isList())
            info->shareList = shared["shareList"];
        if (shared["recieveList"].isList())
            info->receiveList = shared["recieveList"];
        result.push_back(std::move(info));
    }
    recordOutcome(statement->ok());
    return result;
}

base::Result<void> SqliteDatabaseManager::saveSharedReceivedInfo(const base::Value& payload, const std::string& bookID, int64_t userID)
{
    if (!payload.isDictionary())
        return {};
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "INSERT INTO shared_received (book_id, user_id, payload, is_synced) VALUES (?1, ?2, ?3, 0) "
        "ON CONFLICT (book_id, user_id) DO UPDATE SET payload = excluded.payload, is_synced = 0");
    return writeOutcome(statement && statement->bind(1, bookID).bind(2, userID).bind(3, base::toJson(payload)).run());
}

base::Result<void> SqliteDatabaseManager::saveSCORMdataToDB(const std::string& bookID, int64_t userID, const std::string& scormID,
    const std::string& scormString, const std::string& classId, int64_t pageID, const std::string& activityName,
    bool isSynced)
{
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "INSERT INTO scorm (book_id, user_id, scorm_id, data, class_id, page_id, activity_name, is_synced) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) ON CONFLICT (book_id, user_id, scorm_id) DO UPDATE SET "
        "data = excluded.data, class_id = excluded.class_id, page_id = excluded.page_id, "
        "activity_name = excluded.activity_name, is_synced = excluded.is_synced");
    if (statement
        && statement->bind(1, bookID)
               .bind(2, userID)
               .bind(3, scormID)
               .bind(4, scormString)
               .bind(5, classId)
               .bind(6, pageID)
               .bind(7, activityName)
               .bind(8, isSynced)
               .run())
        return writeOutcome(true);
    return failWrite();
}

std::optional<std::string> SqliteDatabaseManager::fetchScormDataWithBookID(const std::string& bookID, int64_t userID,
    const std::string& scormID)
{
    std::lock_guard lock(m_mutex);
    auto* statement = m_database->statement(
        "SELECT data FROM scorm WHERE book_id = ?1 AND user_id = ?2 AND scorm_id = ?3");
    if (!statement) {
        recordFailure();
        return std::nullopt;
    }
    statement->bind(1, bookID).bind(2, userID).bind(3, scormID);
    std::optional<std::string> result;
    if (statement->step())
        result = statement->columnText(0);
    recordOutcome(statement->ok());
    statement->reset();
    return result;
}

base::Value SqliteDatabaseManager::getUnsyncedCollabDataDictionaryForUserID(int64_t userID)
{
    std::lock_guard lock(m_mutex);
    base::Value::Dictionary result;
    auto* statement = m_database->statement(
        "SELECT book_id, payload FROM shared_received WHERE user_id = ?1 AND is_synced = 0 ORDER BY rowid");
    if (!statement) {
        recordFailure();
        return result;
    }
    statement->bind(1, userID);
    while (statement->step()) {
        auto payload = base::parseJson(statement->columnText(1));
        if (payload.ok())
            result.set(statement->columnText(0), std::move(payload.value()));
    }
    recordOutcome(statement->ok());
    return result;
}

} // namespace companion
