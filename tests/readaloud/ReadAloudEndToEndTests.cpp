// Autoplay through the companion: a copy of the sample page book whose pages 103 to 105
// are narrated is read page after page, the renderer turning the pages by itself. Page
// 104's narration is the book's audio file, played by the media player; 103 and 105 have
// timings and text but no audio, and are spoken by the synthesiser.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/testing/Interaction.h"
#include "platform/base/Dispatch.h"
#include "platform/media/Player.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"

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
        const auto book = m_storage / "narrated-book";
        std::filesystem::copy(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", book,
            std::filesystem::copy_options::recursive);
        const auto xmlPath = book / "assets/xml-bin/eBook.xml";
        std::stringstream text;
        text << std::ifstream(xmlPath).rdbuf();
        std::string xml = text.str();
        readAloudNarrate(xml, "<link id=\"1031\"", "Water rises");
        readAloudNarrate(xml, "<link id=\"1051\"", "Drops fall");
        std::ofstream(xmlPath, std::ios::trunc) << xml;

        // The help screen has been seen, so the book's opening offers the chooser at once.
        defaults().setBool(ReaderHelp::pdfFlagKey, false);
        setCompanionFramework(companion::makeFramework(companion::FrameworkOptions { (m_storage / "store").string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
        m_launcher->launchBook(std::make_shared<LectoroBookPackage>(book.string(), "1001", "978-0"),
            makeUser("6000000001"),
            std::make_shared<LectoroServiceConfiguration>("https://service", "client", std::string("https://micro")));
        base::RunLoop::main().advanceBy(1);
        m_reader = m_launcher->reader();
        ASSERT_TRUE(m_reader);
        m_renderer = std::dynamic_pointer_cast<companion::BookRenderer>(m_reader->rendererView());
        ASSERT_TRUE(m_renderer && m_renderer->isBookLoaded());
        // A narrated book offers the chooser by itself on opening; the user closes it.
        auto chooser = m_reader->readAloud().readToMeViewController();
        ASSERT_TRUE(chooser);
        EXPECT_TRUE(m_reader->context().readAloudPopupShown);
        chooser->closeReadToMeViewButton()->sendActions(ui::ControlEvent::TouchUpInside);
        base::RunLoop::main().runUntilIdle();
        ASSERT_FALSE(m_reader->readAloud().readToMeViewController());
    }
    void TearDown() override
    {
        if (m_reader) {
            m_reader->didTapOnBackButton();
            base::RunLoop::main().advanceBy(1);
        }
        base::waitForBackgroundWork();
        m_reader.reset();
        m_launcher.reset();
        LectoroNetworkManager::getInstance().setInternetReachability(m_previousNetwork);
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

    std::shared_ptr<Reachability> m_previousNetwork;
    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::BookRenderer> m_renderer;
};

TEST_F(ReadAloudEndToEnd, AutoplayTurnsThePagesByItselfAndAManualTurnStopsIt)
{
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

} // namespace
} // namespace lectoro
