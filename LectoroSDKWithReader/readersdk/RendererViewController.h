#pragma once

// The page renderer: a view controller that shows one book folder (a page book or an
// unpacked EPUB), reports through RendererViewControllerDelegate, and draws what its owner
// hands it on each page (highlights, notes, bookmarks, pen drawings, text boxes, markups,
// answer fields, print buttons, search marks).
//
// The renderer loads its book by itself once its view is in place (see the delegate for
// the order of the callbacks). Page numbers are a page book's page ids or an EPUB
// chapter's file index. Made through CompanionFramework::makeRendererViewController().

#include "LectoroSDKWithReader/readersdk/RendererViewControllerDelegate.h"
#include "platform/base/Error.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LectoroBookVO;
class PXLinkVO;
class PXPageVO;
class SDKBookmarkVO;
class SDKFIBVO;
class SDKHighlightVO;
class SDKPentoolVO;
class SDKTextAnnotationVO;
class SDKUGCVO;
class TextSearchResult;

// A page on screen. A page book's page carries its page id and printed folio (and its
// record); an EPUB page its chapter's file index, idref and href (its display number is
// the folio of the page list when there is one, else the file index).
struct RendererPage {
    int64_t pageID = 0;
    int64_t fileIndex = 0;
    std::string displayNum;
    std::string idref;
    std::string href;
    std::shared_ptr<PXPageVO> page;
};

// What printPagesWithWatermark hands back: the pages to print and how to mark them. A
// framework may hand back its own kind, carrying what it needs to print them.
struct RendererPrintPage {
    virtual ~RendererPrintPage() = default;
    std::string watermark;
    std::string textColor;
    std::vector<int64_t> pageNumbers;
    // Absolute paths of the page images, in the order of pageNumbers.
    std::vector<std::string> pageImagePaths;
};

// Orientation modes of setBookOrientationMode: 0 free, 1 follows the device, 2 landscape
// only, 3 portrait only.
enum RendererBookOrientationMode : int64_t {
    RendererBookOrientationFree = 0,
    RendererBookOrientationDevice = 1,
    RendererBookOrientationLandscape = 2,
    RendererBookOrientationPortrait = 3,
};

class RendererViewController : public ui::ViewController {
public:
    using Completion = std::function<void()>;
    using FailureHandler = std::function<void(const base::Error&)>;
    using HighlightCallback = std::function<void(std::shared_ptr<SDKHighlightVO>)>;

    std::string_view className() const override { return "RendererViewController"; }

    const std::string& bookPath() const { return m_bookPath; }
    const std::optional<std::string>& isbn() const { return m_isbn; }
    const base::Value& additionalInfo() const { return m_additionalInfo; }
    std::shared_ptr<RendererViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<RendererViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    // The loaded book; null before didBookLoadedSuccessfullyWithBook.
    virtual std::shared_ptr<LectoroBookVO> currentBook() const = 0;
    // Drops the book and every overlay; the renderer reports nothing more.
    virtual void clearObjects() = 0;

    // --- Moving ---
    // A page id as text (page book) or a chapter href or file index (EPUB). Unknown
    // targets are ignored.
    virtual void navigateToPageNumber(const std::string&) = 0;
    virtual void jumpToCFIString(const std::string&) = 0;
    virtual void reloadPages() = 0;
    // The pages on screen, in order: one, or two in a landscape spread of a fixed layout.
    virtual std::vector<RendererPage> getActivePages() const = 0;
    virtual void setFurthestPageData(const std::string&) = 0;
    virtual std::optional<std::string> furthestPageData() const = 0;
    virtual void enableFurthestPage(bool) = 0;
    virtual bool isFurthestPageEnabled() const = 0;
    virtual void navigateToFurthestPageWithSuccessHandler(Completion, FailureHandler) = 0;
    virtual void setBookOrientationMode(int64_t) = 0;
    virtual int64_t getBookOrientationMode() const = 0;
    virtual void disableTwoPageSeperation(bool) = 0;
    virtual void resetZoomScaleToDefault() = 0;
    // Reflowable positions: the CFI shown, the book-level CFI data, the range shown.
    virtual std::string getCurrentCFI() const = 0;
    virtual std::string getCurrentBookDataCFI() const = 0;
    virtual std::string getLastVisitedRangeInfo() const = 0;
    // The display number of the page that counts as visible ("" when none).
    virtual void getVistibleThumbnailNumber(std::function<void(const std::string&)>) = 0;

    // --- Reflowable layout ---
    virtual void didFontSizeChanged(int64_t step) = 0;
    virtual void setFontFamily(const std::string&) = 0;
    virtual void enablePagination(bool) = 0;
    virtual void setReaderMode(int64_t) = 0;
    virtual void setTextAlignment(int64_t) = 0;
    virtual void setLineSpacing(int64_t) = 0;
    virtual void setMargin(int64_t) = 0;
    virtual void resetReaderFontSetting() = 0;
    virtual void resetReaderSetting() = 0;
    virtual void setVerticalMarginForReflowableEpubBook(double) = 0;

    // --- Appearance of user content ---
    virtual void setColorForSharedUGC(const std::string& hexColor) = 0;
    virtual void setIsHihghlightEnabled(bool) = 0;
    virtual void setBookThumbnailImage(const std::string&) = 0;

    // --- Highlights and notes ---
    virtual void setHighlightView(std::shared_ptr<ui::View>) = 0;
    virtual void removeHighlightView() = 0;
    // Shows the pop-up at the selection; NO when there is no selection on that page.
    virtual bool openHighlightView(std::shared_ptr<ui::View>, int64_t pageNo, const ui::Point& coordinates) = 0;
    // Highlights the selection; the record comes back through didHighlighCompleteWithHighlight.
    virtual void highlight(std::shared_ptr<ui::View>, const std::string& textColor, const std::string& backgroundColor,
        bool isImportant) = 0;
    virtual std::shared_ptr<SDKHighlightVO> getHighlightForSelectedTextWithTextColor(const std::string& textColor,
        const std::string& backgroundColor) = 0;
    virtual void getHighlightForSelectedTextEpubWithTextColor(const std::string& textColor,
        const std::string& backgroundColor, HighlightCallback) = 0;
    virtual void deleteSelectedHighlight(std::shared_ptr<SDKHighlightVO>) = 0;
    virtual std::shared_ptr<SDKHighlightVO> getHighlightVOForStickyNoteWithDefaultPosition() = 0;
    virtual void getHighlightVOForStickyNoteWithDefaultPositionWithCallBack(HighlightCallback) = 0;
    virtual std::shared_ptr<SDKHighlightVO> getHighlightVOForStickyNoteTouchPoint(const ui::Point&) = 0;
    virtual void postNoteWithHighlightVO(std::shared_ptr<SDKHighlightVO>) = 0;
    virtual void deleteNoteWithHighlightVO(std::shared_ptr<SDKHighlightVO>) = 0;
    virtual void drawHighlights(const std::vector<std::shared_ptr<SDKHighlightVO>>&, int64_t pageNo) = 0;
    // Teacher review: every record of a page at once (highlights, drawings, bookmarks).
    virtual void updateUGC(const std::vector<std::shared_ptr<SDKUGCVO>>&, int64_t pageNo) = 0;

    // --- Bookmarks ---
    virtual void addBookmarkView(std::shared_ptr<ui::View>, int64_t pageNo) = 0;
    virtual void addBookmark(std::shared_ptr<SDKBookmarkVO>, int64_t pageNo) = 0;
    virtual std::shared_ptr<SDKBookmarkVO> getBookmarkVOForPageNo(int64_t pageNo) = 0;
    virtual void setBookmarkVO(std::shared_ptr<SDKBookmarkVO>) = 0;

    // --- Pen ---
    virtual void setPenDrawingModeEnabled(bool) = 0;
    virtual void setPenDrawingModeEnabled(bool enabled, bool withReviewModeEnable) = 0;
    virtual bool isPenDrawingModeEnabled() const = 0;
    // The view pen strokes are drawn into.
    virtual std::shared_ptr<ui::View> getPenDrawingCanvas() = 0;
    virtual void drawPenDrawings(const std::vector<std::shared_ptr<SDKPentoolVO>>&, int64_t pageNo) = 0;

    // --- Text boxes ---
    // addTextAnnotation starts editing the new box when the delegate allows it
    // (textAnnotationShouldBeginEditing) and reports didTextAnnotationBeginEditing; so does
    // a tap on a stored box. exitTextAnnotationMode keeps the box and reports it finished,
    // deleteTextAnnotation reports it deleted (status 3), removeTextAnnotationModeWithoutSave
    // drops the edit and reports nothing.
    virtual std::shared_ptr<SDKTextAnnotationVO> getTextAnnotationVOWithDefaultPosition() = 0;
    virtual void addTextAnnotation(std::shared_ptr<SDKTextAnnotationVO>) = 0;
    virtual void drawTextAnnotation(const std::vector<std::shared_ptr<SDKTextAnnotationVO>>&, int64_t pageNo) = 0;
    virtual void deleteTextAnnotation() = 0;
    virtual void exitTextAnnotationMode() = 0;
    virtual void removeTextAnnotationModeWithoutSave() = 0;
    // 0 left, 1 centre, 2 right.
    virtual void updateTextAnnotationAlignment(int64_t) = 0;
    virtual void updateTextAnnotationWithBackground(const std::string& backgroundColor, const std::string& textColor) = 0;

    // --- Markups, answers and players ---
    virtual void drawMarkups(const std::vector<std::shared_ptr<PXLinkVO>>&, int64_t pageNo) = 0;
    virtual void drawFIBs(const std::vector<std::shared_ptr<ui::View>>&, int64_t pageNo) = 0;
    virtual void drawFIB(const std::vector<std::shared_ptr<ui::View>>&, int64_t pageNumber) = 0;
    virtual std::shared_ptr<ui::View> getFIBViewForLinkId(int64_t linkID) = 0;
    virtual void addReviewViewOnFib(std::shared_ptr<SDKFIBVO>) = 0;
    virtual void addMultiLinkController(std::shared_ptr<ui::ViewController>, std::shared_ptr<ui::View> sourceView,
        int64_t pageNo) = 0;
    virtual void addInLineVideo(std::shared_ptr<ui::View>, const ui::Rect&, int64_t pageNo) = 0;
    virtual void addInstructionPopup(std::shared_ptr<ui::ViewController>, std::shared_ptr<ui::View> sourceView,
        int64_t pageNo) = 0;
    virtual void set3dVideoModeEnabled(bool) = 0;

    // --- Search marks ---
    // Marks every occurrence of the word on the page; "" removes the page's marks.
    virtual void highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color) = 0;
    // The same, narrowed to the paragraph when one is given (reflowable books).
    virtual void highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color,
        const std::optional<std::string>& paragraph) = 0;
    // Marks the page's hits and the selected one in its own colour.
    virtual void highlightText(const std::string& word, int64_t pageNo, const std::optional<std::string>& color,
        const std::string& selectedWordHighlightColor, const std::vector<std::shared_ptr<TextSearchResult>>& searchArray,
        std::shared_ptr<TextSearchResult> selectedResult) = 0;
    virtual bool isNextSearchResultAvailableForSearchResult(std::shared_ptr<TextSearchResult>) = 0;
    virtual bool isPreviousSearchResultAvailableForSearchResult(std::shared_ptr<TextSearchResult>) = 0;
    virtual void moveToNextSelectedSearchForSearchResult(std::shared_ptr<TextSearchResult>) = 0;
    virtual void moveToPreviousSelectedSearchForSearchResult(std::shared_ptr<TextSearchResult>) = 0;
    virtual bool isNextSearchResultAvailable() = 0;
    virtual void moveToNextSelectedSearch() = 0;
    virtual bool isPreviousSearchResultAvailable() = 0;
    virtual void moveToPreviousSelectedSearch() = 0;
    virtual bool isLastNextSearchResult() = 0;
    virtual bool isLastPreviousSearchResult() = 0;

    // --- Printing ---
    virtual void addPrintPageView(std::shared_ptr<ui::View>, int64_t pageNo) = 0;
    // The callback gets the printable pages, or null when none of the numbers is a page.
    virtual void printPagesWithWatermark(const std::string& watermark, const std::string& textColor,
        const std::vector<int64_t>& pageNumbers, std::function<void(std::shared_ptr<RendererPrintPage>)>) = 0;

    // --- Read aloud ---
    // A zero rectangle with an empty colour clears the word mark.
    virtual void highlightTextWithFrame(const ui::Rect&, int64_t pageNo, const std::string& color) = 0;
    virtual void highlightSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>&, int64_t pageNo,
        const std::string& color) = 0;
    // Three empty texts clear the mark.
    virtual void highlightWordByWordId(const std::string& wordId, const std::string& pageIdentifier,
        const std::string& color) = 0;
    virtual void getFirstVisibleWordForScreenWithCallBack(std::function<void(const std::optional<base::Value>&)>) = 0;
    virtual void updateBackgroundForAudioSyncFramesWithColor(const std::string&) = 0;

    // --- Teacher review ---
    virtual void enableTeacherReviewModeWithPageArray(const std::vector<std::string>& pages) = 0;
    virtual void disableTeacherReviewMode() = 0;
    virtual bool isTeacherReviewModeEnabled() const = 0;
    virtual void setTeacherReviewDragBoxModeEnabled(bool) = 0;
    virtual bool isTeacherReviewDragBoxModeEnabled() const = 0;

protected:
    RendererViewController(std::string bookPath, std::weak_ptr<RendererViewControllerDelegate> delegate,
        std::optional<std::string> isbn, base::Value additionalInfo)
        : m_bookPath(std::move(bookPath))
        , m_isbn(std::move(isbn))
        , m_additionalInfo(std::move(additionalInfo))
        , m_delegate(std::move(delegate))
    {
    }

private:
    std::string m_bookPath;
    std::optional<std::string> m_isbn;
    base::Value m_additionalInfo;
    std::weak_ptr<RendererViewControllerDelegate> m_delegate;
};

} // namespace lectoro
