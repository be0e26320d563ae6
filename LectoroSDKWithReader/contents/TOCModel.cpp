#include "LectoroSDKWithReader/contents/TOCModel.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace lectoro {

std::optional<SelectedSegment> selectedSegmentFromRaw(int64_t raw)
{
    if (raw < 1 || raw > 3)
        return std::nullopt;
    return static_cast<SelectedSegment>(raw);
}

TOCModel::TOCModel(std::shared_ptr<LectoroBookVO> book, int64_t currentChapter,
    std::string currentChapterName, std::vector<RendererPage> activePages)
    : m_book(std::move(book))
    , m_currentChapter(currentChapter)
    , m_currentChapterName(std::move(currentChapterName))
    , m_activePages(std::move(activePages))
{
}

bool TOCModel::isPageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_book) != nullptr;
}

bool TOCModel::isFixedLayoutEpub() const
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_book);
    return epub && epub->isFixedLayout();
}

bool TOCModel::isReflowableEpub() const
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_book);
    return epub && epub->isReflowable();
}

// MARK: - Building the trees

void TOCModel::setDataWithData(const base::Value& nodes)
{
    buildTree(nodes, m_dataArray, true);
}

void TOCModel::setStandardDataWithData(const base::Value& nodes)
{
    buildTree(nodes, m_standardResourceArray, false);
}

void TOCModel::setExternalResourcesDataWithData(const base::Value& nodes)
{
    buildTree(nodes, m_externalResourceArray, false);
}

void TOCModel::buildTree(
    const base::Value& nodes, std::vector<std::shared_ptr<TOCTreeRow>>& into, bool markCurrent)
{
    into.clear();
    const auto* list = nodes.asList();
    if (!list)
        return;
    int top = 0;
    for (const auto& node : *list) {
        if (!node.isDictionary())
            continue;
        auto row = TOCTreeRow::fromNode(node);
        row->isExpanded = false;
        row->isCurrentPage = markCurrent && isCurrentPageNode(*row);
        row->subCatArray.clear();
        std::string level = std::to_string(top + 1);
        for (size_t index = 0; index < row->subnodes.size(); ++index) {
            const auto& subnode = row->subnodes[index];
            row->subCatArray.push_back(subnode);
            if (prepareContentsNode(subnode, level, static_cast<int>(index), row->subCatArray, markCurrent))
                row->isExpanded = true;
        }
        into.push_back(std::move(row));
        ++top;
    }
}

bool TOCModel::prepareContentsNode(const std::shared_ptr<TOCTreeRow>& node, const std::string& parentLevel,
    int index, std::vector<std::shared_ptr<TOCTreeRow>>& chapterList, bool markCurrent)
{
    node->isExpanded = false;
    bool current = markCurrent && isCurrentPageNode(*node);
    node->isCurrentPage = current;
    bool onPath = current;
    node->level = parentLevel + "." + std::to_string(index + 1);
    for (size_t child = 0; child < node->subnodes.size(); ++child) {
        if (prepareContentsNode(
                node->subnodes[child], node->level, static_cast<int>(child), chapterList, markCurrent))
            onPath = true;
    }
    // A second-level entry on the current page's path opens in a page book, its children
    // following it in the chapter's list.
    bool secondLevel = parentLevel.find('.') == std::string::npos;
    if (onPath && secondLevel && node->hasChildren() && isPageBook()) {
        node->isExpanded = true;
        auto at = std::find(chapterList.begin(), chapterList.end(), node);
        if (at != chapterList.end())
            chapterList.insert(at + 1, node->subnodes.begin(), node->subnodes.end());
    }
    return onPath;
}

bool TOCModel::isCurrentPageNode(const TOCTreeRow& node) const
{
    if (m_activePages.empty())
        return false;
    const auto& page = m_activePages.front();
    if (isPageBook()) {
        auto pageID = node.pageID.asInteger();
        return pageID && *pageID == page.pageID;
    }
    if (std::dynamic_pointer_cast<EPUBBookVO>(m_book))
        return node.src && !page.href.empty() && node.src->find(page.href) != std::string::npos;
    return false;
}

bool TOCModel::checkIfCurrentPageBookMark(const SDKBookmarkVO& bookmark) const
{
    if (m_activePages.empty() || bookmark.pageIdentifier.empty())
        return false;
    const auto& page = m_activePages.front();
    if (isPageBook())
        return bookmark.pageIdentifier == std::to_string(page.pageID);
    if (std::dynamic_pointer_cast<EPUBBookVO>(m_book))
        return bookmark.pageIdentifier == std::to_string(page.fileIndex);
    return false;
}

bool TOCModel::isRowInCurrentChapter(const TOCTreeRow& row) const
{
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_book);
    if (!book || !row.pageID.isNumber())
        return false;
    auto chapter = book->getChapterForPageID(std::to_string(row.pageID.integerValue()));
    return chapter && chapter->chapterID == m_currentChapter;
}

// MARK: - Resources of a page book

std::vector<TOCResourceEntry> TOCModel::collectPageResources(const PXPageVO& page)
{
    static const std::set<int32_t> skipped { 0, 5, 7, 8, 11, 13, 20, 23 };
    std::vector<TOCResourceEntry> entries;
    for (const auto& link : page.linkOrder) {
        if (!link || skipped.count(link->linkType) || !link->isDisplayUnderTOR || link->toolTip.empty())
            continue;
        TOCResourceEntry entry;
        entry.title = link->toolTip;
        entry.pageID = link->pageID;
        entry.linkVO = link;
        entry.folioNumber = link->folioNumber;
        entries.push_back(std::move(entry));
    }
    return entries;
}

namespace {

// The sort key of a resource's page: its whole text as an integer, 0 otherwise.
int64_t pageKey(const std::optional<std::string>& pageID)
{
    if (!pageID || pageID->empty())
        return 0;
    int64_t value = 0;
    const char* end = pageID->data() + pageID->size();
    auto [ptr, error] = std::from_chars(pageID->data(), end, value);
    return error == std::errc() && ptr == end ? value : 0;
}

} // namespace

std::vector<TOCResourceGroup> TOCModel::groupResourcesByChapter(std::vector<TOCResourceEntry> entries) const
{
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_book);
    std::stable_sort(entries.begin(), entries.end(),
        [](const auto& a, const auto& b) { return pageKey(a.pageID) < pageKey(b.pageID); });
    for (auto& entry : entries)
        entry.chapter = book && entry.pageID ? book->getChapterForPageID(*entry.pageID) : nullptr;

    std::vector<TOCResourceGroup> groups;
    while (!entries.empty()) {
        TOCResourceEntry first = entries.front();
        TOCResourceGroup group;
        std::set<std::optional<std::string>> pages;
        for (const auto& entry : entries) {
            if (entry.chapter == first.chapter) {
                group.resourceArray.push_back(entry);
                pages.insert(entry.pageID);
            }
        }
        std::erase_if(entries, [&](const auto& entry) { return pages.count(entry.pageID) > 0; });
        const auto& chapter = first.chapter;
        group.chapterName = chapter && !chapter->title.empty() ? chapter->title : m_currentChapterName;
        group.pageID = first.pageID;
        if (chapter)
            group.chapterID = chapter->chapterID;
        group.isCurrentChapter = group.isExpanded = chapter && chapter->chapterID == m_currentChapter;
        groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<TOCResourceGroup> TOCModel::collectAndGroupResources() const
{
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_book);
    if (!book)
        return {};
    std::vector<TOCResourceEntry> entries;
    for (const auto& page : book->pageList) {
        if (!page)
            continue;
        auto found = collectPageResources(*page);
        entries.insert(
            entries.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }
    return groupResourcesByChapter(std::move(entries));
}

// MARK: - Opening and closing

std::vector<std::shared_ptr<TOCTreeRow>>* TOCModel::treeRowsForTab(int32_t tab, bool externalResources)
{
    switch (tab) {
    case TOCFilterContents:
        return &m_dataArray;
    case TOCFilterStandards:
        return &m_standardResourceArray;
    case TOCFilterResources:
        return externalResources ? &m_externalResourceArray : nullptr;
    default:
        return nullptr;
    }
}

bool TOCModel::toggleSection(int32_t tab, bool externalResources, int section)
{
    if (section < 0)
        return false;
    if (tab == TOCFilterResources && !externalResources) {
        if (static_cast<size_t>(section) >= m_resourceGroups.size())
            return false;
        auto& group = m_resourceGroups[static_cast<size_t>(section)];
        if (group.resourceArray.empty())
            return false;
        group.isExpanded = !group.isExpanded;
        return true;
    }
    auto* rows = treeRowsForTab(tab, externalResources);
    if (!rows || static_cast<size_t>(section) >= rows->size())
        return false;
    auto& row = *(*rows)[static_cast<size_t>(section)];
    if (!row.hasChildren())
        return false;
    if (row.isExpanded) {
        row.isExpanded = false;
        for (const auto& child : row.subnodes)
            child->isExpanded = false;
        row.subCatArray = row.subnodes;
    } else {
        row.isExpanded = true;
    }
    return true;
}

namespace {

void collectDescendants(const TOCTreeRow& row, std::set<const TOCTreeRow*>& into)
{
    for (const auto& child : row.subnodes) {
        into.insert(child.get());
        collectDescendants(*child, into);
    }
}

} // namespace

std::optional<std::string> TOCModel::toggleRow(int32_t tab, bool externalResources, int section, int row)
{
    auto* rows = treeRowsForTab(tab, externalResources);
    if (!rows || section < 0 || static_cast<size_t>(section) >= rows->size() || row < 0)
        return std::nullopt;
    auto& list = (*rows)[static_cast<size_t>(section)]->subCatArray;
    if (static_cast<size_t>(row) >= list.size())
        return std::nullopt;
    auto tapped = list[static_cast<size_t>(row)];
    if (!tapped->hasChildren())
        return tapped->pageID.isNull() ? std::string() : std::to_string(tapped->pageID.integerValue());
    auto after = list.begin() + row + 1;
    if (!tapped->isExpanded) {
        tapped->isExpanded = true;
        for (const auto& child : tapped->subnodes)
            child->isExpanded = false;
        list.insert(after, tapped->subnodes.begin(), tapped->subnodes.end());
    } else {
        tapped->isExpanded = false;
        // Every row shown below the tapped one that belongs to its branch goes, however
        // deep the branch was opened.
        std::set<const TOCTreeRow*> branch;
        collectDescendants(*tapped, branch);
        auto end = after;
        while (end != list.end() && branch.count(end->get()))
            ++end;
        list.erase(after, end);
    }
    return std::nullopt;
}

// MARK: - Targets

std::string TOCModel::navigationTargetForBookmark(const SDKBookmarkVO& bookmark)
{
    if (!bookmark.href.empty()) {
        const std::string& position
            = bookmark.positionIdentifier.empty() ? bookmark.localID : bookmark.positionIdentifier;
        return bookmark.href + "#" + position + "BOOKMARK";
    }
    return bookmark.displayNum;
}

std::string TOCModel::navigationTargetForRow(const TOCTreeRow& row)
{
    if (row.src)
        return *row.src;
    return nodeText(row.pageID).value_or("1");
}

std::string TOCModel::navigationTargetForContentsRow(const TOCTreeRow& row) const
{
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_book);
    if (!book || !row.pageID.isNumber())
        return navigationTargetForRow(row);
    auto page = book->pageForPagenumber(row.pageID.integerValue());
    if (page && !page->displayNum.empty())
        return page->displayNum;
    return std::to_string(row.pageID.integerValue());
}

std::string TOCModel::navigationTargetForResource(const TOCResourceEntry& entry)
{
    if (entry.src)
        return *entry.src;
    if (entry.folioNumber)
        return *entry.folioNumber;
    return entry.pageID.value_or("1");
}

std::string TOCModel::navigationTargetForGroup(const TOCResourceGroup& group)
{
    if (group.src)
        return *group.src;
    if (!group.resourceArray.empty() && group.resourceArray.front().folioNumber)
        return *group.resourceArray.front().folioNumber;
    return group.pageID.value_or("1");
}

} // namespace lectoro
