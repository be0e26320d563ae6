#include "LectoroSDKWithReader/search/ReaderSearch.h"

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "platform/base/Strings.h"

namespace lectoro {

namespace {

constexpr size_t maximumSearchTextLength = 300;

std::shared_ptr<EPUBChapterVO> chapterWithExactHref(const ReaderContext& context, const std::string& href)
{
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(context.currentBook);
    if (!book)
        return nullptr;
    for (const auto& chapter : book->chapters) {
        if (chapter && chapter->href == href)
            return chapter;
    }
    return nullptr;
}

} // namespace

ReaderSearch::ReaderSearch(ReaderContext& context)
    : m_context(context)
{
}

void ReaderSearch::addSearchForText(const std::string& text, bool)
{
    // The panel that runs the search is not built yet; the text is kept as the search
    // bar would hold it.
    m_searchText = base::utf16Length(text) >= maximumSearchTextLength
        ? base::utf16Substring(text, 0, maximumSearchTextLength)
        : text;
}

void ReaderSearch::enableNextButtonForElasticSearch(bool) { }
void ReaderSearch::enablePreviousButtonForElasticSearch(bool) { }

std::string ReaderSearch::getFileIndexForHREF(const std::string& href) const
{
    auto chapter = chapterWithExactHref(m_context, href);
    return chapter ? std::to_string(chapter->fileIndex) : std::string();
}

int64_t ReaderSearch::getHrefFromFileIndex(const std::string& href) const
{
    auto chapter = chapterWithExactHref(m_context, href);
    return chapter ? chapter->fileIndex : 0;
}

void ReaderSearch::reloadSearchHighlightText()
{
    // No search result is ever held yet.
}

void ReaderSearch::cancelVoiceRecognition()
{
    // No search view, so no recogniser is listening.
}

} // namespace lectoro
