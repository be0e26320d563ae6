#include "companion/service/ServiceErrors.h"

namespace companion {

base::Error expiredTokenError(const std::string& expiredToken)
{
    base::Value::Dictionary invalidFields;
    invalidFields.set("usertoken", "103");
    base::Value::Dictionary userInfo;
    userInfo.set("invalidFields", std::move(invalidFields));
    userInfo.set("expiredToken", expiredToken);
    userInfo.set("message", "User not valid, token invalid");
    userInfo.set(base::localizedDescriptionKey, "Your session has expired.");
    return base::Error { serviceErrorDomain, expiredSessionCode, base::Value(std::move(userInfo)) };
}

base::Error unauthorizedError()
{
    return base::Error::make(serviceErrorDomain, unauthorizedCode, "Unauthorized");
}

base::Error offlineError()
{
    return base::Error::make(urlErrorDomain, notConnectedToInternetCode, "The Internet connection appears to be offline.");
}

base::Error serviceError(int64_t code, const std::string& message)
{
    base::Error error = base::Error::make(serviceErrorDomain, code, message);
    if (auto userInfo = error.userInfo.asDictionary()) {
        userInfo->set("message", message);
        userInfo->set("responseMsg", message);
    }
    return error;
}

base::Error malformedAnswerError(const std::string& detail)
{
    return serviceError(malformedAnswerCode, "The service's answer could not be read: " + detail);
}

bool isExpiredTokenError(const base::Error& error)
{
    const base::Value& status = error.userInfo["invalidFields"]["usertoken"];
    if (status.isNull())
        return false;
    return status.description() == "103";
}

} // namespace companion
