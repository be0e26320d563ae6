#pragma once

// Shared by the media fuzzers: a real sound to put in a book, the bound check, and the watch on
// what the media layer opens.

#include "platform/media/MediaFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzzmedia {

// 16-bit mono PCM at 8 kHz, silent, `dataBytes` of samples.
inline std::string silentWav(uint32_t dataBytes)
{
    auto le = [](std::string& out, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    std::string out = "RIFF";
    le(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    le(out, 16, 4);
    le(out, 1, 2);
    le(out, 1, 2);
    le(out, 8000, 4);
    le(out, 16000, 4);
    le(out, 2, 2);
    le(out, 16, 2);
    out += "data";
    le(out, dataBytes, 4);
    out.append(dataBytes, '\0');
    return out;
}

inline bool bounded(double seconds, double bound)
{
    return std::isfinite(seconds) && seconds >= 0 && seconds <= bound;
}

// The fuzzers' books name a FIFO ("pipe...") and a link out ("secret...", "outside/"): the
// media layer may refuse them, never open them.
inline void abortWhenAFileOutsideIsOpened()
{
    media::setMediaOpenObserverForTesting([](const media::MediaOpenRecord& record) {
        if (record.refusal.empty()
            && (record.path.find("outside") != std::string::npos || record.path.find("secret") != std::string::npos
                || record.path.find("pipe") != std::string::npos))
            std::abort();
    });
}

} // namespace fuzzmedia
