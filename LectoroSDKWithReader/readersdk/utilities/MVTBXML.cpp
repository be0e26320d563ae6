#include "LectoroSDKWithReader/readersdk/utilities/MVTBXML.h"

#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <vector>

namespace lectoro::MVTBXML {

namespace {

// One element being turned into a value: its children are converted first (post-order),
// each handing its value to its parent's frame.
struct Frame {
    pugi::xml_node node;
    pugi::xml_node nextChild;
    base::Value::Dictionary members;
    std::string ownText;
    bool hasElementChildren = false;
};

void addMember(base::Value::Dictionary& members, const std::string& name, base::Value value)
{
    // A child's own value is never a list, so a list here means the name repeated.
    if (base::Value* existing = members.find(name)) {
        if (base::Value::List* list = existing->asList()) {
            list->push_back(std::move(value));
            return;
        }
        base::Value::List list { std::move(*existing), std::move(value) };
        *existing = std::move(list);
        return;
    }
    members.set(name, std::move(value));
}

} // namespace

base::Result<base::Value> dictionaryWithXMLData(std::string_view xml)
{
    pugi::xml_document document;
    auto parsed = document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    pugi::xml_node root = document.document_element();
    if (!parsed || !root)
        return base::Error::make(errorDomain, 1,
            std::string("The XML is malformed: ") + (parsed ? "it has no element" : parsed.description()));

    std::vector<Frame> stack;
    stack.push_back({ root, root.first_child(), {}, {}, false });
    base::Value result;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.nextChild) {
            pugi::xml_node child = frame.nextChild;
            frame.nextChild = child.next_sibling();
            if (child.type() == pugi::node_element) {
                frame.hasElementChildren = true;
                if (stack.size() < maxDepth)
                    stack.push_back({ child, child.first_child(), {}, {}, false });
            } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                frame.ownText += child.value();
            }
            continue;
        }
        std::string text = base::trimWhitespace(frame.ownText);
        base::Value value;
        if (!frame.hasElementChildren && !frame.node.first_attribute()) {
            value = text;
        } else {
            base::Value::Dictionary members;
            for (auto attribute : frame.node.attributes())
                members.set(attribute.name(), std::string(attribute.value()));
            for (auto& [name, member] : frame.members)
                addMember(members, name, std::move(member));
            if (!text.empty())
                members.set("text", text);
            value = std::move(members);
        }
        std::string name = frame.node.name();
        stack.pop_back();
        if (stack.empty())
            result = base::Value::Dictionary { { name, std::move(value) } };
        else
            addMember(stack.back().members, name, std::move(value));
    }
    return result;
}

} // namespace lectoro::MVTBXML
