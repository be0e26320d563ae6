#include "platform/base/FileManager.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace base {

namespace fs = std::filesystem;

std::optional<std::string> pathInsideFolder(const std::string& folder, std::string_view name)
{
    if (folder.empty() || name.empty())
        return std::nullopt;
    std::string written(name);
    std::string decoded = percentDecode(written).value_or(written);
    for (const std::string* text : { &written, &decoded }) {
        if (text->empty() || text->front() == '/' || text->find_first_of(std::string_view(":\\\0", 3)) != std::string::npos)
            return std::nullopt;
    }
    std::error_code error;
    fs::path root = fs::canonical(folder, error);
    if (error || !fs::is_directory(root, error))
        return std::nullopt;
    fs::path resolved = fs::weakly_canonical(root / decoded, error);
    if (error)
        return std::nullopt;
    // Strictly below the root, component by component ("/book-other" is not in "/book").
    auto [inRoot, inResolved] = std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
    if (inRoot != root.end() || inResolved == resolved.end() || inResolved->empty())
        return std::nullopt;
    return resolved.string();
}

namespace {

std::string defaultSandboxRoot()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome)
        return (fs::path(dataHome) / "lectoro").string();
    const char* home = std::getenv("HOME");
    if (home && *home)
        return (fs::path(home) / ".local" / "share" / "lectoro").string();
    std::error_code error;
    fs::path temporary = fs::temp_directory_path(error);
    return ((error ? fs::path("/tmp") : temporary) / "lectoro").string();
}

bool writeAll(int fd, const std::string& data)
{
    const char* cursor = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t written = ::write(fd, cursor, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        cursor += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

std::string temporarySibling(const fs::path& target)
{
    static std::atomic<uint64_t> counter { 0 };
    std::ostringstream name;
    name << "." << target.filename().string() << ".tmp-" << ::getpid() << "-" << counter.fetch_add(1);
    return (target.parent_path() / name.str()).string();
}

// The mark's key when it cannot live on the item itself: one spelling per item.
std::string canonicalKey(const std::string& path)
{
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

bool xattrUnsupported(int error)
{
    return error == ENOTSUP || error == EPERM || error == EACCES;
}

} // namespace

FileManager& FileManager::defaultManager()
{
    static FileManager* manager = new FileManager;
    return *manager;
}

FileManager::FileManager()
    : m_sandboxRoot(defaultSandboxRoot())
{
}

void FileManager::setSandboxRoot(std::string path)
{
    std::lock_guard lock(m_mutex);
    m_sandboxRoot = path.empty() ? defaultSandboxRoot() : std::move(path);
}

std::string FileManager::sandboxRoot() const
{
    std::lock_guard lock(m_mutex);
    return m_sandboxRoot;
}

std::string FileManager::subdirectory(const char* relative) const
{
    std::string path = (fs::path(sandboxRoot()) / relative).string();
    createDirectory(path, true);
    return path;
}

std::string FileManager::documentsDirectory() const
{
    return subdirectory("Documents");
}

std::string FileManager::libraryDirectory() const
{
    return subdirectory("Library");
}

std::string FileManager::cachesDirectory() const
{
    return subdirectory("Library/Caches");
}

std::string FileManager::temporaryDirectory() const
{
    return subdirectory("tmp");
}

bool FileManager::createDirectory(const std::string& path, bool withIntermediates) const
{
    if (path.empty())
        return false;
    std::error_code error;
    if (withIntermediates) {
        fs::create_directories(path, error);
        return !error && fs::is_directory(path, error);
    }
    return fs::create_directory(path, error) && !error;
}

bool FileManager::fileExists(const std::string& path, bool* isDirectory) const
{
    if (isDirectory)
        *isDirectory = false;
    if (path.empty())
        return false;
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return false;
    if (isDirectory)
        *isDirectory = fs::is_directory(status);
    return true;
}

bool FileManager::removeItem(const std::string& path) const
{
    if (path.empty())
        return false;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error)))
        return false;
    fs::remove_all(path, error);
    return !error;
}

std::optional<std::vector<std::string>> FileManager::contentsOfDirectory(const std::string& path) const
{
    if (path.empty())
        return std::nullopt;
    std::error_code error;
    fs::directory_iterator it(path, error);
    if (error)
        return std::nullopt;
    std::vector<std::string> names;
    for (fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            return std::nullopt;
        names.push_back(it->path().filename().string());
    }
    if (error)
        return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
}

bool FileManager::copyItem(const std::string& from, const std::string& to) const
{
    if (from.empty() || to.empty())
        return false;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(from, error)) || fs::exists(fs::symlink_status(to, error)))
        return false;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    return !error;
}

bool FileManager::moveItem(const std::string& from, const std::string& to) const
{
    if (from.empty() || to.empty())
        return false;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(from, error)) || fs::exists(fs::symlink_status(to, error)))
        return false;
    fs::rename(from, to, error);
    if (!error)
        return true;
    if (error != std::errc::cross_device_link)
        return false;
    // Another file system: copy, and remove the original only once the copy is whole.
    if (!copyItem(from, to)) {
        fs::remove_all(to, error);
        return false;
    }
    fs::remove_all(from, error);
    return true;
}

std::optional<std::string> FileManager::readFile(const std::string& path) const
{
    std::error_code error;
    if (path.empty() || !fs::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
}

bool FileManager::writeFileAtomically(const std::string& path, const std::string& data) const
{
    if (path.empty())
        return false;
    fs::path target(path);
    std::error_code error;
    if (fs::is_directory(target, error))
        return false;
    std::string temporary = temporarySibling(target);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<uint64_t> FileManager::fileSize(const std::string& path) const
{
    std::error_code error;
    if (path.empty() || !fs::is_regular_file(path, error))
        return std::nullopt;
    uintmax_t size = fs::file_size(path, error);
    if (error)
        return std::nullopt;
    return static_cast<uint64_t>(size);
}

std::optional<FileManager::SpaceInfo> FileManager::space(const std::string& path) const
{
    SpaceProvider provider;
    {
        std::lock_guard lock(m_mutex);
        provider = m_spaceProvider;
    }
    if (provider)
        return provider(path);
    struct statvfs info { };
    if (path.empty() || ::statvfs(path.c_str(), &info) != 0)
        return std::nullopt;
    // Free means usable by this process, not the blocks reserved for the super-user.
    return SpaceInfo { static_cast<uint64_t>(info.f_blocks) * info.f_frsize,
        static_cast<uint64_t>(info.f_bavail) * info.f_frsize };
}

std::optional<uint64_t> FileManager::freeSpace(const std::string& path) const
{
    auto info = space(path);
    if (!info)
        return std::nullopt;
    return info->freeBytes;
}

std::optional<uint64_t> FileManager::totalSpace(const std::string& path) const
{
    auto info = space(path);
    if (!info)
        return std::nullopt;
    return info->totalBytes;
}

void FileManager::setSpaceProviderForTesting(SpaceProvider provider)
{
    std::lock_guard lock(m_mutex);
    m_spaceProvider = std::move(provider);
}

bool FileManager::setExcludedFromBackup(const std::string& path, bool excluded)
{
    if (!fileExists(path))
        return false;
    std::string key = canonicalKey(path);
    int result;
    if (excluded) {
        static const char value[] = "1";
        result = ::setxattr(path.c_str(), excludeFromBackupAttribute, value, sizeof value - 1, 0);
    } else {
        result = ::removexattr(path.c_str(), excludeFromBackupAttribute);
        if (result != 0 && errno == ENODATA)
            result = 0;
    }
    int failure = result == 0 ? 0 : errno;

    std::lock_guard lock(m_mutex);
    if (failure == 0) {
        m_excludedWithoutAttribute.erase(key);
        return true;
    }
    if (!xattrUnsupported(failure))
        return false;
    if (excluded)
        m_excludedWithoutAttribute.insert(key);
    else
        m_excludedWithoutAttribute.erase(key);
    return true;
}

bool FileManager::isExcludedFromBackup(const std::string& path) const
{
    if (!fileExists(path))
        return false;
    char value[8];
    if (::getxattr(path.c_str(), excludeFromBackupAttribute, value, sizeof value) >= 0)
        return true;
    std::lock_guard lock(m_mutex);
    return m_excludedWithoutAttribute.count(canonicalKey(path)) > 0;
}

} // namespace base
