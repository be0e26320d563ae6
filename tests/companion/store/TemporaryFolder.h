#pragma once

// A fresh folder under the system temporary directory, removed with its content when the
// object goes.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace companion::testing {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device device;
        std::error_code error;
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() / ("lectoro-test-" + std::to_string(device()));
            if (std::filesystem::create_directory(candidate, error)) {
                m_path = candidate;
                return;
            }
        }
    }
    ~TemporaryFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string string() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

} // namespace companion::testing
