// The reading aids through the launcher, on a phone and a tablet held upright and turned:
// words selected on the sample page book are translated (the sheet, its language list, a
// new target language, closed with a tap beside it) and opened in the immersive reader
// (its page played, closed from the page).

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/readingaids/ImmersiveReaderViewController.h"
#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"
#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"
#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"
#include "platform/testing/ScriptedWebPage.h"
#include "platform/ui/Button.h"
#include "platform/ui/StackView.h"
#include "platform/ui/TableView.h"

namespace lectoro::journeys {
namespace {

class ReadingAidJourney : public Journey, public ::testing::WithParamInterface<HeldDevice> {
protected:
    void SetUp() override
    {
        Journey::SetUp();
        LectoroNetworkManager::getInstance().setInternetReachability(Reachability::reachabilityWithSource(
            std::make_shared<testing::JourneyNetwork>(std::make_shared<bool>(true))));
        // The host offers both aids on the highlight pop-up, before the reader first appears.
        m_afterLaunch = [this] {
            if (auto reader = m_launcher->reader()) {
                reader->setIsGoogleTranslateEnabled(true);
                reader->setIsImmeresiveReaderEnabled(true);
                reader->setImmersiveReaderBaseURLString("https://immersive");
                reader->setGoogleAPIKey("key-1");
            }
            uitest::showInWindow(m_launcher);
        };
    }
    bool showsLauncherAtSetUp() const override { return false; }
    void TearDown() override
    {
        uitest::ScriptedWebPage::unplug();
        Journey::TearDown();
        LectoroNetworkManager::getInstance().setInternetReachability(nullptr);
    }

    // The page book on the page with the words, on the device held as the test says.
    std::shared_ptr<ReaderViewController> openHeld()
    {
        auto reader = open(SampleBook::PageBook, GetParam().idiom);
        if (!reader)
            return nullptr;
        turnDevice(m_launcher, GetParam().orientation);
        rendererOf(*reader)->navigateToPageNumber("103");
        settle();
        return reader;
    }

    // The words selected as a long press would, and the pop-up's tool of that kind.
    std::shared_ptr<ui::Button> selectAndFindTool(ReaderViewController& reader, HighlightItemType kind)
    {
        auto renderer = rendererOf(reader);
        bool selected = false;
        for (const auto& page : renderer->getActivePages())
            selected = selected || renderer->selectText(page.pageID, "drops of water");
        settle();
        auto popup = reader.highlightRoad().highlightView();
        if (!selected || !popup || !popup->window())
            return nullptr;
        picture("selected");
        const auto tools = popup->horizontalStackForHighLightTools();
        for (const auto& item : tools ? tools->arrangedSubviews() : std::vector<std::shared_ptr<ui::View>> {}) {
            auto tool = std::dynamic_pointer_cast<HighLightToolView>(item);
            if (tool && tool->tag() == static_cast<int>(kind) && tool->subviews().size() > 1)
                return std::dynamic_pointer_cast<ui::Button>(tool->subviews().at(1));
        }
        return nullptr;
    }
};

TEST_P(ReadingAidJourney, SelectedWordsAreTranslatedIntoAPickedLanguage)
{
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    auto translate = selectAndFindTool(*reader, HighlightItemType::Translation);
    ASSERT_TRUE(translate) << "the pop-up offers translation";
    ASSERT_TRUE(tapAndSettle(*translate));
    auto sheet = presentedScreen<MVTranslationController>(*reader);
    ASSERT_TRUE(sheet);
    ASSERT_EQ(sheet->textViews().size(), 2u);
    EXPECT_EQ(sheet->textViews()[0]->text(), "drops of water");
    EXPECT_EQ(sheet->languageData()->from->code, "en");
    picture("translation");
    // The speakers show on the white card whatever the host's theme holds.
    for (const auto& speaker : sheet->speakerButtons())
        EXPECT_EQ(speaker->titleColorForState(ui::ControlState::Normal), ui::Color::black());

    // The target's language button opens the list; French translates the target box.
    ASSERT_TRUE(tapAndSettle(*sheet->languageButtons()[1]));
    auto list = std::dynamic_pointer_cast<MVDropdownController>(sheet->presentedViewController());
    ASSERT_TRUE(list && list->viewIfLoaded() && list->viewIfLoaded()->window());
    picture("languages");
    ASSERT_TRUE(uitest::tapRow(*list->tableView(), ui::IndexPath(0, 1)));
    settle();
    EXPECT_EQ(sheet->textViews()[1]->text(), "drops of eau");
    picture("translated");

    // A tap beside the sheet closes it; a sheet that fills the screen closes with its back button.
    if (sheet->isFullScreen()) {
        auto back = viewNamed(*sheet->navBar(), "backButton");
        ASSERT_TRUE(back);
        ASSERT_TRUE(tapAndSettle(*back));
    } else {
        auto beside = viewNamed(*sheet->view(), "backgroundDismissButton");
        ASSERT_TRUE(beside);
        ASSERT_TRUE(tapAndSettle(*beside, ui::Point { 8, 8 }));
    }
    EXPECT_FALSE(reader->readingAids().isTranslationOpen());
    picture("closed");
    expectReading(*reader);
}

TEST_P(ReadingAidJourney, SelectedWordsOpenInTheImmersiveReaderUntilItsPageExits)
{
    auto page = uitest::ScriptedWebPage::create();
    page->answerScript("launchImmersiveReader(", base::Value());
    page->plugIntoEveryWebView();
    auto reader = openHeld();
    ASSERT_TRUE(reader);
    auto immersive = selectAndFindTool(*reader, HighlightItemType::ImmersiveReader);
    ASSERT_TRUE(immersive) << "the pop-up offers the immersive reader";
    ASSERT_TRUE(tapAndSettle(*immersive));
    auto screen = presentedScreen<ImmersiveReaderViewController>(*reader);
    ASSERT_TRUE(screen);
    ASSERT_EQ(page->evaluatedScripts().size(), 1u);
    EXPECT_NE(page->evaluatedScripts()[0].find("drops of water"), std::string::npos);
    picture("immersive-reader");

    page->post("onExit", base::Value());
    settle();
    EXPECT_FALSE(reader->presentedViewController());
    picture("closed");
    expectReading(*reader);
}

INSTANTIATE_TEST_SUITE_P(Devices, ReadingAidJourney, everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
