#pragma once

// What the page renderer tells its owner. Every callback is optional: the defaults do what
// an owner that does not implement it would get (nothing, NO, nil). Where the renderer's
// behaviour depends on whether the owner answers, the owner says so with respondsTo…().
//
// Order, for one book: initialDisplayNumber (where to open), then exactly one of
// didBookLoadedSuccessfullyWithBook / didBookLoadingFailedWithError; then, for every page
// laid out (two at a time in a spread): willLoadPage…, willLoadCFI… (EPUB), didLoadPage…,
// didRendererChangedAvailabilityForActionState (state 1); a page leaving the screen gets
// willUnloadCFI… (EPUB) and willUnloadPage…. Every callback runs on the main thread.
//
// Page numbers are the renderer's: a page book's page id, an EPUB chapter's file index.
// Display numbers are the printed folios (absent when a page has none).

#include "platform/base/Error.h"
#include "platform/base/Value.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class TextView;
class View;
}

namespace lectoro {

class LectoroBookVO;
class RendererViewController;
class SDKBookmarkVO;
class SDKFIBVO;
class SDKHighlightVO;
class SDKProtractorVO;
class SDKTextAnnotationVO;

class RendererViewControllerDelegate {
public:
    virtual ~RendererViewControllerDelegate() = default;

    // --- Book ---
    // Where to open, as text: a page book's printed page label (tried first) or page
    // number, an EPUB chapter's file index; absent opens the first page.
    virtual std::optional<std::string> initialDisplayNumber(RendererViewController&) { return std::nullopt; }
    virtual void didBookLoadedSuccessfullyWithBook(RendererViewController&, std::shared_ptr<LectoroBookVO>) { }
    virtual void didBookLoadingFailedWithError(RendererViewController&, const base::Error&) { }
    virtual void didCompleteSearchDecryptionForBookPath(RendererViewController&, const std::string& /*bookPath*/) { }
    // Reflowable books: the content measured (points), the positions (CFIs) counted and
    // the chapters measured so far.
    virtual void bookLoadingCompletedWithContentSize(int64_t /*size*/) { }
    virtual void bookCFIsLoadingCompleted(int64_t /*count*/) { }
    virtual void didBookChaptersProcessSuccessfully(int64_t /*chaptersMeasured*/, int64_t /*chapterContentSize*/,
        bool /*isCoverPage*/)
    {
    }

    // --- Pages ---
    virtual void willLoadPageWithPageNumber(RendererViewController&, int64_t /*pageNumber*/,
        const std::optional<std::string>& /*displayNumber*/)
    {
    }
    virtual void didLoadPageWithPageNumber(RendererViewController&, int64_t /*pageNumber*/,
        const std::optional<std::string>& /*displayNumber*/)
    {
    }
    virtual void willUnloadPageWithPageNumber(RendererViewController&, int64_t /*pageNumber*/,
        const std::optional<std::string>& /*displayNumber*/)
    {
    }
    virtual void didPageLoadingFailedForPageNumber(RendererViewController&, int64_t /*pageNumber*/, const base::Error&) { }
    virtual void willLoadCFI(RendererViewController&, const std::vector<std::string>& /*cfis*/, int64_t /*pageNumber*/,
        const std::optional<std::string>& /*displayNumber*/)
    {
    }
    virtual void willUnloadCFI(RendererViewController&, const std::vector<std::string>& /*cfis*/, int64_t /*pageNumber*/,
        const std::optional<std::string>& /*displayNumber*/)
    {
    }
    // State 1: the page is on screen and can be acted on; 0: it is leaving.
    virtual void didRendererChangedAvailabilityForActionState(RendererViewController&, int64_t /*state*/,
        int64_t /*pageNumber*/, const std::optional<std::string>& /*displayNumber*/)
    {
    }
    // Reflowable books: the position inside a chapter, the CFI shown, the page counts. The
    // book's page count is 0 while the book is still being laid out; the page is reported
    // again once it is known.
    virtual void didChangeContentPosition(RendererViewController&, double /*position*/, int64_t /*chapter*/,
        double /*contentSize*/, bool /*isCoverPage*/)
    {
    }
    virtual void didChangeBookCFI(RendererViewController&, const std::string& /*cfi*/,
        const std::string& /*positionIdentifier*/, int64_t /*pageNumber*/)
    {
    }
    virtual void didChangeReflowableBookPage(RendererViewController&, const std::string& /*pageText*/, int64_t /*chapter*/,
        int64_t /*totalPagesInChapter*/, int64_t /*totalPagesInBook*/, bool /*isCoverPage*/)
    {
    }
    virtual void didUpdateFurthestPage(RendererViewController&, const std::string& /*furthestPageJSON*/) { }

    // --- Gestures ---
    virtual void didPageBeginScroll(RendererViewController&) { }
    virtual void didPageBeginScroll(RendererViewController&, int64_t /*pageNumber*/) { }
    virtual void didEndScrollingWithContentOffset(RendererViewController&, const ui::Point&, int64_t /*pageNumber*/) { }
    virtual void didZoomInPage(RendererViewController&, int64_t /*pageNumber*/) { }
    virtual void didZoomOutPage(RendererViewController&, int64_t /*pageNumber*/) { }
    // YES for a pinch in (smaller text), NO for a pinch out.
    virtual void didPinchOnPage(RendererViewController&, bool /*pinchIn*/) { }
    virtual void didSingleTapOnPage(RendererViewController&, int64_t /*pageNumber*/) { }
    // Text was selected on a page: the selection's rectangle in the renderer's view.
    virtual void didHighlightTextWithHighlightSelectionRect(RendererViewController&, const ui::Rect&, int64_t /*pageNo*/) { }
    virtual void didTapOnWordWithWordId(RendererViewController&, const std::string& /*wordId*/,
        const std::string& /*wordText*/)
    {
    }
    virtual void didTapOnWordWithWordRect(RendererViewController&, const ui::Rect&, const std::string& /*wordText*/) { }
    // {"wordId": …, "text": …} of the first word on screen.
    virtual void didChangeFirstVisibleWordWithWord(RendererViewController&, const base::Value& /*word*/) { }
    // A resource link of the page: its dictionary (the book's resource row).
    virtual void didTapOnResource(RendererViewController&, const base::Value& /*resource*/) { }

    // --- Annotations ---
    // A highlight or note the renderer finished (drawn, changed, or status 3: deleted).
    virtual void didHighlighCompleteWithHighlight(std::shared_ptr<SDKHighlightVO>) { }
    virtual void didTapOnNoteHighligh(std::shared_ptr<SDKHighlightVO>) { }
    virtual bool didStickyNoteAllowedTwoPagePanning() { return false; }
    // The view shown at a note; null draws the renderer's own icon.
    virtual std::shared_ptr<ui::View> noteIconViewForHighlight(std::shared_ptr<SDKHighlightVO>) { return nullptr; }
    virtual void didUpdateBookmarkVOFrom(RendererViewController&, std::shared_ptr<SDKBookmarkVO> /*from*/,
        std::shared_ptr<SDKBookmarkVO> /*to*/)
    {
    }

    // --- Text boxes ---
    // Asked before a box (a new one, or a stored one that was tapped) starts editing; NO
    // leaves it as it is. An owner that does not answer lets every box edit, as a text
    // view's delegate does.
    virtual bool textAnnotationShouldBeginEditing() { return true; }
    // A box started editing: its text view, inside the box's view on the page.
    virtual void didTextAnnotationBeginEditing(std::shared_ptr<ui::TextView>) { }
    // The user changed the box's text.
    virtual void didTextAnnotationValueChanged(std::shared_ptr<ui::TextView>) { }
    // A box was finished: `textAnnotation` is the record to store (status 3: to delete
    // from the store); `newSDKTextAnnotationVO` is the renderer's own copy of it.
    virtual void didTextAnnotationCompleteWithTextAnnotation(
        std::shared_ptr<SDKTextAnnotationVO> /*textAnnotation*/,
        std::shared_ptr<SDKTextAnnotationVO> /*newSDKTextAnnotationVO*/)
    {
    }

    // --- Markups and teacher review ---
    virtual void didTapOnInstantFeedBack(std::shared_ptr<ui::View>) { }
    virtual void didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>&) { }
    virtual void didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>&) { }
    virtual void didTapOnProtractor() { }
    virtual void didCloseProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO>) { }
    virtual void deleteProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO>) { }
    virtual void didSelectProtractorWithProtractorVO(std::shared_ptr<SDKProtractorVO>) { }

    // --- Questions ---
    // Milliseconds to wait per chapter before a CFI jump; absent: the renderer's own.
    virtual std::optional<double> shouldWaitForChapterLoadForCFIPerMiliSeconds() { return std::nullopt; }
    // Largest zoom, in percent; absent: the renderer's own.
    virtual std::optional<double> zoomScalePercentageForBook(std::shared_ptr<LectoroBookVO>) { return std::nullopt; }
};

} // namespace lectoro
