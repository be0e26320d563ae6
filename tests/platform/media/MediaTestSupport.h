#pragma once

// Shared by the media tests: a temporary folder, WAV bytes written by hand, and a way to
// let background reads finish and their answers arrive.

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
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

// A WAV whose header claims `claimedSeconds` (a "fact" chunk and a data chunk running past the
// end of the file) while it holds `seconds` of sound.
std::string wavBytesClaiming(double seconds, double claimedSeconds, int sampleRate = 8000);

// A FIFO (named pipe) at the path, for files that would block whoever opens them.
std::string makeFifo(const std::string& path);

// Releases readers stuck on FIFOs: after `seconds`, or when it goes, each FIFO is opened for
// writing and closed again, so a read blocked on one ends (at end of file) instead of hanging
// the test program. fired() tells whether the time ran out with something still waiting.
class FifoWatchdog {
public:
    FifoWatchdog(std::vector<std::string> fifos, double seconds);
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    bool fired() const;

private:
    // Answers whether a reader was waiting on one of them.
    bool release() const;

    std::vector<std::string> m_fifos;
    mutable std::mutex m_mutex;
    std::condition_variable m_stop;
    bool m_stopping = false;
    bool m_fired = false;
    std::thread m_thread;
};

// Every file the media layer opened or refused while it lives (media::setMediaOpenObserverForTesting).
class MediaOpenRecorder {
public:
    MediaOpenRecorder();
    ~MediaOpenRecorder();
    MediaOpenRecorder(const MediaOpenRecorder&) = delete;
    MediaOpenRecorder& operator=(const MediaOpenRecorder&) = delete;

    // Paths opened; paths refused, each with why.
    std::vector<std::string> opened() const;
    std::vector<std::string> refused() const;
    // Whether any open, made or refused, named a path containing `part`.
    bool mentions(const std::string& part) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_opened;
    std::vector<std::string> m_refused;
};

// Background work finished and every answer it posted delivered.
inline void settle()
{
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
}

} // namespace mediatest
