#pragma once

// The expired-session rule of the service, for callers that want it done for them: a
// call that fails because the session expired is sent once more with a fresh token, and
// the second answer is final (a second expiry is reported, never refreshed again).

#include "LectoroSDKWithReader/readersdk/LectoroServiceInterface.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

// An expired session: the failure's user information holds "invalidFields" whose
// "usertoken", as text, is the status code "103".
bool isExpiredSessionError(const base::Error&);

// One service call made with the token it is given.
using TokenCall = std::function<void(const std::string& userToken, LectoroServiceInterface::SuccessHandler,
    LectoroServiceInterface::FailureHandler)>;
// Asks for a token to replace `expiredToken`; answers it, or nothing when none can be had.
using TokenRefresh = std::function<void(const std::string& expiredToken,
    std::function<void(const std::optional<std::string>& freshToken)>)>;

// Runs `call` with `userToken`; on an expired session asks `refresh` for a fresh token
// (the expired one as the failure names it, else `userToken`) and runs `call` once more
// with it. Without a fresh token the first failure is reported. Exactly one handler runs,
// on the thread the deciding answer came on.
void callRepeatingOnceAfterTokenRefresh(TokenCall, const std::string& userToken, TokenRefresh,
    LectoroServiceInterface::SuccessHandler, LectoroServiceInterface::FailureHandler);

// A refresh through the service's own token call (refreshUserTokenWithToken; the fresh
// token is its answer's "userToken"). The client is kept until the refresh answers.
TokenRefresh tokenRefreshThrough(std::shared_ptr<LectoroServiceInterface>);

} // namespace lectoro
