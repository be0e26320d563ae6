#include "LectoroSDKWithReader/readersdk/MVGoogleTextToSpeechServiceManager.h"

#include "platform/base/RunLoop.h"
#include "platform/media/SpeechSynthesizer.h"

namespace lectoro {

// Hears the synthesiser and hands its outcome to the manager's completion, for the
// utterance the manager is speaking only (a stopped one is forgotten).
class MVGoogleTextToSpeechServiceManager::Listener final : public media::SpeechSynthesizerDelegate {
public:
    explicit Listener(MVGoogleTextToSpeechServiceManager& manager)
        : m_manager(manager)
    {
    }

    void didStartSpeechUtterance(media::SpeechSynthesizer&, const media::SpeechUtterance& utterance) override
    {
        if (isCurrent(utterance))
            finish(false, std::nullopt, false);
    }
    void didFinishSpeechUtterance(media::SpeechSynthesizer&, const media::SpeechUtterance& utterance) override
    {
        if (isCurrent(utterance))
            finish(true, std::nullopt, true);
    }
    void didFailSpeechUtterance(
        media::SpeechSynthesizer&, const media::SpeechUtterance& utterance, const base::Error& error) override
    {
        if (isCurrent(utterance))
            finish(false, error, true);
    }

private:
    bool isCurrent(const media::SpeechUtterance& utterance) const
    {
        return m_manager.m_utterance.get() == &utterance;
    }
    void finish(bool complete, const std::optional<base::Error>& error, bool last)
    {
        m_manager.m_isCompletePlaying = complete;
        auto completion = m_manager.m_completion;
        if (last) {
            m_manager.m_utterance.reset();
            m_manager.m_completion = nullptr;
        }
        if (completion)
            completion(error);
    }

    MVGoogleTextToSpeechServiceManager& m_manager;
};

MVGoogleTextToSpeechServiceManager& MVGoogleTextToSpeechServiceManager::shared()
{
    static MVGoogleTextToSpeechServiceManager manager;
    return manager;
}

MVGoogleTextToSpeechServiceManager::MVGoogleTextToSpeechServiceManager()
    : m_synthesizer(media::SpeechSynthesizer::create())
    , m_listener(std::make_shared<Listener>(*this))
{
    m_synthesizer->setDelegate(m_listener);
}

void MVGoogleTextToSpeechServiceManager::stopPlayer()
{
    m_utterance.reset();
    m_completion = nullptr;
    m_synthesizer->stopSpeakingAtBoundary(media::SpeechBoundary::Immediate);
}

bool MVGoogleTextToSpeechServiceManager::isPlaying() const
{
    return m_utterance != nullptr;
}

std::optional<std::string> MVGoogleTextToSpeechServiceManager::currentText() const
{
    return m_utterance ? std::optional(m_utterance->speechString()) : std::nullopt;
}

std::optional<std::string> MVGoogleTextToSpeechServiceManager::currentLanguage() const
{
    if (!m_utterance || !m_utterance->voice())
        return std::nullopt;
    return m_utterance->voice()->language;
}

void MVGoogleTextToSpeechServiceManager::speak(
    const std::string& text, const std::string& textlanguageCode, Completion completion)
{
    stopPlayer();
    m_isCompletePlaying = false;
    auto fail = [&](const std::string& description) {
        base::Error error = base::Error::make(errorDomain, 1, description);
        base::RunLoop::main().post([completion, error] {
            if (completion)
                completion(error);
        });
    };
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        fail("There is no text to speak.");
        return;
    }
    auto voice = media::SpeechSynthesisVoice::voiceWithLanguage(textlanguageCode);
    if (!voice) {
        fail("No voice speaks the language \"" + textlanguageCode + "\".");
        return;
    }
    auto utterance = media::SpeechUtterance::create(text);
    utterance->setVoice(voice);
    // The service's male voice is a lower one here.
    utterance->setPitchMultiplier(m_isMaleVoice ? 0.8f : 1.0f);
    m_utterance = utterance;
    m_completion = std::move(completion);
    m_synthesizer->speakUtterance(utterance);
}

} // namespace lectoro
