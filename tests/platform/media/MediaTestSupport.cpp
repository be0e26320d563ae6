#include "MediaTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

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
