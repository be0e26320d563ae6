#pragma once

// The rules of the note editor that need no views: how long a note and a comment may be
// (UTF-16 units, as the platform counts), what a dictation adds, the comment record and
// whose comment it is, and how the note card shares its height between the passage, the
// note and the comment box with and without the keyboard. The editor applies them to its
// views; tests check them by tables.

#include "platform/base/Date.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lectoro {

class LectoroUser;

namespace StickyNoteRules {

inline constexpr size_t noteTextLimit = 820;
inline constexpr size_t commentTextLimit = 250;

// --- Text limits ---
// The note's length after an edit: current length less the replaced range plus the
// replacement, white space included. A range past the text counts only what it covers.
size_t proposedNoteLength(std::string_view current, base::Range, std::string_view replacement);
// The comment's count after an edit: the current text's trimmed length less the replaced
// range plus the replacement. Deleting white space at the ends can make the range longer
// than the trimmed text: the count stops at 0.
size_t proposedCommentCount(std::string_view current, base::Range, std::string_view replacement);
// An edit is taken whole or refused whole (typing and pasting alike).
inline bool acceptsNoteLength(size_t length)
{
    return length <= noteTextLimit;
}
inline bool acceptsCommentCount(size_t count)
{
    return count <= commentTextLimit;
}
// The text with the edit made (the range clamped to the text, never inside a character).
std::string applyEdit(std::string_view current, base::Range, std::string_view replacement);

// The first `limit` UTF-16 units, cut before a character that would not fit whole.
std::string clipToLimit(std::string_view, size_t limit);
// What a dictation leaves in a field: what was there, a space when there was something,
// then what was heard; clipped at the field's limit.
std::string dictatedText(std::string_view remembered, std::string_view recognised, size_t limit);

// --- Comments ---
// {"Text", "UserID", "DisplayName", "Date"}: the text as typed, the poster's id as the
// user record gives it, "first last", and the time in UTC with the calendar year.
base::Value makeComment(const std::string& text, const LectoroUser&, base::Date);
// The comment is the user's own: both ids numeric (a number, or text that is wholly a
// decimal number) compare as numbers, so 42 and "42.0" match; otherwise as text, so two
// different non-numeric ids never match.
bool isOwnComment(const std::string& userID, const base::Value& commentUserID);
// The time a comment shows: its "Date" in local time, localised; "JUST_NOW" (localised)
// without one; empty when it cannot be read.
std::string commentTimeText(const base::Value& comment);

// The time a note shows: its stored UTC date in local time, localised; the text itself
// when it is no date.
std::string noteDisplayTime(const std::string& storedDate);

// --- The card's layout (all in points) ---
inline constexpr double commentBoxHeight = 58.0;
inline constexpr double padCardHeightAtRest = 536.0;
inline constexpr double padCardHeightWhileTyping = 400.0;

struct CardAreas {
    double passage = 0;
    double note = 0;
    // Only the box layout sets these two.
    double commentBox = 0;
    bool gapAboveNoteClosed = false;
};

// The box layout: `box` is 0 or 58. With passage text the passage takes its content
// plus 21, at most 140 beside a box and at most half the card without one; the note
// takes the rest less the box and 24.
CardAreas boxLayout(double box, bool hasPassage, double passageContentHeight, double cardHeight);
// The thread layout: the passage at most 140; the note 180 when its content passes 85,
// else content + 24; without a passage the note 260 when its content passes 165.
CardAreas threadLayout(bool hasPassage, double passageContentHeight, double noteContentHeight);

// iPad, keyboard up for the note of a record without comments: the card is 400 high;
// the passage (when the passage view holds text) its content + 21, at most 70 in
// portrait and 36 in landscape; in portrait the note takes the rest of the card.
struct PadNoteKeyboardLayout {
    double cardHeight = padCardHeightWhileTyping;
    std::optional<double> passage;
    std::optional<double> note;
};
PadNoteKeyboardLayout padNoteKeyboardLayout(
    bool landscape, bool passageViewHasText, double passageContentHeight);
// iPad, keyboard up over a record with comments: passage at most 90; note 120 when its
// content passes 96, else content + 24.
CardAreas padThreadKeyboardLayout(bool hasPassage, double passageContentHeight, double noteContentHeight);

// Phone: the card's distance from the bottom while the keyboard is up. A screen 812 high
// keeps 34 of the keyboard's height (its home indicator) for the note in any orientation
// and for a comment in portrait only.
double phoneCardBottomDistance(double keyboardHeight, double screenHeight, bool landscape, bool commentField);
// Phone, typing the note: no passage in landscape; in portrait its content + 21, at most
// half the card; the note takes the card less 24 and the passage.
CardAreas phoneNoteKeyboardLayout(
    bool landscape, bool hasPassage, double passageContentHeight, double cardHeight);
// Phone, typing a comment. With a thread: passage (portrait) at most 90, note 120 or
// content + 24, both 0 in landscape. Without one: passage 70 in portrait with a passage,
// the note the card less the passage and 54.
CardAreas phoneCommentKeyboardLayout(bool landscape, bool hasPassage, bool threadEmpty,
    double passageContentHeight, double noteContentHeight, double cardHeight);

} // namespace StickyNoteRules

} // namespace lectoro
