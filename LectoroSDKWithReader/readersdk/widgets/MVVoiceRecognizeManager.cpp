#include "LectoroSDKWithReader/readersdk/widgets/MVVoiceRecognizeManager.h"

#include "platform/base/RunLoop.h"
#include "platform/media/SpeechRecognizer.h"
#include "platform/ui/Button.h"

namespace lectoro {

namespace {

constexpr const char* voiceDefaultLocale = "en-US";
constexpr double voiceGlowAlpha = 0.3;

} // namespace

std::shared_ptr<MVVoiceRecognizeManager> MVVoiceRecognizeManager::create()
{
    return std::shared_ptr<MVVoiceRecognizeManager>(new MVVoiceRecognizeManager());
}

MVVoiceRecognizeManager::~MVVoiceRecognizeManager()
{
    if (m_task)
        m_task->cancel();
}

void MVVoiceRecognizeManager::requestPermission()
{
    std::weak_ptr<MVVoiceRecognizeManager> weak = weak_from_this();
    media::SpeechRecognizer::requestAuthorization([weak](media::SpeechRecognizerAuthorizationStatus status) {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto delegate = self->delegate())
            delegate->voiceRecognizerAuthStateWithAuthState(static_cast<int64_t>(status));
    });
}

void MVVoiceRecognizeManager::startRecognize()
{
    cancelRecognization();
    auto recognizer
        = media::SpeechRecognizer::make(m_languageCode.empty() ? voiceDefaultLocale : m_languageCode);
    if (!recognizer || !recognizer->isAvailable()) {
        if (auto delegate = this->delegate())
            delegate->recognizerNotAvailable();
        return;
    }
    auto request = media::SpeechRecognitionRequest::create();
    request->setShouldReportPartialResults(true);
    std::weak_ptr<MVVoiceRecognizeManager> weak = weak_from_this();
    uint64_t generation = ++m_generation;
    setButtonGlowing(true);
    m_task = recognizer->recognitionTask(request,
        [weak, generation](const std::optional<media::SpeechRecognitionResult>& result,
            const std::optional<base::Error>& error) {
            auto self = weak.lock();
            if (!self || generation != self->m_generation)
                return;
            // Hold the block: it may set a new one while it runs.
            auto block = self->m_result;
            if (error) {
                if (block)
                    block(std::nullopt, error);
                self->finishListening();
                return;
            }
            if (!result)
                return;
            if (block)
                block(result->formattedString, std::nullopt);
            if (result->isFinal)
                self->finishListening();
        });
}

void MVVoiceRecognizeManager::cancelRecognization()
{
    ++m_generation;
    if (auto task = std::move(m_task))
        task->cancel();
    setButtonGlowing(false);
}

void MVVoiceRecognizeManager::finishListening()
{
    ++m_generation;
    m_task.reset();
    setButtonGlowing(false);
    // The result block may have queued the last text for the main queue: the stop comes
    // after it, so whoever hears the stop reads the final text.
    std::weak_ptr<MVVoiceRecognizeManager> weak = weak_from_this();
    base::RunLoop::main().post([weak] {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto delegate = self->delegate())
            delegate->didStopVocieRecognizing();
    });
}

void MVVoiceRecognizeManager::setButtonGlowing(bool glowing)
{
    if (!m_voiceSearchButton)
        return;
    if (glowing && m_themeColor)
        m_voiceSearchButton->setBackgroundColor(m_themeColor->withAlpha(voiceGlowAlpha));
    else
        m_voiceSearchButton->setBackgroundColor(std::nullopt);
}

} // namespace lectoro
