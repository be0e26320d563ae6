#pragma once

// A thin RAII layer over one SQLite connection: prepared statements with bound parameters
// (never text pasted into SQL), cached by their SQL text, and errors as base::Error.

#include "platform/base/Error.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace companion {

inline constexpr const char* storeErrorDomain = "companion.store";

class SqliteStatement {
public:
    explicit SqliteStatement(sqlite3_stmt* statement) : m_statement(statement) { }
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1. Text may hold NUL bytes; it is stored whole.
    SqliteStatement& bind(int index, std::string_view);
    // Any other text (a literal, a std::string, a record's text) binds as its bytes.
    template<class Text>
        requires std::convertible_to<const Text&, std::string_view>
    SqliteStatement& bind(int index, const Text& text)
    {
        return bind(index, std::string_view(text));
    }
    SqliteStatement& bind(int index, int64_t);
    SqliteStatement& bind(int index, int value) { return bind(index, static_cast<int64_t>(value)); }
    SqliteStatement& bind(int index, bool value) { return bind(index, static_cast<int64_t>(value ? 1 : 0)); }
    SqliteStatement& bind(int index, double);
    SqliteStatement& bindNull(int index);
    // Bytes stored as a blob; empty ones as an empty blob, not NULL.
    SqliteStatement& bindBlob(int index, std::string_view bytes);

    // True while a row is available; false when done or on an error (see ok()).
    bool step();
    bool ok() const { return m_ok; }
    // Runs to completion; false on an error.
    bool run();

    std::string columnText(int index) const;
    // The column's bytes without a copy, valid until the next step() or reset().
    std::string_view columnView(int index) const;
    int64_t columnInteger(int index) const;
    double columnDouble(int index) const;
    bool columnIsNull(int index) const;

    // Clears bindings and rewinds, so a cached statement starts afresh.
    void reset();

private:
    sqlite3_stmt* m_statement;
    bool m_ok = true;
};

// A store error of `code` (a lectoro::YSDBManagerErrorCode) read from SQLite's own cause:
// its extended result code and the system's errno behind it. `what` says what failed
// ("The store at … cannot be opened"); the cause in words and SQLite's message follow.
base::Error storeError(int sqliteCode, int systemErrno, const std::string& what, const std::string& sqliteMessage);

class SqliteDatabase {
public:
    // ":memory:" opens a private in-memory database. `vfs` names the SQLite VFS to open the
    // files through; empty for the default.
    static base::Result<std::unique_ptr<SqliteDatabase>> open(const std::string& path, const std::string& vfs = {});
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // A cached statement, reset and ready for binding; null when the SQL does not compile
    // (lastError() says why). Valid until the next call of statement() with the same SQL.
    SqliteStatement* statement(const char* sql);
    // Runs SQL without parameters (schema, pragmas, transactions).
    bool execute(const char* sql);

    int64_t lastInsertRowId() const;
    int changes() const;
    // Whether SQLite could only open the file for reading.
    bool isReadOnly() const;
    // The last failure, classified by its cause; `what` says what was being done.
    base::Error lastError(const std::string& what = "The store could not be used") const;

private:
    explicit SqliteDatabase(sqlite3* handle) : m_handle(handle) { }

    sqlite3* m_handle;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> m_statements;
};

} // namespace companion
