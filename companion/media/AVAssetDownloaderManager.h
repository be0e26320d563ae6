#pragma once

// The downloader of streamed books. A book's playlists are fetched one after the other with
// platform/media's asset download session (so on the run loop's clock) and each finished
// copy is put in its place inside the book's folder. The records (state, progress, the
// playlists still to fetch, what was put where) are kept in "hls-downloads.json" in the
// state folder, written after every change, so a finished book stays downloaded across
// launches; a download that was running when the process ended comes back "Paused" and
// starts its current playlist again when resumed.
//
// Everything happens on the main thread: a call from another thread is carried there
// first (queries answer at once, from the last published records). A book's files go into
// the downloader's own folder for the book, "<download root>/<book number>", and nowhere
// else (DownloadRecords.h): a book id that is not the decimal text of a number, any other
// book folder or a playlist placed outside it is refused before anything touches the disk;
// so are such entries of a state file, which are dropped with a line in the framework's log
// when it is read. The state file is written whole to a temporary file and renamed over the
// old one, so a crash leaves the old records or the new.

#include "LectoroSDKWithReader/readersdk/media/MVAVAssetDownloaderManager.h"
#include "companion/media/DownloadRecords.h"
#include "platform/media/AssetDownloadSession.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace companion {

class AVAssetDownloaderManager final : public lectoro::MVAVAssetDownloaderManager,
                                       public media::AssetDownloadDelegate,
                                       public std::enable_shared_from_this<AVAssetDownloaderManager> {
public:
    struct Options {
        // Where the records and the downloads under way are kept; empty keeps the records in
        // memory and the downloads under way in the temporary folder.
        std::string stateFolder;
        // Download speed, in bytes per second of run-loop time.
        double bytesPerSecond = 1'000'000;
        // The folder the books' folders are made in; empty for "books" beside the records.
        std::string downloadRoot;
    };

    static constexpr const char* stateFileName = "hls-downloads.json";
    static constexpr const char* errorDomain = "LectoroAssetDownloadErrorDomain";
    enum ErrorCode : int64_t { InvalidBookID = 1, InvalidRequest = 2, CannotPlace = 3 };

    static std::shared_ptr<AVAssetDownloaderManager> create(Options);
    ~AVAssetDownloaderManager() override;

    // The book id as a path component or number: only decimal digits, at most 18 of them.
    static bool isValidBookID(const std::string&);

    std::optional<lectoro::MVAVAssetDownloadDetail> getAVAssetDetails(
        const std::string& bookID) const override;
    std::vector<lectoro::MVAVAssetDownloadDetail> getAllAVAssetDetails() const override;
    bool isAVAssetDownloaded(const std::string& bookID) const override;

    void downloadAVAsset(
        const std::string& bookID, const std::vector<lectoro::MVAVAssetDownloadURL>&, Delegate) override;
    void pauseAVAsset(const std::string& bookID, Delegate) override;
    void resumeAVAsset(const std::string& bookID, Delegate) override;
    void cancelAVAsset(const std::string& bookID, Delegate) override;
    void deleteAVAsset(const std::string& bookID, Delegate) override;
    void setDelegateForAVAssetWithDelegate(Delegate, const std::string& bookID) override;

    void setBytesPerSecond(double);

    // media::AssetDownloadDelegate
    void didLoadTimeRange(media::AssetDownloadSession&, media::AssetDownloadTask&, double, double) override;
    void didFinishDownloadingTo(
        media::AssetDownloadSession&, media::AssetDownloadTask&, const std::string& location) override;
    void didCompleteWithError(
        media::AssetDownloadSession&, media::AssetDownloadTask&, const std::optional<base::Error>&) override;

private:
    struct Record : DownloadRecord {
        std::shared_ptr<media::AssetDownloadTask> task;
    };
    // What queries from any thread see.
    struct Published {
        lectoro::MVAVAssetDownloadDetail detail;
        std::vector<std::string> placed;
    };

    explicit AVAssetDownloaderManager(Options);
    void start();
    std::shared_ptr<media::AssetDownloadSession> session();
    void onMain(std::function<void()>);
    std::shared_ptr<lectoro::MVAVAssetDownloaderManagerDelegate> delegateFor(const std::string& bookID) const;
    void remember(const std::string& bookID, const Delegate&);

    void startNextPlaylist(const std::string& bookID);
    void finishPlaylist(Record&, const std::string& location);
    // By value: a listener may end the record (and its id) while it is being told.
    void fail(std::string bookID, const base::Error&);
    // Stops the book's task and removes what it placed and its record.
    bool forget(const std::string& bookID);
    Record* recordForTask(const media::AssetDownloadTask&);
    void reportState(std::string bookID);

    void load();
    void save();
    void publish();

    Options m_options;
    std::string m_root;
    std::string m_incomingFolder;
    DownloadFolders m_folders { {} };
    std::shared_ptr<media::AssetDownloadSession> m_session;
    std::map<std::string, Record> m_records;
    std::map<std::string, Delegate> m_delegates;

    mutable std::mutex m_publishedMutex;
    std::map<std::string, Published> m_published;
};

} // namespace companion
