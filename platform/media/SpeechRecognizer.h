#pragma once

// Speech recognition: the permission, the recogniser interface and a scripted recogniser.
//
// The platform has no recognition engine, so SpeechRecognizer::make() gives a recogniser
// that is not available unless a factory was installed (tests install one that makes
// ScriptedSpeechRecognizer). The permission is asked once; its answer may come on any
// thread (as the system's does) and reaches the caller's completion on the main run loop.

#include "platform/base/Error.h"
#include "platform/base/RunLoop.h"
#include "platform/media/Permission.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {

// Numbered as the platform numbers them.
enum class SpeechRecognizerAuthorizationStatus { NotDetermined = 0, Denied = 1, Restricted = 2, Authorized = 3 };

struct SpeechRecognitionResult {
    // The best transcription so far.
    std::string formattedString;
    bool isFinal = false;
};

class SpeechRecognitionTask;

class SpeechRecognitionRequest {
public:
    static std::shared_ptr<SpeechRecognitionRequest> create() { return std::make_shared<SpeechRecognitionRequest>(); }

    bool shouldReportPartialResults() const { return m_partial; }
    void setShouldReportPartialResults(bool partial) { m_partial = partial; }
    // Audio is not listened to on this platform; endAudio() asks for the final result.
    void endAudio();
    bool audioEnded() const { return m_audioEnded; }

private:
    friend class ScriptedSpeechRecognizer;
    bool m_partial = true;
    bool m_audioEnded = false;
    // The task listening to this request; kept so endAudio() reaches it.
    std::shared_ptr<SpeechRecognitionTask> m_task;
};

class SpeechRecognitionTask {
public:
    enum class State { Starting, Running, Finishing, Canceling, Completed };
    // Either a result (possibly partial) or an error; the last call has a final result or
    // an error. Runs on the main run loop.
    using Handler = std::function<void(const std::optional<SpeechRecognitionResult>&, const std::optional<base::Error>&)>;

    virtual ~SpeechRecognitionTask() = default;
    State state() const { return m_state; }
    bool isCancelled() const { return m_cancelled; }
    // Stops listening and delivers the final result of what was heard.
    virtual void finish() = 0;
    // Stops at once; the handler gets a cancellation error.
    virtual void cancel() = 0;

protected:
    State m_state = State::Starting;
    bool m_cancelled = false;
};

class SpeechRecognizer {
public:
    using Factory = std::function<std::shared_ptr<SpeechRecognizer>(const std::string& localeIdentifier)>;

    virtual ~SpeechRecognizer() = default;

    // A recogniser for the locale ("en-US"); with no factory installed, one that is never
    // available.
    static std::shared_ptr<SpeechRecognizer> make(const std::string& localeIdentifier);
    static void setFactory(Factory);

    static SpeechRecognizerAuthorizationStatus authorizationStatus();
    static void requestAuthorization(std::function<void(SpeechRecognizerAuthorizationStatus)>);
    // Who answers the request. Without one the answer is Denied: no one can grant it here.
    static void setAuthorizationResponder(Permission<SpeechRecognizerAuthorizationStatus>::Responder);
    // Test support: status, responder and factory as on a fresh install.
    static void resetForTesting();

    const std::string& localeIdentifier() const { return m_locale; }
    virtual bool isAvailable() const = 0;
    // The handler runs on the main run loop. Without authorisation, or when not available,
    // the task ends at once with an error.
    virtual std::shared_ptr<SpeechRecognitionTask> recognitionTask(std::shared_ptr<SpeechRecognitionRequest>, SpeechRecognitionTask::Handler) = 0;

protected:
    explicit SpeechRecognizer(std::string localeIdentifier) : m_locale(std::move(localeIdentifier)) { }

private:
    std::string m_locale;
};

// Plays back a script of what the user "said": each step comes after its delay on the run
// loop's clock, as a partial or final transcript or an error. Partial steps are skipped when
// the request asks for final results only. finish() turns the last transcript heard into the
// final one (an error when nothing was heard).
class ScriptedSpeechRecognizer : public SpeechRecognizer {
public:
    struct Step {
        double delay = 0;
        std::string transcript;
        bool isFinal = false;
        std::optional<base::Error> error;
    };

    static std::shared_ptr<ScriptedSpeechRecognizer> create(std::string localeIdentifier = "en-US");

    void setScript(std::vector<Step> steps) { m_script = std::move(steps); }
    void setAvailable(bool available) { m_available = available; }
    bool isAvailable() const override { return m_available; }
    std::shared_ptr<SpeechRecognitionTask> recognitionTask(std::shared_ptr<SpeechRecognitionRequest>, SpeechRecognitionTask::Handler) override;
    // The requests handed to recognitionTask(), in order.
    const std::vector<std::shared_ptr<SpeechRecognitionRequest>>& requests() const { return m_requests; }

private:
    using SpeechRecognizer::SpeechRecognizer;
    std::vector<Step> m_script;
    bool m_available = true;
    std::vector<std::shared_ptr<SpeechRecognitionRequest>> m_requests;
};

} // namespace media
