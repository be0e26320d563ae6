#include "platform/base/FileManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/xattr.h>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using base::FileManager;

class FileManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lectoro-fm-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_manager.setSandboxRoot(m_root);
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    std::string path(const std::string& relative) const { return (fs::path(m_root) / relative).string(); }
    void write(const std::string& relative, const std::string& content) const
    {
        fs::create_directories(fs::path(path(relative)).parent_path());
        std::ofstream(path(relative), std::ios::binary) << content;
    }

    std::string m_root;
    FileManager m_manager;
};

TEST_F(FileManagerTest, SandboxFoldersAreCreatedOnDemand)
{
    std::string documents = m_manager.documentsDirectory();
    std::string library = m_manager.libraryDirectory();
    EXPECT_EQ(documents, path("Documents"));
    EXPECT_EQ(library, path("Library"));
    bool isDirectory = false;
    EXPECT_TRUE(m_manager.fileExists(documents, &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_TRUE(m_manager.fileExists(library, &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_EQ(m_manager.cachesDirectory(), path("Library/Caches"));
}

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(FileManagerRoot, DefaultRootFollowsTheDataHome)
{
    struct Case {
        const char* dataHome;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        { "/data/home", "/users/me", "/data/home/lectoro" },
        { "", "/users/me", "/users/me/.local/share/lectoro" },
        { nullptr, "/users/me", "/users/me/.local/share/lectoro" },
    };
    for (const auto& c : cases) {
        ScopedEnvironment dataHome("XDG_DATA_HOME", c.dataHome);
        ScopedEnvironment home("HOME", c.home);
        FileManager manager;
        EXPECT_EQ(manager.sandboxRoot(), c.expected);
        manager.setSandboxRoot("/elsewhere");
        manager.setSandboxRoot("");
        EXPECT_EQ(manager.sandboxRoot(), c.expected) << "an empty root goes back to the default";
    }
}

TEST_F(FileManagerTest, CreateDirectory)
{
    write("file", "x");
    struct Case {
        const char* relative;
        bool withIntermediates;
        bool expected;
    };
    const Case cases[] = {
        { "a/b/c", true, true },
        { "a/b/c", true, true }, // already there
        { "a/b/c", false, false }, // without intermediates an existing folder is an error
        { "a/b/d", false, true },
        { "x/y", false, false }, // parent missing
        { "file", true, false }, // a file in the way
        { "file/sub", true, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_manager.createDirectory(path(c.relative), c.withIntermediates), c.expected)
            << c.relative << " intermediates=" << c.withIntermediates;
    EXPECT_FALSE(m_manager.createDirectory("", true));
}

TEST_F(FileManagerTest, FileExistsTellsFilesFromFolders)
{
    write("dir/file.txt", "x");
    fs::create_symlink(path("dir/file.txt"), path("link"));
    fs::create_symlink(path("missing"), path("dangling"));
    struct Case {
        std::string path;
        bool exists;
        bool isDirectory;
    };
    const std::vector<Case> cases {
        { path("dir"), true, true },
        { path("dir/file.txt"), true, false },
        { path("link"), true, false },
        { path("dangling"), false, false },
        { path("nothing"), false, false },
        { "", false, false },
    };
    for (const auto& c : cases) {
        bool isDirectory = true;
        EXPECT_EQ(m_manager.fileExists(c.path, &isDirectory), c.exists) << c.path;
        EXPECT_EQ(isDirectory, c.isDirectory) << c.path;
        EXPECT_EQ(m_manager.fileExists(c.path), c.exists) << c.path;
    }
}

TEST_F(FileManagerTest, ContentsOfDirectoryAreSortedNames)
{
    write("d/b.pdf", "");
    write("d/a.pdf", "");
    write("d/.hidden", "");
    write("d/sub/inner", "");
    EXPECT_EQ(m_manager.contentsOfDirectory(path("d")),
        (std::vector<std::string> { ".hidden", "a.pdf", "b.pdf", "sub" }));
    EXPECT_EQ(m_manager.contentsOfDirectory(path("d/sub")), std::vector<std::string> { "inner" });
    EXPECT_EQ(m_manager.contentsOfDirectory(path("missing")), std::nullopt);
    EXPECT_EQ(m_manager.contentsOfDirectory(path("d/a.pdf")), std::nullopt);
}

TEST_F(FileManagerTest, RemoveItem)
{
    write("tree/a/b/c.txt", "x");
    write("single.txt", "x");
    EXPECT_TRUE(m_manager.removeItem(path("tree")));
    EXPECT_TRUE(m_manager.removeItem(path("single.txt")));
    EXPECT_FALSE(m_manager.fileExists(path("tree")));
    EXPECT_FALSE(m_manager.removeItem(path("tree"))) << "nothing left to remove";
    EXPECT_FALSE(m_manager.removeItem(""));
}

TEST_F(FileManagerTest, CopyAndMoveNeverOverwrite)
{
    write("src/book/page.xml", "<page/>");
    write("existing.txt", "keep me");
    write("other.txt", "other");

    EXPECT_TRUE(m_manager.copyItem(path("src"), path("copy")));
    EXPECT_EQ(m_manager.readFile(path("copy/book/page.xml")), "<page/>");
    EXPECT_TRUE(m_manager.fileExists(path("src/book/page.xml"))) << "copy leaves the source";

    EXPECT_FALSE(m_manager.copyItem(path("other.txt"), path("existing.txt")));
    EXPECT_FALSE(m_manager.moveItem(path("other.txt"), path("existing.txt")));
    EXPECT_EQ(m_manager.readFile(path("existing.txt")), "keep me");

    EXPECT_TRUE(m_manager.moveItem(path("src"), path("moved")));
    EXPECT_FALSE(m_manager.fileExists(path("src")));
    EXPECT_EQ(m_manager.readFile(path("moved/book/page.xml")), "<page/>");

    EXPECT_FALSE(m_manager.copyItem(path("missing"), path("x")));
    EXPECT_FALSE(m_manager.moveItem(path("missing"), path("x")));
}

TEST_F(FileManagerTest, ReadAndWriteFiles)
{
    std::string binary("a\0b\xFF\n", 5);
    ASSERT_TRUE(m_manager.writeFileAtomically(path("data.bin"), binary));
    EXPECT_EQ(m_manager.readFile(path("data.bin")), binary);
    EXPECT_EQ(m_manager.fileSize(path("data.bin")), 5u);

    ASSERT_TRUE(m_manager.writeFileAtomically(path("data.bin"), "shorter"));
    EXPECT_EQ(m_manager.readFile(path("data.bin")), "shorter");

    ASSERT_TRUE(m_manager.writeFileAtomically(path("empty"), ""));
    EXPECT_EQ(m_manager.readFile(path("empty")), "");
    EXPECT_EQ(m_manager.fileSize(path("empty")), 0u);

    EXPECT_FALSE(m_manager.writeFileAtomically(path("no/such/folder/f"), "x"));
    m_manager.createDirectory(path("folder"), true);
    EXPECT_FALSE(m_manager.writeFileAtomically(path("folder"), "x")) << "a folder is not replaced by a file";
    EXPECT_EQ(m_manager.readFile(path("missing")), std::nullopt);
    EXPECT_EQ(m_manager.readFile(path("folder")), std::nullopt);
    EXPECT_EQ(m_manager.fileSize(path("folder")), std::nullopt);
    EXPECT_EQ(m_manager.fileSize(path("missing")), std::nullopt);
    EXPECT_EQ(
        m_manager.contentsOfDirectory(m_root), (std::vector<std::string> { "data.bin", "empty", "folder" }))
        << "no temporary files are left behind";
}

TEST_F(FileManagerTest, ConcurrentAtomicWritesLeaveOneWholeVersion)
{
    const std::string target = path("contended");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            std::string content(4096, static_cast<char>('a' + t));
            for (int i = 0; i < 50; ++i)
                m_manager.writeFileAtomically(target, content);
        });
    }
    std::atomic<bool> torn { false };
    std::thread reader([&] {
        for (int i = 0; i < 200; ++i) {
            auto content = m_manager.readFile(target);
            if (content && !content->empty()
                && content->find_first_not_of(content->front()) != std::string::npos)
                torn = true;
        }
    });
    for (auto& writer : writers)
        writer.join();
    reader.join();
    EXPECT_FALSE(torn);
    auto final = m_manager.readFile(target);
    ASSERT_TRUE(final);
    EXPECT_EQ(final->size(), 4096u);
}

TEST_F(FileManagerTest, SpaceComesFromTheFileSystemOrTheTestHook)
{
    auto free = m_manager.freeSpace(m_root);
    auto total = m_manager.totalSpace(m_root);
    ASSERT_TRUE(free);
    ASSERT_TRUE(total);
    EXPECT_LE(*free, *total);
    EXPECT_EQ(m_manager.freeSpace(path("does/not/exist")), std::nullopt);

    std::string asked;
    m_manager.setSpaceProviderForTesting([&](const std::string& p) -> std::optional<FileManager::SpaceInfo> {
        asked = p;
        if (p == "broken")
            return std::nullopt;
        return FileManager::SpaceInfo { 1000, 250 };
    });
    EXPECT_EQ(m_manager.freeSpace("somewhere"), 250u);
    EXPECT_EQ(m_manager.totalSpace("somewhere"), 1000u);
    EXPECT_EQ(asked, "somewhere");
    EXPECT_EQ(m_manager.freeSpace("broken"), std::nullopt);
    m_manager.setSpaceProviderForTesting(nullptr);
    EXPECT_TRUE(m_manager.freeSpace(m_root));
}

TEST_F(FileManagerTest, ExcludedFromBackupMark)
{
    write("store/db.sqlite", "x");
    std::string folder = path("store");
    std::string file = path("store/db.sqlite");
    EXPECT_FALSE(m_manager.isExcludedFromBackup(folder));
    EXPECT_TRUE(m_manager.setExcludedFromBackup(folder, true));
    EXPECT_TRUE(m_manager.isExcludedFromBackup(folder));
    EXPECT_TRUE(m_manager.isExcludedFromBackup(folder + "/")) << "another spelling of the same folder";
    EXPECT_FALSE(m_manager.isExcludedFromBackup(file)) << "the mark is per item";
    EXPECT_TRUE(m_manager.setExcludedFromBackup(folder, true)) << "setting it twice is fine";
    EXPECT_TRUE(m_manager.setExcludedFromBackup(folder, false));
    EXPECT_FALSE(m_manager.isExcludedFromBackup(folder));
    EXPECT_TRUE(m_manager.setExcludedFromBackup(file, false)) << "clearing an absent mark succeeds";

    EXPECT_FALSE(m_manager.setExcludedFromBackup(path("missing"), true));
    EXPECT_FALSE(m_manager.isExcludedFromBackup(path("missing")));
}

TEST_F(FileManagerTest, ExcludedMarkIsVisibleToASecondManager)
{
    // Kept on the item where the file system allows it, so another process sees it too.
    write("marked", "x");
    ASSERT_TRUE(m_manager.setExcludedFromBackup(path("marked"), true));
    char value[8];
    if (::getxattr(path("marked").c_str(), FileManager::excludeFromBackupAttribute, value, sizeof value) < 0)
        GTEST_SKIP() << "this file system keeps no user extended attributes";
    FileManager other;
    EXPECT_TRUE(other.isExcludedFromBackup(path("marked")));
}

} // namespace

namespace {

TEST_F(FileManagerTest, APathNamedByContentResolvesOnlyInsideItsFolder)
{
    write("book/media/clip.mp4", "clip");
    write("book/web/page.html", "page");
    write("book-other/secret.html", "secret");
    write("outside.html", "outside");
    fs::create_directory_symlink(m_root, path("book/media/up"));
    fs::create_symlink(path("outside.html"), path("book/web/linked.html"));
    fs::create_symlink("page.html", path("book/web/alias.html"));
    const std::string book = path("book");
    const std::string inside = fs::canonical(book).string();

    struct Case {
        const char* name;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        { "media/clip.mp4", inside + "/media/clip.mp4" },
        { "web/./sub/../page.html", inside + "/web/page.html" },
        { "media/clip%20two.mp4", inside + "/media/clip two.mp4" }, // missing but inside: answered
        { "web/alias.html", inside + "/web/page.html" },
        { "../outside.html", std::nullopt },
        { "web/../../outside.html", std::nullopt },
        { "..%2Foutside.html", std::nullopt },
        { "%2e%2e/outside.html", std::nullopt },
        { "../book-other/secret.html", std::nullopt },
        { "/etc/passwd", std::nullopt },
        { "%2Fetc%2Fpasswd", std::nullopt },
        { "file:///etc/passwd", std::nullopt },
        { "file%3A///etc/passwd", std::nullopt },
        { "https://example.org/page.html", std::nullopt },
        { "web\\page.html", std::nullopt },
        { "media/up/outside.html", std::nullopt },
        { "web/linked.html", std::nullopt },
        { ".", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(base::pathInsideFolder(book, c.name), c.expected);
    }
    EXPECT_EQ(base::pathInsideFolder(path("missing-book"), "page.html"), std::nullopt);
    EXPECT_EQ(base::pathInsideFolder("", "page.html"), std::nullopt);
}

} // namespace
