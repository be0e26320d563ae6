// The reader's panels reached from the bottom bar: the contents with its tabs and a stored
// bookmark, the page thumbnails, the search and My Data. Each is opened with a finger,
// used, and closed, and the reader is reading again after.

#include "journeys/HeldDevices.h"
#include "journeys/JourneySupport.h"
#include "LayoutConflictLog.h"

#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/contents/ReaderContents.h"
#include "LectoroSDKWithReader/contents/TOCCells.h"
#include "LectoroSDKWithReader/contents/TOCViewController.h"
#include "LectoroSDKWithReader/contents/thumbnails/LXThumbnailViewController.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <regex>

namespace lectoro::journeys {
namespace {

using PanelJourney = Journey;

// A point of the screen above a tablet's half-height sheet: the dimmed page around it.
constexpr ui::Point aboveTheSheet { 384, 150 };

TEST_F(PanelJourney, ABookmarkedPageIsListedInTheContentsAndItsRowTakesTheReaderBack)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    const auto first = renderer->getActivePages().front();

    // The page's bookmark icon stores the page under the name typed in its pop-over.
    auto icon = reader->bookmarkRoad().bookMarkViewForPage(first.pageID);
    ASSERT_TRUE(icon);
    ASSERT_TRUE(tapAndSettle(*icon));
    auto popover = reader->bookmarkRoad().bookMarkController();
    ASSERT_TRUE(popover && popover->view()->isInWindow());
    picture("bookmark");
    ASSERT_TRUE(uitest::type(*popover->textField(), "Harbour map"));
    popover->textField()->simulateReturn();
    ASSERT_TRUE(uitest::tapOutsidePopover(popover));
    settle();
    expectReading(*reader);

    // Away from the page, the contents' Bookmarks tab lists it and its row goes back there.
    ASSERT_TRUE(renderer->swipe(companion::RendererSwipe::Left));
    settle();
    ASSERT_NE(renderer->getActivePages().front().pageID, first.pageID);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemTOC));
    auto toc = presentedScreen<TOCViewController>(*reader);
    ASSERT_TRUE(toc) << "the contents panel is presented";
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeContents);
    picture("contents");
    ASSERT_TRUE(tapAndSettle(*toc->bookmarkButton()));
    EXPECT_EQ(toc->selectedButton(), toc->bookmarkButton()->tag());
    picture("contents-bookmarks");
    auto table = toc->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), 1);
    // The row tells when the bookmark was made as a date and time, not as a stored stamp.
    auto row = std::dynamic_pointer_cast<TOCTableViewCell>(table->cellForRowAtIndexPath({ 0, 0 }));
    ASSERT_TRUE(row);
    EXPECT_TRUE(std::regex_search(row->timeLabel()->text(), std::regex(R"(^\d\d:\d\d (AM|PM) \d\d \w+ \d{4}$)")))
        << row->timeLabel()->text();
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 0 }));
    settle();
    EXPECT_EQ(renderer->getActivePages().front().pageID, first.pageID);
    expectReading(*reader);
}

TEST_F(PanelJourney, TheContentsTabsSwitchAndATapAroundTheSheetClosesIt)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    const auto before = pageOnScreen(*reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemTOC));
    auto toc = presentedScreen<TOCViewController>(*reader);
    ASSERT_TRUE(toc);
    for (const auto& tab : { toc->resourcesButton(), toc->standardsButton(), toc->bookmarkButton(), toc->contentButton() }) {
        ASSERT_TRUE(tab);
        ASSERT_TRUE(tapAndSettle(*tab));
        EXPECT_EQ(toc->selectedButton(), tab->tag());
        picture("contents-tab-" + std::to_string(tab->tag()));
    }
    // The contents tab lists the book's chapters.
    EXPECT_GT(toc->tableView()->numberOfSections(), 1);

    ASSERT_TRUE(tapAndSettle(*toc->view(), aboveTheSheet));
    EXPECT_EQ(pageOnScreen(*reader), before);
    expectReading(*reader);
}

TEST_F(PanelJourney, APickedThumbnailTakesTheReaderToItsPage)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    const auto before = pageOnScreen(*reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemThumbnail));
    auto thumbnails = presentedScreen<LXThumbnailViewController>(*reader);
    ASSERT_TRUE(thumbnails);
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeThumbnails);
    picture("thumbnails");
    auto collection = thumbnails->collectionView();
    ASSERT_TRUE(collection);
    ASSERT_GT(collection->numberOfSections(), 1);
    ASSERT_TRUE(uitest::tapItem(*collection, { 1, 0 }));
    settle();
    EXPECT_NE(pageOnScreen(*reader), before) << "the renderer shows the picked page";
    expectReading(*reader);

    // Opened again, a tap around the strip closes it where the reader is.
    const auto picked = pageOnScreen(*reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemThumbnail));
    thumbnails = presentedScreen<LXThumbnailViewController>(*reader);
    ASSERT_TRUE(thumbnails);
    ASSERT_TRUE(tapAndSettle(*thumbnails->view(), aboveTheSheet));
    EXPECT_EQ(pageOnScreen(*reader), picked);
    expectReading(*reader);
}

TEST_F(PanelJourney, AFixedLayoutBooksThumbnailTakesTheReaderToItsPage)
{
    auto reader = open(SampleBook::FixedEpub);
    ASSERT_TRUE(reader);
    const auto before = pageOnScreen(*reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemThumbnail));
    auto thumbnails = presentedScreen<LXThumbnailViewController>(*reader);
    ASSERT_TRUE(thumbnails) << "the thumbnails are presented";
    picture("fixed-thumbnails");
    auto collection = thumbnails->collectionView();
    ASSERT_TRUE(collection && collection->numberOfSections() > 0);
    const int last = collection->numberOfSections() - 1;
    const int item = collection->numberOfItemsInSection(last) - 1;
    ASSERT_GE(item, 0);
    collection->scrollToItemAtIndexPath({ last, item }, ui::CollectionViewScrollPosition::CenteredHorizontally);
    ASSERT_TRUE(uitest::tapItem(*collection, { last, item }));
    settle();
    EXPECT_NE(pageOnScreen(*reader), before) << "the renderer shows the picked page";
    expectReading(*reader);
}

TEST_F(PanelJourney, SearchListsTheHitsAndARowShowsItsChapterMarked)
{
    auto reader = open(SampleBook::ReflowableEpub);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemSearch));
    auto panel = reader->search().searchTextView();
    ASSERT_TRUE(panel && panel->window());
    EXPECT_FALSE(uitest::visibleRectInWindow(*panel).isEmpty());
    EXPECT_TRUE(uitest::isTouchable(*panel->cancelBtn()));
    picture("search");
    ASSERT_TRUE(uitest::type(*panel->searchBar(), "storm"));
    panel->searchBar()->simulateReturn();
    settle();
    picture("search-hits");
    auto table = panel->tableView();
    ASSERT_GE(table->numberOfRowsInSection(0), 2) << "the storm is told of in two chapters";
    ASSERT_TRUE(uitest::tapRow(*table, { 0, 0 }));
    settle();
    picture("search-hit-shown");
    auto picked = reader->search().searchResult();
    ASSERT_TRUE(picked);
    const int64_t chapter = reader->search().getHrefFromFileIndex(picked->href);
    EXPECT_EQ(renderer->getActivePages().front().fileIndex, chapter);
    bool marked = false;
    for (const auto& mark : renderer->overlayForPage(chapter).searchMarks)
        marked = marked || mark.word == "storm";
    EXPECT_TRUE(marked) << "the hits are marked on the page";

    // The strip under the page steps to the next hit and back.
    ASSERT_TRUE(tapAndSettle(*panel->nextBtn()));
    auto next = reader->search().searchResult();
    ASSERT_TRUE(next);
    EXPECT_NE(next, picked) << "the next hit is the one shown";
    EXPECT_EQ(renderer->getActivePages().front().fileIndex, reader->search().getHrefFromFileIndex(next->href));
    ASSERT_TRUE(tapAndSettle(*panel->PrevBtn()));
    EXPECT_EQ(reader->search().searchResult(), picked);

    ASSERT_TRUE(tapAndSettle(*panel->cancelBtn()));
    EXPECT_FALSE(panel->window()) << "the search is gone";
    expectReading(*reader);
}

TEST_F(PanelJourney, MyDataListsAStoredHighlightAndATapAroundItClosesIt)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    auto renderer = rendererOf(*reader);
    const auto page = renderer->getActivePages().front();
    ASSERT_TRUE(renderer->selectWords(page.pageID, 1, 2));
    auto highlight = renderer->getHighlightForSelectedTextWithTextColor("#FFE082", "#FFE082");
    ASSERT_TRUE(highlight);
    ASSERT_TRUE(reader->context().dbManager->saveHighlight(highlight, "1001", std::stoll(m_userID)).ok());
    renderer->tapPoint(page.pageID, { 5, 5 });
    settle();

    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemMyData));
    auto myData = presentedScreen<LXMyDataViewController>(*reader);
    ASSERT_TRUE(myData);
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeMyData);
    picture("my-data");
    ASSERT_TRUE(tapAndSettle(*myData->highlightButton()));
    EXPECT_EQ(myData->tableView()->numberOfRowsInSection(0), 1) << "the stored highlight is listed";
    ASSERT_TRUE(tapAndSettle(*myData->notesButton()));
    picture("my-data-notes");

    ASSERT_TRUE(tapAndSettle(*myData->view(), aboveTheSheet)) << "the page around the sheet closes it";
    expectReading(*reader);
}

TEST_F(PanelJourney, OnAPhoneTheContentsAndMyDataFillTheScreenAndCloseWithTheirBackButtons)
{
    auto reader = open(SampleBook::PageBook, ui::UserInterfaceIdiom::Phone);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemTOC));
    auto toc = presentedScreen<TOCViewController>(*reader);
    ASSERT_TRUE(toc);
    picture("phone-contents");
    ASSERT_TRUE(toc->backButton());
    ASSERT_TRUE(tapAndSettle(*toc->backButton()));
    expectReading(*reader);

    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemMyData));
    auto myData = presentedScreen<LXMyDataViewController>(*reader);
    ASSERT_TRUE(myData);
    picture("phone-my-data");
    ASSERT_TRUE(tapAndSettle(*myData->backButtonIcon()));
    expectReading(*reader);
}

// A device and how it is held while the panels open.
using PanelHolding = HeldDevice;

class HeldPanelJourney : public Journey, public ::testing::WithParamInterface<PanelHolding> {
protected:
    std::shared_ptr<ReaderViewController> openHeld(SampleBook book)
    {
        auto reader = open(book, GetParam().idiom);
        if (!reader)
            return nullptr;
        holdAs(GetParam().orientation);
        return reader;
    }

    // Closed as a person closes it: the back button on a phone, the page around the sheet
    // on a tablet.
    void closePanel(ReaderViewController& reader, ui::View& root, const std::shared_ptr<ui::Button>& back)
    {
        if (GetParam().idiom == ui::UserInterfaceIdiom::Pad) {
            ASSERT_TRUE(tapAndSettle(root, ui::Point { 20, 20 }));
        } else {
            ASSERT_TRUE(back);
            ASSERT_TRUE(tapAndSettle(*back));
        }
        base::RunLoop::main().advanceBy(1);
        settle();
        expectReading(reader);
    }
};

TEST_P(HeldPanelJourney, EveryContentsTabShowsItsListAndThePanelCloses)
{
    auto reader = openHeld(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemTOC));
    auto toc = presentedScreen<TOCViewController>(*reader);
    ASSERT_TRUE(toc);
    picture("contents");
    // Every tab's title fits beside its neighbours.
    std::vector<std::shared_ptr<ui::Button>> tabs;
    for (const auto& tab : { toc->contentButton(), toc->standardsButton(), toc->bookmarkButton(), toc->resourcesButton() })
        if (tab && !tab->isHidden())
            tabs.push_back(tab);
    for (const auto& tab : tabs) {
        const auto frame = tab->titleLabel()->convertRectTo(tab->titleLabel()->bounds(), nullptr);
        for (const auto& other : tabs) {
            if (other == tab)
                continue;
            const auto next = other->titleLabel()->convertRectTo(other->titleLabel()->bounds(), nullptr);
            EXPECT_FALSE(frame.intersects(next)) << tab->currentTitle() << " runs into " << other->currentTitle();
        }
    }
    for (const auto& [tab, step] : { std::pair { toc->bookmarkButton(), "bookmarks" }, std::pair { toc->resourcesButton(), "resources" },
             std::pair { toc->contentButton(), "chapters" } }) {
        ASSERT_TRUE(tab);
        ASSERT_TRUE(tapAndSettle(*tab));
        EXPECT_EQ(toc->selectedButton(), tab->tag());
        picture(std::string("contents-") + step);
    }
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    closePanel(*reader, *toc->view(), toc->backButton());
}

// The thumbnail browser on a tablet, held either way (a phone held upright offers the
// page slider instead).
class HeldThumbnailJourney : public HeldPanelJourney { };

TEST_P(HeldThumbnailJourney, TheThumbnailsShowThePagesAndTakeTheReaderToOne)
{
    auto reader = openHeld(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    const auto before = pageOnScreen(*reader);
    testing::LayoutConflictLog conflicts;
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemThumbnail));
    auto thumbnails = presentedScreen<LXThumbnailViewController>(*reader);
    ASSERT_TRUE(thumbnails);
    picture("thumbnails");
    EXPECT_GT(thumbnails->collectionView()->numberOfSections(), 1);
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    ASSERT_TRUE(uitest::tapItem(*thumbnails->collectionView(), { 1, 0 }));
    settle();
    EXPECT_NE(pageOnScreen(*reader), before) << "the renderer shows the picked page";
    expectReading(*reader);
}

TEST_P(HeldPanelJourney, SearchListsItsHitsAndCloses)
{
    auto reader = openHeld(SampleBook::ReflowableEpub);
    ASSERT_TRUE(reader);
    testing::LayoutConflictLog conflicts;
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerBottomActionBarView, PlayerItemSearch));
    auto panel = reader->search().searchTextView();
    ASSERT_TRUE(panel && panel->window());
    picture("search");
    ASSERT_TRUE(uitest::type(*panel->searchBar(), "storm"));
    panel->searchBar()->simulateReturn();
    settle();
    picture("search-hits");
    ASSERT_GE(panel->tableView()->numberOfRowsInSection(0), 2);
    EXPECT_FALSE(uitest::visibleRectInWindow(*panel->tableView()).isEmpty()) << "the hits show above the bar";
    EXPECT_TRUE(conflicts.empty()) << conflicts.text();
    ASSERT_TRUE(tapAndSettle(*panel->cancelBtn()));
    EXPECT_FALSE(panel->window());
    expectReading(*reader);
}

INSTANTIATE_TEST_SUITE_P(Holdings, HeldThumbnailJourney,
    ::testing::Values(PanelHolding { ui::UserInterfaceIdiom::Pad, ui::Orientation::Portrait, "TabletUpright" },
        PanelHolding { ui::UserInterfaceIdiom::Pad, ui::Orientation::LandscapeLeft, "TabletTurned" }),
    heldDeviceName);

INSTANTIATE_TEST_SUITE_P(Holdings, HeldPanelJourney,
    everyHeldDevice(), heldDeviceName);

} // namespace
} // namespace lectoro::journeys
