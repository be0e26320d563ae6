#pragma once

// The media-book parser over a book folder: "toc.json" and "time-index.json" in the formats
// of companion/books/README.md ("Media book"), chapter durations from the real media files
// (platform/media reads them; nothing is decoded).
//
// Every path a contents file names stays inside the book folder (resolveBookPath); the
// files are read within the book budget; chapters and time-index entries count against its
// maxSpineItems and maxNavigationEntries. Failures are BookErrors.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookParser.h"
#include "companion/books/BookBudget.h"

namespace companion {

class MediaBookParser final : public lectoro::MVMediaBookParser {
public:
    explicit MediaBookParser(BookBudget budget = {}) : m_budget(budget) { }

    void parseTOCTimeIndexJsonForAudio(const std::shared_ptr<lectoro::MVMediaBookModel>&,
        const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath) override;
    void parseTOCTimeIndexJsonForVideo(const std::shared_ptr<lectoro::MVMediaBookModel>&,
        const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath) override;

private:
    void parse(const std::shared_ptr<lectoro::MVMediaBookModel>&, const std::optional<std::string>& tocPath,
        const std::optional<std::string>& timeIndexPath);

    BookBudget m_budget;
};

} // namespace companion
