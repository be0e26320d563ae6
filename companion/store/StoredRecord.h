#pragma once

// How a user-content record lies in the store's "ugc" table, shared by the readers and
// writers of that table.
//
// The columns are what the store queries and manages (identities, page keys, status,
// flags). Highlights and bookmarks, the kinds read by the thousand, keep their own texts
// packed in one column, "fields" (a book's list is ten thousand rows, and each column read
// costs SQLite as much as the row's step): their texts, then their page keys again and the
// rarely filled structured fields (comment threads, sharing lists, a sticky note's place,
// extra metadata) as JSON, empty when there are none. A book's list is read from four
// columns, and a row becomes a record without parsing. The page-key columns are written
// with "fields" by every save, so the two never differ. Other kinds keep their whole UGC
// dictionary in "payload". Column "layout" tells the two apart. Rows are read through
// "state", a column SQLite keeps from the small numbers (status, sync flags, family,
// layout, flags).

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace companion {

class RecordArena;
class SqliteStatement;

// The bit of a highlight row's "flags" column that marks it answered.
inline constexpr int64_t highlightAnsweredFlag = 8;

// "layout" of a row whose fields are packed in "fields".
inline constexpr int64_t recordFieldsLayout = 2;

// The columns a record of any kind is read from, in the order recordRowAt() expects them.
extern const char* const recordSelectColumns;
// How many columns recordSelectColumns names.
inline constexpr int recordColumnCount = 7;
// The columns a highlight or bookmark is read from (packedRecordRowAt()): a book's list.
extern const char* const packedRecordColumns;
// The record's fields after the row's keys (family, book, user, local id), for an INSERT:
// the column list, the matching parameters ?first… and, for an upsert, the assignments
// that take the fields from the new row.
extern const char* const recordFieldColumns;
std::string recordFieldParameters(int firstParameter);
extern const char* const recordFieldAssignments;
// The id a record new to the table is inserted with: one past the largest, so ids keep the
// saving order (the table is ordered by book, and has no row id of its own to count with).
extern const char* const nextRecordID;
// A highlight's or bookmark's own texts, in the order "fields" packs them (a bookmark's
// title is its body).
struct RecordFieldTexts {
    std::string_view bookVersion, href, chapterName, createdDate, modifiedDate, body, noteText, backgroundColor,
        textColor, creatorName, positionIdentifier;
    int64_t startIndex = 0;
    int64_t endIndex = 0;
};
// What follows the texts since version 7: the page keys, and the structured fields as JSON.
struct RecordFieldTail {
    std::string_view pageIdentifier, displayNum, extraJson;
};
// The texts alone: the form version 5 wrote (its migration still writes it).
std::string packRecordFields(const RecordFieldTexts&);
std::string packRecordFields(const RecordFieldTexts&, const RecordFieldTail&);
// A highlight's or bookmark's texts (views into the record); empty ones for other kinds.
RecordFieldTexts recordFieldTexts(const lectoro::SDKUGCVO&);
// A highlight's or bookmark's "fields", as a save writes them.
std::string packedRecordFields(const lectoro::SDKUGCVO&);

// Binds the record's fields from `firstParameter` on, in the order of recordFieldColumns.
void bindRecordFields(SqliteStatement&, int firstParameter, const lectoro::SDKUGCVO&);

// A row of recordSelectColumns, as SQLite hands it over: the texts are views into the
// statement, valid until its next step (or into whatever copy the reader made of them).
struct RecordRow {
    std::string_view localID, ugcID, payload, pageIdentifier, displayNum, fields;
    int64_t status = 0;
    int64_t isSynced = 0;
    int64_t isSubmitted = 0;
    int64_t family = 0;
    int64_t layout = 0;
    int64_t flags = 0;
};
// The row at the statement (recordSelectColumns from `firstColumn` on).
RecordRow recordRowAt(const SqliteStatement&, int firstColumn = 0);
// The row at the statement (packedRecordColumns from `firstColumn` on); its payload and
// page-key views are empty, the page keys being read from "fields".
RecordRow packedRecordRowAt(const SqliteStatement&, int firstColumn = 0);
// Reads a row of one of the two column lists above.
using RecordRowReading = RecordRow (*)(const SqliteStatement&, int firstColumn);

// The record a row describes; null for a row whose payload or fields no longer read. A
// highlight or bookmark read from "fields" is made in `arena` when one is given.
std::shared_ptr<lectoro::SDKUGCVO> recordFromRow(const RecordRow&, RecordArena* arena = nullptr);
std::shared_ptr<lectoro::SDKUGCVO> recordFromRow(const SqliteStatement& row, int firstColumn = 0);

// Whether the service has given the record an id of its own.
bool isUploadedID(std::string_view ugcID);

} // namespace companion
