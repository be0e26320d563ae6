#pragma once

// What a page book says about its markups beyond the links themselves: glossary media and
// standards trees (read from the descriptor), and what the example host and the tests ask
// of a page's markups (type names, multi-link groups, drop-down items).
// The descriptor's schema is in README.md.

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Error.h"

#include <memory>
#include <string>
#include <vector>

namespace pugi {
class xml_node;
}

namespace companion {

// Reads <glossary> media and <standards> of the <ebook> element into the book.
base::Result<void> readPageBookMarkups(const pugi::xml_node& ebook, lectoro::PXBookVO&);

// A short name of a link type (1 to 26), "" for any other.
std::string linkTypeName(int32_t linkType);

// The members of one multi-link markup: links marked as members that share an anchor, in
// page order, keyed by the anchor's "x_y" text as the book gives it.
struct MultiLinkGroup {
    std::string key;
    std::vector<std::shared_ptr<lectoro::PXLinkVO>> members;
};
std::vector<MultiLinkGroup> multiLinkGroups(const std::vector<std::shared_ptr<lectoro::PXLinkVO>>&);

// The choices of a drop-down markup, read from the XML of its properties
// (<activity><items><node><nodeName>…</nodeName></node>…</items></activity>, percent-escaped
// or with &lt; &gt; as books write it; a plain "a,b,c" items text is split at commas).
// Empty when the properties hold no list.
std::vector<std::string> dropDownItems(const lectoro::PXLinkVO&);

} // namespace companion
