#include "LectoroSDKWithReader/contents/TOCRows.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace lectoro {

namespace {

std::optional<std::string> stringOf(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    return std::nullopt;
}

} // namespace

std::optional<std::string> nodeText(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    if (value.isNumber())
        return std::to_string(value.integerValue());
    return std::nullopt;
}

int TOCTreeRow::depth() const
{
    if (level.empty())
        return 1;
    return static_cast<int>(std::count(level.begin(), level.end(), '.')) + 1;
}

std::shared_ptr<TOCTreeRow> TOCTreeRow::fromNode(const base::Value& node)
{
    auto row = std::make_shared<TOCTreeRow>();
    row->title = node["title"].asString().value_or(
        node["title"].isNull() ? std::string() : node["title"].description());
    row->src = stringOf(node["src"]);
    row->pageID = node["pageID"];
    // Standards trees name their link "url"; resource rows "resourceURL".
    row->resourceURL = stringOf(node["resourceURL"]);
    if (!row->resourceURL)
        row->resourceURL = stringOf(node["url"]);
    // The books keep contents within 32 levels, so the recursion stays shallow.
    if (const auto* children = node["subnodes"].asList()) {
        for (const auto& child : *children) {
            if (child.isDictionary())
                row->subnodes.push_back(fromNode(child));
        }
    }
    return row;
}

TOCResourceEntry TOCResourceEntry::fromRecord(const base::Value& record, const PXBookVO* book)
{
    TOCResourceEntry entry;
    entry.title = stringOf(record["title"]).value_or(std::string());
    entry.pageID = nodeText(record["pageID"]);
    entry.folioNumber = nodeText(record["folioNumber"]);
    entry.src = stringOf(record["src"]);
    if (book) {
        if (auto linkID = nodeText(record["linkID"])) {
            if (auto found = book->links.find(*linkID); found != book->links.end())
                entry.linkVO = found->second;
        }
        if (entry.pageID)
            entry.chapter = book->getChapterForPageID(*entry.pageID);
        // A markup's own folio stands in for a row that names none.
        if (!entry.folioNumber && entry.linkVO && !entry.linkVO->folioNumber.empty())
            entry.folioNumber = entry.linkVO->folioNumber;
    } else {
        entry.record = record;
    }
    return entry;
}

std::string TOCResourceEntry::href() const
{
    return stringOf(record["href"]).value_or(std::string());
}

std::string TOCResourceEntry::resourceName() const
{
    return stringOf(record["resourceName"]).value_or(std::string());
}

std::string TOCResourceEntry::typeId() const
{
    return stringOf(record["typeId"]).value_or(std::string());
}

std::vector<const TOCResourceEntry*> sortedResources(const TOCResourceGroup& group, bool epubResources)
{
    std::vector<const TOCResourceEntry*> sorted;
    for (const auto& entry : group.resourceArray)
        sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(), [epubResources](const auto* a, const auto* b) {
        int first = epubResources
            ? base::localizedStandardCompare(a->href(), b->href())
            : base::localizedStandardCompare(a->pageID.value_or(""), b->pageID.value_or(""));
        if (first != 0)
            return first < 0;
        return epubResources ? base::compareCaseInsensitive(a->resourceName(), b->resourceName()) < 0
                             : base::compareCaseInsensitive(a->title, b->title) < 0;
    });
    return sorted;
}

} // namespace lectoro
