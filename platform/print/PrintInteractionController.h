#pragma once

// The print dialog. present() shows the job; when the user prints (the outcome a test
// chooses, printing by default) the job is rendered as a real PDF into the output folder,
// one page per item, with the watermarks on every page, and the completion runs on the
// main run loop. Cancelling completes with completed = false and no error; a failure with
// completed = false and an error of printErrorDomain.

#include "platform/base/Error.h"
#include "platform/base/Thread.h"
#include "platform/print/PrintItem.h"
#include "platform/print/PrintRenderer.h"
#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class View;
}

namespace print {

enum class PrintOutputType { General, Photo, Grayscale, PhotoGrayscale };
enum class PrintOrientation { Portrait, Landscape };
enum class PrintDuplex { None, LongEdge, ShortEdge };

struct PrintInfo {
    PrintOutputType outputType = PrintOutputType::General;
    PrintOrientation orientation = PrintOrientation::Portrait;
    PrintDuplex duplex = PrintDuplex::None;
    std::string jobName;
};

// What the user does with the dialog.
enum class PrintOutcome { Completed, Cancelled, Failed };

// What present() saw, and what came of it.
struct PrintJob {
    PrintInfo info;
    std::vector<PrintItem> items;
    std::vector<PrintWatermark> watermarks;
    bool animated = false;
    // Pop-over presentations (pads): the anchor rectangle and view.
    std::optional<ui::Rect> sourceRect;
    std::weak_ptr<ui::View> sourceView;
    PrintOutcome outcome = PrintOutcome::Completed;
    // Set once the job is printed: the PDF written and its page count.
    std::string outputPath;
    int pageCount = 0;
    std::optional<base::Error> error;
};

class PrintInteractionController {
public:
    // (controller, completed, error): completed is true only when the job was printed.
    using Completion = std::function<void(PrintInteractionController&, bool completed, std::optional<base::Error>)>;

    static PrintInteractionController& shared();

    // Available unless a test turns it off.
    static bool isPrintingAvailable();
    // A readable, regular file.
    static bool canPrintPath(const std::string& path);

    const PrintInfo& printInfo() const { return m_printInfo; }
    void setPrintInfo(PrintInfo info) { BASE_ASSERT_MAIN_THREAD(); m_printInfo = std::move(info); }
    bool showsNumberOfCopies() const { return m_showsNumberOfCopies; }
    void setShowsNumberOfCopies(bool shows) { BASE_ASSERT_MAIN_THREAD(); m_showsNumberOfCopies = shows; }
    bool showsPaperSelectionForLoadedPapers() const { return m_showsPaperSelection; }
    void setShowsPaperSelectionForLoadedPapers(bool shows)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_showsPaperSelection = shows;
    }

    // Setting one clears the other.
    std::optional<PrintItem> printingItem() const { return m_item; }
    void setPrintingItem(std::optional<PrintItem>);
    const std::vector<PrintItem>& printingItems() const { return m_items; }
    void setPrintingItems(std::vector<PrintItem>);

    // Drawn on every page of the next jobs.
    const std::vector<PrintWatermark>& watermarks() const { return m_watermarks; }
    void setWatermarks(std::vector<PrintWatermark> watermarks)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_watermarks = std::move(watermarks);
    }
    // Portrait paper; a landscape job turns it.
    ui::Size paperSize() const { return m_paperSize; }
    void setPaperSize(const ui::Size& size) { BASE_ASSERT_MAIN_THREAD(); m_paperSize = size; }

    // Records the job and completes it on the main run loop (next runUntilIdle). Answers
    // false, and completes with completed = false and an error (on the run loop too), when
    // no item has content (errorNoContent), printing is unavailable (errorNotAvailable)
    // or a job is already showing (errorJobFailed).
    bool present(bool animated, Completion = {});
    bool presentFromRect(const ui::Rect& rect, const std::shared_ptr<ui::View>& view, bool animated, Completion = {});
    // Dismisses a showing job: it completes as cancelled.
    void dismiss(bool animated);
    bool isPresenting() const { return m_presenting; }

    // Where printed jobs go: "<job name>.pdf" (or "Print job.pdf"), numbered when the name
    // is taken. A folder of the temporary directory until set.
    const std::string& outputFolder() const { return m_outputFolder; }
    void setOutputFolder(std::string folder) { BASE_ASSERT_MAIN_THREAD(); m_outputFolder = std::move(folder); }

    // Test hooks.
    void setNextOutcome(PrintOutcome outcome) { BASE_ASSERT_MAIN_THREAD(); m_nextOutcome = outcome; }
    void setPrintingAvailable(bool available) { BASE_ASSERT_MAIN_THREAD(); m_available = available; }
    const std::vector<PrintJob>& jobs() const { return m_jobs; }
    // Forgets the jobs, items, info, watermarks and paper, and the hooks (back to
    // printing, available, the default output folder).
    void reset();

private:
    PrintInteractionController();
    bool start(bool animated, std::optional<ui::Rect>, const std::shared_ptr<ui::View>&, Completion);
    void finish(uint64_t generation, PrintOutcome);
    // Renders the last job; the error when it could not be printed.
    std::optional<base::Error> printLastJob();

    PrintInfo m_printInfo;
    bool m_showsNumberOfCopies = true;
    bool m_showsPaperSelection = false;
    std::optional<PrintItem> m_item;
    std::vector<PrintItem> m_items;
    std::vector<PrintWatermark> m_watermarks;
    ui::Size m_paperSize;
    std::string m_outputFolder;
    PrintOutcome m_nextOutcome = PrintOutcome::Completed;
    bool m_available = true;
    bool m_presenting = false;
    uint64_t m_generation = 0;
    Completion m_completion;
    std::vector<PrintJob> m_jobs;
};

} // namespace print
