#pragma once

// A folder of files unpacked from a fuzz input, for the fuzzers that read whole books.
//
// The input is a simple archive: entries one after another, each
//   1 byte   name length N
//   N bytes  the file's path inside the folder ("META-INF/container.xml", "audio/a.m3u8")
//   2 bytes  content length L, little-endian
//   L bytes  the content (the last entry may be cut short: it takes what is left)
// Names are kept to letters, digits, ".", "-", "_" and "/", without ".." or a leading "/", so
// the archive cannot write outside its scratch folder. A later entry of the same name wins.

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzzarchive {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed when the fuzzer exits.
inline fs::path makeScratch(const char* prefix)
{
    static fs::path root;
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    root = pattern;
    std::atexit([] {
        std::error_code error;
        fs::remove_all(root, error);
    });
    return root;
}

inline bool safeName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("..") != std::string_view::npos
        || name.find("//") != std::string_view::npos)
        return false;
    for (char c : name) {
        bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
            || c == '_' || c == '/';
        if (!allowed)
            return false;
    }
    return true;
}

// Writes the archive's files below `folder` (only names `accept` takes, when given); answers how
// many were written.
inline size_t unpack(std::string_view input, const fs::path& folder, const std::function<bool(std::string_view)>& accept = {})
{
    size_t written = 0;
    while (!input.empty() && written < 64) {
        size_t nameLength = static_cast<unsigned char>(input.front());
        input.remove_prefix(1);
        if (input.size() < nameLength)
            break;
        std::string_view name = input.substr(0, nameLength);
        input.remove_prefix(nameLength);
        size_t contentLength = input.size();
        if (input.size() >= 2) {
            contentLength = static_cast<unsigned char>(input[0]) | (static_cast<size_t>(static_cast<unsigned char>(input[1])) << 8);
            input.remove_prefix(2);
        }
        std::string_view content = input.substr(0, std::min(contentLength, input.size()));
        input.remove_prefix(content.size());
        if (!safeName(name) || (accept && !accept(name)))
            continue;
        fs::path file = folder / std::string(name);
        std::error_code error;
        fs::create_directories(file.parent_path(), error);
        if (error || fs::is_directory(file, error))
            continue;
        std::ofstream(file, std::ios::binary | std::ios::trunc).write(content.data(), static_cast<std::streamsize>(content.size()));
        ++written;
    }
    return written;
}

} // namespace fuzzarchive
