#include "companion/store/SqliteDatabase.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

#include <cerrno>
#include <sqlite3.h>

namespace companion {

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text)
{
    // SQLITE_TRANSIENT: SQLite copies the bytes, so the caller's text may go away.
    if (sqlite3_bind_text64(m_statement, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        m_ok = false;
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, int64_t value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        m_ok = false;
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value)
{
    if (sqlite3_bind_double(m_statement, index, value) != SQLITE_OK)
        m_ok = false;
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, std::string_view bytes)
{
    int result = bytes.empty() ? sqlite3_bind_zeroblob(m_statement, index, 0)
                               : sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    if (result != SQLITE_OK)
        m_ok = false;
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(m_statement, index) != SQLITE_OK)
        m_ok = false;
    return *this;
}

bool SqliteStatement::step()
{
    if (!m_ok)
        return false;
    int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_ok = false;
    return false;
}

bool SqliteStatement::run()
{
    while (step()) { }
    return m_ok;
}

std::string SqliteStatement::columnText(int index) const
{
    auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_statement, index));
    int size = sqlite3_column_bytes(m_statement, index);
    return bytes ? std::string(bytes, static_cast<size_t>(size)) : std::string();
}

std::string_view SqliteStatement::columnView(int index) const
{
    // Through the column's value: one call into the statement instead of two, each of which
    // checks the statement and the connection's error state. A book's list reads three
    // columns of ten thousand rows this way. The value is unprotected, which on a connection
    // opened without a mutex of SQLite's own (as this one is) reads as a protected one.
    sqlite3_value* value = sqlite3_column_value(m_statement, index);
    int size = sqlite3_value_bytes(value);
    if (size <= 0)
        return {};
    return std::string_view(static_cast<const char*>(sqlite3_value_blob(value)), static_cast<size_t>(size));
}

int64_t SqliteStatement::columnInteger(int index) const
{
    return sqlite3_column_int64(m_statement, index);
}

double SqliteStatement::columnDouble(int index) const
{
    return sqlite3_column_double(m_statement, index);
}

bool SqliteStatement::columnIsNull(int index) const
{
    return sqlite3_column_type(m_statement, index) == SQLITE_NULL;
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    m_ok = true;
}

base::Error storeError(int sqliteCode, int systemErrno, const std::string& what, const std::string& sqliteMessage)
{
    using Code = lectoro::YSDBManagerErrorCode;
    int primary = sqliteCode & 0xff;
    bool refusedByTheSystem = systemErrno == EACCES || systemErrno == EROFS || systemErrno == EPERM;
    Code code = Code::Unusable;
    std::string cause = "the store cannot be used";
    if (primary == SQLITE_READONLY || (refusedByTheSystem && primary != SQLITE_BUSY && primary != SQLITE_LOCKED)) {
        code = Code::ReadOnly;
        cause = "the storage is read-only";
    } else if (primary == SQLITE_FULL || systemErrno == ENOSPC || systemErrno == EDQUOT) {
        code = Code::Full;
        cause = "the disk is full";
    } else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        code = Code::Locked;
        cause = "the store is locked by another process";
    } else if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
        code = Code::Damaged;
        cause = "the file is damaged or not a database";
    }
    auto error = base::Error::make(storeErrorDomain, static_cast<int64_t>(code), what + ": " + cause + " (" + sqliteMessage + ")");
    if (auto* info = error.userInfo.asDictionary()) {
        info->set("sqliteCode", static_cast<int64_t>(sqliteCode));
        if (systemErrno != 0)
            info->set("errno", static_cast<int64_t>(systemErrno));
    }
    return error;
}

base::Result<std::unique_ptr<SqliteDatabase>> SqliteDatabase::open(const std::string& path, const std::string& vfs)
{
    sqlite3* handle = nullptr;
    // No mutex of SQLite's own: the store serialises its calls on its connection.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    int result = sqlite3_open_v2(path.c_str(), &handle, flags, vfs.empty() ? nullptr : vfs.c_str());
    if (result != SQLITE_OK) {
        std::string message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(result);
        int code = handle ? sqlite3_extended_errcode(handle) : result;
        int systemErrno = handle ? sqlite3_system_errno(handle) : 0;
        sqlite3_close_v2(handle);
        return storeError(code, systemErrno, "The store at " + path + " cannot be opened", message);
    }
    // Another connection (the sync client's) may hold the write lock for a moment.
    sqlite3_busy_timeout(handle, 5000);
    return std::unique_ptr<SqliteDatabase>(new SqliteDatabase(handle));
}

SqliteDatabase::~SqliteDatabase()
{
    m_statements.clear();
    sqlite3_close_v2(m_handle);
}

SqliteStatement* SqliteDatabase::statement(const char* sql)
{
    auto found = m_statements.find(sql);
    if (found != m_statements.end()) {
        found->second->reset();
        return found->second.get();
    }
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v3(m_handle, sql, -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr) != SQLITE_OK)
        return nullptr;
    auto [inserted, _] = m_statements.emplace(sql, std::make_unique<SqliteStatement>(prepared));
    return inserted->second.get();
}

bool SqliteDatabase::execute(const char* sql)
{
    return sqlite3_exec(m_handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int64_t SqliteDatabase::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_handle);
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(m_handle);
}

bool SqliteDatabase::isReadOnly() const
{
    return sqlite3_db_readonly(m_handle, "main") == 1;
}

base::Error SqliteDatabase::lastError(const std::string& what) const
{
    return storeError(sqlite3_extended_errcode(m_handle), sqlite3_system_errno(m_handle), what, sqlite3_errmsg(m_handle));
}

} // namespace companion
