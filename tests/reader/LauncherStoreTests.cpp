// What the host hears when the device's store fails under the launcher: a damaged store
// replaced by a fresh one, a read-only storage folder, a save that does not reach the disk.

#include "platform/testing/Interaction.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "companion/Framework.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/testing/StorageFaults.h"

#include "LauncherTestSupport.h"

#include <fstream>
#include <random>

namespace lectoro {
namespace {

class LauncherStoreTests : public testing::ReaderTest {
protected:
    void TearDown() override
    {
        m_launcher.reset();
        ReaderTest::TearDown();
    }

    void start(const std::string& storeVfs = {})
    {
        setCompanionFramework(companion::makeFramework({ m_storage.string(), nullptr, storeVfs }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }

    void readAndClose()
    {
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", "1001", "978-0");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        m_launcher->launchBook(package, makeUser("reader@example"), configuration);
        base::RunLoop::main().advanceBy(1);
        auto reader = m_launcher->reader();
        ASSERT_TRUE(reader && reader->currentBook());
        reader->rendererView()->navigateToPageNumber("106");
        base::RunLoop::main().advanceBy(1);
        reader->didTapOnBackButton();
        base::RunLoop::main().advanceBy(1);
    }

    std::filesystem::path database() const { return m_storage / companion::storeFileName; }

    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

bool hasCode(const base::Error& error, YSDBManagerErrorCode code)
{
    return error.code == static_cast<int64_t>(code);
}

TEST_F(LauncherStoreTests, ADamagedStoreIsReplacedKeptAndReportedOnce)
{
    {
        auto store = companion::SqliteDatabaseManager::open(m_storage.string()).value();
        for (int index = 0; index < 300; ++index) {
            auto note = std::make_shared<SDKHighlightVO>();
            note->pageIdentifier = std::to_string(index);
            note->noteText = std::string(200, 'n');
            store->saveHighlight(note, "1001", 1);
        }
    }
    auto size = std::filesystem::file_size(database());
    std::string noise(8192, '\0');
    std::mt19937 random(7);
    for (auto& byte : noise)
        byte = static_cast<char>(random());
    {
        std::fstream file(database(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size / 2 - noise.size() / 2));
        file.write(noise.data(), static_cast<std::streamsize>(noise.size()));
    }

    start();
    readAndClose();
    readAndClose();
    ASSERT_EQ(m_host->storeProblems.size(), 1u) << "the host hears of the replaced store once";
    const auto& problem = m_host->storeProblems[0];
    EXPECT_TRUE(hasCode(problem, YSDBManagerErrorCode::ReplacedDamaged)) << problem.localizedDescription();
    std::string kept = problem.userInfo["keptPath"].asString().value_or("");
    EXPECT_TRUE(std::filesystem::exists(kept));
    EXPECT_EQ(std::filesystem::path(kept).parent_path(), m_storage);
    // The fresh store works: the book came back at the page it was closed on.
    ASSERT_EQ(m_host->closes.size(), 2u);
    EXPECT_EQ(m_host->closes[1].lastPageFolio, "4");
}

// Tests run as root, where permissions do not stop writes: the read-only VFS behaves like a
// read-only mount of the storage folder.
TEST_F(LauncherStoreTests, AReadOnlyFolderIsReportedAsReadOnlyAndNothingCountsAsSaved)
{
    start(companion::testing::readOnlyVfsName());
    readAndClose();
    ASSERT_FALSE(m_host->storeProblems.empty());
    for (const auto& problem : m_host->storeProblems) {
        EXPECT_TRUE(hasCode(problem, YSDBManagerErrorCode::ReadOnly)) << problem.localizedDescription();
        EXPECT_NE(problem.localizedDescription().find("read-only"), std::string::npos);
    }
    // The page it was closed on could not be kept, and it was reported, not taken for saved.
    EXPECT_GE(m_host->storeProblems.size(), 2u) << "the opening and the failed last-page save";
    auto saved = companionFramework()->makeDatabaseManager()->saveBookmark(std::make_shared<SDKBookmarkVO>(), "1001", 1);
    EXPECT_FALSE(saved.ok());
    EXPECT_FALSE(std::filesystem::exists(database()));
}

} // namespace
} // namespace lectoro
