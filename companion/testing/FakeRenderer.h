#pragma once

// A renderer for product tests. It loads nothing by itself: every call is recorded (name
// and arguments, records as their UGC dictionaries, views as their tags), queries answer
// what the test set (setters given by the product are remembered and answered back), and
// the test fires the delegate's callbacks when it wants, one by one or as the real
// renderer would send them for a book and its pages.

#include "LectoroSDKWithReader/readersdk/RendererViewController.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace companion::testing {

struct RendererCall {
    std::string name;
    // A list of the arguments.
    base::Value arguments;
};

class FakeRenderer final : public lectoro::RendererViewController {
public:
    static std::shared_ptr<FakeRenderer> create(std::string bookPath = {},
        std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate = {}, std::optional<std::string> isbn = std::nullopt,
        base::Value additionalInfo = {});

    // --- The record of calls ---
    const std::vector<RendererCall>& calls() const { return m_calls; }
    std::vector<std::string> callNames() const;
    std::vector<RendererCall> callsNamed(const std::string&) const;
    size_t countOf(const std::string&) const;
    std::optional<RendererCall> lastCall(const std::string&) const;
    void clearCalls() { m_calls.clear(); }

    // --- Answers ---
    void setCurrentBook(std::shared_ptr<lectoro::LectoroBookVO> book) { m_book = std::move(book); }
    void setActivePages(std::vector<lectoro::RendererPage> pages) { m_activePages = std::move(pages); }
    void setHighlightForSelection(std::shared_ptr<lectoro::SDKHighlightVO> record) { m_selectionHighlight = std::move(record); }
    void setStickyNoteAnswer(std::shared_ptr<lectoro::SDKHighlightVO> record) { m_stickyNote = std::move(record); }
    void setTextAnnotationAnswer(std::shared_ptr<lectoro::SDKTextAnnotationVO> record) { m_textAnnotation = std::move(record); }
    void setBookmarkAnswer(std::shared_ptr<lectoro::SDKBookmarkVO> record) { m_bookmark = std::move(record); }
    void setOpenHighlightViewAnswer(bool answer) { m_openHighlightView = answer; }
    void setCurrentCFI(std::string cfi) { m_currentCFI = std::move(cfi); }
    void setCurrentBookDataCFI(std::string cfi) { m_bookDataCFI = std::move(cfi); }
    void setLastVisitedRangeInfo(std::string range) { m_rangeInfo = std::move(range); }
    void setVisibleThumbnailNumber(std::string number) { m_visibleThumbnail = std::move(number); }
    void setFirstVisibleWord(std::optional<base::Value> word) { m_firstVisibleWord = std::move(word); }
    void setFIBView(int64_t linkID, std::shared_ptr<ui::View>);
    // What the search-stepping questions answer.
    void setSearchAnswers(bool nextAvailable, bool previousAvailable, bool lastNext, bool lastPrevious);
    // Whether printing hands back pages (the default) or nothing.
    void setPrintAnswer(bool givesPages) { m_printGivesPages = givesPages; }
    // Whether the furthest-page jump succeeds (the default) or fails.
    void setFurthestPageJumpSucceeds(bool succeeds) { m_furthestSucceeds = succeeds; }

    // State the product set, read back.
    const std::string& colorForSharedUGC() const { return m_colorForSharedUGC; }
    bool isHighlightEnabled() const { return m_highlightEnabled; }
    double verticalMargin() const { return m_verticalMargin; }
    bool is3dVideoModeEnabled() const { return m_3dVideo; }
    std::shared_ptr<ui::View> highlightView() const { return m_highlightView; }
    bool isCleared() const { return m_cleared; }

    // --- Firing the delegate's callbacks ---
    // Runs the body with the delegate; false when there is none.
    bool fire(const std::function<void(lectoro::RendererViewControllerDelegate&, lectoro::RendererViewController&)>&);
    // initialDisplayNumber, then didBookLoadedSuccessfullyWithBook (the book becomes the
    // current one), then the pages as showPages() does. Answers what
    // initialDisplayNumber answered.
    std::optional<std::string> loadBook(std::shared_ptr<lectoro::LectoroBookVO>, std::vector<lectoro::RendererPage> pages);
    void failLoading(const base::Error&);
    // The pages on screen leave (availability 0, willUnloadPage) and these come
    // (willLoadPage, didLoadPage, availability 1), as the real renderer reports them.
    void showPages(std::vector<lectoro::RendererPage>);

    // --- RendererViewController ---
    std::shared_ptr<lectoro::LectoroBookVO> currentBook() const override { return m_book; }
    void clearObjects() override;
    void navigateToPageNumber(const std::string&) override;
    void jumpToCFIString(const std::string&) override;
    void reloadPages() override;
    std::vector<lectoro::RendererPage> getActivePages() const override;
    void setFurthestPageData(const std::string&) override;
    std::optional<std::string> furthestPageData() const override { return m_furthestPageData; }
    void enableFurthestPage(bool) override;
    bool isFurthestPageEnabled() const override { return m_furthestEnabled; }
    void navigateToFurthestPageWithSuccessHandler(Completion, FailureHandler) override;
    void setBookOrientationMode(int64_t) override;
    int64_t getBookOrientationMode() const override { return m_orientationMode; }
    void disableTwoPageSeperation(bool) override;
    void resetZoomScaleToDefault() override;
    std::string getCurrentCFI() const override;
    std::string getCurrentBookDataCFI() const override;
    std::string getLastVisitedRangeInfo() const override;
    void getVistibleThumbnailNumber(std::function<void(const std::string&)>) override;
    void didFontSizeChanged(int64_t step) override;
    void setFontFamily(const std::string&) override;
    void enablePagination(bool) override;
    void setReaderMode(int64_t) override;
    void setTextAlignment(int64_t) override;
    void setLineSpacing(int64_t) override;
    void setMargin(int64_t) override;
    void resetReaderFontSetting() override;
    void resetReaderSetting() override;
    void setVerticalMarginForReflowableEpubBook(double) override;
    void setColorForSharedUGC(const std::string&) override;
    void setIsHihghlightEnabled(bool) override;
    void setBookThumbnailImage(const std::string&) override;
    void setHighlightView(std::shared_ptr<ui::View>) override;
    void removeHighlightView() override;
    bool openHighlightView(std::shared_ptr<ui::View>, int64_t pageNo, const ui::Point& coordinates) override;
    void highlight(std::shared_ptr<ui::View>, const std::string& textColor, const std::string& backgroundColor,
        bool isImportant) override;
    std::shared_ptr<lectoro::SDKHighlightVO> getHighlightForSelectedTextWithTextColor(const std::string& textColor,
        const std::string& backgroundColor) override;
    void getHighlightForSelectedTextEpubWithTextColor(const std::string& textColor, const std::string& backgroundColor,
        HighlightCallback) override;
    void deleteSelectedHighlight(std::shared_ptr<lectoro::SDKHighlightVO>) override;
    std::shared_ptr<lectoro::SDKHighlightVO> getHighlightVOForStickyNoteWithDefaultPosition() override;
    void getHighlightVOForStickyNoteWithDefaultPositionWithCallBack(HighlightCallback) override;
    std::shared_ptr<lectoro::SDKHighlightVO> getHighlightVOForStickyNoteTouchPoint(const ui::Point&) override;
    void postNoteWithHighlightVO(std::shared_ptr<lectoro::SDKHighlightVO>) override;
    void deleteNoteWithHighlightVO(std::shared_ptr<lectoro::SDKHighlightVO>) override;
    void drawHighlights(const std::vector<std::shared_ptr<lectoro::SDKHighlightVO>>&, int64_t pageNo) override;
    void updateUGC(const std::vector<std::shared_ptr<lectoro::SDKUGCVO>>&, int64_t pageNo) override;
    void addBookmarkView(std::shared_ptr<ui::View>, int64_t pageNo) override;
    void addBookmark(std::shared_ptr<lectoro::SDKBookmarkVO>, int64_t pageNo) override;
    std::shared_ptr<lectoro::SDKBookmarkVO> getBookmarkVOForPageNo(int64_t pageNo) override;
    void setBookmarkVO(std::shared_ptr<lectoro::SDKBookmarkVO>) override;
    void setPenDrawingModeEnabled(bool) override;
    void setPenDrawingModeEnabled(bool enabled, bool withReviewModeEnable) override;
    bool isPenDrawingModeEnabled() const override { return m_penDrawing; }
    std::shared_ptr<ui::View> getPenDrawingCanvas() override;
    void drawPenDrawings(const std::vector<std::shared_ptr<lectoro::SDKPentoolVO>>&, int64_t pageNo) override;
    std::shared_ptr<lectoro::SDKTextAnnotationVO> getTextAnnotationVOWithDefaultPosition() override;
    void addTextAnnotation(std::shared_ptr<lectoro::SDKTextAnnotationVO>) override;
    void drawTextAnnotation(const std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>>&, int64_t pageNo) override;
    void deleteTextAnnotation() override;
    void exitTextAnnotationMode() override;
    void removeTextAnnotationModeWithoutSave() override;
    void updateTextAnnotationAlignment(int64_t) override;
    void updateTextAnnotationWithBackground(const std::string& backgroundColor, const std::string& textColor) override;
    void drawMarkups(const std::vector<std::shared_ptr<lectoro::PXLinkVO>>&, int64_t pageNo) override;
    void drawFIBs(const std::vector<std::shared_ptr<ui::View>>&, int64_t pageNo) override;
    void drawFIB(const std::vector<std::shared_ptr<ui::View>>&, int64_t pageNumber) override;
    std::shared_ptr<ui::View> getFIBViewForLinkId(int64_t linkID) override;
    void addReviewViewOnFib(std::shared_ptr<lectoro::SDKFIBVO>) override;
    void addMultiLinkController(std::shared_ptr<ui::ViewController>, std::shared_ptr<ui::View> sourceView,
        int64_t pageNo) override;
    void addInLineVideo(std::shared_ptr<ui::View>, const ui::Rect&, int64_t pageNo) override;
    void addInstructionPopup(std::shared_ptr<ui::ViewController>, std::shared_ptr<ui::View> sourceView,
        int64_t pageNo) override;
    void set3dVideoModeEnabled(bool) override;
    void highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color) override;
    void highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color,
        const std::optional<std::string>& paragraph) override;
    void highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color,
        const std::string& selectedWordHighlightColor,
        const std::vector<std::shared_ptr<lectoro::TextSearchResult>>& searchArray,
        std::shared_ptr<lectoro::TextSearchResult> selectedResult) override;
    bool isNextSearchResultAvailableForSearchResult(std::shared_ptr<lectoro::TextSearchResult>) override;
    bool isPreviousSearchResultAvailableForSearchResult(std::shared_ptr<lectoro::TextSearchResult>) override;
    void moveToNextSelectedSearchForSearchResult(std::shared_ptr<lectoro::TextSearchResult>) override;
    void moveToPreviousSelectedSearchForSearchResult(std::shared_ptr<lectoro::TextSearchResult>) override;
    bool isNextSearchResultAvailable() override;
    void moveToNextSelectedSearch() override;
    bool isPreviousSearchResultAvailable() override;
    void moveToPreviousSelectedSearch() override;
    bool isLastNextSearchResult() override;
    bool isLastPreviousSearchResult() override;
    void addPrintPageView(std::shared_ptr<ui::View>, int64_t pageNo) override;
    void printPagesWithWatermark(const std::string& watermark, const std::string& textColor,
        const std::vector<int64_t>& pageNumbers, std::function<void(std::shared_ptr<lectoro::RendererPrintPage>)>) override;
    void highlightTextWithFrame(const ui::Rect&, int64_t pageNo, const std::string& color) override;
    void highlightSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>&, int64_t pageNo,
        const std::string& color) override;
    void highlightWordByWordId(const std::string& wordId, const std::string& pageIdentifier,
        const std::string& color) override;
    void getFirstVisibleWordForScreenWithCallBack(std::function<void(const std::optional<base::Value>&)>) override;
    void updateBackgroundForAudioSyncFramesWithColor(const std::string&) override;
    void enableTeacherReviewModeWithPageArray(const std::vector<std::string>& pages) override;
    void disableTeacherReviewMode() override;
    bool isTeacherReviewModeEnabled() const override { return m_teacherReview; }
    void setTeacherReviewDragBoxModeEnabled(bool) override;
    bool isTeacherReviewDragBoxModeEnabled() const override { return m_dragBox; }

private:
    std::map<int64_t, std::vector<std::shared_ptr<ui::View>>> m_markupViews;
    FakeRenderer(std::string bookPath, std::weak_ptr<lectoro::RendererViewControllerDelegate>,
        std::optional<std::string> isbn, base::Value additionalInfo);

    void record(std::string name, base::Value::List arguments = {});
    void post(std::function<void()>);

    std::vector<RendererCall> m_calls;
    std::shared_ptr<lectoro::LectoroBookVO> m_book;
    std::vector<lectoro::RendererPage> m_activePages;
    std::shared_ptr<lectoro::SDKHighlightVO> m_selectionHighlight;
    std::shared_ptr<lectoro::SDKHighlightVO> m_stickyNote;
    std::shared_ptr<lectoro::SDKTextAnnotationVO> m_textAnnotation;
    std::shared_ptr<lectoro::SDKBookmarkVO> m_bookmark;
    std::vector<std::pair<int64_t, std::shared_ptr<ui::View>>> m_fibViews;
    std::shared_ptr<ui::View> m_highlightView;
    std::shared_ptr<ui::View> m_penCanvas;
    std::optional<std::string> m_furthestPageData;
    std::optional<base::Value> m_firstVisibleWord;
    std::string m_currentCFI;
    std::string m_bookDataCFI;
    std::string m_rangeInfo;
    std::string m_visibleThumbnail;
    std::string m_colorForSharedUGC;
    int64_t m_orientationMode = 0;
    double m_verticalMargin = 0;
    bool m_openHighlightView = true;
    bool m_furthestEnabled = false;
    bool m_furthestSucceeds = true;
    bool m_highlightEnabled = true;
    bool m_penDrawing = false;
    bool m_teacherReview = false;
    bool m_dragBox = false;
    bool m_3dVideo = false;
    bool m_printGivesPages = true;
    bool m_cleared = false;
    bool m_nextAvailable = false;
    bool m_previousAvailable = false;
    bool m_lastNext = true;
    bool m_lastPrevious = true;
};

} // namespace companion::testing
