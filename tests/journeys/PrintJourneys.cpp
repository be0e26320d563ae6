// The host's print limit on a reflowable book through the launcher: the top bar's print item
// is away in a chapter the host does not list, before and after the device turns (the turn
// builds the bars again), and prints in a listed chapter after a turn.

#include "journeys/JourneySupport.h"

#include "reader/ReaderTaps.h"

#include "platform/print/PrintInteractionController.h"
#include "platform/testing/Interaction.h"

namespace lectoro::journeys {

namespace {

class PrintJourney : public Journey {
protected:
    void SetUp() override
    {
        Journey::SetUp();
        auto& printer = print::PrintInteractionController::shared();
        printer.reset();
        printer.setOutputFolder((m_storage / "prints").string());
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_settings->setIsPrintEnabled(true);
        // The host names the one printable chapter before the book has loaded.
        m_afterLaunch = [this] {
            if (auto reader = m_launcher->reader())
                reader->setPrintEnabledPageArray(std::string("text/chapter-3.xhtml"));
        };
    }
    void TearDown() override
    {
        print::PrintInteractionController::shared().reset();
        Journey::TearDown();
    }

    void turn(ui::Orientation orientation)
    {
        auto& environment = ui::Environment::current();
        environment.rotateTo(orientation);
        uitest::transitionToSize(m_launcher, environment.screenSize());
        settle();
    }

    static size_t printJobs() { return print::PrintInteractionController::shared().jobs().size(); }
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

} // namespace

} // namespace lectoro::journeys
