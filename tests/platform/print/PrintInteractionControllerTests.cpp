#include "platform/print/PrintInteractionController.h"

#include "platform/print/PrintTestSupport.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <fstream>

namespace print {
namespace {

using printtest::pdfInfo;
using printtest::pdfPageCount;
using printtest::pdfPageText;

struct Result {
    int calls = 0;
    bool completed = false;
    std::optional<base::Error> error;
};

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_printer.reset();
        m_printer.setOutputFolder(m_folder.path());
    }
    void TearDown() override
    {
        base::RunLoop::main().reset();
        m_printer.reset();
    }

    PrintInteractionController::Completion recordInto(Result& result)
    {
        return [&result](PrintInteractionController&, bool completed, std::optional<base::Error> error) {
            ++result.calls;
            result.completed = completed;
            result.error = std::move(error);
        };
    }

    // A page-like view: a coloured card with a line of text.
    static std::shared_ptr<ui::View> card(const std::string& text)
    {
        auto view = ui::View::create({ { 0, 0 }, { 300, 400 } });
        view->setBackgroundColor(ui::Color::fromRGB255(250, 240, 220));
        auto label = ui::Label::create();
        label->setFrame({ { 20, 20 }, { 260, 30 } });
        label->setText(text);
        view->addSubview(label);
        return view;
    }

    printtest::TemporaryFolder m_folder;
    PrintInteractionController& m_printer = PrintInteractionController::shared();
};

TEST_F(PrintTest, ThreeViewsWithAWatermarkPrintThreePagesEachMarked)
{
    const std::string watermark = "Printed by reader, User id=42, Book id=1001.";
    m_printer.setPrintInfo({ PrintOutputType::General, PrintOrientation::Portrait, PrintDuplex::None, "Pages 3-5" });
    m_printer.setPrintingItems({ PrintItem::fromView(card("First page")), PrintItem::fromView(card("Second page")),
        PrintItem::fromView(card("Third page")) });
    m_printer.setWatermarks({ { watermark, ui::Color::fromRGB255(0x66, 0x8A, 0x96) } });
    Result result;
    ASSERT_TRUE(m_printer.present(true, recordInto(result)));
    EXPECT_TRUE(m_printer.isPresenting());
    EXPECT_EQ(result.calls, 0);
    base::RunLoop::main().runUntilIdle();

    ASSERT_EQ(result.calls, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_FALSE(result.error);
    const PrintJob& job = m_printer.jobs().at(0);
    EXPECT_EQ(job.pageCount, 3);
    EXPECT_EQ(job.outputPath, m_folder.file("Pages 3-5.pdf"));
    EXPECT_EQ(pdfPageCount(job.outputPath), 3);
    EXPECT_EQ(pdfInfo(job.outputPath, "Title"), "Pages 3-5");
    const char* texts[] = { "First page", "Second page", "Third page" };
    for (int page = 1; page <= 3; ++page) {
        std::string text = pdfPageText(job.outputPath, page);
        EXPECT_NE(text.find(watermark), std::string::npos) << "page " << page << ":\n" << text;
        EXPECT_NE(text.find(texts[page - 1]), std::string::npos) << "page " << page << ":\n" << text;
    }
}

TEST_F(PrintTest, AJobNameThatIsNotUTF8StillPrints)
{
    // A book's title as a broken file gave it: Latin-1 bytes.
    m_printer.setPrintInfo({ PrintOutputType::General, PrintOrientation::Portrait, PrintDuplex::None,
        "Livre d'\xE9t\xE9" });
    m_printer.setPrintingItem(PrintItem::fromView(card("Chapitre \xE9t\xE9")));
    Result result;
    ASSERT_TRUE(m_printer.present(true, recordInto(result)));
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(result.completed) << result.error->localizedDescription();
    const PrintJob& job = m_printer.jobs().at(0);
    const std::string shown = "Livre d'\uFFFDt\uFFFD";
    EXPECT_EQ(job.outputPath, m_folder.file(shown + ".pdf"));
    EXPECT_EQ(pdfInfo(job.outputPath, "Title"), shown);
    EXPECT_NE(pdfPageText(job.outputPath, 1).find("Chapitre"), std::string::npos);
}

TEST_F(PrintTest, ItemsOfEveryKindAndTheDiagonalMarkPrintOnePageEach)
{
    std::string png = LECTORO_SAMPLES_DIR "/books/sample-pagebook/assets/pages/page-101.png";
    m_printer.setPrintInfo({ PrintOutputType::Photo, PrintOrientation::Landscape, PrintDuplex::None, "" });
    m_printer.setPrintingItems({ PrintItem::file(png), PrintItem::fromImage(ui::Image::fromFile(png)),
        PrintItem::fromText("Highlights and notes of the book") });
    PrintWatermark diagonal { "SAMPLE", ui::Color::red().withAlpha(0.3), ui::Font::boldSystemFont(60),
        PrintWatermark::Placement::Diagonal };
    m_printer.setWatermarks({ diagonal });
    Result result;
    ASSERT_TRUE(m_printer.present(false, recordInto(result)));
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(result.completed) << result.error->localizedDescription();
    const PrintJob& job = m_printer.jobs().at(0);
    // An unnamed job still gets a file; a landscape job turns the paper.
    EXPECT_EQ(job.outputPath, m_folder.file("Print job.pdf"));
    EXPECT_EQ(pdfPageCount(job.outputPath), 3);
    EXPECT_NE(pdfInfo(job.outputPath, "Page size").find("841.89 x 595.28"), std::string::npos);
    EXPECT_NE(pdfPageText(job.outputPath, 3).find("Highlights and notes of the book"), std::string::npos);

    // The same name again does not overwrite the first file.
    m_printer.setPrintingItem(PrintItem::fromText("again"));
    ASSERT_TRUE(m_printer.present(false, recordInto(result)));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_printer.jobs().at(1).outputPath, m_folder.file("Print job 2.pdf"));
}

TEST_F(PrintTest, APdfPrintedAloneIsPrintedAsItIs)
{
    std::string source = m_folder.file("made.pdf");
    {
        std::ofstream(source) << "%PDF-1.4\n% not much of a document\n";
    }
    m_printer.setPrintingItem(PrintItem::file(source));
    Result result;
    ASSERT_TRUE(m_printer.present(true, recordInto(result)));
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(result.completed);
    std::ifstream copy(m_printer.jobs().at(0).outputPath);
    std::string head;
    std::getline(copy, head);
    EXPECT_EQ(head, "%PDF-1.4");
}

TEST_F(PrintTest, ContentThatCannotBeDrawnFailsWithTheFormatError)
{
    struct Case {
        const char* what;
        PrintItem item;
    };
    std::string text = m_folder.file("notes.txt");
    {
        std::ofstream(text) << "plain text is not a picture";
    }
    std::string pdf = LECTORO_SOURCE_DIR "/CMakeLists.txt";
    Case cases[] = {
        { "an image without pixels", PrintItem::fromImage(ui::Image::make("page", { 768, 1024 })) },
        { "a file that is no picture", PrintItem::file(text) },
        { "a missing file", PrintItem::file(m_folder.file("gone.png")) },
    };
    for (const auto& c : cases) {
        m_printer.setPrintingItems({ PrintItem::fromText("fine"), c.item });
        Result result;
        ASSERT_TRUE(m_printer.present(true, recordInto(result))) << c.what;
        base::RunLoop::main().runUntilIdle();
        EXPECT_FALSE(result.completed) << c.what;
        ASSERT_TRUE(result.error) << c.what;
        EXPECT_EQ(result.error->domain, printErrorDomain) << c.what;
        EXPECT_EQ(result.error->code, errorUnknownImageFormat) << c.what;
        EXPECT_EQ(m_printer.jobs().back().outcome, PrintOutcome::Failed) << c.what;
    }
    // No half-written file is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
        EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
}

TEST_F(PrintTest, OutcomesChosenByTheTest)
{
    struct Case {
        PrintOutcome outcome;
        bool completed;
        bool error;
        bool written;
    };
    for (Case c : { Case { PrintOutcome::Completed, true, false, true },
             Case { PrintOutcome::Cancelled, false, false, false }, Case { PrintOutcome::Failed, false, true, false } }) {
        m_printer.setNextOutcome(c.outcome);
        m_printer.setPrintingItems({ PrintItem::fromText("a"), PrintItem::fromText("b") });
        Result result;
        ASSERT_TRUE(m_printer.present(false, recordInto(result)));
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(result.completed, c.completed);
        EXPECT_EQ(result.error.has_value(), c.error);
        if (result.error) {
            EXPECT_EQ(result.error->domain, printErrorDomain);
            EXPECT_EQ(result.error->code, errorJobFailed);
        }
        EXPECT_EQ(m_printer.jobs().back().outcome, c.outcome);
        EXPECT_EQ(!m_printer.jobs().back().outputPath.empty(), c.written);
    }
}

TEST_F(PrintTest, RefusalsAreReportedNotPassedOffAsPrinted)
{
    // Nothing at all, and items with nothing behind them.
    for (auto items : { std::vector<PrintItem> {}, std::vector<PrintItem> { PrintItem::fromView(nullptr),
                                                       PrintItem::fromImage(nullptr), PrintItem::file("") } }) {
        m_printer.setPrintingItems(items);
        Result nothing;
        EXPECT_FALSE(m_printer.present(true, recordInto(nothing)));
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(nothing.calls, 1);
        EXPECT_FALSE(nothing.completed);
        ASSERT_TRUE(nothing.error);
        EXPECT_EQ(nothing.error->domain, printErrorDomain);
        EXPECT_EQ(nothing.error->code, errorNoContent);
        EXPECT_TRUE(m_printer.jobs().empty());
    }

    m_printer.setPrintingItem(PrintItem::fromText("x"));
    Result first, second;
    EXPECT_TRUE(m_printer.present(true, recordInto(first)));
    EXPECT_FALSE(m_printer.present(true, recordInto(second)));
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(first.completed);
    ASSERT_TRUE(second.error);
    EXPECT_EQ(second.error->code, errorJobFailed);

    m_printer.setPrintingAvailable(false);
    EXPECT_FALSE(PrintInteractionController::isPrintingAvailable());
    Result unavailable;
    EXPECT_FALSE(m_printer.present(true, recordInto(unavailable)));
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(unavailable.completed);
    ASSERT_TRUE(unavailable.error);
    EXPECT_EQ(unavailable.error->code, errorNotAvailable);
}

TEST_F(PrintTest, DismissingCancelsOnceAndResetForgetsTheQueuedFinish)
{
    m_printer.setPrintingItem(PrintItem::fromText("x"));
    Result result;
    m_printer.present(true, recordInto(result));
    m_printer.dismiss(true);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(result.calls, 1);
    EXPECT_FALSE(result.completed);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(m_printer.jobs().back().outcome, PrintOutcome::Cancelled);

    // A job queued before a reset must not complete the next job early.
    Result stale;
    m_printer.present(true, recordInto(stale));
    m_printer.reset();
    m_printer.setOutputFolder(m_folder.path());
    m_printer.setPrintingItem(PrintItem::fromText("y"));
    m_printer.setNextOutcome(PrintOutcome::Failed);
    Result fresh;
    m_printer.present(true, recordInto(fresh));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(stale.calls, 0);
    EXPECT_EQ(fresh.calls, 1);
    EXPECT_TRUE(fresh.error);
}

TEST_F(PrintTest, HostileJobNamesStayInTheOutputFolder)
{
    for (std::string name : { "../../escape", "/etc/passwd", "..", "a\\b" }) {
        m_printer.setPrintInfo({ PrintOutputType::General, PrintOrientation::Portrait, PrintDuplex::None, name });
        m_printer.setPrintingItem(PrintItem::fromText("x"));
        Result result;
        ASSERT_TRUE(m_printer.present(false, recordInto(result)));
        base::RunLoop::main().runUntilIdle();
        ASSERT_TRUE(result.completed) << name;
        std::filesystem::path written = m_printer.jobs().back().outputPath;
        EXPECT_EQ(written.parent_path(), std::filesystem::path(m_folder.path())) << name;
    }
}

TEST_F(PrintTest, CanPrintOnlyReadableFiles)
{
    EXPECT_FALSE(PrintInteractionController::canPrintPath(""));
    EXPECT_FALSE(PrintInteractionController::canPrintPath("/definitely/not/here.pdf"));
    EXPECT_FALSE(PrintInteractionController::canPrintPath("/tmp"));
    EXPECT_TRUE(PrintInteractionController::canPrintPath(LECTORO_SOURCE_DIR "/CMakeLists.txt"));
}

} // namespace
} // namespace print
