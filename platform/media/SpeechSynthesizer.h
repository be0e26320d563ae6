#pragma once

// Text to speech on espeak-ng.
//
// speakUtterance() queues an utterance. Its audio is made on a background queue; when it
// is ready the synthesiser reports the start, then each word's range (UTF-16 units in the
// utterance's text) at the word's time in the audio, then the finish, all on the main run
// loop's clock, so a test steps through words with advanceBy(). Nothing is heard on this
// platform: currentAudio() holds what would be.
//
// Stopping reports the current utterance cancelled (never finished) and drops the queue;
// pausing holds the clock of the utterance until continueSpeaking(). At the word boundary,
// both take effect when the next word would begin.
//
// renderUtterance() and writeUtterance() give the audio itself, without speaking.

#include "platform/base/Error.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/media/AudioBuffer.h"

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {

namespace detail {
struct Synthesis;
}

struct SpeechSynthesisVoice {
    enum class Gender { Unspecified, Male, Female };

    std::string identifier;
    std::string name;
    // BCP 47: "en", "en-US", "pt-BR".
    std::string language;
    Gender gender = Gender::Unspecified;

    // Every installed voice, one entry per voice and language it speaks.
    static std::vector<SpeechSynthesisVoice> speechVoices();
    // "en", "en-US", "en_us" (case and separator do not matter); a region the engine lacks
    // falls back to the language's own voice. None when no voice speaks the language.
    static std::optional<SpeechSynthesisVoice> voiceWithLanguage(const std::string& languageCode);
    static std::optional<SpeechSynthesisVoice> voiceWithIdentifier(const std::string& identifier);
    // The voice used when an utterance names none.
    static std::string currentLanguageCode() { return "en"; }

    friend bool operator==(const SpeechSynthesisVoice&, const SpeechSynthesisVoice&) = default;
};

inline constexpr float speechUtteranceMinimumSpeechRate = 0.0f;
inline constexpr float speechUtteranceDefaultSpeechRate = 0.5f;
inline constexpr float speechUtteranceMaximumSpeechRate = 1.0f;

class SpeechUtterance {
public:
    static std::shared_ptr<SpeechUtterance> create(std::string speechString) { return std::make_shared<SpeechUtterance>(std::move(speechString)); }
    explicit SpeechUtterance(std::string speechString) : m_speechString(std::move(speechString)) { }

    const std::string& speechString() const { return m_speechString; }
    const std::optional<SpeechSynthesisVoice>& voice() const { return m_voice; }
    void setVoice(std::optional<SpeechSynthesisVoice> voice) { m_voice = std::move(voice); }
    // 0 (slowest) to 1 (fastest); 0.5 is a natural pace.
    float rate() const { return m_rate; }
    void setRate(float rate) { m_rate = rate; }
    // 0.5 to 2.
    float pitchMultiplier() const { return m_pitchMultiplier; }
    void setPitchMultiplier(float pitch) { m_pitchMultiplier = pitch; }
    // 0 to 1.
    float volume() const { return m_volume; }
    void setVolume(float volume) { m_volume = volume; }
    double preUtteranceDelay() const { return m_preUtteranceDelay; }
    void setPreUtteranceDelay(double seconds) { m_preUtteranceDelay = seconds; }
    double postUtteranceDelay() const { return m_postUtteranceDelay; }
    void setPostUtteranceDelay(double seconds) { m_postUtteranceDelay = seconds; }

private:
    std::string m_speechString;
    std::optional<SpeechSynthesisVoice> m_voice;
    float m_rate = speechUtteranceDefaultSpeechRate;
    float m_pitchMultiplier = 1;
    float m_volume = 1;
    double m_preUtteranceDelay = 0;
    double m_postUtteranceDelay = 0;
};

class SpeechSynthesizer;

class SpeechSynthesizerDelegate {
public:
    virtual ~SpeechSynthesizerDelegate() = default;
    virtual void didStartSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) { }
    virtual void willSpeakRangeOfSpeechString(SpeechSynthesizer&, base::Range, const SpeechUtterance&) { }
    virtual void didFinishSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) { }
    virtual void didPauseSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) { }
    virtual void didContinueSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) { }
    virtual void didCancelSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&) { }
    // The utterance could not be spoken (no voice for its language, no engine data); it is
    // dropped and the queue goes on. Not a toolkit callback: there it fails silently.
    virtual void didFailSpeechUtterance(SpeechSynthesizer&, const SpeechUtterance&, const base::Error&) { }
};

enum class SpeechBoundary { Immediate, Word };

class SpeechSynthesizer : public std::enable_shared_from_this<SpeechSynthesizer> {
public:
    static std::shared_ptr<SpeechSynthesizer> create();
    ~SpeechSynthesizer();
    SpeechSynthesizer(const SpeechSynthesizer&) = delete;
    SpeechSynthesizer& operator=(const SpeechSynthesizer&) = delete;

    void setDelegate(std::weak_ptr<SpeechSynthesizerDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<SpeechSynthesizerDelegate> delegate() const { return m_delegate.lock(); }

    // False (and nothing queued) for a null utterance or one already queued or speaking.
    bool speakUtterance(std::shared_ptr<SpeechUtterance>);
    // True when something was speaking, paused or queued.
    bool stopSpeakingAtBoundary(SpeechBoundary);
    // True when an utterance was speaking and is now pausing.
    bool pauseSpeakingAtBoundary(SpeechBoundary);
    // True when a paused utterance goes on.
    bool continueSpeaking();
    // Speaking, paused or with utterances waiting.
    bool isSpeaking() const { return m_current != nullptr || !m_queue.empty(); }
    bool isPaused() const { return m_phase == Phase::Paused; }
    // The audio of the utterance being spoken; null before its start.
    const AudioBuffer* currentAudio() const;

    // The utterance's audio, made on the calling thread (any thread).
    static base::Result<AudioBuffer> renderUtterance(const SpeechUtterance&);
    // Made on a background queue; the completion runs on the main run loop.
    static void writeUtterance(std::shared_ptr<SpeechUtterance>, std::function<void(base::Result<AudioBuffer>)>);
    // Renders and writes a WAV file on the calling thread.
    static base::Result<void> writeUtteranceToFile(const SpeechUtterance&, const std::string& path);

private:
    enum class Phase { Idle, Synthesizing, Waiting, Speaking, Paused };
    enum class PendingAction { None, Stop, Pause };

    SpeechSynthesizer();
    void startNext();
    void synthesisDidFinish(uint64_t generation, base::Result<detail::Synthesis>);
    void begin();
    void scheduleFromNextWord();
    void deliverWord(size_t index);
    void finish();
    void cancelScheduled();
    bool takePendingAction();
    void stopNow();
    void pauseNow();
    void endCurrent();
    double elapsed() const;

    std::weak_ptr<SpeechSynthesizerDelegate> m_delegate;
    std::deque<std::shared_ptr<SpeechUtterance>> m_queue;
    std::shared_ptr<SpeechUtterance> m_current;
    std::shared_ptr<detail::Synthesis> m_synthesis;
    Phase m_phase = Phase::Idle;
    PendingAction m_pendingAction = PendingAction::None;
    std::shared_ptr<std::atomic<bool>> m_cancelSynthesis;
    uint64_t m_generation = 0;
    // The run-loop time at which the current audio began (moved on by pauses).
    double m_origin = 0;
    double m_pausedAt = 0;
    size_t m_nextWord = 0;
    std::vector<base::RunLoop::TaskId> m_scheduled;
};

} // namespace media
