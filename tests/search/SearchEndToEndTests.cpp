// Search through the companion framework on the long sample EPUB: a word with hundreds of
// hits is searched, the list pages in the second batch as it scrolls, the 60th hit is
// picked, and the renderer shows its chapter with the hits marked and that one selected.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/testing/Interaction.h"

namespace lectoro {
namespace {

class SearchEndToEnd : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        setCompanionFramework(
            companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-long-epub", "2002", "978-1");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        m_launcher->launchBook(package, makeUser("6000000002"), configuration);
        base::RunLoop::main().advanceBy(1);
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(1);
        m_reader = m_launcher->reader();
        ASSERT_TRUE(m_reader);
        m_renderer = std::dynamic_pointer_cast<companion::BookRenderer>(m_reader->rendererView());
        ASSERT_TRUE(m_renderer && m_renderer->isBookLoaded());
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
        ReaderTest::TearDown();
    }

    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::BookRenderer> m_renderer;
};

TEST_F(SearchEndToEnd, TheSixtiethHitOfALongBookIsShownAndMarked)
{
    auto& search = m_reader->search();
    search.addSearchForText("squall", false);
    base::RunLoop::main().advanceBy(2);
    auto panel = search.searchTextView();
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->searchResultArray().size(), 50u);

    // Scrolling to the end of the list brings the second batch.
    auto table = panel->tableView();
    table->scrollToRowAtIndexPath({ 0, 49 }, ui::TableViewScrollPosition::Bottom);
    base::RunLoop::main().advanceBy(2);
    ASSERT_EQ(panel->searchResultArray().size(), 100u);
    EXPECT_EQ(panel->globalsearchResultArray(), panel->searchResultArray());

    auto picked = panel->searchResultArray()[59];
    ASSERT_TRUE(picked);
    table->scrollToRowAtIndexPath({ 0, 59 }, ui::TableViewScrollPosition::Middle);
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 59 }));
    base::RunLoop::main().advanceBy(1);
    base::waitForBackgroundWork();
    base::RunLoop::main().advanceBy(1);
    EXPECT_EQ(search.searchResult(), picked);

    int64_t chapter = search.getHrefFromFileIndex(picked->href);
    bool shown = false;
    for (const auto& page : m_renderer->getActivePages())
        shown = shown || page.fileIndex == chapter;
    EXPECT_TRUE(shown) << "the renderer shows the picked hit's chapter";

    bool selectedMark = false;
    for (const auto& mark : m_renderer->overlayForPage(chapter).searchMarks) {
        if (mark.word == "squall" && mark.selectedWordColor == std::string("#757575") && mark.hitCount > 0)
            selectedMark = true;
    }
    EXPECT_TRUE(selectedMark) << "the chapter's hits are marked with the current one apart";

    // The renderer's selection is the picked hit among its chapter's hits.
    auto chapterHits = search.searchController()->getSearchResultForTextWithPageNo(
        "squall", picked->pageIndex, ReaderSearch::searchHitFont());
    size_t expected = 0;
    for (size_t index = 0; index < chapterHits.size(); ++index) {
        if (chapterHits[index]->textOffset == picked->textOffset)
            expected = index;
    }
    ASSERT_TRUE(m_renderer->selectedSearchHitIndex());
    EXPECT_EQ(*m_renderer->selectedSearchHitIndex(), expected);
}

} // namespace
} // namespace lectoro
