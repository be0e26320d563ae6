#pragma once

// How a stream's audio languages and subtitles are named to the reader: the rendition's
// name, else its language code.

#include "platform/media/Asset.h"

#include <string>
#include <vector>

namespace companion {

inline std::vector<std::string> selectionOptionNames(const std::vector<media::MediaSelectionOption>& options)
{
    std::vector<std::string> result;
    for (const auto& option : options)
        result.push_back(option.displayName.empty() ? option.languageCode : option.displayName);
    return result;
}

} // namespace companion
