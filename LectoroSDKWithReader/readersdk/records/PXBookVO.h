#pragma once

// A page book: fixed pages with printed folios, grouped in chapters, carrying markups.

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXChapterVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXPageVO.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lectoro {

class PXBookVO : public LectoroBookVO {
public:
    LectoroBookKind kind() const override { return LectoroBookKind::PageBook; }

    base::Value getThumbnailData() const override;
    base::Value getBookContentForTOC() const override { return contents; }
    base::Value getBookResourcesForTOC() const override;
    // Resources marked with that standard type ("TEKS", "ELPS", "TOR") for that role, then
    // the top nodes of the standards trees of that type for that role; a resource or tree
    // without a role is for everyone.
    base::Value getBookResourcesForTORSubnodesForRole(const std::string& role, const std::string& standardType) const;

    // The chapter holding the page id given as text; null for none.
    std::shared_ptr<PXChapterVO> getChapterForPageID(const std::string& pageID) const;
    // The page's links in drawing order, the same objects on every call; empty for an
    // unknown page.
    const std::vector<std::shared_ptr<PXLinkVO>>& getLinksForForPagenumber(int64_t pageID) const;
    std::shared_ptr<PXPageVO> pageForPagenumber(int64_t pageID) const;
    // The nearest page before `pageID` that has audio-sync markups; null for none.
    std::shared_ptr<PXPageVO> getPrevAudioLinkPagefromCurrentPageNumber(int64_t pageID) const;

    // Keyed by "%ld" of the page id; pageList keeps book order.
    std::unordered_map<std::string, std::shared_ptr<PXPageVO>> pages;
    std::vector<std::shared_ptr<PXPageVO>> pageList;
    // Every link of the book, keyed by "%ld" of the link id.
    std::unordered_map<std::string, std::shared_ptr<PXLinkVO>> links;
    std::vector<std::shared_ptr<PXChapterVO>> chapters;
    base::Value contents = base::Value::List {};
    // Term key (a glossary link's url) to its entry {"term", "description", ...}.
    base::Value glossary = base::Value::Dictionary {};
    // {"title", "pageID", "linkID", "folioNumber", "type", "url", "role", "standard"}.
    base::Value resources = base::Value::List {};
    // Standards trees: {"type" ("TEKS", "ELPS", "TOR"), "role" (empty: everyone), "nodes"},
    // each node {"title", "src", "pageID", "url", "subnodes"}.
    base::Value standards = base::Value::List {};
    // The key of the book's protected media, handed to players untouched; empty for a
    // book whose media is plain.
    std::string contentKey;
    bool isReadAloudEnabled = false;
    // 0 portrait, 1 landscape, 2 either.
    int bookOrientationType = 2;
};

} // namespace lectoro
