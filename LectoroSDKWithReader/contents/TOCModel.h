#pragma once

// What the contents panel shows, without its views: the rows of each tab built from the
// book's contents, standards and resources, the chapter of the current page opened,
// which bookmark is the current page's, opening and closing branches, and the target a
// row, bookmark or resource leads to.

#include "LectoroSDKWithReader/contents/TOCRows.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LectoroBookVO;
class PXPageVO;
class SDKBookmarkVO;

// The tabs (raw values of the panel's `selectedButton`).
enum TOCFilter : int32_t {
    TOCFilterContents = 0,
    TOCFilterResources = 1,
    TOCFilterBookmarks = 2,
    TOCFilterStandards = 3,
};

// The panel's segment numbering, kept for callers that count from 1.
enum class SelectedSegment : int32_t { TOC = 1, Bookmark = 2, Resources = 3 };
std::optional<SelectedSegment> selectedSegmentFromRaw(int64_t raw);

class TOCModel {
public:
    TOCModel(std::shared_ptr<LectoroBookVO> book, int64_t currentChapter, std::string currentChapterName,
        std::vector<RendererPage> activePages);

    const std::shared_ptr<LectoroBookVO>& currentBook() const { return m_book; }
    int64_t currentChapter() const { return m_currentChapter; }
    const std::string& currentChapterName() const { return m_currentChapterName; }
    const std::vector<RendererPage>& activePages() const { return m_activePages; }
    bool isPageBook() const;
    // An EPUB book whose metadata says fixed layout (its resources are EPUB records).
    bool isFixedLayoutEpub() const;
    bool isReflowableEpub() const;

    // Contents: one top-level row per node; the chapter holding the current page opens,
    // and in a page book its current second-level entry opens too.
    void setDataWithData(const base::Value& nodes);
    // Standards and external resources: the same walk, every row closed.
    void setStandardDataWithData(const base::Value& nodes);
    void setExternalResourcesDataWithData(const base::Value& nodes);

    const std::vector<std::shared_ptr<TOCTreeRow>>& dataArray() const { return m_dataArray; }
    const std::vector<std::shared_ptr<TOCTreeRow>>& standardResourceArray() const
    {
        return m_standardResourceArray;
    }
    const std::vector<std::shared_ptr<TOCTreeRow>>& externalResourceArray() const
    {
        return m_externalResourceArray;
    }
    std::vector<TOCResourceGroup>& resourceGroups() { return m_resourceGroups; }
    const std::vector<TOCResourceGroup>& resourceGroups() const { return m_resourceGroups; }
    void setResourceGroups(std::vector<TOCResourceGroup> groups) { m_resourceGroups = std::move(groups); }
    const std::vector<std::shared_ptr<SDKBookmarkVO>>& bookMarkArray() const { return m_bookMarkArray; }
    void setBookMarkArray(std::vector<std::shared_ptr<SDKBookmarkVO>> bookmarks)
    {
        m_bookMarkArray = std::move(bookmarks);
    }

    bool isCurrentPageNode(const TOCTreeRow&) const;
    bool checkIfCurrentPageBookMark(const SDKBookmarkVO&) const;
    // The current chapter of a page book holds the row's page.
    bool isRowInCurrentChapter(const TOCTreeRow&) const;

    // A page's markups listed under the resources tab: shown under it, with a tooltip, and
    // of a type that opens something.
    static std::vector<TOCResourceEntry> collectPageResources(const PXPageVO&);
    // Entries sorted by page, then one group per chapter in the order of each chapter's
    // first page; the current chapter's group opens.
    std::vector<TOCResourceGroup> groupResourcesByChapter(std::vector<TOCResourceEntry> entries) const;
    // Both steps over every page of a page book.
    std::vector<TOCResourceGroup> collectAndGroupResources() const;

    // Tree rows of a tab (contents, standards, external resources); empty for the others.
    std::vector<std::shared_ptr<TOCTreeRow>>* treeRowsForTab(int32_t tab, bool externalResources);
    // A section header's arrow: opens or closes the top-level row (closing closes every
    // branch below it) or the resource group. Answers whether anything changed.
    bool toggleSection(int32_t tab, bool externalResources, int section);
    // A row's arrow: opens or closes a nested row in place. A row without children is a
    // leaf: nothing changes and its page id ("%d") is answered for the caller to go to.
    std::optional<std::string> toggleRow(int32_t tab, bool externalResources, int section, int row);

    // Where a bookmark leads: "<href>#<position or local id>BOOKMARK" in a reflowable
    // book, its printed page otherwise.
    static std::string navigationTargetForBookmark(const SDKBookmarkVO&);
    // Where a row leads: its chapter file, else its folio, else its page id, else "1".
    static std::string navigationTargetForRow(const TOCTreeRow&);
    // A contents row of this book: a page book's row names its page by id (its "src" is
    // the page image), so it leads to that page's folio; other books as above.
    std::string navigationTargetForContentsRow(const TOCTreeRow&) const;
    static std::string navigationTargetForResource(const TOCResourceEntry&);
    static std::string navigationTargetForGroup(const TOCResourceGroup&);

private:
    void buildTree(
        const base::Value& nodes, std::vector<std::shared_ptr<TOCTreeRow>>& into, bool markCurrent);
    bool prepareContentsNode(const std::shared_ptr<TOCTreeRow>& node, const std::string& parentLevel,
        int index, std::vector<std::shared_ptr<TOCTreeRow>>& chapterList, bool markCurrent);

    std::shared_ptr<LectoroBookVO> m_book;
    int64_t m_currentChapter = 0;
    std::string m_currentChapterName;
    std::vector<RendererPage> m_activePages;

    std::vector<std::shared_ptr<TOCTreeRow>> m_dataArray;
    std::vector<std::shared_ptr<TOCTreeRow>> m_standardResourceArray;
    // The resources tab holds either list; they are kept apart so that only the internal
    // groups are ever handed on to the next panel.
    std::vector<std::shared_ptr<TOCTreeRow>> m_externalResourceArray;
    std::vector<TOCResourceGroup> m_resourceGroups;
    std::vector<std::shared_ptr<SDKBookmarkVO>> m_bookMarkArray;
};

} // namespace lectoro
