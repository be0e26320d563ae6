#pragma once

// Printing as data: what was asked to print is recorded and the job completes on the run
// loop with the outcome a test chose.

#include "platform/base/Error.h"
#include "platform/base/Thread.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class View;

enum class PrintOutputType { General, Photo, Grayscale, PhotoGrayscale };
enum class PrintOrientation { Portrait, Landscape };
enum class PrintDuplex { None, LongEdge, ShortEdge };

struct PrintInfo {
    PrintOutputType outputType = PrintOutputType::General;
    PrintOrientation orientation = PrintOrientation::Portrait;
    PrintDuplex duplex = PrintDuplex::None;
    std::string jobName;
};

// One thing to print: a file, an image or plain text.
struct PrintItem {
    enum class Kind { File, Image, Text };
    Kind kind = Kind::File;
    std::string path;
    ImagePtr image;
    std::string text;

    static PrintItem file(std::string path) { return { Kind::File, std::move(path), nullptr, {} }; }
    static PrintItem fromImage(ImagePtr image) { return { Kind::Image, {}, std::move(image), {} }; }
    static PrintItem fromText(std::string text) { return { Kind::Text, {}, nullptr, std::move(text) }; }
};

enum class PrintOutcome { Completed, Cancelled, Failed };

// What present() saw.
struct PrintJob {
    PrintInfo info;
    std::vector<PrintItem> items;
    bool animated = false;
    // Pop-over presentations (pads): the anchor rectangle and view.
    std::optional<Rect> sourceRect;
    std::weak_ptr<View> sourceView;
    PrintOutcome outcome = PrintOutcome::Completed;
};

class PrintInteractionController {
public:
    // (controller, completed, error): completed is true only when the job was printed.
    using Completion = std::function<void(PrintInteractionController&, bool completed, std::optional<base::Error>)>;

    // Error domain and codes of failed jobs.
    static constexpr const char* errorDomain = "ui.print";
    static constexpr int errorNothingToPrint = 1;
    static constexpr int errorPrintingFailed = 2;
    static constexpr int errorBusy = 3;

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

    // Records the job and completes it on the main run loop (next runUntilIdle) with the
    // chosen outcome. Answers false, and completes with completed = false and an error
    // (at once on the run loop too), when there is nothing to print, when printing is
    // unavailable or when a job is already showing.
    bool present(bool animated, Completion = {});
    bool presentFromRect(const Rect& rect, const std::shared_ptr<View>& view, bool animated, Completion = {});
    // Dismisses a showing job: it completes as cancelled.
    void dismiss(bool animated);
    bool isPresenting() const { return m_presenting; }

    // Test hooks.
    void setNextOutcome(PrintOutcome outcome) { BASE_ASSERT_MAIN_THREAD(); m_nextOutcome = outcome; }
    void setPrintingAvailable(bool available) { BASE_ASSERT_MAIN_THREAD(); m_available = available; }
    const std::vector<PrintJob>& jobs() const { return m_jobs; }
    // Forgets the jobs, items and info, and the hooks (back to completing, available).
    void reset();

private:
    PrintInteractionController() = default;
    bool start(bool animated, std::optional<Rect>, const std::shared_ptr<View>&, Completion);
    void finish(uint64_t generation, PrintOutcome);

    PrintInfo m_printInfo;
    bool m_showsNumberOfCopies = true;
    bool m_showsPaperSelection = false;
    std::optional<PrintItem> m_item;
    std::vector<PrintItem> m_items;
    PrintOutcome m_nextOutcome = PrintOutcome::Completed;
    bool m_available = true;
    bool m_presenting = false;
    uint64_t m_generation = 0;
    Completion m_completion;
    std::vector<PrintJob> m_jobs;
};

} // namespace ui
