#pragma once

// The companion framework's text-to-speech player, one per process: speaks a text in a
// language with the platform's speech synthesiser (espeak-ng). The completion of a
// speak() call runs on the main run loop: once when speech starts (isCompletePlaying
// false), once more when it has been spoken to the end (isCompletePlaying true), or once
// with an error (no voice for the language, nothing to say, the engine failed). A
// stopped utterance reports nothing more.

#include "platform/base/Error.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace media {
class SpeechSynthesizer;
class SpeechUtterance;
} // namespace media

namespace lectoro {

class MVGoogleTextToSpeechServiceManager {
public:
    using Completion = std::function<void(const std::optional<base::Error>&)>;

    static MVGoogleTextToSpeechServiceManager& shared();

    bool isMaleVoice() const { return m_isMaleVoice; }
    void setIsMaleVoice(bool male) { m_isMaleVoice = male; }
    const std::string& googleAPIKey() const { return m_googleAPIKey; }
    void setGoogleAPIKey(std::string key) { m_googleAPIKey = std::move(key); }

    // Stops any speech at once.
    void stopPlayer();
    void speak(const std::string& text, const std::string& textlanguageCode, Completion);
    bool isCompletePlaying() const { return m_isCompletePlaying; }
    bool isPlaying() const;
    // What is being said, for tests and the host.
    std::optional<std::string> currentText() const;
    std::optional<std::string> currentLanguage() const;

    // The error domain of speech failures.
    static constexpr const char* errorDomain = "MVGoogleTextToSpeechServiceManager";

private:
    class Listener;
    MVGoogleTextToSpeechServiceManager();

    bool m_isMaleVoice = false;
    std::string m_googleAPIKey;
    bool m_isCompletePlaying = false;
    std::shared_ptr<media::SpeechSynthesizer> m_synthesizer;
    std::shared_ptr<Listener> m_listener;
    std::shared_ptr<media::SpeechUtterance> m_utterance;
    Completion m_completion;
};

} // namespace lectoro
