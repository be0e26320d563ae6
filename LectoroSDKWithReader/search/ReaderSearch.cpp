#include "LectoroSDKWithReader/search/ReaderSearch.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderChrome.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearchResponder.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/VisualEffectView.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double elasticJumpDelay = 0.3;
constexpr double blurAlphaInSearch = 0.1;
constexpr double blurAlphaOtherwise = 0.6;
constexpr double dimmedRendererAlpha = 0.5;

} // namespace

ReaderSearch::ReaderSearch(ReaderContext& context)
    : m_context(context)
    , m_responder(std::make_shared<Responder>(*this))
{
}

ReaderSearch::~ReaderSearch()
{
    m_responder->detach();
    if (m_searchTextView)
        m_searchTextView->removeFromSuperview();
}

std::shared_ptr<ui::View> ReaderSearch::readerView() const
{
    return m_context.controller ? m_context.controller->viewIfLoaded() : nullptr;
}

bool ReaderSearch::isPageBook() const
{
    return !std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
}

bool ReaderSearch::isReflowableEpub() const
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    return epub && epub->isReflowable();
}

ui::Font ReaderSearch::searchHitFont()
{
    double size = ui::Environment::current().isPad() ? 18 : 14;
    return getCustomFont(size).value_or(ui::Font::systemFont(size));
}

std::string ReaderSearch::cutSearchText(const std::string& text)
{
    // The cut never splits a character (a pair of UTF-16 units stays whole).
    return base::utf16Length(text) >= maximumSearchTextLength
        ? base::utf16Substring(text, 0, maximumSearchTextLength)
        : text;
}

std::vector<std::string> ReaderSearch::getActivePageIDs() const
{
    std::vector<std::string> ids;
    if (!m_context.renderer)
        return ids;
    bool pageBook = std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook) != nullptr;
    for (const auto& page : m_context.renderer->getActivePages())
        ids.push_back(std::to_string(pageBook ? page.pageID : page.fileIndex));
    return ids;
}

// MARK: - Opening and searching

void ReaderSearch::setSearchController(std::shared_ptr<TextSearchController> controller)
{
    m_searchController = std::move(controller);
    if (m_searchController)
        m_searchController->setDelegate(m_responder);
}

void ReaderSearch::addSearchForText(const std::string& text, bool isElasticSearch)
{
    m_context.activeMode = ReaderActiveModeSearch;
    if (!m_searchController) {
        if (auto framework = companionFramework(); framework && m_context.currentBook)
            m_searchController = framework->makeTextSearchController(m_context.currentBook, text, 0);
        if (m_searchController) {
            if (m_context.theme) {
                if (auto colour = m_context.theme->search_popup_background())
                    m_searchController->setSearchTextViewBackgroundColor(*colour);
                if (auto colour = m_context.theme->search_popup_border())
                    m_searchController->setSearchTextBorderColor(*colour);
            }
            m_searchController->setDelegate(m_responder);
        }
    }
    if (m_context.controller)
        m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(true);
    if (!m_searchTextView)
        createSearchTextView(text, isElasticSearch);
    if (!m_searchTextView)
        return;
    m_searchTextView->setDelegate(m_responder);
    clearSearchHighlights();
    std::string searched = text;
    if (base::utf16Length(text) >= maximumSearchTextLength) {
        searched = cutSearchText(text);
        m_searchTextView->searchBar()->setText(searched);
    }
    m_searchText = searched;
    m_searchTextView->setCurrentSearchText(searched);
    if (!m_searchController || !m_searchController->isSearchResultAvailable()) {
        m_searchTextView->showGeneratingSearchResultView();
        return;
    }
    if (!searched.empty()) {
        auto batch = m_searchController->getSearchResultForText(searched, 0, m_searchTextView->batchSize());
        if (!batch.empty() && isElasticSearch)
            m_searchResult = batch.front();
        m_searchTextView->renderSearchResultWithSearchResult(batch);
    } else if (!isElasticSearch) {
        m_searchTextView->renderSearchResultWithSearchResult({});
    }
}

void ReaderSearch::createSearchTextView(const std::string& text, bool isElasticSearch)
{
    auto view = readerView();
    if (!view)
        return;
    ui::Rect frame { { 0, 0 }, ui::Environment::current().screenSize() };
    m_searchTextView = isElasticSearch ? TextSearchView::createWithElasticSearch(
                           frame, m_context.theme, m_context.currentBook, m_context.isAudioSearchNoteEnabled)
                                       : TextSearchView::createForReaderSearch(frame, m_context.theme,
                                           m_context.currentBook, m_context.isAudioSearchNoteEnabled);
    auto& panel = *m_searchTextView;
    panel.searchBar()->setText(cutSearchText(text));
    std::weak_ptr<Responder> weakResponder = m_responder;
    panel.searchBar()->addTarget(ui::ControlEvent::EditingChanged, [weakResponder](ui::Control& control) {
        auto responder = weakResponder.lock();
        if (auto* field = dynamic_cast<ui::TextField*>(&control); responder && field)
            responder->textFieldDidChange(*field);
    });
    view->addSubview(m_searchTextView);
    m_tapRecognizer = ui::TapGestureRecognizer::create([weakResponder](ui::GestureRecognizer&) {
        if (auto responder = weakResponder.lock())
            responder->searchTapGestureAction();
    });
    m_tapRecognizer->setCancelsTouchesInView(false);
    m_tapRecognizer->setDelegate(m_responder);
    panel.addGestureRecognizer(m_tapRecognizer);

    panel.setTranslatesAutoresizingMaskIntoConstraints(false);
    m_context.bottomConstraintOfTextSearchView = view->bottomAnchor().constraintEqualTo(panel.bottomAnchor());
    ui::Constraint::activate({
        panel.leadingAnchor().constraintEqualTo(view->leadingAnchor()),
        panel.trailingAnchor().constraintEqualTo(view->trailingAnchor()),
        panel.topAnchor().constraintEqualTo(view->topAnchor()),
        m_context.bottomConstraintOfTextSearchView,
    });
    // Constraints are data here: the panel takes the reader view's bounds itself.
    panel.setFrame(view->bounds());
    view->layoutIfNeeded();

    auto wire = [weakResponder](const std::shared_ptr<ui::Button>& button, void (ReaderSearch::*action)()) {
        button->addTarget(ui::ControlEvent::TouchUpInside, [weakResponder, action](ui::Control&) {
            if (auto responder = weakResponder.lock())
                responder->run(action);
        });
    };
    wire(panel.cancelBtn(), &ReaderSearch::closeSearchView);
    wire(panel.nextBtn(), &ReaderSearch::didClickOnNextButtonForReaderSearch);
    wire(panel.PrevBtn(), &ReaderSearch::didClickOnPreviousButtonForReaderSearch);
    wire(panel.openBtn(), &ReaderSearch::openSearchView);

    panel.searchBar()->setDelegate(m_responder);
    panel.searchBar()->becomeFirstResponder();
    addBlurEffectToReaderView();
    panel.setDidClickOnSearchResult([weakResponder](std::shared_ptr<TextSearchResult> hit) {
        if (auto responder = weakResponder.lock())
            responder->didSelectSearchText(hit);
    });
}

void ReaderSearch::addBlurEffectToReaderView()
{
    auto rendererView = m_context.renderer ? m_context.renderer->viewIfLoaded() : nullptr;
    if (ui::Environment::current().isReduceTransparencyEnabled()) {
        if (rendererView)
            rendererView->setAlpha(dimmedRendererAlpha);
        return;
    }
    if (rendererView)
        rendererView->setBackgroundColor(ui::Color::clear());
    auto blur = ui::VisualEffectView::create(ui::BlurStyle::Dark);
    if (auto view = readerView())
        blur->setFrame(view->bounds());
    blur->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    blur->setAlpha(m_context.activeMode == ReaderActiveModeSearch ? blurAlphaInSearch : blurAlphaOtherwise);
    m_searchTextView->insertSubview(blur, 0);
}

// MARK: - The touch filter and closing

bool ReaderSearch::shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView)
{
    auto view = readerView();
    bool panelShown = m_searchTextView && view && m_searchTextView->superview() == view;
    if (!panelShown)
        return true;
    if (m_context.activeMode == ReaderActiveModeSearch)
        return false;
    return touchedView && dynamic_cast<ui::VisualEffectView*>(touchedView) != nullptr;
}

void ReaderSearch::searchTapGestureAction()
{
    if (m_context.activeMode != ReaderActiveModeSearch)
        removeSearchController();
    clearSearchHighlights();
}

void ReaderSearch::openSearchView()
{
    if (m_context.activeMode != ReaderActiveModeSearch || !m_searchTextView)
        return;
    bool wasOpened = m_isSearchResultOpened;
    m_isSearchResultOpened = !m_isSearchResultOpened;
    if (!wasOpened)
        m_searchTextView->showSearchResultView();
    else
        m_searchTextView->removeSearchResultView();
}

void ReaderSearch::closeSearchView()
{
    m_searchText.clear();
    if (m_context.activeMode == ReaderActiveModeSearch) {
        m_searchController.reset();
        m_context.elasticSearchText.clear();
        m_searchResult.reset();
        if (m_context.controller)
            m_context.controller->chrome().showHelpScreen();
    }
    removeSearchController();
    clearSearchHighlights();
}

void ReaderSearch::removeSearchController()
{
    m_context.activeMode = m_context.backgroundActiveMode;
    if (m_context.renderer) {
        if (auto rendererView = m_context.renderer->viewIfLoaded())
            rendererView->setAlpha(1.0);
    }
    if (m_searchTextView) {
        auto subviews = m_searchTextView->subviews();
        for (const auto& subview : subviews) {
            if (subview && subview->className() == "VisualEffectView")
                subview->removeFromSuperview();
        }
    }
    if (m_context.controller)
        m_context.controller->resetAllPlayerActionBar();
    if (m_searchTextView) {
        m_searchTextView->cancelVoiceSearch();
        m_searchTextView->removeFromSuperview();
        m_searchTextView.reset();
    }
    m_tapRecognizer.reset();
    if (m_context.bottomConstraintOfTextSearchView) {
        m_context.bottomConstraintOfTextSearchView->setActive(false);
        m_context.bottomConstraintOfTextSearchView.reset();
    }
    m_isSearchResultOpened = false;
    resignSearchTextField();
    if (m_context.controller)
        m_context.controller->resetAllPlayerActionBar();
}

void ReaderSearch::resignSearchTextField()
{
    if (auto view = readerView())
        view->endEditing(true);
}

// MARK: - Marks

void ReaderSearch::clearSearchHighlights()
{
    if (!m_context.renderer)
        return;
    bool reflowable = isReflowableEpub();
    for (const auto& id : getActivePageIDs()) {
        if (reflowable)
            m_context.renderer->highlightText(
                "", 0, std::string(searchHitColor), std::optional<std::string>());
        else
            m_context.renderer->highlightText("", base::integerValue(id), std::nullopt);
    }
}

void ReaderSearch::reloadSearchHighlightText()
{
    if (!m_searchResult || m_searchResult->searchedWord.value_or("").empty() || !m_context.renderer)
        return;
    for (const auto& id : getActivePageIDs())
        m_context.renderer->highlightText(
            *m_searchResult->searchedWord, base::integerValue(id), std::nullopt);
}

std::string ReaderSearch::paragraphOf(const TextSearchResult& hit)
{
    std::string text = base::lowercase(hit.searchResultAttributedString.string());
    size_t first = text.find_first_not_of('.');
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of('.');
    return text.substr(first, last - first + 1);
}

// The engine makes a page's hits anew for the page's font, so the current hit is found in
// the page's list by where it lies, not by identity; otherwise the renderer would select
// the page's first hit.
std::shared_ptr<TextSearchResult> ReaderSearch::sameHitAmong(
    const TextSearchResults& hits, const std::shared_ptr<TextSearchResult>& current)
{
    if (!current)
        return current;
    for (const auto& hit : hits) {
        if (hit == current)
            return hit;
    }
    for (const auto& hit : hits) {
        if (hit && hit->pageIndex == current->pageIndex && hit->textOffset == current->textOffset
            && hit->textLength == current->textLength)
            return hit;
    }
    return current;
}

TextSearchResults ReaderSearch::pageHits(const std::string& word, const std::string& pageNo)
{
    if (!m_searchController)
        return {};
    return m_searchController->getSearchResultForTextWithPageNo(word, pageNo, searchHitFont());
}

void ReaderSearch::markSearchHitsOnLoadedPage(int64_t pageNumber)
{
    auto hit = m_searchResult;
    if (!hit || hit->searchedWord.value_or("").empty() || !m_context.renderer)
        return;
    const std::string& word = *hit->searchedWord;
    auto& renderer = *m_context.renderer;
    bool inSearch = m_context.activeMode == ReaderActiveModeSearch;
    bool landscape = ui::Environment::current().isLandscape();
    if (isPageBook()) {
        bool ownPage = pageNumber == base::integerValue(hit->pageIndex);
        if (!inSearch) {
            if (ownPage)
                renderer.highlightText(word, pageNumber, std::string(searchHitColor));
            return;
        }
        if (!ownPage && landscape) {
            renderer.highlightText(word, pageNumber, std::string(searchHitColor));
            return;
        }
        auto hits = pageHits(word, ownPage ? hit->pageIndex : std::to_string(pageNumber));
        renderer.highlightText(word, pageNumber, std::string(searchHitColor), selectedSearchHitColor, hits,
            sameHitAmong(hits, hit));
        return;
    }
    if (pageNumber != base::integerValue(getFileIndexForHREF(hit->href)))
        return;
    bool reflowable = isReflowableEpub();
    bool ownPage = pageNumber == getHrefFromFileIndex(hit->pageIndex);
    if (!inSearch) {
        if (reflowable)
            renderer.highlightText(word, 0, std::string(searchHitColor), paragraphOf(*hit));
        else
            renderer.highlightText(word, pageNumber, std::string(searchHitColor));
        return;
    }
    if (!ownPage && landscape) {
        renderer.highlightText(word, pageNumber, std::string(searchHitColor));
        return;
    }
    if (reflowable)
        renderer.highlightText(word, pageNumber, std::string(selectedSearchHitColor), paragraphOf(*hit));
    auto hits = pageHits(word, ownPage ? hit->pageIndex : std::to_string(pageNumber));
    renderer.highlightText(
        word, pageNumber, std::string(searchHitColor), selectedSearchHitColor, hits, sameHitAmong(hits, hit));
}

void ReaderSearch::jumpToHeldResultAfterElasticStart()
{
    if (!m_searchResult || !m_context.controller)
        return;
    std::string page = m_searchResult->pageIndex;
    std::weak_ptr<Responder> weakResponder = m_responder;
    base::RunLoop::main().postDelayed(
        elasticJumpDelay, m_context.controller->lifetimeToken(), [weakResponder, page] {
            if (auto responder = weakResponder.lock())
                responder->navigateTo(page);
        });
    enablePreviousButtonForElasticSearch(false);
}

// MARK: - Field

bool ReaderSearch::textFieldShouldReturn(ui::TextField& field)
{
    if (!m_searchTextView || &field != m_searchTextView->searchBar().get())
        return true;
    std::string text = field.text();
    if (base::utf16Length(text) >= shortestReturnSearch) {
        field.resignFirstResponder();
        addSearchForText(text, false);
    } else {
        addSearchForText("", false);
    }
    return true;
}

bool ReaderSearch::textFieldShouldClear(ui::TextField& field)
{
    if (!m_searchTextView || &field != m_searchTextView->searchBar().get())
        return true;
    clearSearchHighlights();
    addSearchForText("", false);
    m_searchResult.reset();
    return true;
}

bool ReaderSearch::shouldChangeCharactersInRange(ui::TextField&, size_t location)
{
    return location < maximumSearchTextLength;
}

void ReaderSearch::textFieldDidChange(ui::TextField& field)
{
    std::string trimmed = base::trimWhitespaceAndNewlines(field.text());
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(LectoroReaderEventConstant::searchEventName(),
            base::Value::Dictionary {
                { LectoroReaderEventConstant::searchEventParameterSearchText(), trimmed } });
}

// MARK: - Hits

void ReaderSearch::didSelectSearchText(const std::shared_ptr<TextSearchResult>& hit)
{
    if (!hit)
        return;
    if (m_context.renderer)
        m_context.renderer->isNextSearchResultAvailableForSearchResult(hit);
    enableNextButtonForElasticSearch(true);
    enablePreviousButtonForElasticSearch(true);
    if (m_searchTextView)
        m_searchTextView->removeSearchResultView();
    m_searchResult = hit;
    if (!m_context.renderer)
        return;
    if (isPageBook()) {
        m_context.renderer->navigateToPageNumber(hit->pageIndex);
        return;
    }
    m_context.renderer->navigateToPageNumber(hit->href);
    if (!isReflowableEpub())
        return;
    std::string paragraph = paragraphOf(*hit);
    std::string word = hit->searchedWord.value_or("");
    if (word.empty())
        return;
    if (m_context.activeMode == ReaderActiveModeSearch) {
        int64_t page = base::integerValue(getFileIndexForHREF(hit->href));
        m_context.renderer->highlightText(word, page, std::string(searchHitColor), paragraph);
        auto hits = pageHits(word, hit->pageIndex);
        m_context.renderer->highlightText(
            word, page, std::string(searchHitColor), selectedSearchHitColor, hits, sameHitAmong(hits, hit));
    } else {
        m_context.renderer->highlightText(word, 0, std::string(searchHitColor), paragraph);
    }
}

void ReaderSearch::didSelectActionForCloseSearch()
{
    removeSearchController();
    if (!ui::Environment::current().isPad() && m_context.renderer)
        m_context.renderer->reloadPages();
}

void ReaderSearch::didSearchTextChanged()
{
    if (!m_searchResult || m_searchResult->searchedWord.value_or("").empty())
        return;
    m_searchResult.reset();
    clearSearchHighlights();
}

void ReaderSearch::didCompleteSearchDecryptionForBookPath()
{
    if (!m_searchTextView)
        return;
    // The search runs again as the kind the panel was opened for.
    addSearchForText(m_searchTextView->searchBar()->text(), m_searchTextView->isElasticSearch());
}

} // namespace lectoro
