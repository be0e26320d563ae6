// Every markup kind of the sample page book, tapped through the views the companion
// renderer placed on its page, reaches the action its link type names.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/interactive/MultiLinkController.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "reader/CompanionEndToEndSupport.h"
#include "platform/ui/TableView.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroScormWebPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/testing/ScriptedWebPage.h"

namespace lectoro {
namespace {

class OnlineSource : public ReachabilitySource {
public:
    std::optional<uint32_t> flags() override { return ReachabilityFlags::Reachable; }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }
};

class MarkupEndToEndTests : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        auto& network = LectoroNetworkManager::getInstance();
        m_previousNetwork = network.internetReachability();
        network.setInternetReachability(Reachability::reachabilityWithSource(std::make_shared<OnlineSource>()));
        setCompanionFramework(companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        // A tablet: the sample pages' markups sit where a tablet's screen shows them.
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
        ui::Environment::current().setScreenSize({ 768, 1024 });
        uitest::showInWindow(m_launcher);
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", "1001", "978-0");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        m_launcher->launchBook(package, makeUser("6000000001"), configuration);
        base::RunLoop::main().advanceBy(1);
        m_reader = m_launcher->reader();
        ASSERT_TRUE(m_reader);
        m_renderer = std::dynamic_pointer_cast<companion::BookRenderer>(m_reader->rendererView());
        ASSERT_TRUE(m_renderer && m_renderer->isBookLoaded());
        testing::closeHelpIfShown(*m_reader);
        testing::closeOfferedReadAloud(*m_reader);
        m_reader->interactiveContent().setActionObserver([this](const MarkupAction& action) { m_actions.push_back(action); });
    }
    void TearDown() override
    {
        if (m_reader) {
            m_reader->didTapOnBackButton();
            base::RunLoop::main().advanceBy(1);
        }
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

    // The icons the renderer placed on the page for this link; a multi-link group's icon
    // has no link of its own (0), the n-th group on the page being `nth`.
    std::shared_ptr<MarkupView> placedIcon(int64_t page, int64_t linkID, size_t nth = 0)
    {
        for (const auto& view : m_renderer->overlayForPage(page).markupViews) {
            auto icon = std::dynamic_pointer_cast<MarkupView>(view);
            if (icon && icon->linkID == linkID && icon->superview() && nth-- == 0)
                return icon;
        }
        return nullptr;
    }

    // Between cases: what the last markup opened (an alert, a player, a list) is closed.
    void closeWhatIsOpen()
    {
        while (uitest::topmostAlert()) {
            uitest::tapActionAtIndex(0);
            uitest::completePresentations();
        }
        m_reader->interactiveContent().removePopOverForActiveMode();
        if (m_reader->presentedViewController())
            m_reader->dismissViewControllerAnimated(false);
        // A list of links shown over the page goes with a tap beside it.
        if (auto list = m_reader->interactiveContent().multiLinkController()) {
            if (auto view = list->viewIfLoaded())
                view->removeFromSuperview();
            list->removeFromParentViewController();
        }
        // Players shown as children of the reader are closed as their close buttons would.
        auto children = m_reader->childViewControllers();
        for (const auto& child : children) {
            if (child == m_reader->rendererView())
                continue;
            if (auto view = child->viewIfLoaded())
                view->removeFromSuperview();
            child->removeFromParentViewController();
        }
        uitest::completePresentations();
        base::RunLoop::main().runUntilIdle();
    }

    // A finger on a markup's icon lands on the enlarged tap area laid over it, when it has one.
    static ::testing::AssertionResult tapMarkup(MarkupView& icon)
    {
        uitest::settleLayout();
        ui::Point centre = icon.convertPointTo(icon.bounds().center(), nullptr);
        auto landing = uitest::landAtWindowPoint(centre);
        if (!landing)
            return ::testing::AssertionFailure() << landing.obstacle;
        if (landing.view.get() == &icon || landing.view->isDescendantOf(&icon)
            || !dynamic_cast<MarkupHitAreaLabel*>(landing.view.get()))
            return uitest::tap(icon);
        return uitest::tap(*landing.view, landing.view->convertPointFrom(centre, nullptr));
    }

    std::shared_ptr<Reachability> m_previousNetwork;
    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::BookRenderer> m_renderer;
    std::vector<MarkupAction> m_actions;
};

struct MarkupCase {
    int64_t page;
    int64_t linkID;
    int linkType;
    const char* operation; // empty: the tap reaches no action
    const char* argumentEnd;
};

// One link of each kind the sample book draws as an icon, in page order.
const MarkupCase markupCases[] = {
    { 101, 1011, 15, "webPlayer", "https://example.org/widget" },
    { 102, 1021, 6, "alertForNoMarkUp", "MARKUP_NOT_SUPPORTED" },
    { 103, 1031, 20, "loadGlossaryMarkUp", "evaporation" },
    { 103, 1032, 8, "webPlayer", "https://example.org/clouds" },
    { 104, 1041, 2, "startAudioSync", "assets/media/rain.mp3" },
    { 105, 1052, 13, "didTapOnDropDownLink", "</activity>" },
    { 106, 1061, 23, "loadInstructionMarkup", "snowflake and a raindrop." },
    { 106, 1062, 22, "ImageControllerWithImagePath", "assets/media/snowflake.jpg" },
    { 106, 1063, 14, "ImageControllerWithImagePath", "assets/media/hail-1.jpg" },
    { 107, 1071, 3, "videoPlayer", "assets/media/river.mp4" },
    { 107, 1072, 17, "addPreLoaderViewWithMessage", "" },
    { 107, 1073, 18, "loadYoutubeMarkup", "https://example.org/watch?v=river" },
    { 107, 1074, 24, "", "" },
    { 109, 1092, 9, "webPlayer", "assets/html/cycle/index.html" },
    { 109, 1093, 12, "webPlayer", "assets/html/sorting/index.html" },
    { 109, 1094, 25, "alertForNoMarkUp", "MARKUP_NOT_SUPPORTED" },
    { 110, 1101, 20, "loadGlossaryMarkUp", "salinity" },
    { 110, 1102, 11, "AudioPlayerWithURL", "assets/media/waves.mp3" },
    { 110, 1103, 19, "webPlayer", "https://example.org/survey/sea" },
    // Going to a page leaves the page, so it comes last.
    { 109, 1091, 7, "navigateToPageNumber", "104" },
};

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(MarkupEndToEndTests, EachMarkupKindReachesTheActionOfItsType)
{
    for (const auto& c : markupCases) {
        SCOPED_TRACE("link " + std::to_string(c.linkID) + " of type " + std::to_string(c.linkType));
        closeWhatIsOpen();
        goTo(c.page);
        auto icon = placedIcon(c.page, c.linkID);
        ASSERT_TRUE(icon);
        m_actions.clear();
        EXPECT_TRUE(tapMarkup(*icon));
        base::RunLoop::main().runUntilIdle();
        if (std::string(c.operation).empty()) {
            EXPECT_TRUE(m_actions.empty());
            continue;
        }
        ASSERT_FALSE(m_actions.empty());
        EXPECT_EQ(m_actions.front().operation, c.operation);
        EXPECT_EQ(m_actions.front().linkID, c.linkType == 6 || c.linkType == 25 ? 0 : c.linkID);
        EXPECT_TRUE(endsWith(m_actions.front().argument, c.argumentEnd)) << m_actions.front().argument;
    }
    // The page link took the reader to the page showing folio 2.
    ASSERT_FALSE(m_renderer->getActivePages().empty());
    EXPECT_EQ(m_renderer->getActivePages().front().pageID, 104);
}

TEST_F(MarkupEndToEndTests, AMultiLinkGroupOpensItsListAndARowReachesThatLinksAction)
{
    goTo(108);
    // Three links share one anchor; the fourth stands alone in a group of its own.
    auto group = placedIcon(108, 0, 0);
    ASSERT_TRUE(group);
    ASSERT_TRUE(placedIcon(108, 0, 1));
    EXPECT_FALSE(placedIcon(108, 0, 2));
    ASSERT_TRUE(tapMarkup(*group));
    ASSERT_EQ(m_actions.size(), 1u);
    EXPECT_EQ(m_actions[0].operation, "loadMultiLinkMarkup");
    EXPECT_EQ(m_actions[0].argument, "3");

    struct Row {
        int row;
        int64_t linkID;
        const char* operation;
    };
    // (The first member carries the group type itself, so a pick of it opens the list again.)
    const Row rows[] = {
        { 0, 1081, "loadMultiLinkMarkup" },
        { 1, 1082, "ImageControllerWithImagePath" },
        { 2, 1083, "alertForNoMarkUp" },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("row " + std::to_string(r.row));
        closeWhatIsOpen();
        m_actions.clear();
        ASSERT_TRUE(tapMarkup(*group));
        auto list = m_reader->interactiveContent().multiLinkController();
        ASSERT_TRUE(list);
        list->view();
        ASSERT_TRUE(list->tableView());
        ASSERT_EQ(list->multiLinkArray().size(), 3u);
        EXPECT_EQ(list->multiLinkArray()[static_cast<size_t>(r.row)]->linkID, r.linkID);
        ASSERT_TRUE(uitest::tapRow(*list->tableView(), ui::IndexPath::forRow(r.row, 0)));
        base::RunLoop::main().runUntilIdle();
        ASSERT_EQ(m_actions.size(), 2u);
        EXPECT_EQ(m_actions[1].operation, r.operation);
        if (std::string_view(r.operation) != "loadMultiLinkMarkup") {
            EXPECT_FALSE(m_reader->interactiveContent().multiLinkController());
        }
    }

    // The lone member's group lists it alone; picking it opens the assessment document.
    closeWhatIsOpen();
    auto lone = placedIcon(108, 0, 1);
    m_actions.clear();
    ASSERT_TRUE(tapMarkup(*lone));
    auto list = m_reader->interactiveContent().multiLinkController();
    ASSERT_TRUE(list);
    list->view();
    ASSERT_TRUE(uitest::tapRow(*list->tableView(), ui::IndexPath::forRow(0, 0)));
    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(m_actions.size(), 2u);
    EXPECT_EQ(m_actions[0].argument, "1");
    EXPECT_EQ(m_actions[1].operation, "documentPlayer");
    EXPECT_TRUE(endsWith(m_actions[1].argument, "assets/media/delta-quiz.pdf")) << m_actions[1].argument;
}

// --- Answers, SCORM and protractors on the sample page book ---

std::shared_ptr<MVFIB> placedField(companion::BookRenderer& renderer, int64_t page, int64_t linkID)
{
    for (const auto& view : renderer.overlayForPage(page).fibViews) {
        auto field = std::dynamic_pointer_cast<MVFIB>(view);
        if (field && field->linkVo() && field->linkVo()->linkID == linkID)
            return field;
    }
    return nullptr;
}

TEST_F(MarkupEndToEndTests, TypedAndChosenAnswersAreStoredAndShownAgain)
{
    const int64_t user = m_reader->user()->numericUserID();
    auto store = m_reader->context().dbManager;
    goTo(105);
    auto field = placedField(*m_renderer, 105, 1051);
    ASSERT_TRUE(field);
    ASSERT_TRUE(field->beginEditing());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeFillInBlank);
    field->endEditingWithText("full");
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    auto saved = store->getFIBObjectWithLinkId(1051, user);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text, "full");

    // The drop-down's list, picked through the framework's list.
    auto box = placedIcon(105, 1052);
    ASSERT_TRUE(box);
    ASSERT_TRUE(tapMarkup(*box));
    auto list = m_reader->interactiveContent().answers().linkDropDownController();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->items(), (std::vector<std::string> { "Select", "warms", "cools", "stops" }));
    list->selectItemAtIndex(2);
    list->close();
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(m_reader->interactiveContent().answers().linkDropDownController());
    ASSERT_TRUE(store->getFIBObjectWithLinkId(1052, user));
    EXPECT_EQ(store->getFIBObjectWithLinkId(1052, user)->text, "cools");

    // Back on the page, both answers are drawn again.
    goTo(107);
    goTo(105);
    field = placedField(*m_renderer, 105, 1051);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->textField()->text(), "full");
    EXPECT_EQ(placedIcon(105, 1052)->dropDownText(), "cools");

    // Clearing the field deletes the answer.
    ASSERT_TRUE(field->beginEditing());
    field->endEditingWithText("");
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(store->getFIBObjectWithLinkId(1051, user));
}

TEST_F(MarkupEndToEndTests, TheSamplePackageRunsAsScormAndUploadsOnClose)
{
    auto page = uitest::ScriptedWebPage::create();
    page->plugIntoEveryWebView();
    page->answerScript(LectoroScormWebPlayer::activityDataScript,
        base::Value::Dictionary { { "data", "{\"answer\":\"evaporation\"}" }, { "activityName", "Water quiz" } });
    goTo(112);
    auto icon = placedIcon(112, 1121);
    ASSERT_TRUE(icon);
    ASSERT_TRUE(tapMarkup(*icon));
    auto& web = m_reader->interactiveContent().webContent();
    auto scorm = std::dynamic_pointer_cast<LectoroScormWebPlayer>(web.currentWebPlayer());
    ASSERT_TRUE(scorm);
    EXPECT_TRUE(web.isScormTimerRunning());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeLinkAction);

    auto store = std::dynamic_pointer_cast<companion::SqliteDatabaseManager>(m_reader->context().dbManager);
    ASSERT_TRUE(store);
    const int64_t user = m_reader->user()->numericUserID();
    base::RunLoop::main().advanceBy(10.5);
    EXPECT_EQ(store->fetchScormDataWithBookID("1001", user, "1121"), "{\"answer\":\"evaporation\"}");
    ASSERT_TRUE(store->unsyncedScormData("1001", user).asList());
    EXPECT_EQ(store->unsyncedScormData("1001", user).asList()->size(), 1u);

    scorm->close();
    base::RunLoop::main().advanceBy(2);
    EXPECT_FALSE(web.isScormTimerRunning());
    EXPECT_FALSE(web.currentWebPlayer());
    EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
    // The upload reached the service, which took it.
    EXPECT_TRUE(store->unsyncedScormData("1001", user).asList()->empty());
    uitest::ScriptedWebPage::unplug();
}

TEST_F(MarkupEndToEndTests, ProtractorsTheRendererReportsAreStoredAndDeleted)
{
    goTo(111);
    auto store = m_reader->context().dbManager;
    const int64_t user = m_reader->user()->numericUserID();
    auto stored = [&] { return store->protractorForPageID("111", "9", "1001", user); };
    // The book places one protractor on the page; nothing is stored until it is used.
    auto placed = m_renderer->protractorsOnPage(111);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed.front()->frame, (ui::Rect { 240, 520, 300, 150 }));
    EXPECT_TRUE(stored().empty());

    ASSERT_TRUE(m_renderer->selectProtractor(placed.front()->localID));
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
    m_renderer->rotateOpenProtractor(30);
    m_renderer->measureWithOpenProtractor(65);
    ASSERT_TRUE(m_renderer->closeProtractor());
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored().front()->measuredAngle, 65);
    EXPECT_EQ(stored().front()->rotation, 30);

    ASSERT_TRUE(m_renderer->addProtractor());
    ASSERT_TRUE(m_renderer->closeProtractor());
    EXPECT_EQ(stored().size(), 2u);

    ASSERT_TRUE(m_renderer->selectProtractor(placed.front()->localID));
    ASSERT_TRUE(m_renderer->deleteOpenProtractor());
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_NE(stored().front()->localID, placed.front()->localID);
    EXPECT_EQ(m_renderer->protractorsOnPage(111).size(), 1u);
    EXPECT_FALSE(m_renderer->closeProtractor());
}

} // namespace
} // namespace lectoro
