#include "LectoroSDKWithReader/media/player/MediaBookScreenLayout.h"

#include <gtest/gtest.h>

using namespace lectoro;
using ui::Rect;

namespace {

MediaBookScreenMetrics layoutMetrics(bool pad, bool video, int orientation, ui::Size frame, ui::EdgeInsets insets = {},
    bool rightToLeft = false)
{
    MediaBookScreenMetrics metrics;
    metrics.pad = pad;
    metrics.video = video;
    metrics.deviceOrientation = orientation;
    metrics.frame = frame;
    metrics.insets = insets;
    metrics.rightToLeft = rightToLeft;
    metrics.contentViewSize = mediaBookContentViewSize(frame);
    metrics.topBarHeight = mediaBookTopBarHeight(pad);
    return metrics;
}

} // namespace

TEST(MediaBookScreenLayout, BuildFramesByDeviceOrientationAndDirection)
{
    struct Case {
        const char* name;
        MediaBookScreenMetrics metrics;
        std::optional<Rect> scrollView;
        Rect player;
        Rect panel;
        bool panelHidden = false;
    };
    const ui::EdgeInsets notch { 0, 47, 21, 47 };
    const Case cases[] = {
        // CH = 780: the landscape phone scrolls two screens' worth of content.
        { "iPhone audio, landscape left", layoutMetrics(false, false, 3, { 844, 390 }, notch), Rect(0, 0, 844, 369),
            Rect(47, 0, 797, 390), Rect(47, 390, 797, 390) },
        { "iPhone audio, landscape right", layoutMetrics(false, false, 4, { 844, 390 }, notch), Rect(0, 0, 844, 369),
            Rect(0, 0, 797, 390), Rect(0, 390, 797, 390) },
        { "iPhone audio, portrait", layoutMetrics(false, false, 1, { 390, 844 }, { 47, 0, 34, 0 }), Rect(0, 0, 390, 844),
            Rect(0, 47, 390, 469), Rect(0, 422 + 47 + 0.018 * 844, 390, 422 - 47 - 0.018 * 844) },
        { "iPhone video, portrait", layoutMetrics(false, true, 1, { 390, 844 }, { 47, 0, 34, 0 }), std::nullopt,
            Rect(0, 47, 390, 0.42 * 844), Rect(0, 0.47 * 844, 390, 0.53 * 844) },
        { "iPhone video, landscape fills the screen", layoutMetrics(false, true, 3, { 844, 390 }, notch),
            Rect(0, 0, 844, 369), Rect(0, 0, 844, 390), Rect(47, 390, 797, 390), true },
        { "iPad audio, landscape, right to left", layoutMetrics(true, false, 4, { 1024, 768 }, {}, true), std::nullopt,
            Rect(0.4 * 1024, 0, 0.6 * 1024, 768), Rect(0, 70, 0.4 * 1024, 698) },
        { "iPad video, landscape, left to right", layoutMetrics(true, true, 3, { 1024, 768 }), std::nullopt,
            Rect(0, 70, 0.6 * 1024, 384), Rect(0.6 * 1024, 70, 0.4 * 1024, 698) },
        { "iPad audio, portrait", layoutMetrics(true, false, 1, { 768, 1024 }, { 24, 0, 20, 0 }), std::nullopt,
            Rect(0, 24, 768, 552), Rect(0, 552, 768, 472) },
        { "iPad video, portrait", layoutMetrics(true, true, 1, { 768, 1024 }, { 24, 0, 20, 0 }), std::nullopt,
            Rect(0, 24, 768, 0.48 * 1024), Rect(0, 512, 768, 512) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto frames = mediaBookBuildFrames(c.metrics);
        EXPECT_EQ(frames.scrollView, c.scrollView);
        EXPECT_EQ(frames.player, c.player);
        EXPECT_EQ(frames.panel, c.panel);
        EXPECT_EQ(frames.panelHidden, c.panelHidden);
        EXPECT_EQ(frames.topBarTop, c.metrics.pad ? 0 : c.metrics.insets.top);
        EXPECT_EQ(frames.leftBorderAtTrailingEdge, c.metrics.pad && c.metrics.rightToLeft);
        EXPECT_EQ(frames.phoneLandscape, !c.metrics.pad && c.metrics.frame.width > c.metrics.frame.height);
    }
}

TEST(MediaBookScreenLayout, RotationRecomputesTheContentFromTheDeviceOrientation)
{
    // Turned from portrait to landscape: the content doubles in height and the phone
    // takes its landscape rows.
    auto phone = layoutMetrics(false, false, 3, { 844, 390 }, { 0, 47, 21, 47 });
    phone.contentViewSize = { 390, 844 };
    auto turned = mediaBookRotationFrames(phone, { 844, 390 });
    EXPECT_EQ(turned.player, Rect(47, 0, 797, 390));
    EXPECT_EQ(turned.panel, Rect(47, 390, 797, 390));

    // Turned to portrait, an iPad fills the screen: the player from the top, the panel from
    // the player's bottom edge to the screen's, split as when the screen was built.
    struct Case {
        bool video;
        Rect player;
        Rect panel;
    };
    for (const auto& c : { Case { false, Rect(0, 0, 768, 552), Rect(0, 552, 768, 472) },
             Case { true, Rect(0, 24, 768, 0.48 * 1024), Rect(0, 512, 768, 512) } }) {
        auto pad = layoutMetrics(true, c.video, 1, { 768, 1024 }, { 24, 0, 20, 0 });
        pad.contentViewSize = { 1024, 768 };
        auto padTurned = mediaBookRotationFrames(pad, { 768, 1024 });
        EXPECT_EQ(padTurned.player, c.player) << c.video;
        EXPECT_EQ(padTurned.panel, c.panel) << c.video;
        EXPECT_FALSE(padTurned.phoneLandscape);
    }
}
