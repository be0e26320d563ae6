#include "LectoroSDKWithReader/annotations/notes/NoteVoiceRecognizer.h"

#include "platform/base/RunLoop.h"
#include "platform/media/MediaError.h"
#include "platform/media/SpeechRecognizer.h"
#include "platform/ui/Button.h"

namespace lectoro {

std::shared_ptr<NoteVoiceRecognizer> NoteVoiceRecognizer::create(
    std::weak_ptr<NoteVoiceRecognizerDelegate> delegate)
{
    return std::shared_ptr<NoteVoiceRecognizer>(new NoteVoiceRecognizer(std::move(delegate)));
}

NoteVoiceRecognizer::NoteVoiceRecognizer(std::weak_ptr<NoteVoiceRecognizerDelegate> delegate)
    : m_delegate(std::move(delegate))
{
}

NoteVoiceRecognizer::~NoteVoiceRecognizer()
{
    if (m_autoStopTask)
        base::RunLoop::main().cancel(m_autoStopTask);
    if (m_task)
        m_task->cancel();
}

void NoteVoiceRecognizer::requestPermission()
{
    std::weak_ptr<NoteVoiceRecognizer> weak = weak_from_this();
    media::SpeechRecognizer::requestAuthorization([weak](media::SpeechRecognizerAuthorizationStatus status) {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto delegate = self->m_delegate.lock())
            delegate->voiceRecognizerAuthStateWithAuthState(*self, static_cast<int64_t>(status));
    });
}

void NoteVoiceRecognizer::startRecognize()
{
    cancelRecognization();
    auto recognizer = media::SpeechRecognizer::make(m_languageCode.empty() ? "en-US" : m_languageCode);
    if (!recognizer || !recognizer->isAvailable()) {
        if (auto delegate = m_delegate.lock())
            delegate->recognizerNotAvailable(*this);
        return;
    }
    m_heard.clear();
    uint64_t session = ++m_session;
    std::weak_ptr<NoteVoiceRecognizer> weak = weak_from_this();
    auto request = media::SpeechRecognitionRequest::create();
    request->setShouldReportPartialResults(true);
    m_task = recognizer->recognitionTask(request,
        [weak, session](const std::optional<media::SpeechRecognitionResult>& result,
            const std::optional<base::Error>& error) {
            auto self = weak.lock();
            if (!self || self->m_session != session || !self->m_task)
                return;
            if (error) {
                const bool cancelled
                    = error->domain == media::speechErrorDomain && error->code == media::speechErrorCancelled;
                const bool nothingHeard
                    = error->domain == media::speechErrorDomain && error->code == media::speechErrorNoSpeech;
                auto report = self->m_result;
                self->stopped();
                if (!cancelled && report)
                    report({},
                        base::Error::make(errorDomain,
                            nothingHeard ? errorNothingHeard : errorRecognitionFailed,
                            error->localizedDescription()));
                return;
            }
            if (!result)
                return;
            self->m_heard = result->formattedString;
            if (!result->isFinal) {
                self->scheduleAutoStop();
                return;
            }
            auto report = self->m_result;
            std::string heard = self->m_heard;
            self->stopped();
            if (report)
                report(heard, std::nullopt);
        });
    setPulsing(true);
    scheduleAutoStop();
}

void NoteVoiceRecognizer::scheduleAutoStop()
{
    if (m_autoStopTask)
        base::RunLoop::main().cancel(m_autoStopTask);
    std::weak_ptr<NoteVoiceRecognizer> weak = weak_from_this();
    m_autoStopTask = base::RunLoop::main().postDelayed(m_autoStop, [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        self->m_autoStopTask = 0;
        // The recogniser turns what it heard into the final result (or says nothing was).
        if (self->m_task)
            self->m_task->finish();
    });
}

void NoteVoiceRecognizer::cancelRecognization()
{
    if (!m_task)
        return;
    auto task = std::move(m_task);
    ++m_session;
    task->cancel();
    stopped();
}

void NoteVoiceRecognizer::stopped()
{
    if (m_autoStopTask) {
        base::RunLoop::main().cancel(m_autoStopTask);
        m_autoStopTask = 0;
    }
    m_task.reset();
    setPulsing(false);
    if (auto delegate = m_delegate.lock())
        delegate->didStopVocieRecognizing(*this);
}

void NoteVoiceRecognizer::setPulsing(bool pulsing)
{
    auto button = m_button.lock();
    if (!button)
        return;
    button->setTransform(pulsing ? ui::AffineTransform::scale(1.2, 1.2) : ui::AffineTransform::identity());
    if (pulsing && m_themeColor)
        button->setTitleColor(*m_themeColor);
}

} // namespace lectoro
