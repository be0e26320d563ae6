#include "LectoroSDKWithReader/foundation/SystemInformation.h"

#include "LectoroSDKWithReader/foundation/FoundationLog.h"
#include "platform/base/Bundle.h"
#include "platform/base/Error.h"
#include "platform/base/FileManager.h"
#include "platform/base/Plist.h"
#include "platform/base/Strings.h"

namespace lectoro {

namespace {

std::string join(const std::string& folder, const std::string& component)
{
    if (folder.empty())
        return component;
    if (folder.back() == '/')
        return folder + component;
    return folder + "/" + component;
}

std::string withExtension(const std::string& path, const char* extension)
{
    return path + "." + extension;
}

base::FileManager& files()
{
    return base::FileManager::defaultManager();
}

} // namespace

SystemInformation& SystemInformation::getInstance()
{
    static SystemInformation* instance = new SystemInformation;
    return *instance;
}

SystemInformation::SystemInformation()
{
    addSkipBackupAttributeToItemAtPath(getStorageDirectory());
}

std::optional<std::string> SystemInformation::pathComponentForIdentifier(const base::Value& identifier)
{
    std::string text = identifier.description();
    bool refused = text.empty() || text == "." || text == ".." || text.find('/') != std::string::npos
        || text.find('\\') != std::string::npos || text.find('\0') != std::string::npos;
    if (!refused)
        return text;
    std::string printable;
    for (char c : text)
        printable += c == '\0' ? std::string("\\0") : std::string(1, c);
    systemLog("SystemInformation: refused identifier \"" + printable + "\"");
    return std::nullopt;
}

bool SystemInformation::importsBooksViaFileSharing() const
{
    auto path = base::Bundle::main().pathForResource("Config", "plist");
    if (!path)
        return false;
    auto bytes = files().readFile(*path);
    if (!bytes)
        return false;
    auto parsed = base::parsePlist(*bytes);
    if (!parsed.ok() || !parsed.value().isDictionary())
        return false;
    return parsed.value()["IMPORT_BOOKS_VIA_ITUNES_SHARING"].boolValue();
}

std::string SystemInformation::getStorageDirectory() const
{
    return importsBooksViaFileSharing() ? files().documentsDirectory() : files().libraryDirectory();
}

std::string SystemInformation::getDocumentsDirectory() const
{
    return files().documentsDirectory();
}

std::string SystemInformation::bookRoot() const
{
    if (importsBooksViaFileSharing())
        return files().documentsDirectory();
    return join(files().libraryDirectory(), "BOOKS");
}

void SystemInformation::checkAndCreateDirectoryWith(const std::string& path) const
{
    if (path.empty() || files().fileExists(path))
        return;
    files().createDirectory(path, true);
}

std::string SystemInformation::getUsersFolderPath() const
{
    auto path = join(getStorageDirectory(), "USERS");
    checkAndCreateDirectoryWith(path);
    return path;
}

std::string SystemInformation::getBasePathForBookWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto path = join(bookRoot(), *id);
    checkAndCreateDirectoryWith(path);
    return path;
}

std::string SystemInformation::getLaunchPathForBookWithBookId(const base::Value& bookId) const
{
    return getBasePathForBookWithBookId(bookId);
}

std::string SystemInformation::getExtractPathForBookWithBookId(const base::Value& bookId) const
{
    return getBasePathForBookWithBookId(bookId);
}

std::string SystemInformation::getPathForBookWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto root = bookRoot();
    checkAndCreateDirectoryWith(root);
    return withExtension(join(root, *id), "tmp");
}

std::string SystemInformation::getPathForBookDownloadWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto folder = join(getStorageDirectory(), "BOOKS");
    checkAndCreateDirectoryWith(folder);
    return withExtension(join(folder, *id), "completed");
}

std::string SystemInformation::getPathForBookDownloadZipWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto folder = join(getStorageDirectory(), "BOOKS");
    checkAndCreateDirectoryWith(folder);
    return withExtension(join(join(folder, *id), *id), "completed");
}

std::string SystemInformation::getPathForVideoWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto folder = join(getStorageDirectory(), "BOOKS");
    checkAndCreateDirectoryWith(folder);
    return withExtension(join(join(folder, *id), *id), "mp4");
}

std::string SystemInformation::getPathForBookDownloadDirectory() const
{
    auto path = join(getStorageDirectory(), "BOOKS_DOWNLOADS");
    checkAndCreateDirectoryWith(path);
    return path;
}

std::string SystemInformation::getActualDataTemproraryPath() const
{
    return join(getStorageDirectory(), "BOOKS_DOWNLOADS") + "tmp";
}

std::string SystemInformation::getPathForBookThumbnailWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto folder = join(getStorageDirectory(), "THUMBNAILS");
    checkAndCreateDirectoryWith(folder);
    return withExtension(join(folder, *id), "completed");
}

std::string SystemInformation::getPathForCollectionThumbnailWithCollectionId(const base::Value& collectionId, const base::Value& collectionTimeStamp) const
{
    auto collection = pathComponentForIdentifier(collectionId);
    auto stamp = pathComponentForIdentifier(collectionTimeStamp);
    if (!collection || !stamp)
        return {};
    auto folder = join(join(getStorageDirectory(), "THUMBNAILS"), *collection);
    checkAndCreateDirectoryWith(folder);
    return withExtension(join(folder, *stamp), "completed");
}

std::string SystemInformation::getPathForBookPreviewWithBookId(const base::Value& bookId) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto path = join(join(getStorageDirectory(), "PREVIEWS"), *id);
    checkAndCreateDirectoryWith(path);
    return path;
}

std::string SystemInformation::getPathForBookPreviewDownloadWithBookId(const base::Value& previewId) const
{
    auto id = pathComponentForIdentifier(previewId);
    if (!id)
        return {};
    int32_t number = base::intValue(base::replaceAll(*id, "_preview", ""));
    auto folder = getPathForBookPreviewWithBookId(base::Value(number));
    return withExtension(join(folder, *id), "completed");
}

std::string SystemInformation::previewSuffix(const base::Value& bookId, const char* suffix) const
{
    auto folder = getPathForBookPreviewWithBookId(bookId);
    if (folder.empty())
        return {};
    return folder + suffix;
}

std::string SystemInformation::getPreviewPagesXMLPathWithBookId(const base::Value& bookId) const
{
    return previewSuffix(bookId, "/pages.xml");
}

std::string SystemInformation::getPreviewPagesPathWithBookId(const base::Value& bookId) const
{
    return previewSuffix(bookId, "/page_images");
}

std::string SystemInformation::getPreviewThumbnailsPathWithBookId(const base::Value& bookId) const
{
    return previewSuffix(bookId, "/page_images/thumbnails");
}

std::string SystemInformation::launchThumbnailPath(const base::Value& bookId, const char* extension) const
{
    auto id = pathComponentForIdentifier(bookId);
    if (!id)
        return {};
    auto folder = join(getStorageDirectory(), "LAUNCH_THUMBNAILS");
    checkAndCreateDirectoryWith(folder);
    return withExtension(join(folder, *id), extension);
}

std::string SystemInformation::getPathForBookLaunchThumbnailWithBookId(const base::Value& bookId) const
{
    return launchThumbnailPath(bookId, "png");
}

std::string SystemInformation::getPathForBookLaunchPotraitThumbnailWithBookId(const base::Value& bookId) const
{
    return launchThumbnailPath(bookId, "potrait.launch");
}

std::string SystemInformation::getPathForBookLandscapeLaunchThumbnailEvenPageWithBookId(const base::Value& bookId) const
{
    return launchThumbnailPath(bookId, "landscape.even.launch");
}

std::string SystemInformation::getPathForBookLandscapeLaunchThumbnailOddPageWithBookId(const base::Value& bookId) const
{
    return launchThumbnailPath(bookId, "landscape.odd.launch");
}

std::string SystemInformation::getPathForBookLandscapeOnlyLaunchThumbnailWithBookId(const base::Value& bookId) const
{
    return launchThumbnailPath(bookId, "landscape.launch");
}

std::string SystemInformation::basePathSuffix(const base::Value& bookId, const char* suffix) const
{
    auto base = getBasePathForBookWithBookId(bookId);
    if (base.empty())
        return {};
    return base + suffix;
}

std::string SystemInformation::getPDFPathWithBookId(const base::Value& bookId) const
{
    return basePathSuffix(bookId, "/assets/pdf/chapter0/ebook.pdf");
}

std::string SystemInformation::getDBPathWithBookId(const base::Value& bookId) const
{
    return basePathSuffix(bookId, "/assets/xml-bin/xml.sqlite");
}

std::string SystemInformation::getEBookXMLPathWithBookId(const base::Value& bookId) const
{
    return basePathSuffix(bookId, "/assets/xml-bin/eBook.xml");
}

std::string SystemInformation::getWebXMLPathWithBookId(const base::Value& bookId) const
{
    return basePathSuffix(bookId, "/assets/web.xml");
}

std::string SystemInformation::getPageThumbnailsPath(const base::Value& bookId) const
{
    return basePathSuffix(bookId, "/assets/images/thumbnails");
}

std::string SystemInformation::getAppInfoDictionaryPath() const
{
    return join(getDocumentsDirectory(), "app_info.plist");
}

std::string SystemInformation::getNotesAudiosDirectory() const
{
    auto path = join(getDocumentsDirectory(), "Notes/Audios");
    checkAndCreateDirectoryWith(path);
    return path;
}

std::string SystemInformation::getNotesImagesDirectory() const
{
    auto path = join(getDocumentsDirectory(), "Notes/Images");
    checkAndCreateDirectoryWith(path);
    return path;
}

std::string SystemInformation::getNotesVideosDirectory() const
{
    auto path = join(getDocumentsDirectory(), "Notes/Videos");
    checkAndCreateDirectoryWith(path);
    return path;
}

std::optional<std::vector<std::string>> SystemInformation::getAllFilesOfExtension(const std::string& extension, const std::string& directoryPath) const
{
    checkAndCreateDirectoryWith(directoryPath);
    auto names = files().contentsOfDirectory(directoryPath);
    if (!names)
        return std::nullopt;
    std::vector<std::string> matching;
    for (auto& name : *names) {
        auto dot = name.rfind('.');
        // A leading dot starts a hidden name, not an extension.
        std::string nameExtension = (dot == std::string::npos || dot == 0) ? std::string() : name.substr(dot + 1);
        if (nameExtension == extension)
            matching.push_back(name);
    }
    return matching;
}

uint64_t SystemInformation::getFreeDiskspace() const
{
    auto documents = getDocumentsDirectory();
    auto total = files().totalSpace(documents);
    auto free = files().freeSpace(documents);
    if (!total || !free) {
        // The file manager answers no error of its own; the platform's generic one stands in.
        debugLog(0, "SystemInformation", std::string("Error Obtaining System Memory Info: Domain = ") + base::cocoaErrorDomain + ", Code = 0");
        return 0;
    }
    debugLog(1, "SystemInformation",
        base::format("Memory Capacity of %llu MiB with %llu MiB Free memory available.", *total >> 20, *free >> 20));
    return *free;
}

bool SystemInformation::getIfDeviceHasSpaceToDownloadTheBook(const std::optional<base::Value>& size) const
{
    if (!size || size->isNull())
        return true;
    int64_t bytes = size->longLongValue();
    if (bytes < 0)
        return false;
    uint64_t free = files().freeSpace(getDocumentsDirectory()).value_or(0);
    // free >= 2 * bytes, without doubling a size that could overflow.
    return static_cast<uint64_t>(bytes) <= free / 2;
}

void SystemInformation::deleteBookLaunchThumbnailsWithBookId(const base::Value& bookId) const
{
    const std::string paths[] = {
        getPathForBookLaunchThumbnailWithBookId(bookId),
        getPathForBookLandscapeOnlyLaunchThumbnailWithBookId(bookId),
        getPathForBookLandscapeLaunchThumbnailOddPageWithBookId(bookId),
        getPathForBookLandscapeLaunchThumbnailEvenPageWithBookId(bookId),
        getPathForBookLaunchPotraitThumbnailWithBookId(bookId),
    };
    for (auto& path : paths) {
        if (!path.empty() && files().fileExists(path))
            files().removeItem(path);
    }
}

bool SystemInformation::addSkipBackupAttributeToItemAtPath(const std::string& path) const
{
    if (path.empty() || !files().fileExists(path))
        return false;
    return files().setExcludedFromBackup(path, true);
}

} // namespace lectoro
