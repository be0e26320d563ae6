#pragma once

// The only way the media layer opens a file. A path is resolved (symbolic links followed) and
// must lie inside the root it is read under; it must be a regular file, so a FIFO, a device or
// a folder is refused before anything waits on it. Demuxers never open files themselves: the
// layer hands them the one file it opened (AssetFile.cpp) and refuses every other open.

#include "platform/base/Error.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace media {

// One open the media layer made, or refused: `refusal` is empty for a file it opened.
struct MediaOpenRecord {
    std::string path;
    std::string refusal;
};
using MediaOpenObserver = std::function<void(const MediaOpenRecord&)>;

// Tests: hears every file the media layer opens and every open it refuses (a file outside
// the root, a FIFO, another file a demuxer asked for), on the thread that reads. Empty to stop.
void setMediaOpenObserverForTesting(MediaOpenObserver);

namespace detail {

void reportMediaOpen(const std::string& path, const std::string& refusal);

// `folder` with its links resolved; an error when it is not a folder.
base::Result<std::string> canonicalFolder(const std::string& folder);

// Whether `path` resolves to a regular file inside `canonicalRoot` (empty: anywhere). Answers
// the resolved path. Nothing is opened.
base::Result<std::string> checkMediaFile(const std::string& path, const std::string& canonicalRoot);
// Nothing at all is there: not a file, not a link (not even a broken one).
bool isAbsent(const std::string& path);

class MediaFile {
public:
    // Errors: a missing file (urlErrorFileDoesNotExist), one outside the root (errorUnsafePath),
    // one that is not a regular file (errorFileFormatNotRecognized).
    static base::Result<MediaFile> open(const std::string& path, const std::string& canonicalRoot);

    MediaFile(MediaFile&&) noexcept;
    MediaFile& operator=(MediaFile&&) noexcept;
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;
    ~MediaFile();

    // As it was named, and with its links resolved.
    const std::string& path() const { return m_path; }
    const std::string& resolvedPath() const { return m_resolved; }
    int64_t size() const { return m_size; }

    // Up to `length` bytes at `offset`; 0 at the end, -1 on an error.
    int64_t readAt(void* into, size_t length, int64_t offset) const;
    // The first bytes (up to `length`).
    std::string head(size_t length) const;
    // The whole file, refused (errorFileFailedToParse, naming `limitName`) when it holds more
    // than `maxBytes`.
    base::Result<std::string> readAll(size_t maxBytes, const char* limitName) const;

private:
    MediaFile(int fd, std::string path, std::string resolved, int64_t size);

    int m_fd = -1;
    std::string m_path;
    std::string m_resolved;
    int64_t m_size = 0;
};

} // namespace detail

} // namespace media
