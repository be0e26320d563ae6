#pragma once

// Walking the XML of a book. Books are untrusted: a document nested a million elements deep
// must not exhaust the stack, so the walk here keeps no recursion, and the trees built from a
// book's contents (contents nodes, navigation entries) stop at a fixed depth.

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <string_view>

namespace companion {

// Contents and navigation entries nested deeper than this are left out: real books stay
// within a handful of levels, and the records built from them are destroyed recursively.
inline constexpr size_t maxContentsDepth = 32;

// An element's name without its namespace prefix ("opf:item" is "item").
std::string_view xmlLocalName(const char* name);

// Visits the descendants of `root` in document order. `enter(node, depth)` (depth 0 for the
// children of `root`) answers whether to visit the node's children; for a node entered that
// way, `leave(node, depth)` runs once its children are done.
void walkXmlTree(const pugi::xml_node& root,
    const std::function<bool(const pugi::xml_node&, size_t depth)>& enter,
    const std::function<void(const pugi::xml_node&, size_t depth)>& leave = {});

} // namespace companion
