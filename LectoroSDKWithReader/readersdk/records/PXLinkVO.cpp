#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"

#include "platform/base/Strings.h"

namespace lectoro {

std::string PXLinkVO::propertyValue(const std::string& prefix) const
{
    std::string normalized = base::replaceAll(properties, "\n", ";");
    for (const auto& entry : base::split(normalized, ";")) {
        std::string trimmed = base::trimWhitespace(entry);
        if (!base::hasPrefix(trimmed, prefix))
            continue;
        auto colon = trimmed.find(':', prefix.size());
        if (colon == std::string::npos)
            return {};
        return base::trimWhitespace(std::string_view(trimmed).substr(colon + 1));
    }
    return {};
}

} // namespace lectoro
