#include "platform/media/AssetDownloadSession.h"

#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/media/HLSPlaylist.h"
#include "platform/media/MediaError.h"
#include "platform/media/MediaFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <vector>

namespace media {

namespace {

// Bytes copied at a time.
constexpr size_t copyChunkBytes = 1 << 20;

std::string parentFolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder + "/" + name;
}

// The files of one playlist: itself, then what it names, as paths relative to the root.
struct PlanBuilder {
    std::string root;
    std::vector<std::pair<std::string, std::string>> files; // (source, relative)
    std::set<std::string> seen;

    void add(const std::string& relative)
    {
        if (seen.insert(relative).second)
            files.emplace_back(joined(root, relative), relative);
    }

    base::Result<void> addAll(const std::string& relativeFolder, const std::vector<std::string>& uris)
    {
        for (const std::string& uri : uris) {
            if (hls::isRemoteURI(uri))
                return urlError(urlErrorUnsupportedURL, "Only local streams can be downloaded here: " + uri, uri);
            auto relative = hls::resolveInFolder(relativeFolder, uri);
            if (!relative.ok())
                return relative.error();
            add(relative.value());
        }
        return {};
    }
};

// Within the same bounds as a stream that is played (a regular file, inside the root).
base::Result<std::string> readPlaylist(const std::string& path, const std::string& root)
{
    auto file = detail::MediaFile::open(path, root);
    if (!file.ok())
        return file.error();
    return file->readAll(AssetLimits {}.maxPlaylistBytes, "maxPlaylistBytes");
}

// The file's bytes, read through the layer's one door: a FIFO or a link leading out of the
// stream's folder is refused without waiting on it, and a link inside it is copied as the file
// it names (a copied link would point back into the stream's folder, or nowhere). Exactly the
// planned bytes are copied: a file that changed size since it was planned (a segment that grows
// while it waits its turn) is refused, and no byte past the planned size is written.
base::Result<void> copyStreamFile(
    const std::string& source, const std::string& root, const std::string& destination, uint64_t plannedSize)
{
    auto file = detail::MediaFile::open(source, root);
    if (!file.ok())
        return file.error();
    auto changed = [&] {
        return mediaError(errorFileFailedToParse,
            "A file of the stream changed size after the download was planned (" + std::to_string(plannedSize)
                + " bytes): " + source,
            source);
    };
    if (file->size() < 0 || static_cast<uint64_t>(file->size()) != plannedSize)
        return changed();
    auto cannotSave = [&] {
        return urlError(urlErrorCannotWriteToFile, "A file of the stream cannot be saved: " + destination, destination);
    };
    std::ofstream out(destination, std::ios::binary | std::ios::trunc);
    if (!out)
        return cannotSave();
    std::vector<char> buffer(copyChunkBytes);
    uint64_t offset = 0;
    while (offset < plannedSize) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), plannedSize - offset));
        int64_t got = file->readAt(buffer.data(), want, static_cast<int64_t>(offset));
        if (got < 0)
            return urlError(urlErrorFileDoesNotExist, "A file of the stream cannot be read: " + source, source);
        if (got == 0)
            return changed();
        if (!out.write(buffer.data(), static_cast<std::streamsize>(got)))
            return cannotSave();
        offset += static_cast<uint64_t>(got);
    }
    // Bytes beyond the planned size mean the file grew while it was copied.
    char probe = 0;
    if (file->readAt(&probe, 1, static_cast<int64_t>(plannedSize)) != 0)
        return changed();
    out.close();
    if (!out)
        return cannotSave();
    return {};
}

} // namespace

AssetDownloadSession::AssetDownloadSession(AssetDownloadConfiguration configuration, std::weak_ptr<AssetDownloadDelegate> delegate)
    : m_configuration(std::move(configuration)), m_delegate(std::move(delegate))
{
    if (!(m_configuration.bytesPerSecond > 0) || !std::isfinite(m_configuration.bytesPerSecond))
        m_configuration.bytesPerSecond = 1'000'000;
}

std::shared_ptr<AssetDownloadSession> AssetDownloadSession::create(AssetDownloadConfiguration configuration, std::weak_ptr<AssetDownloadDelegate> delegate)
{
    return std::shared_ptr<AssetDownloadSession>(new AssetDownloadSession(std::move(configuration), std::move(delegate)));
}

std::shared_ptr<AssetDownloadTask> AssetDownloadSession::makeAssetDownloadTask(std::string urlOrPath, std::string title)
{
    std::shared_ptr<AssetDownloadTask> task(new AssetDownloadTask(weak_from_this(), m_nextIdentifier++, std::move(urlOrPath), std::move(title)));
    m_tasks.push_back(task);
    return task;
}

std::vector<std::shared_ptr<AssetDownloadTask>> AssetDownloadSession::tasks() const
{
    return m_tasks;
}

void AssetDownloadSession::invalidateAndCancel()
{
    for (const auto& task : tasks())
        task->cancel();
}

void AssetDownloadSession::taskDidComplete(AssetDownloadTask& task)
{
    auto found = std::find_if(m_tasks.begin(), m_tasks.end(), [&](const auto& held) { return held.get() == &task; });
    if (found == m_tasks.end())
        return;
    std::shared_ptr<AssetDownloadTask> keep = *found; // alive through the delegate's call
    m_tasks.erase(found);
    if (auto delegate = m_delegate.lock())
        delegate->didCompleteWithError(*this, task, task.error());
}

AssetDownloadTask::AssetDownloadTask(std::weak_ptr<AssetDownloadSession> session, uint64_t identifier, std::string url, std::string title)
    : m_session(std::move(session)), m_identifier(identifier), m_url(std::move(url)), m_title(std::move(title))
{
}

AssetDownloadTask::~AssetDownloadTask()
{
    base::RunLoop::main().cancel(m_pending);
    if (!m_partialFolder.empty())
        base::FileManager::defaultManager().removeItem(m_partialFolder);
}

double AssetDownloadTask::fractionCompleted() const
{
    if (m_state == State::Completed && !m_error)
        return 1;
    return m_bytesExpected ? static_cast<double>(m_bytesReceived) / static_cast<double>(m_bytesExpected) : 0;
}

base::Result<void> AssetDownloadTask::plan()
{
    auto path = localPathOf(m_url);
    if (!path.ok())
        return path.error();
    std::string root = parentFolderOf(path.value());
    auto canonicalRoot = detail::canonicalFolder(root.empty() ? "." : root);
    if (!canonicalRoot.ok())
        return canonicalRoot.error();
    m_root = canonicalRoot.value();
    auto text = readPlaylist(path.value(), m_root);
    if (!text.ok())
        return text.error();
    auto kind = hls::playlistKind(text.value());
    if (!kind.ok())
        return kind.error();

    std::string name = path->substr(root.empty() ? 0 : root.size() + 1);
    PlanBuilder builder { root, {}, {} };
    builder.add(name);
    if (kind.value() == hls::PlaylistKind::Master) {
        auto master = hls::parseMasterPlaylist(text.value());
        if (!master.ok())
            return master.error();
        bool durationKnown = false;
        for (const std::string& uri : master->referencedURIs()) {
            if (auto added = builder.addAll("", { uri }); !added.ok())
                return added;
            std::string relative = hls::relativePathOf(uri).value();
            auto mediaText = readPlaylist(joined(root, relative), m_root);
            if (!mediaText.ok())
                return mediaText.error();
            auto media = hls::parseMediaPlaylist(mediaText.value());
            if (!media.ok())
                return media.error();
            if (auto added = builder.addAll(parentFolderOf(relative), media->referencedURIs()); !added.ok())
                return added;
            if (!durationKnown) {
                m_duration = media->duration();
                durationKnown = true;
            }
        }
    } else {
        auto media = hls::parseMediaPlaylist(text.value());
        if (!media.ok())
            return media.error();
        if (auto added = builder.addAll("", media->referencedURIs()); !added.ok())
            return added;
        m_duration = media->duration();
    }

    const auto& files = base::FileManager::defaultManager();
    auto session = m_session.lock();
    uint64_t limit = session ? session->configuration().maxBytesPerFile : AssetDownloadConfiguration {}.maxBytesPerFile;
    for (auto& [source, relative] : builder.files) {
        uint64_t size = files.fileSize(source).value_or(0);
        if (size > limit)
            return mediaError(errorFileFailedToParse,
                "A file of the stream holds " + std::to_string(size) + " bytes, more than " + std::to_string(limit)
                    + " (maxBytesPerFile): " + source,
                source);
        m_files.push_back({ source, relative, size });
        m_bytesExpected += size;
    }
    m_planned = true;
    return {};
}

void AssetDownloadTask::resume()
{
    if (m_state != State::Suspended)
        return;
    auto session = m_session.lock();
    if (!session)
        return;
    m_state = State::Running;
    if (!m_planned) {
        if (auto planned = plan(); !planned.ok()) {
            // Reported from the run loop, as every other outcome is.
            base::Error error = planned.error();
            m_pending = base::RunLoop::main().post(session, [this, error] { fail(error); });
            return;
        }
        m_partialFolder = session->configuration().destinationFolder + "/." + base::makeUuid() + ".partial";
        if (!base::FileManager::defaultManager().createDirectory(m_partialFolder, true)) {
            base::Error error = urlError(urlErrorCannotWriteToFile, "The download folder cannot be made: " + m_partialFolder, m_partialFolder);
            m_pending = base::RunLoop::main().post(session, [this, error] { fail(error); });
            return;
        }
    }
    scheduleNextFile();
}

void AssetDownloadTask::suspend()
{
    if (m_state != State::Running)
        return;
    base::RunLoop::main().cancel(std::exchange(m_pending, 0));
    m_state = State::Suspended;
}

void AssetDownloadTask::cancel()
{
    if (m_state == State::Completed || m_state == State::Canceling)
        return;
    base::RunLoop::main().cancel(std::exchange(m_pending, 0));
    m_state = State::Canceling;
    auto session = m_session.lock();
    if (!session)
        return;
    base::RunLoop::main().post(session, [this] { fail(urlError(urlErrorCancelled, "The download was cancelled.", m_url)); });
}

void AssetDownloadTask::scheduleNextFile()
{
    auto session = m_session.lock();
    if (!session)
        return;
    if (m_nextFile >= m_files.size()) {
        m_pending = base::RunLoop::main().post(session, [this] { succeed(); });
        return;
    }
    double seconds = static_cast<double>(m_files[m_nextFile].size) / session->configuration().bytesPerSecond;
    m_pending = base::RunLoop::main().postDelayed(seconds, session, [this] { copyNextFile(); });
}

void AssetDownloadTask::copyNextFile()
{
    m_pending = 0;
    const File& file = m_files[m_nextFile];
    const auto& files = base::FileManager::defaultManager();
    std::string destination = m_partialFolder + "/" + file.relativePath;
    if (!files.createDirectory(parentFolderOf(destination), true)) {
        fail(urlError(urlErrorCannotWriteToFile, "A file of the stream cannot be saved: " + destination, destination));
        return;
    }
    if (auto copied = copyStreamFile(file.source, m_root, destination, file.size); !copied.ok()) {
        base::Error error = copied.error();
        if (error.code == urlErrorFileDoesNotExist && detail::isAbsent(file.source))
            error = urlError(urlErrorFileDoesNotExist, "A file of the stream is missing: " + file.source, file.source);
        fail(std::move(error));
        return;
    }
    ++m_nextFile;
    m_bytesReceived += file.size;
    auto session = m_session.lock();
    if (auto delegate = session ? session->delegate() : nullptr)
        delegate->didLoadTimeRange(*session, *this, fractionCompleted() * m_duration, m_duration);
    if (m_state == State::Running && m_pending == 0)
        scheduleNextFile();
}

void AssetDownloadTask::succeed()
{
    m_pending = 0;
    auto session = m_session.lock();
    if (!session)
        return;
    std::string location = session->configuration().destinationFolder + "/" + base::makeUuid();
    if (!base::FileManager::defaultManager().moveItem(m_partialFolder, location)) {
        fail(urlError(urlErrorCannotWriteToFile, "The download cannot be put in place: " + location, location));
        return;
    }
    m_partialFolder.clear();
    m_location = location;
    m_state = State::Completed;
    if (auto delegate = session->delegate())
        delegate->didFinishDownloadingTo(*session, *this, m_location);
    session->taskDidComplete(*this);
}

void AssetDownloadTask::fail(base::Error error)
{
    m_pending = 0;
    if (m_state == State::Completed)
        return;
    if (!m_partialFolder.empty())
        base::FileManager::defaultManager().removeItem(m_partialFolder);
    m_partialFolder.clear();
    m_error = std::move(error);
    m_state = State::Completed;
    if (auto session = m_session.lock())
        session->taskDidComplete(*this);
}

} // namespace media
