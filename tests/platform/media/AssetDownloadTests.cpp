#include "MediaTestSupport.h"

#include "platform/base/FileManager.h"
#include "platform/media/Asset.h"
#include "platform/media/AssetDownloadSession.h"
#include "platform/media/MediaError.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using media::AssetDownloadSession;
using media::AssetDownloadTask;

class DownloadEventRecorder : public media::AssetDownloadDelegate {
public:
    void didLoadTimeRange(AssetDownloadSession&, AssetDownloadTask&, double loaded, double total) override { progress.emplace_back(loaded, total); }
    void didFinishDownloadingTo(AssetDownloadSession&, AssetDownloadTask&, const std::string& where) override { location = where; }
    void didCompleteWithError(AssetDownloadSession&, AssetDownloadTask&, const std::optional<base::Error>& error) override
    {
        ++completions;
        this->error = error;
    }

    std::vector<std::pair<double, double>> progress;
    std::string location;
    int completions = 0;
    std::optional<base::Error> error;
};

class AssetDownloadTest : public testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        // A stream of two variants, an extra audio language and subtitles; each segment 1000 bytes.
        std::string segment(1000, 's');
        server.write("book/video/lo.m3u8", "#EXTM3U\n#EXTINF:5,\nlo0.ts\n#EXTINF:5,\nlo1.ts\n#EXT-X-ENDLIST\n");
        server.write("book/video/hi.m3u8", "#EXTM3U\n#EXTINF:5,\nhi0.ts\n#EXTINF:5,\nhi1.ts\n#EXT-X-ENDLIST\n");
        server.write("book/audio/es.m3u8", "#EXTM3U\n#EXTINF:10,\nes0.aac\n#EXT-X-ENDLIST\n");
        server.write("book/subs/en.m3u8", "#EXTM3U\n#EXTINF:10,\nen.vtt\n#EXT-X-ENDLIST\n");
        for (const char* name : { "video/lo0.ts", "video/lo1.ts", "video/hi0.ts", "video/hi1.ts", "audio/es0.aac", "subs/en.vtt" })
            server.write(std::string("book/") + name, segment);
        master = server.write("book/master.m3u8",
            "#EXTM3U\n"
            "#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"a\",NAME=\"Español\",LANGUAGE=\"es\",URI=\"audio/es.m3u8\"\n"
            "#EXT-X-MEDIA:TYPE=SUBTITLES,GROUP-ID=\"s\",NAME=\"English\",LANGUAGE=\"en\",URI=\"subs/en.m3u8\"\n"
            "#EXT-X-STREAM-INF:BANDWIDTH=100000,AUDIO=\"a\",SUBTITLES=\"s\"\nvideo/lo.m3u8\n"
            "#EXT-X-STREAM-INF:BANDWIDTH=900000,AUDIO=\"a\",SUBTITLES=\"s\"\nvideo/hi.m3u8\n");
        delegate = std::make_shared<DownloadEventRecorder>();
        session = AssetDownloadSession::create({ "books", downloads.path(), 1000 }, delegate);
    }
    void TearDown() override { base::RunLoop::main().reset(); }

    std::vector<std::string> downloadedFolders() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(downloads.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    mediatest::TemporaryFolder server;
    mediatest::TemporaryFolder downloads;
    std::string master;
    std::shared_ptr<DownloadEventRecorder> delegate;
    std::shared_ptr<AssetDownloadSession> session;
};

TEST_F(AssetDownloadTest, downloadsEveryFileOnTheClockIntoAPlayableFolder)
{
    auto task = session->makeAssetDownloadTask(master, "Book");
    EXPECT_EQ(task->state(), AssetDownloadTask::State::Suspended);
    base::RunLoop::main().advanceBy(10);
    EXPECT_TRUE(delegate->progress.empty()) << "nothing happens before resume";

    task->resume();
    base::RunLoop::main().advanceBy(1.0);
    ASSERT_FALSE(delegate->progress.empty());
    EXPECT_LT(task->fractionCompleted(), 0.5);
    EXPECT_EQ(delegate->progress.back().second, 10.0) << "the stream's duration";

    // Suspended, time passes without progress; resumed, it finishes.
    task->suspend();
    auto received = task->countOfBytesReceived();
    base::RunLoop::main().advanceBy(30);
    EXPECT_EQ(task->countOfBytesReceived(), received);
    task->resume();
    base::RunLoop::main().advanceBy(30);

    EXPECT_EQ(delegate->completions, 1);
    EXPECT_FALSE(delegate->error);
    EXPECT_EQ(task->state(), AssetDownloadTask::State::Completed);
    EXPECT_EQ(task->fractionCompleted(), 1.0);
    EXPECT_EQ(delegate->progress.back().first, 10.0);
    ASSERT_FALSE(delegate->location.empty());
    EXPECT_EQ(task->location(), delegate->location);
    EXPECT_EQ(downloadedFolders().size(), 1u) << "no partial folder left";
    for (const char* name : { "master.m3u8", "video/hi1.ts", "video/lo0.ts", "audio/es0.aac", "subs/en.vtt" })
        EXPECT_TRUE(std::filesystem::exists(delegate->location + "/" + name)) << name;

    auto offline = media::Asset::load(delegate->location + "/master.m3u8");
    ASSERT_TRUE(offline.ok()) << offline.error().localizedDescription();
    EXPECT_DOUBLE_EQ(offline->duration, 10.0);
    EXPECT_EQ(offline->audibleOptions.size(), 1u);
    EXPECT_TRUE(session->tasks().empty());
}

TEST_F(AssetDownloadTest, cancellingOrAMissingFileLeavesNothingBehind)
{
    auto task = session->makeAssetDownloadTask(master, "Book");
    task->resume();
    base::RunLoop::main().advanceBy(2.5);
    task->cancel();
    base::RunLoop::main().advanceBy(60);
    EXPECT_EQ(delegate->completions, 1);
    ASSERT_TRUE(delegate->error);
    EXPECT_EQ(delegate->error->code, media::urlErrorCancelled);
    EXPECT_TRUE(delegate->location.empty());
    EXPECT_TRUE(downloadedFolders().empty());

    std::filesystem::remove(server.path() + "/book/video/hi1.ts");
    delegate = std::make_shared<DownloadEventRecorder>();
    session = AssetDownloadSession::create({ "books", downloads.path(), 1000 }, delegate);
    session->makeAssetDownloadTask(master, "Book")->resume();
    base::RunLoop::main().advanceBy(60);
    ASSERT_TRUE(delegate->error);
    EXPECT_EQ(delegate->error->code, media::urlErrorFileDoesNotExist);
    EXPECT_NE(delegate->error->localizedDescription().find("hi1.ts"), std::string::npos);
    EXPECT_TRUE(downloadedFolders().empty());
}

// Bytes of every file under the folder, hidden partial downloads included.
uint64_t bytesOnDisk(const std::string& folder)
{
    uint64_t total = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            total += entry.file_size();
    }
    return total;
}

TEST_F(AssetDownloadTest, aSegmentThatGrowsAfterPlanningIsRefusedAndNothingPastThePlanIsWritten)
{
    auto task = session->makeAssetDownloadTask(master, "Book");
    task->resume();
    const uint64_t planned = task->countOfBytesExpectedToReceive();
    ASSERT_GT(planned, 0u);
    // The last segment grows a hundredfold while the others are copied.
    server.write("book/video/hi1.ts", std::string(100'000, 'g'));
    uint64_t mostOnDisk = 0;
    for (int second = 0; second < 60; ++second) {
        base::RunLoop::main().advanceBy(1);
        mostOnDisk = std::max(mostOnDisk, bytesOnDisk(downloads.path()));
    }
    EXPECT_EQ(delegate->completions, 1);
    ASSERT_TRUE(delegate->error);
    EXPECT_EQ(delegate->error->code, media::errorFileFailedToParse);
    EXPECT_NE(delegate->error->localizedDescription().find("hi1.ts"), std::string::npos);
    EXPECT_LE(mostOnDisk, planned);
    EXPECT_LE(task->countOfBytesReceived(), planned);
    EXPECT_TRUE(delegate->location.empty());
    EXPECT_TRUE(downloadedFolders().empty());
}

TEST_F(AssetDownloadTest, aFilePastThePerFileLimitFailsThePlanBeforeAnythingIsCopied)
{
    media::AssetDownloadConfiguration configuration { "books", downloads.path(), 1000 };
    configuration.maxBytesPerFile = 999;
    session = AssetDownloadSession::create(configuration, delegate);
    session->makeAssetDownloadTask(master, "Book")->resume();
    base::RunLoop::main().advanceBy(60);
    ASSERT_TRUE(delegate->error);
    EXPECT_EQ(delegate->error->code, media::errorFileFailedToParse);
    EXPECT_NE(delegate->error->localizedDescription().find("maxBytesPerFile"), std::string::npos);
    EXPECT_TRUE(delegate->progress.empty());
    EXPECT_TRUE(downloadedFolders().empty());
}

TEST_F(AssetDownloadTest, aPlaylistNamingFilesOutsideItsFolderOrOnTheWebIsRefused)
{
    struct Case {
        const char* name;
        std::string segment;
        int64_t code;
    };
    const Case cases[] = {
        { "parent folder", "../../secret.ts", media::errorUnsafePath },
        { "web address", "https://cdn.example.invalid/a.ts", media::urlErrorUnsupportedURL },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string playlist = server.write("evil/list.m3u8", "#EXTM3U\n#EXTINF:1,\n" + c.segment + "\n");
        delegate = std::make_shared<DownloadEventRecorder>();
        session = AssetDownloadSession::create({ "books", downloads.path(), 1000 }, delegate);
        session->makeAssetDownloadTask(playlist, "Evil")->resume();
        base::RunLoop::main().advanceBy(5);
        ASSERT_TRUE(delegate->error);
        EXPECT_EQ(delegate->error->code, c.code);
        EXPECT_TRUE(downloadedFolders().empty());
    }
}

TEST_F(AssetDownloadTest, aLinkInsideTheStreamIsCopiedAsItsFileAndAFifoOrALinkOutIsRefused)
{
    namespace fs = std::filesystem;
    // Inside the stream's folder: the download holds the bytes, not a link back to the source.
    std::string real = server.write("linked/media/real.ts", std::string(1000, 'r'));
    fs::create_symlink("media/real.ts", server.path() + "/linked/seg.ts");
    std::string playlist = server.write("linked/list.m3u8", "#EXTM3U\n#EXTINF:1,\nseg.ts\n");
    session->makeAssetDownloadTask(playlist, "Linked")->resume();
    base::RunLoop::main().advanceBy(10);
    ASSERT_FALSE(delegate->error) << delegate->error->localizedDescription();
    const std::string copy = delegate->location + "/seg.ts";
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(copy)));
    EXPECT_EQ(base::FileManager::defaultManager().readFile(copy), std::string(1000, 'r'));
    fs::remove_all(delegate->location);

    std::string secret = server.write("secret/seg.ts", "secret");
    fs::create_directories(server.path() + "/hostile");
    fs::create_symlink(secret, server.path() + "/hostile/out.ts");
    std::string fifo = mediatest::makeFifo(server.path() + "/hostile/fifo.ts");
    mediatest::FifoWatchdog watchdog({ fifo }, 20);
    struct Case {
        const char* segment;
        int64_t code;
    };
    for (const Case& c : { Case { "out.ts", media::errorUnsafePath }, Case { "fifo.ts", media::errorFileFormatNotRecognized } }) {
        SCOPED_TRACE(c.segment);
        std::string list = server.write("hostile/list.m3u8", std::string("#EXTM3U\n#EXTINF:1,\n") + c.segment + "\n");
        delegate = std::make_shared<DownloadEventRecorder>();
        session = AssetDownloadSession::create({ "books", downloads.path(), 1000 }, delegate);
        mediatest::MediaOpenRecorder opens;
        session->makeAssetDownloadTask(list, "Hostile")->resume();
        base::RunLoop::main().advanceBy(10);
        ASSERT_TRUE(delegate->error);
        EXPECT_EQ(delegate->error->code, c.code) << delegate->error->localizedDescription();
        EXPECT_TRUE(downloadedFolders().empty());
        for (const std::string& path : opens.opened())
            EXPECT_EQ(path.find(c.segment), std::string::npos) << "opened " << path;
    }
    EXPECT_FALSE(watchdog.fired()) << "the copy waited on a FIFO";
}

} // namespace
