#include "LectoroSDKWithReader/media/player/MediaBookScreenLayout.h"

namespace lectoro {

namespace {

bool deviceLandscape(int orientation) { return orientation == 3 || orientation == 4; }
bool devicePortrait(int orientation) { return orientation == 1 || orientation == 2; }

bool landscapeLike(const MediaBookScreenMetrics& metrics, const ui::Size& bounds)
{
    return deviceLandscape(metrics.deviceOrientation) || bounds.width > bounds.height;
}

bool portraitLike(const MediaBookScreenMetrics& metrics, const ui::Size& bounds)
{
    return devicePortrait(metrics.deviceOrientation) || bounds.height > bounds.width;
}

// iPad landscape: player 60 % on the reading side, panel 40 % on the other, under the top bar.
void mediaPadLandscape(const MediaBookScreenMetrics& m, MediaBookScreenFrames& frames)
{
    double W = m.frame.width, H = m.frame.height, TB = m.topBarHeight;
    double playerX = m.rightToLeft ? 0.4 * W : 0;
    if (m.video)
        frames.player = m.videoFullScreen ? ui::Rect(0, 0, W, H) : ui::Rect(playerX, TB, 0.6 * W, 0.5 * H);
    else
        frames.player = ui::Rect(playerX, 0, 0.6 * W, H);
    frames.panel = ui::Rect(m.rightToLeft ? 0 : 0.6 * W, TB, 0.4 * W, H - TB);
    frames.leftBorderAtTrailingEdge = m.rightToLeft;
    frames.colourBorders = true;
}

// The phone's landscape layout: scrolled halves, shifted by the inset on the notch side.
void mediaPhoneLandscape(const MediaBookScreenMetrics& m, MediaBookScreenFrames& frames)
{
    double W = m.frame.width, H = m.frame.height, CH = m.contentViewSize.height;
    const auto& in = m.insets;
    frames.phoneLandscape = true;
    frames.scrollView = ui::Rect(0, 0, W, H - in.bottom);
    frames.topBarTop = in.top;
    if (m.deviceOrientation == 3) {
        frames.panel = ui::Rect(in.left, 0.5 * CH, W - in.left, 0.5 * CH);
        if (!m.video)
            frames.player = ui::Rect(in.left, in.top, W - in.left, 0.5 * CH);
    } else {
        frames.panel = ui::Rect(0, 0.5 * CH, W - in.right, 0.5 * CH);
        if (!m.video)
            frames.player = ui::Rect(0, in.top, W - in.right, 0.5 * CH);
    }
    frames.videoFullScreenForPhone = !m.videoFullScreen;
    if (m.video && frames.videoFullScreenForPhone) {
        frames.player = ui::Rect(0, 0, W, H);
        frames.panelHidden = true;
    }
}

ui::Rect mediaPhonePortraitPanel(const MediaBookScreenMetrics& m)
{
    double W = m.frame.width, CH = m.contentViewSize.height, T = m.insets.top;
    if (m.video)
        return { 0, 0.47 * CH, W, 0.53 * CH };
    return { 0, 0.5 * CH + T + 0.018 * CH, W, 0.5 * CH - T - 0.018 * CH };
}

} // namespace

double mediaBookTopBarHeight(bool pad) { return pad ? 70.0 : 50.0; }

ui::Size mediaBookContentViewSize(const ui::Size& frame)
{
    return frame.width > frame.height ? ui::Size(frame.width, 2 * frame.height) : frame;
}

MediaBookScreenFrames mediaBookBuildFrames(const MediaBookScreenMetrics& m)
{
    MediaBookScreenFrames frames;
    double W = m.frame.width, H = m.frame.height, CH = m.contentViewSize.height, T = m.insets.top;
    frames.topBarTop = m.pad ? 0 : T;
    if (m.pad) {
        if (landscapeLike(m, m.frame)) {
            mediaPadLandscape(m, frames);
            return frames;
        }
        frames.player = m.video ? ui::Rect(0, T, W, 0.48 * H) : ui::Rect(0, T, W, 0.5 * H + 40);
        frames.panel = m.video ? ui::Rect(0, 0.5 * H, W, 0.5 * H) : ui::Rect(0, 0.5 * H + 40, W, 0.5 * H - 40);
        return frames;
    }
    if (portraitLike(m, m.frame)) {
        if (!m.video)
            frames.scrollView = ui::Rect(0, 0, W, H);
        frames.player = m.video ? ui::Rect(0, T, W, 0.42 * CH) : ui::Rect(0, T, W, 0.5 * CH + T);
        frames.panel = landscapeLike(m, m.frame) ? std::nullopt : std::optional(mediaPhonePortraitPanel(m));
        if (!frames.panel) {
            // A portrait device with a frame wider than tall: the panel follows the landscape rows.
            MediaBookScreenFrames landscape;
            mediaPhoneLandscape(m, landscape);
            frames.panel = landscape.panel;
        }
        return frames;
    }
    mediaPhoneLandscape(m, frames);
    return frames;
}

MediaBookScreenFrames mediaBookRotationFrames(const MediaBookScreenMetrics& given, const ui::Size& mainScreen)
{
    MediaBookScreenMetrics m = given;
    m.contentViewSize = deviceLandscape(m.deviceOrientation) ? ui::Size(m.frame.width, 2 * m.frame.height) : m.frame;
    MediaBookScreenFrames frames;
    double W = m.frame.width, H = m.frame.height, CH = m.contentViewSize.height, T = m.insets.top;
    frames.topBarTop = m.pad ? 0 : T;
    bool landscape = landscapeLike(m, mainScreen);
    bool portrait = portraitLike(m, mainScreen);
    if (m.pad && landscape) {
        mediaPadLandscape(m, frames);
    } else if (m.pad && portrait) {
        // The player from the top and the panel below it down to the bottom edge, split as
        // when the screen was built (an audio player takes 40 points more than half).
        if (m.video) {
            frames.player = m.videoFullScreen ? ui::Rect(0, 0, W, H) : ui::Rect(0, T, W, 0.48 * H);
            frames.panel = ui::Rect(0, 0.5 * H, W, 0.5 * H);
        } else {
            frames.player = ui::Rect(0, 0, W, 0.5 * H + 40);
            frames.panel = ui::Rect(0, 0.5 * H + 40, W, 0.5 * H - 40);
        }
    } else if (!m.pad && landscape) {
        mediaPhoneLandscape(m, frames);
    } else if (!m.pad && portrait) {
        frames.scrollView = ui::Rect(0, 0, W, H);
        if (!m.video)
            frames.player = ui::Rect(0, T, W, 0.5 * CH + T);
        frames.panel = mediaPhonePortraitPanel(m);
    }
    return frames;
}

} // namespace lectoro
