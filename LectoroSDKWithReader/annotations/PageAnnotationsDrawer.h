#pragma once

// Draws the user's content on the visible pages: which pages are on screen, what key each
// is stored under, which records are read for it and in which order they are handed to
// the renderer, and the icon shown at a note. A page that loads is drawn layer by layer
// by the reader's page-loaded callback through the same per-page operations.
//
// Page keys: a page book's page is stored under its page id ("%ld") and printed number;
// any other book's page under its file index ("%ld") for both. A reflowable book's
// highlights are read on the global queue and drawn on the main queue; each read draws
// the list it read for its own page, in whatever order they finish.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {
class View;
}

namespace lectoro {

class AnnotationsHost;
class SDKHighlightVO;
struct ReaderContext;

class PageAnnotationsDrawer {
public:
    PageAnnotationsDrawer(ReaderContext&, AnnotationsHost&);

    // The page key of each page on screen, in the renderer's order.
    std::vector<std::string> getActivePageIDs() const;
    // Everything the reader draws, page by page, each page completely before the next: a
    // page book gets highlights, bookmark (when enabled), pen drawings, markups, text
    // boxes and protractor; any other book highlights, bookmark and pen drawings.
    void relaodPageUGCForActivePages();

    void drawHighlightsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void drawPenDrawingsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    // A new label for each note the renderer draws.
    std::shared_ptr<ui::View> noteIconViewForHighlight(const std::shared_ptr<SDKHighlightVO>&) const;
    // Phones only: the bottom bar's page slider follows the loaded page.
    void updateIphoneBottomBarPageSliderForPageNumber(const std::string& pageNumber);

private:
    bool isPageBook() const;
    // A read of a layer of a page started now; only the newest one of each is drawn, so a
    // slow read that finishes after a later one cannot put back what that one left out.
    uint64_t startRead(const std::string& layerAndPage);
    bool isNewestRead(const std::string& layerAndPage, uint64_t read) const;

    ReaderContext& m_context;
    AnnotationsHost& m_host;
    // Reads that finish after the reader is gone find it gone through this token.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::unordered_map<std::string, uint64_t> m_newestReads;
    uint64_t m_reads = 0;
};

} // namespace lectoro
