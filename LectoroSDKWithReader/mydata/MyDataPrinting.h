#pragma once

// What printing decides without views or printers: the printable pages the host names, the
// print kind that has nothing to print, the records of each print kind, and the watermark
// naming the user and the book.

#include "LectoroSDKWithReader/mydata/MyDataLists.h"

#include <optional>
#include <string>
#include <vector>

namespace lectoro {

enum PrintType : int32_t {
    PrintTypeBoth = 0,
    PrintTypeHighlights = 1,
    PrintTypeNotes = 2,
    PrintTypeNone = 3,
};

// A print type from its raw value: 0 to 3, nothing for any other value.
std::optional<PrintType> printTypeFromRawValue(int64_t);

inline constexpr const char* PrintWatermarkColor = "#668A96";

// The host's comma-separated printable pages: every piece as it stands, empty pieces
// included; nothing for an absent string (the caller keeps its list).
std::optional<std::vector<std::string>> splitPrintEnabledPages(const std::optional<std::string>&);

// The records each kind prints: plain highlights (answered, not deleted) and notes (own or
// accepted, not deleted).
MyDataRecords printableHighlights(const MyDataRecords&);
MyDataRecords printableNotes(const MyDataRecords&);

// The kind the pop-up greys: notes when there is no note, highlights when there is no
// plain highlight (the later test wins, so with neither the highlights are greyed), none
// when both have records.
PrintType hiddenPrintTypeForRecords(const MyDataRecords&);
// The same for the store's shared list, which the pop-up only reads.
PrintType hiddenPrintTypeForRecords(const std::vector<std::shared_ptr<const SDKHighlightVO>>&);

// The records of a print kind: highlights before notes for both. An unknown kind prints
// nothing.
std::optional<MyDataRecords> recordsForPrintType(const MyDataRecords&, int64_t type);
// "BOTH_KEY", "HIGHLIGHTS_KEY", "NOTES_KEY", localised; empty for any other kind.
std::string printJobNameForType(int64_t type);

// "<WATERMARK_TEXT>, User id=<user>, Book id=<book>."
std::string printWatermarkText(const std::string& userID, const std::string& bookID);

// One record as a page of the My Data document: its chapter, page, date, the highlighted
// text and the note.
std::string printTextForRecord(const SDKHighlightVO&, bool pageBook);

} // namespace lectoro
