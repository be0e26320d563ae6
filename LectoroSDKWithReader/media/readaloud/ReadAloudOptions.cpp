#include "LectoroSDKWithReader/media/readaloud/ReadAloudOptions.h"

#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"

namespace lectoro {

std::optional<ReadAloudMode> readAloudModeFromRawValue(int64_t raw)
{
    if (raw < ReadAloudModeOff || raw > ReadAloudModeAutoPlay)
        return std::nullopt;
    return static_cast<ReadAloudMode>(raw);
}

std::optional<AudioSyncSpeedRateOption> audioSyncSpeedRateOptionFromRawValue(int64_t raw)
{
    if (raw < 1 || raw > 4)
        return std::nullopt;
    return static_cast<AudioSyncSpeedRateOption>(raw);
}

std::string audioSyncSpeedRateText(int32_t option)
{
    return NumberLocalizationHandler::localizeNumberWithNumber(base::Value(double(audioSyncSpeedRate(option))))
        + " x";
}

std::string audioSyncSpeedOptionTitle(int32_t option)
{
    // Whole rates are given as integers so they read "1" and "2", not "1.0".
    if (option % 2 == 0)
        return NumberLocalizationHandler::localizeNumberWithNumber(base::Value(int64_t(option / 2)));
    return NumberLocalizationHandler::localizeNumberWithNumber(base::Value(option * 0.5));
}

namespace {

template<typename Pick>
std::optional<size_t> readAloudColorIndex(const std::string& color, Pick pick)
{
    for (size_t i = 0; i < audioSyncColorPairs.size(); ++i) {
        if (base::lowercase(color) == base::lowercase(pick(audioSyncColorPairs[i])))
            return i;
    }
    return std::nullopt;
}

} // namespace

std::optional<size_t> audioSyncSwatchIndex(const std::string& swatch)
{
    return readAloudColorIndex(swatch, [](const AudioSyncColorPair& pair) { return pair.swatch; });
}

std::optional<size_t> audioSyncHighlightIndex(const std::string& highlight)
{
    return readAloudColorIndex(highlight, [](const AudioSyncColorPair& pair) { return pair.highlight; });
}

std::string audioSyncSwatchForHighlight(const std::string& highlight)
{
    return audioSyncColorPairs[audioSyncHighlightIndex(highlight).value_or(0)].swatch;
}

} // namespace lectoro
