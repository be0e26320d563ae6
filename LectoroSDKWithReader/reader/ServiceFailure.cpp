#include "LectoroSDKWithReader/reader/ServiceFailure.h"

#include "LectoroSDKWithReader/foundation/MVReaderServiceConstants.h"

namespace lectoro {

bool isExpiredSessionError(const base::Error& error)
{
    const auto& code = error.userInfo["invalidFields"]["usertoken"];
    return !code.isNull() && code.description() == MVReaderServiceConstants::responseStatusCode103();
}

bool isUnauthorizedError(const base::Error& error)
{
    return error.code == 401;
}

} // namespace lectoro
