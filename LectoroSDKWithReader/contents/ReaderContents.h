#pragma once

// The contents panel and the thumbnail browsers as the reader opens them. This feature
// keeps the open panel and answers its requests (standards and resources by the user's
// role, web links); page changes, link actions and closing go back to the reader through
// ContentsHost. The thumbnail browsers arrive later; until then none opens.

#include "LectoroSDKWithReader/contents/TOCRows.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/base/URL.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class ContentsHost;
class LectoroWebPlayer;
class TOCViewController;
struct RendererPage;
struct ReaderContext;

class ReaderContents {
public:
    ReaderContents(ReaderContext&, ContentsHost&);
    ~ReaderContents();

    // The first entry of an EPUB book's page list whose href equals the href exactly.
    std::optional<EPUBPageListEntryVO> getEpubTOCPageFromHref(const std::string& href) const;

    // Forwarded to the open fixed-layout thumbnail panel; nothing when none is open.
    void enablePreviousPageHistory(bool);
    void enableNextPageHistory(bool);
    bool previousPageHistoryEnabled() const { return m_previousHistoryEnabled; }
    bool nextPageHistoryEnabled() const { return m_nextHistoryEnabled; }

    // Opens the contents panel over the reader (the toolbar's contents item).
    void showTOC();
    // The reader's own closing steps have run; the panel dismisses itself.
    void removeTOC() { }
    void removeThumbnail() { }
    const std::shared_ptr<TOCViewController>& tocViewController() const { return m_tocViewController; }

    // Thumbnail browsers: not built yet, nothing opens.
    void actionForThumbnail() { }
    void actionForFixedEpubThumbnail() { }
    void actionForReflowThumbnail() { }

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
    void instantiateTOC(const std::vector<RendererPage>& activePages, const base::Value& standards,
        std::vector<TOCResourceGroup> oldResources);
    void openWebLink(const std::string& link);

    ReaderContext& m_context;
    ContentsHost& m_host;
    // The panel holds this weakly; it lives as long as the feature does.
    std::shared_ptr<PanelDelegate> m_panelDelegate;
    std::shared_ptr<TOCViewController> m_tocViewController;
    std::shared_ptr<LectoroWebPlayer> m_webPlayer;
    bool m_previousHistoryEnabled = false;
    bool m_nextHistoryEnabled = false;
};

} // namespace lectoro
