#include "companion/store/StoreSchema.h"

#include "companion/store/SqliteDatabase.h"

#include <string>

namespace companion {

namespace {

// Version 1. User content of every kind shares one table: the columns the queries need,
// and the whole record as a UGC dictionary in JSON ("payload"). "family" groups kinds that
// answer the same queries (fill-in and drop-down answers are both answers). "revision"
// counts local saves, so an upload can tell whether the record changed meanwhile.
constexpr const char* schemaVersion1 = R"SQL(
CREATE TABLE ugc (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    family INTEGER NOT NULL,
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    local_id TEXT NOT NULL,
    ugc_id TEXT NOT NULL,
    page_identifier TEXT NOT NULL,
    display_num TEXT NOT NULL,
    link_id INTEGER NOT NULL DEFAULT 0,
    status INTEGER NOT NULL,
    is_synced INTEGER NOT NULL,
    is_submitted INTEGER NOT NULL,
    revision INTEGER NOT NULL DEFAULT 1,
    payload TEXT NOT NULL,
    UNIQUE (family, book_id, user_id, local_id)
);
CREATE INDEX ugc_page ON ugc (book_id, user_id, family, page_identifier);
CREATE INDEX ugc_server_id ON ugc (user_id, ugc_id);
CREATE INDEX ugc_unsynced ON ugc (user_id, is_synced);

CREATE TABLE book_metadata (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    key TEXT NOT NULL,
    value TEXT NOT NULL,
    PRIMARY KEY (book_id, user_id, key)
);

CREATE TABLE reader_font_settings (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    payload TEXT NOT NULL,
    PRIMARY KEY (book_id, user_id)
);

CREATE TABLE class_info (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    position INTEGER NOT NULL,
    payload TEXT NOT NULL,
    PRIMARY KEY (book_id, user_id, position)
);

CREATE TABLE shared_received (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    payload TEXT NOT NULL,
    is_synced INTEGER NOT NULL,
    PRIMARY KEY (book_id, user_id)
);

CREATE TABLE scorm (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    scorm_id TEXT NOT NULL,
    data TEXT NOT NULL,
    class_id TEXT NOT NULL,
    page_id INTEGER NOT NULL,
    activity_name TEXT NOT NULL,
    is_synced INTEGER NOT NULL,
    PRIMARY KEY (book_id, user_id, scorm_id)
);

CREATE TABLE analytics_session (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id INTEGER NOT NULL,
    book_id TEXT NOT NULL,
    data TEXT NOT NULL,
    is_synced INTEGER NOT NULL
);
CREATE INDEX analytics_session_book ON analytics_session (user_id, book_id);
)SQL";

struct Migration {
    int toVersion;
    const char* sql;
};

constexpr Migration migrations[] = {
    { 1, schemaVersion1 },
};

base::Error schemaError(const std::string& message)
{
    return base::Error::make(storeErrorDomain, 1, message);
}

} // namespace

base::Result<void> migrateStoreSchema(SqliteDatabase& database)
{
    // The version is read inside the write transaction, so two connections opening a new
    // database at once cannot both create it.
    if (!database.execute("BEGIN IMMEDIATE"))
        return database.lastError();
    auto fail = [&](base::Error error) -> base::Result<void> {
        database.execute("ROLLBACK");
        return error;
    };

    auto* query = database.statement("PRAGMA user_version");
    if (!query || !query->step())
        return fail(database.lastError());
    int version = static_cast<int>(query->columnInteger(0));
    query->reset();
    if (version > storeSchemaVersion)
        return fail(schemaError("The database was written by a newer version (schema " + std::to_string(version) + ")"));

    for (const auto& migration : migrations) {
        if (migration.toVersion <= version)
            continue;
        std::string setVersion = "PRAGMA user_version = " + std::to_string(migration.toVersion);
        if (!database.execute(migration.sql) || !database.execute(setVersion.c_str()))
            return fail(database.lastError());
        version = migration.toVersion;
    }
    if (!database.execute("COMMIT"))
        return fail(database.lastError());
    return {};
}

} // namespace companion
