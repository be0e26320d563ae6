#include "LectoroSDKWithReader/media/readaloud/NarrationPlayback.h"

#include "platform/base/Strings.h"
#include "platform/media/Asset.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/SpeechSynthesizer.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace lectoro {

namespace {

// Positions computed from the clock can miss a word's start by a rounding step.
constexpr double narrationEpsilon = 1e-6;

// A narration whose words wait on one scheduled task of the run loop at a time.
class ScheduledNarration : public NarrationPlayback {
protected:
    using NarrationPlayback::NarrationPlayback;
    ~ScheduledNarration() override { cancelScheduled(); }

    // fire() runs after `delay` seconds unless cancelled or the narration is gone.
    void scheduleFire(double delay)
    {
        std::weak_ptr<NarrationPlayback> weak = weak_from_this();
        m_task = base::RunLoop::main().postDelayed(delay, weak, [weak] {
            if (auto self = std::static_pointer_cast<ScheduledNarration>(weak.lock())) {
                self->m_task.reset();
                self->fire();
            }
        });
    }
    void cancelScheduled()
    {
        if (m_task)
            base::RunLoop::main().cancel(*m_task);
        m_task.reset();
    }
    bool isScheduled() const { return m_task.has_value(); }
    virtual void fire() = 0;

private:
    std::optional<base::RunLoop::TaskId> m_task;
};

// The words' timings on the run loop's clock: position = anchor + (clock − anchor clock) × rate.
class TimedNarration final : public ScheduledNarration {
public:
    TimedNarration(std::vector<NarrationWord> words, Listener listener)
        : ScheduledNarration(std::move(words), std::move(listener))
    {
    }

    Kind kind() const override { return Kind::Timings; }

    void play(size_t fromWord) override
    {
        cancelScheduled();
        m_next = std::min(fromWord, m_words.size());
        m_anchorPosition = m_next < m_words.size() ? m_words[m_next].start : endTime();
        m_anchorTime = base::RunLoop::main().now();
        m_playing = true;
        schedule();
    }
    void pause() override
    {
        if (!m_playing)
            return;
        m_anchorPosition = position();
        m_playing = false;
        cancelScheduled();
    }
    void resume() override
    {
        if (m_playing)
            return;
        m_anchorTime = base::RunLoop::main().now();
        m_playing = true;
        schedule();
    }
    void stop() override
    {
        m_playing = false;
        cancelScheduled();
    }
    void setRate(float rate) override
    {
        m_anchorPosition = position();
        m_anchorTime = base::RunLoop::main().now();
        m_rate = rate;
        if (m_playing) {
            cancelScheduled();
            schedule();
        }
    }
    double position() const override
    {
        if (!m_playing)
            return m_anchorPosition;
        return m_anchorPosition + (base::RunLoop::main().now() - m_anchorTime) * m_rate;
    }

private:
    double endTime() const
    {
        double end = 0;
        for (const auto& word : m_words)
            end = std::max({ end, word.start, word.end });
        return end;
    }
    void schedule()
    {
        const double target = m_next < m_words.size() ? m_words[m_next].start : endTime();
        scheduleFire(std::max(0.0, (target - position()) / m_rate));
    }
    void fire() override
    {
        if (!m_playing)
            return;
        auto protect = shared_from_this();
        if (m_next >= m_words.size()) {
            m_anchorPosition = position();
            m_playing = false;
            if (m_listener.end)
                m_listener.end();
            return;
        }
        const size_t index = m_next++;
        if (m_listener.word)
            m_listener.word(index);
        if (m_playing && !isScheduled())
            schedule();
    }

    bool m_playing = false;
    float m_rate = 1.0f;
    double m_anchorPosition = 0;
    double m_anchorTime = 0;
    size_t m_next = 0;
};

// The book's audio through the media player. Each word waits for the player's position;
// the player's own end (or failure) ends the stretch, so what is marked is what is heard.
class AudioNarration final : public ScheduledNarration, public media::PlayerDelegate {
public:
    AudioNarration(std::shared_ptr<media::Player> player, std::vector<NarrationWord> words, Listener listener)
        : ScheduledNarration(std::move(words), std::move(listener))
        , m_player(std::move(player))
    {
    }
    ~AudioNarration() override
    {
        cancelScheduled();
        m_player->pause();
    }

    Kind kind() const override { return Kind::Audio; }
    std::shared_ptr<media::Player> player() const override { return m_player; }

    void attach() { m_player->setDelegate(std::static_pointer_cast<AudioNarration>(shared_from_this())); }

    void play(size_t fromWord) override
    {
        cancelScheduled();
        m_next = std::min(fromWord, m_words.size());
        // From the first word the whole file plays, lead-in included.
        double from = 0;
        if (m_next > 0)
            from = m_next < m_words.size() ? m_words[m_next].start : m_player->currentItem()->duration();
        m_player->seekToTime(from);
        m_playing = true;
        m_player->setDefaultRate(m_rate);
        m_player->play();
        schedule();
    }
    void pause() override
    {
        if (!m_playing)
            return;
        m_playing = false;
        cancelScheduled();
        m_player->pause();
    }
    void resume() override
    {
        if (m_playing)
            return;
        m_playing = true;
        m_player->play();
        schedule();
    }
    void stop() override
    {
        m_playing = false;
        cancelScheduled();
        m_player->pause();
    }
    void setRate(float rate) override
    {
        m_rate = rate;
        m_player->setDefaultRate(rate);
        if (m_playing)
            m_player->setRate(rate);
        schedule();
    }
    double position() const override { return m_player->currentTime(); }

    // media::PlayerDelegate
    void playerRateDidChange(media::Player&) override
    {
        // Reaching the end stops the player too, just before it reports the end.
        const bool atEnd = m_player->currentTime() + narrationEpsilon >= m_player->currentItem()->duration();
        if (m_playing && !(m_player->rate() > 0) && !atEnd) {
            m_playing = false;
            cancelScheduled();
            auto protect = shared_from_this();
            if (m_listener.paused)
                m_listener.paused();
            return;
        }
        schedule();
    }
    void playerItemDidPlayToEndTime(media::Player&, media::PlayerItem&) override
    {
        if (!m_playing)
            return;
        m_playing = false;
        cancelScheduled();
        auto protect = shared_from_this();
        if (m_listener.end)
            m_listener.end();
    }
    void playerItemFailedToPlayToEndTime(media::Player&, media::PlayerItem&, const base::Error&) override
    {
        if (!m_playing)
            return;
        m_playing = false;
        cancelScheduled();
        auto protect = shared_from_this();
        if (m_listener.failed)
            m_listener.failed(m_next);
    }

private:
    // The next word's task, timed by the player's position and rate; none while the
    // player stands (paused, or paused by an interruption: its rate change reschedules).
    void schedule()
    {
        cancelScheduled();
        if (!m_playing || m_next >= m_words.size() || !(m_player->rate() > 0))
            return;
        scheduleFire(std::max(0.0, (m_words[m_next].start - m_player->currentTime()) / m_player->rate()));
    }
    void fire() override
    {
        if (!m_playing || m_next >= m_words.size())
            return;
        if (m_words[m_next].start > m_player->currentTime() + narrationEpsilon) {
            schedule();
            return;
        }
        auto protect = shared_from_this();
        const size_t index = m_next++;
        if (m_listener.word)
            m_listener.word(index);
        if (m_playing && !isScheduled())
            schedule();
    }

    std::shared_ptr<media::Player> m_player;
    bool m_playing = false;
    float m_rate = 1.0f;
    size_t m_next = 0;
};

// The words' text spoken by the synthesiser; each word callback marks the word whose
// place in the spoken text it falls on. A new rate, or a pause before the voice began,
// speaks again from the next word.
class SpokenNarration final : public NarrationPlayback, public media::SpeechSynthesizerDelegate {
public:
    SpokenNarration(std::vector<NarrationWord> words, Listener listener, std::optional<media::SpeechSynthesisVoice> voice)
        : NarrationPlayback(std::move(words), std::move(listener))
        , m_synthesizer(media::SpeechSynthesizer::create())
        , m_voice(std::move(voice))
    {
    }
    ~SpokenNarration() override
    {
        m_synthesizer->setDelegate({});
        m_synthesizer->stopSpeakingAtBoundary(media::SpeechBoundary::Immediate);
        if (m_endTask)
            base::RunLoop::main().cancel(*m_endTask);
    }

    Kind kind() const override { return Kind::Speech; }

    void attach() { m_synthesizer->setDelegate(std::static_pointer_cast<SpokenNarration>(shared_from_this())); }

    void play(size_t fromWord) override
    {
        m_next = std::min(fromWord, m_words.size());
        m_playing = true;
        speakFromNext();
    }
    void pause() override
    {
        if (!m_playing)
            return;
        m_playing = false;
        if (!m_synthesizer->pauseSpeakingAtBoundary(media::SpeechBoundary::Immediate)) {
            silence();
            m_restartOnResume = true;
        }
    }
    void resume() override
    {
        if (m_playing)
            return;
        m_playing = true;
        if (m_restartOnResume || !m_synthesizer->continueSpeaking())
            speakFromNext();
    }
    void stop() override
    {
        m_playing = false;
        silence();
    }
    void setRate(float rate) override
    {
        if (rate == m_rate)
            return;
        m_rate = rate;
        if (!m_utterance)
            return;
        silence();
        if (m_playing)
            speakFromNext();
        else
            m_restartOnResume = true;
    }
    double position() const override
    {
        return m_next > 0 && m_next <= m_words.size() ? m_words[m_next - 1].start : 0;
    }

    // media::SpeechSynthesizerDelegate
    void willSpeakRangeOfSpeechString(media::SpeechSynthesizer&, base::Range range, const media::SpeechUtterance& utterance) override
    {
        if (&utterance != m_utterance.get() || m_offsets.empty())
            return;
        auto after = std::upper_bound(m_offsets.begin(), m_offsets.end(), range.location);
        const size_t index = m_first + size_t(std::max<std::ptrdiff_t>(0, (after - m_offsets.begin()) - 1));
        if (index < m_next || index >= m_words.size())
            return;
        m_next = index + 1;
        auto protect = shared_from_this();
        if (m_listener.word)
            m_listener.word(index);
    }
    void didFinishSpeechUtterance(media::SpeechSynthesizer&, const media::SpeechUtterance& utterance) override
    {
        if (&utterance != m_utterance.get())
            return;
        m_utterance.reset();
        m_playing = false;
        auto protect = shared_from_this();
        if (m_listener.end)
            m_listener.end();
    }
    void didFailSpeechUtterance(media::SpeechSynthesizer&, const media::SpeechUtterance& utterance, const base::Error&) override
    {
        if (&utterance != m_utterance.get())
            return;
        m_utterance.reset();
        m_playing = false;
        auto protect = shared_from_this();
        if (m_listener.failed)
            m_listener.failed(m_next);
    }

private:
    void silence()
    {
        m_restartOnResume = false;
        m_utterance.reset();
        m_synthesizer->stopSpeakingAtBoundary(media::SpeechBoundary::Immediate);
        if (m_endTask)
            base::RunLoop::main().cancel(*m_endTask);
        m_endTask.reset();
    }
    void speakFromNext()
    {
        silence();
        std::string text;
        m_offsets.clear();
        m_first = m_next;
        for (size_t i = m_next; i < m_words.size(); ++i) {
            if (!text.empty())
                text += ' ';
            m_offsets.push_back(base::utf16Length(text));
            text += m_words[i].text;
        }
        if (base::trimWhitespace(text).empty()) {
            // Nothing left to say: the end, reported outside this call.
            std::weak_ptr<NarrationPlayback> weak = weak_from_this();
            m_endTask = base::RunLoop::main().post(weak, [weak] {
                auto self = std::static_pointer_cast<SpokenNarration>(weak.lock());
                if (!self || !self->m_playing)
                    return;
                self->m_endTask.reset();
                self->m_playing = false;
                if (self->m_listener.end)
                    self->m_listener.end();
            });
            return;
        }
        m_utterance = media::SpeechUtterance::create(std::move(text));
        m_utterance->setRate(narrationSpeechRate(m_rate));
        m_utterance->setVoice(m_voice);
        m_synthesizer->speakUtterance(m_utterance);
    }

    std::shared_ptr<media::SpeechSynthesizer> m_synthesizer;
    std::optional<media::SpeechSynthesisVoice> m_voice;
    std::shared_ptr<media::SpeechUtterance> m_utterance;
    // Where each word from m_first begins in the spoken text (UTF-16 units).
    std::vector<size_t> m_offsets;
    size_t m_first = 0;
    size_t m_next = 0;
    bool m_playing = false;
    bool m_restartOnResume = false;
    float m_rate = 1.0f;
    std::optional<base::RunLoop::TaskId> m_endTask;
};

} // namespace

float narrationSpeechRate(float rate)
{
    if (!std::isfinite(rate) || rate <= 0)
        return media::speechUtteranceDefaultSpeechRate;
    return std::clamp(rate * media::speechUtteranceDefaultSpeechRate, media::speechUtteranceMinimumSpeechRate,
        media::speechUtteranceMaximumSpeechRate);
}

std::shared_ptr<NarrationPlayback> NarrationPlayback::audio(
    const std::string& audioPath, const std::string& root, std::vector<NarrationWord> words, Listener listener)
{
    if (audioPath.empty())
        return nullptr;
    // Read here, before the first word: a narration file is small, and a page whose audio
    // cannot be read is known at once and spoken instead.
    media::AssetLoadOptions options;
    options.root = root;
    auto asset = media::Asset::load(audioPath, options);
    // A file without sound (a picture the link also names, say) is no narration.
    if (!asset.ok() || !(asset.value().duration > 0) || asset.value().tracksWithMediaType(media::MediaType::Audio).empty())
        return nullptr;
    auto player = media::Player::create(media::PlayerItem::create(std::move(asset.value())));
    auto narration = std::make_shared<AudioNarration>(std::move(player), std::move(words), std::move(listener));
    narration->attach();
    return narration;
}

std::shared_ptr<NarrationPlayback> NarrationPlayback::speech(
    std::vector<NarrationWord> words, Listener listener, const std::string& languageCode)
{
    const bool hasText = std::any_of(
        words.begin(), words.end(), [](const NarrationWord& word) { return !base::trimWhitespace(word.text).empty(); });
    if (!hasText)
        return nullptr;
    std::optional<media::SpeechSynthesisVoice> voice;
    if (!languageCode.empty())
        voice = media::SpeechSynthesisVoice::voiceWithLanguage(languageCode);
    auto narration = std::make_shared<SpokenNarration>(std::move(words), std::move(listener), std::move(voice));
    narration->attach();
    return narration;
}

std::shared_ptr<NarrationPlayback> NarrationPlayback::timings(std::vector<NarrationWord> words, Listener listener)
{
    return std::make_shared<TimedNarration>(std::move(words), std::move(listener));
}

} // namespace lectoro
