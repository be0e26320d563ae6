// Feeds arbitrary bytes to the XML property-list reader. Whatever parses must serialise,
// and the serialised text must parse again to a value that serialises to the same text.

#include "platform/base/Plist.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = base::parsePlist(text);
    if (!parsed.ok())
        return 0;
    const std::string written = base::toPlist(parsed.value());
    const auto again = base::parsePlist(written);
    if (!again.ok())
        std::abort();
    if (base::toPlist(again.value()) != written)
        std::abort();
    (void)parsed.value().description();
    return 0;
}
