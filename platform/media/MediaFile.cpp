#include "platform/media/MediaFile.h"

#include "platform/media/MediaError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

namespace {

std::mutex& observerMutex()
{
    static std::mutex mutex;
    return mutex;
}

MediaOpenObserver& observer()
{
    static MediaOpenObserver held;
    return held;
}

bool isInside(const std::string& root, const std::string& path)
{
    if (root.empty())
        return true;
    if (root == "/")
        return true;
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/';
}

base::Result<std::string> resolved(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        return urlError(urlErrorFileDoesNotExist, "The file does not exist: " + path, path);
    return std::string(real.get());
}

// The file an open descriptor names now (links resolved); nothing where the system cannot say.
std::optional<std::string> openedPath(int fd)
{
    char target[PATH_MAX + 1];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t length = ::readlink(link.c_str(), target, PATH_MAX);
    if (length <= 0)
        return std::nullopt;
    return std::string(target, static_cast<size_t>(length));
}

// Checked before opening, so opening never waits on a FIFO or wakes a device.
base::Result<std::string> checkedPath(const std::string& path, const std::string& canonicalRoot)
{
    auto real = resolved(path);
    if (!real.ok())
        return real.error();
    if (!isInside(canonicalRoot, real.value())) {
        detail::reportMediaOpen(path, "outside the root");
        return mediaError(errorUnsafePath, "The file lies outside the book's folder: " + path, path);
    }
    struct stat info {};
    if (::stat(real->c_str(), &info) != 0)
        return urlError(urlErrorFileDoesNotExist, "The file does not exist: " + path, path);
    if (!S_ISREG(info.st_mode)) {
        detail::reportMediaOpen(path, "not a regular file");
        return mediaError(errorFileFormatNotRecognized, "Not a regular file: " + path, path);
    }
    return real;
}

} // namespace

void setMediaOpenObserverForTesting(MediaOpenObserver observed)
{
    std::lock_guard lock(observerMutex());
    observer() = std::move(observed);
}

namespace detail {

void reportMediaOpen(const std::string& path, const std::string& refusal)
{
    MediaOpenObserver copy;
    {
        std::lock_guard lock(observerMutex());
        copy = observer();
    }
    if (copy)
        copy({ path, refusal });
}

base::Result<std::string> canonicalFolder(const std::string& folder)
{
    auto real = resolved(folder);
    if (!real.ok())
        return urlError(urlErrorFileDoesNotExist, "The folder does not exist: " + folder, folder);
    struct stat info {};
    if (::stat(real->c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return urlError(urlErrorFileDoesNotExist, "Not a folder: " + folder, folder);
    return real;
}

base::Result<std::string> checkMediaFile(const std::string& path, const std::string& canonicalRoot)
{
    return checkedPath(path, canonicalRoot);
}

bool isAbsent(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

base::Result<MediaFile> MediaFile::open(const std::string& path, const std::string& canonicalRoot)
{
    auto real = checkedPath(path, canonicalRoot);
    if (!real.ok())
        return real.error();
    reportMediaOpen(path, {});
    // O_NONBLOCK and O_NOFOLLOW: the file swapped for a FIFO or a link since the check is
    // refused below instead of blocking or leaving the root.
    int fd = ::open(real->c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return urlError(urlErrorFileDoesNotExist, "The file cannot be opened: " + path, path);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return mediaError(errorFileFormatNotRecognized, "Not a regular file: " + path, path);
    }
    // O_NOFOLLOW guards only the last step: a folder on the way swapped for a link since the
    // check would lead the open elsewhere. Where the descriptor really points settles it.
    if (auto opened = openedPath(fd); opened && !isInside(canonicalRoot, *opened)) {
        ::close(fd);
        reportMediaOpen(path, "outside the root");
        return mediaError(errorUnsafePath, "The file lies outside the book's folder: " + path, path);
    }
    return MediaFile(fd, path, std::move(real.value()), static_cast<int64_t>(info.st_size));
}

MediaFile::MediaFile(int fd, std::string path, std::string resolved, int64_t size)
    : m_fd(fd), m_path(std::move(path)), m_resolved(std::move(resolved)), m_size(size)
{
}

MediaFile::MediaFile(MediaFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)), m_resolved(std::move(other.m_resolved)), m_size(other.m_size)
{
}

MediaFile& MediaFile::operator=(MediaFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_resolved = std::move(other.m_resolved);
        m_size = other.m_size;
    }
    return *this;
}

MediaFile::~MediaFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int64_t MediaFile::readAt(void* into, size_t length, int64_t offset) const
{
    if (offset < 0)
        return -1;
    for (;;) {
        ssize_t got = ::pread(m_fd, into, length, static_cast<off_t>(offset));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return -1;
    }
}

std::string MediaFile::head(size_t length) const
{
    std::string bytes(length, '\0');
    int64_t got = readAt(bytes.data(), length, 0);
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
}

base::Result<std::string> MediaFile::readAll(size_t maxBytes, const char* limitName) const
{
    auto tooLarge = [&] {
        return mediaError(errorFileFailedToParse,
            "The file holds more than " + std::to_string(maxBytes) + " bytes (" + limitName + "): " + m_path, m_path);
    };
    if (m_size < 0 || static_cast<uint64_t>(m_size) > maxBytes)
        return tooLarge();
    // One byte more than allowed shows a file that grew since it was measured.
    std::string text(static_cast<size_t>(m_size) + 1, '\0');
    size_t filled = 0;
    while (filled < text.size()) {
        int64_t got = readAt(text.data() + filled, text.size() - filled, static_cast<int64_t>(filled));
        if (got < 0)
            return urlError(urlErrorFileDoesNotExist, "The file cannot be read: " + m_path, m_path);
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
        if (filled > maxBytes)
            return tooLarge();
    }
    text.resize(filled);
    return text;
}

} // namespace detail

} // namespace media
