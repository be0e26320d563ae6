#include "platform/print/PrintInteractionController.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"

#include <filesystem>
#include <fstream>

namespace print {

namespace {

std::string defaultOutputFolder()
{
    std::error_code error;
    auto folder = std::filesystem::temp_directory_path(error);
    return ((error ? std::filesystem::path("/tmp") : folder) / "lectoro-print").string();
}

// A job name (valid UTF-8) made safe for a file name: no separators, no dot files, not
// empty, at most 100 bytes cut between characters.
std::string fileStem(const std::string& jobName)
{
    std::string stem;
    for (char c : jobName)
        stem += (c == '/' || c == '\\' || c == '\0' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    while (!stem.empty() && (stem.front() == '.' || stem.front() == ' '))
        stem.erase(stem.begin());
    if (stem.size() > 100) {
        size_t cut = 100;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
            --cut;
        stem.resize(cut);
    }
    return stem.empty() ? "Print job" : stem;
}

} // namespace

PrintInteractionController::PrintInteractionController()
    : m_paperSize(PrintPageSetup().paperSize)
    , m_outputFolder(defaultOutputFolder())
{
}

PrintInteractionController& PrintInteractionController::shared()
{
    static PrintInteractionController controller;
    return controller;
}

bool PrintInteractionController::isPrintingAvailable()
{
    return shared().m_available;
}

bool PrintInteractionController::canPrintPath(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    return static_cast<bool>(file);
}

void PrintInteractionController::setPrintingItem(std::optional<PrintItem> item)
{
    BASE_ASSERT_MAIN_THREAD();
    m_item = std::move(item);
    m_items.clear();
}

void PrintInteractionController::setPrintingItems(std::vector<PrintItem> items)
{
    BASE_ASSERT_MAIN_THREAD();
    m_items = std::move(items);
    m_item.reset();
}

bool PrintInteractionController::present(bool animated, Completion completion)
{
    return start(animated, std::nullopt, nullptr, std::move(completion));
}

bool PrintInteractionController::presentFromRect(const ui::Rect& rect, const std::shared_ptr<ui::View>& view,
    bool animated, Completion completion)
{
    return start(animated, rect, view, std::move(completion));
}

bool PrintInteractionController::start(bool animated, std::optional<ui::Rect> rect,
    const std::shared_ptr<ui::View>& view, Completion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    std::vector<PrintItem> items = m_items;
    if (m_item)
        items.insert(items.begin(), *m_item);
    bool hasContent = false;
    for (const auto& item : items)
        hasContent = hasContent || item.hasContent();

    std::optional<base::Error> refusal;
    if (m_presenting)
        refusal = base::Error::make(printErrorDomain, errorJobFailed, "A print job is already showing.");
    else if (!hasContent)
        refusal = base::Error::make(printErrorDomain, errorNoContent, "Nothing to print.");
    else if (!m_available)
        refusal = base::Error::make(printErrorDomain, errorNotAvailable, "Printing is not available.");
    if (refusal) {
        // A refusal is reported, never passed off as a printed job.
        if (completion) {
            base::RunLoop::main().post([completion = std::move(completion), error = *refusal] {
                completion(shared(), false, error);
            });
        }
        return false;
    }

    PrintJob job;
    job.info = m_printInfo;
    job.items = std::move(items);
    job.watermarks = m_watermarks;
    job.animated = animated;
    job.sourceRect = rect;
    job.sourceView = view;
    job.outcome = m_nextOutcome;
    m_jobs.push_back(std::move(job));

    m_presenting = true;
    m_completion = std::move(completion);
    uint64_t generation = ++m_generation;
    PrintOutcome outcome = m_nextOutcome;
    base::RunLoop::main().post([generation, outcome] { shared().finish(generation, outcome); });
    return true;
}

std::optional<base::Error> PrintInteractionController::printLastJob()
{
    PrintJob& job = m_jobs.back();
    std::error_code error;
    std::filesystem::create_directories(m_outputFolder, error);
    // Cairo refuses a title that is not UTF-8 (a book's title may hold anything), and then
    // the whole job; the file name follows the same text.
    std::string jobName = base::validUtf8(job.info.jobName);
    std::string stem = fileStem(jobName);
    std::filesystem::path path = std::filesystem::path(m_outputFolder) / (stem + ".pdf");
    for (int n = 2; std::filesystem::exists(path, error); ++n)
        path = std::filesystem::path(m_outputFolder) / (stem + " " + std::to_string(n) + ".pdf");

    PrintPageSetup setup;
    setup.paperSize = m_paperSize;
    if (job.info.orientation == PrintOrientation::Landscape)
        setup.paperSize = { m_paperSize.height, m_paperSize.width };
    setup.title = jobName;
    setup.watermarks = job.watermarks;
    auto written = writePrintPDF(job.items, setup, path.string());
    if (!written)
        return written.error();
    job.outputPath = path.string();
    job.pageCount = *written;
    return std::nullopt;
}

void PrintInteractionController::finish(uint64_t generation, PrintOutcome outcome)
{
    if (!m_presenting || generation != m_generation)
        return;
    m_presenting = false;
    std::optional<base::Error> error;
    if (outcome == PrintOutcome::Completed)
        error = printLastJob();
    else if (outcome == PrintOutcome::Failed)
        error = base::Error::make(printErrorDomain, errorJobFailed, "The print job failed.");
    if (error) {
        m_jobs.back().outcome = PrintOutcome::Failed;
        m_jobs.back().error = error;
    }
    Completion completion = std::move(m_completion);
    m_completion = nullptr;
    if (!completion)
        return;
    bool completed = outcome == PrintOutcome::Completed && !error;
    completion(*this, completed, error);
}

void PrintInteractionController::dismiss(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_presenting)
        return;
    if (!m_jobs.empty())
        m_jobs.back().outcome = PrintOutcome::Cancelled;
    finish(m_generation, PrintOutcome::Cancelled);
}

void PrintInteractionController::reset()
{
    // Keep counting generations: a finish still queued from before must not match a new job.
    uint64_t generation = m_generation;
    *this = PrintInteractionController();
    m_generation = generation;
}

} // namespace print
