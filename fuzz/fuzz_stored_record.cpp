// Feeds arbitrary bytes to the store's reader of a highlight's or bookmark's packed texts
// (column "fields", which a damaged copy of the file or another program may have written).
// Whatever reads as a record must pack back into bytes that read as the same record.

#include "companion/store/StoredRecord.h"
#include "companion/store/UGCFamily.h"

#include "platform/base/Json.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the kind and the flags; the rest is the column.
    companion::RecordRow row;
    row.family = static_cast<int64_t>(data[0] & 1 ? companion::UGCFamily::Highlight : companion::UGCFamily::Bookmark);
    row.flags = data[0] >> 1;
    row.layout = companion::recordFieldsLayout;
    row.localID = "fuzzed";
    row.fields = std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1);
    auto record = companion::recordFromRow(row);
    if (!record)
        return 0;
    std::string packed = companion::packedRecordFields(*record);
    row.fields = packed;
    auto again = companion::recordFromRow(row);
    if (!again || base::toJson(again->toUGCDictionary()) != base::toJson(record->toUGCDictionary()))
        std::abort();
    return 0;
}
