// The colour migration's memory: the offered colours a book's highlights were last migrated
// to, kept with the book's metadata under a key of the store's own (never answered as
// metadata), and forgotten before a highlight of another colour is written.

#include "companion/store/SqliteDatabaseManager.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/UGCFamily.h"

#include "platform/base/Json.h"

#include <algorithm>

namespace companion {

using namespace lectoro;

namespace {

base::Value colorList(const std::vector<std::string>& colors)
{
    base::Value::List list;
    for (const auto& color : colors)
        list.push_back(base::Value(color));
    return base::Value(std::move(list));
}

} // namespace

std::optional<std::vector<std::string>> SqliteDatabaseManager::migratedHighlightColors(const std::string& bookID,
    int64_t userID)
{
    auto* statement
        = m_database->statement("SELECT value FROM book_metadata WHERE book_id = ?1 AND user_id = ?2 AND key = ?3");
    if (!statement)
        return std::nullopt;
    statement->bind(1, bookID).bind(2, userID).bind(3, colorMigrationMetadataKey);
    std::optional<std::string> text;
    if (statement->step())
        text = statement->columnText(0);
    statement->reset();
    if (!text)
        return std::nullopt;
    auto parsed = base::parseJson(*text);
    const auto* list = parsed.ok() ? parsed.value().asList() : nullptr;
    if (!list)
        return std::nullopt;
    std::vector<std::string> colors;
    for (const auto& entry : *list) {
        auto color = entry.asString();
        if (!color)
            return std::nullopt;
        colors.push_back(*color);
    }
    return colors;
}

bool SqliteDatabaseManager::highlightColorsWereMigrated(const std::string& bookID, int64_t userID,
    const std::vector<std::string>& offeredColors)
{
    std::lock_guard lock(m_mutex);
    if (m_unusable)
        return false;
    auto migrated = migratedHighlightColors(bookID, userID);
    return migrated && *migrated == offeredColors;
}

void SqliteDatabaseManager::rememberHighlightColorMigration(const std::string& bookID, int64_t userID,
    const std::vector<std::string>& offeredColors)
{
    std::lock_guard lock(m_mutex);
    if (m_unusable)
        return;
    auto* statement = m_database->statement(
        "INSERT INTO book_metadata (book_id, user_id, key, value) VALUES (?1, ?2, ?3, ?4) "
        "ON CONFLICT (book_id, user_id, key) DO UPDATE SET value = excluded.value");
    // Not remembering only makes the next migration run again: no write to report.
    if (statement)
        statement->bind(1, bookID).bind(2, userID).bind(3, colorMigrationMetadataKey).bind(4,
            base::toJson(colorList(offeredColors))).run();
}

void SqliteDatabaseManager::forgetHighlightColorMigration(const std::string& bookID, int64_t userID)
{
    std::lock_guard lock(m_mutex);
    if (!m_unusable)
        deleteColorMigrationMark(bookID, userID);
}

bool SqliteDatabaseManager::deleteColorMigrationMark(const std::string& bookID, int64_t userID)
{
    auto* statement
        = m_database->statement("DELETE FROM book_metadata WHERE book_id = ?1 AND user_id = ?2 AND key = ?3");
    return statement && statement->bind(1, bookID).bind(2, userID).bind(3, colorMigrationMetadataKey).run();
}

bool SqliteDatabaseManager::forgetColorMigrationUnlessOffered(const std::string& bookID, int64_t userID,
    const std::vector<const SDKUGCVO*>& written)
{
    std::optional<std::vector<std::string>> migrated;
    bool looked = false;
    for (const auto* record : written) {
        const auto* highlight = dynamic_cast<const SDKHighlightVO*>(record);
        if (!highlight || highlight->isDeleted())
            continue;
        if (!looked) {
            migrated = migratedHighlightColors(bookID, userID);
            looked = true;
            if (!migrated)
                return true;
        }
        if (std::find(migrated->begin(), migrated->end(), highlight->backgroundColor) == migrated->end())
            return deleteColorMigrationMark(bookID, userID);
    }
    return true;
}

} // namespace companion
