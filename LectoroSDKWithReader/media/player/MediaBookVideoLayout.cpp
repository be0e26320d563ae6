#include "LectoroSDKWithReader/media/player/MediaBookVideoLayout.h"

namespace lectoro {

namespace {

bool videoDeviceLandscape(int orientation)
{
    return orientation == 3 || orientation == 4;
}

} // namespace

bool mediaBookVideoTurnsDeviceToPortrait(const MediaBookScreenMetrics& m, bool videoFullScreenForPhone)
{
    return !m.pad && videoDeviceLandscape(m.deviceOrientation) && !m.videoFullScreen
        && !videoFullScreenForPhone;
}

MediaBookVideoFrame mediaBookVideoPlayerFrame(const MediaBookScreenMetrics& m)
{
    double W = m.frame.width, H = m.frame.height, T = m.insets.top;
    if (m.videoFullScreen)
        return { ui::Rect(0, 0, W, H), true };
    bool upright = !videoDeviceLandscape(m.deviceOrientation) && W <= H;
    if (m.pad) {
        if (upright)
            return { ui::Rect(0, T, W, 0.48 * H), false };
        return { ui::Rect(m.rightToLeft ? 0.4 * W : 0, m.topBarHeight, 0.6 * W, 0.5 * H), false };
    }
    if (upright)
        return { ui::Rect(0, T, W, 0.42 * m.contentViewSize.height), false };
    return { std::nullopt, false };
}

MediaBookBarVisibility mediaBookBarVisibility(const MediaBookScreenMetrics& m)
{
    if (!m.video)
        return { false, std::nullopt };
    if (!m.pad)
        return { true, true };
    return { true, m.frame.height > m.frame.width || m.videoFullScreen };
}

double mediaBookNextPreviousButtonSize(bool pad)
{
    return pad ? 80.0 : 60.0;
}

MediaBookNextPreviousMetrics mediaBookNextPreviousMetrics(
    bool video, bool pad, bool deviceLandscape, const ui::EdgeInsets& videoViewInsets)
{
    if (!video) {
        // Audio: beside the cover, further out on a tablet held upright.
        double offset = pad ? (deviceLandscape ? 80.0 : 100.0) : 50.0;
        return { pad ? 25.0 : 18.0, -offset, offset };
    }
    double margin = pad ? 30.0 : (deviceLandscape ? 70.0 : 3.0);
    return { pad ? 30.0 : 20.0, margin + videoViewInsets.left, -(margin + videoViewInsets.right) };
}

} // namespace lectoro
