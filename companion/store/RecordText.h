#pragma once

// Text the store refuses to keep. The sync carries a record to the service as JSON, whose
// strings are Unicode: bytes that are not UTF-8 would reach the service, and come back to
// every device of the user, as U+FFFD in place of what was saved. Refusing them when the
// record is saved keeps what is stored and what the sync carries the same, and leaves the
// record as it was stored before (nothing saved is replaced).

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include "platform/base/Error.h"

#include <cstddef>
#include <optional>
#include <string>

namespace companion {

struct InvalidRecordText {
    // The field as the UGC dictionary names it ("noteText", "metaData.source", "sharedUsers[1]").
    std::string field;
    // The first byte of the field that does not start a UTF-8 sequence, from 0.
    size_t byte = 0;
};

// The record's first text (of those the sync carries) that is not UTF-8.
std::optional<InvalidRecordText> invalidTextOf(const lectoro::SDKUGCVO&);
// The store's error for it (lectoro::YSDBManagerErrorCode::InvalidText), naming the field
// and the byte.
base::Error invalidTextError(const InvalidRecordText&);

} // namespace companion
