#pragma once

// The errors the service and the network give, in the shapes the product tests for.

#include "platform/base/Error.h"

#include <cstdint>
#include <string>

namespace companion {

inline constexpr const char* serviceErrorDomain = "LectoroServiceErrorDomain";
inline constexpr const char* urlErrorDomain = "NSURLErrorDomain";
inline constexpr int64_t notConnectedToInternetCode = -1009;
inline constexpr int64_t expiredSessionCode = 103;
inline constexpr int64_t unauthorizedCode = 401;
// The answer came but could not be read (not JSON, or not the object the call expects).
inline constexpr int64_t malformedAnswerCode = 502;

// The session has expired: user info {"invalidFields": {"usertoken": "103"},
// "expiredToken": token, "message": ...}.
base::Error expiredTokenError(const std::string& expiredToken);
// An HTTP-like 401.
base::Error unauthorizedError();
// The device is offline (code -1009 in the URL domain).
base::Error offlineError();
// Any other refusal of the service: user info {"message": ..., "responseMsg": ...}.
base::Error serviceError(int64_t code, const std::string& message);
// An answer that could not be read; `detail` says why. Same shape as serviceError.
base::Error malformedAnswerError(const std::string& detail);

// Whether an error is the expired-session shape above (the status given as text or number).
bool isExpiredTokenError(const base::Error&);

} // namespace companion
