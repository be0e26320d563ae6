#pragma once

// The small tables read-aloud shares: the three modes of the chooser, the four narration
// speeds, and the five highlight colour pairs (the swatch the bars show, the lighter colour
// the renderer paints spoken words with).

#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lectoro {

// 1 let me read, 2 read to me, 3 autoplay; anything else is no mode.
std::optional<ReadAloudMode> readAloudModeFromRawValue(int64_t raw);

enum class AudioSyncSpeedRateOption : int32_t {
    halfSpeed = 1,
    normalSpeed = 2,
    oneAndHalfSpeed = 3,
    doubleSpeed = 4,
};

// 1 to 4; anything else is no option.
std::optional<AudioSyncSpeedRateOption> audioSyncSpeedRateOptionFromRawValue(int64_t raw);
// The playback rate of an option: half the option.
inline float audioSyncSpeedRate(int32_t option) { return static_cast<float>(option) * 0.5f; }
// The speed item's text, "<localised rate> x".
std::string audioSyncSpeedRateText(int32_t option);
// The option button's title: 0.5, 1, 1.5 or 2 as localised numbers.
std::string audioSyncSpeedOptionTitle(int32_t option);

struct AudioSyncColorPair {
    const char* swatch;
    const char* highlight;
};

inline constexpr std::array<AudioSyncColorPair, 5> audioSyncColorPairs { {
    { "#D17D00", "#E8BD7F" },
    { "#FC5454", "#FDA9A9" },
    { "#C061FF", "#DFAFFF" },
    { "#6F9C21", "#B6CD8F" },
    { "#009CC7", "#7FCDE3" },
} };

inline constexpr const char* defaultAudioSyncHighlightColor = "#E8BD7F";

// Index of a swatch or highlight colour, letter case ignored; none for any other text.
std::optional<size_t> audioSyncSwatchIndex(const std::string& swatch);
std::optional<size_t> audioSyncHighlightIndex(const std::string& highlight);
// The swatch shown for a highlight colour (the first swatch for an unknown one).
std::string audioSyncSwatchForHighlight(const std::string& highlight);

} // namespace lectoro
