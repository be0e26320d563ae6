#include "LectoroSDKWithReader/reader/ServiceFailure.h"

namespace lectoro {

bool isUnauthorizedError(const base::Error& error)
{
    return error.code == 401;
}

} // namespace lectoro
