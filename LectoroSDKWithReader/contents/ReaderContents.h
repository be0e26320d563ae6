#pragma once

// The contents panel and the thumbnail browsers as the reader shell calls them. The
// panels arrive with the contents subsystem; until then none is open.

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include <optional>
#include <string>

namespace lectoro {

struct ReaderContext;

class ReaderContents {
public:
    explicit ReaderContents(ReaderContext&);

    // The first entry of an EPUB book's page list whose href equals the href exactly.
    std::optional<EPUBPageListEntryVO> getEpubTOCPageFromHref(const std::string& href) const;

    // Forwarded to the open fixed-layout thumbnail panel; nothing when none is open.
    void enablePreviousPageHistory(bool);
    void enableNextPageHistory(bool);
    bool previousPageHistoryEnabled() const { return m_previousHistoryEnabled; }
    bool nextPageHistoryEnabled() const { return m_nextHistoryEnabled; }

    void removeTOC();
    void removeThumbnail();

    // Toolbar actions: the contents panel and the thumbnail browsers open here once the
    // contents subsystem builds them; until then nothing opens.
    void showTOC() { }
    void actionForThumbnail() { }
    void actionForFixedEpubThumbnail() { }
    void actionForReflowThumbnail() { }

private:
    ReaderContext& m_context;
    bool m_previousHistoryEnabled = false;
    bool m_nextHistoryEnabled = false;
};

} // namespace lectoro
