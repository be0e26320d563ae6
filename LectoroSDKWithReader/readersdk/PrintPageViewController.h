#pragma once

// The companion framework's page-print controller: made for the printable page object the
// renderer hands back (RendererViewController::printPagesWithWatermark), its view is laid
// over the reader and runs the print job through the platform's print dialog, then says
// how the job went. Created through CompanionFramework::makePrintPageViewController
// (initWithPrintPage:).

#include "platform/base/Error.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace lectoro {

class PrintPageViewControllerDelegate {
public:
    virtual ~PrintPageViewControllerDelegate() = default;
    // The user closed the dialog without printing.
    virtual void printPageViewControllerDidDismiss() = 0;
    // The job is over, printed or failed; the controller has nothing more to show.
    virtual void PrintPageViewControllerDidFinishJob() = 0;
    // This device cannot print; nothing was shown.
    virtual void deviceNotSupportsPagePrinting() = 0;
    virtual void didPagePrintedSuccessFully() = 0;
    virtual void didPagePrintingFailedWithError(const base::Error&) = 0;
};

class PrintPageViewController : public ui::ViewController {
public:
    std::string_view className() const override { return "PrintPageViewController"; }

    // Held weakly; reports go to the delegate set when they happen.
    std::shared_ptr<PrintPageViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PrintPageViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

private:
    std::weak_ptr<PrintPageViewControllerDelegate> m_delegate;
};

} // namespace lectoro
