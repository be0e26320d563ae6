#include "companion/media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "companion/media/AVAssetDownloaderManager.h"
#include "companion/media/HLSServiceInterface.h"
#include "platform/base/FileManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace mediabooktest;
using companiontest::samplePath;
using companion::AVAssetDownloaderManager;
using lectoro::MVAVAssetDownloadDetail;
using lectoro::MVAVAssetDownloadURL;

namespace assetdownloadtest {

struct AssetDownloadListener : lectoro::MVAVAssetDownloaderManagerDelegate {
    std::vector<std::string> events;
    void didDeleteDownloadedAVAssetWithBookID(const std::string& bookID) override
    {
        events.push_back("deleted " + bookID);
    }
    void didDownloadRequestStateUpdateForAVAsset(
        const MVAVAssetDownloadDetail& detail, const std::string& bookID) override
    {
        if (events.empty() || events.back() != bookID + " " + detail.bookDownloadState)
            events.push_back(bookID + " " + detail.bookDownloadState);
    }
    void didDownloadRequestFailForAVAsset(
        const base::Error& error, const MVAVAssetDownloadDetail& detail, const std::string& bookID) override
    {
        events.push_back(bookID + " failed " + detail.bookDownloadState + " " + std::to_string(error.code));
    }
};

class AssetDownloaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        m_root = std::filesystem::temp_directory_path()
            / ("lectoro-assetdl-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::create_directories(m_root / "books");
    }
    void TearDown() override
    {
        m_downloader.reset();
        settle();
        base::RunLoop::main().reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    // A new downloader over the same state folder, as after a restart.
    void restart(double bytesPerSecond = 1'000'000)
    {
        m_downloader.reset();
        settle();
        m_downloader = AVAssetDownloaderManager::create(
            { (m_root / "state").string(), bytesPerSecond, (m_root / "books").string() });
    }

    std::string bookFolder(const std::string& bookID) const { return (m_root / "books" / bookID).string(); }

    // The playlists of the two-language sample, as the service's download step lists them.
    std::vector<MVAVAssetDownloadURL> multiAudioURLs(const std::string& bookID) const
    {
        std::vector<MVAVAssetDownloadURL> urls;
        for (const char* part : { "part-1/master.m3u8", "part-2/master.m3u8" })
            urls.push_back({ samplePath("sample-multiaudio") + "/" + part, bookFolder(bookID), part });
        return urls;
    }

    static void run(double seconds)
    {
        base::RunLoop::main().advanceBy(seconds);
        settle();
    }

    inline static int s_counter = 0;
    std::filesystem::path m_root;
    std::shared_ptr<AVAssetDownloaderManager> m_downloader;
    std::shared_ptr<AssetDownloadListener> m_listener = std::make_shared<AssetDownloadListener>();
};

} // namespace assetdownloadtest

using assetdownloadtest::AssetDownloaderTest;
using assetdownloadtest::AssetDownloadListener;

TEST_F(AssetDownloaderTest, PlaylistsArePlacedInTheBookFolderAndStayDownloadedAfterARestart)
{
    restart();
    m_downloader->downloadAVAsset("9103", multiAudioURLs("9103"), m_listener);
    run(5);
    EXPECT_EQ(m_listener->events,
        (std::vector<std::string> { "9103 Started", "9103 Downloading", "9103 Finished" }));
    for (const char* file : { "part-1/master.m3u8", "part-1/de/segment-0.ts", "part-2/en/index.m3u8" })
        EXPECT_TRUE(std::filesystem::exists(bookFolder("9103") + "/" + file)) << file;
    EXPECT_TRUE(m_downloader->isAVAssetDownloaded("9103"));
    // Nothing of the work under way is left behind.
    EXPECT_TRUE(std::filesystem::is_empty(m_root / "state" / "incoming"));

    restart();
    EXPECT_TRUE(m_downloader->isAVAssetDownloaded("9103"));
    EXPECT_EQ(m_downloader->getAVAssetDetails("9103")->progress, 1.0f);
    // Files removed behind its back: no longer downloaded.
    std::filesystem::remove_all(bookFolder("9103") + "/part-2");
    EXPECT_FALSE(m_downloader->isAVAssetDownloaded("9103"));
}

TEST_F(AssetDownloaderTest, DownloadRunningAtARestartComesBackPausedAndResumes)
{
    restart(2'000);
    m_downloader->downloadAVAsset("9103", multiAudioURLs("9103"), m_listener);
    run(5);
    auto before = m_downloader->getAVAssetDetails("9103");
    ASSERT_EQ(before->bookDownloadState, "Downloading");
    ASSERT_GT(before->progress, 0.0f);

    restart();
    auto after = m_downloader->getAVAssetDetails("9103");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->bookDownloadState, "Paused");
    EXPECT_FALSE(m_downloader->isAVAssetDownloaded("9103"));
    auto listener = std::make_shared<AssetDownloadListener>();
    m_downloader->setDelegateForAVAssetWithDelegate(listener, "9103");
    m_downloader->resumeAVAsset("9103", {});
    run(30);
    EXPECT_EQ(listener->events.back(), "9103 Finished");
    EXPECT_TRUE(m_downloader->isAVAssetDownloaded("9103"));
}

TEST_F(AssetDownloaderTest, RefusesIdsAndPlacesThatLeaveTheBookFolder)
{
    restart();
    auto urls = multiAudioURLs("9103");
    struct Case {
        const char* name;
        std::string bookID;
        std::vector<MVAVAssetDownloadURL> urls;
    };
    auto escaping = urls;
    escaping[1].relativePath = "../../escaped/master.m3u8";
    auto relativeFolder = urls;
    for (auto& url : relativeFolder)
        url.bookFolder = "books/9103";
    auto climbingFolder = urls;
    for (auto& url : climbingFolder)
        url.bookFolder = bookFolder("9103") + "/../../x";
    auto otherBooksFolder = urls;
    for (auto& url : otherBooksFolder)
        url.bookFolder = bookFolder("9104");
    for (const auto& [name, bookID, given] :
        { Case { "id with a path", "../9103", urls }, Case { "id with text", "9103x", urls },
            Case { "place outside", "9103", escaping }, Case { "relative folder", "9103", relativeFolder },
            Case { "climbing folder", "9103", climbingFolder }, Case { "another book's folder", "9103", otherBooksFolder },
            Case { "nothing", "9103", {} } }) {
        SCOPED_TRACE(name);
        m_listener->events.clear();
        m_downloader->downloadAVAsset(bookID, given, m_listener);
        run(5);
        ASSERT_EQ(m_listener->events.size(), 1u);
        EXPECT_NE(m_listener->events[0].find(" failed Failed "), std::string::npos) << m_listener->events[0];
        EXPECT_FALSE(m_downloader->getAVAssetDetails(bookID));
    }
    EXPECT_TRUE(m_downloader->getAllAVAssetDetails().empty());
    EXPECT_FALSE(std::filesystem::exists(m_root / "escaped"));
    EXPECT_FALSE(std::filesystem::exists(m_root / "x"));
}

// The state file as a tamperer would write it: one record per entry.
static std::string assetDownloadState(const std::vector<std::string>& records)
{
    std::string text = R"({"books": [)";
    for (size_t index = 0; index < records.size(); ++index)
        text += (index ? "," : "") + records[index];
    return text + "]}";
}

static std::string assetDownloadRecord(const std::string& bookID, const std::string& state, const std::string& folder,
    const std::string& placed, const std::string& urls = "[]")
{
    return R"({"bookID": ")" + bookID + R"(", "state": ")" + state + R"(", "progress": 1, "bookFolder": ")" + folder
        + R"(", "urls": )" + urls + R"(, "nextURL": 0, "placed": )" + placed + "}";
}

TEST_F(AssetDownloaderTest, TamperedRecordsAreDroppedWithALogLineAndNeverActedOn)
{
    // What the process can write but no download made: a folder beside the root, and the
    // same reached through links inside the root.
    auto victim = m_root / "victim";
    std::filesystem::create_directories(victim / "precious");
    std::ofstream(victim / "precious" / "keep.txt") << "precious";
    std::ofstream(victim / "keep.txt") << "precious";
    std::filesystem::create_symlink(victim, m_root / "books" / "7");
    // Folders a download made and marked: one with a link out inside, and a sound one.
    for (const char* book : { "8", "9" }) {
        std::filesystem::create_directories(m_root / "books" / book);
        std::ofstream(m_root / "books" / book / companion::DownloadFolders::markerName) << book;
    }
    std::filesystem::create_symlink(victim, m_root / "books" / "8" / "part-1");
    // A book's folder that no download marked as its own.
    std::filesystem::create_directories(m_root / "books" / "6");
    std::ofstream(m_root / "books" / "6" / "page.xml") << "a page book's own file";
    std::string playlist = samplePath("sample-multiaudio") + "/part-1/master.m3u8";
    std::string localPlaylist = R"([{"url": ")" + playlist + R"(", "relativePath": "part-1/master.m3u8"}])";

    std::filesystem::create_directories(m_root / "state");
    std::ofstream(m_root / "state" / AVAssetDownloaderManager::stateFileName) << assetDownloadState({
        // Another absolute folder, and what it holds as placed.
        assetDownloadRecord("1", "Finished", victim.string(), R"(["precious", "keep.txt"])"),
        // A paused download to resume into another folder.
        assetDownloadRecord("2", "Paused", victim.string(), "[]", localPlaylist),
        // The root itself, and another book's folder.
        assetDownloadRecord("3", "Finished", (m_root / "books").string(), R"(["7"])"),
        assetDownloadRecord("4", "Finished", bookFolder("5"), R"(["a"])"),
        // The book's own folder, but a link leaving the root.
        assetDownloadRecord("7", "Finished", bookFolder("7"), R"(["keep.txt"])"),
        // The book's own folder, which no download made.
        assetDownloadRecord("6", "Finished", bookFolder("6"), R"(["page.xml"])"),
        // The book's own folder, with what it placed behind a link.
        assetDownloadRecord("8", "Finished", bookFolder("8"), R"(["part-1/keep.txt"])"),
        // Sound: it stays.
        assetDownloadRecord("9", "Paused", bookFolder("9"), "[]", localPlaylist),
    });

    std::vector<std::string> logged;
    lectoro::LectoroDebugLog::enableLogsWithIsenabled(true);
    lectoro::LectoroDebugLog::setSinkForTesting([&](const std::string& line) { logged.push_back(line); });
    restart();
    lectoro::LectoroDebugLog::setSinkForTesting({});
    lectoro::LectoroDebugLog::enableLogsWithIsenabled(false);

    auto all = m_downloader->getAllAVAssetDetails();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].bookID, "9");
    ASSERT_EQ(logged.size(), 7u);
    for (const char* book : { "\"1\"", "\"2\"", "\"3\"", "\"4\"", "\"6\"", "\"7\"", "\"8\"" })
        EXPECT_TRUE(std::any_of(logged.begin(), logged.end(),
            [&](const std::string& line) { return line.find("record of book " + std::string(book)) != std::string::npos; }))
            << book;

    for (const char* book : { "1", "2", "3", "4", "6", "7", "8" }) {
        m_downloader->resumeAVAsset(book, m_listener);
        m_downloader->deleteAVAsset(book, m_listener);
    }
    run(10);
    for (const auto& kept : { victim / "keep.txt", victim / "precious" / "keep.txt" })
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(victim), {}), 2) << "nothing was put there either";
    EXPECT_TRUE(std::filesystem::exists(m_root / "books" / "8" / "part-1"));
    EXPECT_TRUE(std::filesystem::exists(m_root / "books" / "6" / "page.xml"));
}

TEST_F(AssetDownloaderTest, ALinkInTheBookFolderCannotCarryADownloadOut)
{
    restart();
    auto victim = m_root / "victim";
    std::filesystem::create_directories(victim);
    std::ofstream(victim / "master.m3u8") << "precious";
    std::filesystem::create_directories(bookFolder("9103"));
    std::filesystem::create_symlink(victim, bookFolder("9103") + "/part-1");
    m_downloader->downloadAVAsset("9103", multiAudioURLs("9103"), m_listener);
    run(5);
    ASSERT_FALSE(m_listener->events.empty());
    EXPECT_NE(m_listener->events.back().find(" failed Failed "), std::string::npos) << m_listener->events.back();
    std::ifstream kept(victim / "master.m3u8");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(victim), {}), 1);

    // A book folder that is itself a link out of the root is refused before anything is fetched.
    std::filesystem::create_symlink(victim, bookFolder("9104"));
    m_listener->events.clear();
    m_downloader->downloadAVAsset("9104", multiAudioURLs("9104"), m_listener);
    run(5);
    ASSERT_EQ(m_listener->events.size(), 1u);
    EXPECT_NE(m_listener->events[0].find(" failed Failed "), std::string::npos);
    EXPECT_FALSE(m_downloader->getAVAssetDetails("9104"));
}

TEST(HLSDownloadStep, WritesTheContentsFilesAndListsEachPlaylistOnce)
{
    auto folder = std::filesystem::temp_directory_path() / ("lectoro-hlsstep-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    companion::HLSServiceInterface service({}, {});
    std::vector<MVAVAssetDownloadURL> urls;
    std::optional<base::Error> failure;
    auto fetch = [&](const std::string& media) {
        urls.clear();
        failure.reset();
        service.fetchHLSM3U8URLs(
            media, std::nullopt, false, folder.string(), "", [&](const auto& given) { urls = given; },
            [&](const base::Error& error) { failure = error; });
    };

    // Both chapters of the video share one playlist.
    fetch(samplePath("sample-videobook"));
    ASSERT_FALSE(failure) << failure->description();
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0].relativePath, "video/master.m3u8");
    EXPECT_EQ(urls[0].url, samplePath("sample-videobook") + "/video/master.m3u8");
    EXPECT_EQ(urls[0].bookFolder, folder.string());
    EXPECT_TRUE(std::filesystem::exists(folder / "toc.json"));
    EXPECT_TRUE(std::filesystem::exists(folder / "time-index.json"));

    // Audio files are no stream; a folder without contents is no book.
    for (const std::string& media : { samplePath("sample-audiobook"), folder.string() + "/none" }) {
        fetch(media);
        EXPECT_TRUE(failure) << media;
        EXPECT_TRUE(urls.empty());
    }
    std::filesystem::remove_all(folder);
}

TEST_F(AssetDownloaderTest, AListenerMayCancelOrDeleteFromInsideAReport)
{
    // Cancels on the first progress report, deletes on the first state report of a second book.
    struct Ending : AssetDownloadListener {
        std::weak_ptr<AVAssetDownloaderManager> downloader;
        void didDownloadRequestStateUpdateForAVAsset(
            const MVAVAssetDownloadDetail& detail, const std::string& bookID) override
        {
            AssetDownloadListener::didDownloadRequestStateUpdateForAVAsset(detail, bookID);
            auto owner = downloader.lock();
            if (bookID == "9103" && detail.bookDownloadState == "Downloading")
                owner->cancelAVAsset(bookID, {});
            if (bookID == "9104" && detail.bookDownloadState == "Started")
                owner->deleteAVAsset(bookID, {});
        }
    };
    restart(20'000);
    auto listener = std::make_shared<Ending>();
    listener->downloader = m_downloader;
    m_downloader->downloadAVAsset("9103", multiAudioURLs("9103"), listener);
    m_downloader->downloadAVAsset("9104", multiAudioURLs("9104"), listener);
    run(30);
    EXPECT_EQ(listener->events,
        (std::vector<std::string> { "9103 Started", "9104 Started", "deleted 9104", "9103 Downloading" }));
    EXPECT_TRUE(m_downloader->getAllAVAssetDetails().empty());
    EXPECT_FALSE(std::filesystem::exists(bookFolder("9103") + "/part-1"));
    EXPECT_FALSE(std::filesystem::exists(bookFolder("9104") + "/part-1"));
}
