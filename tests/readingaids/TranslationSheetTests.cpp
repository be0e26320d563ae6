// The translation sheet over the in-process translation service (its phrase table):
// detection, translation, speech, failures, layout and dragging.

#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/MVGoogleTextToSpeechServiceManager.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"
#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"
#include "LectoroSDKWithReader/readingaids/TextLanguage.h"
#include "platform/ui/TextMetrics.h"

#include "ReadingAidsTestSupport.h"

#include <cmath>

namespace lectoro {
namespace {

class TranslationSheetTests : public testing::ReadingAidsTest {
protected:
    void SetUp() override
    {
        ReadingAidsTest::SetUp();
        m_ui.environment().setIdiom(ui::UserInterfaceIdiom::Phone);
        m_ui.environment().setScreenSize({ 390, 844 });
        m_ui.window()->setSafeAreaInsets(ui::EdgeInsets { 47, 0, 34, 0 });
    }
    void TearDown() override
    {
        MVGoogleTextToSpeechServiceManager::shared().stopPlayer();
        ReadingAidsTest::TearDown();
    }
    std::shared_ptr<MVTranslationController> open(const std::string& text)
    {
        m_root = ui::ViewController::create();
        uitest::showInWindow(m_root);
        auto sheet = MVTranslationController::create(text, nullptr);
        sheet->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
        m_root->presentViewController(sheet, true);
        settle();
        return sheet;
    }
    // Opens the pick-list of a side and picks the row of a language code.
    void pick(MVTranslationController& sheet, int side, const std::string& code)
    {
        uitest::tap(*sheet.languageButtons()[side]);
        settle();
        auto list = std::dynamic_pointer_cast<MVDropdownController>(sheet.presentedViewController());
        ASSERT_TRUE(list) << "no pick-list for " << code;
        auto languages = m_framework->translationManager()->supportedLanguages();
        for (size_t row = 0; row < languages.size(); ++row) {
            if (languages[row]->code == code) {
                uitest::tapRow(*list->tableView(), ui::IndexPath(0, static_cast<int>(row)));
                settle();
                return;
            }
        }
        FAIL() << "no language " << code;
    }
    std::shared_ptr<ui::ViewController> m_root;
};

TEST_F(TranslationSheetTests, DetectsThenTranslatesTheTargetBoxFromItsOwnLanguage)
{
    auto sheet = open("bonjour");
    ASSERT_TRUE(sheet->languageData());
    EXPECT_EQ(sheet->languageData()->from->code, "fr");
    EXPECT_EQ(sheet->languageData()->to->code, "fr");
    EXPECT_EQ(sheet->languageButtons()[0]->titleForState(ui::ControlState::Normal), "French");
    EXPECT_EQ(sheet->languageButtons()[1]->titleForState(ui::ControlState::Normal), "French");
    EXPECT_TRUE(sheet->dropdownArrows()[0]->isHidden());
    EXPECT_FALSE(sheet->languageButtons()[0]->isUserInteractionEnabled());
    EXPECT_EQ(sheet->textViews()[1]->text(), "bonjour");

    pick(*sheet, 1, "de");
    EXPECT_EQ(sheet->textViews()[1]->text(), "hallo");
    EXPECT_EQ(sheet->languageData()->to->code, "de");
    EXPECT_EQ(sheet->languageButtons()[1]->titleForState(ui::ControlState::Normal), "German");

    pick(*sheet, 1, "es");
    EXPECT_EQ(sheet->textViews()[1]->text(), "hola");
    EXPECT_EQ(sheet->textViews()[1]->textAlignment(), base::TextAlignment::Left);

    pick(*sheet, 1, "ar");
    EXPECT_EQ(bestLanguageOfText(sheet->textViews()[1]->text()), "ar");
    EXPECT_EQ(sheet->textViews()[1]->textAlignment(), base::TextAlignment::Right);
    EXPECT_EQ(sheet->textViews()[0]->text(), "bonjour");

    // The language in force: a title change and no request.
    pick(*sheet, 1, "ar");
    EXPECT_EQ(bestLanguageOfText(sheet->textViews()[1]->text()), "ar");
    EXPECT_FALSE(uitest::topmostAlert());
}

TEST_F(TranslationSheetTests, SpeaksABoxAndStopsWhenDone)
{
    auto sheet = open("hello");
    auto speaker = sheet->speakerButtons()[1];
    EXPECT_TRUE(uitest::tap(*speaker));
    EXPECT_TRUE(speaker->isSelected());
    EXPECT_EQ(MVGoogleTextToSpeechServiceManager::shared().currentText(), "hello");
    settle(10);
    EXPECT_FALSE(speaker->isSelected());
    EXPECT_TRUE(MVGoogleTextToSpeechServiceManager::shared().isCompletePlaying());

    // A second tap while speaking stops, as does opening the pick-list. The loader covers
    // the sheet until speech starts, as a finger finds it.
    EXPECT_TRUE(uitest::tap(*speaker));
    settle(0);
    EXPECT_TRUE(MVGoogleTextToSpeechServiceManager::shared().isPlaying());
    EXPECT_TRUE(uitest::tap(*speaker));
    EXPECT_FALSE(speaker->isSelected());
    EXPECT_FALSE(MVGoogleTextToSpeechServiceManager::shared().isPlaying());
    EXPECT_TRUE(uitest::tap(*sheet->speakerButtons()[0]));
    settle(0);
    EXPECT_TRUE(uitest::tap(*sheet->languageButtons()[1]));
    EXPECT_FALSE(sheet->speakerButtons()[0]->isSelected());
    EXPECT_FALSE(MVGoogleTextToSpeechServiceManager::shared().isPlaying());
}

// Each box's speaker and language button are reached by a finger wherever the sheet lies:
// resting on a phone, full screen in landscape, the card on a tablet, on the smallest phone
// and right to left.
TEST_F(TranslationSheetTests, AFingerReachesEverySpeakerAndLanguageButton)
{
    struct Case {
        const char* what;
        ui::UserInterfaceIdiom idiom;
        ui::Size screen;
        ui::Orientation orientation;
        ui::LayoutDirection direction;
    };
    for (auto c : { Case { "phone", ui::UserInterfaceIdiom::Phone, { 390, 844 }, ui::Orientation::Portrait,
                        ui::LayoutDirection::LeftToRight },
             Case { "small phone", ui::UserInterfaceIdiom::Phone, { 320, 568 }, ui::Orientation::Portrait,
                 ui::LayoutDirection::LeftToRight },
             Case { "landscape phone", ui::UserInterfaceIdiom::Phone, { 844, 390 },
                 ui::Orientation::LandscapeLeft, ui::LayoutDirection::LeftToRight },
             Case { "tablet", ui::UserInterfaceIdiom::Pad, { 1024, 1366 }, ui::Orientation::Portrait,
                 ui::LayoutDirection::LeftToRight },
             Case { "right to left", ui::UserInterfaceIdiom::Phone, { 390, 844 }, ui::Orientation::Portrait,
                 ui::LayoutDirection::RightToLeft } }) {
        m_ui.environment().setIdiom(c.idiom);
        m_ui.environment().setScreenSize(c.screen);
        m_ui.environment().setDeviceOrientation(c.orientation);
        m_ui.environment().setLayoutDirection(c.direction);
        auto sheet = open("bonjour");
        for (size_t side = 0; side < 2; ++side) {
            auto speaker = sheet->speakerButtons()[side];
            EXPECT_TRUE(uitest::tap(*speaker)) << c.what << " side " << side;
            settle(0);
            EXPECT_TRUE(speaker->isSelected()) << c.what << " side " << side;
            EXPECT_TRUE(uitest::tap(*speaker)) << c.what << " side " << side;
            EXPECT_FALSE(MVGoogleTextToSpeechServiceManager::shared().isPlaying()) << c.what;

            // The source's language was detected: only the target's button takes a touch.
            EXPECT_EQ(bool(uitest::tap(*sheet->languageButtons()[side])), side == 1) << c.what;
            settle();
            auto list = std::dynamic_pointer_cast<MVDropdownController>(sheet->presentedViewController());
            EXPECT_EQ(bool(list), side == 1) << c.what;
            if (list) {
                list->dismissViewControllerAnimated(false);
                settle();
            }
        }
        sheet->dismissController();
        settle();
    }
}

// Offline before anything was fetched: English on both sides, and a language button
// says why instead of opening an empty list; the speaker is not left marked.
TEST_F(TranslationSheetTests, OfflineWithoutLanguagesOpensNoEmptyList)
{
    setOnline(false);
    auto sheet = open("bonjour");
    EXPECT_EQ(topAlertMessage(), LocalizationHelper::localizedString("INTERNET_UNAVAILABLE_MESSAGE"));
    uitest::tapAction("OK");
    settle();
    EXPECT_EQ(sheet->languageData()->to->code, "en");
    uitest::tap(*sheet->languageButtons()[1]);
    settle();
    EXPECT_FALSE(std::dynamic_pointer_cast<MVDropdownController>(sheet->presentedViewController()));
    EXPECT_EQ(topAlertMessage(), LocalizationHelper::localizedString("INTERNET_UNAVAILABLE_MESSAGE"));
    uitest::tapAction("OK");
    settle();
    uitest::tap(*sheet->speakerButtons()[0]);
    EXPECT_FALSE(sheet->speakerButtons()[0]->isSelected());
}

TEST_F(TranslationSheetTests, UndetectedTextKeepsEnglishAndTheSourcePickable)
{
    auto sheet = open("zzz qqq");
    EXPECT_EQ(topAlertMessage(), LocalizationHelper::localizedString("UNABLE_TO_DETECT_LANGUAGE"));
    EXPECT_EQ(sheet->languageData()->from->code, "en");
    EXPECT_FALSE(sheet->dropdownArrows()[0]->isHidden());
    EXPECT_TRUE(sheet->languageButtons()[0]->isUserInteractionEnabled());
}

TEST(TranslationSheetText, ErrorMessagesLoseTheirParenthesisedPart)
{
    struct Case {
        const char* description;
        const char* shown;
    };
    for (auto c : { Case { "Request failed (code 502) try again", "Request failed  try again" },
             Case { "No parentheses", "No parentheses" }, Case { "Open ( only", "Open ( only" },
             Case { "(all)", "" } })
        EXPECT_EQ(MVTranslationController::errorMessageForDisplay(c.description), c.shown) << c.description;
}

class TranslationSheetLayoutTests : public TranslationSheetTests {
protected:
    // What the layout should give for a text on this 390 x 844 phone.
    static double expectedBox(const std::string& text)
    {
        auto font = getCustomFontForWeight(14, ui::FontWeight::Regular);
        double bound = (0.71 * 844 - 138) * 0.5;
        double measured = std::ceil(ui::TextMetrics::boundingHeight(text, *font, 390 - 32 - 30));
        return std::min(bound, 40 + 20 + measured);
    }
    static double expectedRestingHeight(double box)
    {
        return std::min(0.71 * 844, 2 * box + 18 + 101) + 8 + 34;
    }
};

TEST_F(TranslationSheetLayoutTests, BoxesAndSheetFollowTheText)
{
    ASSERT_TRUE(getCustomFontForWeight(14, ui::FontWeight::Regular));
    for (std::string text : { std::string("hello"), std::string(4000, 'x') + " end" }) {
        auto sheet = open(text);
        double box = expectedBox(text);
        EXPECT_NEAR(sheet->textContainerHeightConstraints()[0]->constant(), box, 1e-9);
        EXPECT_NEAR(sheet->textContainerHeightConstraints()[1]->constant(), box, 1e-9);
        EXPECT_NEAR(sheet->defaultHeight(), expectedRestingHeight(box), 1e-9);
        EXPECT_NEAR(sheet->containerHeightConstraint()->constant(), sheet->defaultHeight(), 1e-9);
        EXPECT_EQ(sheet->maximumContainerHeight(), 844 - 44);
        sheet->dismissController();
        settle();
    }
    // A long text: each box takes the bound, the sheet 0.71 of the screen less 11 (plus the inset).
    EXPECT_NEAR(expectedBox(std::string(4000, 'x')), (0.71 * 844 - 138) * 0.5, 1e-9);
    EXPECT_NEAR(expectedRestingHeight(expectedBox(std::string(4000, 'x'))), 0.71 * 844 - 11 + 34, 1e-9);
}

TEST_F(TranslationSheetLayoutTests, DragsCloseSnapBackOrGoFullScreen)
{
    struct Case {
        const char* what;
        double endHeight; // the height the drag ends at, relative to the resting one when negative
        bool dismissed;
        bool fullScreen;
    };
    for (auto c : { Case { "ends at 199", 199, true, false }, Case { "ends at 200", 200, false, false },
             Case { "dragged up 100", -100, false, true } }) {
        auto sheet = open("hello");
        double resting = sheet->defaultHeight();
        double dy = c.endHeight < 0 ? c.endHeight : resting - c.endHeight;
        auto pan = sheet->panGesture();
        ASSERT_TRUE(pan);
        ui::Point inside { 100, 600 };
        ASSERT_TRUE(pan->simulatePan(ui::GestureState::Began, inside, { 0, 0 })) << c.what;
        ASSERT_TRUE(pan->simulatePan(ui::GestureState::Changed, inside, { 0, dy })) << c.what;
        EXPECT_NEAR(sheet->containerHeightConstraint()->constant(), resting - dy, 1e-9) << c.what;
        ASSERT_TRUE(pan->simulatePan(ui::GestureState::Ended, inside, { 0, dy })) << c.what;
        settle();
        EXPECT_EQ(m_root->presentedViewController() == nullptr, c.dismissed) << c.what;
        if (c.dismissed)
            continue;
        EXPECT_EQ(sheet->isFullScreen(), c.fullScreen) << c.what;
        EXPECT_NEAR(
            sheet->currentContainerHeight(), c.fullScreen ? sheet->currentContainerHeight() : resting, 1e-9);
        EXPECT_EQ(sheet->view()->backgroundColor(), c.fullScreen ? ui::Color::white() : ui::Color::clear())
            << c.what;
        EXPECT_TRUE(pan->isEnabled());
        sheet->dismissController();
        settle();
    }
}

TEST_F(TranslationSheetLayoutTests, PadCardHasNoDragAndNoBar)
{
    m_ui.environment().setIdiom(ui::UserInterfaceIdiom::Pad);
    m_ui.environment().setScreenSize({ 1024, 1366 });
    auto sheet = open("hello");
    EXPECT_FALSE(sheet->panGesture());
    EXPECT_TRUE(sheet->navBar()->isHidden() || !sheet->navBar()->superview());
    EXPECT_FALSE(sheet->isFullScreen());
    ASSERT_TRUE(sheet->containerWidhtConstraint());
    EXPECT_EQ(sheet->containerWidhtConstraint()->constant(), 0.65 * 1024);
    EXPECT_TRUE(sheet->containerWidhtConstraint()->isActive());
}

TEST_F(TranslationSheetLayoutTests, LandscapeGoesFullScreenWithoutDrag)
{
    m_ui.environment().setDeviceOrientation(ui::Orientation::LandscapeLeft);
    m_ui.environment().setScreenSize({ 844, 390 });
    auto sheet = open("hello");
    EXPECT_TRUE(sheet->isFullScreen());
    EXPECT_FALSE(sheet->panGesture()->isEnabled());
}

} // namespace
} // namespace lectoro
