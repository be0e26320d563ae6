#pragma once

// How a user-content row of the store becomes a record again, shared by the readers of
// the store's tables.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include <memory>
#include <string>

namespace companion {

class SqliteStatement;

// Columns: 0 local_id, 1 ugc_id, 2 status, 3 is_synced, 4 is_submitted, 5 payload,
// 6 page_identifier, 7 display_num. The columns are the truth for what the store
// manages; the payload carries the rest. Null for a payload that no longer parses.
std::shared_ptr<lectoro::SDKUGCVO> recordFromRow(const SqliteStatement& row);

// Whether the service has given the record an id of its own.
bool isUploadedID(const std::string& ugcID);

} // namespace companion
