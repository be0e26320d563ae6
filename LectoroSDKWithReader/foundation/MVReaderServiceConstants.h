#pragma once

#include <string>

namespace lectoro {

// Status codes the services write, as text, in their answers. Compare as text: a code written
// with "%@" matches whether it came as the number 103 or the string "103".
struct MVReaderServiceConstants {
    static std::string responseStatusCode200() { return "200"; }
    static std::string responseStatusCode600() { return "600"; }
    static std::string responseStatusCode400() { return "400"; }
    static std::string responseStatusCode103() { return "103"; }
    static std::string responseStatusCode202() { return "202"; }
    static std::string responseStatusCode426() { return "426"; }
    static std::string responseStatusCode204() { return "204"; }
    static std::string responseStatusCode800() { return "800"; }
};

} // namespace lectoro
