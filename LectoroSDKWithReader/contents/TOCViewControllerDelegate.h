#pragma once

// What the contents panel asks of the reader. The panel holds its delegate weakly: the
// reader owns the panel, so a strong hold back would keep both alive.

#include "platform/base/Value.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class PXLinkVO;
struct TOCResourceGroup;

class TOCViewControllerDelegate {
public:
    virtual ~TOCViewControllerDelegate() = default;

    virtual void didSelectActionToCloseTOC() = 0;
    // A page id, a folio, a chapter file or a reflowable position ("…BOOKMARK").
    virtual void navigateToPageWithPageId(const std::string& pageID) = 0;
    virtual void actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>&) = 0;
    // An EPUB resource record.
    virtual void actionForResource(const base::Value& resource) = 0;
    virtual void didSelectTEKSStandard() = 0;
    virtual void didSelectELPSStandard() = 0;
    virtual void didLoadWebLinkForStandardsWithWebLink(const std::string& link) = 0;
    virtual std::vector<TOCResourceGroup> didSelectInternalResources() = 0;
    virtual void didSelectExternalResources() = 0;
    virtual void didLoadWebLinkForExternalResourcesWithWebLink(const std::string& link) = 0;
    virtual void didSelectActionToJumpToBookWithBookID(const std::string& bookID) = 0;
    virtual void sessionExpiredOnTOC() = 0;
};

} // namespace lectoro
