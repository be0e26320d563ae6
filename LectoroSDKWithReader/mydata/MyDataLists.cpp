#include "LectoroSDKWithReader/mydata/MyDataLists.h"

#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXChapterVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <cstdlib>

namespace lectoro {

namespace {

std::vector<std::string> lowercased(const std::vector<std::string>& colors)
{
    std::vector<std::string> result;
    result.reserve(colors.size());
    for (const auto& color : colors)
        result.push_back(base::lowercase(color));
    return result;
}

bool containsColor(const std::vector<std::string>& colors, const std::string& color)
{
    // The chosen colours are compared in lower case whatever case they were kept in.
    return std::any_of(colors.begin(), colors.end(),
        [&](const std::string& chosen) { return base::lowercase(chosen) == color; });
}

template <class Keep> MyDataRecords keepIf(const MyDataRecords& records, Keep keep)
{
    MyDataRecords result;
    for (const auto& record : records) {
        if (record && keep(*record))
            result.push_back(record);
    }
    return result;
}

bool isLive(const SDKHighlightVO& record)
{
    return !record.isDeleted();
}

} // namespace

void MyDataFilterState::reset(const std::vector<std::string>& themeColors)
{
    *this = MyDataFilterState {};
    highlightFilterColorsArray = themeColors;
    notesFilterColorsArray = themeColors;
    contexualFilterColorsArray = themeColors;
}

void MyDataFilterState::applyHighlightFilter(const std::vector<std::string>& colors, bool all, bool shared)
{
    if (all) {
        highlightWithFilter = false;
        return;
    }
    highlightWithFilter = true;
    highlightFilterColorsArray = lowercased(colors);
    isSharedHighlightSelected = shared;
}

void MyDataFilterState::applyNotesFilter(const std::vector<std::string>& stickyColors,
    const std::vector<std::string>& contextualColors, bool all, bool stickyShared, bool contextualShared)
{
    if (all) {
        notesWithFilter = false;
        return;
    }
    notesWithFilter = true;
    contexualFilterColorsArray = lowercased(contextualColors);
    notesFilterColorsArray = lowercased(stickyColors);
    isSharedContextualNotes = contextualShared;
    isSharedNotesSelected = stickyShared;
}

bool isMyHighlight(const SDKHighlightVO& record)
{
    return isLive(record) && record.noteText.empty() && record.isAnswered;
}

MyDataRecords myHighlights(const MyDataRecords& records)
{
    return keepIf(records, isMyHighlight);
}

MyDataRecords filteredHighlights(const MyDataRecords& records, const MyDataFilterState& state)
{
    bool shared = state.isSharedHighlightSelected;
    return keepIf(records, [&](const SDKHighlightVO& r) {
        if (!isLive(r) || !r.noteText.empty() || !r.isAnswered)
            return false;
        bool sharedPasses = r.isAnswered == shared && r.isReceived == shared;
        return sharedPasses
            || containsColor(state.highlightFilterColorsArray, filterComparisonColor(r, false));
    });
}

bool isMyNote(const SDKHighlightVO& record)
{
    return isLive(record) && !record.noteText.empty() && (!record.isReceived || record.isAnswered);
}

MyDataRecords myNotes(const MyDataRecords& records)
{
    return keepIf(records, isMyNote);
}

MyDataRecords filteredNotes(const MyDataRecords& records, const MyDataFilterState& state)
{
    return keepIf(records, [&](const SDKHighlightVO& r) {
        if (!isLive(r) || r.noteText.empty() || !r.isAnswered)
            return false;
        std::string color = filterComparisonColor(r, true);
        if (r.text.empty()) {
            bool shared = state.isSharedNotesSelected;
            return (r.isAnswered == shared && r.isReceived == shared)
                || containsColor(state.notesFilterColorsArray, color);
        }
        bool shared = state.isSharedContextualNotes;
        return (r.isAnswered == shared && r.isReceived == shared)
            || containsColor(state.contexualFilterColorsArray, color);
    });
}

MyDataRecords pendingNotes(const MyDataRecords& records)
{
    // A record keeps no distinction between a missing and an empty note text; a received
    // plain highlight has neither and is never a note waiting for an answer.
    return keepIf(records, [](const SDKHighlightVO& r) {
        return isLive(r) && !r.noteText.empty() && r.isReceived && !r.isAnswered;
    });
}

std::string filterComparisonColor(const SDKHighlightVO& record, bool receivedAsSharedColor)
{
    if (receivedAsSharedColor && record.isReceived)
        return MyDataReceivedColor;
    return base::lowercase(record.backgroundColor);
}

std::string myDataRowColorHex(const SDKHighlightVO& record)
{
    if (record.isReceived)
        return MyDataReceivedColor;
    const std::string& color = record.backgroundColor;
    if (color.empty() || color == "#" || color == "# ")
        return MyDataDefaultColor;
    return color;
}

std::string myDataDateText(const SDKHighlightVO& record, bool pageBook)
{
    std::string stored = record.getDisplayDate();
    auto parsed = NSStringExpanded::utcDateFromString(stored);
    std::string date = NSStringExpanded::getLocalizedStringForDateString(
        parsed ? NSStringExpanded::formattedLocalStringFromDate(*parsed) : stored);
    if (!pageBook)
        return date;
    return base::format(
               "%@: %@ %@", LocalizationHelper::localizedStringWithKey("PAGE"), record.displayNum, " ")
        + date;
}

std::string myDataChapterName(const LectoroBookVO* book, const SDKHighlightVO& record)
{
    if (!record.chapterName.empty())
        return record.chapterName;
    if (const auto* pageBook = dynamic_cast<const PXBookVO*>(book)) {
        auto chapter = pageBook->getChapterForPageID(record.pageIdentifier);
        return chapter ? chapter->title : std::string {};
    }
    if (const auto* epub = dynamic_cast<const EPUBBookVO*>(book)) {
        auto chapter = record.href.empty() ? nullptr : epub->chapterForHref(record.href);
        if (!chapter) {
            char* end = nullptr;
            std::string index = record.pageIdentifier;
            long long fileIndex = std::strtoll(index.c_str(), &end, 10);
            if (!index.empty() && end && *end == '\0')
                chapter = epub->chapterAtIndex(fileIndex);
        }
        return chapter ? chapter->title : std::string {};
    }
    return {};
}

base::Value getPageNumberForDisplayNumber(const LectoroBookVO* book, const std::string& displayNumber)
{
    if (!dynamic_cast<const PXBookVO*>(book))
        return displayNumber;
    base::Value thumbnails = book->getThumbnailData();
    if (const auto* chapters = thumbnails.asList()) {
        for (const auto& chapter : *chapters) {
            const auto* pages = chapter["Pages"].asList();
            if (!pages)
                continue;
            for (const auto& page : *pages) {
                if (page["DisplayNumber"].description() == displayNumber && !page["PageNo"].isNull())
                    return page["PageNo"];
            }
        }
    }
    return displayNumber;
}

std::optional<std::string> myDataPageTarget(const SDKHighlightVO& record)
{
    if (!record.href.empty())
        return record.href;
    if (record.displayNum.empty() || record.displayNum == "null")
        return std::nullopt;
    return record.displayNum;
}

} // namespace lectoro
