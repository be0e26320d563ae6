#pragma once

// The companion framework's downloader of streamed books: it fetches the playlists of a
// book (with every file they name) into the book's folder on this device and keeps one
// record per book id with its state and progress, across launches.
//
// States: "Started", "Downloading", "Paused", "Failed", "Finished". Results come back
// through the delegate given with each call (held weakly, one per book); a later
// setDelegateForAVAssetWithDelegate hands a running download to another listener.
// A book id is the decimal text of a number; any other id is refused and never reaches
// the file system. Made by CompanionFramework::assetDownloaderManager().

#include "platform/base/Error.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

namespace MVAVAssetDownloadState {
inline constexpr const char* Started = "Started";
inline constexpr const char* Downloading = "Downloading";
inline constexpr const char* Paused = "Paused";
inline constexpr const char* Failed = "Failed";
inline constexpr const char* Finished = "Finished";
} // namespace MVAVAssetDownloadState

// One playlist of a book to download: where it is (a path or file URL), the folder of the
// book on this device, and where the copy goes inside that folder ("part-1/master.m3u8").
// The files the playlist names keep their places beside it.
struct MVAVAssetDownloadURL {
    std::string url;
    std::string bookFolder;
    std::string relativePath;
};

struct MVAVAssetDownloadDetail {
    std::string bookID;
    std::string bookDownloadState;
    // 0 to 1.
    float progress = 0;
    std::string bookFolder;
};

class MVAVAssetDownloaderManagerDelegate {
public:
    virtual ~MVAVAssetDownloaderManagerDelegate() = default;
    virtual void didPauseAllAVAssetDownloads() { }
    virtual void didDeleteDownloadedAVAssetWithBookID(const std::string& /*bookID*/) { }
    virtual void didDownloadRequestStateUpdateForAVAsset(
        const MVAVAssetDownloadDetail&, const std::string& /*bookID*/)
    {
    }
    virtual void didDownloadRequestFailForAVAsset(
        const base::Error&, const MVAVAssetDownloadDetail&, const std::string& /*bookID*/)
    {
    }
};

class MVAVAssetDownloaderManager {
public:
    using Delegate = std::weak_ptr<MVAVAssetDownloaderManagerDelegate>;

    virtual ~MVAVAssetDownloaderManager() = default;

    // Absent when the downloader has no record of the book.
    virtual std::optional<MVAVAssetDownloadDetail> getAVAssetDetails(const std::string& bookID) const = 0;
    virtual std::vector<MVAVAssetDownloadDetail> getAllAVAssetDetails() const = 0;
    // Finished, and its files are still in place.
    virtual bool isAVAssetDownloaded(const std::string& bookID) const = 0;

    virtual void downloadAVAsset(
        const std::string& bookID, const std::vector<MVAVAssetDownloadURL>& bookDownloadURLs, Delegate)
        = 0;
    virtual void pauseAVAsset(const std::string& bookID, Delegate) = 0;
    virtual void resumeAVAsset(const std::string& bookID, Delegate) = 0;
    // Stops the download and forgets it; what it had fetched goes too. Nothing is reported.
    virtual void cancelAVAsset(const std::string& bookID, Delegate) = 0;
    // Removes a book's downloaded files and its record; reported as a deletion.
    virtual void deleteAVAsset(const std::string& bookID, Delegate) = 0;
    virtual void setDelegateForAVAssetWithDelegate(Delegate, const std::string& bookID) = 0;
};

} // namespace lectoro
