#include "companion/media/AVAssetDownloaderManager.h"

#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/Thread.h"

#include <algorithm>

namespace companion {

namespace AssetState = lectoro::MVAVAssetDownloadState;

namespace {

base::FileManager& downloadFiles()
{
    return base::FileManager::defaultManager();
}

base::Error downloadError(AVAssetDownloaderManager::ErrorCode code, const std::string& why)
{
    return base::Error::make(AVAssetDownloaderManager::errorDomain, code, why);
}

std::string downloadFolderPartOf(const std::string& relativePath)
{
    size_t slash = relativePath.rfind('/');
    return slash == std::string::npos ? std::string() : relativePath.substr(0, slash);
}

std::string downloadPathIn(const std::string& folder, const std::string& relative)
{
    return relative.empty() ? folder : folder + "/" + relative;
}

void logDownloadRecords(const std::string& line)
{
    lectoro::LectoroDebugLog::logWithType(1, "AVAssetDownloaderManager", line);
}

bool isDownloadUnderWay(const std::string& state)
{
    return state == AssetState::Started || state == AssetState::Downloading;
}

} // namespace

bool AVAssetDownloaderManager::isValidBookID(const std::string& bookID)
{
    return isValidDownloadBookID(bookID);
}

std::shared_ptr<AVAssetDownloaderManager> AVAssetDownloaderManager::create(Options options)
{
    std::shared_ptr<AVAssetDownloaderManager> manager(new AVAssetDownloaderManager(std::move(options)));
    manager->start();
    return manager;
}

AVAssetDownloaderManager::AVAssetDownloaderManager(Options options)
    : m_options(std::move(options))
{
}

AVAssetDownloaderManager::~AVAssetDownloaderManager()
{
    if (m_session)
        m_session->invalidateAndCancel();
    if (m_options.stateFolder.empty())
        downloadFiles().removeItem(m_root);
}

void AVAssetDownloaderManager::start()
{
    m_root = m_options.stateFolder.empty()
        ? downloadFiles().temporaryDirectory() + "/hls-downloads-" + base::makeUuid()
        : m_options.stateFolder;
    m_incomingFolder = m_root + "/incoming";
    m_folders = DownloadFolders(m_options.downloadRoot.empty() ? m_root + "/books" : m_options.downloadRoot);
    // What a download under way had fetched when the process ended is fetched again.
    downloadFiles().removeItem(m_incomingFolder);
    downloadFiles().createDirectory(m_incomingFolder, true);
    load();
    publish();
}

std::shared_ptr<media::AssetDownloadSession> AVAssetDownloaderManager::session()
{
    if (!m_session) {
        media::AssetDownloadConfiguration configuration;
        configuration.identifier = "lectoro.hls-downloads";
        configuration.destinationFolder = m_incomingFolder;
        configuration.bytesPerSecond = m_options.bytesPerSecond;
        m_session = media::AssetDownloadSession::create(configuration, weak_from_this());
    }
    return m_session;
}

void AVAssetDownloaderManager::setBytesPerSecond(double bytesPerSecond)
{
    onMain([this, bytesPerSecond] {
        m_options.bytesPerSecond = bytesPerSecond;
        // Tasks under way keep their session; new ones take the new speed.
        if (m_session && m_session->tasks().empty())
            m_session.reset();
    });
}

void AVAssetDownloaderManager::onMain(std::function<void()> work)
{
    if (base::isMainThread()) {
        work();
        return;
    }
    base::RunLoop::main().post(weak_from_this(), std::move(work));
}

std::shared_ptr<lectoro::MVAVAssetDownloaderManagerDelegate> AVAssetDownloaderManager::delegateFor(
    const std::string& bookID) const
{
    auto found = m_delegates.find(bookID);
    return found == m_delegates.end() ? nullptr : found->second.lock();
}

void AVAssetDownloaderManager::remember(const std::string& bookID, const Delegate& delegate)
{
    if (!delegate.expired())
        m_delegates[bookID] = delegate;
}

// MARK: - Queries (any thread)

std::optional<lectoro::MVAVAssetDownloadDetail> AVAssetDownloaderManager::getAVAssetDetails(
    const std::string& bookID) const
{
    std::lock_guard lock(m_publishedMutex);
    auto found = m_published.find(bookID);
    if (found == m_published.end())
        return std::nullopt;
    return found->second.detail;
}

std::vector<lectoro::MVAVAssetDownloadDetail> AVAssetDownloaderManager::getAllAVAssetDetails() const
{
    std::lock_guard lock(m_publishedMutex);
    std::vector<lectoro::MVAVAssetDownloadDetail> details;
    for (const auto& [bookID, published] : m_published)
        details.push_back(published.detail);
    return details;
}

bool AVAssetDownloaderManager::isAVAssetDownloaded(const std::string& bookID) const
{
    Published published;
    {
        std::lock_guard lock(m_publishedMutex);
        auto found = m_published.find(bookID);
        if (found == m_published.end())
            return false;
        published = found->second;
    }
    if (published.detail.bookDownloadState != AssetState::Finished || published.placed.empty())
        return false;
    return std::all_of(published.placed.begin(), published.placed.end(), [&](const std::string& relative) {
        return downloadFiles().fileExists(downloadPathIn(published.detail.bookFolder, relative));
    });
}

// MARK: - Controls

void AVAssetDownloaderManager::downloadAVAsset(
    const std::string& bookID, const std::vector<lectoro::MVAVAssetDownloadURL>& urls, Delegate delegate)
{
    onMain([this, bookID, urls, delegate] {
        lectoro::MVAVAssetDownloadDetail refused { bookID, AssetState::Failed, 0, {} };
        auto refuse = [&](const base::Error& error) {
            if (auto listener = delegate.lock())
                listener->didDownloadRequestFailForAVAsset(error, refused, bookID);
        };
        if (!isValidBookID(bookID))
            return refuse(downloadError(InvalidBookID, "A book id is the decimal text of a number."));
        if (urls.empty())
            return refuse(downloadError(InvalidRequest, "There is nothing to download."));
        for (const auto& url : urls) {
            if (url.bookFolder != urls.front().bookFolder || !isPlainRelativePath(url.relativePath))
                return refuse(downloadError(InvalidRequest,
                    "A playlist would be placed outside its book folder: " + url.relativePath));
        }
        if (!m_folders.isFolderOfBook(urls.front().bookFolder, bookID))
            return refuse(downloadError(InvalidRequest,
                "The book's files may only go into the download folder of the book: " + urls.front().bookFolder));
        if (!m_folders.markFolderOfBook(bookID))
            return refuse(downloadError(CannotPlace, "The book's folder cannot be made: " + urls.front().bookFolder));
        remember(bookID, delegate);
        // A new download replaces the record; files of an earlier one are replaced as they come.
        if (auto found = m_records.find(bookID); found != m_records.end()) {
            if (auto task = std::exchange(found->second.task, nullptr))
                task->cancel();
            m_records.erase(found);
        }
        Record record;
        record.detail = { bookID, AssetState::Started, 0, urls.front().bookFolder };
        record.urls = urls;
        m_records[bookID] = std::move(record);
        save();
        reportState(bookID);
        startNextPlaylist(bookID);
    });
}

void AVAssetDownloaderManager::pauseAVAsset(const std::string& bookID, Delegate delegate)
{
    onMain([this, bookID, delegate] {
        remember(bookID, delegate);
        auto found = m_records.find(bookID);
        if (found == m_records.end() || !isDownloadUnderWay(found->second.detail.bookDownloadState))
            return;
        if (found->second.task)
            found->second.task->suspend();
        found->second.detail.bookDownloadState = AssetState::Paused;
        save();
        reportState(bookID);
    });
}

void AVAssetDownloaderManager::resumeAVAsset(const std::string& bookID, Delegate delegate)
{
    onMain([this, bookID, delegate] {
        remember(bookID, delegate);
        auto found = m_records.find(bookID);
        if (found == m_records.end() || found->second.detail.bookDownloadState != AssetState::Paused)
            return;
        Record& record = found->second;
        record.detail.bookDownloadState = AssetState::Downloading;
        save();
        reportState(bookID);
        auto again = m_records.find(bookID);
        if (again == m_records.end() || again->second.detail.bookDownloadState != AssetState::Downloading)
            return;
        if (again->second.task)
            again->second.task->resume();
        else
            startNextPlaylist(bookID);
    });
}

void AVAssetDownloaderManager::cancelAVAsset(const std::string& bookID, Delegate delegate)
{
    onMain([this, bookID, delegate] {
        remember(bookID, delegate);
        if (forget(bookID))
            save();
    });
}

void AVAssetDownloaderManager::deleteAVAsset(const std::string& bookID, Delegate delegate)
{
    onMain([this, bookID, delegate] {
        if (!isValidBookID(bookID))
            return;
        remember(bookID, delegate);
        if (forget(bookID))
            save();
        if (auto listener = delegateFor(bookID))
            listener->didDeleteDownloadedAVAssetWithBookID(bookID);
    });
}

void AVAssetDownloaderManager::setDelegateForAVAssetWithDelegate(Delegate delegate, const std::string& bookID)
{
    onMain([this, bookID, delegate] { remember(bookID, delegate); });
}

bool AVAssetDownloaderManager::forget(const std::string& bookID)
{
    auto found = m_records.find(bookID);
    if (found == m_records.end())
        return false;
    Record record = std::move(found->second);
    m_records.erase(found);
    // The task's own cancellation report finds no record and is dropped.
    if (record.task)
        record.task->cancel();
    m_folders.removePlaced(record);
    m_folders.unmarkFolderOfBook(bookID);
    return true;
}

// MARK: - The download under way

void AVAssetDownloaderManager::startNextPlaylist(const std::string& bookID)
{
    auto found = m_records.find(bookID);
    if (found == m_records.end())
        return;
    Record& record = found->second;
    if (record.nextURL >= record.urls.size()) {
        record.detail.bookDownloadState = AssetState::Finished;
        record.detail.progress = 1;
        save();
        reportState(bookID);
        return;
    }
    record.task = session()->makeAssetDownloadTask(record.urls[record.nextURL].url, bookID);
    record.task->resume();
}

AVAssetDownloaderManager::Record* AVAssetDownloaderManager::recordForTask(
    const media::AssetDownloadTask& task)
{
    for (auto& [bookID, record] : m_records)
        if (record.task.get() == &task)
            return &record;
    return nullptr;
}

void AVAssetDownloaderManager::didLoadTimeRange(
    media::AssetDownloadSession&, media::AssetDownloadTask& task, double, double)
{
    Record* record = recordForTask(task);
    if (!record)
        return;
    bool changed = record->detail.bookDownloadState == AssetState::Started;
    if (changed)
        record->detail.bookDownloadState = AssetState::Downloading;
    double share = (static_cast<double>(record->nextURL) + task.fractionCompleted())
        / static_cast<double>(record->urls.size());
    // The last file's arrival is reported as "Finished" once the copy is in place.
    record->detail.progress = static_cast<float>(std::min(share, 0.999));
    if (changed)
        save();
    else
        publish();
    reportState(record->detail.bookID);
}

void AVAssetDownloaderManager::didFinishDownloadingTo(
    media::AssetDownloadSession&, media::AssetDownloadTask& task, const std::string& location)
{
    Record* record = recordForTask(task);
    if (!record) {
        downloadFiles().removeItem(location);
        return;
    }
    finishPlaylist(*record, location);
}

void AVAssetDownloaderManager::finishPlaylist(Record& record, const std::string& location)
{
    std::string bookID = record.detail.bookID;
    const auto& url = record.urls[record.nextURL];
    std::string placeFolder = downloadFolderPartOf(url.relativePath);
    // Each file goes where the book's folder, links resolved, still holds it: a link left in
    // the folder cannot carry the copy (or the removal of an older copy) anywhere else.
    auto placeOf = [&](const std::string& relative) {
        return m_folders.placeInBook(record.detail.bookFolder, bookID, relative);
    };
    auto destinationFolder = placeFolder.empty() ? m_folders.folderForBook(bookID) : placeOf(placeFolder);
    auto entries = downloadFiles().contentsOfDirectory(location);
    bool placed = entries && destinationFolder && downloadFiles().createDirectory(*destinationFolder, true);
    for (const std::string& entry : entries.value_or(std::vector<std::string> {})) {
        if (!placed)
            break;
        std::string relative = placeFolder.empty() ? entry : placeFolder + "/" + entry;
        auto destination = placeOf(relative);
        placed = destination.has_value();
        if (!placed)
            break;
        downloadFiles().removeItem(*destination);
        placed = downloadFiles().moveItem(location + "/" + entry, *destination);
        if (placed && std::find(record.placed.begin(), record.placed.end(), relative) == record.placed.end())
            record.placed.push_back(relative);
    }
    downloadFiles().removeItem(location);
    record.task.reset();
    if (!placed) {
        fail(bookID,
            downloadError(CannotPlace,
                "The download cannot be put in the book's folder: "
                    + downloadPathIn(record.detail.bookFolder, placeFolder)));
        return;
    }
    ++record.nextURL;
    save();
    startNextPlaylist(bookID);
}

void AVAssetDownloaderManager::didCompleteWithError(
    media::AssetDownloadSession&, media::AssetDownloadTask& task, const std::optional<base::Error>& error)
{
    Record* record = recordForTask(task);
    if (!record || !error)
        return;
    record->task.reset();
    fail(record->detail.bookID, *error);
}

void AVAssetDownloaderManager::fail(std::string bookID, const base::Error& error)
{
    auto found = m_records.find(bookID);
    if (found == m_records.end())
        return;
    found->second.detail.bookDownloadState = AssetState::Failed;
    lectoro::MVAVAssetDownloadDetail detail = found->second.detail;
    save();
    if (auto listener = delegateFor(bookID))
        listener->didDownloadRequestFailForAVAsset(error, detail, bookID);
}

void AVAssetDownloaderManager::reportState(std::string bookID)
{
    auto found = m_records.find(bookID);
    if (found == m_records.end())
        return;
    lectoro::MVAVAssetDownloadDetail detail = found->second.detail;
    if (auto listener = delegateFor(bookID))
        listener->didDownloadRequestStateUpdateForAVAsset(detail, bookID);
}

// MARK: - Records on disk

void AVAssetDownloaderManager::publish()
{
    std::map<std::string, Published> published;
    for (const auto& [bookID, record] : m_records)
        published[bookID] = { record.detail, record.placed };
    std::lock_guard lock(m_publishedMutex);
    m_published = std::move(published);
}

void AVAssetDownloaderManager::save()
{
    publish();
    if (m_options.stateFolder.empty())
        return;
    std::map<std::string, DownloadRecord> records;
    for (const auto& [bookID, record] : m_records)
        records.emplace(bookID, record);
    downloadFiles().createDirectory(m_options.stateFolder, true);
    downloadFiles().writeFileAtomically(m_options.stateFolder + "/" + stateFileName, downloadStateText(records));
}

void AVAssetDownloaderManager::load()
{
    if (m_options.stateFolder.empty())
        return;
    auto text = downloadFiles().readFile(m_options.stateFolder + "/" + stateFileName);
    if (!text)
        return;
    for (auto& [bookID, read] : readDownloadState(*text, m_folders, logDownloadRecords)) {
        Record record;
        static_cast<DownloadRecord&>(record) = std::move(read);
        if (isDownloadUnderWay(record.detail.bookDownloadState))
            record.detail.bookDownloadState = AssetState::Paused;
        m_records[bookID] = std::move(record);
    }
}

} // namespace companion
