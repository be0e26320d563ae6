#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace lectoro {
namespace {

using testing::exists;
using testing::FoundationScope;
using testing::writeFile;

SystemInformation& info()
{
    return SystemInformation::getInstance();
}

TEST(SystemInformationTest, FileSharingKeepsBooksUnderDocuments)
{
    FoundationScope scope;
    scope.setImportsViaFileSharing(true);
    auto d = scope.documents();
    EXPECT_EQ(info().getStorageDirectory(), d);
    EXPECT_EQ(info().getBasePathForBookWithBookId(42), d + "/42");
    EXPECT_TRUE(exists(d + "/42"));
    EXPECT_EQ(info().getPathForBookWithBookId(42), d + "/42.tmp");
    EXPECT_EQ(info().getPathForBookDownloadWithBookId(42), d + "/BOOKS/42.completed");
    EXPECT_EQ(info().getBasePathForBookWithBookId("42"), d + "/42");
}

TEST(SystemInformationTest, WithoutTheFlagBooksLiveUnderLibrary)
{
    const char* configs[] = { nullptr, "<plist><dict><key>IMPORT_BOOKS_VIA_ITUNES_SHARING</key><false/></dict></plist>",
        "this is not a plist", "<plist><array/></plist>" };
    for (auto* config : configs) {
        FoundationScope scope;
        if (config)
            writeFile(scope.hostBundlePath() + "/Config.plist", config);
        auto l = scope.library();
        EXPECT_EQ(info().getStorageDirectory(), l) << (config ? config : "none");
        EXPECT_EQ(info().getBasePathForBookWithBookId(42), l + "/BOOKS/42");
        EXPECT_EQ(info().getPathForBookWithBookId(42), l + "/BOOKS/42.tmp");
    }
}

TEST(SystemInformationTest, PathTable)
{
    FoundationScope scope;
    auto s = scope.library();
    auto d = scope.documents();
    auto b = s + "/BOOKS/7";
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        { info().getUsersFolderPath(), s + "/USERS" },
        { info().getPathForBookDownloadZipWithBookId(7), s + "/BOOKS/7/7.completed" },
        { info().getPathForVideoWithBookId(7), s + "/BOOKS/7/7.mp4" },
        { info().getPathForBookDownloadDirectory(), s + "/BOOKS_DOWNLOADS" },
        { info().getPathForBookThumbnailWithBookId("x1"), s + "/THUMBNAILS/x1.completed" },
        { info().getPathForCollectionThumbnailWithCollectionId(3, "1700"), s + "/THUMBNAILS/3/1700.completed" },
        { info().getPathForBookPreviewWithBookId(7), s + "/PREVIEWS/7" },
        { info().getPathForBookPreviewDownloadWithBookId("7_preview"), s + "/PREVIEWS/7/7_preview.completed" },
        { info().getPathForBookPreviewDownloadWithBookId("abc"), s + "/PREVIEWS/0/abc.completed" },
        { info().getPreviewPagesXMLPathWithBookId(7), s + "/PREVIEWS/7/pages.xml" },
        { info().getPreviewThumbnailsPathWithBookId(7), s + "/PREVIEWS/7/page_images/thumbnails" },
        { info().getPathForBookLaunchThumbnailWithBookId(7), s + "/LAUNCH_THUMBNAILS/7.png" },
        { info().getPathForBookLaunchPotraitThumbnailWithBookId(7), s + "/LAUNCH_THUMBNAILS/7.potrait.launch" },
        { info().getPathForBookLandscapeLaunchThumbnailEvenPageWithBookId(7), s + "/LAUNCH_THUMBNAILS/7.landscape.even.launch" },
        { info().getPDFPathWithBookId(7), b + "/assets/pdf/chapter0/ebook.pdf" },
        { info().getDBPathWithBookId(7), b + "/assets/xml-bin/xml.sqlite" },
        { info().getEBookXMLPathWithBookId(7), b + "/assets/xml-bin/eBook.xml" },
        { info().getPageThumbnailsPath(7), b + "/assets/images/thumbnails" },
        { info().getAppInfoDictionaryPath(), d + "/app_info.plist" },
        { info().getNotesImagesDirectory(), d + "/Notes/Images" },
    };
    for (auto& c : cases)
        EXPECT_EQ(c.path, c.expected);
    EXPECT_TRUE(exists(s + "/PREVIEWS/0"));
    EXPECT_TRUE(exists(d + "/Notes/Images"));
    EXPECT_FALSE(exists(s + "/BOOKS/7/7.completed"));
}

TEST(SystemInformationTest, TemporaryDownloadPathCreatesNothing)
{
    FoundationScope scope;
    auto path = info().getActualDataTemproraryPath();
    EXPECT_EQ(path, scope.library() + "/BOOKS_DOWNLOADStmp");
    EXPECT_FALSE(exists(path));
    EXPECT_FALSE(exists(scope.library() + "/BOOKS_DOWNLOADS"));
}

TEST(SystemInformationTest, DirectoryRuleLeavesAnExistingFile)
{
    FoundationScope scope;
    auto path = scope.folder() / "occupied";
    writeFile(path, "data");
    info().checkAndCreateDirectoryWith(path);
    EXPECT_FALSE(std::filesystem::is_directory(path));
    info().checkAndCreateDirectoryWith(scope.folder() / "a/b/c");
    EXPECT_TRUE(std::filesystem::is_directory(scope.folder() / "a/b/c"));
}

TEST(SystemInformationTest, IdentifiersThatCouldLeaveTheirFolderAreRefused)
{
    FoundationScope scope;
    const base::Value hostile[] = { "../victim", "a/b", "a\\b", ".", "..", "", std::string("a\0b", 3), "/etc" };
    for (auto& id : hostile) {
        EXPECT_EQ(info().getBasePathForBookWithBookId(id), "") << id.description();
        EXPECT_EQ(info().getPathForBookDownloadWithBookId(id), "");
        EXPECT_EQ(info().getPathForBookPreviewDownloadWithBookId(id), "");
        EXPECT_EQ(info().getPDFPathWithBookId(id), "");
        EXPECT_EQ(info().getPathForCollectionThumbnailWithCollectionId(1, id), "");
    }
    EXPECT_FALSE(scope.log().empty());
    EXPECT_FALSE(exists(scope.folder() / "sandbox/victim"));

    // Deleting launch images of a hostile id touches nothing outside the folder.
    auto outside = scope.library() + "/x.png";
    writeFile(outside, "keep");
    info().deleteBookLaunchThumbnailsWithBookId("../x");
    EXPECT_TRUE(exists(outside));
}

TEST(SystemInformationTest, DeletesTheFiveLaunchImages)
{
    FoundationScope scope;
    std::vector<std::string> paths = {
        info().getPathForBookLaunchThumbnailWithBookId(9),
        info().getPathForBookLaunchPotraitThumbnailWithBookId(9),
        info().getPathForBookLandscapeLaunchThumbnailEvenPageWithBookId(9),
        info().getPathForBookLandscapeLaunchThumbnailOddPageWithBookId(9),
        info().getPathForBookLandscapeOnlyLaunchThumbnailWithBookId(9),
    };
    for (auto& path : paths)
        writeFile(path, "image");
    auto other = info().getPathForBookLaunchThumbnailWithBookId(10);
    writeFile(other, "image");
    info().deleteBookLaunchThumbnailsWithBookId(9);
    for (auto& path : paths)
        EXPECT_FALSE(exists(path)) << path;
    EXPECT_TRUE(exists(other));
}

TEST(SystemInformationTest, FilesOfAnExtension)
{
    FoundationScope scope;
    auto folder = scope.folder() / "listing";
    for (auto* name : { "a.pdf", "b.PDF", "c.pdf.tmp", "pdf", ".pdf" })
        writeFile(folder + "/" + name, "");
    EXPECT_EQ(info().getAllFilesOfExtension("pdf", folder), std::vector<std::string> { "a.pdf" });
    auto created = scope.folder() / "new-folder";
    EXPECT_EQ(info().getAllFilesOfExtension("pdf", created), std::vector<std::string> {});
    EXPECT_TRUE(exists(created));
}

class SpaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::FileManager::defaultManager().setSpaceProviderForTesting([this](const std::string&) -> std::optional<base::FileManager::SpaceInfo> {
            if (!free)
                return std::nullopt;
            return base::FileManager::SpaceInfo { UINT64_MAX, *free };
        });
    }
    void TearDown() override { base::FileManager::defaultManager().setSpaceProviderForTesting(nullptr); }

    FoundationScope scope;
    std::optional<uint64_t> free;
};

TEST_F(SpaceTest, DownloadNeedsTwiceItsSize)
{
    struct Case {
        std::optional<uint64_t> free;
        std::optional<base::Value> size;
        bool expected;
    };
    const Case cases[] = {
        { 2000, std::nullopt, true },
        { std::nullopt, std::nullopt, true },
        { 2000, base::Value(1000), true },
        { 1999, base::Value(1000), false },
        { 2000, base::Value("1000"), true },
        { 2000, base::Value(-5), false },
        { 0, base::Value(1), false },
        { std::nullopt, base::Value(1), false },
        { UINT64_MAX, base::Value(INT64_MAX), true },
        { UINT64_MAX - 2, base::Value(INT64_MAX), false },
        { 1000, base::Value(INT64_MAX), false },
    };
    for (auto& c : cases) {
        free = c.free;
        EXPECT_EQ(info().getIfDeviceHasSpaceToDownloadTheBook(c.size), c.expected)
            << (c.free ? std::to_string(*c.free) : "unreadable") << " " << (c.size ? c.size->description() : "nil");
    }
}

TEST_F(SpaceTest, FreeDiskSpace)
{
    free = 5u << 20;
    EXPECT_EQ(info().getFreeDiskspace(), 5u << 20);
    free.reset();
    EXPECT_EQ(info().getFreeDiskspace(), 0u);
}

TEST(SystemInformationTest, StorageDirectoryIsExcludedFromBackup)
{
    FoundationScope scope;
    EXPECT_TRUE(info().addSkipBackupAttributeToItemAtPath(info().getStorageDirectory()));
    EXPECT_TRUE(base::FileManager::defaultManager().isExcludedFromBackup(info().getStorageDirectory()));
    EXPECT_FALSE(info().addSkipBackupAttributeToItemAtPath(scope.folder() / "nothing-here"));
}

} // namespace
} // namespace lectoro
