#include "MediaTestSupport.h"

#include "platform/media/MediaFile.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace mediatest {

namespace {

void appendLE(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lectoro-media-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TemporaryFolder::write(const std::string& relativePath, const std::string& bytes) const
{
    std::filesystem::path path = std::filesystem::path(m_path) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string wavBytesClaiming(double seconds, double claimedSeconds, int sampleRate)
{
    uint32_t frames = static_cast<uint32_t>(seconds * sampleRate);
    uint32_t claimedFrames = static_cast<uint32_t>(std::min(claimedSeconds * sampleRate, 4294967295.0));
    std::string out = "RIFF";
    appendLE(out, 4 + 24 + 12 + 8 + frames * 2, 4);
    out += "WAVEfmt ";
    appendLE(out, 16, 4);
    appendLE(out, 1, 2); // PCM
    appendLE(out, 1, 2);
    appendLE(out, static_cast<uint32_t>(sampleRate), 4);
    appendLE(out, static_cast<uint32_t>(sampleRate * 2), 4);
    appendLE(out, 2, 2);
    appendLE(out, 16, 2);
    out += "fact";
    appendLE(out, 4, 4);
    appendLE(out, claimedFrames, 4);
    out += "data";
    appendLE(out, static_cast<uint32_t>(std::min(static_cast<double>(claimedFrames) * 2, 4294967295.0)), 4);
    out.append(frames * 2, '\0');
    return out;
}

std::string makeFifo(const std::string& path)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (::mkfifo(path.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make a FIFO at " + path);
    return path;
}

FifoWatchdog::FifoWatchdog(std::vector<std::string> fifos, double seconds)
    : m_fifos(std::move(fifos))
{
    m_thread = std::thread([this, seconds] {
        std::unique_lock lock(m_mutex);
        bool stopped = m_stop.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return m_stopping; });
        if (!stopped)
            m_fired = release();
    });
}

FifoWatchdog::~FifoWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stop.notify_all();
    m_thread.join();
    release();
}

bool FifoWatchdog::fired() const
{
    std::lock_guard lock(m_mutex);
    return m_fired;
}

bool FifoWatchdog::release() const
{
    bool someoneWaited = false;
    for (const std::string& fifo : m_fifos) {
        // Opening a FIFO to write without blocking succeeds only while someone reads it.
        int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            someoneWaited = true;
            ::close(fd);
        }
    }
    return someoneWaited;
}

MediaOpenRecorder::MediaOpenRecorder()
{
    media::setMediaOpenObserverForTesting([this](const media::MediaOpenRecord& record) {
        std::lock_guard lock(m_mutex);
        if (record.refusal.empty())
            m_opened.push_back(record.path);
        else
            m_refused.push_back(record.path + " (" + record.refusal + ")");
    });
}

MediaOpenRecorder::~MediaOpenRecorder()
{
    media::setMediaOpenObserverForTesting({});
}

std::vector<std::string> MediaOpenRecorder::opened() const
{
    std::lock_guard lock(m_mutex);
    return m_opened;
}

std::vector<std::string> MediaOpenRecorder::refused() const
{
    std::lock_guard lock(m_mutex);
    return m_refused;
}

bool MediaOpenRecorder::mentions(const std::string& part) const
{
    std::lock_guard lock(m_mutex);
    for (const auto* list : { &m_opened, &m_refused }) {
        for (const std::string& path : *list) {
            if (path.find(part) != std::string::npos)
                return true;
        }
    }
    return false;
}

std::string wavBytes(double seconds, int sampleRate, int channels, const std::vector<std::pair<std::string, std::string>>& infoTags)
{
    uint32_t frames = static_cast<uint32_t>(seconds * sampleRate);
    uint32_t dataSize = frames * static_cast<uint32_t>(channels) * 2;
    std::string info;
    if (!infoTags.empty()) {
        info = "INFO";
        for (const auto& [tag, text] : infoTags) {
            std::string value = text + '\0';
            if (value.size() % 2)
                value.push_back('\0');
            info += tag;
            appendLE(info, static_cast<uint32_t>(text.size() + 1), 4);
            info += value;
        }
    }
    std::string out = "RIFF";
    appendLE(out, static_cast<uint32_t>(4 + 24 + 8 + dataSize + (info.empty() ? 0 : 8 + info.size())), 4);
    out += "WAVEfmt ";
    appendLE(out, 16, 4);
    appendLE(out, 1, 2); // PCM
    appendLE(out, static_cast<uint32_t>(channels), 2);
    appendLE(out, static_cast<uint32_t>(sampleRate), 4);
    appendLE(out, static_cast<uint32_t>(sampleRate * channels * 2), 4);
    appendLE(out, static_cast<uint32_t>(channels * 2), 2);
    appendLE(out, 16, 2);
    if (!info.empty()) {
        out += "LIST";
        appendLE(out, static_cast<uint32_t>(info.size()), 4);
        out += info;
    }
    out += "data";
    appendLE(out, dataSize, 4);
    out.append(dataSize, '\0');
    return out;
}

} // namespace mediatest
