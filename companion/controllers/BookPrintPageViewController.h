#pragma once

// The working page-print controller (PrintPageViewController.h). Its view, laid over the
// reader, dims the page; once it is loaded the controller sends the pages through the
// platform's print dialog (print::PrintInteractionController) with the watermark on every
// page, and reports: printed (success, then finished), failed (the error, then finished),
// cancelled (dismissed), or a device that cannot print.
//
// A page object of the companion renderer prints what the renderer made of its pages; any
// other prints each page's picture when it has a printable file, else the page's number.

#include "LectoroSDKWithReader/readersdk/PrintPageViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "platform/print/PrintItem.h"

#include <memory>
#include <vector>

namespace companion {

class BookPrintPageViewController final : public lectoro::PrintPageViewController {
public:
    // initWithPrintPage: — null without a page object or without a page in it.
    static std::shared_ptr<BookPrintPageViewController> create(std::shared_ptr<lectoro::RendererPrintPage>);

    void viewDidLoad() override;

    const std::shared_ptr<lectoro::RendererPrintPage>& printPage() const { return m_printPage; }
    // What the job prints, one item per page.
    static std::vector<print::PrintItem> printItemsFor(const lectoro::RendererPrintPage&);

private:
    explicit BookPrintPageViewController(std::shared_ptr<lectoro::RendererPrintPage>);
    void runPrintJob();

    std::shared_ptr<lectoro::RendererPrintPage> m_printPage;
    bool m_started = false;
};

} // namespace companion
