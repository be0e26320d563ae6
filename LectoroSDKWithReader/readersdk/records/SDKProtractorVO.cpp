#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

void SDKProtractorVO::writeFields(base::Value::Dictionary& dictionary) const
{
    dictionary.set("frame", coding::rectValue(frame));
    dictionary.set("rotation", rotation);
    dictionary.set("measuredAngle", measuredAngle);
}

void SDKProtractorVO::readFields(const base::Value& dictionary)
{
    frame = coding::readRect(dictionary, "frame");
    rotation = coding::readDouble(dictionary, "rotation");
    measuredAngle = coding::readDouble(dictionary, "measuredAngle");
}

} // namespace lectoro
