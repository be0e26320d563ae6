// The player views as a person meets them: the cover the audio view shows for each kind of
// thumbnail address a host may hand over, and the video controls whose icon and spoken label
// follow what a tap turned on.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/ui/Environment.h"
#include "platform/ui/ImageView.h"

#include "platform/media/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace lectoro {
namespace {

std::shared_ptr<ui::ImageView> coverOf(MVAudioBookPlayerViewController& player)
{
    auto container = player.getThumbnailContainerView();
    return container->subviews().empty() ? nullptr : std::dynamic_pointer_cast<ui::ImageView>(container->subviews().front());
}

TEST(MediaPlayerViews, TheCoverIsTheBooksPictureOrAPlainOneButNeverEmpty)
{
    mediatest::TemporaryFolder folder;
    const std::string picture = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook/assets/thumbnails/page-104.png";
    const std::string notAPicture = folder.write("cover.png", "not a picture at all");
    struct Case {
        const char* name;
        std::string address;
        bool showsTheBooksPicture;
    };
    const Case cases[] = {
        { "a file address", "file://" + picture, true },
        { "a plain path", picture, true },
        { "no address", "", false },
        { "a web address (nothing is fetched)", "https://covers.invalid/9101.png", false },
        { "a file that is missing", "file:///nowhere/cover.png", false },
        { "a file that is no picture", "file://" + notAPicture, false },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        auto model = std::make_shared<MVMediaBookModel>();
        model->thumbnailURL = testCase.address;
        auto player = MVAudioBookPlayerViewController::create(model);
        auto cover = coverOf(*player);
        ASSERT_TRUE(cover && cover->image()) << "the cover shows a picture";
        EXPECT_EQ(cover->image()->filePath() == picture, testCase.showsTheBooksPicture);
        EXPECT_GT(cover->image()->size().width, 0);
    }
}

TEST(MediaPlayerViews, TheVideosMuteAndFullScreenControlsShowAndSayWhatATapTurnedOn)
{
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto model = std::make_shared<MVMediaBookModel>();
    auto player = MVVideoBookPlayerViewController::create(model, nullptr);
    player->view()->setFrame(ui::Rect { { 0, 0 }, { 768, 480 } });
    uitest::showInWindow(player);
    uitest::settleLayout();
    struct Case {
        const char* identifier;
        const char* offLabel;
        const char* onLabel;
    };
    for (const Case& control : { Case { "MediaVideoMuteButton", "Mute", "Unmute" },
             Case { "MediaVideoFullScreenButton", "Full screen", "Exit full screen" } }) {
        SCOPED_TRACE(control.identifier);
        auto button = player->button(control.identifier);
        ASSERT_TRUE(button);
        const std::string offGlyph = button->currentTitle();
        EXPECT_EQ(button->accessibilityLabel(), control.offLabel);
        ASSERT_TRUE(uitest::tap(*button));
        EXPECT_NE(button->currentTitle(), offGlyph) << "the icon changes";
        EXPECT_EQ(button->accessibilityLabel(), control.onLabel);
        ASSERT_TRUE(uitest::tap(*button));
        EXPECT_EQ(button->currentTitle(), offGlyph);
        EXPECT_EQ(button->accessibilityLabel(), control.offLabel);
    }
}

} // namespace
} // namespace lectoro
