#include "ShellTestSupport.h"

#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"

namespace lectoro::shelltest {
namespace {

class ReaderShellPanels : public ShellTest {
protected:
    void openBook(const std::shared_ptr<LectoroBookVO>& book, std::vector<RendererPage> pages = {})
    {
        makeReader();
        helpAlreadySeen();
        m_renderer->loadBook(book, std::move(pages));
        base::RunLoop::main().advanceBy(1);
        closeOfferedReadAloudChooser();
    }

    static std::shared_ptr<EPUBChapterVO> chapter(int64_t index, std::string href, std::string title)
    {
        auto chapter = std::make_shared<EPUBChapterVO>();
        chapter->fileIndex = index;
        chapter->href = std::move(href);
        chapter->title = std::move(title);
        return chapter;
    }

    static base::Value node(const char* title, const char* src, base::Value::List subnodes = {})
    {
        return base::Value::Dictionary { { "title", title }, { "src", src },
            { "subnodes", std::move(subnodes) } };
    }
};

TEST_F(ReaderShellPanels, ClosingAPanelRedrawsThePagesOnlyOnAPhone)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        size_t reloads;
    };
    for (auto c : { Case { ui::UserInterfaceIdiom::Pad, 0 }, Case { ui::UserInterfaceIdiom::Phone, 1 } }) {
        ui::Environment::current().setIdiom(c.idiom);
        openBook(sample("sample-pagebook"));
        for (auto close : { &ReaderViewController::didSelectActionToCloseTOC,
                 &ReaderViewController::didSelectActionToCloseMyData }) {
            m_reader->setActiveMode(ReaderActiveModeContents);
            m_renderer->clearCalls();
            ((*m_reader).*close)();
            EXPECT_EQ(m_reader->activeMode(), m_reader->backgroundActiveMode());
            EXPECT_EQ(m_renderer->countOf("reloadPages"), c.reloads);
        }
    }
}

TEST_F(ReaderShellPanels, ThumbnailsCloseBackToTheBookAndKeepTeacherReview)
{
    openBook(sample("sample-pagebook"), { pageBookPage(103, "1") });
    m_reader->setActiveMode(ReaderActiveModeThumbnails);
    m_reader->didSelectThumbnailPageNo("105");
    EXPECT_EQ(m_reader->activeMode(), uint64_t(ReaderActiveModeNone));
    EXPECT_FALSE(m_reader->context().isPageNavigateByScroll);
    auto jump = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->arguments.at(0).asString(), "105");

    m_reader->setActiveMode(ReaderActiveModeTeacherReview);
    m_reader->didSelectActionToCloseThumbnail();
    EXPECT_EQ(m_reader->activeMode(), uint64_t(ReaderActiveModeTeacherReview));
}

TEST_F(ReaderShellPanels, AThumbnailPanelOnItsWayLeavesTheReaderAsItIs)
{
    openBook(sample("sample-pagebook"), { pageBookPage(103, "1") });
    auto bar = m_reader->context().playerTopActionBarView;
    ASSERT_TRUE(bar && !bar->items().empty());
    m_reader->contents().actionForThumbnail();
    auto panel = m_reader->contents().thumbnailViewController();
    ASSERT_TRUE(panel && panel->isBeingPresented());

    // While the panel comes up the reader keeps its bars' state (and its audio).
    bar->setSelectedItem(bar->items().front().get());
    m_reader->viewWillDisappear(true);
    EXPECT_EQ(bar->getSelectedItem(), bar->items().front());

    uitest::completePresentations();
    m_reader->viewWillDisappear(true);
    EXPECT_FALSE(bar->getSelectedItem());
}

TEST_F(ReaderShellPanels, AFixedLayoutEpubClosesItsThumbnailsAtTheChapterOnScreen)
{
    auto book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-fixed-epub"));
    ASSERT_TRUE(book && book->isFixedLayout() && book->chapters.size() > 1);
    RendererPage page;
    page.fileIndex = 1;
    page.displayNum = "1";
    openBook(book, { page });
    m_renderer->clearCalls();
    m_reader->didSelectActionToCloseThumbnail();
    auto jump = m_renderer->lastCall("navigateToPageNumber");
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->arguments.at(0).asString(), book->chapters[1]->href);
}

TEST_F(ReaderShellPanels, ChapterTitleFromTheContentsOrTheNearestEarlierChapter)
{
    auto book = std::make_shared<EPUBBookVO>();
    book->chapters = { chapter(0, "text/a.xhtml", "Opening"), chapter(1, "text/b.xhtml", ""),
        chapter(2, "text/c.xhtml", ""), chapter(3, "text/d.xhtml", "") };
    openBook(book);
    base::Value toc = base::Value::List {
        node("Part One", "text/a.xhtml"),
        node("Part Two", "text/x.xhtml", base::Value::List { node("Deep", "text/c.xhtml#s1") }),
        node("Later", "text/c.xhtml"),
    };
    struct Case {
        size_t chapter;
        const char* expected;
    };
    // c: found under a node with children, and the first title found stands; b: in no
    // node, named after the nearest chapter before it with a name.
    for (auto c :
        { Case { 0, "Part One" }, Case { 2, "Deep" }, Case { 1, "Opening" }, Case { 3, "Opening" } }) {
        m_reader->updateChapterTitleForChapter(*book->chapters[c.chapter], toc);
        EXPECT_EQ(m_reader->context().currentChapterName, c.expected) << c.chapter;
    }
    book->chapters[0]->title.clear();
    m_reader->updateChapterTitleForChapter(*book->chapters[1], toc);
    EXPECT_EQ(m_reader->context().currentChapterName, "");

    book->toc = { EPUBTOCEntryVO { "Bark", "text/b.xhtml#top", {} } };
    EXPECT_EQ(m_reader->getChapterNameForChapter(*book->chapters[1]), "Bark");
    EXPECT_EQ(m_reader->getChapterNameForChapter(*book->chapters[2]), "");
}

TEST_F(ReaderShellPanels, TheContentsListBookmarksThatNameAPage)
{
    auto store = framework().store();
    for (const char* display : { "3", "", "7" }) {
        auto bookmark = std::make_shared<SDKBookmarkVO>();
        bookmark->pageIdentifier = std::string("p") + display;
        bookmark->displayNum = display;
        store->saveBookmark(bookmark, "42", 7);
    }
    openBook(sample("sample-pagebook"));
    std::vector<std::string> shown;
    for (const auto& bookmark : m_reader->getBookmarkData())
        shown.push_back(bookmark->displayNum);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string> { "3", "7" }));
}

TEST_F(ReaderShellPanels, JumpingToAnotherBookClosesThisOneOnlyWhenItIsDownloaded)
{
    openBook(sample("sample-pagebook"));
    uitest::showInWindow(m_reader);
    m_delegate->events.clear();
    m_reader->didSelectActionToJumpToBookWithBookID("77");
    EXPECT_TRUE(m_delegate->events.empty()) << "asked on the main queue, later";
    base::RunLoop::main().runUntilIdle();
    auto alert = uitest::topmostAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(
        alert->message(), "The selected book is not downloaded yet.\n Please download it from Bookshelf.");
    EXPECT_TRUE(m_delegate->events.empty()) << "a delegate that cannot tell counts as not downloaded";
    uitest::tapAction("OK");
    uitest::completePresentations();

    m_delegate->answersDownloaded = true;
    m_delegate->downloaded = true;
    m_reader->didSelectActionToJumpToBookWithBookID("77");
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_delegate->events,
        (std::vector<std::string> { "isDownloaded:77", "checkUgc:NO", "close:42:nil", "jump:77:" }));
}

TEST_F(ReaderShellPanels, AnEpubElementPopUpHidesTheBarsAndThePageCount)
{
    openBook(sample("sample-reflowable-epub"));
    m_reader->moveTopAndBottomOnScreenWithIsAnimate(false);
    m_reader->didOpenEpubElementModal();
    EXPECT_TRUE(m_reader->isPlayerActionBarHidden());
    ASSERT_TRUE(m_reader->reflowable().pageCount());
    EXPECT_TRUE(m_reader->reflowable().pageCount()->disableReflowablePageCountView());
    m_reader->didCloseEpubElementModal();
    EXPECT_FALSE(m_reader->reflowable().pageCount()->disableReflowablePageCountView());
}

} // namespace
} // namespace lectoro::shelltest
