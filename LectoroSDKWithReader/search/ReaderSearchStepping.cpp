// Stepping from hit to hit: the panel's next and previous buttons (within the shown page
// through the renderer's selection, then along the panel's loaded hits), the page-to-page
// pair built on the engine, the buttons' enabled look, and the chapter href lookups.

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"

namespace lectoro {

namespace {

std::shared_ptr<EPUBChapterVO> searchChapterWithHref(const ReaderContext& context, const std::string& href)
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

constexpr double searchStepDisabledAlpha = 0.5;

} // namespace

std::string ReaderSearch::getFileIndexForHREF(const std::string& href) const
{
    auto chapter = searchChapterWithHref(m_context, href);
    return chapter ? std::to_string(chapter->fileIndex) : std::string();
}

int64_t ReaderSearch::getHrefFromFileIndex(const std::string& href) const
{
    auto chapter = searchChapterWithHref(m_context, href);
    return chapter ? chapter->fileIndex : 0;
}

TextSearchResults ReaderSearch::fetchNextSearchResultForText(
    const std::string& text, int64_t startOffset, int64_t batchSize)
{
    if (!m_searchController || startOffset < 0 || batchSize <= 0)
        return {};
    return m_searchController->getSearchResultForText(text, startOffset, batchSize);
}

void ReaderSearch::enableStepButton(const std::shared_ptr<ui::Button>& button, bool enabled)
{
    if (!button)
        return;
    button->setUserInteractionEnabled(enabled);
    button->setAlpha(enabled ? 1.0 : searchStepDisabledAlpha);
}

void ReaderSearch::enableNextButtonForElasticSearch(bool enabled)
{
    if (m_searchTextView)
        enableStepButton(m_searchTextView->nextBtn(), enabled);
}

void ReaderSearch::enablePreviousButtonForElasticSearch(bool enabled)
{
    if (m_searchTextView)
        enableStepButton(m_searchTextView->PrevBtn(), enabled);
}

void ReaderSearch::showSearchResultPage(const std::shared_ptr<TextSearchResult>& hit)
{
    if (!m_context.renderer || !hit)
        return;
    m_context.renderer->navigateToPageNumber(isPageBook() ? hit->pageIndex : hit->href);
}

void ReaderSearch::didClickOnNextButtonForReaderSearch()
{
    enablePreviousButtonForElasticSearch(true);
    auto candidate = m_searchTextView ? m_searchTextView->getNextSearchResult(m_searchResult) : nullptr;
    if (m_context.renderer
        && m_context.renderer->isNextSearchResultAvailableForSearchResult(m_searchResult)) {
        m_context.renderer->moveToNextSelectedSearchForSearchResult(m_searchResult);
        if (candidate && m_searchResult && candidate->pageIndex == m_searchResult->pageIndex)
            m_searchResult = candidate;
    } else if (candidate) {
        m_searchResult = candidate;
        showSearchResultPage(candidate);
    } else {
        enableNextButtonForElasticSearch(false);
    }
}

void ReaderSearch::didClickOnPreviousButtonForReaderSearch()
{
    enableNextButtonForElasticSearch(true);
    auto candidate = m_searchTextView ? m_searchTextView->getPreviousSearchResult(m_searchResult) : nullptr;
    if (m_context.renderer
        && m_context.renderer->isPreviousSearchResultAvailableForSearchResult(m_searchResult)) {
        m_context.renderer->moveToPreviousSelectedSearchForSearchResult(m_searchResult);
        if (candidate && m_searchResult && candidate->pageIndex == m_searchResult->pageIndex)
            m_searchResult = candidate;
    } else if (candidate) {
        m_searchResult = candidate;
        showSearchResultPage(candidate);
    } else {
        enablePreviousButtonForElasticSearch(false);
    }
}

void ReaderSearch::didClickOnNextButtonForElasticSearch()
{
    stepElasticSearch(true);
}

void ReaderSearch::didClickOnPreviousButtonForElasticSearch()
{
    stepElasticSearch(false);
}

// One step either way: the renderer's next hit on the pages it holds, else the engine's
// first hit on the following (or preceding) page with hits; the buttons follow what is left.
void ReaderSearch::stepElasticSearch(bool forward)
{
    auto enableAhead = [&](bool enabled) {
        forward ? enableNextButtonForElasticSearch(enabled) : enablePreviousButtonForElasticSearch(enabled);
    };
    auto enableBehind = [&](bool enabled) {
        forward ? enablePreviousButtonForElasticSearch(enabled) : enableNextButtonForElasticSearch(enabled);
    };
    enableBehind(true);
    if (!m_context.renderer)
        return;
    auto& renderer = *m_context.renderer;
    std::string word = m_searchResult ? m_searchResult->searchedWord.value_or("") : std::string();
    std::string page = m_searchResult ? m_searchResult->pageIndex : std::string();
    auto pageAhead = [&] {
        if (!m_searchController)
            return TextSearchResults {};
        return forward ? m_searchController->getNextSearchResultForText(word, page, searchHitFont())
                       : m_searchController->getPreviousSearchResultForText(word, page, searchHitFont());
    };
    if (forward ? renderer.isNextSearchResultAvailable() : renderer.isPreviousSearchResultAvailable()) {
        forward ? renderer.moveToNextSelectedSearch() : renderer.moveToPreviousSelectedSearch();
        if (forward ? renderer.isLastNextSearchResult() : renderer.isLastPreviousSearchResult())
            return;
        if (pageAhead().empty())
            enableAhead(false);
        return;
    }
    auto hits = pageAhead();
    if (!hits.empty()) {
        m_searchResult = hits.front();
        renderer.navigateToPageNumber(m_searchResult->pageIndex);
    } else {
        enableBehind(true);
        enableAhead(false);
    }
}

TextSearchResults ReaderSearch::getAllNextSearchedResults()
{
    if (!m_searchResult || !m_searchController)
        return {};
    auto hits = m_searchController->getSearchResultForTextWithPageNo(
        m_searchResult->searchedWord.value_or(""), m_searchResult->pageIndex, searchHitFont());
    auto pageOf = [this](const TextSearchResult& hit) {
        return isPageBook() ? base::integerValue(hit.pageIndex)
                            : base::integerValue(getFileIndexForHREF(hit.href));
    };
    int64_t current = pageOf(*m_searchResult);
    for (const auto& hit : hits) {
        if (hit && pageOf(*hit) > current)
            return { hit };
    }
    return {};
}

TextSearchResults ReaderSearch::getAllPreviousSearchedResults()
{
    if (!m_searchResult || !m_searchController)
        return {};
    auto hits = m_searchController->getSearchResultForTextWithPageNo(
        m_searchResult->searchedWord.value_or(""), m_searchResult->pageIndex, searchHitFont());
    auto pageOf = [this](const TextSearchResult& hit) {
        return isPageBook() ? base::integerValue(hit.pageIndex)
                            : base::integerValue(getFileIndexForHREF(hit.href));
    };
    int64_t current = pageOf(*m_searchResult);
    for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
        if (*it && pageOf(**it) < current)
            return { *it };
    }
    return {};
}

} // namespace lectoro
