// The framework's page-print controller and My Data document on their own: what a page
// object prints as, the reports of each outcome, and documents that replace the last one.

#include "companion/controllers/BookPrintPageViewController.h"
#include "companion/controllers/MyDataPDFCreator.h"

#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/store/TemporaryFolder.h"
#include "platform/base/RunLoop.h"
#include "platform/print/PdfReading.h"
#include "platform/print/PrintInteractionController.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace companion {
namespace {

class PrintReportRecorder : public lectoro::PrintPageViewControllerDelegate {
public:
    void printPageViewControllerDidDismiss() override { reports.push_back("dismissed"); }
    void PrintPageViewControllerDidFinishJob() override { reports.push_back("finished"); }
    void deviceNotSupportsPagePrinting() override { reports.push_back("unsupported"); }
    void didPagePrintedSuccessFully() override { reports.push_back("printed"); }
    void didPagePrintingFailedWithError(const base::Error&) override { reports.push_back("failed"); }
    std::vector<std::string> reports;
};

class PrintingControllers : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        auto& printer = print::PrintInteractionController::shared();
        printer.reset();
        printer.setOutputFolder((m_folder.path() / "prints").string());
    }
    void TearDown() override
    {
        print::PrintInteractionController::shared().reset();
        base::RunLoop::main().reset();
    }

    testing::TemporaryFolder m_folder;
};

TEST_F(PrintingControllers, EachOutcomeOfAPageJobIsReportedOnce)
{
    struct Case {
        const char* name;
        std::optional<print::PrintOutcome> outcome; // none: the device cannot print
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        { "printed", print::PrintOutcome::Completed, { "printed", "finished" } },
        { "failed", print::PrintOutcome::Failed, { "failed", "finished" } },
        { "cancelled", print::PrintOutcome::Cancelled, { "dismissed" } },
        { "no printer", std::nullopt, { "unsupported" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto& printer = print::PrintInteractionController::shared();
        printer.setPrintingAvailable(c.outcome.has_value());
        printer.setNextOutcome(c.outcome.value_or(print::PrintOutcome::Completed));
        auto page = std::make_shared<lectoro::RendererPrintPage>();
        page->watermark = "For class use";
        page->textColor = "#668A96";
        page->pageNumbers = { 103 };
        page->pageImagePaths = { "" };
        auto controller = BookPrintPageViewController::create(page);
        ASSERT_TRUE(controller);
        auto recorder = std::make_shared<PrintReportRecorder>();
        controller->setDelegate(recorder);
        controller->view();
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(recorder->reports, c.reports);
    }
    // A page without a picture prints its number, with the watermark under it.
    const auto& job = print::PrintInteractionController::shared().jobs().front();
    ASSERT_EQ(job.items.size(), 1u);
    EXPECT_NE(job.items[0].text.find("103"), std::string::npos);
    EXPECT_NE(printtest::pdfPageText(job.outputPath, 1).find("For class use"), std::string::npos);

    EXPECT_FALSE(BookPrintPageViewController::create(nullptr));
    EXPECT_FALSE(BookPrintPageViewController::create(std::make_shared<lectoro::RendererPrintPage>()));
}

TEST_F(PrintingControllers, ADocumentHasAPagePerRecordAndReplacesTheOneBefore)
{
    auto note = [](const char* text, bool received) {
        auto record = std::make_shared<lectoro::SDKHighlightVO>();
        record->noteText = text;
        record->chapterName = "Rain";
        record->isReceived = received;
        return record;
    };
    std::string folder = (m_folder.path() / "documents").string();
    auto write = [&](std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> records) {
        std::optional<std::string> written;
        bool answered = false;
        MyDataPDFCreator(std::move(records), folder).createPDFWithCompletion([&](std::optional<std::string> path) {
            answered = true;
            written = std::move(path);
        });
        EXPECT_FALSE(answered) << "the completion comes on the run loop";
        base::RunLoop::main().runUntilIdle();
        EXPECT_TRUE(answered);
        return written;
    };
    auto first = write({ note("first", false) });
    ASSERT_TRUE(first);
    auto second = write({ note("second", false), note("shared with me", true) });
    ASSERT_TRUE(second);
    EXPECT_FALSE(std::filesystem::exists(*first));
    EXPECT_EQ(printtest::pdfPageCount(*second), 2);
    EXPECT_NE(printtest::pdfPageText(*second, 2).find("shared with me"), std::string::npos);
    EXPECT_EQ(MyDataPDFCreator::markColorForRecord(*note("x", true)), "#8fd5e1");
    EXPECT_FALSE(write({})) << "nothing to print writes nothing";
}

} // namespace
} // namespace companion
