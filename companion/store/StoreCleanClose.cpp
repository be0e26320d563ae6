#include "companion/store/StoreCleanClose.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace companion {

namespace {

std::string markPath(const std::string& databasePath)
{
    return databasePath + "-closed";
}

// The file's identity and every time the system keeps for it, as one line; empty when the
// file cannot be read.
std::string stampOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    char line[256];
    int length = std::snprintf(line, sizeof line, "%llu %llu %lld %lld.%09ld %lld.%09ld\n",
        static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino),
        static_cast<long long>(status.st_size), static_cast<long long>(status.st_mtim.tv_sec), status.st_mtim.tv_nsec,
        static_cast<long long>(status.st_ctim.tv_sec), status.st_ctim.tv_nsec);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof line)
        return {};
    return std::string(line, static_cast<size_t>(length));
}

// A log (write-ahead or rollback) that holds something a crash may have left unfinished.
bool hasLogWithContent(const std::string& databasePath)
{
    for (const char* suffix : { "-wal", "-journal" }) {
        struct stat status {};
        if (::stat((databasePath + suffix).c_str(), &status) == 0 && status.st_size > 0)
            return true;
    }
    return false;
}

} // namespace

bool wasClosedCleanly(const std::string& databasePath)
{
    int file = ::open(markPath(databasePath).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    char buffer[256];
    ssize_t length = ::read(file, buffer, sizeof buffer);
    ::close(file);
    if (length <= 0)
        return false;
    std::string stamp = stampOf(databasePath);
    return !stamp.empty() && stamp == std::string(buffer, static_cast<size_t>(length)) && !hasLogWithContent(databasePath);
}

void forgetCleanClose(const std::string& databasePath)
{
    ::unlink(markPath(databasePath).c_str());
}

void markClosedCleanly(const std::string& databasePath)
{
    if (hasLogWithContent(databasePath))
        return;
    std::string stamp = stampOf(databasePath);
    if (stamp.empty())
        return;
    // Written whole under another name and renamed, so a mark is never half there; a mark
    // lost in a crash only means one more check.
    std::string mark = markPath(databasePath);
    std::string partial = mark + "-new";
    int file = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return;
    bool written = ::write(file, stamp.data(), stamp.size()) == static_cast<ssize_t>(stamp.size());
    ::close(file);
    if (!written || ::rename(partial.c_str(), mark.c_str()) != 0)
        ::unlink(partial.c_str());
}

} // namespace companion
