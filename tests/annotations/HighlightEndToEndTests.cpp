// A highlight made on a page of the sample page book through the companion framework
// itself: selected, coloured from the pop-up, stored, drawn, and drawn again when the
// book is opened again.

#include "platform/testing/Interaction.h"
#include "reader/LauncherTestSupport.h"
#include "reader/ReaderJourneySupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/ui/Button.h"
#include "platform/base/Bundle.h"
#include "platform/ui/StackView.h"

#include <fstream>

namespace lectoro {
namespace {

class HighlightEndToEndTests : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        testing::writeHostThemeWithHighlightColours(m_storage / "host");
        m_previousMainBundle = base::Bundle::main().rootPath();
        base::Bundle::setMainBundlePath((m_storage / "host").string());
        setCompanionFramework(companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr }));
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
    }
    void TearDown() override
    {
        m_launcher.reset();
        base::Bundle::setMainBundlePath(m_previousMainBundle);
        ReaderTest::TearDown();
    }

    std::shared_ptr<ReaderViewController> open()
    {
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", "1001", "978-0");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        m_launcher->launchBook(package, makeUser("6000000001"), configuration);
        base::RunLoop::main().advanceBy(1);
        // A first reader of the book is shown the help overlay and offered reading aloud;
        // the user closes both.
        auto reader = m_launcher->reader();
        if (reader) {
            testing::closeHelpIfShown(*reader);
            testing::closeOfferedReadAloud(*reader);
        }
        return reader;
    }

    void close(ReaderViewController& reader)
    {
        reader.didTapOnBackButton();
        base::RunLoop::main().advanceBy(1);
    }

    std::string m_previousMainBundle;
    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

TEST_F(HighlightEndToEndTests, ASelectionColouredFromThePopupIsStoredAndDrawnAgainOnReopening)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer);
    ASSERT_TRUE(renderer->isBookLoaded()) << (renderer->loadError() ? renderer->loadError()->description() : "not loaded");
    ASSERT_FALSE(renderer->getActivePages().empty());
    int64_t page = renderer->getActivePages().at(0).pageID;

    ASSERT_TRUE(renderer->selectWords(page, 1, 2));
    auto popup = reader->highlightRoad().highlightView();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->superview());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeHighlightPopup);

    auto firstSwatch = popup->horizontalStackForHighLightTools()->arrangedSubviews().at(0);
    auto button = std::dynamic_pointer_cast<ui::Button>(firstSwatch->subviews().at(1));
    ASSERT_TRUE(button);
    ASSERT_TRUE(uitest::tap(*button));
    base::RunLoop::main().runUntilIdle();

    ASSERT_EQ(popup->highlighColorsArray().size(), 3u);
    const std::string colour = popup->highlighColorsArray().at(0);
    auto stored = reader->context().dbManager->highlightBookID(
        std::to_string(reader->bookID()), reader->user()->numericUserID());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->backgroundColor, colour);
    EXPECT_FALSE(stored[0]->text.empty());
    EXPECT_EQ(stored[0]->bookVersion, reader->context().bookVersion);
    auto drawn = renderer->overlayForPage(page).highlights;
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_FALSE(popup->superview());
    std::string localID = stored[0]->localID;

    close(*reader);
    reader = open();
    ASSERT_TRUE(reader);
    renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    auto again = renderer->overlayForPage(page).highlights;
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0]->localID, localID);
    EXPECT_EQ(again[0]->backgroundColor, colour);
}

} // namespace
} // namespace lectoro
