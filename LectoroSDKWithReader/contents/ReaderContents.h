#pragma once

// The contents panel and the thumbnail browsers as the reader opens them. This feature
// keeps the open panel and answers its requests (standards and resources by the user's
// role, web links); page changes, link actions and closing go back to the reader through
// ContentsHost. It also opens the thumbnail panels (ReaderThumbnails.cpp): the page-
// thumbnail browser of page books and of fixed-layout EPUB books that offer thumbnails,
// and the slider page navigator of the other EPUB books, and answers the navigator.

#include "LectoroSDKWithReader/contents/TOCRows.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/base/URL.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class ViewController;
}

namespace lectoro {

class ContentsHost;
class LectoroWebPlayer;
class LXFixedEpubThumbnailViewController;
class LXThumbnailViewController;
class TOCViewController;
struct RendererPage;
struct ReaderContext;

class ReaderContents {
public:
    ReaderContents(ReaderContext&, ContentsHost&);
    ~ReaderContents();

    // The first entry of an EPUB book's page list whose href equals the href exactly.
    std::optional<EPUBPageListEntryVO> getEpubTOCPageFromHref(const std::string& href) const;

    // The first page-list entry whose href, cut before its "#", equals the href.
    std::optional<EPUBPageListEntryVO> getEpubTOCPageFromHrefForReflow(const std::string& href) const;
    // The position in the page list of the first entry whose href is the src; 0 for none.
    int64_t getFileIndexFromSRCForReflow(const std::string& src) const;
    // The "SRC" of the first page whose display number is the number with its spaces
    // removed, ignoring case; "" for none.
    std::string getPageAnchorForThumbnailNumber(const std::string& number) const;
    // The history buttons' states for n entries with entry i current: both off with
    // fewer than two entries, else back when i > 0 and forward when i < n - 1.
    static std::pair<bool, bool> historyButtonStates(size_t count, int32_t index);

    // Forwarded to the open fixed-layout thumbnail panel; nothing when none is open.
    void enablePreviousPageHistory(bool);
    void enableNextPageHistory(bool);
    bool previousPageHistoryEnabled() const { return m_previousHistoryEnabled; }
    bool nextPageHistoryEnabled() const { return m_nextHistoryEnabled; }

    // Opens the contents panel over the reader (the toolbar's contents item).
    void showTOC();
    // The reader's own closing steps have run; the panel dismisses itself.
    void removeTOC() { }
    const std::shared_ptr<TOCViewController>& tocViewController() const { return m_tocViewController; }

    // Thumbnail panels (ReaderThumbnails.cpp).
    void actionForThumbnail();
    void actionForFixedEpubThumbnail();
    void actionForReflowThumbnail();
    // Restores the reader's mode (teacher review stays), dismisses the browser and
    // clears the toolbar selections.
    void removeThumbnail();
    const std::shared_ptr<LXThumbnailViewController>& thumbnailViewController() const { return m_thumbnailVC; }
    const std::shared_ptr<LXFixedEpubThumbnailViewController>& fixedEpubThumbnailVC() const
    {
        return m_fixedEpubThumbnailVC;
    }
    // The navigator's requests.
    void navigateToPageNo(const std::string& src);
    void didPerformActionToCloseThumbnail();
    void didClickHistoryPreviousForFixedEpub();
    void didClickHistoryNextForFixedEpub();
    void removeFixedEpubThumbnail();
    void enableHistoryButtonsForFixedEpubThumbnail();
    // After a size change: the open browser marks the pages now on screen.
    void reselectThumbnailPages();

    // The internal resources of books other than page books, grouped by chapter.
    std::vector<TOCResourceGroup> getResourceData() const;
    // The book's resources whose chapter has the node's title.
    std::vector<TOCResourceEntry> resourcesForChapter(const base::Value& node) const;
    // Standards of that type ("TEKS", "ELPS", "TOR") for the user's role.
    base::Value standardsForType(const std::string& type) const;

    // The panel's requests (the reader's side of them).
    void didSelectTEKSStandard();
    void didSelectELPSStandard();
    std::vector<TOCResourceGroup> didSelectInternalResources();
    void didSelectExternalResources();
    void didLoadWebLinkForStandardsWithWebLink(const std::string& link);
    void didLoadWebLinkForExternalResourcesWithWebLink(const std::string& link);
    void sessionExpiredOnTOC();
    void loadWebPlayerForStandardActivityWithURL(const base::URL&);
    // Where a link of a standard or an external resource leads: a web address as it is,
    // anything else a file inside the book folder; none for a link that is neither.
    std::optional<base::URL> urlForWebLink(const std::string& link) const;
    const std::shared_ptr<LectoroWebPlayer>& webPlayer() const { return m_webPlayer; }
    void closeWebPlayer();

private:
    class PanelDelegate;
    class ThumbnailDelegate;
    static std::shared_ptr<ThumbnailDelegate> makeThumbnailDelegate(ReaderContents&);
    std::shared_ptr<LXFixedEpubThumbnailViewController> makeFixedEpubThumbnail();
    void markActivePages(LXThumbnailViewController&);
    void presentThumbnailPanel(const std::shared_ptr<ui::ViewController>&, bool padOverFullScreen);
    void installThumbnailSnapshots();
    void instantiateTOC(const std::vector<RendererPage>& activePages, const base::Value& standards,
        std::vector<TOCResourceGroup> oldResources);
    void openWebLink(const std::string& link);

    ReaderContext& m_context;
    ContentsHost& m_host;
    // The panel holds this weakly; it lives as long as the feature does.
    std::shared_ptr<PanelDelegate> m_panelDelegate;
    std::shared_ptr<TOCViewController> m_tocViewController;
    std::shared_ptr<LectoroWebPlayer> m_webPlayer;
    std::shared_ptr<ThumbnailDelegate> m_thumbnailDelegate;
    std::shared_ptr<LXThumbnailViewController> m_thumbnailVC;
    std::shared_ptr<LXFixedEpubThumbnailViewController> m_fixedEpubThumbnailVC;
    bool m_previousHistoryEnabled = false;
    bool m_nextHistoryEnabled = false;
};

} // namespace lectoro
