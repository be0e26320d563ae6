#pragma once

// Where the player screen's parts go, by device, orientation, layout direction and media
// type: once when the screen is built and again after each rotation. Pure functions, so
// the frame tables can be checked without building a screen.

#include "platform/ui/Geometry.h"

#include <optional>

namespace lectoro {

struct MediaBookScreenMetrics {
    bool pad = false;
    bool rightToLeft = false;
    bool video = false;
    // Device orientation: 1 portrait, 2 upside-down, 3 landscape-left, 4 landscape-right, else unknown.
    int deviceOrientation = 0;
    // The screen view's frame size (W, H) and safe-area insets (T, L, B, R).
    ui::Size frame;
    ui::EdgeInsets insets;
    // The scrolled content on a phone (CH is its height) and the top bar's height (TB).
    ui::Size contentViewSize;
    double topBarHeight = 50.0;
    bool videoFullScreen = false;
};

struct MediaBookScreenFrames {
    // Phones scroll the audio player and panel inside one view.
    std::optional<ui::Rect> scrollView;
    // The audio player view, or the video view.
    std::optional<ui::Rect> player;
    std::optional<ui::Rect> panel;
    bool panelHidden = false;
    // The phone's landscape rows were used.
    bool phoneLandscape = false;
    bool videoFullScreenForPhone = false;
    // iPad landscape: the panel's left border moves to its trailing edge (right-to-left)
    // and the borders take their theme colours.
    bool leftBorderAtTrailingEdge = false;
    bool colourBorders = false;
    // The top bar's distance from the screen view's top.
    double topBarTop = 0;
};

// The top bar height by device.
double mediaBookTopBarHeight(bool pad);
// The scrolled content size for a frame: twice the height when the frame is wider than tall.
ui::Size mediaBookContentViewSize(const ui::Size& frame);

MediaBookScreenFrames mediaBookBuildFrames(const MediaBookScreenMetrics&);
// After a rotation: contentViewSize is recomputed from the device orientation alone, and the
// landscape and portrait tests fall back to the main screen's bounds.
MediaBookScreenFrames mediaBookRotationFrames(const MediaBookScreenMetrics&, const ui::Size& mainScreen);

} // namespace lectoro
