#pragma once

// Dictation for the note editor over the platform's speech recogniser: it asks for the
// recognition permission, listens in the chosen language, stops by itself after a quiet
// spell, and hands back what was heard (or an error) through its result block. Its
// delegate hears the permission state, that listening stopped, and that no recogniser is
// available. Everything it reports arrives on the main run loop.
//
// Errors it reports are in its own domain: code 2 means nothing was heard, 202 that the
// recogniser failed; a cancelled dictation reports nothing.

#include "platform/base/Error.h"
#include "platform/ui/Color.h"

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

class NoteVoiceRecognizer;

class NoteVoiceRecognizerDelegate {
public:
    virtual ~NoteVoiceRecognizerDelegate() = default;
    // 0 not determined, 1 denied, 2 restricted, 3 authorised.
    virtual void voiceRecognizerAuthStateWithAuthState(NoteVoiceRecognizer&, int64_t) { }
    virtual void didStopVocieRecognizing(NoteVoiceRecognizer&) { }
    virtual void recognizerNotAvailable(NoteVoiceRecognizer&) { }
};

class NoteVoiceRecognizer : public std::enable_shared_from_this<NoteVoiceRecognizer> {
public:
    static constexpr const char* errorDomain = "NoteVoiceRecognizer";
    static constexpr int64_t errorNothingHeard = 2;
    static constexpr int64_t errorRecognitionFailed = 202;

    using Result = std::function<void(const std::string& text, const std::optional<base::Error>&)>;

    static std::shared_ptr<NoteVoiceRecognizer> create(std::weak_ptr<NoteVoiceRecognizerDelegate>);
    ~NoteVoiceRecognizer();

    // Empty: "en-US".
    const std::string& languageCode() const { return m_languageCode; }
    void setLanguageCode(std::string code) { m_languageCode = std::move(code); }
    // Seconds without a new word after which listening ends with what was heard.
    void setAutoStopVoiceRecognizingTime(double seconds) { m_autoStop = seconds; }
    double autoStopVoiceRecognizingTime() const { return m_autoStop; }
    const std::optional<ui::Color>& themeColor() const { return m_themeColor; }
    void setThemeColor(std::optional<ui::Color> color) { m_themeColor = std::move(color); }
    // The button that pulses while listening; bound once.
    std::shared_ptr<ui::Button> voiceSearchButton() const { return m_button.lock(); }
    void setVoiceSearchButton(const std::shared_ptr<ui::Button>& button) { m_button = button; }
    void setResult(Result result) { m_result = std::move(result); }

    // Asks for the recognition permission; the delegate hears the state.
    void requestPermission();
    void startRecognize();
    // Stops listening and forgets what was heard.
    void cancelRecognization();
    bool isListening() const { return m_task != nullptr; }

private:
    explicit NoteVoiceRecognizer(std::weak_ptr<NoteVoiceRecognizerDelegate>);
    void scheduleAutoStop();
    void stopped();
    void setPulsing(bool);

    std::weak_ptr<NoteVoiceRecognizerDelegate> m_delegate;
    std::string m_languageCode;
    double m_autoStop = 3.0;
    std::optional<ui::Color> m_themeColor;
    std::weak_ptr<ui::Button> m_button;
    Result m_result;
    std::shared_ptr<media::SpeechRecognitionTask> m_task;
    std::string m_heard;
    uint64_t m_autoStopTask = 0;
    // Each listening gets a number; answers of an older one are dropped.
    uint64_t m_session = 0;
};

} // namespace lectoro
