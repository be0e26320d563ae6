#pragma once

// The streamed-book downloader's records and the only places they may name, apart from the
// downloader itself so that the state file's reader can be fuzzed without the media layer.
//
// Every download goes into a folder of its own, "<download root>/<book number>", which the
// downloader makes and marks as its own (a marker file inside); a record naming any other
// folder (another absolute path, a folder reached through a symbolic link leaving the root,
// another book's folder, a folder no download marked) is dropped when the state file is
// read, never acted on. Inside that folder a record lists what it placed,
// as plain relative paths; removing a download removes those entries and nothing else, and
// only while their folders, links resolved, still lie inside the book's folder.

#include "LectoroSDKWithReader/readersdk/media/MVAVAssetDownloaderManager.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace companion {

struct DownloadRecord {
    lectoro::MVAVAssetDownloadDetail detail;
    std::vector<lectoro::MVAVAssetDownloadURL> urls;
    // The playlist under way (or next); urls.size() once all are in place.
    size_t nextURL = 0;
    // What the download put in the book folder, relative to it.
    std::vector<std::string> placed;

    // Field by field (the framework's records define no comparison).
    friend bool operator==(const DownloadRecord&, const DownloadRecord&);
};

// A book id as the downloader takes it: only decimal digits, at most 18 of them.
bool isValidDownloadBookID(const std::string&);
// A path of one or more steps below a folder: no empty, "." or ".." step, not absolute, no
// NUL or backslash.
bool isPlainRelativePath(std::string_view);

class DownloadFolders {
public:
    // `root` is made when missing; it may itself be reached through links.
    explicit DownloadFolders(std::string root);

    const std::string& root() const { return m_root; }
    // The folder a book's download goes into, links of the root resolved (nothing for an id
    // that is no book number or a root that cannot be made).
    std::optional<std::string> folderForBook(const std::string& bookID) const;
    // Whether `folder`, its links resolved, is exactly the book's folder.
    bool isFolderOfBook(const std::string& folder, const std::string& bookID) const;
    // Makes the book's folder (when missing) and marks it as a download's; false when it
    // cannot be.
    bool markFolderOfBook(const std::string& bookID) const;
    // The book's folder, and marked as a download's (by a file, not a link).
    bool isDownloadFolderOfBook(const std::string& folder, const std::string& bookID) const;
    // Takes the mark away again (the download is gone).
    void unmarkFolderOfBook(const std::string& bookID) const;
    // Where `relative` lies inside the book's marked folder, with the links of its folders
    // resolved (the last step is not followed: removing a link removes the link); nothing
    // when the path is not plain, names the mark or its folders lead out of the folder.
    std::optional<std::string> placeInBook(const std::string& folder, const std::string& bookID,
        const std::string& relative) const;
    // Removes what the record placed, each entry only where placeInBook() finds it; answers
    // how many entries were removed. Nothing is removed for a folder that is not the book's.
    size_t removePlaced(const DownloadRecord&) const;

    // The marker's name inside a book's folder.
    static constexpr const char* markerName = ".lectoro-hls-download";

private:
    std::string m_root;
};

using DownloadLog = std::function<void(const std::string& line)>;

// The records of a state file that pass every check above, by book id; each record dropped
// is told to `log` with the reason. A text that is no state file holds no records.
std::map<std::string, DownloadRecord> readDownloadState(std::string_view text, const DownloadFolders&,
    const DownloadLog&);
std::string downloadStateText(const std::map<std::string, DownloadRecord>&);

} // namespace companion
