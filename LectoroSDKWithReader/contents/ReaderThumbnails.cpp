// The reader's thumbnail panels: which one opens for which book, what it is handed, and
// the navigator's requests (a page, the history, closing). The browser's own requests
// reach the reader's didSelectThumbnailPageNo / didSelectActionToCloseThumbnail and its
// history handlers.

#include "LectoroSDKWithReader/contents/ContentsHost.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXFixedEpubThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailImages.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/SystemInformation.h"
#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/print/ViewPainter.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <functional>

namespace lectoro {

class ReaderContents::ThumbnailDelegate : public LXThumbnailDelegate,
                                          public LXFixedEpubThumbnailViewControllerDelegate {
public:
    ThumbnailDelegate(ReaderContents& contents)
        : m_contents(contents)
    {
    }

    // The browser's requests are the reader's own operations.
    void didSelectThumbnailPageNo(const std::string& page) override
    {
        if (auto* reader = m_contents.m_context.controller)
            reader->didSelectThumbnailPageNo(page);
    }
    void didSelectActionToCloseThumbnail() override
    {
        if (auto* reader = m_contents.m_context.controller)
            reader->didSelectActionToCloseThumbnail();
    }
    void didClickPreviousHistoryButtonWithCurrentPageNumber() override
    {
        if (auto* reader = m_contents.m_context.controller)
            reader->navigation().didClickPreviousHistoryButtonWithCurrentPageNumber();
    }
    void didClickNextHistoryButtonWithCurrentPageNumber() override
    {
        if (auto* reader = m_contents.m_context.controller)
            reader->navigation().didClickNextHistoryButtonWithCurrentPageNumber();
    }

    void navigateToPageNo(const std::string& src) override { m_contents.navigateToPageNo(src); }
    void didPerformActionToCloseThumbnail() override { m_contents.didPerformActionToCloseThumbnail(); }
    void didClickHistoryPreviousForFixedEpub() override { m_contents.didClickHistoryPreviousForFixedEpub(); }
    void didClickHistoryNextForFixedEpub() override { m_contents.didClickHistoryNextForFixedEpub(); }

private:
    ReaderContents& m_contents;
};

std::shared_ptr<ReaderContents::ThumbnailDelegate> ReaderContents::makeThumbnailDelegate(ReaderContents& contents)
{
    return std::make_shared<ThumbnailDelegate>(contents);
}

namespace {

std::shared_ptr<EPUBBookVO> thumbEpubOf(const ReaderContext& context)
{
    return std::dynamic_pointer_cast<EPUBBookVO>(context.currentBook);
}

std::string thumbWithoutFragment(const std::string& href)
{
    return href.substr(0, href.find('#'));
}

// The readable text of an XHTML page: tags dropped (a block's end starts a new line), the
// common entities read, white space collapsed; at most `limit` bytes.
std::string thumbPageText(const std::string& markup, size_t limit)
{
    static const char* const blockEnds[] = { "</p", "</h", "</div", "</li", "<br", "</tr" };
    static const std::pair<const char*, const char*> entities[]
        = { { "&amp;", "&" }, { "&lt;", "<" }, { "&gt;", ">" }, { "&quot;", "\"" }, { "&nbsp;", " " } };
    std::string text;
    bool space = false;
    size_t bodyStart = markup.find("<body");
    size_t i = bodyStart == std::string::npos ? 0 : bodyStart;
    auto append = [&](std::string_view piece) {
        if (space && !text.empty() && text.back() != '\n')
            text.push_back(' ');
        space = false;
        text.append(piece);
    };
    while (i < markup.size() && text.size() < limit) {
        char c = markup[i];
        if (c == '<') {
            size_t end = markup.find('>', i);
            if (end == std::string::npos)
                break;
            std::string_view tag(markup.data() + i, end - i);
            for (const char* block : blockEnds) {
                if (tag.starts_with(block) && !text.empty() && text.back() != '\n') {
                    text.push_back('\n');
                    space = false;
                }
            }
            i = end + 1;
            continue;
        }
        if (c == '&') {
            bool known = false;
            for (const auto& [name, value] : entities) {
                if (std::string_view(markup).substr(i).starts_with(name)) {
                    append(value);
                    i += std::string_view(name).size();
                    known = true;
                    break;
                }
            }
            if (known)
                continue;
        }
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            space = true;
            ++i;
            continue;
        }
        append(std::string_view(&markup[i], 1));
        ++i;
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

} // namespace

// Books without thumbnail files (EPUB books) get a snapshot of each page: its text laid
// out on a white page by the platform's painter, written once into the storage's
// "THUMBNAILS" folder.
void ReaderContents::installThumbnailSnapshots()
{
    auto epub = thumbEpubOf(m_context);
    if (!epub || epub->rootPath.empty()) {
        ThumbnailImages::shared().setSnapshotMaker(nullptr);
        return;
    }
    const std::string root = epub->rootPath;
    const std::string folder = SystemInformation::getInstance().getStorageDirectory() + "/THUMBNAILS/pages-"
        + std::to_string(m_context.bookID);
    ThumbnailImages::shared().setSnapshotMaker([root, folder](const base::Value& page) -> ui::ImagePtr {
        const std::string href = thumbWithoutFragment(page["SRC"].asString().value_or(""));
        // A page the book names is read only inside the book.
        auto file = base::pathInsideFolder(root, href);
        if (!file)
            return nullptr;
        auto markup = base::FileManager::defaultManager().readFile(*file);
        if (!markup)
            return nullptr;
        auto sheet = ui::View::create(ui::Rect { 0, 0, 125, 180 });
        sheet->setBackgroundColor(ui::Color::white());
        auto text = ui::Label::create(ui::Rect { 8, 8, 109, 164 });
        text->setNumberOfLines(0);
        text->setFont(ui::Font::systemFont(7));
        text->setTextColor(ui::Color::black());
        text->setText(thumbPageText(*markup, 600));
        // From the top of the page, as the page starts.
        ui::Rect frame = text->frame();
        frame.size.height = std::min(frame.size.height, text->sizeThatFits({ frame.size.width, 0 }).height);
        text->setFrame(frame);
        sheet->addSubview(text);
        if (!base::FileManager::defaultManager().createDirectory(folder, true))
            return nullptr;
        char name[32];
        std::snprintf(name, sizeof name, "%016zx@2x.png", std::hash<std::string> {}(href));
        const std::string path = folder + "/" + name;
        if (!print::writePNG(*sheet, path, { 2, ui::Color::white(), {} }))
            return nullptr;
        return ui::Image::fromFile(path);
    });
}

// MARK: - Look-ups

std::optional<EPUBPageListEntryVO> ReaderContents::getEpubTOCPageFromHrefForReflow(const std::string& href) const
{
    auto book = thumbEpubOf(m_context);
    if (!book)
        return std::nullopt;
    for (const auto& entry : book->tocPageList) {
        if (thumbWithoutFragment(entry.href) == href)
            return entry;
    }
    return std::nullopt;
}

int64_t ReaderContents::getFileIndexFromSRCForReflow(const std::string& src) const
{
    auto book = thumbEpubOf(m_context);
    if (!book)
        return 0;
    for (size_t index = 0; index < book->tocPageList.size(); ++index) {
        if (book->tocPageList[index].href == src)
            return static_cast<int64_t>(index);
    }
    return 0;
}

std::string ReaderContents::getPageAnchorForThumbnailNumber(const std::string& number) const
{
    if (!m_context.currentBook)
        return {};
    const base::Value data = m_context.currentBook->getThumbnailData();
    const auto* page = thumbnails::findPageByTypedNumber(data, number);
    return page ? (*page)["SRC"].asString().value_or("") : std::string();
}

std::pair<bool, bool> ReaderContents::historyButtonStates(size_t count, int32_t index)
{
    if (count < 2)
        return { false, false };
    return { index > 0, index < static_cast<int32_t>(count) - 1 };
}

void ReaderContents::enablePreviousPageHistory(bool enabled)
{
    m_previousHistoryEnabled = enabled;
    if (m_thumbnailVC)
        m_thumbnailVC->enablePreviousPageHistory(enabled);
}

void ReaderContents::enableNextPageHistory(bool enabled)
{
    m_nextHistoryEnabled = enabled;
    if (m_thumbnailVC)
        m_thumbnailVC->enableNextPageHistory(enabled);
}

// MARK: - Opening

void ReaderContents::presentThumbnailPanel(const std::shared_ptr<ui::ViewController>& panel, bool padOverFullScreen)
{
    auto presenter = m_host.contentsPresenter();
    if (!presenter)
        return;
    // Opening twice while the first is still on its way presents it once.
    if (presenter->presentedViewController() == panel)
        return;
    const bool pad = ui::Environment::current().isPad();
    panel->setModalPresentationStyle(pad && padOverFullScreen ? ui::ModalPresentationStyle::OverFullScreen
                                                              : ui::ModalPresentationStyle::OverCurrentContext);
    presenter->presentViewController(panel, true);
}

void ReaderContents::actionForThumbnail()
{
    auto* reader = m_context.controller;
    const auto& book = m_context.currentBook;
    if (!reader || !book)
        return;
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        m_context.activeMode = ReaderActiveModeThumbnails;
    m_thumbnailVC = LXThumbnailViewController::create();
    auto& browser = *m_thumbnailVC;
    if (m_context.activeMode == ReaderActiveModeTeacherReview) {
        if (const auto& panel = reader->teacherReview().teacherAnnotationController();
            panel && panel->studentSubmittedPageArray) {
            browser.setStudentSubmittedPageArray(*panel->studentSubmittedPageArray);
        }
    }
    browser.setDataArray(book->getThumbnailData());
    if (m_context.renderer)
        browser.setBookOrientationMode(m_context.renderer->getBookOrientationMode());
    markActivePages(browser);
    installThumbnailSnapshots();
    browser.setThemeVo(m_context.theme);
    if (m_context.theme)
        browser.setThumbnailBackgroundColor(tocColour(m_context.theme->thumbnail_slider_popup_background()));
    browser.setChapterIdAndTitleTextColor(ui::Color::white());
    browser.setTotalNumberOfPages(static_cast<int64_t>(reader->navigation().getTotalPagesArray().size()));
    m_host.moveBarsOffScreen();
    browser.setDelegate(m_thumbnailDelegate);
    reader->navigation().enableHistoryButtons();
    presentThumbnailPanel(m_thumbnailVC, false);
}

// The pages on screen (two for a spread) become the browser's marks: a page book's page
// ids, a fixed-layout EPUB's chapter file indexes.
void ReaderContents::markActivePages(LXThumbnailViewController& browser)
{
    auto* reader = m_context.controller;
    if (!reader || !m_context.renderer)
        return;
    auto active = m_context.renderer->getActivePages();
    auto epub = thumbEpubOf(m_context);
    if (std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook)) {
        for (size_t index = 0; index < active.size() && index < 2; ++index) {
            browser.selectPageAt(std::to_string(active[index].pageID));
            if (index == 0) {
                browser.setActivePageNumber(active[index].page ? active[index].page->pageNum : active[index].pageID);
                browser.setActiveDisplayNumber(active[index].displayNum);
            }
        }
    } else if (epub && epub->isFixedLayout()) {
        for (size_t index = 0; index < active.size() && index < 2; ++index) {
            auto chapter = reader->navigation().getEpubChapterForIndex(active[index].fileIndex);
            if (!chapter)
                continue;
            browser.selectPageAt(std::to_string(chapter->fileIndex));
            if (index == 0) {
                if (auto page = getEpubTOCPageFromHref(chapter->href))
                    browser.setActiveDisplayNumber(page->label);
            }
        }
    }
}

void ReaderContents::reselectThumbnailPages()
{
    if (!m_thumbnailVC)
        return;
    m_thumbnailVC->pageIndexArray().clear();
    markActivePages(*m_thumbnailVC);
}

std::shared_ptr<LXFixedEpubThumbnailViewController> ReaderContents::makeFixedEpubThumbnail()
{
    m_context.activeMode = ReaderActiveModeThumbnails;
    base::Value data = m_context.currentBook ? m_context.currentBook->getThumbnailData() : base::Value::List {};
    m_fixedEpubThumbnailVC = LXFixedEpubThumbnailViewController::create(std::move(data), m_context.theme);
    m_fixedEpubThumbnailVC->setDelegate(m_thumbnailDelegate);
    return m_fixedEpubThumbnailVC;
}

void ReaderContents::actionForFixedEpubThumbnail()
{
    auto* reader = m_context.controller;
    if (!reader || !thumbEpubOf(m_context))
        return;
    auto navigator = makeFixedEpubThumbnail();
    auto active = m_context.renderer ? m_context.renderer->getActivePages() : std::vector<RendererPage> {};
    if (!active.empty()) {
        if (auto chapter = reader->navigation().getEpubChapterForIndex(active.front().fileIndex)) {
            navigator->setActivePageNumber(chapter->fileIndex);
            if (auto page = getEpubTOCPageFromHref(chapter->href))
                navigator->setActiveDisplayNumber(page->label);
        }
    }
    navigator->setTotalNumberOfPages(static_cast<int64_t>(reader->navigation().getTotalPagesArray().size()));
    m_host.moveBarsOffScreen();
    enableHistoryButtonsForFixedEpubThumbnail();
    presentThumbnailPanel(navigator, true);
}

void ReaderContents::actionForReflowThumbnail()
{
    auto* reader = m_context.controller;
    if (!reader || !thumbEpubOf(m_context) || !m_context.renderer)
        return;
    // Asked again while the first is still on its way: the same navigator is presented once.
    if (!m_fixedEpubThumbnailVC)
        makeFixedEpubThumbnail();
    else
        m_context.activeMode = ReaderActiveModeThumbnails;
    std::weak_ptr<LXFixedEpubThumbnailViewController> weakNavigator = m_fixedEpubThumbnailVC;
    std::weak_ptr<const void> lifetime = reader->lifetimeToken();
    auto active = m_context.renderer->getActivePages();
    m_context.renderer->getVistibleThumbnailNumber([this, weakNavigator, lifetime, active](const std::string& number) {
        auto alive = lifetime.lock();
        auto navigator = weakNavigator.lock();
        auto* reader = m_context.controller;
        if (!alive || !navigator || !reader || navigator != m_fixedEpubThumbnailVC)
            return;
        if (m_context.navigationHistoryPagesArray.empty() && !number.empty())
            reader->navigation().setpagesIntoHistoryArray(getPageAnchorForThumbnailNumber(number));
        if (!active.empty()) {
            if (auto chapter = reader->navigation().getEpubChapterForIndex(active.front().fileIndex)) {
                if (auto page = getEpubTOCPageFromHrefForReflow(chapter->href))
                    navigator->setActivePageNumber(getFileIndexFromSRCForReflow(page->href));
            }
            if (!number.empty())
                navigator->setActiveDisplayNumber(number);
        }
        navigator->setTotalNumberOfPages(static_cast<int64_t>(reader->navigation().getTotalPagesArray().size()));
        m_host.moveBarsOffScreen();
        enableHistoryButtonsForFixedEpubThumbnail();
        presentThumbnailPanel(navigator, true);
    });
}

// MARK: - The navigator's requests

void ReaderContents::navigateToPageNo(const std::string& src)
{
    auto* reader = m_context.controller;
    if (!reader)
        return;
    std::string entry = src;
    if (auto epub = thumbEpubOf(m_context); epub && epub->isFixedLayout()) {
        std::string index = reader->search().getFileIndexForHREF(src);
        if (!index.empty())
            entry = index;
    }
    reader->navigation().addPageIntoPageHistoryArray(entry);
    m_context.isPageNavigateByScroll = false;
    removeFixedEpubThumbnail();
    if (m_context.renderer)
        m_context.renderer->navigateToPageNumber(src);
}

void ReaderContents::didPerformActionToCloseThumbnail()
{
    removeFixedEpubThumbnail();
}

void ReaderContents::didClickHistoryPreviousForFixedEpub()
{
    auto* reader = m_context.controller;
    if (!reader || m_context.currentHistoryPageIndex < 1)
        return;
    m_context.isPageNavigateByScroll = false;
    int32_t index = reader->navigation().getPrevPageNavigateIndex();
    const auto& history = m_context.navigationHistoryPagesArray;
    if (m_context.renderer && index >= 0 && static_cast<size_t>(index) < history.size())
        m_context.renderer->navigateToPageNumber(history[static_cast<size_t>(index)]);
    reader->navigation().resetHistoryPageIndex();
    removeFixedEpubThumbnail();
}

void ReaderContents::didClickHistoryNextForFixedEpub()
{
    auto* reader = m_context.controller;
    const auto& history = m_context.navigationHistoryPagesArray;
    if (!reader || static_cast<int64_t>(history.size()) <= static_cast<int64_t>(m_context.currentHistoryPageIndex) + 1)
        return;
    int32_t index = reader->navigation().getNextPageNavigateIndex();
    m_context.isPageNavigateByScroll = false;
    if (m_context.renderer && index >= 0 && static_cast<size_t>(index) < history.size())
        m_context.renderer->navigateToPageNumber(history[static_cast<size_t>(index)]);
    removeFixedEpubThumbnail();
}

void ReaderContents::removeFixedEpubThumbnail()
{
    m_context.activeMode = 0;
    if (auto navigator = std::move(m_fixedEpubThumbnailVC))
        navigator->dismissViewControllerAnimated(true);
    m_fixedEpubThumbnailVC.reset();
    if (auto* reader = m_context.controller)
        reader->resetAllPlayerActionBar();
}

// The navigator follows the browser's rule: no history (or one entry) leaves both
// buttons off.
void ReaderContents::enableHistoryButtonsForFixedEpubThumbnail()
{
    if (!m_fixedEpubThumbnailVC)
        return;
    auto [back, forward]
        = historyButtonStates(m_context.navigationHistoryPagesArray.size(), m_context.currentHistoryPageIndex);
    m_fixedEpubThumbnailVC->enablePreviousPageHistory(back);
    m_fixedEpubThumbnailVC->enableNextPageHistory(forward);
}

void ReaderContents::removeThumbnail()
{
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        m_context.activeMode = m_context.backgroundActiveMode;
    if (auto browser = std::move(m_thumbnailVC))
        browser->dismissViewControllerAnimated(true);
    m_thumbnailVC.reset();
    if (auto* reader = m_context.controller)
        reader->resetAllPlayerActionBar();
}

} // namespace lectoro
