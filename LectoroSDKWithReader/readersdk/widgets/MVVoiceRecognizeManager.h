#pragma once

// The companion framework's voice recogniser for spoken search: asks for the
// speech-recognition permission, listens through the platform's recogniser in the chosen
// language, hands each transcript (or an error) to its result block and tells its delegate
// when listening stops. The button it is given glows in the theme colour while it listens.
//
// Everything it reports runs on the main run loop (the platform delivers there); a
// delegate must still expect calls from other threads, as the framework never promised
// otherwise.

#include "platform/base/Error.h"
#include "platform/ui/Color.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace media {
class SpeechRecognitionTask;
}

namespace ui {
class Button;
}

namespace lectoro {

class MVVoiceRecognizeManagerDelegate {
public:
    virtual ~MVVoiceRecognizeManagerDelegate() = default;
    // The speech-recognition status as the platform numbers it: 0 not determined, 1 denied,
    // 2 restricted, 3 authorised.
    virtual void voiceRecognizerAuthStateWithAuthState(int64_t authState) = 0;
    virtual void didStopVocieRecognizing() = 0;
    virtual void recognizerNotAvailable() = 0;
};

class MVVoiceRecognizeManager : public std::enable_shared_from_this<MVVoiceRecognizeManager> {
public:
    using ResultBlock = std::function<void(
        const std::optional<std::string>& text, const std::optional<base::Error>& error)>;

    static std::shared_ptr<MVVoiceRecognizeManager> create();
    virtual ~MVVoiceRecognizeManager();

    // Held weakly.
    void setDelegate(std::weak_ptr<MVVoiceRecognizeManagerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<MVVoiceRecognizeManagerDelegate> delegate() const { return m_delegate.lock(); }

    // A locale identifier ("en-US"); empty listens in "en-US".
    const std::string& languageCode() const { return m_languageCode; }
    void setLanguageCode(std::string code) { m_languageCode = std::move(code); }

    const std::shared_ptr<ui::Button>& voiceSearchButton() const { return m_voiceSearchButton; }
    void setVoiceSearchButton(std::shared_ptr<ui::Button> button) { m_voiceSearchButton = std::move(button); }
    const std::optional<ui::Color>& themeColor() const { return m_themeColor; }
    void setThemeColor(std::optional<ui::Color> color) { m_themeColor = std::move(color); }

    const ResultBlock& result() const { return m_result; }
    void setResult(ResultBlock block) { m_result = std::move(block); }

    // The answer reaches the delegate's voiceRecognizerAuthStateWithAuthState.
    virtual void requestPermission();
    // Listens until the platform's recogniser gives its final transcript or fails; an
    // unavailable recogniser is reported to the delegate instead.
    virtual void startRecognize();
    // Stops listening without a result and without telling the delegate.
    virtual void cancelRecognization();

    bool isListening() const { return m_task != nullptr; }

protected:
    MVVoiceRecognizeManager() = default;

private:
    void finishListening();
    void setButtonGlowing(bool);

    std::weak_ptr<MVVoiceRecognizeManagerDelegate> m_delegate;
    std::string m_languageCode;
    std::shared_ptr<ui::Button> m_voiceSearchButton;
    std::optional<ui::Color> m_themeColor;
    ResultBlock m_result;
    std::shared_ptr<media::SpeechRecognitionTask> m_task;
    // Answers of a task that was cancelled or replaced are dropped by this count.
    uint64_t m_generation = 0;
};

} // namespace lectoro
