#pragma once

// The ten colour pairs a text box can take, as the theme names them: pair N is the
// colour pop-up's swatch N and the dispatcher's choice N.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"

namespace lectoro::textboxes {

struct TextAnnotationColorPair {
    ThemeValueColor background;
    ThemeValueColor text;
};

inline constexpr int textAnnotationColorPairCount = 10;

// Pair 1 to 10; any other number, and a colour the theme lacks, answers no colour.
TextAnnotationColorPair textAnnotationColorPair(const LXMVThemeVO&, int number);

} // namespace lectoro::textboxes
