// Voice search through the assembled reader on a tablet: the audio a link is playing
// stops while the microphone listens and plays again shortly after, and the words heard
// are searched.

#include "reader/CompanionEndToEndSupport.h"
#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/media/AudioSession.h"
#include "platform/media/SpeechRecognizer.h"

namespace lectoro {
namespace {

class VoiceSearchEndToEnd : public testing::TabletEndToEndTest {
protected:
    void SetUp() override
    {
        TabletEndToEndTest::SetUp();
        media::SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
        // The user allows speech and the microphone; the recogniser hears "rain" after half a second.
        media::SpeechRecognizer::setAuthorizationResponder(
            [](auto answer) { answer(media::SpeechRecognizerAuthorizationStatus::Authorized); });
        media::AudioSession::sharedInstance().setRecordPermissionResponder(
            [](auto answer) { answer(media::RecordPermission::Granted); });
        m_recognizer = media::ScriptedSpeechRecognizer::create();
        m_recognizer->setScript({ { 0.5, "rain", true, std::nullopt } });
        media::SpeechRecognizer::setFactory([this](const std::string&) { return m_recognizer; });
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        media::SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
        TabletEndToEndTest::TearDown();
    }

    std::shared_ptr<media::ScriptedSpeechRecognizer> m_recognizer;
};

TEST_F(VoiceSearchEndToEnd, LinkAudioPausesWhileTheMicrophoneListensAndPlaysAgainShortlyAfter)
{
    auto reader = openSample(
        "sample-pagebook", "1001", nullptr, [](ReaderViewController& r) { r.setIsAudioSearchNoteEnabled(true); });
    ASSERT_TRUE(reader);
    auto renderer = m_renderer;
    ASSERT_TRUE(renderer);
    renderer->navigateToPageNumber("110");
    settle();

    // The waves recording plays while the page can still be used.
    std::shared_ptr<MarkupView> waves;
    for (const auto& view : renderer->overlayForPage(110).markupViews) {
        auto icon = std::dynamic_pointer_cast<MarkupView>(view);
        if (icon && icon->linkID == 1102 && icon->superview())
            waves = icon;
    }
    ASSERT_TRUE(waves);
    ASSERT_TRUE(testing::tapMarkup(*waves));
    base::RunLoop::main().runUntilIdle();
    auto audio = reader->interactiveContent().players().audioPlayer();
    ASSERT_TRUE(audio);
    ASSERT_TRUE(audio->isPlaying());

    // The player's controls sit in the middle of the page: the user taps beside them for
    // the bars, then on the search item.
    ASSERT_TRUE(testing::tapPage(*reader, ui::Point { 40, 40 }));
    base::RunLoop::main().advanceBy(1);
    ASSERT_TRUE(testing::tapReaderBarItem(*reader, PlayerItemSearch));
    auto panel = reader->search().searchTextView();
    ASSERT_TRUE(panel && panel->micButton());
    ASSERT_TRUE(uitest::tap(*panel->micButton()));
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(panel->voiceSeacrh()->isListening());
    EXPECT_EQ(reader->interactiveContent().players().audioPlayer(), audio);
    EXPECT_FALSE(audio->isPlaying()) << "silent while the microphone listens";

    // Listening ends with the words heard; the audio waits 0.3 s before it plays again.
    base::RunLoop::main().advanceBy(0.55);
    EXPECT_FALSE(panel->voiceSeacrh()->isListening());
    // The words heard follow the field's text (empty here) after a space.
    EXPECT_EQ(panel->searchBar()->text(), " rain");
    EXPECT_FALSE(audio->isPlaying());
    base::RunLoop::main().advanceBy(0.2);
    EXPECT_FALSE(audio->isPlaying());
    base::RunLoop::main().advanceBy(0.15);
    EXPECT_TRUE(audio->isPlaying());
    // They were searched as typed words are: the book's hits are listed.
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(panel->searchResultArray().empty());
}

} // namespace
} // namespace lectoro
