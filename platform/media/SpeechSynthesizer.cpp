#include "platform/media/SpeechSynthesizer.h"

#include "platform/base/Dispatch.h"
#include "platform/media/MediaError.h"
#include "platform/media/SpeechEngine.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

// 0 → slowest, 0.5 → the engine's natural pace, 1 → fastest, in words per minute.
int wordsPerMinute(float rate)
{
    double r = std::isfinite(rate) ? std::clamp(static_cast<double>(rate), 0.0, 1.0) : 0.5;
    double wpm = r <= 0.5 ? 80 + (175 - 80) * (r / 0.5) : 175 + (450 - 175) * ((r - 0.5) / 0.5);
    return static_cast<int>(std::lround(wpm));
}

int scaled(float value, double unit, double low, double high, double fallback)
{
    double v = std::isfinite(value) ? value * unit : fallback;
    return static_cast<int>(std::lround(std::clamp(v, low, high)));
}

// Read on the main thread; the request then travels to the engine's thread.
base::Result<detail::SynthesisRequest> requestFor(const SpeechUtterance& utterance)
{
    std::optional<SpeechSynthesisVoice> voice = utterance.voice()
        ? SpeechSynthesisVoice::voiceWithIdentifier(utterance.voice()->identifier)
        : SpeechSynthesisVoice::voiceWithLanguage(SpeechSynthesisVoice::currentLanguageCode());
    if (!voice) {
        std::string named = utterance.voice() ? utterance.voice()->identifier : SpeechSynthesisVoice::currentLanguageCode();
        return speechError(speechErrorNoVoice, "No installed voice for \"" + named + "\".");
    }
    detail::SynthesisRequest request;
    request.text = utterance.speechString();
    request.voiceIdentifier = voice->identifier;
    request.wordsPerMinute = wordsPerMinute(utterance.rate());
    request.volume = scaled(utterance.volume(), 100, 0, 100, 100);
    request.pitch = scaled(utterance.pitchMultiplier(), 50, 0, 100, 50);
    return request;
}

} // namespace

SpeechSynthesizer::SpeechSynthesizer() = default;

std::shared_ptr<SpeechSynthesizer> SpeechSynthesizer::create()
{
    return std::shared_ptr<SpeechSynthesizer>(new SpeechSynthesizer());
}

SpeechSynthesizer::~SpeechSynthesizer()
{
    cancelScheduled();
    if (m_cancelSynthesis)
        m_cancelSynthesis->store(true);
}

bool SpeechSynthesizer::speakUtterance(std::shared_ptr<SpeechUtterance> utterance)
{
    if (!utterance || utterance == m_current || std::find(m_queue.begin(), m_queue.end(), utterance) != m_queue.end())
        return false;
    m_queue.push_back(std::move(utterance));
    if (m_phase == Phase::Idle && !m_current)
        startNext();
    return true;
}

void SpeechSynthesizer::startNext()
{
    if (m_queue.empty())
        return;
    m_current = m_queue.front();
    m_queue.pop_front();
    m_phase = Phase::Synthesizing;
    uint64_t generation = ++m_generation;
    m_cancelSynthesis = std::make_shared<std::atomic<bool>>(false);
    auto request = requestFor(*m_current);
    std::weak_ptr<SpeechSynthesizer> weakSelf = weak_from_this();
    if (!request.ok()) {
        auto error = request.error();
        base::RunLoop::main().post(weakSelf, [weakSelf, generation, error] {
            if (auto self = weakSelf.lock())
                self->synthesisDidFinish(generation, error);
        });
        return;
    }
    base::globalQueue().async([weakSelf, generation, request = std::move(request.value()), cancel = m_cancelSynthesis] {
        auto result = std::make_shared<base::Result<detail::Synthesis>>(detail::synthesize(request, cancel.get()));
        base::RunLoop::main().post(weakSelf, [weakSelf, generation, result] {
            if (auto self = weakSelf.lock())
                self->synthesisDidFinish(generation, std::move(*result));
        });
    });
}

void SpeechSynthesizer::synthesisDidFinish(uint64_t generation, base::Result<detail::Synthesis> result)
{
    if (generation != m_generation || m_phase != Phase::Synthesizing)
        return; // stopped meanwhile
    if (!result.ok()) {
        std::shared_ptr<SpeechUtterance> failed = m_current;
        endCurrent();
        if (auto delegate = m_delegate.lock())
            delegate->didFailSpeechUtterance(*this, *failed, result.error());
        if (m_phase == Phase::Idle && !m_current)
            startNext();
        return;
    }
    m_synthesis = std::make_shared<detail::Synthesis>(std::move(result.value()));
    double delay = m_current->preUtteranceDelay();
    if (delay > 0 && std::isfinite(delay)) {
        m_phase = Phase::Waiting;
        m_scheduled.push_back(base::RunLoop::main().postDelayed(delay, weak_from_this(), [this] { begin(); }));
    } else {
        begin();
    }
}

void SpeechSynthesizer::begin()
{
    m_phase = Phase::Speaking;
    m_origin = base::RunLoop::main().now();
    m_nextWord = 0;
    uint64_t generation = m_generation;
    if (auto delegate = m_delegate.lock())
        delegate->didStartSpeechUtterance(*this, *m_current);
    if (generation == m_generation && m_phase == Phase::Speaking)
        scheduleFromNextWord();
}

void SpeechSynthesizer::scheduleFromNextWord()
{
    cancelScheduled();
    auto& loop = base::RunLoop::main();
    auto owner = weak_from_this();
    for (size_t i = m_nextWord; i < m_synthesis->words.size(); ++i)
        m_scheduled.push_back(loop.postAt(m_origin + m_synthesis->words[i].time, owner, [this, i] { deliverWord(i); }));
    m_scheduled.push_back(loop.postAt(m_origin + m_synthesis->audio.duration(), owner, [this] { finish(); }));
}

void SpeechSynthesizer::deliverWord(size_t index)
{
    if (takePendingAction())
        return;
    m_nextWord = index + 1;
    const detail::SynthesisWord& word = m_synthesis->words[index];
    std::shared_ptr<SpeechUtterance> utterance = m_current;
    if (auto delegate = m_delegate.lock())
        delegate->willSpeakRangeOfSpeechString(*this, base::Range { word.location, word.length }, *utterance);
}

void SpeechSynthesizer::finish()
{
    if (takePendingAction())
        return;
    std::shared_ptr<SpeechUtterance> finished = m_current;
    endCurrent();
    double pause = finished->postUtteranceDelay();
    bool waits = pause > 0 && std::isfinite(pause) && !m_queue.empty();
    if (waits) {
        m_phase = Phase::Waiting;
        m_scheduled.push_back(base::RunLoop::main().postDelayed(pause, weak_from_this(), [this] {
            m_phase = Phase::Idle;
            startNext();
        }));
    }
    if (auto delegate = m_delegate.lock())
        delegate->didFinishSpeechUtterance(*this, *finished);
    // The delegate may have spoken again or stopped.
    if (!waits && m_phase == Phase::Idle && !m_current)
        startNext();
}

bool SpeechSynthesizer::takePendingAction()
{
    PendingAction action = std::exchange(m_pendingAction, PendingAction::None);
    if (action == PendingAction::Stop)
        stopNow();
    else if (action == PendingAction::Pause)
        pauseNow();
    return action != PendingAction::None;
}

bool SpeechSynthesizer::stopSpeakingAtBoundary(SpeechBoundary boundary)
{
    if (!isSpeaking() && m_phase != Phase::Waiting)
        return false;
    if (boundary == SpeechBoundary::Word && m_phase == Phase::Speaking) {
        m_queue.clear();
        m_pendingAction = PendingAction::Stop;
        return true;
    }
    stopNow();
    return true;
}

void SpeechSynthesizer::stopNow()
{
    m_queue.clear();
    std::shared_ptr<SpeechUtterance> cancelled = m_current;
    endCurrent();
    if (cancelled) {
        if (auto delegate = m_delegate.lock())
            delegate->didCancelSpeechUtterance(*this, *cancelled);
    }
}

bool SpeechSynthesizer::pauseSpeakingAtBoundary(SpeechBoundary boundary)
{
    if (m_phase != Phase::Speaking || m_pendingAction != PendingAction::None)
        return false;
    if (boundary == SpeechBoundary::Word)
        m_pendingAction = PendingAction::Pause;
    else
        pauseNow();
    return true;
}

void SpeechSynthesizer::pauseNow()
{
    m_pausedAt = elapsed();
    cancelScheduled();
    m_phase = Phase::Paused;
    if (auto delegate = m_delegate.lock())
        delegate->didPauseSpeechUtterance(*this, *m_current);
}

bool SpeechSynthesizer::continueSpeaking()
{
    if (m_phase == Phase::Speaking && m_pendingAction == PendingAction::Pause) {
        m_pendingAction = PendingAction::None; // the pause had not happened yet
        return true;
    }
    if (m_phase != Phase::Paused)
        return false;
    m_origin = base::RunLoop::main().now() - m_pausedAt;
    m_phase = Phase::Speaking;
    uint64_t generation = m_generation;
    if (auto delegate = m_delegate.lock())
        delegate->didContinueSpeechUtterance(*this, *m_current);
    if (generation == m_generation && m_phase == Phase::Speaking)
        scheduleFromNextWord();
    return true;
}

void SpeechSynthesizer::endCurrent()
{
    cancelScheduled();
    if (m_cancelSynthesis)
        m_cancelSynthesis->store(true);
    m_cancelSynthesis.reset();
    m_current.reset();
    m_synthesis.reset();
    m_pendingAction = PendingAction::None;
    m_phase = Phase::Idle;
    ++m_generation;
}

void SpeechSynthesizer::cancelScheduled()
{
    auto& loop = base::RunLoop::main();
    for (base::RunLoop::TaskId id : m_scheduled)
        loop.cancel(id);
    m_scheduled.clear();
}

double SpeechSynthesizer::elapsed() const
{
    return m_phase == Phase::Paused ? m_pausedAt : base::RunLoop::main().now() - m_origin;
}

const AudioBuffer* SpeechSynthesizer::currentAudio() const
{
    bool started = m_phase == Phase::Speaking || m_phase == Phase::Paused;
    return started && m_synthesis ? &m_synthesis->audio : nullptr;
}

base::Result<AudioBuffer> SpeechSynthesizer::renderUtterance(const SpeechUtterance& utterance)
{
    auto request = requestFor(utterance);
    if (!request.ok())
        return request.error();
    auto synthesis = detail::synthesize(request.value());
    if (!synthesis.ok())
        return synthesis.error();
    return std::move(synthesis->audio);
}

void SpeechSynthesizer::writeUtterance(std::shared_ptr<SpeechUtterance> utterance, std::function<void(base::Result<AudioBuffer>)> completion)
{
    if (!utterance || !completion)
        return;
    base::globalQueue().async([copy = *utterance, completion = std::move(completion)] {
        auto result = std::make_shared<base::Result<AudioBuffer>>(renderUtterance(copy));
        base::RunLoop::main().post([completion, result] { completion(std::move(*result)); });
    });
}

base::Result<void> SpeechSynthesizer::writeUtteranceToFile(const SpeechUtterance& utterance, const std::string& path)
{
    auto audio = renderUtterance(utterance);
    if (!audio.ok())
        return audio.error();
    return audio->writeWavFile(path);
}

} // namespace media
