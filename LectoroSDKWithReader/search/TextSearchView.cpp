#include "LectoroSDKWithReader/search/TextSearchView.h"

#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/search/SearchResultCell.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double searchListAnimation = 0.5;
constexpr size_t searchShortestText = 3;
constexpr const char* searchAccessibilityTable = "ReaderLectoroAccessibility";

} // namespace

std::string TextSearchConstants::localized(const std::string& key)
{
    return LocalizationHelper::localizedString(key, "Localizable", LocalizationHelper::currentBundle());
}

TextSearchView::TextSearchView(const ui::Rect& frame)
    : ui::View(frame)
    , m_searchBar(ui::TextField::create())
    , m_tableView(ui::TableView::create())
    , m_searchBarHeight(isIpad() ? 66.0 : 50.0)
    , m_tableHeaderViewHeight(isIpad() ? 196.0 : 160.0)
    , m_estimatedHeightOfTableView(isIpad() ? 120.0 : 112.0)
    , m_tableViewMargin(isIpad() ? 22.0 : 8.0)
    , m_tableviewHeaderView(ui::View::create())
    , m_cancelBtn(ui::Button::create())
    , m_openBtn(ui::Button::create())
    , m_nextBtn(ui::Button::create())
    , m_prevBtn(ui::Button::create())
    , m_animateMicButton(ui::Button::create())
    , m_noResultText(ui::Label::create())
    , m_voiceSeacrh(MVVoiceRecognizeManager::create())
{
}

TextSearchView::~TextSearchView()
{
    if (m_contentSizeObserver)
        m_tableView->removePropertyObserver(m_contentSizeObserver);
    m_voiceSeacrh->setResult(nullptr);
    m_voiceSeacrh->cancelRecognization();
}

std::shared_ptr<TextSearchView> TextSearchView::make(Variant variant, const ui::Rect& frame,
    std::shared_ptr<LXMVThemeVO> theme, std::shared_ptr<LectoroBookVO> book, bool audio)
{
    std::shared_ptr<TextSearchView> view(new TextSearchView(frame));
    view->setBackgroundColor(ui::Color::clear());
    view->m_isElasticSearch = variant == Variant::Elastic;
    view->m_currentBook = std::move(book);
    view->m_theme = theme ? std::move(theme) : std::make_shared<LXMVThemeVO>();
    view->build(variant, audio);
    return view;
}

std::shared_ptr<TextSearchView> TextSearchView::createWithFrame(
    const ui::Rect& frame, std::shared_ptr<LXMVThemeVO> theme, std::shared_ptr<LectoroBookVO> book)
{
    return make(Variant::Plain, frame, std::move(theme), std::move(book), false);
}

std::shared_ptr<TextSearchView> TextSearchView::createWithElasticSearch(const ui::Rect& frame,
    std::shared_ptr<LXMVThemeVO> theme, std::shared_ptr<LectoroBookVO> book, bool audio)
{
    return make(Variant::Elastic, frame, std::move(theme), std::move(book), audio);
}

std::shared_ptr<TextSearchView> TextSearchView::createForReaderSearch(const ui::Rect& frame,
    std::shared_ptr<LXMVThemeVO> theme, std::shared_ptr<LectoroBookVO> book, bool audio)
{
    return make(Variant::Reader, frame, std::move(theme), std::move(book), audio);
}

std::weak_ptr<TextSearchView> TextSearchView::weakSelf()
{
    return std::static_pointer_cast<TextSearchView>(shared_from_this());
}

bool TextSearchView::isEpubBook() const
{
    return std::dynamic_pointer_cast<EPUBBookVO>(m_currentBook) != nullptr;
}

// MARK: - Results

void TextSearchView::renderSearchResultWithSearchResult(const TextSearchResults& results, bool caseSensitive)
{
    m_isCaseSensitiveSearch = caseSensitive;
    renderSearchResultWithSearchResult(results);
}

void TextSearchView::renderSearchResultWithSearchResult(const TextSearchResults& results)
{
    if (m_isElasticSearch) {
        m_searchoffset = 0;
        // Any first batch belongs to a new search: an empty one must not leave the last
        // search's hits to step through.
        m_searchResultArray.clear();
        m_globalsearchResultArray = results;
        if (!results.empty())
            m_searchoffset += m_batchSize;
        // The rows shown were the last search's; the height is left for the owner.
        m_tableView->reloadData();
        return;
    }
    auto weak = weakSelf();
    base::RunLoop::main().post([weak, results] {
        if (auto self = weak.lock())
            self->renderReaderSearch(results);
    });
}

void TextSearchView::renderReaderSearch(const TextSearchResults& results)
{
    m_searchResultArray = results;
    m_globalsearchResultArray = m_searchResultArray;
    m_searchoffset = 0;
    if (results.empty()) {
        if (base::utf16Length(m_searchBar->text()) < searchShortestText) {
            detachHeader();
            setListHeight(0);
        } else {
            // Whatever phase came before, the search has ended with nothing found.
            m_noResultText->setText(TextSearchConstants::localized("search_result_not_found"));
            attachHeader();
            setListHeight(m_tableHeaderViewHeight);
        }
        m_tableView->reloadData();
        return;
    }
    m_searchoffset += m_batchSize;
    auto weak = weakSelf();
    ui::View::animate(
        searchListAnimation,
        [this, count = results.size()] {
            detachHeader();
            m_tableView->reloadData();
            double estimate = m_estimatedHeightOfTableView * static_cast<double>(count - 1);
            double available = availableListHeight();
            if (count >= 2 && estimate > listHeight())
                setListHeight(available > estimate ? estimate : available);
            else
                setListHeight(estimate);
            layoutIfNeeded();
        },
        [weak](bool) {
            auto self = weak.lock();
            if (!self)
                return;
            self->m_tableView->layoutIfNeeded();
            ui::View::animate(
                searchListAnimation,
                [weak] {
                    if (auto inner = weak.lock())
                        inner->fitListToContent();
                },
                [weak](bool) {
                    if (auto inner = weak.lock())
                        inner->layoutIfNeeded();
                });
        });
}

void TextSearchView::updateSearchDataWithArrayWithArray(const TextSearchResults& batch)
{
    m_searchoffset += m_batchSize;
    m_globalsearchResultArray.insert(m_globalsearchResultArray.end(), batch.begin(), batch.end());
    showLoadedHits();
    m_tableView->reloadData();
}

void TextSearchView::showLoadedHits()
{
    m_searchResultArray = m_globalsearchResultArray;
}

TextSearchResults TextSearchView::fetchFurtherHits()
{
    auto delegate = m_delegate.lock();
    if (!delegate || m_currentSearchText.empty())
        return {};
    // From the count loaded: a step past the end and a scroll to the end ask for the same
    // next hits, never again for ones already held.
    return delegate->fetchNextSearchResultForText(
        m_currentSearchText, static_cast<int64_t>(m_globalsearchResultArray.size()), m_batchSize);
}

void TextSearchView::showGeneratingSearchResultView()
{
    attachHeader();
    setListHeight(m_tableHeaderViewHeight);
    m_noResultText->setText(TextSearchConstants::localized("GENERATING_SEARCH_RESULT"));
}

void TextSearchView::showSearchResultView()
{
    showLoadedHits();
    m_tableView->reloadData();
    fitListToContent();
    updateOpenButtonAccessibility();
}

void TextSearchView::removeSearchResultView()
{
    detachHeader();
    setListHeight(0);
    m_searchResultArray.clear();
    m_tableView->reloadData();
    auto weak = weakSelf();
    ui::View::animate(searchListAnimation, [weak] {
        if (auto self = weak.lock())
            self->layoutIfNeeded();
    });
    updateOpenButtonAccessibility();
}

std::shared_ptr<TextSearchResult> TextSearchView::getNextSearchResult(std::shared_ptr<TextSearchResult> hit)
{
    while (true) {
        auto& loaded = m_globalsearchResultArray;
        auto found = std::find(loaded.begin(), loaded.end(), hit);
        if (!hit || found == loaded.end())
            return nullptr;
        if (found + 1 != loaded.end())
            return *(found + 1);
        if (!isEpubBook())
            return nullptr;
        auto batch = fetchFurtherHits();
        if (batch.empty())
            return nullptr;
        // The batch joins the loaded sequence (and the next request starts after it);
        // the rows shown stay as they are.
        m_searchoffset += m_batchSize;
        loaded.insert(loaded.end(), batch.begin(), batch.end());
    }
}

std::shared_ptr<TextSearchResult> TextSearchView::getPreviousSearchResult(
    const std::shared_ptr<TextSearchResult>& hit)
{
    const auto& loaded = m_globalsearchResultArray;
    auto found = std::find(loaded.begin(), loaded.end(), hit);
    if (!hit || found == loaded.end() || found == loaded.begin())
        return nullptr;
    return *(found - 1);
}

// MARK: - Heights

double TextSearchView::availableListHeight() const
{
    return frame().size.height - (m_searchBarHeight + m_tableViewMargin);
}

double TextSearchView::listHeight() const
{
    return m_tableViewHeightConstraint ? m_tableViewHeightConstraint->constant() : 0;
}

void TextSearchView::setListHeight(double height)
{
    if (m_tableViewHeightConstraint)
        m_tableViewHeightConstraint->setConstant(std::max(0.0, height));
    setNeedsLayout();
}

void TextSearchView::fitListToContent()
{
    double content = m_tableView->contentSize().height;
    double available = availableListHeight();
    setListHeight(available > content ? content : available);
}

void TextSearchView::attachHeader()
{
    m_tableviewHeaderView->setFrame(
        { 0, 0, std::max(m_tableView->frame().size.width, 0.0), m_tableHeaderViewHeight });
    m_tableView->setTableHeaderView(m_tableviewHeaderView);
    m_headerShown = true;
}

void TextSearchView::detachHeader()
{
    m_tableView->setTableHeaderView(nullptr);
    m_headerShown = false;
}

void TextSearchView::observeContentSize()
{
    auto weak = weakSelf();
    m_contentSizeObserver
        = m_tableView->addPropertyObserver("contentSize", [weak](ui::View&, const std::string&) {
              auto self = weak.lock();
              if (!self)
                  return;
              // Only the height constraint changes here; layout waits for the animation's end.
              ui::View::animate(
                  searchListAnimation, [&self] { self->fitListToContent(); },
                  [weak](bool) {
                      if (auto inner = weak.lock()) {
                          inner->layoutIfNeeded();
                          inner->updateOpenButtonAccessibility();
                      }
                  });
          });
}

// MARK: - Table

int TextSearchView::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(m_searchResultArray.size());
}

std::shared_ptr<ui::TableViewCell> TextSearchView::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<SearchResultCell>(
        table.dequeueReusableCellWithIdentifier(SearchResultCell::reuseIdentifier, indexPath));
    if (!cell)
        cell = SearchResultCell::create(ui::TableViewCellStyle::Default, SearchResultCell::reuseIdentifier);
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= m_searchResultArray.size())
        return cell;
    SearchResultCell::fillRow(*cell, indexPath, m_searchResultArray[static_cast<size_t>(indexPath.row)],
        m_currentBook, m_theme, m_isCaseSensitiveSearch);
    return cell;
}

void TextSearchView::willDisplayCell(ui::TableView&, ui::TableViewCell&, const ui::IndexPath& indexPath)
{
    int64_t count = static_cast<int64_t>(m_searchResultArray.size());
    if (indexPath.row != count - 2 || !isEpubBook())
        return;
    auto batch = fetchFurtherHits();
    if (batch.empty())
        return;
    // The table is in the middle of showing rows: the new rows come once it is done.
    auto weak = weakSelf();
    size_t loadedWhenAsked = m_globalsearchResultArray.size();
    base::RunLoop::main().post([weak, batch, loadedWhenAsked] {
        auto self = weak.lock();
        if (self && self->m_globalsearchResultArray.size() == loadedWhenAsked)
            self->updateSearchDataWithArrayWithArray(batch);
    });
}

void TextSearchView::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= m_searchResultArray.size())
        return;
    auto hit = m_searchResultArray[static_cast<size_t>(indexPath.row)];
    if (!m_didClickOnSearchResult)
        return;
    if (m_searchBar->isFirstResponder())
        m_searchBar->resignFirstResponder();
    auto block = m_didClickOnSearchResult;
    block(hit);
}

// MARK: - Accessibility

void TextSearchView::setAccessibilityIdentifiers()
{
    m_searchBar->setAccessibilityIdentifier(READER_SEARCH_TEXT_FIELD);
    m_cancelBtn->setAccessibilityIdentifier(READER_SEARCH_CANCEL_BUTTON);
    m_openBtn->setAccessibilityIdentifier(READER_SEARCH_OPEN_BUTTON);
    m_nextBtn->setAccessibilityIdentifier(READER_SEARCH_NEXT_BUTTON);
    m_prevBtn->setAccessibilityIdentifier(READER_SEARCH_PREV_BUTTON);
    AccessibilityHelper::setAccessibilityForElementID(*m_searchBar, "SearchTF", searchAccessibilityTable, "");
    AccessibilityHelper::setAccessibilityForElementID(
        *m_cancelBtn, "SearchCancelButton", searchAccessibilityTable, "");
    AccessibilityHelper::setAccessibilityForElementID(
        *m_nextBtn, "NextSearchButton", searchAccessibilityTable, "");
    AccessibilityHelper::setAccessibilityForElementID(
        *m_prevBtn, "PreviousSearchButton", searchAccessibilityTable, "");
}

void TextSearchView::updateOpenButtonAccessibility()
{
    AccessibilityHelper::setAccessibilityForElementID(*m_openBtn,
        listHeight() == 0 ? "OpenSearchResultButton" : "CloseSearchResultButton", searchAccessibilityTable,
        "");
}

} // namespace lectoro
