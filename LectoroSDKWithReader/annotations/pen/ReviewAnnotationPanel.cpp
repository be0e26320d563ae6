#include "LectoroSDKWithReader/annotations/pen/ReviewAnnotationPanel.h"

#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"

#include <algorithm>

namespace lectoro {

bool replacePenDrawing(std::vector<std::shared_ptr<SDKPentoolVO>>& drawings, const std::shared_ptr<SDKPentoolVO>& changed)
{
    if (!changed)
        return false;
    auto sameLocal = [&](const std::shared_ptr<SDKPentoolVO>& drawing) {
        return drawing && !changed->localID.empty() && drawing->localID == changed->localID;
    };
    auto sameServer = [&](const std::shared_ptr<SDKPentoolVO>& drawing) {
        return drawing && changed->isUploaded() && drawing->ugcID == changed->ugcID;
    };
    auto found = std::find_if(drawings.begin(), drawings.end(), sameLocal);
    if (found == drawings.end())
        found = std::find_if(drawings.begin(), drawings.end(), sameServer);
    if (found == drawings.end()) {
        drawings.push_back(changed);
        return false;
    }
    *found = changed;
    return true;
}

} // namespace lectoro
