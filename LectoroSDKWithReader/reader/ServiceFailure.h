#pragma once

#include "platform/base/Error.h"

namespace lectoro {

// An expired session: the failure's user information holds "invalidFields" whose
// "usertoken", as text, is the status code "103".
bool isExpiredSessionError(const base::Error&);
// The furthest-page calls report an expired session as code 401 instead.
bool isUnauthorizedError(const base::Error&);

} // namespace lectoro
