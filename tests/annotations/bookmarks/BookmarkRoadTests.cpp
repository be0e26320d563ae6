// The bookmark road: icons per page with their colours, the pop-up by device, storing and
// deleting what it hands back, and which icon the help overlay explains.

#include "annotations/pen/PenTestSupport.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Presentation.h"

namespace lectoro::pentest {
namespace {

class BookmarkRoadTests : public PenRoadTest {
protected:
    std::shared_ptr<SDKBookmarkVO> savedBookmark(const std::string& localID, const std::string& pageID,
        const std::string& display)
    {
        auto record = std::make_shared<SDKBookmarkVO>();
        record->localID = localID;
        record->title = "mark " + localID;
        record->pageIdentifier = pageID;
        record->displayNum = display;
        EXPECT_TRUE(m_store->saveBookmark(record, "42", 5000000000).ok());
        return record;
    }

    void drawBoth()
    {
        bookmarks().addBookmarkOnPageNumber("10", "iv");
        bookmarks().addBookmarkOnPageNumber("11", "v");
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }

    std::vector<std::shared_ptr<SDKBookmarkVO>> storedBookmarks(const std::string& pageID, const std::string& display)
    {
        return m_store->bookmarkForPageID(pageID, display, "42", 5000000000);
    }
};

TEST_F(BookmarkRoadTests, BothPagesOfASpreadGetTheirColoursAndTheirOwnRecords)
{
    savedBookmark("b10", "10", "iv");
    savedBookmark("b11", "11", "v");
    drawBoth();

    for (int64_t page : { 10, 11 }) {
        auto icon = bookmarks().bookMarkViewForPage(page);
        ASSERT_TRUE(icon) << page;
        EXPECT_EQ(icon->tag(), BookmarkRoad::bookmarkViewTag);
        EXPECT_EQ(icon->pageNumber(), page);
        // Setting the record shows whichever colour its state calls for: both are the theme's.
        icon->setBookmarkVO(std::make_shared<SDKBookmarkVO>());
        EXPECT_EQ(icon->iconLabel()->textColor(), ui::Color::blue()) << page;
        icon->setBookmarkVO(nullptr);
        EXPECT_EQ(icon->iconLabel()->textColor(), ui::Color::red()) << page;
    }
    auto handed = m_renderer->callsNamed("addBookmark");
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[0].arguments.at(1).integerValue() + handed[1].arguments.at(1).integerValue(), 21);
    EXPECT_EQ(m_renderer->countOf("addBookmarkView"), 2u);
}

TEST_F(BookmarkRoadTests, APageWithoutABookmarkHandsNoListButItsIconIsColoured)
{
    bookmarks().addBookmarkOnPageNumber("10", "iv");
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(m_renderer->countOf("addBookmark"), 0u);
    EXPECT_EQ(bookmarks().bookMarkView()->iconLabel()->textColor(), ui::Color::red());
}

TEST_F(BookmarkRoadTests, ThePortraitOrAnOddPageGivesTheHelpOverlayItsIcon)
{
    struct Case {
        ui::Orientation orientation;
        const char* page;
        bool becomesHelpIcon;
    };
    const Case cases[] = {
        { ui::Orientation::Portrait, "10", true },
        { ui::Orientation::PortraitUpsideDown, "10", true },
        { ui::Orientation::LandscapeLeft, "10", false },
        { ui::Orientation::LandscapeLeft, "11", true },
    };
    for (const auto& c : cases) {
        m_penHost.helpBookmarkView.reset();
        ui::Environment::current().setInterfaceOrientation(c.orientation);
        bookmarks().addBookmarkOnPageNumber(c.page, c.page);
        EXPECT_EQ(m_penHost.helpBookmarkView == bookmarks().bookMarkView(), c.becomesHelpIcon) << c.page;
    }
    // A shown overlay lays itself out again a moment later.
    m_penHost.helpShown = true;
    bookmarks().addBookmarkOnPageNumber("11", "v");
    EXPECT_EQ(m_penHost.helpRefreshes, 0);
    base::RunLoop::main().advanceBy(0.3);
    EXPECT_EQ(m_penHost.helpRefreshes, 1);
    base::waitForBackgroundWork();
}

TEST_F(BookmarkRoadTests, OnAPhoneThePopupIsACardOverABackdropThatClosesIt)
{
    m_context.backgroundActiveMode = ReaderActiveModeSearch;
    m_renderer->setBookmarkAnswer(std::make_shared<SDKBookmarkVO>());
    drawBoth();
    auto icon = bookmarks().bookMarkViewForPage(10);
    icon->tap();
    auto popup = bookmarks().bookMarkController();
    ASSERT_TRUE(popup);
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeBookmark);
    EXPECT_EQ(popup->parentViewController().get(), m_penHost.controller.get());
    auto frame = popup->view()->frame();
    auto reader = m_penHost.controller->view()->bounds();
    EXPECT_DOUBLE_EQ(frame.size.width, 260);
    EXPECT_DOUBLE_EQ(frame.size.height, 43);
    EXPECT_DOUBLE_EQ(frame.maxX(), reader.maxX() - 16);
    EXPECT_DOUBLE_EQ(frame.origin.y, 48);
    EXPECT_DOUBLE_EQ(popup->panel()->layer()->cornerRadius(), 11.0);
    EXPECT_TRUE(popup->textField()->attributedPlaceholder());
    EXPECT_NE(std::find(m_penHost.calls.begin(), m_penHost.calls.end(), "closeAudioSync"), m_penHost.calls.end());

    auto backdrop = bookmarks().backdrop();
    ASSERT_TRUE(backdrop);
    ASSERT_TRUE(uitest::tap(*backdrop));
    EXPECT_FALSE(bookmarks().bookMarkController());
    EXPECT_FALSE(backdrop->superview());
    EXPECT_FALSE(popup->view()->superview());
    EXPECT_EQ(m_context.activeMode, ReaderActiveModeSearch);
}

TEST_F(BookmarkRoadTests, OnATabletThePopupIsAPopoverFromTheIcon)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    drawBoth();
    auto icon = bookmarks().bookMarkViewForPage(11);
    icon->tap();
    auto popup = bookmarks().bookMarkController();
    ASSERT_TRUE(popup);
    EXPECT_EQ(m_penHost.controller->presentedViewController(), popup);
    EXPECT_EQ(popup->preferredContentSize(), ui::Size(256, 46));
    EXPECT_EQ(popup->popoverPresentationController()->sourceView(), icon);
    EXPECT_EQ(popup->popoverPresentationController()->permittedArrowDirections(), ui::PopoverArrowDirection::None);
    uitest::completePresentations();

    bookmarks().removeBookmarkVC();
    uitest::completePresentations();
    EXPECT_FALSE(m_penHost.controller->presentedViewController());
}

TEST_F(BookmarkRoadTests, TappingTheSameIconWhileItsPopupIsOpenDoesNothing)
{
    auto record = savedBookmark("b10", "10", "iv");
    m_renderer->setBookmarkAnswer(record);
    drawBoth();
    auto icon = bookmarks().bookMarkViewForPage(10);
    icon->setBookmarkVO(record);
    icon->tap();
    auto first = bookmarks().bookMarkController();
    icon->tap();
    EXPECT_EQ(bookmarks().bookMarkController(), first);
    EXPECT_EQ(m_renderer->countOf("getBookmarkVOForPageNo"), 1u);
}

TEST_F(BookmarkRoadTests, ASavedBookmarkLeavesThePopupOpenAndADeletedOneClosesIt)
{
    drawBoth();
    bookmarks().bookMarkViewForPage(10)->tap();
    auto record = std::make_shared<SDKBookmarkVO>();
    record->localID = "new";
    record->title = "Chapter start";
    record->pageIdentifier = "10";
    record->displayNum = "iv";
    bookmarks().didBookmarkCompleteWithBookmarkVO(record);
    auto stored = storedBookmarks("10", "iv");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->bookVersion, "3.1");
    EXPECT_TRUE(bookmarks().bookMarkController());
    EXPECT_EQ(m_renderer->countOf("setBookmarkVO"), 1u);

    record->status = UGCStatusDeleted;
    bookmarks().didBookmarkCompleteWithBookmarkVO(record);
    EXPECT_TRUE(storedBookmarks("10", "iv").empty());
    EXPECT_FALSE(bookmarks().bookMarkController());
    ASSERT_EQ(m_analytics->live.size(), 2u);
    EXPECT_EQ(m_analytics->live[0].name, std::optional<std::string>("bookmark_data_live"));
}

TEST_F(BookmarkRoadTests, APopupThatHandsBackNothingStillCountsButStoresNothing)
{
    bookmarks().didBookmarkCompleteWithBookmarkVO(nullptr);
    ASSERT_EQ(m_analytics->live.size(), 1u);
    EXPECT_EQ(m_analytics->live[0].name, std::optional<std::string>("bookmark_data_live"));
    EXPECT_EQ(m_renderer->countOf("setBookmarkVO"), 0u);
}

TEST_F(BookmarkRoadTests, TheCurrentIconIsNamedByWhetherItIsBookmarked)
{
    bookmarks().addAccessibilityOnBookmark();
    drawBoth();
    bookmarks().addAccessibilityOnBookmark();
    EXPECT_EQ(bookmarks().bookMarkView()->accessibilityIdentifier(), "ReaderAddBookmarkButton");
    bookmarks().bookMarkView()->setBookmarkVO(std::make_shared<SDKBookmarkVO>());
    bookmarks().addAccessibilityOnBookmark();
    EXPECT_EQ(bookmarks().bookMarkView()->accessibilityIdentifier(), "ReaderUpdateBookmarkButton");
}

} // namespace
} // namespace lectoro::pentest
