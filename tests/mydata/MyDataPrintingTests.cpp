// Printing: the printable pages, the kind greyed in the print-type pop-up, the pop-up on
// tablet and phone, and real PDFs printed from the reader: pages with the watermark and
// My Data records by kind.

#include "mydata/MyDataTestSupport.h"
#include "platform/print/PdfReading.h"
#include "reader/shell/ShellTestSupport.h"

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/LXMyDataPrintOptionsController.h"
#include "LectoroSDKWithReader/mydata/MyDataPrinting.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/print/PrintInteractionController.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/NavigationController.h"

#include <gmock/gmock.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace lectoro::shelltest {
namespace {

using mydatatest::localIDs;
using mydatatest::record;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string printedPageText(const std::string& pdf, int page)
{
    std::string command = "pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf
        + "' - 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    std::array<char, 512> buffer {};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
        text += buffer.data();
    return text;
}

TEST(MyDataPrintRulesTest, PrintablePagesSplitAtEveryComma)
{
    EXPECT_THAT(*splitPrintEnabledPages(std::string("1,iv, 3")), ElementsAre("1", "iv", " 3"));
    EXPECT_THAT(*splitPrintEnabledPages(std::string("a,,b")), ElementsAre("a", "", "b"));
    EXPECT_FALSE(splitPrintEnabledPages(std::nullopt));
}

TEST(MyDataPrintRulesTest, TheGreyedKindFollowsWhatThereIsToPrint)
{
    auto highlight = record({ .localID = "h" });
    auto note = record({ .localID = "n", .noteText = "note" });
    auto waiting = record({ .localID = "w", .noteText = "theirs", .received = true, .answered = false });
    auto deleted = record({ .localID = "d", .status = UGCStatusDeleted });
    struct Case {
        const char* name;
        MyDataRecords records;
        PrintType hidden;
    };
    const Case cases[] = {
        { "notes only", { note, deleted }, PrintTypeHighlights },
        { "highlights only", { highlight, waiting }, PrintTypeNotes },
        { "neither", { deleted, waiting }, PrintTypeHighlights },
        { "both", { note, highlight }, PrintTypeNone },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hiddenPrintTypeForRecords(c.records), c.hidden) << c.name;
        std::vector<std::shared_ptr<const SDKHighlightVO>> shared(c.records.begin(), c.records.end());
        EXPECT_EQ(hiddenPrintTypeForRecords(shared), c.hidden) << c.name << ", the store's shared list";
    }

    MyDataRecords all { note, highlight, waiting, deleted };
    EXPECT_THAT(localIDs(*recordsForPrintType(all, PrintTypeBoth)), ElementsAre("h", "n"));
    EXPECT_THAT(localIDs(*recordsForPrintType(all, PrintTypeNotes)), ElementsAre("n"));
    EXPECT_FALSE(recordsForPrintType(all, 3));
    EXPECT_FALSE(recordsForPrintType(all, 7)) << "an unknown kind prints nothing";
    EXPECT_EQ(printWatermarkText("7", "42"),
        LocalizationHelper::localizedStringWithKey("WATERMARK_TEXT") + ", User id=7, Book id=42.");
}

class RecordingPrintChoice : public LXMyDataPrintOptionsControllerDelegate {
public:
    void didTapOnPrintTypeWithPrintType(int64_t type) override { choices.push_back(type); }
    std::vector<int64_t> choices;
};

class PrintOptionsTest : public testing::ReaderTest {
protected:
    std::shared_ptr<LXMyDataPrintOptionsController> present(ui::UserInterfaceIdiom idiom, int64_t hidden)
    {
        ui::Environment::current().setIdiom(idiom);
        m_root = ui::ViewController::create();
        uitest::showInWindow(m_root);
        auto popup = LXMyDataPrintOptionsController::create();
        popup->setDelegate(m_choice);
        popup->hiddenPrintType = hidden;
        m_root->presentViewController(popup, true);
        base::RunLoop::main().advanceBy(1);
        popup->view()->setNeedsLayout();
        popup->view()->layoutIfNeeded();
        if (popup->tableView())
            popup->tableView()->layoutIfNeeded();
        return popup;
    }

    void TearDown() override
    {
        uitest::showInWindow(nullptr);
        testing::ReaderTest::TearDown();
    }

    std::vector<bool> radios(LXMyDataPrintOptionsController& popup)
    {
        std::vector<bool> on;
        for (int i = 0; i < 3; ++i) {
            auto cell = std::dynamic_pointer_cast<PrintTypeCell>(
                popup.tableView()->cellForRowAtIndexPath({ 0, i }));
            on.push_back(cell && cell->roundView()->isSelected);
        }
        return on;
    }

    std::shared_ptr<RecordingPrintChoice> m_choice = std::make_shared<RecordingPrintChoice>();
    std::shared_ptr<ui::ViewController> m_root;
};

TEST_F(PrintOptionsTest, TheTabletCardTellsTheChoiceOnlyOnceItHasGone)
{
    auto popup = present(ui::UserInterfaceIdiom::Pad, PrintTypeNone);
    EXPECT_EQ(popup->popupTitle(),
        LocalizationHelper::localizedStringWithKey("PRINT_KEY") + ": "
            + LocalizationHelper::localizedStringWithKey("HELP_MY_DATA_BUTTON_TITLE"));
    EXPECT_THAT(radios(*popup), ElementsAre(true, false, false));
    popup->didTapOnPrintOption();
    EXPECT_TRUE(m_choice->choices.empty()) << "not before the dismissal completes";
    base::RunLoop::main().advanceBy(1);
    EXPECT_THAT(m_choice->choices, ElementsAre(0));
    EXPECT_FALSE(m_root->presentedViewController());

    struct Case {
        int64_t hidden;
        std::vector<bool> radios;
        int64_t sent;
    };
    for (const auto& c : { Case { PrintTypeNotes, { false, true, false }, PrintTypeHighlights },
             Case { PrintTypeHighlights, { false, false, true }, PrintTypeNotes } }) {
        m_choice->choices.clear();
        popup = present(ui::UserInterfaceIdiom::Pad, c.hidden);
        EXPECT_EQ(radios(*popup), c.radios);
        auto veiled
            = std::dynamic_pointer_cast<PrintTypeCell>(popup->tableView()->cellForRowAtIndexPath({ 0, 0 }));
        ASSERT_TRUE(veiled);
        EXPECT_FALSE(veiled->isUserInteractionEnabled());
        uitest::tap(*popup->printButton());
        base::RunLoop::main().advanceBy(1);
        EXPECT_THAT(m_choice->choices, ElementsAre(c.sent));
    }

    m_choice->choices.clear();
    popup = present(ui::UserInterfaceIdiom::Pad, PrintTypeNone);
    ASSERT_TRUE(uitest::tapRow(*popup->tableView(), { 0, 1 }));
    ASSERT_TRUE(uitest::tapRow(*popup->tableView(), { 0, 2 }));
    base::RunLoop::main().runUntilIdle();
    popup->tableView()->layoutIfNeeded();
    EXPECT_THAT(radios(*popup), ElementsAre(false, false, true));
    uitest::tap(*popup->cancelButton());
    base::RunLoop::main().advanceBy(1);
    EXPECT_TRUE(m_choice->choices.empty()) << "Cancel tells nothing";
}

TEST_F(PrintOptionsTest, ThePhoneSheetOffersWhatThereIsToPrint)
{
    auto text = [](const char* key) { return LocalizationHelper::localizedStringWithKey(key); };
    struct Case {
        int64_t hidden;
        std::vector<std::string> titles;
        int64_t firstSends;
    };
    const Case cases[] = {
        { PrintTypeHighlights, { text("NOTES_KEY"), text("CANCEL") }, PrintTypeNotes },
        { PrintTypeNotes, { text("HIGHLIGHTS_KEY"), text("CANCEL") }, PrintTypeHighlights },
        { PrintTypeNone, { text("BOTH_KEY"), text("HIGHLIGHTS_KEY"), text("NOTES_KEY"), text("CANCEL") },
            PrintTypeBoth },
    };
    for (const auto& c : cases) {
        m_choice->choices.clear();
        auto popup = present(ui::UserInterfaceIdiom::Phone, c.hidden);
        ASSERT_TRUE(popup->actionSheet());
        std::vector<std::string> titles;
        for (const auto& action : popup->actionSheet()->actions())
            titles.push_back(action->title());
        EXPECT_EQ(titles, c.titles);
        ASSERT_TRUE(uitest::tapAction(c.titles.front()));
        base::RunLoop::main().advanceBy(2);
        EXPECT_THAT(m_choice->choices, ElementsAre(c.firstSends));
        EXPECT_FALSE(m_root->presentedViewController());
    }
}

class ReaderPrintingTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        mydatatest::enableMyDataSettings(*m_settings);
        print::PrintInteractionController::shared().reset();
        print::PrintInteractionController::shared().setOutputFolder((m_storage / "prints").string());
    }

    void TearDown() override
    {
        LectoroDebugLog::setSinkForTesting(nullptr);
        LectoroDebugLog::enableLogsWithIsenabled(false);
        print::PrintInteractionController::shared().reset();
        ShellTest::TearDown();
    }

    void openSampleBook(std::vector<RendererPage> pages)
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(sample("sample-pagebook"), std::move(pages));
        base::RunLoop::main().advanceBy(1);
        closeOfferedReadAloudChooser();
        uitest::showInWindow(m_reader);
    }

    static const std::vector<print::PrintJob>& jobs()
    {
        return print::PrintInteractionController::shared().jobs();
    }
};

TEST_F(ReaderPrintingTest, PagesInViewPrintWithTheUsersWatermark)
{
    openSampleBook({ pageBookPage(103, "1"), pageBookPage(104, "2") });
    m_reader->myData().didTapOnPrintPageWithWatermark(std::nullopt);
    base::RunLoop::main().advanceBy(2);
    ASSERT_EQ(jobs().size(), 1u);
    const auto& job = jobs().back();
    EXPECT_EQ(job.outcome, print::PrintOutcome::Completed);
    ASSERT_EQ(job.pageCount, 2);
    ASSERT_EQ(job.watermarks.size(), 1u);
    EXPECT_EQ(job.watermarks[0].color, *UIColorExpanded::colorWithHexString("#668A96"));
    for (int page = 1; page <= 2; ++page)
        EXPECT_THAT(printedPageText(job.outputPath, page), HasSubstr("User id=7")) << "page " << page;
    auto call = m_renderer->lastCall("printPagesWithWatermark");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->arguments.at(2), (base::Value::List { 103, 104 }));
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
}

TEST_F(ReaderPrintingTest, AFailedMyDataJobIsLoggedAndAFailedPageJobOnlyTakesItsControllerDown)
{
    openSampleBook({ pageBookPage(103, "1") });
    ASSERT_TRUE(framework()
                    .store()
                    ->saveHighlight(record({ .localID = "n", .noteText = "ask about rain" }), "42", 7)
                    .ok());
    std::vector<std::string> lines;
    LectoroDebugLog::enableLogsWithIsenabled(true);
    LectoroDebugLog::setSinkForTesting([&](const std::string& line) { lines.push_back(line); });
    print::PrintInteractionController::shared().setNextOutcome(print::PrintOutcome::Failed);
    m_reader->myData().didTapOnPrintTypeWithPrintType(PrintTypeNotes);
    base::RunLoop::main().advanceBy(2);
    EXPECT_THAT(
        lines, ::testing::Contains(HasSubstr("Print failed - domain: UIPrintErrorDomain error code 4")));

    lines.clear();
    m_reader->myData().didTapOnPrintPageWithWatermark(103);
    base::RunLoop::main().advanceBy(2);
    ASSERT_EQ(jobs().size(), 2u);
    EXPECT_EQ(jobs().back().outcome, print::PrintOutcome::Failed);
    EXPECT_FALSE(m_reader->myData().printPageVC());
    EXPECT_FALSE(uitest::topmostAlert()) << "a failed page job shows nothing";
}

TEST_F(ReaderPrintingTest, OnlyListedPagesOfAFixedLayoutBookGetAButton)
{
    openSampleBook({ pageBookPage(103, "1") });
    m_renderer->clearCalls();
    m_reader->myData().addPrintPageViewOnPageNumber("103", "1");
    EXPECT_TRUE(m_renderer->lastCall("addPrintPageView")) << "every page of a page book";
    m_reader->myData().setPrintEnabledPageArray(std::string("iv,1"));
    m_reader->myData().setPrintEnabledPageArray(std::nullopt);
    EXPECT_THAT(m_reader->myData().printEnabledPageArray(), ElementsAre("iv", "1"));
}

TEST_F(ReaderPrintingTest, MyDataPrintsTheChosenKindAsADocument)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    openSampleBook({ pageBookPage(103, "1") });
    ASSERT_TRUE(framework()
                    .store()
                    ->saveHighlight(record({ .localID = "h", .text = "drops of water" }), "42", 7)
                    .ok());
    ASSERT_TRUE(framework()
                    .store()
                    ->saveHighlight(record({ .localID = "n", .noteText = "ask about rain" }), "42", 7)
                    .ok());
    m_reader->didTapOnMyDataButton();
    base::RunLoop::main().advanceBy(1);
    auto panel = m_reader->myData().myDataViewController();
    ASSERT_TRUE(panel);
    panel->printButtonTapped();
    base::RunLoop::main().advanceBy(1);
    auto popup = m_reader->myData().printOptionsController();
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->hiddenPrintType, PrintTypeNone);
    EXPECT_EQ(panel->presentedViewController(), popup);
    popup->didTapOnPrintOption();
    base::RunLoop::main().advanceBy(2);
    ASSERT_EQ(jobs().size(), 1u);
    EXPECT_EQ(jobs().back().info.jobName, LocalizationHelper::localizedStringWithKey("BOTH_KEY"));
    // The framework's document is printed as it is: one page per record.
    ASSERT_EQ(printtest::pdfPageCount(jobs().back().outputPath), 2);
    EXPECT_THAT(printedPageText(jobs().back().outputPath, 1), HasSubstr("drops of water"));
    EXPECT_THAT(printedPageText(jobs().back().outputPath, 2), HasSubstr("ask about rain"));

    // Nothing of the kind: nothing printed, and the user is told.
    m_reader->myData().didTapOnPrintTypeWithPrintType(7);
    EXPECT_EQ(jobs().size(), 1u);
}

TEST_F(ReaderPrintingTest, NothingToPrintIsSaid)
{
    openSampleBook({ pageBookPage(103, "1") });
    m_reader->myData().didTapOnPrintTypeWithPrintType(PrintTypeNotes);
    base::RunLoop::main().advanceBy(1);
    EXPECT_TRUE(jobs().empty());
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message().value_or(""), LocalizationHelper::localizedStringWithKey("NO_DATA"));
}

} // namespace
} // namespace lectoro::shelltest
