#pragma once

// Page markups, links and their players as the reader shell calls them. The markups and
// players arrive with the interactive-content subsystem; until then no markup is drawn
// and no player is open, so the close operations only put the mode back.

#include "platform/ui/Geometry.h"

#include <memory>
#include <string>

namespace base {
class Value;
}

namespace ui {
class View;
}

namespace lectoro {

struct ReaderContext;

class PXLinkVO;

class ReaderInteractiveContent {
public:
    explicit ReaderInteractiveContent(ReaderContext&);

    void drawMarkupsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    // Protractors are not drawn on pages.
    void drawProtractorOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void setAccessibilityOnFIBs();

    void stopInlineVideo();
    void removeInlineYoutubePlayer();
    void resetAudioPlayer();
    bool hasAudioPlayer() const { return false; }
    // The player view's own size, centred in the reader's view.
    ui::Rect getFrameForAudioPlayerView(const ui::View& playerView) const;

    void removeMultiLinkPopOver();
    void removeGlossaryController();
    void removeInstructionMarkupPopOver();
    // Closes the multi-link list, glossary or instruction pop-up that the active mode says is
    // open; answers whether the mode was one of those.
    bool removePopOverForActiveMode();
    void removeFIBPopOver();
    void didSelectActionToCloseDropDown();
    // The protractor item has no action.
    void didTapOnProtractor();

    // A resource chosen in the contents panel: a page book's markup, or an EPUB resource
    // record. The link actions arrive with the interactive-content subsystem; until then
    // choosing one only goes to its page.
    void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>&) { }
    void actionForResource(const base::Value&) { }

private:
    ReaderContext& m_context;
};

} // namespace lectoro
