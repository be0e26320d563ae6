#pragma once

// XML to nested dictionaries, the shape the drop-down markups' item lists are read in.
//
// The answer is {root element name: its value}. An element with neither child elements nor
// attributes is its text (trimmed); any other element is a dictionary of its attributes
// (as texts), its child elements under their names (an element name that repeats holds a
// list of the values in document order) and, when it has text of its own, that text under
// "text". The text is always read as UTF-8, whatever encoding its declaration names.
// Malformed XML answers an error of the domain "MVTBXML". The walk keeps no recursion, and
// elements nested deeper than maxDepth are left out, so hostile nesting cannot build a
// value too deep to take apart.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstddef>
#include <string_view>

namespace lectoro::MVTBXML {

inline constexpr const char* errorDomain = "MVTBXML";
inline constexpr size_t maxDepth = 64;

// dictionaryWithXMLData:error:
base::Result<base::Value> dictionaryWithXMLData(std::string_view xml);

} // namespace lectoro::MVTBXML
