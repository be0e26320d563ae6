// The search panel's lists: first batches in reader and elastic search, heights, the
// empty-result header, paging in EPUB books, next and previous over the loaded hits, and
// picking a row.

#include "SearchTestSupport.h"

#include "platform/ui/TableViewCell.h"

namespace lectoro::searchtest {
namespace {

class SearchPanelModel : public SearchPanelTest { };

TEST_F(SearchPanelModel, AReaderSearchShowsItsFirstBatchOnlyOnceTheMainQueueRuns)
{
    auto panel = readerPanel(std::make_shared<PXBookVO>());
    panel->searchBar()->setText("plant");
    panel->renderSearchResultWithSearchResult(hits(3));
    EXPECT_TRUE(panel->searchResultArray().empty()) << "nothing changes before the main queue runs";
    EXPECT_TRUE(panel->globalsearchResultArray().empty());

    base::RunLoop::main().runUntilIdle();
    ASSERT_EQ(panel->searchResultArray().size(), 3u);
    EXPECT_EQ(panel->globalsearchResultArray(), panel->searchResultArray());
    EXPECT_EQ(panel->searchoffset(), 50);

    settle();
    double content = panel->tableView()->contentSize().height;
    EXPECT_GT(content, 0);
    EXPECT_DOUBLE_EQ(panel->listHeight(), std::min(content, 342.0))
        << "the measured rows, within 400 - (50 + 8)";

    // Two lists: closing the list keeps what next and previous step through.
    panel->removeSearchResultView();
    EXPECT_TRUE(panel->searchResultArray().empty());
    EXPECT_EQ(panel->globalsearchResultArray().size(), 3u);
    EXPECT_DOUBLE_EQ(panel->listHeight(), 0);
}

TEST_F(SearchPanelModel, AListLongerThanThePanelScrollsInsideTheRoomAboveTheBar)
{
    auto panel = readerPanel(std::make_shared<PXBookVO>());
    panel->renderSearchResultWithSearchResult(hits(10));
    settle();
    EXPECT_GT(panel->tableView()->contentSize().height, 342);
    EXPECT_DOUBLE_EQ(panel->listHeight(), 342);
    EXPECT_DOUBLE_EQ(panel->tableView()->frame().size.height, 342);
}

TEST_F(SearchPanelModel, AnElasticFirstBatchFillsOnlyTheStepsAndAnEmptyOneClearsThem)
{
    auto panel = elasticPanel(std::make_shared<PXBookVO>());
    panel->renderSearchResultWithSearchResult(hits(5));
    EXPECT_TRUE(panel->searchResultArray().empty());
    EXPECT_EQ(panel->globalsearchResultArray().size(), 5u) << "at once, without the main queue";
    EXPECT_EQ(panel->searchoffset(), 50);
    EXPECT_DOUBLE_EQ(panel->listHeight(), 0);

    panel->showSearchResultView();
    EXPECT_EQ(panel->searchResultArray().size(), 5u);

    // A new search that finds nothing must not leave the old hits to step through.
    panel->renderSearchResultWithSearchResult({});
    EXPECT_TRUE(panel->globalsearchResultArray().empty());
    EXPECT_TRUE(panel->searchResultArray().empty());
    EXPECT_EQ(panel->searchoffset(), 0);
}

TEST_F(SearchPanelModel, NothingFoundShowsTheHeaderOnlyForThreeCharactersOrMore)
{
    struct Case {
        ui::UserInterfaceIdiom idiom;
        std::string text;
        bool header;
        double height;
    };
    const Case cases[] = {
        { ui::UserInterfaceIdiom::Phone, "ab", false, 0 },
        { ui::UserInterfaceIdiom::Phone, "abc", true, 160 },
        { ui::UserInterfaceIdiom::Pad, "ab", false, 0 },
        { ui::UserInterfaceIdiom::Pad, "abc", true, 196 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + (c.idiom == ui::UserInterfaceIdiom::Pad ? " pad" : " phone"));
        ui::Environment::current().setIdiom(c.idiom);
        auto panel = readerPanel(std::make_shared<PXBookVO>());
        // The book's text was being prepared first.
        panel->showGeneratingSearchResultView();
        EXPECT_EQ(panel->noResultText()->text(), TextSearchConstants::localized("GENERATING_SEARCH_RESULT"));
        panel->searchBar()->setText(c.text);
        panel->renderSearchResultWithSearchResult({});
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(panel->tableView()->tableHeaderView() != nullptr, c.header);
        EXPECT_DOUBLE_EQ(panel->listHeight(), c.height);
        if (c.header) {
            EXPECT_EQ(
                panel->noResultText()->text(), TextSearchConstants::localized("search_result_not_found"))
                << "the generating message does not outlive the search";
        }
    }
}

TEST_F(SearchPanelModel, TheSecondToLastRowOfAnEpubListFetchesTheNextBatchForTheSearchShown)
{
    auto panel = readerPanel(epubBook());
    panel->setCurrentSearchText("plant");
    panel->searchBar()->setText("plant");
    panel->renderSearchResultWithSearchResult(hits(50));
    settle();
    // The user has typed on since; the list belongs to the search it shows.
    panel->searchBar()->setText("planet");
    m_owner->batches = { hits(20, 51) };
    auto cell = ui::TableViewCell::create();
    panel->willDisplayCell(*panel->tableView(), *cell, { 0, 47 });
    EXPECT_TRUE(m_owner->fetches.empty());
    panel->willDisplayCell(*panel->tableView(), *cell, { 0, 48 });
    ASSERT_EQ(m_owner->fetches.size(), 1u);
    EXPECT_EQ(m_owner->fetches[0].text, "plant");
    EXPECT_EQ(m_owner->fetches[0].offset, 50);
    EXPECT_EQ(m_owner->fetches[0].size, 50);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(panel->searchResultArray().size(), 70u);
    EXPECT_EQ(panel->globalsearchResultArray(), panel->searchResultArray());
    EXPECT_EQ(panel->searchoffset(), 100);
    EXPECT_EQ(panel->tableView()->numberOfRowsInSection(0), 70);
}

TEST_F(SearchPanelModel, APageBookNeverAsksForMoreHits)
{
    auto panel = readerPanel(std::make_shared<PXBookVO>());
    panel->setCurrentSearchText("plant");
    panel->renderSearchResultWithSearchResult(hits(50));
    settle();
    auto cell = ui::TableViewCell::create();
    panel->willDisplayCell(*panel->tableView(), *cell, { 0, 48 });
    EXPECT_EQ(panel->getNextSearchResult(panel->globalsearchResultArray().back()), nullptr);
    EXPECT_TRUE(m_owner->fetches.empty());
}

TEST_F(SearchPanelModel, NextAndPreviousFollowTheLoadedHits)
{
    auto panel = readerPanel(std::make_shared<PXBookVO>());
    panel->renderSearchResultWithSearchResult(hits(3));
    base::RunLoop::main().runUntilIdle();
    const auto& loaded = panel->globalsearchResultArray();
    EXPECT_EQ(panel->getNextSearchResult(loaded[0]), loaded[1]);
    EXPECT_EQ(panel->getNextSearchResult(loaded[2]), nullptr);
    EXPECT_EQ(panel->getPreviousSearchResult(loaded[1]), loaded[0]);
    EXPECT_EQ(panel->getPreviousSearchResult(loaded[0]), nullptr);
    // Equal-looking records are not the loaded ones.
    EXPECT_EQ(panel->getNextSearchResult(hit("1")), nullptr);
    EXPECT_EQ(panel->getPreviousSearchResult(hit("2")), nullptr);
    EXPECT_EQ(panel->getNextSearchResult(nullptr), nullptr);
}

TEST_F(SearchPanelModel, SteppingPastTheLoadedHitsOfAnEpubFetchesEachBatchOnce)
{
    auto panel = readerPanel(epubBook());
    panel->setCurrentSearchText("plant");
    panel->renderSearchResultWithSearchResult(hits(50));
    base::RunLoop::main().runUntilIdle();
    auto batch = hits(20, 51);
    m_owner->batches = { batch };
    auto next = panel->getNextSearchResult(panel->globalsearchResultArray()[49]);
    EXPECT_EQ(next, batch.front());
    ASSERT_EQ(m_owner->fetches.size(), 1u);
    EXPECT_EQ(m_owner->fetches[0].offset, 50);
    EXPECT_EQ(panel->globalsearchResultArray().size(), 70u);
    EXPECT_EQ(panel->searchResultArray().size(), 50u) << "the rows shown stay as they were";

    // At the end of those, the next request starts after them instead of repeating them.
    EXPECT_EQ(panel->getNextSearchResult(batch.back()), nullptr);
    ASSERT_EQ(m_owner->fetches.size(), 2u);
    EXPECT_EQ(m_owner->fetches[1].offset, 70);
    EXPECT_EQ(panel->getPreviousSearchResult(batch.front()), panel->globalsearchResultArray()[49]);
}

TEST_F(SearchPanelModel, PickingARowHidesTheKeyboardBeforeTellingTheOwner)
{
    auto window = ui::Environment::current().makeKeyWindow();
    auto panel = readerPanel(std::make_shared<PXBookVO>());
    window->addSubview(panel);
    panel->renderSearchResultWithSearchResult(hits(3));
    settle();
    ASSERT_TRUE(panel->searchBar()->becomeFirstResponder());

    panel->didSelectRowAtIndexPath(*panel->tableView(), { 0, 1 });
    EXPECT_TRUE(panel->searchBar()->isFirstResponder()) << "no block: nothing happens";

    std::shared_ptr<TextSearchResult> picked;
    bool keyboardUpWhenTold = true;
    panel->setDidClickOnSearchResult([&](std::shared_ptr<TextSearchResult> result) {
        picked = result;
        keyboardUpWhenTold = panel->searchBar()->isFirstResponder();
    });
    panel->didSelectRowAtIndexPath(*panel->tableView(), { 0, 1 });
    EXPECT_EQ(picked, panel->searchResultArray()[1]);
    EXPECT_FALSE(keyboardUpWhenTold);
    panel->didSelectRowAtIndexPath(*panel->tableView(), { 0, 7 });
    EXPECT_EQ(picked, panel->searchResultArray()[1]) << "a row out of range picks nothing";
}

TEST_F(SearchPanelModel, ThePanelHoldsItsOwnerWeakly)
{
    auto panel = readerPanel(epubBook());
    EXPECT_TRUE(panel->delegate());
    m_owner.reset();
    EXPECT_FALSE(panel->delegate());
    panel->setCurrentSearchText("plant");
    panel->renderSearchResultWithSearchResult(hits(2));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(panel->getNextSearchResult(panel->globalsearchResultArray()[1]), nullptr)
        << "without an owner there are no further hits";
}

TEST_F(SearchPanelModel, TheOpenButtonSaysWhetherItOpensOrClosesTheList)
{
    auto panel = readerPanel(std::make_shared<PXBookVO>());
    panel->renderSearchResultWithSearchResult(hits(2));
    settle();
    EXPECT_EQ(panel->openBtn()->accessibilityIdentifier(), "CloseSearchResultButton");
    panel->removeSearchResultView();
    EXPECT_EQ(panel->openBtn()->accessibilityIdentifier(), "OpenSearchResultButton");
}

} // namespace
} // namespace lectoro::searchtest
