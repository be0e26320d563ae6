#pragma once

// The My Data lists, without views: which records each segment lists, how the colour and
// shared-with-me filters choose among them, and the texts and colours of a row.
//
// Filters compare a colour worked out for the comparison (lower case; the received colour
// for a received note) and never write it into the records, which are the reader's live
// records: the page drawing and the store read the same objects.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LectoroBookVO;
class SDKHighlightVO;

enum MyDataSegment : int32_t {
    MyDataSegmentHighlights = 100,
    MyDataSegmentNotes = 101,
    MyDataSegmentReceived = 102,
};

using MyDataRecords = std::vector<std::shared_ptr<SDKHighlightVO>>;

inline constexpr const char* MyDataReceivedColor = "#8fd5e1";
inline constexpr const char* MyDataTeacherNoteColor = "#ffc000";
inline constexpr const char* MyDataDefaultColor = "#FFFF00";

// The filter state of one panel: the three colour lists (kept lower case) and the three
// shared-with-me ticks.
struct MyDataFilterState {
    bool highlightWithFilter = false;
    bool notesWithFilter = false;
    std::vector<std::string> highlightFilterColorsArray;
    std::vector<std::string> notesFilterColorsArray;
    std::vector<std::string> contexualFilterColorsArray;
    bool isSharedHighlightSelected = true;
    bool isSharedNotesSelected = true;
    bool isSharedContextualNotes = true;

    // The values of a panel whose view has just loaded.
    void reset(const std::vector<std::string>& themeColors);
    // The pop-over's Apply on each list; a cleared filter keeps the last colours and ticks.
    void applyHighlightFilter(const std::vector<std::string>& colors, bool all, bool shared);
    void applyNotesFilter(const std::vector<std::string>& stickyColors,
        const std::vector<std::string>& contextualColors, bool all, bool stickyShared, bool contextualShared);
};

// The user's answered plain highlights (no note text), not deleted.
MyDataRecords myHighlights(const MyDataRecords&);
bool isMyHighlight(const SDKHighlightVO&);
// Of those, the ones whose colour is chosen or, with the shared tick, the accepted received
// ones.
MyDataRecords filteredHighlights(const MyDataRecords&, const MyDataFilterState&);
// The user's own notes and the accepted received ones, not deleted.
MyDataRecords myNotes(const MyDataRecords&);
bool isMyNote(const SDKHighlightVO&);
// Sticky notes by the sticky-note colours and tick, contextual notes by theirs.
MyDataRecords filteredNotes(const MyDataRecords&, const MyDataFilterState&);
// Received notes still waiting for an answer.
MyDataRecords pendingNotes(const MyDataRecords&);

// The colour a filter compares: the record's in lower case; for notes, a received record
// compares as the received colour.
std::string filterComparisonColor(const SDKHighlightVO&, bool receivedAsSharedColor);

// The hex colour a row draws the record in: "#FFFF00" for an empty colour ("#", "# " or
// nothing), the received colour for a received record.
std::string myDataRowColorHex(const SDKHighlightVO&);

// "PAGE: 12  <date>" for a page book, the date alone otherwise. The stored UTC stamp is
// shown as the local "hh:mm a dd MMMM yyyy" with the language's digits and month names.
std::string myDataDateText(const SDKHighlightVO&, bool pageBook);

// The title of the chapter the record lies in: its own chapter name, else the book's
// chapter for its page (page books), its chapter file or file index (EPUB books); empty
// when the book names none.
std::string myDataChapterName(const LectoroBookVO*, const SDKHighlightVO&);

// The "PageNo" of the first thumbnail page whose "DisplayNumber" equals the folio; the
// folio itself for a book that is no page book, or when no page carries it.
base::Value getPageNumberForDisplayNumber(const LectoroBookVO*, const std::string& displayNumber);

// Where a row tap leads: the chapter href, else the folio unless it is "null" or empty.
std::optional<std::string> myDataPageTarget(const SDKHighlightVO&);

} // namespace lectoro
