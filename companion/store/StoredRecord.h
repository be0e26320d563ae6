#pragma once

// How a user-content record lies in the store's "ugc" table, shared by the readers and
// writers of that table.
//
// The columns are the truth for what the store manages (identities, page keys, status,
// flags). Highlights and bookmarks, the kinds read by the thousand, keep every field in
// columns and only the rarely filled structured ones (comment threads, sharing lists, a
// sticky note's place, extra metadata) as JSON in "payload", empty when there are none: a
// row becomes a record without parsing. Other kinds keep their whole UGC dictionary in
// "payload". Column "layout" tells the two apart, so rows written before the columns
// existed still read.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include <memory>
#include <string>

namespace companion {

class SqliteStatement;

// The bit of a highlight row's "flags" column that marks it answered.
inline constexpr int64_t highlightAnsweredFlag = 8;

// The columns a record is read from, in the order recordFromRow() expects them.
extern const char* const recordSelectColumns;
// How many columns recordSelectColumns names.
inline constexpr int recordColumnCount = 24;
// The record's fields after the row's keys (family, book, user, local id), for an INSERT:
// the column list, the matching parameters ?first… and, for an upsert, the assignments
// that take the fields from the new row.
extern const char* const recordFieldColumns;
std::string recordFieldParameters(int firstParameter);
extern const char* const recordFieldAssignments;
// The id a record new to the table is inserted with: one past the largest, so ids keep the
// saving order (the table is ordered by book, and has no row id of its own to count with).
extern const char* const nextRecordID;
// Binds the record's fields from `firstParameter` on, in the order of recordFieldColumns.
void bindRecordFields(SqliteStatement&, int firstParameter, const lectoro::SDKUGCVO&);

// The record a row (recordSelectColumns from `firstColumn` on) describes; null for a row
// whose payload no longer parses.
std::shared_ptr<lectoro::SDKUGCVO> recordFromRow(const SqliteStatement& row, int firstColumn = 0);

// Whether the service has given the record an id of its own.
bool isUploadedID(const std::string& ugcID);

} // namespace companion
