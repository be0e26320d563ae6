// Reading aloud from the top bar, its bar and its colour palette; the audio and video
// sample books' player bars.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/media/readaloud/AudioSyncController.h"
#include "LectoroSDKWithReader/reader/chrome/LectoroPenToolColorPalleteViewController.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "platform/ui/Button.h"

namespace lectoro::journeys {
namespace {

class MediaJourney : public Journey {
protected:
    // A tap whose effect is looked at before the clock moves on (narration is short).
    static ::testing::AssertionResult tapNow(ui::View& view)
    {
        auto tapped = uitest::tap(view);
        base::RunLoop::main().runUntilIdle();
        return tapped;
    }
};

TEST_F(MediaJourney, ReadToMeNarratesThePageAndItsBarPausesRecoloursAndCloses)
{
    auto reader = open(SampleBook::PageBook);
    ASSERT_TRUE(reader);
    // Page 104 is narrated from the book's audio.
    auto renderer = rendererOf(*reader);
    renderer->navigateToPageNumber("104");
    settle();
    ASSERT_TRUE(tapBarItem(*reader, reader->context().playerTopActionBarView, PlayerItemReadAloud));
    auto chooser = presentedScreen<MVReadToMeViewController>(*reader);
    ASSERT_TRUE(chooser) << "the reading modes are offered";
    for (const auto& button : { chooser->letMeReadButton(), chooser->autoPlayButton(), chooser->readToMeButton(),
             chooser->closeReadToMeViewButton() })
        EXPECT_TRUE(uitest::isTouchable(*button));
    picture("read-aloud-modes");
    ASSERT_TRUE(tapAndSettle(*chooser->readToMeButton()));
    EXPECT_FALSE(reader->presentedViewController());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeReadAloud);
    auto sync = reader->readAloud().audioSyncController();
    ASSERT_TRUE(sync);
    EXPECT_TRUE(sync->isPlaying());
    EXPECT_EQ(sync->audioPlayingForPageIdentifier(), "104");
    EXPECT_TRUE(renderer->overlayForPage(104).wordFrame) << "the word read is marked on the page";

    // The narration bar: every item under a finger.
    auto bar = reader->readAloud().playerBottomActionBarViewForAudioSync();
    ASSERT_TRUE(bar && bar->window());
    for (const auto& item : bar->items())
        EXPECT_TRUE(uitest::isTouchable(*item)) << "narration bar item " << item->tag();
    picture("read-to-me");

    // Pause and play again.
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemPlayPause)));
    EXPECT_FALSE(sync->isPlaying());
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemPlayPause)));
    EXPECT_TRUE(sync->isPlaying());

    // The speed column: a faster option plays faster.
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemSpeedRate)));
    auto speeds = reader->readAloud().viewForSpeedSelection();
    ASSERT_TRUE(speeds && speeds->window()) << "the speed options show";
    picture("read-aloud-speeds");
    ASSERT_FALSE(speeds->optionsArray().empty());
    const float before = sync->rate();
    ASSERT_TRUE(tapNow(*speeds->optionsArray().front()));
    EXPECT_NE(sync->rate(), before);
    EXPECT_FALSE(speeds->window()) << "picking a speed closes the column";

    // A swatch of the bar recolours the narration's marks on the page.
    std::shared_ptr<PlayerActionBarItem> last;
    for (const auto& item : bar->items()) {
        if (item->tag() == PlayerItemAudioSyncColorSwatch)
            last = item;
    }
    ASSERT_TRUE(last);
    ASSERT_TRUE(tapNow(*last));
    const auto colour = reader->context().audioSyncSelectedColor;
    EXPECT_FALSE(colour.empty());
    EXPECT_EQ(renderer->settings().audioSyncFrameColor, colour);

    // Closing stops the narration and gives the page back.
    ASSERT_TRUE(tapNow(*bar->itemWithTag(PlayerItemMarkupClose)));
    settle();
    EXPECT_FALSE(reader->readAloud().isAudioSyncPlaying());
    EXPECT_FALSE(bar->window());
    expectReading(*reader);
}

} // namespace
} // namespace lectoro::journeys
