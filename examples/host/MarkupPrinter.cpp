#include "MarkupPrinter.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/PageBookMarkups.h"

#include <utility>
#include <vector>

namespace host {

namespace {

std::string rectText(const ui::Rect& rect)
{
    auto number = [](double value) {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.')
            text.pop_back();
        return text;
    };
    return "(" + number(rect.origin.x) + "," + number(rect.origin.y) + " " + number(rect.size.width) + "x"
        + number(rect.size.height) + ")";
}

void printLink(std::ostream& out, const lectoro::PXLinkVO& link, const std::string& group)
{
    out << "    " << link.linkID << " type " << link.linkType << " " << companion::linkTypeName(link.linkType)
        << " " << rectText(link.boxTansformedRect);
    if (!link.toolTip.empty())
        out << " \"" << link.toolTip << '"';
    if (!link.url.empty())
        out << " -> " << link.url;
    if (!link.type.empty())
        out << " [" << link.type << "]";
    if (!group.empty())
        out << " group " << group;
    if (link.isInLine)
        out << " inline";
    if (!link.isVisible)
        out << " invisible";
    if (!link.answer.empty())
        out << " answer " << link.answer;
    if (link.linkType == 13) {
        out << " choices";
        for (const auto& item : companion::dropDownItems(link))
            out << " " << item;
    }
    if (auto instruction = link.propertyValue("instruction"); !instruction.empty())
        out << " instruction \"" << instruction << '"';
    out << '\n';
}

void printTree(std::ostream& out, const base::Value& nodes, size_t indent)
{
    // Walked with a stack of (node, depth), children pushed in reverse to keep their order.
    std::vector<std::pair<const base::Value*, size_t>> pending;
    auto pushChildren = [&](const base::Value& list, size_t depth) {
        if (const auto* entries = list.asList()) {
            for (auto entry = entries->rbegin(); entry != entries->rend(); ++entry)
                pending.emplace_back(&*entry, depth);
        }
    };
    pushChildren(nodes, indent);
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        out << std::string(depth, ' ') << (*node)["title"].description();
        if (!(*node)["pageID"].description().empty())
            out << " -> page " << (*node)["pageID"].description();
        out << '\n';
        pushChildren((*node)["subnodes"], depth + 2);
    }
}

} // namespace

void printPageMarkups(std::ostream& out, const lectoro::PXBookVO& book)
{
    out << "Markups:\n";
    for (const auto& page : book.pageList) {
        const auto& links = book.getLinksForForPagenumber(page->pageID);
        if (links.empty())
            continue;
        out << "  page " << page->pageID << " folio " << page->displayNum << " (" << links.size() << ")\n";
        auto groups = companion::multiLinkGroups(links);
        for (const auto& link : links) {
            std::string group;
            for (const auto& candidate : groups) {
                for (const auto& member : candidate.members) {
                    if (member == link)
                        group = candidate.key + " of " + std::to_string(candidate.members.size());
                }
            }
            printLink(out, *link, group);
        }
    }
    if (const auto* glossary = book.glossary.asDictionary()) {
        out << "Glossary (" << glossary->size() << "):\n";
        for (const auto& [key, entry] : *glossary) {
            const auto* media = entry["media"].asList();
            out << "  " << key << ": " << entry["term"].description() << " (" << (media ? media->size() : 0)
                << " media)\n";
        }
    }
    out << "Standards:\n";
    if (const auto* trees = book.standards.asList()) {
        for (const auto& tree : *trees) {
            out << "  " << tree["type"].description();
            if (!tree["role"].description().empty())
                out << " for " << tree["role"].description();
            out << '\n';
            printTree(out, tree["nodes"], 4);
        }
    }
}

} // namespace host
