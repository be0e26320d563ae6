#pragma once

// The rows of the contents panel. The book hands its contents, standards and resources
// over as dictionaries (base::Value); the panel turns them into these records once, so
// expanding and collapsing never writes into what the host or the book handed in.
//
// Tree rows (contents, standards, external resources) are shared: a nested row is both
// one of its parent's `subnodes` and, while shown, an entry of the top-level row's
// `subCatArray`, the flat list of nested rows the table shows under that top-level row.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class PXBookVO;
class PXChapterVO;
class PXLinkVO;

struct TOCTreeRow {
    std::string title;
    // The chapter file (with its fragment) of an EPUB node, the page of a page book's.
    std::optional<std::string> src;
    // As the book gives it: the page id of a page book, the file index of an EPUB chapter.
    base::Value pageID;
    // The web or book link of a standards or external-resource node.
    std::optional<std::string> resourceURL;
    // Outline number of a nested row ("4.1.3"); empty on top-level rows.
    std::string level;
    bool isExpanded = false;
    bool isCurrentPage = false;
    std::vector<std::shared_ptr<TOCTreeRow>> subnodes;
    // Top-level rows only: the nested rows shown under the row, in display order.
    std::vector<std::shared_ptr<TOCTreeRow>> subCatArray;

    bool hasChildren() const { return !subnodes.empty(); }
    // Nested rows are 1 deeper per "." of their level; a top-level row is depth 1.
    int depth() const;

    // A detached copy of a node and its descendants (children of any depth become rows).
    static std::shared_ptr<TOCTreeRow> fromNode(const base::Value& node);
};

// A resource listed under a chapter: a page book's markup shown in the resources tab, or
// an EPUB book's resource record.
struct TOCResourceEntry {
    std::string title;
    std::optional<std::string> pageID;
    std::optional<std::string> folioNumber;
    std::optional<std::string> src;
    std::shared_ptr<PXLinkVO> linkVO;
    std::shared_ptr<PXChapterVO> chapter;
    // An EPUB resource record ("href", "resourceName", "typeId", "chapter"); null for a
    // page book's markup.
    base::Value record;

    // A resource row of the book's resources list; a page book's entry finds its link
    // record through "linkID".
    static TOCResourceEntry fromRecord(const base::Value& record, const PXBookVO* book);
    bool isEpubResource() const { return record.isDictionary(); }
    std::string href() const;
    std::string resourceName() const;
    std::string typeId() const;
};

// The resources of one chapter: a section of the internal-resources list.
struct TOCResourceGroup {
    std::vector<TOCResourceEntry> resourceArray;
    std::string chapterName;
    std::optional<std::string> pageID;
    std::optional<int64_t> chapterID;
    std::optional<std::string> src;
    bool isExpanded = false;
    bool isCurrentChapter = false;
};

// Text of a value as a row key reads it: a string unchanged, a number as "%d", nothing
// for anything else.
std::optional<std::string> nodeText(const base::Value&);

// The entries of a group in the order the list shows them: EPUB resources by href then
// name, others by page id (as people read numbers) then title, both ignoring case.
std::vector<const TOCResourceEntry*> sortedResources(const TOCResourceGroup&, bool epubResources);

} // namespace lectoro
