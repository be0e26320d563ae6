#pragma once

#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"
#include "platform/base/Error.h"

namespace lectoro {

// isExpiredSessionError (an expired session, status "103") comes with the service retry
// rule of readersdk.
// The furthest-page calls report an expired session as code 401 instead.
bool isUnauthorizedError(const base::Error&);

} // namespace lectoro
