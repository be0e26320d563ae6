// The only file of the layer that knows espeak-ng. The engine is opened when speech is
// first asked for (base::openSharedLibrary), so a process that never speaks does not map it.

#include "platform/media/SpeechEngine.h"

#include "platform/base/SharedLibrary.h"
#include "platform/base/Strings.h"
#include "platform/media/MediaError.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>
#include <mutex>

namespace media::detail {

namespace {

#define LECTORO_ESPEAK_FUNCTIONS(X)                                                                                    \
    X(espeak_Initialize) X(espeak_ListVoices) X(espeak_SetParameter) X(espeak_SetSynthCallback)                        \
    X(espeak_SetVoiceByName) X(espeak_Synth)

struct SpeechLibrary {
#define LECTORO_ESPEAK_SLOT(name) decltype(&::name) name = nullptr;
    LECTORO_ESPEAK_FUNCTIONS(LECTORO_ESPEAK_SLOT)
#undef LECTORO_ESPEAK_SLOT
};

// The engine's functions, or null when the library cannot be loaded (then it "cannot start").
const SpeechLibrary* speechLibrary()
{
    static const SpeechLibrary* library = []() -> const SpeechLibrary* {
        static SpeechLibrary functions;
        std::vector<base::LibrarySymbol> symbols {
#define LECTORO_ESPEAK_SYMBOL(name) { #name, &functions.name },
            LECTORO_ESPEAK_FUNCTIONS(LECTORO_ESPEAK_SYMBOL)
#undef LECTORO_ESPEAK_SYMBOL
        };
        std::string error;
        return base::openSharedLibrary("libespeak-ng.so.1", symbols, error) ? &functions : nullptr;
    }();
    return library;
}

std::mutex& engineLock()
{
    static std::mutex lock;
    return lock;
}

// Called with the lock held. The engine's installed data is used; 0 when it cannot start.
int engineSampleRate()
{
    static int sampleRate = [] {
        const auto* engine = speechLibrary();
        int rate = engine ? engine->espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) : 0;
        return rate > 0 ? rate : 0;
    }();
    return sampleRate;
}

struct Collector {
    const std::vector<size_t>* utf16OffsetOfCharacter = nullptr;
    const std::atomic<bool>* cancelled = nullptr;
    Synthesis* synthesis = nullptr;
};

size_t utf16Offset(const std::vector<size_t>& offsets, int characterIndex)
{
    if (characterIndex <= 0)
        return 0;
    size_t index = std::min(static_cast<size_t>(characterIndex), offsets.size() - 1);
    return offsets[index];
}

int collect(short* samples, int count, espeak_EVENT* events)
{
    auto* collector = static_cast<Collector*>(events ? events->user_data : nullptr);
    if (!collector)
        return 0;
    if (samples && count > 0)
        collector->synthesis->audio.samples.insert(collector->synthesis->audio.samples.end(), samples, samples + count);
    for (espeak_EVENT* event = events; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
        if (event->type != espeakEVENT_WORD || event->length <= 0)
            continue;
        // Positions count characters from 1.
        const auto& offsets = *collector->utf16OffsetOfCharacter;
        size_t start = utf16Offset(offsets, event->text_position - 1);
        size_t end = utf16Offset(offsets, event->text_position - 1 + event->length);
        collector->synthesis->words.push_back({ start, end - start, event->audio_position / 1000.0 });
    }
    return collector->cancelled && collector->cancelled->load() ? 1 : 0;
}

// offsets[i] = UTF-16 units before the i-th code point; one extra entry for the end.
std::vector<size_t> utf16Offsets(const std::string& text)
{
    std::vector<size_t> offsets { 0 };
    size_t byte = 0;
    size_t units = 0;
    while (byte < text.size()) {
        char32_t codePoint = base::decodeUtf8(text, byte);
        units += codePoint > 0xFFFF ? 2 : 1;
        offsets.push_back(units);
    }
    return offsets;
}

} // namespace

base::Result<Synthesis> synthesize(const SynthesisRequest& request, const std::atomic<bool>* cancelled)
{
    std::lock_guard lock(engineLock());
    int sampleRate = engineSampleRate();
    if (sampleRate == 0)
        return speechError(speechErrorEngineUnavailable, "The speech engine cannot start: its voice data is not installed.");
    const auto& engine = *speechLibrary();

    if (request.voiceIdentifier.empty() || engine.espeak_SetVoiceByName(request.voiceIdentifier.c_str()) != EE_OK)
        return speechError(speechErrorNoVoice, "The voice \"" + request.voiceIdentifier + "\" is not installed.");
    engine.espeak_SetParameter(espeakRATE, std::clamp(request.wordsPerMinute, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0);
    engine.espeak_SetParameter(espeakVOLUME, std::clamp(request.volume, 0, 200), 0);
    engine.espeak_SetParameter(espeakPITCH, std::clamp(request.pitch, 0, 100), 0);

    Synthesis synthesis;
    synthesis.audio.sampleRate = sampleRate;
    synthesis.audio.channelCount = 1;
    // The engine's positions count characters; in broken UTF-8 they would point anywhere.
    if (!base::isValidUtf8(request.text))
        return speechError(speechErrorInvalidText, "The text to speak is not valid UTF-8.");
    if (base::trimWhitespaceAndNewlines(request.text).empty())
        return synthesis;

    std::vector<size_t> offsets = utf16Offsets(request.text);
    Collector collector { &offsets, cancelled, &synthesis };
    // Left installed afterwards: without our collector as user data it ignores what it gets.
    engine.espeak_SetSynthCallback(collect);
    espeak_ERROR status = engine.espeak_Synth(request.text.c_str(), request.text.size() + 1, 0, POS_CHARACTER, 0,
        espeakCHARS_UTF8, nullptr, &collector);
    if (cancelled && cancelled->load())
        return speechError(speechErrorCancelled, "Speech was stopped.");
    if (status != EE_OK)
        return speechError(speechErrorEngineUnavailable, "The speech engine failed to speak the text.");
    return synthesis;
}

std::vector<EngineVoice> engineVoices()
{
    std::lock_guard lock(engineLock());
    std::vector<EngineVoice> voices;
    if (engineSampleRate() == 0)
        return voices;
    const auto& engine = *speechLibrary();
    const espeak_VOICE** list = engine.espeak_ListVoices(nullptr);
    for (size_t i = 0; list && list[i]; ++i) {
        const espeak_VOICE* voice = list[i];
        EngineVoice entry;
        entry.identifier = voice->identifier ? voice->identifier : "";
        entry.name = voice->name ? voice->name : "";
        entry.gender = voice->gender;
        // Pairs of (priority byte, NUL-terminated name), ended by a zero priority.
        for (const char* language = voice->languages; language && *language;) {
            entry.languages.push_back({ language + 1, static_cast<unsigned char>(*language) });
            language += std::strlen(language + 1) + 2;
        }
        if (!entry.languages.empty())
            voices.push_back(std::move(entry));
    }
    return voices;
}

} // namespace media::detail
