#include "companion/media/DownloadRecords.h"

#include "platform/base/FileManager.h"
#include "platform/base/Json.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

namespace companion {

namespace fs = std::filesystem;

namespace {

// The path with every link of its existing part resolved; nothing when that fails.
std::optional<fs::path> resolvedDownloadPath(const fs::path& path)
{
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    if (error || resolved.empty())
        return std::nullopt;
    return resolved;
}

// Both resolved: whether `path` lies below `folder` (not at it).
bool liesBelow(const fs::path& path, const fs::path& folder)
{
    auto [inFolder, inPath] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return inFolder == folder.end() && inPath != path.end();
}

std::string bookNumberText(const std::string& bookID)
{
    // At most 18 digits: the number fits; leading zeros name the same book.
    return std::to_string(std::stoll(bookID));
}

std::optional<std::string> droppedBecause(const DownloadRecord& record, const DownloadFolders& folders)
{
    if (!isValidDownloadBookID(record.detail.bookID))
        return "its book id is not a book number";
    if (!folders.isDownloadFolderOfBook(record.detail.bookFolder, record.detail.bookID))
        return "its folder \"" + record.detail.bookFolder + "\" is not the download's own folder for the book";
    for (const auto& url : record.urls) {
        if (url.url.empty() || !isPlainRelativePath(url.relativePath))
            return "a playlist would be placed at \"" + url.relativePath + "\"";
    }
    for (const auto& relative : record.placed) {
        if (!folders.placeInBook(record.detail.bookFolder, record.detail.bookID, relative))
            return "what it placed at \"" + relative + "\" lies outside the book's folder";
    }
    if (record.nextURL > record.urls.size())
        return "its next playlist is past its last";
    return std::nullopt;
}

} // namespace

bool operator==(const DownloadRecord& a, const DownloadRecord& b)
{
    auto detail = [](const lectoro::MVAVAssetDownloadDetail& d) {
        return std::tie(d.bookID, d.bookDownloadState, d.progress, d.bookFolder);
    };
    auto sameURL = [](const lectoro::MVAVAssetDownloadURL& x, const lectoro::MVAVAssetDownloadURL& y) {
        return std::tie(x.url, x.bookFolder, x.relativePath) == std::tie(y.url, y.bookFolder, y.relativePath);
    };
    return detail(a.detail) == detail(b.detail)
        && std::equal(a.urls.begin(), a.urls.end(), b.urls.begin(), b.urls.end(), sameURL) && a.nextURL == b.nextURL
        && a.placed == b.placed;
}

bool isValidDownloadBookID(const std::string& bookID)
{
    return !bookID.empty() && bookID.size() <= 18
        && std::all_of(bookID.begin(), bookID.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isPlainRelativePath(std::string_view path)
{
    if (path.empty() || path.front() == '/' || path.find('\0') != std::string_view::npos
        || path.find('\\') != std::string_view::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find('/', start), path.size());
        std::string_view step = path.substr(start, end - start);
        if (step.empty() || step == "." || step == "..")
            return false;
        start = end + 1;
    }
    return true;
}

DownloadFolders::DownloadFolders(std::string root)
    : m_root(std::move(root))
{
}

std::optional<std::string> DownloadFolders::folderForBook(const std::string& bookID) const
{
    if (!isValidDownloadBookID(bookID) || m_root.empty() || m_root.front() != '/')
        return std::nullopt;
    base::FileManager::defaultManager().createDirectory(m_root, true);
    std::error_code error;
    fs::path root = fs::canonical(m_root, error);
    if (error)
        return std::nullopt;
    return (root / bookNumberText(bookID)).string();
}

bool DownloadFolders::isFolderOfBook(const std::string& folder, const std::string& bookID) const
{
    if (folder.empty() || folder.front() != '/' || folder.find('\0') != std::string::npos)
        return false;
    auto expected = folderForBook(bookID);
    auto resolved = resolvedDownloadPath(folder);
    return expected && resolved && *resolved == fs::path(*expected);
}

bool DownloadFolders::markFolderOfBook(const std::string& bookID) const
{
    auto folder = folderForBook(bookID);
    if (!folder || !base::FileManager::defaultManager().createDirectory(*folder, true))
        return false;
    // Through the resolved folder: a link made in its place meanwhile is not followed.
    auto resolved = resolvedDownloadPath(*folder);
    if (!resolved || *resolved != fs::path(*folder))
        return false;
    fs::path marker = *resolved / markerName;
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(marker, error)))
        return true;
    return base::FileManager::defaultManager().writeFileAtomically(marker.string(), bookID);
}

bool DownloadFolders::isDownloadFolderOfBook(const std::string& folder, const std::string& bookID) const
{
    if (!isFolderOfBook(folder, bookID))
        return false;
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(*resolvedDownloadPath(folder) / markerName, error));
}

void DownloadFolders::unmarkFolderOfBook(const std::string& bookID) const
{
    if (auto folder = folderForBook(bookID); folder && isDownloadFolderOfBook(*folder, bookID))
        base::FileManager::defaultManager().removeItem((fs::path(*folder) / markerName).string());
}

std::optional<std::string> DownloadFolders::placeInBook(const std::string& folder, const std::string& bookID,
    const std::string& relative) const
{
    if (!isPlainRelativePath(relative) || relative == markerName || !isDownloadFolderOfBook(folder, bookID))
        return std::nullopt;
    fs::path book = *resolvedDownloadPath(folder);
    fs::path place = book / relative;
    auto parent = resolvedDownloadPath(place.parent_path());
    if (!parent || (*parent != book && !liesBelow(*parent, book)))
        return std::nullopt;
    return (*parent / place.filename()).string();
}

size_t DownloadFolders::removePlaced(const DownloadRecord& record) const
{
    size_t removed = 0;
    for (const auto& relative : record.placed) {
        if (auto place = placeInBook(record.detail.bookFolder, record.detail.bookID, relative))
            removed += base::FileManager::defaultManager().removeItem(*place) ? 1 : 0;
    }
    return removed;
}

std::map<std::string, DownloadRecord> readDownloadState(std::string_view text, const DownloadFolders& folders,
    const DownloadLog& log)
{
    std::map<std::string, DownloadRecord> records;
    auto parsed = base::parseJson(text);
    if (!parsed.ok()) {
        if (log)
            log("the download records cannot be read: " + parsed.error().localizedDescription());
        return records;
    }
    const base::Value& books = parsed.value()["books"];
    for (size_t index = 0; index < books.count(); ++index) {
        const base::Value& book = books.at(index);
        DownloadRecord record;
        record.detail.bookID = book["bookID"].asString().value_or("");
        record.detail.bookDownloadState = book["state"].asString().value_or("");
        float progress = book["progress"].floatValue();
        record.detail.progress = std::isfinite(progress) ? std::clamp(progress, 0.0f, 1.0f) : 0.0f;
        record.detail.bookFolder = book["bookFolder"].asString().value_or("");
        const base::Value& urls = book["urls"];
        for (size_t u = 0; u < urls.count(); ++u) {
            record.urls.push_back({ urls.at(u)["url"].asString().value_or(""), record.detail.bookFolder,
                urls.at(u)["relativePath"].asString().value_or("") });
        }
        const base::Value& placed = book["placed"];
        for (size_t p = 0; p < placed.count(); ++p)
            record.placed.push_back(placed.at(p).asString().value_or(""));
        int64_t next = book["nextURL"].integerValue();
        record.nextURL = next < 0 ? record.urls.size() + 1 : static_cast<size_t>(next);
        auto why = droppedBecause(record, folders);
        if (!why && records.count(record.detail.bookID))
            why = "the book has a record already";
        if (why) {
            if (log)
                log("dropped the download record of book \"" + record.detail.bookID + "\": " + *why);
            continue;
        }
        records[record.detail.bookID] = std::move(record);
    }
    return records;
}

std::string downloadStateText(const std::map<std::string, DownloadRecord>& records)
{
    base::Value::List books;
    for (const auto& [bookID, record] : records) {
        base::Value::Dictionary book;
        book.set("bookID", bookID);
        book.set("state", record.detail.bookDownloadState);
        book.set("progress", static_cast<double>(record.detail.progress));
        book.set("bookFolder", record.detail.bookFolder);
        base::Value::List urls;
        for (const auto& url : record.urls)
            urls.push_back(
                base::Value(base::Value::Dictionary { { "url", url.url }, { "relativePath", url.relativePath } }));
        book.set("urls", base::Value(std::move(urls)));
        book.set("nextURL", static_cast<int64_t>(record.nextURL));
        base::Value::List placed;
        for (const auto& relative : record.placed)
            placed.push_back(relative);
        book.set("placed", base::Value(std::move(placed)));
        books.push_back(base::Value(std::move(book)));
    }
    base::Value::Dictionary root;
    root.set("books", base::Value(std::move(books)));
    return base::toPrettyJson(base::Value(std::move(root)));
}

} // namespace companion
