#pragma once

// Reads an unpacked EPUB 3 book: META-INF/container.xml, the package document (metadata,
// manifest, spine), the navigation document (contents, page list, landmarks) or, failing
// that, the NCX, the media overlays of narrated chapters (MediaOverlay.h), and the first
// chapter. Other chapters are parsed when first asked for
// (EPUBChapterVO::content()), each file once however often the spine names it; measuring the
// whole book (every chapter's positions) is a separate step, run in the background.

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/books/BookBudget.h"

#include "platform/base/Error.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace companion {

inline constexpr const char* epubContainerPath = "META-INF/container.xml";

// What a book's loading has done so far, for tests and benchmarks.
struct BookLoadCounters {
    std::atomic<size_t> filesRead { 0 };
    std::atomic<size_t> bytesRead { 0 };
    // Chapter files parsed (a file the spine names twice is parsed once).
    std::atomic<size_t> chaptersParsed { 0 };
};

// The positions and text size of a whole book, known once every chapter is parsed.
struct EpubMeasurement {
    std::vector<lectoro::EPUBBookCFIVO> bookCFIs;
    // Every chapter's positions in one list, made with the measurement: a book's tens of
    // thousands of position strings are not copied on the main thread.
    std::vector<std::string> bookCFIArray;
    int64_t contentSize = 0;
    size_t positionCount = 0;
};

class EpubLoadState;

// The EPUB book the loader answers (an EPUBBookVO to everyone else).
class EpubBook final : public lectoro::EPUBBookVO, public std::enable_shared_from_this<EpubBook> {
public:
    explicit EpubBook(std::shared_ptr<EpubLoadState>);

    const BookBudget& budget() const;

    // The spine's page-progression-direction is "rtl": the next page lies to the left.
    bool isRightToLeft() const { return m_rightToLeft; }
    void setRightToLeft(bool rightToLeft) { m_rightToLeft = rightToLeft; }
    const BookLoadCounters& counters() const;

    // Why chapters that name a media overlay are not narrated, one line each ("<href>:
    // <reason>"); empty when every overlay could be played.
    const std::vector<std::string>& overlayProblems() const { return m_overlayProblems; }
    void noteOverlayProblem(std::string problem) { m_overlayProblems.push_back(std::move(problem)); }

    // Parses every chapter not parsed yet and lists the book's positions, within the budget
    // (maxPositionsPerBook, and every chapter's own limits). Safe from any thread.
    base::Result<EpubMeasurement> measure() const;

    // measure() on a background queue; then, on the main run loop, bookCFIs, bookCFIArray
    // and isBookContentLoaded are set and `done` runs with the failure, if any, and the text
    // size. The work is done once: later calls wait for it or answer at once. Main thread only.
    using MeasureDone = std::function<void(const std::optional<base::Error>&, int64_t contentSize)>;
    void measureInBackground(MeasureDone done = {});
    bool isMeasuring() const { return m_measureState == MeasureState::Running; }
    const std::optional<base::Error>& measureError() const { return m_measureError; }

private:
    void finishMeasuring(base::Result<EpubMeasurement>);

    enum class MeasureState { Idle, Running, Done };
    std::shared_ptr<EpubLoadState> m_state;
    MeasureState m_measureState = MeasureState::Idle;
    std::vector<MeasureDone> m_waiting;
    std::optional<base::Error> m_measureError;
    int64_t m_contentSize = 0;
    bool m_rightToLeft = false;
    std::vector<std::string> m_overlayProblems;
};

base::Result<std::shared_ptr<EpubBook>> loadEpubBook(const std::string& bookFolder, const BookBudget& = {});

} // namespace companion
