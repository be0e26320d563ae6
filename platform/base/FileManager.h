#pragma once

// Files and folders of the app's sandbox.
//
// The sandbox root holds Documents/ and Library/ (created on demand). It defaults to
// $XDG_DATA_HOME/lectoro, else ~/.local/share/lectoro; tests point it at a temporary
// folder with setSandboxRoot().
//
// No operation throws: failures answer false or an empty optional. Every operation is
// safe to call from any thread.
//
// Excluded-from-backup marks are stored as the extended attribute
// "user.lectoro.exclude-from-backup" on the item. Where the file system refuses extended
// attributes, the mark is kept in a set held in memory for the life of the process (so it
// is answered correctly, but not remembered across launches).

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// The one rule for a path that untrusted content (a book) names relative to its folder: the
// name (percent-escapes read) joined to the folder, with symbolic links resolved, when it
// lies inside the folder (its links resolved too), and nothing otherwise: an empty name, an
// absolute path, a scheme ("file:", "http:"), a back-slash or a NUL, a ".." that climbs out,
// or a link that leads out. The file need not exist; a missing one inside is answered.
std::optional<std::string> pathInsideFolder(const std::string& folder, std::string_view name);

class FileManager {
public:
    struct SpaceInfo {
        uint64_t totalBytes = 0;
        uint64_t freeBytes = 0;
    };
    // Answers the sizes of the file system holding the path, or nothing on failure.
    using SpaceProvider = std::function<std::optional<SpaceInfo>(const std::string& path)>;

    static constexpr const char* excludeFromBackupAttribute = "user.lectoro.exclude-from-backup";

    static FileManager& defaultManager();

    FileManager();
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    // An empty path goes back to the default root.
    void setSandboxRoot(std::string path);
    std::string sandboxRoot() const;
    // Created when missing (a failure to create is ignored; the path is answered anyway).
    std::string documentsDirectory() const;
    std::string libraryDirectory() const;
    std::string cachesDirectory() const;
    std::string temporaryDirectory() const;

    // With intermediates, an existing folder counts as success; without, the parent must
    // exist and the folder must not. An ordinary file in the way is a failure.
    bool createDirectory(const std::string& path, bool withIntermediates) const;
    // Follows symbolic links.
    bool fileExists(const std::string& path, bool* isDirectory = nullptr) const;
    // Removes a file or a whole folder; false when nothing was there.
    bool removeItem(const std::string& path) const;
    // Entry names (not paths), sorted, hidden ones included; nothing when the folder
    // cannot be listed.
    std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) const;
    // Both refuse to overwrite an existing destination; folders are copied whole.
    bool copyItem(const std::string& from, const std::string& to) const;
    bool moveItem(const std::string& from, const std::string& to) const;

    std::optional<std::string> readFile(const std::string& path) const;
    // Writes a temporary file beside the target, flushes it and renames it over the
    // target, so readers see the old content or the new, never a mix. The parent folder
    // must exist.
    bool writeFileAtomically(const std::string& path, const std::string& data) const;
    // Regular files only.
    std::optional<uint64_t> fileSize(const std::string& path) const;

    std::optional<uint64_t> freeSpace(const std::string& path) const;
    std::optional<uint64_t> totalSpace(const std::string& path) const;
    // nullptr goes back to statvfs.
    void setSpaceProviderForTesting(SpaceProvider);

    // The item must exist; answers whether the mark now reads as asked.
    bool setExcludedFromBackup(const std::string& path, bool excluded);
    bool isExcludedFromBackup(const std::string& path) const;

private:
    std::string subdirectory(const char* relative) const;
    std::optional<SpaceInfo> space(const std::string& path) const;

    mutable std::mutex m_mutex;
    std::string m_sandboxRoot;
    SpaceProvider m_spaceProvider;
    std::set<std::string> m_excludedWithoutAttribute;
};

} // namespace base
