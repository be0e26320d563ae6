// Through the reader as the host runs it: the companion framework's renderer over a
// sample book, its in-process service; text selected on a page goes to translation and
// to the immersive reader.

#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readingaids/ImmersiveReaderViewController.h"
#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"
#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"
#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Json.h"
#include "platform/testing/ScriptedWebPage.h"

#include "ReadingAidsTestSupport.h"
#include "reader/LauncherTestSupport.h"

namespace lectoro {
namespace {

class ReadingAidsEndToEndTests : public testing::ReadingAidsTest {
protected:
    void SetUp() override
    {
        ReadingAidsTest::SetUp();
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        uitest::showInWindow(m_launcher);
        auto package = std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", "1001", "978-0");
        auto configuration = std::make_shared<LectoroServiceConfiguration>(
            "https://service", "client", std::string("https://micro"));
        auto user = LectoroUser::create();
        user->userID = "reader@example";
        user->userToken = "token-1";
        m_launcher->launchBook(package, user, configuration);
        settle();
        if (auto reader = m_launcher->reader()) {
            reader->rendererView()->navigateToPageNumber("103");
            settle();
        }
    }
    void TearDown() override
    {
        uitest::ScriptedWebPage::unplug();
        m_launcher.reset();
        ReadingAidsTest::TearDown();
    }
    // Selects the words on the first page that holds them, as a long press would, and
    // answers the selection's text.
    std::string select(const std::string& words)
    {
        auto reader = m_launcher->reader();
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        if (!renderer)
            return {};
        for (const auto& page : renderer->getActivePages()) {
            if (renderer->selectText(page.pageID, words))
                return renderer->selection() ? renderer->selection()->text : std::string();
        }
        return {};
    }

    std::shared_ptr<testing::RecordingHost> m_host = std::make_shared<testing::RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

TEST_F(ReadingAidsEndToEndTests, SelectedTextIsTranslated)
{
    auto reader = m_launcher->reader();
    ASSERT_TRUE(reader);
    std::string text = select("drops of water");
    ASSERT_EQ(text, "drops of water");
    reader->readingAids().translateSelectedText(text);
    settle();
    auto sheet = reader->readingAids().translationController();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(reader->readingAids().isTranslationOpen());
    EXPECT_EQ(sheet->languageData()->from->code, "en");

    uitest::tap(*sheet->languageButtons()[1]);
    settle();
    auto list = std::dynamic_pointer_cast<MVDropdownController>(sheet->presentedViewController());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->selectedIndex(), 0);
    uitest::tapRow(*list->tableView(), ui::IndexPath(0, 1)); // French
    settle();
    EXPECT_EQ(sheet->textViews()[1]->text(), "drops of eau");

    reader->readingAids().removeTranslationController();
    settle();
    EXPECT_FALSE(reader->readingAids().isTranslationOpen());
}

TEST_F(ReadingAidsEndToEndTests, SelectedTextReachesTheImmersiveReaderPage)
{
    auto page = uitest::ScriptedWebPage::create();
    page->answerScript("launchImmersiveReader(", base::Value());
    page->plugIntoEveryWebView();
    auto reader = m_launcher->reader();
    ASSERT_TRUE(reader);
    std::string text = select("drops of water");
    reader->readingAids().showImmersiveReaderWithString(text);
    settle();
    auto screen = reader->readingAids().immersiveReader();
    ASSERT_TRUE(screen);
    EXPECT_EQ(reader->presentedViewController(), screen);
    EXPECT_EQ(screen->modalPresentationStyle(), ui::ModalPresentationStyle::OverFullScreen);
    ASSERT_EQ(page->evaluatedScripts().size(), 1u);
    const auto& script = page->evaluatedScripts()[0];
    auto message = base::parseJson(script.substr(22, script.size() - 23));
    ASSERT_TRUE(message);
    EXPECT_EQ(message.value()["cogSvcsSubdomain"].asString(), "lectoro-local");
    EXPECT_EQ(message.value()["content"]["title"].asString(), "drops of water");
    EXPECT_EQ(message.value()["content"]["chunks"].at(0)["content"].asString(), "drops of water");

    page->post("onExit", base::Value());
    settle();
    EXPECT_FALSE(reader->presentedViewController());
}

TEST_F(ReadingAidsEndToEndTests, OfflineOpensNeither)
{
    setOnline(false);
    auto reader = m_launcher->reader();
    ASSERT_TRUE(reader);
    reader->readingAids().translateSelectedText("drops of water");
    reader->readingAids().showImmersiveReaderWithString("drops of water");
    settle();
    EXPECT_FALSE(reader->readingAids().translationController());
    EXPECT_FALSE(reader->readingAids().immersiveReader());
    EXPECT_EQ(topAlertMessage(), LocalizationHelper::localizedString("INTERNET_UNAVAILABLE_MESSAGE"));
}

} // namespace
} // namespace lectoro
