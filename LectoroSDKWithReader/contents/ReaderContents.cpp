#include "LectoroSDKWithReader/contents/ReaderContents.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"

namespace lectoro {

ReaderContents::ReaderContents(ReaderContext& context)
    : m_context(context)
{
}

std::optional<EPUBPageListEntryVO> ReaderContents::getEpubTOCPageFromHref(const std::string& href) const
{
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!book)
        return std::nullopt;
    for (const auto& entry : book->tocPageList) {
        if (entry.href == href)
            return entry;
    }
    return std::nullopt;
}

void ReaderContents::enablePreviousPageHistory(bool enabled)
{
    m_previousHistoryEnabled = enabled;
}

void ReaderContents::enableNextPageHistory(bool enabled)
{
    m_nextHistoryEnabled = enabled;
}

// No contents panel or thumbnail browser can be open yet.
void ReaderContents::removeTOC() { }
void ReaderContents::removeThumbnail() { }

} // namespace lectoro
