// The panel's microphone: the first tap listens, permission answers from any thread, the
// recognised text after the field's, the stop handing the text over, and error alerts.

#include "SearchTestSupport.h"

#include "platform/testing/Interaction.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/ViewController.h"

#include <thread>

namespace lectoro::searchtest {
namespace {

using media::SpeechRecognizerAuthorizationStatus;

class SearchVoice : public SearchPanelTest {
protected:
    void SetUp() override
    {
        SearchPanelTest::SetUp();
        m_recognizer = media::ScriptedSpeechRecognizer::create();
        media::SpeechRecognizer::setFactory([this](const std::string& locale) {
            m_locales.push_back(locale);
            return m_recognizer;
        });
    }

    void answerSpeech(SpeechRecognizerAuthorizationStatus status)
    {
        media::SpeechRecognizer::setAuthorizationResponder([status](auto answer) { answer(status); });
    }
    void answerMicrophone(bool granted)
    {
        media::AudioSession::sharedInstance().setRecordPermissionResponder([granted](auto answer) {
            answer(granted ? media::RecordPermission::Granted : media::RecordPermission::Denied);
        });
    }
    void drain()
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }

    std::shared_ptr<media::ScriptedSpeechRecognizer> m_recognizer;
    std::vector<std::string> m_locales;
};

TEST_F(SearchVoice, TheFirstTapListensAndTheRecognisedTextFollowsTheField)
{
    answerSpeech(SpeechRecognizerAuthorizationStatus::Authorized);
    answerMicrophone(true);
    m_defaults->setObject("SelectedLanguage", base::Value("fr-FR"));
    m_recognizer->setScript({ { 0.5, "ce", false, std::nullopt }, { 0.5, "cell", true, std::nullopt } });
    auto panel = readerPanel(epubBook(), true);
    EXPECT_EQ(panel->voiceSeacrh()->languageCode(), "fr-FR");
    panel->searchBar()->setText("plant");

    panel->tapMicButton();
    EXPECT_TRUE(panel->isVoiceSearchEnabled());
    drain();
    EXPECT_EQ(m_owner->calls, (std::vector<std::string> { "startVoiceRecognition" }));
    EXPECT_EQ(m_locales, (std::vector<std::string> { "fr-FR" }));
    EXPECT_TRUE(panel->voiceSeacrh()->isListening());

    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(panel->searchBar()->text(), "plant ce");
    base::RunLoop::main().advanceBy(0.6);
    EXPECT_EQ(panel->searchBar()->text(), "plant cell") << "a later transcript replaces the earlier one";
    EXPECT_EQ(m_owner->calls,
        (std::vector<std::string> {
            "startVoiceRecognition", "stopVoiceRecognition", "voiceSearchText:plant cell:reader" }));
    EXPECT_FALSE(panel->isVoiceSearchEnabled());
    EXPECT_FALSE(panel->voiceSeacrh()->isListening());
}

TEST_F(SearchVoice, ASecondTapCancelsListening)
{
    answerSpeech(SpeechRecognizerAuthorizationStatus::Authorized);
    answerMicrophone(true);
    m_recognizer->setScript({ { 5, "cell", true, std::nullopt } });
    auto panel = elasticPanel(epubBook(), true);
    panel->tapMicButton();
    drain();
    ASSERT_TRUE(panel->voiceSeacrh()->isListening());
    panel->tapMicButton();
    EXPECT_FALSE(panel->isVoiceSearchEnabled());
    EXPECT_FALSE(panel->voiceSeacrh()->isListening());
    base::RunLoop::main().advanceBy(6);
    EXPECT_EQ(panel->searchBar()->text(), "") << "nothing heard after the cancel reaches the field";
}

TEST_F(SearchVoice, RefusedPermissionsAskTheOwnerForItsAlert)
{
    struct Case {
        SpeechRecognizerAuthorizationStatus speech;
        bool microphone;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        { SpeechRecognizerAuthorizationStatus::Denied, true, { "showPermissionAlert" } },
        { SpeechRecognizerAuthorizationStatus::NotDetermined, true, { "showPermissionAlert" } },
        { SpeechRecognizerAuthorizationStatus::Restricted, true, {} },
        { SpeechRecognizerAuthorizationStatus::Authorized, false, { "showPermissionAlert" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.speech));
        media::SpeechRecognizer::resetForTesting();
        media::SpeechRecognizer::setFactory([this](const std::string&) { return m_recognizer; });
        media::AudioSession::sharedInstance().reset();
        answerSpeech(c.speech);
        answerMicrophone(c.microphone);
        m_owner->calls.clear();
        auto panel = readerPanel(epubBook(), true);
        panel->tapMicButton();
        drain();
        EXPECT_EQ(m_owner->calls, c.calls);
        EXPECT_FALSE(panel->voiceSeacrh()->isListening());
    }
}

TEST_F(SearchVoice, AnAuthorisationAnsweredOnAWorkerThreadActsOnTheMainQueue)
{
    answerSpeech(SpeechRecognizerAuthorizationStatus::Authorized);
    answerMicrophone(true);
    m_recognizer->setScript({ { 5, "cell", true, std::nullopt } });
    auto panel = readerPanel(epubBook(), true);
    panel->tapMicButton();
    drain();
    m_owner->calls.clear();
    m_owner->callsOnMainThread.clear();
    std::thread worker([&] { panel->voiceRecognizerAuthStateWithAuthState(3); });
    worker.join();
    EXPECT_TRUE(m_owner->calls.empty()) << "nothing is touched from the worker";
    drain();
    EXPECT_EQ(m_owner->calls, (std::vector<std::string> { "startVoiceRecognition" }));
    EXPECT_EQ(m_owner->callsOnMainThread, (std::vector<bool> { true }));
}

TEST_F(SearchVoice, OnlyAPanelWithAMicrophoneFollowsTheTyping)
{
    auto window = ui::Environment::current().makeKeyWindow();
    for (bool audio : { false, true }) {
        auto panel = readerPanel(epubBook(), audio);
        window->addSubview(panel);
        ASSERT_TRUE(panel->searchBar()->becomeFirstResponder());
        ASSERT_TRUE(uitest::type(*panel->searchBar(), "leaf"));
        EXPECT_EQ(panel->searchFieldText(), audio ? "leaf" : "");
        panel->removeFromSuperview();
    }
}

TEST_F(SearchVoice, AnUnavailableRecogniserIsReported)
{
    answerSpeech(SpeechRecognizerAuthorizationStatus::Authorized);
    answerMicrophone(true);
    m_recognizer->setAvailable(false);
    auto panel = readerPanel(epubBook(), true);
    panel->tapMicButton();
    drain();
    EXPECT_EQ(
        m_owner->calls, (std::vector<std::string> { "startVoiceRecognition", "voiceSearchNotAvailable" }));
    EXPECT_FALSE(panel->isVoiceSearchEnabled()) << "the next tap starts again";
}

class SearchVoiceRootController : public ui::ViewController {
public:
    explicit SearchVoiceRootController(std::string name)
        : m_name(std::move(name))
    {
    }
    std::string_view className() const override { return m_name; }

private:
    std::string m_name;
};

TEST_F(SearchVoice, RecognitionErrorsAlertOnlyOverTheReaderForTheirTwoCodes)
{
    struct Case {
        std::string root;
        int64_t code;
        bool alert;
    };
    const Case cases[] = {
        { "ReaderViewController", 202, true },
        { "ReaderViewController", 2, true },
        { "ReaderViewController", 1, false },
        { "HostShelfController", 202, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root + " " + std::to_string(c.code));
        auto root = std::make_shared<SearchVoiceRootController>(c.root);
        uitest::showInWindow(root);
        auto panel = readerPanel(epubBook(), true);
        auto error = base::Error::make("SpeechRecognitionErrorDomain", c.code, "Speech was not heard");
        panel->showRecognitionError(error);
        drain();
        auto alert = uitest::topmostAlert();
        EXPECT_EQ(alert != nullptr, c.alert);
        if (alert) {
            EXPECT_EQ(alert->alertTitle().value_or(""), "");
            EXPECT_EQ(alert->message().value_or(""), "Speech was not heard");
            uitest::tapActionAtIndex(0);
            uitest::completePresentations();
        }
        uitest::showInWindow(nullptr);
    }
}

} // namespace
} // namespace lectoro::searchtest
