#pragma once

// Shared by the media tests: a temporary folder, WAV bytes written by hand, and a way to
// let background reads finish and their answers arrive.

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mediatest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return m_path; }
    // Writes the file (making folders on the way) and answers its path.
    std::string write(const std::string& relativePath, const std::string& bytes) const;

private:
    std::string m_path;
};

// A 16-bit PCM WAV of silence; INFO tags (e.g. {"INAM", "Title"}) go into a LIST chunk.
std::string wavBytes(double seconds, int sampleRate = 8000, int channels = 1,
    const std::vector<std::pair<std::string, std::string>>& infoTags = {});

// Background work finished and every answer it posted delivered.
inline void settle()
{
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
}

} // namespace mediatest
