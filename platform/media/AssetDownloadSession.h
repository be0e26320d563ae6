#pragma once

// Downloads of streamed books for offline use, on the main run loop's clock.
//
// A task copies a playlist (master or media) and every file it names into a new folder
// under the session's destination, one file at a time, each taking its size divided by the
// session's bytes per second of run-loop time. The delegate hears progress after each
// file, then the finished folder's path, then completion; or completion with an error (a
// file missing, a path leaving the playlist's folder, a web address: this platform has
// no network; a file past the per-file limit; a file whose size changed between planning and
// its copy; cancellation). A file is copied up to the size it was planned at and no further.
// A task that does not finish leaves no folder behind.

#include "platform/base/Error.h"
#include "platform/base/RunLoop.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {

class AssetDownloadSession;
class AssetDownloadTask;

class AssetDownloadDelegate {
public:
    virtual ~AssetDownloadDelegate() = default;
    // Seconds of the stream on disk so far, of its whole duration.
    virtual void didLoadTimeRange(AssetDownloadSession&, AssetDownloadTask&, double /*loadedSeconds*/, double /*totalSeconds*/) { }
    virtual void didFinishDownloadingTo(AssetDownloadSession&, AssetDownloadTask&, const std::string& /*location*/) { }
    // The last call for a task: no error when it finished.
    virtual void didCompleteWithError(AssetDownloadSession&, AssetDownloadTask&, const std::optional<base::Error>&) { }
};

struct AssetDownloadConfiguration {
    std::string identifier;
    // Where finished downloads go, one folder each.
    std::string destinationFolder;
    double bytesPerSecond = 1'000'000;
    // The largest file a download copies; a larger one fails the task when it is planned.
    uint64_t maxBytesPerFile = uint64_t(4) << 30;
};

class AssetDownloadTask {
public:
    enum class State { Running, Suspended, Canceling, Completed };

    // An unfinished download's files go with it.
    ~AssetDownloadTask();
    AssetDownloadTask(const AssetDownloadTask&) = delete;
    AssetDownloadTask& operator=(const AssetDownloadTask&) = delete;

    uint64_t taskIdentifier() const { return m_identifier; }
    const std::string& url() const { return m_url; }
    const std::string& title() const { return m_title; }
    State state() const { return m_state; }
    // 0 to 1, by bytes.
    double fractionCompleted() const;
    uint64_t countOfBytesReceived() const { return m_bytesReceived; }
    uint64_t countOfBytesExpectedToReceive() const { return m_bytesExpected; }
    const std::optional<base::Error>& error() const { return m_error; }
    // The finished folder; empty before.
    const std::string& location() const { return m_location; }

    // Tasks start suspended; resume() starts or goes on with the file under way.
    void resume();
    void suspend();
    void cancel();

private:
    friend class AssetDownloadSession;
    struct File {
        std::string source;
        std::string relativePath;
        uint64_t size = 0;
    };

    AssetDownloadTask(std::weak_ptr<AssetDownloadSession>, uint64_t identifier, std::string url, std::string title);
    base::Result<void> plan();
    void scheduleNextFile();
    void copyNextFile();
    void succeed();
    void fail(base::Error);

    std::weak_ptr<AssetDownloadSession> m_session;
    uint64_t m_identifier = 0;
    std::string m_url;
    std::string m_title;
    State m_state = State::Suspended;
    bool m_planned = false;
    std::vector<File> m_files;
    size_t m_nextFile = 0;
    double m_duration = 0;
    uint64_t m_bytesReceived = 0;
    uint64_t m_bytesExpected = 0;
    // The playlist's folder, links resolved: every file copied lies inside it.
    std::string m_root;
    std::string m_partialFolder;
    std::string m_location;
    std::optional<base::Error> m_error;
    base::RunLoop::TaskId m_pending = 0;
};

class AssetDownloadSession : public std::enable_shared_from_this<AssetDownloadSession> {
public:
    static std::shared_ptr<AssetDownloadSession> create(AssetDownloadConfiguration, std::weak_ptr<AssetDownloadDelegate>);

    const AssetDownloadConfiguration& configuration() const { return m_configuration; }
    std::shared_ptr<AssetDownloadDelegate> delegate() const { return m_delegate.lock(); }

    // A suspended task for the playlist (a path or file URL).
    std::shared_ptr<AssetDownloadTask> makeAssetDownloadTask(std::string urlOrPath, std::string title);
    // Tasks not yet completed.
    std::vector<std::shared_ptr<AssetDownloadTask>> tasks() const;
    void invalidateAndCancel();

private:
    friend class AssetDownloadTask;
    AssetDownloadSession(AssetDownloadConfiguration, std::weak_ptr<AssetDownloadDelegate>);

    AssetDownloadConfiguration m_configuration;
    std::weak_ptr<AssetDownloadDelegate> m_delegate;
    void taskDidComplete(AssetDownloadTask&);

    // Held until they complete, so a caller need not keep them.
    std::vector<std::shared_ptr<AssetDownloadTask>> m_tasks;
    uint64_t m_nextIdentifier = 1;
};

} // namespace media
