#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"

#include "platform/ui/Environment.h"

namespace lectoro {

bool isIpad()
{
    return ui::Environment::current().isPad();
}

bool isRTL()
{
    return ui::Environment::current().isRightToLeft();
}

} // namespace lectoro
