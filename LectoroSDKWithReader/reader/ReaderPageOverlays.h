#pragma once

// What a page load draws on the page, one operation per layer, called by the reader in
// the order the layers stack: highlights and notes, bookmark, print button, pen drawings,
// markups, text boxes, protractor. The reader's own painter hands each layer to the
// feature that owns it; another painter may be installed to watch the order.

#include <memory>
#include <string>

namespace lectoro {

class ReaderViewController;

class ReaderPageOverlays {
public:
    virtual ~ReaderPageOverlays() = default;

    virtual void drawHighlightsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
        = 0;
    virtual void addBookmarkOnPageNumber(const std::string& pageNumber, const std::string& displayNumber) = 0;
    virtual void addPrintPageViewOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
        = 0;
    virtual void drawPenDrawingsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
        = 0;
    virtual void drawMarkupsOnPageNumber(const std::string& pageNumber, const std::string& displayNumber) = 0;
    virtual void drawTextAnnotationsOnPageNumber(
        const std::string& pageNumber, const std::string& displayNumber)
        = 0;
    virtual void drawProtractorOnPageNumber(const std::string& pageNumber, const std::string& displayNumber)
        = 0;

    // The painter that forwards to the reader's features (the reader must outlive it).
    static std::unique_ptr<ReaderPageOverlays> makeFeaturePainter(ReaderViewController&);
};

} // namespace lectoro
