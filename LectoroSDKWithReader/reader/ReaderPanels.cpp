// The panels the reader opens and closes (contents, My Data, page thumbnails; the panels
// themselves belong to their subsystems and are reached through the feature seams), the
// EPUB element pop-up, the jump to another book, and the current chapter title.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableSliderPopUpView.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

constexpr const char* bookNotDownloadedMessage
    = "The selected book is not downloaded yet.\n Please download it from Bookshelf.";

bool isPad()
{
    return ui::Environment::current().isPad();
}

} // namespace

// MARK: - Contents data

base::Value ReaderViewController::getTOCContentData() const
{
    return m_context.currentBook ? m_context.currentBook->getBookContentForTOC()
                                 : base::Value(base::Value::List {});
}

base::Value ReaderViewController::getTOCResourceData() const
{
    return m_context.currentBook ? m_context.currentBook->getBookResourcesForTOC()
                                 : base::Value(base::Value::List {});
}

std::vector<std::shared_ptr<SDKBookmarkVO>> ReaderViewController::getBookmarkData() const
{
    std::vector<std::shared_ptr<SDKBookmarkVO>> shown;
    if (!m_context.dbManager)
        return shown;
    int64_t userID = m_context.user ? m_context.user->numericUserID() : 0;
    for (auto& bookmark : m_context.dbManager->bookMarkBookID(std::to_string(m_context.bookID), userID)) {
        // A bookmark that names no printed page cannot be listed by it.
        if (bookmark && !bookmark->displayNum.empty())
            shown.push_back(bookmark);
    }
    return shown;
}

// MARK: - Opening and closing

void ReaderViewController::didTapOnTOCButton()
{
    m_contents->showTOC();
}

void ReaderViewController::didTapOnMyDataButton()
{
    m_myData->showMyData();
}

void ReaderViewController::removeTOC()
{
    m_context.activeMode = m_context.backgroundActiveMode;
    m_contents->removeTOC();
    resetAllPlayerActionBar();
}

void ReaderViewController::didSelectActionToCloseTOC()
{
    removeTOC();
    // On a phone the panel covered the pages, whose overlays are drawn again.
    if (!isPad() && m_context.renderer)
        m_context.renderer->reloadPages();
}

void ReaderViewController::removeMyData()
{
    m_context.activeMode = m_context.backgroundActiveMode;
    resetAllPlayerActionBar();
}

void ReaderViewController::didSelectActionToCloseMyData()
{
    removeMyData();
    if (!isPad() && m_context.renderer)
        m_context.renderer->reloadPages();
}

void ReaderViewController::removeThumbnail()
{
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        m_context.activeMode = m_context.backgroundActiveMode;
    m_contents->removeThumbnail();
    resetAllPlayerActionBar();
}

void ReaderViewController::didSelectActionToCloseThumbnail()
{
    removeThumbnail();
    if (isPad() || !m_context.renderer)
        return;
    const auto& book = m_context.currentBook;
    if (std::dynamic_pointer_cast<PXBookVO>(book)) {
        m_context.renderer->reloadPages();
        return;
    }
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    if (!epub || !epub->isFixedLayout())
        return;
    auto active = m_context.renderer->getActivePages();
    if (active.empty())
        return;
    if (auto chapter = m_navigation->getEpubChapterForIndex(active.front().fileIndex);
        chapter && !chapter->href.empty())
        m_context.renderer->navigateToPageNumber(chapter->href);
}

void ReaderViewController::didSelectThumbnailPageNo(const std::string& page)
{
    m_navigation->addPageIntoPageHistoryArray(page);
    m_context.isPageNavigateByScroll = false;
    removeThumbnail();
    if (!m_context.renderer)
        return;
    const auto& book = m_context.currentBook;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    if (epub && epub->isFixedLayout()) {
        auto chapter = epub->chapterAtIndex(base::integerValue(page));
        m_context.renderer->navigateToPageNumber(chapter && !chapter->href.empty() ? chapter->href : page);
    } else if (std::dynamic_pointer_cast<PXBookVO>(book)) {
        m_context.renderer->navigateToPageNumber(page);
    }
}

// MARK: - EPUB element pop-up

void ReaderViewController::didOpenEpubElementModal()
{
    m_bars->moveTopAndBottomOffScreenWithIsAnimate(true);
    m_reflowable->setDisableReflowablePageCountView(true);
    m_reflowable->hideReflowablePageCountView();
    auto* slider = m_reflowable->slider();
    if (!slider || !slider->isVerticalsliderEnable())
        return;
    const auto& right = slider->rightConstraintForVerticalSliderView();
    if (!right)
        return;
    // The pop-up covers the bars' room: a slider standing where shown bars put it moves
    // to where hidden bars put it.
    double inset = view()->safeAreaInsets().right;
    const bool rightToLeft = ui::Environment::current().isRightToLeft();
    double margin = isPad() ? (rightToLeft ? 10 : 15) : (rightToLeft ? 6 : 10);
    if (right->constant() == -(inset + margin + 15))
        right->setConstant(inset + 3 * margin);
}

void ReaderViewController::didCloseEpubElementModal()
{
    m_reflowable->setDisableReflowablePageCountView(false);
    m_reflowable->hideReflowablePageCountView();
}

// MARK: - Another book

void ReaderViewController::didSelectActionToJumpToBookWithBookID(const std::string& bookID)
{
    auto weak = weakSelf();
    base::RunLoop::main().post(lifetimeToken(), [weak, bookID] {
        auto self = weak.lock();
        if (!self)
            return;
        auto delegate = self->m_delegate.lock();
        bool downloaded = delegate && delegate->respondsToIsBookDownloaded()
            && delegate->isBookDownloadedForBookID(bookID);
        if (!downloaded) {
            AlertView::sharedManager().presentAlertWithTitle("", bookNotDownloadedMessage,
                std::vector<std::string> { "OK" }, self, [](int64_t, const std::string&) {});
            return;
        }
        self->didTapOnBackButton();
        delegate->jumpToBookReaderForBookID(bookID, std::string());
    });
}

// MARK: - Chapter title

namespace {

// The title of the first node (in reading order, children before later siblings) whose
// "src" holds the href; a node that holds it ends the search there.
std::optional<std::string> titleForHref(const base::Value& nodes, const std::string& href)
{
    const auto* list = nodes.asList();
    if (!list || href.empty())
        return std::nullopt;
    for (const auto& node : *list) {
        std::string source = node["src"].asString().value_or(std::string());
        if (source.find(href) != std::string::npos)
            return node["title"].asString().value_or(node["title"].description());
        const auto* children = node["subnodes"].asList();
        if (children && !children->empty()) {
            if (auto title = titleForHref(node["subnodes"], href))
                return title;
        }
    }
    return std::nullopt;
}

} // namespace

namespace {

// titleForHref over the book's own contents entries (the nodes of the contents data).
std::optional<std::string> titleForHref(const std::vector<EPUBTOCEntryVO>& entries, const std::string& href)
{
    if (href.empty())
        return std::nullopt;
    for (const auto& entry : entries) {
        if (entry.src.find(href) != std::string::npos)
            return entry.tocLabel;
        if (!entry.subEntries.empty()) {
            if (auto title = titleForHref(entry.subEntries, href))
                return title;
        }
    }
    return std::nullopt;
}

// A chapter the contents do not list takes the name of the nearest chapter before it (or
// itself) that has one.
std::string nearestChapterTitle(const LectoroBookVO* book, const EPUBChapterVO& chapter)
{
    auto epub = dynamic_cast<const EPUBBookVO*>(book);
    if (!epub)
        return {};
    std::string latest;
    for (const auto& candidate : epub->chapters) {
        if (!candidate)
            continue;
        if (!candidate->title.empty())
            latest = candidate->title;
        if (candidate->href == chapter.href)
            return latest;
    }
    return {};
}

} // namespace

void ReaderViewController::updateChapterTitleForChapter(
    const EPUBChapterVO& chapter, const base::Value& tocData)
{
    // The first title found stands: a later node with children does not replace it.
    auto title = titleForHref(tocData, chapter.href).value_or(std::string());
    m_context.currentChapterName = title.empty() ? nearestChapterTitle(m_context.currentBook.get(), chapter) : title;
    if (auto* slider = m_reflowable->slider()) {
        if (const auto& popUp = slider->reflowableSliderPopUpView(); popUp && popUp->chapterNameLabel())
            popUp->chapterNameLabel()->setText(m_context.currentChapterName);
    }
}

void ReaderViewController::updateChapterTitleForChapter(const EPUBChapterVO& chapter)
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!epub) {
        updateChapterTitleForChapter(chapter, getTOCContentData());
        return;
    }
    if (m_chapterTitlesBook.lock() != epub) {
        m_chapterTitles.clear();
        m_chapterTitlesBook = epub;
    }
    auto found = m_chapterTitles.find(chapter.href);
    if (found == m_chapterTitles.end()) {
        auto title = titleForHref(epub->toc, chapter.href).value_or(std::string());
        if (title.empty())
            title = nearestChapterTitle(epub.get(), chapter);
        found = m_chapterTitles.emplace(chapter.href, std::move(title)).first;
    }
    m_context.currentChapterName = found->second;
    if (auto* slider = m_reflowable->slider()) {
        if (const auto& popUp = slider->reflowableSliderPopUpView(); popUp && popUp->chapterNameLabel())
            popUp->chapterNameLabel()->setText(m_context.currentChapterName);
    }
}

std::string ReaderViewController::getChapterNameForChapter(const EPUBChapterVO& chapter) const
{
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_context.currentBook);
    if (!epub || chapter.href.empty())
        return {};
    for (const auto& entry : epub->toc) {
        if (entry.src.find(chapter.href) != std::string::npos)
            return entry.tocLabel;
    }
    return {};
}

void ReaderViewController::addShadow(ui::View& view)
{
    auto& layer = *view.layer();
    layer.setMasksToBounds(false);
    layer.setShadowColor(ui::Color::black());
    layer.setShadowOffset({ 0, 3 });
    layer.setShadowOpacity(0.4);
    view.setClipsToBounds(false);
}

std::string ReaderViewController::getFontName()
{
    return MVLectoroFontManager::getFontName();
}

} // namespace lectoro
