#pragma once

// Mono or interleaved 16-bit PCM in memory, and its WAV form.

#include "platform/base/Error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace media {

struct AudioBuffer {
    int sampleRate = 22050;
    int channelCount = 1;
    // Interleaved when there is more than one channel.
    std::vector<int16_t> samples;

    size_t frameCount() const { return channelCount > 0 ? samples.size() / static_cast<size_t>(channelCount) : 0; }
    double duration() const { return sampleRate > 0 ? static_cast<double>(frameCount()) / sampleRate : 0; }

    // The bytes of a RIFF/WAVE file holding the buffer.
    std::string wavData() const;
    // Written whole or not at all (through a temporary file in the same folder).
    base::Result<void> writeWavFile(const std::string& path) const;
};

} // namespace media
