// Printing through the launcher. The host's print limit on a reflowable book: the top bar's
// print item is away in a chapter the host does not list, before and after the device turns
// (the turn builds the bars again), and prints in a listed chapter after a turn. The print
// button on a page book's page: the print-page screen over the reader while the dialog
// runs, on a phone and a tablet held upright and turned.

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"

#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/readersdk/PrintPageViewController.h"

#include "platform/print/PrintInteractionController.h"
#include "platform/testing/Interaction.h"

namespace lectoro::journeys {

namespace {

class PrintJourneyBase : public Journey {
protected:
    void SetUp() override
    {
        Journey::SetUp();
        auto& printer = print::PrintInteractionController::shared();
        printer.reset();
        printer.setOutputFolder((m_storage / "prints").string());
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_settings->setIsPrintEnabled(true);
    }
    void TearDown() override
    {
        print::PrintInteractionController::shared().reset();
        Journey::TearDown();
    }

    static size_t printJobs() { return print::PrintInteractionController::shared().jobs().size(); }
};

class PrintJourney : public PrintJourneyBase {
protected:
    void SetUp() override
    {
        PrintJourneyBase::SetUp();
        // The host names the one printable chapter before the book has loaded.
        m_afterLaunch = [this] {
            if (auto reader = m_launcher->reader())
                reader->setPrintEnabledPageArray(std::string("text/chapter-3.xhtml"));
        };
    }

    void turn(ui::Orientation orientation)
    {
        turnDevice(m_launcher, orientation);
        settle();
    }
};

TEST_F(PrintJourney, ThePrintLimitHoldsAfterATurnInAChapterTheHostDoesNotList)
{
    auto reader = open(SampleBook::ReflowableEpub, ui::UserInterfaceIdiom::Pad);
    ASSERT_TRUE(reader);
    ASSERT_EQ(pageOnScreen(*reader).substr(pageOnScreen(*reader).rfind('/') + 1), "0") << "the first chapter";

    struct Step {
        const char* name;
        ui::Orientation orientation;
    };
    for (const Step& step : { Step { "before-turn", ui::Orientation::Portrait },
             Step { "turned", ui::Orientation::LandscapeLeft }, Step { "turned-back", ui::Orientation::Portrait } }) {
        SCOPED_TRACE(step.name);
        if (ui::Environment::current().interfaceOrientation() != step.orientation)
            turn(step.orientation);
        auto item = testing::readerBarItem(*reader, PlayerItemPrint);
        ASSERT_TRUE(item);
        EXPECT_FALSE(item->isEnabled());
        EXPECT_EQ(item->alpha(), 0.0);
        picture(step.name);
        // A finger where the item lies meets nothing that prints.
        EXPECT_FALSE(uitest::tap(*item));
        settle();
        EXPECT_EQ(printJobs(), 0u);
        // The bars go away again before the next turn.
        EXPECT_TRUE(testing::tapPage(*reader));
        settle();
    }
}

TEST_F(PrintJourney, AListedChapterStillPrintsAfterATurn)
{
    auto reader = open(SampleBook::ReflowableEpub, ui::UserInterfaceIdiom::Pad);
    ASSERT_TRUE(reader);
    rendererOf(*reader)->navigateToPageNumber("text/chapter-3.xhtml");
    settle();
    turn(ui::Orientation::LandscapeLeft);
    auto item = testing::readerBarItem(*reader, PlayerItemPrint);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->alpha(), 1.0);
    picture("listed-turned");
    ASSERT_TRUE(testing::tapReaderBarItem(*reader, PlayerItemPrint));
    settle();
    ASSERT_EQ(printJobs(), 1u);
    EXPECT_EQ(print::PrintInteractionController::shared().jobs().back().outcome, print::PrintOutcome::Completed);
}

// MARK: - The print-page screen of a page book

class PrintPageJourney : public PrintJourneyBase, public ::testing::WithParamInterface<HeldDevice> { };

// The print button on the page dims the reader under the print dialog; printing writes the
// page, with the reader's watermark, and gives the page back.
TEST_P(PrintPageJourney, ThePagesPrintButtonPrintsThatPageUnderTheDimmedReader)
{
    auto reader = open(SampleBook::PageBook, GetParam().idiom);
    ASSERT_TRUE(reader);
    turnDevice(m_launcher, GetParam().orientation);
    settle();
    const auto page = rendererOf(*reader)->getActivePages().front().pageID;
    auto button = viewNamed(*reader->view(), "printPageButton" + std::to_string(page));
    ASSERT_TRUE(button) << "the page carries its print button";
    picture("page");

    // The job waits on the dialog until the run loop turns: the screen under it first.
    ASSERT_TRUE(uitest::tap(*button));
    base::RunLoop::main().runUntil([&] { return reader->myData().printPageVC() != nullptr; }, 1);
    auto screen = reader->myData().printPageVC();
    ASSERT_TRUE(screen && screen->viewIfLoaded() && screen->viewIfLoaded()->window());
    EXPECT_EQ(uitest::visibleRectInWindow(*screen->view()), uitest::visibleRectInWindow(*reader->view()))
        << "the print-page screen lies over the whole reader";
    picture("print-page");

    settle();
    ASSERT_EQ(printJobs(), 1u);
    const auto& job = print::PrintInteractionController::shared().jobs().back();
    EXPECT_EQ(job.outcome, print::PrintOutcome::Completed);
    EXPECT_EQ(job.pageCount, 1);
    ASSERT_FALSE(job.watermarks.empty());
    EXPECT_NE(job.watermarks.front().text.find("User id=" + m_userID), std::string::npos) << job.watermarks.front().text;
    EXPECT_FALSE(reader->myData().printPageVC()) << "the screen goes with the finished job";
    picture("printed");
    expectReading(*reader);
}

INSTANTIATE_TEST_SUITE_P(Devices, PrintPageJourney, everyHeldDevice(), heldDeviceName);

} // namespace

} // namespace lectoro::journeys
