// The pen and the bookmark icon on the sample page book through the companion framework
// itself: a stroke drawn on the renderer's canvas is stored and drawn, delete-all removes
// it after "YES"; a bookmark named in its pop-up is stored and shown again on reopening.

#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/bookmarks/BookmarkRoad.h"
#include "LectoroSDKWithReader/annotations/pen/PenRoad.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/TextField.h"

namespace lectoro {
namespace {

class PenBookmarkEndToEndTests : public testing::CompanionEndToEndTest {
protected:
    std::shared_ptr<ReaderViewController> open()
    {
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsBookmarkEnabled(true);
        settings->setIsPenToolEnabled(true);
        m_launcher->launchBook(samplePageBook("1001"), makeUser("6000000001"), serviceConfiguration(), settings, false);
        base::RunLoop::main().advanceBy(1);
        base::waitForBackgroundWork();
        base::RunLoop::main().advanceBy(1);
        return m_launcher->reader();
    }

    void close(ReaderViewController& reader)
    {
        reader.didTapOnBackButton();
        base::RunLoop::main().advanceBy(1);
        base::waitForBackgroundWork();
    }

    std::vector<std::shared_ptr<SDKPentoolVO>> strokesOn(ReaderViewController& reader, const RendererPage& page)
    {
        return reader.context().dbManager->pentoolDrawingForPageID(std::to_string(page.pageID), page.displayNum,
            std::to_string(reader.bookID()), reader.user()->numericUserID());
    }
};

TEST_F(PenBookmarkEndToEndTests, AStrokeOnTheCanvasIsStoredDrawnAndDeletedAfterYes)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer && renderer->isBookLoaded());
    auto page = renderer->getActivePages().at(0);

    reader->annotations().actionForPentool();
    base::RunLoop::main().advanceBy(1);
    auto controller = reader->penRoad().penToolController();
    ASSERT_TRUE(controller);
    auto remove = reader->penRoad().getPenToolItemWithTag(PlayerItemPenDeleteSelection);
    ASSERT_TRUE(remove);
    EXPECT_DOUBLE_EQ(remove->alpha(), 0.5);

    auto canvas = std::dynamic_pointer_cast<PenDrawingCanvas>(renderer->getPenDrawingCanvas());
    ASSERT_TRUE(canvas);
    auto pages = canvas->canvasPages();
    ASSERT_FALSE(pages.empty());
    auto frame = pages.front().frame;
    controller->drawStroke({ { frame.midX() - 20, frame.midY() }, { frame.midX(), frame.midY() + 10 },
        { frame.midX() + 20, frame.midY() } });

    auto stored = strokesOn(*reader, page);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->bookVersion, reader->context().bookVersion);
    EXPECT_EQ(stored[0]->penColor, "#000000");
    EXPECT_EQ(renderer->overlayForPage(page.pageID).penDrawings.size(), 1u);
    EXPECT_DOUBLE_EQ(remove->alpha(), 1.0);

    reader->annotations().actionForPentoolDeleteSelection();
    ASSERT_TRUE(uitest::tapAction("YES"));
    uitest::completePresentations();
    EXPECT_TRUE(strokesOn(*reader, page).empty());
    EXPECT_DOUBLE_EQ(remove->alpha(), 0.5);

    reader->annotations().actionForPentool();
    base::RunLoop::main().advanceBy(1);
    EXPECT_FALSE(reader->penRoad().penToolController());
    EXPECT_FALSE(reader->context().penToolActionBarView);
    close(*reader);
}

TEST_F(PenBookmarkEndToEndTests, ABookmarkNamedInItsPopupIsStoredAndShownOnReopening)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer && renderer->isBookLoaded());
    int64_t page = renderer->getActivePages().at(0).pageID;
    auto icon = reader->bookmarkRoad().bookMarkViewForPage(page);
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->isSelected());
    EXPECT_EQ(renderer->overlayForPage(page).bookmarkView, icon);

    icon->tap();
    auto popup = reader->bookmarkRoad().bookMarkController();
    ASSERT_TRUE(popup);
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeBookmark);
    popup->textField()->setText("Start here");
    popup->completeBookmark();

    auto stored = reader->context().dbManager->bookMarkBookID(std::to_string(reader->bookID()),
        reader->user()->numericUserID());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->title, "Start here");
    EXPECT_EQ(stored[0]->bookVersion, reader->context().bookVersion);
    EXPECT_TRUE(icon->isSelected());
    close(*reader);

    reader = open();
    ASSERT_TRUE(reader);
    auto again = reader->bookmarkRoad().bookMarkViewForPage(page);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->isSelected());
    EXPECT_EQ(again->bookmarkVO()->title, "Start here");
}

} // namespace
} // namespace lectoro
