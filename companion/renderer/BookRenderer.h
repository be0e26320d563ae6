#pragma once

// The page renderer over a book folder (a page book or an unpacked EPUB).
//
// Loading. When its view has loaded, the renderer posts the loading of its book to the
// main run loop (so its owner finishes embedding it first), then reports in this order:
// initialDisplayNumber, didBookLoadedSuccessfullyWithBook (or didBookLoadingFailedWithError
// and nothing more), then for reflowable books bookLoadingCompletedWithContentSize and
// bookCFIsLoadingCompleted, didCompleteSearchDecryptionForBookPath, and the first pages.
//
// Pages. A page book shows its pages, an EPUB book its spine chapters, one at a time; a
// fixed-layout book (page book or fixed-layout EPUB) shows a spread of two (pages 1-2,
// 3-4… in book order) while the interface is in landscape, unless the orientation mode
// forces portrait (3) or landscape (2), or two-page separation is disabled. Every page
// coming on screen reports willLoadPage…, willLoadCFI… (EPUB), didLoadPage… and
// didRendererChangedAvailabilityForActionState (1); a page leaving reports availability 0,
// willUnloadCFI… (EPUB) and willUnloadPage…, and its overlay is dropped. An EPUB page's
// page number and display number are its chapter's file index.
//
// Reflowable pages. A reflowable chapter is laid out into pages (ReflowPagination.h) for
// the reader's font size, line spacing and margins and the renderer's view size, when it
// is first shown. Every page coming on screen reports didChangeContentPosition (its top in
// content points: page index × page height), didChangeReflowableBookPage (the page within
// the chapter from 1, the chapter's and the book's page counts, the book's 0 until every
// chapter is laid out) and didChangeBookCFI (the position of its first word). Once the book is measured every chapter is laid out in the
// background; then didBookChaptersProcessSuccessfully comes once per chapter, followed by
// bookLoadingCompletedWithContentSize (all pages, in points) and bookCFIsLoadingCompleted,
// and the page on screen is reported again with the book's page count. A change of font
// size, line spacing, margins or view size lays the book out again: the page shown is the
// one holding the reading position (the first word shown before), whose CFI stays current.
//
// A jump to a position (jumpToCFIString) asked for inside a page's load callbacks (the
// owner restoring where the reader was) lands as soon as those callbacks have returned.
//
// Gestures are simulated with selectText, tapPoint, tapLink, pinch and swipe. A swipe is
// Next / Previous in reading order, or Left / Right as the finger moves: Left turns forward
// in a left-to-right book and back in a right-to-left one (spine page-progression-direction).

#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "companion/renderer/PageOverlay.h"
#include "companion/renderer/PageTextLayout.h"
#include "companion/renderer/ReflowPagination.h"
#include "platform/print/PrintInteractionController.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {
class TextView;
class TextViewDelegate;
} // namespace ui

namespace lectoro {
class EPUBBookVO;
class EPUBChapterVO;
class PXBookVO;
}

namespace companion {

// The settings the owner gave, readable.
struct RendererSettings {
    int64_t fontSizeStep = 0;
    std::string fontFamily;
    bool paginationEnabled = true;
    int64_t readerMode = 0;
    int64_t textAlignment = 0;
    int64_t lineSpacing = 0;
    int64_t margin = 0;
    double verticalMargin = 0;
    std::string colorForSharedUGC;
    bool highlightEnabled = true;
    std::string bookThumbnailImage;
    bool twoPageSeparationDisabled = false;
    bool videoMode3d = false;
    bool penDrawingEnabled = false;
    bool penReviewModeEnabled = false;
    bool textAnnotationMode = false;
    bool teacherReviewMode = false;
    bool dragBoxMode = false;
    std::string audioSyncFrameColor;
};

enum class RendererSwipe { Next, Previous, Left, Right };

// One laid-out page of a reflowable chapter.
struct ReflowPage {
    int64_t chapter = 0;
    // From 0, and the chapter's page count.
    size_t index = 0;
    size_t count = 0;
    // The bytes of the chapter's text the page shows, [textStart, textEnd).
    size_t textStart = 0;
    size_t textEnd = 0;
    // The position of the page's first word.
    std::string cfi;
};

// The text selected on a page: UTF-16 offsets into the page text (whole characters), its
// rectangle in page coordinates and in the renderer's view.
struct RendererSelection {
    int64_t pageNumber = 0;
    std::string text;
    TextRange range;
    ui::Rect rectOnPage;
    ui::Rect rectInView;
};

class RendererPenCanvas;

class BookRenderer final : public lectoro::RendererViewController {
public:
    static std::shared_ptr<BookRenderer> create(std::string bookPath,
        std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate, std::optional<std::string> isbn = std::nullopt,
        base::Value additionalInfo = {});

    void viewDidLoad() override;
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;

    // Loads now (once); the view-load path calls it through the run loop.
    void loadBookIfNeeded();
    bool isBookLoaded() const { return m_book != nullptr; }
    const std::optional<base::Error>& loadError() const { return m_loadError; }
    // Recomputes the pages on screen for the current orientation (a rotation does it).
    void relayoutPages();

    const RendererSettings& settings() const { return m_settings; }
    double zoomScale() const { return m_zoomScale; }
    std::shared_ptr<ui::View> highlightView() const { return m_highlightView; }
    std::shared_ptr<lectoro::SDKTextAnnotationVO> editingTextAnnotation() const { return m_editingTextAnnotation; }
    // The text view of the box being edited (inside the box's view on its page); null when
    // none is. Typing into it changes the box's text and is reported.
    std::shared_ptr<ui::TextView> textAnnotationTextView() const { return m_textBoxTextView; }
    const std::vector<std::string>& teacherReviewPages() const { return m_teacherReviewPages; }
    // The overlay of a page, empty when nothing is drawn there.
    PageOverlay overlayForPage(int64_t pageNumber) const;
    // Page numbers of the book, in order.
    std::vector<int64_t> pageNumbers() const;
    // The view of a page on screen, holding the views placed on it (bookmark and print
    // buttons, answer fields, inline videos); null for a page off screen.
    std::shared_ptr<ui::View> pageView(int64_t pageNumber) const;

    // --- Reflowable pages ---
    // A page of a chapter, laid out for the current settings when not laid out yet; absent
    // for a chapter the book does not hold (or a book that is not reflowable) and for an
    // index past the chapter's last page.
    std::optional<ReflowPage> reflowPage(int64_t chapter, size_t pageIndex);
    // The page on screen; absent when none is.
    std::optional<ReflowPage> currentReflowPage();
    // Pages of the whole book; absent until every chapter is laid out for the current settings.
    std::optional<int64_t> reflowBookPageCount() const { return m_reflow.bookPages; }
    const ReflowLayout& reflowLayout() const { return m_reflow.layout; }
    bool isRightToLeft() const;

    // --- Printing ---
    // Prints what printPagesWithWatermark handed back through the platform's print dialog:
    // a page book's page pictures, a reflowable chapter's pages as laid out now (a fixed-
    // layout chapter's text as one page), with the watermark in its colour ("#RRGGBB") at
    // the foot of every page. False, with nothing presented, when none of it can be printed;
    // otherwise the dialog's answer comes to `completion`.
    bool printPages(const lectoro::RendererPrintPage&, const std::string& jobName,
        print::PrintInteractionController::Completion completion);
    // What the pages of a printable page object print as, one item per page (a reflowable
    // chapter gives one per page of its current layout).
    std::vector<print::PrintItem> printItemsFor(const lectoro::RendererPrintPage&);

    // --- Selection ---
    // Each form selects on a page on screen and reports the selection's rectangle (in the
    // renderer's view) through didHighlightTextWithHighlightSelectionRect; false, with
    // nothing reported, when there is nothing to select there.
    // The first occurrence of the text (exact case first, then ignoring case).
    bool selectText(int64_t pageNumber, const std::string& text);
    // Words `first` to `last` of the page, counted from 1.
    bool selectWords(int64_t pageNumber, size_t first, size_t last);
    // UTF-16 offsets into the page text, widened to whole characters.
    bool selectRange(int64_t pageNumber, int64_t start, int64_t end);
    // As a finger drags: from one point to another, in the renderer's view, on the page
    // under the first point.
    bool selectBetweenPoints(const ui::Point& from, const ui::Point& to);
    void clearSelection();
    bool hasSelection() const { return m_selection.has_value(); }
    const std::optional<RendererSelection>& selection() const { return m_selection; }
    // The page's text laid out, for selections; null for a page that is not in the book.
    const PageTextLayout* textLayoutForPage(int64_t pageNumber) const;
    // Where a page on screen lies in the renderer's view; absent for a page off screen.
    std::optional<ui::Rect> pageFrameInView(int64_t pageNumber) const;
    ui::Size pageSize(int64_t pageNumber) const;

    // --- The pen canvas's view of the pages (RendererPenCanvas) ---
    std::vector<lectoro::PenCanvasPage> penCanvasPages() const;
    std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> penDrawingsOnPage(int64_t pageNumber) const;
    void showPenDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&);
    void hidePenDrawing(const std::shared_ptr<lectoro::SDKPentoolVO>&);

    // --- Protractors (BookRendererProtractor.cpp) ---
    // A page's protractors: those the book places there and those the user left there in
    // this session; empty for a page not in the book.
    std::vector<std::shared_ptr<lectoro::SDKProtractorVO>> protractorsOnPage(int64_t pageNumber);
    // The protractor being moved or turned, or null.
    const std::shared_ptr<lectoro::SDKProtractorVO>& openProtractor() const { return m_openProtractor; }
    // A new protractor on the first page on screen, opened and reported selected; false
    // without a page book on screen.
    bool addProtractor();
    // Opens one of a page's protractors (didSelectProtractorWithProtractorVO); false when
    // no protractor on screen has that local id.
    bool selectProtractor(const std::string& localID);
    // What a finger does to the open protractor: move it (page space), turn it, measure.
    void moveOpenProtractor(const ui::Point& origin);
    void rotateOpenProtractor(double degrees);
    void measureWithOpenProtractor(double degrees);
    // Done: the open protractor stays on its page and is reported closed
    // (didCloseProtractorWithProtractorVO); false when none is open.
    bool closeProtractor();
    // Delete: the open protractor leaves its page and is reported with status 3
    // (deleteProtractorWithProtractorVO); false when none is open.
    bool deleteOpenProtractor();

    // --- Simulated gestures ---
    // A tap: on a note's icon (didTapOnNoteHighligh), on a stored text box (editing it when
    // the delegate allows), else a single tap on the page.
    void tapPoint(int64_t pageNumber, const ui::Point&);
    // A tap on a link of a page on screen; resource links report didTapOnResource. False
    // when the link is not on screen.
    bool tapLink(int64_t linkID);
    // Scale below 1 pinches in, above 1 out. Reflowable books report didPinchOnPage (YES for
    // in); fixed-layout books zoom (didZoomInPage / didZoomOutPage).
    void pinch(double scale);
    // A page turn; false at the end of the book.
    bool swipe(RendererSwipe);

    // --- RendererViewController ---
    std::shared_ptr<lectoro::LectoroBookVO> currentBook() const override { return m_book; }
    void clearObjects() override;

    void navigateToPageNumber(const std::string&) override;
    void jumpToCFIString(const std::string&) override;
    void reloadPages() override;
    std::vector<lectoro::RendererPage> getActivePages() const override;
    void setFurthestPageData(const std::string&) override;
    std::optional<std::string> furthestPageData() const override { return m_furthestPageData; }
    void enableFurthestPage(bool enabled) override { m_furthestPageEnabled = enabled; }
    bool isFurthestPageEnabled() const override { return m_furthestPageEnabled; }
    void navigateToFurthestPageWithSuccessHandler(Completion, FailureHandler) override;
    void setBookOrientationMode(int64_t) override;
    int64_t getBookOrientationMode() const override { return m_orientationMode; }
    void disableTwoPageSeperation(bool) override;
    void resetZoomScaleToDefault() override { m_zoomScale = 1.0; }
    std::string getCurrentCFI() const override;
    std::string getCurrentBookDataCFI() const override;
    std::string getLastVisitedRangeInfo() const override;
    void getVistibleThumbnailNumber(std::function<void(const std::string&)>) override;

    void didFontSizeChanged(int64_t step) override;
    void setFontFamily(const std::string& family) override { m_settings.fontFamily = family; }
    void enablePagination(bool enabled) override { m_settings.paginationEnabled = enabled; }
    void setReaderMode(int64_t mode) override { m_settings.readerMode = mode; }
    void setTextAlignment(int64_t alignment) override { m_settings.textAlignment = alignment; }
    void setLineSpacing(int64_t spacing) override;
    void setMargin(int64_t margin) override;
    void resetReaderFontSetting() override;
    void resetReaderSetting() override;
    void setVerticalMarginForReflowableEpubBook(double margin) override;

    void setColorForSharedUGC(const std::string& color) override { m_settings.colorForSharedUGC = color; }
    void setIsHihghlightEnabled(bool enabled) override { m_settings.highlightEnabled = enabled; }
    void setBookThumbnailImage(const std::string& image) override { m_settings.bookThumbnailImage = image; }

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
    bool isPenDrawingModeEnabled() const override { return m_settings.penDrawingEnabled; }
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
    void set3dVideoModeEnabled(bool enabled) override { m_settings.videoMode3d = enabled; }

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
    // The hit marked as selected, as an index in the page's hit list; absent when none.
    std::optional<size_t> selectedSearchHitIndex() const;

    void addPrintPageView(std::shared_ptr<ui::View>, int64_t pageNo) override;
    void printPagesWithWatermark(const std::string& watermark, const std::string& textColor,
        const std::vector<int64_t>& pageNumbers, std::function<void(std::shared_ptr<lectoro::RendererPrintPage>)>) override;

    void highlightTextWithFrame(const ui::Rect&, int64_t pageNo, const std::string& color) override;
    void highlightSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>&, int64_t pageNo,
        const std::string& color) override;
    void highlightWordByWordId(const std::string& wordId, const std::string& pageIdentifier,
        const std::string& color) override;
    void getFirstVisibleWordForScreenWithCallBack(std::function<void(const std::optional<base::Value>&)>) override;
    void updateBackgroundForAudioSyncFramesWithColor(const std::string& color) override
    {
        m_settings.audioSyncFrameColor = color;
    }

    void enableTeacherReviewModeWithPageArray(const std::vector<std::string>& pages) override;
    void disableTeacherReviewMode() override;
    bool isTeacherReviewModeEnabled() const override { return m_settings.teacherReviewMode; }
    void setTeacherReviewDragBoxModeEnabled(bool enabled) override { m_settings.dragBoxMode = enabled; }
    bool isTeacherReviewDragBoxModeEnabled() const override { return m_settings.dragBoxMode; }

private:
    BookRenderer(std::string bookPath, std::weak_ptr<lectoro::RendererViewControllerDelegate>,
        std::optional<std::string> isbn, base::Value additionalInfo);

    struct PageEntry {
        int64_t number = 0;
        std::string displayNum;
        std::shared_ptr<lectoro::PXPageVO> page;
        std::shared_ptr<lectoro::EPUBChapterVO> chapter;
    };
    // Which page of a chapter coming on screen to show.
    struct ReflowTarget {
        enum class Kind { First, Last, PageIndex, Offset };
        Kind kind = Kind::First;
        size_t value = 0;
    };
    struct ReflowState {
        ReflowLayout layout;
        // Laid out chapters, by file index, for `layout`.
        std::unordered_map<int64_t, std::shared_ptr<const ChapterPages>> chapters;
        // The page of the chapter on screen, and the reading position in it (a byte offset).
        size_t page = 0;
        size_t anchor = 0;
        std::optional<ReflowTarget> pending;
        // Changes with every new layout, so a background layout made for an older one is dropped.
        uint64_t generation = 0;
        std::optional<int64_t> bookPages;
    };
    struct SearchStepping {
        int64_t pageNumber = 0;
        std::vector<std::shared_ptr<lectoro::TextSearchResult>> hits;
        size_t selected = 0;
        bool lastMoveHitEnd = false;
    };

    bool isFixedLayout() const;
    bool isReflowable() const;
    bool usesSpreads() const;
    std::optional<size_t> indexOfPageNumber(int64_t) const;
    std::optional<size_t> indexForTarget(const std::string&) const;
    // Where to open: a page book's owner names its printed page label (display number),
    // so a label is tried before a page id; other books as indexForTarget.
    std::optional<size_t> indexForInitialTarget(const std::string&) const;
    const PageEntry* entryForNumber(int64_t) const;
    bool isOnScreen(int64_t pageNumber) const;
    std::optional<std::string> displayNumberOf(const PageEntry&) const;
    std::vector<std::string> cfisOf(const PageEntry&) const;
    // The page's text; an EPUB chapter is parsed on first use.
    const std::string& textOf(const PageEntry&) const;
    // The id of the first element of an EPUB chapter starting in [from, to) of its text.
    std::optional<std::string> firstElementIdOnPage(const PageEntry&, size_t from, size_t to) const;
    // Once the first page is shown, every chapter is parsed in the background and the book's
    // size and positions reported.
    void measureBook();
    // Puts the spread holding the page at `index` on screen; false when it already is. Then
    // makes a jump asked for during the new pages' callbacks.
    bool showPagesAt(size_t index, bool force = false);
    bool putPagesOnScreen(size_t index, bool force);
    void applyDeferredJump();
    void reportLoad(const PageEntry&);
    void reportUnload(const PageEntry&);
    void noteFurthestPage();
    // Text boxes (BookRendererTextBoxes.cpp): editing starts when the delegate allows it,
    // with the box's view and text view on its page; ending removes them.
    bool beginTextBoxEditing(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&, bool stored);
    void endTextBoxEditing();
    // A tap on a stored box of the page starts editing a copy of it; false when the point
    // holds no box or one is already being edited.
    bool tapTextBox(int64_t pageNumber, const ui::Point&);
    void keepTextBoxOnPage(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&);
    void dropTextBoxFromPage(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&);
    void reportTextBoxFinished(const std::shared_ptr<lectoro::SDKTextAnnotationVO>&);
    // The text view shows the record's text, colours and alignment.
    void applyTextBoxLook();
    std::shared_ptr<lectoro::SDKHighlightVO> makeHighlightFromSelection(const std::string& textColor,
        const std::string& backgroundColor) const;
    std::shared_ptr<lectoro::SDKHighlightVO> makeStickyNote() const;
    void placeHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>&);
    // Puts the note icons of a page's highlights on its page view again.
    void drawNoteIcons(int64_t pageNumber);
    bool selectOnPage(int64_t pageNumber, TextRange);
    PageTextStyle textStyleOf(const PageEntry&) const;
    ui::Rect pageRectToView(int64_t pageNumber, const ui::Rect&) const;
    void removeHighlightRecord(const std::shared_ptr<lectoro::SDKHighlightVO>&);
    void reportHighlight(const std::shared_ptr<lectoro::SDKHighlightVO>&);
    int64_t pageNumberOfRecord(const lectoro::SDKUGCVO&) const;
    void addSearchMark(int64_t pageNo, SearchMark);
    std::shared_ptr<lectoro::RendererViewControllerDelegate> liveDelegate() const;
    // Reports a page turn starting; false when a callback moved or dropped the pages.
    bool beginScroll(int64_t pageNumber);
    // Reflowable pages (BookRendererReflow.cpp).
    ReflowLayout layoutForView();
    const ChapterPages* pagesOf(const PageEntry&);
    bool isCoverChapter(const lectoro::EPUBChapterVO&) const;
    // Picks the page of a chapter that has just come on screen and reports it.
    void settleReflowPage(const PageEntry&);
    void reportReflowPage(const PageEntry&);
    // A page turn inside the chapter on screen; false at the chapter's first / last page.
    bool turnReflowPage(bool forward);
    // Shows a chapter at a page of it, whether or not the chapter is on screen already.
    void showReflowTarget(size_t index, ReflowTarget);
    // Lays the book out again when the settings or the view size changed.
    void repaginate();
    void paginateBookInBackground();
    // Whether the pages on screen changed (or the book was dropped) since `generation`:
    // an emitting loop then stops, a nested navigation having reported for itself.
    bool interrupted(uint64_t generation) const { return m_cleared || generation != m_generation; }
    std::shared_ptr<ui::View> ensurePageView(int64_t pageNumber, size_t slot, size_t slots);
    // The page's links mapped from the book's page points onto the page's view as it shows
    // the page, so the views the owner makes for them lie where the page draws them.
    void mapLinksOntoPageView(int64_t pageNumber, const ui::Size& shown);
    void place(const std::shared_ptr<ui::View>&, int64_t pageNumber, std::optional<ui::Rect> frame = std::nullopt);
    // Puts the page's bookmark icon in the top right corner of the page as its view is now.
    void placeBookmarkIconInCorner(int64_t pageNumber);

    std::shared_ptr<lectoro::LectoroBookVO> m_book;
    std::shared_ptr<lectoro::PXBookVO> m_pageBook;
    std::shared_ptr<lectoro::EPUBBookVO> m_epubBook;
    std::optional<base::Error> m_loadError;
    bool m_loadStarted = false;
    bool m_cleared = false;

    std::vector<PageEntry> m_pages;
    std::unordered_map<int64_t, size_t> m_pageIndex;
    size_t m_activeStart = 0;
    size_t m_activeCount = 0;
    std::map<int64_t, PageOverlay> m_overlays;
    // Protractors per page number, made from the book's placements on first use.
    std::map<int64_t, std::vector<std::shared_ptr<lectoro::SDKProtractorVO>>> m_protractors;
    std::shared_ptr<lectoro::SDKProtractorVO> m_openProtractor;
    std::map<int64_t, std::shared_ptr<ui::View>> m_pageViews;
    uint64_t m_generation = 0;
    // Inside a page's load callbacks (nested loads count), and the jump asked for there.
    int m_pageLoadDepth = 0;
    std::optional<std::string> m_deferredJump;

    RendererSettings m_settings;
    int64_t m_orientationMode = lectoro::RendererBookOrientationFree;
    double m_zoomScale = 1.0;
    std::string m_currentCFI;
    bool m_furthestPageEnabled = false;
    std::optional<std::string> m_furthestPageData;
    std::optional<size_t> m_furthestIndex;

    std::optional<RendererSelection> m_selection;
    mutable std::map<int64_t, std::unique_ptr<PageTextLayout>> m_textLayouts;
    std::shared_ptr<ui::View> m_highlightView;
    std::shared_ptr<RendererPenCanvas> m_penCanvas;
    std::shared_ptr<lectoro::SDKTextAnnotationVO> m_editingTextAnnotation;
    // The box being edited was stored before (a tap opened it), so an emptied box is deleted.
    bool m_textBoxWasStored = false;
    std::shared_ptr<ui::View> m_textBoxView;
    std::shared_ptr<ui::TextView> m_textBoxTextView;
    std::shared_ptr<ui::TextViewDelegate> m_textBoxEditor;
    std::shared_ptr<lectoro::SDKBookmarkVO> m_bookmarkVO;
    std::vector<std::string> m_teacherReviewPages;
    std::optional<SearchStepping> m_searchStepping;
    ReflowState m_reflow;
    uint64_t m_nextLocalID = 1;
};

} // namespace companion
