#include "companion/store/StoreSchema.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/StoredRecord.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

#include <string>
#include <vector>

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

// Version 2. Highlights and bookmarks are read by the thousand (a book's list, a page's
// marks on every turn), so their fields move into columns (layout 1) and a row becomes a
// record without parsing JSON. The other kinds keep their payload. A book's records of one
// family come in saving order from their own index. Rows saved before are rewritten by
// version 5, into the fields' present place.
constexpr const char* schemaVersion2 = R"SQL(
ALTER TABLE ugc ADD COLUMN layout INTEGER NOT NULL DEFAULT 0;
ALTER TABLE ugc ADD COLUMN book_version TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN href TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN chapter_name TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN created_date TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN modified_date TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN body TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN note_text TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN background_color TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN text_color TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN creator_name TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN position_identifier TEXT NOT NULL DEFAULT '';
ALTER TABLE ugc ADD COLUMN start_index INTEGER NOT NULL DEFAULT 0;
ALTER TABLE ugc ADD COLUMN end_index INTEGER NOT NULL DEFAULT 0;
ALTER TABLE ugc ADD COLUMN flags INTEGER NOT NULL DEFAULT 0;
CREATE INDEX ugc_book ON ugc (family, book_id, user_id);
)SQL";

// Version 3. A visit's reading session is stored again on every timer tick and grows with
// the visit: its text is kept in parts, and a save writes only the parts that changed (the
// newest events, near the end), so a tick's write does not grow with the visit. "visit"
// names the visit a row belongs to; rows written before keep their whole text in "data".
constexpr const char* schemaVersion3 = R"SQL(
ALTER TABLE analytics_session ADD COLUMN visit TEXT NOT NULL DEFAULT '';
CREATE TABLE analytics_session_part (
    id INTEGER PRIMARY KEY,
    session_id INTEGER NOT NULL REFERENCES analytics_session (id) ON DELETE CASCADE,
    seq INTEGER NOT NULL,
    data TEXT NOT NULL,
    UNIQUE (session_id, seq)
);
)SQL";

// Version 4. A book's highlights (or bookmarks) are read whole when it opens, ten thousand
// of them in some books. In a table ordered by row id they lie scattered among every other
// book's and kind's records, each reached through an index; here the table itself is kept
// in the order (book, user, kind, saving order), so one book's records of one kind lie
// side by side and are read in one pass without an index. "id" stays the record's handle
// and saving order; the store gives a new record one past the largest (nextRecordID).
constexpr const char* schemaVersion4 = R"SQL(
CREATE TABLE ugc_by_book (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    family INTEGER NOT NULL,
    id INTEGER NOT NULL,
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
    layout INTEGER NOT NULL DEFAULT 0,
    book_version TEXT NOT NULL DEFAULT '',
    href TEXT NOT NULL DEFAULT '',
    chapter_name TEXT NOT NULL DEFAULT '',
    created_date TEXT NOT NULL DEFAULT '',
    modified_date TEXT NOT NULL DEFAULT '',
    body TEXT NOT NULL DEFAULT '',
    note_text TEXT NOT NULL DEFAULT '',
    background_color TEXT NOT NULL DEFAULT '',
    text_color TEXT NOT NULL DEFAULT '',
    creator_name TEXT NOT NULL DEFAULT '',
    position_identifier TEXT NOT NULL DEFAULT '',
    start_index INTEGER NOT NULL DEFAULT 0,
    end_index INTEGER NOT NULL DEFAULT 0,
    flags INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (book_id, user_id, family, id),
    UNIQUE (family, book_id, user_id, local_id)
) WITHOUT ROWID;
INSERT INTO ugc_by_book (book_id, user_id, family, id, local_id, ugc_id, page_identifier, display_num, link_id,
    status, is_synced, is_submitted, revision, payload, layout, book_version, href, chapter_name, created_date,
    modified_date, body, note_text, background_color, text_color, creator_name, position_identifier, start_index,
    end_index, flags)
SELECT book_id, user_id, family, id, local_id, ugc_id, page_identifier, display_num, link_id,
    status, is_synced, is_submitted, revision, payload, layout, book_version, href, chapter_name, created_date,
    modified_date, body, note_text, background_color, text_color, creator_name, position_identifier, start_index,
    end_index, flags
FROM ugc;
DROP TABLE ugc;
ALTER TABLE ugc_by_book RENAME TO ugc;
CREATE UNIQUE INDEX ugc_id ON ugc (id);
CREATE INDEX ugc_page ON ugc (book_id, user_id, family, page_identifier);
CREATE INDEX ugc_server_id ON ugc (user_id, ugc_id);
CREATE INDEX ugc_unsynced ON ugc (user_id, is_synced);
)SQL";

// Version 5. A book's list is read whole as it opens, and SQLite's cost per row grows with
// the columns read: a highlight's or bookmark's own texts, eleven columns and two numbers
// in version 2, are packed into one column, "fields" (StoredRecord.h). The column is added
// here; packRecordFieldsIntoOneColumn() fills it and rebuilds the table without the old
// columns.
constexpr const char* schemaVersion5 = R"SQL(
ALTER TABLE ugc ADD COLUMN fields BLOB NOT NULL DEFAULT x'';
)SQL";

constexpr const char* schemaVersion5Rebuild = R"SQL(
CREATE TABLE ugc_packed (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    family INTEGER NOT NULL,
    id INTEGER NOT NULL,
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
    layout INTEGER NOT NULL DEFAULT 0,
    flags INTEGER NOT NULL DEFAULT 0,
    fields BLOB NOT NULL DEFAULT x'',
    PRIMARY KEY (book_id, user_id, family, id),
    UNIQUE (family, book_id, user_id, local_id)
) WITHOUT ROWID;
INSERT INTO ugc_packed (book_id, user_id, family, id, local_id, ugc_id, page_identifier, display_num, link_id,
    status, is_synced, is_submitted, revision, payload, layout, flags, fields)
SELECT book_id, user_id, family, id, local_id, ugc_id, page_identifier, display_num, link_id,
    status, is_synced, is_submitted, revision, payload, layout, flags, fields
FROM ugc;
DROP TABLE ugc;
ALTER TABLE ugc_packed RENAME TO ugc;
CREATE UNIQUE INDEX ugc_id ON ugc (id);
CREATE INDEX ugc_page ON ugc (book_id, user_id, family, page_identifier);
CREATE INDEX ugc_server_id ON ugc (user_id, ugc_id);
CREATE INDEX ugc_unsynced ON ugc (user_id, is_synced);
)SQL";

// A row's id and columns as versions 5 and 6 have them, for their migrations: a later
// version reads its rows otherwise.
constexpr const char* version5RowColumns = "SELECT id, local_id, ugc_id, status, is_synced, is_submitted, payload, "
                                           "page_identifier, display_num, family, layout, fields, flags FROM ugc";

RecordRow version5RowAt(const SqliteStatement& rows)
{
    return RecordRow {
        .localID = rows.columnView(1),
        .ugcID = rows.columnView(2),
        .payload = rows.columnView(6),
        .pageIdentifier = rows.columnView(7),
        .displayNum = rows.columnView(8),
        .fields = rows.columnView(11),
        .status = rows.columnInteger(3),
        .isSynced = rows.columnInteger(4),
        .isSubmitted = rows.columnInteger(5),
        .family = rows.columnInteger(9),
        .layout = rows.columnInteger(10),
        .flags = rows.columnInteger(12),
    };
}

// Runs `update` (?1 a row's id, ?2 its packed fields) for each row packed by a migration.
base::Result<void> writeRowFields(SqliteDatabase& database, const std::string& update,
    const std::vector<std::pair<int64_t, std::string>>& fieldsByRow)
{
    for (const auto& [rowID, fields] : fieldsByRow) {
        auto* statement = database.statement(update.c_str());
        if (!statement || !statement->bind(1, rowID).bindBlob(2, fields).run())
            return database.lastError();
    }
    return {};
}

// Packs the fields of every version-2 row (layout 1) into "fields", drops the old columns,
// then moves the highlights and bookmarks stored before version 2 (whole in their payload)
// into the packed form. A payload that no longer parses stays as it was: it read as nothing
// before too.
base::Result<void> packRecordFieldsIntoOneColumn(SqliteDatabase& database)
{
    auto* columnar = database.statement(
        "SELECT id, book_version, href, chapter_name, created_date, modified_date, body, note_text, background_color, "
        "text_color, creator_name, position_identifier, start_index, end_index FROM ugc WHERE layout = 1");
    if (!columnar)
        return database.lastError();
    std::vector<std::pair<int64_t, std::string>> packed;
    while (columnar->step()) {
        std::string texts[11];
        for (int index = 0; index < 11; ++index)
            texts[index] = columnar->columnText(index + 1);
        packed.emplace_back(columnar->columnInteger(0),
            packRecordFields({ texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7], texts[8],
                texts[9], texts[10], columnar->columnInteger(12), columnar->columnInteger(13) }));
    }
    if (!columnar->ok())
        return database.lastError();
    columnar->reset();
    auto written = writeRowFields(database,
        "UPDATE ugc SET fields = ?2, layout = " + std::to_string(recordFieldsLayout) + " WHERE id = ?1", packed);
    if (!written.ok())
        return written;
    if (!database.execute(schemaVersion5Rebuild))
        return database.lastError();

    auto* rows = database.statement(
        (std::string(version5RowColumns) + " WHERE layout = 0 AND family IN (1, 2) ORDER BY id").c_str());
    if (!rows)
        return database.lastError();
    std::vector<std::pair<int64_t, std::shared_ptr<lectoro::SDKUGCVO>>> records;
    while (rows->step()) {
        if (auto record = recordFromRow(version5RowAt(*rows)))
            records.emplace_back(rows->columnInteger(0), std::move(record));
    }
    if (!rows->ok())
        return database.lastError();
    rows->reset();
    std::string update = std::string("UPDATE ugc SET (") + recordFieldColumns + ") = (" + recordFieldParameters(2)
        + ") WHERE id = ?1";
    for (const auto& [rowID, record] : records) {
        auto* statement = database.statement(update.c_str());
        if (!statement)
            return database.lastError();
        statement->bind(1, rowID);
        bindRecordFields(*statement, 2, *record);
        if (!statement->run())
            return database.lastError();
    }
    return {};
}

// Version 6. Reading a row's columns is most of SQLite's cost for a book's list, and six of
// a row's twelve are small numbers: "state" holds them all, kept by SQLite from the columns
// whenever a row is written (the updates that set a status or a sync flag stay as they are).
// Bits: status (the 16 bits of the record's), is_synced, is_submitted, layout, family, flags.
// Generated columns are stored only by a table's definition, so the table is built anew.
constexpr const char* schemaVersion6 = R"SQL(
CREATE TABLE ugc_state (
    book_id TEXT NOT NULL,
    user_id INTEGER NOT NULL,
    family INTEGER NOT NULL,
    id INTEGER NOT NULL,
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
    layout INTEGER NOT NULL DEFAULT 0,
    flags INTEGER NOT NULL DEFAULT 0,
    fields BLOB NOT NULL DEFAULT x'',
    state INTEGER NOT NULL AS ((status & 65535) | ((is_synced <> 0) << 16) | ((is_submitted <> 0) << 17)
        | ((layout & 255) << 24) | ((family & 255) << 32) | (flags << 40)) STORED,
    PRIMARY KEY (book_id, user_id, family, id),
    UNIQUE (family, book_id, user_id, local_id)
) WITHOUT ROWID;
INSERT INTO ugc_state (book_id, user_id, family, id, local_id, ugc_id, page_identifier, display_num, link_id,
    status, is_synced, is_submitted, revision, payload, layout, flags, fields)
SELECT book_id, user_id, family, id, local_id, ugc_id, page_identifier, display_num, link_id,
    status, is_synced, is_submitted, revision, payload, layout, flags, fields
FROM ugc;
DROP TABLE ugc;
ALTER TABLE ugc_state RENAME TO ugc;
CREATE UNIQUE INDEX ugc_id ON ugc (id);
CREATE INDEX ugc_page ON ugc (book_id, user_id, family, page_identifier);
CREATE INDEX ugc_server_id ON ugc (user_id, ugc_id);
CREATE INDEX ugc_unsynced ON ugc (user_id, is_synced);
)SQL";

// Version 7. A book's list is read from four columns: a highlight's or bookmark's page keys
// and structured fields (until now in columns of their own and in "payload") follow its
// texts in "fields". The page-key columns stay, written with "fields" by every save: the
// store queries them. Every such row is packed again; one whose fields no longer read stays
// as it was (it read as nothing before too).
constexpr const char* schemaVersion7 = "";

base::Result<void> movePageKeysIntoFields(SqliteDatabase& database)
{
    std::string select = std::string(version5RowColumns) + " WHERE layout = " + std::to_string(recordFieldsLayout)
        + " ORDER BY id";
    auto* rows = database.statement(select.c_str());
    if (!rows)
        return database.lastError();
    std::vector<std::pair<int64_t, std::string>> packed;
    while (rows->step()) {
        if (auto record = recordFromRow(version5RowAt(*rows)))
            packed.emplace_back(rows->columnInteger(0), packedRecordFields(*record));
    }
    if (!rows->ok())
        return database.lastError();
    rows->reset();
    return writeRowFields(database, "UPDATE ugc SET payload = '', fields = ?2 WHERE id = ?1", packed);
}

// Version 8. An upload reads a book's unsynced records and then marks them synced; a fetch
// stores thousands of synced ones. The index of unsynced records holds only them, in the
// order an upload reads them (user, book, saving order), so that read needs no sort and
// neither marking a record synced nor storing a fetched one writes an entry for it. The
// sync finds a fetched or uploaded record through the server-id index (whose entries end
// with the table's key: book, user, kind) and the unique local-id index, one lookup each.
// Rows are untouched.
constexpr const char* schemaVersion8 = R"SQL(
DROP INDEX ugc_unsynced;
CREATE INDEX ugc_unsynced ON ugc (user_id, book_id, id) WHERE is_synced = 0;
)SQL";

struct Migration {
    int toVersion;
    const char* sql;
    // Work SQL alone cannot do, run after `sql` in the same transaction; may be null.
    base::Result<void> (*convert)(SqliteDatabase&);
};

constexpr Migration migrations[] = {
    { 1, schemaVersion1, nullptr },
    { 2, schemaVersion2, nullptr },
    { 3, schemaVersion3, nullptr },
    { 4, schemaVersion4, nullptr },
    { 5, schemaVersion5, packRecordFieldsIntoOneColumn },
    { 6, schemaVersion6, nullptr },
    { 7, schemaVersion7, movePageKeysIntoFields },
    { 8, schemaVersion8, nullptr },
};

base::Error newerSchemaError(const std::string& message)
{
    return base::Error::make(storeErrorDomain, static_cast<int64_t>(lectoro::YSDBManagerErrorCode::NewerSchema), message);
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
        return fail(database.lastError("The store's schema cannot be brought up to date"));
    int version = static_cast<int>(query->columnInteger(0));
    query->reset();
    if (version > storeSchemaVersion)
        return fail(newerSchemaError("The database was written by a newer version (schema " + std::to_string(version) + ")"));

    for (const auto& migration : migrations) {
        if (migration.toVersion <= version)
            continue;
        std::string setVersion = "PRAGMA user_version = " + std::to_string(migration.toVersion);
        if (!database.execute(migration.sql))
            return fail(database.lastError("The store's schema cannot be brought up to date"));
        if (migration.convert) {
            auto converted = migration.convert(database);
            if (!converted.ok())
                return fail(converted.error());
        }
        if (!database.execute(setVersion.c_str()))
            return fail(database.lastError("The store's schema cannot be brought up to date"));
        version = migration.toVersion;
    }
    if (!database.execute("COMMIT"))
        return fail(database.lastError("The store's schema cannot be brought up to date"));
    return {};
}

} // namespace companion
