// The launcher over the companion framework itself (its renderer loads real book folders,
// its store and in-process service answer), as the example host runs it.

#include "platform/testing/Interaction.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "companion/Framework.h"

#include "LauncherTestSupport.h"

namespace lectoro {
namespace {

class LauncherEndToEndTests : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        setCompanionFramework(
            companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }
    void TearDown() override
    {
        m_launcher.reset();
        ReaderTest::TearDown();
    }

    void launch(const std::string& folder)
    {
        auto package = std::make_shared<LectoroBookPackage>(folder, "1001", "978-0");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        m_launcher->launchBook(package, makeUser("reader@example"), configuration);
        base::RunLoop::main().advanceBy(1);
    }

    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

TEST_F(LauncherEndToEndTests, OpensAndClosesEachSampleBook)
{
    struct Case {
        const char* folder;
        LectoroBookKind kind;
    };
    for (auto c : { Case { "sample-pagebook", LectoroBookKind::PageBook },
             Case { "sample-reflowable-epub", LectoroBookKind::EPUB },
             Case { "sample-fixed-epub", LectoroBookKind::EPUB } }) {
        launch(std::string(LECTORO_SAMPLES_DIR) + "/books/" + c.folder);
        auto reader = m_launcher->reader();
        ASSERT_TRUE(reader) << c.folder;
        ASSERT_TRUE(reader->currentBook()) << c.folder;
        EXPECT_EQ(reader->currentBook()->kind(), c.kind);
        EXPECT_FALSE(reader->rendererView()->getActivePages().empty()) << c.folder;
        reader->didTapOnBackButton();
        base::RunLoop::main().advanceBy(1);
        EXPECT_FALSE(m_launcher->reader());
    }
    ASSERT_EQ(m_host->closes.size(), 3u);
    // The last page of the page book was stored under the mapped user and reopens there.
    EXPECT_EQ(m_host->closes[0].lastPageFolio, "i");
}

TEST_F(LauncherEndToEndTests, ReopensAtTheStoredPage)
{
    std::string folder = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-reflowable-epub";
    launch(folder);
    auto reader = m_launcher->reader();
    reader->rendererView()->navigateToPageNumber("2");
    base::RunLoop::main().advanceBy(1);
    reader->didTapOnBackButton();
    ASSERT_EQ(m_host->closes.size(), 1u);
    ASSERT_TRUE(m_host->closes[0].lastPageFolio);
    EXPECT_NE(m_host->closes[0].lastPageFolio->find("\"chapterid\":\"2\""), std::string::npos);

    launch(folder);
    auto pages = m_launcher->reader()->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().fileIndex, 2);
}

TEST_F(LauncherEndToEndTests, PageBookReopensAtItsFolio)
{
    std::string folder = std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook";
    launch(folder);
    m_launcher->reader()->rendererView()->navigateToPageNumber("106");
    base::RunLoop::main().advanceBy(1);
    m_launcher->reader()->didTapOnBackButton();
    ASSERT_EQ(m_host->closes.size(), 1u);
    EXPECT_EQ(m_host->closes[0].lastPageFolio, "4");

    launch(folder);
    auto pages = m_launcher->reader()->rendererView()->getActivePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().pageID, 106);
    EXPECT_EQ(pages.front().displayNum, "4");
}

TEST_F(LauncherEndToEndTests, MissingFolderIsReportedAndNothingBreaks)
{
    launch("/nonexistent/book/folder");
    auto reader = m_launcher->reader();
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->currentBook());
    EXPECT_TRUE(reader->bookLoadingError().has_value());
    base::RunLoop::main().advanceBy(30);
    reader->didTapOnBackButton();
    EXPECT_EQ(m_host->closes.size(), 1u);
}

} // namespace
} // namespace lectoro
