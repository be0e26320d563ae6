#pragma once

// Hands a statement's rows to a caller that makes records of them.
//
// A book's whole list is ten thousand rows, read as the book opens. SQLite stepping the
// rows and the caller making records of them cost about the same, one after the other.
// Past the first rows, a helper thread steps the rest and copies each row out into
// batches while the caller makes records from the batches before: the two halves overlap.
// The records are still made on the calling thread, so they come from its memory, and a
// kept list copied from them later stays as compact as one read without the helper.
//
// The statement is used by one thread at a time: the helper has it from its first step to
// its end, while the caller only waits for batches.

#include "companion/store/StoredRecord.h"

#include <cstddef>
#include <functional>

namespace companion {

class SqliteStatement;

// Rows read on the calling thread before a helper takes the rest: a page's records or a
// short list never start a thread.
inline constexpr size_t rowsReadBeforeHelper = 64;
// Rows the helper hands over at most at a time.
inline constexpr size_t rowsPerBatch = 256;

// Calls `take` with each remaining row of the statement (as `rowAt` reads one), in order,
// on the calling thread; a row's texts are valid during the call only. Returns the
// statement's ok(): false when SQLite failed part way (the rows before it were taken). An
// exception from `take` stops the helper before it leaves.
//
// `longList`, when given, is called once, before the rows of the first batch after which more
// rows are known to follow: a list longer than the rows read here and a batch (more than
// rowsReadBeforeHelper + rowsPerBatch rows, or fewer when large rows filled a batch early).
// The caller can then lay out what it makes of the rest for a long list.
bool readRecordRows(SqliteStatement&, RecordRowReading rowAt, const std::function<void(const RecordRow&)>& take,
    const std::function<void()>& longList = {});

} // namespace companion
