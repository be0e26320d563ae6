#include "LectoroSDKWithReader/mydata/MyDataPrinting.h"

#include "LectoroSDKWithReader/mydata/MyDataCells.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace lectoro {

std::optional<PrintType> printTypeFromRawValue(int64_t raw)
{
    if (raw < PrintTypeBoth || raw > PrintTypeNone)
        return std::nullopt;
    return static_cast<PrintType>(raw);
}

std::optional<std::vector<std::string>> splitPrintEnabledPages(const std::optional<std::string>& pages)
{
    if (!pages)
        return std::nullopt;
    std::vector<std::string> result;
    size_t start = 0;
    while (true) {
        size_t comma = pages->find(',', start);
        result.push_back(
            pages->substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return result;
}

MyDataRecords printableHighlights(const MyDataRecords& records)
{
    return myHighlights(records);
}

MyDataRecords printableNotes(const MyDataRecords& records)
{
    return myNotes(records);
}

namespace {

template<class Records>
PrintType hiddenPrintTypeOf(const Records& records)
{
    auto none = [&](bool (*printable)(const SDKHighlightVO&)) {
        return std::none_of(records.begin(), records.end(),
            [&](const auto& record) { return record && printable(*record); });
    };
    PrintType hidden = PrintTypeNone;
    if (none(isMyNote))
        hidden = PrintTypeNotes;
    if (none(isMyHighlight))
        hidden = PrintTypeHighlights;
    return hidden;
}

} // namespace

PrintType hiddenPrintTypeForRecords(const MyDataRecords& records)
{
    return hiddenPrintTypeOf(records);
}

PrintType hiddenPrintTypeForRecords(const std::vector<std::shared_ptr<const SDKHighlightVO>>& records)
{
    return hiddenPrintTypeOf(records);
}

std::optional<MyDataRecords> recordsForPrintType(const MyDataRecords& records, int64_t type)
{
    switch (type) {
    case PrintTypeBoth: {
        auto chosen = printableHighlights(records);
        auto notes = printableNotes(records);
        chosen.insert(chosen.end(), notes.begin(), notes.end());
        return chosen;
    }
    case PrintTypeHighlights:
        return printableHighlights(records);
    case PrintTypeNotes:
        return printableNotes(records);
    default:
        return std::nullopt;
    }
}

std::string printJobNameForType(int64_t type)
{
    switch (type) {
    case PrintTypeBoth:
        return LocalizationHelper::localizedStringWithKey("BOTH_KEY");
    case PrintTypeHighlights:
        return LocalizationHelper::localizedStringWithKey("HIGHLIGHTS_KEY");
    case PrintTypeNotes:
        return LocalizationHelper::localizedStringWithKey("NOTES_KEY");
    default:
        return {};
    }
}

std::string printWatermarkText(const std::string& userID, const std::string& bookID)
{
    return base::format("%@, User id=%@, Book id=%@.",
        LocalizationHelper::localizedStringWithKey("WATERMARK_TEXT"), userID, bookID);
}

std::string printTextForRecord(const SDKHighlightVO& record, bool pageBook)
{
    std::string text = myDataChapterLine(record.chapterName) + "\n" + myDataDateText(record, pageBook);
    if (!record.text.empty())
        text += "\n\n" + record.text;
    if (!record.noteText.empty())
        text += "\n\n" + record.noteText;
    return text;
}

} // namespace lectoro
