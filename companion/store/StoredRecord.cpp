#include "companion/store/StoredRecord.h"

#include "companion/store/SqliteDatabase.h"

#include "platform/base/Json.h"

namespace companion {

using namespace lectoro;

std::shared_ptr<SDKUGCVO> recordFromRow(const SqliteStatement& row)
{
    auto payload = base::parseJson(row.columnText(5));
    if (!payload.ok())
        return nullptr;
    auto record = makeUGCRecordFromDictionary(payload.value());
    if (!record)
        return nullptr;
    record->localID = row.columnText(0);
    record->ugcID = row.columnText(1);
    record->status = static_cast<int16_t>(row.columnInteger(2));
    record->isSynced = row.columnInteger(3) != 0;
    record->isSubmitted = row.columnInteger(4) != 0;
    record->pageIdentifier = row.columnText(6);
    record->displayNum = row.columnText(7);
    return record;
}

bool isUploadedID(const std::string& ugcID)
{
    return !ugcID.empty() && ugcID != UGCNotUploadedID;
}

} // namespace companion
