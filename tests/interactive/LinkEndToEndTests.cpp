// Links through the assembled reader, shown in a window: a jump to a book the device lacks
// opens the web reader (or says the device is offline), VoiceOver's focus decides whether a
// tap on a markup is the markup's, a glossary video takes the book's key, and an EPUB's
// audio resource picked in the contents panel plays from its package folder.

#include "mydata/MyDataTestSupport.h"
#include "reader/CompanionEndToEndSupport.h"
#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/foundation/MVPopOverBackgroundView.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/GlossaryViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroMarkupPlayers.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/media/Asset.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Settle.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/TableView.h"

#include <algorithm>

namespace lectoro {
namespace {

class LinkEndToEnd : public testing::TabletEndToEndTest {
protected:
    std::shared_ptr<ReaderViewController> open(const std::string& folder, const std::string& bookID)
    {
        return openSample(folder, bookID);
    }

    void goTo(int64_t page)
    {
        m_renderer->navigateToPageNumber(std::to_string(page));
        settle();
    }

    std::shared_ptr<MarkupView> placedIcon(int64_t page, int64_t linkID)
    {
        for (const auto& view : m_renderer->overlayForPage(page).markupViews) {
            auto icon = std::dynamic_pointer_cast<MarkupView>(view);
            if (icon && icon->linkID == linkID && icon->superview())
                return icon;
        }
        return nullptr;
    }

    // Opens the contents panel's resources and taps the only row of a chapter's group.
    void pickResource(ReaderViewController& reader, int section)
    {
        ASSERT_TRUE(testing::tapReaderBarItem(reader, PlayerItemTOC));
        settle();
        auto panel = reader.contents().tocViewController();
        ASSERT_TRUE(panel && panel->isViewLoaded());
        ASSERT_TRUE(panel->resourcesButton());
        ASSERT_TRUE(uitest::tap(*panel->resourcesButton()));
        settle();
        auto table = panel->tableView();
        ASSERT_TRUE(table);
        table->layoutIfNeeded();
        // The chapter's group, opened by its arrow when closed, lists the one resource.
        if (table->numberOfRowsInSection(section) == 0) {
            auto header = std::dynamic_pointer_cast<TOCContentCell>(table->headerViewForSection(section));
            ASSERT_TRUE(header);
            ASSERT_TRUE(uitest::tap(*header->downArrowButton()));
            settle();
        }
        table->layoutIfNeeded();
        ASSERT_EQ(table->numberOfRowsInSection(section), 1);
        ASSERT_TRUE(uitest::tapRow(*table, ui::IndexPath::forRow(0, section)));
        // The row's action runs a second after the tap.
        base::RunLoop::main().advanceBy(1.5);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }

    static bool isChildOf(const ui::ViewController& parent, const std::shared_ptr<ui::ViewController>& child)
    {
        const auto& children = parent.childViewControllers();
        return std::find(children.begin(), children.end(), child) != children.end();
    }

    mydatatest::MyDataNetworkScope m_network;
};

TEST_F(LinkEndToEnd, AJumpToABookNotOnTheDeviceOpensItsWebReaderOnlineAndSaysOfflineOtherwise)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader && m_renderer);
    goTo(101);
    auto jump = placedIcon(101, 1012);
    ASSERT_TRUE(jump);

    // Offline: the reader says so and opens nothing.
    m_network.setOnline(false);
    ASSERT_TRUE(testing::tapMarkup(*jump));
    settle();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message().value_or(""), LocalizationHelper::localizedStringWithKey("INTERNET_UNAVAILABLE_MESSAGE"));
    EXPECT_FALSE(reader->contents().webPlayer());
    ASSERT_TRUE(uitest::tapActionAtIndex(0));
    settle();

    // Online: the web reader's address for the signed-in user, in a player over the reader.
    m_network.setOnline(true);
    ASSERT_TRUE(testing::tapMarkup(*jump));
    settle();
    auto player = reader->contents().webPlayer();
    ASSERT_TRUE(player);
    EXPECT_TRUE(isChildOf(*reader, player));
    EXPECT_EQ(player->view()->superview(), reader->view());
    EXPECT_EQ(player->view()->frame(), reader->view()->bounds());
    EXPECT_EQ(player->url().absoluteString(),
        "https://reader.example/MobileReader/book?id=2002#page-7&sharetoken=ada-token&cloudUserId=6000000001"
        "&cloudUserName=&cloudFirstName=&cloudLastName=&cloudRoleName=&cloudProfilePic=");
    EXPECT_EQ(m_host->closes.size(), 0u) << "the reader stays open under the web reader";
}

TEST_F(LinkEndToEnd, UnderVoiceOverATapOnAMarkupOutsideTheFocusIsATapOnThePage)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader && m_renderer);
    goTo(103);
    auto glossary = placedIcon(103, 1031);
    ASSERT_TRUE(glossary);
    auto& environment = ui::Environment::current();
    environment.setVoiceOverRunning(true);
    bool barsHidden = reader->isPlayerActionBarHidden();

    // VoiceOver rests on the page: the tap only shows or hides the bars.
    environment.setAccessibilityFocusedElement(reader->view());
    ASSERT_TRUE(testing::tapMarkup(*glossary));
    settle();
    EXPECT_FALSE(reader->interactiveContent().glossaryViewController());
    EXPECT_NE(reader->isPlayerActionBarHidden(), barsHidden);

    // With the focus on the markup, the tap opens it.
    environment.setAccessibilityFocusedElement(glossary);
    ASSERT_TRUE(testing::tapMarkup(*glossary));
    settle();
    EXPECT_TRUE(reader->interactiveContent().glossaryViewController());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeGlossary);
}

TEST_F(LinkEndToEnd, TheTabletGlossaryIsAnArrowlessPopoverWhoseDismissalHandsTheReaderBack)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader && m_renderer);
    goTo(103);
    auto icon = placedIcon(103, 1031);
    ASSERT_TRUE(icon);
    ASSERT_TRUE(testing::tapMarkup(*icon));
    settle();
    auto glossary = reader->interactiveContent().glossaryViewController();
    ASSERT_TRUE(glossary);
    EXPECT_EQ(reader->presentedViewController(), glossary);
    auto* popover = glossary->popoverPresentationController();
    ASSERT_TRUE(popover);
    EXPECT_EQ(popover->popoverBackgroundViewClassName(), "MVPopOverBackgroundView");
    ASSERT_TRUE(std::dynamic_pointer_cast<MVPopOverBackgroundView>(popover->backgroundView()));
    EXPECT_TRUE(MVPopOverBackgroundView::getArrowColor().isClear());
    EXPECT_EQ(popover->sourceView(), icon);

    ASSERT_TRUE(uitest::tapOutsidePopover(glossary));
    settle();
    EXPECT_FALSE(reader->presentedViewController());
    EXPECT_FALSE(reader->interactiveContent().glossaryViewController());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
}

TEST_F(LinkEndToEnd, AGlossaryVideoPlaysFromTheBookWithTheBooksContentKey)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader && m_renderer);
    auto book = std::dynamic_pointer_cast<PXBookVO>(reader->currentBook());
    ASSERT_TRUE(book);
    book->contentKey = "key-1001";
    goTo(110);
    auto icon = placedIcon(110, 1101);
    ASSERT_TRUE(icon);
    ASSERT_TRUE(testing::tapMarkup(*icon));
    settle();
    auto glossary = reader->interactiveContent().glossaryViewController();
    ASSERT_TRUE(glossary);
    ASSERT_EQ(glossary->mediaButtons().size(), 1u);
    ASSERT_TRUE(uitest::tap(*glossary->mediaButtons()[0]));
    settle();

    auto& interactive = reader->interactiveContent();
    EXPECT_FALSE(interactive.glossaryViewController());
    auto video = interactive.players().currentVideoPlayer();
    ASSERT_TRUE(video);
    EXPECT_EQ(video->videoPath(), book->path + "/assets/media/river.mp4");
    EXPECT_EQ(video->decryptionKey(), "key-1001");
    EXPECT_EQ(video->view()->superview(), reader->view());
}

TEST_F(LinkEndToEnd, AGlossaryRecordingOrVideoOutsideTheBookIsRefused)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader);
    auto& interactive = reader->interactiveContent();
    for (int64_t kind : { 0, 1 }) {
        for (const char* path : { "../../etc/passwd", "assets/%2E%2E/%2E%2E/x.mp4", "file:///etc/passwd", "" }) {
            SCOPED_TRACE(std::to_string(kind) + " " + path);
            interactive.didSelectGlossaryItemWithType(kind, path);
            settle();
            EXPECT_FALSE(interactive.players().audioPlayer());
            EXPECT_FALSE(interactive.players().currentVideoPlayer());
            auto alert = uitest::topmostAlert();
            ASSERT_TRUE(alert);
            EXPECT_EQ(
                alert->message().value_or(""), LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND"));
            ASSERT_TRUE(uitest::tapActionAtIndex(0));
            settle();
        }
    }
}

TEST_F(LinkEndToEnd, AnAudioMarkupPlaysItsRecordingAsProtectedMedia)
{
    auto reader = open("sample-pagebook", "1001");
    ASSERT_TRUE(reader && m_renderer);
    auto& interactive = reader->interactiveContent();
    goTo(110);
    auto waves = placedIcon(110, 1102);
    ASSERT_TRUE(waves);
    ASSERT_TRUE(testing::tapMarkup(*waves));
    // The recording lasts 1.25 s, less than settle() moves the clock, and it starts whenever
    // its file has been read: looked at before the clock moves, it has not played out.
    uitest::runUntilSettled();
    auto audio = interactive.players().audioPlayer();
    ASSERT_TRUE(audio);
    EXPECT_TRUE(audio->isEncrypted());
    EXPECT_TRUE(audio->isPlaying());

    // It plays for the recording's length, then closes and gives the page back.
    auto recording = media::Asset::load(audio->mediaPath());
    ASSERT_TRUE(recording.ok());
    const double length = recording.value().duration;
    ASSERT_GT(length, 0.2);
    base::RunLoop::main().advanceBy(length - 0.1);
    EXPECT_EQ(interactive.players().audioPlayer(), audio);
    EXPECT_TRUE(audio->isPlaying());
    auto controls = audio->getPlayerView();
    EXPECT_EQ(controls->superview(), reader->view());
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_FALSE(interactive.players().audioPlayer());
    EXPECT_FALSE(controls->superview());
    EXPECT_FALSE(audio->isPlaying());
    EXPECT_TRUE(m_renderer->view()->isUserInteractionEnabled());
}

TEST_F(LinkEndToEnd, AnEpubAudioResourcePickedInTheContentsPanelPlaysFromThePackageFolder)
{
    auto reader = open("sample-fixed-epub", "3003");
    ASSERT_TRUE(reader && m_renderer);
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(reader->currentBook());
    ASSERT_TRUE(book);
    // The recording lasts three seconds: it still plays once the row's action has run.
    pickResource(*reader, 0);

    auto audio = reader->interactiveContent().players().audioPlayer();
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->mediaPath(), book->rootPath + "/media/shells.wav");
    EXPECT_TRUE(audio->isPlaying());
    EXPECT_FALSE(uitest::topmostAlert()) << "no \"Resource not found\" for a file the book has";
    ASSERT_TRUE(audio->getPlayerView());
    EXPECT_EQ(audio->getPlayerView()->superview(), reader->view());
}

TEST_F(LinkEndToEnd, APageResourcePickedInTheContentsPanelGoesToThatPage)
{
    auto reader = open("sample-fixed-epub", "3003");
    ASSERT_TRUE(reader && m_renderer);
    ASSERT_FALSE(m_renderer->getActivePages().empty());
    ASSERT_NE(m_renderer->getActivePages().front().fileIndex, 3);
    pickResource(*reader, 1);
    settle();
    ASSERT_FALSE(m_renderer->getActivePages().empty());
    EXPECT_EQ(m_renderer->getActivePages().front().fileIndex, 3);
    EXPECT_FALSE(reader->contents().tocViewController() && reader->contents().tocViewController()->view()->window())
        << "the panel has closed over the page";
}

TEST_F(LinkEndToEnd, EachFileResourceKindOpensItsFileFromThePackageFolder)
{
    auto reader = open("sample-fixed-epub", "3003");
    ASSERT_TRUE(reader && m_renderer);
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(reader->currentBook());
    ASSERT_TRUE(book);
    auto& interactive = reader->interactiveContent();
    auto child = [&]<typename Player>() -> std::shared_ptr<Player> {
        for (const auto& controller : reader->childViewControllers()) {
            if (auto player = std::dynamic_pointer_cast<Player>(controller))
                return player;
        }
        return nullptr;
    };
    const std::string root = book->rootPath;
    const std::string fileAddress = base::URL::fileURL(root + "/pages/page-2.xhtml").absoluteString();
    struct Case {
        int32_t kind;
        std::string assetPath;
        std::function<void()> check;
    };
    const Case cases[] = {
        { 2, "media/shells.wav",
            [&] {
                auto video = interactive.players().currentVideoPlayer();
                ASSERT_TRUE(video);
                EXPECT_EQ(video->videoPath(), root + "/media/shells.wav");
                EXPECT_EQ(video->view()->superview(), reader->view());
            } },
        { 3, "pages/page-2.xhtml",
            [&] {
                auto image = interactive.players().imageController();
                ASSERT_TRUE(image);
                ASSERT_EQ(image->imageURLs().size(), 1u);
                EXPECT_EQ(image->imageURLs()[0], root + "/pages/page-2.xhtml");
            } },
        { 4, "pages/page-2.xhtml",
            [&] {
                auto document = child.template operator()<LectoroDocumentPlayer>();
                ASSERT_TRUE(document);
                EXPECT_EQ(document->url().absoluteString(), fileAddress);
                EXPECT_EQ(document->view()->superview(), reader->view());
            } },
        { 6, "pages/page-2.xhtml",
            [&] {
                auto web = interactive.webContent().currentWebPlayer();
                ASSERT_TRUE(web);
                EXPECT_EQ(web->url().absoluteString(), fileAddress);
            } },
        { 6, "https://example.org/shells",
            [&] {
                auto web = interactive.webContent().currentWebPlayer();
                ASSERT_TRUE(web);
                EXPECT_EQ(web->url().absoluteString(), "https://example.org/shells");
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.assetPath);
        interactive.actionForResource(c.assetPath, c.kind);
        settle();
        c.check();
        // A web address loads from the network, which the tests do not reach.
        if (!c.assetPath.starts_with("https:")) {
            EXPECT_FALSE(uitest::topmostAlert()) << "no \"Resource not found\" for a file the book has";
        }
        while (uitest::topmostAlert() && uitest::tapActionAtIndex(0))
            settle();
    }
}

TEST_F(LinkEndToEnd, AResourceNamingAFileOutsideTheBookIsRefused)
{
    auto reader = open("sample-fixed-epub", "3003");
    ASSERT_TRUE(reader);
    auto& interactive = reader->interactiveContent();
    for (const char* path : { "../../../etc/passwd", "/etc/passwd", "media/%2E%2E/%2E%2E/x.wav", "C:\\x.wav" }) {
        SCOPED_TRACE(path);
        interactive.actionForResource(path, 1);
        settle();
        EXPECT_FALSE(interactive.players().audioPlayer());
        auto alert = uitest::topmostAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message().value_or(""), LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND"));
        ASSERT_TRUE(uitest::tapActionAtIndex(0));
        settle();
    }
}

} // namespace
} // namespace lectoro
