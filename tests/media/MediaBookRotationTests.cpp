// The player screen shown in the window as a host shows it, turned as a user turns the
// device: where the player, the side panel and the media buttons end up, when the turn is
// announced, and the bookmark marks of a video built on a phone held sideways.

#include "media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "platform/base/NotificationCenter.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/Landing.h"
#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"

namespace mediatest {
namespace {

using lectoro::MVLectoroMediaBookReader;

class MediaBookRotation : public MediaTest {
protected:
    void TearDown() override
    {
        ui::setKeyWindowRootViewController(nullptr);
        MediaTest::TearDown();
    }

    // The sample book on a device held as `orientation`, its screen shown in the window.
    std::shared_ptr<MVLectoroMediaBookReader> show(bool video, bool pad, ui::Orientation orientation,
        const std::vector<std::shared_ptr<lectoro::SDKBookmarkVO>>& marks = {})
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(pad ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        const ui::Size upright = pad ? ui::Size(768, 1024) : ui::Size(390, 844);
        environment.setScreenSize(
            ui::isLandscape(orientation) ? ui::Size(upright.height, upright.width) : upright);
        environment.setInterfaceOrientation(orientation);
        environment.setDeviceOrientation(orientation);
        environment.makeKeyWindow();
        m_controller->enabledNextPreviousFeature(true);
        launchSample(video ? "sample-videobook" : "sample-audiobook", !video, video ? 9102 : 9101);
        auto reader = m_controller->mediaReader();
        if (!marks.empty())
            reader->setBookmarks(marks);
        // A stored position is applied before the screen appears.
        advance(0.5);
        uitest::showInWindow(m_controller);
        advance(0.1);
        return reader;
    }

    void turnTo(ui::Orientation orientation)
    {
        auto& environment = ui::Environment::current();
        environment.rotateTo(orientation);
        uitest::transitionToSize(m_controller, environment.screenSize());
    }

    static ui::Rect onScreen(const ui::View& view)
    {
        uitest::settleLayout();
        return view.convertRectTo(view.bounds(), ui::Environment::current().keyWindow().get());
    }

    static std::vector<std::shared_ptr<ui::View>> marksOn(const ui::View& view)
    {
        std::vector<std::shared_ptr<ui::View>> marks;
        for (const auto& subview : view.subviews())
            if (subview->accessibilityIdentifier() == "MediaBookmarkMark")
                marks.push_back(subview);
        return marks;
    }
};

TEST_F(MediaBookRotation, ATabletTurnedUprightFillsTheScreenWithThePlayerAndThePanelBelowIt)
{
    auto reader = show(false, true, ui::Orientation::LandscapeLeft);
    ASSERT_TRUE(reader && reader->tocController() && reader->audioPlayerVC());
    auto panel = reader->tocController()->view();
    auto player = reader->audioPlayerVC()->view();

    // Whoever hears of the turn finds the screen already laid out for it.
    std::vector<ui::Rect> panelWhenAnnounced;
    auto token
        = base::NotificationCenter::defaultCenter().addObserver(lectoro::MVAudioBookViewOrientationChanged,
            nullptr, [&](const base::Notification&) { panelWhenAnnounced.push_back(onScreen(*panel)); });
    turnTo(ui::Orientation::Portrait);
    advance(0.5);

    const ui::Rect playerFrame = onScreen(*player);
    const ui::Rect panelFrame = onScreen(*panel);
    EXPECT_EQ(playerFrame.minY(), 0);
    EXPECT_EQ(panelFrame.minY(), playerFrame.maxY()) << "the panel touches the player";
    EXPECT_EQ(panelFrame.maxY(), 1024) << "the panel ends at the screen's bottom edge";
    EXPECT_EQ(panelFrame.width(), 768);
    EXPECT_EQ(playerFrame.width(), 768);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panelWhenAnnounced, (std::vector<ui::Rect> { panelFrame }));
}

TEST_F(MediaBookRotation, AVideosMediaButtonsAreCentredOnThePictureWhenTheTurnIsAnnounced)
{
    auto reader = show(true, true, ui::Orientation::LandscapeLeft);
    advance(0.1);
    ASSERT_TRUE(reader && reader->videoPlayerView() && reader->previousMediaButton());
    auto videoView = reader->videoPlayerView()->view();
    auto picture = reader->videoPlayerView()->videoPlayerView();
    ASSERT_TRUE(picture);
    ASSERT_EQ(reader->previousMediaButton()->superview(), videoView);

    struct Seen {
        double buttons;
        double picture;
    };
    std::vector<Seen> seen;
    auto token = base::NotificationCenter::defaultCenter().addObserver(
        lectoro::MVAudioBookViewOrientationChanged, nullptr, [&](const base::Notification&) {
            seen.push_back({ reader->previousMediaButton()->frame().midY(),
                picture->convertRectTo(picture->bounds(), videoView.get()).midY() });
        });
    turnTo(ui::Orientation::Portrait);
    advance(0.5);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].buttons, seen[0].picture);
    EXPECT_EQ(seen[0].picture, videoView->bounds().midY())
        << "the picture fills the video view it was turned with";
    EXPECT_EQ(reader->nextMediaButton()->frame().midY(), seen[0].picture);
}

struct MediaBookBuildMarksCase {
    const char* name;
    ui::Orientation orientation;
    bool redrawn;
};

class MediaBookBuildMarks : public MediaBookRotation,
                            public ::testing::WithParamInterface<MediaBookBuildMarksCase> { };

TEST_P(MediaBookBuildMarks, OnlyAVideoBuiltOnAPhoneHeldSidewaysRedrawsItsBookmarkMarks)
{
    auto bookmark = std::make_shared<lectoro::SDKBookmarkVO>();
    bookmark->localID = "mark-1";
    bookmark->metaData
        = base::Value::Dictionary { { "CurrentTime", int64_t(1) }, { "FileName", "master.m3u8" } };
    // The book reopens where it was left, so the chapter is known when the screen is built.
    m_controller->setLastPageFolio(
        std::string(R"({"FileName":"master.m3u8","chapterName":"Colours","CurrentTime":2})"));
    auto reader = show(true, false, GetParam().orientation, { bookmark });
    ASSERT_TRUE(reader && reader->videoPlayerView());
    auto videoView = reader->videoPlayerView()->view();
    auto before = marksOn(*videoView);
    advance(0.2);
    auto after = marksOn(*videoView);
    if (GetParam().redrawn) {
        ASSERT_EQ(after.size(), 1u) << "one mark for the chapter's bookmark";
        EXPECT_NE(after, before);
    } else {
        EXPECT_EQ(after, before);
    }
}

INSTANTIATE_TEST_SUITE_P(MediaBookRotation, MediaBookBuildMarks,
    ::testing::Values(MediaBookBuildMarksCase { "sideways", ui::Orientation::LandscapeLeft, true },
        MediaBookBuildMarksCase { "upright", ui::Orientation::Portrait, false }),
    [](const ::testing::TestParamInfo<MediaBookBuildMarksCase>& info) {
        return std::string(info.param.name);
    });

struct MediaBookCoverCase {
    const char* name;
    bool pad;
    ui::Orientation orientation;
};

class MediaBookCoverUnderTheBar : public MediaBookRotation,
                                  public ::testing::WithParamInterface<MediaBookCoverCase> { };

TEST_P(MediaBookCoverUnderTheBar, TheTopBarLeavesTheWholeCoverAndTheControlsInSight)
{
    auto reader = show(false, GetParam().pad, GetParam().orientation);
    ASSERT_TRUE(reader && reader->audioPlayerVC() && reader->playerTopBar());
    auto audio = reader->audioPlayerVC();
    const ui::Rect cover = onScreen(*audio->getThumbnailContainerView());
    const ui::Rect bar = onScreen(*reader->playerTopBar());
    EXPECT_FALSE(reader->playerTopBar()->isHidden());
    EXPECT_GE(cover.minY(), bar.maxY()) << "the cover starts below the top bar";
    EXPECT_EQ(uitest::visibleRectInWindow(*audio->getThumbnailContainerView()), cover) << "nothing clips the cover";
    for (const char* identifier : { "MediaPreviousChapterButton", "MediaRewindButton", "MediaPlayPauseButton",
             "MediaForwardButton", "MediaNextChapterButton", "MediaBookmarkButton", "MediaNarrationSpeedButton" }) {
        auto button = audio->button(identifier);
        ASSERT_TRUE(button) << identifier;
        if (button->isEnabled()) {
            EXPECT_TRUE(uitest::isTouchable(*button)) << identifier;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MediaBookRotation, MediaBookCoverUnderTheBar,
    ::testing::Values(MediaBookCoverCase { "PhoneUpright", false, ui::Orientation::Portrait },
        MediaBookCoverCase { "PhoneSideways", false, ui::Orientation::LandscapeLeft },
        MediaBookCoverCase { "TabletUpright", true, ui::Orientation::Portrait },
        MediaBookCoverCase { "TabletSideways", true, ui::Orientation::LandscapeLeft }),
    [](const ::testing::TestParamInfo<MediaBookCoverCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace mediatest
