// Printing through the assembled reader on a tablet: the toolbar's print item of a
// reflowable book follows the host's printable chapters and prints the chapter in view
// through the framework's page-print controller; My Data prints the user's notes as the
// framework's PDF of them.

#include "mydata/MyDataTestSupport.h"
#include "platform/print/PdfReading.h"
#include "reader/CompanionEndToEndSupport.h"
#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/mydata/LXMyDataPrintOptionsController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/MyDataPrinting.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/readersdk/PrintPageViewController.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/print/PrintInteractionController.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace lectoro {
namespace {

using ::testing::HasSubstr;

constexpr const char* printUserID = "6000000001";

class PrintingEndToEnd : public testing::TabletEndToEndTest {
protected:
    void SetUp() override
    {
        TabletEndToEndTest::SetUp();
        auto& printer = print::PrintInteractionController::shared();
        printer.reset();
        printer.setOutputFolder((m_storage / "prints").string());
    }

    void TearDown() override
    {
        print::PrintInteractionController::shared().reset();
        TabletEndToEndTest::TearDown();
    }

    // The host lets the reader print and My Data print, and names the printable chapters
    // before the book has loaded.
    std::shared_ptr<ReaderViewController> open(const std::string& folder, const std::string& bookID,
        const std::optional<std::string>& printable = std::nullopt)
    {
        auto settings = std::make_shared<MVReaderSettingModel>();
        mydatatest::enableMyDataSettings(*settings);
        return openSample(folder, bookID, settings, [&](ReaderViewController& reader) {
            if (printable)
                reader.setPrintEnabledPageArray(printable);
        });
    }

    // Opens the contents panel and picks a chapter by its header.
    void pickChapter(ReaderViewController& reader, int section)
    {
        ASSERT_TRUE(testing::tapReaderBarItem(reader, PlayerItemTOC));
        settle();
        auto panel = reader.contents().tocViewController();
        ASSERT_TRUE(panel && panel->tableView());
        uitest::settleLayout();
        // The user drags the list until the chapter's header shows.
        auto& table = *panel->tableView();
        ui::Rect wanted = table.rectForHeaderInSection(section);
        double below = wanted.origin.y + wanted.size.height - (table.contentOffset().y + table.bounds().size.height);
        if (below > 0) {
            ASSERT_TRUE(uitest::pan(table, { 0, -below }));
        }
        table.layoutIfNeeded();
        auto header = std::dynamic_pointer_cast<TOCContentCell>(panel->tableView()->headerViewForSection(section));
        ASSERT_TRUE(header);
        ASSERT_TRUE(uitest::tap(*header->sectionHeaderButton()));
        settle();
        base::waitForBackgroundWork();
        settle();
    }

    static const std::vector<print::PrintJob>& jobs() { return print::PrintInteractionController::shared().jobs(); }

    mydatatest::MyDataNetworkScope m_network;
};

TEST_F(PrintingEndToEnd, TheToolbarPrintItemShowsOnlyInAListedChapterAndPrintsItWithTheWatermark)
{
    auto reader = open("sample-reflowable-epub", "4004", std::string("text/chapter-3.xhtml"));
    ASSERT_TRUE(reader && m_renderer);
    ASSERT_FALSE(m_renderer->getActivePages().empty());
    EXPECT_EQ(m_renderer->getActivePages().front().fileIndex, 0);

    // Chapter 1 is not listed: the item is there but invisible and takes no tap.
    auto item = testing::readerBarItem(*reader, PlayerItemPrint);
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->isEnabled());
    EXPECT_EQ(item->alpha(), 0.0);
    EXPECT_FALSE(uitest::tap(*item));
    settle();
    EXPECT_TRUE(jobs().empty());

    // Chapter 3 is listed.
    pickChapter(*reader, 2);
    ASSERT_FALSE(m_renderer->getActivePages().empty());
    ASSERT_EQ(m_renderer->getActivePages().front().fileIndex, 2);
    item = testing::readerBarItem(*reader, PlayerItemPrint);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->alpha(), 1.0);
    ASSERT_TRUE(testing::tapReaderBarItem(*reader, PlayerItemPrint));
    settle();

    ASSERT_EQ(jobs().size(), 1u);
    const auto& job = jobs().back();
    EXPECT_EQ(job.outcome, print::PrintOutcome::Completed);
    ASSERT_GE(printtest::pdfPageCount(job.outputPath), 1);
    std::string watermark = printWatermarkText(printUserID, "4004");
    for (int page = 1; page <= printtest::pdfPageCount(job.outputPath); ++page)
        EXPECT_THAT(printtest::pdfPageText(job.outputPath, page), HasSubstr("Book id=4004.")) << "page " << page;
    EXPECT_THAT(printtest::pdfPageText(job.outputPath, 1), HasSubstr("User id=" + std::string(printUserID)));
    // The job is over: its controller has left the reader, and the bars stay away.
    EXPECT_FALSE(reader->myData().printPageVC());
    EXPECT_TRUE(reader->isPlayerActionBarHidden());
}

TEST_F(PrintingEndToEnd, AFixedLayoutEpubPutsAButtonOnEachListedPageAndItPrintsThatPage)
{
    // The host lists the printed folios "1" and "3"; the cover and page 2 are not listed.
    auto reader = open("sample-fixed-epub", "3003", std::string("1,3"));
    ASSERT_TRUE(reader && m_renderer);
    struct Case {
        const char* href;
        int64_t page;
        bool button;
    };
    const Case cases[] = {
        { "pages/cover.xhtml", 0, false },
        { "pages/page-1.xhtml", 1, true },
        { "pages/page-2.xhtml", 2, false },
        { "pages/page-3.xhtml", 3, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.href);
        m_renderer->navigateToPageNumber(c.href);
        settle();
        auto button = m_renderer->overlayForPage(c.page).printView;
        EXPECT_EQ(button && button->superview(), c.button);
    }

    // Page 3's button, the print glyph at the tablet's size, prints page 3 alone, with the watermark.
    auto button = std::dynamic_pointer_cast<ui::Button>(m_renderer->overlayForPage(3).printView);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->titleForState(ui::ControlState::Normal).value_or(""), ICON_PRINT);
    EXPECT_EQ(button->font().pointSize(), 50);
    ASSERT_TRUE(uitest::tap(*button));
    settle();
    ASSERT_EQ(jobs().size(), 1u);
    const auto& job = jobs().back();
    EXPECT_EQ(job.outcome, print::PrintOutcome::Completed);
    ASSERT_EQ(printtest::pdfPageCount(job.outputPath), 1);
    EXPECT_THAT(printtest::pdfPageText(job.outputPath, 1), HasSubstr("Three"));
    EXPECT_THAT(printtest::pdfPageText(job.outputPath, 1), HasSubstr("Book id=3003."));
    EXPECT_FALSE(reader->myData().printPageVC());
}

TEST_F(PrintingEndToEnd, AReflowableEpubHasNoPagePrintButtonsWhateverTheHostLists)
{
    auto reader = open("sample-reflowable-epub", "4004", std::string("text/chapter-1.xhtml,1,2,3"));
    ASSERT_TRUE(reader && m_renderer);
    auto pages = m_renderer->getActivePages();
    ASSERT_FALSE(pages.empty());
    for (const auto& page : pages)
        EXPECT_FALSE(m_renderer->overlayForPage(page.fileIndex).printView) << "page " << page.fileIndex;
}

TEST_F(PrintingEndToEnd, APageJobOnADeviceThatCannotPrintSaysSoAndLeavesNothingOverTheReader)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader && m_renderer);
    print::PrintInteractionController::shared().setPrintingAvailable(false);
    size_t layers = reader->view()->subviews().size();
    // Every page of a page book carries its print button.
    m_renderer->navigateToPageNumber("103");
    settle();
    auto button = m_renderer->overlayForPage(103).printView;
    ASSERT_TRUE(button);
    ASSERT_TRUE(uitest::tap(*button));
    settle();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message().value_or(""), LocalizationHelper::localizedStringWithKey("DEVICE_NOT_SUPPORTS_PRINTING"));
    EXPECT_FALSE(reader->myData().printPageVC());
    EXPECT_EQ(reader->view()->subviews().size(), layers) << "no overlay of a print job is left";
    EXPECT_TRUE(jobs().empty());
}

TEST_F(PrintingEndToEnd, MyDataPrintsTheUsersTwoNotesAsTheFrameworksDocument)
{
    auto store = m_companion->store();
    const int64_t user = 6000000001;
    for (const auto& [id, note] : { std::pair { "n1", "Ask about the water cycle" }, { "n2", "Rain follows clouds" } }) {
        auto record = mydatatest::record({ .localID = id, .noteText = note });
        ASSERT_TRUE(store->saveHighlight(record, "1001", user).ok());
    }
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader);
    ASSERT_TRUE(testing::tapReaderBarItem(*reader, PlayerItemMyData));
    settle();
    auto panel = reader->myData().myDataViewController();
    ASSERT_TRUE(panel && panel->printButton());
    // The notes are listed under their own segment.
    ASSERT_TRUE(uitest::tap(*panel->notesButton()));
    settle();
    ASSERT_TRUE(uitest::tap(*panel->printButton()));
    settle();
    auto popup = reader->myData().printOptionsController();
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->hiddenPrintType, PrintTypeHighlights) << "notes only: the highlights row is greyed";
    ASSERT_TRUE(uitest::tap(*popup->printButton()));
    settle();

    // The framework wrote the document: one page per note, each note's text in it.
    std::string folder = (m_storage / "MyDataPrints").string();
    std::vector<std::string> documents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        documents.push_back(entry.path().string());
    ASSERT_EQ(documents.size(), 1u);
    ASSERT_EQ(printtest::pdfPageCount(documents[0]), 2);
    EXPECT_THAT(printtest::pdfPageText(documents[0], 1), HasSubstr("Ask about the water cycle"));
    EXPECT_THAT(printtest::pdfPageText(documents[0], 2), HasSubstr("Rain follows clouds"));

    // It went to the platform's print dialog under the kind's name, as it is.
    ASSERT_EQ(jobs().size(), 1u);
    EXPECT_EQ(jobs().back().info.jobName, LocalizationHelper::localizedStringWithKey("NOTES_KEY"));
    ASSERT_EQ(jobs().back().items.size(), 1u);
    EXPECT_EQ(jobs().back().items[0].path, documents[0]);
    EXPECT_EQ(printtest::pdfPageCount(jobs().back().outputPath), 2);
}

} // namespace
} // namespace lectoro
