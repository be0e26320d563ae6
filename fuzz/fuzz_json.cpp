// Feeds arbitrary bytes to the JSON reader. Whatever parses must serialise, and the
// serialised text must parse again to a value that serialises to the same text.

#include "platform/base/Json.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = base::parseJson(text);
    if (!parsed.ok())
        return 0;
    for (const auto& written : { base::toJson(parsed.value()), base::toPrettyJson(parsed.value()) }) {
        const auto again = base::parseJson(written);
        if (!again.ok())
            std::abort();
        if (base::toJson(again.value()) != base::toJson(parsed.value()))
            std::abort();
    }
    (void)parsed.value().description();
    return 0;
}
