#include "platform/media/SpeechRecognizer.h"

#include "platform/media/MediaError.h"

#include <mutex>

namespace media {

namespace {

using AuthorizationPermission = Permission<SpeechRecognizerAuthorizationStatus>;

AuthorizationPermission& authorization()
{
    static AuthorizationPermission permission(SpeechRecognizerAuthorizationStatus::NotDetermined, SpeechRecognizerAuthorizationStatus::Denied);
    return permission;
}

std::mutex& factoryLock()
{
    static std::mutex lock;
    return lock;
}

SpeechRecognizer::Factory& factory()
{
    static SpeechRecognizer::Factory installed;
    return installed;
}

class ScriptedTask final : public SpeechRecognitionTask, public std::enable_shared_from_this<ScriptedTask> {
public:
    ScriptedTask(bool reportsPartialResults, Handler handler)
        : m_reportsPartialResults(reportsPartialResults), m_handler(std::move(handler))
    {
    }

    ~ScriptedTask() override { cancelScheduled(); }

    void start(const std::vector<ScriptedSpeechRecognizer::Step>& script)
    {
        m_state = State::Running;
        double at = 0;
        for (const auto& step : script) {
            at += step.delay > 0 ? step.delay : 0;
            // A running task lives on by its pending steps, as the system keeps its tasks.
            m_scheduled.push_back(base::RunLoop::main().postDelayed(at, [self = shared_from_this(), step] { self->deliver(step); }));
        }
    }

    void failAtOnce(base::Error error)
    {
        m_state = State::Completed;
        post(std::nullopt, std::move(error));
    }

    void finish() override
    {
        if (m_state != State::Running && m_state != State::Starting)
            return;
        cancelScheduled();
        m_state = State::Completed;
        if (m_heard)
            post(SpeechRecognitionResult { *m_heard, true }, std::nullopt);
        else
            post(std::nullopt, speechError(speechErrorNoSpeech, "No speech was detected."));
    }

    void cancel() override
    {
        if (m_state == State::Completed)
            return;
        cancelScheduled();
        m_cancelled = true;
        m_state = State::Completed;
        post(std::nullopt, speechError(speechErrorCancelled, "Recognition was cancelled."));
    }

private:
    void deliver(const ScriptedSpeechRecognizer::Step& step)
    {
        if (m_state != State::Running)
            return;
        if (step.error) {
            cancelScheduled();
            m_state = State::Completed;
            call(std::nullopt, step.error);
            return;
        }
        m_heard = step.transcript;
        if (step.isFinal) {
            cancelScheduled();
            m_state = State::Completed;
        } else if (!m_reportsPartialResults) {
            return;
        }
        call(SpeechRecognitionResult { step.transcript, step.isFinal }, std::nullopt);
    }

    void call(const std::optional<SpeechRecognitionResult>& result, const std::optional<base::Error>& error)
    {
        Handler handler = m_handler; // the handler may drop the task
        if (handler)
            handler(result, error);
    }

    void post(std::optional<SpeechRecognitionResult> result, std::optional<base::Error> error)
    {
        base::RunLoop::main().post([handler = m_handler, result = std::move(result), error = std::move(error)] {
            if (handler)
                handler(result, error);
        });
    }

    void cancelScheduled()
    {
        for (base::RunLoop::TaskId id : m_scheduled)
            base::RunLoop::main().cancel(id);
        m_scheduled.clear();
    }

    bool m_reportsPartialResults = true;
    Handler m_handler;
    std::optional<std::string> m_heard;
    std::vector<base::RunLoop::TaskId> m_scheduled;
};

} // namespace

void SpeechRecognitionRequest::endAudio()
{
    m_audioEnded = true;
    if (m_task)
        m_task->finish();
}

std::shared_ptr<SpeechRecognizer> SpeechRecognizer::make(const std::string& localeIdentifier)
{
    Factory installed;
    {
        std::lock_guard lock(factoryLock());
        installed = factory();
    }
    if (installed) {
        if (auto recognizer = installed(localeIdentifier))
            return recognizer;
    }
    auto unavailable = ScriptedSpeechRecognizer::create(localeIdentifier);
    unavailable->setAvailable(false);
    return unavailable;
}

void SpeechRecognizer::setFactory(Factory newFactory)
{
    std::lock_guard lock(factoryLock());
    factory() = std::move(newFactory);
}

SpeechRecognizerAuthorizationStatus SpeechRecognizer::authorizationStatus()
{
    return authorization().status();
}

void SpeechRecognizer::requestAuthorization(std::function<void(SpeechRecognizerAuthorizationStatus)> completion)
{
    authorization().request(std::move(completion));
}

void SpeechRecognizer::setAuthorizationResponder(Permission<SpeechRecognizerAuthorizationStatus>::Responder responder)
{
    authorization().setResponder(std::move(responder));
}

void SpeechRecognizer::resetForTesting()
{
    authorization().reset();
    setFactory(nullptr);
}

std::shared_ptr<ScriptedSpeechRecognizer> ScriptedSpeechRecognizer::create(std::string localeIdentifier)
{
    return std::shared_ptr<ScriptedSpeechRecognizer>(new ScriptedSpeechRecognizer(std::move(localeIdentifier)));
}

std::shared_ptr<SpeechRecognitionTask> ScriptedSpeechRecognizer::recognitionTask(std::shared_ptr<SpeechRecognitionRequest> request,
    SpeechRecognitionTask::Handler handler)
{
    if (!request)
        request = SpeechRecognitionRequest::create();
    m_requests.push_back(request);
    auto task = std::make_shared<ScriptedTask>(request->shouldReportPartialResults(), std::move(handler));
    request->m_task = task;
    if (authorizationStatus() != SpeechRecognizerAuthorizationStatus::Authorized)
        task->failAtOnce(speechError(speechErrorNotAuthorized, "Speech recognition is not authorised."));
    else if (!isAvailable())
        task->failAtOnce(speechError(speechErrorRecognizerUnavailable, "Speech recognition is not available."));
    else
        task->start(m_script);
    return task;
}

} // namespace media
