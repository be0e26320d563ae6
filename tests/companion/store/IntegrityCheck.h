#pragma once

// What SQLite's full check says of a database file ("ok" when sound), read through a
// connection of its own.

#include <sqlite3.h>

#include <string>

namespace companion::testing {

inline std::string integrityOf(const std::string& database)
{
    sqlite3* handle = nullptr;
    std::string verdict = "cannot open";
    if (sqlite3_open_v2(database.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            verdict = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(handle);
    return verdict;
}

} // namespace companion::testing
