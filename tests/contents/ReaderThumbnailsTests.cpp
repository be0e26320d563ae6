// The thumbnail panels as the reader opens them from its toolbar, over the real companion
// framework and the sample books, and the reflowable navigator over the fake renderer.

#include "reader/shell/ShellTestSupport.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "platform/ui/Presentation.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXFixedEpubThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LectoroThumbnailCollectionViewCell.h"
#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailImages.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "companion/Framework.h"
#include "platform/base/FileManager.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Slider.h"
#include "reader/LauncherTestSupport.h"

namespace lectoro::shelltest {
namespace {

class ThumbnailsEndToEnd : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        // Page snapshots go to the app's sandbox: here the test's own folder.
        m_sandbox = base::FileManager::defaultManager().sandboxRoot();
        base::FileManager::defaultManager().setSandboxRoot((m_storage / "sandbox").string());
        setCompanionFramework(
            companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }
    void TearDown() override
    {
        m_launcher.reset();
        ThumbnailImages::shared().setSnapshotMaker(nullptr);
        base::FileManager::defaultManager().setSandboxRoot(m_sandbox);
        ReaderTest::TearDown();
    }

    std::shared_ptr<ReaderViewController> launch(const std::string& sample)
    {
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/" + sample, "1001", "978-0");
        m_launcher->launchBook(package, makeUser("reader@example"),
            std::make_shared<LectoroServiceConfiguration>("https://service", "client", std::string("https://micro")));
        base::RunLoop::main().advanceBy(2);
        return m_launcher->reader();
    }

    // Taps the toolbar's thumbnail item, wherever the book's bars carry it.
    static bool tapThumbnailItem(ReaderViewController& reader)
    {
        for (const auto& bar : { reader.context().playerBottomActionBarView, reader.context().playerTopActionBarView }) {
            if (!bar)
                continue;
            if (auto item = bar->itemWithTag(PlayerItemThumbnail)) {
                bar->tapItem(*item);
                base::RunLoop::main().advanceBy(1);
                return true;
            }
        }
        return false;
    }

    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
    std::string m_sandbox;
};

TEST_F(ThumbnailsEndToEnd, TheToolbarOpensThePanelOfEachKindOfBook)
{
    struct Case {
        const char* sample;
        bool thumbnailsOffered;
        const char* panel;
    };
    for (auto c : { Case { "sample-pagebook", true, "LXThumbnailViewController" },
             Case { "sample-fixed-epub", true, "LXThumbnailViewController" },
             Case { "sample-fixed-epub", false, "LXFixedEpubThumbnailViewController" } }) {
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
        auto reader = launch(c.sample);
        ASSERT_TRUE(reader) << c.sample;
        if (auto epub = std::dynamic_pointer_cast<EPUBBookVO>(reader->currentBook()))
            epub->isLectoroEpubThumbnailSupported = c.thumbnailsOffered;
        ASSERT_TRUE(tapThumbnailItem(*reader)) << c.sample;
        auto presented = reader->presentedViewController();
        ASSERT_TRUE(presented) << c.sample;
        EXPECT_EQ(presented->className(), c.panel) << c.sample;
        EXPECT_EQ(reader->activeMode(), ReaderActiveModeThumbnails) << c.sample;
        EXPECT_TRUE(reader->isPlayerActionBarHidden()) << c.sample;
        m_launcher->uninitializeReader();
        base::RunLoop::main().advanceBy(1);
    }
}

TEST_F(ThumbnailsEndToEnd, ChoosingAPageThumbnailTakesThePageBookThere)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto reader = launch("sample-pagebook");
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapThumbnailItem(*reader));
    auto browser = reader->contents().thumbnailViewController();
    ASSERT_TRUE(browser);
    browser->view()->layoutIfNeeded();
    auto& grid = *browser->collectionView();
    grid.layoutIfNeeded();
    ASSERT_GE(grid.numberOfSections(), 2);
    // The page on screen is marked; every page shows the book's own thumbnail file.
    ASSERT_FALSE(browser->pageIndexArray().empty());
    auto first = std::dynamic_pointer_cast<LectoroThumbnailCollectionViewCell>(grid.cellForItemAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(first && first->pageImageview()->image());
    EXPECT_NE(first->pageImageview()->image()->filePath().find("thumbnails/page-101.png"), std::string::npos);

    // Page 105 ("3") through the go-to field.
    auto& field = *browser->searchTextField();
    field.setText("3");
    browser->shouldReturn(field);
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(reader->presentedViewController()) << "the reader closes the browser";
    EXPECT_EQ(reader->activeMode(), reader->backgroundActiveMode());
    auto pages = reader->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().pageID, 105);
    EXPECT_EQ(reader->navigation().history().back(), "105");

    // Opened again, the browser can step back through the history.
    ASSERT_TRUE(tapThumbnailItem(*reader));
    browser = reader->contents().thumbnailViewController();
    ASSERT_TRUE(browser);
    browser->view()->layoutIfNeeded();
    EXPECT_EQ(browser->prevButton()->alpha(), 1.0);
    EXPECT_EQ(browser->nextButton()->alpha(), 0.5);
}

TEST_F(ThumbnailsEndToEnd, TheNavigatorsSliderTakesTheFixedEpubToItsLastPage)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto reader = launch("sample-fixed-epub");
    ASSERT_TRUE(reader);
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(reader->currentBook());
    ASSERT_TRUE(epub);
    epub->isLectoroEpubThumbnailSupported = false;
    ASSERT_TRUE(tapThumbnailItem(*reader));
    auto navigator = reader->contents().fixedEpubThumbnailVC();
    ASSERT_TRUE(navigator);
    navigator->view()->layoutIfNeeded();
    EXPECT_EQ(navigator->totalNumberOfPages(), static_cast<int64_t>(epub->chapters.size()));
    EXPECT_FALSE(navigator->previousPageHistoryEnabled()) << "one history entry: both off";
    EXPECT_FALSE(navigator->nextPageHistoryEnabled());

    navigator->slider()->setValue(1.0);
    navigator->sliderValueChanged();
    navigator->sliderReleased();
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(reader->contents().fixedEpubThumbnailVC());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    auto pages = reader->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().href, epub->chapters.back()->href);
    // The history holds the chapter's file index, and the way back is open.
    EXPECT_EQ(reader->navigation().history().back(), epub->chapters.back()->href);
    ASSERT_TRUE(tapThumbnailItem(*reader));
    navigator = reader->contents().fixedEpubThumbnailVC();
    ASSERT_TRUE(navigator);
    EXPECT_TRUE(navigator->previousPageHistoryEnabled());
    reader->contents().didClickHistoryPreviousForFixedEpub();
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(reader->contents().fixedEpubThumbnailVC());
    pages = reader->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_NE(pages.front().href, epub->chapters.back()->href);
}

TEST_F(ThumbnailsEndToEnd, EpubPagesWithoutThumbnailFilesGetSnapshotsOfTheirOwnFolder)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto reader = launch("sample-fixed-epub");
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapThumbnailItem(*reader));
    auto browser = reader->contents().thumbnailViewController();
    ASSERT_TRUE(browser);
    browser->view()->layoutIfNeeded();
    browser->collectionView()->layoutIfNeeded();
    auto cell = std::dynamic_pointer_cast<LectoroThumbnailCollectionViewCell>(
        browser->collectionView()->cellForItemAtIndexPath({ 1, 0 }));
    ASSERT_TRUE(cell);
    auto image = cell->pageImageview()->image();
    ASSERT_TRUE(image) << "a snapshot of the page";
    EXPECT_EQ(image->size(), (ui::Size { 125, 180 }));
    EXPECT_EQ(image->filePath().rfind(m_storage.string(), 0), 0u) << "written under the reader's storage";

    // Addresses that leave the book's folder are never read.
    for (const char* src : { "../../../etc/passwd", "/etc/passwd", "%2E%2E/secret.xhtml", "missing.xhtml" })
        EXPECT_FALSE(ThumbnailImages::shared().imageForPage(base::Value::Dictionary { { "SRC", src } })) << src;

    // After a rotation the browser marks the pages then on screen, once each.
    browser->pageIndexArray().push_back({ 9, 9 });
    reader->contents().reselectThumbnailPages();
    EXPECT_EQ(browser->pageIndexArray().size(), reader->rendererView()->getActivePages().size());
}

class ReflowThumbnailTest : public ShellTest {
protected:
    void openReflowable(std::string visibleNumber)
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->setVisibleThumbnailNumber(std::move(visibleNumber));
        m_book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-reflowable-epub"));
        ASSERT_TRUE(m_book && m_book->chapters.size() >= 2 && !m_book->tocPageList.empty());
        RendererPage page;
        page.fileIndex = m_book->chapters[1]->fileIndex;
        page.href = m_book->chapters[1]->href;
        m_renderer->loadBook(m_book, { page });
        base::RunLoop::main().advanceBy(1);
        // The sample has a narrated chapter, so it offers its reading modes.
        closeOfferedReadAloudChooser();
        uitest::showInWindow(m_reader);
    }

    std::shared_ptr<EPUBBookVO> m_book;
};

TEST_F(ReflowThumbnailTest, TheVisiblePagesNumberFillsTheGoToField)
{
    for (std::string number : { "2", "" }) {
        openReflowable(number);
        m_reader->contents().actionForReflowThumbnail();
        base::RunLoop::main().advanceBy(1);
        auto navigator = m_reader->contents().fixedEpubThumbnailVC();
        ASSERT_TRUE(navigator) << number;
        EXPECT_EQ(m_reader->presentedViewController(), navigator);
        EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeThumbnails);
        EXPECT_EQ(navigator->activeDisplayNumber(), number);
        // The slider starts at the first page-list entry of the chapter on screen.
        auto entry = m_reader->contents().getEpubTOCPageFromHrefForReflow(m_book->chapters[1]->href);
        ASSERT_TRUE(entry);
        EXPECT_EQ(navigator->activePageNumber(), m_reader->contents().getFileIndexFromSRCForReflow(entry->href));
        EXPECT_EQ(navigator->totalNumberOfPages(), static_cast<int64_t>(m_book->tocPageList.size()));
        m_reader->contents().didPerformActionToCloseThumbnail();
        base::RunLoop::main().advanceBy(1);
        EXPECT_FALSE(m_reader->presentedViewController());
        EXPECT_EQ(m_reader->activeMode(), ReaderActiveModeNone);
        uitest::showInWindow(nullptr);
        m_reader.reset();
    }
}

TEST_F(ReflowThumbnailTest, PageAnchorsMatchDisplayNumbersWrittenWithSpaces)
{
    openReflowable("1");
    const auto& last = m_book->tocPageList.back();
    std::string spaced;
    for (char c : last.label) {
        spaced.push_back(c);
        spaced.push_back(' ');
    }
    EXPECT_EQ(m_reader->contents().getPageAnchorForThumbnailNumber(spaced), last.href);
    EXPECT_EQ(m_reader->contents().getPageAnchorForThumbnailNumber("no such page"), "");
    EXPECT_FALSE(m_reader->contents().getEpubTOCPageFromHrefForReflow("missing.xhtml"));
    EXPECT_EQ(m_reader->contents().getFileIndexFromSRCForReflow("missing.xhtml"), 0);
    uitest::showInWindow(nullptr);
}

TEST_F(ReflowThumbnailTest, OpeningTwiceWhileOnItsWayPresentsOnce)
{
    openReflowable("1");
    m_reader->contents().actionForReflowThumbnail();
    m_reader->contents().actionForReflowThumbnail();
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(m_reader->presentedViewController(), m_reader->contents().fixedEpubThumbnailVC());
    EXPECT_TRUE(ui::Presenter::shared().warnings().empty());
    uitest::showInWindow(nullptr);
}

TEST(ReaderThumbnailHistory, ButtonStatesFollowTheHistory)
{
    struct Case {
        size_t count;
        int32_t index;
        bool back;
        bool forward;
    };
    for (auto c : { Case { 0, 0, false, false }, Case { 1, 0, false, false }, Case { 2, 1, true, false },
             Case { 3, 0, false, true }, Case { 3, 1, true, true } }) {
        auto [back, forward] = ReaderContents::historyButtonStates(c.count, c.index);
        EXPECT_EQ(back, c.back) << c.count << "/" << c.index;
        EXPECT_EQ(forward, c.forward) << c.count << "/" << c.index;
    }
}

} // namespace
} // namespace lectoro::shelltest
