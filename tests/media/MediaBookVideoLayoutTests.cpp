#include "LectoroSDKWithReader/media/player/MediaBookVideoLayout.h"

#include <gtest/gtest.h>

using namespace lectoro;
using ui::Rect;

namespace {

MediaBookScreenMetrics videoLayoutMetrics(bool pad, int orientation, ui::Size frame, bool fullScreen = false,
    bool rightToLeft = false, bool video = true)
{
    MediaBookScreenMetrics metrics;
    metrics.pad = pad;
    metrics.video = video;
    metrics.deviceOrientation = orientation;
    metrics.frame = frame;
    metrics.insets = { 47, 0, 34, 0 };
    metrics.rightToLeft = rightToLeft;
    metrics.contentViewSize = mediaBookContentViewSize(frame);
    metrics.topBarHeight = mediaBookTopBarHeight(pad);
    metrics.videoFullScreen = fullScreen;
    return metrics;
}

} // namespace

TEST(MediaBookVideoLayout, PictureFrameByDeviceOrientationDirectionAndFullScreen)
{
    struct Case {
        const char* name;
        MediaBookScreenMetrics metrics;
        std::optional<Rect> frame;
        bool panelHidden = false;
    };
    const Case cases[] = {
        { "iPad portrait", videoLayoutMetrics(true, 1, { 768, 1024 }), Rect(0, 47, 768, 0.48 * 1024) },
        { "iPad landscape, left to right", videoLayoutMetrics(true, 3, { 1024, 768 }),
            Rect(0, 70, 0.6 * 1024, 384) },
        // The picture sits on the right 60 %, from 40 % of the width.
        { "iPad landscape, right to left", videoLayoutMetrics(true, 4, { 1024, 768 }, false, true),
            Rect(0.4 * 1024, 70, 0.6 * 1024, 384) },
        // A portrait device whose frame is wider than tall takes the landscape row.
        { "iPad wide frame, portrait device", videoLayoutMetrics(true, 1, { 1024, 768 }),
            Rect(0, 70, 0.6 * 1024, 384) },
        { "iPhone portrait", videoLayoutMetrics(false, 1, { 390, 844 }), Rect(0, 47, 390, 0.42 * 844) },
        { "iPhone landscape keeps its frame", videoLayoutMetrics(false, 3, { 844, 390 }), std::nullopt },
        { "iPad full screen", videoLayoutMetrics(true, 3, { 1024, 768 }, true), Rect(0, 0, 1024, 768), true },
        { "iPhone full screen", videoLayoutMetrics(false, 1, { 390, 844 }, true), Rect(0, 0, 390, 844),
            true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto placed = mediaBookVideoPlayerFrame(c.metrics);
        EXPECT_EQ(placed.frame, c.frame);
        EXPECT_EQ(placed.panelHidden, c.panelHidden);
    }
}

TEST(MediaBookVideoLayout, OnlyAPhoneInLandscapeOutsideBothFullScreensIsTurnedUpright)
{
    EXPECT_TRUE(mediaBookVideoTurnsDeviceToPortrait(videoLayoutMetrics(false, 3, { 844, 390 }), false));
    EXPECT_TRUE(mediaBookVideoTurnsDeviceToPortrait(videoLayoutMetrics(false, 4, { 844, 390 }), false));
    EXPECT_FALSE(
        mediaBookVideoTurnsDeviceToPortrait(videoLayoutMetrics(false, 3, { 844, 390 }, true), false));
    EXPECT_FALSE(mediaBookVideoTurnsDeviceToPortrait(videoLayoutMetrics(false, 3, { 844, 390 }), true));
    EXPECT_FALSE(mediaBookVideoTurnsDeviceToPortrait(videoLayoutMetrics(false, 1, { 390, 844 }), false));
    EXPECT_FALSE(mediaBookVideoTurnsDeviceToPortrait(videoLayoutMetrics(true, 3, { 1024, 768 }), false));
}

TEST(MediaBookVideoLayout, VideoHidesTheSleepButtonAndTheTopBarWhereThePictureNeedsTheRoom)
{
    struct Case {
        const char* name;
        MediaBookScreenMetrics metrics;
        bool sleepHidden;
        std::optional<bool> topBarHidden;
    };
    const Case cases[] = {
        { "audio leaves the top bar alone", videoLayoutMetrics(true, 1, { 768, 1024 }, false, false, false),
            false, std::nullopt },
        { "iPhone video", videoLayoutMetrics(false, 3, { 844, 390 }), true, true },
        { "iPad video, taller than wide", videoLayoutMetrics(true, 1, { 768, 1024 }), true, true },
        { "iPad video, landscape", videoLayoutMetrics(true, 3, { 1024, 768 }), true, false },
        { "iPad video, landscape full screen", videoLayoutMetrics(true, 3, { 1024, 768 }, true), true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto visibility = mediaBookBarVisibility(c.metrics);
        EXPECT_EQ(visibility.sleepButtonHidden, c.sleepHidden);
        EXPECT_EQ(visibility.topBarHidden, c.topBarHidden);
    }
}

TEST(MediaBookVideoLayout, NextPreviousButtonsSitBesideTheCoverOrInsideThePicture)
{
    struct Case {
        const char* name;
        bool video, pad, landscape;
        double font, previous, next;
    };
    const ui::EdgeInsets notch { 0, 47, 21, 44 };
    const Case cases[] = {
        { "audio, iPad landscape", false, true, true, 25, -80, 80 },
        { "audio, iPad portrait", false, true, false, 25, -100, 100 },
        { "audio, iPhone landscape", false, false, true, 18, -50, 50 },
        { "audio, iPhone portrait", false, false, false, 18, -50, 50 },
        { "video, iPad landscape", true, true, true, 30, 30 + 47, -(30 + 44) },
        { "video, iPad portrait", true, true, false, 30, 30 + 47, -(30 + 44) },
        { "video, iPhone landscape", true, false, true, 20, 70 + 47, -(70 + 44) },
        { "video, iPhone portrait", true, false, false, 20, 3 + 47, -(3 + 44) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto metrics
            = mediaBookNextPreviousMetrics(c.video, c.pad, c.landscape, c.video ? notch : ui::EdgeInsets {});
        EXPECT_EQ(metrics.fontSize, c.font);
        EXPECT_EQ(metrics.previousConstant, c.previous);
        EXPECT_EQ(metrics.nextConstant, c.next);
    }
    EXPECT_EQ(mediaBookNextPreviousButtonSize(true), 80);
    EXPECT_EQ(mediaBookNextPreviousButtonSize(false), 60);
}
