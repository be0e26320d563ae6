#pragma once

#include <string>

namespace lectoro {

struct SDKUtility {
    // The error domain of the companion framework's errors.
    static std::string getSDKDomain() { return "LectoroReaderSDK"; }
};

} // namespace lectoro
