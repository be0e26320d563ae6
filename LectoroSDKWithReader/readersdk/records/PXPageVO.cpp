#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"

namespace lectoro {

std::vector<std::shared_ptr<PXLinkVO>> PXPageVO::getAudioSyncTypeLinks() const
{
    std::vector<std::shared_ptr<PXLinkVO>> result;
    for (const auto& link : linkOrder) {
        if (link && link->audioSync.count() > 0)
            result.push_back(link);
    }
    return result;
}

} // namespace lectoro
