#pragma once

// A renderer delegate that writes every callback it gets as one line of a log, so tests
// can compare the order of callbacks with an expected list.

#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include <functional>
#include <string>
#include <vector>

namespace companiontest {

class RecordingRendererDelegate : public lectoro::RendererViewControllerDelegate {
public:
    std::vector<std::string> log;
    std::optional<std::string> initialAnswer;
    std::shared_ptr<lectoro::LectoroBookVO> loadedBook;
    std::optional<base::Error> loadError;
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> completedHighlights;
    std::vector<base::Value> resources;
    std::vector<ui::Rect> selectionRects;
    // Makes the view shown at a note; unset, the renderer draws its own.
    std::function<std::shared_ptr<ui::View>()> noteIcon;
    std::optional<double> zoomPercent;
    // Runs after a page's didLoad line is written.
    std::function<void(lectoro::RendererViewController&, int64_t)> onDidLoadPage;
    std::function<void(lectoro::RendererViewController&)> onBookLoaded;
    // Reflowable pages reported, kept apart from the log: "chapter:page/chapterPages/bookPages".
    std::vector<std::string> reflowPages;
    std::vector<std::string> bookCFIs;
    std::vector<int64_t> chapterContentSizes;
    std::optional<int64_t> bookContentSize;

    static std::string text(const std::optional<std::string>& value) { return value.value_or("-"); }

    std::optional<std::string> initialDisplayNumber(lectoro::RendererViewController&) override
    {
        log.push_back("initialDisplayNumber");
        return initialAnswer;
    }
    void didBookLoadedSuccessfullyWithBook(lectoro::RendererViewController& renderer,
        std::shared_ptr<lectoro::LectoroBookVO> book) override
    {
        log.push_back("loaded");
        loadedBook = std::move(book);
        if (onBookLoaded)
            onBookLoaded(renderer);
    }
    void didBookLoadingFailedWithError(lectoro::RendererViewController&, const base::Error& error) override
    {
        log.push_back("failed");
        loadError = error;
    }
    void didCompleteSearchDecryptionForBookPath(lectoro::RendererViewController&, const std::string&) override
    {
        log.push_back("decrypted");
    }
    void bookLoadingCompletedWithContentSize(int64_t size) override
    {
        log.push_back("contentSize");
        bookContentSize = size;
    }
    void didBookChaptersProcessSuccessfully(int64_t, int64_t size, bool) override { chapterContentSizes.push_back(size); }
    void didChangeReflowableBookPage(lectoro::RendererViewController&, const std::string& page, int64_t chapter,
        int64_t chapterPages, int64_t bookPages, bool) override
    {
        reflowPages.push_back(std::to_string(chapter) + ":" + page + "/" + std::to_string(chapterPages) + "/"
            + std::to_string(bookPages));
    }
    void bookCFIsLoadingCompleted(int64_t) override { log.push_back("cfisCounted"); }
    void willLoadPageWithPageNumber(lectoro::RendererViewController&, int64_t page,
        const std::optional<std::string>& display) override
    {
        log.push_back("willLoad:" + std::to_string(page) + ":" + text(display));
    }
    void didLoadPageWithPageNumber(lectoro::RendererViewController& renderer, int64_t page,
        const std::optional<std::string>& display) override
    {
        log.push_back("didLoad:" + std::to_string(page) + ":" + text(display));
        if (onDidLoadPage)
            onDidLoadPage(renderer, page);
    }
    void willUnloadPageWithPageNumber(lectoro::RendererViewController&, int64_t page,
        const std::optional<std::string>&) override
    {
        log.push_back("willUnload:" + std::to_string(page));
    }
    void willLoadCFI(lectoro::RendererViewController&, const std::vector<std::string>& cfis, int64_t page,
        const std::optional<std::string>&) override
    {
        log.push_back("willLoadCFI:" + std::to_string(page) + (cfis.empty() ? ":none" : ""));
    }
    void willUnloadCFI(lectoro::RendererViewController&, const std::vector<std::string>&, int64_t page,
        const std::optional<std::string>&) override
    {
        log.push_back("willUnloadCFI:" + std::to_string(page));
    }
    void didRendererChangedAvailabilityForActionState(lectoro::RendererViewController&, int64_t state, int64_t page,
        const std::optional<std::string>&) override
    {
        log.push_back("available:" + std::to_string(state) + ":" + std::to_string(page));
    }
    void didChangeBookCFI(lectoro::RendererViewController&, const std::string& cfi, const std::string&, int64_t page) override
    {
        log.push_back("bookCFI:" + std::to_string(page));
        bookCFIs.push_back(cfi);
    }
    void didUpdateFurthestPage(lectoro::RendererViewController&, const std::string& json) override
    {
        log.push_back("furthest:" + json);
    }
    void didSingleTapOnPage(lectoro::RendererViewController&, int64_t page) override
    {
        log.push_back("tap:" + std::to_string(page));
    }
    void didPinchOnPage(lectoro::RendererViewController&, bool pinchIn) override
    {
        log.push_back(pinchIn ? "pinch:in" : "pinch:out");
    }
    void didZoomInPage(lectoro::RendererViewController&, int64_t) override { log.push_back("zoomIn"); }
    void didZoomOutPage(lectoro::RendererViewController&, int64_t) override { log.push_back("zoomOut"); }
    void didHighlightTextWithHighlightSelectionRect(lectoro::RendererViewController&, const ui::Rect& rect, int64_t page) override
    {
        log.push_back("selection:" + std::to_string(page));
        selectionRects.push_back(rect);
    }
    std::shared_ptr<ui::View> noteIconViewForHighlight(std::shared_ptr<lectoro::SDKHighlightVO>) override
    {
        return noteIcon ? noteIcon() : nullptr;
    }
    void didHighlighCompleteWithHighlight(std::shared_ptr<lectoro::SDKHighlightVO> record) override
    {
        log.push_back("highlight:" + std::to_string(record->status));
        completedHighlights.push_back(std::move(record));
    }
    void didTapOnNoteHighligh(std::shared_ptr<lectoro::SDKHighlightVO>) override { log.push_back("noteTap"); }
    void didTapOnResource(lectoro::RendererViewController&, const base::Value& resource) override
    {
        log.push_back("resource");
        resources.push_back(resource);
    }
    void didPageBeginScroll(lectoro::RendererViewController&) override { log.push_back("beginScroll"); }
    void didEndScrollingWithContentOffset(lectoro::RendererViewController&, const ui::Point&, int64_t page) override
    {
        log.push_back("endScroll:" + std::to_string(page));
    }
    std::optional<double> zoomScalePercentageForBook(std::shared_ptr<lectoro::LectoroBookVO>) override
    {
        return zoomPercent;
    }

    // The lines that start with the prefix, in order.
    std::vector<std::string> linesStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        for (const auto& line : log) {
            if (line.rfind(prefix, 0) == 0)
                lines.push_back(line);
        }
        return lines;
    }
};

} // namespace companiontest
