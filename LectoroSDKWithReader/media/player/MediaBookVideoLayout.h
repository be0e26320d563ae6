#pragma once

// Where a video book's picture goes (by device, orientation, layout direction and full
// screen), which bars a video hides, and how the next / previous media buttons sit beside
// the picture or the cover. Pure functions, so the tables can be checked without a screen.

#include "LectoroSDKWithReader/media/player/MediaBookScreenLayout.h"

#include <optional>

namespace lectoro {

struct MediaBookVideoFrame {
    // Unset: the frame stays as it is (a phone in landscape outside full screen).
    std::optional<ui::Rect> frame;
    bool panelHidden = false;
};

// A phone held in landscape that is in neither full-screen state is turned back to portrait.
bool mediaBookVideoTurnsDeviceToPortrait(const MediaBookScreenMetrics&, bool videoFullScreenForPhone);

// The picture's frame; metrics.videoFullScreen fills the screen and hides the side panel.
MediaBookVideoFrame mediaBookVideoPlayerFrame(const MediaBookScreenMetrics&);

struct MediaBookBarVisibility {
    bool sleepButtonHidden = false;
    // Unset: the top bar is left as it is (audio books).
    std::optional<bool> topBarHidden;
};

MediaBookBarVisibility mediaBookBarVisibility(const MediaBookScreenMetrics&);

struct MediaBookNextPreviousMetrics {
    double fontSize = 0;
    // The previous button's horizontal constant and the next button's.
    double previousConstant = 0;
    double nextConstant = 0;
};

// The square size of both buttons.
double mediaBookNextPreviousButtonSize(bool pad);
// `deviceLandscape` is the device orientation alone; `videoViewInsets` are the video
// view's safe-area insets (video books only).
MediaBookNextPreviousMetrics mediaBookNextPreviousMetrics(
    bool video, bool pad, bool deviceLandscape, const ui::EdgeInsets& videoViewInsets);

} // namespace lectoro
