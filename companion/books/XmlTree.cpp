#include "companion/books/XmlTree.h"

namespace companion {

std::string_view xmlLocalName(const char* name)
{
    std::string_view view(name);
    auto colon = view.find(':');
    return colon == std::string_view::npos ? view : view.substr(colon + 1);
}

void walkXmlTree(const pugi::xml_node& root, const std::function<bool(const pugi::xml_node&, size_t)>& enter,
    const std::function<void(const pugi::xml_node&, size_t)>& leave)
{
    size_t depth = 0;
    pugi::xml_node node = root.first_child();
    while (node) {
        if (enter(node, depth)) {
            if (auto first = node.first_child()) {
                node = first;
                ++depth;
                continue;
            }
            if (leave)
                leave(node, depth);
        }
        // On to the next sibling, leaving each finished ancestor on the way up.
        while (!node.next_sibling()) {
            if (depth == 0)
                return;
            node = node.parent();
            --depth;
            if (leave)
                leave(node, depth);
        }
        node = node.next_sibling();
    }
}

} // namespace companion
