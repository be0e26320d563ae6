#include "platform/ui/Print.h"

#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"

#include <filesystem>
#include <fstream>

namespace ui {

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
    m_item = std::move(item);
    m_items.clear();
}

void PrintInteractionController::setPrintingItems(std::vector<PrintItem> items)
{
    m_items = std::move(items);
    m_item.reset();
}

bool PrintInteractionController::present(bool animated, Completion completion)
{
    return start(animated, std::nullopt, nullptr, std::move(completion));
}

bool PrintInteractionController::presentFromRect(const Rect& rect, const std::shared_ptr<View>& view, bool animated,
    Completion completion)
{
    return start(animated, rect, view, std::move(completion));
}

bool PrintInteractionController::start(bool animated, std::optional<Rect> rect, const std::shared_ptr<View>& view,
    Completion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    std::vector<PrintItem> items = m_items;
    if (m_item)
        items.insert(items.begin(), *m_item);

    int refusal = 0;
    if (m_presenting)
        refusal = errorBusy;
    else if (items.empty())
        refusal = errorNothingToPrint;
    else if (!m_available)
        refusal = errorPrintingFailed;
    if (refusal) {
        // A refusal is reported, never passed off as a printed job.
        if (completion) {
            base::RunLoop::main().post([completion = std::move(completion), refusal] {
                auto& controller = shared();
                completion(controller, false,
                    base::Error::make(errorDomain, refusal, refusal == errorBusy ? "A print job is already showing."
                            : refusal == errorNothingToPrint                   ? "Nothing to print."
                                                                               : "Printing is not available."));
            });
        }
        return false;
    }

    PrintJob job;
    job.info = m_printInfo;
    job.items = std::move(items);
    job.animated = animated;
    job.sourceRect = rect;
    job.sourceView = view;
    job.outcome = m_nextOutcome;
    m_jobs.push_back(job);

    m_presenting = true;
    m_completion = std::move(completion);
    uint64_t generation = ++m_generation;
    PrintOutcome outcome = m_nextOutcome;
    base::RunLoop::main().post([generation, outcome] { shared().finish(generation, outcome); });
    return true;
}

void PrintInteractionController::finish(uint64_t generation, PrintOutcome outcome)
{
    if (!m_presenting || generation != m_generation)
        return;
    m_presenting = false;
    Completion completion = std::move(m_completion);
    m_completion = nullptr;
    if (!completion)
        return;
    switch (outcome) {
    case PrintOutcome::Completed:
        completion(*this, true, std::nullopt);
        break;
    case PrintOutcome::Cancelled:
        completion(*this, false, std::nullopt);
        break;
    case PrintOutcome::Failed:
        completion(*this, false, base::Error::make(errorDomain, errorPrintingFailed, "The print job failed."));
        break;
    }
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

} // namespace ui
