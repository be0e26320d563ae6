#pragma once

#include "platform/base/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

// Where the reader and its host keep files: the storage root, the folders of users, books,
// downloads, thumbnails, previews and launch images, the fixed files inside an unpacked book
// and the note attachments. Every path is worked out afresh (the host's "Config" plist is read
// again each time); most operations also create the folder they name.
//
// Identifiers are taken as "%@" of the value given (42 and "42" name the same book). One that
// could leave its folder (containing "/", "\\" or NUL, or being "", "." or "..") never reaches
// the file system: the operation answers an empty path and logs the refusal.
class SystemInformation {
public:
    static SystemInformation& getInstance();

    // Documents when the host imports books through file sharing, else Library.
    std::string getStorageDirectory() const;
    std::string getDocumentsDirectory() const;
    std::string getUsersFolderPath() const;

    std::string getBasePathForBookWithBookId(const base::Value& bookId) const;
    std::string getLaunchPathForBookWithBookId(const base::Value& bookId) const;
    std::string getExtractPathForBookWithBookId(const base::Value& bookId) const;
    std::string getPathForBookWithBookId(const base::Value& bookId) const;
    std::string getPathForBookDownloadWithBookId(const base::Value& bookId) const;
    std::string getPathForBookDownloadZipWithBookId(const base::Value& bookId) const;
    std::string getPathForVideoWithBookId(const base::Value& bookId) const;
    std::string getPathForBookDownloadDirectory() const;
    std::string getActualDataTemproraryPath() const;
    std::string getPathForBookThumbnailWithBookId(const base::Value& bookId) const;
    std::string getPathForCollectionThumbnailWithCollectionId(const base::Value& collectionId, const base::Value& collectionTimeStamp) const;
    std::string getPathForBookPreviewWithBookId(const base::Value& bookId) const;
    // "12_preview" lives in the preview folder of book 12.
    std::string getPathForBookPreviewDownloadWithBookId(const base::Value& previewId) const;
    std::string getPreviewPagesXMLPathWithBookId(const base::Value& bookId) const;
    std::string getPreviewPagesPathWithBookId(const base::Value& bookId) const;
    std::string getPreviewThumbnailsPathWithBookId(const base::Value& bookId) const;
    std::string getPathForBookLaunchThumbnailWithBookId(const base::Value& bookId) const;
    std::string getPathForBookLaunchPotraitThumbnailWithBookId(const base::Value& bookId) const;
    std::string getPathForBookLandscapeLaunchThumbnailEvenPageWithBookId(const base::Value& bookId) const;
    std::string getPathForBookLandscapeLaunchThumbnailOddPageWithBookId(const base::Value& bookId) const;
    std::string getPathForBookLandscapeOnlyLaunchThumbnailWithBookId(const base::Value& bookId) const;
    std::string getPDFPathWithBookId(const base::Value& bookId) const;
    std::string getDBPathWithBookId(const base::Value& bookId) const;
    std::string getEBookXMLPathWithBookId(const base::Value& bookId) const;
    std::string getWebXMLPathWithBookId(const base::Value& bookId) const;
    std::string getPageThumbnailsPath(const base::Value& bookId) const;
    std::string getAppInfoDictionaryPath() const;
    std::string getNotesAudiosDirectory() const;
    std::string getNotesImagesDirectory() const;
    std::string getNotesVideosDirectory() const;

    // Names (not paths) of the folder's entries whose extension is exactly the one given
    // (without its dot); absent when the folder cannot be listed.
    std::optional<std::vector<std::string>> getAllFilesOfExtension(const std::string& extension, const std::string& directoryPath) const;

    // Free bytes of the file system holding Documents; 0 when it cannot be read.
    uint64_t getFreeDiskspace() const;
    // Room for a download of that many bytes needs twice as much free space. No size answers
    // YES; a negative size NO.
    bool getIfDeviceHasSpaceToDownloadTheBook(const std::optional<base::Value>& size) const;

    void deleteBookLaunchThumbnailsWithBookId(const base::Value& bookId) const;
    bool addSkipBackupAttributeToItemAtPath(const std::string& path) const;
    // Creates a folder (with intermediates) when nothing is at the path.
    void checkAndCreateDirectoryWith(const std::string& path) const;

    // Whether the host's "Config" plist asks for books under Documents.
    bool importsBooksViaFileSharing() const;
    // The folder the books' base folders are made in (a book's is this and its id): the
    // companion framework's downloader of streamed books places them there and nowhere else.
    std::string bookRoot() const;

    // The text an identifier contributes to a path, or nothing when it is refused.
    static std::optional<std::string> pathComponentForIdentifier(const base::Value&);

private:
    SystemInformation();

    std::string launchThumbnailPath(const base::Value& bookId, const char* extension) const;
    std::string basePathSuffix(const base::Value& bookId, const char* suffix) const;
    std::string previewSuffix(const base::Value& bookId, const char* suffix) const;
};

} // namespace lectoro
