// The bookmark pop-over on a tablet in the assembled reader: a page of the sample page book
// bookmarked through its pop-over, the pop-over tapped away, and the page's icon opening it
// again, with the reader back in its plain mode in between.

#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/TextField.h"

namespace lectoro {
namespace {

class BookmarkPopoverJourney : public testing::ReaderJourneyTest {
protected:
    void SetUp() override
    {
        ReaderJourneyTest::SetUp();
        auto& environment = ui::Environment::current();
        environment.setIdiom(ui::UserInterfaceIdiom::Pad);
        environment.setScreenSize({ 1024, 768 });
    }
};

TEST_F(BookmarkPopoverJourney, AfterATapOutsideThePageIconOpensItsPopoverAgain)
{
    auto settings = std::make_shared<MVReaderSettingModel>();
    settings->setIsBookmarkEnabled(true);
    settings->setIsTextAnnotationEnabled(true);
    auto reader = openPageBook(settings);
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer && !renderer->getActivePages().empty());
    const auto page = renderer->getActivePages().front();
    auto icon = reader->bookmarkRoad().bookMarkViewForPage(page.pageID);
    ASSERT_TRUE(icon);

    // The page is bookmarked through its pop-over.
    ASSERT_TRUE(testing::tapAsUser(*icon));
    settle();
    auto first = reader->bookmarkRoad().bookMarkController();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->presentingViewController().get(), reader.get());
    EXPECT_TRUE(first->view()->isInWindow());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeBookmark);
    ASSERT_TRUE(uitest::type(*first->textField(), "Start here"));
    first->textField()->simulateReturn();
    auto stored = reader->context().dbManager->bookmarkForPageID(std::to_string(page.pageID), page.displayNum,
        std::to_string(reader->bookID()), reader->user()->numericUserID());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->title, "Start here");
    EXPECT_TRUE(icon->isSelected());
    EXPECT_FALSE(reader->textAnnotationShouldBeginEditing());

    // A tap outside closes it, and the reader is back to plain reading.
    ASSERT_TRUE(uitest::tapOutsidePopover(first));
    settle();
    EXPECT_FALSE(first->presentingViewController());
    EXPECT_FALSE(first->textField()->isFirstResponder());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);
    EXPECT_TRUE(reader->textAnnotationShouldBeginEditing());

    // The icon opens the page's pop-over again, on the stored bookmark.
    ASSERT_TRUE(testing::tapAsUser(*icon));
    settle();
    auto again = reader->bookmarkRoad().bookMarkController();
    ASSERT_TRUE(again);
    EXPECT_NE(again, first);
    EXPECT_EQ(again->presentingViewController().get(), reader.get());
    EXPECT_TRUE(again->view()->isInWindow());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeBookmark);
    ASSERT_TRUE(again->getBookmarkVO());
    EXPECT_EQ(again->textField()->text(), "Start here");
}

} // namespace
} // namespace lectoro
