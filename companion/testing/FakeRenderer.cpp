#include "companion/testing/FakeRenderer.h"

#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ViewController.h"

namespace companion::testing {

namespace {

base::Value valueOf(const std::optional<std::string>& text)
{
    return text ? base::Value(*text) : base::Value();
}

base::Value valueOf(const ui::Rect& rect)
{
    return base::Value::Dictionary { { "x", rect.origin.x }, { "y", rect.origin.y }, { "width", rect.size.width },
        { "height", rect.size.height } };
}

base::Value valueOf(const ui::Point& point)
{
    return base::Value::Dictionary { { "x", point.x }, { "y", point.y } };
}

base::Value valueOf(const std::shared_ptr<ui::View>& view)
{
    if (!view)
        return base::Value();
    return base::Value::Dictionary { { "class", std::string(view->className()) }, { "tag", view->tag() } };
}

base::Value valueOf(const std::shared_ptr<ui::ViewController>& controller)
{
    if (!controller)
        return base::Value();
    return base::Value(std::string(controller->className()));
}

template<class Record>
base::Value recordValue(const std::shared_ptr<Record>& record)
{
    return record ? record->toUGCDictionary() : base::Value();
}

base::Value linkValue(const std::shared_ptr<lectoro::PXLinkVO>& link)
{
    return link ? base::Value(link->linkID) : base::Value();
}

template<class Item, class Convert>
base::Value listOf(const std::vector<Item>& items, Convert convert)
{
    base::Value::List list;
    for (const auto& item : items)
        list.push_back(convert(item));
    return base::Value(std::move(list));
}

std::optional<std::string> displayOf(const lectoro::RendererPage& page)
{
    if (page.displayNum.empty())
        return std::nullopt;
    return page.displayNum;
}

// An EPUB page (it names its chapter) is numbered by its file index, a page book's page by
// its page id.
int64_t numberOf(const lectoro::RendererPage& page)
{
    return page.href.empty() && page.idref.empty() ? page.pageID : page.fileIndex;
}

} // namespace

std::shared_ptr<FakeRenderer> FakeRenderer::create(std::string bookPath,
    std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate, std::optional<std::string> isbn,
    base::Value additionalInfo)
{
    return std::shared_ptr<FakeRenderer>(
        new FakeRenderer(std::move(bookPath), std::move(delegate), std::move(isbn), std::move(additionalInfo)));
}

FakeRenderer::FakeRenderer(std::string bookPath, std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate,
    std::optional<std::string> isbn, base::Value additionalInfo)
    : lectoro::RendererViewController(std::move(bookPath), std::move(delegate), std::move(isbn), std::move(additionalInfo))
{
}

void FakeRenderer::record(std::string name, base::Value::List arguments)
{
    m_calls.push_back({ std::move(name), base::Value(std::move(arguments)) });
}

void FakeRenderer::post(std::function<void()> task)
{
    std::weak_ptr<const void> owner = weak_from_this();
    base::RunLoop::main().post(owner, std::move(task));
}

std::vector<std::string> FakeRenderer::callNames() const
{
    std::vector<std::string> names;
    for (const auto& call : m_calls)
        names.push_back(call.name);
    return names;
}

std::vector<RendererCall> FakeRenderer::callsNamed(const std::string& name) const
{
    std::vector<RendererCall> found;
    for (const auto& call : m_calls) {
        if (call.name == name)
            found.push_back(call);
    }
    return found;
}

size_t FakeRenderer::countOf(const std::string& name) const
{
    return callsNamed(name).size();
}

std::optional<RendererCall> FakeRenderer::lastCall(const std::string& name) const
{
    for (auto it = m_calls.rbegin(); it != m_calls.rend(); ++it) {
        if (it->name == name)
            return *it;
    }
    return std::nullopt;
}

void FakeRenderer::setFIBView(int64_t linkID, std::shared_ptr<ui::View> view)
{
    m_fibViews.emplace_back(linkID, std::move(view));
}

void FakeRenderer::setSearchAnswers(bool nextAvailable, bool previousAvailable, bool lastNext, bool lastPrevious)
{
    m_nextAvailable = nextAvailable;
    m_previousAvailable = previousAvailable;
    m_lastNext = lastNext;
    m_lastPrevious = lastPrevious;
}

bool FakeRenderer::fire(
    const std::function<void(lectoro::RendererViewControllerDelegate&, lectoro::RendererViewController&)>& body)
{
    auto delegate = this->delegate();
    if (!delegate || !body)
        return false;
    auto protect = shared_from_this();
    body(*delegate, *this);
    return true;
}

std::optional<std::string> FakeRenderer::loadBook(std::shared_ptr<lectoro::LectoroBookVO> book,
    std::vector<lectoro::RendererPage> pages)
{
    std::optional<std::string> initial;
    fire([&](auto& delegate, auto& renderer) { initial = delegate.initialDisplayNumber(renderer); });
    m_book = book;
    fire([&](auto& delegate, auto& renderer) { delegate.didBookLoadedSuccessfullyWithBook(renderer, book); });
    showPages(std::move(pages));
    return initial;
}

void FakeRenderer::failLoading(const base::Error& error)
{
    fire([&](auto& delegate, auto& renderer) { delegate.initialDisplayNumber(renderer); });
    fire([&](auto& delegate, auto& renderer) { delegate.didBookLoadingFailedWithError(renderer, error); });
}

void FakeRenderer::showPages(std::vector<lectoro::RendererPage> pages)
{
    auto leaving = std::move(m_activePages);
    m_activePages = pages;
    fire([&](auto& delegate, auto& renderer) {
        for (const auto& page : leaving) {
            delegate.didRendererChangedAvailabilityForActionState(renderer, 0, numberOf(page), displayOf(page));
            delegate.willUnloadPageWithPageNumber(renderer, numberOf(page), displayOf(page));
        }
        for (const auto& page : pages) {
            delegate.willLoadPageWithPageNumber(renderer, numberOf(page), displayOf(page));
            delegate.didLoadPageWithPageNumber(renderer, numberOf(page), displayOf(page));
            delegate.didRendererChangedAvailabilityForActionState(renderer, 1, numberOf(page), displayOf(page));
        }
    });
}

void FakeRenderer::clearObjects()
{
    record("clearObjects");
    m_cleared = true;
}

void FakeRenderer::navigateToPageNumber(const std::string& page)
{
    record("navigateToPageNumber", { page });
}

void FakeRenderer::jumpToCFIString(const std::string& cfi)
{
    record("jumpToCFIString", { cfi });
}

void FakeRenderer::reloadPages()
{
    record("reloadPages");
}

std::vector<lectoro::RendererPage> FakeRenderer::getActivePages() const
{
    return m_activePages;
}

void FakeRenderer::setFurthestPageData(const std::string& data)
{
    record("setFurthestPageData", { data });
    m_furthestPageData = data;
}

void FakeRenderer::enableFurthestPage(bool enabled)
{
    record("enableFurthestPage", { enabled });
    m_furthestEnabled = enabled;
}

void FakeRenderer::navigateToFurthestPageWithSuccessHandler(Completion success, FailureHandler failure)
{
    record("navigateToFurthestPageWithSuccessHandler");
    if (m_furthestSucceeds) {
        if (success)
            success();
    } else if (failure) {
        failure(base::Error::make("companion.testing", 1, "The furthest page jump failed"));
    }
}

void FakeRenderer::setBookOrientationMode(int64_t mode)
{
    record("setBookOrientationMode", { mode });
    m_orientationMode = mode;
}

void FakeRenderer::disableTwoPageSeperation(bool disabled)
{
    record("disableTwoPageSeperation", { disabled });
}

void FakeRenderer::resetZoomScaleToDefault()
{
    record("resetZoomScaleToDefault");
}

std::string FakeRenderer::getCurrentCFI() const
{
    return m_currentCFI;
}

std::string FakeRenderer::getCurrentBookDataCFI() const
{
    return m_bookDataCFI;
}

std::string FakeRenderer::getLastVisitedRangeInfo() const
{
    return m_rangeInfo;
}

void FakeRenderer::getVistibleThumbnailNumber(std::function<void(const std::string&)> callback)
{
    record("getVistibleThumbnailNumber");
    if (callback)
        post([callback = std::move(callback), number = m_visibleThumbnail] { callback(number); });
}

void FakeRenderer::didFontSizeChanged(int64_t step)
{
    record("didFontSizeChanged", { step });
}

void FakeRenderer::setFontFamily(const std::string& family)
{
    record("setFontFamily", { family });
}

void FakeRenderer::enablePagination(bool enabled)
{
    record("enablePagination", { enabled });
}

void FakeRenderer::setReaderMode(int64_t mode)
{
    record("setReaderMode", { mode });
}

void FakeRenderer::setTextAlignment(int64_t alignment)
{
    record("setTextAlignment", { alignment });
}

void FakeRenderer::setLineSpacing(int64_t spacing)
{
    record("setLineSpacing", { spacing });
}

void FakeRenderer::setMargin(int64_t margin)
{
    record("setMargin", { margin });
}

void FakeRenderer::resetReaderFontSetting()
{
    record("resetReaderFontSetting");
}

void FakeRenderer::resetReaderSetting()
{
    record("resetReaderSetting");
}

void FakeRenderer::setVerticalMarginForReflowableEpubBook(double margin)
{
    record("setVerticalMarginForReflowableEpubBook", { margin });
    m_verticalMargin = margin;
}

void FakeRenderer::setColorForSharedUGC(const std::string& color)
{
    record("setColorForSharedUGC", { color });
    m_colorForSharedUGC = color;
}

void FakeRenderer::setIsHihghlightEnabled(bool enabled)
{
    record("setIsHihghlightEnabled", { enabled });
    m_highlightEnabled = enabled;
}

void FakeRenderer::setBookThumbnailImage(const std::string& image)
{
    record("setBookThumbnailImage", { image });
}

void FakeRenderer::setHighlightView(std::shared_ptr<ui::View> view)
{
    record("setHighlightView", { valueOf(view) });
    m_highlightView = std::move(view);
}

void FakeRenderer::removeHighlightView()
{
    record("removeHighlightView");
}

bool FakeRenderer::openHighlightView(std::shared_ptr<ui::View> view, int64_t pageNo, const ui::Point& coordinates)
{
    record("openHighlightView", { valueOf(view), pageNo, valueOf(coordinates) });
    return m_openHighlightView;
}

void FakeRenderer::highlight(std::shared_ptr<ui::View> view, const std::string& textColor,
    const std::string& backgroundColor, bool isImportant)
{
    record("highlight", { valueOf(view), textColor, backgroundColor, isImportant });
}

std::shared_ptr<lectoro::SDKHighlightVO> FakeRenderer::getHighlightForSelectedTextWithTextColor(
    const std::string& textColor, const std::string& backgroundColor)
{
    record("getHighlightForSelectedTextWithTextColor", { textColor, backgroundColor });
    return m_selectionHighlight;
}

void FakeRenderer::getHighlightForSelectedTextEpubWithTextColor(const std::string& textColor,
    const std::string& backgroundColor, HighlightCallback callback)
{
    record("getHighlightForSelectedTextEpubWithTextColor", { textColor, backgroundColor });
    if (callback)
        post([callback = std::move(callback), answer = m_selectionHighlight] { callback(answer); });
}

void FakeRenderer::deleteSelectedHighlight(std::shared_ptr<lectoro::SDKHighlightVO> record)
{
    this->record("deleteSelectedHighlight", { recordValue(record) });
}

std::shared_ptr<lectoro::SDKHighlightVO> FakeRenderer::getHighlightVOForStickyNoteWithDefaultPosition()
{
    record("getHighlightVOForStickyNoteWithDefaultPosition");
    return m_stickyNote;
}

void FakeRenderer::getHighlightVOForStickyNoteWithDefaultPositionWithCallBack(HighlightCallback callback)
{
    record("getHighlightVOForStickyNoteWithDefaultPositionWithCallBack");
    if (callback)
        post([callback = std::move(callback), answer = m_stickyNote] { callback(answer); });
}

std::shared_ptr<lectoro::SDKHighlightVO> FakeRenderer::getHighlightVOForStickyNoteTouchPoint(const ui::Point& point)
{
    record("getHighlightVOForStickyNoteTouchPoint", { valueOf(point) });
    return m_stickyNote;
}

void FakeRenderer::postNoteWithHighlightVO(std::shared_ptr<lectoro::SDKHighlightVO> record)
{
    this->record("postNoteWithHighlightVO", { recordValue(record) });
}

void FakeRenderer::deleteNoteWithHighlightVO(std::shared_ptr<lectoro::SDKHighlightVO> record)
{
    this->record("deleteNoteWithHighlightVO", { recordValue(record) });
}

void FakeRenderer::drawHighlights(const std::vector<std::shared_ptr<lectoro::SDKHighlightVO>>& records, int64_t pageNo)
{
    record("drawHighlights", { listOf(records, recordValue<lectoro::SDKHighlightVO>), pageNo });
}

void FakeRenderer::updateUGC(const std::vector<std::shared_ptr<lectoro::SDKUGCVO>>& records, int64_t pageNo)
{
    record("updateUGC", { listOf(records, recordValue<lectoro::SDKUGCVO>), pageNo });
}

void FakeRenderer::addBookmarkView(std::shared_ptr<ui::View> view, int64_t pageNo)
{
    record("addBookmarkView", { valueOf(view), pageNo });
}

void FakeRenderer::addBookmark(std::shared_ptr<lectoro::SDKBookmarkVO> bookmark, int64_t pageNo)
{
    record("addBookmark", { recordValue(bookmark), pageNo });
}

std::shared_ptr<lectoro::SDKBookmarkVO> FakeRenderer::getBookmarkVOForPageNo(int64_t pageNo)
{
    record("getBookmarkVOForPageNo", { pageNo });
    return m_bookmark;
}

void FakeRenderer::setBookmarkVO(std::shared_ptr<lectoro::SDKBookmarkVO> bookmark)
{
    record("setBookmarkVO", { recordValue(bookmark) });
}

void FakeRenderer::setPenDrawingModeEnabled(bool enabled)
{
    record("setPenDrawingModeEnabled", { enabled });
    m_penDrawing = enabled;
}

void FakeRenderer::setPenDrawingModeEnabled(bool enabled, bool withReviewModeEnable)
{
    record("setPenDrawingModeEnabledWithReviewModeEnable", { enabled, withReviewModeEnable });
    m_penDrawing = enabled;
}

std::shared_ptr<ui::View> FakeRenderer::getPenDrawingCanvas()
{
    record("getPenDrawingCanvas");
    if (!m_penCanvas)
        m_penCanvas = ui::View::create();
    return m_penCanvas;
}

void FakeRenderer::drawPenDrawings(const std::vector<std::shared_ptr<lectoro::SDKPentoolVO>>& records, int64_t pageNo)
{
    record("drawPenDrawings", { listOf(records, recordValue<lectoro::SDKPentoolVO>), pageNo });
}

std::shared_ptr<lectoro::SDKTextAnnotationVO> FakeRenderer::getTextAnnotationVOWithDefaultPosition()
{
    record("getTextAnnotationVOWithDefaultPosition");
    return m_textAnnotation;
}

void FakeRenderer::addTextAnnotation(std::shared_ptr<lectoro::SDKTextAnnotationVO> record)
{
    this->record("addTextAnnotation", { recordValue(record) });
}

void FakeRenderer::drawTextAnnotation(const std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>>& records,
    int64_t pageNo)
{
    record("drawTextAnnotation", { listOf(records, recordValue<lectoro::SDKTextAnnotationVO>), pageNo });
}

void FakeRenderer::deleteTextAnnotation()
{
    record("deleteTextAnnotation");
}

void FakeRenderer::exitTextAnnotationMode()
{
    record("exitTextAnnotationMode");
}

void FakeRenderer::removeTextAnnotationModeWithoutSave()
{
    record("removeTextAnnotationModeWithoutSave");
}

void FakeRenderer::updateTextAnnotationAlignment(int64_t alignment)
{
    record("updateTextAnnotationAlignment", { alignment });
}

void FakeRenderer::updateTextAnnotationWithBackground(const std::string& backgroundColor, const std::string& textColor)
{
    record("updateTextAnnotationWithBackground", { backgroundColor, textColor });
}

void FakeRenderer::drawMarkups(const std::vector<std::shared_ptr<lectoro::PXLinkVO>>& links, int64_t pageNo)
{
    record("drawMarkups", { listOf(links, linkValue), pageNo });
    // The markups show on the page, where a finger reaches them, as the real renderer puts them.
    auto& placed = m_markupViews[pageNo];
    for (const auto& old : placed)
        old->removeFromSuperview();
    placed.clear();
    for (const auto& link : links) {
        if (!link)
            continue;
        for (const auto& weakView : { link->iconView, link->iconHitAreaLabel }) {
            if (auto markupView = weakView.lock()) {
                view()->addSubview(markupView);
                placed.push_back(markupView);
            }
        }
    }
}

void FakeRenderer::drawFIBs(const std::vector<std::shared_ptr<ui::View>>& views, int64_t pageNo)
{
    record("drawFIBs", { listOf(views, [](const auto& view) { return valueOf(view); }), pageNo });
}

void FakeRenderer::drawFIB(const std::vector<std::shared_ptr<ui::View>>& views, int64_t pageNumber)
{
    record("drawFIB", { listOf(views, [](const auto& view) { return valueOf(view); }), pageNumber });
}

std::shared_ptr<ui::View> FakeRenderer::getFIBViewForLinkId(int64_t linkID)
{
    record("getFIBViewForLinkId", { linkID });
    for (const auto& [id, view] : m_fibViews) {
        if (id == linkID)
            return view;
    }
    return nullptr;
}

void FakeRenderer::addReviewViewOnFib(std::shared_ptr<lectoro::SDKFIBVO> fib)
{
    record("addReviewViewOnFib", { recordValue(fib) });
}

void FakeRenderer::addMultiLinkController(std::shared_ptr<ui::ViewController> controller,
    std::shared_ptr<ui::View> sourceView, int64_t pageNo)
{
    record("addMultiLinkController", { valueOf(controller), valueOf(sourceView), pageNo });
}

void FakeRenderer::addInLineVideo(std::shared_ptr<ui::View> view, const ui::Rect& rect, int64_t pageNo)
{
    record("addInLineVideo", { valueOf(view), valueOf(rect), pageNo });
}

void FakeRenderer::addInstructionPopup(std::shared_ptr<ui::ViewController> controller,
    std::shared_ptr<ui::View> sourceView, int64_t pageNo)
{
    record("addInstructionPopup", { valueOf(controller), valueOf(sourceView), pageNo });
}

void FakeRenderer::set3dVideoModeEnabled(bool enabled)
{
    record("set3dVideoModeEnabled", { enabled });
    m_3dVideo = enabled;
}

void FakeRenderer::highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color)
{
    record("highlightText", { word, pageNo, valueOf(color) });
}

void FakeRenderer::highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color,
    const std::optional<std::string>& paragraph)
{
    record("highlightTextWithParagraph", { word, pageNo, valueOf(color), valueOf(paragraph) });
}

void FakeRenderer::highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color,
    const std::string& selectedWordHighlightColor, const std::vector<std::shared_ptr<lectoro::TextSearchResult>>& searchArray,
    std::shared_ptr<lectoro::TextSearchResult> selectedResult)
{
    int64_t selectedIndex = -1;
    for (size_t index = 0; index < searchArray.size(); ++index) {
        if (searchArray[index] == selectedResult)
            selectedIndex = static_cast<int64_t>(index);
    }
    record("highlightTextWithSearchArray", { word, pageNo, valueOf(color), selectedWordHighlightColor,
                                               static_cast<int64_t>(searchArray.size()), selectedIndex });
}

bool FakeRenderer::isNextSearchResultAvailableForSearchResult(std::shared_ptr<lectoro::TextSearchResult>)
{
    record("isNextSearchResultAvailableForSearchResult");
    return m_nextAvailable;
}

bool FakeRenderer::isPreviousSearchResultAvailableForSearchResult(std::shared_ptr<lectoro::TextSearchResult>)
{
    record("isPreviousSearchResultAvailableForSearchResult");
    return m_previousAvailable;
}

void FakeRenderer::moveToNextSelectedSearchForSearchResult(std::shared_ptr<lectoro::TextSearchResult>)
{
    record("moveToNextSelectedSearchForSearchResult");
}

void FakeRenderer::moveToPreviousSelectedSearchForSearchResult(std::shared_ptr<lectoro::TextSearchResult>)
{
    record("moveToPreviousSelectedSearchForSearchResult");
}

bool FakeRenderer::isNextSearchResultAvailable()
{
    record("isNextSearchResultAvailable");
    return m_nextAvailable;
}

void FakeRenderer::moveToNextSelectedSearch()
{
    record("moveToNextSelectedSearch");
}

bool FakeRenderer::isPreviousSearchResultAvailable()
{
    record("isPreviousSearchResultAvailable");
    return m_previousAvailable;
}

void FakeRenderer::moveToPreviousSelectedSearch()
{
    record("moveToPreviousSelectedSearch");
}

bool FakeRenderer::isLastNextSearchResult()
{
    record("isLastNextSearchResult");
    return m_lastNext;
}

bool FakeRenderer::isLastPreviousSearchResult()
{
    record("isLastPreviousSearchResult");
    return m_lastPrevious;
}

void FakeRenderer::addPrintPageView(std::shared_ptr<ui::View> view, int64_t pageNo)
{
    record("addPrintPageView", { valueOf(view), pageNo });
}

void FakeRenderer::printPagesWithWatermark(const std::string& watermark, const std::string& textColor,
    const std::vector<int64_t>& pageNumbers, std::function<void(std::shared_ptr<lectoro::RendererPrintPage>)> callback)
{
    record("printPagesWithWatermark",
        { watermark, textColor, listOf(pageNumbers, [](int64_t number) { return base::Value(number); }) });
    if (!callback)
        return;
    std::shared_ptr<lectoro::RendererPrintPage> printPage;
    if (m_printGivesPages && !pageNumbers.empty()) {
        printPage = std::make_shared<lectoro::RendererPrintPage>();
        printPage->watermark = watermark;
        printPage->textColor = textColor;
        printPage->pageNumbers = pageNumbers;
        printPage->pageImagePaths.resize(pageNumbers.size());
    }
    post([callback = std::move(callback), printPage] { callback(printPage); });
}

void FakeRenderer::highlightTextWithFrame(const ui::Rect& frame, int64_t pageNo, const std::string& color)
{
    record("highlightTextWithFrame", { valueOf(frame), pageNo, color });
}

void FakeRenderer::highlightSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>& frames, int64_t pageNo,
    const std::string& color)
{
    base::Value framesValue = frames ? listOf(*frames, [](const ui::Rect& rect) { return valueOf(rect); }) : base::Value();
    record("highlightSentenceWithWordFrames", { std::move(framesValue), pageNo, color });
}

void FakeRenderer::highlightWordByWordId(const std::string& wordId, const std::string& pageIdentifier,
    const std::string& color)
{
    record("highlightWordByWordId", { wordId, pageIdentifier, color });
}

void FakeRenderer::getFirstVisibleWordForScreenWithCallBack(std::function<void(const std::optional<base::Value>&)> callback)
{
    record("getFirstVisibleWordForScreenWithCallBack");
    if (callback)
        post([callback = std::move(callback), word = m_firstVisibleWord] { callback(word); });
}

void FakeRenderer::updateBackgroundForAudioSyncFramesWithColor(const std::string& color)
{
    record("updateBackgroundForAudioSyncFramesWithColor", { color });
}

void FakeRenderer::enableTeacherReviewModeWithPageArray(const std::vector<std::string>& pages)
{
    record("enableTeacherReviewModeWithPageArray",
        { listOf(pages, [](const std::string& page) { return base::Value(page); }) });
    m_teacherReview = true;
}

void FakeRenderer::disableTeacherReviewMode()
{
    record("disableTeacherReviewMode");
    m_teacherReview = false;
}

void FakeRenderer::setTeacherReviewDragBoxModeEnabled(bool enabled)
{
    record("setTeacherReviewDragBoxModeEnabled", { enabled });
    m_dragBox = enabled;
}

} // namespace companion::testing
