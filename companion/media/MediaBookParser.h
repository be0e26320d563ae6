#pragma once

// The media-book parser over a book folder: "toc.json" and "time-index.json" in the formats
// of companion/books/README.md ("Media book"), chapter durations from the real media files
// (platform/media reads them).
//
// Every path a contents file names stays inside the book folder (resolveBookPath), and so
// does every file the media names, links resolved; the files are read within the book budget
// and the media limits; chapters and time-index entries count against its maxSpineItems and
// maxNavigationEntries, and every time is bounded by the limits' maxMediaDuration. Failures
// are BookErrors, or the media layer's errors for media it refused.
//
// The files are read on the global queue; the model is filled and the handler told on the
// main run loop.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookParser.h"
#include "companion/books/BookBudget.h"
#include "platform/media/AssetLimits.h"

namespace companion {

class MediaBookParser final : public lectoro::MVMediaBookParser {
public:
    explicit MediaBookParser(BookBudget budget = {}, media::AssetLimits limits = {}) : m_budget(budget), m_limits(limits) { }

    void parseTOCTimeIndexJsonForAudio(const std::shared_ptr<lectoro::MVMediaBookModel>&,
        const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath) override;
    void parseTOCTimeIndexJsonForVideo(const std::shared_ptr<lectoro::MVMediaBookModel>&,
        const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath) override;

private:
    void parse(const std::shared_ptr<lectoro::MVMediaBookModel>&, const std::optional<std::string>& tocPath,
        const std::optional<std::string>& timeIndexPath);

    BookBudget m_budget;
    media::AssetLimits m_limits;
};

} // namespace companion
