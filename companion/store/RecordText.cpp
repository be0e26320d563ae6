#include "companion/store/RecordText.h"

#include "companion/store/SqliteDatabase.h"

#include "LectoroSDKWithReader/readersdk/YSDBManager.h"

#include "platform/base/Strings.h"

namespace companion {

namespace {

std::optional<InvalidRecordText> invalidTextIn(const base::Value& value, const std::string& field)
{
    if (auto text = value.stringPointer()) {
        if (auto byte = base::firstInvalidUtf8Byte(*text))
            return InvalidRecordText { field, *byte };
    } else if (auto list = value.asList()) {
        for (size_t index = 0; index < list->size(); ++index) {
            if (auto found = invalidTextIn((*list)[index], field + "[" + std::to_string(index) + "]"))
                return found;
        }
    } else if (auto dictionary = value.asDictionary()) {
        for (const auto& [key, entry] : *dictionary) {
            std::string name = field.empty() ? key : field + "." + key;
            if (auto byte = base::firstInvalidUtf8Byte(key))
                return InvalidRecordText { base::validUtf8(name), *byte };
            if (auto found = invalidTextIn(entry, name))
                return found;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<InvalidRecordText> invalidTextOf(const lectoro::SDKUGCVO& record)
{
    return invalidTextIn(record.toUGCDictionary(), {});
}

base::Error invalidTextError(const InvalidRecordText& invalid)
{
    return base::Error::make(storeErrorDomain, static_cast<int64_t>(lectoro::YSDBManagerErrorCode::InvalidText),
        "The record was not saved: its \"" + invalid.field + "\" is not UTF-8 text (byte "
            + std::to_string(invalid.byte) + "), which the sync could not carry unchanged.");
}

} // namespace companion
