#include "LectoroSDKWithReader/readersdk/LectoroServiceRetry.h"

namespace lectoro {

bool isExpiredSessionError(const base::Error& error)
{
    const auto& code = error.userInfo["invalidFields"]["usertoken"];
    return !code.isNull() && code.description() == "103";
}

void callRepeatingOnceAfterTokenRefresh(TokenCall call, const std::string& userToken, TokenRefresh refresh,
    LectoroServiceInterface::SuccessHandler success, LectoroServiceInterface::FailureHandler failure)
{
    if (!call)
        return;
    auto onFirstFailure = [call, userToken, refresh = std::move(refresh), success, failure](const base::Error& error) {
        if (!refresh || !isExpiredSessionError(error)) {
            if (failure)
                failure(error);
            return;
        }
        const std::string* named = error.userInfo["expiredToken"].stringPointer();
        std::string expired = named && !named->empty() ? *named : userToken;
        refresh(expired, [call, success, failure, error](const std::optional<std::string>& freshToken) {
            if (!freshToken) {
                if (failure)
                    failure(error);
                return;
            }
            call(*freshToken, success, failure);
        });
    };
    call(userToken, success, std::move(onFirstFailure));
}

TokenRefresh tokenRefreshThrough(std::shared_ptr<LectoroServiceInterface> service)
{
    return [service = std::move(service)](const std::string& expiredToken,
               std::function<void(const std::optional<std::string>&)> done) {
        if (!service) {
            done(std::nullopt);
            return;
        }
        service->refreshUserTokenWithToken(
            expiredToken,
            [done, service](const base::Value& response) {
                const std::string* token = response["userToken"].stringPointer();
                done(token && !token->empty() ? std::optional<std::string>(*token) : std::nullopt);
            },
            [done, service](const base::Error&) { done(std::nullopt); });
    };
}

} // namespace lectoro
