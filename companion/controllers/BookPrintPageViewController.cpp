#include "companion/controllers/BookPrintPageViewController.h"

#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "companion/renderer/BookPrintPage.h"
#include "platform/base/RunLoop.h"
#include "platform/print/PrintInteractionController.h"
#include "platform/ui/View.h"

namespace companion {

namespace {

// The dimming laid over the reader while the dialog is up.
const ui::Color printOverlayColor = ui::Color::fromWhite(0, 0.3);

} // namespace

std::shared_ptr<BookPrintPageViewController> BookPrintPageViewController::create(
    std::shared_ptr<lectoro::RendererPrintPage> printPage)
{
    if (!printPage || printPage->pageNumbers.empty())
        return nullptr;
    return std::shared_ptr<BookPrintPageViewController>(new BookPrintPageViewController(std::move(printPage)));
}

BookPrintPageViewController::BookPrintPageViewController(std::shared_ptr<lectoro::RendererPrintPage> printPage)
    : m_printPage(std::move(printPage))
{
}

std::vector<print::PrintItem> BookPrintPageViewController::printItemsFor(const lectoro::RendererPrintPage& printPage)
{
    if (const auto* book = dynamic_cast<const BookPrintPage*>(&printPage))
        return book->items;
    std::vector<print::PrintItem> items;
    for (size_t index = 0; index < printPage.pageNumbers.size(); ++index) {
        const std::string& image = index < printPage.pageImagePaths.size() ? printPage.pageImagePaths[index] : "";
        // A page without a picture still takes its sheet, with the watermark on it.
        if (!image.empty() && print::PrintInteractionController::canPrintPath(image))
            items.push_back(print::PrintItem::file(image));
        else
            items.push_back(print::PrintItem::fromText(lectoro::LocalizationHelper::localizedStringWithKey("PAGE")
                + " " + std::to_string(printPage.pageNumbers[index])));
    }
    return items;
}

void BookPrintPageViewController::viewDidLoad()
{
    lectoro::PrintPageViewController::viewDidLoad();
    view()->setBackgroundColor(printOverlayColor);
    // The job starts once whoever loaded the view has placed it and set the delegate.
    std::weak_ptr<BookPrintPageViewController> weak
        = std::static_pointer_cast<BookPrintPageViewController>(shared_from_this());
    base::RunLoop::main().post([weak] {
        if (auto self = weak.lock())
            self->runPrintJob();
    });
}

void BookPrintPageViewController::runPrintJob()
{
    if (m_started)
        return;
    m_started = true;
    if (!print::PrintInteractionController::isPrintingAvailable()) {
        if (auto delegate = this->delegate())
            delegate->deviceNotSupportsPagePrinting();
        return;
    }
    auto& printer = print::PrintInteractionController::shared();
    print::PrintInfo info;
    if (const auto* book = dynamic_cast<const BookPrintPage*>(m_printPage.get()))
        info.jobName = book->jobName;
    printer.setPrintInfo(info);
    printer.setWatermarks(printWatermarksFor(*m_printPage));
    printer.setPrintingItems(printItemsFor(*m_printPage));
    std::weak_ptr<BookPrintPageViewController> weak
        = std::static_pointer_cast<BookPrintPageViewController>(shared_from_this());
    printer.present(true, [weak](print::PrintInteractionController&, bool completed, std::optional<base::Error> error) {
        // The delegate may let the controller go while it is told; hold it until done.
        auto self = weak.lock();
        auto delegate = self ? self->delegate() : nullptr;
        if (!delegate)
            return;
        if (completed) {
            delegate->didPagePrintedSuccessFully();
            delegate->PrintPageViewControllerDidFinishJob();
        } else if (error) {
            delegate->didPagePrintingFailedWithError(*error);
            delegate->PrintPageViewControllerDidFinishJob();
        } else {
            delegate->printPageViewControllerDidDismiss();
        }
    });
}

} // namespace companion
