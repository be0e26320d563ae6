#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

void SDKBookmarkVO::readFields(const base::Value& dictionary)
{
    title = coding::readString(dictionary, "title");
    positionIdentifier = coding::readString(dictionary, "positionIdentifier");
}

} // namespace lectoro
