#pragma once

// Where the sample books are, and how a test writes a book file of its own.

#include <filesystem>
#include <fstream>
#include <string>

namespace companiontest {

inline std::string samplePath(const std::string& name)
{
    return std::string(LECTORO_SAMPLES_DIR) + "/books/" + name;
}

// Creates the parent folders as needed; the content is written byte for byte.
inline void writeFile(const std::filesystem::path& file, const std::string& content)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

} // namespace companiontest
