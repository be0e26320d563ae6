#include "LectoroSDKWithReader/annotations/notes/StickyNoteRules.h"

#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lectoro::StickyNoteRules {

namespace {

// The units of the range that lie inside a text of `length` units.
size_t noteRulesCoveredUnits(size_t length, base::Range range)
{
    if (range.location >= length)
        return 0;
    return std::min(range.length, length - range.location);
}

// A number written wholly in decimal: an integer when it is one, else a double.
struct NoteRulesNumber {
    std::optional<int64_t> integer;
    double value = 0;
};

std::optional<NoteRulesNumber> noteRulesNumberOfText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    std::string_view digits = text.front() == '+' ? text.substr(1) : text;
    if (digits.empty())
        return std::nullopt;
    NoteRulesNumber number;
    int64_t integer = 0;
    auto [intEnd, intError] = std::from_chars(digits.data(), digits.data() + digits.size(), integer);
    if (intError == std::errc() && intEnd == digits.data() + digits.size())
        number.integer = integer;
    double value = 0;
    auto [end, error]
        = std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    number.value = value;
    return number;
}

std::optional<NoteRulesNumber> noteRulesNumberOf(const base::Value& value)
{
    if (auto integer = value.asInteger())
        return NoteRulesNumber { *integer, static_cast<double>(*integer) };
    if (auto real = value.asDouble()) {
        if (!std::isfinite(*real))
            return std::nullopt;
        NoteRulesNumber number;
        number.value = *real;
        if (std::trunc(*real) == *real && std::fabs(*real) < 9.0e18)
            number.integer = static_cast<int64_t>(*real);
        return number;
    }
    if (auto text = value.asString())
        return noteRulesNumberOfText(*text);
    return std::nullopt;
}

double noteRulesAtMost(double value, double limit)
{
    return std::min(value, limit);
}

} // namespace

size_t proposedNoteLength(std::string_view current, base::Range range, std::string_view replacement)
{
    size_t length = base::utf16Length(current);
    return length - noteRulesCoveredUnits(length, range) + base::utf16Length(replacement);
}

size_t proposedCommentCount(std::string_view current, base::Range range, std::string_view replacement)
{
    size_t trimmed = base::utf16Length(base::trimWhitespaceAndNewlines(current));
    size_t removed = noteRulesCoveredUnits(base::utf16Length(current), range);
    size_t kept = trimmed > removed ? trimmed - removed : 0;
    return kept + base::utf16Length(replacement);
}

std::string applyEdit(std::string_view current, base::Range range, std::string_view replacement)
{
    size_t length = base::utf16Length(current);
    size_t start = std::min(range.location, length);
    size_t covered = noteRulesCoveredUnits(length, range);
    size_t startByte = base::utf8OffsetOfUtf16Index(current, start);
    size_t endByte = base::utf8OffsetOfUtf16Index(current, start + covered);
    std::string result(current.substr(0, startByte));
    result.append(replacement);
    result.append(current.substr(endByte));
    return result;
}

std::string clipToLimit(std::string_view text, size_t limit)
{
    return base::utf16Substring(text, 0, limit);
}

std::string dictatedText(std::string_view remembered, std::string_view recognised, size_t limit)
{
    std::string text(remembered);
    if (!text.empty())
        text += ' ';
    text.append(recognised);
    return clipToLimit(text, limit);
}

base::Value makeComment(const std::string& text, const LectoroUser& user, base::Date date)
{
    base::Value::Dictionary comment;
    comment.set("Text", text);
    comment.set("UserID", user.userID);
    comment.set("DisplayName", user.fullName());
    comment.set("Date", NSStringExpanded::stringFromUTCDate(date));
    return base::Value(std::move(comment));
}

bool isOwnComment(const std::string& userID, const base::Value& commentUserID)
{
    auto mine = noteRulesNumberOfText(userID);
    auto theirs = noteRulesNumberOf(commentUserID);
    if (mine && theirs) {
        // Whole ids compare exactly: ids past 2^53 differ where their doubles would not.
        if (mine->integer && theirs->integer)
            return *mine->integer == *theirs->integer;
        return mine->value == theirs->value;
    }
    auto text = commentUserID.asString();
    return text && !userID.empty() && *text == userID;
}

std::string commentTimeText(const base::Value& comment)
{
    auto date = comment["Date"].asString();
    if (!date)
        return LocalizationHelper::localizedStringWithKey("JUST_NOW");
    auto parsed = NSStringExpanded::utcDateFromString(*date);
    if (!parsed)
        return {};
    return NSStringExpanded::getLocalizedStringForDateString(
        NSStringExpanded::formattedLocalStringFromDate(*parsed));
}

std::string noteDisplayTime(const std::string& storedDate)
{
    auto parsed = NSStringExpanded::utcDateFromString(storedDate);
    if (!parsed)
        return storedDate;
    return NSStringExpanded::getLocalizedStringForDateString(
        NSStringExpanded::formattedLocalStringFromDate(*parsed));
}

CardAreas boxLayout(double box, bool hasPassage, double passageContentHeight, double cardHeight)
{
    CardAreas areas;
    areas.commentBox = box;
    if (hasPassage) {
        double content = passageContentHeight + 21.0;
        areas.passage = box != 0 ? noteRulesAtMost(content, 140.0) : noteRulesAtMost(content, cardHeight / 2);
    } else {
        areas.passage = 0;
        areas.gapAboveNoteClosed = true;
    }
    areas.note = cardHeight - box - 24.0 - areas.passage;
    return areas;
}

CardAreas threadLayout(bool hasPassage, double passageContentHeight, double noteContentHeight)
{
    CardAreas areas;
    if (hasPassage) {
        areas.passage = noteRulesAtMost(passageContentHeight + 21.0, 140.0);
        areas.note = noteContentHeight > 85.0 ? 180.0 : noteContentHeight + 24.0;
    } else {
        areas.note = noteContentHeight > 165.0 ? 260.0 : noteContentHeight + 24.0;
    }
    return areas;
}

PadNoteKeyboardLayout padNoteKeyboardLayout(
    bool landscape, bool passageViewHasText, double passageContentHeight)
{
    PadNoteKeyboardLayout layout;
    if (!passageViewHasText)
        return layout;
    layout.passage = noteRulesAtMost(passageContentHeight + 21.0, landscape ? 36.0 : 70.0);
    if (!landscape)
        layout.note = layout.cardHeight - *layout.passage;
    return layout;
}

CardAreas padThreadKeyboardLayout(bool hasPassage, double passageContentHeight, double noteContentHeight)
{
    CardAreas areas;
    if (hasPassage)
        areas.passage = noteRulesAtMost(passageContentHeight + 21.0, 90.0);
    areas.note = noteContentHeight > 96.0 ? 120.0 : noteContentHeight + 24.0;
    return areas;
}

double phoneCardBottomDistance(double keyboardHeight, double screenHeight, bool landscape, bool commentField)
{
    const bool homeIndicator = screenHeight == 812.0 && (!commentField || !landscape);
    return homeIndicator ? keyboardHeight - 34.0 : keyboardHeight;
}

CardAreas phoneNoteKeyboardLayout(
    bool landscape, bool hasPassage, double passageContentHeight, double cardHeight)
{
    CardAreas areas;
    double candidate = landscape ? 0.0 : noteRulesAtMost(passageContentHeight + 21.0, cardHeight / 2);
    areas.passage = hasPassage ? candidate : 0.0;
    areas.note = cardHeight - 24.0 - areas.passage;
    return areas;
}

CardAreas phoneCommentKeyboardLayout(bool landscape, bool hasPassage, bool threadEmpty,
    double passageContentHeight, double noteContentHeight, double cardHeight)
{
    CardAreas areas;
    if (!threadEmpty) {
        if (hasPassage)
            areas.passage = landscape ? 0.0 : noteRulesAtMost(passageContentHeight + 21.0, 90.0);
        areas.note = landscape ? 0.0 : (noteContentHeight > 96.0 ? 120.0 : noteContentHeight + 24.0);
        return areas;
    }
    areas.passage = !landscape && hasPassage ? 70.0 : 0.0;
    areas.note = cardHeight - areas.passage - 54.0;
    return areas;
}

} // namespace lectoro::StickyNoteRules
