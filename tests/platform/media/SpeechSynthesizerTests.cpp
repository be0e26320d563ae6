#include "MediaTestSupport.h"

#include "platform/base/Strings.h"
#include "platform/media/Asset.h"
#include "platform/media/MediaError.h"
#include "platform/media/SpeechSynthesizer.h"

#include <gtest/gtest.h>

namespace {

using media::SpeechBoundary;
using media::SpeechSynthesisVoice;
using media::SpeechSynthesizer;
using media::SpeechUtterance;
using mediatest::settle;

// Events as text with their run-loop time, so a failure shows the whole story.
class SpeechEventRecorder : public media::SpeechSynthesizerDelegate {
public:
    void didStartSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance& u) override { note("start " + u.speechString()); }
    void willSpeakRangeOfSpeechString(SpeechSynthesizer&, base::Range range, const SpeechUtterance& u) override
    {
        ranges.push_back(range);
        words.push_back(base::utf16Substring(u.speechString(), range));
        wordTimes.push_back(base::RunLoop::main().now());
        note("word " + words.back());
    }
    void didFinishSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance& u) override { note("finish " + u.speechString()); }
    void didPauseSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) override { note("pause"); }
    void didContinueSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) override { note("continue"); }
    void didCancelSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance& u) override { note("cancel " + u.speechString()); }
    void didFailSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance& u, const base::Error& error) override
    {
        errors.push_back(error);
        note("fail " + u.speechString());
    }

    void note(std::string event) { events.push_back(std::move(event)); }

    std::vector<std::string> events;
    std::vector<base::Range> ranges;
    std::vector<std::string> words;
    std::vector<double> wordTimes;
    std::vector<base::Error> errors;
};

class SpeechSynthesizerTest : public testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        synthesizer = SpeechSynthesizer::create();
        delegate = std::make_shared<SpeechEventRecorder>();
        synthesizer->setDelegate(delegate);
    }
    void TearDown() override { base::RunLoop::main().reset(); }

    static std::shared_ptr<SpeechUtterance> utterance(const std::string& text, const std::string& language = "en")
    {
        auto u = SpeechUtterance::create(text);
        u->setVoice(SpeechSynthesisVoice::voiceWithLanguage(language));
        return u;
    }

    std::shared_ptr<SpeechSynthesizer> synthesizer;
    std::shared_ptr<SpeechEventRecorder> delegate;
};

TEST_F(SpeechSynthesizerTest, speaksEachWordAtItsTimeThenFinishes)
{
    ASSERT_TRUE(SpeechSynthesisVoice::voiceWithLanguage("en"));
    ASSERT_TRUE(synthesizer->speakUtterance(utterance("Hello world again")));
    EXPECT_TRUE(synthesizer->isSpeaking());
    settle();
    ASSERT_EQ(delegate->events, (std::vector<std::string> { "start Hello world again", "word Hello" }))
        << "the first word begins with the audio";
    const media::AudioBuffer* audio = synthesizer->currentAudio();
    ASSERT_NE(audio, nullptr);
    double length = audio->duration();
    EXPECT_GT(length, 0.5);

    base::RunLoop::main().advanceBy(length + 1);
    EXPECT_EQ(delegate->events, (std::vector<std::string> {
        "start Hello world again", "word Hello", "word world", "word again", "finish Hello world again" }));
    EXPECT_EQ(delegate->ranges, (std::vector<base::Range> { { 0, 5 }, { 6, 5 }, { 12, 5 } }));
    ASSERT_EQ(delegate->wordTimes.size(), 3u);
    EXPECT_LT(delegate->wordTimes[0], delegate->wordTimes[1]) << "words come at their audio times";
    EXPECT_LT(delegate->wordTimes[1], delegate->wordTimes[2]);
    EXPECT_LT(delegate->wordTimes[2], length);
    EXPECT_FALSE(synthesizer->isSpeaking());
}

TEST_F(SpeechSynthesizerTest, rangesCountUtf16UnitsOfTheUtterance)
{
    synthesizer->speakUtterance(utterance("Très 𝄞 bien, Élodie", "fr"));
    settle();
    base::RunLoop::main().advanceBy(10);
    ASSERT_FALSE(delegate->words.empty());
    EXPECT_EQ(delegate->words.front(), "Très");
    EXPECT_EQ(delegate->words.back(), "Élodie") << "the range lands after the two-unit character";
    EXPECT_EQ(delegate->ranges.back(), (base::Range { 14, 6 }));
}

TEST_F(SpeechSynthesizerTest, stoppingInTheMiddleCancelsWithoutFinishing)
{
    synthesizer->speakUtterance(utterance("Hello world again"));
    synthesizer->speakUtterance(utterance("Queued after"));
    settle();
    base::RunLoop::main().advanceBy(0.01);
    ASSERT_EQ(delegate->words, std::vector<std::string> { "Hello" });

    EXPECT_TRUE(synthesizer->stopSpeakingAtBoundary(SpeechBoundary::Immediate));
    settle();
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(delegate->events, (std::vector<std::string> { "start Hello world again", "word Hello", "cancel Hello world again" }))
        << "no more words, no finish, and the queue is dropped";
    EXPECT_FALSE(synthesizer->isSpeaking());
    EXPECT_FALSE(synthesizer->stopSpeakingAtBoundary(SpeechBoundary::Immediate)) << "nothing left to stop";
}

TEST_F(SpeechSynthesizerTest, stoppingBeforeTheAudioIsReadyCancelsAtOnce)
{
    synthesizer->speakUtterance(utterance("Hello world again"));
    EXPECT_TRUE(synthesizer->stopSpeakingAtBoundary(SpeechBoundary::Word));
    settle();
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(delegate->events, (std::vector<std::string> { "cancel Hello world again" }));
}

TEST_F(SpeechSynthesizerTest, wordBoundaryStopsAndPausesWhenTheNextWordWouldBegin)
{
    synthesizer->speakUtterance(utterance("Hello world again"));
    settle();
    base::RunLoop::main().advanceBy(0.01);
    EXPECT_TRUE(synthesizer->pauseSpeakingAtBoundary(SpeechBoundary::Word));
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(delegate->events, (std::vector<std::string> { "start Hello world again", "word Hello", "pause" }));
    EXPECT_TRUE(synthesizer->isPaused());
    EXPECT_TRUE(synthesizer->isSpeaking());

    EXPECT_TRUE(synthesizer->continueSpeaking());
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(delegate->words, (std::vector<std::string> { "Hello", "world" })) << "the held word comes on continuing";
    EXPECT_TRUE(synthesizer->stopSpeakingAtBoundary(SpeechBoundary::Word));
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(delegate->events.back(), "cancel Hello world again");
    EXPECT_EQ(delegate->words, (std::vector<std::string> { "Hello", "world" }));
}

TEST_F(SpeechSynthesizerTest, anImmediatePauseHoldsTheClockUntilContinued)
{
    synthesizer->speakUtterance(utterance("Hello world again"));
    settle();
    base::RunLoop::main().advanceBy(0.01);
    EXPECT_TRUE(synthesizer->pauseSpeakingAtBoundary(SpeechBoundary::Immediate));
    EXPECT_FALSE(synthesizer->pauseSpeakingAtBoundary(SpeechBoundary::Immediate));
    base::RunLoop::main().advanceBy(100);
    EXPECT_EQ(delegate->words.size(), 1u);
    double resumedAt = base::RunLoop::main().now();
    EXPECT_TRUE(synthesizer->continueSpeaking());
    base::RunLoop::main().advanceBy(10);
    EXPECT_EQ(delegate->words, (std::vector<std::string> { "Hello", "world", "again" }));
    EXPECT_GT(delegate->wordTimes[1], resumedAt);
    EXPECT_EQ(delegate->events.back(), "finish Hello world again");
}

TEST_F(SpeechSynthesizerTest, speaksItsQueueInOrderAndSkipsAnUtteranceWithNoVoice)
{
    auto first = utterance("One");
    first->setPostUtteranceDelay(2.0);
    auto unspeakable = SpeechUtterance::create("Nobody speaks this");
    unspeakable->setVoice(SpeechSynthesisVoice { "../../../etc/passwd", "hostile", "xx", {} });
    synthesizer->speakUtterance(first);
    synthesizer->speakUtterance(unspeakable);
    synthesizer->speakUtterance(utterance("Two"));
    EXPECT_FALSE(synthesizer->speakUtterance(first)) << "already queued";
    for (int i = 0; i < 10; ++i) {
        settle();
        base::RunLoop::main().advanceBy(1.0);
    }
    EXPECT_EQ(delegate->events, (std::vector<std::string> { "start One", "word One", "finish One", "fail Nobody speaks this",
        "start Two", "word Two", "finish Two" }));
    ASSERT_EQ(delegate->errors.size(), 1u);
    EXPECT_EQ(delegate->errors[0].code, media::speechErrorNoVoice);
}

TEST(SpeechVoiceTest, voicesAreListedAndFoundByLanguageCode)
{
    auto voices = SpeechSynthesisVoice::speechVoices();
    ASSERT_FALSE(voices.empty());
    EXPECT_TRUE(std::any_of(voices.begin(), voices.end(), [](const auto& v) { return v.language == "en-US"; }));

    struct Case {
        const char* asked;
        const char* expectedLanguage; // "" when no voice
    };
    const Case cases[] = {
        { "en-US", "en-US" },
        { "en_us", "en-US" },
        { "pt-BR", "pt-BR" },
        { "fr-XX", "fr-FR" }, // an unknown region falls back to the language
        { "de", "de" },
        { "xx", "" },
        { "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        auto voice = SpeechSynthesisVoice::voiceWithLanguage(c.asked);
        if (!*c.expectedLanguage) {
            EXPECT_FALSE(voice);
            continue;
        }
        ASSERT_TRUE(voice);
        EXPECT_EQ(voice->language, c.expectedLanguage);
        EXPECT_EQ(SpeechSynthesisVoice::voiceWithIdentifier(voice->identifier), voice);
    }
}

TEST(SpeechRenderingTest, rendersToABufferAndToAWavFileThePlayerCanRead)
{
    base::RunLoop::main().reset();
    auto u = SpeechUtterance::create("Reading aloud");
    u->setVoice(SpeechSynthesisVoice::voiceWithLanguage("en-US"));
    auto audio = SpeechSynthesizer::renderUtterance(*u);
    ASSERT_TRUE(audio.ok()) << audio.error().localizedDescription();
    EXPECT_GT(audio->duration(), 0.3);
    EXPECT_TRUE(std::any_of(audio->samples.begin(), audio->samples.end(), [](int16_t s) { return s != 0; }));

    u->setRate(media::speechUtteranceMaximumSpeechRate);
    auto fast = SpeechSynthesizer::renderUtterance(*u);
    ASSERT_TRUE(fast.ok());
    EXPECT_LT(fast->duration(), audio->duration()) << "a higher rate speaks faster";

    mediatest::TemporaryFolder folder;
    std::string path = folder.path() + "/spoken.wav";
    ASSERT_TRUE(SpeechSynthesizer::writeUtteranceToFile(*u, path).ok());
    auto asset = media::Asset::load(path);
    ASSERT_TRUE(asset.ok()) << asset.error().localizedDescription();
    EXPECT_NEAR(asset->duration, fast->duration(), 0.001);

    std::optional<base::Result<media::AudioBuffer>> written;
    SpeechSynthesizer::writeUtterance(u, [&](base::Result<media::AudioBuffer> result) { written = std::move(result); });
    settle();
    ASSERT_TRUE(written && written->ok());
    EXPECT_NEAR((*written)->duration(), fast->duration(), 0.05) << "the same text and voice take as long";

    auto unwritable = SpeechSynthesizer::writeUtteranceToFile(*u, folder.path() + "/no/such/folder/x.wav");
    ASSERT_FALSE(unwritable.ok());
    EXPECT_EQ(unwritable.error().code, media::urlErrorCannotWriteToFile);
}

} // namespace
