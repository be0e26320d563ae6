#pragma once

// A page of a page book.

#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lectoro {

// A protractor the book places on a page, in page space, as the renderer first shows it.
struct PXProtractorPlacement {
    ui::Rect frame;
    double rotation = 0;
};

class PXPageVO {
public:
    // Audio-sync markups of the page (links that carry audio-sync entries), in drawing
    // order; empty when there are none.
    std::vector<std::shared_ptr<PXLinkVO>> getAudioSyncTypeLinks() const;

    // What the renderer navigates to ("PageNo").
    int64_t pageID = 0;
    // The page's number; the same value as pageID in the books the companion reads.
    int32_t pageNum = 0;
    // The printed folio: digits, a roman numeral or another label.
    std::string displayNum;
    int64_t chapterID = 0;
    // Book-relative path of the page image, and the absolute path of its thumbnail.
    std::string src;
    std::string thumbnailPath;
    ui::Size size;
    // The page's text, for search and read-aloud.
    std::string text;
    // Keyed by "%ld" of the link id; linkOrder keeps the drawing order.
    std::unordered_map<std::string, std::shared_ptr<PXLinkVO>> links;
    std::vector<std::shared_ptr<PXLinkVO>> linkOrder;
    std::vector<PXProtractorPlacement> protractors;
};

} // namespace lectoro
