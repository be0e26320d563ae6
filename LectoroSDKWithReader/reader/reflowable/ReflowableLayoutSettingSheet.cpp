#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettingSheet.h"

namespace lectoro {

std::shared_ptr<ReflowableLayoutSettingSheet> ReflowableLayoutSettingSheet::create()
{
    return std::shared_ptr<ReflowableLayoutSettingSheet>(new ReflowableLayoutSettingSheet);
}

} // namespace lectoro
