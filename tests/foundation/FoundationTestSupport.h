#pragma once

// A scratch world for one test: a temporary sandbox (Documents, Library), an empty host
// bundle, the library bundle of the sources (or a fixture), fresh user defaults and a
// quiet system log. Everything is put back when the scope ends.

#include "LectoroSDKWithReader/foundation/FoundationLog.h"
#include "platform/base/Bundle.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace lectoro::testing {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        static std::atomic<int> counter { 0 };
        m_path = (std::filesystem::temp_directory_path()
            / ("lectoro-foundation-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                     .string();
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

private:
    std::string m_path;
};

inline void writeFile(const std::string& path, const std::string& contents)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

inline bool exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

class FoundationScope {
public:
    FoundationScope()
    {
        base::FileManager::defaultManager().setSandboxRoot(m_folder / "sandbox");
        std::filesystem::create_directories(m_folder / "host");
        base::Bundle::setMainBundlePath(m_folder / "host");
        base::Bundle::setLibraryBundlePath(LECTORO_RESOURCES_DIR);
        base::Bundle::library().setLanguage({});
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
        m_previousSink = setSystemLogSinkForTesting([this](std::string_view line) { m_log.emplace_back(line); });
        base::RunLoop::main().reset();
    }
    ~FoundationScope()
    {
        base::RunLoop::main().reset();
        setSystemLogSinkForTesting(std::move(m_previousSink));
        base::UserDefaults::setStandardForTesting(nullptr);
        base::Bundle::library().setLanguage({});
        base::Bundle::setLibraryBundlePath(LECTORO_RESOURCES_DIR);
        base::Bundle::setMainBundlePath({});
        base::FileManager::defaultManager().setSandboxRoot({});
    }

    const TemporaryFolder& folder() const { return m_folder; }
    std::string hostBundlePath() const { return m_folder / "host"; }
    std::string documents() const { return base::FileManager::defaultManager().documentsDirectory(); }
    std::string library() const { return base::FileManager::defaultManager().libraryDirectory(); }
    const std::vector<std::string>& log() const { return m_log; }

    // The host's "Config" plist with the file-sharing flag.
    void setImportsViaFileSharing(bool yes) const
    {
        writeFile(hostBundlePath() + "/Config.plist",
            std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                        "<key>IMPORT_BOOKS_VIA_ITUNES_SHARING</key>")
                + (yes ? "<true/>" : "<false/>") + "</dict></plist>\n");
    }

private:
    TemporaryFolder m_folder;
    std::shared_ptr<base::UserDefaults> m_defaults;
    SystemLogSink m_previousSink;
    std::vector<std::string> m_log;
};

} // namespace lectoro::testing
