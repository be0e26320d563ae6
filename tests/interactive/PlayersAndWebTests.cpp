// Markup players, the loading overlay and retry alerts, web and SCORM players and the
// instruction pop-over, against a reader stand-in, the fake renderer and fake service.

#include "interactive/AnswerTestSupport.h"

#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/readersdk/widgets/InfomationPopOverContentViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroScormWebPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroMarkupPlayers.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"
#include "companion/testing/FakeService.h"
#include "platform/base/Json.h"
#include "platform/base/Timer.h"
#include "platform/testing/ScriptedWebPage.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Label.h"
#include "platform/ui/TransitionCoordinator.h"

#include <fstream>

namespace lectoro {
namespace {

using testing::AnswersTest;

std::shared_ptr<ui::AlertController> playersAlert(const testing::AnswersReader& reader)
{
    return std::dynamic_pointer_cast<ui::AlertController>(reader.controller->presentedViewController());
}

TEST_F(AnswersTest, AudioPlayerViewIsCentredAndAMissingFileOpensNothing)
{
    auto& players = m_content->players();
    auto view = ui::View::create({ 0, 0, 300, 100 });
    EXPECT_EQ(players.getFrameForAudioPlayerView(*view), (ui::Rect { 362, 334, 300, 100 }));

    // The file is checked before a player is made, so none is left behind.
    players.AudioPlayerWithURL("assets/media/missing.mp3", true, false, false);
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(players.audioPlayer());
    EXPECT_EQ(m_reader.alerts, (std::vector<std::string> { "Error|Resource not found" }));
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

class RemoteAudioTest : public AnswersTest {
protected:
    // Opens a remote audio markup; the stand-in has no network, so its reading fails on
    // its own and the retry alert comes up.
    void openRemoteAudio()
    {
        auto& players = m_content->players();
        players.isExternalResource = true;
        players.AudioPlayerWithURL("https://example.org/rain.mp3", true, false, false);
        base::RunLoop::main().runUntilIdle();
        ASSERT_TRUE(players.audioPlayer());
        EXPECT_TRUE(players.activityIndicatorView());
        EXPECT_EQ(m_context.activeMode, ReaderActiveModeAudioPlayer);
        settle();
    }
    void settle()
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(1);
    }
    void dismissAlert(const std::string& action)
    {
        auto alert = playersAlert(m_reader);
        ASSERT_TRUE(alert);
        EXPECT_TRUE(alert->tapActionWithTitle(action));
        base::RunLoop::main().advanceBy(1);
    }
};

TEST_F(RemoteAudioTest, FailureShowsTheRetryAlertByItsCause)
{
    openRemoteAudio();
    auto& players = m_content->players();
    EXPECT_FALSE(players.activityIndicatorView());
    auto alert = playersAlert(m_reader);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "Error");
    EXPECT_EQ(alert->message(), "Loading failed");
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title(), "Retry");
    EXPECT_EQ(alert->actions()[1]->title(), "OK");
    dismissAlert("OK");

    struct Case {
        const char* name;
        int64_t code;
        bool online;
        std::optional<std::string> title;
    };
    const Case cases[] = {
        { "not connected while online", -1009, true, std::nullopt },
        { "not connected while offline", -1009, false, "Failed" },
        { "timed out", -1001, true, "Error" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_network->online = c.online;
        players.remoteAudioLoadingDidFailed(base::Error { "NSURLErrorDomain", c.code, {} });
        base::RunLoop::main().advanceBy(0.6);
        ASSERT_EQ(playersAlert(m_reader) != nullptr, c.title.has_value());
        if (c.title) {
            EXPECT_EQ(playersAlert(m_reader)->alertTitle(), c.title);
            dismissAlert("OK");
        }
        m_network->online = true;
    }
    // Without a player, a late failure shows nothing.
    players.audioPlayerFinishPlaying();
    players.remoteAudioLoadingDidFailed(base::Error { "NSURLErrorDomain", -1001, {} });
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_FALSE(playersAlert(m_reader));
}

TEST_F(RemoteAudioTest, RetryReloadsWithTheOverlayAndALoadedMediumStarts)
{
    openRemoteAudio();
    auto& players = m_content->players();
    m_network->online = false;
    dismissAlert("Retry");
    // Offline, the retry only says so.
    ASSERT_TRUE(playersAlert(m_reader));
    EXPECT_EQ(playersAlert(m_reader)->alertTitle(), "Failed");
    m_network->online = true;
    // The retry runs once the alert has gone; its own failure takes the overlay down half a
    // second after it is reported.
    ASSERT_TRUE(playersAlert(m_reader));
    EXPECT_TRUE(playersAlert(m_reader)->tapActionWithTitle("Retry"));
    base::RunLoop::main().advanceBy(ui::transitionDuration + 0.1);
    EXPECT_TRUE(players.activityIndicatorView());
    settle();
    EXPECT_FALSE(players.activityIndicatorView());
    dismissAlert("OK");

    // A remote medium that loads starts over the page, and the overlay goes.
    players.addPreLoaderViewWithMessage("Loading data...");
    players.remoteAudioDidLoad();
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_FALSE(players.activityIndicatorView());
    ASSERT_TRUE(players.audioPlayer());
    auto playerView = players.audioPlayer()->getPlayerView();
    EXPECT_EQ(playerView->superview(), m_reader.controller->view());
    EXPECT_FALSE(m_renderer->view()->isUserInteractionEnabled());
    players.audioPlayerFinishPlaying();
    EXPECT_FALSE(playerView->superview());
    EXPECT_TRUE(m_renderer->view()->isUserInteractionEnabled());
    EXPECT_EQ(m_context.backgroundActiveMode, ReaderActiveModeNone);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

TEST_F(AnswersTest, LoadingOverlayCoversTheReaderWithItsBox)
{
    auto& players = m_content->players();
    players.addPreLoaderViewWithMessage("Loading data...");
    auto overlay = players.activityIndicatorView();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(overlay->frame(), (ui::Rect { 0, 0, 1024, 768 }));
    EXPECT_EQ(overlay->backgroundColor(), ui::Color::black().withAlpha(0.65));
    ASSERT_EQ(overlay->subviews().size(), 1u);
    auto box = overlay->subviews().front();
    EXPECT_EQ(box->frame(), (ui::Rect { 372, 334, 280, 100 }));
    ASSERT_EQ(box->subviews().size(), 2u);
    auto label = std::dynamic_pointer_cast<ui::Label>(box->subviews()[1]);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Loading data...");
    players.removePreLoaderView();
    EXPECT_FALSE(overlay->superview());
}

TEST_F(AnswersTest, RemoteImageFailuresAlertOnlyWhenOfflineOrTimedOut)
{
    auto& players = m_content->players();
    players.isExternalResource = true;
    LectoroImageController::setRemoteImageLoader([](const std::string&) -> base::Result<void> { return {}; });
    players.ImageControllerWithImagePath("https://example.org/a.jpg", "captions:1=A", 4, false);
    LectoroImageController::setRemoteImageLoader({});
    ASSERT_TRUE(players.imageController());
    EXPECT_EQ(players.imageController()->captions(), (std::vector<std::string> { "A" }));
    for (int64_t code : { -1004, -1009 }) {
        players.didFailedLoadingImage(base::Error { "NSURLErrorDomain", code, {} });
        base::RunLoop::main().advanceBy(0.4);
        EXPECT_FALSE(playersAlert(m_reader)) << code;
    }
    players.didFailedLoadingImage(base::Error { "NSURLErrorDomain", -1001, {} });
    base::RunLoop::main().advanceBy(0.4);
    ASSERT_TRUE(playersAlert(m_reader));
    EXPECT_EQ(playersAlert(m_reader)->message(), "Loading failed");
}

TEST_F(AnswersTest, YoutubeReplacesAnOpenPlayerAndInlineOnesStopWithTheirMode)
{
    auto& players = m_content->players();
    auto link = addLink(61, 18);
    link->url = "https://example.org/watch?v=1";
    players.loadYoutubeMarkup(link);
    auto first = players.youtubePlayer();
    ASSERT_TRUE(first);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeLinkAction);
    players.loadYoutubeMarkup(link);
    EXPECT_TRUE(first->isClosed());
    EXPECT_NE(players.youtubePlayer(), first);
    players.youtubePlayer()->tapClose();
    EXPECT_FALSE(players.youtubePlayer());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);

    link->isInLine = true;
    players.loadYoutubeMarkup(link);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeVideo);
    EXPECT_EQ(m_renderer->countOf("addInLineVideo"), 1u);
    m_context.activeMode = ReaderActiveModeNone;
    players.stopInlineVideo();
    EXPECT_TRUE(players.youtubePlayer());
    m_context.activeMode = ReaderActiveModeVideo;
    players.stopInlineVideo();
    EXPECT_FALSE(players.youtubePlayer());
}

TEST_F(AnswersTest, ReturningFromFullScreenReloadsPagesOnAPhoneOnly)
{
    std::string path = (m_storage / "river.mp4").string();
    std::ofstream(path) << "not really a video";
    auto link = addLink(62, 3);
    link->isInLine = true;
    for (bool pad : { false, true }) {
        ui::Environment::current().setIdiom(
            pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        m_renderer->clearCalls();
        m_content->players().videoPlayer(path, link);
        EXPECT_EQ(m_context.activeMode, ReaderActiveModeVideo);
        auto player = m_content->players().currentVideoPlayer();
        ASSERT_TRUE(player);
        player->tapFullScreen();
        EXPECT_EQ(player->parentViewController(), m_reader.controller);
        player->tapFullScreen();
        EXPECT_EQ(m_renderer->countOf("reloadPages"), pad ? 0u : 1u);
        EXPECT_EQ(m_renderer->countOf("addInLineVideo"), 2u);
        player->tapDone();
        EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    }
}

class KalturaTest : public AnswersTest {
protected:
    void openKaltura()
    {
        m_link = addLink(63, 17);
        m_link->url = "1_river01";
        m_content->players().addPreLoaderViewWithMessage("Loading data...");
        m_content->players().loadKalturaVideoPlayer(m_link);
    }
    std::shared_ptr<PXLinkVO> m_link;
};

TEST_F(KalturaTest, SessionAddressOpensTheVideoAnsweredOnAnyThread)
{
    service().enqueue(companion::ServiceAnswer::success(
        base::Value::Dictionary { { "responseMsg", "https://cdn.example.org/river.m3u8" } })
                          .onWorkerThread());
    service().setAutoAnswer(companion::ServiceAnswer::success());
    openKaltura();
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    auto request = service().lastRequest(companion::op::kalturaSession);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->userToken, "token-1");
    auto player = m_content->players().currentVideoPlayer();
    ASSERT_TRUE(player);
    EXPECT_EQ(player->videoPath(), "https://cdn.example.org/river.m3u8");
    EXPECT_FALSE(m_content->players().activityIndicatorView());
    ASSERT_FALSE(m_analytics->live.empty());
    EXPECT_EQ(m_analytics->live.front().info["markup_type"].asString(), "Kaltura Video");
}

TEST_F(KalturaTest, AnExpiredSessionIsRenewedOnceAndRepeatedOnce)
{
    m_settings->setIsAutoLoginEnabled(true);
    m_reader.canRefresh = true;
    service().setAutoAnswer(companion::ServiceAnswer::expiredToken());
    openKaltura();
    base::RunLoop::main().runUntilIdle();
    base::RunLoop::main().runUntilIdle();
    // One renewal, one repeat with the fresh token, then the second expiry ends the session.
    EXPECT_EQ(m_reader.refreshedTokens, (std::vector<std::string> { "token-1" }));
    EXPECT_EQ(service().operations(),
        (std::vector<std::string> { companion::op::kalturaSession, companion::op::kalturaSession }));
    EXPECT_EQ(service().lastRequest(companion::op::kalturaSession)->userToken, "token-2");
    EXPECT_EQ(m_reader.sessionExpired, 1);
    EXPECT_FALSE(m_content->players().activityIndicatorView());
    EXPECT_TRUE(m_reader.alerts.empty());
}

TEST_F(KalturaTest, OtherFailuresShowTheKalturaAlert)
{
    service().setAutoAnswer(companion::ServiceAnswer::failure(base::Error { "service", 500, {} }));
    openKaltura();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_reader.alerts, (std::vector<std::string> { "Error|The video player could not be started." }));
    EXPECT_FALSE(m_content->players().activityIndicatorView());
    EXPECT_FALSE(m_content->players().currentVideoPlayer());
}

// --- Web, SCORM and instruction ---

class WebMarkupTest : public AnswersTest {
protected:
    void SetUp() override
    {
        AnswersTest::SetUp();
        m_page = uitest::ScriptedWebPage::create();
        m_page->plugIntoEveryWebView();
        m_package = m_storage / "quiz";
        std::filesystem::create_directories(m_package);
        std::ofstream(m_package / "index.html") << "<html><body>quiz</body></html>";
    }
    void TearDown() override
    {
        uitest::ScriptedWebPage::unplug();
        AnswersTest::TearDown();
    }
    base::URL packageURL() const { return base::URL::fileURL((m_package / "index.html").string()); }

    std::shared_ptr<uitest::ScriptedWebPage> m_page;
    std::filesystem::path m_package;
};

TEST_F(WebMarkupTest, AScormPackageSavesEveryTenSecondsAndOnCloseBeforeItUploads)
{
    std::ofstream(m_package / "imsmanifest.xml") << "<manifest/>";
    int asked = 0;
    m_page->onScript(
        LectoroScormWebPlayer::activityDataScript, [&asked](const std::string&) -> base::Result<base::Value> {
            ++asked;
            return base::Value(base::Value::Dictionary {
                { "data", "step " + std::to_string(asked) }, { "activityName", "Quiz" } });
        });
    m_context.dataSyncManager = framework().makeDataSyncingManager("https://service", "client");
    m_context.classID = "class-9";
    auto link = addLink(71, 12);
    auto& web = m_content->webContent();
    web.webPlayer(packageURL(), link);
    auto scorm = std::dynamic_pointer_cast<LectoroScormWebPlayer>(web.currentWebPlayer());
    ASSERT_TRUE(scorm);
    EXPECT_EQ(scorm->url(), packageURL());
    EXPECT_EQ(scorm->scormID(), "71");
    ASSERT_EQ(m_analytics->live.size(), 2u);
    EXPECT_EQ(m_analytics->live[0].info["markup_type"].asString(), "HTML Activity");
    EXPECT_EQ(m_analytics->live[1].info["markup_type"].asString(), "Scorm");

    base::RunLoop::main().advanceBy(10.1);
    EXPECT_EQ(m_store->fetchScormDataWithBookID("77", 42, "71"), "step 1");
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(m_store->fetchScormDataWithBookID("77", 42, "71"), "step 2");
    EXPECT_EQ(service().requestCount(), 0u);

    scorm->closeButton()->sendActions(ui::ControlEvent::TouchUpInside);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_store->fetchScormDataWithBookID("77", 42, "71"), "step 3");
    auto upload = service().lastRequest(companion::op::scormSave);
    ASSERT_TRUE(upload);
    // The upload carries the data stored on close: the save came first.
    EXPECT_NE(base::toJson(upload->body).find("step 3"), std::string::npos) << base::toJson(upload->body);
    EXPECT_EQ(upload->body["classId"].asString(), "class-9");
    EXPECT_FALSE(web.isScormTimerRunning());
    EXPECT_FALSE(web.currentWebPlayer());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    // No save follows the close.
    base::RunLoop::main().advanceBy(30);
    EXPECT_EQ(asked, 3);

    // Opened again, the package starts from what was stored.
    web.webPlayer(packageURL(), link);
    scorm = std::dynamic_pointer_cast<LectoroScormWebPlayer>(web.currentWebPlayer());
    ASSERT_TRUE(scorm);
    EXPECT_EQ(scorm->initialScormData(), "step 3");
    web.webPLayerDidClosed();
    EXPECT_FALSE(web.isScormTimerRunning());
}

TEST_F(WebMarkupTest, WithoutAManifestThePlainPlayerOpensAndFailuresAlertUnless204)
{
    auto link = addLink(72, 15);
    auto& web = m_content->webContent();
    web.webPlayer(packageURL(), link);
    auto player = web.currentWebPlayer();
    ASSERT_TRUE(player);
    EXPECT_FALSE(std::dynamic_pointer_cast<LectoroScormWebPlayer>(player));
    EXPECT_FALSE(web.isScormTimerRunning());
    EXPECT_EQ(player->parentViewController(), m_reader.controller);
    EXPECT_EQ(m_analytics->live.front().info["markup_type"].asString(), "Lectoro Widget");

    m_context.activeMode = ReaderActiveModeLinkAction;
    web.webPlayerDidFailedWithError(base::Error { "WKErrorDomain", 204, {} });
    EXPECT_TRUE(m_reader.alerts.empty());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeLinkAction);
    web.webPlayerDidFailedWithError(base::Error { "WKErrorDomain", 7, {} });
    EXPECT_EQ(m_reader.alerts, (std::vector<std::string> { "Error|error 7" }));
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

TEST_F(WebMarkupTest, APageOpeningAWindowGetsAnInternalPlayerInsideTheWebView)
{
    auto& web = m_content->webContent();
    web.webPlayer(packageURL(), addLink(73, 8));
    auto outer = web.currentWebPlayer()->webView();
    auto window = outer->openWindow(web::URLRequest(base::URL::fileURL((m_package / "index.html").string())));
    ASSERT_TRUE(window);
    auto inner = web.internalWebPlayer();
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->webView(), window);
    EXPECT_EQ(inner->view()->superview().get(), outer.get());
    EXPECT_EQ(inner->closeButton()->currentTitle(), "Back");
    web.webPLayerDidClosed();
    EXPECT_FALSE(web.internalWebPlayer());
    EXPECT_FALSE(inner->view()->superview());
}

TEST_F(WebMarkupTest, InstructionPopOverShowsTheTextAfterTheFirstColon)
{
    auto link = addLink(74, 23);
    link->properties = "title:Tip;instruction:Compare: a snowflake and a raindrop.";
    auto& web = m_content->webContent();
    web.loadInstructionMarkup(link);
    auto popover = web.instructionPopOver();
    ASSERT_TRUE(popover);
    EXPECT_EQ(popover->instructionText(), "Compare: a snowflake and a raindrop.");
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeInstructionPopup);
    EXPECT_EQ(m_renderer->countOf("addInstructionPopup"), 1u);

    // Another pop-up's mode survives closing an instruction that is not open.
    web.removeInstructionMarkupPopOver();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
    m_context.activeMode = ReaderActiveModeGlossary;
    web.removeInstructionMarkupPopOver();
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeGlossary);

    link->properties = "title:Tip";
    m_context.activeMode = ReaderActiveModeNone;
    web.loadInstructionMarkup(link);
    EXPECT_FALSE(web.instructionPopOver());
    EXPECT_EQ(m_reader.alerts, (std::vector<std::string> { "Error|No instructions available." }));
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeNone);
}

} // namespace
} // namespace lectoro
