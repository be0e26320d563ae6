#include "companion/books/PageBookMarkups.h"

#include "LectoroSDKWithReader/readersdk/utilities/MVTBXML.h"
#include "companion/books/BookErrors.h"
#include "companion/books/XmlTree.h"
#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <algorithm>

namespace companion {

namespace {

std::string attributeText(const pugi::xml_node& node, const char* name)
{
    return base::trimWhitespace(node.attribute(name).value());
}

base::Value::Dictionary standardNode(const pugi::xml_node& node)
{
    return base::Value::Dictionary {
        { "title", attributeText(node, "title") },
        { "src", attributeText(node, "src") },
        { "pageID", attributeText(node, "pageID") },
        { "url", attributeText(node, "url") },
        { "subnodes", base::Value::List {} },
    };
}

// A standards tree, walked without recursion. A node's children are added once the node
// sits in its list; later siblings may move that list's storage, so a level is found
// again from the root by its index path. Deeper than maxContentsDepth is left out, as
// for the contents.
base::Value::List standardTree(const pugi::xml_node& standard)
{
    struct Level {
        pugi::xml_node parent;
        std::vector<size_t> path;
    };
    base::Value::List result;
    std::vector<Level> levels { { standard, {} } };
    while (!levels.empty()) {
        Level level = std::move(levels.back());
        levels.pop_back();
        if (level.path.size() >= maxContentsDepth)
            continue;
        base::Value::List* list = &result;
        for (size_t index : level.path)
            list = (*list)[index].asDictionary()->find("subnodes")->asList();
        for (auto child : level.parent.children("node")) {
            list->emplace_back(standardNode(child));
            auto path = level.path;
            path.push_back(list->size() - 1);
            levels.push_back({ child, std::move(path) });
        }
    }
    return result;
}

} // namespace

base::Result<void> readPageBookMarkups(const pugi::xml_node& ebook, lectoro::PXBookVO& book)
{
    // Media of glossary entries: what the glossary pop-up offers beside the description.
    if (auto* glossary = book.glossary.asDictionary()) {
        for (auto entry : ebook.child("glossary").children("entry")) {
            base::Value::List media;
            for (auto medium : entry.children("media")) {
                std::string kind = attributeText(medium, "kind");
                int64_t code = kind == "audio" ? 0
                    : kind == "video"          ? 1
                    : kind == "image"          ? 2
                    : kind == "web"            ? 3
                                               : -1;
                if (code < 0)
                    return makeBookError(BookError::Malformed,
                        "The page book descriptor is malformed: glossary medium of unknown kind \"" + kind
                            + "\"");
                media.emplace_back(
                    base::Value::Dictionary { { "kind", code }, { "path", attributeText(medium, "src") } });
            }
            if (media.empty())
                continue;
            if (auto* item = glossary->find(attributeText(entry, "key")); item && item->isDictionary())
                item->asDictionary()->set("media", std::move(media));
        }
    }

    base::Value::List standards;
    for (auto standard : ebook.child("standards").children("standard")) {
        std::string type = attributeText(standard, "type");
        if (type.empty())
            return makeBookError(
                BookError::Malformed, "The page book descriptor is malformed: a standard has no type");
        standards.emplace_back(base::Value::Dictionary {
            { "type", type },
            { "role", attributeText(standard, "role") },
            { "nodes", standardTree(standard) },
        });
    }
    book.standards = std::move(standards);
    return base::Result<void>::success();
}

std::string linkTypeName(int32_t linkType)
{
    static const char* const names[] = { "", "multi-link", "audio", "video", "image", "fill-in-the-blank",
        "comment", "go to page", "web link", "HTML wrap", "assessment", "audio sync", "HTML activity",
        "drop-down", "slide show", "widget", "multi-file", "Kaltura video", "YouTube video", "survey",
        "glossary", "jump to book", "image zoom", "instruction", "3D video", "SCORM", "hidden" };
    return linkType >= 1 && linkType <= 26 ? names[linkType] : "";
}

std::vector<MultiLinkGroup> multiLinkGroups(const std::vector<std::shared_ptr<lectoro::PXLinkVO>>& links)
{
    std::vector<MultiLinkGroup> groups;
    for (const auto& link : links) {
        if (!link || !link->isMultiLinkMember)
            continue;
        std::string key = link->xCoordinate.description() + "_" + link->yCoordinate.description();
        auto found
            = std::find_if(groups.begin(), groups.end(), [&](const auto& group) { return group.key == key; });
        if (found == groups.end())
            found = groups.insert(groups.end(), MultiLinkGroup { key, {} });
        found->members.push_back(link);
    }
    return groups;
}

std::vector<std::string> dropDownItems(const lectoro::PXLinkVO& link)
{
    std::string xml = base::percentDecode(link.properties).value_or(link.properties);
    xml = base::replaceAll(base::replaceAll(xml, "&lt;", "<"), "&gt;", ">");
    auto parsed = lectoro::MVTBXML::dictionaryWithXMLData(xml);
    if (!parsed.ok())
        return {};
    const base::Value& items = parsed.value()["activity"]["items"];
    std::vector<std::string> result;
    if (auto text = items.asString()) {
        for (const auto& part : base::split(*text, ","))
            result.push_back(part);
    } else if (items.isDictionary()) {
        const base::Value& nodes = items["node"];
        if (const auto* list = nodes.asList()) {
            for (const auto& node : *list)
                result.push_back(node["nodeName"].description());
        } else if (nodes.isDictionary()) {
            result.push_back(nodes["nodeName"].description());
        }
    }
    return result;
}

} // namespace companion
