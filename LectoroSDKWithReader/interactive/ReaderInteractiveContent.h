#pragma once

// Interactive content: a fixed-layout page's markups (drawn on every page load), what a
// tap on each does by link type, the glossary pop-up and the multi-link list. The reader
// owns one; it reaches the reader through InteractiveReader and the shared ReaderContext.
//
// Players, answers and web content open through the operations reported as MarkupActions
// (operation names as the players take them); they record the request until the players
// arrive, so a host or test can see which action a tap reached.

#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace base {
class Value;
}

namespace ui {
class View;
class ViewController;
} // namespace ui

namespace lectoro {

struct ReaderContext;
class GlossaryViewController;
class InteractiveAnswers;
class InteractiveMarkupPlayers;
class InteractiveReader;
class InteractiveWebContent;
class MarkupHitAreaDelegate;
class MarkupHitAreaLabel;
class MarkupView;
class MultiLinkController;
class PXBookVO;
class PXLinkVO;

// What a markup tap reached: the operation ("videoPlayer", "alertForNoMarkUp",
// "navigateToPageNumber"...), its main argument (address, page, book) and the link.
struct MarkupAction {
    std::string operation;
    std::string argument;
    int64_t linkID = 0;
};

class PXLinkVO;

class ReaderInteractiveContent {
public:
    ReaderInteractiveContent(ReaderContext&, InteractiveReader&);
    ~ReaderInteractiveContent();

    // --- Drawing (MarkupDrawing.cpp) ---
    void drawMarkupsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    // Protractors are not drawn on pages.
    void drawProtractorOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void setAccessibilityOnFIBs();
    void addAccessibilityOnMarkups(const PXLinkVO&);
    // The links handed to the renderer for the page drawn last.
    const std::vector<std::shared_ptr<PXLinkVO>>& multiLinksArray() const { return m_multiLinksArray; }
    const std::vector<std::shared_ptr<ui::View>>& fibArrayForAccessibility() const { return m_fibArrayForAccessibility; }

    // --- Link actions (LinkActions.cpp) ---
    void didTapOnLink(MarkupView&);
    void didTapOnMarkupHitArea(MarkupHitAreaLabel&);
    void actionForLink(const std::shared_ptr<PXLinkVO>&);
    void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>& link) { actionForLink(link); }
    // A resource row of the contents panel: a book-relative asset (or page, or address) and
    // its kind 1 audio, 2 video, 3 image, 4 document, 5 page, 6 web page.
    void actionForResource(const std::string& assetPath, int32_t epubLinkType);
    // The same for an EPUB resource record of the contents panel ("assetPath", "epubLinkType").
    void actionForResource(const base::Value& resource);
    void alertForNoMarkUp();
    void loadJumpToBookMarkUp(const PXLinkVO&);
    void loadImageMarkup(const PXLinkVO&);
    bool isExternalResource() const { return m_isExternalResource; }

    // --- Glossary (ReaderInteractiveContent.cpp) ---
    void loadGlossaryMarkUp(const PXLinkVO&);
    void removeGlossaryController();
    // The tablet's glossary pop-over was closed by a tap beside it.
    void glossaryPopoverDidDismiss();
    void didSelectGlossaryItemWithType(int64_t kind, const std::string& path);
    std::shared_ptr<GlossaryViewController> glossaryViewController() const { return m_glossary; }

    // --- Multi-link list ---
    void loadMultiLinkMarkup(const PXLinkVO& group);
    std::vector<std::shared_ptr<PXLinkVO>> getLinksArrayForMultiLink(const PXLinkVO& group) const;
    void didSelectLinkVo(const std::shared_ptr<PXLinkVO>&);
    void removeMultiLinkPopOver();
    std::shared_ptr<MultiLinkController> multiLinkController() const { return m_multiLinkController; }

    // --- Answers, players and web content (their own feature objects) ---
    InteractiveAnswers& answers() { return *m_answers; }
    InteractiveMarkupPlayers& players() { return *m_players; }
    InteractiveWebContent& webContent() { return *m_web; }
    void stopInlineVideo();
    void removeInlineYoutubePlayer();
    void resetAudioPlayer();
    bool hasAudioPlayer() const;
    // The player view's own size, centred in the reader's view.
    ui::Rect getFrameForAudioPlayerView(const ui::View& playerView) const;
    void removeInstructionMarkupPopOver();
    // Closes the multi-link list, glossary or instruction pop-up that the active mode says is
    // open; answers whether the mode was one of those.
    bool removePopOverForActiveMode();
    void removeFIBPopOver();
    void didSelectActionToCloseDropDown();
    // The protractor item has no action, and the reader draws no protractor of its own:
    // the renderer draws the ones it reports.
    void didTapOnProtractor() { }
    void removeProtractorView() { }
    void setFibArrayForAccessibility(std::vector<std::shared_ptr<ui::View>> views)
    {
        m_fibArrayForAccessibility = std::move(views);
        setAccessibilityOnFIBs();
    }

    // Every action a markup tap reaches is reported here (the host's demo, tests).
    void setActionObserver(std::function<void(const MarkupAction&)> observer) { m_observer = std::move(observer); }


private:
    class Delegates;

    std::shared_ptr<PXBookVO> pageBook() const;
    std::weak_ptr<MarkupHitAreaDelegate> hitAreaDelegate() const;
    MarkupDevice device() const { return MarkupDevice::current(); }
    std::shared_ptr<MarkupView> makeIcon(int64_t pageID, int64_t linkID, bool tappable);
    void applyIconLook(MarkupView&, const std::string& title, const ui::Rect& frame, bool bordered);
    void checkInvisibleMultiLinkMarkup(int64_t pageID);
    std::vector<std::shared_ptr<const void>>& holdViewsOfPage(int64_t pageID);
    void actByType(const std::shared_ptr<PXLinkVO>&);
    // The file a link names inside the book (base::pathInsideFolder), or its web address;
    // none, after the "Resource not found" alert, for a path leaving the book.
    std::optional<std::string> linkedFile(const PXLinkVO&);
    void trackLinkOpen(const PXLinkVO&);
    void notifyMarkupEvent(const std::string& value);
    void openWebLink(const std::shared_ptr<PXLinkVO>&);
    void openAudio(const std::shared_ptr<PXLinkVO>&);
    bool showOfflineAlertIfNeeded();
    void report(std::string operation, std::string argument, int64_t linkID = 0);

    ReaderContext& m_context;
    InteractiveReader& m_reader;
    std::shared_ptr<Delegates> m_delegates;
    std::vector<std::shared_ptr<PXLinkVO>> m_multiLinksArray;
    std::vector<std::shared_ptr<ui::View>> m_fibArrayForAccessibility;
    std::map<int64_t, std::vector<std::shared_ptr<const void>>> m_pageViews;
    bool m_isExternalResource = false;
    std::shared_ptr<GlossaryViewController> m_glossary;
    std::shared_ptr<MultiLinkController> m_multiLinkController;
    std::function<void(const MarkupAction&)> m_observer;
    std::unique_ptr<InteractiveAnswers> m_answers;
    std::unique_ptr<InteractiveMarkupPlayers> m_players;
    std::unique_ptr<InteractiveWebContent> m_web;
};

} // namespace lectoro
