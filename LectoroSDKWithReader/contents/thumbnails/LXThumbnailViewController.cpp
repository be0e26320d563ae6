#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"

#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/thumbnails/LectoroThumbnailCollectionViewCell.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailImages.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailPanels.h"
#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/readersdk/AnalyticsManager.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Slider.h"

namespace lectoro {

std::shared_ptr<LXThumbnailViewController> LXThumbnailViewController::create()
{
    return std::shared_ptr<LXThumbnailViewController>(new LXThumbnailViewController());
}

LXThumbnailViewController::LXThumbnailViewController()
    : m_themeVo(std::make_shared<LXMVThemeVO>())
    , m_color(ui::Color::green())
    , m_titleColor(ui::Color::white())
    , m_bgColor(ui::Color::darkGray())
    , m_chapterNameColor(UIColorExpanded::colorWithHexString("#6E6E6E").value_or(ui::Color::gray()))
{
}

LXThumbnailViewController::~LXThumbnailViewController() = default;

std::shared_ptr<LXThumbnailViewController> LXThumbnailViewController::self()
{
    return std::static_pointer_cast<LXThumbnailViewController>(shared_from_this());
}

void LXThumbnailViewController::setThemeVo(std::shared_ptr<LXMVThemeVO> theme)
{
    m_themeVo = theme ? std::move(theme) : std::make_shared<LXMVThemeVO>();
}

std::shared_ptr<ui::CollectionView> LXThumbnailViewController::collectionView() const
{
    return m_iPadCollectionView ? m_iPadCollectionView : m_iPhoneCollectionView;
}

const std::shared_ptr<ui::Button>& LXThumbnailViewController::prevButton() const
{
    return m_prevPageIpadButton ? m_prevPageIpadButton : m_prevPageButton;
}

const std::shared_ptr<ui::Button>& LXThumbnailViewController::nextButton() const
{
    return m_nextPageIpadButton ? m_nextPageIpadButton : m_nextPageButton;
}

void LXThumbnailViewController::setTotalPageNumber(const std::string& text)
{
    if (m_pageLabel)
        m_pageLabel->setText(text);
}

ui::InterfaceOrientationMask LXThumbnailViewController::supportedInterfaceOrientations() const
{
    if (m_bookOrientationMode == 1 || m_bookOrientationMode == 2)
        return ui::InterfaceOrientationMask::Landscape;
    if (m_bookOrientationMode == 3)
        return ui::InterfaceOrientationMask::Portrait;
    return ui::InterfaceOrientationMask::AllButUpsideDown;
}

// MARK: - Data and marks

void LXThumbnailViewController::applySubmittedFilter()
{
    if (!m_studentSubmittedPageArray.empty())
        m_dataArray = thumbnails::filterSubmittedPages(m_dataArray, m_studentSubmittedPageArray);
}

void LXThumbnailViewController::buildFlatList()
{
    auto flat = thumbnails::flattenPages(m_dataArray);
    m_totalPageArray = std::move(flat.pageNumbers);
    m_totalFolioNumberArray = std::move(flat.displayNumbers);
    m_pageImageArray = std::move(flat.pages);
}

void LXThumbnailViewController::selectPageAt(const std::string& pageNumber)
{
    applySubmittedFilter();
    auto& environment = ui::Environment::current();
    if (environment.isPad()) {
        auto place = thumbnails::findPageNumber(m_dataArray, pageNumber);
        m_pageIndex = place ? place->index : 0;
        m_section = place ? place->section : 0;
        m_pageIndexArray.push_back({ m_section, m_pageIndex });
        if (place) {
            layoutCheck();
            if (m_iPadCollectionView)
                m_iPadCollectionView->reloadData();
        }
        return;
    }
    if (environment.idiom() != ui::UserInterfaceIdiom::Phone)
        return;
    buildFlatList();
    auto found = std::find(m_totalPageArray.begin(), m_totalPageArray.end(), pageNumber);
    m_pageIndex = found == m_totalPageArray.end() ? 0 : static_cast<int>(found - m_totalPageArray.begin());
    m_section = 0;
    layoutCheck();
    if (m_iPhoneCollectionView)
        m_iPhoneCollectionView->reloadData();
}

void LXThumbnailViewController::enablePreviousPageHistory(bool enabled)
{
    m_prevEnable = enabled;
    applyHistoryState();
}

void LXThumbnailViewController::enableNextPageHistory(bool enabled)
{
    m_nextEnable = enabled;
    applyHistoryState();
}

void LXThumbnailViewController::applyHistoryState()
{
    auto apply = [](const std::shared_ptr<ui::Button>& button, bool enabled) {
        if (!button)
            return;
        button->setAlpha(enabled ? 1.0 : 0.5);
        button->setUserInteractionEnabled(enabled);
    };
    apply(m_prevPageIpadButton, m_prevEnable);
    apply(m_prevPageButton, m_prevEnable);
    apply(m_nextPageIpadButton, m_nextEnable);
    apply(m_nextPageButton, m_nextEnable);
}

// MARK: - Collection

int LXThumbnailViewController::numberOfSectionsInCollectionView(ui::CollectionView& view)
{
    if (&view == m_iPadCollectionView.get())
        return static_cast<int>(thumbnails::chapters(m_dataArray).size());
    return 1;
}

int LXThumbnailViewController::numberOfItemsInSection(ui::CollectionView& view, int section)
{
    if (&view == m_iPadCollectionView.get()) {
        const auto& list = thumbnails::chapters(m_dataArray);
        if (section < 0 || static_cast<size_t>(section) >= list.size())
            return 0;
        return static_cast<int>(thumbnails::pagesOf(list[static_cast<size_t>(section)]).size());
    }
    return static_cast<int>(m_pageImageArray.size());
}

std::optional<ui::Size> LXThumbnailViewController::sizeForItemAtIndexPath(
    ui::CollectionView& view, ui::CollectionViewLayout&, const ui::IndexPath&)
{
    if (&view == m_iPhoneCollectionView.get()) {
        auto orientation = ui::Environment::current().deviceOrientation();
        bool portrait = !ui::isLandscape(orientation) && orientation != ui::Orientation::PortraitUpsideDown;
        if (portrait) {
            double width = view.frame().size.width / 3 - 2;
            return ui::Size { width, 1.6 * width };
        }
    }
    return ui::Size { 125, 194 };
}

std::shared_ptr<ui::CollectionViewCell> LXThumbnailViewController::cellForItemAtIndexPath(
    ui::CollectionView& view, const ui::IndexPath& path)
{
    auto cell = std::dynamic_pointer_cast<LectoroThumbnailCollectionViewCell>(
        view.dequeueReusableCellWithReuseIdentifier(LectoroThumbnailCollectionViewCell::reuseIdentifier, path));
    if (!cell)
        cell = LectoroThumbnailCollectionViewCell::create();
    if (&view == m_iPadCollectionView.get()) {
        const auto& list = thumbnails::chapters(m_dataArray);
        if (path.section < 0 || static_cast<size_t>(path.section) >= list.size())
            return cell;
        const auto& chapter = list[static_cast<size_t>(path.section)];
        const auto& pages = thumbnails::pagesOf(chapter);
        if (path.row < 0 || static_cast<size_t>(path.row) >= pages.size())
            return cell;
        base::Value page = pages[static_cast<size_t>(path.row)];
        if (auto* dictionary = page.asDictionary())
            dictionary->set("ChapterTitle", path.row == 0 ? chapter["ChapterTitle"] : base::Value(std::string()));
        // A page is highlighted when any mark names it; the title colour follows the
        // last mark looked at.
        bool selected = false;
        bool selectedChapter = false;
        for (const auto& mark : m_pageIndexArray) {
            selectedChapter = mark.section == path.section;
            if (mark.section == path.section && mark.index == path.row) {
                selected = true;
                break;
            }
        }
        configureCell(*cell, page, path, selected, selectedChapter, true);
        return cell;
    }
    if (path.row < 0 || static_cast<size_t>(path.row) >= m_pageImageArray.size())
        return cell;
    const auto& page = m_pageImageArray[static_cast<size_t>(path.row)];
    bool selectedChapter = false;
    if (m_pageIndex >= 0 && static_cast<size_t>(m_pageIndex) < m_pageImageArray.size())
        selectedChapter = page["ChapterID"] == m_pageImageArray[static_cast<size_t>(m_pageIndex)]["ChapterID"];
    configureCell(*cell, page, path, path.row == m_pageIndex, selectedChapter, true);
    return cell;
}

void LXThumbnailViewController::configureCell(LectoroThumbnailCollectionViewCell& cell, const base::Value& page,
    const ui::IndexPath& path, bool selected, bool selectedChapter, bool)
{
    const auto& theme = *m_themeVo;
    auto ids = [&](const char* prefix) { return base::format("%@%ld%ld", prefix, path.section, path.row); };
    cell.setBackgroundColor(tocColour(theme.thumbnail_slider_popup_background()));
    cell.setAccessibilityIdentifier(ids("thumbnailCell"));
    cell.chapterTitleLabel()->setAccessibilityIdentifier(ids("thumbnailCellChapterTitleLbl"));
    cell.pageNumLabelForHighlightedSection()->setAccessibilityIdentifier(
        ids("thumbnailCellPageNumLblForHighlightedSection"));
    cell.pageNumLabel()->setAccessibilityIdentifier(ids("thumbnailCellPageNumLbl"));
    cell.pageImageview()->setAccessibilityIdentifier(ids("thumbnailCellPageImageView"));

    const std::string number = thumbnails::localizedDisplayNumber(page["DisplayNumber"]);
    for (const auto& label : { cell.pageNumLabel(), cell.pageNumLabelForHighlightedSection() }) {
        label->setText(number);
        label->setTextColor(tocColour(theme.thumbnail_pageNo_text_color()));
    }
    cell.pageNumLabelForHighlightedSection()->setBackgroundColor(tocColour(theme.thumbnail_selected_thumbnail_color()));
    cell.pageNumLabel()->setBackgroundColor(tocColour(theme.thumbnail_chapter_icon_color()));
    cell.pageImageview()->layer()->setBorderColor(tocColour(theme.thumbnail_default_thumbnail_color()));
    cell.pageImageview()->setImage(ThumbnailImages::shared().imageForPage(page));

    const std::string title = page["ChapterTitle"].asString().value_or("");
    cell.chapterTitleLabel()->setText(title);
    cell.chapterTitleLabel()->setHidden(false);
    cell.chapterTitleLabel()->setTextColor(
        tocColour(selectedChapter ? theme.thumbnail_selected_title_color() : theme.thumbnail_title_color()));

    auto& frame = *cell.pageSuperView()->layer();
    if (selected) {
        frame.setBorderColor(tocColour(theme.thumbnail_selected_thumbnail_color()));
        frame.setBorderWidth(2.0);
    } else {
        frame.setBorderWidth(0);
    }
    cell.pageNumLabelForHighlightedSection()->setHidden(!selected);
    // The picked page's folio shows once, in the picked colour, not over its plain twin.
    cell.pageNumLabel()->setHidden(selected);

    if (!title.empty())
        addReaderAccessibilityOn(*cell.chapterTitleLabel(), "ReaderThumbnailCollectionCellChapterTitle", title);
    addReaderAccessibilityOn(*cell.pageNumLabel(), "ReaderThumbnailCollectionCellPage",
        base::format("%@ %@", TOCConstants::localized("PAGE"), number));
    addReaderAccessibilityOn(*cell.pageNumLabelForHighlightedSection(), "ReaderThumbnailCollectionCellPage",
        base::format("%@ %@", TOCConstants::localized("ACCESSIBILITY_THUMBNAIL_CELL_SELECTED_PAGE"), number));
    cell.setNeedsLayout();
    cell.layoutIfNeeded();
}

void LXThumbnailViewController::didSelectItemAtIndexPath(ui::CollectionView& view, const ui::IndexPath& path)
{
    if (auto analytics = AnalyticsManager::getInstance())
        analytics->notifyEvent(std::string(LectoroReaderEventConstant::thumbnailEventName()), base::Value());
    m_pageIndex = path.row;
    m_section = path.section;
    std::string page;
    if (&view == m_iPadCollectionView.get()) {
        const auto& list = thumbnails::chapters(m_dataArray);
        if (m_section < 0 || static_cast<size_t>(m_section) >= list.size())
            return;
        const auto& pages = thumbnails::pagesOf(list[static_cast<size_t>(m_section)]);
        if (m_pageIndex < 0 || static_cast<size_t>(m_pageIndex) >= pages.size())
            return;
        page = thumbnails::pageNumberText(pages[static_cast<size_t>(m_pageIndex)]);
    } else {
        if (m_pageIndex < 0 || static_cast<size_t>(m_pageIndex) >= m_totalPageArray.size())
            return;
        page = m_totalPageArray[static_cast<size_t>(m_pageIndex)];
    }
    if (auto delegate = m_delegate.lock())
        delegate->didSelectThumbnailPageNo(page);
}

// MARK: - Go to a page

bool LXThumbnailViewController::isPageNumberAvailble(const std::string& text)
{
    const auto* page = thumbnails::findPageByDisplayNumber(m_dataArray, text);
    if (!page)
        return false;
    if (auto delegate = m_delegate.lock())
        delegate->didSelectThumbnailPageNo(thumbnails::pageNumberText(*page));
    return true;
}

void LXThumbnailViewController::searchPage(const std::string& text)
{
    if (text.empty()) {
        thumbnails::presentGoToAlert(*this, "PLEASE_ENTER_PAGE_NUMBER_ALERT");
        return;
    }
    if (!isPageNumberAvailble(text))
        thumbnails::presentGoToAlert(*this, "PLEASE_ENTER_VALID_PAGE_NUMBER_ALERT");
}

bool LXThumbnailViewController::shouldReturn(ui::TextField& field)
{
    searchPage(field.text());
    field.resignFirstResponder();
    field.setText({});
    return true;
}

// A tap outside the panel (iPad) closes the browser.
bool LXThumbnailViewController::shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touched)
{
    for (const auto& container : { m_thumbnailView, m_mainView }) {
        for (auto* view = touched; container && view; view = view->superview().get()) {
            if (view == container.get())
                return false;
        }
    }
    return true;
}

void LXThumbnailViewController::closeFromOutside()
{
    if (m_searchTextFieldIpad)
        m_searchTextFieldIpad->resignFirstResponder();
    if (auto delegate = m_delegate.lock())
        delegate->didSelectActionToCloseThumbnail();
}

// MARK: - Scrolling to the selection

// The first layout always scrolls to the selection; later ones only when the orientation
// moved between portrait and landscape.
void LXThumbnailViewController::layoutCheck()
{
    auto current = ui::Environment::current().interfaceOrientation();
    bool changed = m_deviceOrientation == ui::Orientation::Unknown
        || (ui::isLandscape(m_deviceOrientation) && ui::isPortrait(current))
        || (ui::isPortrait(m_deviceOrientation) && ui::isLandscape(current));
    if (!changed)
        return;
    m_deviceOrientation = current;
    scrollToSelection();
}

void LXThumbnailViewController::scrollToSelection()
{
    auto collection = collectionView();
    if (!collection)
        return;
    collection->layoutIfNeeded();
    bool pad = collection == m_iPadCollectionView;
    ui::IndexPath target { pad ? m_section : 0, m_pageIndex };
    // Nothing to scroll to in an empty list (or a mark past its end).
    if (!collection->isValid(target))
        return;
    collection->scrollToItemAtIndexPath(target,
        pad ? ui::CollectionViewScrollPosition::CenteredHorizontally : ui::CollectionViewScrollPosition::CenteredVertically,
        false);
}

} // namespace lectoro
