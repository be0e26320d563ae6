// Read-aloud in the assembled reader, shown in the window as a host shows it: the companion
// framework over a copy of the sample page book whose pages 103 to 105 are narrated, the
// launcher, a signed-in user. Page 104's narration is the book's audio file, played by the
// media player; 103 and 105 have timings and text but no audio, and are spoken by the
// synthesiser. Page 104 also carries a plain audio link (1042), played in the floating
// audio player over the page.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Bundle.h"
#include "platform/base/Dispatch.h"
#include "platform/media/Player.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

#include <fstream>
#include <sstream>

namespace lectoro {
namespace {

class ReadAloudOnlineSource : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return ReachabilityFlags::Reachable; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
};

// Gives a self-closing link element of the book's XML a narration of two sentences.
void readAloudNarrate(std::string& xml, const std::string& linkOpening, const std::string& first)
{
    auto at = xml.find(linkOpening);
    ASSERT_NE(at, std::string::npos) << linkOpening;
    auto end = xml.find("/>", at);
    xml.replace(end, 2,
        "><audioSync><word text=\"" + first + ".\" start=\"0.0\" end=\"0.4\"/>"
        "<word text=\"Then\" start=\"0.4\" end=\"0.6\"/><word text=\"rain.\" start=\"0.6\" end=\"1.0\"/>"
        "</audioSync></link>");
}

class ReadAloudEndToEnd : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        auto& network = LectoroNetworkManager::getInstance();
        m_previousNetwork = network.internetReachability();
        network.setInternetReachability(Reachability::reachabilityWithSource(std::make_shared<ReadAloudOnlineSource>()));
        m_book = m_storage / "narrated-book";
        std::filesystem::copy(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", m_book,
            std::filesystem::copy_options::recursive);
        const auto xmlPath = m_book / "assets/xml-bin/eBook.xml";
        std::stringstream text;
        text << std::ifstream(xmlPath).rdbuf();
        std::string xml = text.str();
        readAloudNarrate(xml, "<link id=\"1031\"", "Water rises");
        readAloudNarrate(xml, "<link id=\"1051\"", "Drops fall");
        const std::string afterRainLink = "</link>\n      </page>\n      <page id=\"105\"";
        auto at = xml.find(afterRainLink);
        ASSERT_NE(at, std::string::npos);
        xml.insert(at + 7,
            "\n        <link id=\"1042\" type=\"2\" x=\"300\" y=\"400\" width=\"40\" height=\"40\" "
            "url=\"assets/media/rain.mp3\" tooltip=\"The rain again\" resourceType=\"Audio\"/>");
        std::ofstream(xmlPath, std::ios::trunc) << xml;
        m_previousMainBundle = base::Bundle::main().rootPath();
        // The help screen has been seen, so the book's opening offers the chooser at once.
        defaults().setBool(ReaderHelp::pdfFlagKey, false);
    }
    // Opens the book in the window on the device the test has set, at the page shown as
    // `folio` ("2" is page 104); the chooser it offers by itself is closed unless kept.
    void open(std::optional<std::string> folio = std::nullopt, bool keepOfferedChooser = false)
    {
        setCompanionFramework(companion::makeFramework(companion::FrameworkOptions { (m_storage / "store").string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        m_launcher->setLastPageFolio(std::move(folio));
        uitest::showInWindow(m_launcher);
        m_launcher->launchBook(std::make_shared<LectoroBookPackage>(m_book.string(), "1001", "978-0"),
            makeUser("6000000001"),
            std::make_shared<LectoroServiceConfiguration>(
                "https://service", "client", std::string("https://micro")));
        base::RunLoop::main().advanceBy(1);
        m_reader = m_launcher->reader();
        ASSERT_TRUE(m_reader);
        m_renderer = std::dynamic_pointer_cast<companion::BookRenderer>(m_reader->rendererView());
        ASSERT_TRUE(m_renderer && m_renderer->isBookLoaded());
        // A narrated book offers the chooser by itself on opening.
        uitest::completePresentations();
        auto chooser = m_reader->readAloud().readToMeViewController();
        ASSERT_TRUE(chooser);
        EXPECT_TRUE(m_reader->context().readAloudPopupShown);
        if (keepOfferedChooser)
            return;
        ASSERT_TRUE(uitest::tap(*chooser->closeReadToMeViewButton()));
        uitest::completePresentations();
        ASSERT_FALSE(m_reader->readAloud().readToMeViewController());
    }
    // A host theme of its own, laid over the library's default.
    void useHostTheme(const std::string& json)
    {
        std::filesystem::create_directories(m_storage / "host");
        std::ofstream(m_storage / "host" / "ReaderTheme.json") << json;
        base::Bundle::setMainBundlePath((m_storage / "host").string());
    }
    void TearDown() override
    {
        if (m_reader) {
            m_reader->didTapOnBackButton();
            base::RunLoop::main().advanceBy(1);
        }
        base::waitForBackgroundWork();
        ui::setKeyWindowRootViewController(nullptr);
        m_reader.reset();
        m_renderer.reset();
        m_launcher.reset();
        LectoroNetworkManager::getInstance().setInternetReachability(m_previousNetwork);
        base::Bundle::setMainBundlePath(m_previousMainBundle);
        ReaderTest::TearDown();
    }
    void goTo(int64_t page)
    {
        m_renderer->navigateToPageNumber(std::to_string(page));
        base::RunLoop::main().advanceBy(1);
    }
    std::string reading() const
    {
        auto sync = m_reader->readAloud().audioSyncController();
        return sync && sync->isPlaying() ? sync->audioPlayingForPageIdentifier() : "";
    }
    // Advances in small steps until the page is being read (or the time is up), letting
    // the synthesiser's voice be made between the steps.
    bool waitForReading(const std::string& page, double seconds)
    {
        for (double t = 0; t < seconds; t += 0.05) {
            if (reading() == page)
                return true;
            base::waitForBackgroundWork();
            base::RunLoop::main().advanceBy(0.05);
        }
        return reading() == page;
    }
    std::optional<NarrationPlayback::Kind> heard() const
    {
        auto sync = m_reader->readAloud().audioSyncController();
        return sync ? sync->narrationKind() : std::nullopt;
    }
    // Where a finger opens a link on the page: the enlarged tap area over its icon.
    std::shared_ptr<MarkupHitAreaLabel> linkArea(int64_t page, int64_t linkID) const
    {
        for (const auto& view : m_renderer->overlayForPage(page).markupViews) {
            auto area = std::dynamic_pointer_cast<MarkupHitAreaLabel>(view);
            if (area && area->linkID == linkID && area->superview())
                return area;
        }
        return nullptr;
    }
    std::shared_ptr<ui::View> floatingAudioPlayer() const
    {
        return m_reader->interactiveContent().players().playerView();
    }
    // In the key window and shown (itself and every ancestor).
    static bool onScreen(const ui::View& view)
    {
        auto window = ui::Environment::current().keyWindow();
        for (const ui::View* current = &view; current; current = current->superview().get()) {
            if (current->isHidden())
                return false;
        }
        return window && view.isDescendantOf(window.get());
    }
    static ui::Rect frameOnScreen(const ui::View& view)
    {
        return view.convertRectTo(view.bounds(), ui::Environment::current().keyWindow().get());
    }

    std::shared_ptr<Reachability> m_previousNetwork;
    std::filesystem::path m_book;
    std::string m_previousMainBundle;
    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::BookRenderer> m_renderer;
};

TEST_F(ReadAloudEndToEnd, AutoplayTurnsThePagesByItselfAndAManualTurnStopsIt)
{
    open();
    goTo(103);
    ASSERT_EQ(m_reader->annotations().getActivePageIDs(), (std::vector<std::string> { "103" }));
    m_reader->readAloud().didTapOnAutoPlayForReadAloud();
    ASSERT_TRUE(waitForReading("103", 0.5));
    EXPECT_EQ(heard(), NarrationPlayback::Kind::Speech) << "page 103 has no audio file";
    for (int step = 0; step < 40 && !m_renderer->overlayForPage(103).wordFrame; ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.05);
    }
    EXPECT_TRUE(m_renderer->overlayForPage(103).wordFrame) << "the spoken word is marked on the page";
    EXPECT_EQ(m_renderer->overlayForPage(103).wordFrameColor, "#E8BD7F");

    // The end of page 103 turns to 104, whose narration starts by itself.
    ASSERT_TRUE(waitForReading("104", 6));
    EXPECT_EQ(m_reader->annotations().getActivePageIDs(), (std::vector<std::string> { "104" }));
    EXPECT_EQ(heard(), NarrationPlayback::Kind::Audio);
    auto player = m_reader->readAloud().audioSyncController()->audioPlayer();
    ASSERT_TRUE(player);
    EXPECT_DOUBLE_EQ(player->defaultRate(), 1.0);
    ASSERT_TRUE(waitForReading("105", 4));
    EXPECT_GT(player->currentTime(), 1.0) << "page 104 was played to the end of its audio";

    // Turning by hand to a page without narration stops reading and says so.
    goTo(106);
    base::RunLoop::main().advanceBy(1.5);
    EXPECT_EQ(reading(), "");
    EXPECT_FALSE(m_reader->readAloud().audioSyncController());
    EXPECT_FALSE(m_reader->readAloud().playerBottomActionBarViewForAudioSync());
    EXPECT_TRUE(uitest::topmostAlert());
}

TEST_F(ReadAloudEndToEnd, AfterAPageLoadsTheFloatingAudioPlayerIsCentredInTheReaderAgain)
{
    auto& environment = ui::Environment::current();
    environment.setIdiom(ui::UserInterfaceIdiom::Pad);
    environment.setScreenSize({ 768, 1024 });
    environment.makeKeyWindow();
    open("2");
    auto rain = linkArea(104, 1042);
    ASSERT_TRUE(rain);
    ASSERT_TRUE(uitest::tap(*rain));
    base::RunLoop::main().advanceBy(0.1);
    auto player = floatingAudioPlayer();
    ASSERT_TRUE(player && onScreen(*player));
    const ui::Size size = player->frame().size;
    ASSERT_GT(size.width, 0);
    auto centredInReader = [&] {
        const ui::Rect frame = frameOnScreen(*player);
        const ui::Rect reader = frameOnScreen(*m_reader->view());
        return frame.center() == reader.center() && frame.size == size;
    };
    EXPECT_TRUE(centredInReader());

    // The tablet is turned sideways: the renderer shows the spread, and its left page loads.
    // (The launcher holds the reader by constraints, which nothing solves here, so the
    // reader's own transition is driven.)
    environment.rotateTo(ui::Orientation::LandscapeLeft);
    uitest::transitionToSize(m_reader, environment.screenSize());
    base::RunLoop::main().advanceBy(1);
    ASSERT_EQ(m_reader->view()->bounds().size, ui::Size(1024, 768));
    ASSERT_EQ(m_reader->annotations().getActivePageIDs(), (std::vector<std::string> { "103", "104" }));
    EXPECT_TRUE(onScreen(*player));
    EXPECT_TRUE(centredInReader()) << "the player sits in the middle of the reader held sideways";
}

TEST_F(ReadAloudEndToEnd, TheEndOfANarrationTakesTheFloatingAudioPlayerOffTheScreen)
{
    open("2");
    // The narrated link first, then the plain audio link beside it while the words are read.
    auto narrated = linkArea(104, 1041);
    auto rain = linkArea(104, 1042);
    ASSERT_TRUE(narrated && rain);
    ASSERT_TRUE(uitest::tap(*narrated));
    ASSERT_TRUE(waitForReading("104", 0.5));
    ASSERT_TRUE(uitest::tap(*rain));
    base::RunLoop::main().advanceBy(0.1);
    auto player = floatingAudioPlayer();
    ASSERT_TRUE(player && onScreen(*player));

    for (int step = 0; step < 200 && m_reader->readAloud().audioSyncController(); ++step) {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(0.05);
    }
    EXPECT_FALSE(m_reader->readAloud().audioSyncController()) << "the narration has ended";
    EXPECT_FALSE(onScreen(*player));
    EXPECT_TRUE(m_renderer->view()->isUserInteractionEnabled()) << "the page takes touches again";
}

TEST_F(ReadAloudEndToEnd, OnAPhoneThePickedColourClosesThePopOverAndClearsTheColourItem)
{
    // The host's theme has three pen colours; the pop-over still offers read-aloud's five.
    useHostTheme(R"({"Reader": {"DayMode": {"Pentool": {"pen-color": ["#000000", "#E53935", "#1E88E5"]}}}})");
    open("2", true);
    ASSERT_TRUE(m_reader->context().theme && m_reader->context().theme->pen_Color_Array());
    ASSERT_EQ(m_reader->context().theme->pen_Color_Array()->size(), 3u);
    ASSERT_TRUE(uitest::tap(*m_reader->readAloud().readToMeViewController()->readToMeButton()));
    uitest::completePresentations();
    ASSERT_TRUE(waitForReading("104", 1));
    auto bar = m_reader->readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar && onScreen(*bar));
    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemPlayPause)));
    ASSERT_FALSE(m_reader->readAloud().isAudioSyncPlaying());

    auto colourItem = bar->itemWithTag(PlayerItemAudioSyncColorPalette);
    ASSERT_TRUE(colourItem && onScreen(*colourItem));
    const auto iconColor = m_reader->context().theme->top_toolbar_icons_color();
    ASSERT_TRUE(uitest::tap(*colourItem));
    EXPECT_EQ(colourItem->backgroundColor(), iconColor) << "the item is marked while its pop-over is open";
    auto palette = m_reader->readAloud().penColorPallete();
    ASSERT_TRUE(palette && onScreen(*palette->view()));
    const ui::Rect popOver = frameOnScreen(*palette->view());
    EXPECT_GE(popOver.width(), 5 * 58.4);
    const auto swatches = palette->penItemsBar()->items();
    ASSERT_EQ(swatches.size(), 5u);
    for (const auto& swatch : swatches) {
        const ui::Rect frame = frameOnScreen(*swatch);
        EXPECT_GT(frame.width(), 0);
        EXPECT_TRUE(popOver.contains(frame)) << "every swatch inside the pop-over";
    }

    ASSERT_TRUE(uitest::tap(*swatches[2]));
    EXPECT_EQ(m_reader->context().audioSyncSelectedColor, "#DFAFFF");
    EXPECT_FALSE(m_reader->readAloud().penColorPallete());
    EXPECT_FALSE(onScreen(*palette->view()));
    EXPECT_EQ(colourItem->backgroundColor(), ui::Color::clear()) << "the colour item is no longer marked";
    for (const auto& subview : colourItem->subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview)) {
            EXPECT_EQ(label->textColor(), iconColor);
        }
    }

    // Narration goes on in the picked colour.
    ASSERT_TRUE(uitest::tap(*bar->itemWithTag(PlayerItemPlayPause)));
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(m_renderer->overlayForPage(104).wordFrameColor, "#DFAFFF");
}

} // namespace
} // namespace lectoro
