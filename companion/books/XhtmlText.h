#pragma once

// The readable text of an XHTML chapter, for search: the body's text with block elements
// separated by new lines and runs of white space collapsed, plus where each element id
// starts in it. Chapters that are not well-formed XML (HTML habits such as <br> or &nbsp;)
// are repaired as far as cheaply possible and, failing that, read by stripping tags.

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace companion {

struct XhtmlText {
    std::string text;
    // Element id and the byte offset in `text` where its content starts.
    std::vector<std::pair<std::string, size_t>> anchors;
    // Number of block elements directly under <body>, for position identifiers.
    size_t topLevelBlocks = 0;
    // Where each of those blocks starts in `text` (a byte offset), in order.
    std::vector<size_t> blockStarts;
    // The h1 to h6 elements' text ranges.
    std::vector<lectoro::EPUBHeading> headings;
};

XhtmlText extractXhtmlText(std::string_view document);

} // namespace companion
