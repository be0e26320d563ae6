// The highlight pop-up's reading aids in the assembled reader: text selected on the sample
// page book, the pop-up's Translation and Immersive Reader tools tapped; the translation
// sheet and the immersive reader's screen come up over the reader with the selected text,
// the immersive reader after its token, renewed once when the session has expired.

#include "annotations/HighlightToolButton.h"
#include "reader/ReaderJourneySupport.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/HighlightView.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/readersdk/MVGoogleTextToSpeechServiceManager.h"
#include "LectoroSDKWithReader/readingaids/ImmersiveReaderViewController.h"
#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"
#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Json.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/StackView.h"
#include "platform/ui/TextView.h"

namespace lectoro {
namespace {

class HighlightToolsJourney : public testing::ReaderJourneyTest {
protected:
    void SetUp() override
    {
        ReaderJourneyTest::SetUp();
        m_page->answerScript("launchImmersiveReader(", base::Value());
        m_page->plugIntoEveryWebView();
    }

    // The reader with both reading aids offered in its pop-up, and a passage selected.
    std::shared_ptr<ReaderViewController> openAndSelect(bool autoLogin = false)
    {
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsAutoLoginEnabled(autoLogin);
        auto reader = openPageBook(settings, [](ReaderViewController& reader) {
            reader.setIsGoogleTranslateEnabled(true);
            reader.setIsImmeresiveReaderEnabled(true);
            reader.setImmersiveReaderBaseURLString("https://immersive");
            reader.setGoogleAPIKey("key-1");
        });
        if (!reader)
            return nullptr;
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        if (!renderer || renderer->getActivePages().empty())
            return nullptr;
        if (!renderer->selectWords(renderer->getActivePages().front().pageID, 1, 3) || !renderer->selection())
            return nullptr;
        m_selected = renderer->selection()->text;
        return reader;
    }

    size_t requestsNamed(const std::string& operation)
    {
        size_t count = 0;
        for (const auto& request : inProcessService().requests())
            count += request.operation == operation;
        return count;
    }

    size_t sessionExpiries() const
    {
        return std::count_if(m_host->events.begin(), m_host->events.end(),
            [](const std::string& event) { return event.rfind("sessionExpired:", 0) == 0; });
    }

    std::shared_ptr<uitest::ScriptedWebPage> m_page = uitest::ScriptedWebPage::create();
    std::string m_selected;
};

TEST_F(HighlightToolsJourney, TranslationOpensTheSheetOverTheReaderWithTheSelectedText)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    ASSERT_FALSE(m_selected.empty());
    auto translate = testing::highlightToolButton(*reader, HighlightItemType::Translation);
    ASSERT_TRUE(translate);
    ASSERT_TRUE(testing::tapAsUser(*translate));
    ASSERT_TRUE(ui::Presenter::shared().lastPresented());
    const ui::PresentationRecord presentation = *ui::Presenter::shared().lastPresented();
    settle();

    auto sheet = reader->readingAids().translationController();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(reader->presentedViewController(), sheet);
    EXPECT_TRUE(sheet->view()->isInWindow());
    EXPECT_EQ(presentation.presented.lock(), sheet);
    EXPECT_TRUE(presentation.animated);
    EXPECT_EQ(presentation.style, ui::ModalPresentationStyle::OverCurrentContext);
    ASSERT_FALSE(sheet->textViews().empty());
    EXPECT_EQ(sheet->textViews()[0]->text(), m_selected);
    // The pop-up made way for the sheet.
    EXPECT_FALSE(reader->highlightRoad().highlightView()->superview());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);

    // The selected text is read aloud from the sheet over the reader.
    ASSERT_EQ(sheet->speakerButtons().size(), 2u);
    // The service's phrase table knows no word of the passage: the sheet says so first.
    ASSERT_TRUE(uitest::topmostAlert());
    EXPECT_TRUE(uitest::tapAction("OK"));
    settle();
    EXPECT_TRUE(testing::tapAsUser(*sheet->speakerButtons()[0]));
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(MVGoogleTextToSpeechServiceManager::shared().currentText(), m_selected);
    EXPECT_TRUE(testing::tapAsUser(*sheet->speakerButtons()[0]));
    EXPECT_FALSE(MVGoogleTextToSpeechServiceManager::shared().isPlaying());
}

TEST_F(HighlightToolsJourney, TheImmersiveReaderComesUpAfterOneTokenAnswer)
{
    auto reader = openAndSelect();
    ASSERT_TRUE(reader);
    auto immersive = testing::highlightToolButton(*reader, HighlightItemType::ImmersiveReader);
    ASSERT_TRUE(immersive);
    ASSERT_TRUE(testing::tapAsUser(*immersive));
    settle();

    EXPECT_EQ(requestsNamed(companion::op::immersiveReaderToken), 1u);
    auto screen = reader->readingAids().immersiveReader();
    ASSERT_TRUE(screen);
    EXPECT_EQ(reader->presentedViewController(), screen);
    EXPECT_TRUE(screen->view()->isInWindow());
    // The page was launched with the token's subdomain and the selected text.
    ASSERT_EQ(m_page->evaluatedScripts().size(), 1u);
    const auto& script = m_page->evaluatedScripts()[0];
    const std::string prefix = "launchImmersiveReader(";
    auto message = base::parseJson(script.substr(prefix.size(), script.size() - prefix.size() - 1));
    ASSERT_TRUE(message);
    EXPECT_EQ(message.value()["cogSvcsSubdomain"].asString(), "lectoro-local");
    EXPECT_EQ(message.value()["content"]["chunks"].at(0)["content"].asString(), m_selected);
    EXPECT_FALSE(reader->highlightRoad().highlightView()->superview());
}

TEST_F(HighlightToolsJourney, ASessionThatExpiresAgainAfterItsRenewalEndsOnce)
{
    auto reader = openAndSelect(true);
    ASSERT_TRUE(reader);
    inProcessService().scriptNext(
        companion::op::immersiveReaderToken, companion::ServiceAnswer::expiredToken());
    inProcessService().scriptNext(
        companion::op::immersiveReaderToken, companion::ServiceAnswer::expiredToken());
    auto immersive = testing::highlightToolButton(*reader, HighlightItemType::ImmersiveReader);
    ASSERT_TRUE(immersive);
    ASSERT_TRUE(testing::tapAsUser(*immersive));
    settle();
    settle();

    EXPECT_EQ(requestsNamed(companion::op::tokenRefresh), 1u);
    EXPECT_EQ(requestsNamed(companion::op::immersiveReaderToken), 2u);
    EXPECT_EQ(sessionExpiries(), 1u);
    EXPECT_FALSE(reader->readingAids().immersiveReader());
    EXPECT_FALSE(reader->presentedViewController());
}

} // namespace
} // namespace lectoro
