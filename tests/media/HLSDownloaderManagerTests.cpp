#include "media/MediaBookTestSupport.h"

#include "LectoroSDKWithReader/media/MVLectoroHLSDownloaderManager.h"
#include "companion/media/AVAssetDownloaderManager.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/ServiceErrors.h"
#include "platform/base/FileManager.h"

#include <fstream>

using namespace mediatest;
using namespace lectoro;

namespace hlsdownloadtest {

struct DownloadReport {
    std::string kind;
    std::string state;
    double progress = 0;
    std::string bookID;
};

struct RecordingDownloadHost : MVLectoroHLSDownloaderManagerDelegate {
    std::vector<DownloadReport> reports;
    base::Error lastError;

    void didDownloadHLSStateUpdate(
        const std::string& state, double progress, const std::string& bookID) override
    {
        reports.push_back({ "state", state, progress, bookID });
    }
    void didDownloadHLSRequestFailWithError(
        const base::Error& error, const std::string& state, const std::string& bookID) override
    {
        lastError = error;
        reports.push_back({ "failure", state, 0, bookID });
    }
    void didDeleteHLSBookWithBookID(const std::string& bookID) override
    {
        reports.push_back({ "deleted", "", 0, bookID });
    }

    std::vector<std::string> states() const
    {
        std::vector<std::string> seen;
        for (const auto& report : reports)
            if (seen.empty() || seen.back() != report.kind + ":" + report.state)
                seen.push_back(report.kind + ":" + report.state);
        return seen;
    }
};

class HLSDownloadTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        base::FileManager::defaultManager().setSandboxRoot((m_storage / "sandbox").string());
        m_manager = MVLectoroHLSDownloaderManager::create(
            "https://lectoro.invalid", std::string("https://ms.lectoro.invalid"), "client", true);
        m_manager->setDelegate(m_downloads);
    }

    void TearDown() override
    {
        m_manager.reset();
        MediaTest::TearDown();
        base::FileManager::defaultManager().setSandboxRoot({});
    }

    std::shared_ptr<companion::AVAssetDownloaderManager> downloader() const
    {
        return std::dynamic_pointer_cast<companion::AVAssetDownloaderManager>(
            m_framework->assetDownloaderManager());
    }

    void press(const std::string& bookID = "9102")
    {
        m_manager->downloadHLSBookWithUserToken("token-1", bookID, false, "https://thumbs.invalid/9102.png");
    }

    // The button pressed for a book without a record, and the address answered.
    void startVideoDownload(const std::string& mediaFolderPath = mediaSample("sample-videobook"))
    {
        press();
        base::Value::Dictionary body;
        body.set("mediaPath", mediaFolderPath);
        ASSERT_TRUE(answerHLS(9102, companion::ServiceAnswer::success(base::Value(std::move(body)))));
        advance(0);
    }

    std::string bookFolder() const { return m_manager->getBookDownloadedPath(base::Value("9102")); }
    static bool exists(const std::string& path)
    {
        return base::FileManager::defaultManager().fileExists(path);
    }

    std::shared_ptr<MVLectoroHLSDownloaderManager> m_manager;
    std::shared_ptr<RecordingDownloadHost> m_downloads = std::make_shared<RecordingDownloadHost>();
};

} // namespace hlsdownloadtest

using hlsdownloadtest::HLSDownloadTest;

TEST_F(HLSDownloadTest, BookWithoutRecordAsksTheServiceForADownloadAndFetchesItsPlaylists)
{
    EXPECT_FALSE(m_manager->getAllHLSBooksDownloadDetails());
    setNow(0.75);
    press();
    auto requests = hlsRequests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    EXPECT_EQ(request.userToken, "token-1");
    EXPECT_EQ(request.baseURL, "https://ms.lectoro.invalid");
    EXPECT_EQ(request.clientID, "client");
    EXPECT_EQ(request.body["bookID"], base::Value(9102));
    // Whole seconds, the fraction cut off.
    EXPECT_EQ(request.body["timeStamp"], base::Value(int64_t(mediaFixedNow)));
    EXPECT_EQ(request.body["isOnline"], base::Value(false));
    EXPECT_EQ(request.body["isLectoroContentServer"], base::Value(true));
    EXPECT_EQ(request.body["enableCDNCookies"], base::Value(true));

    ASSERT_TRUE(answerHLS(9102, mediaFolder("sample-videobook")));
    advance(0);
    EXPECT_EQ(m_downloads->states(), (std::vector<std::string> { "state:Started" }));
    advance(5);
    EXPECT_EQ(m_downloads->states(),
        (std::vector<std::string> { "state:Started", "state:Downloading", "state:Finished" }));
    double last = 0;
    for (const auto& report : m_downloads->reports) {
        EXPECT_EQ(report.bookID, "9102");
        EXPECT_GE(report.progress, last);
        last = report.progress;
    }
    EXPECT_EQ(m_downloads->reports.back().progress, 1.0);
    EXPECT_TRUE(m_manager->isHLSBookDownloaded("9102"));
    for (const char* file : { "toc.json", "time-index.json", "video/master.m3u8", "video/180p/segment-2.ts",
             "video/subtitles/de/subtitles.vtt" })
        EXPECT_TRUE(exists(bookFolder() + "/" + file)) << file;
    auto all = m_manager->getAllHLSBooksDownloadDetails();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 1u);
    EXPECT_EQ(all->front().bookDownloadState, "Finished");
}

TEST_F(HLSDownloadTest, AnAddressAnsweredOnAWorkerThreadStillDownloadsOnTheMainThread)
{
    press();
    auto answer = mediaFolder("sample-videobook");
    answer.delivery = companion::Delivery::WorkerThread;
    ASSERT_TRUE(answerHLS(9102, answer));
    advance(5);
    EXPECT_EQ(m_downloads->states(),
        (std::vector<std::string> { "state:Started", "state:Downloading", "state:Finished" }));
    EXPECT_TRUE(m_manager->isHLSBookDownloaded("9102"));
}

TEST_F(HLSDownloadTest, FinishedBookReportsFinishedAndAsksNothing)
{
    startVideoDownload();
    advance(5);
    ASSERT_TRUE(m_manager->isHLSBookDownloaded("9102"));
    m_downloads->reports.clear();
    size_t asked = m_framework->service()->requestCount();

    // Also through the process's manager, which has no addresses at all.
    MVLectoroHLSDownloaderManager::shared().setDelegate(m_downloads);
    for (auto* manager : { m_manager.get(), &MVLectoroHLSDownloaderManager::shared() }) {
        manager->downloadHLSBookWithUserToken("token-1", "9102", false, "");
        ASSERT_EQ(m_downloads->reports.size(), 1u);
        EXPECT_EQ(m_downloads->reports[0].state, "Finished");
        EXPECT_EQ(m_downloads->reports[0].progress, 1.0);
        m_downloads->reports.clear();
    }
    MVLectoroHLSDownloaderManager::shared().setDelegate({});
    advance(1);
    EXPECT_EQ(m_framework->service()->requestCount(), asked);
    EXPECT_TRUE(m_downloads->reports.empty());
}

TEST_F(HLSDownloadTest, ButtonPausesAndResumesADownloadUnderWay)
{
    downloader()->setBytesPerSecond(20'000);
    startVideoDownload();
    advance(1.5);
    ASSERT_EQ(m_manager->getHLSBookDownloadDetails("9102")->bookDownloadState, "Downloading");

    press();
    auto paused = m_manager->getHLSBookDownloadDetails("9102");
    EXPECT_EQ(paused->bookDownloadState, "Paused");
    EXPECT_EQ(m_downloads->reports.back().state, "Paused");
    size_t reportsWhilePaused = m_downloads->reports.size();
    advance(30);
    EXPECT_EQ(m_downloads->reports.size(), reportsWhilePaused);
    EXPECT_EQ(m_manager->getHLSBookDownloadDetails("9102")->progress, paused->progress);
    EXPECT_FALSE(m_manager->isHLSBookDownloaded("9102"));

    press();
    EXPECT_EQ(m_downloads->reports.back().state, "Downloading");
    advance(30);
    EXPECT_EQ(m_downloads->reports.back().state, "Finished");
    EXPECT_TRUE(m_manager->isHLSBookDownloaded("9102"));
    EXPECT_EQ(hlsRequests().size(), 1u);
}

TEST_F(HLSDownloadTest, FailedDownloadIsNotPausedAndTheButtonStartsItAfresh)
{
    // A copy of the book that loses a segment once the download is under way.
    auto source = m_storage / "media-9102";
    std::filesystem::copy(mediaSample("sample-videobook"), source, std::filesystem::copy_options::recursive);
    downloader()->setBytesPerSecond(20'000);
    startVideoDownload(source.string());
    std::filesystem::remove(source / "video/90p/segment-2.ts");
    advance(30);
    ASSERT_EQ(m_downloads->reports.back().kind, "failure");
    EXPECT_EQ(m_downloads->reports.back().state, "Failed");
    EXPECT_EQ(m_manager->getHLSBookDownloadDetails("9102")->bookDownloadState, "Failed");

    m_manager->pauseDownloadHLSBook("9102");
    EXPECT_EQ(m_manager->getHLSBookDownloadDetails("9102")->bookDownloadState, "Failed");

    std::filesystem::copy_file(
        mediaSample("sample-videobook") + "/video/90p/segment-2.ts", source / "video/90p/segment-2.ts");
    downloader()->setBytesPerSecond(1'000'000);
    m_downloads->reports.clear();
    startVideoDownload(source.string());
    EXPECT_EQ(hlsRequests().size(), 2u);
    advance(5);
    EXPECT_EQ(m_downloads->states(),
        (std::vector<std::string> { "state:Started", "state:Downloading", "state:Finished" }));
    EXPECT_TRUE(m_manager->isHLSBookDownloaded("9102"));
}

TEST_F(HLSDownloadTest, CancelForgetsTheDownloadAndDeleteRemovesTheBook)
{
    downloader()->setBytesPerSecond(20'000);
    startVideoDownload();
    advance(1.5);
    m_manager->cancelDownloadHLSBook("9102");
    size_t reports = m_downloads->reports.size();
    advance(30);
    EXPECT_EQ(m_downloads->reports.size(), reports);
    EXPECT_FALSE(m_manager->getHLSBookDownloadDetails("9102"));
    EXPECT_FALSE(m_manager->getAllHLSBooksDownloadDetails());
    EXPECT_FALSE(exists(bookFolder() + "/video"));

    downloader()->setBytesPerSecond(1'000'000);
    startVideoDownload();
    advance(5);
    ASSERT_TRUE(m_manager->isHLSBookDownloaded("9102"));
    m_manager->deleteDownloadedHLSBook("9102");
    ASSERT_FALSE(m_downloads->reports.empty());
    EXPECT_EQ(m_downloads->reports.back().kind, "deleted");
    EXPECT_EQ(m_downloads->reports.back().bookID, "9102");
    EXPECT_FALSE(m_manager->isHLSBookDownloaded("9102"));
    EXPECT_FALSE(m_manager->getHLSBookDownloadDetails("9102"));
    EXPECT_FALSE(exists(bookFolder() + "/video/master.m3u8"));
}

TEST_F(HLSDownloadTest, ServiceFailuresAreReportedOnceAsHLSServiceFailed)
{
    struct Case {
        const char* name;
        std::optional<companion::ServiceAnswer> answer;
    };
    base::Value::Dictionary notStreamed;
    notStreamed.set("mediaPath", mediaSample("sample-audiobook"));
    for (const auto& [name, answer] : { Case { "refused", companion::ServiceAnswer::unauthorized() },
             Case { "offline", companion::ServiceAnswer::offline() },
             Case { "no playlists", companion::ServiceAnswer::success(base::Value(notStreamed)) } }) {
        SCOPED_TRACE(name);
        m_downloads->reports.clear();
        press();
        ASSERT_TRUE(answerHLS(9102, *answer));
        advance(1);
        ASSERT_EQ(m_downloads->reports.size(), 1u);
        EXPECT_EQ(m_downloads->reports[0].kind, "failure");
        EXPECT_EQ(m_downloads->reports[0].state, "HLS Service Failed");
        EXPECT_EQ(m_downloads->reports[0].bookID, "9102");
        EXPECT_FALSE(m_manager->getHLSBookDownloadDetails("9102"));
    }
    EXPECT_EQ(m_downloads->lastError.domain, companion::serviceErrorDomain);
}

TEST_F(HLSDownloadTest, HostileBookIdsAreRefusedWithoutTouchingTheServiceOrTheDisk)
{
    auto sandbox = m_storage / "sandbox";
    for (const char* hostile :
        { "../../outside", "9102/../9103", "9102abc", "", "-5", " 9102", "99999999999999999999999" }) {
        SCOPED_TRACE(hostile);
        m_downloads->reports.clear();
        press(hostile);
        ASSERT_EQ(m_downloads->reports.size(), 1u);
        EXPECT_EQ(m_downloads->reports[0].state, "HLS Service Failed");
        EXPECT_EQ(m_downloads->lastError.domain, MVLectoroHLSDownloaderManager::errorDomain);
        EXPECT_EQ(m_manager->getBookDownloadedPath(base::Value(hostile)), "");
        EXPECT_FALSE(m_manager->isHLSBookDownloaded(hostile));
        EXPECT_FALSE(m_manager->getHLSBookDownloadDetails(hostile));
        m_manager->deleteDownloadedHLSBook(hostile);
        m_manager->pauseDownloadHLSBook(hostile);
        m_manager->cancelDownloadHLSBook(hostile);
        EXPECT_EQ(m_downloads->reports.size(), 1u);
    }
    EXPECT_TRUE(hlsRequests().empty());
    EXPECT_FALSE(exists((m_storage / "outside").string()));
    EXPECT_FALSE(exists((sandbox / "Library/outside").string()));
    // A number names its folder as its text does.
    EXPECT_EQ(m_manager->getBookDownloadedPath(base::Value(9102)), bookFolder());
}

TEST_F(HLSDownloadTest, DownloadedBookOpensFromItsFolderThroughTheMediaBookController)
{
    startVideoDownload();
    advance(5);
    ASSERT_TRUE(MVLectoroHLSDownloaderManager::shared().isHLSBookDownloaded("9102"));
    std::string folder = MVLectoroHLSDownloaderManager::shared().getBookDownloadedPath(base::Value("9102"));
    ASSERT_EQ(folder, bookFolder());

    m_controller->launchOfflineHLSMedia(folder, 9102, "", "https://lectoro.invalid", "client", m_user, false,
        "978-0", m_settings, std::nullopt, "1");
    advance(2.0);
    auto reader = m_controller->mediaReader();
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->mediaBookModel()->mediaBookPath, folder);
    ASSERT_TRUE(reader->mediaBookModel()->chapters);
    EXPECT_EQ(reader->mediaBookModel()->chapters->size(), 2u);
    EXPECT_EQ(reader->mediaBookModel()->mediaBookTitle, "Test Pattern");
    EXPECT_TRUE(reader->mediaBookModel()->currentChapter);
    // Nothing was streamed: the book played from the device.
    EXPECT_EQ(hlsRequests().size(), 1u);
}

TEST_F(HLSDownloadTest, DeletingADownloadWhoseRecordWasTamperedWithRemovesNothingOutsideIt)
{
    // A folder of the user's that no download made, and a state file naming it as a book's.
    auto precious = m_storage / "precious";
    std::filesystem::create_directories(precious / "photos");
    std::ofstream(precious / "photos" / "1.jpg") << "a photo";
    std::filesystem::create_directories(m_storage / "HLSDownloads");
    std::ofstream(m_storage / "HLSDownloads" / companion::AVAssetDownloaderManager::stateFileName)
        << R"({"books": [{"bookID": "9102", "state": "Finished", "progress": 1, "bookFolder": ")" + precious.string()
            + R"(", "urls": [], "nextURL": 0, "placed": ["photos"]}]})";

    EXPECT_FALSE(m_manager->getHLSBookDownloadDetails("9102")) << "the record is dropped when read";
    m_manager->deleteDownloadedHLSBook("9102");
    advance(1);
    EXPECT_TRUE(exists((precious / "photos" / "1.jpg").string()));
    ASSERT_FALSE(m_downloads->reports.empty());
    EXPECT_EQ(m_downloads->reports.back().kind, "deleted");

    // The book downloads into its own folder as if nothing had been there.
    startVideoDownload();
    advance(5);
    EXPECT_TRUE(m_manager->isHLSBookDownloaded("9102"));
    EXPECT_EQ(m_manager->getHLSBookDownloadDetails("9102")->bookFolder, bookFolder());
    EXPECT_TRUE(exists((precious / "photos" / "1.jpg").string()));
}
