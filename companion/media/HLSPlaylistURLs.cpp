// The download step of the streaming service: which playlists of a streamed book to fetch,
// and the book's contents files written where the downloaded book will be opened from.
//
// The media folder the address answer names is local in this framework. Its "toc.json"
// names the chapters' media; every playlist among them (".m3u8", fragment dropped) is one
// download. A book whose chapters name no playlist has nothing to stream and is refused.

#include "companion/media/HLSServiceInterface.h"

#include "companion/books/BookPaths.h"
#include "companion/service/ServiceErrors.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"

#include <set>

namespace companion {

namespace {

constexpr size_t hlsContentsFileLimit = 4 * 1024 * 1024;
constexpr int hlsSectionDepthLimit = 32;

bool isHLSPlaylistPath(const std::string& path)
{
    static constexpr std::string_view extension = ".m3u8";
    return path.size() > extension.size()
        && path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

void collectHLSPlaylists(const base::Value& chapters, int depth, std::set<std::string>& seen,
    std::vector<std::string>& found, bool& unsafe)
{
    if (depth > hlsSectionDepthLimit)
        return;
    for (size_t i = 0; i < chapters.count(); ++i) {
        const base::Value& chapter = chapters.at(i);
        if (auto source = chapter["src"].asString()) {
            auto parts = splitHref(*source);
            if (isHLSPlaylistPath(parts.path)) {
                auto resolved = resolveBookPath("", parts.path);
                if (!resolved)
                    unsafe = true;
                else if (seen.insert(*resolved).second)
                    found.push_back(*resolved);
            }
        }
        collectHLSPlaylists(chapter["sections"], depth + 1, seen, found, unsafe);
    }
}

// Copies a contents file of the book into the metadata folder, replacing an older copy.
bool copyHLSContentsFile(
    const std::string& mediaPath, const std::string& name, const std::string& folder, bool required)
{
    auto text = readBookFile(mediaPath, name, hlsContentsFileLimit);
    if (!text.ok())
        return !required;
    return base::FileManager::defaultManager().writeFileAtomically(folder + "/" + name, text.value());
}

} // namespace

void HLSServiceInterface::fetchHLSM3U8URLs(const std::string& mediaPath,
    const std::optional<base::Value>& cookies, bool isHLSAudio,
    const std::string& hlsMetaDataDownloadablePath, const std::string& audioThumbnailURL,
    PlaylistURLsHandler success, FailureHandler failure)
{
    auto fail = [&](const std::string& why) {
        if (failure)
            failure(malformedAnswerError(why));
    };
    if (mediaPath.empty() || hlsMetaDataDownloadablePath.empty())
        return fail("no media folder or no folder for the book");
    auto toc = readBookFile(mediaPath, "toc.json", hlsContentsFileLimit);
    if (!toc.ok())
        return fail("the media folder has no readable toc.json");
    auto contents = base::parseJson(toc.value());
    if (!contents.ok())
        return fail("the media folder's toc.json is not JSON: " + contents.error().localizedDescription());
    if (!contents.value().asDictionary())
        return fail("the media folder's toc.json is not a JSON object");

    std::set<std::string> seen;
    std::vector<std::string> playlists;
    bool unsafe = false;
    collectHLSPlaylists(contents.value()["chapters"], 0, seen, playlists, unsafe);
    if (unsafe)
        return fail("toc.json names a playlist outside the book");
    if (playlists.empty())
        return fail("the book names no playlist to download");

    auto& files = base::FileManager::defaultManager();
    if (!files.createDirectory(hlsMetaDataDownloadablePath, true)
        || !copyHLSContentsFile(mediaPath, "toc.json", hlsMetaDataDownloadablePath, true)
        || !copyHLSContentsFile(mediaPath, "time-index.json", hlsMetaDataDownloadablePath, false))
        return fail("the book's contents cannot be written to " + hlsMetaDataDownloadablePath);

    // What the download was made from, for whoever looks at the folder later.
    base::Value::Dictionary about;
    about.set("mediaPath", mediaPath);
    about.set("isAudio", isHLSAudio);
    about.set("thumbnailURL", audioThumbnailURL);
    about.set("hasCookies", cookies.has_value());
    files.writeFileAtomically(hlsMetaDataDownloadablePath + "/download-info.json",
        base::toPrettyJson(base::Value(std::move(about))));

    std::vector<lectoro::MVAVAssetDownloadURL> urls;
    for (const std::string& playlist : playlists)
        urls.push_back({ absoluteBookPath(mediaPath, playlist), hlsMetaDataDownloadablePath, playlist });
    if (success)
        success(urls);
}

} // namespace companion
