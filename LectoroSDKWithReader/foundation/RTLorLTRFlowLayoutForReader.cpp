#include "LectoroSDKWithReader/foundation/RTLorLTRFlowLayoutForReader.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"

namespace lectoro {

std::shared_ptr<RTLorLTRFlowLayoutForReader> RTLorLTRFlowLayoutForReader::create()
{
    return std::shared_ptr<RTLorLTRFlowLayoutForReader>(new RTLorLTRFlowLayoutForReader);
}

bool RTLorLTRFlowLayoutForReader::flipsHorizontallyInOppositeLayoutDirection() const
{
    return isRTL();
}

} // namespace lectoro
