// The contents panel as the reader opens it: from the toolbar, with the user's standards
// and resources, and the web links it hands back.

#include "reader/CompanionEndToEndSupport.h"
#include "reader/shell/ShellTestSupport.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"
#include "companion/Framework.h"
#include "companion/analytics/QueuedAnalyticsManager.h"
#include "platform/base/Json.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Presentation.h"
#include "reader/LauncherTestSupport.h"

namespace lectoro::shelltest {
namespace {

class ReaderContentsTest : public ShellTest {
protected:
    void openBook(const std::shared_ptr<LectoroBookVO>& book, std::vector<RendererPage> pages = {})
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(book, std::move(pages));
        base::RunLoop::main().advanceBy(1);
        closeOfferedReadAloudChooser();
        uitest::showInWindow(m_reader);
    }

    std::shared_ptr<TOCViewController> openContents()
    {
        m_reader->contents().showTOC();
        base::RunLoop::main().advanceBy(1);
        // A page book's resources are gathered in the background.
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        return m_reader->contents().tocViewController();
    }
};

TEST_F(ReaderContentsTest, OpeningTheContentsPresentsThePanelAsTheDeviceWants)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        ui::ModalPresentationStyle style;
        bool animated;
    };
    for (auto c :
        { Case { ui::UserInterfaceIdiom::Pad, ui::ModalPresentationStyle::OverCurrentContext, false },
            Case { ui::UserInterfaceIdiom::Phone, ui::ModalPresentationStyle::OverFullScreen, true } }) {
        ui::Environment::current().setIdiom(c.idiom);
        openBook(sample("sample-pagebook"), { pageBookPage(103, "1") });
        size_t liveBefore = framework().analytics() ? framework().analytics()->liveEvents().size() : 0;
        auto panel = openContents();
        ASSERT_TRUE(panel);
        EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeContents);
        const auto* presented = ui::Presenter::shared().lastPresented();
        ASSERT_TRUE(presented);
        EXPECT_EQ(presented->presentedClassName, "TOCViewController");
        EXPECT_EQ(presented->style, c.style);
        EXPECT_EQ(presented->animated, c.animated);
        EXPECT_EQ(panel->delegate() != nullptr, true);
        if (auto analytics = framework().analytics()) {
            auto live = analytics->liveEvents();
            ASSERT_EQ(live.size(), liveBefore + 1);
            EXPECT_EQ(live.back().name, "toc_icon_use_live");
        }
        // The close glyph hands back to the reader, which returns to its mode.
        panel->actionForCloseTOCWithSender();
        base::RunLoop::main().advanceBy(1);
        EXPECT_EQ(m_reader->activeMode(), m_reader->backgroundActiveMode());
        EXPECT_FALSE(m_reader->presentedViewController());
        m_reader.reset();
    }
}

TEST_F(ReaderContentsTest, APageBooksChapterLeadsToItsPageNotItsImage)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    openBook(sample("sample-pagebook"), { pageBookPage(101, "1") });
    auto panel = openContents();
    ASSERT_TRUE(panel);
    panel->view()->layoutIfNeeded();
    auto header = std::dynamic_pointer_cast<TOCContentCell>(panel->tableView()->headerViewForSection(2));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->dataLabel()->text(), "Rivers");
    m_renderer->clearCalls();
    ASSERT_TRUE(uitest::tap(*header->sectionHeaderButton()));
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(m_reader->presentedViewController());
    auto moved = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->arguments.at(0).asString(), std::string("107"));
}

TEST_F(ReaderContentsTest, ThePanelHoldsTheReaderWeakly)
{
    openBook(sample("sample-pagebook"));
    auto panel = openContents();
    ASSERT_TRUE(panel && panel->delegate());
    std::weak_ptr<ReaderViewController> weakReader = m_reader;
    m_reader->dismissViewControllerAnimated(false);
    base::RunLoop::main().runUntilIdle();
    uitest::showInWindow(nullptr);
    m_reader.reset();
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(weakReader.lock()) << "nothing the panel holds keeps the reader";
    EXPECT_FALSE(panel->delegate());
}

TEST_F(ReaderContentsTest, ReopeningCarriesOnlyTheInternalResourceGroups)
{
    m_user->role = "TEACHER";
    openBook(sample("sample-pagebook"), { pageBookPage(103, "1") });
    auto first = openContents();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isExternalResourceAvailable()) << "the teacher's TOR resources";
    auto internal = first->resourceArray();
    ASSERT_FALSE(internal.empty());
    m_reader->contents().didSelectExternalResources();
    EXPECT_FALSE(first->model().externalResourceArray().empty());
    first->actionForCloseTOCWithSender();
    base::RunLoop::main().advanceBy(1);

    auto second = openContents();
    ASSERT_TRUE(second && second != first);
    ASSERT_EQ(second->resourceArray().size(), internal.size());
    for (size_t index = 0; index < internal.size(); ++index)
        EXPECT_EQ(second->resourceArray()[index].chapterName, internal[index].chapterName);
    EXPECT_TRUE(second->model().externalResourceArray().empty());
}

TEST_F(ReaderContentsTest, StandardsFollowTheUsersRoleAndTheBooksDataStaysUntouched)
{
    openBook(sample("sample-pagebook"));
    auto book = std::dynamic_pointer_cast<PXBookVO>(m_reader->currentBook());
    ASSERT_TRUE(book);
    std::string resourcesBefore = base::toJson(book->resources);
    auto panel = openContents();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->model().standardResourceArray().empty());
    EXPECT_FALSE(panel->isExternalResourceAvailable()) << "TOR resources are the teacher's";
    m_reader->contents().didSelectELPSStandard();
    ASSERT_EQ(panel->model().standardResourceArray().size(), 1u);
    EXPECT_EQ(panel->model().standardResourceArray()[0]->title, "Listening");
    m_reader->contents().didSelectInternalResources();
    EXPECT_EQ(base::toJson(book->resources), resourcesBefore);
}

TEST_F(ReaderContentsTest, WebLinksOpenOnlyWhatTheyCanReach)
{
    openBook(sample("sample-pagebook"));
    auto& contents = m_reader->contents();
    std::string folder = m_reader->currentBook()->path;
    struct Case {
        const char* link;
        std::optional<std::string> url;
    };
    for (const auto& c :
        std::vector<Case> { { " https://example.org/activity ", "https://example.org/activity" },
            { "activities/a.html", base::URL::fileURL(folder + "/activities/a.html").absoluteString() },
            { "https://example.org/a b", std::nullopt }, { "../../etc/passwd", std::nullopt },
            { "%2E%2E/secret", std::nullopt }, { "/etc/passwd", std::nullopt }, { "   ", std::nullopt } }) {
        auto url = contents.urlForWebLink(c.link);
        EXPECT_EQ(url ? std::optional(url->absoluteString()) : std::nullopt, c.url) << c.link;
    }

    contents.didLoadWebLinkForStandardsWithWebLink("https://example.org/a b");
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(contents.webPlayer());
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Error");
    uitest::tapAction("OK");
    uitest::completePresentations();

    contents.didLoadWebLinkForStandardsWithWebLink("activities/a.html");
    auto player = contents.webPlayer();
    ASSERT_TRUE(player);
    EXPECT_EQ(player->url().path(), folder + "/activities/a.html");
    EXPECT_EQ(player->parentViewController().get(), m_reader.get());
    EXPECT_EQ(player->view()->frame(), m_reader->view()->bounds());
    uitest::tap(*player->closeButton());
    EXPECT_FALSE(contents.webPlayer());
    EXPECT_FALSE(player->view()->superview());
}

// The example the toolbar gives: the reader over the real companion framework opens the
// contents of the sample EPUB, and choosing its third chapter takes the book there.
class ContentsEndToEnd : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        setCompanionFramework(
            companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }
    void TearDown() override
    {
        m_launcher.reset();
        ReaderTest::TearDown();
    }

    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

TEST_F(ContentsEndToEnd, PickingTheThirdChapterClosesThePanelAndGoesThere)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Phone);
    auto package = std::make_shared<LectoroBookPackage>(
        std::string(LECTORO_SAMPLES_DIR) + "/books/sample-reflowable-epub", "1001", "978-0");
    m_launcher->launchBook(package, makeUser("reader@example"),
        std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro")));
    base::RunLoop::main().advanceBy(2);
    auto reader = m_launcher->reader();
    ASSERT_TRUE(reader);
    auto bar = reader->context().playerBottomActionBarView;
    ASSERT_TRUE(bar);
    auto item = bar->itemWithTag(PlayerItemTOC);
    ASSERT_TRUE(item);
    testing::closeHelpIfShown(*reader);
    testing::closeOfferedReadAloud(*reader);
    ASSERT_TRUE(testing::showBars(*reader));
    ASSERT_TRUE(uitest::tap(*item));
    base::RunLoop::main().advanceBy(1);
    auto panel = reader->contents().tocViewController();
    ASSERT_TRUE(panel);
    ASSERT_EQ(reader->presentedViewController(), panel);
    panel->view()->layoutIfNeeded();
    auto& table = *panel->tableView();
    ASSERT_EQ(table.numberOfSections(), 4);
    auto header = std::dynamic_pointer_cast<TOCContentCell>(table.headerViewForSection(2));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->dataLabel()->text(), "Calm Water");

    ASSERT_TRUE(uitest::tap(*header->sectionHeaderButton()));
    base::RunLoop::main().advanceBy(2);
    EXPECT_FALSE(reader->presentedViewController());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    auto pages = reader->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().href, "text/chapter-3.xhtml");
}

} // namespace
} // namespace lectoro::shelltest
