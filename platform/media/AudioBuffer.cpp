#include "platform/media/AudioBuffer.h"

#include "platform/base/FileManager.h"
#include "platform/media/MediaError.h"

namespace media {

namespace {

void appendLE(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::string AudioBuffer::wavData() const
{
    uint32_t channels = static_cast<uint32_t>(channelCount > 0 ? channelCount : 1);
    uint32_t rate = static_cast<uint32_t>(sampleRate > 0 ? sampleRate : 22050);
    uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    std::string out;
    out.reserve(44 + dataSize);
    out += "RIFF";
    appendLE(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    appendLE(out, 16, 4);
    appendLE(out, 1, 2); // integer PCM
    appendLE(out, channels, 2);
    appendLE(out, rate, 4);
    appendLE(out, rate * channels * 2, 4);
    appendLE(out, channels * 2, 2);
    appendLE(out, 16, 2);
    out += "data";
    appendLE(out, dataSize, 4);
    for (int16_t sample : samples)
        appendLE(out, static_cast<uint16_t>(sample), 2);
    return out;
}

base::Result<void> AudioBuffer::writeWavFile(const std::string& path) const
{
    if (!base::FileManager::defaultManager().writeFileAtomically(path, wavData()))
        return urlError(urlErrorCannotWriteToFile, "The audio file cannot be written: " + path, path);
    return {};
}

} // namespace media
